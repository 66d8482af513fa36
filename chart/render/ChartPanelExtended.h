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

    bool AllowZoom() const { return FAllowZoom; }
    void SetAllowZoom(bool value) { FAllowZoom = value; }
    TPanningMode AllowPanning() const { return FAllowPanning; }
    void SetAllowPanning(TPanningMode value) { FAllowPanning = value; }
    bool AnimatedZoom() const { return FAnimatedZoom; }
    void SetAnimatedZoom(bool value) { FAnimatedZoom = value; }
    std::int32_t AnimatedZoomSteps() const { return FAnimatedZoomSteps; }
    void SetAnimatedZoomSteps(std::int32_t value) { FAnimatedZoomSteps = value; }

    void FillPanelArea(const TRect& rect) override;

private:
    TChartGradient FGradient;
    bool FAllowZoom = true;
    TPanningMode FAllowPanning = pmBoth;
    bool FAnimatedZoom = false;
    std::int32_t FAnimatedZoomSteps = 8;
};
