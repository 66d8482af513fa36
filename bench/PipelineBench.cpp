// The chart engine's share of the animation. "frame" times one whole frame as the program
// runs it: the series emptied and refilled with 2001 points of the model (L = 2000, β = 0),
// then the paint that follows: the chart drawn into its off-screen image through the whole
// pipeline and copied to the window's painter. "fastline" times the fast line's repaint alone
// (visible range, clip, one pen set-up and a line per point) over a million points that all
// lie inside the axis range, so that no point is left out before drawing.
#include "BenchRunner.h"
#include "Chart.h"
#include "ChartCanvas3D.h"
#include "ChartSurface.h"
#include "FastLineSeries.h"
#include "SeriesFrameTarget.h"
#include "StoredChartLayout.h"
#include "WaveModel.h"

#include <QImage>
#include <QPainter>
#include <cmath>
#include <memory>
#include <numbers>

namespace {

constexpr int ChartWidth = 961;
constexpr int ChartHeight = 529;

// The main window's chart and series, with a window image for the paint to copy to.
struct TChartBench {
    TChartBench() : Window(ChartWidth, ChartHeight, QImage::Format_RGB32), Painter(&Window) {
        Chart.SetSize(ChartWidth, ChartHeight);
        Series = new TFastLineSeries;
        ApplyStoredChartLayout(Chart, *Series);
    }
    ~TChartBench() { Painter.end(); }

    // What the widget's paint does.
    void Paint() {
        TChartSurface window(Painter);
        if (!Chart.Canvas().RepaintFromBuffer(window)) {
            Chart.DrawOnto(window, {0, 0, ChartWidth, ChartHeight});
        }
    }

    TChart Chart;
    TFastLineSeries* Series; // owned by the chart
    QImage Window;
    QPainter Painter;
};

std::unique_ptr<TChartBench> frame;
TSimulationState frameState;

const TBenchRegistration FrameCase({"frame", 2001,
                                    [] {
                                        frame = std::make_unique<TChartBench>();
                                        frameState.StringLength = 2000;
                                        frameState.Beta = 0;
                                        frameState.SimTime = 1234.56;
                                    },
                                    [] {
                                        TSeriesFrameTarget target(*frame->Series);
                                        ProduceFrame(frameState, target, true);
                                        frame->Paint();
                                    }});

std::unique_ptr<TChartBench> fastLine;

void PrepareFastLine() {
    fastLine = std::make_unique<TChartBench>();
    constexpr int Count = 1000000;
    for (int i = 0; i < Count; ++i) {
        const double x = 1000.0 * i / (Count - 1);
        fastLine->Series->AddPoint(x, 900 * std::sin(std::numbers::pi * x / 100));
    }
    // One paint lays the chart out; the canvas keeps drawing into its image afterwards.
    fastLine->Paint();
}

const TBenchRegistration FastLineCase({"fastline", 1000000, PrepareFastLine,
                                       [] { fastLine->Chart.RenderSeries(*fastLine->Series); }});

} // namespace
