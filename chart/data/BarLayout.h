// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace Korvatel {

// How the bar series of one kind that share their axes stand together: overlapped, side by
// side in the room of a point, stacked on each other, or stacked to 100 % of their sum.
enum TMultiBar : std::uint8_t { mbNone, mbSide, mbStacked, mbStacked100 };

// The arithmetic of a group of bar series, apart from any chart: where each bar starts and
// ends along the value axis, which part of the room of a point it takes, and how wide that
// room is. The series draw what these functions answer, so the rules can be tested with
// numbers.

// The points of one bar series as the layout reads them: where each bar stands along the
// ordering axis and its value. A point without a bar (null, or with a position or value that
// is not a finite number) has the value NaN.
struct KORVATEL_EXPORT TBarValues {
    std::vector<double> Positions;
    std::vector<double> Values;
};

// Where one bar lies along the value axis. A bar that starts on the series' origin has
// FromOrigin set; Start is then 0 and the series puts in its origin (YOrigin, or the axis
// minimum). A missing bar has End NaN.
struct KORVATEL_EXPORT TBarSpan {
    double Start = 0;
    double End = 0;
    bool FromOrigin = true;

    bool Missing() const { return std::isnan(End); }
};

// What the members of a group hold at the position of each bar of group[member]: the sum of
// the values of the bars stacked below it (the same sign as its own value, in earlier
// members), whether there are any, and the sum of the magnitudes of the values there, over the
// earlier members or, with wholeGroup, over every member, this one included.
struct KORVATEL_EXPORT TBarStackSums {
    double Below = 0;
    bool HasBelow = false;
    double Magnitude = 0;
};
std::vector<TBarStackSums> BarStackSums(std::span<const TBarValues> group, std::size_t member,
                                        bool wholeGroup);

// The spans of the bars of group[member]. Bars that stand at the same position stack in group
// order: positive values (and zeros) upwards on the positive ones before them, negative
// values downwards on the negative ones; a bar with none of its sign before it starts on the
// origin. Stacked to 100 %, each value counts as its share of the sum of the magnitudes at
// its position, in percent. Overlapped and side by side, every bar runs from the origin to
// its value.
std::vector<TBarSpan> BarSpans(TMultiBar mode, std::span<const TBarValues> group,
                               std::size_t member);

// The smallest distance between two neighbouring distinct positions of the whole group: the
// room of a point along the ordering axis. 0 when there are not two distinct positions.
double SmallestBarGap(std::span<const TBarValues> group);

// The part of the room of a point that one series' bars take: slot Index of Count.
struct KORVATEL_EXPORT TBarSlot {
    std::int32_t Index = 0;
    std::int32_t Count = 1;

    friend bool operator==(const TBarSlot&, const TBarSlot&) = default;
};

// Side by side, each member has a slot of its own, in group order; otherwise all share one.
TBarSlot BarSlotOf(TMultiBar mode, std::size_t member, std::size_t count);

// The width in pixels that the bars of one point take together: percent of the room, rounded,
// at least a pixel for every slot.
std::int32_t BarGroupWidth(double roomPixels, std::int32_t percent, std::int32_t slotCount);

// The pixels [Low, High) that a slot covers across the ordering axis, for a group of bars of
// the given width centred on a pixel: the group's first pixel lies width / 2 before the
// centre, and its width is shared out so that neighbouring slots meet without a gap.
struct KORVATEL_EXPORT TBarEdges {
    std::int32_t Low = 0;
    std::int32_t High = 0;

    friend bool operator==(const TBarEdges&, const TBarEdges&) = default;
};
TBarEdges BarSlotEdges(std::int32_t centre, std::int32_t groupWidth, TBarSlot slot);

} // namespace Korvatel
