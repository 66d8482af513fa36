// SPDX-License-Identifier: MIT
#include <korvatel/render/Chart.h>
#include <korvatel/core/ChartErrors.h>
#include <korvatel/core/Rounding.h>
#include "ChartImage.h"
#include "ChartPrinters.h"
#include <korvatel/data/FastLineSeries.h>
#include <korvatel/data/LineSeries.h>
#include <korvatel/canvas/SystemColors.h>

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace Korvatel;

namespace {

const QRgb White = qRgb(255, 255, 255);
const QRgb Red = qRgb(255, 0, 0);
const QRgb Navy = qRgb(0, 0, 128);
const QRgb Black = qRgb(0, 0, 0);
// Not blue: the title is blue.
const TColor SeriesColors[] = {clGreen, clLime, clFuchsia, clAqua,
                               clOlive, clTeal, clMaroon,  clPurple};

// A flat white chart without axes whose series have no points: the only pixels in the series'
// colours are their legend symbols. The legend's frame is red and its shadow navy.
struct TLegendChart {
    explicit TLegendChart(int width = 400, int height = 240, int seriesCount = 3) {
        Chart.SetSize(width, height);
        Chart.SetView3D(false);
        Chart.SetColor(clWhite);
        Chart.SetBevelOuter(bvNone);
        Chart.SetAxisVisible(false);
        Chart.Frame().SetVisible(false);
        Chart.Legend().Frame().SetColor(clRed);
        Chart.Legend().SetShadowColor(clNavy);
        for (int i = 0; i < seriesCount; ++i) {
            auto* series = new TFastLineSeries;
            series->SetParentChart(&Chart);
            series->SetSeriesColor(SeriesColors[i]);
            series->SetTitle("S" + std::to_string(i));
            Series.push_back(series);
        }
    }
    TLegendChart(const TLegendChart&) = delete;
    TLegendChart& operator=(const TLegendChart&) = delete;

    void Draw() { Picture = DrawChartImage(Chart); }

    // The smallest rectangle holding every pixel of a colour; empty when there is none.
    TRect Bounds(QRgb colour) const {
        TRect r{Picture.width(), Picture.height(), 0, 0};
        for (int y = 0; y < Picture.height(); ++y) {
            for (int x = 0; x < Picture.width(); ++x) {
                if (Picture.pixel(x, y) == colour) {
                    r = {std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1),
                         std::max(r.Bottom, y + 1)};
                }
            }
        }
        return r.IsEmpty() ? TRect{} : r;
    }

    // The middle of series i's symbol in the picture.
    TPoint Symbol(int i) const {
        const TRect r = Bounds(ColorToRgb(SeriesColors[i]));
        return {(r.Left + r.Right) / 2, r.Top};
    }

    std::vector<std::int32_t> ShownIndexes() const {
        std::vector<std::int32_t> result;
        for (const TChartLegend::TItem& item : Chart.Legend().Items()) {
            result.push_back(item.Index);
        }
        return result;
    }

    TChart Chart;
    std::vector<TFastLineSeries*> Series; // owned by the chart
    QImage Picture;
};

TRect PlotWithoutLegend(int width, int height) {
    TLegendChart chart(width, height);
    chart.Chart.Title().SetText({"Title"});
    chart.Chart.Legend().SetVisible(false);
    chart.Draw();
    return chart.Chart.PlotRect();
}

} // namespace

