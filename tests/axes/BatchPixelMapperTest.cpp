#include "BatchPixelMapper.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <vector>

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
    std::vector<std::int32_t> batch(values.size());
    columns.Map(values.data(), static_cast<std::int32_t>(values.size()), batch.data());
    for (std::size_t i = 0; i < values.size(); ++i) {
        ASSERT_EQ(batch[i], mapping.XValueToPixel(values[i])) << values[i];
        ASSERT_EQ(rows.Map(values[i]), mapping.YValueToPixel(values[i])) << values[i];
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
