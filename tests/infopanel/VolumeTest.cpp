#include "app/Controllers.h"
#include "platform/Format.h"
#include "settings/SettingsKeys.h"
#include "tests/support/OrdinaryUser.h"
#include "tests/support/ShredderFlags.h"
#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sys/stat.h>
#include <unistd.h>
#include <thread>

namespace bw {

namespace {

using test::FakeInfoPanel;
using test::TestPlatform;
using test::eventually;
using Button = InfoPanelView::Button;
using Figure = InfoPanelView::Figure;
using Share = InfoPanelView::Share;

constexpr double kMegabyte = 1048576.0;
constexpr double k500GB = 500e9;

class VolumeTest : public ::testing::Test {
protected:
    VolumeTest()
    {
        Controllers::registerDefaults(tp.defaults);
        c.preferences.awakeFromNib();
        c.shredder.awakeFromNib();
        c.volume.awakeFromNib();
    }
    ~VolumeTest() override
    {
        tp.workers.requestQuit();
        tp.workers.waitForAll();
    }

    void raiseShredding(bool on) { (c.shredder.*test::shreddingFlag()).store(on); }
    // A refresh as the panel's worker asks for it, run on the (fake) main thread.
    void refresh()
    {
        c.volume.renewAllInfo();
        tp.mainLoop.runPosted();
    }

