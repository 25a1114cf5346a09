#pragma once
#include "platform/Autostart.h"

namespace bw::posix {

// The user's autostart entry as a freedesktop.org desktop entry file; it exists exactly
// while the program starts at login. It is written whole or not at all (a temporary file
// beside it, renamed over it), and its Exec line names `program`.
class DesktopAutostart final : public Autostart {
public:
    DesktopAutostart(std::string entryFile, std::string program);
    bool isEnabled() const override;
    bool setEnabled(bool on, std::string& error) override;

    // "$XDG_CONFIG_HOME/autostart/brindlewick.desktop", "~/.config/..." when the variable
    // is unset or not an absolute path.
    static std::string defaultEntryFile(const std::string& home);
    // The running program's own file; empty when the system does not say.
    static std::string runningProgram();
    // The entry's text.
    static std::string entryText(const std::string& program);

    const std::string& entryFile() const { return entryFile_; }

private:
    std::string entryFile_;
    std::string program_;
};

} // namespace bw::posix
