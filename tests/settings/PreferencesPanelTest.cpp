#include "app/Controllers.h"
#include "settings/SettingsKeys.h"
#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

#include <cmath>

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
    EXPECT_EQ(panel().fullSize, "-9.31");
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

TEST_F(PreferencesPanelTest, AFieldWithoutANumberReadsAsZero)
{
    prefs().execPrefs();
    panel().typeRatio("  12.5 %");
    EXPECT_EQ(panel().stepper, 12.5);
    for (const char* text : {"abc", "", "nan", "inf", "-", "."}) {
        panel().typeRatio(text);
        EXPECT_EQ(panel().stepper, 0.0) << text;
        EXPECT_EQ(panel().miniSize, "(0.00GB)") << text;
        EXPECT_TRUE(panel().execEnabled) << text;
    }
    panel().typeInterval("soon");
    EXPECT_TRUE(panel().noteShown(Note::Interval));
    ASSERT_TRUE(panel().clickExec());
    EXPECT_EQ(prefs().minimumRatio(), 0.0f);
    EXPECT_EQ(prefs().monitorInterval(), 0.0f);
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
