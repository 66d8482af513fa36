#include "ChartCanvas3D.h"

#include "Rounding.h"
#include "SystemColors.h"
#include "View3DOptions.h"

#include <QPolygon>
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <numbers>

namespace {

constexpr QRgb Opaque = 0xFF000000u;

// The raster operation of a pen mode, for what the painter draws (shape outlines and fills,
// wide lines, points of a window surface). Copy is plain painting.
QPainter::CompositionMode CompositionFor(TPenMode mode) {
    switch (mode) {
    case pmBlack:
        return QPainter::RasterOp_ClearDestination;
    case pmWhite:
        return QPainter::RasterOp_SetDestination;
    case pmNop:
        return QPainter::CompositionMode_Destination;
    case pmNot:
        return QPainter::RasterOp_NotDestination;
    case pmCopy:
        return QPainter::CompositionMode_SourceOver;
    case pmNotCopy:
        return QPainter::RasterOp_NotSource;
    case pmMergePenNot:
        return QPainter::RasterOp_SourceOrNotDestination;
    case pmMaskPenNot:
        return QPainter::RasterOp_SourceAndNotDestination;
    case pmMergeNotPen:
        return QPainter::RasterOp_NotSourceOrDestination;
    case pmMaskNotPen:
        return QPainter::RasterOp_NotSourceAndDestination;
    case pmMerge:
        return QPainter::RasterOp_SourceOrDestination;
    case pmNotMerge:
        return QPainter::RasterOp_NotSourceAndNotDestination;
    case pmMask:
        return QPainter::RasterOp_SourceAndDestination;
    case pmNotMask:
        return QPainter::RasterOp_NotSourceOrNotDestination;
    case pmXor:
        return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor:
        return QPainter::RasterOp_NotSourceXorDestination;
    }
    return QPainter::CompositionMode_SourceOver;
}

Qt::BrushStyle HatchFor(TBrushStyle style) {
    switch (style) {
    case bsHorizontal:
        return Qt::HorPattern;
    case bsVertical:
        return Qt::VerPattern;
    case bsFDiagonal:
        return Qt::FDiagPattern;
    case bsBDiagonal:
        return Qt::BDiagPattern;
    case bsCross:
        return Qt::CrossPattern;
    case bsDiagCross:
        return Qt::DiagCrossPattern;
    default:
        return Qt::SolidPattern;
    }
}

bool IsHatch(TBrushStyle style) {
    return style != bsSolid && style != bsClear;
}

// Left, top, right, bottom in increasing order.
TRect Normalized(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
    return {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
}

// Coordinates handed to the painter stay within this range, so that its own arithmetic (and
// the width of a rectangle) cannot overflow; anything beyond it is far outside any picture.
constexpr std::int64_t PainterLimit = std::int64_t{1} << 30;

std::int32_t ToPainterRange(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp(value, -PainterLimit, PainterLimit));
}

QRect ToQRect(const TRect& rect) {
    const std::int32_t left = ToPainterRange(rect.Left);
    const std::int32_t top = ToPainterRange(rect.Top);
    if (rect.IsEmpty()) {
        return QRect(left, top, 0, 0);
    }
    return QRect(left, top, ToPainterRange(rect.Right) - left, ToPainterRange(rect.Bottom) - top);
}

std::int32_t Saturated(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

// Sums that wrap in 32 bits instead of overflowing: projected points of absurd coordinates
// must give some pixel, not undefined behaviour.
std::int32_t AddLow32(std::int64_t a, std::int64_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(a + b)));
}

// a * b / c for band edges of rectangles up to the full 32-bit range, rounded to nearest with
// halves away from zero like MulDiv; c > 0 and a, b >= 0.
std::int64_t ScaleEdge(std::int64_t a, std::int64_t b, std::int64_t c) {
    return (a * b * 2 + c) / (c * 2);
}

std::int32_t Channel(QRgb color, int shift) {
    return static_cast<std::int32_t>((color >> shift) & 0xFFu);
}

