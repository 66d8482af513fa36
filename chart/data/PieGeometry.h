// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/core/ChartTypes.h>

#include <cstdint>
#include <span>
#include <vector>

namespace Korvatel {

// The geometry of a pie, apart from any chart: the circle that fits a rectangle, the slices
// with their angles, exploded centres and mark anchors, the polygon that draws a slice, and
// the slice under a pixel. The pie series draws what these functions answer, so the rules can
// be tested with numbers.
//
// Angles are in radians, counter-clockwise from the direction of three o'clock, as on a
// mathematician's circle; rows grow downwards, so the point at angle a on a circle of radius r
// round (cx, cy) is (cx + r cos a, cy - r sin a).

struct KORVATEL_EXPORT TPieCircle {
    TPoint Centre;
    std::int32_t Radius = 0;

    friend bool operator==(const TPieCircle&, const TPieCircle&) = default;
};

// The biggest circle inside bounds that leaves roomX pixels beside it on the left and right
// and roomY above and below it (for the marks), even when a slice is moved out by
// explodePercent of the radius. The circle's pixels run from Centre - Radius to
// Centre + Radius both ways. The room never takes more than two thirds of the radius the
// circle would have without it, so that the pie stays readable beside wide marks.
TPieCircle FitPieCircle(const TRect& bounds, std::int32_t roomX, std::int32_t roomY,
                        std::int32_t explodePercent);

// How far each slice is moved out, in percent of the radius: its own offset (offsets may be
// shorter than values), and at least explodeBiggest for the first slice of the largest
// magnitude. Values that are NaN have no slice.
std::vector<std::int32_t> PieExplodes(std::span<const double> values, std::int32_t explodeBiggest,
                                      std::span<const std::int32_t> offsets);

struct KORVATEL_EXPORT TPieSlice {
    double StartAngle = 0;
    double EndAngle = 0;
    // The circle's centre moved out along the middle of the slice by its explode offset.
    TPoint Centre;
    // The mark's arrow: from the rim in the middle of the slice to arrowLength further out.
    TPoint MarkFrom;
    TPoint MarkTo;

    double Sweep() const { return EndAngle - StartAngle; }
    double MiddleAngle() const { return (StartAngle + EndAngle) / 2; }
    // A slice of a null point, of a value that is not finite, of a zero, or of a pie whose
    // values are all zero.
    bool Empty() const { return !(EndAngle > StartAngle); }
    // The slice of the only value that is not zero.
    bool Whole() const;
};

// The slices of the values in order, counter-clockwise from rotationDegrees, each with an
// angle proportional to the magnitude of its value; explodes has one entry per value.
std::vector<TPieSlice> PieSlices(std::span<const double> values, double rotationDegrees,
                                 std::span<const std::int32_t> explodes, const TPieCircle& circle,
                                 std::int32_t arrowLength);

// The polygon of a slice: its centre and the arc from its start to its end angle (a whole
// slice is the circle alone), with enough points that the edges stray from the circle by at
// most a quarter of a pixel. Points next to each other are never equal (the chords of a
// whole circle are too long for its first and last point to meet).
//
// A ring's slice (innerRadius above 0) runs along the outer arc from the start to the end
// angle, then back along the inner arc; a whole ring is the outer circle closed, then the
// inner circle closed, which the alternate fill rule leaves hollow.
std::vector<TPoint> SliceOutline(const TPieSlice& slice, std::int32_t radius,
                                 std::int32_t innerRadius = 0);

// The arc of a slice from its start to its end angle (a whole slice: the circle, closed).
KORVATEL_EXPORT std::vector<TPoint> SliceArc(const TPieSlice& slice, std::int32_t radius);

// The radius of a ring's hole: percent (0 to 100) of the radius, rounded down.
KORVATEL_EXPORT std::int32_t RingInnerRadius(std::int32_t radius, std::int32_t percent);

// The top left corner of a mark box of the given size that stands beyond the end of the
// slice's arrow, its middle on the line of the arrow.
TPoint PieMarkLeftTop(const TPieSlice& slice, std::int32_t width, std::int32_t height);

// The index of the slice whose pixels hold the pixel, or -1. A pixel in a ring's hole
// (nearer to the centre than innerRadius less half a pixel) belongs to no slice.
std::int32_t SliceAtPixel(std::span<const TPieSlice> slices, std::int32_t radius, TPoint pixel,
                          std::int32_t innerRadius = 0);

// --- A pie with thickness -----------------------------------------------------------------
//
// In 3D the pie lies flat, its angles running counter-clockwise as seen from above with 90
// degrees at the back. A slice hides the slices behind it, so the slices are drawn from the
// back of the pie to its front: the slice at the back first, then its neighbours walking both
// ways round, the slice at the front last. The two halves left and right of the line from the
// back to the front never overlap on the picture, so only the order within each half matters.

// The angle of the pie's front, where the rim looks straight at the viewer: the rim's point in
// the direction (towardsX, towardsZ) from the centre, on an ellipse of radii radiusX and
// radiusZ. Seen from straight above or below there is no front; the answer is then 270 degrees.
KORVATEL_EXPORT double PieFrontAngle(double towardsX, double towardsZ, double radiusX, double radiusZ);

// A part of a slice as it is drawn: the slice's index, its angles, and whether its start and
// end are the slice's own (cut faces) or where the slice was cut in pieces.
struct KORVATEL_EXPORT TPiePiece {
    std::int32_t Index = 0;
    double StartAngle = 0;
    double EndAngle = 0;
    bool StartCut = true;
    bool EndCut = true;

    friend bool operator==(const TPiePiece&, const TPiePiece&) = default;
};

// The slices that are not empty as pieces in drawing order, back to front. A slice that
// reaches over the back or the front is cut there, so that each piece lies in one half; a whole
// slice has no cut faces at all.
KORVATEL_EXPORT std::vector<TPiePiece> PieDrawOrder(std::span<const TPieSlice> slices, double frontAngle);

// Whether the centre of the pixel lies inside the polygon (alternate rule).
KORVATEL_EXPORT bool PolygonHolds(std::span<const TPoint> polygon, TPoint pixel);

} // namespace Korvatel
