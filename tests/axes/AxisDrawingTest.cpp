// SPDX-License-Identifier: MIT
// What an axis reserves and draws, on the main window's chart without the drawing pipeline:
// bands, the axis line, ticks, labels, grid, minor ticks, titles, PositionPercent and the hit
// test, checked on the pixels of the chart's own canvas.
#include "AxisPicture.h"
#include <korvatel/core/ChartErrors.h>
#include "ChartPrinters.h"

#include <gtest/gtest.h>
#include <string>

using namespace Korvatel;

namespace {

struct AxisDrawing : ::testing::Test, TAxisPicture {
    TChartAxis& bottom = Chart.BottomAxis();
    TChartAxis& left = Chart.LeftAxis();

    std::int32_t RowHeight() {
        Chart.SelectFont(bottom.LabelsFont());
        return Chart.Canvas().TextRowHeight();
    }
    std::int32_t TextWidth(const std::string& text) {
        Chart.SelectFont(left.LabelsFont());
        return Chart.Canvas().MeasureTextWidth(text);
    }
};

} // namespace

TEST_F(AxisDrawing, BottomAxisReservesLabelsAndTicksAndDrawsBelowItsLine) {
    LayOut();
    const std::int32_t row = RowHeight();
    EXPECT_EQ(row, 12);                  // "Arial" 8 points
    EXPECT_EQ(bottom.TickZoneSize(), 6); // line 2 + ticks 4; the minor ticks (2) are shorter
    EXPECT_EQ(Chart.PlotRect().Bottom, MarginRect.Bottom - row - 6);
    Paint({&bottom});

    const std::int32_t line = bottom.AxisLinePos();
    EXPECT_EQ(line, Chart.PlotRect().Bottom);
    EXPECT_EQ(bottom.LabelsPos(), line + 6);
    // 0, 50, ..., 1000 from the top down: 21 ticks, one at each end of the axis.
    ASSERT_EQ(bottom.TickPositions().size(), 21U);
    EXPECT_EQ(bottom.TickPositions().front(), bottom.EndPixel());
    EXPECT_EQ(bottom.TickPositions().back(), bottom.StartPixel());

    const std::int32_t tick = bottom.TickPositions()[10]; // 500
    for (std::int32_t y = line + 1; y < line + 5; ++y) {
        EXPECT_EQ(Pixel(tick, y), Gray()) << y;
    }
    EXPECT_NE(Pixel(tick, line + 5), Gray());
    EXPECT_EQ(Pixel(tick, line), Black()); // the axis line, two pixels wide
    // Its label "500" hangs centred below the tick, its top at the label line.
    const TRect text = Bounds(Black(), {tick - 20, line + 2, tick + 21, line + 2 + 6 + row});
    EXPECT_GE(text.Top, line + 6);
    EXPECT_LT(text.Bottom, line + 6 + row);
    EXPECT_LE(std::abs((text.Left + text.Right) - 2 * tick), 2) << text.Left << " " << text.Right;
    // The dotted grid line runs up the chart rectangle.
    EXPECT_GT(Count(Gray(), {tick, Chart.PlotRect().Top, tick + 1, line}), 100);
    // Three minor ticks of two pixels between 500 and 550.
    const std::int32_t next = bottom.TickPositions()[9];
    const TRect minor{tick + 1, line + 1, next, line + 5};
    EXPECT_EQ(Count(Gray(), minor), 3 * 2);
}

TEST_F(AxisDrawing, LeftAxisLabelsAreRightAlignedSixPixelsLeftOfTheLine) {
    LayOut();
    // The wider of the labels at the ends, 1000 and -1000, and one blank.
    const std::int32_t labels = TextWidth("-1,000") + TextWidth(" ");
    EXPECT_EQ(left.WidestLabelWidth(), labels);
    EXPECT_EQ(Chart.PlotRect().Left, MarginRect.Left + labels + 6);
    Paint({&left});

    const std::int32_t line = left.AxisLinePos();
    EXPECT_EQ(line, Chart.PlotRect().Left);
    EXPECT_EQ(left.LabelsPos(), line - 6);
    // Step 100: 1000 down to -900; the minimum -1000 lies below the labels' lower bound.
    ASSERT_EQ(left.TickPositions().size(), 20U);
    EXPECT_EQ(left.TickPositions().front(), left.ValueToPixel(1000));
    EXPECT_EQ(left.TickPositions().back(), left.ValueToPixel(-900));

    const std::int32_t tick = left.ValueToPixel(0);
    const TRect text = Bounds(Black(), {MarginRect.Left, tick - 8, line - 2, tick + 9});
    EXPECT_LE(text.Right, left.LabelsPos());
    EXPECT_GE(text.Right, left.LabelsPos() - 2);
    EXPECT_GE(text.Top, tick - RowHeight() / 2);
    for (std::int32_t x = line - 4; x < line; ++x) {
        EXPECT_EQ(Pixel(x, tick), Gray()) << x;
    }
    EXPECT_NE(Pixel(line - 5, tick), Gray());
}

