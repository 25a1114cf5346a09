#include "platform/posix/SyslogLog.h"
#include "tests/support/TestPlatform.h"

#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
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
