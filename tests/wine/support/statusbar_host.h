// A SkinStatusBar docked at the bottom of a plain visible window (600 × 200 client pixels at screen
// 40, 40), with message boxes recorded instead of shown.
#pragma once

#include "controls/host/picture_win.h"
#include "controls/statusbar/skin_status_bar.h"
#include "tests/wine/support/window_test.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

namespace testsupport {

// A skin tile of our own: a one-pixel frame around one inside colour.
inline host::Picture SkinTile(bmp::Rgb frame, bmp::Rgb inside, int width = 15, int height = 23) {
    host::Picture p{bmp::Raster(width, height, frame)};
    for (int y = 1; y < height - 1; ++y)
        for (int x = 1; x < width - 1; ++x)
            p.raster.At(x, y) = inside;
    return p;
}

class StatusBarTest : public ::testing::Test {
protected:
    // barHeight 0: only the host window; the test makes its bar itself.
    explicit StatusBarTest(int barHeight = 17) : barHeight_(barHeight) {}

    void SetUp() override {
        host_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, 600, 200, nullptr,
                                nullptr, nullptr, nullptr);
        ASSERT_TRUE(host_);
        if (barHeight_ > 0) {
            ASSERT_TRUE(bar_->Create(host_, 0, 200 - barHeight_, 600, barHeight_));
            PumpMessages(20);
        }
    }
    void TearDown() override {
        bar_.reset();
        DestroyWindow(host_);
    }

    // The main window's three panels: boxes 2-350, 352-430 and 432-510.
    void AddMainWindowPanels() {
        bar_->AddPanel(L"Desconectado", L"Skins", 350);
        bar_->AddPanel(L"06/12/2026", L"Date", 80);
        bar_->AddPanel(L"10:00:00", L"Time", 80);
    }
    RECT InBar(HWND child) const { return RectIn(child, bar_->Hwnd()); }
    void ExpectOnlyNotice(const std::wstring& title, const std::wstring& text, UINT flags) const {
        ASSERT_EQ(notices_.notices.size(), 1u);
        const win::Notice& n = notices_.notices[0];
        EXPECT_EQ(std::tie(n.title, n.text, n.flags), std::tie(title, text, flags));
    }

    NoticeRecorder notices_;
    HWND host_ = nullptr;
    std::unique_ptr<statusbar::SkinStatusBar> bar_ = std::make_unique<statusbar::SkinStatusBar>();

private:
    int barHeight_;
};

} // namespace testsupport
