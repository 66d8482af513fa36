// SPDX-License-Identifier: MIT
// The mapping of one frame: every point of a 2001-point series turned into its pixel column
// and row, as the fast line does on every repaint, on the main window's 961 × 529 chart with
// its fixed axes (0 to 1000 and -1000 to 1000) and their extents computed.
#include "BenchRunner.h"
#include <korvatel/render/Chart.h>
#include <korvatel/data/FastLineSeries.h>

#include <cmath>
#include <cstdint>
#include <memory>

using namespace Korvatel;

namespace {

struct TMappingBench {
    TMappingBench() {
        chart.SetSize(961, 529);
        chart.SetView3D(false);
        series = new TFastLineSeries;
        series->SetParentChart(&chart);
        for (int i = 0; i < 2001; ++i) {
            series->AddPoint(i % 1000 + 0.5 * (i / 1000), 1000 * std::sin(i * 0.00314));
        }
        chart.BottomAxis().AssignRange(0, 1000);
        chart.LeftAxis().AssignRange(-1000, 1000);
        for (TCustomChartAxis* axis : chart.AxisList()) {
            axis->ComputeRange();
        }
        chart.SetPanelBounds({0, 0, 961, 529});
        // The chart rectangle that the default margins leave of a 961 × 529 panel.
        chart.SetPlotRect({29, 21, 932, 508});
        for (TCustomChartAxis* axis : chart.AxisList()) {
            axis->ComputePixelExtent();
        }
        chart.FitSeriesMargins();
    }

    TChart chart;
    TFastLineSeries* series; // owned by the chart
};

std::unique_ptr<TMappingBench> bench;
volatile std::int64_t sink;

const TBenchRegistration MappingCase({"mapping", 2001,
                                      [] { bench = std::make_unique<TMappingBench>(); },
                                      [] {
                                          const TFastLineSeries& series = *bench->series;
                                          std::int64_t sum = 0;
                                          const std::int32_t count = series.PointCount();
                                          for (std::int32_t i = 0; i < count; ++i) {
                                              sum += series.PointPixelX(i);
                                              sum += series.PointPixelY(i);
                                          }
                                          sink = sum;
                                      }});

} // namespace
