// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/canvas/ChartFont.h>
#include <korvatel/canvas/DeviceScale.h>

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace Korvatel {

// The platform fonts of the canvas and, per font, the widths and glyph pixels of the texts drawn
// in them, kept from one repaint to the next. A chart writes the same few dozen label texts in
// two or three fonts every frame; laying out and rasterising each of them again costs several
// times what copying its pixels does. Used on the user-interface thread only.
class KORVATEL_EXPORT TTextCache {
public:
    // A platform font and its metrics. Id is unique for the life of the program, so a painter
    // that was given a font can tell whether it still has it. A smooth font draws its glyphs
    // with blended edges; the others in two colours.
    struct TFontEntry {
        TFontEntry(std::uint64_t id, const TChartFont& font, std::int32_t pixelSize, double zoom,
                   bool smooth);

        std::uint64_t Id;
        std::string Name;
        std::int32_t PixelSize;
        TFontStyles Style;
        bool Smooth;
        QFont Font;
        QFontMetrics Metrics;
        // The same face unhinted: the outlines a vector device (a PDF, a printer) draws.
        QFont DesignFont;
    };

    // One pixel of a text as the platform draws it: its offset from the left end of the text's
    // baseline and how much of it the glyphs cover (255 for two-coloured text).
    struct TInkPixel {
        std::int32_t X;
        std::int32_t Y;
        std::uint8_t Coverage;
    };

    // How much a text drawn at another resolution is narrowed (X) and lowered (Y), about its
    // left end on the baseline, to stay inside the room of its 96-dpi picture.
    struct TFit {
        double X = 1.0;
        double Y = 1.0;
    };

    // A text's room: its advance box (width by ascent plus descent) together with the pixels of
    // its 96-dpi picture, relative to the left end of its baseline, in logical pixels.
    struct TRoom {
        std::int32_t Left = 0;
        std::int32_t Top = 0;
        std::int32_t Right = 0;
        std::int32_t Bottom = 0;
    };

    struct TTextEntry {
        std::int32_t Width = 0;
        bool Rasterised = false;
        bool HasInk = false;
        std::vector<TInkPixel> Ink;
        TRoom Room;
        // At a device scale other than 1: the glyph pixels at the device's resolution, offsets
        // in device pixels from the device pixel of the left end of the baseline.
        TDeviceScale DeviceScale;
        bool DeviceRasterised = false;
        bool DeviceHasInk = false;
        std::vector<TInkPixel> DeviceInk;
        TFit DeviceFit;
        bool VectorFitted = false;
        TFit VectorFit;
    };

    // The entry of a chart font at a zoom factor (see TChartFont::ToQFont), two-coloured or
    // smooth.
    const TFontEntry& FontFor(const TChartFont& font, double zoom, bool smooth = false);
    // The advance width of a text in a font.
    std::int32_t Width(const TFontEntry& font, std::string_view text);
    // Width and glyph pixels of a text. HasInk is False for texts too large to keep, which are
    // then drawn by the painter directly.
    const TTextEntry& Glyphs(const TFontEntry& font, std::string_view text);
    // The text at a device scale: rasterised at the device's resolution, narrowed where its
    // glyphs would reach beyond its room, and kept to the device pixels of the room. Of one
    // scale at a time. DeviceHasInk is False where Glyphs has no ink.
    const TTextEntry& DeviceGlyphs(const TFontEntry& font, std::string_view text,
                                   const TDeviceScale& scale);
    // The fit of the text in the font's unhinted outlines (DesignFont).
    TFit VectorFit(const TFontEntry& font, std::string_view text);

    static constexpr std::size_t MaxFonts = 16;
    static constexpr std::size_t MaxTexts = 1024;

private:
    struct TKey {
        std::uint64_t FontId;
        std::string Text;
        friend bool operator==(const TKey&, const TKey&) = default;
    };
    struct TKeyHash {
        std::size_t operator()(const TKey& key) const {
            return std::hash<std::string>()(key.Text) ^ (key.FontId * 0x9E3779B97F4A7C15ull);
        }
    };

    TTextEntry& Entry(const TFontEntry& font, std::string_view text);
    // The scratch image that texts are drawn into, at least width x height (it only grows;
    // callers keep to LargestScratch).
    void GrowScratch(std::int64_t width, std::int64_t height);
    void Rasterise(const TFontEntry& font, const QString& text, TTextEntry& entry);
    void RasteriseDevice(const TFontEntry& font, const QString& text, const TDeviceScale& scale,
                         TTextEntry& entry);

    std::vector<std::unique_ptr<TFontEntry>> FFonts;
    std::uint64_t FNextFontId = 1;
    std::unordered_map<TKey, TTextEntry, TKeyHash> FTexts;
    TKey FLookup;
    QImage FScratch;
};

} // namespace Korvatel
