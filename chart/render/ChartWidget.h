#pragma once

#include "Chart.h"
#include "ChartWindow.h"

#include <QWidget>

// The chart as a widget: the toolkit glue around one chart engine. Repaint requests of the
// chart become widget updates, which the window system merges into one paint; the paint
// draws the whole control, so nothing erases the background beforehand. The chart takes no
// focus.
class TChartWidget : public QWidget, public TChartWindow {
    Q_OBJECT

public:
    explicit TChartWidget(QWidget* parent = nullptr);
    ~TChartWidget() override;

    TChart& Chart() { return FChart; }
    const TChart& Chart() const { return FChart; }

    void Invalidate() override { update(); }
    void RepaintNow() override { repaint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    TChart FChart;
};
