#include "app/Controllers.h"
#include "settings/SettingsKeys.h"
#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>

using namespace bw;
using namespace bw::test;

namespace {

using Check = PrefsPanelView::Check;
using Note = PrefsPanelView::Note;

// The startup volume of every test: 1,000 GB (decimal) with half of it free.
class PreferencesPanelTest : public ::testing::Test {
protected:
    PreferencesPanelTest()
    {
        Controllers::registerDefaults(tp.defaults);
        c.preferences.awakeFromNib();
        c.shredder.awakeFromNib();
    }
    ~PreferencesPanelTest() override
    {
        // Confirming runs a monitor tick, whose pass may still be running.
        tp.workers.requestQuit();
        tp.workers.waitForAll();
    }

    Preferences& prefs() { return c.preferences; }
    FakePrefsPanel& panel() { return tp.prefsPanel; }
    float storedFloat(const char* key) const { return std::get<float>(tp.defaults.stored().at(key)); }
    bool storedBool(const char* key) const { return std::get<bool>(tp.defaults.stored().at(key)); }

    TestPlatform tp;
    Controllers c{tp.platform};
};

TEST_F(PreferencesPanelTest, WithTheDefaultsThePanelShowsThemAndConfirmIsDisabled)
{
    prefs().execPrefs();
    EXPECT_TRUE(prefs().isExecting());
    EXPECT_TRUE(panel().open);
    EXPECT_EQ(panel().miniRatio, "10");
    EXPECT_EQ(panel().stepper, 10.0);
    EXPECT_EQ(panel().interval, "300");
    EXPECT_FALSE(panel().isChecked(Check::TestMode));
    EXPECT_FALSE(panel().isChecked(Check::Shredder));
    EXPECT_FALSE(panel().isChecked(Check::NoRename));
    for (Note note : {Note::Ratio, Note::Interval, Note::TestMode, Note::Shredder, Note::NoRename})
        EXPECT_FALSE(panel().noteShown(note));
    EXPECT_FALSE(panel().execEnabled);
    // 10^12 bytes in GB; the minimum is 10 % of it; the trash may grow to free − minimum.
    EXPECT_EQ(panel().totalSize, "931.32");
    EXPECT_EQ(panel().miniSize, "(93.13GB)");
    EXPECT_EQ(panel().fullSize, "372.53");
}

TEST_F(PreferencesPanelTest, EachBoxEnablesConfirmAndShowsItsNoteUntilUntickedAgain)
{
    prefs().execPrefs();
    const std::pair<Check, Note> boxes[] = {
        {Check::Shredder, Note::Shredder}, {Check::NoRename, Note::NoRename}, {Check::TestMode, Note::TestMode}};
    for (const auto& [box, note] : boxes) {
        panel().tick(box, true);
        EXPECT_TRUE(panel().execEnabled);
        EXPECT_TRUE(panel().noteShown(note));
        panel().tick(box, false);
        EXPECT_FALSE(panel().execEnabled);
        EXPECT_FALSE(panel().noteShown(note));
    }
}

TEST_F(PreferencesPanelTest, AFractionOfAPercentIsNoChangeButIsStoredWithAnother)
{
    prefs().execPrefs();
    panel().typeRatio("10.5");
    EXPECT_FALSE(panel().execEnabled);
    EXPECT_EQ(panel().stepper, 10.5);
    EXPECT_EQ(panel().miniSize, "(97.79GB)");

    panel().tick(Check::Shredder, true);
    panel().tick(Check::NoRename, true);
    ASSERT_TRUE(panel().clickExec());
    EXPECT_EQ(prefs().minimumRatio(), 0.105f);
    EXPECT_EQ(storedFloat(keys::MinimumFreeSpaceRatio.name), 0.105f);
    // Ticked overwrite box: overwriting is off.
    EXPECT_FALSE(c.shredder.shredderSwitch());
    EXPECT_FALSE(storedBool(keys::InnerShredderSwitch.name));
    EXPECT_TRUE(storedBool(keys::NoRenameFileSwitch.name));
    EXPECT_EQ(tp.defaults.synchronizeCount, 1);
}

TEST_F(PreferencesPanelTest, AShortIntervalShowsItsNoteAndConfirmingRunsATickAndRearmsWithIt)
{
    prefs().execPrefs();
    panel().typeInterval("60");
    EXPECT_FALSE(panel().noteShown(Note::Interval));
    panel().typeInterval("30");
    EXPECT_TRUE(panel().noteShown(Note::Interval));
    EXPECT_TRUE(panel().execEnabled);

    panel().tick(Check::TestMode, true);
    const size_t timersBefore = tp.mainLoop.started.size();
    ASSERT_TRUE(panel().clickExec());
    EXPECT_EQ(prefs().monitorInterval(), 30.0f);
    EXPECT_EQ(storedFloat(keys::MonitorIntervalTime.name), 30.0f);
    ASSERT_EQ(tp.mainLoop.started.size(), timersBefore + 1);
    EXPECT_EQ(tp.mainLoop.started.back().delay, 30.0);
    // Test mode is in force but never stored.
    EXPECT_TRUE(prefs().testModeSwitch());
    EXPECT_EQ(tp.defaults.stored().count("TestModeSwitch"), 0u);
    EXPECT_EQ(tp.defaults.stored().size(), 4u);
    // Confirming closes the panel.
    EXPECT_FALSE(panel().open);
    EXPECT_FALSE(prefs().isExecting());
}

TEST_F(PreferencesPanelTest, TheRatioNoteShowsWhenTheMinimumWouldExceedTheFreeSpace)
{
    prefs().execPrefs();
    panel().typeRatio("50"); // exactly the free space: nothing would be deleted
    EXPECT_FALSE(panel().noteShown(Note::Ratio));
    EXPECT_EQ(panel().fullSize, "0.00");
    panel().typeRatio("51");
    EXPECT_TRUE(panel().noteShown(Note::Ratio));
    EXPECT_EQ(panel().fullSize, "0.00") << "no room is shown as none, never below it";
    EXPECT_EQ(panel().stepper, 51.0);

    // The stepper is the field's mirror.
    panel().stepTo(25.0);
    EXPECT_EQ(panel().miniRatio, "25");
    EXPECT_EQ(panel().miniSize, "(232.83GB)");
    EXPECT_FALSE(panel().noteShown(Note::Ratio));
    EXPECT_TRUE(panel().execEnabled);
}

TEST_F(PreferencesPanelTest, CancelWritesNothingButThePositionIsKeptForTheNextOpening)
{
    prefs().execPrefs();
    panel().typeRatio("20");
    panel().typeInterval("30");
    panel().tick(Check::TestMode, true);
    panel().moveTo("frame at 40,60");
    panel().clickCancel();

    EXPECT_FALSE(panel().open);
    EXPECT_FALSE(prefs().isExecting());
    EXPECT_TRUE(tp.defaults.stored().empty());
    EXPECT_EQ(tp.defaults.synchronizeCount, 0);
    EXPECT_EQ(prefs().minimumRatio(), 0.1f);
    EXPECT_FALSE(prefs().testModeSwitch());
    EXPECT_TRUE(tp.mainLoop.started.empty());

    panel().moveTo("");
    prefs().execPrefs();
    EXPECT_EQ(panel().frame, "frame at 40,60");
    EXPECT_EQ(panel().miniRatio, "10");
    EXPECT_EQ(panel().interval, "300");
    EXPECT_FALSE(panel().isChecked(Check::TestMode));
}

TEST_F(PreferencesPanelTest, OpeningAnOpenPanelKeepsTheEditsAndOnlyBringsItToTheFront)
{
    prefs().execPrefs();
    panel().typeRatio("20");
    panel().moveTo("moved by the user");
    prefs().execPrefs();
    EXPECT_EQ(panel().showCount, 2);
    EXPECT_EQ(panel().miniRatio, "20");
    EXPECT_EQ(panel().frame, "moved by the user");
    EXPECT_TRUE(panel().execEnabled);
}

TEST_F(PreferencesPanelTest, AFieldWithoutANumberInRangeKeepsConfirmDisabledAndSaysWhy)
{
    prefs().execPrefs();
    EXPECT_EQ(panel().problem, "");
    panel().typeRatio(" 12.5 ");
    EXPECT_EQ(panel().stepper, 12.5);
    EXPECT_TRUE(panel().execEnabled);
    for (const char* text : {"abc", "", "nan", "inf", "-", ".", "12 %", "150", "-1", "99.5"}) {
        panel().typeRatio(text);
        EXPECT_FALSE(panel().execEnabled) << text;
        EXPECT_NE(panel().problem.find("0 to 99 %"), std::string::npos) << text;
        EXPECT_EQ(panel().stepper, 12.5) << "the stepper keeps the last good value: " << text;
    }
    panel().typeRatio("99");
    EXPECT_TRUE(panel().execEnabled);
    EXPECT_EQ(panel().problem, "");

    for (const char* text : {"0.001", "0", "86401", "soon"}) {
        panel().typeInterval(text);
        EXPECT_FALSE(panel().execEnabled) << text;
        EXPECT_NE(panel().problem.find("1 to 86400"), std::string::npos) << text;
        EXPECT_FALSE(panel().clickExec());
    }
    EXPECT_TRUE(tp.defaults.stored().empty());
    panel().typeInterval("1");
    EXPECT_TRUE(panel().noteShown(Note::Interval));
    ASSERT_TRUE(panel().clickExec());
    EXPECT_EQ(prefs().minimumRatio(), 0.99f);
    EXPECT_EQ(prefs().monitorInterval(), 1.0f);

    // Back to the values in force: nothing to confirm, and nothing to complain about.
    prefs().execPrefs();
    panel().typeInterval("abc");
    panel().typeInterval("1");
    EXPECT_FALSE(panel().execEnabled);
    EXPECT_EQ(panel().problem, "");
}

TEST_F(PreferencesPanelTest, StartAtLoginWritesAndRemovesTheUsersAutostartEntry)
{
    // The notifications switch beside it: on by default, off once confirmed, and stored.
    prefs().execPrefs();
    EXPECT_TRUE(panel().isChecked(Check::Notifications));
    EXPECT_FALSE(panel().execEnabled);
    panel().tick(Check::Notifications, false);
    ASSERT_TRUE(panel().clickExec());
    EXPECT_FALSE(prefs().notificationsSwitch());
    EXPECT_EQ(tp.defaults.stored().at(keys::PassNotifications.name), DefaultValue(false));

    const std::string entry = tp.autostart.entryFile();
    prefs().execPrefs();
    EXPECT_FALSE(panel().isChecked(Check::StartAtLogin));
    panel().tick(Check::StartAtLogin, true);
    ASSERT_TRUE(panel().clickExec());
    ASSERT_TRUE(exists(entry));
    // The running program, quoted as the desktop entry format wants a path with a blank.
    EXPECT_NE(readFile(entry).find("\nExec=\"/opt/Brindle Wick/bin/brindlewick\"\n"), std::string::npos)
        << readFile(entry);
    // Removed with its package, the program is not looked for at every login.
    EXPECT_NE(readFile(entry).find("\nTryExec=/opt/Brindle Wick/bin/brindlewick\n"), std::string::npos)
        << readFile(entry);
    EXPECT_EQ(tp.defaults.stored().count("StartAtLogin"), 0u) << "the file is the only record";

    prefs().execPrefs();
    EXPECT_TRUE(panel().isChecked(Check::StartAtLogin));
    EXPECT_FALSE(panel().execEnabled);
    panel().tick(Check::StartAtLogin, false);
    ASSERT_TRUE(panel().clickExec());
    EXPECT_FALSE(exists(entry));

    // The package's entry of the same name in the system folder starts the program too: it
    // is on without a user entry, and off is a user entry that hides the system's.
    makeFolder(tp.systemAutostart);
    std::ofstream(tp.systemAutostart + "/brindlewick.desktop") << "[Desktop Entry]\nType=Application\nExec=brindlewick\n";
    prefs().execPrefs();
    EXPECT_TRUE(panel().isChecked(Check::StartAtLogin));
    panel().tick(Check::StartAtLogin, false);
    ASSERT_TRUE(panel().clickExec());
    ASSERT_TRUE(exists(entry));
    EXPECT_NE(readFile(entry).find("\nHidden=true\n"), std::string::npos) << readFile(entry);
    // A hidden entry keeps hiding the system's whatever becomes of the program's path.
    EXPECT_EQ(readFile(entry).find("TryExec"), std::string::npos) << readFile(entry);
    prefs().execPrefs();
    EXPECT_FALSE(panel().isChecked(Check::StartAtLogin));
    EXPECT_FALSE(panel().execEnabled);
    panel().tick(Check::StartAtLogin, true);
    ASSERT_TRUE(panel().clickExec());
    EXPECT_FALSE(exists(entry)) << "the system's entry starts it again";
    // A user entry that does not hide it is on as well.
    std::ofstream(entry) << "[Desktop Entry]\nType=Application\nExec=brindlewick\nHidden=false\n";
    prefs().execPrefs();
    EXPECT_TRUE(panel().isChecked(Check::StartAtLogin));
    panel().clickCancel();

    // The system folders follow XDG_CONFIG_DIRS, absolute folders only, /etc/xdg without any.
    const char* savedDirs = std::getenv("XDG_CONFIG_DIRS");
    const std::string keepDirs = savedDirs ? savedDirs : "";
    setenv("XDG_CONFIG_DIRS", "/etc/xdg/xdg-ubuntu:relative::/etc/xdg", 1);
    EXPECT_EQ(posix::DesktopAutostart::defaultSystemFolders(),
              (std::vector<std::string>{"/etc/xdg/xdg-ubuntu/autostart", "/etc/xdg/autostart"}));
    setenv("XDG_CONFIG_DIRS", "", 1);
    EXPECT_EQ(posix::DesktopAutostart::defaultSystemFolders(), std::vector<std::string>{"/etc/xdg/autostart"});
    if (savedDirs)
        setenv("XDG_CONFIG_DIRS", keepDirs.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_DIRS");

    // Special characters stay one argument; '%' is no field code.
    EXPECT_NE(posix::DesktopAutostart::entryText("/a/$b\"c%d").find("Exec=\"/a/\\\\$b\\\\\"c%%d\"\n"),
              std::string::npos)
        << posix::DesktopAutostart::entryText("/a/$b\"c%d");
    // A line break in the path cannot end the line and add a key of its own.
    EXPECT_NE(posix::DesktopAutostart::entryText("/a\\b\nHidden=true").find("\nTryExec=/a\\\\b\\nHidden=true\n"),
              std::string::npos)
        << posix::DesktopAutostart::entryText("/a\\b\nHidden=true");
    // The folder follows XDG_CONFIG_HOME when it is an absolute path.
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string keep = saved ? saved : "";
    setenv("XDG_CONFIG_HOME", "/x/conf", 1);
    EXPECT_EQ(posix::DesktopAutostart::defaultEntryFile("/home/u"), "/x/conf/autostart/brindlewick.desktop");
    setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(posix::DesktopAutostart::defaultEntryFile("/home/u"), "/home/u/.config/autostart/brindlewick.desktop");
    if (saved)
        setenv("XDG_CONFIG_HOME", keep.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

TEST_F(PreferencesPanelTest, AskBeforeShreddingTurnsTheQuestionBackOnAfterDoNotAskAgain)
{
    prefs().execPrefs();
    EXPECT_TRUE(panel().isChecked(Check::ConfirmShredding));
    panel().clickCancel();

    // "Do not ask again" with a yes: the box opens unticked, and Apply stays off until it changes.
    tp.alerts.answer = {true, true};
    EXPECT_TRUE(c.shredder.confirmShredding(1, 10.0));
    prefs().execPrefs();
    EXPECT_FALSE(panel().isChecked(Check::ConfirmShredding));
    EXPECT_FALSE(panel().execEnabled);
    panel().tick(Check::ConfirmShredding, true);
    EXPECT_TRUE(panel().execEnabled);
    const int syncsBefore = tp.defaults.synchronizeCount;
    ASSERT_TRUE(panel().clickExec());
    EXPECT_TRUE(storedBool(keys::ConfirmShredding.name));
    EXPECT_EQ(tp.defaults.synchronizeCount, syncsBefore + 1);

    // The next shredding asks again; a cancelled question shreds nothing.
    tp.alerts.answer = {false, false};
    const size_t askedBefore = tp.alerts.asked().size();
    EXPECT_FALSE(c.shredder.confirmShredding(1, 10.0));
    EXPECT_EQ(tp.alerts.asked().size(), askedBefore + 1);

    // Unticked by the user, it is stored off through Apply alone, and cancel keeps it on.
    prefs().execPrefs();
    panel().tick(Check::ConfirmShredding, false);
    panel().clickCancel();
    EXPECT_TRUE(storedBool(keys::ConfirmShredding.name));
    prefs().execPrefs();
    panel().tick(Check::ConfirmShredding, false);
    ASSERT_TRUE(panel().clickExec());
    EXPECT_FALSE(storedBool(keys::ConfirmShredding.name));
    EXPECT_TRUE(c.shredder.confirmShredding(1, 10.0));
    EXPECT_EQ(tp.alerts.asked().size(), askedBefore + 1);
}

TEST_F(PreferencesPanelTest, EveryStoredWholePercentAndIntervalOpensWithConfirmDisabled)
{
    // 0.53 and 0.59 times 100 fall just short of 53 and 59 in single precision. 100 % is
    // no valid minimum: it would empty the whole trash.
    for (int percent = 0; percent < 100; ++percent) {
        prefs().applyAndStore(static_cast<float>(percent * 0.01), 123.4567f, false, true, false);
        prefs().execPrefs();
        EXPECT_EQ(panel().miniRatio, std::to_string(percent));
        EXPECT_FALSE(panel().execEnabled) << percent << " %";
        panel().clickCancel();
    }
}

} // namespace

TEST_F(PreferencesPanelTest, TheNewRulesAndAMinimumInGigabytesAreCheckedConfirmedAndStored)
{
    prefs().execPrefs();
    EXPECT_EQ(panel().ageDays, "0");
    EXPECT_EQ(panel().trashCap, "0");
    EXPECT_EQ(panel().unit, PrefsPanelView::MinimumUnit::Percent);

    // Out of range: confirm stays off and says why; back in range, it is on.
    panel().typeAgeDays("-1");
    EXPECT_FALSE(panel().execEnabled);
    EXPECT_NE(panel().problem.find("age limit"), std::string::npos);
    panel().typeAgeDays("30");
    EXPECT_TRUE(panel().execEnabled);
    panel().typeTrashCap("100");
    EXPECT_FALSE(panel().execEnabled);
    EXPECT_NE(panel().problem.find("share"), std::string::npos);
    panel().typeTrashCap("5");

    // 10 % of 931.32 GB is carried over as 93.13 GB; nothing is not a minimum.
    panel().chooseUnit(PrefsPanelView::MinimumUnit::Gigabytes);
    EXPECT_EQ(panel().miniRatio, "93.13");
    panel().typeRatio("0");
    EXPECT_FALSE(panel().execEnabled);
    panel().typeRatio("400");
    // 400 GB is more than the 465.66 GB free less the trash: the next check would delete.
    EXPECT_FALSE(panel().noteShown(Note::Ratio));
    panel().typeRatio("500");
    EXPECT_TRUE(panel().noteShown(Note::Ratio));
    ASSERT_TRUE(panel().clickExec());

    const RuleSettings rules = prefs().defaultRules();
    EXPECT_EQ(rules.minimumSize, 500.0 * 1073741824.0);
    EXPECT_EQ(rules.minimumRatio, 0.1f); // kept for when the unit goes back to %
    EXPECT_EQ(rules.maximumAgeDays, 30.0f);
    EXPECT_EQ(rules.maximumTrashRatio, 0.05f);
    EXPECT_EQ(std::get<std::string>(tp.defaults.stored().at(keys::MinimumFreeSpaceSize)), "536870912000");
    EXPECT_EQ(storedFloat(keys::MaximumItemAgeDays.name), 30.0f);
    EXPECT_EQ(storedFloat(keys::MaximumTrashRatio.name), 0.05f);

    // Read back at the next start, and shown again as they were confirmed.
    Controllers next{tp.platform};
    next.preferences.awakeFromNib();
    EXPECT_EQ(next.preferences.defaultRules(), rules);
    prefs().execPrefs();
    EXPECT_EQ(panel().unit, PrefsPanelView::MinimumUnit::Gigabytes);
    EXPECT_EQ(panel().miniRatio, "500");
    EXPECT_FALSE(panel().execEnabled);
}

TEST_F(PreferencesPanelTest, AMinimumSizeShownRoundedIsNoChangeAndKeepsItsBytes)
{
    RuleSettings rules = prefs().defaultRules();
    rules.minimumSize = 10485760.0; // 10 MB: 0.01 GB as the panel shows it
    prefs().keepDefaultRules(rules);
    prefs().execPrefs();
    EXPECT_EQ(panel().miniRatio, "0.01");
    EXPECT_FALSE(panel().execEnabled);
    panel().typeInterval("600");
    ASSERT_TRUE(panel().clickExec());
    EXPECT_EQ(prefs().defaultRules().minimumSize, 10485760.0);
}
