// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/canvas/ChartSurface.h>

#include <QImage>
#include <set>
#include <utility>

namespace Korvatel {

// A canvas drawing straight onto a small white image, for pixel tests.
struct TCanvasImage {
    explicit TCanvasImage(int width, int height, QRgb background = qRgb(255, 255, 255))
        : Image(width, height, QImage::Format_RGB32), Surface(Image) {
        Image.fill(background);
        Canvas.SetTargetSurface(&Surface);
    }
    ~TCanvasImage() { Canvas.SetTargetSurface(nullptr); }

    // The image as drawn so far (the canvas's painter is ended first).
    const QImage& Picture() {
        Surface.EndPainting();
        return Image;
    }

    QRgb Pixel(int x, int y) { return Picture().pixel(x, y); }

    // Every pixel that differs from colour (or equals it, with equal set).
    std::set<std::pair<int, int>> Pixels(QRgb colour, bool equal = true) {
        std::set<std::pair<int, int>> result;
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

    // Every pixel that is not the background white.
    std::set<std::pair<int, int>> Ink() { return Pixels(qRgb(255, 255, 255), false); }

    QImage Image;
    TChartSurface Surface;
    TChartCanvas3D Canvas;
};

using TPixelSet = std::set<std::pair<int, int>>;

} // namespace Korvatel
