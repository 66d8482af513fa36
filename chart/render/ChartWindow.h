// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/core/ChartTypes.h>

namespace Korvatel {

// What the chart needs of the window that shows it. The engine itself draws into an image;
// the toolkit glue implements this interface, and tests may provide their own.
class KORVATEL_EXPORT TChartWindow {
public:
    virtual ~TChartWindow() = default;

    // Ask the window system for a paint of the whole control. Requests made before the paint
    // is delivered merge into one.
    virtual void Invalidate() = 0;

    // Paint the control now, before returning (animated zoom steps, scrolling).
    virtual void RepaintNow() = 0;

    // Show this mouse cursor over the control; crDefault gives the window's usual one.
    virtual void SetCursorShape(TCursor cursor) = 0;
};

} // namespace Korvatel
