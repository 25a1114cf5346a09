#include "platform/posix/ShredJournal.h"

#include "platform/Format.h"
#include "platform/posix/Files.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace bw::posix {

namespace {

constexpr off_t kMaxJournal = 1024 * 1024;

// A path as one field: every byte outside a plain set is %XX, so spaces and line feeds in
// names cannot split a record. An empty path is "-".
std::string encoded(const std::string& path)
{
    if (path.empty())
        return "-";
    std::string out;
    for (const unsigned char c : path) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '/' || c == '.' || c == '_' || c == '-';
        if (plain)
            out += static_cast<char>(c);
        else
            out += strprintf("%%%02X", c);
    }
    return out;
}

std::optional<std::string> decoded(const std::string& field)
{
    if (field == "-")
        return std::string();
    return percentDecoded(field);
}

// Makes `path` and the folders above it that are missing, for the user alone.
void makeFolders(const std::string& path)
{
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        mkdir(path.substr(0, slash).c_str(), 0700);
        if (slash == std::string::npos)
            break;
    }
}

} // namespace

ShredJournal::ShredJournal(std::string file) : file_(std::move(file)) {}

std::string ShredJournal::defaultFile(const std::string& stateHome, const std::string& homeDirectory)
{
    const std::string base =
        !stateHome.empty() && stateHome.front() == '/' ? stateHome : joinPath(homeDirectory, ".local/state");
    return joinPath(joinPath(base, "brindlewick"), "shredding");
}

std::string ShredJournal::format(const std::vector<ShredRecord>& records)
{
    std::string text;
    for (const auto& r : records)
        text += strprintf("%" PRIu64 " %" PRIu64 " %s %s %s %s\n", static_cast<uint64_t>(r.device),
                          static_cast<uint64_t>(r.inode), encoded(r.path).c_str(), encoded(r.stampPath).c_str(),
                          encoded(r.aside).c_str(), encoded(r.description).c_str());
    return text;
}

std::vector<ShredRecord> ShredJournal::parse(const std::string& text)
{
    std::vector<ShredRecord> records;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        uint64_t device = 0, inode = 0;
        std::string path, stamp, aside, description, extra;
        if (!(fields >> device >> inode >> path >> stamp >> aside >> description) || (fields >> extra))
            continue;
        const auto p = decoded(path), s = decoded(stamp), a = decoded(aside), d = decoded(description);
        if (!p || !s || !a || !d || p->empty() || s->empty())
            continue;
        records.push_back({static_cast<dev_t>(device), static_cast<ino_t>(inode), *p, *s, *a, *d});
    }
    return records;
}

std::vector<ShredRecord> ShredJournal::leftovers() const
{
    std::lock_guard lock(mutex_);
    return loaded_ ? records_ : readFile();
}

std::vector<ShredRecord> ShredJournal::readFile() const
{
    const int fd = open(file_.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return {};
    struct stat st {};
    std::string text;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= kMaxJournal) {
        text.resize(static_cast<size_t>(st.st_size));
        const ssize_t got = pread(fd, text.data(), text.size(), 0);
        text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    }
    close(fd);
    return parse(text);
}

int ShredJournal::add(const ShredRecord& record, bool durable)
{
    std::lock_guard lock(mutex_);
    if (!loaded_) {
        records_ = readFile(); // an earlier run's leftovers stay until they are finished
        loaded_ = true;
    }
    std::erase_if(records_, [&](const ShredRecord& r) { return r.device == record.device && r.inode == record.inode; });
    records_.push_back(record);
    return writeLocked(durable);
}

void ShredJournal::remove(dev_t device, ino_t inode)
{
    std::lock_guard lock(mutex_);
    if (!loaded_) {
        records_ = readFile();
        loaded_ = true;
    }
    const auto before = records_.size();
    std::erase_if(records_, [&](const ShredRecord& r) { return r.device == device && r.inode == inode; });
    // A record that stays on disk after its item went names nothing: clearing it need not wait.
    if (records_.size() != before)
        writeLocked(false);
}

int ShredJournal::writeLocked(bool durable)
{
    int fd = open(file_.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 && errno == ENOENT) {
        makeFolders(parentPath(file_));
        fd = open(file_.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    }
    if (fd < 0)
        return errno;
    const std::string text = format(records_);
    int error = 0;
    for (size_t done = 0; done < text.size() && error == 0;) {
        const ssize_t n = pwrite(fd, text.data() + done, text.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            error = n < 0 ? errno : EIO;
        else
            done += static_cast<size_t>(n);
    }
    if (error == 0 && ftruncate(fd, static_cast<off_t>(text.size())) != 0)
        error = errno;
    if (error == 0 && durable && fdatasync(fd) != 0 && errno != EINVAL)
        error = errno;
    close(fd);
    return error;
}

} // namespace bw::posix