// The box (found by its frame's pixels) stands at its side of the chart rectangle, which gives
// up exactly the box, its shadow and the margin; a left or right legend is laid out before the
// title, a top or bottom one after it. A click on an entry's symbol finds that entry.
TEST(ChartLegendTest, TakesItsRoomOnItsSideAndFindsItsEntries) {
    const TRect full = PlotWithoutLegend(400, 240);
    constexpr int Shadow = 4;
    constexpr int HorizMargin = 6;
    constexpr int VertMargin = 9;
    for (TLegendAlignment alignment : {laLeft, laRight, laTop, laBottom}) {
        SCOPED_TRACE(int(alignment));
        TLegendChart c;
        TChart& chart = c.Chart;
        chart.Title().SetText({"Title"});
        TChartLegend& legend = chart.Legend();
        legend.SetAlignment(alignment);
        legend.SetShadowSize(Shadow);
        legend.SetHorizMargin(HorizMargin);
        legend.SetVertMargin(VertMargin);
        c.Draw();

        const TRect box = legend.LegendRect();
        EXPECT_EQ(c.Bounds(Red), box);
        EXPECT_EQ(c.Bounds(Navy), (TRect{box.Left + Shadow, box.Top + Shadow, box.Right + Shadow,
                                         box.Bottom + Shadow}));
        TRect expected = full;
        switch (alignment) {
        case laLeft:
            EXPECT_EQ(box.Left, full.Left);
            expected.Left = box.Right + Shadow + HorizMargin;
            EXPECT_EQ(chart.Title().BlockRect().Left, expected.Left);
            break;
        case laRight:
            EXPECT_EQ(box.Right + Shadow, full.Right);
            expected.Right = box.Left - HorizMargin;
            EXPECT_EQ(chart.Title().BlockRect().Right, expected.Right);
            break;
        case laTop:
            EXPECT_EQ(box.Top, full.Top);
            expected.Top = box.Bottom + Shadow + VertMargin;
            break;
        case laBottom:
            EXPECT_EQ(box.Bottom + Shadow, full.Bottom);
            expected.Bottom = box.Top - VertMargin;
            break;
        }
        EXPECT_EQ(chart.PlotRect(), expected);

        int clicked = -2;
        chart.OnClickLegend = [&](TCustomChart* sender, TMouseButton, TShiftState, std::int32_t x,
                                  std::int32_t y) { clicked = sender->Legend().Clicked(x, y); };
        for (int i = 0; i < 3; ++i) {
            const TPoint p = c.Symbol(i);
            EXPECT_EQ(legend.Clicked(p.X, p.Y), i);
            chart.MouseDown(mbLeft, {}, p.X, p.Y);
            EXPECT_EQ(clicked, i);
        }
        EXPECT_EQ(legend.Clicked(box.Left - 1, c.Symbol(0).Y), -1);
        EXPECT_EQ(chart.ChartPartAt(box.Left, box.Top).Kind, cpLegend);
        EXPECT_EQ(chart.ChartPartAt(box.Right, box.Top).Kind, cpNone);
    }
}

TEST(ChartLegendTest, TopPosPlacesASideBoxAndATopOrBottomBoxIsCentredAcross) {
    TRect full;
    {
        // Without a title, the rectangle the legend is given is that of the margins.
        TLegendChart c;
        c.Chart.Title().SetText({});
        c.Chart.Legend().SetVisible(false);
        c.Draw();
        full = c.Chart.PlotRect();
    }
    struct Row {
        TLegendAlignment alignment;
        std::int32_t topPos;
    };
    for (const Row& row : {Row{laLeft, 0}, Row{laLeft, 50}, Row{laRight, 30}, Row{laTop, 10},
                           Row{laBottom, 10}}) {
        SCOPED_TRACE(int(row.alignment));
        TLegendChart c;
        c.Chart.Title().SetText({});
        c.Chart.Legend().SetAlignment(row.alignment);
        c.Chart.Legend().SetTopPos(row.topPos);
        c.Draw();
        const TRect box = c.Bounds(Red);
        switch (row.alignment) {
        case laLeft:
        case laRight:
            EXPECT_EQ(box.Top, full.Top + MulDiv(row.topPos, full.Height(), 100));
            EXPECT_EQ(row.alignment == laLeft ? box.Left : c.Bounds(Navy).Right,
                      row.alignment == laLeft ? full.Left : full.Right);
            break;
        case laTop:
        case laBottom:
            EXPECT_EQ(row.alignment == laTop ? box.Top : c.Bounds(Navy).Bottom,
                      row.alignment == laTop ? full.Top : full.Bottom);
            EXPECT_NEAR(box.Left - full.Left, full.Right - c.Bounds(Navy).Right, 1);
            break;
        }
    }
}

TEST(ChartLegendTest, ColorWidthIsTheWidthOfTheSymbol) {
    std::int32_t widths[2] = {};
    for (int i = 0; i < 2; ++i) {
        TLegendChart c;
        c.Chart.Legend().SetColorWidth(i == 0 ? 20 : 60);
        c.Draw();
        widths[i] = c.Bounds(ColorToRgb(SeriesColors[0])).Width();
    }
    EXPECT_GT(widths[0], 2);
    EXPECT_NEAR(widths[1], 3 * widths[0], 3);
}

