// SPDX-License-Identifier: MIT
#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/render/ChartWidget.h>
#include <korvatel/data/FastLineSeries.h>
#include "PaintCounter.h"
#include "StoredChartLayout.h"

#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <numbers>
#include <stdexcept>

using namespace Korvatel;

namespace {

// The main window's chart on a widget of its own: 961 × 529, the stored layout (bottom axis 0
// to 1000, left axis -1000 to 1000, the title) and one wave of a frame in the series, shown
// and painted once.
class ChartMouseWidgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        Widget = std::make_unique<TChartWidget>();
        Widget->resize(961, 529);
        Series = new TFastLineSeries;
        ApplyStoredChartLayout(Chart(), *Series);
        for (int x = 0; x < 1000; x += 2) {
            Series->AddPoint(x, 800 * std::sin(x * std::numbers::pi / 500));
        }
        Widget->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Widget.get()));
        QCoreApplication::processEvents();
    }

    TChart& Chart() { return Widget->Chart(); }

    TAxisRange Bottom() { return {Chart().BottomAxis().Minimum(), Chart().BottomAxis().Maximum()}; }
    TAxisRange Left() { return {Chart().LeftAxis().Minimum(), Chart().LeftAxis().Maximum()}; }

    // Mouse events carry the buttons held during them, which QTest's mouseMove does not.
    void Send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(at), QPointF(Widget->mapToGlobal(at)), button, held,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(Widget.get(), &event);
    }
    void Press(QPoint at, Qt::MouseButton button) {
        Send(QEvent::MouseButtonPress, at, button, button);
    }
    void Move(QPoint at, Qt::MouseButtons held) { Send(QEvent::MouseMove, at, Qt::NoButton, held); }
    void Release(QPoint at, Qt::MouseButton button) {
        Send(QEvent::MouseButtonRelease, at, button, Qt::NoButton);
    }
    // A press, a move half way, a move to the end and the release there.
    void Drag(QPoint from, QPoint to, Qt::MouseButton button) {
        Press(from, button);
        Move((from + to) / 2, button);
        Move(to, button);
        Release(to, button);
    }
    void Wheel(QPoint angle, QPoint pixels = {}) {
        const QPoint at(480, 300);
        QWheelEvent event(QPointF(at), QPointF(Widget->mapToGlobal(at)), pixels, angle,
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(Widget.get(), &event);
    }

    std::unique_ptr<TChartWidget> Widget;
    TFastLineSeries* Series = nullptr; // owned by the chart
};

const TAxisRange FullBottom{0, 1000};
const TAxisRange FullLeft{-1000, 1000};

} // namespace

TEST_F(ChartMouseWidgetTest, ALeftDragZoomsToTheValuesOfItsColumnsAndRows) {
    const TAxisRange bottom{Chart().BottomAxis().PixelToValue(300),
                            Chart().BottomAxis().PixelToValue(500)};
    const TAxisRange left{Chart().LeftAxis().PixelToValue(350),
                          Chart().LeftAxis().PixelToValue(200)};
    ASSERT_LT(bottom.Minimum, bottom.Maximum);
    ASSERT_LT(left.Minimum, left.Maximum);

    Drag({300, 200}, {500, 350}, Qt::LeftButton);
    EXPECT_EQ(Bottom(), bottom);
    EXPECT_EQ(Left(), left);
    // The next paint draws in the zoomed range.
    QCoreApplication::processEvents();
    EXPECT_EQ(Chart().BottomAxis().EffectiveMinimum(), bottom.Minimum);
    EXPECT_EQ(Chart().LeftAxis().EffectiveMaximum(), left.Maximum);
    EXPECT_EQ(Chart().BottomAxis().XValueToPixel(bottom.Minimum), Chart().PlotRect().Left);
}

TEST_F(ChartMouseWidgetTest, DraggingTheOtherWayRestoresTheStartingRanges) {
    const QPoint reverse[][2] = {{{500, 350}, {300, 200}}, {{300, 350}, {500, 200}}};
    for (const auto& drag : reverse) {
        Drag({300, 200}, {500, 350}, Qt::LeftButton);
        QCoreApplication::processEvents();
        ASSERT_NE(Bottom(), FullBottom);
        Drag(drag[0], drag[1], Qt::LeftButton);
        EXPECT_EQ(Bottom(), FullBottom);
        EXPECT_EQ(Left(), FullLeft);
        QCoreApplication::processEvents();
    }
}

TEST_F(ChartMouseWidgetTest, SixteenPixelsDoNothingSeventeenZoom) {
    Drag({300, 200}, {316, 400}, Qt::LeftButton);
    Drag({300, 200}, {500, 216}, Qt::LeftButton);
    EXPECT_EQ(Bottom(), FullBottom);
    EXPECT_EQ(Left(), FullLeft);
    Drag({300, 200}, {317, 217}, Qt::LeftButton);
    EXPECT_NEAR(Bottom().Maximum - Bottom().Minimum,
                Chart().BottomAxis().PixelToValue(317) - Chart().BottomAxis().PixelToValue(300),
                1e-9);
}