// The colour of band i of n from a to b: each channel moves by MulDiv(i, b - a, n - 1).
QRgb BandColor(QRgb a, QRgb b, std::int32_t i, std::int32_t n) {
    if (n <= 1) {
        // One band cannot spread two colours; it takes the start colour rather than dividing
        // by zero.
        return a;
    }
    QRgb result = Opaque;
    for (int shift : {0, 8, 16}) {
        const std::int32_t from = Channel(a, shift);
        const std::int32_t to = Channel(b, shift);
        const std::int32_t value = std::clamp(from + MulDiv(i, to - from, n - 1), 0, 255);
        result |= static_cast<QRgb>(value) << shift;
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

TChartCanvas3D::TChartCanvas3D() = default;

TChartCanvas3D::~TChartCanvas3D() {
    SetTargetSurface(nullptr);
}

// --- Surface state ------------------------------------------------------------------------------

void TChartCanvas3D::SetTargetSurface(TChartSurface* surface) {
    TCanvas3D::SetTargetSurface(surface);
    FLineState.Ready = false;
}

void TChartCanvas3D::SetTextBackgroundColor(TColor value) {
    const QRgb rgb = ColorToRgb(value);
    const TColor plain = static_cast<TColor>(qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16));
    if (plain != FTextBackColor) {
        FTextBackColor = plain;
        FLineState.Ready = false;
    }
}

void TChartCanvas3D::SetTextBackgroundMode(TCanvasBackMode value) {
    if (value != FTextBackMode) {
        FTextBackMode = value;
        FLineState.Ready = false;
    }
}

void TChartCanvas3D::SetOffscreenBuffered(bool value) {
    if (value == FOffscreenBuffered) {
        return;
    }
    FOffscreenBuffered = value;
    if (!value) {
        FreeBitmap();
        FIsDirty = true;
    }
}

void TChartCanvas3D::SetMonochrome(bool value) {
    if (value == FMonochrome) {
        return;
    }
    FMonochrome = value;
    FreeBitmap();
    FIsDirty = true;
    if (OnRequestRepaint) {
        OnRequestRepaint();
    }
}

void TChartCanvas3D::PlotPixel(std::int32_t x, std::int32_t y, TColor color) {
    if (Record(TPrimitive::Pixel, {x, y, Resolve(color)})) {
        return;
    }
    TChartSurface* surface = TargetSurface();
    if (surface == nullptr || !EffectiveClipRect().Contains(x, y) ||
        (FClipKind == TClipKind::Region && !FClipRegion.contains(QPoint(x, y)))) {
        return;
    }
    const QRgb rgb = Resolve(color) | Opaque;
    if (std::uint8_t* pixels = surface->Pixels()) {
        reinterpret_cast<QRgb*>(pixels + y * surface->BytesPerLine())[x] = rgb;
        return;
    }
    if (QPainter* painter = PreparePainter()) {
        SetPainterMode(*painter, QPainter::CompositionMode_SourceOver);
        SetPainterPen(*painter, QPen(QColor::fromRgb(rgb), 1));
        painter->drawPoint(x, y);
    }
}

// --- Pen, brush and font changes ----------------------------------------------------------------

void TChartCanvas3D::PenChanged() {
    FLineState.Ready = false;
    FLine.ResetPhase();
    FRecordStateDirty |= UsesPen;
}

void TChartCanvas3D::BrushChanged() {
    FRecordStateDirty |= UsesBrush;
}

void TChartCanvas3D::FontChanged() {
    FFontStale = true;
    FRecordStateDirty |= UsesFont;
}

// --- Lines --------------------------------------------------------------------------------------

bool TChartCanvas3D::PenIsVisible() const {
    return Pen().Visible() && Pen().Style() != psClear;
}

bool TChartCanvas3D::PenIsWide() const {
    return Pen().Width() > 1;
}

bool TChartCanvas3D::PrepareLine() {
    TChartSurface* surface = TargetSurface();
    if (surface == nullptr) {
        return false;
    }
    // Asking for the pixels every time also detaches the image from any copy made since the
    // last line, so a line never writes into someone else's picture.
    std::uint8_t* pixels = surface->Pixels();
    if (FLineState.Ready && pixels == FLineState.Pixels) {
        return FLineState.Visible;
    }
    FLineState = TLineState{};
    FLineState.Ready = true;
    FLineState.Pixels = pixels;
    FLineState.Visible = PenIsVisible();
    FLineState.Wide = PenIsWide();
    FLineState.OnBitmap = FBitmapSurface != nullptr && surface == FBitmapSurface.get();
    if (!FLineState.Visible || FLineState.Wide) {
        return FLineState.Visible;
    }
    const TChartPen& pen = Pen();
    FLine.SetPen(Resolve(pen.Color()), pen.Mode(),
                 TPixelLine::PatternFor(pen.Style(), pen.SmallDots()), FTextBackMode == cbmOpaque,
                 Resolve(FTextBackColor));
    const TRect clip = EffectiveClipRect();
    const QRegion* region = FClipKind == TClipKind::Region ? &FClipRegion : nullptr;
    if (pixels != nullptr) {
        FLine.SetTarget(pixels, surface->BytesPerLine(), clip, region);
    } else {
        FLineState.Collect = true;
        FLine.SetCollector(&FLinePoints, &FGapPoints, clip, region);
    }
    return true;
}

void TChartCanvas3D::DrawLine(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
    if (!PrepareLine()) {
        return;
    }
    if (!FRecording) {
        if (FKeptValid && FLineState.OnBitmap && !FLineState.Wide) {
            // The series' thousands of lines: the area they write, in a few comparisons.
            TouchLineBox({std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)});
        } else if (FKeptValid) {
            const std::int64_t points[] = {x0, y0, x1, y1};
            NoteWrite(TPrimitive::Line, points);
        }
    } else if (Record(TPrimitive::Line, {x0, y0, x1, y1})) {
        // Unpainted, but the dash pattern moves on as it would.
        if (!FLineState.Wide) {
            FLine.Advance(x0, y0, x1, y1);
        }
        return;
    }
    if (FLineState.Wide) {
        // Pens wider than a pixel are solid whatever their style, as on the platform.
        if (QPainter* painter = PreparePainter()) {
            SetPainterMode(*painter, CompositionFor(Pen().Mode()));
            SetPainterPen(*painter, ShapePen());
            painter->drawLine(x0, y0, x1, y1);
        }
        return;
    }
    FLine.Draw(x0, y0, x1, y1);
    if (FLineState.Collect) {
        FlushCollectedPoints();
    }
}

void TChartCanvas3D::FlushCollectedPoints() {
    if (FLinePoints.empty() && FGapPoints.empty()) {
        return;
    }
    if (QPainter* painter = PreparePainter()) {
        SetPainterMode(*painter, CompositionFor(Pen().Mode()));
        if (!FLinePoints.empty()) {
            SetPainterPen(*painter, QPen(QColor::fromRgb(Resolve(Pen().Color())), 1));
            painter->drawPoints(FLinePoints.data(), static_cast<int>(FLinePoints.size()));
        }
        if (!FGapPoints.empty()) {
            SetPainterPen(*painter, QPen(QColor::fromRgb(Resolve(FTextBackColor)), 1));
            painter->drawPoints(FGapPoints.data(), static_cast<int>(FGapPoints.size()));
        }
    }
    FLinePoints.clear();
    FGapPoints.clear();
}

void TChartCanvas3D::MovePenTo(std::int32_t x, std::int32_t y) {
    FPenPosition = {x, y};
    FLine.ResetPhase();
}

void TChartCanvas3D::DrawLineTo(std::int32_t x, std::int32_t y) {
    const TPoint from = FPenPosition;
    FPenPosition = {x, y};
    DrawLine(from.X, from.Y, x, y);
}

void TChartCanvas3D::DrawLinesTo(std::span<const TPoint> points) {
    if (points.empty()) {
        return;
    }
    // Recording, wide pens, surfaces without pixels and writes outside the off-screen image
    // need what DrawLine does for each line.
    if (!PrepareLine()) {
        FPenPosition = points.back();
        return;
    }
    if (FRecording || FLineState.Wide || FLineState.Collect ||
        (FKeptValid && !FLineState.OnBitmap)) {
        for (const TPoint& point : points) {
            DrawLineTo(point.X, point.Y);
        }
        return;
    }
    if (FKeptValid) {
        // Every line lies inside the box of all the points.
        TRect box{FPenPosition.X, FPenPosition.Y, FPenPosition.X, FPenPosition.Y};
        for (const TPoint& point : points) {
            box = {std::min(box.Left, point.X), std::min(box.Top, point.Y),
                   std::max(box.Right, point.X), std::max(box.Bottom, point.Y)};
        }
        TouchLineBox(box);
    }
    FLine.DrawChain(FPenPosition, points);
    FPenPosition = points.back();
}

void TChartCanvas3D::DrawHorizontalLine(std::int32_t x0, std::int32_t x1, std::int32_t y) {
    MovePenTo(x0, y);
    DrawLineTo(x1, y);
}

void TChartCanvas3D::DrawVerticalLine(std::int32_t x, std::int32_t y0, std::int32_t y1) {
    MovePenTo(x, y0);
    DrawLineTo(x, y1);
}

void TChartCanvas3D::DrawLineSegment(std::int32_t x0, std::int32_t y0, std::int32_t x1,
                                     std::int32_t y1) {
    MovePenTo(x0, y0);
    DrawLineTo(x1, y1);
}

void TChartCanvas3D::DrawPolyline(std::span<const TPoint> points) {
    if (points.empty()) {
        return;
    }
    MovePenTo(points[0].X, points[0].Y);
    for (std::size_t i = 1; i < points.size(); ++i) {
        DrawLineTo(points[i].X, points[i].Y);
    }
}

void TChartCanvas3D::DrawClosedOutline(std::span<const TPoint> points) {
    // One chain of current-position lines back to the first point paints every pixel of the
    // outline once, corners included, and keeps the dash pattern running round it.
    DrawPolyline(points);
    DrawLineTo(points[0].X, points[0].Y);
}

