// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/render/ChartPanel.h>
#include <korvatel/canvas/ChartSurface.h>

#include <QImage>

namespace Korvatel {

// Draws the whole chart into an image of its size, as the window's paint would, but with no
// window at all. Pixels that the chart leaves alone would stay a colour the chart never uses.
inline QImage DrawChartImage(TCustomChartPanel& chart) {
    QImage image(chart.Width(), chart.Height(), QImage::Format_RGB32);
    image.fill(qRgb(1, 2, 3));
    {
        TChartSurface surface(image);
        chart.DrawOnto(surface, {0, 0, chart.Width(), chart.Height()});
    }
    return image;
}

} // namespace Korvatel