TEST(ChartLegendTest, EntriesThatDoNotFitAreLeftOutWhole) {
    TLegendChart c(300, 110, 8);
    c.Draw();
    const TChartLegend& legend = c.Chart.Legend();
    const std::vector<std::int32_t> shown = c.ShownIndexes();
    ASSERT_GT(shown.size(), 2u);
    ASSERT_LT(shown.size(), 8u);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i], static_cast<std::int32_t>(i));
    }
    // Whole rows only, as many as fit above the bottom of the chart rectangle.
    const TRect box = legend.LegendRect();
    const std::int32_t row = legend.Items()[0].Cell.Height();
    const std::int32_t bottom = PlotWithoutLegend(300, 110).Bottom;
    EXPECT_LE(box.Bottom + legend.ShadowSize(), bottom);
    EXPECT_GT(box.Bottom + legend.ShadowSize() + row, bottom);
    for (const TChartLegend::TItem& item : legend.Items()) {
        EXPECT_TRUE(box.Contains(item.Cell.Left, item.Cell.Top));
        EXPECT_TRUE(box.Contains(item.Cell.Right - 1, item.Cell.Bottom - 1));
    }
    EXPECT_EQ(c.Bounds(ColorToRgb(SeriesColors[shown.size()])), TRect{});

    // An entry wider than the chart is left out; the others stay.
    std::vector<std::int32_t> rest = shown;
    rest.erase(rest.begin() + 1);
    c.Series[1]->SetTitle(std::string(100, 'W'));
    c.Draw();
    EXPECT_EQ(c.ShownIndexes(), rest);
}

// Row by row, as many columns of the widest entry's width as fit; MaxNumRows cuts the rows.
TEST(ChartLegendTest, ATopLegendFlowsIntoColumns) {
    TLegendChart c(260, 240, 7);
    TChartLegend& legend = c.Chart.Legend();
    legend.SetAlignment(laTop);
    c.Series[4]->SetTitle("Wider");
    c.Draw();
    const std::vector<TChartLegend::TItem>& items = legend.Items();
    ASSERT_EQ(items.size(), 7u);
    std::size_t columns = 1;
    while (columns < items.size() && items[columns].Cell.Top == items[0].Cell.Top) {
        ++columns;
    }
    ASSERT_GT(columns, 1u);
    ASSERT_LT(columns, 7u);
    const std::int32_t pitch = items[1].Cell.Left - items[0].Cell.Left;
    for (std::size_t k = 0; k < items.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(items[k].Index, static_cast<std::int32_t>(k));
        EXPECT_EQ(items[k].Cell.Left, items[k % columns].Cell.Left);
        EXPECT_EQ(items[k].Cell.Top, items[0].Cell.Top + int(k / columns) * items[0].Cell.Height());
        // The text stays in its cell: no ink in the gap after it.
        for (int y = items[k].Cell.Top; y < items[k].Cell.Bottom; ++y) {
            const int end = std::min(items[k].Cell.Left + pitch, legend.LegendRect().Right - 1);
            for (int x = items[k].Cell.Right; x < end; ++x) {
                EXPECT_EQ(c.Picture.pixel(x, y), White) << x << "," << y;
            }
        }
        EXPECT_TRUE(items[k].Cell.Contains(c.Symbol(int(k)).X, c.Symbol(int(k)).Y));
    }
    // One column more would not have fitted.
    EXPECT_LE(legend.LegendRect().Width() + legend.ShadowSize(),
              PlotWithoutLegend(260, 240).Width());
    EXPECT_GT(legend.LegendRect().Width() + pitch + legend.ShadowSize(),
              PlotWithoutLegend(260, 240).Width());

    legend.SetMaxNumRows(1);
    c.Draw();
    EXPECT_EQ(legend.Items().size(), columns);
}

