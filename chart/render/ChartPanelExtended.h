#pragma once

#include "ChartPanel.h"

#include <cstdint>

// Which axes a scroll drag moves.
enum TPanningMode : std::uint8_t { pmNone, pmHorizontal, pmVertical, pmBoth };

// Adds the zoom and scroll settings to the panel.
class TCustomChartPanelExtended : public TCustomChartPanel {
public:
    bool AllowZoom() const { return FAllowZoom; }
    void SetAllowZoom(bool value) { FAllowZoom = value; }
    TPanningMode AllowPanning() const { return FAllowPanning; }
    void SetAllowPanning(TPanningMode value) { FAllowPanning = value; }
    bool AnimatedZoom() const { return FAnimatedZoom; }
    void SetAnimatedZoom(bool value) { FAnimatedZoom = value; }
    std::int32_t AnimatedZoomSteps() const { return FAnimatedZoomSteps; }
    void SetAnimatedZoomSteps(std::int32_t value) { FAnimatedZoomSteps = value; }

private:
    bool FAllowZoom = true;
    TPanningMode FAllowPanning = pmBoth;
    bool FAnimatedZoom = false;
    std::int32_t FAnimatedZoomSteps = 8;
};