// --- Painter state ------------------------------------------------------------------------------

QPainter* TChartCanvas3D::PreparePainter() {
    TChartSurface* surface = TargetSurface();
    if (surface == nullptr) {
        return nullptr;
    }
    QPainter& painter = surface->Painter();
    if (!painter.isActive()) {
        return nullptr;
    }
    if (surface != FPainterSurface || surface->PainterSerial() != FPainterSerial) {
        // A painter we have not configured yet: assume nothing about its state.
        FPainterSurface = surface;
        FPainterSerial = surface->PainterSerial();
        FPainterClipSerial = 0;
        FPainterPenSet = false;
        FPainterBrushSet = false;
        FPainterModeSet = false;
        FPainterFontId = 0;
    }
    if (FPainterClipSerial != FClipSerial) {
        switch (FClipKind) {
        case TClipKind::None:
            painter.setClipping(false);
            break;
        case TClipKind::Rectangle:
            painter.setClipRect(ToQRect(IntersectRect(FClipRect, SurfaceRect())));
            break;
        case TClipKind::Region:
            painter.setClipRegion(FClipRegion);
            break;
        }
        FPainterClipSerial = FClipSerial;
    }
    return &painter;
}

void TChartCanvas3D::SetPainterPen(QPainter& painter, const QPen& pen) {
    if (!FPainterPenSet || FPainterPen != pen) {
        painter.setPen(pen);
        FPainterPen = pen;
        FPainterPenSet = true;
    }
}

void TChartCanvas3D::SetPainterBrush(QPainter& painter, const QBrush& brush) {
    if (!FPainterBrushSet || FPainterBrush != brush) {
        painter.setBrush(brush);
        FPainterBrush = brush;
        FPainterBrushSet = true;
    }
}

void TChartCanvas3D::SetPainterMode(QPainter& painter, QPainter::CompositionMode mode) {
    if (!FPainterModeSet || FPainterMode != mode) {
        painter.setCompositionMode(mode);
        FPainterMode = mode;
        FPainterModeSet = true;
    }
}

void TChartCanvas3D::SetPainterFont(QPainter& painter) {
    if (FPainterFontId != FCurrentFont->Id) {
        painter.setFont(FCurrentFont->Font);
        FPainterFontId = FCurrentFont->Id;
    }
}

