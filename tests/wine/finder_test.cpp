// The device finder on real windows against the simulated driver: what it lists, how it follows
// plugging and failing queries, and how it connects and hands the link to the main window.
#include "finder/dispositivos.h"
#include "tests/wine/support/principal_session.h"

#include <gtest/gtest.h>

using namespace testsupport;
using finder::Dispositivos;

namespace {

class Finder : public PrincipalSession {
protected:
    void TearDown() override {
        Dispositivos::CloseInstance();
        PrincipalSession::TearDown();
    }
    Dispositivos* Open() {
        Dispositivos* f = Dispositivos::Show(app);
        EXPECT_NE(f, nullptr);
        PumpMessages(50); // the first refresh comes at once
        return f;
    }
    std::vector<std::wstring> Items() {
        std::vector<std::wstring> items;
        HWND list = Dispositivos::Instance()->DeviceFinder();
        const int n = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            std::wstring text(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
            SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
            text.resize(wcslen(text.c_str()));
            items.push_back(text);
        }
        return items;
    }
    int Selection() { return static_cast<int>(SendMessageW(Dispositivos::Instance()->DeviceFinder(), LB_GETCURSEL, 0, 0)); }
    void Select(int i) { SendMessageW(Dispositivos::Instance()->DeviceFinder(), LB_SETCURSEL, i, 0); }
    // Until the next refresh has queried the driver (once a second), and a little more.
    void NextTick() {
        const unsigned long before = sim.Calls("FT_ListDevices");
        PumpUntil([&] { return sim.Calls("FT_ListDevices") > before; }, 3000);
        PumpMessages(20);
    }

    using Items_ = std::vector<std::wstring>;
    static constexpr const wchar_t* kNoZev = L"No se ha encontrado ningún ZEV";
    static constexpr const wchar_t* kFailed = L"FT_GetNumDevices failed";
};

} // namespace

TEST_F(Finder, IsLaidOutAsDesignedAndListsOnlyTheZevDevice) {
    Dispositivos* f = Open();
    HWND hwnd = f->Hwnd();
    EXPECT_EQ(WindowText(hwnd), L"ZEV Config - Búsqueda de Dispositivos");
    RECT client{};
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, 340);
    EXPECT_EQ(client.bottom, 207);
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_EQ(GetWindow(hwnd, GW_OWNER), nullptr) << "shown without an owner";
    EXPECT_EQ(WindowText(f->Frame1()), L"ZEV Conectados");
    PumpMessages(100);
    // The buttons lie above the frame, and the frame's caption is drawn in the highlight colour.
    RECT conectar{};
    GetWindowRect(f->btnConectar.Hwnd(), &conectar);
    EXPECT_EQ(WindowFromPoint(POINT{(conectar.left + conectar.right) / 2, (conectar.top + conectar.bottom) / 2}),
              f->btnConectar.Hwnd());
    bool highlight = false;
    for (int x = 10; x < 100 && !highlight; ++x)
        for (int y = 0; y < 12 && !highlight; ++y)
            highlight = ScreenPixel(f->Frame1(), x, y) == GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_TRUE(highlight);
    EXPECT_EQ(WindowText(f->btnConectar.Hwnd()), L"Conectar");
    EXPECT_EQ(WindowText(f->btnCancelar.Hwnd()), L"Cancelar");
    EXPECT_EQ(f->btnConectar.Skin(), 16);
    EXPECT_EQ(f->btnConectar.ColorSchemas(), 1);
    EXPECT_EQ(f->btnConectar.FontName(), L"Verdana");
    EXPECT_EQ(f->btnConectar.CaptionMargin(), 10);
    EXPECT_EQ(f->btnCancelar.BackColorDisabled(), 0x80000013u);
    RECT button{};
    GetWindowRect(f->btnConectar.Hwnd(), &button);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&button), 2);
    EXPECT_EQ(button.left, 144); // (240 + 1920) twips
    EXPECT_EQ(button.top, 160);  // (120 + 2280) twips
    EXPECT_EQ(button.right - button.left, 73);
    // The default devices: a plain FTDI cable at index 0 is left out.
    EXPECT_EQ(Items(), (Items_{L"ZEV WiFi Server, NºSerie: ZV100001"}));
    SaveScreenshot(hwnd, L"finder");
}

