// SPDX-License-Identifier: MIT
// The legend: which entries it lists, how they are laid out, and their drawing (see
// TChartLegend).
//
// Measures, with h the row height of the legend's font (the height of "W") and w the width of
// "W": every entry is one row of h pixels; its check box and its symbol are h - 2 * (h / 6)
// high, centred in the row; box, symbol and text are w / 2 apart; columns are w apart; the
// entries keep w / 2 from the frame at the sides and h / 4 at the top and bottom.

#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/render/ChartLegend.h>
#include <korvatel/render/CustomChart.h>
#include <korvatel/core/Rounding.h>

#include <algorithm>
#include <array>
#include <limits>
#include <string>
#include <vector>

namespace Korvatel {

namespace {

enum class TEntryKind : std::uint8_t { Series, Point, LastValue };

// The text of a series that is listed only so that its box can switch it on again.
constexpr TColor InactiveTextColor = clGray;

// More entries than this are never looked at in one repaint, whatever the legend's size.
constexpr std::int64_t MaxCandidates = std::int64_t{1} << 16;

std::int32_t Clamped(std::int64_t value) {
    return ClampToInt32(value);
}

TRect MakeRect(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) {
    return {Clamped(left), Clamped(top), Clamped(right), Clamped(bottom)};
}

} // namespace

struct TChartLegend::TEntry {
    std::int32_t Index = -1;
    TChartSeries* Series = nullptr;
    std::int32_t Point = -1;
    TEntryKind Kind = TEntryKind::Series;
    std::string Text;
    // The text's width, then the whole entry's.
    std::int64_t Width = 0;
};

struct TChartLegend::TLayout {
    // --- Measures of the font and the box ---
    std::int64_t RowHeight = 1;
    // Between box, symbol and text, and between the entries and the frame at the sides.
    std::int64_t Gap = 0;
    std::int64_t ColumnGap = 0;
    std::int64_t PadY = 0;
    std::int64_t Frame = 0;
    bool FrameCounts = false;
    bool BoxDrawn = false;
    std::int64_t Shadow = 0;
    // Check box and symbol: their distance from the row's top and their height.
    std::int64_t MarkInset = 0;
    std::int64_t MarkSize = 0;
    std::int64_t SymbolWidth = 0;

