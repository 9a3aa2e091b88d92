#include "controls/button/skin_palette.h"

#include "win/units.h"

#include <array>

namespace skinbutton {
namespace {

using win::Rgb;

constexpr std::uint32_t kBlack = Rgb(0, 0, 0);
constexpr std::uint32_t kWhite = Rgb(255, 255, 255);

constexpr std::array<SkinColours, kBuiltInSkinCount> kSkins{{
    {Rgb(237, 244, 254), Rgb(212, 230, 253), kBlack, kBlack, kBlack, Rgb(144, 144, 144), kBlack},
    {Rgb(251, 252, 227), Rgb(239, 242, 159), kBlack, kBlack, kBlack, Rgb(147, 157, 17), kBlack},
    {Rgb(253, 253, 255), Rgb(232, 236, 255), kBlack, kBlack, kBlack, Rgb(190, 190, 190), kBlack},
    {Rgb(251, 251, 248), Rgb(230, 230, 223), kBlack, kBlack, kBlack, Rgb(190, 190, 190), kBlack},
    {Rgb(255, 242, 255), Rgb(255, 213, 255), kBlack, kBlack, kBlack, Rgb(255, 166, 255), kBlack},
    {Rgb(0, 75, 121), Rgb(98, 158, 199), kWhite, kWhite, kWhite, kBlack, kWhite},
    {Rgb(58, 64, 78), Rgb(96, 106, 133), kWhite, kWhite, kWhite, Rgb(190, 190, 190), kWhite},
    {Rgb(0, 0, 0), Rgb(112, 65, 39), kWhite, kWhite, kWhite, Rgb(170, 170, 170), kWhite},
    {Rgb(0, 0, 0), Rgb(0, 98, 0), kWhite, kWhite, kWhite, Rgb(170, 170, 170), kWhite},
    {Rgb(248, 247, 243), Rgb(227, 223, 212), kBlack, kBlack, kBlack, Rgb(190, 190, 190), kBlack},
    {Rgb(251, 252, 255), Rgb(214, 213, 217), kBlack, kBlack, kBlack, Rgb(190, 190, 190), kWhite},
    {Rgb(255, 255, 255), Rgb(236, 236, 238), kBlack, kBlack, kBlack, Rgb(190, 190, 190), kBlack},
    {Rgb(243, 243, 243), Rgb(227, 227, 227), kBlack, kBlack, kBlack, Rgb(190, 190, 190), kBlack},
    {Rgb(233, 233, 233), Rgb(202, 202, 202), kBlack, kBlack, kBlack, Rgb(180, 180, 180), kWhite},
    {Rgb(240, 244, 255), Rgb(191, 209, 233), Rgb(34, 66, 125), kBlack, kBlack, Rgb(101, 146, 214), kWhite},
    {Rgb(251, 252, 255), Rgb(213, 214, 218), Rgb(41, 90, 171), Rgb(41, 90, 171), kWhite, Rgb(161, 161, 146),
     Rgb(41, 90, 171)},
    {Rgb(240, 244, 255), Rgb(191, 209, 233), Rgb(23, 51, 96), Rgb(23, 51, 96), Rgb(23, 51, 96), Rgb(115, 155, 221),
     Rgb(23, 51, 96)},
    {Rgb(39, 75, 22), Rgb(66, 95, 50), kWhite, kWhite, kWhite, Rgb(161, 161, 146), kBlack},
    {Rgb(251, 251, 251), Rgb(215, 215, 215), Rgb(48, 98, 139), kBlack, kBlack, Rgb(161, 161, 146), kBlack},
    {Rgb(231, 238, 245), Rgb(210, 223, 238), kBlack, kWhite, kWhite, Rgb(111, 153, 200), kWhite},
    {Rgb(51, 103, 189), Rgb(210, 223, 238), kWhite, kWhite, kWhite, Rgb(180, 180, 180), kWhite},
    {Rgb(241, 243, 248), Rgb(178, 182, 197), Rgb(5, 50, 89), Rgb(5, 50, 89), Rgb(5, 50, 89), Rgb(213, 216, 225),
     Rgb(5, 50, 89)},
}};

} // namespace

const SkinColours* BuiltInSkinColours(int skin) {
    if (skin < 0 || skin >= kBuiltInSkinCount)
        return nullptr;
    return &kSkins[static_cast<std::size_t>(skin)];
}

} // namespace skinbutton
