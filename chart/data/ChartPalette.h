// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/core/ChartTypes.h>

#include <cstdint>

namespace Korvatel {

// The colours handed out to series and, with ColorEachPoint, to points: entry (i mod 16).
KORVATEL_EXPORT TColor SeriesPaletteColor(std::int32_t index);

constexpr std::int32_t SeriesPaletteSize = 16;

} // namespace Korvatel
