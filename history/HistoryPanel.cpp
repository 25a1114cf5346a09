#include "history/HistoryPanel.h"

#include "accounting/TrashSnapshot.h"
#include "platform/DefaultsStore.h"
#include "platform/Format.h"
#include "platform/Log.h"
#include "platform/MainLoop.h"
#include "platform/Platform.h"
#include "platform/Strings.h"
#include "platform/Workers.h"

#include <algorithm>
#include <ctime>
#include <iterator>
#include <sys/stat.h>

namespace bw {

namespace {

char lowered(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// `text` in small letters: ASCII's, and the capitals of Latin-1 ("É", "Ä", "Ñ"; U+00C0 to
// U+00DE but "×"), which the translated words and most European names use.
std::string folded(std::string text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        text[i] = lowered(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (static_cast<unsigned char>(text[i]) == 0xC3 && next >= 0x80 && next <= 0x9E && next != 0x97)
            text[++i] = static_cast<char>(next + 0x20);
    }
    return text;
}

bool isAscii(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Whether `text` holds `word`, which is already folded. A word of ASCII letters is sought
// without copying the column, as the filter runs over every line at each key.
bool containsFolded(const std::string& text, const std::string& word)
{
    if (!isAscii(word))
        return folded(text).find(word) != std::string::npos;
    return std::search(text.begin(), text.end(), word.begin(), word.end(),
                       [](char a, char b) { return lowered(a) == b; }) != text.end();
}

std::string countText(Strings& strings, size_t count)
{
    return countedText(strings, static_cast<long>(count), "%1 deletion", "%1 deletions");
}

} // namespace

HistoryLine historyLineOf(const HistoryRow& row, Strings& strings)
{
    HistoryLine line;
    line.when = strings.localDate(row.when, true);
    line.trash = escapeControlCharacters(row.trash);
    line.originalLocation = escapeControlCharacters(row.originalLocation);
    line.path = escapeControlCharacters(row.path);
    line.size = strings.localFigure(readableSize(row.bytes));
    line.trashedOn = row.trashedOn ? strings.localDate(*row.trashedOn, true) : strings.localized("unknown");
    // A reason recorded by a later version, unknown here, shows as it was written.
    line.reason = strings.localized(row.reason);
    line.result = row.deleted ? strings.localized("deleted")
                              : localizedWith(strings, "failed: %1", {escapeControlCharacters(row.failure)});
    line.deleted = row.deleted;
    return line;
}

bool historyLineMatches(const HistoryLine& line, const std::string& filter)
{
    size_t start = 0;
    while (start < filter.size()) {
        const size_t end = std::min(filter.find(' ', start), filter.size());
        const std::string word = folded(filter.substr(start, end - start));
        start = end + 1;
        if (word.empty())
            continue;
        const std::string* const columns[] = {&line.when,      &line.trash,     &line.originalLocation, &line.path,
                                              &line.size,      &line.trashedOn, &line.reason,           &line.result};
        const bool found = std::any_of(std::begin(columns), std::end(columns),
                                       [&word](const std::string* column) { return containsFolded(*column, word); });
        if (!found)
            return false;
    }
    return true;
}

HistoryPanel::HistoryPanel(const Platform& platform, HistoryPanelView* view, std::string databasePath)
    : platform_(platform), view_(view), path_(std::move(databasePath))
{
    if (view_)
        view_->setActions(this);
}

void HistoryPanel::showHistory()
{
    if (!view_)
        return;
    if (!frameRestored_) {
        frameRestored_ = true;
        if (const auto frame = platform_.defaults->stringForKey(kFrameKey))
            view_->setFrameText(*frame);
    }
    apply();
    view_->showPanel();
    actRefresh();
}

void HistoryPanel::actRefresh()
{
    if (!view_)
        return;
    view_->setStatusText(platform_.strings->localized("Reading the history\u2026"));
    const std::string path = path_;
    MainLoop* mainLoop = platform_.mainLoop;
    Strings* strings = platform_.strings;
    platform_.workers->start([this, path, mainLoop, strings] {
        std::vector<HistoryLine> lines;
        std::string problem;
        struct stat st {};
        // No database yet: nothing was deleted since the history began.
        if (stat(path.c_str(), &st) == 0) {
            HistoryStore store;
            if (store.openForReading(path)) {
                for (const auto& row : store.rows())
                    lines.push_back(historyLineOf(row, *strings));
            }
            problem = store.error();
        }
        mainLoop->post([this, lines = std::move(lines), problem = std::move(problem)]() mutable {
            lines_ = std::move(lines);
            problem_ = std::move(problem);
            loaded_ = true;
            apply();
        });
    });
}

void HistoryPanel::filterChanged(const std::string& text)
{
    filter_ = text;
    apply();
}

void HistoryPanel::apply()
{
    if (!view_)
        return;
    std::vector<HistoryLine> shown;
    for (const auto& line : lines_)
        if (historyLineMatches(line, filter_))
            shown.push_back(line);
    view_->setLines(shown);
    if (!loaded_)
        return;
    Strings& strings = *platform_.strings;
    if (!problem_.empty())
        view_->setStatusText(localizedWith(strings, "The history cannot be read: %1", {problem_}));
    else if (lines_.empty())
        view_->setStatusText(strings.localized("No deletions recorded yet."));
    else if (shown.size() == lines_.size())
        view_->setStatusText(countText(strings, lines_.size()));
    else
        view_->setStatusText(localizedWith(strings, lines_.size() == 1 ? "%1 of %2 deletion" : "%1 of %2 deletions",
                                           {strings.localFigure(std::to_string(shown.size())),
                                            strings.localFigure(std::to_string(lines_.size()))}));
}

void HistoryPanel::windowWillClose()
{
    const std::string frame = view_ ? view_->frameText() : std::string();
    if (frame.empty())
        return;
    platform_.defaults->setString(kFrameKey, frame);
    platform_.defaults->synchronize();
}

} // namespace bw
