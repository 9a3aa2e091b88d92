// The main window as it starts: layout, texts, the start state of every control, and start-up
// ending cleanly when the toolbar's skin picture cannot be read.
#include "console/clock_text.h"
#include "console/principal.h"
#include "tests/wine/support/principal_session.h"
#include "win/gdi.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>

using namespace testsupport;

namespace {

RECT ChildRect(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::wstring FaceOf(HWND control, LONG* height) {
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
    *height = lf.lfHeight;
    return lf.lfFaceName;
}

std::wstring ToolText(HWND toolbar, int command) {
    wchar_t text[64] = {};
    SendMessageW(toolbar, TB_GETBUTTONTEXTW, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(text));
    return text;
}

COLORREF IconPixel(HICON icon, int size, int x, int y) {
    if (!icon)
        return CLR_INVALID;
    win::MemorySurface surface(nullptr, size, size);
    RECT all{0, 0, size, size};
    FillRect(surface.Dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    DrawIconEx(surface.Dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    return GetPixel(surface.Dc(), x, y);
}

// The time as the long time format shows it now or up to two seconds ago.
bool IsRecentTime(const std::wstring& shown) {
    const SYSTEMTIME now = console::LocalNow();
    FILETIME ft{};
    SystemTimeToFileTime(&now, &ft);
    ULARGE_INTEGER t{};
    t.LowPart = ft.dwLowDateTime;
    t.HighPart = ft.dwHighDateTime;
    for (int back = 0; back <= 2; ++back) {
        ULARGE_INTEGER earlier = t;
        earlier.QuadPart -= static_cast<ULONGLONG>(back) * 10000000ull;
        ft.dwLowDateTime = earlier.LowPart;
        ft.dwHighDateTime = earlier.HighPart;
        SYSTEMTIME then{};
        FileTimeToSystemTime(&ft, &then);
        if (console::LongTimeText(then) == shown)
            return true;
    }
    return false;
}

class PrincipalStart : public PrincipalSession {};

} // namespace

TEST_F(PrincipalStart, WindowFrameCaptionAndSize) {
    HWND hwnd = principal.Hwnd();
    EXPECT_EQ(console::Principal::Instance(), &principal);
    EXPECT_EQ(WindowText(hwnd), L"ZEV Config  -  Vantoro ");
    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_THICKFRAME) << "not resizable";
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    RECT client{};
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, 488);  // 7320 twips
    EXPECT_EQ(client.bottom, 538); // 8070 twips
    // Our own icon, at both sizes: the top stroke of its white "Z".
    EXPECT_EQ(IconPixel(reinterpret_cast<HICON>(GetClassLongPtrW(hwnd, GCLP_HICON)), 32, 10, 6), RGB(255, 255, 255));
    EXPECT_EQ(IconPixel(reinterpret_cast<HICON>(GetClassLongPtrW(hwnd, GCLP_HICONSM)), 16, 6, 1), RGB(255, 255, 255));
    // The background is system colour 19, inactive title-bar text; the frame shares it.
    EXPECT_EQ(reinterpret_cast<HBRUSH>(GetClassLongPtrW(hwnd, GCLP_HBRBACKGROUND)),
              GetSysColorBrush(COLOR_INACTIVECAPTIONTEXT));
    EXPECT_EQ(ScreenPixel(hwnd, 484, 300), GetSysColor(COLOR_INACTIVECAPTIONTEXT));
    EXPECT_EQ(ScreenPixel(hwnd, 12, 300), GetSysColor(COLOR_INACTIVECAPTIONTEXT))
        << "inside Frame1, beside the console";
    SaveScreenshot(hwnd, L"principal_start");
}

TEST_F(PrincipalStart, ControlsSitWhereTheLayoutPutsThem) {
    const RECT frame = ChildRect(principal.Frame1());
    EXPECT_EQ(frame.left, 8);
    EXPECT_EQ(frame.top, 48);
    EXPECT_EQ(frame.right - frame.left, 473);
    EXPECT_EQ(frame.bottom - frame.top, 433);
    EXPECT_EQ(WindowText(principal.Frame1()), L"");

    const RECT box = ChildRect(principal.txtConsole());
    EXPECT_EQ(box.left, 16); // Frame1 + 120 twips
    EXPECT_EQ(box.top, 64);  // Frame1 + 240 twips
    EXPECT_EQ(box.right - box.left, 457);
    EXPECT_EQ(box.bottom - box.top, 409);
    LONG height = 0;
    EXPECT_EQ(FaceOf(principal.txtConsole(), &height), L"Courier New");
    EXPECT_EQ(height, -11); // 8.25 pt at 96 dpi

    const wchar_t* captions[4] = {L"SCAN", L"STATUS", L"LIST", L"HELP"};
    const int lefts[4] = {8, 128, 248, 368};
    for (int i = 0; i < 4; ++i) {
        const RECT r = ChildRect(principal.Command1(i));
        EXPECT_EQ(WindowText(principal.Command1(i)), captions[i]);
        EXPECT_EQ(r.left, lefts[i]);
        EXPECT_EQ(r.top, 488);
        EXPECT_EQ(r.right - r.left, 113);
        EXPECT_EQ(r.bottom - r.top, 25);
        EXPECT_EQ(FaceOf(principal.Command1(i), &height), L"Courier New");
        EXPECT_EQ(height, -13); // 9.75 pt
    }

    const RECT status = ChildRect(principal.StatusBar1().Hwnd());
    EXPECT_EQ(status.left, 0);
    EXPECT_EQ(status.top, 521); // 7815 twips
    EXPECT_EQ(status.right - status.left, 488);
    EXPECT_EQ(status.bottom - status.top, 17);

    const RECT bar = ChildRect(principal.Toolbar().Hwnd());
    EXPECT_EQ(bar.top, 0);
    EXPECT_EQ(bar.right - bar.left, 488);
    EXPECT_EQ(bar.bottom - bar.top, 56);
}

TEST_F(PrincipalStart, ToolbarHasFourButtonsWithTheirCaptionsAndImages) {
    HWND toolbar = principal.Toolbar().ToolbarWindow();
    wchar_t cls[64] = {};
    GetClassNameW(toolbar, cls, 64);
    EXPECT_STREQ(cls, L"ToolbarWindow32");
    EXPECT_EQ(GetParent(toolbar), principal.Toolbar().Hwnd()) << "the native toolbar sits inside Toolbar1";
    ASSERT_EQ(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0), 4);
    const wchar_t* captions[4] = {L"Dispositivos", L"Desconectar", L"Borrar     ", L"Acerca de  "};
    for (int i = 0; i < 4; ++i) {
        TBBUTTON b{};
        ASSERT_TRUE(SendMessageW(toolbar, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b)));
        EXPECT_EQ(b.iBitmap, i);
        EXPECT_EQ(ToolText(toolbar, b.idCommand), captions[i]) << "trailing blanks belong to the caption";
    }
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0));
    ASSERT_NE(images, nullptr);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images, &cx, &cy);
    EXPECT_EQ(cx, 32);
    EXPECT_EQ(cy, 32);
    EXPECT_EQ(ImageList_GetImageCount(images), 4);
}