TEST(ChartLegendTest, ACheckBoxSwitchesItsSeriesOnAndOff) {
    TLegendChart c(300, 200, 1);
    TChart& chart = c.Chart;
    chart.Legend().SetCheckBoxes(true);
    TFastLineSeries& series = *c.Series[0];
    const auto inkInBox = [&] {
        c.Draw();
        EXPECT_EQ(c.Chart.Legend().Items().size(), 1u);
        const TRect box = chart.Legend().Items().at(0).CheckBox;
        int ink = 0;
        for (int y = box.Top + 1; y < box.Bottom - 1; ++y) {
            for (int x = box.Left + 1; x < box.Right - 1; ++x) {
                ink += c.Picture.pixel(x, y) == Black ? 1 : 0;
            }
        }
        return ink;
    };
    EXPECT_GT(inkInBox(), 4);
    const TPoint p = c.Symbol(0);
    chart.MouseDown(mbLeft, {}, p.X, p.Y);
    EXPECT_FALSE(series.Active());
    // Still listed, though no series is active, so that it can be switched on again.
    EXPECT_EQ(inkInBox(), 0);
    chart.MouseDown(mbRight, {}, p.X, p.Y);
    EXPECT_FALSE(series.Active());
    chart.MouseDown(mbLeft, {}, p.X, p.Y);
    EXPECT_TRUE(series.Active());

    // A click handler comes first: one that keeps the press leaves the series alone.
    bool release = false;
    chart.OnClickLegend = [&](TCustomChart* sender, TMouseButton, TShiftState, std::int32_t,
                              std::int32_t) { sender->SetCancelMouse(!release); };
    chart.MouseDown(mbLeft, {}, p.X, p.Y);
    EXPECT_TRUE(series.Active());
    release = true;
    chart.MouseDown(mbLeft, {}, p.X, p.Y);
    EXPECT_FALSE(series.Active());
}

// Which entries a legend of a series' points shows, and what they say.
TEST(ChartLegendTest, FirstValueInvertedAndStyleChooseTheEntries) {
    struct TCase {
        TLegendStyle Style;
        std::int32_t FirstValue;
        bool Inverted;
        std::vector<std::string> Texts;
    };
    const TCase cases[] = {
        {lsAuto, 0, false, {"10 p0", "11 p1", "13 p3", "14 p4"}},
        {lsAuto, 1, false, {"11 p1", "13 p3", "14 p4"}},
        {lsAuto, 0, true, {"14 p4", "13 p3", "11 p1", "10 p0"}},
        {lsValues, 1, true, {"13 p3", "11 p1", "10 p0"}},
        {lsSeries, 0, false, {"S0"}},
        {lsLastValues, 0, false, {"S0 14 p4"}},
    };
    for (const TCase& k : cases) {
        SCOPED_TRACE(int(k.Style) * 100 + k.FirstValue * 10 + int(k.Inverted));
        TLegendChart c(300, 200, 1);
        for (int i = 0; i < 5; ++i) {
            c.Series[0]->AddPoint(i, 10 + i, "p" + std::to_string(i));
        }
        c.Series[0]->SetPointColor(2, clNone); // a null point has no entry
        TChartLegend& legend = c.Chart.Legend();
        legend.SetLegendStyle(k.Style);
        legend.SetFirstValue(k.FirstValue);
        legend.SetInverted(k.Inverted);
        std::vector<std::string> texts;
        c.Chart.OnGetLegendText = [&](TCustomChart*, TLegendStyle, std::int32_t,
                                      std::string& text) { texts.push_back(text); };
        c.Draw();
        EXPECT_EQ(texts, k.Texts);
        EXPECT_EQ(legend.Items().size(), k.Texts.size());
    }
}

