// SPDX-License-Identifier: MIT
#include <korvatel/render/Chart.h>
#include <korvatel/canvas/ChartCanvas3D.h>
#include "ChartImage.h"
#include "CountingWindow.h"
#include <korvatel/data/FastLineSeries.h>

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

using namespace Korvatel;

namespace {

// A fast line that keeps count of the mouse notifications it receives.
class TListeningSeries final : public TFastLineSeries {
public:
    void SeriesMouseMove(TShiftState /*shift*/, std::int32_t /*x*/, std::int32_t /*y*/) override {
        ++Moves;
    }
    void SeriesMouseUp(TMouseButton /*button*/, TShiftState /*shift*/, std::int32_t /*x*/,
                       std::int32_t /*y*/) override {
        ++Releases;
    }
    int Moves = 0;
    int Releases = 0;
};

// A window that records the range of the bottom axis at every immediate repaint.
class TRecordingWindow final : public TChartWindow {
public:
    explicit TRecordingWindow(const TChart& chart) : FChart(chart) {}
    void Invalidate() override { ++Invalidations; }
    void RepaintNow() override {
        Bottom.push_back({FChart.BottomAxis().Minimum(), FChart.BottomAxis().Maximum()});
    }
    void SetCursorShape(TCursor /*cursor*/) override {}

    int Invalidations = 0;
    std::vector<TAxisRange> Bottom;

private:
    const TChart& FChart;
};

// A flat 400 × 300 chart laid out as by a repaint: bottom axis 0 to 1000, left axis -1000 to
// 1000, the title "Title", the foot "Foot", and a line along the value -500 from X 0 to
// 1000.
class ChartMouseTest : public ::testing::Test {
protected:
    void SetUp() override {
        Chart.SetSize(400, 300);
        Chart.SetView3D(false);
        Chart.SetColor(clWhite);
        Chart.Legend().SetVisible(false);
        Chart.Title().SetText({"Title"});
        Chart.Foot().SetText({"Foot"});
        Chart.BottomAxis().SetAutomatic(false);
        Chart.BottomAxis().SetMaximum(1000);
        Chart.LeftAxis().SetAutomatic(false);
        Chart.LeftAxis().SetMinimum(-1000);
        Chart.LeftAxis().SetMaximum(1000);
        Series = new TListeningSeries;
        Series->SetParentChart(&Chart);
        Series->AddPoint(0, -500);
        Series->AddPoint(1000, -500);
        Chart.SetWindow(&Window);
        Layout();
    }

    void TearDown() override { Chart.SetWindow(nullptr); }

    // Repaints, so that the mouse reads a fresh layout.
    void Layout() { DrawChartImage(Chart); }

    TAxisRange Range(const TCustomChartAxis& axis) const {
        return {axis.Minimum(), axis.Maximum()};
    }

    // A point inside the chart rectangle away from the line.
    TPoint Inside() const {
        const TRect& plot = Chart.PlotRect();
        return {(plot.Left + plot.Right) / 2, plot.Top + 10};
    }
    // A point on the line.
    TPoint OnLine() const {
        return {Chart.BottomAxis().XValueToPixel(500), Chart.LeftAxis().YValueToPixel(-500)};
    }

    void Drag(TMouseButton button, TPoint from, TPoint to) {
        Chart.MouseDown(button, {}, from.X, from.Y);
        Chart.MouseMove({}, to.X, to.Y);
        Chart.MouseUp(button, {}, to.X, to.Y);
    }

    TChart Chart;
    TCountingWindow Window;
    TListeningSeries* Series = nullptr; // owned by the chart
};

} // namespace

// --- What lies under the mouse -------------------------------------------------------------------

