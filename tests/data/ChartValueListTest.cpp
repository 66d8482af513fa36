// SPDX-License-Identifier: MIT
#include <korvatel/data/ChartValueList.h>

#include <korvatel/core/ChartErrors.h>
#include <korvatel/data/ChartSeries.h>

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <vector>

using namespace Korvatel;

namespace {

std::vector<double> Values(const TChartValueList& list) {
    std::vector<double> result;
    for (std::int32_t i = 0; i < list.ValueCount(); ++i) {
        result.push_back(list.ValueAt(i));
    }
    return result;
}

} // namespace

TEST(ChartValueListTest, AscendingInsertionIsStableAndScansFromTheEnd) {
    TChartValueList list(nullptr, "X");
    list.SetOrder(loAscending);
    for (double v : {0.0, 1.0, 1.0, 2.0}) {
        list.InsertInOrder(v);
    }
    EXPECT_EQ(list.InsertInOrder(1.0), 3);
    EXPECT_EQ(Values(list), (std::vector<double>{0, 1, 1, 1, 2}));
    EXPECT_EQ(list.InsertInOrder(-5.0), 0);
    EXPECT_EQ(list.InsertInOrder(7.0), 6);
}

TEST(ChartValueListTest, DescendingAndUnorderedInsertion) {
    TChartValueList descending(nullptr, "Y");
    descending.SetOrder(loDescending);
    for (double v : {5.0, 3.0, 4.0, 3.0, 9.0}) {
        descending.InsertInOrder(v);
    }
    EXPECT_EQ(Values(descending), (std::vector<double>{9, 5, 4, 3, 3}));

    TChartValueList unordered(nullptr, "Y");
    EXPECT_EQ(unordered.InsertInOrder(5.0), 0);
    EXPECT_EQ(unordered.InsertInOrder(3.0), 1);
    EXPECT_EQ(Values(unordered), (std::vector<double>{5, 3}));
}

TEST(ChartValueListTest, ChangingOrderKeepsExistingValuesWhereTheyAre) {
    TChartValueList list(nullptr, "X");
    list.InsertInOrder(5.0);
    list.InsertInOrder(1.0);
    list.SetOrder(loAscending);
    EXPECT_EQ(Values(list), (std::vector<double>{5, 1}));
    // Only the last value is compared when the new one is not smaller.
    EXPECT_EQ(list.InsertInOrder(3.0), 2);
    EXPECT_EQ(list.InsertInOrder(0.0), 0);
}

TEST(ChartValueListTest, MultiplierScalesReadingButNotOrdering) {
    TChartValueList list(nullptr, "X");
    list.SetOrder(loAscending);
    for (double v : {1.0, 2.0, 3.0}) {
        list.InsertInOrder(v);
    }
    list.SetMultiplier(-1.0);
    EXPECT_EQ(Values(list), (std::vector<double>{-1, -2, -3}));
    EXPECT_EQ(list.MinimumValue(), -3.0);
    EXPECT_EQ(list.MaximumValue(), -1.0);
    EXPECT_EQ(list.InsertInOrder(2.5), 2);
    EXPECT_EQ(list.StoredValueAt(2), 2.5);
    EXPECT_EQ(list.IndexOfValue(-2.5), 2);
    EXPECT_EQ(list.IndexOfValue(2.5), -1);
}

TEST(ChartValueListTest, StatisticsAreLazyAndOverScaledValues) {
    TChartValueList list(nullptr, "Y");
    EXPECT_EQ(list.MinimumValue(), 0.0);
    EXPECT_EQ(list.MaximumValue(), 0.0);
    EXPECT_EQ(list.ValueSum(), 0.0);
    EXPECT_EQ(list.AbsoluteSum(), 0.0);
    for (double v : {4.0, -6.0, 1.0}) {
        list.InsertInOrder(v);
    }
    EXPECT_TRUE(list.StatsStale());
    EXPECT_EQ(list.MinimumValue(), -6.0);
    EXPECT_FALSE(list.StatsStale());
    EXPECT_EQ(list.MaximumValue(), 4.0);
    EXPECT_EQ(list.ValueSum(), -1.0);
    EXPECT_EQ(list.AbsoluteSum(), 11.0);
    list.SetMultiplier(2.0);
    EXPECT_EQ(list.AbsoluteSum(), 22.0);
    list.SetValueAt(1, 10.0);
    EXPECT_EQ(list.MaximumValue(), 20.0);
    list.RemoveAt(1);
    EXPECT_EQ(list.MaximumValue(), 8.0);
}