    // --- The room, then the grid of entries ---
    TLegendStyle Style = lsSeries;
    // The top of the box; a bottom legend's is found when the box is placed.
    std::int64_t Top = 0;
    // The width the entries may take, and the most rows and columns there is room for.
    std::int64_t Width = 0;
    // The margin between the box and the chart rectangle as it counts (see FindRoom).
    std::int64_t Margin = 0;
    std::int64_t Rows = 0;
    std::int64_t Columns = 1;
    std::int64_t CellWidth = 0;
};

// --- Entries -----------------------------------------------------------------------------------

std::vector<TChartLegend::TEntry>
TChartLegend::Candidates(const TCustomChart& chart, std::int64_t limit, TLegendStyle& style) const {
    std::vector<TChartSeries*> listed;
    for (TChartSeries* series : chart.SeriesList()) {
        if (series->ShowInLegend() && (series->Active() || FCheckBoxes)) {
            listed.push_back(series);
        }
    }
    // Check boxes belong to series entries, so with them the legend lists series.
    style = FLegendStyle;
    if (style == lsAuto) {
        style = listed.size() == 1 && !FCheckBoxes ? lsValues : lsSeries;
    }
    // The points of an inactive series are not drawn, so they are not listed either.
    TChartSeries* values = nullptr;
    std::int32_t count = static_cast<std::int32_t>(listed.size());
    if (style == lsValues) {
        const auto active =
            std::find_if(listed.begin(), listed.end(),
                         [](const TChartSeries* series) { return series->Active(); });
        values = active != listed.end() ? *active : nullptr;
        count = values != nullptr ? std::max(values->LegendItemCount(), 0) : 0;
    }

    std::vector<TEntry> result;
    std::int64_t skip = FFirstValue;
    // Entries are taken in the order shown, and only as many as may fit: a legend of a
    // series' points need not look at points far beyond its last row.
    for (std::int32_t k = 0; k < count && static_cast<std::int64_t>(result.size()) < limit; ++k) {
        const std::int32_t index = FInverted ? count - 1 - k : k;
        TEntry entry;
        entry.Index = index;
        if (values != nullptr) {
            // A null point has neither colour nor value to show.
            const std::int32_t point = values->LegendItemToPoint(index);
            if (point < 0 || point >= values->PointCount() || values->PointIsNull(point)) {
                continue;
            }
            entry.Series = values;
            entry.Point = point;
            entry.Kind = TEntryKind::Point;
        } else {
            entry.Series = listed[static_cast<std::size_t>(index)];
            entry.Kind = style == lsLastValues ? TEntryKind::LastValue : TEntryKind::Series;
        }
        if (skip > 0) {
            --skip;
            continue;
        }
        result.push_back(entry);
    }
    return result;
}

std::string TChartLegend::EntryText(TCustomChart& chart, const TEntry& entry,
                                    TLegendStyle style) const {
    TChartSeries& series = *entry.Series;
    std::string text;
    if (entry.Kind == TEntryKind::Point) {
        text = series.LegendEntryText(entry.Point, FTextStyle);
    } else {
        text = series.TitleOrName(chart.SeriesList().IndexOf(&series));
        const std::int32_t last = series.PointCount() - 1;
        if (entry.Kind == TEntryKind::LastValue && last >= 0) {
            const std::string value = series.LegendEntryText(last, FTextStyle);
            if (!value.empty()) {
                text += ' ' + value;
            }
        }
    }
    if (chart.OnGetLegendText) {
        chart.OnGetLegendText(&chart, style, entry.Index, text);
    }
    return text;
}

bool TChartLegend::HasCheckBox(const TEntry& entry) const {
    return FCheckBoxes && entry.Kind != TEntryKind::Point;
}

std::int64_t TChartLegend::EntryWidth(const TEntry& entry, std::int64_t textWidth,
                                      const TLayout& layout) const {
    std::int64_t width = textWidth;
    if (layout.SymbolWidth > 0) {
        width += layout.SymbolWidth + layout.Gap;
    }
    if (HasCheckBox(entry)) {
        width += layout.MarkSize + layout.Gap;
    }
    return width;
}

// --- Layout ------------------------------------------------------------------------------------

void TChartLegend::Draw(TCustomChart& chart) {
    FItems.clear();
    FLegendRect = {};
    if (!FVisible) {
        return;
    }
    chart.SelectFont(Font());
    TLayout layout = Measure(chart.Canvas());
    const TRect plot = chart.PlotRect();
    if (!FindRoom(plot, layout)) {
        return;
    }
    std::vector<TEntry> entries = FittingEntries(chart, layout);
    if (entries.empty()) {
        return;
    }
    entries.resize(static_cast<std::size_t>(FlowIntoColumns(entries, layout)));
    chart.SetPlotRect(PlaceBox(plot, layout));

    PaintBox(chart, layout);
    const std::int64_t f = layout.Frame;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto k = static_cast<std::int64_t>(i);
        const std::int64_t x = FLegendRect.Left + f + layout.Gap +
                               (k % layout.Columns) * (layout.CellWidth + layout.ColumnGap);
        const std::int64_t y =
            FLegendRect.Top + f + layout.PadY + (k / layout.Columns) * layout.RowHeight;
        const TEntry& entry = entries[i];
        TItem item;
        item.Index = entry.Index;
        item.Series = entry.Series;
        item.Point = entry.Kind == TEntryKind::Point ? entry.Point : -1;
        item.Cell = MakeRect(x, y, x + layout.CellWidth, y + layout.RowHeight);
        if (HasCheckBox(entry)) {
            item.CheckBox = MakeRect(x, y + layout.MarkInset, x + layout.MarkSize,
                                     y + layout.MarkInset + layout.MarkSize);
        }
        PaintItem(chart, item, entry.Text, layout);
        FItems.push_back(item);
    }
}

