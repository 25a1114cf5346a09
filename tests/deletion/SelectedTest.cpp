#include "app/Controllers.h"
#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace bw::test {
namespace {

// Applies every posted job at once on the posting thread, so that the tray shows each
// update at the virtual time it was made. Only for the flashing, which posts holding no lock.
class ImmediateLoop final : public MainLoop {
public:
    void post(std::function<void()> job) override { job(); }
    bool isMainThread() const override { return false; }
    TimerId startTimer(Seconds, std::function<void()>) override { return 1; }
    void cancelTimer(TimerId) override {}
    void quit() override {}
};

// Every picture and tool tip the tray was given, with the virtual time and the thread.
class RecordingStatusItem final : public StatusItem {
public:
    struct Picture {
        std::string name;
        double at;
        std::thread::id thread;
    };
    explicit RecordingStatusItem(const Clock& clock) : clock_(clock) {}
    void show() override {}
    void setImage(const std::string& name) override
    {
        const double at = std::chrono::duration<double>(clock_.now().time_since_epoch()).count();
        std::lock_guard lock(mutex_);
        pictures_.push_back({name, at, std::this_thread::get_id()});
    }
    void setToolTip(const std::string& text) override
    {
        std::lock_guard lock(mutex_);
        toolTips_.push_back(text);
    }
    std::vector<Picture> pictures() const { return locked(pictures_); }
    std::vector<std::string> toolTips() const { return locked(toolTips_); }

private:
    template <typename T>
    T locked(const T& value) const
    {
        std::lock_guard lock(mutex_);
        return value;
    }
    const Clock& clock_;
    mutable std::mutex mutex_;
    std::vector<Picture> pictures_;
    std::vector<std::string> toolTips_;
};

// Lets the test look at the controllers while an alert is up, as the user would see them.
class WatchingAlerts final : public AlertPresenter {
public:
    void runModal(const AlertContent& alert) override
    {
        shown.push_back(alert);
        if (onAlert)
            onAlert();
    }
    ConfirmAnswer confirm(const ConfirmContent&) override { return {true, false}; }
    std::vector<AlertContent> shown;
    std::function<void()> onAlert;
};

class SelectedTest : public ::testing::Test {
protected:
    SelectedTest() : item(tp.clock)
    {
        tp.platform.statusItem = &item;
        tp.platform.alerts = &alerts;
        makeFolder(tp.trash());
        Controllers::registerDefaults(tp.defaults);
        controllers = std::make_unique<Controllers>(tp.platform);
        controllers->manager.awakeFromNib();
        controllers->shredder.awakeFromNib();
    }

    // Passes and deletions the commands started end before the controllers go.
    ~SelectedTest() override
    {
        tp.workers.requestQuit();
        tp.workers.waitForAll();
    }

    Shredder& shredder() { return controllers->shredder; }
    Internal& internal() { return controllers->internal; }
    std::string inTrash(const std::string& name) const { return tp.trash() + "/" + name; }

