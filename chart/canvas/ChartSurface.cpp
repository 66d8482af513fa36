// SPDX-License-Identifier: MIT
#include <korvatel/canvas/ChartSurface.h>

#include <korvatel/core/Rounding.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Korvatel {

namespace {

// Serial numbers of painters are unique across all surfaces, so that a canvas moving from one
// surface to another never mistakes a fresh painter for the one it configured.
std::uint64_t NextPainterSerial() {
    static std::uint64_t serial = 0;
    return ++serial;
}

} // namespace

TChartSurface::TChartSurface(QImage& image)
    : FImage(&image), FDirectPixels(image.format() == QImage::Format_RGB32 && !image.isNull()),
      FRatio(image.devicePixelRatio()), FScale(TDeviceScale::FromRatio(FRatio)) {
    // A painter on the image scales by its device pixel ratio by itself; the world transforms
    // only make up for the step of the canvas's scale, and undo the ratio for device pixels.
    if (!FScale.IsOne() || FRatio != 1.0) {
        const double logical = FScale.Value() / FRatio;
        FLogicalTransform = QTransform::fromScale(logical, logical);
        FDeviceTransform = QTransform::fromScale(1.0 / FRatio, 1.0 / FRatio);
    }
}

TChartSurface::TChartSurface(QPainter& painter)
    : FForeignPainter(&painter), FPainterSerial(NextPainterSerial()) {
    if (!painter.isActive()) {
        return;
    }
    // The painter's own transform stays the base of everything drawn through it.
    const QTransform device = painter.deviceTransform();
    FRatio = std::hypot(device.m11(), device.m12());
    if (!(FRatio > 0) || !std::isfinite(FRatio)) {
        FRatio = 1.0;
    }
    FScale = TDeviceScale::FromRatio(FRatio);
    FLogicalTransform = painter.worldTransform();
    FDeviceTransform = QTransform::fromScale(1.0 / FRatio, 1.0 / FRatio) * FLogicalTransform;
}

TChartSurface::~TChartSurface() {
    EndPainting();
}

std::uint8_t* TChartSurface::Pixels() {
    return FDirectPixels ? FImage->bits() : nullptr;
}

std::int64_t TChartSurface::BytesPerLine() const {
    return FImage != nullptr ? FImage->bytesPerLine() : 0;
}

std::int32_t TChartSurface::DeviceWidth() const {
    if (FImage != nullptr) {
        return FImage->width();
    }
    const QPaintDevice* device = FForeignPainter->device();
    return device != nullptr
               ? ClampToInt32(std::llround(device->width() * device->devicePixelRatio()))
               : 0;
}

std::int32_t TChartSurface::DeviceHeight() const {
    if (FImage != nullptr) {
        return FImage->height();
    }
    const QPaintDevice* device = FForeignPainter->device();
    return device != nullptr
               ? ClampToInt32(std::llround(device->height() * device->devicePixelRatio()))
               : 0;
}

std::int32_t TChartSurface::Width() const {
    if (FScale.IsOne()) {
        return DeviceWidth();
    }
    return ClampToInt32(FScale.LogicalExtent(DeviceWidth()));
}

std::int32_t TChartSurface::Height() const {
    if (FScale.IsOne()) {
        return DeviceHeight();
    }
    return ClampToInt32(FScale.LogicalExtent(DeviceHeight()));
}

QPainter& TChartSurface::Painter() {
    if (FForeignPainter != nullptr) {
        return *FForeignPainter;
    }
    if (!FOwnPainter.isActive() && !FImage->isNull()) {
        FOwnPainter.begin(FImage);
        FPainterSerial = NextPainterSerial();
    }
    return FOwnPainter;
}

bool TChartSurface::Painting() const {
    return FForeignPainter != nullptr ? FForeignPainter->isActive() : FOwnPainter.isActive();
}

void TChartSurface::EndPainting() {
    if (FOwnPainter.isActive()) {
        FOwnPainter.end();
    }
}

void TChartSurface::CopyFrom(const QImage& image, std::int32_t x, std::int32_t y) {
    if (image.isNull()) {
        return;
    }
    if (FDirectPixels && !FOwnPainter.isActive() && image.format() == QImage::Format_RGB32 &&
        image.devicePixelRatio() == FRatio) {
        // A plain copy of rows: what a painter would do for an opaque image, without opening one.
        if (!FScale.IsOne()) {
            x = ClampToInt32(FScale.Edge(x));
            y = ClampToInt32(FScale.Edge(y));
        }
        const std::int32_t left = std::max(x, 0);
        const std::int32_t top = std::max(y, 0);
        const std::int32_t right = std::min(x + image.width(), FImage->width());
        const std::int32_t bottom = std::min(y + image.height(), FImage->height());
        if (left >= right || top >= bottom) {
            return;
        }
        const std::size_t bytes = static_cast<std::size_t>(right - left) * 4;
        uchar* target = FImage->bits();
        const qsizetype stride = FImage->bytesPerLine();
        for (std::int32_t row = top; row < bottom; ++row) {
            const uchar* source =
                image.constScanLine(row - y) + static_cast<std::size_t>(left - x) * 4;
            std::memcpy(target + row * stride + static_cast<std::size_t>(left) * 4, source, bytes);
        }
        return;
    }
    QPainter& painter = Painter();
    if (!painter.isActive()) {
        return;
    }
    painter.save();
    painter.setWorldTransform(FLogicalTransform);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPointF(x, y), image);
    painter.restore();
}

} // namespace Korvatel
