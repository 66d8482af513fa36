// SPDX-License-Identifier: MIT
#include <korvatel/data/PieGeometry.h>

#include <korvatel/core/Rounding.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Korvatel {

namespace {

constexpr long double FullTurn = 2 * std::numbers::pi_v<long double>;

// The point at an angle on a circle round centre, to the nearest pixel. The sine and cosine
// are taken in double: extended precision would change no pixel and cost several times more.
TPoint OnCircle(const TPoint& centre, long double radius, double angle) {
    return {ClampToInt32(centre.X + RoundHalfEven(radius * std::cos(angle))),
            ClampToInt32(centre.Y - RoundHalfEven(radius * std::sin(angle)))};
}

} // namespace

bool TPieSlice::Whole() const {
    // The only slice of a pie spans the turn up to the rounding of its end angle.
    return Sweep() >= static_cast<double>(FullTurn) - 1e-9;
}

TPieCircle FitPieCircle(const TRect& bounds, std::int32_t roomX, std::int32_t roomY,
                        std::int32_t explodePercent) {
    const std::int64_t width = std::int64_t{bounds.Right} - bounds.Left;
    const std::int64_t height = std::int64_t{bounds.Bottom} - bounds.Top;
    if (width < 1 || height < 1) {
        return {{bounds.Left, bounds.Top}, 0};
    }
    const std::int64_t halfX = (width - 1) / 2;
    const std::int64_t halfY = (height - 1) / 2;
    const std::int64_t free =
        std::max(std::min(halfX - std::max(roomX, 0), halfY - std::max(roomY, 0)),
                 std::min(halfX, halfY) / 3);
    // An exploded slice and its mark move out by explodePercent of the radius.
    const std::int64_t radius = free * 100 / (100 + std::int64_t{std::max(explodePercent, 0)});
    return {{ClampToInt32(bounds.Left + halfX), ClampToInt32(bounds.Top + halfY)},
            ClampToInt32(radius)};
}

std::vector<std::int32_t> PieExplodes(std::span<const double> values, std::int32_t explodeBiggest,
                                      std::span<const std::int32_t> offsets) {
    std::vector<std::int32_t> explodes(values.size(), 0);
    std::size_t biggest = values.size();
    double largest = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!std::isfinite(values[i])) {
            continue;
        }
        explodes[i] = i < offsets.size() ? std::max(offsets[i], 0) : 0;
        if (std::fabs(values[i]) > largest) {
            largest = std::fabs(values[i]);
            biggest = i;
        }
    }
    if (biggest < values.size()) {
        explodes[biggest] = std::max(explodes[biggest], explodeBiggest);
    }
    return explodes;
}

std::vector<TPieSlice> PieSlices(std::span<const double> values, double rotationDegrees,
                                 std::span<const std::int32_t> explodes, const TPieCircle& circle,
                                 std::int32_t arrowLength) {
    long double total = 0;
    for (const double value : values) {
        if (std::isfinite(value)) {
            total += std::fabs(value);
        }
    }
    const long double rotation = rotationDegrees * std::numbers::pi_v<long double> / 180;
    // Every angle is the rotation plus a share of the sum so far, so that a slice ends on
    // exactly the angle where the next one starts.
    const auto angleAt = [&](long double sum) {
        return StoreAsDouble(total > 0 ? rotation + FullTurn * sum / total : rotation);
    };
    std::vector<TPieSlice> slices(values.size());
    long double sum = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        TPieSlice& slice = slices[i];
        slice.StartAngle = angleAt(sum);
        if (std::isfinite(values[i]) && total > 0) {
            sum += std::fabs(values[i]);
        }
        slice.EndAngle = angleAt(sum);
        const double middle = slice.MiddleAngle();
        // A whole pie has no middle to move out along.
        const std::int32_t explode = i < explodes.size() && !slice.Whole() ? explodes[i] : 0;
        const long double offset =
            static_cast<long double>(circle.Radius) * std::max(explode, 0) / 100;
        slice.Centre = OnCircle(circle.Centre, offset, middle);
        slice.MarkFrom = OnCircle(slice.Centre, circle.Radius, middle);
        slice.MarkTo = OnCircle(slice.Centre, std::int64_t{circle.Radius} + arrowLength, middle);
    }
    return slices;
}

