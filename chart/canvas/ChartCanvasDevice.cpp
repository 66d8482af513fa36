// SPDX-License-Identifier: MIT
// The canvas on surfaces of another device scale than 1 (see TChartCanvas3D's comment on
// resolution): device pixels of the target and of the clip, the painter's two coordinate
// spaces, one-pixel lines as strokes and text at the device's resolution.

#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/canvas/ChartCanvasDetail.h>

#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace Korvatel {

using namespace CanvasDetail;

// --- Device pixels ------------------------------------------------------------------------------

void TChartCanvas3D::UpdateDeviceScale() {
    const TChartSurface* surface = TargetSurface();
    FScale = surface != nullptr ? surface->Scale() : TDeviceScale();
    FScaled = !FScale.IsOne();
    FDeviceRaster = FScaled && surface != nullptr && surface->HasPixels();
    FLine.SetScale(FDeviceRaster ? FScale : TDeviceScale());
    FDeviceRegionSerial = 0;
}

TRect TChartCanvas3D::DeviceSurfaceRect() const {
    const TChartSurface* surface = TargetSurface();
    if (surface == nullptr) {
        return {};
    }
    return {0, 0, surface->DeviceWidth(), surface->DeviceHeight()};
}

const QRegion* TChartCanvas3D::DeviceClipRegion() {
    if (FClipKind != TClipKind::Region) {
        return nullptr;
    }
    if (!FScaled) {
        return &FClipRegion;
    }
    if (FDeviceRegionSerial != FClipSerial) {
        // Each rectangle of the region takes the device pixels whose centres lie in it, as a
        // fill of it would.
        FDeviceRegion = QRegion();
        for (const QRect& rect : FClipRegion) {
            FDeviceRegion += ToQRect(FScale.Inside(
                {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()}));
        }
        FDeviceRegionSerial = FClipSerial;
    }
    return &FDeviceRegion;
}

TRect TChartCanvas3D::DeviceClipRect() const {
    if (!FScaled) {
        return EffectiveClipRect();
    }
    const TRect surface = DeviceSurfaceRect();
    switch (FClipKind) {
    case TClipKind::Rectangle:
        return IntersectRect(surface, FScale.Inside(FClipRect));
    case TClipKind::Region: {
        const QRect box = FClipRegion.boundingRect();
        return IntersectRect(surface,
                             FScale.Inside({box.left(), box.top(), box.left() + box.width(),
                                            box.top() + box.height()}));
    }
    case TClipKind::None:
        break;
    }
    return surface;
}

TRect TChartCanvas3D::DeviceArea(const TRect& logical) const {
    if (!FScaled) {
        return logical;
    }
    return IntersectRect(FScale.Around(logical), DeviceSurfaceRect());
}

void TChartCanvas3D::UseLogicalSpace(QPainter& painter) {
    if (FPainterSpace != TPainterSpace::Logical) {
        painter.setWorldTransform(TargetSurface()->LogicalTransform());
        FPainterSpace = TPainterSpace::Logical;
    }
}

void TChartCanvas3D::UseDeviceSpace(QPainter& painter) {
    if (FPainterSpace != TPainterSpace::Device) {
        painter.setWorldTransform(TargetSurface()->DeviceTransform());
        FPainterSpace = TPainterSpace::Device;
    }
}

void TChartCanvas3D::FillDevice(QPainter& painter, const TRect& rect, const QBrush& brush) {
    if (FDeviceRaster) {
        const TRect device = IntersectRect(FScale.Inside(rect), DeviceSurfaceRect());
        if (device.IsEmpty()) {
            return;
        }
        UseDeviceSpace(painter);
        if (brush.style() > Qt::SolidPattern && brush.style() < Qt::LinearGradientPattern) {
            // Hatches keep their look: their lines as wide, and as far apart, as on a screen.
            QBrush scaled(brush);
            scaled.setTransform(QTransform::fromScale(FScale.Value(), FScale.Value()));
            painter.fillRect(ToQRect(device), scaled);
            return;
        }
        painter.fillRect(ToQRect(device), brush);
        return;
    }
    UseLogicalSpace(painter);
    painter.fillRect(QRectF(ToQRect(rect)), brush);
}

