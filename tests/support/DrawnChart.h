// SPDX-License-Identifier: MIT
#pragma once

#include "CanvasImage.h"
#include <korvatel/render/Chart.h>
#include <korvatel/canvas/ChartSurface.h>
#include <korvatel/canvas/SystemColors.h>

#include <QImage>

namespace Korvatel {

// A flat chart whose canvas draws straight onto an image, laid out as a repaint would have it
// when the title blocks are drawn: panel bounds, chart rectangle and a transparent text
// background (every repaint ends with one).
struct TDrawnChart {
    TDrawnChart(int width, int height, const TRect& plot, QRgb background = qRgb(255, 255, 255))
        : Image(width, height, QImage::Format_RGB32), Surface(Image) {
        Image.fill(background);
        Chart.SetView3D(false);
        Chart.SetColor(clWhite);
        Chart.SetSize(width, height);
        Chart.SetPanelBounds({0, 0, width, height});
        Chart.SetPlotRect(plot);
        Chart.Canvas().SetTargetSurface(&Surface);
        Chart.Canvas().SetTextBackgroundMode(cbmTransparent);
    }
    ~TDrawnChart() { Chart.Canvas().SetTargetSurface(nullptr); }
    TDrawnChart(const TDrawnChart&) = delete;
    TDrawnChart& operator=(const TDrawnChart&) = delete;

    // The image as drawn so far (the canvas's painter is ended first).
    const QImage& Picture() {
        Surface.EndPainting();
        return Image;
    }
    QRgb Pixel(int x, int y) { return Picture().pixel(x, y); }

    // Every pixel of a colour.
    TPixelSet Pixels(QRgb colour) {
        TPixelSet result;
        const QImage& picture = Picture();
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                if (picture.pixel(x, y) == colour) {
                    result.emplace(x, y);
                }
            }
        }
        return result;
    }

    // The colours found in a rectangle of the picture.
    std::set<QRgb> Colours(const TRect& area) {
        std::set<QRgb> result;
        const QImage& picture = Picture();
        for (int y = area.Top; y < area.Bottom; ++y) {
            for (int x = area.Left; x < area.Right; ++x) {
                result.insert(picture.pixel(x, y));
            }
        }
        return result;
    }

    TChart Chart;
    QImage Image;
    TChartSurface Surface;
};

} // namespace Korvatel
