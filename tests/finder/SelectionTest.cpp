#include "app/Controllers.h"
#include "platform/SelectionSource.h"
#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

#include <memory>

namespace bw::test {
namespace {

using Names = std::optional<std::vector<std::string>>;
using Kind = CopiedFiles::Kind;

class SelectionTest : public ::testing::Test {
protected:
    SelectionTest()
    {
        makeFolder(tp.trash() + "/folder");
        makeFolder(data.path() + "/.Trashes/54321");
        makeFolder(data.path() + "/.Trashes/54322");
        tp.volumes.set({data.path()});
        controllers = std::make_unique<Controllers>(tp.platform);
    }

    Names selected() { return controllers->utility.selectedTrashFiles(); }

    TestPlatform tp;
    TempDir data;
    std::unique_ptr<Controllers> controllers;
};

TEST_F(SelectionTest, RootItemsOfEveryTrashGiveTheirNamesInTheCopiedOrder)
{
    EXPECT_EQ(selected(), Names(std::vector<std::string>{})) << "nothing copied: an empty list, not none";

    tp.selection.copy({tp.trash() + "/b", tp.trash() + "/a"});
    EXPECT_EQ(selected(), Names({"b", "a"}));

    // Any user's folder of a watched volume; a folder copied with a trailing slash.
    tp.selection.copy({data.path() + "/.Trashes/54322/big.iso", tp.trash() + "/folder/", tp.trash() + "//c"});
    EXPECT_EQ(selected(), Names({"big.iso", "folder", "c"}));
    EXPECT_EQ(controllers->utility.selectedTrashPaths(),
              Names({data.path() + "/.Trashes/54322/big.iso", tp.trash() + "/folder", tp.trash() + "/c"}));
}

TEST_F(SelectionTest, AnythingElseAnywhereVoidsTheSelection)
{
    const std::vector<std::vector<std::string>> refused = {
        {tp.trash() + "/a", tp.trash() + "/folder/inside"}, // one item below the top level
        {tp.home / "Desktop/notes.txt"},                     // outside every trash
        {tp.trash()},                                        // the trash folder itself
        {data.path() + "/.Trashes/54321"},                    // a per-user folder itself
        {data.path() + "/.Trashes/stray"},                   // directly in .Trashes
        {tp.home / ".Trash-1000/files/x"},                   // a sibling that only looks alike
        {tp.trash() + "/../.Trash/a"},                       // stepping out and back in
        {"/tmp/elsewhere/.Trashes/54321/x"},                  // a volume that is not watched
    };
    for (const auto& paths : refused) {
        tp.selection.copy(paths);
        EXPECT_EQ(selected(), std::nullopt) << paths.back();
    }
    EXPECT_TRUE(tp.log.lines().empty()) << "a refused selection is no error";
    tp.selection.set(Kind::Other);
    EXPECT_EQ(selected(), std::nullopt);
    EXPECT_TRUE(tp.log.lines().empty());
    // A clipboard that cannot be read says why in the log.
    tp.selection.set(Kind::Unreadable, "no display");
    EXPECT_EQ(selected(), std::nullopt);
    EXPECT_EQ(tp.log.lines(), std::vector<std::string>{"error=no display"});

    // After an unmount the volume's items are no longer trash items.
    tp.selection.copy({data.path() + "/.Trashes/54321/x"});
    EXPECT_EQ(selected(), Names({"x"}));
    tp.volumes.set({});
    EXPECT_EQ(selected(), std::nullopt);
}

TEST(ClipboardListsTest, AddressesArePercentDecodedToTheBytesOfTheNames)
{
    const CopiedFiles list = copiedFilesFromUriList("# copied by the file manager\r\n"
                                                    "file:///home/u/.Trash/a%20b%25c.txt\r\n"
                                                    "file://localhost/home/u/.Trash/%E6%97%A5%FF\r\n"
                                                    "file:/home/u/.Trash/100%25%20done\r\n");
    EXPECT_EQ(list.kind, Kind::Files);
    EXPECT_EQ(list.paths, (std::vector<std::string>{"/home/u/.Trash/a b%c.txt", "/home/u/.Trash/\xE6\x97\xA5\xFF",
                                                     "/home/u/.Trash/100% done"}));

    const CopiedFiles gnome = copiedFilesFromGnomeList("cut\nfile:///home/u/.Trash/line%0Afeed\nfile:///x");
    EXPECT_EQ(gnome.kind, Kind::Files);
    EXPECT_EQ(gnome.paths, (std::vector<std::string>{"/home/u/.Trash/line\nfeed", "/x"}));

    EXPECT_EQ(copiedFilesFromUriList("").kind, Kind::Empty);
    EXPECT_EQ(copiedFilesFromUriList("# only a comment\r\n").kind, Kind::Empty);
    EXPECT_EQ(copiedFilesFromGnomeList("copy\n").kind, Kind::Empty);
    EXPECT_EQ(copiedFilesFromGnomeList("file:///x").kind, Kind::Other) << "no copy or cut line";

    // One address that is not a plain local file spoils the whole list.
    for (const char* bad : {"https://example.org/a", "file://server/share/a", "trash:///a", "file:///a%2", "file:///a%zz",
                            "file:///a%00b", "file:///a?b", "file:///a#b", "/home/u/.Trash/a"}) {
        const CopiedFiles copied = copiedFilesFromUriList(std::string("file:///ok\n") + bad);
        EXPECT_EQ(copied.kind, Kind::Other) << bad;
        EXPECT_TRUE(copied.paths.empty()) << bad;
    }
}

} // namespace
} // namespace bw::test
