// SPDX-License-Identifier: MIT
#include <korvatel/data/PointSeries.h>

namespace Korvatel {

TPointSeries::TPointSeries() {
    // Set before the series joins a chart, so that building it asks for no repaint.
    Pointer().SetVisible(true);
    LinePen().SetVisible(false);
}

} // namespace Korvatel
