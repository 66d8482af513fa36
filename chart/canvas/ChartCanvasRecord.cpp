// SPDX-License-Identifier: MIT
// The canvas: the record of the picture under the series and its reuse (see
// TChartCanvas3D::BeginBackground).

#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/canvas/ChartCanvasDetail.h>
#include <korvatel/core/Rounding.h>

#include <algorithm>
#include <cstring>

namespace Korvatel {

using namespace CanvasDetail;

// --- The picture under the series ---------------------------------------------------------------

bool TChartCanvas3D::CoversSurface(const TRect& rect) const {
    const TRect surface = SurfaceRect();
    return FClipKind == TClipKind::None && !surface.IsEmpty() && rect.Left <= surface.Left &&
           rect.Top <= surface.Top && rect.Right >= surface.Right && rect.Bottom >= surface.Bottom;
}

void TChartCanvas3D::RecordState(std::uint32_t uses) {
    // Everything the pen, brush and font give the pixels, with colours as they reach the
    // surface (system colours looked up, a monochrome image's black and white); each written
    // before the first primitive that uses it and again after it changed.
    const std::uint32_t due = uses & FRecordStateDirty;
    FRecordStateDirty &= ~due;
    if ((due & UsesPen) != 0) {
        const TChartPen& pen = Pen();
        FRecord.insert(FRecord.end(),
                       {UsesPen, Resolve(pen.Color()), static_cast<std::uint64_t>(pen.Width()),
                        static_cast<std::uint64_t>(pen.Style()),
                        static_cast<std::uint64_t>(pen.Mode()),
                        static_cast<std::uint64_t>(pen.Visible()),
                        static_cast<std::uint64_t>(pen.SmallDots())});
    }
    if ((due & UsesBrush) != 0) {
        const TChartBrush& brush = Brush();
        FRecord.insert(
            FRecord.end(),
            {UsesBrush, Resolve(brush.Color()), static_cast<std::uint64_t>(brush.Style()),
             brush.HasImage() ? static_cast<std::uint64_t>(brush.Image().cacheKey()) : 0});
    }
    if ((due & UsesFont) != 0) {
        const TChartFont& font = Font();
        FRecord.insert(FRecord.end(),
                       {UsesFont, static_cast<std::uint64_t>(font.Height()),
                        static_cast<std::uint64_t>(font.PixelsPerInch()),
                        static_cast<std::uint64_t>(font.Style()), Resolve(font.Color()),
                        static_cast<std::uint64_t>(font.Charset()), font.Name().size()});
        RecordText(font.Name());
    }
}

std::uint32_t TChartCanvas3D::UsesOf(TPrimitive primitive) {
    switch (primitive) {
    case TPrimitive::Pixel:
    case TPrimitive::FillSolid:
    case TPrimitive::Gradient:
    case TPrimitive::Image:
        return 0; // their colours (or the picture's key) are among the arguments
    case TPrimitive::Line:
    case TPrimitive::RectangleOutline:
    case TPrimitive::PolygonOutline:
        return UsesPen;
    case TPrimitive::FillBrush:
    case TPrimitive::FillShape:
    case TPrimitive::EllipseOutline:
    case TPrimitive::RowShape:
        // The pen's mode (and for the ellipse its outline) and the brush.
        return UsesPen | UsesBrush;
    case TPrimitive::Text:
        return UsesFont;
    }
    return UsesPen | UsesBrush | UsesFont;
}

bool TChartCanvas3D::Record(TPrimitive primitive, std::initializer_list<std::int64_t> arguments,
                            bool covers, std::string_view text) {
    return Record(primitive, std::span<const std::int64_t>(arguments.begin(), arguments.size()),
                  covers, text);
}

bool TChartCanvas3D::Record(TPrimitive primitive, std::span<const std::int64_t> arguments,
                            bool covers, std::string_view text) {
    if (!FRecording) {
        if (FKeptValid) {
            NoteWrite(primitive, arguments);
        }
        return false;
    }
    if (FRecordDepth > 0) {
        return false;
    }
    if (FRecordCount == 0) {
        FRecordCovered = covers;
    }
    ++FRecordCount;
    RecordState(UsesOf(primitive));
    FRecord.push_back(static_cast<std::uint64_t>(primitive) << 56 | arguments.size());
    for (std::int64_t argument : arguments) {
        FRecord.push_back(static_cast<std::uint64_t>(argument));
    }
    FRecord.insert(FRecord.end(),
                   {Resolve(FTextBackColor), static_cast<std::uint64_t>(FTextBackMode),
                    static_cast<std::uint64_t>(static_cast<std::uint32_t>(FTextAlignment)),
                    FLine.Phase(), static_cast<std::uint64_t>(FClipKind),
                    static_cast<std::uint64_t>(static_cast<std::uint32_t>(FClipRect.Left)) << 32 |
                        static_cast<std::uint32_t>(FClipRect.Top),
                    static_cast<std::uint64_t>(static_cast<std::uint32_t>(FClipRect.Right)) << 32 |
                        static_cast<std::uint32_t>(FClipRect.Bottom),
                    text.size()});
    if (FClipKind == TClipKind::Region) {
        FRecord.push_back(static_cast<std::uint64_t>(FClipRegion.rectCount()));
        for (const QRect& rect : FClipRegion) {
            FRecord.push_back(static_cast<std::uint64_t>(static_cast<std::uint32_t>(rect.left()))
                                  << 32 |
                              static_cast<std::uint32_t>(rect.top()));
            FRecord.push_back(static_cast<std::uint64_t>(static_cast<std::uint32_t>(rect.width()))
                                  << 32 |
                              static_cast<std::uint32_t>(rect.height()));
        }
    }
    RecordText(text);
    return FVerifying;
}

void TChartCanvas3D::RecordText(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + i, std::min<std::size_t>(8, text.size() - i));
        FRecord.push_back(word);
    }
}

