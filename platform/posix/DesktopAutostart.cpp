#include "platform/posix/DesktopAutostart.h"

#include "platform/posix/Files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bw::posix {

namespace {

std::string errorText(const char* what, int error)
{
    return std::string(what) + ": " + std::strerror(error);
}

// Creates the folder and any missing folder above it.
bool makeFolders(const std::string& path)
{
    if (path.empty() || path == "/")
        return true;
    struct stat seen {};
    if (::stat(path.c_str(), &seen) == 0)
        return S_ISDIR(seen.st_mode);
    if (!makeFolders(parentPath(path)))
        return false;
    return ::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
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
    // In a desktop entry's string value a backslash itself is escaped once more.
    std::string escaped;
    for (const char c : quoted + "\"") {
        if (c == '\\')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

} // namespace

DesktopAutostart::DesktopAutostart(std::string entryFile, std::string program)
    : entryFile_(std::move(entryFile)), program_(std::move(program))
{
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

std::string DesktopAutostart::entryText(const std::string& program)
{
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Brindlewick\n"
           "Comment=Keeps the trash folders from eating disk space\n"
           "Exec=" + quotedArgument(program) + "\n"
           "Icon=brindlewick\n"
           "Terminal=false\n"
           "NoDisplay=true\n"
           "X-GNOME-Autostart-enabled=true\n";
}

bool DesktopAutostart::isEnabled() const
{
    return lstatPath(entryFile_).has_value();
}

bool DesktopAutostart::setEnabled(bool on, std::string& error)
{
    if (!on) {
        if (::unlink(entryFile_.c_str()) == 0 || errno == ENOENT)
            return true;
        error = errorText("cannot remove the autostart entry", errno);
        return false;
    }
    if (program_.empty()) {
        error = "the program's own path is unknown";
        return false;
    }
    const std::string folder = parentPath(entryFile_);
    if (!makeFolders(folder)) {
        error = errorText("cannot make the autostart folder", errno);
        return false;
    }
    std::string temporary = joinPath(folder, ".brindlewick.desktop.XXXXXX");
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        error = errorText("cannot write the autostart entry", errno);
        return false;
    }
    const std::string text = entryText(program_);
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
    if (!complete || ::rename(temporary.c_str(), entryFile_.c_str()) != 0) {
        error = errorText("cannot write the autostart entry", saved ? saved : errno);
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace bw::posix
