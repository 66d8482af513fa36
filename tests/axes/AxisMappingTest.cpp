// SPDX-License-Identifier: MIT
#include <korvatel/axes/AxisMapping.h>

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>

using namespace Korvatel;

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::int32_t MaxPixel = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t MinPixel = std::numeric_limits<std::int32_t>::min();

TAxisMapping Mapping(double minimum, double maximum, std::int32_t start, std::int32_t end,
                     bool horizontal, bool inverted = false,
                     TAxisScale scale = TAxisScale::Linear) {
    TAxisMapping mapping;
    mapping.SetRange(minimum, maximum);
    mapping.SetExtent(start, end);
    mapping.SetHorizontal(horizontal);
    mapping.SetInverted(inverted);
    mapping.SetScale(scale);
    return mapping;
}

struct ValueRow {
    double value;
    std::int32_t pixel;
};

} // namespace

TEST(AxisMappingTest, BottomAxisOfTheMainWindow) {
    // 0 to 1000 over columns 100 to 900: 0.8 pixels per unit.
    const TAxisMapping bottom = Mapping(0, 1000, 100, 900, true);
    const ValueRow rows[] = {{0, 100}, {1, 101}, {500, 500}, {1000, 900}, {-1, 99}, {1e-9, 100}};
    for (const ValueRow& row : rows) {
        EXPECT_EQ(bottom.XValueToPixel(row.value), row.pixel) << row.value;
        EXPECT_EQ(bottom.ValueToPixel(row.value), row.pixel) << row.value;
    }
}

TEST(AxisMappingTest, LeftAxisOfTheMainWindowGrowsUpwardsAndRoundsHalvesToEven) {
    const TAxisMapping left = Mapping(-1000, 1000, 40, 440, false);
    // 2.5 gives an offset of exactly 200.5, which goes to 200: the same row as 0.
    const ValueRow rows[] = {{1000, 40}, {-1000, 440}, {0, 240}, {2.5, 240}, {7.5, 238}, {3, 239}};
    for (const ValueRow& row : rows) {
        EXPECT_EQ(left.YValueToPixel(row.value), row.pixel) << row.value;
        EXPECT_EQ(left.ValueToPixel(row.value), row.pixel) << row.value;
    }
}

TEST(AxisMappingTest, InvertedAxesMeasureFromTheOtherEnd) {
    const TAxisMapping bottom = Mapping(0, 1000, 100, 900, true, true);
    EXPECT_EQ(bottom.XValueToPixel(0), 900);
    EXPECT_EQ(bottom.XValueToPixel(1000), 100);
    EXPECT_EQ(bottom.XValueToPixel(1), 899);
    const TAxisMapping left = Mapping(-1000, 1000, 40, 440, false, true);
    EXPECT_EQ(left.YValueToPixel(1000), 440);
    EXPECT_EQ(left.YValueToPixel(-1000), 40);
}

TEST(AxisMappingTest, DegenerateRangesAndWildValuesGiveTheCentre) {
    const TAxisMapping flat = Mapping(5, 5, 100, 901, true); // centre 500
    for (double value : {5.0, -1e300, 1e300, NaN, Inf}) {
        EXPECT_EQ(flat.XValueToPixel(value), 500) << value;
        EXPECT_EQ(flat.YValueToPixel(value), 500) << value;
    }
    const TAxisMapping bottom = Mapping(0, 1000, 100, 900, true);
    for (double value : {1e308, -1e308, Inf, -Inf, NaN, 2684354560.0, -2684354560.0}) {
        EXPECT_EQ(bottom.XValueToPixel(value), 500) << value;
        EXPECT_EQ(bottom.YValueToPixel(value), 500) << value;
    }
    // One unit per pixel from column 0: the offset 2147483646 still maps, 2147483647 does not.
    const TAxisMapping unit = Mapping(0, 1, 0, 1, true);
    EXPECT_EQ(unit.XValueToPixel(2147483646.0), 2147483646);
    EXPECT_EQ(unit.XValueToPixel(-2147483646.0), -2147483646);
    EXPECT_EQ(unit.XValueToPixel(2147483647.0), 0);
    // A mappable offset whose pixel would leave 32 bits also gives the centre.
    const TAxisMapping shifted = Mapping(0, 1000, 1000, 2000, true);
    EXPECT_EQ(shifted.XValueToPixel(2147483000.0), 1500);
    EXPECT_EQ(shifted.YValueToPixel(-2147483000.0), 1500);
}

