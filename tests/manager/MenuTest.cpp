#include "app/Controllers.h"
#include "platform/Format.h"
#include "platform/StatusMenu.h"
#include "platform/posix/Files.h"
#include "settings/SettingsKeys.h"
#include "tests/support/FakeStatusMenu.h"
#include "tests/support/ShredderFlags.h"
#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <map>
#include <memory>
#include <set>

namespace bw {

namespace test {
namespace {

constexpr double kCapacity = 100000000000.0;

class MenuTest : public ::testing::Test {
protected:
    MenuTest()
    {
        makeFolder(tp.trash());
        makeFolder(data.path() + "/.Trashes/54321");
        tp.volumes.set({data.path()});
        tp.space.set(kCapacity, 47500000000.0);
        Controllers::registerDefaults(tp.defaults);
        c = std::make_unique<Controllers>(tp.platform);
        c->preferences.awakeFromNib();
        c->manager.awakeFromNib();
        c->shredder.awakeFromNib();
        c->volume.awakeFromNib();
        c->manager.attachMenu(menu);
    }

    // Passes and deletions the commands started end before the controllers go.
    ~MenuTest() override
    {
        tp.workers.requestQuit();
        tp.workers.waitForAll();
    }

    void raise(std::atomic<bool> Shredder::*flag, bool on) { (c->shredder.*flag).store(on); }
    const std::string& title(int tag) const { return *menu.item(tag).title; }
    bool enabled(int tag) const { return menu.item(tag).enabled; }
    std::string volumeItem(const std::string& name) const { return data.path() + "/.Trashes/54321/" + name; }

    // Opens the menu and chooses the item, then lets the deletion it started finish.
    bool chooseAndWait(int tag)
    {
        menu.open();
        const bool chosen = menu.choose(tag);
        tp.workers.waitForAll();
        return chosen;
    }

