#include "PointSeries.h"

TPointSeries::TPointSeries() {
    // Set before the series joins a chart, so that building it asks for no repaint.
    Pointer().SetVisible(true);
    LinePen().SetVisible(false);
}