QPen TChartCanvas3D::ShapePen() const {
    if (!PenIsVisible()) {
        return QPen(Qt::NoPen);
    }
    const TChartPen& pen = Pen();
    const QColor color = QColor::fromRgb(Resolve(pen.Color()));
    if (pen.Width() > 1) {
        return QPen(color, pen.Width(), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    }
    QPen result(color, 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    const TPixelLine::TPattern pattern = TPixelLine::PatternFor(pen.Style(), pen.SmallDots());
    if (!pattern.IsSolid()) {
        // The same runs as our own lines, for the outlines the painter draws (ellipses).
        QList<qreal> runs;
        std::uint32_t run = 0;
        bool on = true;
        for (std::uint32_t i = 0; i < pattern.Length; ++i) {
            if (pattern.IsOn(i) != on) {
                runs.append(run);
                run = 0;
                on = !on;
            }
            ++run;
        }
        runs.append(run);
        if (runs.size() % 2 != 0) {
            runs.append(0);
        }
        result.setDashPattern(runs);
    }
    return result;
}

QBrush TChartCanvas3D::BrushFor(const TChartBrush& brush) const {
    if (brush.HasImage()) {
        return QBrush(brush.Image());
    }
    if (brush.Style() == bsClear) {
        return QBrush(Qt::NoBrush);
    }
    return QBrush(QColor::fromRgb(Resolve(brush.Color())), HatchFor(brush.Style()));
}

void TChartCanvas3D::FillSolid(QPainter& painter, const TRect& rect, QRgb color) {
    const TRect visible = IntersectRect(rect, SurfaceRect());
    if (visible.IsEmpty() ||
        Record(TPrimitive::FillSolid,
               {visible.Left, visible.Top, visible.Right, visible.Bottom, color},
               CoversSurface(visible))) {
        return;
    }
    SetPainterMode(painter, QPainter::CompositionMode_SourceOver);
    painter.fillRect(ToQRect(visible), QColor::fromRgb(color));
}

void TChartCanvas3D::FillWithBrush(QPainter& painter, const TRect& rect, bool usePenMode) {
    const TChartBrush& brush = Brush();
    if (!brush.HasImage() && brush.Style() == bsClear) {
        return;
    }
    const TRect visible = IntersectRect(rect, SurfaceRect());
    // A solid fill in copy mode paints over whatever was there.
    const bool covers =
        !usePenMode && !brush.HasImage() && brush.Style() == bsSolid && CoversSurface(visible);
    if (visible.IsEmpty() ||
        Record(TPrimitive::FillBrush,
               {visible.Left, visible.Top, visible.Right, visible.Bottom, usePenMode ? 1 : 0},
               covers)) {
        return;
    }
    const QRect area = ToQRect(visible);
    if (!brush.HasImage() && IsHatch(brush.Style()) && FTextBackMode == cbmOpaque) {
        // The gaps between hatch lines show the text background colour.
        SetPainterMode(painter, usePenMode ? CompositionFor(Pen().Mode())
                                           : QPainter::CompositionMode_SourceOver);
        painter.fillRect(area, QColor::fromRgb(Resolve(FTextBackColor)));
    }
    SetPainterMode(painter, usePenMode ? CompositionFor(Pen().Mode())
                                       : QPainter::CompositionMode_SourceOver);
    painter.fillRect(area, BrushFor(brush));
}

template <typename Draw>
void TChartCanvas3D::FillShape(QPainter& painter, Draw&& draw) {
    const TChartBrush& brush = Brush();
    if (!brush.HasImage() && brush.Style() == bsClear) {
        return;
    }
    SetPainterMode(painter, CompositionFor(Pen().Mode()));
    SetPainterPen(painter, QPen(Qt::NoPen));
    if (!brush.HasImage() && IsHatch(brush.Style()) && FTextBackMode == cbmOpaque) {
        SetPainterBrush(painter, QBrush(QColor::fromRgb(Resolve(FTextBackColor))));
        draw();
    }
    SetPainterBrush(painter, BrushFor(brush));
    draw();
}

// --- Shapes and fills ---------------------------------------------------------------------------

void TChartCanvas3D::FillRectangle(const TRect& rect) {
    if (rect.IsEmpty()) {
        return;
    }
    if (QPainter* painter = PreparePainter()) {
        FillWithBrush(*painter, rect, false);
    }
}

void TChartCanvas3D::DrawRectangle(std::int32_t x0, std::int32_t y0, std::int32_t x1,
                                   std::int32_t y1) {
    const TRect r = Normalized(x0, y0, x1, y1);
    if (r.IsEmpty() || TargetSurface() == nullptr) {
        return;
    }
    const std::int64_t width = std::int64_t{r.Right} - r.Left;
    const std::int64_t height = std::int64_t{r.Bottom} - r.Top;
    if (!PenIsVisible()) {
        // Without a pen the platform fills one column and one row less.
        if (QPainter* painter = PreparePainter()) {
            FillWithBrush(*painter, {r.Left, r.Top, r.Right - 1, r.Bottom - 1}, true);
        }
        return;
    }
    if (PenIsWide()) {
        if (QPainter* painter = PreparePainter()) {
            FillWithBrush(*painter, {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}, true);
            if (Record(TPrimitive::RectangleOutline, {r.Left, r.Top, r.Right, r.Bottom})) {
                return;
            }
            SetPainterMode(*painter, CompositionFor(Pen().Mode()));
            SetPainterPen(*painter, ShapePen());
            SetPainterBrush(*painter, QBrush(Qt::NoBrush));
            painter->drawRect(ToQRect({r.Left, r.Top, r.Right - 1, r.Bottom - 1}));
        }
        return;
    }
    if (width > 2 && height > 2) {
        if (QPainter* painter = PreparePainter()) {
            FillWithBrush(*painter, {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}, true);
        }
    }
    const std::int32_t x1Inner = r.Right - 1;
    const std::int32_t y1Inner = r.Bottom - 1;
    if (width == 1 || height == 1) {
        // The outline is a single line; drawing it as four sides would paint pixels twice.
        const bool vertical = width == 1;
        MovePenTo(r.Left, r.Top);
        DrawLineTo(vertical ? r.Left : r.Right, vertical ? r.Bottom : r.Top);
        return;
    }
    const TPoint corners[] = {
        {r.Left, r.Top}, {x1Inner, r.Top}, {x1Inner, y1Inner}, {r.Left, y1Inner}};
    DrawClosedOutline(corners);
}

void TChartCanvas3D::DrawEllipse(std::int32_t x0, std::int32_t y0, std::int32_t x1,
                                 std::int32_t y1) {
    const TRect r = Normalized(x0, y0, x1, y1);
    if (std::int64_t{r.Right} - r.Left < 2 || std::int64_t{r.Bottom} - r.Top < 2) {
        return;
    }
    QPainter* painter = PreparePainter();
    if (painter == nullptr ||
        Record(TPrimitive::EllipseOutline, {r.Left, r.Top, r.Right, r.Bottom})) {
        return;
    }
    // The painter keeps the ellipse inside columns left..right-1 and rows top..bottom-1 when
    // given the box one pixel smaller.
    const QRectF box(r.Left, r.Top, static_cast<double>(std::int64_t{r.Right} - r.Left - 1),
                     static_cast<double>(std::int64_t{r.Bottom} - r.Top - 1));
    FillShape(*painter, [&] { painter->drawEllipse(box); });
    if (PenIsVisible()) {
        SetPainterMode(*painter, CompositionFor(Pen().Mode()));
        SetPainterPen(*painter, ShapePen());
        SetPainterBrush(*painter, QBrush(Qt::NoBrush));
        painter->drawEllipse(box);
    }
}

void TChartCanvas3D::DrawPolygon(std::span<const TPoint> points) {
    if (points.size() < 2) {
        return;
    }
    QPainter* painter = PreparePainter();
    if (painter == nullptr) {
        return;
    }
    QPolygon polygon(static_cast<int>(points.size()));
    std::vector<std::int64_t> corners;
    corners.reserve(points.size() * 2);
    for (std::size_t i = 0; i < points.size(); ++i) {
        polygon.setPoint(static_cast<int>(i), points[i].X, points[i].Y);
        corners.push_back(points[i].X);
        corners.push_back(points[i].Y);
    }
    if (!Record(TPrimitive::FillShape, corners)) {
        FillShape(*painter, [&] { painter->drawPolygon(polygon, Qt::OddEvenFill); });
    }
    if (!PenIsVisible()) {
        return;
    }
    if (PenIsWide()) {
        if (Record(TPrimitive::PolygonOutline, corners)) {
            return;
        }
        SetPainterMode(*painter, CompositionFor(Pen().Mode()));
        SetPainterPen(*painter, ShapePen());
        SetPainterBrush(*painter, QBrush(Qt::NoBrush));
        painter->drawPolygon(polygon);
        return;
    }
    DrawClosedOutline(points);
}

void TChartCanvas3D::FillGradient(const TRect& rect, TColor colorA, TColor colorB,
                                  TGradientDirection direction) {
    const TRect r = Normalized(rect.Left, rect.Top, rect.Right, rect.Bottom);
    QPainter* painter = PreparePainter();
    if (r.IsEmpty() || painter == nullptr) {
        return;
    }
    const QRgb a = Resolve(colorA);
    const QRgb b = Resolve(colorB);
    // The bands together paint every pixel of the rectangle.
    if (Record(TPrimitive::Gradient, {r.Left, r.Top, r.Right, r.Bottom, a, b, direction},
               CoversSurface(r))) {
        return;
    }
    const TNestedPrimitive nested(*this);
    const std::int64_t width = std::int64_t{r.Right} - r.Left;
    const std::int64_t height = std::int64_t{r.Bottom} - r.Top;
    auto clampEdge = [](std::int64_t value) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
    };

    switch (direction) {
    case gdTopBottom:
    case gdBottomTop:
    case gdLeftRight:
    case gdRightLeft: {
        const bool vertical = direction == gdTopBottom || direction == gdBottomTop;
        const bool reversed = direction == gdBottomTop || direction == gdRightLeft;
        const std::int64_t span = vertical ? height : width;
        const auto n = static_cast<std::int32_t>(std::min<std::int64_t>(span, 256));
        std::int64_t start = 0;
        for (std::int32_t i = 0; i < n; ++i) {
            const std::int64_t end = ScaleEdge(i + 1, span, n);
            // Band i lies between start and end from the starting edge.
            const std::int64_t from = reversed ? span - end : start;
            const std::int64_t to = reversed ? span - start : end;
            TRect band = r;
            if (vertical) {
                band.Top = clampEdge(r.Top + from);
                band.Bottom = clampEdge(r.Top + to);
            } else {
                band.Left = clampEdge(r.Left + from);
                band.Right = clampEdge(r.Left + to);
            }
            FillSolid(*painter, band, BandColor(a, b, i, n));
            start = end;
        }
        break;
    }
    case gdFromCenter: {
        // Rings from the edge inwards; each ring is painted as four strips so that no pixel is
        // painted more than once.
        const std::int64_t halfWidth = width / 2;
        const std::int64_t halfHeight = height / 2;
        const auto n = static_cast<std::int32_t>(
            std::clamp<std::int64_t>(std::max(halfWidth, halfHeight), 1, 256));
        for (std::int32_t i = 0; i < n; ++i) {
            const std::int64_t dx = ScaleEdge(i, halfWidth, n);
            const std::int64_t dy = ScaleEdge(i, halfHeight, n);
            const std::int64_t nextDx = ScaleEdge(i + 1, halfWidth, n);
            const std::int64_t nextDy = ScaleEdge(i + 1, halfHeight, n);
            const TRect outer{clampEdge(r.Left + dx), clampEdge(r.Top + dy),
                              clampEdge(r.Right - dx), clampEdge(r.Bottom - dy)};
            const QRgb color = BandColor(a, b, i, n);
            if (i == n - 1) {
                FillSolid(*painter, outer, color);
                break;
            }
            const TRect inner{clampEdge(r.Left + nextDx), clampEdge(r.Top + nextDy),
                              clampEdge(r.Right - nextDx), clampEdge(r.Bottom - nextDy)};
            FillSolid(*painter, {outer.Left, outer.Top, outer.Right, inner.Top}, color);
            FillSolid(*painter, {outer.Left, inner.Bottom, outer.Right, outer.Bottom}, color);
            FillSolid(*painter, {outer.Left, inner.Top, inner.Left, inner.Bottom}, color);
            FillSolid(*painter, {inner.Right, inner.Top, outer.Right, inner.Bottom}, color);
        }
        break;
    }
    case gdFromTopLeft:
    case gdFromBottomLeft: {
        // L-shaped bands round the starting corner, shrinking towards the opposite corner.
        const bool fromTop = direction == gdFromTopLeft;
        const auto n =
            static_cast<std::int32_t>(std::clamp<std::int64_t>(std::max(width, height), 1, 256));
        for (std::int32_t i = 0; i < n; ++i) {
            const std::int64_t dx = ScaleEdge(i, width, n);
            const std::int64_t dy = ScaleEdge(i, height, n);
            const std::int64_t nextDx = ScaleEdge(i + 1, width, n);
            const std::int64_t nextDy = ScaleEdge(i + 1, height, n);
            const QRgb color = BandColor(a, b, i, n);
            const std::int32_t left = clampEdge(r.Left + dx);
            const std::int32_t nextLeft = clampEdge(r.Left + nextDx);
            if (fromTop) {
                const std::int32_t top = clampEdge(r.Top + dy);
                const std::int32_t nextTop = clampEdge(r.Top + nextDy);
                FillSolid(*painter, {left, top, r.Right, nextTop}, color);
                FillSolid(*painter, {left, nextTop, nextLeft, r.Bottom}, color);
            } else {
                const std::int32_t bottom = clampEdge(r.Bottom - dy);
                const std::int32_t nextBottom = clampEdge(r.Bottom - nextDy);
                FillSolid(*painter, {left, nextBottom, r.Right, bottom}, color);
                FillSolid(*painter, {left, r.Top, nextLeft, nextBottom}, color);
            }
        }
        break;
    }
    }
}

// --- Text ---------------------------------------------------------------------------------------

void TChartCanvas3D::EnsureFont(double zoom) {
    if (!FFontStale && zoom == FFontZoom && FCurrentFont != nullptr) {
        return;
    }
    FCurrentFont = &FTextCache.FontFor(Font(), zoom);
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

namespace {

// Where the text's left end and baseline lie relative to its reference point.
QPoint TextOffset(std::int32_t alignment, std::int32_t width, std::int32_t ascent,
                  std::int32_t descent) {
    std::int32_t left = 0;
    switch (alignment & TextAlign::HorizontalMask) {
    case TextAlign::Right:
        left = -width;
        break;
    case TextAlign::Center:
        left = -(width / 2);
        break;
    default:
        break;
    }
    std::int32_t baseline = ascent;
    switch (alignment & TextAlign::VerticalMask) {
    case TextAlign::Baseline:
        baseline = 0;
        break;
    case TextAlign::Bottom:
        baseline = -descent;
        break;
    default:
        break;
    }
    return {left, baseline};
}

QRgb Blend(QRgb color, QRgb pixel, std::uint32_t coverage) {
    const std::uint32_t rest = 255 - coverage;
    auto mix = [&](int shift) {
        return ((((color >> shift) & 0xFFu) * coverage + ((pixel >> shift) & 0xFFu) * rest + 127) /
                255)
               << shift;
    };
    return Opaque | mix(16) | mix(8) | mix(0);
}

} // namespace

bool TChartCanvas3D::PaintCachedText(std::int32_t x, std::int32_t y, std::string_view text) {
    // Unturned text on an image: the glyph pixels of the text, kept from the first time it was
    // drawn in this font, are copied straight into the scan lines. They are the pixels the
    // painter itself draws (the text is rasterised by the painter once), at a fraction of the
    // cost of laying the text out again.
    TChartSurface* surface = TargetSurface();
    std::uint8_t* pixels = surface->Pixels();
    if (pixels == nullptr) {
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
    const TRect clip = EffectiveClipRect();
    const QRegion* region = FClipKind == TClipKind::Region ? &FClipRegion : nullptr;
    const std::int64_t stride = surface->BytesPerLine();
    auto visible = [&](std::int64_t px, std::int64_t py) {
        return px >= clip.Left && px < clip.Right && py >= clip.Top && py < clip.Bottom &&
               (region == nullptr ||
                region->contains(QPoint(static_cast<int>(px), static_cast<int>(py))));
    };
    auto pixelAt = [&](std::int64_t px, std::int64_t py) -> QRgb& {
        return reinterpret_cast<QRgb*>(pixels + py * stride)[px];
    };
    if (FTextBackMode == cbmOpaque) {
        const QRgb back = Resolve(FTextBackColor) | Opaque;
        const std::int64_t top = baseline - ascent;
        const std::int64_t bottom = std::min<std::int64_t>(baseline + descent, clip.Bottom);
        const std::int64_t right = std::min<std::int64_t>(left + glyphs.Width, clip.Right);
        for (std::int64_t py = std::max<std::int64_t>(top, clip.Top); py < bottom; ++py) {
            for (std::int64_t px = std::max<std::int64_t>(left, clip.Left); px < right; ++px) {
                if (region == nullptr || visible(px, py)) {
                    pixelAt(px, py) = back;
                }
            }
        }
    }
    const QRgb color = Resolve(Font().Color()) | Opaque;
    for (const TTextCache::TInkPixel& ink : glyphs.Ink) {
        const std::int64_t px = left + ink.X;
        const std::int64_t py = baseline + ink.Y;
        if (!visible(px, py)) {
            continue;
        }
        QRgb& pixel = pixelAt(px, py);
        pixel = ink.Coverage == 255 ? color : Blend(color, pixel, ink.Coverage);
    }
    return true;
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
        painter->setWorldTransform(QTransform());
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
        FClipRegion &= ToQRect(r);
        break;
    }
    ClipChanged();
}

void TChartCanvas3D::RemoveClipping() {
    FClipKind = TClipKind::None;
    FClipRegion = QRegion();
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
    FClipRegion = QRegion(ConvexHull(std::move(corners)), Qt::OddEvenFill);
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
    if (FMonochrome && FBitmapSurface != nullptr && TargetSurface() == FBitmapSurface.get()) {
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

void TChartCanvas3D::CreateBitmap(std::int32_t width, std::int32_t height) {
    FBitmap = QImage(width, height, QImage::Format_RGB32);
    if (FBitmap.isNull()) {
        // Not enough memory for the image: nothing is drawn and the next repaint tries again.
        return;
    }
    FBitmap.fill(Qt::white);
    FBitmapSurface = std::make_unique<TChartSurface>(FBitmap);
}

TRect TChartCanvas3D::BeginDrawing(TChartSurface& windowSurface, TView3DOptions* options,
                                   const TRect& panelRect, bool view3D) {
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
    if (!FOffscreenBuffered) {
        SetTargetSurface(&windowSurface);
        return panelRect;
    }
    const std::int64_t width = std::int64_t{panelRect.Right} - panelRect.Left;
    const std::int64_t height = std::int64_t{panelRect.Bottom} - panelRect.Top;
    if (!FBitmap.isNull() && (FBitmap.width() != width || FBitmap.height() != height)) {
        FreeBitmap();
    }
    if (FBitmap.isNull() && width > 0 && height > 0 && width <= INT32_MAX && height <= INT32_MAX) {
        CreateBitmap(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height));
    }
    SetTargetSurface(FBitmapSurface.get());
    return {0, 0, static_cast<std::int32_t>(std::clamp<std::int64_t>(width, 0, INT32_MAX)),
            static_cast<std::int32_t>(std::clamp<std::int64_t>(height, 0, INT32_MAX))};
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
    if (FIsDirty || !FOffscreenBuffered || FBitmapSurface == nullptr) {
        return false;
    }
    FBitmapSurface->EndPainting();
    windowSurface.CopyFrom(FBitmap, 0, 0);
    return true;
}

// --- Projection ---------------------------------------------------------------------------------

void TChartCanvas3D::ComputeRotation() {
    const double toRadians = std::numbers::pi / 180.0;
    const double rotation = FView3DOptions != nullptr ? FView3DOptions->Rotation() : 345;
    const double elevation = FView3DOptions != nullptr ? FView3DOptions->Elevation() : 345;
    const double tilt = FView3DOptions != nullptr ? FView3DOptions->Tilt() : 0;
    const double cr = std::cos(rotation * toRadians);
    const double sr = std::sin(rotation * toRadians);
    const double ce = std::cos(elevation * toRadians);
    const double se = std::sin(elevation * toRadians);
    const double ct = std::cos(tilt * toRadians);
    const double st = std::sin(tilt * toRadians);
    // Tilt (about the depth axis) after elevation (about the horizontal axis) after rotation
    // (about the vertical axis).
    FRotation = {ct * cr - st * se * sr,
                 -st * ce,
                 ct * sr + st * se * cr,
                 st * cr + ct * se * sr,
                 ct * ce,
                 st * sr - ct * se * cr,
                 -ce * sr,
                 se,
                 ce * cr};
}

void TChartCanvas3D::SetProjectionCentre(std::int32_t depth, const TRect&, const TRect& plotRect) {
    FXCenter = static_cast<std::int32_t>((std::int64_t{plotRect.Left} + plotRect.Right) / 2);
    FYCenter = static_cast<std::int32_t>((std::int64_t{plotRect.Top} + plotRect.Bottom) / 2);
    FZCenter = depth / 2;
    FXCenterOffset = FXCenter;
    FYCenterOffset = FYCenter;
    FPerspectiveFactor = 0.0;
    if (FView3DOptions != nullptr) {
        FXCenterOffset = AddLow32(FXCenter, FView3DOptions->HorizOffset());
        FYCenterOffset = AddLow32(FYCenter, FView3DOptions->VertOffset());
        if (FView3DOptions->Perspective() > 0) {
            FPerspectiveFactor = FView3DOptions->Perspective() / 35000.0;
        }
    }
}

TPoint TChartCanvas3D::ProjectPoint(std::int32_t x, std::int32_t y, std::int32_t z) const {
    if (!FIs3D) {
        return {x, y};
    }
    const long double zoom = FZoomFactor;
    if (FIsOrthogonal) {
        const std::int64_t px = std::int64_t{x} + z - FXCenter;
        const std::int64_t py = std::int64_t{y} - FYCenter - z;
        return {AddLow32(RoundHalfEvenLow32(zoom * px), FXCenterOffset),
                AddLow32(RoundHalfEvenLow32(zoom * py), FYCenterOffset)};
    }
    const double dx = static_cast<double>(std::int64_t{x} - FXCenter);
    const double dy = static_cast<double>(std::int64_t{y} - FYCenter);
    const double dz = static_cast<double>(std::int64_t{z} - FZCenter);
    const std::array<double, 9>& m = FRotation;
    const double rx = m[0] * dx + m[1] * dy + m[2] * dz;
    const double ry = m[3] * dx + m[4] * dy + m[5] * dz;
    const double rz = m[6] * dx + m[7] * dy + m[8] * dz;
    const long double scale =
        FPerspectiveFactor > 0 ? zoom * (1.0L - FPerspectiveFactor * rz) : zoom;
    return {AddLow32(RoundHalfEvenLow32(scale * rx), FXCenterOffset),
            AddLow32(RoundHalfEvenLow32(scale * ry), FYCenterOffset)};
}

TPoint TChartCanvas3D::UnprojectPoint(std::int32_t x, std::int32_t y, std::int32_t z) const {
    // Only the oblique view has an inverse; the perspective view gives the point back as it is.
    if (!FIs3D || !FIsOrthogonal || FZoomFactor == 0.0) {
        return {x, y};
    }
    const long double zoom = FZoomFactor;
    const std::int64_t px = std::int64_t{x} - FXCenterOffset;
    const std::int64_t py = std::int64_t{y} - FYCenterOffset;
    return {AddLow32(RoundHalfEvenLow32(px / zoom), std::int64_t{FXCenter} - z),
            AddLow32(RoundHalfEvenLow32(py / zoom), std::int64_t{FYCenter} + z)};
}

void TChartCanvas3D::EnterFrontPlane() {
    FWas3D = FIs3D;
    FIs3D = false;
}

void TChartCanvas3D::LeaveFrontPlane() {
    FIs3D = FWas3D;
}

// --- 3D forms -----------------------------------------------------------------------------------

void TChartCanvas3D::MovePenTo3D(std::int32_t x, std::int32_t y, std::int32_t z) {
    const TPoint p = ProjectPoint(x, y, z);
    MovePenTo(p.X, p.Y);
}

void TChartCanvas3D::DrawLineTo3D(std::int32_t x, std::int32_t y, std::int32_t z) {
    const TPoint p = ProjectPoint(x, y, z);
    DrawLineTo(p.X, p.Y);
}

void TChartCanvas3D::DrawLineSegment3D(std::int32_t x0, std::int32_t y0, std::int32_t x1,
                                       std::int32_t y1, std::int32_t z) {
    MovePenTo3D(x0, y0, z);
    DrawLineTo3D(x1, y1, z);
}

void TChartCanvas3D::DrawHorizontalLine3D(std::int32_t x0, std::int32_t x1, std::int32_t y,
                                          std::int32_t z) {
    MovePenTo3D(x0, y, z);
    DrawLineTo3D(x1, y, z);
}

void TChartCanvas3D::DrawVerticalLine3D(std::int32_t x, std::int32_t y0, std::int32_t y1,
                                        std::int32_t z) {
    MovePenTo3D(x, y0, z);
    DrawLineTo3D(x, y1, z);
}

void TChartCanvas3D::DrawDepthLine3D(std::int32_t x, std::int32_t y, std::int32_t z0,
                                     std::int32_t z1) {
    MovePenTo3D(x, y, z0);
    DrawLineTo3D(x, y, z1);
}

void TChartCanvas3D::DrawEllipse3D(std::int32_t x0, std::int32_t y0, std::int32_t x1,
                                   std::int32_t y1, std::int32_t z) {
    if (!FIs3D) {
        DrawEllipse(x0, y0, Saturated(std::int64_t{x1} + 1), Saturated(std::int64_t{y1} + 1));
        return;
    }
    const TPoint a = ProjectPoint(x0, y0, z);
    const TPoint b = ProjectPoint(x1, y1, z);
    DrawEllipse(a.X, a.Y, b.X, b.Y);
}

void TChartCanvas3D::DrawRectangle3D(const TRect& rect, std::int32_t z) {
    const TPoint corners[] = {
        ProjectPoint(rect.Left, rect.Top, z), ProjectPoint(rect.Right, rect.Top, z),
        ProjectPoint(rect.Right, rect.Bottom, z), ProjectPoint(rect.Left, rect.Bottom, z)};
    DrawPolygon(corners);
}

void TChartCanvas3D::DrawTextAt3D(std::int32_t x, std::int32_t y, std::int32_t z,
                                  std::string_view text) {
    const TPoint p = ProjectPoint(x, y, z);
    PaintText(p.X, p.Y, 0, text, TextZoom());
}

void TChartCanvas3D::DrawRotatedText3D(std::int32_t x, std::int32_t y, std::int32_t z,
                                       std::int32_t angle, std::string_view text) {
    const TPoint p = ProjectPoint(x, y, z);
    DrawRotatedText(p.X, p.Y, angle, text);
}

// --- The picture under the series ---------------------------------------------------------------

bool TChartCanvas3D::CoversSurface(const TRect& rect) const {
    const TRect surface = SurfaceRect();
    return FClipKind == TClipKind::None && !surface.IsEmpty() && rect.Left <= surface.Left &&
           rect.Top <= surface.Top && rect.Right >= surface.Right && rect.Bottom >= surface.Bottom;
}

void TChartCanvas3D::RecordState(std::uint32_t uses) {
    // Everything the pen, brush and font give the pixels, with colours as they reach the
    // surface (system colours looked up, a monochrome image's black and white); each written
    // before the first primitive that uses it and again after it changed.
    const std::uint32_t due = uses & FRecordStateDirty;
    FRecordStateDirty &= ~due;
    if ((due & UsesPen) != 0) {
        const TChartPen& pen = Pen();
        FRecord.insert(FRecord.end(),
                       {UsesPen, Resolve(pen.Color()), static_cast<std::uint64_t>(pen.Width()),
                        static_cast<std::uint64_t>(pen.Style()),
                        static_cast<std::uint64_t>(pen.Mode()),
                        static_cast<std::uint64_t>(pen.Visible()),
                        static_cast<std::uint64_t>(pen.SmallDots())});
    }
    if ((due & UsesBrush) != 0) {
        const TChartBrush& brush = Brush();
        FRecord.insert(
            FRecord.end(),
            {UsesBrush, Resolve(brush.Color()), static_cast<std::uint64_t>(brush.Style()),
             brush.HasImage() ? static_cast<std::uint64_t>(brush.Image().cacheKey()) : 0});
    }
    if ((due & UsesFont) != 0) {
        const TChartFont& font = Font();
        FRecord.insert(FRecord.end(),
                       {UsesFont, static_cast<std::uint64_t>(font.Height()),
                        static_cast<std::uint64_t>(font.PixelsPerInch()),
                        static_cast<std::uint64_t>(font.Style()), Resolve(font.Color()),
                        static_cast<std::uint64_t>(font.Charset()), font.Name().size()});
        RecordText(font.Name());
    }
}

std::uint32_t TChartCanvas3D::UsesOf(TPrimitive primitive) {
    switch (primitive) {
    case TPrimitive::Pixel:
    case TPrimitive::FillSolid:
    case TPrimitive::Gradient:
        return 0; // their colours are among the arguments
    case TPrimitive::Line:
    case TPrimitive::RectangleOutline:
    case TPrimitive::PolygonOutline:
        return UsesPen;
    case TPrimitive::FillBrush:
    case TPrimitive::FillShape:
    case TPrimitive::EllipseOutline:
        // The pen's mode (and for the ellipse its outline) and the brush.
        return UsesPen | UsesBrush;
    case TPrimitive::Text:
        return UsesFont;
    }
    return UsesPen | UsesBrush | UsesFont;
}

bool TChartCanvas3D::Record(TPrimitive primitive, std::initializer_list<std::int64_t> arguments,
                            bool covers, std::string_view text) {
    return Record(primitive, std::span<const std::int64_t>(arguments.begin(), arguments.size()),
                  covers, text);
}

bool TChartCanvas3D::Record(TPrimitive primitive, std::span<const std::int64_t> arguments,
                            bool covers, std::string_view text) {
    if (!FRecording) {
        if (FKeptValid) {
            NoteWrite(primitive, arguments);
        }
        return false;
    }
    if (FRecordDepth > 0) {
        return false;
    }
    if (FRecordCount == 0) {
        FRecordCovered = covers;
    }
    ++FRecordCount;
    RecordState(UsesOf(primitive));
    FRecord.push_back(static_cast<std::uint64_t>(primitive) << 56 | arguments.size());
    for (std::int64_t argument : arguments) {
        FRecord.push_back(static_cast<std::uint64_t>(argument));
    }
    FRecord.insert(FRecord.end(),
                   {Resolve(FTextBackColor), static_cast<std::uint64_t>(FTextBackMode),
                    static_cast<std::uint64_t>(static_cast<std::uint32_t>(FTextAlignment)),
                    FLine.Phase(), static_cast<std::uint64_t>(FClipKind),
                    static_cast<std::uint64_t>(static_cast<std::uint32_t>(FClipRect.Left)) << 32 |
                        static_cast<std::uint32_t>(FClipRect.Top),
                    static_cast<std::uint64_t>(static_cast<std::uint32_t>(FClipRect.Right)) << 32 |
                        static_cast<std::uint32_t>(FClipRect.Bottom),
                    text.size()});
    if (FClipKind == TClipKind::Region) {
        FRecord.push_back(static_cast<std::uint64_t>(FClipRegion.rectCount()));
        for (const QRect& rect : FClipRegion) {
            FRecord.push_back(static_cast<std::uint64_t>(static_cast<std::uint32_t>(rect.left()))
                                  << 32 |
                              static_cast<std::uint32_t>(rect.top()));
            FRecord.push_back(static_cast<std::uint64_t>(static_cast<std::uint32_t>(rect.width()))
                                  << 32 |
                              static_cast<std::uint32_t>(rect.height()));
        }
    }
    RecordText(text);
    return FVerifying;
}

void TChartCanvas3D::RecordText(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + i, std::min<std::size_t>(8, text.size() - i));
        FRecord.push_back(word);
    }
}

void TChartCanvas3D::BeginBackground(bool verify, bool record) {
    FRecording = record || verify;
    FVerifying = verify;
    FRecordStateDirty = UsesPen | UsesBrush | UsesFont;
    FRecordCovered = false;
    FRecordDepth = 0;
    FRecordCount = 0;
    FRecord.clear();
}

bool TChartCanvas3D::CanVerifyBackground() const {
    return FKeptValid && FOffscreenBuffered && FBitmapSurface != nullptr &&
           TargetSurface() == FBitmapSurface.get() && FKept.size() == FBitmap.size();
}

void TChartCanvas3D::ForgetBackground() {
    FKeptValid = false;
    FKeptRecord.clear();
    FPreviousRecord.clear();
}

bool TChartCanvas3D::EndBackground() {
    const bool recording = FRecording;
    const bool verifying = FVerifying;
    FRecording = false;
    FVerifying = false;
    // Only a picture of the off-screen image whose first primitive painted all of it is known
    // from its record alone.
    const bool usable = recording && FRecordCovered && FOffscreenBuffered &&
                        FBitmapSurface != nullptr && TargetSurface() == FBitmapSurface.get();
    if (verifying) {
        if (usable && CanVerifyBackground() && FRecord == FKeptRecord) {
            // Only what was written since the image last equalled the kept picture differs.
            const TRect touched = IntersectRect(FTouched, SurfaceRect());
            if (!touched.IsEmpty()) {
                std::uint8_t* pixels = FBitmapSurface->Pixels();
                const std::int64_t stride = FBitmap.bytesPerLine();
                const std::size_t bytes =
                    static_cast<std::size_t>(touched.Right - touched.Left) * sizeof(QRgb);
                for (std::int64_t row = touched.Top; row < touched.Bottom; ++row) {
                    const std::int64_t offset = row * stride + touched.Left * std::int64_t{4};
                    std::memcpy(pixels + offset, FKept.constBits() + offset, bytes);
                }
            }
            FTouched = {};
            FLineState.Ready = false;
            ++FBackgroundReuses;
            return true;
        }
        // Something under the series changed: the caller draws it again, live.
        ForgetBackground();
        return false;
    }
    if (!usable) {
        ForgetBackground();
        return true;
    }
    if (FRecord == FPreviousRecord) {
        // The same picture twice in a row: worth keeping for the repaints to come.
        if (FKept.size() != FBitmap.size() || FKept.format() != FBitmap.format()) {
            FKept = QImage(FBitmap.size(), FBitmap.format());
        }
        if (!FKept.isNull() && FKept.sizeInBytes() == FBitmap.sizeInBytes()) {
            std::memcpy(FKept.bits(), FBitmap.constBits(),
                        static_cast<std::size_t>(FKept.sizeInBytes()));
            FKeptRecord = FRecord;
            FKeptValid = true;
            FTouched = {};
        }
    } else {
        FKeptValid = false;
        FPreviousRecord.swap(FRecord);
    }
    return true;
}

void TChartCanvas3D::SaveDrawingState(TDrawingState& state) const {
    state.Pen.Assign(Pen());
    state.Brush.Assign(Brush());
    state.FontPixelsPerInch = Font().PixelsPerInch();
    state.Font.SetPixelsPerInch(state.FontPixelsPerInch);
    state.Font.Assign(Font());
    state.TextBackColor = FTextBackColor;
    state.TextBackMode = FTextBackMode;
    state.TextAlignment = FTextAlignment;
    state.PenPosition = FPenPosition;
    state.LinePattern = FLine.Pattern();
    state.LinePhase = FLine.Phase();
    state.Is3D = FIs3D;
    state.Was3D = FWas3D;
}

void TChartCanvas3D::RestoreDrawingState(const TDrawingState& state) {
    Pen().Assign(state.Pen);
    Brush().Assign(state.Brush);
    Font().SetPixelsPerInch(state.FontPixelsPerInch);
    Font().Assign(state.Font);
    SetTextBackgroundColor(state.TextBackColor);
    SetTextBackgroundMode(state.TextBackMode);
    FTextAlignment = state.TextAlignment;
    FPenPosition = state.PenPosition;
    // After the pen's change notification, which starts the pattern again.
    FLine.RestorePattern(state.LinePattern, state.LinePhase);
    FLineState.Ready = false;
    FIs3D = state.Is3D;
    FWas3D = state.Was3D;
}

void TChartCanvas3D::NoteWrite(TPrimitive primitive, std::span<const std::int64_t> arguments) {
    if (FBitmapSurface == nullptr || TargetSurface() != FBitmapSurface.get()) {
        return;
    }
    // Every primitive stays inside the clip; a line (also a wide one, with its round ends)
    // and a pixel stay near their points as well.
    TRect area;
    const bool line = primitive == TPrimitive::Line && arguments.size() == 4;
    if (line || (primitive == TPrimitive::Pixel && arguments.size() == 3)) {
        // A one-pixel line was just prepared, so the line routine holds the clip; the series'
        // thousands of lines take it from there.
        const bool thin = line && FLineState.Ready && !FLineState.Wide;
        const TRect clip = thin ? FLine.Clip() : EffectiveClipRect();
        const std::int64_t margin = line && !thin ? std::max<std::int64_t>(1, Pen().Width()) : 0;
        const std::int64_t x1 = line ? arguments[2] : arguments[0];
        const std::int64_t y1 = line ? arguments[3] : arguments[1];
        area = {
            Saturated(std::max<std::int64_t>(std::min(arguments[0], x1) - margin, clip.Left)),
            Saturated(std::max<std::int64_t>(std::min(arguments[1], y1) - margin, clip.Top)),
            Saturated(std::min<std::int64_t>(std::max(arguments[0], x1) + margin + 1, clip.Right)),
            Saturated(
                std::min<std::int64_t>(std::max(arguments[1], y1) + margin + 1, clip.Bottom))};
    } else {
        area = EffectiveClipRect();
    }
    FTouched = UnionRect(FTouched, area);
}

void TChartCanvas3D::TouchLineBox(const TRect& corners) {
    const TRect& clip = FLine.Clip();
    const TRect area{std::max(corners.Left, clip.Left), std::max(corners.Top, clip.Top),
                     static_cast<std::int32_t>(
                         std::min<std::int64_t>(std::int64_t{corners.Right} + 1, clip.Right)),
                     static_cast<std::int32_t>(
                         std::min<std::int64_t>(std::int64_t{corners.Bottom} + 1, clip.Bottom))};
    FTouched = UnionRect(FTouched, area);
}
