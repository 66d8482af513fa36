// SPDX-License-Identifier: MIT
#include <korvatel/axes/BatchPixelMapper.h>

#include <cfloat>

#if defined(__SSE2__)
#include <emmintrin.h>

namespace Korvatel {
#endif

TBatchPixelMapper::TBatchPixelMapper(const TAxisMapping& mapping, bool column)
    : FMapping(mapping), FColumn(column) {
    // The fast path's error margins hold where doubles are computed as doubles.
    const bool plainDoubles = FLT_EVAL_METHOD == 0;
    const double range = mapping.Range();
    FFast = plainDoubles && mapping.Scale() == TAxisScale::Linear && range != 0 &&
            std::isfinite(range) && std::isfinite(mapping.Minimum());
    if (!FFast) {
        return;
    }
    FFromEnd = column ? mapping.Inverted() : !mapping.Inverted();
    FMinimum = mapping.Minimum();
    FScale = mapping.PixelLength() / range;
    FStart = mapping.StartPixel();
    FEnd = mapping.EndPixel();
    FFast = std::isfinite(FScale);
}

void TBatchPixelMapper::Map(const double* values, std::int32_t count,
                            std::int32_t* pixels) const {
    std::int32_t i = 0;
#if defined(__SSE2__)
    if (FFast) {
        // TryFastMap on two values at once, with the same operations in the same order; the
        // pixel is formed in double arithmetic, exact for whole numbers this size.
        const __m128d minimum = _mm_set1_pd(FMinimum);
        const __m128d scale = _mm_set1_pd(FScale);
        const __m128d magic = _mm_set1_pd(RoundingMagic);
        const __m128d largest = _mm_set1_pd(LargestFastOffset);
        const __m128d half = _mm_set1_pd(0.5);
        const __m128d absoluteMargin = _mm_set1_pd(AbsoluteMargin);
        const __m128d relativeMargin = _mm_set1_pd(RelativeMargin);
        const __m128d noSign = _mm_castsi128_pd(_mm_set1_epi64x(0x7FFFFFFFFFFFFFFF));
        const __m128d base = _mm_set1_pd(static_cast<double>(FFromEnd ? FEnd : FStart));
        const __m128d direction = _mm_set1_pd(FFromEnd ? -1.0 : 1.0);
        const __m128d lowest = _mm_set1_pd(-2147483648.0);
        const __m128d highest = _mm_set1_pd(2147483647.0);
        for (; i + 2 <= count; i += 2) {
            const __m128d offset = _mm_mul_pd(_mm_sub_pd(_mm_loadu_pd(values + i), minimum), scale);
            const __m128d magnitude = _mm_and_pd(offset, noSign);
            const __m128d rounded = _mm_sub_pd(_mm_add_pd(offset, magic), magic);
            const __m128d distance = _mm_and_pd(_mm_sub_pd(offset, rounded), noSign);
            const __m128d margin =
                _mm_add_pd(absoluteMargin, _mm_mul_pd(magnitude, relativeMargin));
            const __m128d pixel = _mm_add_pd(base, _mm_mul_pd(direction, rounded));
            // Every comparison is false for NaN.
            __m128d taken = _mm_cmplt_pd(magnitude, largest);
            taken = _mm_and_pd(taken, _mm_cmpgt_pd(_mm_sub_pd(half, distance), margin));
            taken = _mm_and_pd(taken, _mm_cmpge_pd(pixel, lowest));
            taken = _mm_and_pd(taken, _mm_cmple_pd(pixel, highest));
            if (_mm_movemask_pd(taken) == 3) {
                _mm_storel_epi64(reinterpret_cast<__m128i*>(pixels + i), _mm_cvttpd_epi32(pixel));
            } else {
                pixels[i] = Map(values[i]);
                pixels[i + 1] = Map(values[i + 1]);
            }
        }
    }
#endif
    for (; i < count; ++i) {
        pixels[i] = Map(values[i]);
    }
}

} // namespace Korvatel
