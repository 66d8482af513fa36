// The chart engine's share of the animation. "frame" times one whole frame as the program
// runs it: the series emptied and refilled with 2001 points of the model (L = 2000, β = 0),
// then the paint that follows: the chart drawn into its off-screen image through the whole
// pipeline and copied to the window's painter. "frame_smooth" does the same for L = 1000. "fastline" times the fast line's repaint alone
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

// One timer tick of the program: the frame at the current time, then the time step, so that
// the runs go through every shape of the wave's period as the animation does.
struct TFrameBench {
    std::unique_ptr<TChartBench> Bench;
    TSimulationState State;

    void Prepare(double length) {
        Bench = std::make_unique<TChartBench>();
        State.StringLength = length;
        State.Beta = 0;
        State.SimTime = 0;
    }

    void Tick() {
        TSeriesFrameTarget target(*Bench->Series);
        ProduceFrame(State, target, true);
        Bench->Paint();
        AdvanceTime(State);
    }
};

// The longest string: its second half folds back over the first (x wraps at 1000), so the
// line runs up and down between the two halves at every x.
TFrameBench longest;
const TBenchRegistration FrameCase({"frame", 2001, [] { longest.Prepare(2000); },
                                    [] { longest.Tick(); }});

// The longest string that does not fold: one smooth curve across the chart.
TFrameBench smooth;
const TBenchRegistration SmoothFrameCase({"frame_smooth", 1001, [] { smooth.Prepare(1000); },
                                          [] { smooth.Tick(); }});

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
