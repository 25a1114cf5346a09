#include "platform/posix/SyslogLog.h"
#include "tests/support/Fakes.h"
#include "tests/support/TestPlatform.h"

#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sstream>
#include <vector>
#include <unistd.h>

using namespace bw;
using namespace bw::test;

TEST(SyslogLog, ControlCharactersOfANameCannotForgeALine)
{
    TempDir dir;
    const std::string captured = dir / "stderr";
    std::fflush(stderr);
    const int saved = dup(2);
    const int fd = open(captured.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    dup2(fd, 2);
    close(fd);
    {
        posix::SyslogLog log;
        log.line("err=3(/t/a\nBrindlewick: all done\r\x1b[2J\x7f\t\x01 100%s é)");
    }
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
    // One line; UTF-8 and "%" as they were.
    EXPECT_EQ(readFile(captured),
              "Brindlewick: err=3(/t/a\\nBrindlewick: all done\\r\\x1b[2J\\x7f\\t\\x01 100%s é)\n");
}

TEST(SyslogLog, AFloodIsCutToTwentyLinesAMinuteAndTheDroppedAreCounted)
{
    TempDir dir;
    const std::string captured = dir / "stderr";
    std::fflush(stderr);
    const int saved = dup(2);
    const int fd = open(captured.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    dup2(fd, 2);
    close(fd);
    {
        FakeClock clock;
        posix::SyslogLog log(&clock);
        for (int i = 0; i < 100; ++i)
            log.line("refused " + std::to_string(i));
        // Half a minute later, ten more may pass; the first of them says what was lost.
        clock.advance(Seconds(30));
        for (int i = 100; i < 120; ++i)
            log.line("refused " + std::to_string(i));
    }
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);

    std::vector<std::string> lines;
    std::istringstream in(readFile(captured));
    for (std::string l; std::getline(in, l);)
        lines.push_back(l);
    ASSERT_EQ(lines.size(), 32u);
    EXPECT_EQ(lines[0], "Brindlewick: refused 0");
    EXPECT_EQ(lines[19], "Brindlewick: refused 19");
    EXPECT_EQ(lines[20], "Brindlewick: 80 lines were dropped: more than 20 a minute");
    EXPECT_EQ(lines[21], "Brindlewick: refused 100");
    EXPECT_EQ(lines[30], "Brindlewick: refused 109");
    // The end of the log tells the rest.
    EXPECT_EQ(lines[31], "Brindlewick: 10 lines were dropped: more than 20 a minute");
}
