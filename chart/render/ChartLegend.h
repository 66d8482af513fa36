// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/canvas/ChartBrush.h>
#include <korvatel/canvas/ChartFontObject.h>
#include <korvatel/canvas/ChartPen.h>
#include <korvatel/data/ChartSeries.h>
#include <korvatel/core/ChartTypes.h>

#include <cstdint>
#include <string>
#include <vector>

namespace Korvatel {

class TChartCanvas3D;
class TCustomChart;

// Where the legend stands beside the chart rectangle.
enum TLegendAlignment : std::uint8_t { laLeft, laRight, laTop, laBottom };

// What the legend lists. lsAuto: the points of the only series it lists, or one entry per
// series when it lists several or has check boxes. lsSeries: one entry per series, its title.
// lsValues: the points of the first active series it lists. lsLastValues: one entry per series,
// its title followed by the text of its last point.
enum TLegendStyle : std::uint8_t { lsAuto, lsSeries, lsValues, lsLastValues };

// The chart's legend: a framed box beside the chart rectangle that lists the series (or the
// points of one series), each entry with a symbol drawn by its series and a text.
//
// The chart draws it with the title blocks (TCustomChart::DrawTitleBlocks), flat even in 3D: a
// legend on the left or right first, over the full height, one at the top or bottom after the
// title and foot. It takes its room off the chart rectangle. Entries that do not fit are left
// out whole; a left or right legend is one column, a top or bottom legend flows into as many
// columns as fit its width, row by row. A legend with nothing to list draws nothing and takes
// no room.
//
// Listed are the series with ShowInLegend that are active. With CheckBoxes, inactive series
// are listed too, their text in grey and their box empty, so that a click can switch them on
// again; the legend is then shown even while no series is active. A left press anywhere on a
// series entry switches its series (TCustomChart::MouseDown), unless an OnClickLegend handler,
// which is asked first, keeps the press for itself.
//
// Setters of published properties repaint only on a change; sizes, margins and counts below 0
// and percentages outside 0 to 100 are refused with ChartException.
class KORVATEL_EXPORT TChartLegend : public TChartFontObject {
public:
    explicit TChartLegend(TCustomChartPanel* chart);

    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    TLegendAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TLegendAlignment value);
    TLegendStyle LegendStyle() const { return FLegendStyle; }
    void SetLegendStyle(TLegendStyle value);
    // What an entry of a point says (TChartSeries::LegendEntryText); also the value part of a
    // last-values entry.
    TLegendTextStyle TextStyle() const { return FTextStyle; }
    void SetTextStyle(TLegendTextStyle value);
    // Lists the entries from the last to the first.
    bool Inverted() const { return FInverted; }
    void SetInverted(bool value);
    // An optional box before each series entry; a click on the entry switches the series on
    // or off.
    bool CheckBoxes() const { return FCheckBoxes; }
    void SetCheckBoxes(bool value);

