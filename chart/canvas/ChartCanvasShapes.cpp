// SPDX-License-Identifier: MIT
// The canvas: shapes drawn a row of pixels at a time (see TCanvas3D::DrawRowShape).

#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/canvas/ChartCanvasDetail.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace Korvatel {

using namespace CanvasDetail;

namespace {

std::int64_t FloorDiv(std::int64_t numerator, std::int64_t divisor) {
    const std::int64_t quotient = numerator / divisor;
    return quotient * divisor > numerator ? quotient - 1 : quotient;
}

// The half width of a shape of half sizes a and b at the distance row below its middle, all in
// pixels of the surface.
long double HalfWidth(TRowShape shape, long double a, long double b, long double row) {
    switch (shape) {
    case rsEllipse:
        return a * std::sqrt(std::max(0.0L, 1 - (row / b) * (row / b)));
    case rsDiamond:
        return a * (1 - std::fabs(row) / b);
    case rsTriangle:
        return a * (row + b) / (2 * b);
    case rsDownTriangle:
        return a * (b - row) / (2 * b);
    }
    return a;
}

// The columns Low..High of a row; none when Low > High.
struct TRowSpan {
    std::int64_t Low = 0;
    std::int64_t High = -1;
    bool IsEmpty() const { return Low > High; }
};

// A shape in pixels of the surface, placed relative to the pixel (Column, Row) whose centre
// lies at or just before (above) the shape's centre; the centre is FracX and FracY beyond it.
// At scale 1 the centre is that pixel's centre and both are 0, so that every row and width
// comes out as the one-pixel rows of the logical shape, exactly.
struct TRowGeometry {
    TRowShape Shape = rsEllipse;
    std::int64_t Column = 0;
    std::int64_t Row = 0;
    long double FracX = 0;
    long double FracY = 0;
    long double A = 0;
    long double B = 0;

    // The pixels of row Row + m whose centres lie inside the shape.
    TRowSpan Span(std::int64_t m) const {
        const long double row = static_cast<long double>(m) - FracY;
        if (std::fabs(row) > B) {
            return {};
        }
        const long double width = std::clamp(HalfWidth(Shape, A, B, row), 0.0L, A);
        return {static_cast<std::int64_t>(std::ceil(FracX - width)),
                static_cast<std::int64_t>(std::floor(FracX + width))};
    }
};

} // namespace

