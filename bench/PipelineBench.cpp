// SPDX-License-Identifier: MIT
// The chart engine's share of the animation. "frame" times one whole frame as the program
// runs it: the series emptied and refilled with 2001 points of the model (L = 2000, β = 0),
// then the repaint that follows: the chart drawn into its off-screen image through the whole
// pipeline, as the paint does it. "frame_window" adds the paint's last step, the copy of the
// finished image to the window's painter (memory-bound: about 45 µs for the 2 MB image).
// "frame_smooth" does what "frame" does for L = 1000. "frame_hidpi" is "frame" on a window of
// device pixel ratio 2: the same layout in logical pixels, drawn into an image of four times the
// pixels (text at the device's resolution, lines two device pixels wide along their course).
// "fastline" times the fast line's repaint alone (visible range, clip, one pen set-up and a line
// per point) over a million points that all lie inside the axis range, so that no point is left out
// before drawing. "frame_qpainter" is the yardstick for "frame": the same tick with the same scene
// drawn by plain QPainter calls. "frame_deep_zoom" is "frame" seen through a deep zoom.
#include "BenchRunner.h"
#include <korvatel/render/Chart.h>
#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/canvas/ChartSurface.h>
#include <korvatel/data/FastLineSeries.h>
#include "SeriesFrameTarget.h"
#include "StoredChartLayout.h"
#include "WaveModel.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

using namespace Korvatel;

