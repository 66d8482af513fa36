#include "ChartWidget.h"

#include "FastLineSeries.h"

#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Counts the paints a widget receives.
class TPaintCounter : public QObject {
public:
    explicit TPaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int Paints = 0;

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++Paints;
        }
        return false;
    }
};

} // namespace

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

TEST(ChartWidgetTest, ThePaintFillsTheControlWithTheChartColour) {
    TChartWidget widget;
    widget.resize(40, 30);
    // Colours are 0x00BBGGRR: red in the low byte.
    widget.Chart().SetColor(0x00336699);
    const QImage image = widget.grab().toImage();
    EXPECT_EQ(image.pixelColor(0, 0), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(image.pixelColor(39, 29), QColor(0x99, 0x66, 0x33));

    // A system colour comes from the palette.
    widget.Chart().SetColor(clWindow);
    EXPECT_EQ(widget.grab().toImage().pixelColor(20, 15), widget.palette().color(QPalette::Base));
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
