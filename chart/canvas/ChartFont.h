// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/core/ChartTypes.h>

#include <QFont>
#include <cstdint>
#include <functional>
#include <string>

namespace Korvatel {

// Style flags of a font; a TFontStyles value is a sum of them.
enum TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = std::uint8_t;

// The character set a font asks for; the chart only ever keeps the default one.
using TFontCharset = std::uint8_t;
constexpr TFontCharset DefaultCharset = 1;

// A font of the chart: face name, size, colour, style and character set, with change
// notification (the owner repaints the chart). The size is kept as a height in pixels, as the
// platform keeps it: a negative height is a character height (the em of the face, "Arial,
// height -13"), a positive one a cell height (ascent plus descent). Size in points and height
// convert through PixelsPerInch (96 for the chart's images).
class KORVATEL_EXPORT TChartFont {
public:
    using TChangeEvent = std::function<void()>;

    static constexpr std::int32_t ScreenPixelsPerInch = 96;

    // The default chart font: the resource strings' name and size, black, regular.
    TChartFont();
    explicit TChartFont(TChangeEvent onChange);
    TChartFont(const TChartFont&) = delete;
    TChartFont& operator=(const TChartFont&) = delete;
    virtual ~TChartFont() = default;

    const std::string& Name() const { return FName; }
    void SetName(const std::string& value);
    // Points, from the height: a character height of 11 pixels at 96 pixels per inch is 8.
    std::int32_t Size() const;
    void SetSize(std::int32_t value);
    std::int32_t Height() const { return FHeight; }
    void SetHeight(std::int32_t value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles value);
    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset value);
    // The resolution that point sizes refer to. Changing it keeps the height in pixels.
    std::int32_t PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(std::int32_t value);

    // True when size, name, colour, style and character set are the defaults (such a font is
    // not stored with the layout).
    bool IsDefault() const;

    // Copies name, size, colour, style and character set; reports one change. A source with
    // another PixelsPerInch gives its size in points, re-expressed in this font's resolution.
    void Assign(const TChartFont& source);
    void SetOnChange(TChangeEvent onChange) { FOnChange = std::move(onChange); }

    // The platform font for drawing: two-coloured glyphs (no antialiasing) with whole-pixel
    // advances. zoom scales the size in points (never below 1 point).
    QFont ToQFont(double zoom = 1.0) const;
    // The character height in pixels that ToQFont asks for.
    std::int32_t PixelSize(double zoom = 1.0) const;

private:
    template <typename T>
    void SetProperty(T& field, T value) {
        if (field != value) {
            field = value;
            Changed();
        }
    }
    void Changed() const;
    std::int32_t HeightForSize(std::int32_t points) const;

    TChangeEvent FOnChange;
    std::string FName;
    std::int32_t FHeight = 0;
    TColor FColor = clBlack;
    TFontStyles FStyle = 0;
    TFontCharset FCharset = DefaultCharset;
    std::int32_t FPixelsPerInch = ScreenPixelsPerInch;
};

} // namespace Korvatel
