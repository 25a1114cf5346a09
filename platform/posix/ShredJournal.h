#pragma once
// A small durable record of the shreds in progress: which item (device, inode, the path it
// had and the path it gets) is being destroyed, and where its description was put aside.
// Written before an item is touched and cleared after its removal, so that the next start
// finishes what an interruption left, and never takes another entry for it by its name.
#include <mutex>
#include <string>
#include <sys/types.h>
#include <vector>

namespace bw::posix {

struct ShredRecord {
    dev_t device = 0;
    ino_t inode = 0;
    std::string path;      // where the item was when its shred began
    std::string stampPath; // where it goes before its first byte is overwritten (may equal `path`)
    std::string aside;     // where its description was put aside; empty: it has none
    std::string description; // where that description belongs
};

class ShredJournal {
public:
    // `file`: the journal's path; its folder is made when the first record is written.
    explicit ShredJournal(std::string file);

    // The journal file under a state folder ($XDG_STATE_HOME, or "~/.local/state").
    static std::string defaultFile(const std::string& stateHome, const std::string& homeDirectory);

    // Adds (or replaces, by device and inode) a record. `durable`: on disk before it returns.
    // The errno of the failing step, or 0.
    int add(const ShredRecord& record, bool durable);
    // Clears the record of that inode, if there is one.
    void remove(dev_t device, ino_t inode);
    // What the file holds: the records an earlier run left, and this run's own.
    std::vector<ShredRecord> leftovers() const;

    // The journal's text and its reading; a damaged line is passed over.
    static std::string format(const std::vector<ShredRecord>& records);
    static std::vector<ShredRecord> parse(const std::string& text);

private:
    int writeLocked(bool durable);
    std::vector<ShredRecord> readFile() const;

    const std::string file_;
    mutable std::mutex mutex_;
    std::vector<ShredRecord> records_;
    bool loaded_ = false;
};

} // namespace bw::posix
