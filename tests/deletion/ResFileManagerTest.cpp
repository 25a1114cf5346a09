#include "deletion/ResFileManager.h"

#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace bw::test {
namespace {

constexpr const char* kFork = "user.com.apple.ResourceFork";

std::string forkOf(const std::string& path)
{
    std::string value(4096, '\0');
    const ssize_t n = getxattr(path.c_str(), kFork, value.data(), value.size());
    value.resize(n < 0 ? 0 : static_cast<size_t>(n));
    return value;
}

class ResFileManagerTest : public ::testing::Test {
protected:
    ResFileManagerTest()
    {
        writeFile(dir / "file", 10);
        const std::string fork(300, 'r');
        hasXattrs = setxattr((dir / "file").c_str(), kFork, fork.data(), fork.size(), 0) == 0;
    }
    TempDir dir;
    TestPlatform tp;
    ResFileManager manager{tp.platform};
    bool hasXattrs = false;
};

TEST_F(ResFileManagerTest, WritesBlocksFromTheStartAndExtends)
{
    if (!hasXattrs)
        GTEST_SKIP() << "no user extended attributes here";
    const unsigned char block[256] = {};
    ASSERT_NE(manager.openFork(dir / "file"), 0);
    EXPECT_EQ(manager.forkSize(), 300);
    EXPECT_EQ(manager.writeData(block, 256), 256);
    EXPECT_EQ(forkOf(dir / "file"), std::string(256, '\0') + std::string(44, 'r'));
    EXPECT_EQ(manager.writeData(block, 256), 256);
    EXPECT_EQ(forkOf(dir / "file"), std::string(512, '\0'));
    manager.closeFork();
    EXPECT_EQ(manager.forkSize(), 0);
    EXPECT_EQ(manager.writeData(block, 256), 0);
    EXPECT_EQ(forkOf(dir / "file").size(), 512u);
    // The data fork is not touched.
    EXPECT_EQ(readFile(dir / "file"), std::string(10, 'x'));
}

TEST_F(ResFileManagerTest, FilesWithoutAForkHaveNone)
{
    if (!hasXattrs)
        GTEST_SKIP() << "no user extended attributes here";
    manager.closeFork(); // without an open: nothing to report
    EXPECT_EQ(manager.forkSize(), 0);

    writeFile(dir / "plain", 10);
    EXPECT_EQ(manager.openFork(dir / "plain"), 0);
    EXPECT_EQ(manager.openFork(dir / "missing"), 0);

    // An empty fork opens, with nothing to write.
    writeFile(dir / "empty-fork", 1);
    ASSERT_EQ(setxattr((dir / "empty-fork").c_str(), kFork, "", 0, 0), 0);
    EXPECT_NE(manager.openFork(dir / "empty-fork"), 0);
    EXPECT_EQ(manager.forkSize(), 0);
    manager.closeFork();

    // A link is never followed to the fork of what it points to.
    ASSERT_EQ(symlink((dir / "file").c_str(), (dir / "link").c_str()), 0);
    EXPECT_EQ(manager.openFork(dir / "link"), 0);
    const unsigned char block[4] = {};
    EXPECT_EQ(manager.writeData(block, 4), 0);
    EXPECT_EQ(forkOf(dir / "file"), std::string(300, 'r'));
}

} // namespace
} // namespace bw::test