TEST_F(AxisDrawing, TopAndRightAxesDrawOutwardFromTheirLines) {
    // The series on the far axes, with the ranges of the main window's axes.
    TChartAxis& top = Chart.TopAxis();
    TChartAxis& right = Chart.RightAxis();
    Series->SetHorizAxis(aTopAxis);
    Series->SetVertAxis(aRightAxis);
    top.AssignRange(0, 1000);
    right.AssignRange(-1000, 1000);
    right.SetIncrement(10);
    LayOut();
    const std::int32_t row = RowHeight();
    EXPECT_EQ(Chart.PlotRect().Top, MarginRect.Top + row + 6);
    EXPECT_EQ(Chart.PlotRect().Right, MarginRect.Right - TextWidth("-1,000") - TextWidth(" ") - 6);
    Paint({&top, &right});

    // Top: ticks of four pixels up from the line, the label "500" centred above them with
    // its bottom at the label line.
    const std::int32_t topLine = top.AxisLinePos();
    EXPECT_EQ(topLine, Chart.PlotRect().Top);
    EXPECT_EQ(top.LabelsPos(), topLine - 6);
    ASSERT_EQ(top.TickPositions().size(), 21U);
    const std::int32_t x = top.TickPositions()[10];
    for (std::int32_t y = topLine - 4; y < topLine; ++y) {
        EXPECT_EQ(Pixel(x, y), Gray()) << y;
    }
    EXPECT_NE(Pixel(x, topLine - 5), Gray());
    EXPECT_EQ(Pixel(x + 1, topLine - 1), Black()); // the axis line
    const TRect above = Bounds(Black(), {x - 20, topLine - 6 - row, x + 21, topLine - 5});
    EXPECT_LE(above.Bottom, top.LabelsPos());
    EXPECT_GE(above.Top, top.LabelsPos() - row);
    EXPECT_LE(std::abs((above.Left + above.Right) - 2 * x), 2) << above.Left << " " << above.Right;

    // Right: ticks of four pixels to the right of the line, the label "0" left-aligned at the
    // label line and centred on its tick.
    const std::int32_t rightLine = right.AxisLinePos();
    EXPECT_EQ(rightLine, Chart.PlotRect().Right);
    EXPECT_EQ(right.LabelsPos(), rightLine + 6);
    ASSERT_EQ(right.TickPositions().size(), 20U);
    const std::int32_t y = right.ValueToPixel(0);
    for (std::int32_t column = rightLine + 1; column < rightLine + 5; ++column) {
        EXPECT_EQ(Pixel(column, y), Gray()) << column;
    }
    EXPECT_NE(Pixel(rightLine + 5, y), Gray());
    EXPECT_EQ(Pixel(rightLine, y - 3), Black()); // the axis line
    const TRect beside = Bounds(Black(), {rightLine + 5, y - row, rightLine + 40, y + row});
    EXPECT_GE(beside.Left, right.LabelsPos());
    EXPECT_LE(beside.Left, right.LabelsPos() + 2);
    EXPECT_LE(std::abs((beside.Top + beside.Bottom) - 2 * y), 2)
        << beside.Top << " " << beside.Bottom;
}

TEST_F(AxisDrawing, TicksFollowTheLabelTextsUnlessToldOtherwise) {
    bottom.SetLabels(false);
    LayOut();
    const std::int32_t line = Chart.PlotRect().Bottom;
    EXPECT_EQ(bottom.LabelsPos(), line + 6); // the band begins beyond the ticks
    Paint({&bottom});
    const TRect below{0, line + 1, Width, Height};
    const TRect plot = Chart.PlotRect();
    EXPECT_TRUE(bottom.TickPositions().empty());
    EXPECT_EQ(Count(Gray(), below), 0);
    EXPECT_EQ(Count(Gray(), plot), 0);

    bottom.SetTickOnLabelsOnly(false);
    Image.fill(qRgb(255, 255, 255));
    Paint({&bottom});
    EXPECT_EQ(bottom.TickPositions().size(), 21U);
    EXPECT_EQ(Count(Gray(), below), 21 * 4 + 20 * 3 * 2);
    EXPECT_GT(Count(Gray(), plot), 21 * 100);
    EXPECT_EQ(Count(Black(), below), 0); // no label text
}

