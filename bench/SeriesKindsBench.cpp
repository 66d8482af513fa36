// SPDX-License-Identifier: MIT
// The repaint of one series of each further kind over 100,000 points on the main window's
// 961 x 529 chart with its axis ranges (0 to 1000, -1000 to 1000): the visible range, the
// clip, the mapping of every point and its drawing, as the pipeline draws a series.
// "line_100k" is a line through a noisy sine, "points_100k" the same points as rectangles 9
// pixels across, "area_100k" the region between the noisy sine and the bottom of the chart,
// outlined. Each has a "_qpainter" twin that maps the same points through the same axes and
// draws the same picture with plain QPainter calls: a clipped polyline, a rectangle per
// point, a polygon. "area_100k_3d" is the area in the default oblique 3D view: the faces its
// outline sweeps through its depth slot, then the front face; its twin projects the same
// outline and draws every face that shows as a quad of its own, then the front polygon.
#include <korvatel/data/AreaSeries.h>
#include "BenchRunner.h"
#include <korvatel/render/Chart.h>
#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/canvas/ChartSurface.h>
#include <korvatel/data/LineSeries.h>
#include <korvatel/data/PointSeries.h>
#include <korvatel/canvas/SolidShading.h>
#include <korvatel/canvas/SystemColors.h>

#include <QRegion>

#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <numbers>
#include <vector>

using namespace Korvatel;

namespace {

constexpr int ChartWidth = 961;
constexpr int ChartHeight = 529;
constexpr int Count = 100000;

// A sine across the chart with noise from a fixed generator, so that neighbouring points
// rarely share a pixel.
std::vector<double> NoisySine() {
    std::vector<double> ys(Count);
    std::uint32_t state = 12345;
    for (int i = 0; i < Count; ++i) {
        state = state * 1664525u + 1013904223u;
        const double noise = (static_cast<double>(state >> 8) / (1u << 24) - 0.5) * 120;
        ys[static_cast<std::size_t>(i)] = 600 * std::sin(std::numbers::pi * i / 20000.0) + noise;
    }
    return ys;
}

double XOf(int i) {
    return 1000.0 * i / (Count - 1);
}

// A chart of the main window's size and ranges with one series of a kind, laid out and drawn
// once; the canvas then keeps drawing into its image.
template <typename TKind>
struct TSeriesBench {
    explicit TSeriesBench(bool view3D = false)
        : Window(ChartWidth, ChartHeight, QImage::Format_RGB32), Surface(Window) {
        Chart.SetSize(ChartWidth, ChartHeight);
        Chart.SetView3D(view3D);
        Chart.SetColor(clWhite);
        Chart.BottomAxis().AssignRange(0, 1000);
        Chart.LeftAxis().AssignRange(-1000, 1000);
        Series = new TKind;
        Series->SetParentChart(&Chart);
        Series->SetSeriesColor(clRed);
        const std::vector<double> ys = NoisySine();
        for (int i = 0; i < Count; ++i) {
            Series->AddPoint(XOf(i), ys[static_cast<std::size_t>(i)]);
        }
        Chart.DrawOnto(Surface, {0, 0, ChartWidth, ChartHeight});
    }

    void Run() { Chart.RenderSeries(*Series); }

    TChart Chart;
    TKind* Series; // owned by the chart
    QImage Window;
    TChartSurface Surface;
};

// The same chart's layout for the twins: they read the chart rectangle and the axes' mappings
// of one repaint and draw into an image of their own.
struct TQPainterBench {
    TQPainterBench() : Layout(), Image(ChartWidth, ChartHeight, QImage::Format_RGB32) {
        Image.fill(Qt::white);
        Plot = Layout.Chart.PlotRect();
    }

    // Maps the points, as the series do, every run.
    void Map() {
        const TAxisMapping& columns = Layout.Chart.BottomAxis().Mapping();
        const TAxisMapping& rows = Layout.Chart.LeftAxis().Mapping();
        Xs.resize(Count);
        Ys.resize(Count);
        Layout.Series->XValues().CopyValues(0, Count, Xs.data());
        Layout.Series->YValues().CopyValues(0, Count, Ys.data());
        Pixels.resize(Count);
        for (int i = 0; i < Count; ++i) {
            const auto at = static_cast<std::size_t>(i);
            Pixels.setPoint(i, columns.XValueToPixel(Xs[at]), rows.YValueToPixel(Ys[at]));
        }
    }