TChartLegend::TLayout TChartLegend::Measure(TChartCanvas3D& canvas) const {
    TLayout layout;
    layout.RowHeight = std::max(canvas.TextRowHeight(), 1);
    const std::int64_t h = layout.RowHeight;
    const std::int64_t w = std::max(canvas.MeasureTextWidth("W"), 0);
    layout.Gap = w / 2;
    layout.ColumnGap = w;
    layout.PadY = h / 4;
    layout.MarkInset = h / 6;
    layout.MarkSize = h - 2 * layout.MarkInset;
    // As with the title blocks, a frame without a colour of its own is not drawn and takes no
    // room.
    layout.FrameCounts =
        FFrame.Visible() && FFrame.Style() != psClear && FFrame.Color() != clDefault;
    layout.Frame = layout.FrameCounts ? std::max(FFrame.Width(), 0) : 0;
    const bool fills =
        FBrush.HasImage() ||
        (FBrush.Style() != bsClear && !(FBrush.Style() == bsSolid && FBrush.Color() == clDefault));
    layout.BoxDrawn = layout.FrameCounts || fills;
    // The shadow of a box that is not drawn would outline nothing.
    layout.Shadow = layout.BoxDrawn && FShadowColor != clNone ? FShadowSize : 0;
    return layout;
}

bool TChartLegend::FindRoom(const TRect& plot, TLayout& layout) const {
    const std::int64_t outside = layout.Shadow + 2 * layout.Frame;
    layout.Width = std::int64_t{plot.Right} - plot.Left - outside - 2 * layout.Gap;
    // A margin takes at most half of the room that the legend would have without it: however
    // large it is set, it never leaves the legend without room.
    const auto marginOf = [](std::int64_t margin, std::int64_t room) {
        return std::clamp<std::int64_t>(margin, 0, std::max<std::int64_t>(room / 2, 0));
    };
    if (FAlignment == laLeft || FAlignment == laRight) {
        // One column, from TopPos down to the bottom of the chart rectangle.
        layout.Top = plot.Top + std::int64_t{MulDiv(FTopPos, plot.Height(), 100)};
        layout.Margin = marginOf(FHorizMargin, layout.Width);
        layout.Width -= layout.Margin;
        layout.Rows = (plot.Bottom - layout.Top - outside - 2 * layout.PadY) / layout.RowHeight;
        layout.Columns = 1;
    } else {
        layout.Top = plot.Top;
        const std::int64_t height =
            std::int64_t{plot.Bottom} - plot.Top - outside - 2 * layout.PadY;
        layout.Margin = marginOf(FVertMargin, height);
        layout.Rows = (height - layout.Margin) / layout.RowHeight;
        if (FMaxNumRows > 0) {
            layout.Rows = std::min<std::int64_t>(layout.Rows, FMaxNumRows);
        }
        // Every column is at least a pixel wide, with its gap.
        layout.Columns =
            std::max<std::int64_t>((layout.Width + layout.ColumnGap) / (layout.ColumnGap + 1), 1);
    }
    return layout.Rows > 0 && layout.Width > 0;
}

std::vector<TChartLegend::TEntry> TChartLegend::FittingEntries(TCustomChart& chart,
                                                               TLayout& layout) const {
    std::vector<TEntry> entries =
        Candidates(chart, std::min(layout.Rows * layout.Columns, MaxCandidates), layout.Style);
    for (TEntry& entry : entries) {
        entry.Text = EntryText(chart, entry, layout.Style);
        entry.Width = chart.Canvas().MeasureTextWidth(entry.Text);
    }
    // An entry that does not fit is left out whole: first those whose text alone is too wide,
    // then, with the symbols sized by the widest text left, those that their symbol makes too
    // wide.
    const auto fits = [&](const TEntry& entry) {
        return EntryWidth(entry, entry.Width, layout) <= layout.Width;
    };
    std::erase_if(entries, [&](const TEntry& entry) { return !fits(entry); });
    std::int64_t widest = 0;
    for (const TEntry& entry : entries) {
        widest = std::max(widest, entry.Width);
    }
    // ColorWidth percent, rounded like MulDiv (halves away from zero).
    layout.SymbolWidth = (std::max(widest, layout.RowHeight) * FColorWidth * 2 + 100) / 200;
    std::erase_if(entries, [&](const TEntry& entry) { return !fits(entry); });
    for (TEntry& entry : entries) {
        entry.Width = EntryWidth(entry, entry.Width, layout);
    }
    return entries;
}

