// SPDX-License-Identifier: MIT
// The canvas: text, clipping, colours and the off-screen image (see ChartCanvas3D.cpp).

#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/canvas/ChartCanvasDetail.h>
#include <korvatel/core/Rounding.h>
#include <korvatel/canvas/SystemColors.h>
#include <korvatel/canvas/View3DOptions.h>

#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <vector>

namespace Korvatel {

using namespace CanvasDetail;

namespace {

// The part of a convex polygon inside a rectangle (Sutherland and Hodgman, one edge of the
// rectangle at a time). A region is only ever built of a polygon of sane size: the platform
// gives up on polygons of very many rows, leaving an empty region and losing memory.
QPolygon ClipConvexPolygon(const QPolygon& polygon, const QRectF& guard) {
    std::vector<QPointF> points(polygon.begin(), polygon.end());
    const auto clipEdge = [&points](auto inside, auto cut) {
        std::vector<QPointF> kept;
        kept.reserve(points.size() + 1);
        for (std::size_t i = 0; i < points.size(); ++i) {
            const QPointF& a = points[i];
            const QPointF& b = points[(i + 1) % points.size()];
            if (inside(a)) {
                kept.push_back(a);
            }
            if (inside(a) != inside(b)) {
                kept.push_back(cut(a, b));
            }
        }
        points = std::move(kept);
    };
    const auto atX = [](double x) {
        return [x](const QPointF& a, const QPointF& b) {
            return QPointF(x, a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x()));
        };
    };
    const auto atY = [](double y) {
        return [y](const QPointF& a, const QPointF& b) {
            return QPointF(a.x() + (b.x() - a.x()) * (y - a.y()) / (b.y() - a.y()), y);
        };
    };
    clipEdge([&](const QPointF& p) { return p.x() >= guard.left(); }, atX(guard.left()));
    clipEdge([&](const QPointF& p) { return p.x() <= guard.right(); }, atX(guard.right()));
    clipEdge([&](const QPointF& p) { return p.y() >= guard.top(); }, atY(guard.top()));
    clipEdge([&](const QPointF& p) { return p.y() <= guard.bottom(); }, atY(guard.bottom()));
    QPolygon result;
    for (const QPointF& p : points) {
        result << p.toPoint();
    }
    return result;
}

// Andrew's monotone chain: the convex hull of the projected corners of a box is the outline of
// the box as seen on screen.
QPolygon ConvexHull(std::vector<QPoint> points) {
    std::sort(points.begin(), points.end(), [](const QPoint& a, const QPoint& b) {
        return a.x() < b.x() || (a.x() == b.x() && a.y() < b.y());
    });
    points.erase(std::unique(points.begin(), points.end()), points.end());
    if (points.size() < 3) {
        return QPolygon(points.begin(), points.end());
    }
    auto cross = [](const QPoint& o, const QPoint& a, const QPoint& b) {
        return static_cast<std::int64_t>(a.x() - o.x()) * (b.y() - o.y()) -
               static_cast<std::int64_t>(a.y() - o.y()) * (b.x() - o.x());
    };
    std::vector<QPoint> hull(points.size() * 2);
    std::size_t k = 0;
    for (const QPoint& p : points) {
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], p) <= 0) {
            --k;
        }
        hull[k++] = p;
    }
    const std::size_t lower = k + 1;
    for (std::size_t i = points.size() - 1; i > 0; --i) {
        const QPoint& p = points[i - 1];
        while (k >= lower && cross(hull[k - 2], hull[k - 1], p) <= 0) {
            --k;
        }
        hull[k++] = p;
    }
    hull.resize(k - 1);
    return QPolygon(hull.begin(), hull.end());
}

} // namespace

// --- Text ---------------------------------------------------------------------------------------

void TChartCanvas3D::EnsureFont(double zoom) {
    if (!FFontStale && zoom == FFontZoom && FCurrentFont != nullptr) {
        return;
    }
    FCurrentFont = &FTextCache.FontFor(Font(), zoom, FAntialiasing);
    FFontStale = false;
    FFontZoom = zoom;
}

double TChartCanvas3D::TextZoom() const {
    return FZoomText && FZoomFactor != 1.0 ? FZoomFactor : 1.0;
}