TEST(ChartValueListTest, FirstValueDecidesWhenLaterOnesAreNotComparable) {
    // The minimum/maximum scan compares each value once; NaN neither lowers nor raises them.
    TChartValueList list(nullptr, "Y");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double v : {2.0, nan, -1.0, std::numeric_limits<double>::infinity()}) {
        list.InsertInOrder(v);
    }
    EXPECT_EQ(list.MinimumValue(), -1.0);
    EXPECT_TRUE(std::isinf(list.MaximumValue()));
    EXPECT_TRUE(std::isnan(list.ValueSum()));
    EXPECT_TRUE(std::isnan(list.ValueAt(1)));
}

TEST(ChartValueListTest, NonFiniteValuesAreStoredUnchangedAndOrderedSafely) {
    TChartValueList list(nullptr, "X");
    list.SetOrder(loAscending);
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    list.InsertInOrder(1.0);
    EXPECT_EQ(list.InsertInOrder(inf), 1);
    EXPECT_EQ(list.InsertInOrder(-inf), 0);
    EXPECT_EQ(list.InsertInOrder(nan), 3);   // not comparable: appended
    EXPECT_EQ(list.InsertInOrder(1e308), 4); // the NaN at the end is not greater: appended
    EXPECT_EQ(list.ValueAt(0), -inf);
    EXPECT_TRUE(std::isnan(list.ValueAt(3)));
    EXPECT_EQ(list.InsertInOrder(0.0), 4); // the backward scan stops at the NaN
}

TEST(ChartValueListTest, CapacityFollowsTheGrowthSteps) {
    TChartValueList list(nullptr, "X");
    EXPECT_EQ(list.Capacity(), 0);
    std::vector<std::int32_t> steps;
    for (int i = 0; i < 120; ++i) {
        list.InsertInOrder(i);
        if (steps.empty() || steps.back() != list.Capacity()) {
            steps.push_back(list.Capacity());
        }
    }
    EXPECT_EQ(steps, (std::vector<std::int32_t>{4, 8, 12, 28, 44, 60, 76, 95, 118, 147}));
    list.RemoveAt(0);
    EXPECT_EQ(list.Capacity(), 147); // removing never shrinks
    list.RemoveAllValues();
    EXPECT_EQ(list.Capacity(), 0);
    list.InsertAt(0, 1.0);
    EXPECT_EQ(list.Capacity(), 4);
}

TEST(ChartValueListTest, BadIndexesRaiseTheListErrorAndChangeNothing) {
    TChartValueList list(nullptr, "X");
    try {
        (void)list.LastValue();
        FAIL() << "LastValue on an empty list must fail";
    } catch (const ListIndexError& error) {
        EXPECT_STREQ(error.what(), "List index out of bounds (-1)");
    }
    list.InsertInOrder(1.0);
    list.InsertInOrder(2.0);
    EXPECT_THROW((void)list.ValueAt(2), ListIndexError);
    EXPECT_THROW((void)list.ValueAt(-1), ListIndexError);
    EXPECT_THROW(list.SetValueAt(5, 0.0), ListIndexError);
    EXPECT_THROW(list.RemoveAt(2), ListIndexError);
    EXPECT_THROW(list.InsertAt(3, 0.0), ListIndexError);
    EXPECT_THROW(list.InsertAt(-1, 0.0), ListIndexError);
    EXPECT_EQ(Values(list), (std::vector<double>{1, 2}));
    list.InsertAt(2, 3.0); // one past the end is a valid place to insert
    EXPECT_EQ(Values(list), (std::vector<double>{1, 2, 3}));
}

TEST(ChartValueListTest, RotateAndNumberSequence) {
    TChartValueList list(nullptr, "X");
    list.RotateValues();
    list.InsertInOrder(7.0);
    list.RotateValues();
    EXPECT_EQ(Values(list), (std::vector<double>{7}));
    list.InsertInOrder(8.0);
    list.InsertInOrder(9.0);
    (void)list.MaximumValue();
    list.RotateValues();
    EXPECT_EQ(Values(list), (std::vector<double>{8, 9, 7}));
    EXPECT_FALSE(list.StatsStale()); // rotation keeps the statistics and their state
    list.NumberSequence();
    EXPECT_EQ(Values(list), (std::vector<double>{0, 1, 2}));
}

