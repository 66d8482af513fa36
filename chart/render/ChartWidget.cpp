#include "ChartWidget.h"

#include "ChartCanvas3D.h"
#include "ChartSurface.h"

#include <QPainter>
#include <QResizeEvent>

TChartWidget::TChartWidget(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    FChart.SetSize(width(), height());
    FChart.SetWindow(this);
}

TChartWidget::~TChartWidget() {
    // The chart outlives this body; it must not reach a half-destroyed widget.
    FChart.SetWindow(nullptr);
}

void TChartWidget::Invalidate() {
    if (!FUpdatePending) {
        FUpdatePending = true;
        update();
    }
}

void TChartWidget::paintEvent(QPaintEvent* /*event*/) {
    // Cleared first: a request made while this paint runs asks for another one.
    FUpdatePending = false;
    if (FChart.Printing()) {
        return;
    }
    QPainter painter(this);
    TChartSurface window(painter);
    if (!FChart.Canvas().RepaintFromBuffer(window)) {
        FChart.DrawOnto(window, {0, 0, width(), height()});
    }
}

void TChartWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FChart.SetSize(width(), height());
}
