// Waiting for an unplugged device: a try at every tick unless the finder is open, five minutes, and what
// ends the wait; the state panel's tool tip.
#include "console/reconnect_policy.h"

#include <gtest/gtest.h>

using console::ReconnectPolicy;
using Action = ReconnectPolicy::Action;

TEST(ReconnectPolicy, TriesEachTickForFiveMinutesUnlessTheFinderIsOpenAndStopsOnAnythingButNotFound) {
    ReconnectPolicy policy;
    EXPECT_EQ(policy.Tick(0, false), Action::None) << "nothing to wait for";
    policy.DeviceGone("ZV1", 1000);
    const struct {
        std::uint64_t now;
        bool finderOpen;
        Action action;
    } ticks[] = {
        {2000, false, Action::Try},     {3000, true, Action::None},    {301000, false, Action::Try},
        {301001, true, Action::GiveUp}, {302000, false, Action::None},
    };
    for (const auto& t : ticks) {
        EXPECT_EQ(policy.Tick(t.now, t.finderOpen), t.action) << t.now;
        if (t.action == Action::Try)
            policy.Tried(false, d2xx::FT_DEVICE_NOT_FOUND);
    }
    EXPECT_EQ(std::pair(policy.Waiting(), policy.Serial()), std::pair(false, std::string("ZV1")));

    const struct {
        bool opened;
        d2xx::FT_STATUS status;
        bool waiting;
    } tries[] = {
        {false, d2xx::FT_DEVICE_NOT_FOUND, true},
        {false, d2xx::FT_DEVICE_NOT_OPENED, false},
        {false, d2xx::FT_IO_ERROR, false},
        {false, d2xx::FT_OK, false}, // opened, but the line could not be set up
        {true, d2xx::FT_OK, false},
    };
    for (const auto& t : tries) {
        policy.DeviceGone("ZV2", 0);
        policy.Tried(t.opened, t.status);
        EXPECT_EQ(policy.Waiting(), t.waiting) << t.status;
    }
    policy.DeviceGone("ZV2", 0);
    policy.Stop();
    EXPECT_EQ(policy.Tick(1000, false), Action::None);
    policy.DeviceGone("", 0);
    EXPECT_FALSE(policy.Waiting()) << "a link opened without a serial number";
}

TEST(ReconnectPolicy, TheTipSaysWhoAndTheWaitsEndOnTwentyFourHours) {
    EXPECT_EQ(console::WaitingTip(L"ZV100001", 10, 2), L"Esperando a ZV100001 hasta las 10:07");
    EXPECT_EQ(console::WaitingTip(L"A", 23, 58), L"Esperando a A hasta las 00:03");
    EXPECT_EQ(console::WaitingTip(L"A", 9, 55), L"Esperando a A hasta las 10:00");
    EXPECT_EQ(console::WaitingTip(L"A", 23, 54), L"Esperando a A hasta las 23:59");
}
