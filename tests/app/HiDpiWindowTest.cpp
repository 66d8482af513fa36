// SPDX-License-Identifier: MIT
// The window on a screen of twice the density. ctest runs these tests in a process of their own
// started with QT_SCALE_FACTOR=2 (tests/CMakeLists.txt); the process of the other tests, at
// ratio 1, leaves them out.
#include <korvatel/canvas/ChartCanvas3D.h>
#include "ChartImage.h"
#include <korvatel/render/ChartWidget.h>
#include <korvatel/data/FastLineSeries.h>
#include "MainWindow.h"
#include "PixelBlocks.h"
#include "RecordingMessageBoxes.h"
#include "StoredChartLayout.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace Korvatel;

namespace {

#define REQUIRE_RATIO_TWO()                                                                        \
    if (qApp->devicePixelRatio() != 2.0) {                                                         \
        GTEST_SKIP() << "run with QT_SCALE_FACTOR=2 (ctest runs it so)";                           \
    }

// An image's pixels alone, whatever ratio it carries.
QImage Pixels(const QImage& image) {
    QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    pixels.setDevicePixelRatio(1.0);
    return pixels;
}

void Send(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
          Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), QPointF(widget.mapToGlobal(at)), button, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

} // namespace

TEST(HiDpiWindowTest, TheWindowShowsTheChartAtDeviceResolution) {
    REQUIRE_RATIO_TWO();
    TRecordingMessageBoxes boxes;
    TForm1 form(&boxes);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(form.Button1(), Qt::LeftButton);
    form.Timer1()->stop();
    form.Timer1Timer(form.Timer1());
    TChartWidget* widget = form.Chart1();
    TChart& chart = widget->Chart();

    // Every place of the chart is where it is at ratio 1.
    TChart flat;
    ApplyStoredChartLayout(flat, *new TFastLineSeries);
    flat.SetSize(961, 529);
    DrawChartImage(flat);
    EXPECT_EQ(chart.PlotRect(), flat.PlotRect());

    // The window's picture of the chart, as its paint shows it, is the chart drawn at twice
    // the resolution.
    const QPixmap grabbed = widget->grab();
    EXPECT_EQ(grabbed.devicePixelRatio(), 2.0);
    const QImage shown = Pixels(grabbed.toImage());
    ASSERT_EQ(shown.size(), QSize(1922, 1058));
    EXPECT_EQ(shown, Pixels(chart.DrawToImage(961, 529, 2.0)));
    // Its title is not a magnified picture: most 2 x 2 blocks with ink are of two colours.
    const TPixelBlocks blocks =
        CountPixelBlocks(shown, QRect(700, 0, 520, chart.PlotRect().Top * 2 - 4));
    EXPECT_GT(blocks.Inked, 50);
    EXPECT_GT(blocks.Mixed * 3, blocks.Inked) << blocks.Mixed << " of " << blocks.Inked;
}

TEST(HiDpiWindowTest, TheRubberBandAndTheZoomWorkInLogicalPixels) {
    REQUIRE_RATIO_TWO();
    TChartWidget widget;
    widget.resize(400, 250);
    TChart& chart = widget.Chart();
    chart.SetView3D(false);
    chart.SetColor(clWhite);
    for (TChartAxis* axis : {&chart.BottomAxis(), &chart.LeftAxis()}) {
        axis->SetAutomatic(false);
        axis->SetMaximum(100);
        axis->SetMinimum(0);
        axis->Grid().SetVisible(false);
    }
    // The plot area takes drags when it shows a series; this one keeps out of the band's way.
    auto* series = new TFastLineSeries;
    series->SetParentChart(&chart);
    series->AddPoint(0, 5);
    series->AddPoint(100, 5);
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    QCoreApplication::processEvents();
    const double left = chart.BottomAxis().PixelToValue(100);
    const double right = chart.BottomAxis().PixelToValue(300);
    const double top = chart.LeftAxis().PixelToValue(60);
    const double bottom = chart.LeftAxis().PixelToValue(180);

    // The band stands on the logical pixels of the mouse, two device pixels wide, inverted
    // over the white chart.
    Send(widget, QEvent::MouseButtonPress, {100, 60}, Qt::LeftButton, Qt::LeftButton);
    Send(widget, QEvent::MouseMove, {300, 180}, Qt::NoButton, Qt::LeftButton);
    const QImage band = Pixels(widget.grab().toImage());
    ASSERT_EQ(band.size(), QSize(800, 500));
    const QRgb black = qRgb(0, 0, 0);
    for (const QPoint& pixel : {QPoint(400, 120), QPoint(400, 121), QPoint(200, 240),
                                QPoint(201, 240), QPoint(598, 240), QPoint(599, 240)}) {
        EXPECT_EQ(band.pixel(pixel), black) << pixel.x() << ", " << pixel.y();
    }
    for (const QPoint& pixel : {QPoint(400, 119), QPoint(400, 122), QPoint(199, 240),
                                QPoint(202, 240), QPoint(600, 240)}) {
        EXPECT_EQ(band.pixel(pixel), qRgb(255, 255, 255)) << pixel.x() << ", " << pixel.y();
    }
    // Moving it draws the band again where it was, which restores the picture there: the
    // bottom edge leaves row 179 for row 189.
    Send(widget, QEvent::MouseMove, {310, 190}, Qt::NoButton, Qt::LeftButton);
    const QImage moved = Pixels(widget.grab().toImage());
    EXPECT_EQ(moved.pixel(400, 358), qRgb(255, 255, 255));
    EXPECT_EQ(moved.pixel(400, 378), black);
    Send(widget, QEvent::MouseMove, {300, 180}, Qt::NoButton, Qt::LeftButton);

    Send(widget, QEvent::MouseButtonRelease, {300, 180}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(chart.BottomAxis().Minimum(), left);
    EXPECT_EQ(chart.BottomAxis().Maximum(), right);
    EXPECT_EQ(chart.LeftAxis().Minimum(), bottom);
    EXPECT_EQ(chart.LeftAxis().Maximum(), top);
}
