#pragma once
#include <string>

namespace bw {

class AlertPresenter;
class Autostart;
class Clock;
class DefaultsStore;
class InfoPanelView;
class Log;
class MainLoop;
class ModifierKeys;
class Notifier;
class PrefsPanelView;
class PrivilegedLauncher;
class SelectionSource;
class SpaceSource;
class StatusItem;
class Strings;
class TrashItemChooser;
class VolumeSource;
class Workers;

// What the controllers may use of the desktop and the operating system. The composition
// root fills it with the real implementations, tests with the fakes of tests/support.
// Every pointer is non-owning and set before any controller wakes; a facility that a
// build does not have (no display) is given a headless implementation, never null.
struct Platform {
    std::string homeDirectory; // the user's home folder, "~"
    std::string dataHome;      // $XDG_DATA_HOME; empty: "~/.local/share"
    std::string stateHome;     // $XDG_STATE_HOME; empty: "~/.local/state"

    DefaultsStore* defaults = nullptr;
    Log* log = nullptr;
    ModifierKeys* keys = nullptr;
    Clock* clock = nullptr;
    Workers* workers = nullptr;
    SpaceSource* space = nullptr;
    Strings* strings = nullptr;
    TrashItemChooser* itemChooser = nullptr;

    StatusItem* statusItem = nullptr;
    MainLoop* mainLoop = nullptr;
    AlertPresenter* alerts = nullptr;
    VolumeSource* volumes = nullptr;
    PrivilegedLauncher* launcher = nullptr;
    SelectionSource* selection = nullptr;
    PrefsPanelView* prefsPanel = nullptr;
    InfoPanelView* infoPanel = nullptr;
    Autostart* autostart = nullptr; // the user's start-at-login entry
    Notifier* notifier = nullptr;
};

} // namespace bw