void TChartCanvas3D::BeginBackground(bool verify, bool record) {
    FRecording = record || verify;
    FVerifying = verify;
    FRecordStateDirty = UsesPen | UsesBrush | UsesFont;
    FRecordCovered = false;
    FRecordDepth = 0;
    FRecordCount = 0;
    FRecord.clear();
}

bool TChartCanvas3D::CanVerifyBackground() const {
    return FKeptValid && FOffscreenBuffered && FBitmapSurface != nullptr &&
           TargetSurface() == FBitmapSurface.get() && FKept.size() == FBitmap.size();
}

void TChartCanvas3D::ForgetBackground() {
    FKeptValid = false;
    FKeptRecord.clear();
    FPreviousRecord.clear();
}

bool TChartCanvas3D::EndBackground() {
    const bool recording = FRecording;
    const bool verifying = FVerifying;
    FRecording = false;
    FVerifying = false;
    // Only a picture of the off-screen image whose first primitive painted all of it is known
    // from its record alone.
    const bool usable = recording && FRecordCovered && FOffscreenBuffered &&
                        FBitmapSurface != nullptr && TargetSurface() == FBitmapSurface.get();
    if (verifying) {
        if (usable && CanVerifyBackground() && FRecord == FKeptRecord) {
            // Only what was written since the image last equalled the kept picture differs.
            const TRect touched = IntersectRect(FTouched, DeviceSurfaceRect());
            if (!touched.IsEmpty()) {
                std::uint8_t* pixels = FBitmapSurface->Pixels();
                const std::int64_t stride = FBitmap.bytesPerLine();
                const std::size_t bytes =
                    static_cast<std::size_t>(touched.Right - touched.Left) * sizeof(QRgb);
                for (std::int64_t row = touched.Top; row < touched.Bottom; ++row) {
                    const std::int64_t offset = row * stride + touched.Left * std::int64_t{4};
                    std::memcpy(pixels + offset, FKept.constBits() + offset, bytes);
                }
            }
            FTouched = {};
            FLineState.Ready = false;
            ++FBackgroundReuses;
            return true;
        }
        // Something under the series changed: the caller draws it again, live.
        ForgetBackground();
        return false;
    }
    if (!usable) {
        ForgetBackground();
        return true;
    }
    if (FRecord == FPreviousRecord) {
        // The same picture twice in a row: worth keeping for the repaints to come.
        if (FKept.size() != FBitmap.size() || FKept.format() != FBitmap.format()) {
            FKept = QImage(FBitmap.size(), FBitmap.format());
        }
        if (!FKept.isNull() && FKept.sizeInBytes() == FBitmap.sizeInBytes()) {
            std::memcpy(FKept.bits(), FBitmap.constBits(),
                        static_cast<std::size_t>(FKept.sizeInBytes()));
            FKeptRecord = FRecord;
            FKeptValid = true;
            FTouched = {};
        }
    } else {
        FKeptValid = false;
        FPreviousRecord.swap(FRecord);
    }
    return true;
}