std::int32_t TChartCanvas3D::MeasureTextWidth(std::string_view text) {
    EnsureFont(1.0);
    return FTextCache.Width(*FCurrentFont, text);
}

std::int32_t TChartCanvas3D::MeasureTextHeight(std::string_view) {
    EnsureFont(1.0);
    return FCurrentFont->Metrics.height();
}

bool TChartCanvas3D::PaintCachedText(std::int32_t x, std::int32_t y, std::string_view text) {
    // Unturned text on an image: the glyph pixels of the text, kept from the first time it was
    // drawn in this font, are copied straight into the scan lines. They are the pixels the
    // painter itself draws (the text is rasterised by the painter once), at a fraction of the
    // cost of laying the text out again.
    TChartSurface* surface = TargetSurface();
    if (!surface->HasPixels()) {
        return false;
    }
    const TTextCache::TTextEntry& glyphs = FTextCache.Glyphs(*FCurrentFont, text);
    if (!glyphs.HasInk) {
        return false;
    }
    const QFontMetrics& metrics = FCurrentFont->Metrics;
    const std::int32_t ascent = metrics.ascent();
    const std::int32_t descent = metrics.descent();
    const QPoint offset = TextOffset(FTextAlignment, glyphs.Width, ascent, descent);
    const std::int64_t left = std::int64_t{x} + offset.x();
    const std::int64_t baseline = std::int64_t{y} + offset.y();
    if (FTextBackMode == cbmOpaque) {
        std::uint8_t* pixels = surface->Pixels();
        const TRect clip = EffectiveClipRect();
        const QRegion* region = FClipKind == TClipKind::Region ? &FClipRegion : nullptr;
        const std::int64_t stride = surface->BytesPerLine();
        const QRgb back = Resolve(FTextBackColor) | Opaque;
        const std::int64_t top = baseline - ascent;
        const std::int64_t bottom = std::min<std::int64_t>(baseline + descent, clip.Bottom);
        const std::int64_t right = std::min<std::int64_t>(left + glyphs.Width, clip.Right);
        for (std::int64_t py = std::max<std::int64_t>(top, clip.Top); py < bottom; ++py) {
            for (std::int64_t px = std::max<std::int64_t>(left, clip.Left); px < right; ++px) {
                if (region == nullptr ||
                    region->contains(QPoint(static_cast<int>(px), static_cast<int>(py)))) {
                    reinterpret_cast<QRgb*>(pixels + py * stride)[px] = back;
                }
            }
        }
    }
    CopyInk(glyphs.Ink, left, baseline, Resolve(Font().Color()) | Opaque);
    return true;
}

void TChartCanvas3D::CopyInk(std::span<const TTextCache::TInkPixel> ink, std::int64_t left,
                             std::int64_t baseline, QRgb color) {
    TChartSurface* surface = TargetSurface();
    std::uint8_t* pixels = surface->Pixels();
    const TRect clip = DeviceClipRect();
    const QRegion* region = DeviceClipRegion();
    const std::int64_t stride = surface->BytesPerLine();
    for (const TTextCache::TInkPixel& pixel : ink) {
        const std::int64_t px = left + pixel.X;
        const std::int64_t py = baseline + pixel.Y;
        if (px < clip.Left || px >= clip.Right || py < clip.Top || py >= clip.Bottom ||
            (region != nullptr &&
             !region->contains(QPoint(static_cast<int>(px), static_cast<int>(py))))) {
            continue;
        }
        QRgb& target = reinterpret_cast<QRgb*>(pixels + py * stride)[px];
        target = pixel.Coverage == 255 ? color : Blend(color, target, pixel.Coverage);
    }
}

