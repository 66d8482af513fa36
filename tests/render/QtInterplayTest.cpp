// SPDX-License-Identifier: MIT
#include <korvatel/canvas/QtConversions.h>
#include <korvatel/canvas/SystemColors.h>
#include <korvatel/core/ChartErrors.h>
#include <korvatel/data/FastLineSeries.h>
#include <korvatel/render/Chart.h>
#include <korvatel/render/ChartWidget.h>

#include <QBuffer>
#include <QLabel>
#include <QPainter>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <QtTest/QTest>
#include <climits>
#include <gtest/gtest.h>

using namespace Korvatel;

namespace {

// A flat white chart with a title and a red line that is flat, then climbs.
void SetUpLineChart(TChart& chart) {
    chart.SetView3D(false);
    chart.SetColor(clWhite);
    chart.Title().SetText({"Korvatel"});
    for (TChartAxis* axis : {&chart.BottomAxis(), &chart.LeftAxis()}) {
        axis->SetAutomatic(false);
        axis->SetMaximum(100);
        axis->SetMinimum(0);
    }
    auto* series = new TFastLineSeries;
    series->SetParentChart(&chart);
    series->SetSeriesColor(clRed);
    series->AddPoint(0, 50);
    series->AddPoint(60, 50);
    series->AddPoint(100, 90);
}

// Pixels of red blended with white: the smooth edges of the red line.
int BlendedReds(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            count += qRed(pixel) == 255 && qGreen(pixel) == qBlue(pixel) && qGreen(pixel) > 0 &&
                             qGreen(pixel) < 255
                         ? 1
                         : 0;
        }
    }
    return count;
}

} // namespace

TEST(QtInterplayTest, ColoursGoToQtAndBack) {
    // 0x00BBGGRR: red in the low byte.
    EXPECT_EQ(ToQColor(0x00336699), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(FromQColor(QColor(0x99, 0x66, 0x33)), 0x00336699);
    for (const TColor color : {clBlack, clWhite, clRed, clBlue, TColor{0x00010203}}) {
        EXPECT_EQ(FromQColor(ToQColor(color)), color) << color;
    }
    // A system colour is what this desktop shows for it.
    EXPECT_EQ(ToQColor(clBtnFace).rgb(), TSystemColors::Lookup(15) | 0xFF000000u);
    // No colour is an invalid QColor and back; clDefault has no colour of its own either.
    EXPECT_FALSE(ToQColor(clNone).isValid());
    EXPECT_FALSE(ToQColor(clDefault).isValid());
    EXPECT_EQ(FromQColor(QColor()), clNone);
    // Other colour models arrive as RGB; transparency has no place in a TColor.
    EXPECT_EQ(FromQColor(QColor::fromHsv(240, 255, 255)), clBlue);
    EXPECT_EQ(FromQColor(QColor(255, 0, 0, 10)), clRed);
}

TEST(QtInterplayTest, RectanglesKeepTheirPixelsAndCornersOnTheWayToQtAndBack) {
    struct TCase {
        TRect Rect;
        TRect Back; // after the way to Qt and back
    };
    const TCase cases[] = {
        {{10, 20, 30, 25}, {10, 20, 30, 25}},
        {{0, 0, 1, 1}, {0, 0, 1, 1}},
        {{-4, -3, -1, 2}, {-4, -3, -1, 2}},
        {{5, 5, 5, 9}, {5, 5, 5, 9}},
        // Inverted: Qt would turn the corners round and draw it.
        {{12, 10, 4, 2}, {12, 10, 12, 10}},
        {{2, 10, 9, 2}, {2, 10, 9, 10}},
        {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}},
    };
    for (const TCase& c : cases) {
        const TRect& rect = c.Rect;
        SCOPED_TRACE(testing::Message() << rect.Left << "," << rect.Top << "," << rect.Right
                                        << "," << rect.Bottom);
        const QRect q = ToQRect(rect);
        EXPECT_EQ(FromQRect(q), c.Back);
        EXPECT_EQ(q.isEmpty(), rect.IsEmpty());
        EXPECT_EQ(q.topLeft(), ToQPoint({rect.Left, rect.Top}));
        if (rect.Left == INT_MIN) {
            continue; // too large for a painter
        }
        // Qt fills exactly the pixels the rectangle holds.
        QImage image(40, 40, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter(&image).fillRect(q.translated(8, 8), Qt::black);
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 40; ++x) {
                ASSERT_EQ(image.pixel(x, y) == qRgb(0, 0, 0), rect.Contains(x - 8, y - 8))
                    << x << "," << y;
            }
        }
    }
    // The edges that 32 bits cannot hold: still empty, or one column and row short.
    EXPECT_TRUE(ToQRect({INT_MIN, 0, INT_MIN, 5}).isEmpty());
    EXPECT_EQ(FromQRect(QRect(QPoint(0, 0), QPoint(INT_MAX, INT_MAX))),
              (TRect{0, 0, INT_MAX, INT_MAX}));
    EXPECT_EQ(FromQPoint(QPoint(-7, 9)), (TPoint{-7, 9}));
}

