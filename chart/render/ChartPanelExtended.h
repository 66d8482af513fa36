#pragma once

#include "ChartGradient.h"
#include "ChartPanel.h"

#include <cstdint>

// Which axes a scroll drag moves.
enum TPanningMode : std::uint8_t { pmNone, pmHorizontal, pmVertical, pmBoth };

// Adds the background gradient and the zoom and scroll settings to the panel.
class TCustomChartPanelExtended : public TCustomChartPanel {
public:
    TCustomChartPanelExtended();

    // Painted instead of the panel colour while it is visible.
    TChartGradient& Gradient() { return FGradient; }
    const TChartGradient& Gradient() const { return FGradient; }

    // The zoom button starts a rubber band.
    bool AllowZoom() const { return FAllowZoom; }
    void SetAllowZoom(bool value) { SetSetting(FAllowZoom, value); }
    // Which axes the scroll button moves; pmNone switches scrolling off.
    TPanningMode AllowPanning() const { return FAllowPanning; }
    void SetAllowPanning(TPanningMode value) { SetSetting(FAllowPanning, value); }
    // A zoom is shown in steps, each painted at once.
    bool AnimatedZoom() const { return FAnimatedZoom; }
    void SetAnimatedZoom(bool value) { SetSetting(FAnimatedZoom, value); }
    // The steps of an animated zoom, the final one included; 1 or less shows only the final
    // range.
    std::int32_t AnimatedZoomSteps() const { return FAnimatedZoomSteps; }
    void SetAnimatedZoomSteps(std::int32_t value) { SetSetting(FAnimatedZoomSteps, value); }

    void FillPanelArea(const TRect& rect) override;

private:
    // Published settings repaint only when they change, as every property of the chart does.
    template <typename T>
    void SetSetting(T& field, T value) {
        if (field != value) {
            field = value;
            RequestRepaint();
        }
    }

    TChartGradient FGradient;
    bool FAllowZoom = true;
    TPanningMode FAllowPanning = pmBoth;
    bool FAnimatedZoom = false;
    std::int32_t FAnimatedZoomSteps = 8;
};
