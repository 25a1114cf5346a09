#include "app/HistoryCommand.h"

#include "history/HistoryPanel.h"
#include "history/HistoryStore.h"
#include "platform/Format.h"
#include "platform/Log.h"

#include <QDateTime>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
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

std::string tableOf(const std::vector<HistoryRow>& rows)
{
    if (rows.empty())
        return "No deletions recorded.\n";
    std::string table = "Time                 Reason           Result   Size       Trashed on           Trash"
                        "        Original location\n";
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        const HistoryLine line = historyLineOf(*it);
        table += strprintf("%-19s  %-15s  %-7s  %-9s  %-19s  %-11s  %s\n", line.when.c_str(), line.reason.c_str(),
                           it->deleted ? "deleted" : "failed", line.size.c_str(), line.trashedOn.c_str(),
                           line.trash.c_str(), line.originalLocation.c_str());
        if (!it->deleted)
            table += strprintf("%21snot deleted: %s\n", "", escapeControlCharacters(it->failure).c_str());
    }
    return table;
}

} // namespace

std::string historyDatabasePath()
{
    return HistoryStore::defaultPath(QDir::homePath().toStdString(), std::getenv("XDG_STATE_HOME"));
}

int runHistoryCommand(bool json, const std::optional<std::string>& since)
{
    std::optional<TimePoint> from;
    if (since) {
        from = parseSince(*since);
        if (!from) {
            std::fprintf(stderr, "--since wants a date such as 2026-12-01 or 2026-12-01T08:30, not %s\n"
                                 "Try 'brindlewick --help'.\n",
                         since->c_str());
            return 2;
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
            std::fprintf(stderr, "The history %s cannot be read: %s\n", path.c_str(), store.error().c_str());
            return 1;
        }
    }
    const std::string out = json ? jsonOf(rows).toStdString() : tableOf(rows);
    std::fputs(out.c_str(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace bw
