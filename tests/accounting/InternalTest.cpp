#include "app/Controllers.h"
#include "tests/support/TestPlatform.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

using namespace bw;
using namespace bw::test;

namespace {

class HomeTrash : public ::testing::Test {
protected:
    HomeTrash() : controllers(tp.platform), internal(controllers.internal)
    {
        Controllers::registerDefaults(tp.defaults);
        controllers.preferences.awakeFromNib();
        makeFolder(tp.trash());
    }

    // alpha: a 1,000-byte file; beta: a folder of 102 bytes holding files of 10 and 20.
    void fillWithAlphaBeta(double betaEntrySize)
    {
        writeFile(tp.trash() + "/alpha", 1000);
        makeFolder(tp.trash() + "/beta");
        writeFile(tp.trash() + "/beta/one", 10);
        writeFile(tp.trash() + "/beta/two", 20);
        betaSize = betaEntrySize + 30;
    }

    double folderEntrySize(const std::string& path) { return controllers.utility.fileSizeAtPath(path); }

    TestPlatform tp;
    Controllers controllers;
    Internal& internal;
    double betaSize = 0;
};

} // namespace

TEST_F(HomeTrash, FullThenIncrementalMeasurementFollowTheTrash)
{
    fillWithAlphaBeta(0);
    betaSize = folderEntrySize(tp.trash() + "/beta") + 30;

    internal.initTrashSize();
    auto files = internal.trashFiles();
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files["alpha"], 1000);
    EXPECT_EQ(files["beta"], betaSize);
    EXPECT_EQ(internal.trashSize(), 1000 + betaSize);
    EXPECT_EQ(internal.trashStatus(), kStandingBy);
    EXPECT_FALSE(internal.trashSizeing());

    // gamma arrives, alpha leaves: only gamma is measured.
    writeFile(tp.trash() + "/gamma", 500);
    std::filesystem::remove(tp.trash() + "/alpha");
    internal.renewTrashSize();
    files = internal.trashFiles();
    EXPECT_EQ(files.count("alpha"), 0u);
    EXPECT_EQ(files["gamma"], 500);
    EXPECT_EQ(internal.trashSize(), 1000 + betaSize + 500 - 1000);

    // An item renamed inside the trash is one removal and one arrival.
    std::filesystem::rename(tp.trash() + "/gamma", tp.trash() + "/delta");
    internal.renewTrashSize();
    files = internal.trashFiles();
    EXPECT_EQ(files.count("gamma"), 0u);
    EXPECT_EQ(files["delta"], 500);
    EXPECT_EQ(internal.trashSize(), betaSize + 500);
}

TEST_F(HomeTrash, HiddenEntriesCountAndLinksAreMeasuredAsLinks)
{
    writeFile(tp.trash() + "/.hidden", 77);
    makeFolder(tp.trash() + "/folder");
    // A link to a large folder outside counts as the link itself.
    makeFolder(tp.home / "big");
    writeFile(tp.home / "big/huge", 1 << 20);
    ASSERT_EQ(symlink((tp.home / "big").c_str(), (tp.trash() + "/folder/link").c_str()), 0);
    const double linkSize = folderEntrySize(tp.trash() + "/folder/link");
    const double folderSize = folderEntrySize(tp.trash() + "/folder");

    internal.initTrashSize();
    EXPECT_EQ(internal.trashFiles()[".hidden"], 77);
    EXPECT_EQ(internal.trashFiles()["folder"], folderSize + linkSize);
    EXPECT_LT(internal.trashSize(), 1 << 20);
    const auto roots = internal.rootArray();
    EXPECT_EQ(roots.size(), 2u);
    EXPECT_EQ(internal.trashFileCount(), 2);
}

TEST_F(HomeTrash, EmptyOrMissingTrashMeasuresZero)
{
    internal.initTrashSize();
    EXPECT_EQ(internal.trashSize(), 0);
    EXPECT_TRUE(internal.trashFiles().empty());
    EXPECT_EQ(internal.trashFileCount(), 0);

    std::filesystem::remove(tp.trash());
    internal.setTrashSize(123);
    internal.initTrashSize();
    EXPECT_EQ(internal.trashSize(), 0);
    EXPECT_TRUE(internal.rootArray().empty());
}

