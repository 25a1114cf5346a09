#include "accounting/TrashSnapshot.h"
#include "app/Controllers.h"
#include "platform/StatusMenu.h"
#include "platform/Log.h"
#include "settings/Preferences.h"
#include "settings/SettingsKeys.h"
#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

namespace bw::test {
namespace {

constexpr double kCapacity = 100000000000.0;

// What the command line asks of the running program, answered from the controllers.
class RequestsTest : public ::testing::Test {
protected:
    RequestsTest()
    {
        makeFolder(tp.trash());
        // A volume whose name is no valid UTF-8 and holds a quote and a line feed.
        volume = data / "bad\xff\"\n";
        makeFolder(volume + "/.Trashes/54321");
        tp.volumes.set({volume});
        tp.space.set(kCapacity, 47500000000.0);
        tp.space.setFor(volume, 1000000.0, 50000.0); // free below the 10 % minimum
        Controllers::registerDefaults(tp.defaults);
        c = std::make_unique<Controllers>(tp.platform);
        c->preferences.awakeFromNib();
        c->manager.awakeFromNib();
        c->shredder.awakeFromNib();
    }
    ~RequestsTest() override
    {
        tp.workers.requestQuit();
        tp.workers.waitForAll();
    }

    TestPlatform tp;
    TempDir data;
    std::string volume;
    std::unique_ptr<Controllers> c;
};

TEST_F(RequestsTest, StatusFiguresAndTheirJsonAndTable)
{
    writeFile(tp.trash() + "/a", 1000);
    writeFile(volume + "/.Trashes/54321/v", 3000);
    c->internal.setTrashSize(1000.0);
    c->external.setTrashSize(-5.0, volume); // deletions took more than was measured
    c->shredder.setLastAutoExecDate(std::chrono::system_clock::from_time_t(1767323045)); // 2026-01-02 03:04:05 UTC

    const TrashSnapshot all = c->manager.snapshot();
    ASSERT_EQ(all.trashes.size(), 2u);
    const TrashState& home = all.trashes[0];
    EXPECT_EQ(home.items, 1);
    EXPECT_EQ(home.bytes, 1000.0);
    EXPECT_EQ(home.capacity, kCapacity);
    EXPECT_EQ(home.minimumFree, c->internal.miniSize());
    EXPECT_FALSE(home.shortOfSpace);
    EXPECT_EQ(home.used(), kCapacity - 47500000000.0 - 1000.0);
    EXPECT_EQ(home.folders.front(), tp.trash());
    const TrashState& other = all.trashes[1];
    EXPECT_EQ(other.mountPoint, volume);
    EXPECT_EQ(other.items, 1);
    EXPECT_EQ(other.bytes, 0.0);
    EXPECT_TRUE(other.shortOfSpace);
    EXPECT_EQ(all.totalItems(), 2);

    const std::string json = c->manager.answerRequest("status");
    EXPECT_NE(json.find("\"name\":\"bad\xef\xbf\xbd\\\"\\u000a\",\"mountPoint\":"), std::string::npos) << json;
    EXPECT_NE(json.find("\"items\":1,\"bytes\":0,\"capacity\":1000000,\"free\":50000,\"minimumFree\":100000,"
                        "\"short\":true"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"lastAutoDelete\":\"2026-01-02T03:04:05Z\",\"passRunning\":false}"), std::string::npos)
        << json;
    EXPECT_EQ(json.find('\n'), json.size() - 1) << "one line";
    const std::string table = c->manager.answerRequest("table");
    EXPECT_NE(table.find("bad\xff\"\\n"), std::string::npos) << table; // control characters written out
    EXPECT_NE(table.find("standing by, short of space"), std::string::npos) << table;
    // The totals a confirmation is asked with are counted from the disk, not from the books.
    EXPECT_EQ(c->manager.answerRequest("totals"), "2 4000\n");
    EXPECT_EQ(c->manager.answerRequest("format the disk"), "");
}

TEST_F(RequestsTest, EmptyNeedsNoConfirmationAndIsCountedToldAndLoggedOnce)
{
    writeFile(tp.trash() + "/a", 1000);
    writeFile(tp.trash() + "/b", 2000);
    writeFile(volume + "/.Trashes/54321/v", 3000);
    c->internal.initTrashData();
    c->external.initTrashDataAtPath(volume);
    tp.alerts.answer = {false, false}; // a confirmation would be declined

    EXPECT_EQ(c->manager.answerRequest("stop"), "idle\n");
    EXPECT_EQ(c->manager.answerRequest("empty"), "done\n");
    tp.workers.waitForAll();
    EXPECT_FALSE(exists(tp.trash() + "/a"));
    EXPECT_FALSE(exists(tp.trash() + "/b"));
    EXPECT_FALSE(exists(volume + "/.Trashes/54321/v"));
    EXPECT_TRUE(tp.alerts.asked().empty());
    const PassTotals totals = c->shredder.passTotals();
    EXPECT_EQ(totals.deleted, 3);
    EXPECT_EQ(totals.bytes, 6000.0);
    EXPECT_EQ(totals.failed, 0);
    EXPECT_FALSE(c->manager.snapshot().passRunning);

    // One notification and one log line for the pass, naming both trashes.
    tp.mainLoop.runPosted();
    // The notification binds the size's figure to its unit; the log keeps a plain space.
    const std::string told = "Deleted 3 items (5.9\u00a0KB) from the trashes on " + c->internal.volumeName() + ", bad\xff\"\n";
    ASSERT_EQ(tp.notifier.shown.size(), 1u);
    EXPECT_EQ(tp.notifier.shown[0].first, "Trash emptied");
    EXPECT_EQ(tp.notifier.shown[0].second, told);
    EXPECT_EQ(tp.log.count("Trash emptied: Deleted 3 items (5.9 KB) from the trashes on " + c->internal.volumeName() +
                           ", bad\xff\"\\n"),
              1);

    // Ticks whose pass finds nothing to delete are no news; notifications off, only the log.
    c->manager.applicationShouldHandleReopen();
    tp.workers.waitForAll();
    c->preferences.setNotificationsSwitch(false);
    EXPECT_FALSE(tp.defaults.boolForKey(keys::PassNotifications.name));
    writeFile(tp.trash() + "/c", 10);
    c->internal.initTrashData();
    c->manager.answerRequest("empty");
    tp.workers.waitForAll();
    tp.mainLoop.runPosted();
    EXPECT_FALSE(exists(tp.trash() + "/c"));
    EXPECT_EQ(tp.notifier.shown.size(), 1u);
    EXPECT_EQ(tp.log.count("Trash emptied: Deleted 1 item (10 bytes) from the trash on " + c->internal.volumeName()), 1);
    int passLines = 0;
    for (const auto& line : tp.log.lines())
        passLines += line.rfind("Trash", 0) == 0 ? 1 : 0;
    EXPECT_EQ(passLines, 2) << "a pass with nothing to do was logged";
}

TEST_F(RequestsTest, ALongVolumeNameIsToldShortenedInTheMiddle)
{
    // 140 characters in 240 bytes: both cuts fall among two-byte characters.
    std::string name = std::string(20, 'a');
    for (int i = 0; i < 100; ++i)
        name += "\xc3\xa9";
    name += std::string(20, 'z');
    const std::string longVolume = data / name;
    makeFolder(longVolume + "/.Trashes/54321");
    writeFile(longVolume + "/.Trashes/54321/v", 3000);
    tp.volumes.set({longVolume});
    tp.space.setFor(longVolume, 1000000.0, 50000.0);
    c->external.initTrashDataAtPath(longVolume);

    EXPECT_EQ(c->manager.answerRequest("empty"), "done\n");
    tp.workers.waitForAll();
    tp.mainLoop.runPosted();
    EXPECT_FALSE(exists(longVolume + "/.Trashes/54321/v"));
    std::string shortened = std::string(20, 'a');
    for (int i = 0; i < 20; ++i)
        shortened += "\xc3\xa9";
    shortened += "\xe2\x80\xa6"; // 80 characters with the ellipsis
    for (int i = 0; i < 19; ++i)
        shortened += "\xc3\xa9";
    shortened += std::string(20, 'z');
    ASSERT_EQ(tp.notifier.shown.size(), 1u);
    EXPECT_EQ(tp.notifier.shown[0].second, "Deleted 1 item (2.9\u00a0KB) from the trash on " + shortened);
}

TEST_F(RequestsTest, WithoutATrayThePanelIsTheProgramsWindow)
{
    // A start from the application menu opens the information panel; the command line's
    // check does not.
    c->volume.awakeFromNib();
    EXPECT_EQ(c->manager.answerRequest("check"), "done\n");
    EXPECT_FALSE(tp.infoPanel.open);
    EXPECT_EQ(c->manager.answerRequest("reopen"), "done\n");
    EXPECT_TRUE(tp.infoPanel.open);
    // Reopening checks the trashes too: the pass it starts has ended before the commands are read.
    ASSERT_TRUE(eventually([&] { return !c->shredder.isPassRunning() && !c->shredder.isShredding(); }));

    // The panel has the menu's commands but the figures, its own emptying and itself.
    std::vector<int> tags;
    for (const auto& command : tp.infoPanel.commands)
        tags.push_back(command.tag);
    EXPECT_EQ(tags, (std::vector<int>{kMenuDeleteSelects, kMenuDeletePanel, kMenuHistory, kMenuPreferences, kMenuCheckNow, kMenuQuit}));
    ASSERT_TRUE(tp.infoPanel.validate);
    EXPECT_FALSE(tp.infoPanel.validate(kMenuDeletePanel).enabled) << "every trash is empty";
    c->internal.setTrashSize(10.0);
    EXPECT_TRUE(tp.infoPanel.validate(kMenuDeletePanel).enabled);
    tp.infoPanel.commands.back().action();
    EXPECT_EQ(tp.mainLoop.quitCount, 1);
}

TEST_F(RequestsTest, LongNamesAreShortenedInTheMiddleAndTheColumnsStay)
{
    const std::string longName(30, 'a');
    const std::string volumeName = longName + "\u00e9" + std::string(29, 'z'); // 60 characters
    TrashSnapshot all;
    all.trashes.resize(3);
    all.trashes[0].name = "/";
    all.trashes[0].mountPoint = "/";
    all.trashes[1].name = volumeName;
    all.trashes[1].mountPoint = "/media/alice/" + volumeName;
    all.trashes[2].name = "USB";
    all.trashes[2].mountPoint = "/media/alice/USB";
    all.trashes[2].items = 1234567;
    UntranslatedStrings english;
    const std::string table = snapshotTable(all, english);

    // Every line of the table proper has its columns at the same characters.
    std::vector<std::u32string> lines;
    std::string line;
    for (const char ch : table) {
        if (ch != '\n') {
            line += ch;
            continue;
        }
        std::u32string characters;
        for (size_t i = 0; i < line.size(); ++i)
            if ((static_cast<unsigned char>(line[i]) & 0xC0) != 0x80)
                characters += static_cast<char32_t>(static_cast<unsigned char>(line[i]));
        lines.push_back(characters);
        line.clear();
    }
    ASSERT_GE(lines.size(), 4u);
    for (size_t i = 1; i < 4; ++i) {
        ASSERT_GT(lines[i].size(), 50u) << table;
        EXPECT_EQ(lines[i][16], U' ') << table;
        EXPECT_EQ(lines[i][41], U' ') << table;
        // The item counts end where the header's "ITEMS" ends.
        EXPECT_TRUE(lines[i][48] >= U'0' && lines[i][48] <= U'9') << table;
        EXPECT_EQ(lines[i][49], U' ') << table;
    }
    // Both ends of the long name stay; the ellipsis takes its middle.
    EXPECT_NE(table.find("aaaaaaaa\u2026zzzzzzz "), std::string::npos) << table;
    EXPECT_NE(table.find("/media/alice\u2026zzzzzzzzzzz "), std::string::npos) << table;
    EXPECT_NE(table.find("USB              /media/alice/USB         1234567"), std::string::npos) << table;
}

TEST_F(RequestsTest, ThePreviewAndTheDryRunsListWhatWouldGoInOrderAndDeleteNothing)
{
    constexpr time_t kNow = 1700000000; // the fake clock's
    constexpr time_t kDay = 86400;
    writeFile(tp.trash() + "/old", 1000);
    setModificationTime(tp.trash() + "/old", kNow - 40 * kDay);
    writeFile(tp.trash() + "/young", 2000);
    setModificationTime(tp.trash() + "/young", kNow - 10 * kDay);
    writeFile(volume + "/.Trashes/54321/v", 3000);
    setModificationTime(volume + "/.Trashes/54321/v", kNow - kDay);
    c->internal.initTrashData();
    c->external.initTrashDataAtPath(volume);
    RuleSettings rules = c->preferences.defaultRules();
    rules.maximumAgeDays = 30.0f;
    c->preferences.keepDefaultRules(rules);

    const std::string json = c->manager.answerRequest("status");
    EXPECT_NE(json.find("\"next\":{\"name\":\"old\",\"originalLocation\":\"" + tp.trash() +
                        "/old\",\"trashedOn\":\"2023-10-05T22:13:20Z\",\"bytes\":1000},"
                        "\"wouldDelete\":[{\"rule\":\"age\",\"items\":1,\"bytes\":1000}]"),
              std::string::npos)
        << json;
    // The volume is short of space; its one item would go for that, and for age it is too young.
    EXPECT_NE(json.find("\"wouldDelete\":[{\"rule\":\"free space\",\"items\":1,\"bytes\":3000}]"),
              std::string::npos)
        << json;

    // One item of each trash per cycle, the home trash first.
    EXPECT_EQ(c->manager.answerRequest("plan"), "age\t1000\t2023-10-05T22:13:20Z\t" + tp.trash() +
                                                    "/old\nfree space\t3000\t2023-11-13T22:13:20Z\t" +
                                                    escapeControlCharacters(volume) +
                                                    "/.Trashes/54321/v\n");
    const std::string emptying = c->manager.answerRequest("plan-empty");
    EXPECT_EQ(emptying.substr(0, emptying.find('\t')), "command line");
    EXPECT_NE(emptying.find("/young\n"), std::string::npos);
    EXPECT_LT(emptying.find("/v\n"), emptying.find("/young\n"));
    EXPECT_TRUE(exists(tp.trash() + "/old"));
    EXPECT_TRUE(exists(volume + "/.Trashes/54321/v"));

    rules.maximumAgeDays = 0.0f;
    c->preferences.keepDefaultRules(rules);
    tp.space.setFor(volume, 1000000.0, 500000.0);
    EXPECT_EQ(c->manager.answerRequest("plan"), "Nothing would be deleted now.\n");
}

} // namespace
} // namespace bw::test
