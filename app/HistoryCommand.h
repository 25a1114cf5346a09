#pragma once
#include <optional>
#include <string>

namespace bw {

class Strings;

// The history database of this user: $XDG_STATE_HOME/brindlewick/history.sqlite3.
std::string historyDatabasePath();

// `--history [--json] [--since DATE]`: the recorded deletions, oldest first, read from the
// database directly, whether or not the program runs. `since` is ISO 8601: a date (local
// midnight) or a date and time (local unless it names its zone). Exit status as the
// command line's: 0 done, 1 failed, 2 a date that does not read. The table and the messages
// are in the words of `strings`; the JSON keeps its fixed words.
int runHistoryCommand(bool json, const std::optional<std::string>& since, Strings& strings);

} // namespace bw
