// The main window waiting for an unplugged device through the simulated driver: the same device plugged
// again is connected as a connect does, the session going on; nothing happens after Desconectar, for
// another device, while the finder is open, after five minutes (the window's clock moved on) or after an
// open refused for another reason than "not found". The finder's list and snapshot stay untouched.
#include "tests/wine/support/principal_session.h"

#include <gtest/gtest.h>

using namespace testsupport;

using Reconnect = PrincipalSession;

namespace {

constexpr std::uint64_t kFiveMinutes = 5 * 60 * 1000;

// The tool tip for a wait that starts now, at this minute or the one before (the minute may turn while
// the test looks).
bool TipForNow(const std::wstring& tip, const wchar_t* serial) {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    const int now = t.wHour * 60 + t.wMinute, before = (now + 1439) % 1440;
    return tip == console::WaitingTip(serial, now / 60, now % 60) ||
           tip == console::WaitingTip(serial, before / 60, before % 60);
}

} // namespace

TEST_F(Reconnect, TheSameDevicePluggedAgainIsConnectedAndTheSessionGoesOn) {
    Connect();
    const std::wstring shown = principal.ConsoleText();
    const auto snapshot = app.catalog.sPrevSerialNumbers;
    const unsigned long enumerations = sim.Calls("enumeration"), opens = sim.Calls("FT_OpenEx");
    ASSERT_TRUE(sim.Unplug(kZev));
    ASSERT_TRUE(PumpUntil([&] { return principal.WaitingForDevice(); }));
    ExpectControls(false);
    EXPECT_TRUE(TipForNow(principal.WaitingTip(), L"ZV100001")) << Narrow(principal.WaitingTip());
    // Tried while it is away, and still waited for.
    ASSERT_TRUE(PumpUntil([&] { return sim.Calls("FT_OpenEx") >= opens + 2; }, 5000));
    EXPECT_TRUE(principal.WaitingForDevice());

    sim.ClearWritten(kZev);
    sim.Plug(kZev, SimDriver::kZevDescription);
    ASSERT_TRUE(PumpUntil([&] { return sim.IsOpen(kZev); }, 3000));
    ExpectControls(true);
    ASSERT_TRUE(WaitForReply(L"puerto=23"));
    EXPECT_TRUE(principal.ConsoleText().starts_with(shown)) << "the console keeps its text";
    EXPECT_EQ(std::tuple(Written(), GetFocus(), principal.WaitingForDevice(), principal.WaitingTip()),
              std::tuple(std::string("LIST\r"), principal.txtConsole(), false, std::wstring()));
    EXPECT_EQ(std::pair(sim.Calls("enumeration"), app.catalog.sPrevSerialNumbers == snapshot),
              std::pair(enumerations, true))
        << "the finder's list and snapshot are not touched";
}

TEST_F(Reconnect, NothingHappensAfterDesconectarForAnotherDeviceWhileTheFinderIsOpenOrOnceTheWaitIsOver) {
    enum Way { Desconectar, OtherDevice, FinderOpen, FiveMinutes, OpenRefused };
    for (const Way way : {Desconectar, OtherDevice, FinderOpen, FiveMinutes, OpenRefused}) {
        SCOPED_TRACE(way);
        sim.Plug(kZev, SimDriver::kZevDescription);
        Connect();
        const unsigned long opens = sim.Calls("FT_OpenEx");
        const auto tried = [&](unsigned long n) {
            return PumpUntil([&] { return sim.Calls("FT_OpenEx") >= opens + n; }, 5000);
        };
        if (way == OpenRefused)
            sim.Fail("FT_OpenEx", d2xx::FT_DEVICE_NOT_OPENED, 1, 1);
        ASSERT_TRUE(sim.Unplug(kZev));
        ASSERT_TRUE(tried(1)) << "tried once a second while it is away";
        switch (way) {
        case Desconectar:
            principal.Toolbar1_ButtonClick(L"Boton2");
            break;
        case OtherDevice: {
            sim.Plug("ZV200002", "ZEV WiFi Server B");
            ASSERT_TRUE(tried(3)) << "still trying its own";
            EXPECT_FALSE(sim.IsOpen("ZV200002"));
            finder::Dispositivos* f = OpenFinder(); // the only ZEV listed: connected without a choice
            ASSERT_TRUE(f);
            SendMessageW(f->btnConectar.Hwnd(), BM_CLICK, 0, 0);
            ASSERT_TRUE(sim.IsOpen("ZV200002"));
            break;
        }
        case FinderOpen: {
            ASSERT_TRUE(OpenFinder());
            sim.Plug(kZev, SimDriver::kZevDescription);
            const unsigned long during = sim.Calls("FT_OpenEx"), enumerations = sim.Calls("enumeration");
            // Two more refreshes of the finder, a second apart: the one-second timer has ticked.
            ASSERT_TRUE(PumpUntil([&] { return sim.Calls("enumeration") >= enumerations + 2; }, 5000));
            EXPECT_EQ(std::pair(sim.Calls("FT_OpenEx"), sim.IsOpen(kZev)), std::pair(during, false));
            // The finder closed, the device is connected again.
            finder::Dispositivos::CloseInstance();
            EXPECT_TRUE(PumpUntil([&] { return sim.IsOpen(kZev); }, 3000));
            principal.Toolbar1_ButtonClick(L"Boton2");
            break;
        }
        case FiveMinutes:
            clockAhead += kFiveMinutes + 1;
            ASSERT_TRUE(PumpUntil([&] { return !principal.WaitingForDevice(); }, 3000));
            break;
        case OpenRefused:
            break;
        }
        EXPECT_EQ(std::pair(principal.WaitingForDevice(), principal.WaitingTip()), std::pair(false, std::wstring()));
        // Back, but no longer waited for: the window's timer has stopped, and its tick does nothing.
        sim.Plug(kZev, SimDriver::kZevDescription);
        const unsigned long after = sim.Calls("FT_OpenEx");
        principal.TimerReconnect_Timer();
        // The other device's link is never closed for the one that came back.
        EXPECT_EQ(std::tuple(sim.Calls("FT_OpenEx"), sim.IsOpen(kZev), sim.IsOpen("ZV200002")),
                  std::tuple(after, false, way == OtherDevice));
        if (way == OtherDevice) {
            principal.Toolbar1_ButtonClick(L"Boton2");
            sim.Unplug("ZV200002");
        }
        ExpectControls(false);
    }
}
