#include "app/Controllers.h"
#include "settings/SettingsKeys.h"
#include "settings/VolumeOverrides.h"
#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>
#include <limits>

#include <cmath>

using namespace bw;
using namespace bw::test;

namespace {

// One start of the program on the same settings store: defaults registered, the two
// controllers that hold settings woken.
struct Start {
    explicit Start(TestPlatform& tp) : controllers(tp.platform)
    {
        Controllers::registerDefaults(tp.defaults);
        controllers.preferences.awakeFromNib();
        controllers.shredder.awakeFromNib();
    }
    Controllers controllers;
    Preferences& prefs() { return controllers.preferences; }
    Shredder& shredder() { return controllers.shredder; }
};

} // namespace

TEST(Settings, AFreshAccountGetsTheRegisteredDefaults)
{
    TestPlatform tp;
    Start start(tp);
    EXPECT_EQ(start.prefs().minimumRatio(), 0.1f);
    EXPECT_EQ(start.prefs().monitorInterval(), 300.0f);
    EXPECT_FALSE(start.prefs().testModeSwitch());
    EXPECT_FALSE(start.prefs().isExecting());
    EXPECT_TRUE(start.shredder().shredderSwitch());
    EXPECT_FALSE(start.shredder().noRenameSwitch());
    EXPECT_FALSE(start.shredder().lastAutoExecDate());
    // Registered defaults are never written.
    EXPECT_TRUE(tp.defaults.stored().empty());
    EXPECT_EQ(tp.defaults.synchronizeCount, 0);
}

TEST(Settings, ConfirmedValuesSurviveARestartButTestModeDoesNot)
{
    TestPlatform tp;
    {
        Start first(tp);
        first.prefs().applyAndStore(0.105f, 30.0f, true, false, true);
        EXPECT_TRUE(first.prefs().testModeSwitch());
        EXPECT_EQ(tp.defaults.synchronizeCount, 1);
        const auto stored = tp.defaults.stored();
        EXPECT_EQ(stored.size(), 4u); // ratio, interval and the two switches; never test mode
        EXPECT_EQ(std::get<float>(stored.at(keys::MinimumFreeSpaceRatio.name)), 0.105f);
    }
    Start second(tp);
    EXPECT_EQ(second.prefs().minimumRatio(), 0.105f);
    EXPECT_EQ(second.prefs().monitorInterval(), 30.0f);
    EXPECT_FALSE(second.shredder().shredderSwitch());
    EXPECT_TRUE(second.shredder().noRenameSwitch());
    EXPECT_FALSE(second.prefs().testModeSwitch());
}

TEST(Settings, NoRenameSetBeforeStartIsHonoured)
{
    TestPlatform tp;
    tp.defaults.persisted[keys::NoRenameFileSwitch.name] = true;
    Start start(tp);
    EXPECT_TRUE(start.shredder().noRenameSwitch());
}

TEST(Settings, TheLastDeleteDateIsWrittenAtOnceAndReadAtTheNextStart)
{
    TestPlatform tp;
    const TimePoint when = std::chrono::system_clock::from_time_t(1173085620);
    {
        Start first(tp);
        first.shredder().setLastAutoExecDate(when);
        EXPECT_EQ(tp.defaults.synchronizeCount, 1);
        EXPECT_EQ(first.shredder().lastAutoExecDate(), when);
    }
    Start second(tp);
    EXPECT_EQ(second.shredder().lastAutoExecDate(), when);
}

TEST(Settings, AStoredRatioOutsideZeroToOneReadsAsTheDefault)
{
    // 5 or 1e30 would empty the whole trash at every pass, a negative one never delete.
    for (const float stored : {5.0f, 1e30f, 1.0f, -0.25f}) {
        TestPlatform tp;
        tp.defaults.persisted[keys::MinimumFreeSpaceRatio.name] = stored;
        Start start(tp);
        EXPECT_EQ(start.prefs().minimumRatio(), 0.1f) << stored;
        EXPECT_EQ(tp.log.lines().size(), 1u) << stored;
        EXPECT_TRUE(tp.log.contains("MinimumFreeSpaceRatio")) << stored;
    }
    // 0 turns automatic deletion off and stays; so does a ratio just below 1.
    for (const float stored : {0.0f, 0.99f}) {
        TestPlatform tp;
        tp.defaults.persisted[keys::MinimumFreeSpaceRatio.name] = stored;
        Start start(tp);
        EXPECT_EQ(start.prefs().minimumRatio(), stored);
        EXPECT_TRUE(tp.log.lines().empty());
    }
    // A ratio handed over from the panel obeys the same rule.
    TestPlatform tp;
    Start start(tp);
    start.prefs().applyAndStore(3.0f, 300.0f, false, true, false);
    EXPECT_EQ(start.prefs().minimumRatio(), 0.1f);
    EXPECT_EQ(std::get<float>(tp.defaults.stored().at(keys::MinimumFreeSpaceRatio.name)), 0.1f);
}

