#pragma once
#include <functional>
#include <string>

namespace bw::qt {

// What the session offers a program with windows, found before the application object is
// built: Qt ends the process when the platform it starts with cannot be had.
struct DisplaySession {
    std::string requested;      // QT_QPA_PLATFORM: a name, "name:options", or a ';' list
    bool waylandAsked = false;  // WAYLAND_DISPLAY is set
    bool waylandAnswers = false; // the Wayland socket accepts a connection
    bool x11Answers = false;     // the X display opens
};

// Whether the platform plugin of that name ("wayland", "xcb", "offscreen") is installed.
using PluginPresent = std::function<bool(const std::string& name)>;

// The platform to start Qt with: the one asked for by name where it works, else Wayland
// where its plugin and its compositor are there, else X11 (XWayland, too); empty when none
// works and the program is to run headless.
std::string chooseDisplayPlatform(const DisplaySession& session, const PluginPresent& pluginPresent);

// The session of this process, from its environment, its sockets and its display.
DisplaySession currentDisplaySession(bool x11Answers);
// Looks in Qt's plugin folders (and those of QT_PLUGIN_PATH) for the platform plugin.
bool platformPluginInstalled(const std::string& name);

} // namespace bw::qt
