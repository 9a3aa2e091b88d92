// The status bar's panels: the panel record, the table (element 0 is the empty left neighbour of
// panel 1), the placement of panels and their labels, and which panel a mouse column belongs to.
// Platform-neutral.
#pragma once

#include "controls/host/control_error.h"

#include <cstdint>
#include <string>
#include <vector>

namespace statusbar {

// -1 in a colour field: the skin's default applies (no fill for BackColor).
constexpr std::int32_t kDefaultColour = -1;

struct tPanel {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    std::wstring Key;
    std::wstring Text;
    std::int32_t ForeColor = 0;
    std::int32_t BackColor = 0;
    std::int32_t BorderColor = 0;
    std::int32_t Index = 0;
    std::int32_t Width = 0;
    bool Bold = false;
    bool operator==(const tPanel&) const = default;
};

// What AddPanel is given; also what a rebuild re-adds.
struct PanelSpec {
    std::wstring text;
    std::wstring key;
    std::int32_t width = 96;
    std::int32_t foreColor = kDefaultColour;
    std::int32_t backColor = kDefaultColour;
    std::int32_t borderColor = kDefaultColour;
    bool bold = false;
};

// Rounds to the nearest integer, halves to the even neighbour.
std::int64_t RoundHalfEven(double v);
// Lower case (ASCII and Latin-1 letters), then leading and trailing blanks removed.
std::wstring NormaliseKey(std::wstring_view key);

class PanelTable {
public:
    PanelTable() : panels_(1) {}

    int Count() const { return static_cast<int>(panels_.size()) - 1; }
    bool IsPanel(std::int64_t index) const { return index >= 1 && index <= Count(); }
    bool InTable(std::int64_t index) const { return index >= 0 && index <= Count(); }
    // Element 0 to Count(); the caller checks the index.
    const tPanel& At(int index) const { return panels_[static_cast<std::size_t>(index)]; }
    tPanel& At(int index) { return panels_[static_cast<std::size_t>(index)]; }
    const std::vector<tPanel>& All() const { return panels_; }

    // Appends a panel 2 pixels right of the last one's Right, with Top 2 and Bottom innerHeight - 3.
    // An edge that does not fit 32 bits (error 6) or a negative width (error 380) adds nothing.
    host::ControlResult Add(const PanelSpec& wanted, double innerHeight);
    // Takes back the last panel (an AddPanel whose label could not be made); element 0 stays.
    void RemoveLast() {
        if (Count() > 0)
            panels_.pop_back();
    }
    // Back to element 0 only.
    void Clear() {
        panels_.resize(1);
        panels_[0] = tPanel{};
    }

    // What a rebuild re-adds, in table order: the panels whose Index differs from `index`, or whose
    // normalised key differs from the normalised `key`. Re-created panels get the default border
    // colour and normal weight.
    std::vector<PanelSpec> KeptWithoutIndex(std::int64_t index) const;
    std::vector<PanelSpec> KeptWithoutKey(std::wstring_view key) const;
    // Every panel as it is (colours and weight kept), its width moved from one dpi to another: what
    // a bar shown at a new display scale adds again.
    std::vector<PanelSpec> ScaledForDpi(int fromDpi, int toDpi) const;

    // The getters' rule: -1 outside the table; element 0 answers 0.
    std::int32_t GetLeft(std::int64_t index) const;
    std::int32_t GetTop(std::int64_t index) const;
    std::int32_t GetWidth(std::int64_t index) const;
    std::int32_t GetHeight(std::int64_t index) const;

    // The last panel with Left < x < Right (x rounded, halves to even), or 0: the columns from one
    // panel's Right up to and including the next one's Left belong to no panel.
    int PanelFromX(double x) const;

private:
    std::vector<tPanel> panels_;
};

// Label placement inside panel p (pixels of the bar).
std::int32_t LabelLeft(const tPanel& p);
std::int32_t LabelTop(const tPanel& p, std::int32_t labelHeight);
// The room a label has: the panel box less 4 pixels each side (never below 0).
std::int32_t LabelRoom(const tPanel& p);

// Where SetControlPanel puts a foreign window.
struct Placement {
    std::int32_t x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Placement&) const = default;
};
// Automatic size: 2 pixels inside the panel's left and top edges, filling the box.
Placement AutoPlacement(const tPanel& p);
// Offsets added to the panel's Left/Top as given; -1 for width or height keeps the window's own;
// the result is cut to the panel (and never negative).
Placement ManualPlacement(const tPanel& p, std::int32_t lTop, std::int32_t lLeft, std::int32_t lWidth,
                          std::int32_t lHeight, std::int32_t currentWidth, std::int32_t currentHeight);

} // namespace statusbar
