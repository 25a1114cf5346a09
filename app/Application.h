#pragma once

namespace bw {

// The composition root: builds the platform, creates and wires the nine controllers, runs
// the event loop and tears down. Returns the process's exit status.
int runApplication(int argc, char** argv);

} // namespace bw
