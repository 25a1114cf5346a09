#pragma once
// What the command line writes, and how it ends: the same for every command.
#include <string>

namespace bw {

class Strings;

enum Exit : int { kExitDone = 0, kExitFailed = 1, kExitUsage = 2 };

// False when the text did not all reach standard output (a full disk, a closed pipe).
bool out(const std::string& text);

void err(const std::string& text);

// A command's whole answer on standard output: done, or failed with a line saying why.
int answered(const std::string& text, Strings& strings);

// A wrong command line: `problem` and where to read how it goes, on standard error.
int usageError(const std::string& problem, Strings& strings);

} // namespace bw
