// SPDX-License-Identifier: MIT
#include <korvatel/data/SeriesMarks.h>
#include <korvatel/core/ChartErrors.h>

#include <korvatel/canvas/Canvas3D.h>
#include <korvatel/data/ChartSeries.h>
#include <korvatel/core/Rounding.h>

#include <utility>

namespace Korvatel {

namespace {

// Mark texts break into lines where axis label texts do.
constexpr char MarkLineSeparator = '\r';

} // namespace

TRect TSeriesMarkPosition::Bounds() const {
    return {LeftTop.X, LeftTop.Y, Low32(std::int64_t{LeftTop.X} + Width),
            Low32(std::int64_t{LeftTop.Y} + Height)};
}

void TSeriesMarkPosition::Lift(std::int32_t pixels) {
    ArrowTo.Y = Low32(std::int64_t{ArrowTo.Y} - pixels);
    LeftTop.Y = Low32(std::int64_t{LeftTop.Y} - pixels);
}

TSeriesMarks::TSeriesMarks(TChartSeries* owner) : FOwner(owner) {
    // The defaults are set before the change reports are wired, so that building the marks
    // asks for no repaint.
    FBrush.SetColor(DefaultMarkBackColor);
    FFont.SetOnChange([this] { Changed(); });
    FFrame.SetOnChange([this] { Changed(); });
    FBrush.SetOnChange([this] { Changed(); });
    FArrow.SetOnChange([this] { Changed(); });
}

void TSeriesMarks::Changed() {
    if (FOwner != nullptr) {
        FOwner->RequestRepaint();
    }
}

void TSeriesMarks::SetVisible(bool value) {
    SetProperty(FVisible, value);
}

void TSeriesMarks::SetArrowLength(std::int32_t value) {
    CheckPropertyRange("Marks ArrowLength", value, -LargestArrowLength, LargestArrowLength);
    SetProperty(FArrowLength, value);
}

void TSeriesMarks::SetStyle(TSeriesMarksStyle value) {
    SetProperty(FStyle, value);
}

void TSeriesMarks::SetClip(bool value) {
    SetProperty(FClip, value);
}

void TSeriesMarks::SetTransparent(bool value) {
    SetProperty(FTransparent, value);
}

void TSeriesMarks::Assign(const TSeriesMarks& source) {
    if (&source == this) {
        return;
    }
    FVisible = source.FVisible;
    FArrowLength = source.FArrowLength;
    FStyle = source.FStyle;
    FClip = source.FClip;
    FTransparent = source.FTransparent;
    FFont.Assign(source.FFont);
    FFrame.Assign(source.FFrame);
    FBrush.Assign(source.FBrush);
    FArrow.Assign(source.FArrow);
    Changed();
}

// --- Positions -------------------------------------------------------------------------------

const TSeriesMarkPosition* TSeriesMarks::Position(std::int32_t index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= FPositions.size()) {
        return nullptr;
    }
    return &FPositions[static_cast<std::size_t>(index)];
}

void TSeriesMarks::SetCustomPosition(std::int32_t index, TSeriesMarkPosition position) {
    if (index < 0) {
        return;
    }
    position.Custom = true;
    if (static_cast<std::size_t>(index) >= FPositions.size()) {
        FPositions.resize(static_cast<std::size_t>(index) + 1);
    }
    FPositions[static_cast<std::size_t>(index)] = position;
    Changed();
}

void TSeriesMarks::UsePosition(std::int32_t index, TSeriesMarkPosition& position) {
    if (index < 0) {
        return;
    }
    const auto place = static_cast<std::size_t>(index);
    if (place < FPositions.size() && FPositions[place].Custom) {
        position = FPositions[place];
        return;
    }
    if (place >= FPositions.size()) {
        FPositions.resize(place + 1);
    }
    position.Custom = false;
    FPositions[place] = position;
}

void TSeriesMarks::InsertPositionBefore(std::int32_t index) {
    FPositions.insert(FPositions.begin() + index, TSeriesMarkPosition{});
}

void TSeriesMarks::DeletePosition(std::int32_t index) {
    if (index >= 0 && static_cast<std::size_t>(index) < FPositions.size()) {
        FPositions.erase(FPositions.begin() + index);
    }
}

void TSeriesMarks::SwapPositions(std::int32_t a, std::int32_t b) {
    const std::size_t size = FPositions.size();
    if (a >= 0 && b >= 0 && static_cast<std::size_t>(a) < size &&
        static_cast<std::size_t>(b) < size) {
        std::swap(FPositions[static_cast<std::size_t>(a)], FPositions[static_cast<std::size_t>(b)]);
    }
}

std::int32_t TSeriesMarks::MarkAtPixel(std::int32_t x, std::int32_t y) const {
    for (std::size_t i = FPositions.size(); i > 0; --i) {
        if (FPositions[i - 1].Bounds().Contains(x, y)) {
            return static_cast<std::int32_t>(i - 1);
        }
    }
    return -1;
}

// --- Drawing ---------------------------------------------------------------------------------

std::int32_t TSeriesMarks::FrameWidth() const {
    return FFrame.Visible() ? FFrame.Width() : 0;
}

void TSeriesMarks::DrawItem(TCanvas3D& canvas, TColor pointColor, std::string_view text,
                            const TSeriesMarkPosition& position, std::int32_t z) const {
    // The arrow goes first, so that the box covers its upper end.
    if (FArrow.Visible() && position.ArrowFrom != position.ArrowTo) {
        canvas.ApplyChartPen(FArrow);
        if (FArrow.Color() == clDefault) {
            canvas.Pen().SetColor(pointColor);
        }
        canvas.DrawLineSegment3D(position.ArrowFrom.X, position.ArrowFrom.Y, position.ArrowTo.X,
                                 position.ArrowTo.Y, z);
    }

    // The box faces the viewer: in 3D only its corner is projected, its size stays.
    const TPoint corner = canvas.ProjectPoint(position.LeftTop.X, position.LeftTop.Y, z);
    TSeriesMarkPosition flat = position;
    flat.LeftTop = corner;
    const TRect box = flat.Bounds();
    if (FTransparent) {
        canvas.Brush().SetStyle(bsClear);
    } else {
        canvas.Brush().Assign(FBrush);
        if (FBrush.Color() == clDefault) {
            canvas.Brush().SetColor(pointColor);
        }
    }
    canvas.ApplyChartPen(FFrame);
    canvas.DrawRectangle(box);

    // One text line per row, each centred on the box.
    const std::int32_t rowHeight = canvas.TextRowHeight();
    const std::int32_t centre = Low32(std::int64_t{box.Left} + position.Width / 2);
    std::int64_t row = std::int64_t{box.Top} + FrameWidth();
    canvas.SetTextBackgroundMode(cbmTransparent);
    canvas.SetTextAlignment(TextAlign::Center | TextAlign::Top);
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t end = rest.find(MarkLineSeparator);
        canvas.DrawTextAt(centre, Low32(row), rest.substr(0, end));
        if (end == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(end + 1);
        row += rowHeight;
    }
    canvas.SetTextAlignment(TextAlign::Left | TextAlign::Top);
}

} // namespace Korvatel