TEST_F(PrincipalStart, StartStateOfEveryControl) {
    EXPECT_EQ(principal.ConsoleText(), L">");
    EXPECT_EQ(principal.ConsoleSelStart(), 1) << "caret just behind the prompt";
    EXPECT_FALSE(principal.ConsoleEnabled());
    const LONG_PTR boxStyle = GetWindowLongPtrW(principal.txtConsole(), GWL_STYLE);
    EXPECT_TRUE(boxStyle & ES_MULTILINE);
    EXPECT_TRUE(boxStyle & ES_READONLY) << "locked";
    EXPECT_TRUE(boxStyle & WS_VSCROLL);
    EXPECT_TRUE(ToolEnabled(1)) << "find";
    EXPECT_TRUE(ToolEnabled(2)) << "disconnect";
    EXPECT_FALSE(ToolEnabled(3)) << "clear";
    EXPECT_TRUE(ToolEnabled(4)) << "about";
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(CommandEnabled(i)) << i;
    EXPECT_FALSE(principal.TimerRxEnabled());
    // Status bar: connection state, date, time.
    const auto& panels = principal.StatusBar1().Panels();
    ASSERT_EQ(panels.Count(), 3);
    EXPECT_EQ(panels.At(1).Key, L"Skins");
    EXPECT_EQ(panels.At(2).Key, L"Date");
    EXPECT_EQ(panels.At(3).Key, L"Time");
    EXPECT_EQ(Panel(1), L"Desconectado");
    const SYSTEMTIME now = console::LocalNow();
    EXPECT_EQ(Panel(2), console::ShortDateText(now));
    EXPECT_TRUE(IsRecentTime(Panel(3))) << Narrow(Panel(3));
    EXPECT_TRUE(principal.SkinPicture() != nullptr);
    EXPECT_EQ(principal.SkinPath(), ExeFolder() + L"imagenes\\Skin_VBNET.bmp");
    EXPECT_TRUE(notices.notices.empty());
    // Nothing touches the driver before a connection.
    EXPECT_EQ(sim.Calls("FT_GetQueueStatus"), 0u);
    EXPECT_EQ(sim.Calls("FT_Write"), 0u);
}

