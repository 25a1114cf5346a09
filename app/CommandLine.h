#pragma once

namespace bw {

// The command line (--status, --check-now, --empty-now, --stop, --help, --version): asks the
// running program, or does the work itself when none runs. Exit status 0 done, 1 failed,
// 2 wrong usage.
int runCommandLine(int argc, char** argv);

} // namespace bw
