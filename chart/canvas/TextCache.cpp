// SPDX-License-Identifier: MIT
#include <korvatel/canvas/TextCache.h>

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace Korvatel {

namespace {

// Texts whose picture would exceed this many pixels are not kept: they are rare (a label of
// thousands of characters) and would hold on to a lot of memory.
constexpr std::int64_t LargestScratch = 4 * 1024 * 1024;

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont Unhinted(QFont font) {
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// The chart font's platform font, two-coloured or smooth. Hinted for smooth glyphs, a face
// may advance a pixel or two differently; text is measured in the face it is drawn in.
QFont PlatformFont(const TChartFont& font, double zoom, bool smooth) {
    QFont result = font.ToQFont(zoom);
    if (smooth) {
        result.setStyleStrategy(QFont::PreferAntialias);
    }
    return result;
}

std::int64_t FloorDiv(std::int64_t numerator, std::int64_t divisor) {
    const std::int64_t quotient = numerator / divisor;
    return quotient * divisor > numerator ? quotient - 1 : quotient;
}

std::int64_t CeilDiv(std::int64_t numerator, std::int64_t divisor) {
    return -FloorDiv(-numerator, divisor);
}

// A text is never narrowed or lowered to less than this share of its size: a room that
// small means a face with odd metrics, and the glyph pixels outside it are cut instead.
constexpr double SmallestFit = 0.5;

} // namespace

TTextCache::TFontEntry::TFontEntry(std::uint64_t id, const TChartFont& font, std::int32_t pixelSize,
                                   double zoom, bool smooth)
    : Id(id), Name(font.Name()), PixelSize(pixelSize), Style(font.Style()), Smooth(smooth),
      Font(PlatformFont(font, zoom, smooth)), Metrics(Font), DesignFont(Unhinted(Font)) {}

const TTextCache::TFontEntry& TTextCache::FontFor(const TChartFont& font, double zoom,
                                                  bool smooth) {
    const std::int32_t pixelSize = font.PixelSize(zoom);
    for (const auto& entry : FFonts) {
        if (entry->PixelSize == pixelSize && entry->Style == font.Style() &&
            entry->Smooth == smooth && entry->Name == font.Name()) {
            return *entry;
        }
    }
    if (FFonts.size() >= MaxFonts) {
        // The oldest font goes; texts measured in it are never looked up again and leave with
        // the next clearing of the text table.
        FFonts.erase(FFonts.begin());
    }
    FFonts.push_back(
        std::make_unique<TFontEntry>(FNextFontId++, font, pixelSize, zoom, smooth));
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

void TTextCache::GrowScratch(std::int64_t width, std::int64_t height) {
    if (FScratch.width() < width || FScratch.height() < height) {
        FScratch = QImage(static_cast<int>(std::max<std::int64_t>(width, FScratch.width())),
                          static_cast<int>(std::max<std::int64_t>(height, FScratch.height())),
                          QImage::Format_RGB32);
    }
}

void TTextCache::Rasterise(const TFontEntry& font, const QString& text, TTextEntry& entry) {
    // Glyphs may reach beyond the advance width and the line height (italics, accents), so
    // the text is drawn with a margin of a line height all round.
    entry.Room = {0, -font.Metrics.ascent(), entry.Width, font.Metrics.descent()};
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
    GrowScratch(scratchWidth, scratchHeight);
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
    TRoom& room = entry.Room;
    for (int y = 0; y < scratchHeight; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(FScratch.constScanLine(y));
        for (int x = 0; x < scratchWidth; ++x) {
            // Black on white: the darkness of a pixel is how much the glyphs cover it.
            const int coverage = 255 - qGray(row[x]);
            if (coverage > 0) {
                const std::int32_t inkX = x - originX;
                const std::int32_t inkY = y - baseline;
                entry.Ink.push_back({inkX, inkY, static_cast<std::uint8_t>(coverage)});
                room = {std::min(room.Left, inkX), std::min(room.Top, inkY),
                        std::max(room.Right, inkX + 1), std::max(room.Bottom, inkY + 1)};
            }
        }
    }
    entry.HasInk = true;
}

const TTextCache::TTextEntry&
TTextCache::DeviceGlyphs(const TFontEntry& font, std::string_view text, const TDeviceScale& scale) {
    TTextEntry& entry = Entry(font, text);
    if (!entry.Rasterised) {
        Rasterise(font, FromUtf8(text), entry);
        entry.Rasterised = true;
    }
    if (!entry.DeviceRasterised || !(entry.DeviceScale == scale)) {
        RasteriseDevice(font, FromUtf8(text), scale, entry);
    }
    return entry;
}

void TTextCache::RasteriseDevice(const TFontEntry& font, const QString& text,
                                 const TDeviceScale& scale, TTextEntry& entry) {
    entry.DeviceScale = scale;
    entry.DeviceRasterised = true;
    entry.DeviceHasInk = false;
    entry.DeviceInk.clear();
    entry.DeviceFit = {};
    if (!entry.HasInk) {
        return;
    }
    // The device pixels that lie inside the room wherever the text's left end lands on the
    // device: from ceil(s left) up to, not including, floor(s right), and so on.
    const std::int64_t p = scale.Numerator();
    const std::int64_t q = scale.Denominator();
    const TRoom& room = entry.Room;
    const std::int64_t left = CeilDiv(p * room.Left, q);
    const std::int64_t right = FloorDiv(p * room.Right, q);
    const std::int64_t top = CeilDiv(p * room.Top, q);
    const std::int64_t bottom = FloorDiv(p * room.Bottom, q);
    if (left >= right || top >= bottom) {
        return;
    }
    const std::int64_t margin = std::max<std::int64_t>(bottom - top, 4);
    const std::int64_t scratchWidth = right - left + 2 * margin;
    const std::int64_t scratchHeight = bottom - top + 2 * margin;
    if (scratchWidth * scratchHeight > LargestScratch) {
        return;
    }
    GrowScratch(scratchWidth, scratchHeight);
    const auto originX = static_cast<int>(margin - left);
    const auto baseline = static_cast<int>(margin - top);
    const double ratio = scale.Value();
    // The glyphs of a face hinted for the device's size are not always the 96-dpi ones
    // magnified: a wider "W", a longer descender. Where they would leave the room the text is
    // drawn a little narrower or lower, a few times at most; what still sticks out is cut.
    TFit& fit = entry.DeviceFit;
    constexpr int Attempts = 4;
    for (int attempt = 0;; ++attempt) {
        FScratch.fill(Qt::white);
        {
            QPainter painter(&FScratch);
            painter.translate(originX, baseline);
            painter.scale(ratio * fit.X, ratio * fit.Y);
            painter.setFont(font.Font);
            painter.setPen(Qt::black);
            painter.drawText(QPointF(0, 0), text);
        }
        std::int64_t inkLeft = right;
        std::int64_t inkRight = left;
        std::int64_t inkTop = bottom;
        std::int64_t inkBottom = top;
        for (std::int64_t y = 0; y < scratchHeight; ++y) {
            const auto* row =
                reinterpret_cast<const QRgb*>(FScratch.constScanLine(static_cast<int>(y)));
            for (std::int64_t x = 0; x < scratchWidth; ++x) {
                if (qGray(row[x]) < 255) {
                    inkLeft = std::min(inkLeft, x - originX);
                    inkRight = std::max(inkRight, x - originX + 1);
                    inkTop = std::min(inkTop, y - baseline);
                    inkBottom = std::max(inkBottom, y - baseline + 1);
                }
            }
        }
        const bool inside = inkRight <= right && inkTop >= top && inkBottom <= bottom;
        if (inside || attempt + 1 == Attempts) {
            break;
        }
        if (inkRight > right && right > 0) {
            fit.X = std::max(SmallestFit, fit.X * static_cast<double>(right) / inkRight);
        }
        if (inkTop < top && top < 0) {
            fit.Y = std::max(SmallestFit, fit.Y * static_cast<double>(top) / inkTop);
        }
        if (inkBottom > bottom && bottom > 0) {
            fit.Y = std::max(SmallestFit, fit.Y * static_cast<double>(bottom) / inkBottom);
        }
    }
    for (std::int64_t y = top; y < bottom; ++y) {
        const auto* row =
            reinterpret_cast<const QRgb*>(FScratch.constScanLine(static_cast<int>(y + baseline)));
        for (std::int64_t x = left; x < right; ++x) {
            const int coverage = 255 - qGray(row[x + originX]);
            if (coverage > 0) {
                entry.DeviceInk.push_back({static_cast<std::int32_t>(x),
                                           static_cast<std::int32_t>(y),
                                           static_cast<std::uint8_t>(coverage)});
            }
        }
    }
    entry.DeviceHasInk = true;
}

TTextCache::TFit TTextCache::VectorFit(const TFontEntry& font, std::string_view text) {
    TTextEntry& entry = Entry(font, text);
    if (!entry.Rasterised) {
        Rasterise(font, FromUtf8(text), entry);
        entry.Rasterised = true;
    }
    if (!entry.VectorFitted) {
        // The outlines as a vector device fills them, against the same room.
        QPainterPath path;
        path.addText(QPointF(0, 0), font.DesignFont, FromUtf8(text));
        const QRectF box = path.boundingRect();
        const TRoom& room = entry.Room;
        TFit fit;
        if (box.right() > room.Right && box.right() > 0) {
            fit.X = std::max(SmallestFit, room.Right / box.right());
        }
        if (box.top() < room.Top && box.top() < 0) {
            fit.Y = std::max(SmallestFit, room.Top / box.top());
        }
        if (box.bottom() > room.Bottom && box.bottom() > 0) {
            fit.Y = std::max(SmallestFit, std::min(fit.Y, room.Bottom / box.bottom()));
        }
        entry.VectorFit = fit;
        entry.VectorFitted = true;
    }
    return entry.VectorFit;
}

} // namespace Korvatel
