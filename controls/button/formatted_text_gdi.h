// The formatted caption on a GDI surface: measuring items in their fonts and carrying out the
// drawing steps.
#pragma once

#include "controls/button/formatted_text.h"
#include "win/gdi.h"

#include <windows.h>

#include <map>
#include <utility>

namespace skinbutton {

// Measures with the fonts it makes on the way (kept until it goes); each measurement leaves the
// item's font selected in the context, as the surface's font.
class GdiMeasurer : public TextMeasurer {
public:
    // Fonts are made for dpi (0: the screen's).
    explicit GdiMeasurer(HDC dc, int dpi = 0) : dc_(dc), dpi_(dpi) {}
    ~GdiMeasurer() override;
    GdiMeasurer(const GdiMeasurer&) = delete;
    GdiMeasurer& operator=(const GdiMeasurer&) = delete;

    TextMetrics Measure(const host::FontDesc& font, const std::wstring& text) override;
    HFONT FontFor(const host::FontDesc& font);

private:
    HDC dc_;
    int dpi_;
    HGDIOBJ original_ = nullptr;
    std::map<std::wstring, win::Font> fonts_;
};

// Carries out the steps on the context; its text colour is left as it was.
void DrawCaptionSteps(HDC dc, GdiMeasurer& fonts, const CaptionRender& render);

} // namespace skinbutton