TEST(QtInterplayTest, TheWidgetTakesTheRoomOfAnyLayoutAndFollowsItsSize) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* label = new QLabel("Standing wave");
    auto* widget = new TChartWidget;
    layout->addWidget(label);
    layout->addWidget(widget);
    // At the size the layout asks for, the chart has the size of a new chart.
    window.resize(layout->sizeHint());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(widget->size(), QSize(400, 250));

    window.resize(700, 600);
    QTest::qWait(1);
    // The chart, not the label, takes the room the window has to spare.
    EXPECT_EQ(label->height(), label->sizeHint().height());
    EXPECT_GT(widget->height(), 500);
    EXPECT_EQ(widget->Chart().Width(), widget->width());
    EXPECT_EQ(widget->Chart().Height(), widget->height());
    EXPECT_EQ(widget->grab().toImage().size(), widget->size());
}

TEST(QtInterplayTest, AChartDrawsIntoAnyPainterAtAnyRectangle) {
    TChart chart;
    SetUpLineChart(chart);
    const QImage alone = chart.DrawToImage(200, 150);

    QImage image(300, 220, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing); // the chart's own setting decides
    chart.DrawToPainter(painter, QRect(40, 30, 200, 150));
    // The painter comes back as it was given.
    EXPECT_TRUE(painter.worldTransform().isIdentity());
    EXPECT_TRUE(painter.testRenderHint(QPainter::Antialiasing));
    EXPECT_THROW(chart.DrawToPainter(painter, QRect(0, 0, 0, 10)), ChartException);
    painter.end();
    EXPECT_EQ(image.copy(40, 30, 200, 150), alone);
    QImage white(300, 30, QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_EQ(image.copy(0, 0, 300, 30), white) << "nothing above the rectangle";

    // Into an SVG: the drawing arrives as vectors and text.
    QBuffer svg;
    svg.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&svg);
    generator.setSize(QSize(200, 150));
    generator.setViewBox(QRect(0, 0, 200, 150));
    QPainter svgPainter(&generator);
    chart.DrawToPainter(svgPainter, QRect(0, 0, 200, 150));
    svgPainter.end();
    const QByteArray text = svg.data();
    EXPECT_TRUE(text.contains("<svg"));
    EXPECT_TRUE(text.contains("Korvatel"));
    EXPECT_TRUE(text.contains("#ff0000")) << "the red line";
}

TEST(QtInterplayTest, AntialiasingSmoothsTheChartInPicturesAtEveryRatioAndInTheWindow) {
    TChart chart;
    SetUpLineChart(chart);
    EXPECT_FALSE(chart.Antialiasing());
    for (const double ratio : {1.0, 2.0}) {
        SCOPED_TRACE(ratio);
        chart.SetAntialiasing(false);
        EXPECT_EQ(BlendedReds(chart.DrawToImage(400, 250, ratio)), 0);
        chart.SetAntialiasing(true);
        EXPECT_GT(BlendedReds(chart.DrawToImage(400, 250, ratio)), 20);
    }

    TChartWidget widget;
    SetUpLineChart(widget.Chart());
    widget.resize(400, 250);
    EXPECT_EQ(BlendedReds(widget.grab().toImage()), 0);
    widget.grab(); // two alike: the picture under the series is kept
    widget.Chart().SetAntialiasing(true);
    const QImage smooth = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_GT(BlendedReds(smooth), 20);
    EXPECT_EQ(smooth, widget.Chart().DrawToImage(400, 250)) << "nothing of the kept picture";
}
