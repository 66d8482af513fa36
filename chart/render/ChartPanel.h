#pragma once

#include "ChartTypes.h"

#include <cstdint>

class TChartWindow;

// The base of the chart control: its window link, size, background colour and the repaint
// model. A repaint request only marks the picture stale and invalidates the window; the
// window system then delivers one paint, however many requests were made before it.
class TCustomChartPanel {
public:
    TCustomChartPanel();
    virtual ~TCustomChartPanel();
    TCustomChartPanel(const TCustomChartPanel&) = delete;
    TCustomChartPanel& operator=(const TCustomChartPanel&) = delete;

    // The window that shows the chart; none for a chart drawn only into images.
    TChartWindow* Window() const { return FWindow; }
    void SetWindow(TChartWindow* window) { FWindow = window; }

    void RequestRepaint();
    bool RepaintEnabled() const { return FRepaintEnabled; }
    void SetRepaintEnabled(bool value) { FRepaintEnabled = value; }

    // True while the chart is being torn down: nothing may ask it for a repaint then.
    bool Destroying() const { return FDestroying; }
    // True while the stored layout is read; property checks that depend on the order in
    // which values arrive are off meanwhile.
    bool Loading() const { return FLoading; }
    void BeginLoading() { FLoading = true; }
    virtual void EndLoading() { FLoading = false; }

    // Size of the control in pixels.
    std::int32_t Width() const { return FWidth; }
    std::int32_t Height() const { return FHeight; }
    void SetSize(std::int32_t width, std::int32_t height);

    TColor Color() const { return FColor; }
    void SetColor(TColor value);

protected:
    void MarkDestroying() { FDestroying = true; }

private:
    TChartWindow* FWindow = nullptr;
    bool FRepaintEnabled = false;
    bool FDestroying = false;
    bool FLoading = false;
    std::int32_t FWidth = 400;
    std::int32_t FHeight = 250;
    TColor FColor = clBtnFace;
};
