// SPDX-License-Identifier: MIT
#include <korvatel/data/AreaStacking.h>

#include <korvatel/core/Rounding.h>

#include <cmath>

namespace Korvatel {

TStackSpan StackSpan(TMultiArea mode, std::span<const double> values, std::size_t layer) {
    const auto valueOf = [&values](std::size_t i) {
        return std::isfinite(values[i]) ? static_cast<long double>(values[i]) : 0.0L;
    };
    if (layer >= values.size()) {
        return {};
    }
    if (mode == maNone) {
        return {0, StoreAsDouble(valueOf(layer))};
    }
    // Sums in extended precision, so that the top of one layer is the bottom of the next
    // to the last bit.
    long double below = 0;
    for (std::size_t i = 0; i < layer; ++i) {
        below += valueOf(i);
    }
    long double top = below + valueOf(layer);
    if (mode == maStacked100) {
        long double total = 0;
        for (std::size_t i = 0; i < values.size(); ++i) {
            total += std::fabs(valueOf(i));
        }
        if (total == 0) {
            return {};
        }
        below = below * 100 / total;
        top = top * 100 / total;
    }
    return {StoreAsDouble(below), StoreAsDouble(top)};
}

} // namespace Korvatel