namespace {

constexpr int ChartWidth = 961;
constexpr int ChartHeight = 529;

// The window image of a device pixel ratio, for the paint to copy to.
QImage WindowImage(double ratio) {
    QImage image(static_cast<int>(ChartWidth * ratio), static_cast<int>(ChartHeight * ratio),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    return image;
}

// The main window's chart and series, with a window image for the paint to copy to.
struct TChartBench {
    explicit TChartBench(double ratio = 1.0)
        : Window(WindowImage(ratio)), Painter(&Window), WindowSurface(Painter) {
        Chart.SetSize(ChartWidth, ChartHeight);
        Series = new TFastLineSeries;
        ApplyStoredChartLayout(Chart, *Series);
    }
    ~TChartBench() { Painter.end(); }

    // The repaint into the off-screen image, as the widget's paint does it, without the copy
    // of the finished image to the window.
    void Render() { Chart.DrawIntoBuffer(WindowSurface, {0, 0, ChartWidth, ChartHeight}); }

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
    TChartSurface WindowSurface;
};

// One timer tick of the program: the frame at the current time, then the time step, so that
// the runs go through every shape of the wave's period as the animation does.
struct TFrameBench {
    std::unique_ptr<TChartBench> Bench;
    TSimulationState State;

    void Prepare(double length, double ratio = 1.0) {
        Bench = std::make_unique<TChartBench>(ratio);
        State.StringLength = length;
        State.Beta = 0;
        State.SimTime = 0;
    }

    void Tick(bool toWindow = false) {
        TSeriesFrameTarget target(*Bench->Series);
        ProduceFrame(State, target, true);
        if (toWindow) {
            Bench->Paint();
        } else {
            Bench->Render();
        }
        AdvanceTime(State);
    }
};

// The longest string: its second half folds back over the first (x wraps at 1000), so the
// line runs up and down between the two halves at every x.
TFrameBench longest;
const TBenchRegistration FrameCase({"frame", 2001, [] { longest.Prepare(2000); },
                                    [] { longest.Tick(); }});
// The same with the paint's last step, the copy of the image to the window.
TFrameBench longestWindow;
const TBenchRegistration WindowFrameCase({"frame_window", 2001, [] { longestWindow.Prepare(2000); },
                                          [] { longestWindow.Tick(true); }});

// The same on a window of device pixel ratio 2.
TFrameBench longestHiDpi;
const TBenchRegistration HiDpiFrameCase({"frame_hidpi", 2001,
                                         [] { longestHiDpi.Prepare(2000, 2.0); },
                                         [] { longestHiDpi.Tick(); }});

// The longest string that does not fold: one smooth curve across the chart.
TFrameBench smooth;
const TBenchRegistration SmoothFrameCase({"frame_smooth", 1001, [] { smooth.Prepare(1000); },
                                          [] { smooth.Tick(); }});

// The longest string through a deep zoom, as repeated drags into a few pixels leave it while
// the wave runs: the bottom axis spans a thousandth of a unit around x = 500 and the left axis
// two units, so nearly every segment starts and ends hundreds of millions of pixels outside
// the picture. Each should cost only the part of it that crosses the picture.
TFrameBench deepZoom;
const TBenchRegistration DeepZoomFrameCase({"frame_deep_zoom", 2001,
                                            [] {
                                                deepZoom.Prepare(2000);
                                                TChart& chart = deepZoom.Bench->Chart;
                                                chart.BottomAxis().AssignRange(499.9995, 500.0005);
                                                chart.LeftAxis().AssignRange(-1, 1);
                                            },
                                            [] { deepZoom.Tick(); }});

// The same tick as "frame" with the scene drawn by plain QPainter calls into an image (and, for
// "frame_qpainter_window", copied to the window's painter): white background, raised bevel, bold
// blue title, black frame, both axes with their lines, 22 labels, ticks, minor ticks and dotted
// grid lines, and the red wave clipped to the chart rectangle. The layout (chart rectangle, tick
// positions, label texts) is taken from one paint of the real chart, so both cases draw the same
// picture; the points go into that chart's series as in "frame", so that the two cases differ
// in their drawing only.
struct TQPainterFrameBench {
    struct TLabel {
        int Pixel;
        QString Text;
    };

    std::unique_ptr<TChartBench> Layout;
    TSimulationState State;
    std::vector<double> Xs;
    std::vector<double> Ys;
    QImage Image{ChartWidth, ChartHeight, QImage::Format_RGB32};
    TRect Plot;
    std::vector<TLabel> BottomLabels;
    std::vector<TLabel> LeftLabels;
    QFont TitleFont;
    QFont LabelFont;
    QPolygon Wave;

    void Prepare() {
        Layout = std::make_unique<TChartBench>();
        Layout->Paint();
        TChart& chart = Layout->Chart;
        Plot = chart.PlotRect();
        auto labels = [](const TChartAxis& axis) {
            std::vector<TLabel> result;
            for (std::int32_t pixel : axis.TickPositions()) {
                const std::string text = axis.AxisLabelText(axis.PixelToValue(pixel));
                result.push_back({pixel, QString::fromStdString(text)});
            }
            return result;
        };
        BottomLabels = labels(chart.BottomAxis());
        LeftLabels = labels(chart.LeftAxis());
        TitleFont = QFont("Arial");
        TitleFont.setPixelSize(13);
        TitleFont.setBold(true);
        LabelFont = QFont("Arial", 8);
        for (QFont* font : {&TitleFont, &LabelFont}) {
            font->setStyleStrategy(QFont::NoAntialias);
            font->setHintingPreference(QFont::PreferFullHinting);
        }
        State.StringLength = 2000;
        State.Beta = 0;
        State.SimTime = 0;
    }

    void Tick(bool toWindow = false) {
        TSeriesFrameTarget target(*Layout->Series);
        ProduceFrame(State, target, true);
        TChart& chart = Layout->Chart;
        const TAxisMapping& columns = chart.BottomAxis().Mapping();
        const TAxisMapping& rows = chart.LeftAxis().Mapping();
        const std::int32_t count = Layout->Series->PointCount();
        Xs.resize(static_cast<std::size_t>(count));
        Ys.resize(static_cast<std::size_t>(count));
        Layout->Series->XValues().CopyValues(0, count, Xs.data());
        Layout->Series->YValues().CopyValues(0, count, Ys.data());
        Wave.resize(count);
        for (std::int32_t i = 0; i < count; ++i) {
            Wave.setPoint(i, columns.XValueToPixel(Xs[static_cast<std::size_t>(i)]),
                          rows.YValueToPixel(Ys[static_cast<std::size_t>(i)]));
        }
        Draw();
        if (toWindow) {
            Layout->Painter.save();
            Layout->Painter.setCompositionMode(QPainter::CompositionMode_Source);
            Layout->Painter.drawImage(0, 0, Image);
            Layout->Painter.restore();
        }
        AdvanceTime(State);
    }

    void Draw() {
        const int w = ChartWidth;
        const int h = ChartHeight;
        const int left = Plot.Left;
        const int top = Plot.Top;
        const int right = Plot.Right;
        const int bottom = Plot.Bottom;
        QPainter p(&Image);
        p.fillRect(0, 0, w, h, Qt::white);
        p.setPen(QColor(255, 255, 255));
        p.drawLine(0, h - 1, 0, 0);
        p.drawLine(0, 0, w - 1, 0);
        p.setPen(QColor(160, 160, 160));
        p.drawLine(w - 1, 0, w - 1, h - 1);
        p.drawLine(w - 1, h - 1, 0, h - 1);
        p.setFont(TitleFont);
        p.setPen(Qt::blue);
        p.drawText(QRect(0, 4, w, 16), Qt::AlignHCenter | Qt::AlignTop, "Korvatel");
        p.setPen(Qt::black);
        p.drawRect(left, top, right - left, bottom - top);
        p.setFont(LabelFont);
        const QFontMetrics metrics(LabelFont);
        for (const TLabel& label : BottomLabels) {
            const int width = metrics.horizontalAdvance(label.Text);
            p.drawText(label.Pixel - width / 2, bottom + 6 + metrics.ascent(), label.Text);
        }
        for (const TLabel& label : LeftLabels) {
            const int width = metrics.horizontalAdvance(label.Text);
            p.drawText(left - 6 - width, label.Pixel - metrics.height() / 2 + metrics.ascent(),
                       label.Text);
        }
        p.setPen(QPen(Qt::black, 2));
        p.drawLine(left, bottom, right, bottom);
        p.drawLine(left, top, left, bottom);
        const QColor gray(128, 128, 128);
        p.setPen(gray);
        for (const TLabel& label : BottomLabels) {
            p.drawLine(label.Pixel, bottom + 1, label.Pixel, bottom + 4);
        }
        for (const TLabel& label : LeftLabels) {
            p.drawLine(left - 1, label.Pixel, left - 4, label.Pixel);
        }
        p.setPen(QPen(gray, 1, Qt::DotLine));
        for (const TLabel& label : BottomLabels) {
            p.drawLine(label.Pixel, top, label.Pixel, bottom);
        }
        for (const TLabel& label : LeftLabels) {
            p.drawLine(left, label.Pixel, right, label.Pixel);
        }
        p.setPen(gray);
        auto minor = [&](const std::vector<TLabel>& labels, bool horizontal) {
            for (std::size_t i = 1; i < labels.size(); ++i) {
                for (int j = 1; j <= 3; ++j) {
                    const int q = labels[i].Pixel - (labels[i].Pixel - labels[i - 1].Pixel) * j / 4;
                    if (horizontal) {
                        p.drawLine(q, bottom + 1, q, bottom + 2);
                    } else {
                        p.drawLine(left - 1, q, left - 2, q);
                    }
                }
            }
        };
        minor(BottomLabels, true);
        minor(LeftLabels, false);
        p.setClipRect(left + 1, top + 1, right - left - 1, bottom - top - 2);
        p.setPen(Qt::red);
        p.drawPolyline(Wave);
    }
};

TQPainterFrameBench plainFrame;
const TBenchRegistration QPainterFrameCase({"frame_qpainter", 2001, [] { plainFrame.Prepare(); },
                                            [] { plainFrame.Tick(); }});
TQPainterFrameBench plainWindowFrame;
const TBenchRegistration QPainterWindowFrameCase({"frame_qpainter_window", 2001,
                                                  [] { plainWindowFrame.Prepare(); },
                                                  [] { plainWindowFrame.Tick(true); }});

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
