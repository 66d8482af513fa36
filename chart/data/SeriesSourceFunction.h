// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>

namespace Korvatel {

class TChartSeries;

// Computes the points of a series from its data source (a sum, an average and the like)
// instead of copying them. A series owns at most one; while it has one, it follows its source
// by computing everything again rather than copying single insertions and deletions.
class KORVATEL_EXPORT TSeriesSourceFunction {
public:
    virtual ~TSeriesSourceFunction() = default;

    // Adds to the emptied series the points computed from the source.
    virtual void AddPoints(TChartSeries& series, TChartSeries& source) = 0;
};

} // namespace Korvatel
