// SPDX-License-Identifier: MIT
// The pie with thickness: "pie_100_3d" draws the pie of "pie_100" (100 slices) on a chart in the
// default 3D view (seen obliquely) of the main window's size, laid out by one paint first. Its
// twin "pie_100_3d_qpainter" draws the same faces in the same order with plain QPainter calls:
// for each piece of the chart's drawing order the rim's runs that look at the viewer, the cut
// faces that do, and the top face, each a polygon filled and outlined.
#include "BenchRunner.h"

#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <korvatel/canvas/ChartSurface.h>
#include <korvatel/canvas/SolidShading.h>
#include <korvatel/data/PieSeries.h>
#include <korvatel/render/Chart.h>
#include <memory>
#include <vector>

using namespace Korvatel;

namespace {

constexpr int ChartWidth = 961;
constexpr int ChartHeight = 529;
constexpr int Slices = 100;

QColor ToQColor(TColor colour) {
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

// A white chart in 3D, its pie laid out by one paint into its kept image.
struct TPieChart3D {
    TPieChart3D()
        : Window(ChartWidth, ChartHeight, QImage::Format_RGB32), Painter(&Window),
          WindowSurface(Painter) {
        Chart.SetSize(ChartWidth, ChartHeight);
        Chart.SetView3D(true);
        Chart.SetColor(clWhite);
        Chart.SetAxisVisible(false);
        Pie = new TPieSeries;
        Pie->SetParentChart(&Chart);
        for (int i = 0; i < Slices; ++i) {
            Pie->AppendValue(1 + (i * 37) % 11);
        }
        Chart.DrawIntoBuffer(WindowSurface, {0, 0, ChartWidth, ChartHeight});
    }
    ~TPieChart3D() { Painter.end(); }

    TChart Chart;
    TPieSeries* Pie;
    QImage Window;
    QPainter Painter;
    TChartSurface WindowSurface;
};

std::unique_ptr<TPieChart3D> pie;
const TBenchRegistration PieCase({"pie_100_3d", Slices,
                                  [] { pie = std::make_unique<TPieChart3D>(); },
                                  [] { pie->Chart.RenderSeries(*pie->Pie); }});

// The twin: the pieces, the ellipse and the projection are taken from the chart laid out as
// above; the faces are worked out and drawn on every run.
struct TQPainterTwin {
    std::unique_ptr<TPieChart3D> Layout;
    QImage Image{ChartWidth, ChartHeight, QImage::Format_RGB32};

    void Draw() {
        const TChartCanvas3D& canvas = Layout->Chart.Canvas();
        const TPieSeries& series = *Layout->Pie;
        const TPieCircle& circle = series.Circle();
        const double zoom = canvas.ZoomFactor();
        const double rx = circle.Radius;
        // The oblique view: depth moves a point right and up; the table's depth is flattened.
        const std::vector<TPiePiece>& pieces = series.Pieces();
        const double rz = series.Solid().RadiusZ;
        const double top = series.Solid().Top;
        const double bottom = series.Solid().Bottom;
        const auto project = [&](double x, double y, double z) {
            return QPointF(zoom * (x + z - canvas.XCenter()) + canvas.XCenterOffset() + 0.5,
                           zoom * (y - canvas.YCenter() - z) + canvas.YCenterOffset() + 0.5);
        };
        const auto area = [](const QPolygonF& p) {
            double sum = 0;
            for (qsizetype i = 0; i < p.size(); ++i) {
                const QPointF& a = p[i];
                const QPointF& b = p[(i + 1) % p.size()];
                sum += a.x() * b.y() - b.x() * a.y();
            }
            return sum;
        };
        QPainter p(&Image);
        p.setPen(Qt::black);
        QPolygonF upper;
        QPolygonF lower;
        for (const TPiePiece& piece : pieces) {
            const TPieSlice& slice = series.Slices()[static_cast<std::size_t>(piece.Index)];
            const double cx = slice.Centre.X;
            const double cz = series.Solid().Z + (circle.Centre.Y - slice.Centre.Y) * rz / rx;
            const double sweep = piece.EndAngle - piece.StartAngle;
            const int n =
                std::max(1, static_cast<int>(std::ceil(sweep * std::sqrt(rx * zoom / 2))));
            upper.resize(n + 1);
            lower.resize(n + 1);
            for (int k = 0; k <= n; ++k) {
                const double a = piece.StartAngle + sweep * k / n;
                const double x = cx + rx * std::cos(a);
                const double z = cz + rz * std::sin(a);
                upper[k] = project(x, top, z);
                lower[k] = project(x, bottom, z);
            }
            const QPointF centreTop = project(cx, top, cz);
            const QPointF centreBottom = project(cx, bottom, cz);
            const TColor colour = series.PointColor(piece.Index);
            p.setBrush(ToQColor(ShadedColor(colour, sfSide)));
            // The cut faces lie farther than the front rim: first those, then the rim's runs.
            if (piece.StartCut) {
                const QPolygonF face{centreTop, centreBottom, lower[0], upper[0]};
                if (area(face) < 0) {
                    p.drawPolygon(face);
                }
            }
            if (piece.EndCut) {
                const QPolygonF face{centreTop, upper[n], lower[n], centreBottom};
                if (area(face) < 0) {
                    p.drawPolygon(face);
                }
            }
            int k = 0;
            while (k < n) {
                const auto visible = [&](int j) {
                    return area(QPolygonF{upper[j], lower[j], lower[j + 1], upper[j + 1]}) < 0;
                };
                if (!visible(k)) {
                    ++k;
                    continue;
                }
                const int from = k;
                while (k < n && visible(k)) {
                    ++k;
                }
                QPolygonF run = upper.mid(from, k - from + 1);
                const QPolygonF back = lower.mid(from, k - from + 1);
                run.append(QPolygonF(back.rbegin(), back.rend()));
                p.drawPolygon(run);
            }
            QPolygonF cap = upper;
            cap.append(centreTop);
            p.setBrush(ToQColor(colour));
            p.drawPolygon(cap);
        }
    }
};

TQPainterTwin twin;
const TBenchRegistration PieTwinCase({"pie_100_3d_qpainter", Slices,
                                      [] {
                                          twin.Layout = std::make_unique<TPieChart3D>();
                                          twin.Image.fill(Qt::white);
                                      },
                                      [] { twin.Draw(); }});

} // namespace
