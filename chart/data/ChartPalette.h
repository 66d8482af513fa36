#pragma once

#include "ChartTypes.h"

#include <cstdint>

// The colours handed out to series and, with ColorEachPoint, to points: entry (i mod 16).
TColor SeriesPaletteColor(std::int32_t index);

constexpr std::int32_t SeriesPaletteSize = 16;