TEST_F(HomeTrash, CounterNeverTakesARemovedItemOffTwice)
{
    fillWithAlphaBeta(0);
    internal.initTrashSize();
    const double before = internal.trashSize();

    // The shredder removes alpha and lowers the counter in place; the table still has it.
    std::filesystem::remove(tp.trash() + "/alpha");
    internal.trashSizePointer()->fetch_sub(1000);
    EXPECT_EQ(internal.trashSize(), before - 1000);

    internal.renewTrashSize();
    EXPECT_EQ(internal.trashSize(), before - 1000);
    EXPECT_GE(internal.trashSize(), 0);

    // A full measurement drops the entries of items that left, and the following
    // incremental one subtracts nothing more.
    std::filesystem::remove_all(tp.trash() + "/beta");
    internal.trashSizePointer()->fetch_sub(5000); // drift from a deletion in part
    internal.initTrashSize();
    EXPECT_EQ(internal.trashSize(), 0);
    EXPECT_TRUE(internal.trashFiles().empty());
    internal.renewTrashSize();
    EXPECT_EQ(internal.trashSize(), 0);
}

TEST_F(HomeTrash, CountCheckSeesOnlyAChangedNumberOfItems)
{
    writeFile(tp.trash() + "/a", 1);
    EXPECT_TRUE(internal.checkTrashCountChange());
    EXPECT_FALSE(internal.checkTrashCountChange());
    // One in, one out between two checks: the same count.
    writeFile(tp.trash() + "/b", 1);
    std::filesystem::remove(tp.trash() + "/a");
    EXPECT_FALSE(internal.checkTrashCountChange());
    writeFile(tp.trash() + "/c", 1);
    EXPECT_TRUE(internal.checkTrashCountChange());
}

TEST_F(HomeTrash, FreeSizeCheckIgnoresMovesOfFiveMillionBytesOrLess)
{
    tp.space.set(1e12, 10000000000.0);
    EXPECT_TRUE(internal.checkFreeSizeChange()); // the first look after start, baseline 0
    tp.space.set(1e12, 10005000000.0);
    EXPECT_FALSE(internal.checkFreeSizeChange());
    tp.space.set(1e12, 10005000001.0);
    EXPECT_TRUE(internal.checkFreeSizeChange());
    tp.space.set(1e12, 10000000001.0);
    EXPECT_FALSE(internal.checkFreeSizeChange()); // exactly -5,000,000 from the new baseline
    // Slow drift is reported once it adds up.
    tp.space.set(1e12, 10000000000.0);
    EXPECT_TRUE(internal.checkFreeSizeChange());

    tp.space.set(1e12, 4000000.0);
    Internal fresh(tp.platform);
    fresh.wire(controllers.manager, controllers.preferences, controllers.utility);
    EXPECT_FALSE(fresh.checkFreeSizeChange()); // 4 MB free over a baseline of 0 is no change
}

TEST_F(HomeTrash, FiguresComeFromTheVolumeThatHoldsTheTrash)
{
    tp.space.set(0, 0); // any other path, "/" included, reads as an empty volume
    tp.space.setFor(tp.trash(), 1000000000.0, 300000000.0);
    writeFile(tp.trash() + "/x", 100);
    internal.initTrashSize();

    EXPECT_EQ(internal.totalSize(), 1000000000.0);
    EXPECT_EQ(internal.freeSize(), 300000000.0);
    EXPECT_EQ(internal.miniSize(), 100000001.0); // 0.1f widened, then truncated
    EXPECT_EQ(internal.usedSize(), 1000000000.0 - 300000000.0 - 100);
    EXPECT_EQ(internal.fullTrashSize(), 300000000.0 + 100 - 100000001.0);
    EXPECT_EQ(internal.miniSizeWithRatio(0.5f), 500000000.0);
    EXPECT_EQ(internal.fullTrashSizeWithRatio(0.5f), 300000000.0 + 100 - 500000000.0);
    for (const auto& asked : tp.space.askedPaths())
        EXPECT_NE(asked, "/");

    tp.space.setFor(tp.trash(), 250000000000.0, 0);
    EXPECT_EQ(internal.miniSize(), 25000000372.0);
}

TEST_F(HomeTrash, ATrashThatIsALinkIsNeitherMeasuredNorListed)
{
    std::filesystem::remove(tp.trash());
    makeFolder(tp.home / "elsewhere");
    writeFile(tp.home / "elsewhere/precious", 4096);
    ASSERT_EQ(symlink((tp.home / "elsewhere").c_str(), tp.trash().c_str()), 0);

    internal.initTrashSize();
    EXPECT_EQ(internal.trashSize(), 0);
    EXPECT_TRUE(internal.rootArray().empty());
    EXPECT_EQ(internal.trashFileCount(), 0);
    internal.renewTrashSize();
    EXPECT_TRUE(internal.trashFiles().empty());
    int refusals = 0;
    for (const auto& l : tp.log.lines())
        refusals += l.find("symbolic link") != std::string::npos;
    EXPECT_EQ(refusals, 1);
}

