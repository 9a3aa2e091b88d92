// The device finder on real windows against the simulated driver: the list box as the
// refresh keeps it (which change each refresh makes is the model's, tested natively), and connecting:
// the hand-over to the main window and its order, the message for a missing choice, failures.
#include "tests/wine/support/principal_session.h"

#include <gtest/gtest.h>

#include <commctrl.h>

using namespace testsupport;
using finder::Dispositivos;
using Items = std::vector<std::wstring>;

namespace {

class Finder : public PrincipalSession {
protected:
    HWND List() { return Dispositivos::Instance()->DeviceFinder(); }
    Items ListItems() {
        Items items(static_cast<size_t>(SendMessageW(List(), LB_GETCOUNT, 0, 0)));
        for (size_t i = 0; i < items.size(); ++i) {
            wchar_t text[256] = {};
            SendMessageW(List(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            items[i] = text;
        }
        return items;
    }
    int Selection() { return static_cast<int>(SendMessageW(List(), LB_GETCURSEL, 0, 0)); }
    // Until the next refresh has queried the driver (once a second), and a little more.
    void NextTick() {
        const unsigned long before = sim.Calls("FT_ListDevices");
        PumpUntil([&] { return sim.Calls("FT_ListDevices") > before; }, 3000);
        PumpMessages(20);
    }
    void Click(skinbutton::SkinButton& b) { SendMessageW(b.Hwnd(), BM_CLICK, 0, 0); }
};

// Whether the link was open and what was written when the finder's window went.
std::pair<bool, std::string> g_atDestruction{false, "-"};
LRESULT CALLBACK Probe(HWND h, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR data) {
    if (const auto* sim = reinterpret_cast<const SimDriver*>(data); msg == WM_NCDESTROY)
        g_atDestruction = {sim->IsOpen(SimDriver::kZevSerial), sim->Written(SimDriver::kZevSerial)};
    return DefSubclassProc(h, msg, w, l);
}

} // namespace

// The window keeps the selection when lines are only appended or nothing changed, and drops it when
// the list is rebuilt.
TEST_F(Finder, TheListKeepsTheSelectionUnlessRebuiltAndOnlyAChosenZevDeviceIsOpened) {
    OpenFinder();
    SendMessageW(List(), LB_SETCURSEL, 0, 0);
    sim.Fail("FT_ListDevices", 4, 1, 1); // the next count query fails once
    NextTick();
    EXPECT_EQ(std::pair(ListItems(), Selection()), std::pair(Items{kItem, Dispositivos::kCountFailed}, 0))
        << "the plain FTDI cable at index 0 is left out";
    NextTick();
    EXPECT_EQ(Selection(), 0) << "nothing changed";
    sim.Plug("ZV200002", "ZEV WiFi Server B");
    ASSERT_TRUE(
        PumpUntil([&] { return ListItems().size() == 2 && ListItems()[1] != Dispositivos::kCountFailed; }, 2000))
        << "within about a second";
    EXPECT_EQ(std::pair(ListItems()[1], Selection()),
              std::pair(std::wstring(L"ZEV WiFi Server B, NºSerie: ZV200002"), -1));

    // With two items and none chosen the user is asked to choose; a message line is never opened.
    Dispositivos* f = Dispositivos::Instance();
    Click(f->btnConectar);
    ASSERT_EQ(notices.notices.size(), 1u);
    EXPECT_EQ(
        std::tuple(notices.notices[0].text, notices.notices[0].flags, f->SelectedDevice),
        std::tuple(std::wstring(L"Debe seleccionar un dispositivo"), UINT(MB_ICONEXCLAMATION | MB_OK), short{-1}));
    Dispositivos::CloseInstance(); // connecting the chosen item: the end-to-end test
    ASSERT_TRUE(sim.Unplug(kZev) && sim.Unplug("ZV200002"));
    f = OpenFinder();
    ASSERT_EQ(ListItems(), Items{Dispositivos::kNoZev});
    const unsigned long opens = sim.Calls("FT_OpenEx");
    Click(f->btnConectar);
    EXPECT_EQ(sim.Calls("FT_OpenEx"), opens) << "no open with an empty or made-up serial number";
    EXPECT_EQ(notices.notices.back().text, L"No hay ningún dispositivo ZEV al que conectar.");
}

// A failed open leaves the finder as it was; the next click connects the single item without a
// selection, closes the finder and only then sends LIST.
TEST_F(Finder, AFailedOpenShowsNothingTheNextClosesTheFinderBeforeSendingListAndTheCloseBoxOnlyCloses) {
    Dispositivos* f = OpenFinder();
    ASSERT_TRUE(f);
    HWND hwnd = f->Hwnd();
    PumpMessages(100);
    SaveScreenshot(hwnd, L"finder");

    SetWindowSubclass(hwnd, Probe, 1, reinterpret_cast<DWORD_PTR>(&sim));
    sim.Fail("FT_SetBaudRate", 4, 1, 1);
    Click(f->btnConectar);
    EXPECT_EQ(std::tuple(app.link.IsOpen(), sim.Calls("FT_Close"), Dispositivos::Instance(), Panel(1)),
              std::tuple(false, 1ul, f, std::wstring(L"Desconectado")));
    sim.ClearWritten(kZev);
    Click(f->btnConectar);
    EXPECT_EQ(Dispositivos::Instance(), nullptr) << "the finder closed itself";
    EXPECT_EQ(std::tuple(g_atDestruction, Written()), std::tuple(std::pair(true, std::string()), std::string("LIST\r")))
        << "the finder is gone before LIST is written";
    ExpectControls(true);
    EXPECT_EQ(GetFocus(), principal.txtConsole());
    ASSERT_TRUE(WaitForReply(L"puerto=23")) << "the receive pump's timer runs";
    EXPECT_EQ(principal.ConsoleText().rfind(L">LIST\r\n", 0), 0u);
    principal.Toolbar1_ButtonClick(L"Boton2");

    // The close box only closes the window, and stops its refresh timer (Cancelar: the end-to-end test).
    SendMessageW(OpenFinder()->Hwnd(), WM_CLOSE, 0, 0);
    const unsigned long listings = sim.Calls("FT_ListDevices");
    PumpMessages(1200); // longer than the refresh's second: a timer left running would list again
    EXPECT_EQ(
        std::tuple(Dispositivos::Instance(), app.link.IsOpen(), notices.notices.size(), sim.Calls("FT_ListDevices")),
        std::tuple(static_cast<Dispositivos*>(nullptr), false, size_t{0}, listings));
}

TEST(FinderWithoutDriver, ListsTheFailureAndTellsTheUserOnceInSpanish) {
    NoticeRecorder notices;
    console::AppContext app(L"NO_SUCH_FTD2XX.DLL");
    for (int opening = 0; opening < 2; ++opening) {
        Dispositivos* f = Dispositivos::Show({app.driver, app.catalog, app.link, {}});
        ASSERT_NE(f, nullptr);
        EXPECT_TRUE(PumpUntil([&] { return SendMessageW(f->DeviceFinder(), LB_GETCOUNT, 0, 0) >= 2; }, 5000))
            << "the load's line and one per failed tick";
        Dispositivos::CloseInstance();
    }
    ASSERT_EQ(notices.notices.size(), 1u) << "told once, not again for the next finder";
    EXPECT_NE(notices.notices[0].text.find(L"controlador FTDI D2XX"), std::wstring::npos);
}
