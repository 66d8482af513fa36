// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// The state of the simulation: one instance for the program, written only by the wave model
// (time, frequencies, sample range) and by the validation of the parameter fields (L, β).
struct TSimulationState {
    double StringLength = 0.0;      // rest length L, in sample units
    double Beta = 0.0;              // speed of the observer as a fraction of the wave speed
    double SimTime = 0.0;           // simulated time t
    double BaseFrequency = 0.0;     // f0 of the string at rest
    double ForwardFrequency = 0.0;  // f1, the wave running towards higher indices
    double BackwardFrequency = 0.0; // f2, the wave running towards lower indices
    std::int32_t FirstSample = 0;   // index of the string's left end in the current frame
    std::int32_t LastSample = 0;    // index of its right end
};
