#pragma once
// What a deletion pass tells when it ends: one notification, and the same in English in the log.
#include <string>
#include <vector>

namespace bw {

class Strings;

// What one automatic pass (free space or forced) did: root items deleted, the bytes their
// trashes' counters lost with them, and items that could not be deleted.
struct PassTotals {
    int deleted = 0;
    double bytes = 0.0;
    int failed = 0;
};

struct PassFacts {
    PassTotals totals;
    bool forced = false;
    bool stopped = false;
    std::vector<std::string> trashes;     // the trashes it deleted from, in order
    std::vector<std::string> failedItems; // where what it could not delete came from, in order
};

struct PassMessage {
    std::string summary;
    std::string text;
};

// The pass in the words of `strings`: English for the log, the user's language for the
// notification. `size` is the freed bytes as that reader is shown them.
PassMessage passMessage(Strings& strings, const PassFacts& pass, const std::string& size);

// The freed bytes as a notification shows them: in the user's locale, the figure bound to
// its unit, since a notification wraps its text where it likes.
std::string notifiedSize(Strings& strings, double bytes);

} // namespace bw