void TChartCanvas3D::PaintText(std::int32_t x, std::int32_t y, std::int32_t angle,
                               std::string_view text, double zoom) {
    if (TargetSurface() == nullptr || text.empty()) {
        return;
    }
    std::int64_t zoomBits = 0;
    std::memcpy(&zoomBits, &zoom, sizeof zoomBits);
    if (Record(TPrimitive::Text, {x, y, angle, zoomBits}, false, text)) {
        return;
    }
    EnsureFont(zoom);
    const bool rotated = angle % 360 != 0;
    if (FScaled) {
        if (rotated || !FDeviceRaster || !PaintDeviceText(x, y, text)) {
            PaintPainterText(x, y, angle, text);
        }
        return;
    }
    if (!rotated && PaintCachedText(x, y, text)) {
        return;
    }
    if (std::abs(std::int64_t{x}) > PainterLimit || std::abs(std::int64_t{y}) > PainterLimit) {
        return; // far outside any picture
    }
    QPainter* painter = PreparePainter();
    if (painter == nullptr) {
        return;
    }
    const QString string = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QFontMetrics& metrics = FCurrentFont->Metrics;
    const std::int32_t width = FTextCache.Width(*FCurrentFont, text);
    const std::int32_t ascent = metrics.ascent();
    const std::int32_t descent = metrics.descent();
    const QPoint offset = TextOffset(FTextAlignment, width, ascent, descent);

    QPoint origin(x, y);
    if (rotated) {
        // The platform turns text counter-clockwise about its reference point; on a surface
        // whose y grows downwards that is a negative angle for the painter.
        painter->translate(x, y);
        painter->rotate(-static_cast<qreal>(angle));
        origin = QPoint(0, 0);
    }
    SetPainterMode(*painter, QPainter::CompositionMode_SourceOver);
    if (FTextBackMode == cbmOpaque) {
        painter->fillRect(QRect(origin.x() + offset.x(), origin.y() + offset.y() - ascent, width,
                                ascent + descent),
                          QColor::fromRgb(Resolve(FTextBackColor)));
    }
    SetPainterFont(*painter);
    SetPainterPen(*painter, QPen(QColor::fromRgb(Resolve(Font().Color()))));
    painter->drawText(origin + offset, string);
    if (rotated) {
        painter->setWorldTransform(TargetSurface()->LogicalTransform());
    }
}

void TChartCanvas3D::DrawTextAt(std::int32_t x, std::int32_t y, std::string_view text) {
    PaintText(x, y, 0, text, 1.0);
}

void TChartCanvas3D::DrawRotatedText(std::int32_t x, std::int32_t y, std::int32_t angle,
                                     std::string_view text) {
    Brush().SetStyle(bsClear);
    if (angle > 360) {
        angle -= 360;
    }
    PaintText(x, y, angle, text, TextZoom());
}

// --- Clipping -----------------------------------------------------------------------------------

void TChartCanvas3D::ClipChanged() {
    ++FClipSerial;
    FLineState.Ready = false;
}

void TChartCanvas3D::ClipToRectangle(const TRect& rect) {
    const TRect r = Normalized(rect.Left, rect.Top, rect.Right, rect.Bottom);
    switch (FClipKind) {
    case TClipKind::None:
        FClipRect = r;
        FClipKind = TClipKind::Rectangle;
        break;
    case TClipKind::Rectangle:
        FClipRect = IntersectRect(FClipRect, r);
        break;
    case TClipKind::Region:
        // The chart box cut to the series' room, again for every series of a repaint.
        if (FCutSource != FClipRegion || FCutRect != ToQRect(r)) {
            FCutSource = FClipRegion;
            FCutRect = ToQRect(r);
            FCutRegion = FClipRegion & FCutRect;
        }
        FClipRegion = FCutRegion;
        break;
    }
    ClipChanged();
}

bool TChartCanvas3D::RegionHolds(const TRect& bounds) {
    // At another scale the region's device pixels are not the logical ones the shape's
    // corners count.
    if (FClipKind != TClipKind::Region || FScaled) {
        return false;
    }
    if (FClipIndexSerial != FClipSerial) {
        FClipIndex.Assign(FClipRegion);
        FClipIndexSerial = FClipSerial;
    }
    return FClipIndex.ContainsRect(IntersectRect(bounds, SurfaceRect()));
}

void TChartCanvas3D::RemoveClipping() {
    FClipKind = TClipKind::None;
    FClipRegion = QRegion();
    ClipChanged();
}

void TChartCanvas3D::RestoreClip(const TSavedClip& saved) {
    FClipKind = saved.Kind;
    FClipRect = saved.Rect;
    FClipRegion = saved.Kind == TClipKind::Region ? saved.Region : QRegion();
    ClipChanged();
}

