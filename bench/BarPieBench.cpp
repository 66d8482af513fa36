// SPDX-License-Identifier: MIT
// The bar and pie series' drawing on a chart of the main window's size (961 x 529, white, flat),
// laid out by one paint first, as "fastline" times the fast line's. "bars_1000" draws 1000
// bars: ten bar series of 100 points stacked on each other, each repaint working out the
// stacks and the room of a point again. "pie_100" draws a pie of 100 slices filling the chart
// rectangle. Each has a "_qpainter" twin that draws the same picture with plain QPainter calls
// into an image of the same size, from the same values and axis mappings: rectangles with an
// outline for the bars, QPainter's own pie slices for the pie. "bars_1000_3d" draws the same
// bars as boxes in the default oblique view; its twin fills the same faces (top, side, front
// of each box, in the same order and shades) with QPainter's polygons.
#include <korvatel/data/BarSeries.h>
#include "BenchRunner.h"
#include <korvatel/render/Chart.h>
#include <korvatel/canvas/ChartSurface.h>
#include <korvatel/data/PieSeries.h>
#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/canvas/SolidShading.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

using namespace Korvatel;

namespace {

constexpr int ChartWidth = 961;
constexpr int ChartHeight = 529;
constexpr int BarSeriesCount = 10;
constexpr int BarsPerSeries = 100;
constexpr int Slices = 100;

QColor ToQColor(TColor colour) {
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

double BarValue(int series, int point) {
    return 20 + 15 * std::sin(point * 0.3 + series);
}

double SliceValue(int slice) {
    return 1 + (slice * 37) % 11;
}

// A flat white chart laid out by one paint into its kept image, where the series then draw.
struct TSeriesChart {
    explicit TSeriesChart(bool view3D = false)
        : Window(ChartWidth, ChartHeight, QImage::Format_RGB32), Painter(&Window),
          WindowSurface(Painter) {
        Chart.SetSize(ChartWidth, ChartHeight);
        Chart.SetView3D(view3D);
        Chart.SetColor(clWhite);
    }
    ~TSeriesChart() { Painter.end(); }

    void LayOut() { Chart.DrawIntoBuffer(WindowSurface, {0, 0, ChartWidth, ChartHeight}); }

    void RenderSeries() {
        for (TChartSeries* series : Chart.SeriesList()) {
            Chart.RenderSeries(*series);
        }
    }

    TChart Chart;
    QImage Window;
    QPainter Painter;
    TChartSurface WindowSurface;
};

std::unique_ptr<TSeriesChart> MakeBarChart(bool view3D = false) {
    auto chart = std::make_unique<TSeriesChart>(view3D);
    for (int s = 0; s < BarSeriesCount; ++s) {
        auto* bars = new TBarSeries;
        bars->SetParentChart(&chart->Chart);
        for (int i = 0; i < BarsPerSeries; ++i) {
            bars->AddPoint(i, BarValue(s, i));
        }
    }
    static_cast<TBarSeries*>(chart->Chart.SeriesList()[0])->SetMultiBar(mbStacked);
    chart->LayOut();
    return chart;
}

std::unique_ptr<TSeriesChart> MakePieChart() {
    auto chart = std::make_unique<TSeriesChart>();
    chart->Chart.SetAxisVisible(false);
    auto* pie = new TPieSeries;
    pie->SetParentChart(&chart->Chart);
    for (int i = 0; i < Slices; ++i) {
        pie->AppendValue(SliceValue(i));
    }
    chart->LayOut();
    return chart;
}

std::unique_ptr<TSeriesChart> bars;
const TBenchRegistration BarsCase({"bars_1000", BarSeriesCount* BarsPerSeries,
                                   [] { bars = MakeBarChart(); }, [] { bars->RenderSeries(); }});

std::unique_ptr<TSeriesChart> bars3D;
const TBenchRegistration Bars3DCase({"bars_1000_3d", BarSeriesCount* BarsPerSeries,
                                     [] { bars3D = MakeBarChart(true); },
                                     [] { bars3D->RenderSeries(); }});

// "marks_1m_bars": a million bars with their marks, the whole chart drawn each run. Nearly a
// thousand bars share each pixel column, so only the mark on top of each column is drawn. The
// target is 300 ms a run; the bars' room for their marks still measures every mark.
constexpr int MillionBars = 1000000;
std::unique_ptr<TSeriesChart> markedBars;
const TBenchRegistration MarkedBarsCase({"marks_1m_bars", MillionBars,
                                         [] {
                                             markedBars = std::make_unique<TSeriesChart>();
                                             auto* series = new TBarSeries;
                                             series->SetParentChart(&markedBars->Chart);
                                             for (int i = 0; i < MillionBars; ++i) {
                                                 series->AddPoint(i, BarValue(0, i));
                                             }
                                             series->Marks().SetVisible(true);
                                             markedBars->LayOut();
                                         },
                                         [] { markedBars->LayOut(); }});

std::unique_ptr<TSeriesChart> pie;
const TBenchRegistration PieCase({"pie_100", Slices, [] { pie = MakePieChart(); },
                                  [] { pie->RenderSeries(); }});

// The twins: the layout (chart rectangle, axis mappings, the pie's circle) is taken from a
// chart laid out as above, so that both draw the same picture; the values are read from its
// series on every run, as the series read them.
struct TQPainterTwin {
    std::unique_ptr<TSeriesChart> Layout;
    QImage Image{ChartWidth, ChartHeight, QImage::Format_RGB32};
    std::vector<double> Values;
    std::vector<double> Up;
    std::vector<double> Down;

    // The inside of the chart rectangle's frame, where series are clipped.
    QRect Clip() const {
        const TRect plot = Layout->Chart.PlotRect();
        return QRect(plot.Left + 1, plot.Top + 1, plot.Right - plot.Left - 1,
                     plot.Bottom - plot.Top - 2);
    }

    void DrawBars() {
        const TAxisMapping& columns = Layout->Chart.BottomAxis().Mapping();
        const TAxisMapping& rows = Layout->Chart.LeftAxis().Mapping();
        // 70 % of the room of a point, the distance between two neighbouring X.
        const int width =
            static_cast<int>(std::lround(0.7 * columns.PixelLength() / columns.Range()));
        QPainter p(&Image);
        p.setClipRect(Clip());
        p.setPen(Qt::black);
        Up.assign(BarsPerSeries, 0);
        Down.assign(BarsPerSeries, 0);
        Values.resize(BarsPerSeries);
        for (TChartSeries* series : Layout->Chart.SeriesList()) {
            p.setBrush(ToQColor(series->SeriesColor()));
            series->YValues().CopyValues(0, BarsPerSeries, Values.data());
            for (int i = 0; i < BarsPerSeries; ++i) {
                const double value = Values[static_cast<std::size_t>(i)];
                double& base = value >= 0 ? Up[static_cast<std::size_t>(i)]
                                          : Down[static_cast<std::size_t>(i)];
                const int left = columns.XValueToPixel(i) - width / 2;
                const int start = rows.YValueToPixel(base);
                const int end = rows.YValueToPixel(base + value);
                base += value;
                const int top = std::min(start, end);
                const int height = std::abs(end - start);
                if (height > 0) {
                    p.drawRect(QRect(left, top, width - 1, height - 1));
                }
            }
        }
    }

    // The boxes of the 3D bars as the chart laid them out: per bar its top, its right side and
    // its front, the top and side 15 % and 25 % darker.
    void DrawBoxes() {
        TChartCanvas3D& canvas = Layout->Chart.Canvas();
        QPainter p(&Image);
        p.setClipRect(Clip());
        p.setPen(Qt::black);
        for (TChartSeries* chartSeries : Layout->Chart.SeriesList()) {
            const auto* series = static_cast<const TBarSeries*>(chartSeries);
            const TColor colour = series->SeriesColor();
            const QColor front = ToQColor(colour);
            const QColor top = ToQColor(ShadedColor(colour, sfTop));
            const QColor side = ToQColor(ShadedColor(colour, sfSide));
            const std::int32_t z0 = series->StartDepth();
            const std::int32_t z1 = series->EndDepth();
            for (int i = 0; i < BarsPerSeries; ++i) {
                const TRect r = series->BarBounds(i);
                if (r.IsEmpty()) {
                    continue;
                }
                const auto at = [&](std::int32_t x, std::int32_t y, std::int32_t z) {
                    const TPoint q = canvas.ProjectPoint(x, y, z);
                    return QPoint(q.X, q.Y);
                };
                const int right = r.Right - 1;
                const int bottom = r.Bottom - 1;
                const QPoint topFace[] = {at(r.Left, r.Top, z0), at(r.Left, r.Top, z1),
                                          at(right, r.Top, z1), at(right, r.Top, z0)};
                const QPoint sideFace[] = {at(right, r.Top, z0), at(right, r.Top, z1),
                                           at(right, bottom, z1), at(right, bottom, z0)};
                const QPoint frontFace[] = {at(r.Left, r.Top, z0), at(right, r.Top, z0),
                                            at(right, bottom, z0), at(r.Left, bottom, z0)};
                p.setBrush(side);
                p.drawPolygon(sideFace, 4);
                p.setBrush(top);
                p.drawPolygon(topFace, 4);
                p.setBrush(front);
                p.drawPolygon(frontFace, 4);
            }
        }
    }

    void DrawPie() {
        const auto* series = static_cast<const TPieSeries*>(Layout->Chart.SeriesList()[0]);
        const TPieCircle& circle = series->Circle();
        const QRect box(circle.Centre.X - circle.Radius, circle.Centre.Y - circle.Radius,
                        2 * circle.Radius, 2 * circle.Radius);
        Values.resize(Slices);
        series->YValues().CopyValues(0, Slices, Values.data());
        double total = 0;
        for (const double value : Values) {
            total += std::fabs(value);
        }
        QPainter p(&Image);
        p.setClipRect(Clip());
        p.setPen(Qt::black);
        double sum = 0;
        for (int i = 0; i < Slices; ++i) {
            const int start = static_cast<int>(std::lround(5760 * sum / total));
            sum += std::fabs(Values[static_cast<std::size_t>(i)]);
            const int end = static_cast<int>(std::lround(5760 * sum / total));
            p.setBrush(ToQColor(series->PointColor(i)));
            p.drawPie(box, start, end - start);
        }
    }
};

TQPainterTwin barsTwin;
const TBenchRegistration BarsTwinCase({"bars_1000_qpainter", BarSeriesCount* BarsPerSeries,
                                       [] {
                                           barsTwin.Layout = MakeBarChart();
                                           barsTwin.Image.fill(Qt::white);
                                       },
                                       [] { barsTwin.DrawBars(); }});

TQPainterTwin bars3DTwin;
const TBenchRegistration Bars3DTwinCase({"bars_1000_3d_qpainter", BarSeriesCount* BarsPerSeries,
                                         [] {
                                             bars3DTwin.Layout = MakeBarChart(true);
                                             bars3DTwin.Layout->RenderSeries();
                                             bars3DTwin.Image.fill(Qt::white);
                                         },
                                         [] { bars3DTwin.DrawBoxes(); }});

TQPainterTwin pieTwin;
const TBenchRegistration PieTwinCase({"pie_100_qpainter", Slices,
                                      [] {
                                          pieTwin.Layout = MakePieChart();
                                          pieTwin.Image.fill(Qt::white);
                                      },
                                      [] { pieTwin.DrawPie(); }});

} // namespace