TEST_F(HomeTrash, ATrashSwappedForALinkAndBackIsToldAtMostOnceAnHour)
{
    for (const char* item : {"a", "b", "c"})
        writeFile(tp.trash() + "/" + item, 10);
    makeFolder(tp.home / "elsewhere");
    const std::string real = tp.home / "real";
    const auto swap = [&](bool link) {
        std::filesystem::rename(tp.trash(), link ? real : tp.home / "link");
        std::filesystem::rename(link ? tp.home / "link" : real, tp.trash());
    };
    ASSERT_EQ(symlink((tp.home / "elsewhere").c_str(), (tp.home / "link").c_str()), 0);
    const auto refusals = [&] {
        int n = 0;
        for (const auto& l : tp.log.lines())
            n += l.find("symbolic link") != std::string::npos;
        return n;
    };
    // As fast as someone can swap it: one line, however long it goes on within the hour.
    for (int i = 0; i < 40; ++i) {
        swap(true);
        EXPECT_EQ(internal.trashFileCount(), 0);
        swap(false);
        EXPECT_EQ(internal.trashFileCount(), 3);
        tp.clock.advance(Seconds(60));
    }
    EXPECT_EQ(refusals(), 1);
    // An hour after the last line, the next change is told again; a refusal that stays is not.
    tp.clock.advance(Seconds(3600));
    swap(true);
    internal.trashFileCount();
    EXPECT_EQ(refusals(), 2);
    tp.clock.advance(Seconds(7200));
    internal.trashFileCount();
    EXPECT_EQ(refusals(), 2);
}

TEST_F(HomeTrash, ATrashOwnedBySomeoneElseIsNeitherMeasuredNorListed)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to hand the folder to another user";
    writeFile(tp.trash() + "/item", 10);
    ASSERT_EQ(chown(tp.trash().c_str(), 65534, 65534), 0);
    internal.initTrashSize();
    EXPECT_EQ(internal.trashSize(), 0);
    EXPECT_TRUE(internal.rootArray().empty());
    EXPECT_TRUE(tp.log.contains("not owned"));
}

TEST_F(HomeTrash, ASecondMeasurementWaitsForTheFirst)
{
    // Enough entries that the first measurement is still running when the second asks.
    for (int d = 0; d < 40; ++d) {
        const std::string folder = tp.trash() + "/folder" + std::to_string(d);
        makeFolder(folder);
        for (int f = 0; f < 500; ++f)
            writeFile(folder + "/f" + std::to_string(f), 1);
    }
    tp.keys.held = true;
    std::atomic<bool> firstDone{false};
    std::thread first([&] {
        internal.initTrashSize();
        firstDone = true;
    });
    while (!internal.trashSizeing() && !firstDone)
        std::this_thread::yield();
    const bool overlapped = !firstDone;
    internal.renewTrashSize();
    first.join();

    EXPECT_EQ(internal.trashFiles().size(), 40u);
    EXPECT_FALSE(internal.trashSizeing());
    if (overlapped) {
        EXPECT_GE(tp.clock.slept(), 1.0); // it polled once a second until the flag was free
        double interval = 0;
        for (const auto& l : tp.log.lines())
            if (l.rfind("Internal:renewTrashSize intervalTime=", 0) == 0)
                interval = std::stod(l.substr(l.find('=') + 1));
        EXPECT_GE(interval, 1.0); // the logged interval includes the wait
    }
}

TEST_F(HomeTrash, ChooserStaysInTheTrashAndRefusesTheTrashItself)
{
    const std::string a = tp.trash() + "/a", b = tp.trash() + "/b";
    writeFile(a, 1);
    writeFile(b, 1);
    makeFolder(tp.trash() + "/folder");
    writeFile(tp.trash() + "/folder/sub", 1);
    tp.itemChooser.result = std::vector<std::string>{a, b};
    auto chosen = internal.selectTrashFile();
    ASSERT_TRUE(chosen);
    EXPECT_EQ(*chosen, (std::vector<std::string>{a, b}));
    EXPECT_EQ(tp.itemChooser.lastContent.prompt, "Delete");
    EXPECT_EQ(tp.itemChooser.lastContent.message, "NoteSelect");
    EXPECT_EQ(tp.itemChooser.lastContent.title, "DeleteChosenTitle");

    tp.itemChooser.result = std::vector<std::string>{a, tp.trash()};
    EXPECT_FALSE(internal.selectTrashFile());
    tp.itemChooser.result = std::nullopt; // Cancel
    EXPECT_FALSE(internal.selectTrashFile());
    tp.itemChooser.result = std::vector<std::string>{tp.home / "Documents/thesis.tex"};
    EXPECT_FALSE(internal.selectTrashFile());
    tp.itemChooser.result = std::vector<std::string>{tp.trash() + "/../Documents/thesis.tex"};
    EXPECT_FALSE(internal.selectTrashFile());

    // Only root items come back: not what lies inside one, nor the home folder, nor a
    // sibling whose name only begins like the trash's.
    for (const std::string& path : {tp.trash() + "/folder/sub", tp.home.path(), tp.home.path() + "/.Trash2"}) {
        tp.itemChooser.result = std::vector<std::string>{a, path};
        EXPECT_FALSE(internal.selectTrashFile()) << path;
    }
    EXPECT_TRUE(tp.log.contains("is not a trash item; nothing is deleted"));
}

