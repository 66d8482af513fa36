#include "TextCache.h"

#include <QPainter>
#include <algorithm>

namespace {

// Texts whose picture would exceed this many pixels are not kept: they are rare (a label of
// thousands of characters) and would hold on to a lot of memory.
constexpr std::int64_t LargestScratch = 4 * 1024 * 1024;

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

TTextCache::TFontEntry::TFontEntry(std::uint64_t id, const TChartFont& font, std::int32_t pixelSize,
                                   double zoom)
    : Id(id), Name(font.Name()), PixelSize(pixelSize), Style(font.Style()),
      Font(font.ToQFont(zoom)), Metrics(Font) {}

const TTextCache::TFontEntry& TTextCache::FontFor(const TChartFont& font, double zoom) {
    const std::int32_t pixelSize = font.PixelSize(zoom);
    for (const auto& entry : FFonts) {
        if (entry->PixelSize == pixelSize && entry->Style == font.Style() &&
            entry->Name == font.Name()) {
            return *entry;
        }
    }
    if (FFonts.size() >= MaxFonts) {
        // The oldest font goes; texts measured in it are never looked up again and leave with
        // the next clearing of the text table.
        FFonts.erase(FFonts.begin());
    }
    FFonts.push_back(std::make_unique<TFontEntry>(FNextFontId++, font, pixelSize, zoom));
    return *FFonts.back();
}

TTextCache::TTextEntry& TTextCache::Entry(const TFontEntry& font, std::string_view text) {
    FLookup.FontId = font.Id;
    FLookup.Text.assign(text);
    auto found = FTexts.find(FLookup);
    if (found != FTexts.end()) {
        return found->second;
    }
    if (FTexts.size() >= MaxTexts) {
        FTexts.clear();
    }
    TTextEntry entry;
    entry.Width = font.Metrics.horizontalAdvance(FromUtf8(text));
    return FTexts.emplace(FLookup, std::move(entry)).first->second;
}

std::int32_t TTextCache::Width(const TFontEntry& font, std::string_view text) {
    return Entry(font, text).Width;
}

const TTextCache::TTextEntry& TTextCache::Glyphs(const TFontEntry& font, std::string_view text) {
    TTextEntry& entry = Entry(font, text);
    if (!entry.Rasterised) {
        Rasterise(font, FromUtf8(text), entry);
        entry.Rasterised = true;
    }
    return entry;
}

void TTextCache::Rasterise(const TFontEntry& font, const QString& text, TTextEntry& entry) {
    // Glyphs may reach beyond the advance width and the line height (italics, accents), so
    // the text is drawn with a margin of a line height all round.
    const std::int64_t height = font.Metrics.height();
    const std::int64_t margin = std::max<std::int64_t>(height, 4);
    const std::int64_t width =
        std::max<std::int64_t>(entry.Width, font.Metrics.boundingRect(text).width());
    const std::int64_t scratchWidth = width + 2 * margin;
    const std::int64_t scratchHeight = height + 2 * margin;
    if (scratchWidth * scratchHeight > LargestScratch) {
        entry.HasInk = false;
        return;
    }
    if (FScratch.width() < scratchWidth || FScratch.height() < scratchHeight) {
        FScratch =
            QImage(static_cast<int>(std::max<std::int64_t>(scratchWidth, FScratch.width())),
                   static_cast<int>(std::max<std::int64_t>(scratchHeight, FScratch.height())),
                   QImage::Format_RGB32);
    }
    FScratch.fill(Qt::white);
    const auto originX = static_cast<int>(margin);
    const auto baseline = static_cast<int>(margin + font.Metrics.ascent());
    {
        QPainter painter(&FScratch);
        painter.setFont(font.Font);
        painter.setPen(Qt::black);
        painter.drawText(QPoint(originX, baseline), text);
    }
    entry.Ink.clear();
    for (int y = 0; y < scratchHeight; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(FScratch.constScanLine(y));
        for (int x = 0; x < scratchWidth; ++x) {
            // Black on white: the darkness of a pixel is how much the glyphs cover it.
            const int coverage = 255 - qGray(row[x]);
            if (coverage > 0) {
                entry.Ink.push_back(
                    {x - originX, y - baseline, static_cast<std::uint8_t>(coverage)});
            }
        }
    }
    entry.HasInk = true;
}
