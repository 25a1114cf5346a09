#include "app/HistoryCommand.h"

#include "accounting/TrashSnapshot.h"
#include "app/ConsoleOutput.h"
#include "history/HistoryPanel.h"
#include "history/HistoryStore.h"
#include "platform/Format.h"
#include "platform/Log.h"
#include "platform/Strings.h"

#include <QDateTime>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstdlib>
#include <sys/stat.h>

namespace bw {

namespace {

QString isoUtc(TimePoint t)
{
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(t.time_since_epoch()).count();
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString(Qt::ISODate);
}

// Names that are not UTF-8 show their invalid bytes as U+FFFD.
QString text(const std::string& bytes)
{
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::optional<TimePoint> parseSince(const std::string& given)
{
    const QString value = QString::fromStdString(given).trimmed();
    QDateTime when = QDateTime::fromString(value, Qt::ISODate);
    if (!when.isValid()) {
        const QDate day = QDate::fromString(value, Qt::ISODate);
        if (!day.isValid())
            return std::nullopt;
        when = day.startOfDay();
    }
    return TimePoint(std::chrono::milliseconds(when.toMSecsSinceEpoch()));
}

QByteArray jsonOf(const std::vector<HistoryRow>& rows)
{
    QJsonArray deletions;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        QJsonObject item;
        item["time"] = isoUtc(it->when);
        item["trash"] = text(it->trash);
        item["volume"] = it->volumePath.empty() ? QJsonValue() : QJsonValue(text(it->volumePath));
        item["path"] = text(it->path);
        item["originalLocation"] = text(it->originalLocation);
        item["bytes"] = it->bytes;
        item["trashedOn"] = it->trashedOn ? QJsonValue(isoUtc(*it->trashedOn)) : QJsonValue();
        item["reason"] = text(it->reason);
        item["result"] = it->deleted ? "deleted" : "failed";
        item["failure"] = it->deleted ? QJsonValue() : QJsonValue(text(it->failure));
        deletions.append(item);
    }
    QJsonObject all;
    all["deletions"] = deletions;
    return QJsonDocument(all).toJson(QJsonDocument::Compact) + '\n';
}

// The user's words and figures with ISO 8601 dates: a table on a terminal is read, sorted and
// searched the same way in every language, as the status table's is.
class TableStrings final : public Strings {
public:
    explicit TableStrings(Strings& words) : words_(words) {}
    std::string localized(const std::string& key) override { return words_.localized(key); }
    std::string localFigure(const std::string& figure) override { return words_.localFigure(figure); }

private:
    Strings& words_;
};

std::string tableOf(const std::vector<HistoryRow>& rows, Strings& words)
{
    TableStrings strings(words);
    if (rows.empty())
        return strings.localized("No deletions recorded.") + "\n";
    // Every column but the last as wide as its widest cell, in whichever language its words are.
    std::vector<std::vector<std::string>> cells = {
        {strings.localized("Time"), strings.localized("Reason"), strings.localized("Result"), strings.localized("Size"),
         strings.localized("Trashed on"), strings.localized("Trash"), strings.localized("Original location")}};
    std::vector<std::string> failures = {std::string()};
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        const HistoryLine line = historyLineOf(*it, strings);
        cells.push_back({line.when, line.reason, strings.localized(it->deleted ? "deleted" : "failed"), line.size,
                         line.trashedOn, line.trash, line.originalLocation});
        const std::string failure = escapeControlCharacters(it->failure);
        failures.push_back(it->deleted ? std::string() : localizedWith(strings, "not deleted: %1", {failure}));
    }
    std::vector<size_t> widths(cells.front().size() - 1, 0);
    for (const auto& row : cells)
        for (size_t i = 0; i < widths.size(); ++i)
            widths[i] = std::max(widths[i], characterCount(row[i]));
    std::string table;
    for (size_t r = 0; r < cells.size(); ++r) {
        for (size_t i = 0; i < widths.size(); ++i)
            table += fittedColumn(cells[r][i], widths[i]) + "  ";
        table += cells[r].back() + "\n";
        if (!failures[r].empty())
            table += std::string(widths[0] + 2, ' ') + failures[r] + "\n";
    }
    return table;
}

} // namespace

std::string historyDatabasePath()
{
    return HistoryStore::defaultPath(QDir::homePath().toStdString(), std::getenv("XDG_STATE_HOME"));
}

int runHistoryCommand(bool json, const std::optional<std::string>& since, Strings& strings)
{
    std::optional<TimePoint> from;
    if (since) {
        from = parseSince(*since);
        if (!from) {
            const std::string problem =
                localizedWith(strings, "--since wants a date such as 2026-12-01 or 2026-12-01T08:30, not %1", {*since});
            return usageError(problem, strings);
        }
    }
    const std::string path = historyDatabasePath();
    std::vector<HistoryRow> rows;
    struct stat st {};
    // No database yet: nothing has been deleted since the history began.
    if (stat(path.c_str(), &st) == 0) {
        HistoryStore store;
        if (store.openForReading(path))
            rows = store.rows(from);
        if (!store.error().empty()) {
            err(localizedWith(strings, "The history %1 cannot be read: %2", {path, store.error()}) + "\n");
            return kExitFailed;
        }
    }
    return answered(json ? jsonOf(rows).toStdString() : tableOf(rows, strings), strings);
}

} // namespace bw
