#pragma once

#include "ChartWindow.h"

// A window that only counts the paints the chart asked for.
class TCountingWindow final : public TChartWindow {
public:
    void Invalidate() override { ++Invalidations; }
    void RepaintNow() override { ++ImmediateRepaints; }

    int Invalidations = 0;
    int ImmediateRepaints = 0;
};
