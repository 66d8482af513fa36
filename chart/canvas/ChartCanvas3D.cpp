// SPDX-License-Identifier: MIT
// The canvas in five files: this one holds the surface state, lines, the painter state and
// the shapes and fills; ChartCanvasText.cpp text, clipping and the off-screen image;
// ChartCanvas3DForms.cpp the projection and the 3D forms; ChartCanvasRecord.cpp the record of
// the picture under the series; ChartCanvasDevice.cpp what surfaces of another device scale
// than 1 need besides.

#include <korvatel/canvas/ChartCanvas3D.h>

#include <korvatel/canvas/ChartCanvasDetail.h>
#include <korvatel/core/Rounding.h>
#include <korvatel/canvas/SystemColors.h>

#include <QPolygon>
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace Korvatel {

using namespace CanvasDetail;

namespace {

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

// The picture as a monochrome image shows it: every pixel black or white by its brightness,
// and either opaque or transparent.
QImage TwoColourImage(const QImage& image) {
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            const QRgb pixel = line[x];
            line[x] =
                (qAlpha(pixel) >= 128 ? Opaque : 0u) | (qGray(pixel) >= 128 ? 0x00FFFFFFu : 0u);
        }
    }
    return result;
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
    UpdateDeviceScale();
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

void TChartCanvas3D::SetAntialiasing(bool value) {
    if (value == FAntialiasing) {
        return;
    }
    FAntialiasing = value;
    // Lines take another route and text other glyphs; no kept picture is the new one.
    FLineState.Ready = false;
    FFontStale = true;
    ForgetBackground();
    FIsDirty = true;
    if (OnRequestRepaint) {
        OnRequestRepaint();
    }
}

void TChartCanvas3D::AssignSettings(const TCanvas3D& source) {
    SetMonochrome(source.Monochrome());
    if (const auto* canvas = dynamic_cast<const TChartCanvas3D*>(&source)) {
        SetAntialiasing(canvas->Antialiasing());
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
    if (FScaled) {
        // The device pixels of the logical one.
        if (QPainter* painter = PreparePainter()) {
            SetPainterMode(*painter, QPainter::CompositionMode_SourceOver);
            FillDevice(*painter, {x, y, x + 1, y + 1}, QBrush(QColor::fromRgb(rgb)));
        }
        return;
    }
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
    if (FLineState.Ready && pixels == FLineState.Pixels && FLineState.Waived == FRegionWaived) {
        return FLineState.Visible;
    }
    FLineState = TLineState{};
    FLineState.Ready = true;
    FLineState.Waived = FRegionWaived;
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
    if ((FScaled && pixels == nullptr) || (FAntialiasing && pen.Mode() == pmCopy)) {
        // A painter of another scale (a printer, a PDF) strokes the line, and so does a smooth
        // canvas.
        FLineState.Stroke = true;
        return true;
    }
    const TRect clip = DeviceClipRect();
    const QRegion* region = DeviceClipRegion();
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
        if (FKeptValid && FLineState.OnBitmap && !FLineState.Wide && !FLineState.Stroke) {
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
            if (CentresOnPixels()) {
                // Centred on the pixels' centres, as the one-pixel line is.
                UseLogicalSpace(*painter);
                painter->drawLine(QLineF(x0 + 0.5, y0 + 0.5, x1 + 0.5, y1 + 0.5));
            } else {
                painter->drawLine(x0, y0, x1, y1);
            }
        }
        return;
    }
    if (FLineState.Stroke) {
        StrokeLine(x0, y0, x1, y1);
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
    if (FRecording || FLineState.Wide || FLineState.Collect || FLineState.Stroke ||
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
        FPainterSmoothSet = false;
        FPainterFontId = 0;
        FPainterSpace = TPainterSpace::Unknown;
    }
    if (FPainterClipSerial != FClipSerial || FPainterClipWaived != FRegionWaived) {
        if (FDeviceRaster) {
            // On an image of another scale the clip takes whole device pixels, as fills do.
            UseDeviceSpace(painter);
        } else if (FScaled) {
            UseLogicalSpace(painter);
        }
        switch (AppliedClipKind()) {
        case TClipKind::None:
            // Dropped, not merely switched off: the raster engine keeps a clip that was
            // switched off and reuses it, switched off, for the next one set, so that a clip
            // removed once (a legend symbol's) would leave the next (a 3D chart box's region)
            // without effect.
            painter.setClipRegion(QRegion(), Qt::NoClip);
            break;
        case TClipKind::Rectangle:
            painter.setClipRect(FDeviceRaster ? ToQRect(DeviceClipRect())
                                              : ToQRect(EffectiveClipRect()));
            break;
        case TClipKind::Region:
            painter.setClipRegion(FDeviceRaster ? *DeviceClipRegion() : FClipRegion);
            break;
        }
        FPainterClipSerial = FClipSerial;
        FPainterClipWaived = FRegionWaived;
    }
    if (!FPainterSmoothSet || FPainterSmooth != FAntialiasing) {
        // Set either way: a painter someone else opened may come with smoothing on, and the
        // two-colour rules hold only without it. Text follows its font's strategy, which
        // TextAntialiasing merely allows.
        painter.setRenderHint(QPainter::Antialiasing, FAntialiasing);
        if (FAntialiasing) {
            painter.setRenderHint(QPainter::TextAntialiasing, true);
        }
        FPainterSmooth = FAntialiasing;
        FPainterSmoothSet = true;
    }
    if (FScaled) {
        // Shapes, text and wide pens take logical pixels; fills switch to device pixels.
        UseLogicalSpace(painter);
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
    // On an image of a fractional scale a one-pixel outline takes a line's width of device
    // pixels, as the canvas's own lines do (TDeviceScale::LineWidth), rather than the scale's
    // share, which the painter would round to one pixel here and two there.
    const double width =
        FDeviceRaster ? static_cast<double>(FScale.LineWidth()) / FScale.Value() : 1.0;
    QPen result(color, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
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

bool TChartCanvas3D::FillPixels(const TRect& rect, QRgb color) {
    TChartSurface* surface = TargetSurface();
    std::uint8_t* pixels =
        surface != nullptr && AppliedClipKind() != TClipKind::Region ? surface->Pixels()
                                                                     : nullptr;
    if (pixels == nullptr) {
        return false;
    }
    // On a surface of another scale the fill takes the device pixels whose centres lie inside
    // it, as every other fill there does.
    const TRect area = FScaled ? IntersectRect(FScale.Inside(rect), DeviceClipRect())
                               : IntersectRect(rect, EffectiveClipRect());
    if (area.IsEmpty()) {
        return true;
    }
    const std::int64_t stride = surface->BytesPerLine();
    const QRgb value = color | Opaque;
    for (std::int64_t y = area.Top; y < area.Bottom; ++y) {
        TPixelLine::FillRun(reinterpret_cast<QRgb*>(pixels + y * stride), area.Left, area.Right - 1,
                            value);
    }
    return true;
}

void TChartCanvas3D::FillSolid(QPainter& painter, const TRect& rect, QRgb color) {
    const TRect visible = IntersectRect(rect, SurfaceRect());
    if (visible.IsEmpty() ||
        Record(TPrimitive::FillSolid,
               {visible.Left, visible.Top, visible.Right, visible.Bottom, color},
               CoversSurface(visible)) ||
        FillPixels(visible, color)) {
        return;
    }
    SetPainterMode(painter, QPainter::CompositionMode_SourceOver);
    if (FScaled) {
        FillDevice(painter, visible, QBrush(QColor::fromRgb(color)));
        return;
    }
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
    // A solid colour that replaces what lies under it goes straight into the scan lines.
    if (!brush.HasImage() && brush.Style() == bsSolid && (!usePenMode || Pen().Mode() == pmCopy) &&
        FillPixels(visible, Resolve(brush.Color()))) {
        return;
    }
    const QRect area = ToQRect(visible);
    if (!brush.HasImage() && IsHatch(brush.Style()) && FTextBackMode == cbmOpaque) {
        // The gaps between hatch lines show the text background colour.
        SetPainterMode(painter, usePenMode ? CompositionFor(Pen().Mode())
                                           : QPainter::CompositionMode_SourceOver);
        if (FScaled) {
            FillDevice(painter, visible, QBrush(QColor::fromRgb(Resolve(FTextBackColor))));
        } else {
            painter.fillRect(area, QColor::fromRgb(Resolve(FTextBackColor)));
        }
    }
    SetPainterMode(painter, usePenMode ? CompositionFor(Pen().Mode())
                                       : QPainter::CompositionMode_SourceOver);
    if (FScaled) {
        FillDevice(painter, visible, BrushFor(brush));
        return;
    }
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
    const TRegionWaiver waiver(*this, rect);
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
    const TRegionWaiver waiver(*this, Grown(r, PenMargin()));
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
            const QRect outline = ToQRect({r.Left, r.Top, r.Right - 1, r.Bottom - 1});
            if (CentresOnPixels()) {
                // Centred on the pixels' centres, as the one-pixel outline is.
                painter->drawRect(QRectF(outline).translated(0.5, 0.5));
            } else {
                painter->drawRect(outline);
            }
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
    const TRegionWaiver waiver(*this, Grown(r, PenMargin()));
    QPainter* painter = PreparePainter();
    if (painter == nullptr ||
        Record(TPrimitive::EllipseOutline, {r.Left, r.Top, r.Right, r.Bottom})) {
        return;
    }
    // The painter keeps the ellipse inside columns left..right-1 and rows top..bottom-1 when
    // given the box one pixel smaller.
    // At another scale the outline runs through the pixels' centres (half a pixel further in),
    // so that a pen one logical pixel wide covers the same columns and rows.
    const double inset = CentresOnPixels() ? 0.5 : 0.0;
    const QRectF box(r.Left + inset, r.Top + inset,
                     static_cast<double>(std::int64_t{r.Right} - r.Left - 1),
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
    TRect box{points[0].X, points[0].Y, points[0].X, points[0].Y};
    for (const TPoint& point : points) {
        box = {std::min(box.Left, point.X), std::min(box.Top, point.Y),
               std::max(box.Right, point.X), std::max(box.Bottom, point.Y)};
    }
    const TRegionWaiver waiver(*this, Grown(box, PenMargin() + 1));
    QPainter* painter = PreparePainter();
    if (painter == nullptr) {
        return;
    }
    // The painter fills the pixels whose centres lie inside; the outline's pixels are those
    // nearest to the lines through the corner pixels' centres. The fill runs through the same
    // centres, so that it stays inside the outline on slanted edges too; a 64th of a pixel
    // short of them (the painter's step), so that a pixel centre on an axis-aligned edge
    // counts as inside on the left and top and as outside on the right and bottom, as a
    // rectangle's fill has it.
    // Smooth, the fill's edges blend instead: through the corner pixels' centres under an
    // outline, which covers the half pixels beyond them, and along the pixels' edges without
    // one, so that an axis-aligned polygon covers just the pixels a rectangle's fill does.
    constexpr double CentreShift = 0.5 - 1.0 / 64;
    const double shift = !FAntialiasing ? CentreShift : PenIsVisible() ? 0.5 : 0.0;
    QPolygonF& centres = FPolygonCentres;
    centres.resize(static_cast<qsizetype>(points.size()));
    std::vector<std::int64_t>& corners = FPolygonCorners;
    corners.clear();
    for (std::size_t i = 0; i < points.size(); ++i) {
        centres[static_cast<qsizetype>(i)] = QPointF(points[i].X + shift, points[i].Y + shift);
        corners.push_back(points[i].X);
        corners.push_back(points[i].Y);
    }
    if (!Record(TPrimitive::FillShape, corners)) {
        FillShape(*painter, [&] { painter->drawPolygon(centres, Qt::OddEvenFill); });
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
        QPolygon polygon(static_cast<int>(points.size()));
        for (std::size_t i = 0; i < points.size(); ++i) {
            polygon.setPoint(static_cast<int>(i), points[i].X, points[i].Y);
        }
        if (CentresOnPixels()) {
            // Centred on the pixels' centres, as the one-pixel outline is.
            painter->drawPolygon(QPolygonF(polygon).translated(0.5, 0.5));
        } else {
            painter->drawPolygon(polygon);
        }
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

void TChartCanvas3D::DrawImage(const TRect& rect, const QImage& image, TPictureBackMode mode) {
    const TRect r = Normalized(rect.Left, rect.Top, rect.Right, rect.Bottom);
    if (r.IsEmpty() || image.isNull()) {
        return;
    }
    QPainter* painter = PreparePainter();
    // The picture's cache key changes with every change of its pixels, so key and size stand
    // for the pixels in the record.
    if (painter == nullptr ||
        Record(TPrimitive::Image,
               {r.Left, r.Top, r.Right, r.Bottom, mode, static_cast<std::int64_t>(image.cacheKey()),
                image.width(), image.height()})) {
        return;
    }
    const QImage source = DrawsMonochrome() ? TwoColourImage(image) : image;
    SetPainterMode(*painter, QPainter::CompositionMode_SourceOver);
    const QRect area = ToQRect(r);
    switch (mode) {
    case pbmStretch:
        painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter->drawImage(area, source);
        painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
        break;
    case pbmTile:
        painter->setBrushOrigin(area.topLeft());
        painter->fillRect(area, QBrush(source));
        painter->setBrushOrigin(0, 0);
        break;
    case pbmCenter: {
        // Only the part inside the rectangle is handed over, so no clip is needed for it.
        const std::int64_t left = r.Left + (std::int64_t{r.Right} - r.Left - image.width()) / 2;
        const std::int64_t top = r.Top + (std::int64_t{r.Bottom} - r.Top - image.height()) / 2;
        const TRect visible =
            IntersectRect(r, {Saturated(left), Saturated(top), Saturated(left + image.width()),
                              Saturated(top + image.height())});
        if (!visible.IsEmpty()) {
            painter->drawImage(QPoint(visible.Left, visible.Top), source,
                               QRect(static_cast<int>(visible.Left - left),
                                     static_cast<int>(visible.Top - top), visible.Width(),
                                     visible.Height()));
        }
        break;
    }
    }
}

} // namespace Korvatel
