// SPDX-License-Identifier: MIT
#include <korvatel/data/BarLayout.h>

#include <gtest/gtest.h>
#include <limits>
#include <vector>

using namespace Korvatel;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// A span as (start, end), with the origin written as NaN in start.
struct TSpanRow {
    double Start;
    double End;
};

std::vector<TSpanRow> Rows(const std::vector<TBarSpan>& spans) {
    std::vector<TSpanRow> rows;
    for (const TBarSpan& span : spans) {
        rows.push_back({span.FromOrigin ? NaN : span.Start, span.End});
    }
    return rows;
}

void ExpectRows(const std::vector<TSpanRow>& actual, const std::vector<TSpanRow>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        SCOPED_TRACE(i);
        for (const auto& [a, e] : {std::pair{actual[i].Start, expected[i].Start},
                                   std::pair{actual[i].End, expected[i].End}}) {
            if (std::isnan(e)) {
                EXPECT_TRUE(std::isnan(a)) << a;
            } else {
                EXPECT_DOUBLE_EQ(a, e);
            }
        }
    }
}

// Three series at positions 0, 1 and 2; the second lists its points out of order and misses
// position 1, the third has a null point (NaN) at position 0 and a negative value.
const std::vector<TBarValues> Group = {
    {{0, 1, 2}, {10, 20, 30}},
    {{2, 0}, {5, 40}},
    {{0, 1, 2}, {NaN, -10, 15}},
};

} // namespace

TEST(BarLayout, SpansStackByPositionAndSign) {
    // Overlapped and side by side every bar runs from the origin.
    ExpectRows(Rows(BarSpans(mbSide, Group, 2)), {{NaN, NaN}, {NaN, -10}, {NaN, 15}});
    // Stacked: on the earlier bars at the same position, negative ones on their own stack.
    ExpectRows(Rows(BarSpans(mbStacked, Group, 0)), {{NaN, 10}, {NaN, 20}, {NaN, 30}});
    ExpectRows(Rows(BarSpans(mbStacked, Group, 1)), {{30, 35}, {10, 50}});
    ExpectRows(Rows(BarSpans(mbStacked, Group, 2)), {{NaN, NaN}, {NaN, -10}, {35, 50}});
    // Stacked to 100 %: shares of the magnitudes at the position, later members included.
    ExpectRows(Rows(BarSpans(mbStacked100, Group, 0)), {{NaN, 20}, {NaN, 200.0 / 3}, {NaN, 60}});
    ExpectRows(Rows(BarSpans(mbStacked100, Group, 2)), {{NaN, NaN}, {NaN, -100.0 / 3}, {70, 100}});
    // A position where every value is zero has no share to give.
    const std::vector<TBarValues> zeros = {{{0}, {0}}, {{0}, {0}}};
    ExpectRows(Rows(BarSpans(mbStacked100, zeros, 1)), {{0, 0}});

    const std::vector<TBarStackSums> sums = BarStackSums(Group, 2, true);
    EXPECT_DOUBLE_EQ(sums[2].Below, 35);
    EXPECT_DOUBLE_EQ(sums[2].Magnitude, 50);
    EXPECT_FALSE(sums[1].HasBelow);
}

TEST(BarLayout, RoomAndSlotsAcrossThePointRoom) {
    EXPECT_DOUBLE_EQ(SmallestBarGap(Group), 1);
    EXPECT_DOUBLE_EQ(SmallestBarGap(std::vector<TBarValues>{{{0, 2}, {1, 1}}, {{2.5}, {1}}}), 0.5);
    EXPECT_DOUBLE_EQ(SmallestBarGap(std::vector<TBarValues>{{{4, 4}, {1, 1}}}), 0);

    // 70 % of 10 pixels; a room too small still shows every slot.
    EXPECT_EQ(BarGroupWidth(10, 70, 1), 7);
    EXPECT_EQ(BarGroupWidth(0.5, 70, 3), 3);
    EXPECT_EQ(BarSlotOf(mbSide, 1, 3), (TBarSlot{1, 3}));
    EXPECT_EQ(BarSlotOf(mbStacked, 1, 3), (TBarSlot{0, 1}));

    // A group of 7 centred on 50 starts 3 before it; side by side, 9 pixels in 3 slots of 3
    // that meet, and 8 pixels in 3 slots of 2, 3 and 3.
    EXPECT_EQ(BarSlotEdges(50, 7, {0, 1}), (TBarEdges{47, 54}));
    EXPECT_EQ(BarSlotEdges(50, 9, {0, 3}), (TBarEdges{46, 49}));
    EXPECT_EQ(BarSlotEdges(50, 9, {2, 3}), (TBarEdges{52, 55}));
    EXPECT_EQ(BarSlotEdges(50, 8, {0, 3}), (TBarEdges{46, 48}));
    EXPECT_EQ(BarSlotEdges(50, 8, {1, 3}), (TBarEdges{48, 51}));
}