TEST_F(ChartMouseWidgetTest, RevertZoomWithoutAZoomStillReportsAndRepaints) {
    int undos = 0;
    Chart().OnUndoZoom = [&](TCustomChart*) { ++undos; };
    TPaintCounter counter(Widget.get());
    Chart().RevertZoom();
    QCoreApplication::processEvents();
    EXPECT_EQ(undos, 1);
    EXPECT_EQ(counter.Paints, 1);
    EXPECT_EQ(Bottom(), FullBottom);
    EXPECT_EQ(Left(), FullLeft);
}

TEST_F(ChartMouseWidgetTest, ARightDragScrollsByTheValueOfTheColumnsMoved) {
    const double fifty =
        Chart().BottomAxis().PixelToValue(500) - Chart().BottomAxis().PixelToValue(450);
    ASSERT_GT(fifty, 0);
    Press({500, 300}, Qt::RightButton);
    Move({450, 300}, Qt::RightButton);
    EXPECT_NEAR(Bottom().Minimum, fifty, 1e-9);
    EXPECT_NEAR(Bottom().Maximum, 1000 + fifty, 1e-9);
    EXPECT_EQ(Left(), FullLeft);
    // The repaint between the steps does not change the distance.
    QCoreApplication::processEvents();
    Move({500, 300}, Qt::RightButton);
    EXPECT_NEAR(Bottom().Minimum, 0, 1e-9);
    EXPECT_NEAR(Bottom().Maximum, 1000, 1e-9);
    Move({550, 300}, Qt::RightButton);
    EXPECT_NEAR(Bottom().Minimum, -fifty, 1e-9);
    Release({550, 300}, Qt::RightButton);
    EXPECT_FALSE(Chart().Scroll().DragActive);
}

TEST_F(ChartMouseWidgetTest, LeavingThePlotAreaStopsTheScrollUntilTheNextPress) {
    Press({500, 300}, Qt::RightButton);
    Move({480, 300}, Qt::RightButton);
    const TAxisRange scrolled = Bottom();
    ASSERT_NE(scrolled, FullBottom);
    Move({5, 300}, Qt::RightButton);
    Move({400, 300}, Qt::RightButton);
    EXPECT_EQ(Bottom(), scrolled);
    Release({400, 300}, Qt::RightButton);

    Press({400, 300}, Qt::RightButton);
    Move({420, 300}, Qt::RightButton);
    EXPECT_NEAR(Bottom().Minimum, 0, 1e-9);
    Release({420, 300}, Qt::RightButton);
}

TEST_F(ChartMouseWidgetTest, HorizontalPanningIgnoresVerticalMovement) {
    Chart().SetAllowPanning(pmHorizontal);
    Drag({500, 300}, {500, 200}, Qt::RightButton);
    EXPECT_EQ(Left(), FullLeft);
    Drag({500, 300}, {450, 200}, Qt::RightButton);
    EXPECT_EQ(Left(), FullLeft);
    EXPECT_NE(Bottom(), FullBottom);
}

TEST_F(ChartMouseWidgetTest, APressOnTheTitleStartsNothing) {
    const TRect title = Chart().Title().BlockRect();
    const QPoint on((title.Left + title.Right) / 2, (title.Top + title.Bottom) / 2);
    ASSERT_EQ(Chart().ChartPartAt(on.x(), on.y()).Kind, cpTitle);
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        Press(on, button);
        EXPECT_FALSE(Chart().Zoom().DragActive);
        EXPECT_FALSE(Chart().Scroll().DragActive);
        Move(on + QPoint(100, 100), button);
        Release(on + QPoint(100, 100), button);
    }
    EXPECT_EQ(Bottom(), FullBottom);
    EXPECT_EQ(Left(), FullLeft);
}

TEST_F(ChartMouseWidgetTest, AnAnimatedZoomShowsSevenIntermediateRepaints) {
    Chart().SetAnimatedZoom(true);
    QCoreApplication::processEvents();
    TPaintCounter counter(Widget.get());
    Drag({300, 200}, {500, 350}, Qt::LeftButton);
    EXPECT_EQ(counter.Paints, 7);
    // The final range is painted by the usual request.
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.Paints, 8);
}

