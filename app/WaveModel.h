// SPDX-License-Identifier: MIT
#pragma once

#include "FrameTarget.h"
#include "SimulationState.h"

#include <cstdint>
#include <functional>

// The standing wave of a string of rest length L seen by an observer moving at β: the string
// is shortened by √(1−β²), drifts at β·WaveSpeed, and its two counter-running waves arrive
// Doppler-shifted.
//
// Arguments and intermediates are extended precision (long double); stored results are
// rounded to double.

inline constexpr double WaveSpeed = 1000.0;
inline constexpr std::int32_t HorizontalPeriod = 1000;

// The sine of an extended-precision argument. Arguments of magnitude 2^63 or more give 0.
double ExtendedSine(long double argument);

// The displacement of one sample index at the current time; stores the three frequencies.
double SampleDisplacement(TSimulationState& state, std::int32_t index);

// Replaces the target's points by the frame at the current time. With holdHorizontal the
// string's left end stays at x = 0; otherwise x is the sample index modulo 1000 and the
// string drifts and wraps. processMessages, when given, runs at the end of the frame.
void ProduceFrame(TSimulationState& state, TFrameTarget& target, bool holdHorizontal,
                  const std::function<void()>& processMessages = {});

// One timer tick's worth of simulated time: t + 0.02, rounded to double.
void AdvanceTime(TSimulationState& state);
