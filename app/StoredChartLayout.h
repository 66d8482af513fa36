// SPDX-License-Identifier: MIT
#pragma once

namespace Korvatel {
class TChart;
class TFastLineSeries;
} // namespace Korvatel

// The main window's stored chart settings: those of Chart1 that differ from the chart's
// defaults, and Series1 with all of its settings. They are applied while the chart is marked
// as loading, in the layout's order, so that checks depending on the order of the values
// stay off; the series is attached last, and from then on the chart owns it.
void ApplyStoredChartLayout(Korvatel::TChart& chart, Korvatel::TFastLineSeries& series);