    // Waits (in real time) until the tray has been given `count` pictures in all.
    bool waitForPictures(size_t count) const
    {
        for (int i = 0; i < 5000 && item.pictures().size() < count; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return item.pictures().size() >= count;
    }

    TestPlatform tp;
    ImmediateLoop immediate;
    RecordingStatusItem item;
    WatchingAlerts alerts;
    std::unique_ptr<Controllers> controllers;
};

TEST_F(SelectedTest, AFailedItemIsReportedOnceAndTheOthersAreDeleted)
{
    writeFile(inTrash("first"), 100);
    writeFile(inTrash("third"), 300);
    // The second lies behind a link in the trash: the shredder does not go there.
    makeFolder(tp.home / "elsewhere");
    writeFile(tp.home / "elsewhere/second", 200);
    ASSERT_EQ(symlink((tp.home / "elsewhere").c_str(), inTrash("link").c_str()), 0);
    internal().setTrashSize(100 + 200 + 300);
    std::atomic<double>* counter = internal().trashSizePointer();

    int statusDuringAlert = -1;
    bool partialDuringAlert = false;
    alerts.onAlert = [&] {
        statusDuringAlert = internal().trashStatus();
        partialDuringAlert = shredder().isPartialShredding();
    };
    shredder().partialShred({{inTrash("first"), counter}, {inTrash("link/second"), counter}, {inTrash("third"), counter}});
    tp.workers.waitForAll();
    tp.mainLoop.runPosted();

    EXPECT_FALSE(exists(inTrash("first")));
    EXPECT_FALSE(exists(inTrash("third")));
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_NE(alerts.shown[0].text.find(inTrash("link/second")), std::string::npos);
    EXPECT_TRUE(exists(tp.home / "elsewhere/second"));
    EXPECT_EQ(counter->load(), 200.0);
    EXPECT_EQ(statusDuringAlert, kDeleting);
    EXPECT_TRUE(partialDuringAlert);

    EXPECT_EQ(item.toolTips().front(), "Shredding trash files");
    EXPECT_EQ(item.toolTips().back(), "Watching trash condition");
    EXPECT_NE(item.pictures().back().name, "InvisibleTrash.png");
    EXPECT_EQ(internal().trashStatus(), kStandingBy);
    EXPECT_FALSE(shredder().isPartialShredding());
    EXPECT_FALSE(shredder().iconFlashing());
}

TEST_F(SelectedTest, AnEmptyListGoesToWorkAndStraightBack)
{
    internal().setTrashSize(1000);
    // The worker shows the trash as deleting when it starts and as standing by when it ends;
    // measuring here tells that it has not ended yet.
    internal().setTrashStatus(kMeasuring);
    shredder().partialShred({});
    // The flag is up before the worker runs, so nothing else starts in between. With nothing
    // to delete the worker may already have ended, and lowered it, by the time it is read.
    const bool raised = shredder().isPartialShredding();
    EXPECT_TRUE(raised || internal().trashStatus() == kStandingBy);
    tp.workers.waitForAll();
    tp.mainLoop.runPosted();
    EXPECT_EQ(item.toolTips().front(), "Shredding trash files");
    EXPECT_EQ(item.toolTips().back(), "Watching trash condition");
    EXPECT_EQ(item.pictures().back().name, "UsedTrash.png");
    EXPECT_EQ(internal().trashStatus(), kStandingBy);
    EXPECT_FALSE(shredder().isPartialShredding());
    EXPECT_FALSE(shredder().iconFlashing());
    EXPECT_EQ(tp.workers.running(), 0);

    // A deletion that emptied the trash leaves the tool tip that says so.
    internal().setTrashSize(0);
    shredder().partialShred({});
    tp.workers.waitForAll();
    tp.mainLoop.runPosted();
    EXPECT_EQ(item.toolTips().back(), "Trash is empty condition");
    EXPECT_EQ(item.pictures().back().name, "EmptyTrash.png");
}

TEST_F(SelectedTest, ChosenItemsAndAnAutomaticPassNeverRunTogether)
{
    writeFile(inTrash("chosen"), 100);
    internal().setTrashSize(100);
    // While the chosen item's deletion runs (here: while its alert waits), a tick's pass is
    // not started; a pass would end in free-space mode, so forced mode shows whether it ran.
    makeFolder(tp.home / "away");
    ASSERT_EQ(symlink((tp.home / "away").c_str(), inTrash("link").c_str()), 0);
    alerts.onAlert = [&] {
        shredder().setShredMode(1);
        shredder().autoShred();
    };
    shredder().partialShred({{inTrash("link/missing"), nullptr}, {inTrash("chosen"), nullptr}});
    tp.workers.waitForAll();
    EXPECT_EQ(shredder().shredMode(), 1);
    EXPECT_FALSE(exists(inTrash("chosen")));
}

TEST_F(SelectedTest, FlashingAlternatesHalfASecondInvisibleAndASecondNormal)
{
    tp.platform.mainLoop = &immediate;
    internal().setTrashSize(1000);
    shredder().startIconFlashing();
    ASSERT_TRUE(waitForPictures(6));
    shredder().stopIconFlashing();
    tp.workers.waitForAll();

    const auto pictures = item.pictures();
    ASSERT_GE(pictures.size(), 6u);
    ASSERT_EQ(pictures.size() % 2, 0u) << "a period always ends on the normal icon";
    const double start = pictures[0].at;
    for (size_t i = 0; i < pictures.size(); ++i) {
        const bool invisible = i % 2 == 0;
        EXPECT_EQ(pictures[i].name, invisible ? "InvisibleTrash.png" : "UsedTrash.png") << i;
        const double expected = start + 1.5 * static_cast<double>(i / 2) + (invisible ? 0.0 : 0.5);
        EXPECT_DOUBLE_EQ(pictures[i].at, expected) << i;
    }
    EXPECT_EQ(item.toolTips().back(), "Watching trash condition");
}

TEST_F(SelectedTest, ARestartSoonAfterAStopNeverRunsTwoFlashingThreads)
{
    tp.platform.mainLoop = &immediate;
    internal().setTrashSize(1000);
    for (int round = 0; round < 5; ++round) {
        shredder().startIconFlashing();
        ASSERT_TRUE(waitForPictures(item.pictures().size() + 3));
        shredder().stopIconFlashing();
    }
    shredder().startIconFlashing();
    ASSERT_TRUE(waitForPictures(item.pictures().size() + 4));
    shredder().stopIconFlashing();
    tp.workers.waitForAll();

    const auto pictures = item.pictures();
    std::vector<std::thread::id> finished;
    for (size_t i = 0; i < pictures.size(); ++i) {
        EXPECT_EQ(pictures[i].name == "InvisibleTrash.png", i % 2 == 0) << "two threads interleave at " << i;
        if (i > 0 && pictures[i].thread != pictures[i - 1].thread) {
            EXPECT_EQ(std::count(finished.begin(), finished.end(), pictures[i].thread), 0);
            finished.push_back(pictures[i - 1].thread);
        }
    }
    EXPECT_EQ(pictures.back().name, "UsedTrash.png");
}

TEST_F(SelectedTest, QuittingEndsTheFlashingOnTheNormalIcon)
{
    tp.platform.mainLoop = &immediate;
    internal().setTrashSize(1000);
    shredder().startIconFlashing();
    ASSERT_TRUE(waitForPictures(3));
    tp.workers.requestQuit();
    tp.workers.waitForAll();
    EXPECT_TRUE(shredder().iconFlashing());
    EXPECT_EQ(item.pictures().back().name, "UsedTrash.png");
}

// The deletions told, as a listener hears them.
class HeardEvents final : public DeletionListener {
public:
    void itemDeleted(const DeletionEvent& event) override
    {
        std::lock_guard lock(mutex_);
        events.push_back(event);
    }
    std::mutex mutex_;
    std::vector<DeletionEvent> events;
};

TEST_F(SelectedTest, EachChosenItemIsToldWithWhereItCameFromDeletedOrNot)
{
    const std::string trash = tp.home / ".local/share/Trash";
    makeFolder(trash + "/files");
    makeFolder(trash + "/info");
    writeFile(trash + "/files/report.txt", 100);
    std::ofstream(trash + "/info/report.txt.trashinfo")
        << "[Trash Info]\nPath=/home/someone/Documents/report%20final.txt\nDeletionDate=2023-11-14T22:13:20\n";
    makeFolder(tp.home / "elsewhere");
    writeFile(tp.home / "elsewhere/gone", 10);
    ASSERT_EQ(symlink((tp.home / "elsewhere").c_str(), (trash + "/files/link").c_str()), 0);
    HeardEvents heard;
    shredder().addDeletionListener(heard);
    internal().setTrashSize(100.0);
    std::atomic<double>* counter = internal().trashSizePointer();
    shredder().partialShred({{trash + "/files/report.txt", counter}, {trash + "/files/link/gone", counter}});
    tp.workers.waitForAll();

    ASSERT_EQ(heard.events.size(), 2u);
    const DeletionEvent& deleted = heard.events[0];
    EXPECT_TRUE(deleted.deleted);
    EXPECT_EQ(deleted.reason, DeletionReason::ChosenItems);
    // Read from the description before it went with the item.
    EXPECT_EQ(deleted.originalLocation, "/home/someone/Documents/report final.txt");
    EXPECT_FALSE(exists(trash + "/info/report.txt.trashinfo"));
    ASSERT_TRUE(deleted.trashedOn);
    EXPECT_EQ(deleted.bytes, 100.0);
    EXPECT_EQ(deleted.trash, internal().volumeName());
    EXPECT_EQ(deleted.volumePath, "");
    const DeletionEvent& failed = heard.events[1];
    EXPECT_FALSE(failed.deleted);
    EXPECT_FALSE(failed.failure.empty());
    EXPECT_EQ(failed.originalLocation, trash + "/files/link/gone");
    // Chosen items are no pass: its totals stay as they were.
    EXPECT_EQ(shredder().passTotals().deleted, 0);
}

} // namespace
} // namespace bw::test