namespace {

// How many chords draw an arc over the sweep: a chord of length c strays from its arc by
// c * c / (8 r), and a quarter of a pixel allows chords of sqrt(2 r).
std::int64_t ArcSegments(long double sweep, std::int32_t radius) {
    return static_cast<std::int64_t>(
        std::max(1.0L, std::ceil(sweep * std::sqrt(static_cast<long double>(radius) / 2))));
}

// The arc's points from the start to the end angle (closed when whole), none equal to the one
// before.
void AppendArc(std::vector<TPoint>& points, const TPieSlice& slice, std::int32_t radius) {
    const bool whole = slice.Whole();
    const long double sweep = whole ? FullTurn : static_cast<long double>(slice.Sweep());
    const std::int64_t segments = ArcSegments(sweep, radius);
    for (std::int64_t k = 0; k <= segments; ++k) {
        const double angle =
            k == segments && !whole
                ? slice.EndAngle
                : StoreAsDouble(slice.StartAngle + sweep * (k % segments) / segments);
        const TPoint point = OnCircle(slice.Centre, radius, angle);
        if (points.empty() || point != points.back()) {
            points.push_back(point);
        }
    }
}

} // namespace

std::vector<TPoint> SliceArc(const TPieSlice& slice, std::int32_t radius) {
    std::vector<TPoint> points;
    if (!slice.Empty() && radius >= 1) {
        AppendArc(points, slice, radius);
    }
    return points;
}

std::int32_t RingInnerRadius(std::int32_t radius, std::int32_t percent) {
    return static_cast<std::int32_t>(std::int64_t{std::max(radius, 0)} *
                                     std::clamp(percent, 0, 100) / 100);
}

std::vector<TPoint> SliceOutline(const TPieSlice& slice, std::int32_t radius,
                                 std::int32_t innerRadius) {
    std::vector<TPoint> points;
    if (slice.Empty() || radius < 1) {
        return points;
    }
    if (innerRadius >= 1) {
        AppendArc(points, slice, radius);
        std::vector<TPoint> inner;
        AppendArc(inner, slice, std::min(innerRadius, radius));
        points.insert(points.end(), inner.rbegin(), inner.rend());
        return points;
    }
    const bool whole = slice.Whole();
    const long double sweep = whole ? FullTurn : static_cast<long double>(slice.Sweep());
    const std::int64_t segments = ArcSegments(sweep, radius);
    if (!whole) {
        points.push_back(slice.Centre);
    }
    const std::int64_t last = whole ? segments - 1 : segments;
    for (std::int64_t k = 0; k <= last; ++k) {
        const double angle =
            k == segments ? slice.EndAngle : StoreAsDouble(slice.StartAngle + sweep * k / segments);
        const TPoint point = OnCircle(slice.Centre, radius, angle);
        if (points.empty() || point != points.back()) {
            points.push_back(point);
        }
    }
    return points;
}

TPoint PieMarkLeftTop(const TPieSlice& slice, std::int32_t width, std::int32_t height) {
    const double middle = slice.MiddleAngle();
    // The box's middle lies half its size beyond the arrow's end along the arrow.
    return {ClampToInt32(slice.MarkTo.X + RoundHalfEven((std::cos(middle) - 1) * width / 2)),
            ClampToInt32(slice.MarkTo.Y - RoundHalfEven((std::sin(middle) + 1) * height / 2))};
}

