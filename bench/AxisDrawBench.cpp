// SPDX-License-Identifier: MIT
// The axes' share of an animation frame: the room of the bottom and left axes of the main
// window's 961 x 529 chart and their drawing (42 labels, ticks, minor ticks and dotted grid
// lines) onto the chart's canvas, as every repaint does them.
#include "BenchRunner.h"
#include <korvatel/render/Chart.h>
#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/data/ChartSeries.h>
#include <korvatel/canvas/ChartSurface.h>

#include <QImage>
#include <memory>

using namespace Korvatel;

namespace {

constexpr int ImageWidth = 961;
constexpr int ImageHeight = 529;

struct TAxisDrawBench {
    TAxisDrawBench() : Image(ImageWidth, ImageHeight, QImage::Format_RGB32), Surface(Image) {
        Image.fill(Qt::white);
        chart.SetSize(ImageWidth, ImageHeight);
        chart.SetView3D(false);
        chart.SetColor(clWhite);
        chart.Canvas().SetOffscreenBuffered(false);
        chart.BottomAxis().AssignRange(0, 1000);
        chart.LeftAxis().AssignRange(-1000, 1000);
        chart.LeftAxis().SetIncrement(10);
        chart.LeftAxis().SetExactDateTime(false);
        auto* series = new TChartSeries;
        series->SetParentChart(&chart);
        series->AddPoint(0, 0);
        series->AddPoint(1000, 0);
    }
    ~TAxisDrawBench() { chart.Canvas().SetTargetSurface(nullptr); }

    void Frame() {
        const TRect panel{0, 0, ImageWidth, ImageHeight};
        chart.Canvas().BeginDrawing(Surface, nullptr, panel, false);
        chart.SetPanelBounds(panel);
        chart.SetPlotRect({29, 21, 932, 508});
        TRect room = chart.PlotRect();
        for (TCustomChartAxis* axis : chart.AxisList()) {
            axis->ComputeRange();
        }
        for (TCustomChartAxis* axis : {static_cast<TCustomChartAxis*>(&chart.BottomAxis()),
                                       static_cast<TCustomChartAxis*>(&chart.LeftAxis())}) {
            TRect copy = room;
            axis->ReserveSpace(copy, true);
            room = IntersectRect(copy, room);
        }
        chart.SetPlotRect(room);
        for (TCustomChartAxis* axis : chart.AxisList()) {
            axis->ComputePixelExtent();
        }
        chart.BottomAxis().PaintAxis(true);
        chart.LeftAxis().PaintAxis(true);
    }

    QImage Image;
    TChartSurface Surface;
    TChart chart;
};

std::unique_ptr<TAxisDrawBench> bench;

const TBenchRegistration AxesCase({"axes", 42, [] { bench = std::make_unique<TAxisDrawBench>(); },
                                   [] { bench->Frame(); }});

} // namespace
