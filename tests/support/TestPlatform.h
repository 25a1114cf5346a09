#pragma once
#include "platform/Platform.h"
#include "platform/Strings.h"
#include "platform/Workers.h"
#include "tests/support/FakeAlerts.h"
#include "tests/support/FakeLauncher.h"
#include "tests/support/FakeMainLoop.h"
#include "tests/support/FakePanels.h"
#include "tests/support/FakeSelectionSource.h"
#include "tests/support/FakeStatusItem.h"
#include "tests/support/FakeVolumeSource.h"
#include "tests/support/Fakes.h"
#include "platform/posix/DesktopAutostart.h"

#include <functional>
#include <string>

namespace bw::test {

// A temporary folder, removed with everything in it at the end of the test.
class TempDir {
public:
    explicit TempDir(const std::string& under = {});
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }

private:
    std::string path_;
};

// A tmpfs mounted for the life of the object (root only); its mount point is a real volume
// root, as the permission repair demands.
class ScratchVolume {
public:
    explicit ScratchVolume(const std::string& path, size_t size = 4 * 1024 * 1024);
    ~ScratchVolume();
    ScratchVolume(const ScratchVolume&) = delete;
    ScratchVolume& operator=(const ScratchVolume&) = delete;
    bool mounted() const { return mounted_; }

private:
    std::string path_;
    bool mounted_ = false;
};

// Files for tests.
void writeFile(const std::string& path, size_t size, char fill = 'x');
void makeFolder(const std::string& path);
std::string readFile(const std::string& path);
void setModificationTime(const std::string& path, time_t seconds);
bool exists(const std::string& path); // lstat, so a dangling link exists

// The platform of a test: fakes for the desktop, real files under a temporary HOME. A test
// may point `platform` at other implementations (the real space or volume source).
// Waits, in real time, for what a worker does; false after ten seconds.
bool eventually(const std::function<bool()>& done);

class TestPlatform {
public:
    TestPlatform();
    ~TestPlatform();

    TempDir home;
    CapturingLog log;
    FakeModifierKeys keys;
    FakeClock clock;
    FakeDefaultsStore defaults;
    FakeSpaceSource space;
    UntranslatedStrings strings;
    FakeTrashItemChooser itemChooser;
    FakeMainLoop mainLoop;
    FakeStatusItem statusItem;
    FakeAlertPresenter alerts;
    FakePrivilegedLauncher launcher;
    FakeVolumeSource volumes;
    FakeSelectionSource selection;
    FakePrefsPanel prefsPanel;
    FakeInfoPanel infoPanel;
    FakeNotifier notifier;
    // The real entry file, in the temporary HOME.
    // The real entry file, in the temporary HOME; the system's autostart folder is there too
    // (absent until a test makes it).
    std::string systemAutostart = home.path() + "/etc-xdg/autostart";
    posix::DesktopAutostart autostart{home.path() + "/.config/autostart/brindlewick.desktop",
                                      "/opt/Brindle Wick/bin/brindlewick", {systemAutostart}};
    Workers workers;
    Platform platform;

    std::string trash() const { return home.path() + "/.Trash"; }
};

} // namespace bw::test
