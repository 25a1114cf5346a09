#include "platform/posix/DesktopAutostart.h"
#include "tests/support/OrdinaryUser.h"
#include "tests/support/TestPlatform.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace bw;
using namespace bw::test;

namespace {

const std::string kSystemEntry = "[Desktop Entry]\nType=Application\nExec=brindlewick\n";

} // namespace

TEST(DesktopAutostart, TheEntryIsChangedOnlyInTheUsersOwnFoldersNeverThroughALink)
{
    TempDir dir;
    const std::string system = dir / "etc-xdg/autostart";
    makeFolder(system);
    const std::string systemEntry = system + "/brindlewick.desktop";
    std::ofstream(systemEntry) << kSystemEntry;
    const std::string config = dir / "config";
    const std::string entry = config + "/autostart/brindlewick.desktop";
    posix::DesktopAutostart autostart(entry, "/usr/bin/brindlewick", {system});
    std::string error;

    // The autostart folder, or the configuration folder, a link to the system's folder:
    // neither the switch off (a hidden entry) nor on (no entry) reaches it.
    makeFolder(config);
    ASSERT_EQ(symlink(system.c_str(), (config + "/autostart").c_str()), 0);
    for (const bool on : {false, true}) {
        EXPECT_FALSE(autostart.setEnabled(on, error)) << on;
        EXPECT_NE(error.find("symbolic link"), std::string::npos) << error;
        EXPECT_EQ(readFile(systemEntry), kSystemEntry) << on;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(system), {}), 1) << on;
    }
    std::filesystem::remove(config + "/autostart");
    const std::string realConfig = dir / "real-config";
    makeFolder(realConfig + "/autostart");
    std::filesystem::remove(config);
    ASSERT_EQ(symlink(realConfig.c_str(), config.c_str()), 0);
    EXPECT_FALSE(autostart.setEnabled(false, error));
    EXPECT_FALSE(exists(realConfig + "/autostart/brindlewick.desktop"));
    std::filesystem::remove(config);

    // The entry itself a link to the system's: replaced by a hidden entry of the user's,
    // then removed, the link and never its target.
    makeFolder(config + "/autostart");
    ASSERT_EQ(symlink(systemEntry.c_str(), entry.c_str()), 0);
    ASSERT_TRUE(autostart.setEnabled(false, error)) << error;
    struct stat st {};
    ASSERT_EQ(lstat(entry.c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_NE(readFile(entry).find("\nHidden=true\n"), std::string::npos);
    EXPECT_FALSE(autostart.isEnabled());
    std::filesystem::remove(entry);
    ASSERT_EQ(symlink(systemEntry.c_str(), entry.c_str()), 0);
    ASSERT_TRUE(autostart.setEnabled(true, error)) << error;
    EXPECT_FALSE(exists(entry));
    EXPECT_EQ(readFile(systemEntry), kSystemEntry);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(config + "/autostart"), {}), 0);

    // Another user's autostart folder is not the user's to write in.
    if (geteuid() == 0) {
        ASSERT_EQ(chown((config + "/autostart").c_str(), kNobody, kNobody), 0);
        EXPECT_FALSE(autostart.setEnabled(false, error));
        EXPECT_NE(error.find("not the user's own"), std::string::npos) << error;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(config + "/autostart"), {}), 0);
    }

    // Switching on where nothing is yet makes the folders, and off leaves nothing behind.
    std::filesystem::remove_all(config);
    std::filesystem::remove(systemEntry);
    ASSERT_TRUE(autostart.setEnabled(true, error)) << error;
    EXPECT_TRUE(autostart.isEnabled());
    ASSERT_TRUE(autostart.setEnabled(false, error)) << error;
    EXPECT_FALSE(exists(entry));
}
