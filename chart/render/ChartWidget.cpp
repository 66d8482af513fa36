#include "ChartWidget.h"

#include <QPainter>
#include <QResizeEvent>

namespace {

// The chart's colour on this widget: plain colours as they are, system colours and the
// "no colour" values through the widget's palette.
QColor WidgetColor(const QWidget& widget, TColor color) {
    const QPalette& palette = widget.palette();
    switch (color) {
    case clWindow:
        return palette.color(QPalette::Base);
    case clWindowText:
        return palette.color(QPalette::Text);
    case clBtnShadow:
        return palette.color(QPalette::Dark);
    case clBtnHighlight:
        return palette.color(QPalette::Light);
    default:
        break;
    }
    if (IsSystemColor(color) || color == clNone || color == clDefault) {
        return palette.color(QPalette::Button);
    }
    const auto bgr = static_cast<std::uint32_t>(color);
    return QColor(static_cast<int>(bgr & 0xFFu), static_cast<int>((bgr >> 8) & 0xFFu),
                  static_cast<int>((bgr >> 16) & 0xFFu));
}

} // namespace

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

void TChartWidget::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), WidgetColor(*this, FChart.Color()));
}

void TChartWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FChart.SetSize(width(), height());
}
