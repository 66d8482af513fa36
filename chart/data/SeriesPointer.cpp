// SPDX-License-Identifier: MIT
#include <korvatel/data/SeriesPointer.h>

#include <korvatel/canvas/Canvas3D.h>
#include <korvatel/core/ChartErrors.h>
#include <korvatel/data/ChartSeries.h>
#include <korvatel/core/ChartStrings.h>
#include <korvatel/core/Rounding.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <string>

namespace Korvatel {

namespace {

TPoint PixelAt(std::int64_t x, std::int64_t y) {
    return {ClampToInt32(x), ClampToInt32(y)};
}

// A stroke from a to b with both ends painted: the canvas's lines leave their end pixel out,
// so the end is painted by a line one pixel long of its own. A stroke of no length is one
// pixel.
void Stroke(TCanvas3D& canvas, const TPoint& a, const TPoint& b) {
    canvas.MovePenTo(a.X, a.Y);
    canvas.DrawLineTo(b.X, b.Y);
    canvas.MovePenTo(b.X, b.Y);
    canvas.DrawLineTo(ClampToInt32(std::int64_t{b.X} + 1), b.Y);
}

TRowShape RowShapeOf(TSeriesPointerStyle style) {
    switch (style) {
    case ptsTriangle:
        return rsTriangle;
    case ptsDownTriangle:
        return rsDownTriangle;
    case ptsDiamond:
        return rsDiamond;
    default:
        return rsEllipse;
    }
}

} // namespace

TSeriesPointer::TSeriesPointer(TChartSeries* owner, bool visible)
    : FOwner(owner), FVisible(visible) {
    // The defaults are in place before the change reports are wired, so that building the
    // pointer asks for no repaint.
    FPen.SetOnChange([this] { Changed(); });
    FBrush.SetOnChange([this] { Changed(); });
}

void TSeriesPointer::Changed() {
    if (FOwner != nullptr) {
        FOwner->StyleChanged();
    }
}

void TSeriesPointer::SetVisible(bool value) {
    SetProperty(FVisible, value);
}

void TSeriesPointer::SetStyle(TSeriesPointerStyle value) {
    SetProperty(FStyle, value);
}

void TSeriesPointer::SetSize(std::int32_t& field, std::int32_t value) {
    if (value < 0 || value > LargestSize) {
        throw ChartException(FormatMessage(ChartStrings::PointerSize, 0, LargestSize));
    }
    SetProperty(field, value);
}

void TSeriesPointer::SetHorizSize(std::int32_t value) {
    SetSize(FHorizSize, value);
}

void TSeriesPointer::SetVertSize(std::int32_t value) {
    SetSize(FVertSize, value);
}

void TSeriesPointer::SetInflateMargins(bool value) {
    SetProperty(FInflateMargins, value);
}

void TSeriesPointer::SetDraw3D(bool value) {
    SetProperty(FDraw3D, value);
}

void TSeriesPointer::Assign(const TSeriesPointer& source) {
    if (&source == this) {
        return;
    }
    FVisible = source.FVisible;
    FStyle = source.FStyle;
    FHorizSize = source.FHorizSize;
    FVertSize = source.FVertSize;
    FInflateMargins = source.FInflateMargins;
    FDraw3D = source.FDraw3D;
    FPen.Assign(source.FPen);
    FBrush.Assign(source.FBrush);
    Changed();
}

// --- Drawing ---------------------------------------------------------------------------------

std::int32_t TSeriesPointer::HorizExtent() const {
    // A wide pen is centred on the outline, so half of it lies outside the shape.
    const std::int64_t pen = FPen.Visible() && FPen.Width() > 1 ? FPen.Width() / 2 : 0;
    return ClampToInt32(std::int64_t{FHorizSize} + pen);
}

std::int32_t TSeriesPointer::VertExtent() const {
    const std::int64_t pen = FPen.Visible() && FPen.Width() > 1 ? FPen.Width() / 2 : 0;
    return ClampToInt32(std::int64_t{FVertSize} + pen);
}

TRect TSeriesPointer::Box(std::int32_t x, std::int32_t y) const {
    const std::int64_t h = HorizExtent();
    const std::int64_t v = VertExtent();
    return {ClampToInt32(x - h), ClampToInt32(y - v), ClampToInt32(x + h + 1),
            ClampToInt32(y + v + 1)};
}

TColor TSeriesPointer::FillColor(TColor pointColor) const {
    return FBrush.Color() == clDefault ? pointColor : FBrush.Color();
}

void TSeriesPointer::Prepare(TCanvas3D& canvas) const {
    canvas.ApplyChartPen(FPen);
    canvas.Brush().Assign(FBrush);
}

void TSeriesPointer::Draw(TCanvas3D& canvas, std::int32_t x, std::int32_t y,
                          TColor pointColor) const {
    Prepare(canvas);
    DrawShape(canvas, x, y, pointColor);
}

void TSeriesPointer::DrawInRect(TCanvas3D& canvas, const TRect& rect, TColor pointColor) const {
    if (rect.IsEmpty()) {
        return;
    }
    // Centred where a legend's line crosses the rectangle, and no larger than fits on either
    // side of that centre.
    const std::int64_t x = (std::int64_t{rect.Left} + rect.Right) / 2;
    const std::int64_t y = (std::int64_t{rect.Top} + rect.Bottom) / 2;
    const std::int64_t h = std::min({std::int64_t{FHorizSize}, x - rect.Left, rect.Right - 1 - x});
    const std::int64_t v = std::min({std::int64_t{FVertSize}, y - rect.Top, rect.Bottom - 1 - y});
    Prepare(canvas);
    DrawSized(canvas, Low32(x), Low32(y), pointColor, h, v);
}

void TSeriesPointer::DrawShape(TCanvas3D& canvas, std::int32_t x, std::int32_t y,
                               TColor pointColor) const {
    DrawSized(canvas, x, y, pointColor, FHorizSize, FVertSize);
}

void TSeriesPointer::DrawSized(TCanvas3D& canvas, std::int32_t x, std::int32_t y, TColor pointColor,
                               std::int64_t h, std::int64_t v) const {
    const TColor fill = FillColor(pointColor);
    const bool penShown = FPen.Visible() && FPen.Style() != psClear;
    const bool widePen = penShown && FPen.Width() > 1;
    const TPoint left = PixelAt(x - h, y);
    const TPoint right = PixelAt(x + h, y);
    const TPoint top = PixelAt(x, y - v);
    const TPoint bottom = PixelAt(x, y + v);
    const TPoint topLeft = PixelAt(x - h, y - v);
    const TPoint topRight = PixelAt(x + h, y - v);
    const TPoint bottomLeft = PixelAt(x - h, y + v);
    const TPoint bottomRight = PixelAt(x + h, y + v);
    const TPoint beyond = PixelAt(x + h + 1, y + v + 1);

    switch (FStyle) {
    case ptsRectangle:
        canvas.Brush().SetColor(fill);
        if (penShown) {
            canvas.DrawRectangle(topLeft.X, topLeft.Y, beyond.X, beyond.Y);
        } else {
            // Without a pen the rectangle's fill would lose a column and a row.
            canvas.FillRectangle({topLeft.X, topLeft.Y, beyond.X, beyond.Y});
        }
        break;
    case ptsCircle:
    case ptsTriangle:
    case ptsDownTriangle:
    case ptsDiamond:
        canvas.Brush().SetColor(fill);
        if (!widePen) {
            canvas.DrawRowShape(x, y, h, v, RowShapeOf(FStyle), penShown);
        } else if (FStyle == ptsCircle) {
            canvas.DrawEllipse(topLeft.X, topLeft.Y, beyond.X, beyond.Y);
        } else {
            // A wide outline is the painter's, round the same corners.
            const TPoint up[] = {bottomLeft, bottomRight, top};
            const TPoint down[] = {topLeft, topRight, bottom};
            const TPoint diamond[] = {top, right, bottom, left};
            canvas.DrawPolygon(FStyle == ptsTriangle       ? std::span<const TPoint>(up)
                               : FStyle == ptsDownTriangle ? std::span<const TPoint>(down)
                                                           : std::span<const TPoint>(diamond));
        }
        break;
    case ptsCross:
    case ptsDiagCross:
    case ptsStar:
        canvas.Pen().SetColor(fill);
        if (FStyle != ptsDiagCross) {
            Stroke(canvas, left, right);
            Stroke(canvas, top, bottom);
        }
        if (FStyle != ptsCross) {
            Stroke(canvas, topLeft, bottomRight);
            Stroke(canvas, topRight, bottomLeft);
        }
        break;
    }
}

// --- Solids ----------------------------------------------------------------------------------

bool TSeriesPointer::SolidOf(TSolidKind& kind, TSolidDirection& tip) const {
    tip = sdUp;
    switch (FStyle) {
    case ptsRectangle:
        kind = skCube;
        return true;
    case ptsCircle:
        kind = skDisc;
        return true;
    case ptsTriangle:
        kind = skPyramid;
        return true;
    case ptsDownTriangle:
        kind = skPyramid;
        tip = sdDown;
        return true;
    case ptsDiamond:
        kind = skDiamond;
        return true;
    case ptsCross:
    case ptsDiagCross:
    case ptsStar:
        break;
    }
    return false;
}

void TSeriesPointer::SolidBox(std::int32_t x, std::int32_t y, std::int32_t z, TRect& rect,
                              std::int32_t& z0, std::int32_t& z1) const {
    // The pixels of the flat shape, and as deep as it is wide: the centres of its first and
    // last columns lie HorizSize either side of the point, and so do its front and back.
    rect = {ClampToInt32(std::int64_t{x} - FHorizSize), ClampToInt32(std::int64_t{y} - FVertSize),
            ClampToInt32(std::int64_t{x} + FHorizSize + 1),
            ClampToInt32(std::int64_t{y} + FVertSize + 1)};
    z0 = ClampToInt32(std::int64_t{z} - FHorizSize);
    z1 = ClampToInt32(std::int64_t{z} + FHorizSize);
}

bool TSeriesPointer::DrawsSolid(bool projected) const {
    TSolidKind kind = skCube;
    TSolidDirection tip = sdUp;
    return projected && FDraw3D && SolidOf(kind, tip);
}

void TSeriesPointer::DrawSolid(TCanvas3D& canvas, std::int32_t x, std::int32_t y, std::int32_t z,
                               TColor pointColor, bool dark) const {
    TSolidKind kind = skCube;
    TSolidDirection tip = sdUp;
    if (!SolidOf(kind, tip)) {
        return;
    }
    TRect rect;
    std::int32_t z0 = 0;
    std::int32_t z1 = 0;
    SolidBox(x, y, z, rect, z0, z1);
    canvas.Brush().SetColor(FillColor(pointColor));
    canvas.DrawSolid(kind, rect, z0, z1, tip, dark);
}

bool TSeriesPointer::SolidContains(const TCanvas3D& canvas, std::int32_t x, std::int32_t y,
                                   std::int32_t z, std::int32_t px, std::int32_t py) const {
    TSolidKind kind = skCube;
    TSolidDirection tip = sdUp;
    if (!SolidOf(kind, tip)) {
        return false;
    }
    TRect rect;
    std::int32_t z0 = 0;
    std::int32_t z1 = 0;
    SolidBox(x, y, z, rect, z0, z1);
    return canvas.SolidContains(kind, rect, z0, z1, tip, px, py);
}

void TSeriesPointer::SolidOrder(const TCanvas3D& canvas, std::span<const TPoint> points,
                                std::vector<std::uint32_t>& order) {
    // Solids of one size at one depth that do not overlap are drawn right when the one
    // farther along the view comes first; the distance is the point's offset against the
    // direction towards the viewer.
    const std::array<double, 3> towards = canvas.TowardsViewer();
    order.resize(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        order[i] = static_cast<std::uint32_t>(i);
    }
    const auto nearness = [&](std::uint32_t i) {
        return towards[0] * points[i].X + towards[1] * points[i].Y;
    };
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return nearness(a) < nearness(b);
    });
}

} // namespace Korvatel