TEST(ChartValueListTest, CopySettingsTakesOrderDateTimeMultiplierAndSourceOnly) {
    TChartValueList source(nullptr, "Source");
    source.SetOrder(loDescending);
    source.SetDateTime(true);
    source.SetMultiplier(3.0);
    source.SetValueSource("Field");
    source.InsertInOrder(1.0);
    TChartValueList target(nullptr, "Target");
    target.CopySettingsFrom(source);
    EXPECT_EQ(target.Order(), loDescending);
    EXPECT_TRUE(target.DateTime());
    EXPECT_EQ(target.Multiplier(), 3.0);
    EXPECT_EQ(target.ValueSource(), "Field");
    EXPECT_EQ(target.Name(), "Target");
    EXPECT_EQ(target.ValueCount(), 0);
}

TEST(ChartValueListTest, SortByValuesMovesWholePointsOfTheSeries) {
    TChartSeries series;
    series.XValues().SetOrder(loNone);
    const double xs[] = {5, 3, 9, 1, 3, 7, 0, 8};
    for (double x : xs) {
        series.AddPoint(x, x * 10, "p" + std::to_string(static_cast<int>(x)),
                        static_cast<TColor>(x));
    }
    series.XValues().SetOrder(loAscending);
    series.XValues().SortByValues();
    for (std::int32_t i = 0; i < series.PointCount(); ++i) {
        const double x = series.PointX(i);
        if (i > 0) {
            EXPECT_LE(series.PointX(i - 1), x);
        }
        EXPECT_EQ(series.PointY(i), x * 10);
        EXPECT_EQ(series.PointLabel(i), "p" + std::to_string(static_cast<int>(x)));
        EXPECT_EQ(series.PointColor(i), static_cast<TColor>(x));
    }
    series.XValues().SetOrder(loDescending);
    series.XValues().SortByValues();
    EXPECT_EQ(series.PointX(0), 9.0);
    EXPECT_EQ(series.PointY(0), 90.0);
    EXPECT_EQ(series.PointX(7), 0.0);
}

TEST(ChartValueListTest, SortingWithoutOrderDoesNothingAndLargeSortsStayShallow) {
    TChartValueList list(nullptr, "X");
    for (double v : {3.0, 1.0, 2.0}) {
        list.InsertInOrder(v);
    }
    list.SortByValues();
    EXPECT_EQ(Values(list), (std::vector<double>{3, 1, 2}));

    // Many equal keys and an organ-pipe pattern: the sort must finish and order everything.
    TChartValueList big(nullptr, "X");
    constexpr int Count = 200000;
    for (int i = 0; i < Count; ++i) {
        big.InsertInOrder(i < Count / 2 ? i % 3 : Count - i);
    }
    big.SetOrder(loAscending);
    big.SortByValues();
    for (int i = 1; i < Count; ++i) {
        ASSERT_LE(big.ValueAt(i - 1), big.ValueAt(i)) << i;
    }
}

namespace {

// The recursive quicksort of SortByValues written out literally, on (key, identity) pairs,
// ascending by key.
void ReferenceSort(std::vector<std::pair<double, int>>& points, int l, int r) {
    int i = l;
    int j = r;
    int m = (l + r) / 2;
    const auto compare = [&](int a, int b) {
        return points[a].first < points[b].first ? -1 : (points[a].first > points[b].first ? 1 : 0);
    };
    while (i < j) {
        while (compare(i, m) < 0) {
            ++i;
        }
        while (compare(m, j) < 0) {
            --j;
        }
        if (i < j) {
            std::swap(points[i], points[j]);
            if (m == i) {
                m = j;
            } else if (m == j) {
                m = i;
            }
        }
        if (i <= j) {
            ++i;
            --j;
        }
    }
    if (j > l) {
        ReferenceSort(points, l, j);
    }
    if (i < r) {
        ReferenceSort(points, i, r);
    }
}

} // namespace

TEST(ChartValueListTest, EqualKeysEndInTheOrderOfTheRecursiveSort) {
    // Few distinct keys, so that most arrays hold repeats; the identities tell equal keys apart.
    // A descending sort compares as an ascending one of the negated keys.
    std::mt19937 random(7);
    for (int round = 0; round < 400; ++round) {
        const bool descending = round % 2 == 1;
        const int count = 2 + static_cast<int>(random() % 40);
        std::vector<std::pair<double, int>> reference;
        TChartSeries series;
        series.XValues().SetOrder(loNone);
        for (int id = 0; id < count; ++id) {
            const double key = static_cast<double>(random() % 5);
            reference.emplace_back(descending ? -key : key, id);
            series.AddPoint(key, id);
        }
        series.XValues().SetOrder(descending ? loDescending : loAscending);
        series.XValues().SortByValues();
        ReferenceSort(reference, 0, count - 1);
        std::vector<double> expected;
        for (const auto& point : reference) {
            expected.push_back(point.second);
        }
        ASSERT_EQ(Values(series.YValues()), expected) << "round " << round;
    }
}