TEST_F(AxisDrawing, CenteredGridLinesStandHalfwayBetweenTicks) {
    // Value v at column 100 + v; labels at 0 and 51 only.
    bottom.AssignRange(0, 400);
    Chart.OnGetNextAxisLabel = [](TCustomChartAxis*, std::int32_t index, double& value,
                                  bool& stop) {
        stop = index > 1;
        value = index == 0 ? 0 : 51;
    };
    bottom.SetGridCentered(true);
    left.SetVisible(false); // no room taken on the left
    LayOut({100, 21, 500, 508});
    ASSERT_EQ(bottom.StartPixel(), 100);
    ASSERT_EQ(bottom.EndPixel(), 500);
    Paint({&bottom});
    ASSERT_EQ(bottom.TickPositions(), (std::vector<std::int32_t>{100, 151}));
    const TRect plot = Chart.PlotRect();
    EXPECT_GT(Count(Gray(), {126, plot.Top, 127, plot.Bottom}), 100); // 125.5 goes to 126
    EXPECT_EQ(Count(Gray(), {101, plot.Top, 126, plot.Bottom}), 0);
    EXPECT_EQ(Count(Gray(), {127, plot.Top, 500, plot.Bottom}), 0);
}

TEST_F(AxisDrawing, LeftTitleReadsUpwardsInItsOwnRow) {
    left.Title().SetCaption("Kitérés");
    EXPECT_EQ(left.Title().Angle(), 90);
    LayOut();
    const std::int32_t row = RowHeight();
    const std::int32_t labels = left.WidestLabelWidth();
    EXPECT_EQ(left.TitlePos(), MarginRect.Left + row);
    EXPECT_EQ(Chart.PlotRect().Left, MarginRect.Left + row + labels + 6);
    Paint({&left});
    const TRect title = Bounds(Black(), {0, 0, left.TitlePos(), Height});
    EXPECT_GE(title.Left, left.TitlePos() - row);
    // Turned, the text is taller than wide and centred on the axis.
    EXPECT_GT(title.Height(), 2 * title.Width());
    EXPECT_LE(std::abs(title.Top + title.Bottom - 2 * left.CenterPixel()), 2);

    // Turned back to 0 it runs across the axis and takes the width of its caption.
    left.Title().SetAngle(0);
    LayOut();
    Chart.SelectFont(left.Title().Font());
    EXPECT_EQ(left.TitlePos(), MarginRect.Left + Chart.Canvas().MeasureTextWidth("Kitérés"));
}

TEST_F(AxisDrawing, PositionPercentMovesLineLabelsAndTitleIntoThePlot) {
    bottom.SetPositionPercent(50);
    bottom.Title().SetCaption("x");
    LayOut();
    // The axis still takes its room at the bottom.
    const std::int32_t row = RowHeight();
    const std::int32_t reserved = MarginRect.Bottom - row - row - 6;
    ASSERT_EQ(Chart.PlotRect().Bottom, reserved);
    // Labels and title move by half of what was left after the axis's own reservation.
    const std::int32_t shift = (reserved - MarginRect.Top) / 2;
    EXPECT_EQ(bottom.TitlePos(), MarginRect.Bottom - row - shift);
    EXPECT_EQ(bottom.LabelsPos(), MarginRect.Bottom - 2 * row - shift);
    // A second layout moves them by the same amount, not once more.
    LayOut();
    EXPECT_EQ(bottom.LabelsPos(), MarginRect.Bottom - 2 * row - shift);
    // The line moves by half the height of the final chart rectangle.
    Paint({&bottom});
    const TRect plot = Chart.PlotRect();
    EXPECT_EQ(bottom.AxisLinePos(), plot.Bottom - plot.Height() / 2);
}

