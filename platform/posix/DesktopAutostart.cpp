#include "platform/posix/DesktopAutostart.h"

#include "platform/posix/Files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace bw::posix {

namespace {

std::string errorText(const char* what, int error)
{
    return std::string(what) + ": " + std::strerror(error);
}

// A folder of the user's own, opened without following a link: `name` in `parentFd` (or
// the path `name` where `parentFd` is AT_FDCWD), made when missing if `make`. -1 with
// `error` set otherwise, or with errno ENOENT and no error for a missing one not made.
int openOwnFolder(int parentFd, const std::string& name, const std::string& shown, bool make, std::string& error)
{
    if (make && ::mkdirat(parentFd, name.c_str(), 0700) != 0 && errno != EEXIST) {
        error = errorText(("cannot make " + shown).c_str(), errno);
        return -1;
    }
    const int fd = ::openat(parentFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 && errno == ENOENT && !make)
        return -1;
    if (fd < 0) {
        error = errno == ELOOP || errno == ENOTDIR ? shown + " is not a folder (a symbolic link is none)"
                                                   : errorText(("cannot open " + shown).c_str(), errno);
        return -1;
    }
    if (::fstat(fd, &st) != 0 || st.st_uid != ::geteuid()) {
        error = shown + " is not the user's own";
        ::close(fd);
        return -1;
    }
    return fd;
}

// A desktop entry's string value: a backslash, and a line break or tab that would end or
// bend the line, written as escapes.
std::string stringValue(const std::string& text)
{
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '\\': escaped += "\\\\"; break;
        case '\n': escaped += "\\n"; break;
        case '\t': escaped += "\\t"; break;
        case '\r': escaped += "\\r"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

// An Exec argument as the desktop entry format quotes it: inside double quotes, with '"',
// '`', '$' and '\' escaped, and '%' doubled so that it is no field code.
std::string quotedArgument(const std::string& argument)
{
    std::string quoted = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
        if (c == '%')
            quoted += '%';
    }
    return stringValue(quoted + "\"");
}

std::string trimmed(const std::string& text)
{
    const auto begin = text.find_first_not_of(" \t\r");
    if (begin == std::string::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(" \t\r") - begin + 1);
}

enum class EntryState { Absent, Starts, Disabled };

// An existing entry starts the program unless its [Desktop Entry] group says Hidden=true
// (or GNOME's own X-GNOME-Autostart-enabled=false). An unreadable entry still takes the
// name from the system's, so it counts as one that starts.
EntryState stateOf(const std::string& file)
{
    if (!lstatPath(file))
        return EntryState::Absent;
    std::ifstream in(file);
    bool mainGroup = false;
    for (std::string line; std::getline(in, line);) {
        line = trimmed(line);
        if (!line.empty() && line.front() == '[') {
            mainGroup = line == "[Desktop Entry]";
            continue;
        }
        const auto equals = line.find('=');
        if (!mainGroup || equals == std::string::npos)
            continue;
        const std::string key = trimmed(line.substr(0, equals));
        const std::string value = trimmed(line.substr(equals + 1));
        if ((key == "Hidden" && value == "true") || (key == "X-GNOME-Autostart-enabled" && value == "false"))
            return EntryState::Disabled;
    }
    return EntryState::Starts;
}

} // namespace

DesktopAutostart::DesktopAutostart(std::string entryFile, std::string program, std::vector<std::string> systemFolders)
    : entryFile_(std::move(entryFile)), program_(std::move(program)), systemFolders_(std::move(systemFolders))
{
}

std::vector<std::string> DesktopAutostart::defaultSystemFolders()
{
    std::vector<std::string> folders;
    const char* dirs = std::getenv("XDG_CONFIG_DIRS");
    const std::string list = dirs ? dirs : "";
    for (size_t begin = 0; begin <= list.size();) {
        size_t end = list.find(':', begin);
        if (end == std::string::npos)
            end = list.size();
        const std::string folder = list.substr(begin, end - begin);
        if (!folder.empty() && folder.front() == '/')
            folders.push_back(joinPath(folder, "autostart"));
        begin = end + 1;
    }
    if (folders.empty())
        folders.push_back("/etc/xdg/autostart");
    return folders;
}

