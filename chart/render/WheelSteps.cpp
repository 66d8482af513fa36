// SPDX-License-Identifier: MIT
#include <korvatel/render/WheelSteps.h>

#include <algorithm>

namespace Korvatel {

std::int32_t TWheelSteps::Add(std::int32_t delta) {
    FPending += delta;
    // Division truncates toward zero, so a partial notch keeps its sign and waits in either
    // direction.
    const std::int64_t steps = FPending / Notch;
    FPending -= steps * Notch;
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(steps, -MaxStepsPerDelta, MaxStepsPerDelta));
}

} // namespace Korvatel