std::int32_t SliceAtPixel(std::span<const TPieSlice> slices, std::int32_t radius, TPoint pixel,
                          std::int32_t innerRadius) {
    // The rim's pixels lie up to half a pixel outside the radius, the hole's edge up to half a
    // pixel inside its radius.
    const long double reach = radius + 0.5L;
    const long double hole = std::max(0.0L, innerRadius - 0.5L);
    for (std::size_t i = 0; i < slices.size(); ++i) {
        const TPieSlice& slice = slices[i];
        if (slice.Empty()) {
            continue;
        }
        const long double dx = std::int64_t{pixel.X} - slice.Centre.X;
        const long double dy = std::int64_t{slice.Centre.Y} - pixel.Y;
        const long double distance = dx * dx + dy * dy;
        if (distance > reach * reach || distance < hole * hole) {
            continue;
        }
        if (slice.Whole()) {
            return static_cast<std::int32_t>(i);
        }
        long double along = std::fmod(std::atan2(dy, dx) - slice.StartAngle, FullTurn);
        if (along < 0) {
            along += FullTurn;
        }
        if (along <= slice.Sweep()) {
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

double PieFrontAngle(double towardsX, double towardsZ, double radiusX, double radiusZ) {
    if (!(radiusX > 0) || !(radiusZ > 0)) {
        return 1.5 * std::numbers::pi;
    }
    const double x = towardsX / radiusX;
    const double z = towardsZ / radiusZ;
    if (std::hypot(x, z) < 1e-12 || !std::isfinite(x) || !std::isfinite(z)) {
        return 1.5 * std::numbers::pi;
    }
    return std::atan2(z, x);
}

std::vector<TPiePiece> PieDrawOrder(std::span<const TPieSlice> slices, double frontAngle) {
    constexpr double Half = std::numbers::pi;
    constexpr double Turn = 2 * std::numbers::pi;
    const double back = frontAngle + Half;
    struct TKeyed {
        TPiePiece Piece;
        // How far the piece lies from the back, along the rim.
        double FromBack = 0;
    };
    std::vector<TKeyed> keyed;
    for (std::size_t i = 0; i < slices.size(); ++i) {
        const TPieSlice& slice = slices[i];
        if (slice.Empty()) {
            continue;
        }
        const bool whole = slice.Whole();
        const double sweep = std::min(slice.Sweep(), Turn);
        // Angles measured from the back: the first half runs from the back to the front, the
        // second from the front to the back again, and so on round.
        double start = std::fmod(slice.StartAngle - back, Turn);
        if (start < 0) {
            start += Turn;
        }
        const double end = start + sweep;
        double from = start;
        while (from < end) {
            double half = std::floor(from / Half);
            // A cut lands on a multiple of a half turn that the division may put a hair below.
            if ((half + 1) * Half <= from) {
                half += 1;
            }
            const double to = std::min((half + 1) * Half, end);
            if (to > from) {
                TPiePiece piece;
                piece.Index = static_cast<std::int32_t>(i);
                piece.StartAngle = slice.StartAngle + (from - start);
                piece.EndAngle = to == end ? slice.EndAngle : slice.StartAngle + (to - start);
                piece.StartCut = !whole && from == start;
                piece.EndCut = !whole && to == end;
                const bool outwards = std::fmod(half, 2.0) == 0;
                keyed.push_back({piece, outwards ? from - half * Half : (half + 1) * Half - to});
            }
            from = to;
        }
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const TKeyed& a, const TKeyed& b) { return a.FromBack < b.FromBack; });
    std::vector<TPiePiece> pieces;
    pieces.reserve(keyed.size());
    for (const TKeyed& k : keyed) {
        pieces.push_back(k.Piece);
    }
    return pieces;
}

bool PolygonHolds(std::span<const TPoint> polygon, TPoint pixel) {
    // Crossings of a ray from the pixel's centre to the right.
    const double px = pixel.X + 0.5;
    const double py = pixel.Y + 0.5;
    bool inside = false;
    const std::size_t count = polygon.size();
    for (std::size_t i = 0, j = count - 1; i < count; j = i++) {
        const double xi = polygon[i].X + 0.5;
        const double yi = polygon[i].Y + 0.5;
        const double xj = polygon[j].X + 0.5;
        const double yj = polygon[j].Y + 0.5;
        if ((yi > py) != (yj > py) && px < xi + (py - yi) * (xj - xi) / (yj - yi)) {
            inside = !inside;
        }
    }
    return inside;
}

} // namespace Korvatel
