// SPDX-License-Identifier: MIT
#include <korvatel/render/ChartWidget.h>

#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/data/FastLineSeries.h>
#include "PaintCounter.h"
#include <korvatel/canvas/SystemColors.h>

#include <QAccessible>
#include <QImage>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

using namespace Korvatel;

TEST(ChartWidgetTest, RepaintRequestsMergeIntoOnePaint) {
    TChartWidget widget;
    widget.resize(200, 100);
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    QCoreApplication::processEvents();
    TPaintCounter counter(&widget);

    auto* series = new TFastLineSeries;
    series->SetParentChart(&widget.Chart());
    for (int i = 0; i < 500; ++i) {
        series->AddPoint(i, i);
    }
    EXPECT_EQ(counter.Paints, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.Paints, 1);

    // An immediate repaint is painted before it returns.
    widget.Chart().RepaintImmediately();
    EXPECT_EQ(counter.Paints, 2);
}

TEST(ChartWidgetTest, TheChartTakesTheWidgetsSizeAndNoFocus) {
    TChartWidget widget;
    widget.resize(961, 529);
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    EXPECT_EQ(widget.Chart().Width(), 961);
    EXPECT_EQ(widget.Chart().Height(), 529);
    EXPECT_EQ(widget.Chart().Window(), &widget);
    EXPECT_EQ(widget.focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(widget.testAttribute(Qt::WA_OpaquePaintEvent));
}

TEST(ChartWidgetTest, ThePaintDrawsTheChartInsideItsBevel) {
    TChartWidget widget;
    widget.resize(40, 30);
    // Colours are 0x00BBGGRR: red in the low byte.
    widget.Chart().SetColor(0x00336699);
    // On so small a panel the walls would cover the corners.
    widget.Chart().SetView3D(false);
    widget.Chart().Frame().SetVisible(false);
    const QImage image = widget.grab().toImage();
    EXPECT_EQ(image.pixelColor(1, 1), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(image.pixelColor(38, 28), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(image.pixel(0, 0), ColorToRgb(clBtnHighlight));
    EXPECT_EQ(image.pixel(39, 29), ColorToRgb(clBtnShadow));
    // The widget shows the chart's kept picture.
    ASSERT_NE(widget.Chart().Canvas().Bitmap(), nullptr);
    EXPECT_EQ(image.convertToFormat(QImage::Format_RGB32), *widget.Chart().Canvas().Bitmap());
}

TEST(ChartWidgetTest, APaintWithoutAChangeOnlyCopiesTheKeptPicture) {
    TChartWidget widget;
    widget.resize(200, 100);
    int drawn = 0;
    widget.Chart().OnAfterDraw = [&](TCustomAxisPanel*) { ++drawn; };
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    QCoreApplication::processEvents();
    ASSERT_EQ(drawn, 1);

    // Uncovered, say: painted again with nothing changed.
    widget.repaint();
    EXPECT_EQ(drawn, 1);

    auto* series = new TFastLineSeries;
    series->SetParentChart(&widget.Chart());
    TPaintCounter counter(&widget);
    for (int i = 0; i < 600; ++i) {
        series->AddPoint(i, i);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.Paints, 1);
    EXPECT_EQ(drawn, 2);

    // A request made after the paint asks for a paint again.
    series->AddPoint(700, 700);
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.Paints, 2);
    EXPECT_EQ(drawn, 3);
}

TEST(ChartWidgetTest, TheChartMayOwnSeriesWhenTheWidgetGoes) {
    auto widget = std::make_unique<TChartWidget>();
    widget->show();
    auto* series = new TFastLineSeries;
    series->SetParentChart(&widget->Chart());
    series->AddPoint(1, 2);
    widget.reset();
    SUCCEED();
}

TEST(ChartWidgetTest, AssistiveTechnologySeesAChartNamedByItsTitle) {
    QWidget window;
    auto* widget = new TChartWidget(&window);
    widget->Chart().Title().SetText({"Wave", "at rest"});
    QAccessibleInterface* chart = QAccessible::queryAccessibleInterface(widget);
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->role(), QAccessible::Chart);
    EXPECT_EQ(chart->text(QAccessible::Name), "Wave at rest");
    // A name of its own comes first.
    widget->setAccessibleName("Waves");
    EXPECT_EQ(chart->text(QAccessible::Name), "Waves");
}

TEST(ChartWidgetTest, APaintAtAnotherRatioDrawsTheChartAtThatRatio) {
    // A window that moves to a screen of another density paints at once at the new ratio, as
    // a picture of the chart at that ratio, not its kept picture magnified.
    TChartWidget widget;
    widget.resize(200, 120);
    widget.Chart().SetView3D(false);
    widget.Chart().Title().SetText({"Korvatel"});
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    for (const double ratio : {1.0, 2.0, 1.5, 2.0}) {
        QImage screen(static_cast<int>(std::ceil(200 * ratio - 0.5)),
                      static_cast<int>(std::ceil(120 * ratio - 0.5)), QImage::Format_RGB32);
        screen.setDevicePixelRatio(ratio);
        widget.render(&screen);
        QImage expected = widget.Chart().DrawToImage(200, 120, ratio);
        EXPECT_EQ(screen, expected) << "ratio " << ratio;
    }
}