std::string DesktopAutostart::defaultEntryFile(const std::string& home)
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const std::string folder = config && config[0] == '/' ? config : joinPath(home, ".config");
    return joinPath(joinPath(folder, "autostart"), "brindlewick.desktop");
}

std::string DesktopAutostart::runningProgram()
{
    char buffer[4096];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof buffer)
        return {};
    return std::string(buffer, static_cast<size_t>(length));
}

std::string DesktopAutostart::entryText(const std::string& program, bool hidden)
{
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Brindlewick\n"
           "Comment=Keeps the trash folders from eating disk space\n"
           "Exec=" + quotedArgument(program) + "\n"
           "Icon=brindlewick\n"
           "Terminal=false\n"
           "NoDisplay=true\n" +
           // Once the program is removed, the desktop skips an entry whose TryExec is gone rather than
           // failing at every login. A hidden entry has none: a moved program must not let the
           // system's entry start it again against the user's choice.
           (hidden ? "Hidden=true\nX-GNOME-Autostart-enabled=false\n"
                   : "TryExec=" + stringValue(program) + "\nX-GNOME-Autostart-enabled=true\n");
}

bool DesktopAutostart::systemEntryStarts() const
{
    // The first system folder that has an entry of the name decides, as the desktop reads them.
    const std::string name = lastComponent(entryFile_);
    for (const auto& folder : systemFolders_) {
        const EntryState state = stateOf(joinPath(folder, name));
        if (state != EntryState::Absent)
            return state == EntryState::Starts;
    }
    return false;
}

bool DesktopAutostart::isEnabled() const
{
    const EntryState own = stateOf(entryFile_);
    return own == EntryState::Absent ? systemEntryStarts() : own == EntryState::Starts;
}

bool DesktopAutostart::setEnabled(bool on, std::string& error)
{
    // Where the system's entry starts the program, the user's own entry is only its
    // switch: none for on, a hidden one for off.
    error.clear();
    const bool remove = on == systemEntryStarts();
    // Only in the user's own folders, reached from the configuration folder down without
    // following a link: a link there could point at the system's autostart folder, and a
    // privileged program would change every user's entry.
    const std::string folder = parentPath(entryFile_);
    const std::string config = parentPath(folder);
    const int configFd = openOwnFolder(AT_FDCWD, config, config, !remove, error);
    if (configFd < 0)
        return error.empty(); // nothing there to remove
    const int folderFd = openOwnFolder(configFd, lastComponent(folder), folder, !remove, error);
    ::close(configFd);
    if (folderFd < 0)
        return error.empty();
    const bool done = remove ? removeEntry(folderFd, error) : writeEntry(folderFd, !on, error);
    ::close(folderFd);
    return done;
}

bool DesktopAutostart::removeEntry(int folderFd, std::string& error)
{
    if (::unlinkat(folderFd, lastComponent(entryFile_).c_str(), 0) == 0 || errno == ENOENT)
        return true;
    error = errorText("cannot remove the autostart entry", errno);
    return false;
}

bool DesktopAutostart::writeEntry(int folderFd, bool hidden, std::string& error)
{
    // A hidden entry is never run: its Exec line needs no real path.
    const std::string program = hidden && program_.empty() ? std::string("brindlewick") : program_;
    if (program.empty()) {
        error = "the program's own path is unknown";
        return false;
    }
    // A new file of its own beside the entry, never one that was there before.
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = ".brindlewick.desktop." + std::to_string(::getpid()) + "." + std::to_string(attempt);
        fd = ::openat(folderFd, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        error = errorText("cannot write the autostart entry", errno);
        return false;
    }
    const std::string text = entryText(program, hidden);
    size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += static_cast<size_t>(n);
    }
    const int saved = written == text.size() ? 0 : errno;
    const bool complete = written == text.size() && ::fchmod(fd, 0644) == 0 && ::fsync(fd) == 0;
    ::close(fd);
    // The rename replaces whatever has the entry's name, a link itself included, and
    // follows nothing.
    if (!complete || ::renameat(folderFd, temporary.c_str(), folderFd, lastComponent(entryFile_).c_str()) != 0) {
        error = errorText("cannot write the autostart entry", saved ? saved : errno);
        ::unlinkat(folderFd, temporary.c_str(), 0);
        return false;
    }
    return true;
}

} // namespace bw::posix
