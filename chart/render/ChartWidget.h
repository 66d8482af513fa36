#pragma once

#include "Chart.h"
#include "ChartWindow.h"

#include <QWidget>

// The chart as a widget: the toolkit glue around one chart engine. Repaint requests of the
// chart become widget updates, which the window system merges into one paint; the paint
// draws the whole control, so nothing erases the background beforehand. A paint without a
// change since the last one copies the chart's kept image; otherwise the chart is drawn into
// that image and then copied. The chart takes no focus.
class TChartWidget : public QWidget, public TChartWindow {
    Q_OBJECT

public:
    explicit TChartWidget(QWidget* parent = nullptr);
    ~TChartWidget() override;

    TChart& Chart() { return FChart; }
    const TChart& Chart() const { return FChart; }

    // A frame makes thousands of requests before its one paint: only the first of them asks
    // the window system, the rest find the update already pending.
    void Invalidate() override;
    void RepaintNow() override { repaint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    TChart FChart;
    bool FUpdatePending = false;
};