// --- Lines as strokes ---------------------------------------------------------------------------

namespace {

// Cuts the part of the line from a to b that lies inside box (Liang and Barsky): the line's
// parameters t0 <= t1 of the part inside, false when none.
bool ClipLine(const QPointF& a, const QPointF& b, const QRectF& box, double& t0, double& t1) {
    t0 = 0.0;
    t1 = 1.0;
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {a.x() - box.left(), box.right() - a.x(), a.y() - box.top(),
                        box.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) {
                return false;
            }
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
    }
    return t0 < t1;
}

} // namespace

void TChartCanvas3D::StrokeLine(std::int32_t x0, std::int32_t y0, std::int32_t x1,
                                std::int32_t y1) {
    const std::uint32_t phase = FLine.Phase();
    FLine.Advance(x0, y0, x1, y1);
    QPainter* painter = PreparePainter();
    const double dx = static_cast<double>(std::int64_t{x1} - x0);
    const double dy = static_cast<double>(std::int64_t{y1} - y0);
    const double major = std::max(std::abs(dx), std::abs(dy));
    if (painter == nullptr || major == 0.0) {
        return;
    }
    // Through the centres of the line's pixels, set back half a pixel along the major axis:
    // it covers its start pixel and stops where its end pixel begins, as a one-pixel line does.
    const QPointF back(dx / major / 2, dy / major / 2);
    const QPointF from = QPointF(x0 + 0.5, y0 + 0.5) - back;
    const QPointF to = QPointF(x1 + 0.5, y1 + 0.5) - back;
    // Only the part near the clip reaches the painter: a line from far outside the picture
    // costs nothing, and no coordinate is too large for the device.
    const TRect clip = EffectiveClipRect();
    double t0 = 0.0;
    double t1 = 1.0;
    if (clip.IsEmpty() ||
        !ClipLine(from, to, QRectF(ToQRect(clip)).adjusted(-2, -2, 2, 2), t0, t1)) {
        return;
    }
    const QPointF start = from + (to - from) * t0;
    const QPointF end = from + (to - from) * t1;
    // A pen of width 0 is the device's thinnest line (a printer's hairline, which the printing
    // rules give dotted grid lines); any other is one logical pixel wide. Dashes count logical
    // pixels along the major axis, as the one-pixel line's pattern does: on a slanted line one
    // such pixel is this many pen widths long, and a hairline's width is one device pixel.
    const bool hairline = Pen().Width() == 0;
    const double width = hairline ? 0.0 : 1.0;
    const double stretch = std::hypot(dx, dy) / major * (hairline ? TargetSurface()->Ratio() : 1.0);
    const QRgb color = Resolve(Pen().Color());
    QPen pen(QColor::fromRgb(color), width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    const TPixelLine::TPattern pattern = FLine.Pattern();
    UseLogicalSpace(*painter);
    SetPainterMode(*painter, CompositionFor(Pen().Mode()));
    SetPainterBrush(*painter, QBrush(Qt::NoBrush));
    const QLineF line(start, end);
    if (!pattern.IsSolid()) {
        if (FTextBackMode == cbmOpaque) {
            SetPainterPen(*painter, QPen(QColor::fromRgb(Resolve(FTextBackColor)), width,
                                         Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
            painter->drawLine(line);
        }
        QList<qreal> runs;
        std::uint32_t run = 0;
        bool on = true;
        for (std::uint32_t i = 0; i < pattern.Length; ++i) {
            if (pattern.IsOn(i) != on) {
                runs.append(run * stretch);
                run = 0;
                on = !on;
            }
            ++run;
        }
        runs.append(run * stretch);
        if (runs.size() % 2 != 0) {
            runs.append(0);
        }
        pen.setDashPattern(runs);
        pen.setDashOffset((phase + t0 * major) * stretch);
    }
    SetPainterPen(*painter, pen);
    painter->drawLine(line);
}

// --- Text ---------------------------------------------------------------------------------------

bool TChartCanvas3D::PaintDeviceText(std::int32_t x, std::int32_t y, std::string_view text) {
    const TTextCache::TTextEntry& glyphs = FTextCache.DeviceGlyphs(*FCurrentFont, text, FScale);
    if (!glyphs.DeviceHasInk) {
        return false;
    }
    const QFontMetrics& metrics = FCurrentFont->Metrics;
    const std::int32_t ascent = metrics.ascent();
    const std::int32_t descent = metrics.descent();
    const QPoint offset = TextOffset(FTextAlignment, glyphs.Width, ascent, descent);
    const std::int64_t left = std::int64_t{x} + offset.x();
    const std::int64_t baseline = std::int64_t{y} + offset.y();
    if (FTextBackMode == cbmOpaque) {
        if (QPainter* painter = PreparePainter()) {
            SetPainterMode(*painter, QPainter::CompositionMode_SourceOver);
            FillDevice(*painter,
                       {Saturated(left), Saturated(baseline - ascent),
                        Saturated(left + glyphs.Width), Saturated(baseline + descent)},
                       QBrush(QColor::fromRgb(Resolve(FTextBackColor))));
        }
    }
    // The device glyphs hang from the device pixel of the text's left end on the baseline.
    CopyInk(glyphs.DeviceInk, FScale.Edge(left), FScale.Edge(baseline),
            Resolve(Font().Color()) | Opaque);
    return true;
}

void TChartCanvas3D::PaintPainterText(std::int32_t x, std::int32_t y, std::int32_t angle,
                                      std::string_view text) {
    if (std::abs(std::int64_t{x}) > PainterLimit || std::abs(std::int64_t{y}) > PainterLimit) {
        return; // far outside any picture
    }
    QPainter* painter = PreparePainter();
    if (painter == nullptr) {
        return;
    }
    const QFontMetrics& metrics = FCurrentFont->Metrics;
    const std::int32_t width = FTextCache.Width(*FCurrentFont, text);
    const std::int32_t ascent = metrics.ascent();
    const std::int32_t descent = metrics.descent();
    const QPoint offset = TextOffset(FTextAlignment, width, ascent, descent);
    // An image's text as its device glyphs would be (turned), a vector device's in the face's
    // own outlines; both narrowed to stay inside the room of the 96-dpi text.
    TTextCache::TFit fit;
    const QFont* font = &FCurrentFont->Font;
    if (FDeviceRaster) {
        fit = FTextCache.DeviceGlyphs(*FCurrentFont, text, FScale).DeviceFit;
    } else {
        fit = FTextCache.VectorFit(*FCurrentFont, text);
        font = &FCurrentFont->DesignFont;
    }
    UseLogicalSpace(*painter);
    painter->translate(x, y);
    if (angle % 360 != 0) {
        // Counter-clockwise on a surface whose y grows downwards (see PaintText).
        painter->rotate(-static_cast<qreal>(angle));
    }
    FPainterSpace = TPainterSpace::Unknown;
    SetPainterMode(*painter, QPainter::CompositionMode_SourceOver);
    if (FTextBackMode == cbmOpaque) {
        painter->fillRect(QRect(offset.x(), offset.y() - ascent, width, ascent + descent),
                          QColor::fromRgb(Resolve(FTextBackColor)));
    }
    painter->translate(offset.x(), offset.y());
    painter->scale(fit.X, fit.Y);
    painter->setFont(*font);
    FPainterFontId = 0;
    SetPainterPen(*painter, QPen(QColor::fromRgb(Resolve(Font().Color()))));
    painter->drawText(QPointF(0, 0),
                      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    UseLogicalSpace(*painter);
}

} // namespace Korvatel