TEST(Settings, AStoredValueBeyondWhatThePanelAcceptsReadsAsTheDefaultInOneLineNamingTheKey)
{
    constexpr float nan = std::numeric_limits<float>::quiet_NaN();
    constexpr float inf = std::numeric_limits<float>::infinity();
    struct Case {
        const keys::Key<float>& key;
        float stored;
    };
    // Ratios just below 1 empty a roomy volume's whole trash at every pass.
    for (const Case& c : {Case{keys::MinimumFreeSpaceRatio, 0.999999f}, Case{keys::MinimumFreeSpaceRatio, 0.99999994f},
                          Case{keys::MinimumFreeSpaceRatio, nan}, Case{keys::MinimumFreeSpaceRatio, inf},
                          Case{keys::MinimumFreeSpaceRatio, -inf}, Case{keys::MonitorIntervalTime, 0.5f},
                          Case{keys::MonitorIntervalTime, 0.0f}, Case{keys::MonitorIntervalTime, -300.0f},
                          Case{keys::MonitorIntervalTime, 86401.0f}, Case{keys::MonitorIntervalTime, nan},
                          Case{keys::MonitorIntervalTime, inf}}) {
        TestPlatform tp;
        tp.defaults.persisted[c.key.name] = c.stored;
        Start start(tp);
        const float read = &c.key == &keys::MinimumFreeSpaceRatio ? start.prefs().minimumRatio()
                                                                   : start.prefs().monitorInterval();
        EXPECT_EQ(read, c.key.registeredDefault) << c.key.name << " " << c.stored;
        EXPECT_EQ(tp.log.lines().size(), 1u) << c.key.name << " " << c.stored;
        EXPECT_TRUE(tp.log.contains(c.key.name)) << c.key.name << " " << c.stored;
    }
    // The panel's own limits stay.
    TestPlatform tp;
    tp.defaults.persisted[keys::MinimumFreeSpaceRatio.name] = 0.99f;
    tp.defaults.persisted[keys::MonitorIntervalTime.name] = 86400.0f;
    {
        Start start(tp);
        EXPECT_EQ(start.prefs().minimumRatio(), 0.99f);
        EXPECT_EQ(start.prefs().monitorInterval(), 86400.0f);
    }
    tp.defaults.persisted[keys::MonitorIntervalTime.name] = 1.0f;
    Start start(tp);
    EXPECT_EQ(start.prefs().monitorInterval(), 1.0f);
    EXPECT_TRUE(tp.log.lines().empty());
}

TEST(Settings, AVolumesOwnValuesApplyToItAloneAndValuesOutOfRangeAreNotUsed)
{
    TestPlatform tp;
    tp.defaults.persisted[keys::MinimumFreeSpaceSize] = std::string("10737418240");
    tp.defaults.persisted[keys::MaximumItemAgeDays.name] = -3.0f; // typed by hand
    // Another volume's own values, one of them garbage.
    tp.defaults.persisted[volumeSettingKey("/media/usb", keys::MaximumTrashRatio.name)] = std::string("0.2");
    tp.defaults.persisted[volumeSettingKey("/media/usb", keys::MaximumItemAgeDays.name)] = std::string("soon");
    tp.defaults.persisted[volumeSettingKey("/media/bad", keys::MinimumFreeSpaceRatio.name)] = std::string("1.5");
    Start start(tp);
    Preferences& prefs = start.prefs();

    const RuleSettings defaults = prefs.defaultRules();
    EXPECT_EQ(defaults.minimumSize, 10737418240.0);
    EXPECT_EQ(defaults.maximumAgeDays, 0.0f);
    EXPECT_EQ(prefs.rulesAt("/media/other"), defaults);
    const RuleSettings usb = prefs.rulesAt("/media/usb");
    EXPECT_EQ(usb.maximumTrashRatio, 0.2f);
    EXPECT_EQ(usb.maximumAgeDays, 0.0f);
    EXPECT_EQ(usb.minimumSize, 10737418240.0);
    // A minimum of 150 % would empty the trash at every pass: the volume follows the defaults.
    EXPECT_EQ(prefs.rulesAt("/media/bad"), defaults);

    // A share of the volume's own replaces the default size; clearing it brings the size back.
    VolumeOverrides own;
    own.minimumRatio = 0.05f;
    prefs.setOverrides("/media/usb", own);
    EXPECT_EQ(prefs.rulesAt("/media/usb").minimumFreeFor(1e12), std::trunc(static_cast<double>(0.05f) * 1e12));
    EXPECT_EQ(prefs.rulesAt("/media/usb").maximumTrashRatio, 0.0f);
    prefs.setOverrides("/media/usb", VolumeOverrides{});
    EXPECT_EQ(prefs.rulesAt("/media/usb").minimumFreeFor(1e12), 10737418240.0);
    EXPECT_TRUE(prefs.overridesOf("/media/usb").empty());
}
