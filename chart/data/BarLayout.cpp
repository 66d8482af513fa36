// SPDX-License-Identifier: MIT
#include <korvatel/data/BarLayout.h>

#include <korvatel/core/Rounding.h>

#include <algorithm>
#include <limits>

namespace Korvatel {

namespace {

// The indexes of the points that have a bar, in order of position; points at one position
// keep their order. A series filled in order of its positions needs no sorting.
std::vector<std::int32_t> BarsByPosition(const TBarValues& bars) {
    const std::size_t count = std::min(bars.Positions.size(), bars.Values.size());
    std::vector<std::int32_t> order;
    order.reserve(count);
    bool sorted = true;
    double previous = -std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < count; ++i) {
        const double position = bars.Positions[i];
        if (!std::isfinite(position) || !std::isfinite(bars.Values[i])) {
            continue;
        }
        sorted = sorted && position >= previous;
        previous = position;
        order.push_back(static_cast<std::int32_t>(i));
    }
    if (!sorted) {
        std::stable_sort(order.begin(), order.end(), [&bars](std::int32_t a, std::int32_t b) {
            return bars.Positions[static_cast<std::size_t>(a)] <
                   bars.Positions[static_cast<std::size_t>(b)];
        });
    }
    return order;
}

// What one run of bars at a position adds to a stack.
struct TRunSums {
    long double Up = 0;
    long double Down = 0;
    long double Magnitude = 0;
    bool HasUp = false;
    bool HasDown = false;
};

// The sums of other's bars at each position of self's bars, handed to add (self's index and
// the run's sums). Both walk in order of position, so the cost is one pass over each.
template <typename TAdd>
void SumAtSamePositions(const TBarValues& other, const std::vector<std::int32_t>& otherOrder,
                        const TBarValues& self, const std::vector<std::int32_t>& selfOrder,
                        TAdd&& add) {
    std::size_t j = 0;
    std::size_t i = 0;
    while (i < selfOrder.size()) {
        const double position = self.Positions[static_cast<std::size_t>(selfOrder[i])];
        while (j < otherOrder.size() &&
               other.Positions[static_cast<std::size_t>(otherOrder[j])] < position) {
            ++j;
        }
        TRunSums run;
        for (; j < otherOrder.size() &&
               other.Positions[static_cast<std::size_t>(otherOrder[j])] == position;
             ++j) {
            const double value = other.Values[static_cast<std::size_t>(otherOrder[j])];
            if (value >= 0) {
                run.Up += value;
                run.HasUp = true;
            } else {
                run.Down += value;
                run.HasDown = true;
            }
            run.Magnitude += std::fabs(value);
        }
        // Every bar of self at this position gets the same sums.
        for (; i < selfOrder.size() &&
               self.Positions[static_cast<std::size_t>(selfOrder[i])] == position;
             ++i) {
            add(static_cast<std::size_t>(selfOrder[i]), run);
        }
    }
}

// The stack sums of the bars of group[member] whose indexes come in order, in extended
// precision.
std::vector<TRunSums> StackSums(std::span<const TBarValues> group, std::size_t member,
                                const std::vector<std::int32_t>& order, bool wholeGroup) {
    const TBarValues& self = group[member];
    std::vector<TRunSums> below(self.Values.size());
    const std::size_t summed = wholeGroup ? group.size() : member;
    for (std::size_t other = 0; other < summed; ++other) {
        const bool earlier = other < member;
        const std::vector<std::int32_t> otherOrder =
            other == member ? order : BarsByPosition(group[other]);
        SumAtSamePositions(group[other], otherOrder, self, order,
                           [&below, earlier](std::size_t index, const TRunSums& run) {
                               TRunSums& sum = below[index];
                               sum.Magnitude += run.Magnitude;
                               if (earlier) {
                                   sum.Up += run.Up;
                                   sum.Down += run.Down;
                                   sum.HasUp = sum.HasUp || run.HasUp;
                                   sum.HasDown = sum.HasDown || run.HasDown;
                               }
                           });
    }
    return below;
}

} // namespace

