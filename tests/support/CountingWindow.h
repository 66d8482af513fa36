// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/render/ChartWindow.h>

namespace Korvatel {

// A window that only counts the paints the chart asked for, and keeps the cursor it was given.
class TCountingWindow final : public TChartWindow {
public:
    void Invalidate() override { ++Invalidations; }
    void RepaintNow() override { ++ImmediateRepaints; }
    void SetCursorShape(TCursor cursor) override {
        Cursor = cursor;
        ++CursorChanges;
    }

    int Invalidations = 0;
    int ImmediateRepaints = 0;
    TCursor Cursor = crDefault;
    int CursorChanges = 0;
};

} // namespace Korvatel