    TestPlatform tp;
    TempDir data;
    std::unique_ptr<Controllers> c;
    FakeStatusMenu menu;
};

// The picture each slot of the graph ends with, by x.
std::map<int, std::string> finalSlots(const std::vector<PictureStamp>& stamps)
{
    std::map<int, std::string> slots;
    for (const auto& stamp : stamps) {
        EXPECT_EQ(stamp.y, 1);
        slots[stamp.x] = stamp.picture;
    }
    return slots;
}

TEST_F(MenuTest, GraphAndSizeLinesOfTheStartupVolume)
{
    c->internal.setTrashSize(2500000000.0); // used = 100 - 47.5 - 2.5 = 50 GB (decimal)
    menu.open();
    const MenuItemState& graph = menu.item(kMenuGraph);
    EXPECT_EQ(*graph.title, " 93.13 GB");
    EXPECT_EQ(*graph.picture, "GraphBar.png");
    const auto slots = finalSlots(graph.stamps);
    ASSERT_EQ(slots.size(), 40u);
    for (const auto& [x, picture] : slots) {
        const char* expected = x <= 96 ? "UsedPattern.png" : x == 101 ? "TrashPattern.png" : "FreePattern.png";
        EXPECT_EQ(picture, expected) << "x = " << x;
    }
    EXPECT_EQ(slots.begin()->first, 1);
    EXPECT_EQ(slots.rbegin()->first, 196);

    EXPECT_EQ(title(kMenuUsed), "Used\t 46.57 GB (50.00%)");
    EXPECT_EQ(title(kMenuTrash), "Trash\t  2.33 GB ( 2.50%)");
    EXPECT_EQ(title(kMenuFree), "Free\t 44.24 GB (47.50%)");
    EXPECT_EQ(*menu.item(kMenuUsed).picture, "SymbolUsed.png");
    EXPECT_EQ(*menu.item(kMenuTrash).picture, "SymbolTrash.png");
    EXPECT_EQ(*menu.item(kMenuFree).picture, "SymbolEmpty.png");

    // A share too small to show is still not nothing.
    c->internal.setTrashSize(3000.0);
    menu.open();
    EXPECT_EQ(title(kMenuTrash), "Trash\t  0.00 GB ( 0.00%) > 0");
    // Exactly 0.01 % is 0.0099999998 in single precision, below 0.01 as written.
    c->internal.setTrashSize(kCapacity * 0.0001);
    menu.open();
    EXPECT_EQ(title(kMenuTrash), "Trash\t  0.01 GB ( 0.01%) > 0");
    c->internal.setTrashSize(kCapacity * 0.0002);
    menu.open();
    EXPECT_EQ(title(kMenuTrash), "Trash\t  0.02 GB ( 0.02%)");
    c->internal.setTrashSize(0.0);
    menu.open();
    EXPECT_EQ(title(kMenuTrash), "Trash\t  0.00 GB ( 0.00%)");

    // Used and trash are rounded apart: 20.5 and 19.5 slots take 21 and 20, one past the bar.
    tp.space.set(kCapacity, 0.0);
    c->internal.setTrashSize(48750000000.0);
    menu.open();
    const auto& stamps = menu.item(kMenuGraph).stamps;
    EXPECT_EQ(stamps.size(), 40u + 21u + 20u);
    EXPECT_EQ(stamps.back().picture, "TrashPattern.png");
    EXPECT_EQ(stamps.back().x, 201);

    // A trash of sparse files counts more than the volume holds besides the free space.
    tp.space.set(kCapacity, 90000000000.0);
    c->internal.setTrashSize(20000000000.0);
    menu.open();
    EXPECT_EQ(title(kMenuUsed), "Used\t  0.00 GB ( 0.00%)");
    EXPECT_EQ(menu.item(kMenuGraph).stamps.size(), 40u + 8u);

    // A capacity that reads 0 shows zero figures, never a division by it.
    tp.space.set(0.0, 0.0);
    c->internal.setTrashSize(3000.0);
    menu.open();
    EXPECT_EQ(title(kMenuGraph), "  0.00 GB");
    EXPECT_EQ(menu.item(kMenuGraph).stamps.size(), 40u);
    EXPECT_EQ(title(kMenuUsed), "Used\t  0.00 GB ( 0.00%)");
    EXPECT_EQ(title(kMenuTrash), "Trash\t  0.00 GB ( 0.00%)");
    EXPECT_EQ(title(kMenuFree), "Free\t  0.00 GB ( 0.00%)");
}

TEST_F(MenuTest, DeletionCommandsNeedSomethingInATrashAndNoDeletionRunning)
{
    menu.open();
    for (int tag : {kMenuForcedTrash, kMenuDeleteSelects, kMenuDeletePanel})
        EXPECT_FALSE(enabled(tag)) << "every trash empty: tag " << tag;
    EXPECT_EQ(title(kMenuForcedTrash), "StartEmpty");
    EXPECT_TRUE(enabled(kMenuInformation));

    // Only a volume's trash holds something; copied items wait for something copied.
    c->external.setTrashSize(5.0, data.path());
    menu.open();
    for (int tag : {kMenuForcedTrash, kMenuDeletePanel})
        EXPECT_TRUE(enabled(tag)) << tag;
    EXPECT_FALSE(enabled(kMenuDeleteSelects)) << "nothing copied";
    writeFile(volumeItem("v"), 5);
    tp.selection.copy({volumeItem("v")});
    menu.open();
    EXPECT_TRUE(enabled(kMenuDeleteSelects)) << "a trash item copied";

    // Copied items outside the trash: only the selection command goes off.
    tp.selection.copy({tp.home / "notes.txt"});
    menu.open();
    EXPECT_FALSE(enabled(kMenuDeleteSelects));
    EXPECT_TRUE(enabled(kMenuDeletePanel));
    tp.selection.copy({});

    raise(test::partialShreddingFlag(), true);
    menu.open();
    for (int tag : {kMenuForcedTrash, kMenuDeleteSelects, kMenuDeletePanel})
        EXPECT_FALSE(enabled(tag)) << "chosen items being deleted: tag " << tag;
    raise(test::partialShreddingFlag(), false);

    // An automatic pass in free-space mode can still be turned into a forced one.
    raise(test::shreddingFlag(), true);
    menu.open();
    EXPECT_TRUE(enabled(kMenuForcedTrash));
    EXPECT_EQ(title(kMenuForcedTrash), "StartEmpty");
    EXPECT_FALSE(enabled(kMenuDeleteSelects));
    EXPECT_FALSE(enabled(kMenuDeletePanel));
    raise(test::shreddingFlag(), false);
}

TEST_F(MenuTest, ForcedDeleteStartsAndStopsWithItsMarks)
{
    c->internal.setTrashSize(10.0);
    c->external.setTrashSize(5.0, data.path());
    // The pass the first choice starts is running: the tick then starts no other.
    raise(test::shreddingFlag(), true);
    menu.open();
    ASSERT_TRUE(menu.choose(kMenuForcedTrash));
    EXPECT_EQ(c->shredder.shredMode(), 1);
    EXPECT_TRUE(c->internal.shredMode());
    EXPECT_TRUE(c->external.shredModeAtPath(data.path()));
    EXPECT_EQ(tp.workers.running(), 0);
    EXPECT_EQ(tp.mainLoop.pendingTimers(), 1);

    // A volume mounted after the start carries no mark.
    TempDir late;
    makeFolder(late.path() + "/.Trashes");
    tp.volumes.set({data.path(), late.path()});
    menu.open();
    EXPECT_EQ(title(kMenuForcedTrash), "StopEmpty");
    ASSERT_TRUE(menu.choose(kMenuForcedTrash));
    EXPECT_TRUE(c->shredder.shredBreak());
    EXPECT_EQ(c->internal.trashStatus(), kCanceling);
    EXPECT_EQ(c->external.trashStatusWithDrive(0), kCanceling);
    EXPECT_EQ(c->external.trashStatusWithDrive(1), kStandingBy);
    EXPECT_EQ(tp.mainLoop.pendingTimers(), 1) << "the tick only re-arms the timer";
    menu.open();
    EXPECT_EQ(title(kMenuForcedTrash), "StartEmpty");
}

TEST_F(MenuTest, ForcedDeleteEmptiesTheTrashes)
{
    writeFile(tp.trash() + "/old", 10);
    writeFile(volumeItem("v"), 5);
    c->internal.setTrashSize(10.0);
    c->external.setTrashSize(5.0, data.path());
    ASSERT_TRUE(chooseAndWait(kMenuForcedTrash));
    EXPECT_FALSE(exists(tp.trash() + "/old"));
    EXPECT_FALSE(exists(volumeItem("v")));
    EXPECT_EQ(c->shredder.shredMode(), 0);
}

TEST_F(MenuTest, AConfirmedDeletionTakesExactlyTheItemsItCounted)
{
    // The books say nothing is there; the question counts what the disk holds.
    writeFile(tp.trash() + "/old", 10);
    writeFile(volumeItem("v"), 5);
    c->internal.setTrashSize(1.0);
    c->external.setTrashSize(1.0, data.path());
    tp.alerts.whileAsking = [&] {
        writeFile(tp.trash() + "/new", 7);
        writeFile(volumeItem("fresh"), 3);
    };
    ASSERT_TRUE(chooseAndWait(kMenuForcedTrash));
    ASSERT_EQ(tp.alerts.asked().size(), 1u);
    EXPECT_EQ(tp.alerts.asked()[0].title, "Shred 2 trash items?");
    EXPECT_EQ(tp.alerts.asked()[0].text.rfind(byteCountText(15.0), 0), 0u) << tp.alerts.asked()[0].text;
    EXPECT_FALSE(exists(tp.trash() + "/old"));
    EXPECT_FALSE(exists(volumeItem("v")));
    EXPECT_TRUE(exists(tp.trash() + "/new"));
    EXPECT_TRUE(exists(volumeItem("fresh")));

    // A chosen item replaced by another of its name while the question waited stays.
    writeFile(tp.trash() + "/a", 10);
    writeFile(tp.trash() + "/b", 20);
    tp.alerts.whileAsking = [&] {
        ASSERT_EQ(rename((tp.trash() + "/a").c_str(), (tp.trash() + "/a-moved").c_str()), 0);
        writeFile(tp.trash() + "/a", 30, 'n');
    };
    tp.itemChooser.result = std::vector<std::string>{tp.trash() + "/a", tp.trash() + "/b"};
    ASSERT_TRUE(chooseAndWait(kMenuDeletePanel));
    EXPECT_EQ(readFile(tp.trash() + "/a"), std::string(30, 'n'));
    EXPECT_FALSE(exists(tp.trash() + "/b"));
}

TEST_F(MenuTest, LastAutoDeleteInLocalTime)
{
    menu.open();
    EXPECT_EQ(title(kMenuLastAutoDelete), "No auto delete operation.");

    const char* zone = std::getenv("TZ");
    const std::string saved = zone ? zone : "";
    setenv("TZ", "JST-9", 1);
    tzset();
    c->shredder.setLastAutoExecDate(std::chrono::system_clock::from_time_t(1173053220)); // 2007-03-05 00:07 UTC
    menu.open();
    EXPECT_EQ(title(kMenuLastAutoDelete), "Last auto delete 2007.3.5 09:07");
    if (zone)
        setenv("TZ", saved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

TEST_F(MenuTest, AMinimumOfZeroIsShownAsAutomaticDeletionOff)
{
    c->shredder.setLastAutoExecDate(std::chrono::system_clock::from_time_t(1173053220));
    c->preferences.applyAndStore(0.0f, 300.0f, false, true, false);
    menu.open();
    EXPECT_EQ(title(kMenuLastAutoDelete), "AutoDeleteOff");
    // The panel says so in place of "standing by", for the startup volume and the others;
    // what runs now is still shown.
    c->volume.dispInformation();
    EXPECT_EQ(tp.infoPanel.status, "AutoDeleteOff");
    tp.infoPanel.chooseDisk(1);
    EXPECT_EQ(tp.infoPanel.status, "AutoDeleteOff");
    c->external.setTrashStatus(kDeleting, data.path());
    c->volume.renewAllInfo();
    EXPECT_EQ(tp.infoPanel.status, "Deleteing");

    // Any other minimum: the date again.
    c->preferences.applyAndStore(0.01f, 300.0f, false, true, false);
    menu.open();
    EXPECT_EQ(title(kMenuLastAutoDelete).rfind("Last auto delete 2007.3.", 0), 0u);
}

TEST_F(MenuTest, CopiedItemsAreDeletedOnlyWhenEachIsTheTrashItemOfItsName)
{
    writeFile(tp.trash() + "/keep", 10);
    writeFile(tp.trash() + "/twin", 20);
    writeFile(volumeItem("twin"), 7);
    writeFile(volumeItem("big.iso"), 5);
    c->internal.setTrashSize(30.0);
    c->external.setTrashSize(12.0, data.path());

    // One name that no trash holds (emptied since it was copied): nothing is deleted.
    tp.selection.copy({tp.trash() + "/keep", tp.trash() + "/gone"});
    ASSERT_TRUE(chooseAndWait(kMenuDeleteSelects));
    EXPECT_TRUE(exists(tp.trash() + "/keep"));
    EXPECT_FALSE(c->shredder.isPartialShredding());

    // The volume's "twin" was copied, but the home trash's comes first by name.
    tp.selection.copy({volumeItem("twin")});
    ASSERT_TRUE(chooseAndWait(kMenuDeleteSelects));
    EXPECT_TRUE(exists(tp.trash() + "/twin"));
    EXPECT_TRUE(exists(volumeItem("twin")));

    tp.selection.copy({volumeItem("big.iso"), tp.trash() + "/twin"});
    ASSERT_TRUE(chooseAndWait(kMenuDeleteSelects));
    EXPECT_FALSE(exists(volumeItem("big.iso")));
    EXPECT_FALSE(exists(tp.trash() + "/twin"));
    EXPECT_EQ(c->internal.trashSize(), 10.0);
    EXPECT_EQ(c->external.trashSizeWithPath(data.path()), 7.0);

    // Nothing copied, something in the trash: the command is off and deletes nothing.
    tp.selection.copy({});
    menu.open();
    EXPECT_FALSE(enabled(kMenuDeleteSelects));
    menu.choose(kMenuDeleteSelects);
    tp.workers.waitForAll();
    EXPECT_TRUE(exists(tp.trash() + "/keep"));
}

TEST_F(MenuTest, ChosenHomeTrashItemsAreDeletedWithTheHomeCounter)
{
    writeFile(tp.trash() + "/a", 10);
    writeFile(tp.trash() + "/b", 20);
    writeFile(tp.trash() + "/c", 40);
    c->internal.setTrashSize(70.0);

    tp.itemChooser.result = std::nullopt; // Cancel
    ASSERT_TRUE(chooseAndWait(kMenuDeletePanel));
    EXPECT_FALSE(c->shredder.isPartialShredding());
    EXPECT_TRUE(c->shredder.lastAutoExecDate() == std::nullopt);
    auto offered = tp.itemChooser.offeredPaths();
    std::sort(offered.begin(), offered.end());
    EXPECT_EQ(offered, (std::vector<std::string>{tp.trash() + "/a", tp.trash() + "/b", tp.trash() + "/c"}));

    tp.itemChooser.result = std::vector<std::string>{tp.trash()}; // the trash folder itself
    ASSERT_TRUE(chooseAndWait(kMenuDeletePanel));
    EXPECT_TRUE(exists(tp.trash() + "/a"));

    tp.itemChooser.result = std::vector<std::string>{tp.trash() + "/a", tp.trash() + "/c"};
    ASSERT_TRUE(chooseAndWait(kMenuDeletePanel));
    EXPECT_FALSE(exists(tp.trash() + "/a"));
    EXPECT_TRUE(exists(tp.trash() + "/b"));
    EXPECT_FALSE(exists(tp.trash() + "/c"));
    EXPECT_EQ(c->internal.trashSize(), 20.0);
}

TEST_F(MenuTest, TheChooserOffersEveryTrashAndADeclineKeepsTheChoice)
{
    writeFile(tp.trash() + "/a", 10);
    writeFile(volumeItem("v"), 7);
    writeFile(volumeItem("w"), 5);
    c->internal.setTrashSize(10.0);
    c->external.setTrashSize(12.0, data.path());

    // Every trash's items, each row saying its trash and volume.
    tp.alerts.answer = {false, false};
    tp.itemChooser.result = std::vector<std::string>{tp.trash() + "/a", volumeItem("v")};
    ASSERT_TRUE(chooseAndWait(kMenuDeletePanel));
    std::map<std::string, std::string> volumeOf;
    std::set<std::string> trashes;
    for (const auto& row : tp.itemChooser.lastContent.rows) {
        volumeOf[row.path] = row.volume;
        trashes.insert(row.trash);
    }
    EXPECT_EQ(volumeOf.size(), 3u);
    EXPECT_EQ(volumeOf[volumeItem("v")], posix::lastComponent(data.path()));
    EXPECT_EQ(volumeOf[volumeItem("w")], posix::lastComponent(data.path()));
    EXPECT_EQ(trashes.size(), 2u);

    // Declined: the chooser comes back with the same two chosen; cancelled there, nothing goes.
    EXPECT_EQ(tp.itemChooser.runs, 2);
    EXPECT_EQ(tp.itemChooser.lastContent.chosen, (std::vector<std::string>{tp.trash() + "/a", volumeItem("v")}));
    EXPECT_TRUE(exists(tp.trash() + "/a"));
    EXPECT_TRUE(exists(volumeItem("v")));

    // Accepted: both go, each lowering its own trash's counter.
    tp.alerts.answer = {true, false};
    tp.itemChooser.result = std::vector<std::string>{tp.trash() + "/a", volumeItem("v")};
    ASSERT_TRUE(chooseAndWait(kMenuDeletePanel));
    EXPECT_FALSE(exists(tp.trash() + "/a"));
    EXPECT_FALSE(exists(volumeItem("v")));
    EXPECT_TRUE(exists(volumeItem("w")));
    EXPECT_EQ(c->internal.trashSize(), 0.0);
    EXPECT_EQ(c->external.trashSizeWithPath(data.path()), 5.0);
}

TEST_F(MenuTest, ShreddingCommandsAskFirstUnlessTheUserSaidNotTo)
{
    writeFile(tp.trash() + "/a", 1000);
    writeFile(tp.trash() + "/b", 2000);
    writeFile(volumeItem("v"), 3000);
    c->internal.setTrashSize(3000.0);
    c->external.setTrashSize(3000.0, data.path());

    // Declined: the forced delete marks nothing, the chosen and copied items stay.
    tp.alerts.answer = {false, true};
    ASSERT_TRUE(chooseAndWait(kMenuForcedTrash));
    EXPECT_EQ(c->shredder.shredMode(), 0);
    EXPECT_FALSE(c->internal.shredMode());
    tp.itemChooser.result = std::vector<std::string>{tp.trash() + "/a"};
    ASSERT_TRUE(chooseAndWait(kMenuDeletePanel));
    tp.selection.copy({tp.trash() + "/b"});
    ASSERT_TRUE(chooseAndWait(kMenuDeleteSelects));
    EXPECT_TRUE(exists(tp.trash() + "/a"));
    EXPECT_TRUE(exists(tp.trash() + "/b"));
    auto asked = tp.alerts.asked();
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[0].title, "Shred 3 trash items?");
    EXPECT_EQ(asked[0].text.rfind("5.9\u00a0KB", 0), 0u) << asked[0].text;
    EXPECT_EQ(asked[1].title, "Shred 1 trash item?");
    EXPECT_EQ(asked[1].text.rfind("1000\u00a0bytes", 0), 0u) << asked[1].text;
    EXPECT_EQ(asked[1].suppressionText, "Do not ask again");
    // "Do not ask again" with a cancel is no answer for next time.
    EXPECT_TRUE(tp.defaults.boolForKey(keys::ConfirmShredding.name));

    // Yes, and do not ask again: shredded now, and later without a question.
    tp.alerts.answer = {true, true};
    ASSERT_TRUE(chooseAndWait(kMenuDeletePanel));
    EXPECT_FALSE(exists(tp.trash() + "/a"));
    EXPECT_EQ(tp.defaults.stored().at(keys::ConfirmShredding.name), DefaultValue(false));
    tp.alerts.answer = {false, false};
    ASSERT_TRUE(chooseAndWait(kMenuDeleteSelects));
    EXPECT_FALSE(exists(tp.trash() + "/b"));
    EXPECT_EQ(tp.alerts.asked().size(), 4u);
}

TEST_F(MenuTest, ItemsChosenWhileAPassRunsAreDeletedWhenItEnds)
{
    writeFile(tp.trash() + "/a", 10);
    writeFile(tp.trash() + "/b", 20);
    c->internal.setTrashSize(30.0);
    // A pass starts while the chooser is open and waits for a measurement.
    c->external.setTrashSizeing(true, data.path());
    c->shredder.autoShred();
    tp.itemChooser.result = std::vector<std::string>{tp.trash() + "/a"};
    menu.open();
    ASSERT_TRUE(menu.choose(kMenuDeletePanel));
    EXPECT_TRUE(exists(tp.trash() + "/a"));
    EXPECT_TRUE(c->shredder.hasChosenItemsWaiting());
    EXPECT_TRUE(tp.log.contains("deleted as soon as it ends"));

    c->external.setTrashSizeing(false, data.path());
    tp.workers.waitForAll();
    EXPECT_FALSE(exists(tp.trash() + "/a"));
    EXPECT_TRUE(exists(tp.trash() + "/b"));
    EXPECT_EQ(c->internal.trashSize(), 20.0);
    EXPECT_FALSE(c->shredder.hasChosenItemsWaiting());
    EXPECT_FALSE(c->shredder.isPartialShredding());
}

TEST_F(MenuTest, TheOtherCommandsReachTheirControllers)
{
    menu.open();
    EXPECT_TRUE(menu.choose(kMenuGraph)); // shows only
    EXPECT_EQ(tp.mainLoop.pendingTimers(), 0);
    EXPECT_TRUE(menu.choose(kMenuCheckNow));
    EXPECT_EQ(tp.mainLoop.pendingTimers(), 1);
    EXPECT_TRUE(menu.choose(kMenuPreferences));
    EXPECT_TRUE(tp.prefsPanel.open);
    EXPECT_TRUE(menu.choose(kMenuQuit));
    EXPECT_EQ(tp.mainLoop.quitCount, 1);
    EXPECT_TRUE(menu.choose(kMenuInformation));
    EXPECT_TRUE(tp.infoPanel.open);
    tp.infoPanel.close();
}

} // namespace
} // namespace test
} // namespace bw
