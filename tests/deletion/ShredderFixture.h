#pragma once
#include "app/Controllers.h"
#include "platform/Format.h"
#include "tests/support/FakeAlerts.h"
#include "tests/support/FakeMainLoop.h"
#include "tests/support/FakeStatusItem.h"
#include "tests/support/FakeVolumeSource.h"
#include "tests/support/TestPlatform.h"

#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <sys/mount.h>

namespace bw::test {

// Unmounts, at the end of a test, a tmpfs the test mounted.
struct TmpfsVolume {
    explicit TmpfsVolume(const std::string& at, const char* size)
    {
        if (mount("tmpfs", at.c_str(), "tmpfs", 0, (std::string("size=") + size).c_str()) == 0)
            path = at;
    }
    ~TmpfsVolume()
    {
        if (!path.empty())
            umount2(path.c_str(), MNT_DETACH);
    }
    std::string path; // empty when the mount failed
};

// The shredder wired to the other controllers, over a temporary home with a trash and a
// Desktop (so test mode has somewhere to put its dump folder).
class ShredderFixture : public ::testing::Test {
protected:
    ShredderFixture()
    {
        tp.platform.alerts = &alerts;
        tp.platform.mainLoop = &mainLoop;
        tp.platform.statusItem = &statusItem;
        tp.platform.volumes = &volumes;
        makeFolder(tp.trash());
        makeFolder(tp.home / "Desktop");
        Controllers::registerDefaults(tp.defaults);
        controllers = std::make_unique<Controllers>(tp.platform);
        shredder().awakeFromNib();
    }

    Shredder& shredder() { return controllers->shredder; }
    void setTestMode(bool on) { controllers->preferences.setTestModeSwitch(on); }
    std::string dump() const { return tp.home / "Desktop/Sapperlode"; }
    std::string inTrash(const std::string& name) const { return tp.trash() + "/" + name; }
    // The name the next rename gets while the fake clock stands still.
    std::string stampNow() const { return strprintf("%f", secondsSinceReferenceDate(tp.clock.now())); }

    TestPlatform tp;
    FakeAlertPresenter alerts;
    FakeMainLoop mainLoop;
    FakeStatusItem statusItem;
    FakeVolumeSource volumes;
    std::unique_ptr<Controllers> controllers;
    std::atomic<double> counter{1000000.0};
};

} // namespace bw::test