void TChartCanvas3D::ClipToChartBox(const TRect& rect, std::int32_t z0, std::int32_t z1) {
    if (!FIs3D) {
        // Inside the back wall's frame: its lines at left, top and right and the frame line at
        // the bottom together with the row above it stay outside.
        ClipToRectangle({Saturated(std::int64_t{rect.Left} + 1),
                         Saturated(std::int64_t{rect.Top} + 1), rect.Right,
                         Saturated(std::int64_t{rect.Bottom} - 1)});
        return;
    }
    const TView3DOptions* options = FView3DOptions;
    if (options != nullptr && options->Elevation() == 270 &&
        (options->Rotation() == 270 || options->Rotation() == 360)) {
        // Seen straight from above the box is a plain rectangle.
        const TPoint a = ProjectPoint(rect.Left, rect.Top, z0);
        const TPoint b = ProjectPoint(rect.Right, rect.Top, z1);
        FClipKind = TClipKind::Rectangle;
        FClipRect = Normalized(a.X, a.Y, b.X, b.Y);
        FClipRegion = QRegion();
        ClipChanged();
        return;
    }
    std::vector<QPoint> corners;
    corners.reserve(8);
    for (std::int32_t z : {z0, z1}) {
        for (std::int32_t y : {rect.Top, rect.Bottom}) {
            for (std::int32_t x : {rect.Left, rect.Right}) {
                const TPoint p = ProjectPoint(x, y, z);
                corners.emplace_back(p.X, p.Y);
            }
        }
    }
    FClipKind = TClipKind::Region;
    // Far beyond the panel the outline is cut off; within 16384 pixels of it the region is the
    // projected box exactly.
    constexpr double Guard = 16384;
    const QRectF guard(FBounds.Left - Guard, FBounds.Top - Guard,
                       static_cast<double>(FBounds.Right) - FBounds.Left + 2 * Guard,
                       static_cast<double>(FBounds.Bottom) - FBounds.Top + 2 * Guard);
    QPolygon outline = ConvexHull(std::move(corners));
    if (!guard.contains(QRectF(outline.boundingRect()))) {
        outline = ClipConvexPolygon(outline, guard);
    }
    if (outline != FBoxOutline) {
        FBoxOutline = outline;
        FBoxRegion = QRegion(outline, Qt::OddEvenFill);
    }
    FClipRegion = FBoxRegion;
    ClipChanged();
}

std::optional<TRect> TChartCanvas3D::ClipRectangle() const {
    if (FClipKind != TClipKind::Rectangle) {
        return std::nullopt;
    }
    return FClipRect;
}

TRect TChartCanvas3D::SurfaceRect() const {
    const TChartSurface* surface = TargetSurface();
    if (surface == nullptr) {
        return {};
    }
    return {0, 0, surface->Width(), surface->Height()};
}

TRect TChartCanvas3D::EffectiveClipRect() const {
    const TRect surface = SurfaceRect();
    switch (FClipKind) {
    case TClipKind::Rectangle:
        return IntersectRect(surface, FClipRect);
    case TClipKind::Region: {
        const QRect box = FClipRegion.boundingRect();
        return IntersectRect(
            surface, {box.left(), box.top(), box.left() + box.width(), box.top() + box.height()});
    }
    case TClipKind::None:
        break;
    }
    return surface;
}

// --- Colours and the off-screen image -----------------------------------------------------------

QRgb TChartCanvas3D::Resolve(TColor color) const {
    const QRgb rgb = ColorToRgb(color);
    if (DrawsMonochrome()) {
        // A two-colour image: every colour becomes black or white by its brightness.
        return qGray(rgb) >= 128 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    }
    return rgb;
}

void TChartCanvas3D::FreeBitmap() {
    if (FBitmapSurface != nullptr && TargetSurface() == FBitmapSurface.get()) {
        SetTargetSurface(nullptr);
    }
    if (FPainterSurface == FBitmapSurface.get()) {
        FPainterSurface = nullptr;
    }
    FBitmapSurface.reset();
    FBitmap = QImage();
    ForgetBackground();
}

void TChartCanvas3D::CreateBitmap(std::int32_t width, std::int32_t height, double ratio) {
    FBitmap = QImage(width, height, QImage::Format_RGB32);
    if (FBitmap.isNull()) {
        // Not enough memory for the image: nothing is drawn and the next repaint tries again.
        return;
    }
    FBitmap.fill(Qt::white);
    // The window's ratio, so that the image lands on it pixel for pixel.
    FBitmap.setDevicePixelRatio(ratio);
    FBitmapSurface = std::make_unique<TChartSurface>(FBitmap);
}