TEST(AxisMappingTest, LogarithmicMapping) {
    // ln 10 is a quarter of ln 10000: each decade takes 25 of the 100 pixels.
    const TAxisMapping x = Mapping(1, 10000, 0, 100, true, false, TAxisScale::Logarithmic);
    const TAxisMapping xInverted = Mapping(1, 10000, 0, 100, true, true, TAxisScale::Logarithmic);
    const TAxisMapping y = Mapping(1, 10000, 0, 100, false, false, TAxisScale::Logarithmic);
    const TAxisMapping yInverted = Mapping(1, 10000, 0, 100, false, true, TAxisScale::Logarithmic);
    struct Row {
        double value;
        std::int32_t x, xInverted, y, yInverted;
    };
    const Row rows[] = {{1, 0, 100, 100, 0},
                        {10, 25, 75, 75, 25},
                        {100, 50, 50, 50, 50},
                        {10000, 100, 0, 0, 100},
                        // No logarithm: the end where the smallest values lie.
                        {0, 0, 100, 100, 0},
                        {-3, 0, 100, 100, 0},
                        {NaN, 50, 50, 50, 50},
                        {Inf, 50, 50, 50, 50}};
    for (const Row& row : rows) {
        EXPECT_EQ(x.XValueToPixel(row.value), row.x) << row.value;
        EXPECT_EQ(xInverted.XValueToPixel(row.value), row.xInverted) << row.value;
        EXPECT_EQ(y.YValueToPixel(row.value), row.y) << row.value;
        EXPECT_EQ(yInverted.YValueToPixel(row.value), row.yInverted) << row.value;
    }
    // A limit without a logarithm counts as ln 1: 0 to 100 spreads 1 to 100 over the axis.
    EXPECT_EQ(Mapping(0, 100, 0, 100, true, false, TAxisScale::Logarithmic).XValueToPixel(10), 50);
    // No logarithmic span: the centre, even for values that have no logarithm.
    const TAxisMapping flat = Mapping(7, 7, 0, 100, true, false, TAxisScale::Logarithmic);
    EXPECT_EQ(flat.XValueToPixel(7), 50);
    EXPECT_EQ(flat.XValueToPixel(-1), 50);
    // A span so small that the offset leaves 32 bits.
    EXPECT_EQ(Mapping(1, 1 + 1e-15, 0, 100, true, false, TAxisScale::Logarithmic).XValueToPixel(5),
              50);
}

TEST(AxisMappingTest, DepthMappingSpreadsOverTheBoxDepth) {
    TAxisMapping depth = Mapping(0, 10, 0, 0, false, false, TAxisScale::Depth);
    depth.SetDepth(40);
    EXPECT_EQ(depth.XValueToPixel(2), 8);
    EXPECT_EQ(depth.YValueToPixel(2), 8); // both forms alike
    EXPECT_EQ(depth.XValueToPixel(NaN), 20);
    depth.SetInverted(true);
    EXPECT_EQ(depth.XValueToPixel(2), 32);
    depth.SetRange(3, 3);
    depth.SetDepth(41);
    EXPECT_EQ(depth.XValueToPixel(3), 20);
}

TEST(AxisMappingTest, LinearPixelToValue) {
    const TAxisMapping bottom = Mapping(0, 1000, 100, 900, true);
    EXPECT_EQ(bottom.PixelToValue(100), 0);
    EXPECT_EQ(bottom.PixelToValue(900), 1000);
    EXPECT_EQ(bottom.PixelToValue(500), 500);
    EXPECT_EQ(bottom.PixelToValue(0), -125);
    const TAxisMapping left = Mapping(-1000, 1000, 40, 440, false);
    EXPECT_EQ(left.PixelToValue(40), 1000);
    EXPECT_EQ(left.PixelToValue(440), -1000);
    EXPECT_EQ(left.PixelToValue(240), 0);
    EXPECT_EQ(Mapping(0, 1000, 100, 900, true, true).PixelToValue(100), 1000);
    EXPECT_EQ(Mapping(-1000, 1000, 40, 440, false, true).PixelToValue(40), -1000);
    // Pixels anywhere in 32 bits give finite values.
    EXPECT_TRUE(std::isfinite(bottom.PixelToValue(MinPixel)));
    EXPECT_TRUE(std::isfinite(left.PixelToValue(MaxPixel)));
    // An axis shorter than one pixel maps every pixel to 0.
    EXPECT_EQ(Mapping(0, 1000, 5, 5, true).PixelToValue(5), 0);
    EXPECT_EQ(Mapping(0, 1000, 9, 5, false).PixelToValue(7), 0);
}

