#include "platform/posix/TrashLayouts.h"
#include "tests/support/TestPlatform.h"

#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace bw;
using namespace bw::posix;
using namespace bw::test;

namespace {

// A freedesktop trash folder at `trash`, and the item folder of it.
ItemFolder trashAt(const std::string& trash)
{
    for (const char* folder : {"", "/files", "/info"})
        makeFolder(trash + folder);
    return {trash + "/files", trash + "/files/", &freedesktopLayout(), "", true};
}

void describe(const std::string& trash, const std::string& name, const std::string& text)
{
    std::ofstream(trash + "/info/" + name + ".trashinfo", std::ios::binary) << text;
}

std::string pathLine(const std::string& path)
{
    return "[Trash Info]\nPath=" + path + "\nDeletionDate=2020-01-02T03:04:05\n";
}

} // namespace

// Where an item came from: an absolute Path as it is, a relative one from the root of the
// volume whose trash holds it (never in the home trash), and nothing from a description
// that is not a small regular file of the right group.
TEST(TrashInfo, OriginalLocationIsAbsoluteAndReadOnlyFromASafeDescription)
{
    TempDir root;
    const TrashLayout& layout = freedesktopLayout();

    const std::string home = root / "share/Trash";
    const ItemFolder homeFolder = trashAt(home);
    describe(home, "a", pathLine("/srv/x%2Fy%25z %C3%A9"));
    describe(home, "relative", pathLine("docs/a"));
    EXPECT_EQ(layout.originalLocation(homeFolder, "a"), "/srv/x/y%z \xC3\xA9");
    EXPECT_EQ(layout.originalLocation(homeFolder, "relative"), std::nullopt);

    const std::string own = root / ".Trash-1000";
    const ItemFolder ownFolder = trashAt(own);
    describe(own, "b", pathLine("docs/a%20b"));
    describe(own, "c", pathLine("/media/usb/c"));
    EXPECT_EQ(layout.originalLocation(ownFolder, "b"), root / "docs/a b");
    EXPECT_EQ(layout.originalLocation(ownFolder, "c"), "/media/usb/c");
    const std::string shared = root / ".Trash/1000";
    makeFolder(root / ".Trash");
    const ItemFolder sharedFolder = trashAt(shared);
    describe(shared, "d", pathLine("d"));
    EXPECT_EQ(layout.originalLocation(sharedFolder, "d"), root / "d");

    // No description; one that links to a good one; one too large; the key in another
    // group, empty, or with a NUL byte; a folder in the description's place.
    describe(home, "target", pathLine("/srv/t"));
    ASSERT_EQ(symlink((home + "/info/target.trashinfo").c_str(), (home + "/info/linked.trashinfo").c_str()), 0);
    describe(home, "large", pathLine("/srv/l") + std::string(70 * 1024, '#'));
    describe(home, "group", "[Desktop Entry]\nPath=/srv/g\n[Trash Info]\nDeletionDate=2020-01-02T03:04:05\n");
    describe(home, "empty", pathLine(""));
    describe(home, "nul", pathLine("/srv/a%00b"));
    makeFolder(home + "/info/folder.trashinfo");
    for (const char* name : {"missing", "linked", "large", "group", "empty", "nul", "folder"})
        EXPECT_EQ(layout.originalLocation(homeFolder, name), std::nullopt) << name;
    EXPECT_EQ(layout.originalLocation(homeFolder, "target"), "/srv/t");
}