TEST_F(ChartMouseTest, ThePartUnderTheMouseFirstMatchFirst) {
    const TRect title = Chart.Title().BlockRect();
    const TRect foot = Chart.Foot().BlockRect();
    const TPoint line = OnLine();
    const TPoint inside = Inside();

    TChartPart part = Chart.ChartPartAt(line.X, line.Y);
    EXPECT_EQ(part.Kind, cpSeries);
    EXPECT_EQ(part.Series, Series);
    EXPECT_EQ(part.PointIndex, 0);
    EXPECT_EQ(Chart.ChartPartAt(title.Left + 1, title.Top + 1).Kind, cpTitle);
    EXPECT_EQ(Chart.ChartPartAt(foot.Left + 1, foot.Top + 1).Kind, cpFoot);
    EXPECT_EQ(Chart.ChartPartAt(inside.X, inside.Y).Kind, cpPlotArea);
    EXPECT_EQ(Chart.ChartPartAt(1, 1).Kind, cpNone);
    // The right and bottom edges of the chart rectangle are outside it; the bottom one is
    // the axis line.
    const TRect& plot = Chart.PlotRect();
    EXPECT_EQ(Chart.ChartPartAt(plot.Right, plot.Top + 10).Kind, cpNone);
    part = Chart.ChartPartAt(inside.X, plot.Bottom);
    EXPECT_EQ(part.Kind, cpAxis);
    EXPECT_EQ(part.Axis, &Chart.BottomAxis());

    // Where the chart rectangle reaches over the title and the foot, they are found first.
    Chart.SetPlotRect({plot.Left, title.Top, plot.Right, foot.Bottom});
    EXPECT_EQ(Chart.ChartPartAt(inside.X, title.Top + 1).Kind, cpTitle);
    EXPECT_EQ(Chart.ChartPartAt(inside.X, foot.Bottom - 1).Kind, cpFoot);
    EXPECT_EQ(Chart.ChartPartAt(inside.X, inside.Y).Kind, cpPlotArea);
}

TEST_F(ChartMouseTest, ASeriesOnAnAxisLineHidesTheAxis) {
    // A line along the bottom of the range runs on the bottom axis line.
    Series->ClearPoints();
    Series->AddPoint(0, -1000);
    Series->AddPoint(1000, -1000);
    Layout();
    const std::int32_t x = Chart.BottomAxis().XValueToPixel(500);
    const std::int32_t y = Chart.PlotRect().Bottom;
    ASSERT_TRUE(Chart.BottomAxis().ClickedAt(x, y));
    EXPECT_EQ(Chart.ChartPartAt(x, y).Kind, cpSeries);
    // An inactive series is not hit, and without an active series there is no plot area.
    Series->SetActive(false);
    Layout();
    EXPECT_EQ(Chart.ChartPartAt(x, y).Kind, cpAxis);
    EXPECT_EQ(Chart.ChartPartAt(Inside().X, Inside().Y).Kind, cpNone);
}

// --- Pressing the mouse
// ----------------------------------------------------------------------------

