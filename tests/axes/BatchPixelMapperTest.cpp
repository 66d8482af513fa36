// SPDX-License-Identifier: MIT
#include <korvatel/axes/BatchPixelMapper.h>

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <vector>

using namespace Korvatel;

namespace {

TAxisMapping Mapping(double minimum, double maximum, std::int32_t start, std::int32_t end,
                     bool inverted = false, TAxisScale scale = TAxisScale::Linear) {
    TAxisMapping mapping;
    mapping.SetScale(scale);
    mapping.SetInverted(inverted);
    mapping.SetRange(minimum, maximum);
    mapping.SetExtent(start, end);
    return mapping;
}

// Every value gives the pixel of the mapping itself, both as a column and as a row.
void ExpectSamePixels(const TAxisMapping& mapping, const std::vector<double>& values) {
    const TBatchPixelMapper columns(mapping, true);
    const TBatchPixelMapper rows(mapping, false);
    // Whole lists and every odd length, so that each value is met both in a pair and alone.
    for (std::size_t skip = 0; skip < 2; ++skip) {
        const auto count = static_cast<std::int32_t>(values.size() - skip);
        std::vector<std::int32_t> batchColumns(values.size());
        std::vector<std::int32_t> batchRows(values.size());
        columns.Map(values.data() + skip, count, batchColumns.data());
        rows.Map(values.data() + skip, count, batchRows.data());
        for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {
            const double value = values[i + skip];
            ASSERT_EQ(batchColumns[i], mapping.XValueToPixel(value)) << value;
            ASSERT_EQ(batchRows[i], mapping.YValueToPixel(value)) << value;
            ASSERT_EQ(rows.Map(value), mapping.YValueToPixel(value)) << value;
        }
    }
}

} // namespace

TEST(BatchPixelMapperTest, EdgeValuesMatchTheMapping) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<double> values = {
        0,     1000,  500,    -1000, 0.5, 1.5,  2.5, -0.5, 1e-300,        -1e-300,        1e15,
        -1e15, 1e300, -1e300, nan,   inf, -inf, 4e9, -4e9, 999.999999999, 1000.0000000001};
    const TAxisMapping mappings[] = {
        Mapping(0, 1000, 29, 932),
        Mapping(-1000, 1000, 21, 508),
        Mapping(0, 1000, 29, 932, true),
        Mapping(0, 1000, 0, 1000),             // offsets of exactly a half
        Mapping(0, 2000, 0, 1000),             // every odd value a tie
        Mapping(5, 5, 0, 100),                 // no range: the centre
        Mapping(0, 1e-300, 0, 100),            // tiny range
        Mapping(-1e308, 1e308, 0, 2000000000), // the difference overflows
        Mapping(1, 1000, 0, 900, false, TAxisScale::Logarithmic),
        Mapping(0, 1000, 2147483000, 2147483600), // pixels near the end of 32 bits
    };
    for (const TAxisMapping& mapping : mappings) {
        ExpectSamePixels(mapping, values);
    }
}

TEST(BatchPixelMapperTest, DenseAndRandomValuesMatchTheMapping) {
    // Values on a fine grid hit the rounding boundaries of many pixels; random ones anywhere.
    std::vector<double> values;
    for (int i = -3000; i <= 3000; ++i) {
        values.push_back(i * 0.5);
        values.push_back(i / 3.0);
    }
    std::mt19937_64 random(12345);
    std::uniform_real_distribution<double> spread(-2000, 2000);
    for (int i = 0; i < 20000; ++i) {
        values.push_back(spread(random));
    }
    for (const TAxisMapping& mapping :
         {Mapping(0, 1000, 29, 932), Mapping(-1000, 1000, 21, 508),
          Mapping(-1000, 1000, 21, 508, true), Mapping(0.1, 0.7, 3, 961), Mapping(-3, 1e6, 0, 7)}) {
        ExpectSamePixels(mapping, values);
    }
}

TEST(BatchPixelMapperTest, ValuesAHairFromAHalfPixelMatchTheMapping) {
    // Where a value lies within a few units in the last place of a half pixel, plain double
    // arithmetic may round to the other side than the mapping's extended arithmetic; the
    // fast path must leave such values to the mapping.
    std::mt19937_64 random(2718);
    std::uniform_real_distribution<double> origin(-1000, 1000);
    std::uniform_real_distribution<double> width(0.001, 5000);
    std::uniform_int_distribution<std::int32_t> extent(50, 3000);
    for (int round = 0; round < 200; ++round) {
        const double minimum = origin(random);
        const double maximum = minimum + width(random);
        const std::int32_t pixels = extent(random);
        const TAxisMapping mapping = Mapping(minimum, maximum, 7, 7 + pixels, round % 2 == 1);
        std::vector<double> values;
        for (std::int32_t k = 0; k < pixels; k += 3) {
            double value = minimum + (k + 0.5) * (maximum - minimum) / pixels;
            for (int ulp = 0; ulp < 3; ++ulp) {
                value = std::nextafter(value, -std::numeric_limits<double>::infinity());
            }
            for (int ulp = 0; ulp < 7; ++ulp) {
                values.push_back(value);
                value = std::nextafter(value, std::numeric_limits<double>::infinity());
            }
        }
        ExpectSamePixels(mapping, values);
    }
}