void TChartCanvas3D::SaveDrawingState(TDrawingState& state) const {
    state.Pen.Assign(Pen());
    state.Brush.Assign(Brush());
    state.FontPixelsPerInch = Font().PixelsPerInch();
    state.Font.SetPixelsPerInch(state.FontPixelsPerInch);
    state.Font.Assign(Font());
    state.TextBackColor = FTextBackColor;
    state.TextBackMode = FTextBackMode;
    state.TextAlignment = FTextAlignment;
    state.PenPosition = FPenPosition;
    state.LinePattern = FLine.Pattern();
    state.LinePhase = FLine.Phase();
    state.Is3D = FIs3D;
    state.Was3D = FWas3D;
}

void TChartCanvas3D::RestoreDrawingState(const TDrawingState& state) {
    Pen().Assign(state.Pen);
    Brush().Assign(state.Brush);
    Font().SetPixelsPerInch(state.FontPixelsPerInch);
    Font().Assign(state.Font);
    SetTextBackgroundColor(state.TextBackColor);
    SetTextBackgroundMode(state.TextBackMode);
    FTextAlignment = state.TextAlignment;
    FPenPosition = state.PenPosition;
    // After the pen's change notification, which starts the pattern again.
    FLine.RestorePattern(state.LinePattern, state.LinePhase);
    FLineState.Ready = false;
    FIs3D = state.Is3D;
    FWas3D = state.Was3D;
}

void TChartCanvas3D::NoteWrite(TPrimitive primitive, std::span<const std::int64_t> arguments) {
    if (FBitmapSurface == nullptr || TargetSurface() != FBitmapSurface.get()) {
        return;
    }
    // Every primitive stays inside the clip; a line (also a wide one, with its round ends)
    // and a pixel stay near their points as well.
    TRect area;
    const bool line = primitive == TPrimitive::Line && arguments.size() == 4;
    if (line || (primitive == TPrimitive::Pixel && arguments.size() == 3)) {
        // A one-pixel line was just prepared, so the line routine holds the clip; the series'
        // thousands of lines take it from there. (At another scale its clip is in device
        // pixels, and the area is mapped to them below.)
        const bool thin =
            line && FLineState.Ready && !FLineState.Wide && !FLineState.Stroke && !FScaled;
        const TRect clip = thin ? FLine.Clip() : EffectiveClipRect();
        const std::int64_t margin = line && !thin ? std::max<std::int64_t>(1, Pen().Width()) : 0;
        const std::int64_t x1 = line ? arguments[2] : arguments[0];
        const std::int64_t y1 = line ? arguments[3] : arguments[1];
        area = {
            Saturated(std::max<std::int64_t>(std::min(arguments[0], x1) - margin, clip.Left)),
            Saturated(std::max<std::int64_t>(std::min(arguments[1], y1) - margin, clip.Top)),
            Saturated(std::min<std::int64_t>(std::max(arguments[0], x1) + margin + 1, clip.Right)),
            Saturated(
                std::min<std::int64_t>(std::max(arguments[1], y1) + margin + 1, clip.Bottom))};
    } else if (primitive == TPrimitive::Image && arguments.size() >= 4) {
        // A picture stays inside its rectangle.
        area =
            IntersectRect(EffectiveClipRect(), {Saturated(arguments[0]), Saturated(arguments[1]),
                                                Saturated(arguments[2]), Saturated(arguments[3])});
    } else {
        area = EffectiveClipRect();
    }
    FTouched = UnionRect(FTouched, DeviceArea(area));
}

void TChartCanvas3D::TouchLineBox(const TRect& corners) {
    const TRect& clip = FLine.Clip();
    if (FScaled) {
        // The logical pixels of the corners, on the device, inside the line routine's clip.
        const TRect logical{corners.Left, corners.Top,
                            static_cast<std::int32_t>(
                                std::min<std::int64_t>(std::int64_t{corners.Right} + 1, INT32_MAX)),
                            static_cast<std::int32_t>(std::min<std::int64_t>(
                                std::int64_t{corners.Bottom} + 1, INT32_MAX))};
        FTouched = UnionRect(FTouched, IntersectRect(FScale.Around(logical), clip));
        return;
    }
    const TRect area{std::max(corners.Left, clip.Left), std::max(corners.Top, clip.Top),
                     static_cast<std::int32_t>(
                         std::min<std::int64_t>(std::int64_t{corners.Right} + 1, clip.Right)),
                     static_cast<std::int32_t>(
                         std::min<std::int64_t>(std::int64_t{corners.Bottom} + 1, clip.Bottom))};
    FTouched = UnionRect(FTouched, area);
}

} // namespace Korvatel
