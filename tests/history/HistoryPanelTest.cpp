#include "app/Controllers.h"
#include "history/HistoryPanel.h"
#include "history/HistoryStore.h"
#include "platform/StatusMenu.h"
#include "tests/support/FakeStatusMenu.h"
#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

#include <memory>

namespace bw::test {

namespace {

using namespace std::chrono_literals;

DeletionEvent deletion(const std::string& name, DeletionReason reason, TimePoint when)
{
    DeletionEvent event;
    event.when = when;
    event.trash = "USB";
    event.volumePath = "/media/u/USB";
    event.path = "/media/u/USB/.Trash-1000/files/" + name;
    event.originalLocation = "/media/u/USB/Photos/" + name;
    event.bytes = 2048;
    event.reason = reason;
    event.deleted = true;
    return event;
}

class HistoryPanelTest : public ::testing::Test {
protected:
    HistoryPanelTest()
    {
        Controllers::registerDefaults(tp.defaults);
        c = std::make_unique<Controllers>(tp.platform);
        c->manager.attachMenu(menu);
    }
    ~HistoryPanelTest() override
    {
        tp.workers.requestQuit();
        tp.workers.waitForAll();
    }

    // The reading worker ends, and what it hands to the main thread arrives.
    void settle()
    {
        tp.workers.waitForAll();
        tp.mainLoop.runPosted();
    }

    std::string path() const { return tp.home / ".local/state/brindlewick/history.sqlite3"; }

    TestPlatform tp;
    std::unique_ptr<Controllers> c;
    FakeStatusMenu menu;
    FakeHistoryPanel view;
};

TEST_F(HistoryPanelTest, TheMenuOpensItNewestFirstAndTheFilterKeepsLinesWithEveryWord)
{
    // Without a history, or headless, the item is there but does nothing.
    menu.open();
    EXPECT_FALSE(menu.item(kMenuHistory).enabled);
    HistoryPanel headless(tp.platform, nullptr, path());
    c->manager.wireHistory(headless);
    menu.open();
    EXPECT_FALSE(menu.item(kMenuHistory).enabled);

    HistoryPanel panel(tp.platform, &view, path());
    c->manager.wireHistory(panel);
    // Nothing deleted yet: no database, and the window says so.
    menu.open();
    ASSERT_TRUE(menu.choose(kMenuHistory));
    settle();
    EXPECT_TRUE(view.open);
    EXPECT_TRUE(view.lines.empty());
    EXPECT_EQ(view.status, "No deletions recorded yet.");

    const TimePoint now = std::chrono::system_clock::now();
    HistoryStore store;
    ASSERT_EQ(store.openForWriting(path()), HistoryStore::Outcome::Written);
    DeletionEvent failed = deletion("Beach.jpg", DeletionReason::ChosenItems, now - 1min);
    failed.deleted = false;
    failed.failure = "Operation not permitted";
    ASSERT_EQ(store.append({deletion("Été à Ávila.jpg", DeletionReason::Age, now - 2h), failed,
                            deletion("Notes.txt", DeletionReason::FreeSpace, now)},
                           now),
              HistoryStore::Outcome::Written);

    view.clickRefresh();
    settle();
    ASSERT_EQ(view.lines.size(), 3u);
    EXPECT_EQ(view.lines[0].originalLocation, "/media/u/USB/Photos/Notes.txt");
    EXPECT_EQ(view.lines[1].result, "failed: Operation not permitted");
    EXPECT_EQ(view.lines[1].reason, "chosen items");
    EXPECT_EQ(view.lines[2].reason, "age");
    EXPECT_EQ(view.lines[2].size, "2.0 KB");
    EXPECT_EQ(view.status, "3 deletions");

    // Words in any column, in any case, all of them.
    view.type("photos JPG");
    ASSERT_EQ(view.lines.size(), 2u);
    EXPECT_EQ(view.status, "2 of 3 deletions");
    view.type("jpg  failed");
    ASSERT_EQ(view.lines.size(), 1u);
    EXPECT_EQ(view.lines[0].path, "/media/u/USB/.Trash-1000/files/Beach.jpg");
    // Accented capitals as their small letters, whichever way either is typed.
    view.type("été ÁVILA");
    ASSERT_EQ(view.lines.size(), 1u);
    EXPECT_EQ(view.lines[0].reason, "age");
    view.type("ÉTÉ à");
    EXPECT_EQ(view.lines.size(), 1u);
    view.type("jpg space");
    EXPECT_TRUE(view.lines.empty());
    // The filter stays when the history is read again at the next opening.
    view.close();
    menu.open();
    ASSERT_TRUE(menu.choose(kMenuHistory));
    settle();
    EXPECT_TRUE(view.lines.empty());
    view.type("");
    EXPECT_EQ(view.lines.size(), 3u);
}

TEST_F(HistoryPanelTest, ItsFrameIsKeptAndADamagedHistorySaysItCannotBeRead)
{
    HistoryPanel panel(tp.platform, &view, path());
    panel.showHistory();
    settle();
    view.frame = "moved";
    view.close();
    EXPECT_EQ(tp.defaults.stringForKey(HistoryPanel::kFrameKey), "moved");

    FakeHistoryPanel again;
    HistoryPanel next(tp.platform, &again, path());
    makeFolder(tp.home / ".local/state/brindlewick");
    writeFile(path(), 4096, '#');
    next.showHistory();
    settle();
    EXPECT_EQ(again.frame, "moved");
    EXPECT_TRUE(again.lines.empty());
    EXPECT_EQ(again.status.rfind("The history cannot be read: ", 0), 0u) << again.status;
}

} // namespace
} // namespace bw::test