void TChartCanvas3D::DrawRowShape(std::int32_t x, std::int32_t y, std::int64_t h, std::int64_t v,
                                  TRowShape shape, bool outlined) {
    TChartSurface* surface = TargetSurface();
    if (surface == nullptr || h < 0 || v < 0) {
        return;
    }
    // On an image of another scale the rows are the device's own; everywhere else they are
    // logical pixels, drawn by the canvas's lines and fills (which a painter of another scale
    // maps onto its device).
    const bool device = FDeviceRaster;
    const TDeviceScale scale = device ? FScale : TDeviceScale();
    const std::int64_t p = scale.Numerator();
    const std::int64_t q = scale.Denominator();
    TRowGeometry g;
    g.Shape = shape;
    // The centre of (x, y) scaled, less half a pixel: (P (2 x + 1) - Q) / 2 Q.
    const std::int64_t cx = p * (2 * std::int64_t{x} + 1) - q;
    const std::int64_t cy = p * (2 * std::int64_t{y} + 1) - q;
    g.Column = FloorDiv(cx, 2 * q);
    g.Row = FloorDiv(cy, 2 * q);
    g.FracX = static_cast<long double>(cx - g.Column * 2 * q) / static_cast<long double>(2 * q);
    g.FracY = static_cast<long double>(cy - g.Row * 2 * q) / static_cast<long double>(2 * q);
    g.A = static_cast<long double>(p) * static_cast<long double>(2 * h + 1) /
          static_cast<long double>(2 * q);
    g.B = static_cast<long double>(p) * static_cast<long double>(2 * v + 1) /
          static_cast<long double>(2 * q);
    const std::int64_t k = scale.LineWidth();

    // Only the rows of the clip (of the surface, on logical pixels) are looked at, so that a
    // huge shape costs no more than the picture.
    const TRect clip =
        device ? DeviceClipRect() : TRect{-1, 0, surface->Width() + 1, surface->Height()};
    const long double top = std::ceil(g.FracY - g.B);
    const long double bottom = std::floor(g.FracY + g.B);
    const std::int64_t first =
        std::max<std::int64_t>(static_cast<std::int64_t>(top), std::int64_t{clip.Top} - g.Row);
    const std::int64_t last = std::min<std::int64_t>(static_cast<std::int64_t>(bottom),
                                                     std::int64_t{clip.Bottom} - 1 - g.Row);
    if (first > last) {
        return;
    }

    // The rows, each painted by stroke and fill (columns a..b relative to g.Column, with the
    // pen or with the brush).
    const auto walk = [&](auto&& stroke, auto&& fill) {
        for (std::int64_t m = first; m <= last; ++m) {
            const TRowSpan span = g.Span(m);
            if (span.IsEmpty()) {
                continue;
            }
            const auto row = static_cast<std::int32_t>(g.Row + m);
            if (!outlined) {
                fill(row, span.Low, span.High);
                continue;
            }
            // The outline is every pixel of the row within a line's width of its ends, or beyond
            // what the rows a line's width above and below reach; the rest is inside.
            const TRowSpan above = g.Span(m - k);
            const TRowSpan below = g.Span(m + k);
            const TRowSpan inner{std::max({span.Low + k, above.Low, below.Low}),
                                 std::min({span.High - k, above.High, below.High})};
            if (above.IsEmpty() || below.IsEmpty() || inner.IsEmpty()) {
                stroke(row, span.Low, span.High);
                continue;
            }
            stroke(row, span.Low, inner.Low - 1);
            fill(row, inner.Low, inner.High);
            stroke(row, inner.High + 1, span.High);
        }
    };
    // The columns of a run, cut to the clip.
    const auto cut = [&](std::int64_t a, std::int64_t b) {
        return std::pair<std::int64_t, std::int64_t>{
            std::max<std::int64_t>(g.Column + a, clip.Left),
            std::min<std::int64_t>(g.Column + b, std::int64_t{clip.Right} - 1)};
    };
    if (!device) {
        // One column beside the surface is kept, where a line's pattern may start.
        const auto column = [&](std::int64_t dx) {
            return static_cast<std::int32_t>(
                std::clamp<std::int64_t>(g.Column + dx, clip.Left, std::int64_t{clip.Right} - 1));
        };
        walk(
            [&](std::int32_t row, std::int64_t a, std::int64_t b) {
                MovePenTo(column(a), row);
                DrawLineTo(column(b + 1), row);
            },
            [&](std::int32_t row, std::int64_t a, std::int64_t b) {
                FillRectangle({column(a), row, column(b + 1), row + 1});
            });
        return;
    }
    if (Record(TPrimitive::RowShape, {x, y, h, v, shape, outlined ? 1 : 0})) {
        return;
    }
    QPainter* painter = PreparePainter();
    std::uint8_t* bits = surface->Pixels();
    if (painter == nullptr || bits == nullptr) {
        return;
    }
    const std::int64_t stride = surface->BytesPerLine();
    const QRegion* region = DeviceClipRegion();
    if (region != nullptr) {
        FShapeRegion.Assign(*region);
    }
    const auto inside = [&](std::int64_t column, std::int32_t row) {
        return region == nullptr || FShapeRegion.Contains(static_cast<std::int32_t>(column), row);
    };
    const auto line = [&](std::int32_t row) {
        return reinterpret_cast<QRgb*>(bits + row * stride);
    };
    // The pen's pattern counts line widths along the row, from the start of each run.
    const bool penShown = PenIsVisible();
    const TPixelLine::TPattern pattern = TPixelLine::PatternFor(Pen().Style(), Pen().SmallDots());
    const QRgb penColor = Resolve(Pen().Color()) | Opaque;
    const QRgb gapColor = Resolve(FTextBackColor) | Opaque;
    const bool gaps = FTextBackMode == cbmOpaque;
    const TPenMode mode = Pen().Mode();
    const TChartBrush& brush = Brush();
    const bool clear = !brush.HasImage() && brush.Style() == bsClear;
    const bool solid = !brush.HasImage() && brush.Style() == bsSolid;
    const QRgb brushColor = Resolve(brush.Color()) | Opaque;
    // Hatches and pictures go through the painter, in device pixels, their lines as far apart
    // as on a screen (see FillDevice).
    QBrush patterned = BrushFor(brush);
    const bool hatched = !brush.HasImage() && IsHatch(brush.Style());
    if (hatched) {
        patterned.setTransform(QTransform::fromScale(FScale.Value(), FScale.Value()));
    }
    walk(
        [&](std::int32_t row, std::int64_t a, std::int64_t b) {
            if (!penShown) {
                return;
            }
            const auto [from, to] = cut(a, b);
            for (std::int64_t column = from; column <= to; ++column) {
                const std::int64_t step = (column - g.Column - a) / k;
                const bool on = pattern.IsSolid() ||
                                pattern.IsOn(static_cast<std::uint32_t>(step % pattern.Length));
                if ((on || gaps) && inside(column, row)) {
                    QRgb& pixel = line(row)[column];
                    pixel = TPixelLine::ApplyMode(mode, on ? penColor : gapColor, pixel);
                }
            }
        },
        [&](std::int32_t row, std::int64_t a, std::int64_t b) {
            const auto [from, to] = cut(a, b);
            if (clear || from > to) {
                return;
            }
            if (!solid) {
                UseDeviceSpace(*painter);
                SetPainterMode(*painter, QPainter::CompositionMode_SourceOver);
                const QRect run(static_cast<int>(from), row, static_cast<int>(to - from + 1), 1);
                if (hatched && gaps) {
                    painter->fillRect(run, QColor::fromRgb(gapColor));
                }
                painter->fillRect(run, patterned);
                return;
            }
            if (region == nullptr) {
                TPixelLine::FillRun(line(row), static_cast<std::int32_t>(from),
                                    static_cast<std::int32_t>(to), brushColor);
                return;
            }
            for (std::int64_t column = from; column <= to; ++column) {
                if (inside(column, row)) {
                    line(row)[column] = brushColor;
                }
            }
        });
}

} // namespace Korvatel