    // The inside of the chart's frame, as the chart clips its series.
    void Clip(QPainter& painter) const {
        painter.setClipRect(Plot.Left + 1, Plot.Top + 1, Plot.Right - Plot.Left - 1,
                            Plot.Bottom - Plot.Top - 2);
    }

    TSeriesBench<TLineSeries> Layout;
    QImage Image;
    TRect Plot;
    std::vector<double> Xs;
    std::vector<double> Ys;
    QPolygon Pixels;
};

std::unique_ptr<TSeriesBench<TLineSeries>> line;
std::unique_ptr<TQPainterBench> plainLine;

const TBenchRegistration LineCase({"line_100k", Count,
                                   [] { line = std::make_unique<TSeriesBench<TLineSeries>>(); },
                                   [] { line->Run(); }});
const TBenchRegistration QPainterLineCase({"line_100k_qpainter", Count,
                                           [] { plainLine = std::make_unique<TQPainterBench>(); },
                                           [] {
                                               plainLine->Map();
                                               QPainter p(&plainLine->Image);
                                               plainLine->Clip(p);
                                               p.setPen(Qt::red);
                                               p.drawPolyline(plainLine->Pixels);
                                           }});

std::unique_ptr<TSeriesBench<TPointSeries>> points;
std::unique_ptr<TQPainterBench> plainPoints;

const TBenchRegistration PointsCase(
    {"points_100k", Count, [] { points = std::make_unique<TSeriesBench<TPointSeries>>(); },
     [] { points->Run(); }});
const TBenchRegistration QPainterPointsCase(
    {"points_100k_qpainter", Count, [] { plainPoints = std::make_unique<TQPainterBench>(); },
     [] {
         plainPoints->Map();
         QPainter p(&plainPoints->Image);
         plainPoints->Clip(p);
         p.setPen(Qt::black);
         p.setBrush(Qt::red);
         for (const QPoint& point : plainPoints->Pixels) {
             p.drawRect(point.x() - 4, point.y() - 4, 8, 8);
         }
     }});

std::unique_ptr<TSeriesBench<TAreaSeries>> area;
std::unique_ptr<TQPainterBench> plainArea;

const TBenchRegistration AreaCase({"area_100k", Count,
                                   [] { area = std::make_unique<TSeriesBench<TAreaSeries>>(); },
                                   [] { area->Run(); }});
const TBenchRegistration QPainterAreaCase(
    {"area_100k_qpainter", Count, [] { plainArea = std::make_unique<TQPainterBench>(); },
     [] {
         TQPainterBench& bench = *plainArea;
         bench.Map();
         // The region reaches down to the axis minimum's row.
         const int base = bench.Layout.Chart.LeftAxis().Mapping().YValueToPixel(-1000);
         bench.Pixels.append(QPoint(bench.Pixels.back().x(), base));
         bench.Pixels.append(QPoint(bench.Pixels.front().x(), base));
         QPainter p(&bench.Image);
         bench.Clip(p);
         p.setPen(Qt::black);
         p.setBrush(Qt::red);
         p.drawPolygon(bench.Pixels, Qt::OddEvenFill);
     }});

std::unique_ptr<TSeriesBench<TAreaSeries>> area3D;

const TBenchRegistration Area3DCase(
    {"area_100k_3d", Count, [] { area3D = std::make_unique<TSeriesBench<TAreaSeries>>(true); },
     [] { area3D->Run(); }});

// The twin of area_100k_3d: the 3D chart's layout, the outline of the region projected to the
// front and the back of the series' slot, one quad per edge that shows, the front polygon.
struct TAreaTwin3D {
    TAreaTwin3D() : Layout(true), Image(ChartWidth, ChartHeight, QImage::Format_RGB32) {
        Image.fill(Qt::white);
    }

