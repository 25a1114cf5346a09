#pragma once
#include "platform/Autostart.h"

#include <vector>

namespace bw::posix {

// The user's autostart entry as a freedesktop.org desktop entry file. An entry of the same
// file name in a system autostart folder (the package's) starts the program too, unless the
// user's entry overrides it with Hidden=true. So the program starts at login while the
// first entry of that name, the user's before the system folders', is not hidden; "off"
// writes a hidden user entry where a system entry would start it, and removes the user's
// entry otherwise. An entry is written whole or not at all (a temporary file beside it,
// renamed over it), and its Exec line names `program`. It is written and removed only in
// the entry file's folder and the one above it ($XDG_CONFIG_HOME), each a real folder of
// the user's own.
class DesktopAutostart final : public Autostart {
public:
    DesktopAutostart(std::string entryFile, std::string program, std::vector<std::string> systemFolders = {});
    bool isEnabled() const override;
    bool setEnabled(bool on, std::string& error) override;

    // "$XDG_CONFIG_HOME/autostart/brindlewick.desktop", "~/.config/..." when the variable
    // is unset or not an absolute path.
    static std::string defaultEntryFile(const std::string& home);
    // "<folder>/autostart" for each absolute folder of $XDG_CONFIG_DIRS, most important
    // first; "/etc/xdg/autostart" when the variable names none.
    static std::vector<std::string> defaultSystemFolders();
    // The running program's own file; empty when the system does not say.
    static std::string runningProgram();
    // The entry's text; a hidden one disables an entry of the same name in the system folders.
    static std::string entryText(const std::string& program, bool hidden = false);

    const std::string& entryFile() const { return entryFile_; }

private:
    // Whether an entry of the user's file name in the system folders starts the program.
    bool systemEntryStarts() const;
    // In the entry's folder, open as `folderFd`.
    bool writeEntry(int folderFd, bool hidden, std::string& error);
    bool removeEntry(int folderFd, std::string& error);

    std::string entryFile_;
    std::string program_;
    std::vector<std::string> systemFolders_;
};

} // namespace bw::posix