std::vector<TBarStackSums> BarStackSums(std::span<const TBarValues> group, std::size_t member,
                                        bool wholeGroup) {
    const TBarValues& self = group[member];
    const std::vector<std::int32_t> order = BarsByPosition(self);
    const std::vector<TRunSums> sums = StackSums(group, member, order, wholeGroup);
    std::vector<TBarStackSums> result(self.Values.size());
    for (const std::int32_t i : order) {
        const auto index = static_cast<std::size_t>(i);
        const bool up = self.Values[index] >= 0;
        result[index] = {StoreAsDouble(up ? sums[index].Up : sums[index].Down),
                         up ? sums[index].HasUp : sums[index].HasDown,
                         StoreAsDouble(sums[index].Magnitude)};
    }
    return result;
}

std::vector<TBarSpan> BarSpans(TMultiBar mode, std::span<const TBarValues> group,
                               std::size_t member) {
    const TBarValues& self = group[member];
    constexpr double Missing = std::numeric_limits<double>::quiet_NaN();
    std::vector<TBarSpan> spans(self.Values.size(), TBarSpan{0, Missing, true});
    const std::vector<std::int32_t> order = BarsByPosition(self);
    if (mode != mbStacked && mode != mbStacked100) {
        for (const std::int32_t i : order) {
            spans[static_cast<std::size_t>(i)].End = self.Values[static_cast<std::size_t>(i)];
        }
        return spans;
    }
    // Stacked to 100 % every member counts in the sum at a position, the later ones too.
    const std::vector<TRunSums> sums = StackSums(group, member, order, mode == mbStacked100);
    for (const std::int32_t i : order) {
        const auto index = static_cast<std::size_t>(i);
        const double value = self.Values[index];
        const TRunSums& sum = sums[index];
        const bool up = value >= 0;
        const long double base = up ? sum.Up : sum.Down;
        // Stacked to 100 %, the stacks are measured in percent of the magnitudes at the
        // position; a position where every value is zero has no share to give.
        const long double scale =
            mode == mbStacked100 ? (sum.Magnitude > 0 ? 100 / sum.Magnitude : 0) : 1;
        TBarSpan& span = spans[index];
        span.FromOrigin = up ? !sum.HasUp : !sum.HasDown;
        span.Start = StoreAsDouble(base * scale);
        span.End = StoreAsDouble((base + value) * scale);
    }
    return spans;
}

double SmallestBarGap(std::span<const TBarValues> group) {
    std::vector<double> positions;
    for (const TBarValues& bars : group) {
        for (const double position : bars.Positions) {
            if (std::isfinite(position)) {
                positions.push_back(position);
            }
        }
    }
    std::sort(positions.begin(), positions.end());
    double gap = 0;
    for (std::size_t i = 1; i < positions.size(); ++i) {
        const double step = positions[i] - positions[i - 1];
        if (step > 0 && (gap == 0 || step < gap)) {
            gap = step;
        }
    }
    return gap;
}

TBarSlot BarSlotOf(TMultiBar mode, std::size_t member, std::size_t count) {
    if (mode != mbSide || count < 2 || member >= count) {
        return {};
    }
    return {static_cast<std::int32_t>(member), static_cast<std::int32_t>(count)};
}

std::int32_t BarGroupWidth(double roomPixels, std::int32_t percent, std::int32_t slotCount) {
    // Wider than any picture a 32-bit pixel can address is as wide as it needs to be; the cap
    // keeps the edges of a group centred anywhere on such a picture inside 32 bits.
    constexpr long double Widest = 1 << 30;
    const long double width = static_cast<long double>(roomPixels) * percent / 100;
    const std::int64_t rounded =
        std::isfinite(width) ? RoundHalfEven(std::clamp<long double>(width, 0, Widest)) : 0;
    return static_cast<std::int32_t>(std::max<std::int64_t>(rounded, std::max(slotCount, 1)));
}

TBarEdges BarSlotEdges(std::int32_t centre, std::int32_t groupWidth, TBarSlot slot) {
    const std::int64_t width = groupWidth;
    const std::int64_t first = std::int64_t{centre} - width / 2;
    const std::int64_t count = std::max(slot.Count, 1);
    return {ClampToInt32(first + width * slot.Index / count),
            ClampToInt32(first + width * (slot.Index + 1) / count)};
}

} // namespace Korvatel