TEST_F(Finder, OneInstanceBroughtBackToTheFront) {
    Dispositivos* first = Open();
    Dispositivos* again = Dispositivos::Show(app);
    EXPECT_EQ(first, again);
    EXPECT_EQ(first->Hwnd(), again->Hwnd());
}

TEST_F(Finder, WithoutAnyDeviceTheMessageLineIsRebuiltEverySecond) {
    ASSERT_EQ(sim.LoadConfig("# nothing attached\n"), 0u);
    Open();
    EXPECT_EQ(Items(), Items_{kNoZev});
    Select(0);
    NextTick();
    EXPECT_EQ(Items(), Items_{kNoZev});
    EXPECT_EQ(Selection(), -1) << "cleared and added anew";
    EXPECT_EQ(app.catalog.lPrevNumDevices, 0);
}

TEST_F(Finder, OtherDevicesAndLowerCaseZevGiveOneLineThatStays) {
    ASSERT_EQ(sim.LoadConfig("device FT1 FT232R USB UART\ndevice Z2 zev lower case\n"), 0u);
    Open();
    EXPECT_EQ(Items(), Items_{kNoZev});
    Select(0);
    NextTick();
    EXPECT_EQ(Items(), Items_{kNoZev});
    EXPECT_EQ(Selection(), 0) << "not rebuilt while the same devices stay";
}

TEST_F(Finder, APluggedDeviceShowsUpWithinASecondAndDropsTheSelection) {
    Open();
    Select(0);
    PumpMessages(300);
    EXPECT_EQ(Selection(), 0);
    sim.Plug("ZV200002", "ZEV WiFi Server B");
    ASSERT_TRUE(PumpUntil([&] { return Items().size() == 2; }, 2000)) << "within about a second";
    EXPECT_EQ(Items()[1], L"ZEV WiFi Server B, NºSerie: ZV200002");
    EXPECT_EQ(Selection(), -1);
    sim.Unplug(SimDriver::kZevSerial);
    ASSERT_TRUE(PumpUntil([&] { return Items().size() == 1; }, 2000));
    EXPECT_EQ(Items()[0], L"ZEV WiFi Server B, NºSerie: ZV200002");
}

TEST_F(Finder, AFailingCountAppendsALineThatStaysWhileNothingChanges) {
    Open();
    NextTick();
    Select(0);
    sim.Fail("FT_ListDevices", 4, 1, 1); // the next count query fails once
    NextTick();
    EXPECT_EQ(Items(), (Items_{L"ZEV WiFi Server, NºSerie: ZV100001", kFailed}));
    EXPECT_EQ(Selection(), 0) << "appending keeps the selection";
    NextTick();
    EXPECT_EQ(Items(), (Items_{L"ZEV WiFi Server, NºSerie: ZV100001", kFailed}));
}

TEST_F(Finder, ASingleItemConnectsWithoutSelectionAndHandsTheLinkOver) {
    Dispositivos* f = Open();
    SendMessageW(f->btnConectar.Hwnd(), BM_CLICK, 0, 0);
    PumpMessages(20);
    EXPECT_EQ(Dispositivos::Instance(), nullptr) << "the finder closed itself";
    EXPECT_TRUE(app.link.IsOpen());
    EXPECT_TRUE(sim.IsOpen(SimDriver::kZevSerial));
    EXPECT_EQ(sim.Settings(SimDriver::kZevSerial).baud, 9600u);
    EXPECT_EQ(Panel(1), L"Conectado con ZEV WiFi Server, NºSerie: ZV100001");
    EXPECT_FALSE(ToolEnabled(1));
    EXPECT_TRUE(ToolEnabled(3));
    EXPECT_TRUE(CommandEnabled(0));
    EXPECT_TRUE(principal.ConsoleEnabled());
    EXPECT_TRUE(principal.TimerRxEnabled());
    EXPECT_EQ(GetFocus(), principal.txtConsole());
    EXPECT_EQ(Written(), "LIST\r");
    ASSERT_TRUE(PumpUntil([&] { return principal.ConsoleText().find(L"puerto=23") != std::wstring::npos; }));
    EXPECT_EQ(principal.ConsoleText().rfind(L">LIST\r\n", 0), 0u);
    EXPECT_TRUE(notices.notices.empty());
}