    TestPlatform tp;
    Controllers c{tp.platform};
    FakeInfoPanel& panel = tp.infoPanel;
    std::string home = c.internal.volumeName();
};

TEST_F(VolumeTest, AltAtOpeningShowsTheThreeExtraButtonsAndEveryOpeningDecidesAfresh)
{
    const Button extras[] = {Button::NewInspect, Button::Reinspect, Button::ForcedTimer};
    tp.keys.held = true;
    c.volume.dispInformation();
    EXPECT_TRUE(panel.open);
    for (Button b : extras)
        EXPECT_FALSE(panel.isHidden(b));
    EXPECT_FALSE(panel.isHidden(Button::ForcedEmpty));

    tp.keys.held = false;
    c.volume.dispInformation(); // open already: refreshed and brought to the front
    for (Button b : extras)
        EXPECT_TRUE(panel.isHidden(b));
    EXPECT_EQ(panel.showCount, 2);
}

TEST_F(VolumeTest, OneRefresherWhileOpenNoneWhileClosedEvenAfterAQuickReopening)
{
    c.volume.dispInformation();
    c.volume.dispInformation();
    EXPECT_EQ(tp.workers.running(), 1);

    // The worker asks the main thread for refreshes, and only while the panel is open.
    c.internal.setTrashSize(kMegabyte);
    ASSERT_TRUE(eventually([&] { return tp.mainLoop.postedCount() > 0; }));
    tp.mainLoop.runPosted();
    EXPECT_EQ(panel.figures[Figure::Trash], "0.00");
    c.internal.setTrashSize(3 * 1073741824.0);
    ASSERT_TRUE(eventually([&] { return tp.mainLoop.postedCount() > 0; }));
    tp.mainLoop.runPosted();
    EXPECT_EQ(panel.figures[Figure::Trash], "3.00");

    // Closed and reopened before the old refresher woke up: it ends, the new one runs.
    panel.close();
    c.volume.dispInformation();
    EXPECT_TRUE(eventually([&] { return tp.workers.running() == 1; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(tp.workers.running(), 1);

    panel.close();
    EXPECT_TRUE(eventually([&] { return tp.workers.running() == 0; }));
    c.internal.setTrashSize(5 * 1073741824.0);
    tp.mainLoop.runPosted(); // a refresh asked for before the close does nothing now
    EXPECT_EQ(panel.figures[Figure::Trash], "3.00");
}

TEST_F(VolumeTest, TheFrameIsRestoredAtOpeningAndSavedAtClosing)
{
    tp.defaults.persisted[keys::TrashInformationPanel] = std::string("saved frame");
    c.volume.dispInformation();
    EXPECT_EQ(panel.frame, "saved frame");
    panel.frame = "moved";
    c.volume.dispInformation(); // an open panel stays where the user put it
    EXPECT_EQ(panel.frame, "moved");
    panel.close();
    EXPECT_EQ(tp.defaults.stringForKey(keys::TrashInformationPanel), "moved");
}

TEST_F(VolumeTest, SharesOfTheStartupVolumeFlagATinyTrashAndNeverDivideByZero)
{
    tp.space.set(k500GB, 100e9);
    c.internal.setTrashSize(kMegabyte);
    c.volume.dispInformation();
    EXPECT_EQ(panel.titles, std::vector<std::string>{home});
    EXPECT_EQ(panel.selected, 0);
    EXPECT_EQ(panel.status, "Standingby");
    EXPECT_EQ(panel.figures[Figure::Total], "465.66");
    EXPECT_EQ(panel.figures[Figure::Free], "93.13");
    EXPECT_EQ(panel.figures[Figure::Trash], "0.00");
    EXPECT_EQ(panel.figures[Figure::Used], "372.53");
    EXPECT_EQ(panel.shares[Share::Trash], "( 0.00%) > 0");
    EXPECT_EQ(panel.shares[Share::Free], "(20.00%)");
    EXPECT_EQ(panel.shares[Share::Used], "(80.00%)");
    EXPECT_TRUE(panel.isEnabled(Button::ForcedEmpty));

    c.internal.setTrashSize(k500GB * 0.0001); // exactly 0.01 %: below 0.01 in single precision
    refresh();
    EXPECT_EQ(panel.shares[Share::Trash], "( 0.01%) > 0");
    c.internal.setTrashSize(0.0);
    refresh();
    EXPECT_EQ(panel.shares[Share::Trash], "( 0.00%)");
    EXPECT_FALSE(panel.isEnabled(Button::ForcedEmpty));

    // A counter driven below zero by deletions starts again from zero.
    c.internal.setTrashSize(-kMegabyte);
    refresh();
    EXPECT_EQ(c.internal.trashSize(), 0.0);
    EXPECT_EQ(panel.figures[Figure::Trash], "0.00");

    tp.space.set(0.0, 0.0);
    c.internal.setTrashSize(kMegabyte);
    refresh();
    for (Share s : {Share::Used, Share::Trash, Share::Free})
        EXPECT_EQ(panel.shares[s], "( 0.00%)");
}

TEST_F(VolumeTest, AVolumeWhileMeasuredDeletedOrCancelledAndOneOfCapacityZero)
{
    tp.volumes.set({"/mnt/backup", "/mnt/empty"});
    tp.space.setFor("/mnt/backup", k500GB, 250e9);
    tp.space.setFor("/mnt/empty", 0.0, 0.0);
    c.external.setTrashSize(2 * kMegabyte, "/mnt/backup");
    c.volume.dispInformation();
    panel.chooseDisk(1);
    EXPECT_EQ(panel.titles, (std::vector<std::string>{home, "backup", "empty"}));
    EXPECT_FALSE(panel.measuring);
    EXPECT_EQ(panel.status, "Standingby");
    EXPECT_EQ(panel.shares[Share::Trash], "( 0.00%) > 0");
    EXPECT_EQ(panel.shares[Share::Free], "(50.00%)");
    EXPECT_TRUE(panel.isEnabled(Button::Reinspect));
    EXPECT_TRUE(panel.isEnabled(Button::ForcedEmpty));

    c.external.setTrashSizeing(true, "/mnt/backup");
    c.external.setTrashStatus(kMeasuring, "/mnt/backup");
    refresh();
    EXPECT_TRUE(panel.measuring);
    EXPECT_EQ(panel.status, "Measureing");
    EXPECT_FALSE(panel.isEnabled(Button::Reinspect));
    EXPECT_FALSE(panel.isEnabled(Button::ForcedEmpty));

    c.external.setTrashSizeing(false, "/mnt/backup");
    c.external.setTrashStatus(kDeleting, "/mnt/backup");
    refresh();
    EXPECT_FALSE(panel.measuring);
    EXPECT_EQ(panel.status, "Deleteing");
    EXPECT_TRUE(panel.isEnabled(Button::Reinspect));
    c.external.setTrashStatus(kCanceling, "/mnt/backup");
    refresh();
    EXPECT_EQ(panel.status, "Canceling");
    EXPECT_FALSE(panel.isEnabled(Button::Reinspect));

    c.external.setTrashSize(-1.0, "/mnt/backup");
    refresh();
    EXPECT_EQ(c.external.trashSizeWithPath("/mnt/backup"), 0.0);

    panel.chooseDisk(2);
    for (Share s : {Share::Used, Share::Trash, Share::Free})
        EXPECT_EQ(panel.shares[s], "( 0.00%)");
    EXPECT_EQ(panel.figures[Figure::Total], "0.00");
}

TEST_F(VolumeTest, ADeletionPassDisablesForcedEmptyingForEveryVolume)
{
    tp.volumes.set({"/mnt/backup"});
    c.internal.setTrashSize(kMegabyte);
    c.external.setTrashSize(kMegabyte, "/mnt/backup");
    c.volume.dispInformation();
    EXPECT_TRUE(panel.isEnabled(Button::ForcedEmpty));
    raiseShredding(true);
    for (int index : {0, 1}) {
        panel.chooseDisk(index);
        EXPECT_FALSE(panel.isEnabled(Button::ForcedEmpty)) << index;
    }
    raiseShredding(false);
    refresh();
    EXPECT_TRUE(panel.isEnabled(Button::ForcedEmpty));
}

TEST_F(VolumeTest, TheDiskMenuIsRebuiltOnlyWhenTheVolumesChangeAndKeepsAValidPosition)
{
    tp.volumes.set({"/mnt/a"});
    c.volume.dispInformation();
    EXPECT_EQ(panel.selected, 0); // the first opening shows the startup volume
    const int rebuilds = panel.menuRebuilds;
    refresh();
    EXPECT_EQ(panel.menuRebuilds, rebuilds);

    // A mount while volume a is chosen: the same position stays chosen.
    panel.chooseDisk(1);
    tp.volumes.mount("/mnt/b");
    refresh();
    EXPECT_EQ(panel.titles, (std::vector<std::string>{home, "a", "b"}));
    EXPECT_EQ(panel.selected, 1);
    EXPECT_EQ(panel.menuRebuilds, rebuilds + 1);

    // The chosen last volume goes away: the new last one is chosen and shown.
    tp.space.setFor("/mnt/a", k500GB, 100e9);
    panel.chooseDisk(2);
    tp.volumes.unmount("/mnt/b");
    refresh();
    EXPECT_EQ(panel.titles, (std::vector<std::string>{home, "a"}));
    EXPECT_EQ(panel.selected, 1);
    EXPECT_EQ(panel.figures[Figure::Total], "465.66");

    // Every volume goes: the startup volume is left, and chosen.
    tp.volumes.unmount("/mnt/a");
    refresh();
    EXPECT_EQ(panel.titles, std::vector<std::string>{home});
    EXPECT_EQ(panel.selected, 0);
    EXPECT_FALSE(tp.log.contains("select error"));
}

TEST_F(VolumeTest, ForcedEmptyingMarksTheChosenTrashAndRunsATickAtOnce)
{
    tp.volumes.set({"/mnt/a", "/mnt/b"});
    c.volume.dispInformation();
    // A pass is running, so the tick starts none and the marks stay to be seen.
    raiseShredding(true);
    c.volume.actForcedEmpty();
    EXPECT_EQ(c.shredder.shredMode(), 1);
    EXPECT_TRUE(c.internal.shredMode());
    EXPECT_FALSE(c.external.shredModeAtPath("/mnt/a"));
    EXPECT_EQ(tp.mainLoop.started.size(), 1u);

    panel.chooseDisk(2);
    c.volume.actForcedEmpty();
    EXPECT_TRUE(c.external.shredModeAtPath("/mnt/b"));
    EXPECT_FALSE(c.external.shredModeAtPath("/mnt/a"));
    EXPECT_EQ(tp.mainLoop.started.size(), 2u);

    // Nothing chosen: nothing marked, no tick.
    c.internal.setShredMode(false);
    panel.selected = -1;
    c.volume.actForcedEmpty();
    EXPECT_FALSE(c.internal.shredMode());
    EXPECT_EQ(tp.mainLoop.started.size(), 2u);
}

TEST_F(VolumeTest, EmptyingAsksFirstAndStopsFromThePanelAsFromTheMenu)
{
    test::makeFolder(tp.trash());
    test::writeFile(tp.trash() + "/a", 10);
    test::writeFile(tp.trash() + "/b", 10);
    c.internal.setTrashSize(2.5 * 1073741824.0);
    c.volume.dispInformation();
    EXPECT_TRUE(panel.isHidden(Button::StopEmpty));

    // Declined: nothing is marked and no tick runs.
    tp.alerts.answer = {false, false};
    ASSERT_TRUE(panel.click(Button::ForcedEmpty));
    ASSERT_EQ(tp.alerts.asked().size(), 1u);
    EXPECT_EQ(tp.alerts.asked()[0].title, "Shred 2 trash items?");
    // Counted from the disk when asked, not from the trash's counter.
    EXPECT_EQ(tp.alerts.asked()[0].text.rfind(byteCountText(20.0), 0), 0u) << tp.alerts.asked()[0].text;
    EXPECT_EQ(c.shredder.shredMode(), 0);
    EXPECT_TRUE(tp.mainLoop.started.empty());

    // Accepted while a pass runs: Stop shows, and asks the pass to end as the menu's stop does.
    tp.alerts.answer = {true, false};
    raiseShredding(true);
    ASSERT_TRUE(panel.click(Button::ForcedEmpty));
    EXPECT_EQ(c.shredder.shredMode(), 1);
    refresh();
    ASSERT_TRUE(panel.click(Button::StopEmpty));
    EXPECT_TRUE(c.shredder.shredBreak());
    EXPECT_EQ(c.internal.trashStatus(), kCanceling);
    EXPECT_TRUE(panel.isHidden(Button::StopEmpty));
}

TEST_F(VolumeTest, ANewMeasurementOfTheChosenTrashCountsWhatItHolds)
{
    test::makeFolder(tp.trash());
    test::writeFile(tp.trash() + "/report.pdf", 5000);
    tp.keys.held = true;
    c.volume.dispInformation();
    ASSERT_TRUE(panel.click(Button::NewInspect));
    ASSERT_TRUE(eventually([&] { return c.internal.trashSize() == 5000.0 && !c.internal.trashSizeing(); }));

    test::writeFile(tp.trash() + "/notes.txt", 1000);
    refresh();
    ASSERT_TRUE(panel.click(Button::Reinspect));
    EXPECT_TRUE(eventually([&] { return c.internal.trashSize() == 6000.0 && !c.internal.trashSizeing(); }));
}

TEST_F(VolumeTest, AMeasurementTheUserAsksForAsksAgainForARefusedRepair)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to prepare a folder the user cannot empty";
    // Root's folder in the user's trash: only a repair lets the user empty it.
    const std::string locked = tp.trash() + "/locked";
    test::makeFolder(locked);
    test::writeFile(locked + "/file", 1);
    chmod(locked.c_str(), 0500);
    chmod(tp.home.path().c_str(), 0755);
    chmod(tp.trash().c_str(), 0777);
    // No measurement may be running at the fork: the child would wait for its flag forever.
    tp.workers.waitForAll();
    EXPECT_EXIT(
        {
            test::becomeNobody();
            test::Checks check;
            tp.launcher.setGrants(false);
            check.equal(c.security.folderEnabler(locked), -1L, "refused");
            check.equal(c.security.folderEnabler(locked), -1L, "refused again");
            check.equal(tp.launcher.dialogs(), 1, "not asked again within the hour");
            c.volume.dispInformation();
            c.volume.actReinspect();
            c.security.folderEnabler(locked);
            check.equal(tp.launcher.dialogs(), 2, "asked at once after the user's request");
            // The panel's refresh and the measurement the button started end before the child.
            tp.workers.requestQuit();
            tp.workers.waitForAll();
            check.finish();
        },
        ::testing::ExitedWithCode(0), "");
}

// A string table of a few words, as a translation would have them; any other text stays itself.
class FewWordsStrings final : public Strings {
public:
    std::string localized(const std::string& key) override
    {
        if (key == "trashed on %1")
            return "weggeworfen am %1";
        if (key == "no rule wants it gone yet")
            return "keine Regel will es";
        if (key == "Nothing: the trash is empty")
            return "Nichts";
        return key;
    }
};

TEST_F(VolumeTest, TheNextItemIsToldInTheUsersWordsAroundItsOwnName)
{
    FewWordsStrings words;
    tp.platform.strings = &words;
    test::TempDir disks;
    const std::string a = disks.path() + "/a";
    const std::string b = disks.path() + "/b";
    test::makeFolder(a + "/.Trashes/501");
    test::makeFolder(b);
    // A name that reads like a key is a name all the same.
    test::writeFile(a + "/.Trashes/501/trashed on %1", 100);
    test::setModificationTime(a + "/.Trashes/501/trashed on %1", 1696507200);
    tp.volumes.set({a, b});
    c.external.initTrashDataAtPath(a);
    c.volume.dispInformation();
    tp.mainLoop.runPosted();
    panel.chooseDisk(1);
    EXPECT_EQ(panel.nextItem, "trashed on %1 (100\u00a0bytes), weggeworfen am 2023-10-05: keine Regel will es");
    panel.chooseDisk(2);
    EXPECT_EQ(panel.nextItem, "Nichts");
    tp.platform.strings = &tp.strings;
}

TEST_F(VolumeTest, TheChosenVolumesOwnRulesAreShownCheckedAndKeptForItAloneWithItsNextItem)
{
    using Override = InfoPanelView::Override;
    test::TempDir disks;
    const std::string a = disks.path() + "/a";
    const std::string b = disks.path() + "/b";
    test::makeFolder(a + "/.Trashes/501");
    test::makeFolder(b);
    test::writeFile(a + "/.Trashes/501/old", 100);
    test::setModificationTime(a + "/.Trashes/501/old", 1696507200); // noon UTC, 40 days before the fake clock
    tp.volumes.set({a, b});
    c.external.initTrashDataAtPath(a);
    c.volume.dispInformation();
    tp.mainLoop.runPosted();
    EXPECT_EQ(panel.placeholders[Override::MinimumRatio], "10 (default)");
    EXPECT_EQ(panel.placeholders[Override::AgeDays], "off (default)");
    EXPECT_EQ(panel.overrides[Override::AgeDays], "");

    panel.chooseDisk(1);
    EXPECT_EQ(panel.nextItem, "old (100\u00a0bytes), trashed on 2023-10-05: no rule wants it gone yet");
    // Out of range: not applied, and the panel says why.
    panel.typeOverride(Override::TrashCap, "150");
    EXPECT_FALSE(panel.isEnabled(Button::ApplyOverrides));
    EXPECT_NE(panel.overrideProblem.find("share"), std::string::npos);
    panel.typeOverride(Override::TrashCap, "");
    panel.typeOverride(Override::AgeDays, "abc");
    EXPECT_FALSE(panel.isEnabled(Button::ApplyOverrides));
    panel.typeOverride(Override::AgeDays, "30");
    EXPECT_TRUE(panel.isEnabled(Button::ApplyOverrides));
    ASSERT_TRUE(panel.click(Button::ApplyOverrides));
    // Applying checks at once: the old item goes for its age.
    EXPECT_TRUE(eventually([&] { return !test::exists(a + "/.Trashes/501/old"); }));
    EXPECT_TRUE(eventually([&] { return !c.shredder.isPassRunning(); }));
    tp.mainLoop.runPosted();

    EXPECT_EQ(c.preferences.rulesAt(a).maximumAgeDays, 30.0f);
    EXPECT_EQ(c.preferences.rulesAt(b).maximumAgeDays, 0.0f);
    EXPECT_EQ(c.preferences.defaultRules().maximumAgeDays, 0.0f);

    // Each volume shows its own values.
    panel.chooseDisk(2);
    EXPECT_EQ(panel.overrides[Override::AgeDays], "");
    EXPECT_EQ(panel.nextItem, "Nothing: the trash is empty");
    panel.chooseDisk(1);
    EXPECT_EQ(panel.overrides[Override::AgeDays], "30");
    EXPECT_FALSE(panel.isEnabled(Button::ApplyOverrides));
}

} // namespace
} // namespace bw
