#include "app/Controllers.h"
#include "platform/Log.h"
#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

namespace bw::test {
namespace {

// Trace and timing lines: with the Alt key held, or for the whole run (--verbose, Verbose).
TEST(TracingTest, TraceLinesComeWithTheAltKeyOrForTheWholeRun)
{
    TestPlatform tp;
    Controllers::registerDefaults(tp.defaults);
    Controllers c(tp.platform);
    c.preferences.awakeFromNib();
    makeFolder(tp.trash());

    logVerbose(tp.log, tp.keys, "quiet");
    c.internal.initTrashData();
    EXPECT_FALSE(tp.log.contains("quiet"));
    EXPECT_FALSE(tp.log.contains("trashSize="));

    tp.keys.held = true;
    logVerbose(tp.log, tp.keys, "with Alt");
    EXPECT_TRUE(tp.log.contains("with Alt"));
    tp.keys.held = false;

    setTracing(true);
    logVerbose(tp.log, tp.keys, "verbose run");
    c.internal.initTrashData();
    setTracing(false);
    EXPECT_TRUE(tp.log.contains("verbose run"));
    EXPECT_TRUE(tp.log.contains("trashSize=")) << "the measurement's timing lines";
    EXPECT_FALSE(tp.defaults.boolForKey("Verbose")) << "off unless the user sets it";
}

} // namespace
} // namespace bw::test
