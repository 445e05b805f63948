// Which back end plays, from the session's variables and what the compositor offers.
#include "platform/wayland/choice.h"

#include <gtest/gtest.h>

namespace {

bool gOffers = false;
int gAsked = 0;
bool Compositor() {
    ++gAsked;
    return gOffers;
}

TEST(PlaybackChoiceTest, WaylandWhereTheCompositorPlaysElseX11WhereThereIsOneElseARefusal) {
    using B = PlaybackBackend;
    struct Case {
        const char* wayland;
        const char* display;
        const char* override;
        bool offers;
        B want;
        bool asks;  // whether the compositor had to be asked
    } cases[] = {
        {nullptr, ":0", nullptr, true, B::X11, false},      // an X11 session, as ever
        {"", ":0", nullptr, true, B::X11, false},           // an empty variable is none
        {nullptr, nullptr, nullptr, true, B::X11, false},   // no session: X11 says why
        {"wayland-1", ":0", nullptr, true, B::Wayland, true},  // reaches Xwayland's programs too
        {"wayland-1", nullptr, nullptr, true, B::Wayland, true},
        {"wayland-1", ":0", nullptr, false, B::X11, true},     // Xwayland's programs only
        {"wayland-1", nullptr, nullptr, false, B::Refused, true},
        {"wayland-1", ":0", "x11", true, B::X11, false},
        {nullptr, ":0", "wayland", true, B::Wayland, true},
        {"wayland-1", ":0", "wayland", false, B::Refused, true},  // asked for, not offered
        {"wayland-1", nullptr, "other", true, B::Wayland, true},  // an unknown name changes nothing
    };
    for (const Case& c : cases) {
        gOffers = c.offers;
        gAsked = 0;
        EXPECT_EQ(ChoosePlaybackBackend(c.wayland, c.display, c.override, Compositor), c.want)
            << (c.wayland ? c.wayland : "-") << " " << (c.display ? c.display : "-") << " "
            << (c.override ? c.override : "-");
        EXPECT_EQ(gAsked > 0, c.asks);
    }
}

}  // namespace
