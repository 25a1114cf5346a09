#include "platform/qt/DisplayChoice.h"

#include <gtest/gtest.h>

#include <set>

namespace bw::test {
namespace {

using qt::chooseDisplayPlatform;
using qt::DisplaySession;

TEST(DisplayChoiceTest, APlatformIsTakenOnlyWhereItsPluginAndItsServerAreThere)
{
    const std::set<std::string> all{"wayland", "xcb", "offscreen"};
    const std::set<std::string> noWayland{"xcb", "offscreen"};
    const auto with = [](const std::set<std::string>& plugins) {
        return [plugins](const std::string& name) { return plugins.count(name) > 0; };
    };
    struct Case {
        const char* what;
        DisplaySession session;
        std::set<std::string> plugins;
        std::string chosen;
    };
    const Case cases[] = {
        {"Wayland session with its plugin", {"", true, true, true}, all, "wayland"},
        {"Wayland session without the plugin: XWayland", {"", true, true, true}, noWayland, "xcb"},
        {"asked for Wayland by name, plugin missing: XWayland", {"wayland", false, false, true}, noWayland, "xcb"},
        {"WAYLAND_DISPLAY without a compositor, no X: headless", {"", true, false, false}, all, ""},
        {"asked for Wayland, no compositor, no X: headless", {"wayland", true, false, false}, all, ""},
        {"X11 session", {"", false, false, true}, all, "xcb"},
        {"X11 asked for, no X server: headless", {"xcb", false, false, false}, all, ""},
        {"nothing at all", {"", false, false, false}, all, ""},
        {"a plugin asked for by name that is there", {"offscreen", false, false, false}, all, "offscreen"},
        {"a plugin asked for by name that is not there", {"vnc", false, false, true}, all, "xcb"},
        {"a list: the first that works", {"wayland;xcb", true, false, true}, all, "xcb"},
        {"options stay with the name", {"wayland:nodecor", true, true, false}, all, "wayland:nodecor"},
        {"a compositor but no WAYLAND_DISPLAY: X11 as the session says", {"", false, true, true}, all, "xcb"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(chooseDisplayPlatform(c.session, with(c.plugins)), c.chosen) << c.what;
}

} // namespace
} // namespace bw::test