void TChartCanvas3D::StartDrawing(TView3DOptions* options, const TRect& panelRect, bool view3D) {
    FBounds = panelRect;
    FView3DOptions = options;
    FIs3D = view3D;
    FIsOrthogonal = false;
    FZoomFactor = 1.0;
    if (FIs3D) {
        // Without options the defaults of the options apply: the oblique view at 100 %.
        FIsOrthogonal = options == nullptr || options->Orthogonal();
        FZoomFactor = options != nullptr ? options->Zoom() * 0.01 : 1.0;
        FZoomText = options == nullptr || options->ZoomText();
        if (!FIsOrthogonal) {
            ComputeRotation();
        }
    }
}

TRect TChartCanvas3D::BeginDrawing(TChartSurface& windowSurface, TView3DOptions* options,
                                   const TRect& panelRect, bool view3D) {
    StartDrawing(options, panelRect, view3D);
    if (!FOffscreenBuffered) {
        SetTargetSurface(&windowSurface);
        return panelRect;
    }
    const std::int64_t width = std::int64_t{panelRect.Right} - panelRect.Left;
    const std::int64_t height = std::int64_t{panelRect.Bottom} - panelRect.Top;
    // The image holds the window's device pixels of the panel.
    const TDeviceScale& scale = windowSurface.Scale();
    const std::int64_t deviceWidth = width > 0 ? scale.Edge(width) : 0;
    const std::int64_t deviceHeight = height > 0 ? scale.Edge(height) : 0;
    if (!FBitmap.isNull() && (FBitmap.width() != deviceWidth || FBitmap.height() != deviceHeight ||
                              FBitmap.devicePixelRatio() != windowSurface.Ratio())) {
        FreeBitmap();
    }
    if (FBitmap.isNull() && deviceWidth > 0 && deviceHeight > 0 && deviceWidth <= INT32_MAX &&
        deviceHeight <= INT32_MAX) {
        CreateBitmap(static_cast<std::int32_t>(deviceWidth),
                     static_cast<std::int32_t>(deviceHeight), windowSurface.Ratio());
    }
    SetTargetSurface(FBitmapSurface.get());
    return {0, 0, static_cast<std::int32_t>(std::clamp<std::int64_t>(width, 0, INT32_MAX)),
            static_cast<std::int32_t>(std::clamp<std::int64_t>(height, 0, INT32_MAX))};
}

TRect TChartCanvas3D::BeginDrawingOn(TChartSurface& surface, TView3DOptions* options,
                                     const TRect& panelRect, bool view3D) {
    StartDrawing(options, panelRect, view3D);
    FDrawingOn = true;
    SetTargetSurface(&surface);
    return panelRect;
}

void TChartCanvas3D::EndDrawingOn() {
    if (TChartSurface* surface = TargetSurface()) {
        surface->EndPainting();
    }
    FDrawingOn = false;
    SetTargetSurface(FOffscreenBuffered ? FBitmapSurface.get() : nullptr);
}

void TChartCanvas3D::PresentBuffer(TChartSurface& destination, const TRect& panelRect) {
    if (FOffscreenBuffered) {
        if (FBitmapSurface != nullptr) {
            FBitmapSurface->EndPainting();
            destination.CopyFrom(FBitmap, panelRect.Left, panelRect.Top);
        }
        FIsDirty = false;
    }
    SetTargetSurface(FOffscreenBuffered ? FBitmapSurface.get() : nullptr);
}

bool TChartCanvas3D::RepaintFromBuffer(TChartSurface& windowSurface) {
    // A window whose ratio changed (it moved to another screen) needs the chart drawn again
    // at its new resolution.
    if (FIsDirty || !FOffscreenBuffered || FBitmapSurface == nullptr ||
        FBitmap.devicePixelRatio() != windowSurface.Ratio()) {
        return false;
    }
    FBitmapSurface->EndPainting();
    windowSurface.CopyFrom(FBitmap, 0, 0);
    return true;
}

} // namespace Korvatel
