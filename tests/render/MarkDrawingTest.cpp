// SPDX-License-Identifier: MIT
#include "AxisLayout.h"
#include <korvatel/render/Chart.h>
#include <korvatel/canvas/ChartCanvas3D.h>
#include "ChartPrinters.h"
#include <korvatel/data/ChartSeries.h>
#include <korvatel/canvas/ChartSurface.h>
#include <korvatel/data/FastLineSeries.h>

#include <QImage>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <utility>

using namespace Korvatel;

namespace {

constexpr QRgb White = qRgb(255, 255, 255);
constexpr QRgb Black = qRgb(0, 0, 0);
constexpr QRgb Red = qRgb(255, 0, 0);
constexpr QRgb MarkYellow = qRgb(255, 255, 128);

// With the fonts of the test machine (Liberation Sans for "Arial" 8): "W" is 10 pixels wide
// and a text row 12 pixels high.
constexpr std::int32_t WWidth = 10;
constexpr std::int32_t RowHeight = 12;

// A 200 x 150 chart drawn straight into an image, both axes from 0 to 100 over the whole
// panel, with mark texts that show the values.
struct MarkDrawing : ::testing::Test {
    MarkDrawing() : image(200, 150, QImage::Format_RGB32), surface(image) {
        image.fill(White);
        chart.SetSize(200, 150);
        chart.Canvas().SetTargetSurface(&surface);
        chart.BottomAxis().AssignRange(0, 100);
        chart.LeftAxis().AssignRange(0, 100);
    }
    ~MarkDrawing() override { chart.Canvas().SetTargetSurface(nullptr); }

    template <typename Series>
    Series* Add() {
        auto* series = new Series;
        series->SetParentChart(&chart);
        series->Marks().SetStyle(smsValue);
        return series;
    }

    void DrawMarks(TChartSeries& series) {
        LayOutAxes(chart, {0, 0, 200, 150});
        series.ComputeVisibleRange();
        series.DrawMarks();
        surface.EndPainting();
    }

    // The width of a text in the marks' font.
    std::int32_t TextWidth(TChartSeries& series, const std::string& text) {
        chart.SelectFont(series.Marks().Font());
        return chart.Canvas().MeasureTextWidth(text);
    }

    // The smallest rectangle around every pixel of the colour (right and bottom exclusive).
    TRect Extent(QRgb colour) const {
        TRect r{image.width(), image.height(), 0, 0};
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) == colour) {
                    r = {std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1),
                         std::max(r.Bottom, y + 1)};
                }
            }
        }
        return r;
    }

    std::set<std::pair<int, int>> PixelsOf(QRgb colour) const {
        std::set<std::pair<int, int>> result;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) == colour) {
                    result.emplace(x, y);
                }
            }
        }
        return result;
    }

    QImage image;
    TChartSurface surface;
    TChart chart;
};

} // namespace

TEST_F(MarkDrawing, TheBoxSitsCentredOnThePointWithItsBottomRowOnIt) {
    auto* series = Add<TChartSeries>();
    series->AddPoint(50, 50);
    DrawMarks(*series);

    const std::int32_t x = series->PointPixelX(0);
    const std::int32_t y = series->PointPixelY(0);
    // The text plus a "W", and the frame's pixel on each side.
    const std::int32_t width = TextWidth(*series, "50") + WWidth + 2;
    const std::int32_t height = RowHeight + 2;
    const TRect box{x - width / 2, y - height + 1, x - width / 2 + width, y + 1};
    EXPECT_EQ(Extent(Black), box); // the frame, with the text inside it
    EXPECT_EQ(Extent(MarkYellow),
              (TRect{box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1}));
    ASSERT_NE(series->Marks().Position(0), nullptr);
    EXPECT_EQ(series->Marks().Position(0)->Bounds(), box);
    EXPECT_EQ(chart.Canvas().TextAlignment(), 0); // put back to left-top
}

TEST_F(MarkDrawing, TheFastLineLiftsItsMarkByTheArrowLength) {
    auto* line = Add<TFastLineSeries>();
    line->Marks().Arrow().SetColor(clDefault); // the point's colour: the line's red
    line->AddPoint(50, 50);
    DrawMarks(*line);

    const std::int32_t x = line->PointPixelX(0);
    const std::int32_t y = line->PointPixelY(0);
    const TRect frame = Extent(Black);
    EXPECT_EQ(frame.Bottom - 1, y - 8);
    EXPECT_EQ(frame.Height(), RowHeight + 2);
    EXPECT_EQ(frame.Left, x - frame.Width() / 2);
    // The arrow runs up from the point to the box, which covers its end.
    std::set<std::pair<int, int>> arrow;
    for (int row = y - 7; row <= y; ++row) {
        arrow.emplace(x, row);
    }
    EXPECT_EQ(PixelsOf(Red), arrow);

    line->Marks().SetArrowLength(20);
    image.fill(White);
    DrawMarks(*line);
    EXPECT_EQ(Extent(Black).Bottom - 1, y - 20);
}

