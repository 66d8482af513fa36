// SPDX-License-Identifier: MIT
#include <korvatel/canvas/ChartBrush.h>

#include <array>

namespace Korvatel {

void TChartBrush::Changed() const {
    if (FOnChange) {
        FOnChange();
    }
}

void TChartBrush::InitDefaults(TColor color, TBrushStyle style) {
    FColor = color;
    FStyle = style;
}

void TChartBrush::SetColor(TColor value) {
    if (FColor != value) {
        FColor = value;
        Changed();
    }
}

void TChartBrush::SetStyle(TBrushStyle value) {
    if (FStyle != value) {
        FStyle = value;
        Changed();
    }
}

void TChartBrush::SetImage(const QImage& value) {
    // Two null images are the same "no image"; otherwise the cache key tells copies of one
    // image apart from different images without comparing pixels.
    if (FImage.isNull() && value.isNull()) {
        return;
    }
    if (!FImage.isNull() && !value.isNull() && FImage.cacheKey() == value.cacheKey()) {
        return;
    }
    FImage = value;
    Changed();
}

TBrushStyle TChartBrush::DefaultHatch(std::int32_t index) {
    static constexpr std::array<TBrushStyle, 6> Hatches{bsHorizontal, bsVertical, bsFDiagonal,
                                                        bsBDiagonal,  bsCross,    bsDiagCross};
    constexpr std::int32_t count = static_cast<std::int32_t>(Hatches.size());
    // A plain % would give a negative entry for a negative number.
    const std::int32_t entry = ((index % count) + count) % count;
    return Hatches[static_cast<std::size_t>(entry)];
}

void TChartBrush::Assign(const TChartBrush& source) {
    if (&source == this) {
        return;
    }
    FColor = source.FColor;
    FStyle = source.FStyle;
    FImage = source.FImage;
    Changed();
}

} // namespace Korvatel
