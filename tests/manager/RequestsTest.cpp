#include "accounting/TrashSnapshot.h"
#include "app/Controllers.h"
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
    const std::string told = "Deleted 3 items (5.9 KB) from the trashes on " + c->internal.volumeName() + ", bad\xff\"\n";
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

} // namespace
} // namespace bw::test