TEST_F(MarkDrawing, LinesStackAndTheFrameWidthCounts) {
    auto* series = Add<TChartSeries>();
    series->AddPoint(50, 50);
    series->OnGetMarkText = [](TChartSeries*, std::int32_t, std::string& text) {
        text = "1\r22\r";
    };
    series->Marks().Frame().SetWidth(3);
    DrawMarks(*series);
    const TSeriesMarkPosition* position = series->Marks().Position(0);
    ASSERT_NE(position, nullptr);
    EXPECT_EQ(position->Height, 2 * RowHeight + 6); // the empty last line does not count
    EXPECT_EQ(position->Width, TextWidth(*series, "22") + WWidth + 6);

    series->Marks().Frame().SetVisible(false); // a hidden frame takes no room
    DrawMarks(*series);
    EXPECT_EQ(series->Marks().Position(0)->Height, 2 * RowHeight);
}

TEST_F(MarkDrawing, NullPointsAndEmptyTextsHaveNoMark) {
    auto* series = Add<TChartSeries>();
    series->AddNullPoint(20, 20);
    series->AddPoint(50, 50);
    // Only the point with a value loses its text: the null point keeps one and still has no
    // mark.
    series->OnGetMarkText = [](TChartSeries*, std::int32_t index, std::string& text) {
        if (index == 1) {
            text.clear();
        }
    };
    DrawMarks(*series);
    EXPECT_TRUE(PixelsOf(White).size() == 200u * 150u);
    EXPECT_TRUE(series->Marks().Positions().empty());

    chart.BottomAxis().AssignRange(60, 100); // nothing visible, nothing drawn
    series->OnGetMarkText = nullptr;
    DrawMarks(*series);
    EXPECT_EQ(series->FirstVisible(), -1);
    EXPECT_TRUE(PixelsOf(White).size() == 200u * 150u);
}

TEST_F(MarkDrawing, BackgroundChoices) {
    auto* series = Add<TChartSeries>();
    series->SetSeriesColor(clRed);
    series->AddPoint(50, 50);
    series->Marks().SetBackColor(clDefault); // the point's colour
    DrawMarks(*series);
    EXPECT_FALSE(PixelsOf(Red).empty());
    EXPECT_TRUE(PixelsOf(MarkYellow).empty());

    image.fill(White);
    series->Marks().SetTransparent(true);
    DrawMarks(*series);
    EXPECT_TRUE(PixelsOf(Red).empty());
    EXPECT_FALSE(PixelsOf(Black).empty());
}

TEST_F(MarkDrawing, APlacedMarkStaysWhereItWasPut) {
    auto* series = Add<TChartSeries>();
    series->AddPoint(50, 50);
    TSeriesMarkPosition placed;
    placed.LeftTop = {20, 30};
    placed.Width = 40;
    placed.Height = 14;
    series->Marks().SetCustomPosition(0, placed);
    DrawMarks(*series);
    EXPECT_EQ(Extent(Black), (TRect{20, 30, 60, 44}));
    EXPECT_TRUE(series->Marks().Position(0)->Custom);
    EXPECT_EQ(series->Marks().MarkAtPixel(59, 43), 0);
    EXPECT_EQ(series->Marks().MarkAtPixel(60, 43), -1);
}

TEST_F(MarkDrawing, PositionsMoveWithTheirPointsAndAClearForgetsThem) {
    auto* series = Add<TChartSeries>();
    series->AddPoint(10, 10);
    series->AddPoint(50, 50);
    series->AddPoint(90, 90);
    DrawMarks(*series);
    ASSERT_EQ(series->Marks().Positions().size(), 3u);
    const TSeriesMarkPosition last = series->Marks().Positions()[2];
    const TRect lastBox = last.Bounds();
    EXPECT_EQ(series->Marks().MarkAtPixel(lastBox.Left, lastBox.Top), 2);

    series->DeletePoint(0);
    ASSERT_EQ(series->Marks().Positions().size(), 2u);
    EXPECT_EQ(series->Marks().Positions()[1], last);
    series->AddPoint(20, 20); // lands at index 0: an empty position comes in before
    ASSERT_EQ(series->Marks().Positions().size(), 3u);
    EXPECT_EQ(series->Marks().Positions()[2], last);
    EXPECT_TRUE(series->Marks().Positions()[0].Bounds().IsEmpty());

    series->ClearPoints();
    EXPECT_TRUE(series->Marks().Positions().empty());
}