std::int64_t TChartLegend::FlowIntoColumns(const std::vector<TEntry>& entries,
                                           TLayout& layout) const {
    // The most columns of equal width that fit, each as wide as the widest entry shown.
    // Entries flow row by row; those beyond the last row are left out.
    std::vector<std::int64_t> widestUpTo(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        widestUpTo[i] = std::max(entries[i].Width, i > 0 ? widestUpTo[i - 1] : 0);
    }
    const auto n = static_cast<std::int64_t>(entries.size());
    std::int64_t columns = std::min(layout.Columns, n);
    const auto shownWith = [&](std::int64_t c) { return std::min(n, c * layout.Rows); };
    const auto widthOf = [&](std::int64_t c) {
        return c * widestUpTo[static_cast<std::size_t>(shownWith(c) - 1)] +
               (c - 1) * layout.ColumnGap;
    };
    while (columns > 1 && widthOf(columns) > layout.Width) {
        --columns;
    }
    const std::int64_t shown = shownWith(columns);
    layout.Columns = columns;
    layout.Rows = (shown + columns - 1) / columns;
    layout.CellWidth = widestUpTo[static_cast<std::size_t>(shown - 1)];
    return shown;
}

TRect TChartLegend::PlaceBox(const TRect& plot, const TLayout& layout) {
    const std::int64_t boxWidth = layout.Columns * layout.CellWidth +
                                  (layout.Columns - 1) * layout.ColumnGap + 2 * layout.Gap +
                                  2 * layout.Frame;
    const std::int64_t boxHeight =
        layout.Rows * layout.RowHeight + 2 * layout.PadY + 2 * layout.Frame;
    const std::int64_t shadow = layout.Shadow;
    // A top or bottom legend is centred, with its shadow, on the chart rectangle.
    const std::int64_t centred =
        plot.Left + (std::int64_t{plot.Right} - plot.Left - boxWidth - shadow) / 2;
    std::int64_t left = centred;
    std::int64_t top = layout.Top;
    TRect rest = plot;
    switch (FAlignment) {
    case laLeft:
        left = plot.Left;
        rest.Left = Clamped(left + boxWidth + shadow + layout.Margin);
        break;
    case laRight:
        left = std::int64_t{plot.Right} - shadow - boxWidth;
        rest.Right = Clamped(left - layout.Margin);
        break;
    case laTop:
        rest.Top = Clamped(top + boxHeight + shadow + layout.Margin);
        break;
    case laBottom:
        top = std::int64_t{plot.Bottom} - shadow - boxHeight;
        rest.Bottom = Clamped(top - layout.Margin);
        break;
    }
    FLegendRect = MakeRect(left, top, left + boxWidth, top + boxHeight);
    return rest;
}

// --- Drawing -----------------------------------------------------------------------------------