TEST_F(PrincipalStart, TheClockShowsTheTimeAndDateOnEveryTick) {
    // The long time format has seconds: a tick a second later shows a new time.
    const std::wstring first = Panel(3);
    ASSERT_TRUE(PumpUntil([&] { return Panel(3) != first; }, 2500)) << "TimerHora runs from the start";
    EXPECT_TRUE(IsRecentTime(Panel(3))) << Narrow(Panel(3));
    EXPECT_EQ(Panel(2), console::ShortDateText(console::LocalNow()));
    // A tick rewrites a panel someone else changed.
    principal.StatusBar1().ChangeTextPanel(L"x", 2);
    principal.TimerHora_Timer();
    EXPECT_EQ(Panel(2), console::ShortDateText(console::LocalNow()));
    EXPECT_EQ(Panel(1), L"Desconectado");
}

TEST_F(PrincipalStart, DisabledQuickCommandsSendNothingWhenClicked) {
    ASSERT_TRUE(app.link.OpenLink(SimDriver::kZevSerial));
    SendMessageW(principal.Command1(3), BM_CLICK, 0, 0); // Wine still notifies for a disabled button
    PumpMessages(20);
    EXPECT_EQ(sim.Calls("FT_Write"), 0u);
}

namespace {

// A folder standing in for the program's folder, with what the test puts into "imagenes".
class ProgramFolder {
public:
    ProgramFolder() {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"zev_principal_" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(folder_.c_str(), nullptr);
        CreateDirectoryW((folder_ + L"\\imagenes").c_str(), nullptr);
        DeleteFileW(Skin().c_str()); // a run that crashed may have left one behind
    }
    ~ProgramFolder() {
        DeleteFileW(Skin().c_str());
        RemoveDirectoryW((folder_ + L"\\imagenes").c_str());
        RemoveDirectoryW(folder_.c_str());
    }
    std::wstring Skin() const { return folder_ + L"\\imagenes\\Skin_VBNET.bmp"; }
    void Write(const std::string& bytes) const {
        std::ofstream out(std::filesystem::path(Skin()), std::ios::binary);
        out << bytes;
    }
    const std::wstring& Path() const { return folder_; }

private:
    std::wstring folder_;
};

std::string SmallBmp(int width, int height) {
    const int stride = (width * 3 + 3) & ~3;
    std::string b(54 + static_cast<std::size_t>(stride * height), '\0');
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    b[0] = 'B', b[1] = 'M';
    put32(2, static_cast<std::uint32_t>(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    b[26] = 1, b[28] = 24;
    return b;
}

// Open must fail, tell the user about the file and why, and leave nothing behind.
void ExpectStartUpStops(const ProgramFolder& folder, const std::wstring& reason) {
    NoticeRecorder notices;
    SimDriver sim;
    console::AppContext app;
    console::Principal principal(app, {.programFolder = folder.Path()});
    EXPECT_FALSE(principal.Open());
    EXPECT_EQ(principal.Hwnd(), nullptr);
    EXPECT_EQ(console::Principal::Instance(), nullptr);
    EXPECT_EQ(FindWindowW(L"ZevPrincipal", nullptr), nullptr) << "no half-built window";
    ASSERT_EQ(notices.notices.size(), 1u);
    const win::Notice& n = notices.notices[0];
    EXPECT_EQ(n.title, L"ZEV Config");
    EXPECT_TRUE(n.flags & MB_ICONERROR);
    EXPECT_NE(n.text.find(folder.Skin()), std::wstring::npos) << "names the file";
    EXPECT_NE(n.text.find(reason), std::wstring::npos) << "says why: " << Narrow(n.text);
}

} // namespace

TEST(PrincipalSkinFile, StartUpStopsWhenTheSkinPictureCannotBeRead) {
    ProgramFolder folder;
    ExpectStartUpStops(folder, L"no se encuentra el archivo");
    folder.Write("this is not a bitmap at all");
    ExpectStartUpStops(folder, L"no es un mapa de bits válido");
    folder.Write(SmallBmp(40, 10));
    ExpectStartUpStops(folder, L"40 × 10");
    std::string truncated = SmallBmp(216, 23);
    truncated.resize(200);
    folder.Write(truncated);
    ExpectStartUpStops(folder, L"no es un mapa de bits válido");
}

TEST(PrincipalSkinFile, TheFolderMayEndInABackslashAndAGoodPictureLoads) {
    ProgramFolder folder;
    folder.Write(SmallBmp(216, 23));
    NoticeRecorder notices;
    SimDriver sim;
    console::AppContext app;
    console::Principal principal(app, {.programFolder = folder.Path() + L"\\"});
    ASSERT_TRUE(principal.Open());
    EXPECT_EQ(principal.SkinPath(), folder.Skin());
    EXPECT_TRUE(notices.notices.empty());
    DestroyWindow(principal.Hwnd());
    EXPECT_EQ(console::Principal::Instance(), nullptr);
}