TEST_F(ChartMouseTest, ClickHandlersClaimThePressByLeavingTheFlagSet) {
    enum TWhere { Plot, Line, Axis, Title };
    struct Row {
        const char* name;
        TWhere where;
        // The handler of the part: absent, or leaving the cancel-mouse flag as it found it
        // (claiming) or clearing it (passing the press on).
        bool assigned;
        bool claims;
        bool zooms;
        int backgroundClicks;
    };
    const Row rows[] = {
        {"plot area, no handler", Plot, false, false, true, 0},
        {"plot area, claimed", Plot, true, true, false, 1},
        {"plot area, passed on", Plot, true, false, true, 1},
        {"series, claimed", Line, true, true, false, 0},
        {"series, passed on", Line, true, false, true, 0},
        {"axis, claimed", Axis, true, true, false, 0},
        {"axis, passed on", Axis, true, false, true, 0},
        // A press that starts nothing falls through to the background.
        {"title", Title, false, false, false, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TChart& chart = Chart;
        chart.OnClickBackground = nullptr;
        chart.OnClickSeries = nullptr;
        chart.OnClickAxis = nullptr;
        int partClicks = 0;
        int backgroundClicks = 0;
        const auto handle = [&] {
            ++partClicks;
            if (!row.claims) {
                chart.SetCancelMouse(false);
            }
        };
        TPoint at = Inside();
        switch (row.where) {
        case Plot:
            if (row.assigned) {
                chart.OnClickBackground = [&](TCustomChart*, TMouseButton, TShiftState,
                                              std::int32_t, std::int32_t) { handle(); };
            }
            break;
        case Line:
            at = OnLine();
            chart.OnClickSeries = [&](TCustomChart*, TChartSeries* series, std::int32_t index,
                                      TMouseButton, TShiftState, std::int32_t, std::int32_t) {
                EXPECT_EQ(series, Series);
                EXPECT_EQ(index, 0);
                handle();
            };
            break;
        case Axis:
            at = {Inside().X, chart.PlotRect().Bottom};
            chart.OnClickAxis = [&](TCustomChart*, TCustomChartAxis* axis, TMouseButton,
                                    TShiftState, std::int32_t, std::int32_t) {
                EXPECT_EQ(axis, &chart.BottomAxis());
                handle();
            };
            break;
        case Title:
            at = {chart.Title().BlockRect().Left + 1, chart.Title().BlockRect().Top + 1};
            break;
        }
        // On the plot area the background handler is the part's own.
        if (row.where != Plot) {
            chart.OnClickBackground = [&](TCustomChart*, TMouseButton, TShiftState, std::int32_t,
                                          std::int32_t) { ++backgroundClicks; };
        }

        chart.MouseDown(mbLeft, {}, at.X, at.Y);
        EXPECT_EQ(chart.Zoom().DragActive, row.zooms);
        EXPECT_FALSE(chart.CancelMouse());
        if (row.where == Plot && row.assigned) {
            // Offered once, also when the press then starts nothing.
            EXPECT_EQ(partClicks, row.backgroundClicks);
        } else {
            EXPECT_EQ(partClicks, row.assigned ? 1 : 0);
            EXPECT_EQ(backgroundClicks, row.where == Title ? 1 : 0);
        }
        chart.MouseUp(mbLeft, {}, at.X, at.Y);
    }
}

TEST_F(ChartMouseTest, APressThatStartsNothingIsOfferedToTheBackgroundOnce) {
    int clicks = 0;
    Chart.OnClickBackground = [&](TCustomChart* chart, TMouseButton, TShiftState, std::int32_t,
                                  std::int32_t) {
        ++clicks;
        chart->SetCancelMouse(false);
    };
    // The middle button neither zooms nor scrolls.
    Chart.MouseDown(mbMiddle, {}, Inside().X, Inside().Y);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(Chart.Zoom().DragActive);
    EXPECT_FALSE(Chart.Scroll().DragActive);
}

TEST_F(ChartMouseTest, AnOnMouseDownHandlerThatSetsTheFlagTakesThePress) {
    Chart.OnMouseDown = [](TCustomChart* chart, TMouseButton, TShiftState, std::int32_t,
                           std::int32_t) { chart->SetCancelMouse(true); };
    Chart.MouseDown(mbLeft, {}, Inside().X, Inside().Y);
    EXPECT_FALSE(Chart.Zoom().DragActive);
    EXPECT_FALSE(Chart.CancelMouse());
    Chart.OnMouseDown = nullptr;
    Chart.MouseDown(mbLeft, {}, Inside().X, Inside().Y);
    EXPECT_TRUE(Chart.Zoom().DragActive);
}

TEST_F(ChartMouseTest, AClickHandlerThatRaisesDoesNotSwallowTheNextPress) {
    Chart.OnClickBackground = [](TCustomChart*, TMouseButton, TShiftState, std::int32_t,
                                 std::int32_t) { throw std::runtime_error("handler"); };
    EXPECT_THROW(Chart.MouseDown(mbLeft, {}, Inside().X, Inside().Y), std::runtime_error);
    EXPECT_FALSE(Chart.CancelMouse());
    Chart.OnClickBackground = nullptr;
    Chart.MouseDown(mbLeft, {}, Inside().X, Inside().Y);
    EXPECT_TRUE(Chart.Zoom().DragActive);
}

TEST_F(ChartMouseTest, PressesDuringADragAreIgnored) {
    Chart.MouseDown(mbLeft, {}, Inside().X, Inside().Y);
    Chart.MouseDown(mbRight, {}, Inside().X, Inside().Y);
    EXPECT_TRUE(Chart.Zoom().DragActive);
    EXPECT_FALSE(Chart.Scroll().DragActive);
}

TEST_F(ChartMouseTest, SettingsAndKeysDecideWhatAPressStarts) {
    struct Row {
        const char* name;
        bool allowZoom;
        TPanningMode panning;
        TMouseButton button;
        bool zooms;
        bool scrolls;
    };
    const Row rows[] = {
        {"left zooms", true, pmBoth, mbLeft, true, false},
        {"right scrolls", true, pmBoth, mbRight, false, true},
        {"middle does nothing", true, pmBoth, mbMiddle, false, false},
        {"zoom off", false, pmBoth, mbLeft, false, false},
        {"panning off", true, pmNone, mbRight, false, false},
        {"horizontal panning", true, pmHorizontal, mbRight, false, true},
    };
    for (const Row& row : rows) {
        Chart.SetAllowZoom(row.allowZoom);
        Chart.SetAllowPanning(row.panning);
        // Held keys do not matter: the zoom and scroll buttons need none.
        TShiftState shift;
        shift.Shift = true;
        shift.Ctrl = true;
        Chart.MouseDown(row.button, shift, Inside().X, Inside().Y);
        EXPECT_EQ(Chart.Zoom().DragActive, row.zooms) << row.name;
        EXPECT_EQ(Chart.Scroll().DragActive, row.scrolls) << row.name;
        Chart.MouseUp(row.button, {}, Inside().X, Inside().Y);
        EXPECT_FALSE(Chart.Zoom().DragActive) << row.name;
        EXPECT_FALSE(Chart.Scroll().DragActive) << row.name;
    }
}

TEST_F(ChartMouseTest, TheZoomAndScrollSettingsRepaintOnlyWhenTheyChange) {
    const int before = Window.Invalidations;
    Chart.SetAllowZoom(true);
    Chart.SetAllowPanning(pmBoth);
    Chart.SetAnimatedZoom(false);
    Chart.SetAnimatedZoomSteps(8);
    EXPECT_EQ(Window.Invalidations, before);
    Chart.SetAllowZoom(false);
    Chart.SetAllowPanning(pmVertical);
    Chart.SetAnimatedZoom(true);
    Chart.SetAnimatedZoomSteps(3);
    EXPECT_EQ(Window.Invalidations, before + 4);
}

// --- Zooming -------------------------------------------------------------------------------------

TEST_F(ChartMouseTest, ADragRightAndDownZoomsIntoTheRectangle) {
    const TRect& plot = Chart.PlotRect();
    const TPoint from{plot.Left + 40, plot.Top + 30};
    const TPoint to{plot.Left + 140, plot.Top + 130};
    const TAxisRange bottom{Chart.BottomAxis().PixelToValue(from.X),
                            Chart.BottomAxis().PixelToValue(to.X)};
    const TAxisRange left{Chart.LeftAxis().PixelToValue(to.Y),
                          Chart.LeftAxis().PixelToValue(from.Y)};
    int zooms = 0;
    Chart.OnZoom = [&](TCustomChart*) { ++zooms; };
    const int invalidations = Window.Invalidations;

    Drag(mbLeft, from, to);
    EXPECT_EQ(Range(Chart.BottomAxis()), bottom);
    EXPECT_EQ(Range(Chart.LeftAxis()), left);
    EXPECT_EQ(zooms, 1);
    EXPECT_GT(Window.Invalidations, invalidations);
    EXPECT_FALSE(Chart.ScalesRestored());
    EXPECT_FALSE(Chart.LeftAxis().Automatic());
    // The scales of before the zoom are kept: top, bottom, left, right.
    const std::array<TSavedAxisScale, 4> saved = Chart.SavedAxisScales();
    EXPECT_EQ(saved[1], (TSavedAxisScale{false, false, false, 0, 1000}));
    EXPECT_EQ(saved[2], (TSavedAxisScale{false, false, false, -1000, 1000}));
    EXPECT_TRUE(saved[0].Automatic);
    EXPECT_TRUE(saved[3].Automatic);

    // A second zoom keeps the scales of before the first one.
    Layout();
    Drag(mbLeft, from, to);
    EXPECT_EQ(Chart.SavedAxisScales(), saved);
    EXPECT_EQ(zooms, 2);
}

TEST_F(ChartMouseTest, TheBandShowsOnEveryPanelColourAndOnlyTheZoomButtonEndsIt) {
    // Not-xor with the panel colour; on white, whose not-xor changes nothing, with black.
    struct Row {
        TColor panel;
        QRgb pen;
    };
    for (const Row& row : {Row{clWhite, qRgb(0, 0, 0)}, Row{clTeal, qRgb(0, 128, 128)},
                           Row{clYellow, qRgb(255, 255, 0)}}) {
        SCOPED_TRACE(row.panel);
        Chart.RevertZoom();
        Chart.SetColor(row.panel);
        const QImage before = DrawChartImage(Chart);
        const TRect& plot = Chart.PlotRect();
        const TPoint from{plot.Left + 40, plot.Top + 30};
        const TPoint to{plot.Left + 140, plot.Top + 130};
        const TAxisRange bottom = Range(Chart.BottomAxis());
        const double zoomedMinimum = Chart.BottomAxis().PixelToValue(from.X);
        Chart.MouseDown(mbLeft, {}, from.X, from.Y);
        Chart.MouseMove({}, to.X, to.Y);
        const QImage during = DrawChartImage(Chart);
        int wrong = 0;
        for (int x = from.X + 1; x < to.X - 1; ++x) {
            const QRgb expected = ~(row.pen ^ before.pixel(x, from.Y)) & 0xFFFFFFu;
            wrong += (during.pixel(x, from.Y) & 0xFFFFFFu) != expected ? 1 : 0;
        }
        EXPECT_EQ(wrong, 0);

        // Releasing the other button leaves the drag going; the zoom button ends it.
        Chart.MouseUp(mbRight, {}, to.X, to.Y);
        EXPECT_EQ(Range(Chart.BottomAxis()), bottom);
        Chart.MouseUp(mbLeft, {}, to.X, to.Y);
        EXPECT_EQ(Chart.BottomAxis().Minimum(), zoomedMinimum);
    }
}

TEST_F(ChartMouseTest, ADragOfSixteenPixelsOrLessChangesNothing) {
    struct Row {
        std::int32_t dx;
        std::int32_t dy;
        bool zooms;
    };
    const Row rows[] = {{16, 100, false}, {100, 16, false}, {16, 16, false},
                        {17, 17, true},   {0, 0, false},    {100, -16, false}};
    for (const Row& row : rows) {
        Chart.RevertZoom();
        Layout();
        int zooms = 0;
        int undos = 0;
        Chart.OnZoom = [&](TCustomChart*) { ++zooms; };
        Chart.OnUndoZoom = [&](TCustomChart*) { ++undos; };
        const TPoint from{Inside().X - 50, Inside().Y + 20};
        Drag(mbLeft, from, {from.X + row.dx, from.Y + row.dy});
        EXPECT_EQ(zooms, row.zooms ? 1 : 0) << row.dx << ", " << row.dy;
        EXPECT_EQ(undos, 0) << row.dx << ", " << row.dy;
        if (!row.zooms) {
            EXPECT_EQ(Range(Chart.BottomAxis()), (TAxisRange{0, 1000}));
        }
        Chart.OnUndoZoom = nullptr;
    }
}

TEST_F(ChartMouseTest, ADragAnyOtherWayUndoesZoomAndScroll) {
    const TPoint start{Inside().X - 50, Inside().Y + 100};
    const std::vector<TPoint> undoDrags = {
        {start.X - 30, start.Y - 30}, {start.X + 30, start.Y - 30}, {start.X - 30, start.Y + 30}};
    for (const TPoint& end : undoDrags) {
        Drag(mbLeft, start, {start.X + 60, start.Y + 60});
        Layout();
        Drag(mbRight, start, {start.X - 10, start.Y + 5});
        ASSERT_NE(Range(Chart.BottomAxis()), (TAxisRange{0, 1000}));
        Layout();
        int undos = 0;
        Chart.OnUndoZoom = [&](TCustomChart*) { ++undos; };
        Drag(mbLeft, start, end);
        EXPECT_EQ(undos, 1);
        EXPECT_EQ(Range(Chart.BottomAxis()), (TAxisRange{0, 1000}));
        EXPECT_EQ(Range(Chart.LeftAxis()), (TAxisRange{-1000, 1000}));
        EXPECT_TRUE(Chart.ScalesRestored());
        Layout();
    }
}

TEST_F(ChartMouseTest, RevertZoomWithoutAZoomStillReportsAndRepaints) {
    int undos = 0;
    Chart.OnUndoZoom = [&](TCustomChart*) { ++undos; };
    const int invalidations = Window.Invalidations;
    Chart.RevertZoom();
    EXPECT_EQ(undos, 1);
    EXPECT_EQ(Window.Invalidations, invalidations + 1);
    EXPECT_EQ(Range(Chart.BottomAxis()), (TAxisRange{0, 1000}));
    EXPECT_FALSE(Chart.BottomAxis().Automatic());
    // The top axis is automatic and stays so.
    EXPECT_TRUE(Chart.TopAxis().Automatic());
}

TEST_F(ChartMouseTest, AnUndoGivesEveryAxisItsAutomaticFlagsBack) {
    // The left axis takes its minimum from the series and keeps its maximum; the right axis
    // is fully automatic.
    Chart.LeftAxis().SetAutomaticMinimum(true);
    Layout();
    ASSERT_EQ(Chart.LeftAxis().Minimum(), -500);
    Drag(mbLeft, Inside(), {Inside().X + 50, Inside().Y + 50});
    ASSERT_FALSE(Chart.LeftAxis().AutomaticMinimum());
    ASSERT_FALSE(Chart.RightAxis().Automatic());

    Chart.RevertZoom();
    EXPECT_FALSE(Chart.LeftAxis().Automatic());
    EXPECT_TRUE(Chart.LeftAxis().AutomaticMinimum());
    EXPECT_FALSE(Chart.LeftAxis().AutomaticMaximum());
    EXPECT_EQ(Chart.LeftAxis().Maximum(), 1000);
    EXPECT_TRUE(Chart.RightAxis().Automatic());
    EXPECT_TRUE(Chart.RightAxis().AutomaticMinimum());
    EXPECT_TRUE(Chart.RightAxis().AutomaticMaximum());
    Layout();
    EXPECT_EQ(Chart.LeftAxis().Minimum(), -500);
}

TEST_F(ChartMouseTest, AnAnimatedZoomPaintsEachIntermediateStepAtOnce) {
    TRecordingWindow window(Chart);
    Chart.SetWindow(&window);
    Chart.SetAnimatedZoom(true);
    const TAxisRange target{200, 600};
    Chart.ApplyZoom({0, 1}, target, {-500, 500}, {0, 1});
    ASSERT_EQ(window.Bottom.size(), 7u);
    // Every step covers a third of the way that remains.
    TAxisRange expected{0, 1000};
    for (const TAxisRange& step : window.Bottom) {
        expected = {expected.Minimum + (target.Minimum - expected.Minimum) / 3.0,
                    expected.Maximum - (expected.Maximum - target.Maximum) / 3.0};
        EXPECT_NEAR(step.Minimum, expected.Minimum, 1e-9);
        EXPECT_NEAR(step.Maximum, expected.Maximum, 1e-9);
    }
    EXPECT_EQ(Range(Chart.BottomAxis()), target);
    EXPECT_EQ(Range(Chart.LeftAxis()), (TAxisRange{-500, 500}));

    // One step is the final range alone.
    window.Bottom.clear();
    Chart.SetAnimatedZoomSteps(1);
    Chart.ApplyZoom({0, 1}, {0, 1000}, {-500, 500}, {0, 1});
    EXPECT_TRUE(window.Bottom.empty());
    EXPECT_EQ(Range(Chart.BottomAxis()), (TAxisRange{0, 1000}));

    // Steps that no longer move the ranges end the animation: the largest count finishes.
    Chart.SetAnimatedZoomSteps(std::numeric_limits<std::int32_t>::max());
    Chart.ApplyZoom({0, 1}, target, {-500, 500}, {0, 1});
    EXPECT_GT(window.Bottom.size(), 20u);
    EXPECT_LT(window.Bottom.size(), 200u);
    EXPECT_EQ(Range(Chart.BottomAxis()), target);
    Chart.SetWindow(&Window);
}

TEST_F(ChartMouseTest, AZoomBeyondTheDoubleRangeLeavesThatAxisAlone) {
    constexpr double Inf = std::numeric_limits<double>::infinity();
    Chart.ApplyZoom({0, 1}, {-Inf, Inf}, {-500, 500}, {0, 1});
    EXPECT_EQ(Range(Chart.BottomAxis()), (TAxisRange{0, 1000}));
    EXPECT_EQ(Range(Chart.LeftAxis()), (TAxisRange{-500, 500}));
}

// --- Scrolling -----------------------------------------------------------------------------------

TEST_F(ChartMouseTest, ScrollingMovesTheAxesByTheValueOfTheMouseSteps) {
    const TPoint start = Inside();
    const double column = Chart.BottomAxis().PixelToValue(1) - Chart.BottomAxis().PixelToValue(0);
    const double row = Chart.LeftAxis().PixelToValue(0) - Chart.LeftAxis().PixelToValue(1);
    int scrolls = 0;
    Chart.OnScroll = [&](TCustomChart*) { ++scrolls; };
    Chart.MouseDown(mbRight, {}, start.X, start.Y);
    Chart.MouseMove({}, start.X - 20, start.Y);
    Chart.MouseMove({}, start.X - 50, start.Y + 30);
    // Dragging left shows higher values, dragging down higher ones too.
    EXPECT_NEAR(Chart.BottomAxis().Minimum(), 50 * column, 1e-9);
    EXPECT_NEAR(Chart.BottomAxis().Maximum(), 1000 + 50 * column, 1e-9);
    EXPECT_NEAR(Chart.LeftAxis().Minimum(), -1000 + 30 * row, 1e-9);
    EXPECT_EQ(scrolls, 2);
    EXPECT_FALSE(Chart.ScalesRestored());
    // The same position again is no step.
    Chart.MouseMove({}, start.X - 50, start.Y + 30);
    EXPECT_EQ(scrolls, 2);
    Chart.MouseMove({}, start.X, start.Y);
    EXPECT_NEAR(Chart.BottomAxis().Minimum(), 0, 1e-9);
    EXPECT_NEAR(Chart.LeftAxis().Maximum(), 1000, 1e-9);
    Chart.MouseUp(mbRight, {}, start.X, start.Y);
    EXPECT_FALSE(Chart.Scroll().DragActive);
    // The scales were saved at the first step.
    EXPECT_EQ(Chart.SavedAxisScales()[1], (TSavedAxisScale{false, false, false, 0, 1000}));
}

TEST_F(ChartMouseTest, PanningModesLimitTheDirections) {
    struct Row {
        TPanningMode mode;
        bool horizontal;
        bool vertical;
    };
    const Row rows[] = {
        {pmBoth, true, true}, {pmHorizontal, true, false}, {pmVertical, false, true}};
    for (const Row& row : rows) {
        Chart.RevertZoom();
        Chart.SetAllowPanning(row.mode);
        int scrolls = 0;
        Chart.OnScroll = [&](TCustomChart*) { ++scrolls; };
        const TPoint start = Inside();
        Chart.MouseDown(mbRight, {}, start.X, start.Y);
        Chart.MouseMove({}, start.X, start.Y + 20);
        EXPECT_EQ(Range(Chart.LeftAxis()) != (TAxisRange{-1000, 1000}), row.vertical)
            << int{row.mode};
        EXPECT_EQ(scrolls, row.vertical ? 1 : 0) << int{row.mode};
        Chart.MouseMove({}, start.X + 20, start.Y + 20);
        EXPECT_EQ(Range(Chart.BottomAxis()) != (TAxisRange{0, 1000}), row.horizontal)
            << int{row.mode};
        Chart.MouseUp(mbRight, {}, start.X, start.Y);
    }
}

TEST_F(ChartMouseTest, LeavingTheChartRectangleEndsTheScroll) {
    const TPoint start = Inside();
    Chart.MouseDown(mbRight, {}, start.X, start.Y);
    Chart.MouseMove({}, start.X, Chart.PlotRect().Top - 1);
    EXPECT_FALSE(Chart.Scroll().DragActive);
    EXPECT_EQ(Range(Chart.LeftAxis()), (TAxisRange{-1000, 1000}));
    // Back inside, nothing resumes until the next press.
    Chart.MouseMove({}, start.X + 30, start.Y + 30);
    EXPECT_EQ(Range(Chart.BottomAxis()), (TAxisRange{0, 1000}));
    EXPECT_EQ(Range(Chart.LeftAxis()), (TAxisRange{-1000, 1000}));
}

TEST_F(ChartMouseTest, OnAllowScrollMayChangeOrRefuseTheRange) {
    Chart.OnAllowScroll = [&](TCustomChartAxis* axis, double& minimum, double& maximum,
                              bool& allowScroll) {
        if (axis == &Chart.LeftAxis()) {
            allowScroll = false;
        } else if (axis == &Chart.BottomAxis()) {
            // Never before 0.
            if (minimum < 0) {
                maximum -= minimum;
                minimum = 0;
            }
        }
    };
    const TPoint start = Inside();
    Chart.MouseDown(mbRight, {}, start.X, start.Y);
    Chart.MouseMove({}, start.X + 40, start.Y + 40);
    EXPECT_EQ(Chart.BottomAxis().Minimum(), 0);
    EXPECT_NEAR(Chart.BottomAxis().Maximum(), 1000, 1e-9);
    EXPECT_EQ(Range(Chart.LeftAxis()), (TAxisRange{-1000, 1000}));
    // The axes that are not shown move too; the depth axis never does.
    EXPECT_FALSE(Chart.TopAxis().Automatic());
    EXPECT_FALSE(Chart.RightAxis().Automatic());
    EXPECT_TRUE(Chart.DepthAxis().Automatic());
    Chart.MouseUp(mbLeft, {}, start.X, start.Y);
    EXPECT_FALSE(Chart.Scroll().DragActive);
}

// --- The wheel -----------------------------------------------------------------------------------

TEST_F(ChartMouseTest, TheWheelMovesTheVerticalAxesByThreePercent) {
    Chart.SetAllowPanning(pmNone);
    int downs = 0;
    Chart.OnMouseWheelDown = [&](TCustomChart*, TShiftState, std::int32_t, std::int32_t) {
        ++downs;
    };
    const int repaints = Window.ImmediateRepaints;
    Chart.MouseWheel(true, {}, Inside().X, Inside().Y);
    EXPECT_EQ(downs, 1);
    EXPECT_DOUBLE_EQ(Chart.LeftAxis().Minimum(), -940);
    EXPECT_DOUBLE_EQ(Chart.LeftAxis().Maximum(), 1060);
    EXPECT_EQ(Range(Chart.BottomAxis()), (TAxisRange{0, 1000}));
    // All axes of one step are painted together, at once.
    EXPECT_EQ(Window.ImmediateRepaints, repaints + 1);
    EXPECT_TRUE(Chart.RepaintEnabled());
    // The wheel is no zoom: nothing is saved for an undo.
    EXPECT_TRUE(Chart.ScalesRestored());

    Chart.MouseWheel(false, {}, Inside().X, Inside().Y);
    EXPECT_NEAR(Chart.LeftAxis().Minimum(), -1000, 1e-9);
    EXPECT_EQ(downs, 1);
}

// --- Cursors and series notifications ------------------------------------------------------------

TEST_F(ChartMouseTest, ASeriesShowsItsCursorOverItsPoints) {
    Series->SetCursor(crHandPoint);
    const TPoint line = OnLine();
    Chart.MouseMove({}, line.X, line.Y);
    EXPECT_EQ(Window.Cursor, crHandPoint);
    EXPECT_EQ(Chart.Cursor(), crHandPoint);
    Chart.MouseMove({}, Inside().X, Inside().Y);
    EXPECT_EQ(Window.Cursor, Chart.InitialCursor());
    EXPECT_EQ(Series->Moves, 2);

    // A drag shows the default cursor.
    Chart.MouseMove({}, line.X, line.Y);
    Chart.MouseDown(mbLeft, {}, line.X, line.Y);
    EXPECT_EQ(Window.Cursor, crDefault);
    // Moves during a drag go to the drag, not to the series.
    Chart.MouseMove({}, line.X + 5, line.Y + 5);
    EXPECT_EQ(Series->Moves, 3);
    Chart.MouseUp(mbLeft, {}, line.X + 5, line.Y + 5);
    EXPECT_EQ(Series->Releases, 1);
}

TEST_F(ChartMouseTest, ASeriesLeavingTheChartTakesItsCursorAlong) {
    Series->SetCursor(crCross);
    Chart.MouseMove({}, OnLine().X, OnLine().Y);
    ASSERT_EQ(Window.Cursor, crCross);
    Series->SetParentChart(nullptr);
    EXPECT_EQ(Window.Cursor, Chart.InitialCursor());
    delete Series;
    Series = nullptr;
}

TEST_F(ChartMouseTest, TheSeriesClickEventsTellAPressFromADoubleClick) {
    int clicks = 0;
    int doubleClicks = 0;
    Series->OnClick = [&](TChartSeries*, std::int32_t index, TMouseButton, TShiftState,
                          std::int32_t, std::int32_t) {
        EXPECT_EQ(index, 0);
        ++clicks;
    };
    Series->OnDblClick = [&](TChartSeries*, std::int32_t, TMouseButton, TShiftState, std::int32_t,
                             std::int32_t) { ++doubleClicks; };
    const TPoint line = OnLine();
    Chart.MouseDown(mbLeft, {}, line.X, line.Y);
    EXPECT_EQ(clicks, 1);
    // The series' handler left the flag set: the press is claimed.
    EXPECT_FALSE(Chart.Zoom().DragActive);
    TShiftState twice;
    twice.Double = true;
    Chart.MouseDown(mbLeft, twice, line.X, line.Y);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubleClicks, 1);
}
