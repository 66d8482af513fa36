// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/render/Chart.h>
#include <korvatel/render/ChartWindow.h>
#include <korvatel/render/WheelSteps.h>

#include <QWidget>
#include <exception>
#include <functional>

namespace Korvatel {

// The chart as a widget: the toolkit glue around one chart engine. Repaint requests of the
// chart become widget updates, which the window system merges into one paint; the paint
// draws the whole control, so nothing erases the background beforehand. A paint without a
// change since the last one copies the chart's kept image; otherwise the chart is drawn into
// that image and then copied. The chart takes no focus.
//
// The paint's painter carries the window's device pixel ratio, and the chart draws at it (its
// kept image holds the window's device pixels), laid out in the widget's logical pixels as at
// ratio 1. A paint at another ratio than the kept image's (the window moved to another screen)
// draws the chart anew.
//
// Mouse input goes to the chart's mouse handling in widget pixels, which are the chart's. The
// widget tracks the mouse also without a button held, so that a series can show its cursor
// over its points. Wheel input arrives as Qt routes it (to the widget under the mouse, focus
// or not) and becomes whole wheel steps.
class KORVATEL_EXPORT TChartWidget : public QWidget, public TChartWindow {
    Q_OBJECT

public:
    explicit TChartWidget(QWidget* parent = nullptr);
    ~TChartWidget() override;

    TChart& Chart() { return FChart; }
    const TChart& Chart() const { return FChart; }

    // In a layout the chart asks for the size of a new chart and takes any room it is given
    // (it grows in both directions before widgets that only prefer their size), down to none:
    // every resize lays the chart out anew at the new size.
    QSize sizeHint() const override;

    // A frame makes thousands of requests before its one paint: only the first of them asks
    // the window system, the rest find the update already pending.
    void Invalidate() override;
    void RepaintNow() override { repaint(); }
    void SetCursorShape(TCursor cursor) override;

    // Receives what a chart event handler raised during mouse input; the error must not
    // escape into the window system's event delivery. Without a receiver the error is
    // reported as a warning and the program carries on.
    std::function<void(std::exception_ptr error)> OnException;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void Press(QMouseEvent* event, bool doubleClick);
    template <typename THandler>
    void Guarded(THandler&& handler);

    TChart FChart;
    bool FUpdatePending = false;
    TWheelSteps FWheelSteps;
};

} // namespace Korvatel