namespace {

// The insertion rule stated plainly: after the longest run at the end whose values are all
// greater (ascending) or all smaller (descending); appended without an order.
std::size_t ReferencePlace(const std::vector<double>& values, TChartListOrder order, double value) {
    std::size_t t = values.size();
    if (order == loNone) {
        return t;
    }
    while (t > 0 && (order == loAscending ? values[t - 1] > value : values[t - 1] < value)) {
        --t;
    }
    return t;
}

bool SameValue(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

} // namespace

TEST(ChartValueListTest, OrderedInsertionMatchesTheBackwardScanInEveryState) {
    // Random values with many ties, runs that wrap around like frames, NaNs, order changes
    // and overwritten values: the list must always land each value where the backward scan
    // over the stored values would.
    std::mt19937 random(2024);
    for (int round = 0; round < 40; ++round) {
        TChartValueList list(nullptr, "X");
        std::vector<double> reference;
        TChartListOrder order = round % 3 == 0 ? loDescending : loAscending;
        list.SetOrder(order);
        double runValue = 0;
        for (int step = 0; step < 1500; ++step) {
            const int action = static_cast<int>(random() % 100);
            double value = 0;
            if (action < 50) {
                value = static_cast<double>(random() % 40); // ties
            } else if (action < 85) {
                runValue = std::fmod(runValue + 1, 997); // steady runs that wrap
                value = runValue;
            } else if (action < 87) {
                value = std::numeric_limits<double>::quiet_NaN();
            } else if (action < 89 && !reference.empty()) {
                const auto index = static_cast<std::int32_t>(random() % reference.size());
                const double changed = static_cast<double>(random() % 40);
                list.SetValueAt(index, changed);
                reference[static_cast<std::size_t>(index)] = changed;
                continue;
            } else if (action < 90) {
                order = order == loAscending ? loDescending : loAscending;
                list.SetOrder(order);
                continue;
            } else if (action < 93 && !reference.empty()) {
                const auto index = static_cast<std::int32_t>(random() % reference.size());
                list.RemoveAt(index);
                reference.erase(reference.begin() + index);
                continue;
            } else {
                value = static_cast<double>(random() % 1000) / 7.0;
            }
            const std::size_t expected = ReferencePlace(reference, order, value);
            ASSERT_EQ(list.InsertInOrder(value), static_cast<std::int32_t>(expected))
                << "round " << round << " step " << step;
            reference.insert(reference.begin() + static_cast<std::ptrdiff_t>(expected), value);
        }
        ASSERT_EQ(list.ValueCount(), static_cast<std::int32_t>(reference.size()));
        for (std::size_t i = 0; i < reference.size(); ++i) {
            ASSERT_TRUE(SameValue(list.StoredValueAt(static_cast<std::int32_t>(i)), reference[i]));
        }
    }
}

TEST(ChartValueListTest, FrameThatWrapsLandsLikeTheScan) {
    // Two passes over 0..999 and a last 0, as the longest string gives: each value of the
    // second pass goes right behind its equal from the first.
    TChartValueList list(nullptr, "X");
    list.SetOrder(loAscending);
    for (int a = 0; a <= 2000; ++a) {
        const std::int32_t place = list.InsertInOrder(a % 1000);
        if (a < 1000) {
            ASSERT_EQ(place, a);
        } else if (a < 2000) {
            ASSERT_EQ(place, 2 * (a - 1000) + 1);
        } else {
            ASSERT_EQ(place, 2);
        }
    }
}

TEST(ChartValueListTest, CopyValuesReadsARangeAsValueAtDoes) {
    TChartValueList list(nullptr, "Y");
    for (int i = 0; i < 40; ++i) {
        list.InsertAt(i / 2, i); // moves the gap around
    }
    list.SetMultiplier(0.5);
    std::vector<double> out(10, -1);
    list.CopyValues(15, 10, out.data());
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(out[static_cast<std::size_t>(i)], list.ValueAt(15 + i)) << i;
    }
    list.CopyValues(0, 0, nullptr);
    EXPECT_THROW(list.CopyValues(35, 6, out.data()), ListIndexError);
    EXPECT_THROW(list.CopyValues(-1, 2, out.data()), ListIndexError);
}