TEST_F(ChartMouseWidgetTest, TheRubberBandLeavesThePictureUnchangedOnceRemoved) {
    const QImage before = Widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    Press({300, 200}, Qt::LeftButton);
    for (int step = 1; step <= 10; ++step) {
        Move({300 + 20 * step, 200 + 15 * step}, Qt::LeftButton);
    }
    QCoreApplication::processEvents();
    const QImage during = Widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_NE(during, before);
    // The band's corners in black on the white chart.
    EXPECT_EQ(during.pixel(300, 200), qRgb(0, 0, 0));
    EXPECT_EQ(during.pixel(499, 349), qRgb(0, 0, 0));
    EXPECT_EQ(during.pixel(400, 200), qRgb(0, 0, 0));
    // A release close to the start removes the band and zooms nothing.
    Release({310, 210}, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(Widget->grab().toImage().convertToFormat(QImage::Format_RGB32), before);
    EXPECT_EQ(Bottom(), FullBottom);
}

TEST_F(ChartMouseWidgetTest, TheScreenShowsTheBandAtEveryStepOfTheDrag) {
    TPaintCounter counter(Widget.get());
    Press({300, 200}, Qt::LeftButton);
    for (int step = 1; step <= 3; ++step) {
        const int before = counter.Paints;
        Move({300 + 40 * step, 200 + 30 * step}, Qt::LeftButton);
        QCoreApplication::processEvents();
        EXPECT_GT(counter.Paints, before) << step;
    }
    Release({420, 290}, Qt::LeftButton);
}

TEST_F(ChartMouseWidgetTest, OneWheelNotchIsOneStepHoweverItArrives) {
    struct Row {
        const char* name;
        int deltas;
        QPoint angle;
        QPoint pixels;
        double minimum;
    };
    const Row rows[] = {
        // Turned up, away from the user: the range moves down by 3 %.
        {"one notch up", 1, {0, 120}, {}, -1060},
        {"one notch down", 1, {0, -120}, {}, -940},
        {"eighths of a notch", 8, {0, 15}, {}, -1060},
        {"seven eighths", 7, {0, 15}, {}, -1000},
        // A touchpad that reports pixels only.
        {"touchpad pixels", 3, {}, {0, 40}, -1060},
        {"sideways", 1, {120, 0}, {}, -1000},
    };
    for (const Row& row : rows) {
        SetUp();
        for (int i = 0; i < row.deltas; ++i) {
            Wheel(row.angle, row.pixels);
        }
        EXPECT_NEAR(Left().Minimum, row.minimum, 1e-9) << row.name;
        EXPECT_EQ(Bottom(), FullBottom) << row.name;
    }
}

TEST_F(ChartMouseWidgetTest, ASeriesShowsItsCursorOverItsLine) {
    Series->SetCursor(crHandPoint);
    const QPoint onLine(Chart().BottomAxis().XValueToPixel(500),
                        Chart().LeftAxis().YValueToPixel(0));
    ASSERT_EQ(Chart().ChartPartAt(onLine.x(), onLine.y()).Kind, cpSeries);
    Move(onLine, Qt::NoButton);
    EXPECT_TRUE(Widget->testAttribute(Qt::WA_SetCursor));
    EXPECT_EQ(Widget->cursor().shape(), Qt::PointingHandCursor);
    // Where the wave is at its top, far below it.
    const QPoint away(Chart().BottomAxis().XValueToPixel(250),
                      Chart().LeftAxis().YValueToPixel(-800));
    Move(away, Qt::NoButton);
    EXPECT_EQ(Chart().Cursor(), crDefault);
    EXPECT_EQ(Chart().ChartPartAt(away.x(), away.y()).Kind, cpPlotArea);
    // The widget's own cursor again (a top-level widget keeps the attribute).
    EXPECT_EQ(Widget->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(ChartMouseWidgetTest, AnErrorOfAChartHandlerGoesToTheReceiver) {
    Chart().OnZoom = [](TCustomChart*) { throw std::runtime_error("zoom handler"); };
    std::string received;
    Widget->OnException = [&](std::exception_ptr error) {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            received = e.what();
        }
    };
    Drag({300, 200}, {500, 350}, Qt::LeftButton);
    EXPECT_EQ(received, "zoom handler");
    // The drag is over all the same.
    EXPECT_FALSE(Chart().Zoom().DragActive);
    Chart().OnZoom = nullptr;
}

TEST_F(ChartMouseWidgetTest, AFailedHandlerEndsTheDrag) {
    Widget->OnException = [](std::exception_ptr) {};
    Chart().OnScroll = [](TCustomChart*) { throw std::runtime_error("scroll handler"); };
    Press({500, 300}, Qt::RightButton);
    Move({480, 300}, Qt::RightButton);
    EXPECT_FALSE(Chart().Scroll().DragActive);
    const TAxisRange scrolled = Bottom();
    // The release went elsewhere; a plain move scrolls nothing.
    Move({400, 300}, Qt::NoButton);
    EXPECT_EQ(Bottom(), scrolled);

    const QImage before = Widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    Chart().OnMouseMove = [](TCustomChart*, TShiftState, std::int32_t, std::int32_t) {
        throw std::runtime_error("move handler");
    };
    Press({300, 200}, Qt::LeftButton);
    Move({400, 300}, Qt::LeftButton);
    EXPECT_FALSE(Chart().Zoom().DragActive);
    // The rubber band is gone with the drag.
    QCoreApplication::processEvents();
    EXPECT_EQ(Widget->grab().toImage().convertToFormat(QImage::Format_RGB32), before);
    Chart().OnMouseMove = nullptr;
}
