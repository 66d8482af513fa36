// SPDX-License-Identifier: MIT
#include <korvatel/core/Rounding.h>

#include <korvatel/core/ChartErrors.h>
#include <korvatel/core/ChartStrings.h>

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace Korvatel;

TEST(RoundingTest, HalvesGoToTheEvenNeighbour) {
    struct Row {
        long double value;
        std::int64_t expected;
    };
    const Row rows[] = {{0.5L, 0},
                        {1.5L, 2},
                        {2.5L, 2},
                        {-0.5L, 0},
                        {-1.5L, -2},
                        {-2.5L, -2},
                        {250.5L, 250},
                        {251.5L, 252},
                        {0.49999L, 0},
                        {200.5L, 200},
                        {1e15L + 0.5L, 1000000000000000},
                        {-7.2L, -7}};
    for (const Row& row : rows) {
        EXPECT_EQ(RoundHalfEven(row.value), row.expected) << static_cast<double>(row.value);
    }
}

TEST(RoundingTest, Low32BitsOfTheRoundedValueAreKept) {
    EXPECT_EQ(RoundHalfEvenLow32(4294967296.0L + 5.0L), 5);
    EXPECT_EQ(RoundHalfEvenLow32(2147483648.0L), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(RoundHalfEvenLow32(-1.0L), -1);
}

TEST(RoundingTest, ValuesWithoutAnIntegerResultAreGuarded) {
    constexpr auto Min64 = std::numeric_limits<std::int64_t>::min();
    EXPECT_EQ(RoundHalfEven(std::numeric_limits<long double>::quiet_NaN()), Min64);
    EXPECT_EQ(RoundHalfEven(std::numeric_limits<long double>::infinity()), Min64);
    EXPECT_EQ(RoundHalfEven(-std::numeric_limits<long double>::infinity()), Min64);
    EXPECT_EQ(RoundHalfEven(9223372036854775808.0L), Min64);
    EXPECT_EQ(RoundHalfEvenLow32(1e300L), 0);
    EXPECT_EQ(TruncToInt64(std::numeric_limits<long double>::quiet_NaN()), Min64);
    EXPECT_EQ(TruncToInt64(-3.9L), -3);
}

TEST(RoundingTest, PixelRoundingRefusesWhatHasNoPixel) {
    struct Row {
        double value;
        bool rounds;
        std::int32_t expected;
    };
    const Row rows[] = {{200.5, true, 200},
                        {-2.5, true, -2},
                        {2147483646.4, true, 2147483646},
                        {-2147483646.6, true, -2147483647},
                        {2147483647.0, false, 0},
                        {-2147483647.0, false, 0},
                        {1e308, false, 0},
                        {std::numeric_limits<double>::infinity(), false, 0},
                        {std::numeric_limits<double>::quiet_NaN(), false, 0}};
    for (const Row& row : rows) {
        std::int32_t result = 0;
        EXPECT_EQ(TryRoundHalfEven32(row.value, result), row.rounds) << row.value;
        EXPECT_EQ(result, row.expected) << row.value;
        result = 0;
        EXPECT_EQ(TryRoundHalfEven32(static_cast<long double>(row.value), result), row.rounds)
            << row.value;
        EXPECT_EQ(result, row.expected) << row.value;
    }
}

TEST(RoundingTest, ExtendedValuesAreStoredAsDoublesWithoutOverflow) {
    constexpr double Inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(StoreAsDouble(1e400L), Inf);
    EXPECT_EQ(StoreAsDouble(-1e400L), -Inf);
    EXPECT_TRUE(std::isnan(StoreAsDouble(std::numeric_limits<long double>::quiet_NaN())));
    EXPECT_EQ(StoreAsDouble(0.1L), 0.1);
    EXPECT_EQ(Low32(std::int64_t{1} << 32), 0);
    EXPECT_EQ(Low32(-(std::int64_t{1} << 31) - 1), std::numeric_limits<std::int32_t>::max());
}

TEST(RoundingTest, MulDivRoundsHalvesAwayFromZero) {
    EXPECT_EQ(MulDiv(3, 961, 100), 29);
    EXPECT_EQ(MulDiv(4, 529, 100), 21);
    EXPECT_EQ(MulDiv(1, 1, 2), 1);
    EXPECT_EQ(MulDiv(-1, 1, 2), -1);
    EXPECT_EQ(MulDiv(3, 1, -2), -2);
    EXPECT_EQ(MulDiv(1, 5, 4), 1);
    EXPECT_EQ(MulDiv(1 << 30, 1 << 30, 1 << 30), 1 << 30); // no overflow in the product
}

TEST(RoundingTest, MulDivReportsImpossibleResultsAsMinusOne) {
    EXPECT_EQ(MulDiv(5, 1, 0), -1);
    EXPECT_EQ(MulDiv(1 << 30, 8, 1), -1);
    EXPECT_EQ(MulDiv(std::numeric_limits<std::int32_t>::min(), 1, 1),
              std::numeric_limits<std::int32_t>::min());
}

TEST(ChartStringsTest, PlaceholdersAreFilledInOrder) {
    EXPECT_EQ(FormatMessage(ChartStrings::ListIndexOutOfBounds, 7), "List index out of bounds (7)");
    EXPECT_EQ(FormatMessage(ChartStrings::Chart3DPercent, 1, 100),
              "3D effect percent must be between 1 and 100");
    EXPECT_EQ(FormatMessage(ChartStrings::AngleRange, {"Axis Labels"}),
              "Axis Labels Angle must be between 0 and 359 degrees");
    EXPECT_EQ(FormatMessage("%s of %s", {"5 %"}), "5 % of %s");
    EXPECT_EQ(FormatMessage("100%% %d", 3), "100% 3");
}

TEST(ChartStringsTest, ListErrorCarriesItsIndexAndText) {
    const ListIndexError error(-1);
    EXPECT_STREQ(error.what(), "List index out of bounds (-1)");
    EXPECT_EQ(error.Index(), -1);
}
