// SPDX-License-Identifier: MIT
#include <korvatel/canvas/ChartFont.h>

#include <korvatel/core/ChartStrings.h>
#include <korvatel/core/Rounding.h>

#include <QFontMetricsF>
#include <algorithm>
#include <charconv>

namespace Korvatel {

namespace {

// Bounds of the pixel size handed to the platform: a font must be at least one pixel high, and
// absurd heights (a corrupted layout) must not make the text engine rasterise giant glyphs.
constexpr std::int32_t SmallestPixelSize = 1;
constexpr std::int32_t LargestPixelSize = 4096;

std::int32_t DefaultFontSize() {
    const std::string_view text = ChartStrings::DefaultFontSize;
    std::int32_t size = 8;
    std::from_chars(text.data(), text.data() + text.size(), size);
    return size;
}

} // namespace

TChartFont::TChartFont() : FName(ChartStrings::DefaultFontName) {
    FHeight = HeightForSize(DefaultFontSize());
}

TChartFont::TChartFont(TChangeEvent onChange) : TChartFont() {
    FOnChange = std::move(onChange);
}

void TChartFont::Changed() const {
    if (FOnChange) {
        FOnChange();
    }
}

std::int32_t TChartFont::HeightForSize(std::int32_t points) const {
    return -MulDiv(points, FPixelsPerInch, 72);
}

std::int32_t TChartFont::Size() const {
    if (FPixelsPerInch <= 0) {
        return 0;
    }
    // A cell height gives a slightly larger size than the face's character height would; the
    // platform answers the same way.
    return FHeight < 0 ? -MulDiv(FHeight, 72, FPixelsPerInch) : MulDiv(FHeight, 72, FPixelsPerInch);
}

void TChartFont::SetSize(std::int32_t value) {
    SetProperty(FHeight, HeightForSize(value));
}

void TChartFont::SetHeight(std::int32_t value) {
    SetProperty(FHeight, value);
}

void TChartFont::SetName(const std::string& value) {
    SetProperty(FName, value);
}

void TChartFont::SetColor(TColor value) {
    SetProperty(FColor, value);
}

void TChartFont::SetStyle(TFontStyles value) {
    SetProperty(FStyle, value);
}

void TChartFont::SetCharset(TFontCharset value) {
    SetProperty(FCharset, value);
}

void TChartFont::SetPixelsPerInch(std::int32_t value) {
    SetProperty(FPixelsPerInch, value);
}

bool TChartFont::IsDefault() const {
    return Size() == DefaultFontSize() && FName == ChartStrings::DefaultFontName &&
           FColor == clBlack && FStyle == 0 && FCharset == DefaultCharset;
}

void TChartFont::Assign(const TChartFont& source) {
    if (&source == this) {
        return;
    }
    FName = source.FName;
    FHeight =
        source.FPixelsPerInch == FPixelsPerInch ? source.FHeight : HeightForSize(source.Size());
    FColor = source.FColor;
    FStyle = source.FStyle;
    FCharset = source.FCharset;
    Changed();
}

std::int32_t TChartFont::PixelSize(double zoom) const {
    std::int32_t height = FHeight;
    if (zoom != 1.0) {
        const auto points = std::max<std::int64_t>(1, RoundHalfEven(Size() * zoom));
        height = HeightForSize(static_cast<std::int32_t>(std::min<std::int64_t>(points, 100000)));
    }
    if (height == 0) {
        // The platform picks a default height for 0; the chart's default size is the natural one.
        height = HeightForSize(DefaultFontSize());
    }
    std::int64_t pixels = height < 0 ? -static_cast<std::int64_t>(height) : height;
    if (height > 0) {
        // A cell height: find the character height whose ascent plus descent is that tall.
        QFont probe(QString::fromStdString(FName));
        probe.setPixelSize(100);
        const qreal cell = QFontMetricsF(probe).height();
        if (cell > 0) {
            pixels = RoundHalfEven(static_cast<long double>(height) * 100.0L / cell);
        }
    }
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(pixels, SmallestPixelSize, LargestPixelSize));
}

QFont TChartFont::ToQFont(double zoom) const {
    QFont font(QString::fromStdString(FName));
    font.setPixelSize(PixelSize(zoom));
    font.setBold((FStyle & fsBold) != 0);
    font.setItalic((FStyle & fsItalic) != 0);
    font.setUnderline((FStyle & fsUnderline) != 0);
    font.setStrikeOut((FStyle & fsStrikeOut) != 0);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

} // namespace Korvatel
