#include "tests/deletion/ShredderFixture.h"

#include "platform/posix/Files.h"
#include "platform/posix/ShredJournal.h"

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

namespace bw::test {
namespace {

// A freedesktop home trash: an item goes with its description, which clients read.
class WithdrawTest : public ShredderFixture {
protected:
    WithdrawTest()
    {
        makeFolder(files);
        makeFolder(info);
    }
    // The controllers of a restart use the workers below, which go first.
    ~WithdrawTest() override { controllers.reset(); }
    void trashItem(const std::string& name, size_t size, char fill)
    {
        writeFile(files + "/" + name, size, fill);
        FILE* out = std::fopen((info + "/" + name + ".trashinfo").c_str(), "w");
        std::fputs("[Trash Info]\nPath=/home/u/x\nDeletionDate=2026-01-02T03:04:05\n", out);
        std::fclose(out);
    }
    std::vector<std::string> entries(const std::string& folder) const
    {
        auto names = posix::listDirectory(folder);
        std::sort(names.begin(), names.end());
        return names;
    }
    // A new start of the program: its controllers know only what is on disk.
    void restart()
    {
        tp.platform.workers = &freshWorkers;
        controllers = std::make_unique<Controllers>(tp.platform);
        shredder().awakeFromNib();
    }
    posix::ShredJournal journalOnDisk() const { return posix::ShredJournal(posix::ShredJournal::defaultFile("", tp.home.path())); }

    const std::string trashFolder = tp.home / ".local/share/Trash";
    const std::string files = trashFolder + "/files";
    const std::string info = trashFolder + "/info";
    Workers freshWorkers;
};

TEST_F(WithdrawTest, AnInterruptedShredLeavesNothingRestorableAndTheNextStartFinishesIt)
{
    // A name that a line-based record could split, and a large item whose overwrite is
    // interrupted (quitting, as at a logout) before its first block: the state at that moment
    // is the state every overwrite begins in.
    const std::string odd = "report 100%\n.pdf";
    trashItem(odd, 3 * 1024 * 1024, 'r');
    trashItem("album", 0, 0);
    ASSERT_EQ(unlink((files + "/album").c_str()), 0);
    makeFolder(files + "/album");
    writeFile(files + "/album/photo", 2 * 1024 * 1024, 'p');
    tp.workers.requestQuit();
    EXPECT_EQ(shredder().shredFolderOrFile(files + "/" + odd, &counter), kShredDone);
    EXPECT_EQ(shredder().shredFolderOrFile(files + "/album", &counter), kShredDone);
    // Keeping its name, an item still leaves the folder that clients list.
    trashItem("named", 2 * 1024 * 1024, 'n');
    shredder().setNoRenameSwitch(true);
    EXPECT_EQ(shredder().shredFolderOrFile(files + "/named", &counter), kShredDone);
    EXPECT_EQ(entries(trashFolder), (std::vector<std::string>{"files", "info", "named"}));
    EXPECT_EQ(readFile(trashFolder + "/named"), std::string(2 * 1024 * 1024, 'n'));

    // Neither is under its name nor described where a client looks; what is left is whole.
    const auto left = entries(files);
    ASSERT_EQ(left.size(), 2u);
    for (const auto& name : left)
        EXPECT_TRUE(name != odd && name != "album") << name;
    const auto described = entries(info);
    EXPECT_TRUE(std::none_of(described.begin(), described.end(), [](const std::string& name) {
        return name.size() > 10 && name.compare(name.size() - 10, 10, ".trashinfo") == 0;
    }));
    EXPECT_EQ(journalOnDisk().leftovers().size(), 3u);

    // Records that name an entry by a path it no longer has, or whose item never moved.
    const auto stampedFile = S_ISREG(posix::lstatPath(files + "/" + left[0])->st_mode) ? left[0] : left[1];
    EXPECT_EQ(readFile(files + "/" + stampedFile), std::string(3 * 1024 * 1024, 'r'));
    writeFile(files + "/stranger", 10, 's');
    trashItem("intact", 10, 'i');
    const auto stranger = *posix::lstatPath(files + "/stranger");
    const auto intact = *posix::lstatPath(files + "/intact");
    ASSERT_EQ(rename((info + "/intact.trashinfo").c_str(), (info + "/intact.trashinfo.shredding").c_str()), 0);
    auto journal = journalOnDisk();
    // Another inode now holds a recorded name: it is not the leftover.
    journal.add({stranger.st_dev, stranger.st_ino + 1, files + "/before", files + "/stranger", "", ""}, true);
    journal.add({intact.st_dev, intact.st_ino, files + "/intact", files + "/1234.000000",
                 info + "/intact.trashinfo.shredding", info + "/intact.trashinfo"},
                true);

    restart();
    shredder().finishLeftovers();
    EXPECT_EQ(entries(files), (std::vector<std::string>{"intact", "stranger"})) << stampedFile;
    EXPECT_EQ(entries(trashFolder), (std::vector<std::string>{"files", "info"}));
    EXPECT_EQ(readFile(files + "/stranger"), std::string(10, 's'));
    EXPECT_EQ(entries(info), (std::vector<std::string>{"intact.trashinfo"}));
    EXPECT_EQ(tp.log.count("Finishing the shred of " + files + "/" + odd + ", which an interruption left as " +
                           files + "/" + stampedFile),
              1);
    EXPECT_TRUE(journalOnDisk().leftovers().empty());
    EXPECT_TRUE(alerts.shown().empty());
}

TEST_F(WithdrawTest, ARefusedRenamePutsTheDescriptionBackAndNamesItsCause)
{
    // Every time-stamp name the shredder would try is taken (the test clock stands still).
    trashItem("kept", 100, 'k');
    for (int i = 0; i <= 8; ++i)
        writeFile(files + "/" + strprintf("%f", secondsSinceReferenceDate(tp.clock.now()) + i * 0.000001), 1);
    EXPECT_EQ(shredder().shredFolderOrFile(files + "/kept", &counter), kShredRenameFailed);
    EXPECT_EQ(readFile(files + "/kept"), std::string(100, 'k'));
    EXPECT_TRUE(exists(info + "/kept.trashinfo"));
    EXPECT_FALSE(exists(info + "/kept.trashinfo.shredding"));
    EXPECT_TRUE(journalOnDisk().leftovers().empty());
    ASSERT_EQ(alerts.shown().size(), 1u);
    EXPECT_EQ(alerts.shown()[0].text, "Error: FileRenameError\n\nCause: File exists\n\nFile: " + files +
                                          "/kept\n\nInfo: TrashErrorInfo");
}

} // namespace
} // namespace bw::test