namespace {

void writeText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

} // namespace

// The chooser's rows: every root item of both home trash folders, oldest first, with its
// measured size, its kind, its date and, where a description tells it, where it came from.
TEST_F(HomeTrash, ChooserOffersEveryRootItemOldestFirstWithWhereItCameFrom)
{
    const std::string xdg = tp.home / ".local/share/Trash";
    for (const char* folder : {"", "/files", "/info"})
        makeFolder(xdg + folder);
    makeFolder(tp.trash() + "/old project");
    writeFile(tp.trash() + "/old project/data.bin", 3000);
    setModificationTime(tp.trash() + "/old project", 1000000000); // 2001
    writeFile(tp.trash() + "/notes.txt", 700);
    setModificationTime(tp.trash() + "/notes.txt", 1300000000); // 2011
    ASSERT_EQ(symlink("/etc/passwd", (tp.trash() + "/link").c_str()), 0);
    setModificationTime(tp.trash() + "/link", 1400000000); // 2014
    writeFile(xdg + "/files/photo 1.jpg", 2000);
    writeText(xdg + "/info/photo 1.jpg.trashinfo",
              "[Trash Info]\nPath=/home/u/Pictures/photo%201%25.jpg\nDeletionDate=2005-06-07T08:09:10\n");
    // A description of garbage gives no date of its own (its file's date stands in) and no place.
    writeFile(xdg + "/files/junk", 10);
    const char junk[] = "\0\xff[Trash Info\nPath\n\x01Path=/etc\nDeletionDate=yesterday\n";
    writeText(xdg + "/info/junk.trashinfo", std::string(junk, sizeof junk - 1));
    setModificationTime(xdg + "/info/junk.trashinfo", 1200000000); // 2008
    internal.initTrashSize();

    tp.itemChooser.result = std::nullopt;
    internal.selectTrashFile();
    const auto& rows = tp.itemChooser.lastContent.rows;
    std::vector<std::string> names;
    for (const auto& row : rows)
        names.push_back(row.name);
    ASSERT_EQ(names, (std::vector<std::string>{"old project", "photo 1.jpg", "junk", "notes.txt", "link"}));

    EXPECT_EQ(rows[0].path, tp.trash() + "/old project");
    EXPECT_EQ(rows[0].size, internal.trashFiles().at("old project"));
    EXPECT_GT(rows[0].size, 3000);
    EXPECT_EQ(rows[0].kindText, "KindFolder");
    EXPECT_EQ(rows[0].trashed, std::chrono::system_clock::from_time_t(1000000000));
    EXPECT_EQ(rows[0].originalLocation, "");

    EXPECT_EQ(rows[1].path, xdg + "/files/photo 1.jpg");
    EXPECT_EQ(rows[1].sizeText, "2.0\u00a0KB");
    EXPECT_EQ(rows[1].kindText, "KindFile");
    EXPECT_EQ(rows[1].trashedText, "2005-06-07 08:09");
    EXPECT_EQ(rows[1].originalLocation, "/home/u/Pictures/photo 1%.jpg");

    EXPECT_EQ(rows[2].trashed, std::chrono::system_clock::from_time_t(1200000000));
    EXPECT_EQ(rows[2].originalLocation, "");
    EXPECT_EQ(rows[3].size, 700);
    EXPECT_EQ(rows[4].kindText, "KindLink");

    // Any of them may be chosen, in any number.
    tp.itemChooser.result = std::vector<std::string>{rows[1].path, rows[3].path, rows[0].path};
    EXPECT_EQ(internal.selectTrashFile(), tp.itemChooser.result);
}
