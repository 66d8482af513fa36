// SPDX-License-Identifier: MIT
#include <korvatel/data/ChartPalette.h>

#include <array>

namespace Korvatel {

TColor SeriesPaletteColor(std::int32_t index) {
    static constexpr std::array<TColor, SeriesPaletteSize> Palette = {
        clRed,  clGreen,  clYellow, clBlue,  clWhite,  clGray,   clFuchsia, clTeal,
        clNavy, clMaroon, clLime,   clOlive, clPurple, clSilver, clAqua,    clBlack};
    std::int32_t slot = index % SeriesPaletteSize;
    if (slot < 0) {
        slot += SeriesPaletteSize;
    }
    return Palette[static_cast<std::size_t>(slot)];
}

} // namespace Korvatel
