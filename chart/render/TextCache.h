#pragma once

#include "ChartFont.h"

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

// The platform fonts of the canvas and, per font, the widths and glyph pixels of the texts drawn
// in them, kept from one repaint to the next. A chart writes the same few dozen label texts in
// two or three fonts every frame; laying out and rasterising each of them again costs several
// times what copying its pixels does. Used on the user-interface thread only.
class TTextCache {
public:
    // A platform font and its metrics. Id is unique for the life of the program, so a painter
    // that was given a font can tell whether it still has it.
    struct TFontEntry {
        TFontEntry(std::uint64_t id, const TChartFont& font, std::int32_t pixelSize, double zoom);

        std::uint64_t Id;
        std::string Name;
        std::int32_t PixelSize;
        TFontStyles Style;
        QFont Font;
        QFontMetrics Metrics;
    };

    // One pixel of a text as the platform draws it: its offset from the left end of the text's
    // baseline and how much of it the glyphs cover (255 for two-coloured text).
    struct TInkPixel {
        std::int32_t X;
        std::int32_t Y;
        std::uint8_t Coverage;
    };

    struct TTextEntry {
        std::int32_t Width = 0;
        bool Rasterised = false;
        bool HasInk = false;
        std::vector<TInkPixel> Ink;
    };

    // The entry of a chart font at a zoom factor (see TChartFont::ToQFont).
    const TFontEntry& FontFor(const TChartFont& font, double zoom);
    // The advance width of a text in a font.
    std::int32_t Width(const TFontEntry& font, std::string_view text);
    // Width and glyph pixels of a text. HasInk is False for texts too large to keep, which are
    // then drawn by the painter directly.
    const TTextEntry& Glyphs(const TFontEntry& font, std::string_view text);

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
    void Rasterise(const TFontEntry& font, const QString& text, TTextEntry& entry);

    std::vector<std::unique_ptr<TFontEntry>> FFonts;
    std::uint64_t FNextFontId = 1;
    std::unordered_map<TKey, TTextEntry, TKeyHash> FTexts;
    TKey FLookup;
    QImage FScratch;
};
