#include "BatchPixelMapper.h"

#include <cfloat>

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