TEST_F(AxisDrawing, ClickedAtCoversTheTickBandAndThreePixelsInside) {
    LayOutAndPaint();
    const std::int32_t line = bottom.AxisLinePos();
    const std::int32_t labels = bottom.LabelsPos();
    const std::int32_t start = bottom.StartPixel();
    const std::int32_t end = bottom.EndPixel();
    struct Case {
        std::int32_t X, Y;
        bool Hit;
    };
    const Case cases[] = {
        {start, line - 3, true}, {end - 1, labels - 1, true}, {start - 1, line, false},
        {end, line, false},      {start, line - 4, false},    {start, labels, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bottom.ClickedAt(c.X, c.Y), c.Hit) << c.X << ", " << c.Y;
    }
    // Left axis: from the label line to three pixels right of the axis line.
    const std::int32_t row = left.ValueToPixel(0);
    EXPECT_TRUE(left.ClickedAt(left.LabelsPos(), row));
    EXPECT_TRUE(left.ClickedAt(left.AxisLinePos() + 2, row));
    EXPECT_FALSE(left.ClickedAt(left.AxisLinePos() + 3, row));
    EXPECT_FALSE(left.ClickedAt(left.LabelsPos() - 1, row));
    // Axes that are not shown are never hit.
    EXPECT_FALSE(Chart.TopAxis().ClickedAt(start, Chart.TopAxis().AxisLinePos()));
}

TEST_F(AxisDrawing, TickPositionsGrowPastTwoThousand) {
    std::int32_t calls = 0;
    Chart.OnGetNextAxisLabel = [&](TCustomChartAxis*, std::int32_t index, double& value,
                                   bool& stop) {
        ++calls;
        stop = false;
        value = index % 1000;
    };
    bottom.SetLabels(false);
    bottom.SetTickOnLabelsOnly(false);
    LayOut();
    Paint({&bottom});
    // LabelIndex 0 to 2000: the handler is asked 2001 times, and every value gets its tick.
    EXPECT_EQ(calls, 2001);
    EXPECT_EQ(bottom.TickPositions().size(), 2001U);
}

TEST_F(AxisDrawing, TitleAngleIsCheckedAndDefaultsBySide) {
    EXPECT_EQ(bottom.Title().Angle(), 0);
    EXPECT_EQ(Chart.RightAxis().Title().Angle(), 270);
    EXPECT_EQ(Chart.DepthAxis().Title().Angle(), 0);
    EXPECT_FALSE(left.Title().AngleIsStored());
    for (const std::int32_t bad : {400, 360, -1}) {
        try {
            left.Title().SetAngle(bad);
            ADD_FAILURE() << bad;
        } catch (const ChartException& error) {
            EXPECT_STREQ(error.what(), "Axis Title Angle must be between 0 and 359 degrees");
        }
    }
    EXPECT_EQ(left.Title().Angle(), 90);
    left.Title().SetAngle(359);
    EXPECT_TRUE(left.Title().AngleIsStored());
}

TEST_F(AxisDrawing, LabelsOnTheEndsFollowLabelsOnAxisAndTheMinorGridCrossesThePlot) {
    // The bottom axis alone, labelled every 100 from 0 to 1000: the first and last labels fall
    // exactly on its end pixels.
    left.SetVisible(false);
    bottom.SetIncrement(100);
    bottom.Grid().SetVisible(false);
    bottom.MinorTicks().SetVisible(false);
    bottom.MinorGrid().SetVisible(true);
    bottom.MinorGrid().SetStyle(psSolid);
    bottom.MinorGrid().SetColor(clRed);
    for (bool onAxis : {true, false}) {
        SCOPED_TRACE(onAxis);
        Image.fill(qRgb(255, 255, 255));
        bottom.SetLabelsOnAxis(onAxis);
        LayOut();
        Paint({&bottom});
        const std::int32_t top = bottom.LabelsPos();
        const auto inkAt = [&](std::int32_t pixel) {
            return Count(qRgb(0, 0, 0), {pixel - 10, top, pixel + 11, top + RowHeight()}) > 0;
        };
        EXPECT_EQ(inkAt(bottom.StartPixel()), onAxis);
        EXPECT_EQ(inkAt(bottom.EndPixel()), onAxis);
        EXPECT_TRUE(inkAt(bottom.XValueToPixel(500)));

        // Every minor grid line runs from the top of the chart rectangle to its bottom.
        const TRect& plot = Chart.PlotRect();
        const std::int32_t minor = bottom.XValueToPixel(525);
        EXPECT_GE(Count(qRgb(255, 0, 0), {minor - 1, plot.Top, minor + 2, plot.Bottom}),
                  plot.Height() - 2);
    }
}
