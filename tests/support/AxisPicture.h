// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/render/Chart.h>
#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/data/ChartSeries.h>
#include <korvatel/canvas/ChartSurface.h>

#include <QImage>
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <utility>

namespace Korvatel {

// The main window's chart without its drawing pipeline: 961 × 529, white, flat, with the
// fixed axes 0 to 1000 (bottom) and -1000 to 1000 (left, Increment 10) and one series on
// them. LayOut runs the axis steps of one repaint with the room the axes reserve; Paint draws
// axes onto a white image through the chart's own canvas.
struct TAxisPicture {
    static constexpr std::int32_t Width = 961;
    static constexpr std::int32_t Height = 529;
    // What the default margins leave of the panel.
    static constexpr TRect MarginRect{29, 21, 932, 508};

    TAxisPicture() : Image(Width, Height, QImage::Format_RGB32), Surface(Image) {
        Image.fill(qRgb(255, 255, 255));
        Chart.SetSize(Width, Height);
        Chart.SetView3D(false);
        Chart.SetColor(clWhite);
        Chart.Canvas().SetOffscreenBuffered(false);
        Chart.BottomAxis().AssignRange(0, 1000);
        Chart.LeftAxis().AssignRange(-1000, 1000);
        Chart.LeftAxis().SetIncrement(10);
        Chart.LeftAxis().SetExactDateTime(false);
        Series = new TChartSeries;
        Series->SetParentChart(&Chart);
        Series->AddPoint(0, 0);
        Series->AddPoint(1000, 500);
    }
    ~TAxisPicture() { Chart.Canvas().SetTargetSurface(nullptr); }
    TAxisPicture(const TAxisPicture&) = delete;
    TAxisPicture& operator=(const TAxisPicture&) = delete;

    // Ranges, the room of every shown axis taken off the chart rectangle in list order, the
    // pixel extents and the series margins.
    void LayOut(const TRect& start = MarginRect) {
        Chart.SetPanelBounds({0, 0, Width, Height});
        Chart.Canvas().BeginDrawing(Surface, nullptr, {0, 0, Width, Height}, false);
        for (TCustomChartAxis* axis : Chart.AxisList()) {
            axis->ComputeRange();
        }
        Chart.SetPlotRect(start);
        TRect room = Chart.PlotRect();
        for (TCustomChartAxis* axis : Chart.AxisList()) {
            if (Chart.AxisIsShown(*axis)) {
                TRect copy = room;
                axis->ReserveSpace(copy, true);
                const TRect inside = IntersectRect(copy, room);
                if (!inside.IsEmpty()) {
                    room = inside;
                }
            }
        }
        Chart.SetPlotRect(room);
        for (TCustomChartAxis* axis : Chart.AxisList()) {
            axis->ComputePixelExtent();
        }
        Chart.FitSeriesMargins();
    }

    // Draws the axes (all shown ones by default) and ends the painter so that the image can
    // be read.
    void Paint(std::initializer_list<TCustomChartAxis*> axes = {}) {
        Chart.Canvas().BeginDrawing(Surface, nullptr, {0, 0, Width, Height}, false);
        if (axes.size() == 0) {
            for (TCustomChartAxis* axis : Chart.AxisList()) {
                if (Chart.AxisIsShown(*axis)) {
                    axis->PaintAxis(true);
                }
            }
        } else {
            for (TCustomChartAxis* axis : axes) {
                axis->PaintAxis(true);
            }
        }
        Surface.EndPainting();
    }

    void LayOutAndPaint() {
        LayOut();
        Paint();
    }

    QRgb Pixel(int x, int y) const { return Image.pixel(x, y); }

    // The smallest rectangle holding every pixel of a colour inside an area (right and bottom
    // exclusive); empty when there is none.
    TRect Bounds(QRgb colour, const TRect& area) const {
        TRect found{area.Right, area.Bottom, area.Left, area.Top};
        for (int y = std::max(0, area.Top); y < std::min(Height, area.Bottom); ++y) {
            for (int x = std::max(0, area.Left); x < std::min(Width, area.Right); ++x) {
                if (Image.pixel(x, y) == colour) {
                    found.Left = std::min(found.Left, x);
                    found.Top = std::min(found.Top, y);
                    found.Right = std::max(found.Right, x + 1);
                    found.Bottom = std::max(found.Bottom, y + 1);
                }
            }
        }
        return found.IsEmpty() ? TRect{} : found;
    }

    // How many pixels of a colour lie inside an area.
    int Count(QRgb colour, const TRect& area) const {
        int count = 0;
        for (int y = std::max(0, area.Top); y < std::min(Height, area.Bottom); ++y) {
            for (int x = std::max(0, area.Left); x < std::min(Width, area.Right); ++x) {
                count += Image.pixel(x, y) == colour ? 1 : 0;
            }
        }
        return count;
    }

    static QRgb Black() { return qRgb(0, 0, 0); }
    static QRgb Gray() { return qRgb(128, 128, 128); }

    QImage Image;
    TChartSurface Surface;
    TChart Chart;
    TChartSeries* Series; // owned by the chart
};

} // namespace Korvatel
