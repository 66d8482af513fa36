// SPDX-License-Identifier: MIT
#pragma once

#include "AxisLayout.h"
#include "CanvasImage.h"
#include <korvatel/render/Chart.h>
#include <korvatel/canvas/ChartSurface.h>

#include <QImage>
#include <vector>

namespace Korvatel {

// A series of a kind on a chart whose canvas draws straight onto a white 200 x 101 image.
// Both axes run from 0 to 100 over a 100 x 100 chart rectangle at (Offset, 0), so a point
// (x, y) lands on the pixel (Offset + x, 100 - y).
template <typename TKind>
struct TSeriesDrawing {
    static constexpr int Offset = 50;
    static constexpr QRgb White = qRgb(255, 255, 255);
    static constexpr QRgb Black = qRgb(0, 0, 0);
    static constexpr QRgb Red = qRgb(255, 0, 0);

    TSeriesDrawing() : Image(200, 101, QImage::Format_RGB32), Surface(Image) {
        Image.fill(White);
        Chart.SetSize(200, 101);
        Chart.SetView3D(false);
        Chart.BottomAxis().AssignRange(0, 100);
        Chart.LeftAxis().AssignRange(0, 100);
        Series = Add();
        Chart.Canvas().SetTargetSurface(&Surface);
    }
    ~TSeriesDrawing() { Chart.Canvas().SetTargetSurface(nullptr); }
    TSeriesDrawing(const TSeriesDrawing&) = delete;
    TSeriesDrawing& operator=(const TSeriesDrawing&) = delete;

    // Another series of the kind on the chart, in red.
    TKind* Add() {
        auto* series = new TKind;
        series->SetParentChart(&Chart);
        series->SetSeriesColor(clRed);
        return series;
    }

    static TPoint At(int x, int y) { return {Offset + x, 100 - y}; }

    // The layout and the series' part of one repaint, without clipping.
    void Draw(TChartSeries& series) {
        LayOutAxes(Chart, {Offset, 0, Offset + 100, 100});
        series.ComputeVisibleRange();
        series.DrawPoints();
    }
    void Draw() { Draw(*Series); }

    const QImage& Picture() {
        Surface.EndPainting();
        return Image;
    }
    // Every pixel of a colour, or (equal false) every pixel of another colour.
    TPixelSet Pixels(QRgb colour, bool equal = true) {
        TPixelSet result;
        const QImage& picture = Picture();
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                if ((picture.pixel(x, y) == colour) == equal) {
                    result.emplace(x, y);
                }
            }
        }
        return result;
    }
    TPixelSet Ink() { return Pixels(White, false); }

    // The pixels of a polyline through the points drawn by the canvas itself.
    static TPixelSet Polyline(const std::vector<TPoint>& points) {
        TCanvasImage reference(200, 101);
        reference.Canvas.DrawPolyline(points);
        return reference.Ink();
    }

    QImage Image;
    TChartSurface Surface;
    TChart Chart;
    TKind* Series; // owned by the chart
};

} // namespace Korvatel