TEST(ChartLegendTest, SettersRefuseBadValuesAndAssignCopiesEverySetting) {
    TChart chart;
    TChartLegend& legend = chart.Legend();
    const auto message = [](const std::function<void()>& set) {
        try {
            set();
        } catch (const ChartException& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    EXPECT_EQ(message([&] { legend.SetShadowSize(-1); }), "Legend ShadowSize must be >= 0");
    EXPECT_EQ(message([&] { legend.SetColorWidth(101); }),
              "Legend ColorWidth must be between 0 and 100");
    EXPECT_EQ(message([&] { legend.SetTopPos(-1); }), "Legend TopPos must be between 0 and 100");
    EXPECT_EQ(message([&] { legend.SetFirstValue(-1); }), "Legend FirstValue must be >= 0");
    EXPECT_EQ(legend.ShadowSize(), 3);
    EXPECT_EQ(legend.ColorWidth(), 30);
    EXPECT_EQ(message([&] { legend.SetColorWidth(100); }), "");

    TChart source;
    TChartLegend& s = source.Legend();
    s.SetVisible(false);
    s.SetAlignment(laBottom);
    s.SetLegendStyle(lsLastValues);
    s.SetTextStyle(ltsRightPercent);
    s.SetInverted(true);
    s.SetCheckBoxes(true);
    s.Frame().SetWidth(3);
    s.Brush().SetColor(clYellow);
    s.SetShadowSize(7);
    s.SetShadowColor(clRed);
    s.SetColorWidth(55);
    s.SetTopPos(44);
    s.SetHorizMargin(11);
    s.SetVertMargin(12);
    s.SetMaxNumRows(3);
    s.SetFirstValue(2);
    s.Font().SetSize(14);
    chart.SetLegend(s);
    EXPECT_FALSE(legend.Visible());
    EXPECT_EQ(legend.Alignment(), laBottom);
    EXPECT_EQ(legend.LegendStyle(), lsLastValues);
    EXPECT_EQ(legend.TextStyle(), ltsRightPercent);
    EXPECT_TRUE(legend.Inverted());
    EXPECT_TRUE(legend.CheckBoxes());
    EXPECT_EQ(legend.Frame().Width(), 3);
    EXPECT_EQ(legend.Brush().Color(), clYellow);
    EXPECT_EQ(legend.ShadowSize(), 7);
    EXPECT_EQ(legend.ShadowColor(), clRed);
    EXPECT_EQ(legend.ColorWidth(), 55);
    EXPECT_EQ(legend.TopPos(), 44);
    EXPECT_EQ(legend.HorizMargin(), 11);
    EXPECT_EQ(legend.VertMargin(), 12);
    EXPECT_EQ(legend.MaxNumRows(), 3);
    EXPECT_EQ(legend.FirstValue(), 2);
    EXPECT_EQ(legend.Font().Size(), 14);
}

TEST(ChartLegendTest, ASymbolKeepsToItsOwnColumnsOfItsEntry) {
    // A line pen 16 pixels wide, and a pointer pen as wide as a pen may be, change only pixels
    // of the symbol's row left of its text: the text, the other entries and the chart show as
    // with thin pens.
    struct Row {
        std::int32_t LinePen;
        std::int32_t PointerPen;
    };
    const auto draw = [](const Row& row, TRect& cell) {
        TLegendChart c(400, 240, 2);
        auto* series = new TLineSeries;
        series->SetParentChart(&c.Chart);
        series->SetSeriesColor(clBlue);
        series->SetTitle("Line");
        series->LinePen().SetWidth(row.LinePen);
        series->Pointer().SetVisible(true);
        // Blue, so that the only black of the entry is its text.
        series->Pointer().Pen().SetColor(clBlue);
        series->Pointer().Pen().SetWidth(row.PointerPen);
        c.Draw();
        cell = c.Chart.Legend().Items().back().Cell;
        return c.Picture;
    };
    TRect cell;
    const QImage thin = draw({1, 1}, cell);
    // The text of the entry starts at its first black pixel.
    std::int32_t text = cell.Right;
    for (int y = cell.Top; y < cell.Bottom; ++y) {
        for (int x = cell.Left; x < cell.Right; ++x) {
            if (thin.pixel(x, y) == Black) {
                text = std::min(text, x);
            }
        }
    }
    ASSERT_LT(text, cell.Right);
    for (const Row& row : {Row{16, 1}, Row{1, TChartPen::LargestWidth}}) {
        SCOPED_TRACE(testing::Message() << row.LinePen << ", " << row.PointerPen);
        TRect wideCell;
        const QImage wide = draw(row, wideCell);
        ASSERT_EQ(wideCell, cell);
        int changed = 0;
        int astray = 0;
        for (int y = 0; y < thin.height(); ++y) {
            for (int x = 0; x < thin.width(); ++x) {
                if (wide.pixel(x, y) != thin.pixel(x, y)) {
                    ++changed;
                    astray += y >= cell.Top && y < cell.Bottom && x >= cell.Left && x < text
                                  ? 0
                                  : 1;
                }
            }
        }
        EXPECT_GT(changed, 0);
        EXPECT_EQ(astray, 0);
    }
}