TEST_F(Finder, WithTwoItemsTheUserMustChooseAndTheChosenOneIsOpened) {
    sim.Plug("ZV200002", "ZEV WiFi Server B");
    Dispositivos* f = Open();
    ASSERT_EQ(Items().size(), 2u);
    SendMessageW(f->btnConectar.Hwnd(), BM_CLICK, 0, 0);
    ASSERT_EQ(notices.notices.size(), 1u);
    EXPECT_EQ(notices.notices[0].text, L"Debe seleccionar un dispositivo");
    EXPECT_EQ(notices.notices[0].title, L"ZEV Config");
    EXPECT_EQ(notices.notices[0].flags, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK));
    EXPECT_EQ(f->SelectedDevice, -1);
    EXPECT_EQ(sim.Calls("FT_OpenEx"), 0u);
    ASSERT_NE(Dispositivos::Instance(), nullptr);

    Select(1);
    SendMessageW(f->btnConectar.Hwnd(), BM_CLICK, 0, 0);
    EXPECT_TRUE(sim.IsOpen("ZV200002"));
    EXPECT_FALSE(sim.IsOpen(SimDriver::kZevSerial));
    EXPECT_EQ(Panel(1), L"Conectado con ZEV WiFi Server B, NºSerie: ZV200002");
}

TEST_F(Finder, AMessageLineIsNeverOpenedAndTheUserIsTold) {
    ASSERT_EQ(sim.LoadConfig("device FT1 FT232R USB UART\n"), 0u);
    Dispositivos* f = Open();
    ASSERT_EQ(Items(), Items_{kNoZev});
    SendMessageW(f->btnConectar.Hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(sim.Calls("FT_OpenEx"), 0u) << "no open with an empty or made-up serial number";
    ASSERT_EQ(notices.notices.size(), 1u);
    EXPECT_NE(notices.notices[0].text.find(L"ZEV"), std::wstring::npos);
    EXPECT_NE(Dispositivos::Instance(), nullptr);
    EXPECT_FALSE(app.link.IsOpen());
}

TEST_F(Finder, AFailedOpenShowsNothingAndStaysOpen) {
    Dispositivos* f = Open();
    sim.Fail("FT_SetBaudRate", 4, 1, 1);
    SendMessageW(f->btnConectar.Hwnd(), BM_CLICK, 0, 0);
    EXPECT_FALSE(app.link.IsOpen());
    EXPECT_EQ(sim.Calls("FT_Close"), 1u);
    EXPECT_NE(Dispositivos::Instance(), nullptr);
    EXPECT_TRUE(notices.notices.empty());
    EXPECT_EQ(Panel(1), L"Desconectado");
    SendMessageW(f->btnConectar.Hwnd(), BM_CLICK, 0, 0);
    EXPECT_TRUE(app.link.IsOpen()) << "the user may try again";
}

TEST_F(Finder, CancelAndTheCloseBoxOnlyCloseTheWindow) {
    Dispositivos* f = Open();
    SendMessageW(f->btnCancelar.Hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(Dispositivos::Instance(), nullptr);
    const unsigned long listings = sim.Calls("FT_ListDevices");
    PumpMessages(1200);
    EXPECT_EQ(sim.Calls("FT_ListDevices"), listings) << "its timer stopped";
    f = Open();
    ASSERT_NE(f, nullptr) << "created afresh";
    SendMessageW(f->Hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(Dispositivos::Instance(), nullptr);
    EXPECT_FALSE(app.link.IsOpen());
    EXPECT_TRUE(notices.notices.empty());
}

TEST(FinderWithoutDriver, ListsTheFailureAndTellsTheUserOnceInSpanish) {
    NoticeRecorder notices;
    console::AppContext app(L"NO_SUCH_FTD2XX.DLL");
    ASSERT_FALSE(app.driver.IsLoaded());
    Dispositivos* f = Dispositivos::Show(app);
    ASSERT_NE(f, nullptr);
    PumpMessages(1200);
    HWND list = f->DeviceFinder();
    EXPECT_GE(SendMessageW(list, LB_GETCOUNT, 0, 0), 2) << "the load's line and one per failed tick";
    ASSERT_EQ(notices.notices.size(), 1u);
    EXPECT_NE(notices.notices[0].text.find(L"controlador FTDI D2XX"), std::wstring::npos);
    Dispositivos::CloseInstance();
    Dispositivos::Show(app);
    PumpMessages(100);
    EXPECT_EQ(notices.notices.size(), 1u) << "told once, not again for the next finder";
    EXPECT_FALSE(app.link.IsOpen());
    Dispositivos::CloseInstance();
}
