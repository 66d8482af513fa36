// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/render/AxisPanel.h>
#include <korvatel/core/ChartTypes.h>

namespace Korvatel {

// The axis steps of one chart layout, in their order, with the chart rectangle given instead
// of computed from margins, titles and axis labels.
inline void LayOutAxes(TCustomAxisPanel& chart, const TRect& plotRect) {
    for (TCustomChartAxis* axis : chart.AxisList()) {
        axis->ComputeRange();
    }
    chart.SetPanelBounds({0, 0, chart.Width(), chart.Height()});
    chart.SetPlotRect(plotRect);
    for (TCustomChartAxis* axis : chart.AxisList()) {
        axis->ComputePixelExtent();
    }
    chart.FitSeriesMargins();
}

} // namespace Korvatel