void TChartLegend::PaintBox(TCustomChart& chart, const TLayout& layout) {
    if (!layout.BoxDrawn) {
        return;
    }
    TChartCanvas3D& canvas = chart.Canvas();
    const TRect& box = FLegendRect;
    TChartBrush& brush = canvas.Brush();
    if (layout.Shadow > 0) {
        // Only the strips beside and below the box: a transparent box shows no shadow inside.
        const std::int64_t s = layout.Shadow;
        brush.ClearImage();
        brush.SetColor(FShadowColor);
        brush.SetStyle(bsSolid);
        canvas.FillRectangle(MakeRect(box.Right, box.Top + s, box.Right + s, box.Bottom + s));
        canvas.FillRectangle(MakeRect(box.Left + s, box.Bottom, box.Right, box.Bottom + s));
    }
    if (layout.FrameCounts) {
        canvas.ApplyChartPen(FFrame);
    } else {
        canvas.Pen().SetStyle(psClear);
    }
    brush.Assign(FBrush);
    if (!FBrush.HasImage() && FBrush.Style() == bsSolid && FBrush.Color() == clDefault) {
        brush.SetStyle(bsClear);
    } else if (!FBrush.HasImage() && FBrush.Color() == clDefault) {
        // A hatch without a colour of its own is drawn in black.
        brush.SetColor(clBlack);
    }
    // The gaps of a hatch show what lies behind the legend.
    canvas.SetTextBackgroundMode(cbmTransparent);
    canvas.DrawRectangle(box);
}

void TChartLegend::PaintItem(TCustomChart& chart, const TItem& item, const std::string& text,
                             const TLayout& layout) {
    TChartCanvas3D& canvas = chart.Canvas();
    std::int64_t x = item.Cell.Left;
    const std::int64_t markTop = std::int64_t{item.Cell.Top} + layout.MarkInset;
    if (!item.CheckBox.IsEmpty()) {
        PaintCheckBox(chart, item.CheckBox, item.Series->Active());
        x += layout.MarkSize + layout.Gap;
    }
    if (layout.SymbolWidth > 0) {
        // The symbol keeps to its own columns of the cell: a wide pen or a huge pointer must
        // not cover the entry's text, its neighbours or the chart. The clip of whatever is
        // drawn around the legend is put back afterwards, not removed.
        const TChartCanvas3D::TSavedClip saved = canvas.SaveClip();
        canvas.ClipToRectangle(
            MakeRect(x, item.Cell.Top, x + layout.SymbolWidth, item.Cell.Bottom));
        item.Series->PaintLegendItem(
            item.Point, MakeRect(x, markTop, x + layout.SymbolWidth, markTop + layout.MarkSize));
        canvas.RestoreClip(saved);
        x += layout.SymbolWidth + layout.Gap;
    }
    // The symbol may have left any text settings behind.
    canvas.Font().SetColor(item.Series->Active() ? Font().Color() : InactiveTextColor);
    canvas.SetTextBackgroundMode(cbmTransparent);
    canvas.SetTextAlignment(TextAlign::Left | TextAlign::Top);
    canvas.DrawTextAt(Clamped(x), item.Cell.Top, text);
}

void TChartLegend::PaintCheckBox(TCustomChart& chart, const TRect& box, bool checked) {
    TChartCanvas3D& canvas = chart.Canvas();
    const TChartPen outline;
    canvas.ApplyChartPen(outline);
    canvas.Brush().ClearImage();
    canvas.Brush().SetColor(clWhite);
    canvas.Brush().SetStyle(bsSolid);
    canvas.DrawRectangle(box);
    if (!checked) {
        return;
    }
    const std::int32_t size = box.Width();
    if (size < 7) {
        // Too small for a tick: the inside is filled.
        canvas.Brush().SetColor(clBlack);
        canvas.FillRectangle({box.Left + 2, box.Top + 2, box.Right - 2, box.Bottom - 2});
        return;
    }
    // A tick two pixels thick: down from the left to a third of the way, then up to the right
    // (the last point of a polyline is not painted).
    const std::int32_t l = box.Left;
    const std::int32_t t = box.Top;
    for (std::int32_t thick = 0; thick < 2; ++thick) {
        const std::array<TPoint, 3> tick{{{l + 2, t + size / 2 - 1 + thick},
                                          {l + size / 2 - 1, t + size - 4 + thick},
                                          {l + size - 1, t + 1 + thick}}};
        canvas.DrawPolyline(tick);
    }
}

} // namespace Korvatel