TEST(AxisMappingTest, LogarithmicPixelToValue) {
    const TAxisMapping x = Mapping(1, 10000, 0, 100, true, false, TAxisScale::Logarithmic);
    EXPECT_EQ(x.PixelToValue(0), 1);
    EXPECT_EQ(x.PixelToValue(100), 10000);
    EXPECT_NEAR(x.PixelToValue(50), 100, 1e-9);
    const TAxisMapping y = Mapping(1, 10000, 0, 100, false, false, TAxisScale::Logarithmic);
    EXPECT_EQ(y.PixelToValue(0), 10000);
    EXPECT_EQ(y.PixelToValue(100), 1);
    EXPECT_NEAR(y.PixelToValue(75), 10, 1e-10);
    const TAxisMapping xInverted = Mapping(1, 10000, 0, 100, true, true, TAxisScale::Logarithmic);
    EXPECT_EQ(xInverted.PixelToValue(0), 10000);
    EXPECT_NEAR(xInverted.PixelToValue(75), 10, 1e-10);
    // The ends are exact even when a limit has no logarithm.
    const TAxisMapping fromZero = Mapping(0, 100, 0, 100, true, false, TAxisScale::Logarithmic);
    EXPECT_EQ(fromZero.PixelToValue(0), 0);
    EXPECT_EQ(Mapping(4, 4, 0, 100, true, false, TAxisScale::Logarithmic).PixelToValue(30), 4);
    EXPECT_EQ(Mapping(1, 100, 9, 5, true, false, TAxisScale::Logarithmic).PixelToValue(7), 0);
}

TEST(AxisMappingTest, EveryPixelOfTheExtentSurvivesTheRoundTrip) {
    struct Row {
        double minimum, maximum;
        std::int32_t start, end;
        bool horizontal, inverted;
        TAxisScale scale;
    };
    const Row rows[] = {{0, 1000, 100, 900, true, false, TAxisScale::Linear},
                        {-1000, 1000, 40, 440, false, false, TAxisScale::Linear},
                        {-3.7, 12.9, 29, 932, true, true, TAxisScale::Linear},
                        {1e-7, 3e-7, 21, 508, false, true, TAxisScale::Linear},
                        {-5e12, 7e12, 0, 961, true, false, TAxisScale::Linear},
                        {0.01, 1e6, 21, 508, false, false, TAxisScale::Logarithmic},
                        {1, 2, 29, 932, true, true, TAxisScale::Logarithmic}};
    for (const Row& row : rows) {
        const TAxisMapping mapping = Mapping(row.minimum, row.maximum, row.start, row.end,
                                             row.horizontal, row.inverted, row.scale);
        for (std::int32_t pixel = row.start; pixel <= row.end; ++pixel) {
            ASSERT_EQ(mapping.ValueToPixel(mapping.PixelToValue(pixel)), pixel)
                << row.minimum << ".." << row.maximum << " at " << pixel;
        }
    }
}

TEST(AxisMappingTest, ExtentKeepsLengthAndTruncatedCentre) {
    TAxisMapping mapping;
    mapping.SetExtent(-5, 2);
    EXPECT_EQ(mapping.PixelLength(), 7);
    EXPECT_EQ(mapping.CenterPixel(), -1); // -1.5 truncated toward zero
    mapping.SetExtent(3, 8);
    EXPECT_EQ(mapping.CenterPixel(), 5);
    mapping.SetExtent(MinPixel, MaxPixel);
    EXPECT_EQ(mapping.CenterPixel(), 0);
    EXPECT_EQ(mapping.PixelLength(), -1); // the low 32 bits of 2^32 - 1
}
