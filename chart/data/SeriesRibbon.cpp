// SPDX-License-Identifier: MIT
#include <korvatel/data/SeriesRibbon.h>

#include <korvatel/canvas/Canvas3D.h>
#include <korvatel/canvas/ChartPen.h>
#include <korvatel/canvas/SolidShading.h>

#include <algorithm>
#include <cmath>

namespace Korvatel {

namespace {

// The z component of the cross product of b - a and d - c. In extended precision: products of
// differences of 32-bit coordinates do not fit 64 bits.
long double Cross(const TPoint& a, const TPoint& b, const TPoint& c, const TPoint& d) {
    const long double ux = static_cast<long double>(b.X) - a.X;
    const long double uy = static_cast<long double>(b.Y) - a.Y;
    const long double vx = static_cast<long double>(d.X) - c.X;
    const long double vy = static_cast<long double>(d.Y) - c.Y;
    return ux * vy - uy * vx;
}

void Append(std::vector<TPoint>& path, const TPoint& point) {
    if (path.empty() || path.back() != point) {
        path.push_back(point);
    }
}

} // namespace

void TSeriesRibbon::ReduceColumns(std::span<const TPoint> path, std::vector<TPoint>& reduced) {
    reduced.clear();
    std::size_t i = 0;
    while (i < path.size()) {
        std::size_t end = i + 1;
        std::size_t low = i;
        std::size_t high = i;
        while (end < path.size() && path[end].X == path[i].X) {
            low = path[end].Y < path[low].Y ? end : low;
            high = path[end].Y > path[high].Y ? end : high;
            ++end;
        }
        Append(reduced, path[i]);
        Append(reduced, path[std::min(low, high)]);
        Append(reduced, path[std::max(low, high)]);
        Append(reduced, path[end - 1]);
        i = end;
    }
}

void TSeriesRibbon::Draw(TCanvas3D& canvas, std::span<const TPoint> path, TKind kind,
                         std::int32_t z0, std::int32_t z1, TColor color, bool dark) {
    ReduceColumns(path, FReduced);
    if (kind == rkOutline && FReduced.size() > 1 && FReduced.front() != FReduced.back()) {
        FReduced.push_back(FReduced.front());
    }
    const std::size_t n = FReduced.size();
    if (n < 2 || z0 == z1) {
        return;
    }
    FFront.resize(n);
    FBack.resize(n);
    long double area = 0;
    for (std::size_t k = 0; k < n; ++k) {
        FFront[k] = canvas.ProjectPoint(FReduced[k].X, FReduced[k].Y, z0);
        FBack[k] = canvas.ProjectPoint(FReduced[k].X, FReduced[k].Y, z1);
        if (k > 0) {
            area += Cross({0, 0}, FFront[k - 1], {0, 0}, FFront[k]);
        }
    }
    // A region on the right of its outline (screen rows grow downwards) has a positive area;
    // its outward side is then the left of each segment.
    const long double outward = area >= 0 ? 1 : -1;
    const bool forward = FBack.front().X >= FFront.front().X;
    const TChartHiddenPen noOutline;
    canvas.ApplyChartPen(noOutline);
    canvas.Brush().SetStyle(bsSolid);
    // Faces of one kind in a row make one strip, drawn when the next face differs.
    std::size_t stripFirst = 0;
    std::size_t stripLast = 0;
    TColor stripColor = clNone;
    std::int32_t stripTurn = 0;
    for (std::size_t step = 0; step + 1 < n; ++step) {
        const std::size_t k = forward ? step : n - 2 - step;
        const TPoint& a = FFront[k];
        const TPoint& b = FFront[k + 1];
        const long double turn = Cross(a, b, a, FBack[k]);
        // Seen edge on, or (for a region) facing away: nothing of it shows.
        const bool shows = turn != 0 && (kind == rkLine || outward * turn < 0);
        TColor face = clNone;
        std::int32_t sign = 0;
        if (shows) {
            // The side of the quad that shows: the normal on the side of the depth.
            long double nx = static_cast<long double>(b.Y) - a.Y;
            long double ny = static_cast<long double>(a.X) - b.X;
            if (nx * (static_cast<long double>(FBack[k].X) - a.X) +
                    ny * (static_cast<long double>(FBack[k].Y) - a.Y) <
                0) {
                nx = -nx;
                ny = -ny;
            }
            const bool top = ny < 0 && -ny >= std::fabs(nx);
            face = dark ? ShadedColor(color, top ? sfTop : sfSide) : color;
            sign = turn > 0 ? 1 : -1;
        }
        const std::size_t low = k;
        const std::size_t high = k + 1;
        if (stripColor != clNone && face == stripColor && sign == stripTurn) {
            stripFirst = std::min(stripFirst, low);
            stripLast = std::max(stripLast, high);
            continue;
        }
        if (stripColor != clNone) {
            FlushStrip(canvas, stripFirst, stripLast, stripColor);
        }
        stripColor = face;
        stripTurn = sign;
        stripFirst = low;
        stripLast = high;
    }
    if (stripColor != clNone) {
        FlushStrip(canvas, stripFirst, stripLast, stripColor);
    }
}

void TSeriesRibbon::FlushStrip(TCanvas3D& canvas, std::size_t first, std::size_t last,
                               TColor color) {
    // Along the front, then back along the back: the quads of the strip turn the same way,
    // so the two chains do not cross.
    FStrip.clear();
    for (std::size_t k = first; k <= last; ++k) {
        FStrip.push_back(FFront[k]);
    }
    for (std::size_t k = last + 1; k-- > first;) {
        FStrip.push_back(FBack[k]);
    }
    canvas.Brush().SetColor(color);
    canvas.DrawPolygon(FStrip);
}

} // namespace Korvatel
