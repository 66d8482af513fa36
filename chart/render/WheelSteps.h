// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <cstdint>

namespace Korvatel {

// Turns the wheel deltas of the window system into whole wheel steps. A notch of an ordinary
// wheel reports 120 (eighths of a degree); high-resolution wheels and touchpads report a notch
// in many small deltas. Deltas are summed and every full 120 gives one step, so that a notch
// is one step however it arrives and a touchpad does not scroll at every tiny movement.
class KORVATEL_EXPORT TWheelSteps {
public:
    static constexpr std::int32_t Notch = 120;
    // More steps than this from a single delta are dropped: one absurd report must not keep
    // the chart busy repainting.
    static constexpr std::int32_t MaxStepsPerDelta = 10;

    // Adds a delta (positive: turned up, away from the user) and answers the whole steps it
    // completes: positive up, negative down. What is left over waits for the next delta.
    std::int32_t Add(std::int32_t delta);
    // Forgets a partial notch.
    void Reset() { FPending = 0; }
    std::int32_t Pending() const { return static_cast<std::int32_t>(FPending); }

private:
    std::int64_t FPending = 0;
};

} // namespace Korvatel