    void Run() {
        TChart& chart = Layout.Chart;
        const TAxisMapping& columns = chart.BottomAxis().Mapping();
        const TAxisMapping& rows = chart.LeftAxis().Mapping();
        Xs.resize(Count);
        Ys.resize(Count);
        Layout.Series->XValues().CopyValues(0, Count, Xs.data());
        Layout.Series->YValues().CopyValues(0, Count, Ys.data());
        const int base = rows.YValueToPixel(-1000);
        const TChartCanvas3D& canvas = chart.Canvas();
        const std::int32_t z0 = Layout.Series->StartDepth();
        const std::int32_t z1 = Layout.Series->EndDepth();
        // The line forward, then the base backward.
        Front.resize(2 * Count);
        Back.resize(2 * Count);
        for (int i = 0; i < Count; ++i) {
            const auto at = static_cast<std::size_t>(i);
            const int x = columns.XValueToPixel(Xs[at]);
            const int y = rows.YValueToPixel(Ys[at]);
            const TPoint f = canvas.ProjectPoint(x, y, z0);
            const TPoint b = canvas.ProjectPoint(x, y, z1);
            Front.setPoint(i, f.X, f.Y);
            Back.setPoint(i, b.X, b.Y);
            const TPoint fb = canvas.ProjectPoint(x, base, z0);
            const TPoint bb = canvas.ProjectPoint(x, base, z1);
            Front.setPoint(2 * Count - 1 - i, fb.X, fb.Y);
            Back.setPoint(2 * Count - 1 - i, bb.X, bb.Y);
        }
        const TRect plot = chart.PlotRect();
        const TPoint corners[] = {canvas.ProjectPoint(plot.Left, plot.Bottom, 0),
                                  canvas.ProjectPoint(plot.Right, plot.Bottom, 0),
                                  canvas.ProjectPoint(plot.Right, plot.Bottom, chart.Depth3D()),
                                  canvas.ProjectPoint(plot.Right, plot.Top, chart.Depth3D()),
                                  canvas.ProjectPoint(plot.Left, plot.Top, chart.Depth3D()),
                                  canvas.ProjectPoint(plot.Left, plot.Top, 0)};
        QPolygon box;
        for (const TPoint& corner : corners) {
            box.append(QPoint(corner.X, corner.Y));
        }
        QPainter p(&Image);
        p.setClipRegion(QRegion(box));
        p.setPen(Qt::NoPen);
        const QColor top = QColor::fromRgb(ColorToRgb(ShadedColor(clRed, sfTop)));
        const QColor side = QColor::fromRgb(ColorToRgb(ShadedColor(clRed, sfSide)));
        const int n = Front.size();
        for (int k = 0; k < n; ++k) {
            const QPoint a = Front.point(k);
            const QPoint b = Front.point((k + 1) % n);
            const QPoint d = Back.point(k) - a;
            const long long turn = static_cast<long long>(b.x() - a.x()) * d.y() -
                                   static_cast<long long>(b.y() - a.y()) * d.x();
            // The outline runs clockwise on the screen: a face shows when it turns left.
            if (turn >= 0) {
                continue;
            }
            const bool isTop = std::abs(b.x() - a.x()) >= std::abs(b.y() - a.y());
            p.setBrush(isTop ? top : side);
            const QPoint quad[] = {a, b, Back.point((k + 1) % n), Back.point(k)};
            p.drawPolygon(quad, 4);
        }
        p.setPen(Qt::black);
        p.setBrush(Qt::red);
        p.drawPolygon(Front, Qt::OddEvenFill);
    }

    TSeriesBench<TAreaSeries> Layout;
    QImage Image;
    std::vector<double> Xs;
    std::vector<double> Ys;
    QPolygon Front;
    QPolygon Back;
};

std::unique_ptr<TAreaTwin3D> plainArea3D;

const TBenchRegistration QPainterArea3DCase({"area_100k_3d_qpainter", Count,
                                             [] { plainArea3D = std::make_unique<TAreaTwin3D>(); },
                                             [] { plainArea3D->Run(); }});

} // namespace
