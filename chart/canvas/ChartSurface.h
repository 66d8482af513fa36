// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/canvas/DeviceScale.h>

#include <QImage>
#include <QPainter>
#include <QTransform>
#include <cstdint>

namespace Korvatel {

// A drawing surface of the canvas: where its operations put their pixels.
//
// There are two kinds. An image surface wraps a QImage: the canvas writes one-pixel lines
// straight into its scan lines and opens a QPainter on it (once, on first need) for text, fills
// and shapes. A painter surface wraps a QPainter that someone else has opened, typically the
// chart widget's painter during its paint event; everything then goes through that painter.
//
// The window surface of the chart is a painter surface made by the widget's paint handler for
// the length of one paint:
//
//     QPainter painter(this);
//     TChartSurface window(painter);
//     if (!canvas.RepaintFromBuffer(window))   // the kept image is clean: copied, done
//         chart.DrawOnto(window, rect());      // else draw into the kept image, then copy it
//
// A chart is drawn without any window by handing an image surface to the same calls.
//
// Every surface has a device scale: how many of its pixels one logical pixel of the chart
// spans. An image's is its device pixel ratio; a painter's is the scale of its device transform
// when the surface is made (a window on a screen of twice the density: 2; a printer's painter
// scaled to a page of 600 dpi: 6.25). The chart draws in logical pixels onto every surface; the
// canvas draws them at the surface's own resolution.
class KORVATEL_EXPORT TChartSurface {
public:
    explicit TChartSurface(QImage& image);
    explicit TChartSurface(QPainter& painter);
    // Ends the painter that the surface opened itself.
    ~TChartSurface();
    TChartSurface(const TChartSurface&) = delete;
    TChartSurface& operator=(const TChartSurface&) = delete;

    // The image of an image surface; null for a painter surface.
    QImage* Image() const { return FImage; }
    // True when lines can be written straight into the image's 32-bit scan lines.
    bool HasPixels() const { return FDirectPixels; }
    // The first scan line for writing (the image is detached from any copy first); null when
    // HasPixels is False.
    std::uint8_t* Pixels();
    std::int64_t BytesPerLine() const;

    // The size in logical pixels (the device size divided by the scale, rounded up) and in
    // device pixels; the same at scale 1.
    std::int32_t Width() const;
    std::int32_t Height() const;
    std::int32_t DeviceWidth() const;
    std::int32_t DeviceHeight() const;

    // The device scale as the canvas draws it (in steps of 1/256) and as the device has it.
    const TDeviceScale& Scale() const { return FScale; }
    double Ratio() const { return FRatio; }
    // World transforms of the painter: one that maps logical pixels onto the device, and one
    // under which coordinates are device pixels (of an image surface).
    const QTransform& LogicalTransform() const { return FLogicalTransform; }
    const QTransform& DeviceTransform() const { return FDeviceTransform; }

    // The painter of the surface, opened on the image on first use.
    QPainter& Painter();
    // True while the painter is open. The canvas caches what it has set on the painter and
    // compares PainterSerial to know when a new painter starts with default state.
    bool Painting() const;
    std::uint64_t PainterSerial() const { return FPainterSerial; }
    // Ends the painter that the surface opened itself; a painter surface's painter stays open.
    void EndPainting();

    // Copies image onto the surface with its top left corner at the logical point (x, y), every
    // pixel replaced; an image of the surface's device pixel ratio lands pixel for pixel.
    void CopyFrom(const QImage& image, std::int32_t x, std::int32_t y);

private:
    QImage* FImage = nullptr;
    QPainter* FForeignPainter = nullptr;
    QPainter FOwnPainter;
    bool FDirectPixels = false;
    std::uint64_t FPainterSerial = 0;
    double FRatio = 1.0;
    TDeviceScale FScale;
    QTransform FLogicalTransform;
    QTransform FDeviceTransform;
};

} // namespace Korvatel
