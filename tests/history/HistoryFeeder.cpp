// Records the deletion events given on standard input in the user's history, as the program's
// listener does: one event a line, fields apart by tabs:
//   seconds-since-1970  trash  volume  path  original-location  bytes  trashed-seconds|-  reason  deleted|why-it-failed
// The history's place comes from HOME and XDG_STATE_HOME, as for the program.
#include "history/HistoryRecorder.h"
#include "platform/Workers.h"
#include "platform/posix/SyslogLog.h"
#include "platform/posix/SystemClock.h"

#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> fieldsOf(const std::string& line)
{
    std::vector<std::string> fields;
    std::stringstream in(line);
    for (std::string field; std::getline(in, field, '\t');)
        fields.push_back(field);
    return fields;
}

std::optional<bw::DeletionReason> reasonOf(const std::string& word)
{
    using bw::DeletionReason;
    for (auto reason : {DeletionReason::FreeSpace, DeletionReason::Age, DeletionReason::SizeCap,
                        DeletionReason::ForcedEmptying, DeletionReason::ChosenItems, DeletionReason::CommandLine})
        if (word == bw::reasonName(reason))
            return reason;
    return std::nullopt;
}

bw::TimePoint secondsToTime(const std::string& text)
{
    return bw::TimePoint(std::chrono::seconds(std::stoll(text)));
}

} // namespace

int main()
{
    const char* home = std::getenv("HOME");
    bw::posix::SyslogLog log;
    bw::posix::SystemClock clock;
    bw::Workers workers;
    bw::HistoryRecorder recorder(bw::HistoryStore::defaultPath(home ? home : "", std::getenv("XDG_STATE_HOME")), log,
                                 clock);
    recorder.start(workers);
    for (std::string line; std::getline(std::cin, line);) {
        const auto fields = fieldsOf(line);
        const auto reason = fields.size() == 9 ? reasonOf(fields[7]) : std::nullopt;
        if (!reason) {
            std::cerr << "not an event: " << line << "\n";
            return 2;
        }
        bw::DeletionEvent event;
        event.when = secondsToTime(fields[0]);
        event.trash = fields[1];
        event.volumePath = fields[2];
        event.path = fields[3];
        event.originalLocation = fields[4];
        event.bytes = std::stod(fields[5]);
        if (fields[6] != "-")
            event.trashedOn = secondsToTime(fields[6]);
        event.reason = *reason;
        event.deleted = fields[8] == "deleted";
        event.failure = event.deleted ? "" : fields[8];
        recorder.itemDeleted(event);
    }
    workers.requestQuit();
    workers.waitForAll();
    recorder.flush();
    return recorder.committedRows() > 0 ? 0 : 1;
}
