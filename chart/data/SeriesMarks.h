// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/canvas/ChartBrush.h>
#include <korvatel/canvas/ChartFont.h>
#include <korvatel/canvas/ChartPen.h>
#include <korvatel/core/ChartTypes.h>

#include <cstdint>
#include <string_view>
#include <vector>

namespace Korvatel {

class TCanvas3D;
class TChartSeries;

// What the mark beside a point shows.
enum TSeriesMarksStyle : std::uint8_t {
    smsValue,
    smsPercent,
    smsLabel,
    smsLabelPercent,
    smsLabelValue,
    smsLegend,
    smsPercentTotal,
    smsLabelPercentTotal,
    smsXValue
};

// The pale yellow behind mark texts.
constexpr TColor DefaultMarkBackColor = 0x80FFFF;

// Where the mark of one point lies: the arrow runs from ArrowFrom (the point) to ArrowTo, and
// the box has its top left corner at LeftTop (right and bottom exclusive, as every rectangle).
// A custom position was placed by the user and is used instead of the computed one.
struct KORVATEL_EXPORT TSeriesMarkPosition {
    TPoint ArrowFrom;
    TPoint ArrowTo;
    TPoint LeftTop;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    bool Custom = false;

    TRect Bounds() const;
    // Moves the arrow's end and the box up by pixels, so that an arrow leads up to the box.
    void Lift(std::int32_t pixels);

    friend bool operator==(const TSeriesMarkPosition&, const TSeriesMarkPosition&) = default;
};

// The text marks drawn beside the points of a series: their style, font, frame, background
// and arrow, and the position each mark took when it was last drawn. Every change of a
// setting, also through the owned font, pens and brush, asks the owning series' chart for a
// repaint.
class KORVATEL_EXPORT TSeriesMarks {
public:
    explicit TSeriesMarks(TChartSeries* owner);
    TSeriesMarks(const TSeriesMarks&) = delete;
    TSeriesMarks& operator=(const TSeriesMarks&) = delete;

    // Off by default: a series shows its marks only when asked to, so that a series of a
    // million points does not draw a million boxes.
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    // How far the marks stand off their points, in pixels, -LargestArrowLength to
    // LargestArrowLength.
    static constexpr std::int32_t LargestArrowLength = 10000;
    std::int32_t ArrowLength() const { return FArrowLength; }
    void SetArrowLength(std::int32_t value);
    TSeriesMarksStyle Style() const { return FStyle; }
    void SetStyle(TSeriesMarksStyle value);
    // The marks are cut at the chart rectangle, as the points are.
    bool Clip() const { return FClip; }
    void SetClip(bool value);
    // No background: only the frame and the text are drawn.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);

    TChartFont& Font() { return FFont; }
    const TChartFont& Font() const { return FFont; }
    void SetFont(const TChartFont& value) { FFont.Assign(value); }
    // The outline of the box; a hidden frame leaves no room in the box either.
    TChartPen& Frame() { return FFrame; }
    const TChartPen& Frame() const { return FFrame; }
    void SetFrame(const TChartPen& value) { FFrame.Assign(value); }
    // The fill of the box. Its colour is the back colour; clDefault takes the point's colour.
    TChartBrush& Brush() { return FBrush; }
    const TChartBrush& Brush() const { return FBrush; }
    void SetBrush(const TChartBrush& value) { FBrush.Assign(value); }
    TColor BackColor() const { return FBrush.Color(); }
    void SetBackColor(TColor value) { FBrush.SetColor(value); }
    // The line from the point to its box; clDefault as its colour takes the point's colour.
    TChartArrowPen& Arrow() { return FArrow; }
    const TChartArrowPen& Arrow() const { return FArrow; }
    void SetArrow(const TChartPen& value) { FArrow.Assign(value); }

    // Takes every setting of another marks object (not the positions, which belong to the
    // other series' points).
    void Assign(const TSeriesMarks& source);

    // --- Positions ---------------------------------------------------------------------------

    // One entry per point up to the last point whose mark was drawn or placed.
    const std::vector<TSeriesMarkPosition>& Positions() const { return FPositions; }
    // The position kept for a point; null when there is none.
    const TSeriesMarkPosition* Position(std::int32_t index) const;
    // Places the mark of a point (Custom is set) so that drawing uses it from now on.
    void SetCustomPosition(std::int32_t index, TSeriesMarkPosition position);
    // The mark drawing's step for one point: a custom position replaces the computed one;
    // otherwise the computed one is kept as the point's position.
    void UsePosition(std::int32_t index, TSeriesMarkPosition& position);
    // The series was emptied: positions kept for its points are gone.
    void ClearPositions() { FPositions.clear(); }
    // A point was inserted or deleted at the index: later positions move with their points.
    void InsertPosition(std::int32_t index) {
        // Only a list that already reaches the index has later entries to move along.
        if (index >= 0 && static_cast<std::size_t>(index) < FPositions.size()) {
            InsertPositionBefore(index);
        }
    }
    void DeletePosition(std::int32_t index);
    void SwapPositions(std::int32_t a, std::int32_t b);

    // The index of the point whose mark box holds the pixel (the last drawn on top wins), or
    // -1.
    std::int32_t MarkAtPixel(std::int32_t x, std::int32_t y) const;

    // --- Drawing -----------------------------------------------------------------------------

    // Draws one mark on the canvas, whose font must already be the marks' font: the arrow,
    // then the box, then the text lines centred in the box. pointColor stands in for the
    // arrow and back colours that are clDefault. z is the depth of the series' marks.
    void DrawItem(TCanvas3D& canvas, TColor pointColor, std::string_view text,
                  const TSeriesMarkPosition& position, std::int32_t z) const;
    // The room the frame takes on each side of the box.
    std::int32_t FrameWidth() const;

private:
    template <typename T>
    void SetProperty(T& field, T value) {
        if (field != value) {
            field = value;
            Changed();
        }
    }
    void Changed();

    TChartSeries* FOwner;
    bool FVisible = false;
    std::int32_t FArrowLength = 8;
    TSeriesMarksStyle FStyle = smsLabel;
    bool FClip = false;
    bool FTransparent = false;
    TChartFont FFont;
    TChartPen FFrame;
    TChartBrush FBrush;
    TChartArrowPen FArrow;
    void InsertPositionBefore(std::int32_t index);

    std::vector<TSeriesMarkPosition> FPositions;
};

} // namespace Korvatel
