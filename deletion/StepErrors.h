#pragma once

namespace bw::stepErrors {

// What went wrong in the deletion step that runs on this thread, beyond its result code:
// whether a system call failed for want of resources (descriptors, memory) or was
// interrupted, so that the item is tried again rather than passed over, and whether the step
// tries again an item that failed before, whose failing again is not told as news.
void begin(bool quiet = false);
// The errno of a system call of the step that failed.
void note(int error);
// EMFILE, ENFILE, ENOMEM, EAGAIN or EINTR was noted since begin().
bool transient();
bool quiet();

} // namespace bw::stepErrors
