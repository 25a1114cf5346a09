#include "app/Controllers.h"
#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace bw;
using namespace bw::test;

using Names = std::vector<std::string>;

TEST(Utility, ListDifferencesKeepOrderAndDuplicates)
{
    TestPlatform tp;
    Utility utility(tp.platform);
    EXPECT_EQ(utility.addedFilesWithPresent({"alpha", "beta", "gamma"}, {"beta"}), (Names{"alpha", "gamma"}));
    EXPECT_EQ(utility.removedFilesWithPresent({"alpha", "beta", "gamma"}, {"beta"}), Names{});
    EXPECT_EQ(utility.removedFilesWithPresent({"alpha"}, {"alpha", "beta", "beta"}), (Names{"beta", "beta"}));
    EXPECT_EQ(utility.addedFilesWithPresent({"Beta"}, {"beta"}), Names{"Beta"}); // case counts

    // A trash of 100,000 items against itself with one arrival: answers at once.
    Names original;
    for (int i = 0; i < 100000; ++i)
        original.push_back("item" + std::to_string(i));
    Names present = original;
    present.push_back("new");
    EXPECT_EQ(utility.addedFilesWithPresent(present, original), Names{"new"});
    EXPECT_EQ(utility.removedFilesWithPresent(present, original), Names{});
}

TEST(Utility, TitlesAgainstStringsAreComparedInOrder)
{
    TestPlatform tp;
    Utility utility(tp.platform);
    EXPECT_TRUE(utility.isEqualArray({"Disk1", "Disk2"}, {"Disk1", "Disk2"}));
    EXPECT_FALSE(utility.isEqualArray({"Disk1", "Disk2"}, {"Disk2", "Disk1"}));
    EXPECT_FALSE(utility.isEqualArray({"Disk1", "Disk2"}, {"Disk1"}));
    EXPECT_TRUE(utility.isEqualArray({}, {}));
}

TEST(Utility, EntrySizeIsTheEntryItself)
{
    TestPlatform tp;
    Utility utility(tp.platform);
    writeFile(tp.home / "target", 5000);
    ASSERT_EQ(symlink("target", (tp.home / "link").c_str()), 0);
    EXPECT_EQ(utility.fileSizeAtPath(tp.home / "target"), 5000);
    EXPECT_EQ(utility.fileSizeAtPath(tp.home / "link"), 6); // the length of "target"

    EXPECT_EQ(utility.fileSizeAtPath(tp.home / "missing"), 0.0);
    EXPECT_EQ(tp.log.count("*** lstat error=2 ***"), 1);
}