    // The outline of the box; a frame without a colour of its own is not drawn.
    TChartPen& Frame() { return FFrame; }
    const TChartPen& Frame() const { return FFrame; }
    void SetFrame(const TChartPen& value) { FFrame.Assign(value); }
    // The inside of the box: white by default; clDefault or bsClear leaves it transparent.
    TChartBrush& Brush() { return FBrush; }
    const TChartBrush& Brush() const { return FBrush; }
    void SetBrush(const TChartBrush& value) { FBrush.Assign(value); }
    // A shadow this many pixels right of and below the box, in ShadowColor; 0 draws none.
    std::int32_t ShadowSize() const { return FShadowSize; }
    void SetShadowSize(std::int32_t value);
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor value);

    // The width of an entry's symbol, in percent of the widest text (at least of the row
    // height); 0 to 100.
    std::int32_t ColorWidth() const { return FColorWidth; }
    void SetColorWidth(std::int32_t value);
    // Where a left or right legend begins, in percent of the chart rectangle's height below its
    // top; 0 to 100.
    std::int32_t TopPos() const { return FTopPos; }
    void SetTopPos(std::int32_t value);
    // Pixels between a left or right legend and the chart rectangle.
    std::int32_t HorizMargin() const { return FHorizMargin; }
    void SetHorizMargin(std::int32_t value);
    // Pixels between a top or bottom legend and the chart rectangle.
    std::int32_t VertMargin() const { return FVertMargin; }
    void SetVertMargin(std::int32_t value);
    // The most rows a top or bottom legend has; 0: as many as fit.
    std::int32_t MaxNumRows() const { return FMaxNumRows; }
    void SetMaxNumRows(std::int32_t value);
    // How many entries are skipped at the start of the list (in the order shown).
    std::int32_t FirstValue() const { return FFirstValue; }
    void SetFirstValue(std::int32_t value);

    // Copies every published property and the font.
    void Assign(const TChartFontObject& source) override;

    // --- Drawing -----------------------------------------------------------------------------

    // Lays the legend out against the chart's PlotRect, draws it through the chart's canvas and
    // shrinks PlotRect by its room. The chart calls it from DrawTitleBlocks.
    void Draw(TCustomChart& chart);

    // --- Runtime state: the legend as last drawn ---------------------------------------------

    // An entry of the legend as last drawn: its number in the list (series in list order, or
    // points in order, before Inverted and FirstValue), its series and point (-1 for an entry
    // of the whole series), the cell it was drawn in and its check box (empty without).
    struct TItem {
        std::int32_t Index = -1;
        TChartSeries* Series = nullptr;
        std::int32_t Point = -1;
        TRect Cell;
        TRect CheckBox;
    };

    // The box as last drawn, without its shadow; empty when nothing was shown.
    const TRect& LegendRect() const { return FLegendRect; }
    const std::vector<TItem>& Items() const { return FItems; }
    // Whether a mouse position lies on the legend as last drawn.
    bool ContainsPoint(std::int32_t x, std::int32_t y) const;
    // The number of the entry under a mouse position, or -1.
    std::int32_t Clicked(std::int32_t x, std::int32_t y) const;
    // For a click on the legend with CheckBoxes: the series of the entry under the position
    // still in the chart, switched on or off. Answers whether it switched one.
    bool ToggleSeriesAt(std::int32_t x, std::int32_t y);

private:
    struct TEntry;
    struct TLayout;

    // Up to limit entries in the order shown (after Inverted and FirstValue), and the style
    // the legend lists them in (lsAuto resolved).
    std::vector<TEntry> Candidates(const TCustomChart& chart, std::int64_t limit,
                                   TLegendStyle& style) const;
    std::string EntryText(TCustomChart& chart, const TEntry& entry, TLegendStyle style) const;
    bool HasCheckBox(const TEntry& entry) const;
    // The width of an entry whose text is textWidth wide, with the symbol as wide as the
    // layout has it so far.
    std::int64_t EntryWidth(const TEntry& entry, std::int64_t textWidth,
                            const TLayout& layout) const;
    // Steps of Draw: the measures of the font and box; the room for the entries (false when
    // there is none); the entries that fit, with their texts and widths; how many of them the
    // columns and rows take; the box's place, answering what is left of the chart rectangle.
    TLayout Measure(TChartCanvas3D& canvas) const;
    bool FindRoom(const TRect& plot, TLayout& layout) const;
    std::vector<TEntry> FittingEntries(TCustomChart& chart, TLayout& layout) const;
    std::int64_t FlowIntoColumns(const std::vector<TEntry>& entries, TLayout& layout) const;
    TRect PlaceBox(const TRect& plot, const TLayout& layout);
    void PaintBox(TCustomChart& chart, const TLayout& layout);
    void PaintItem(TCustomChart& chart, const TItem& item, const std::string& text,
                   const TLayout& layout);
    void PaintCheckBox(TCustomChart& chart, const TRect& box, bool checked);
    // Raise ChartException, naming the property, for a value below 0 or outside 0 to 100.
    static void RefuseNegative(std::int32_t value, const char* name);
    static void RefuseNonPercent(std::int32_t value, const char* name);

    bool FVisible = true;
    TLegendAlignment FAlignment = laRight;
    TLegendStyle FLegendStyle = lsAuto;
    TLegendTextStyle FTextStyle = ltsLeftValue;
    bool FInverted = false;
    bool FCheckBoxes = false;
    TChartPen FFrame;
    TChartBrush FBrush;
    std::int32_t FShadowSize = 3;
    TColor FShadowColor = clBlack;
    std::int32_t FColorWidth = 30;
    std::int32_t FTopPos = 10;
    std::int32_t FHorizMargin = 5;
    std::int32_t FVertMargin = 5;
    std::int32_t FMaxNumRows = 10;
    std::int32_t FFirstValue = 0;

    TRect FLegendRect;
    std::vector<TItem> FItems;
};

} // namespace Korvatel
