// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

// The program's own fixed texts (the window's texts are part of its stored layout).
// A %s in them is filled with FormatMessage.
namespace ProgramStrings {

// The program's title: the caption of the general error box.
inline constexpr std::string_view Title = "Korvatel";
inline constexpr std::string_view InvalidInput = "Hibás adat";
inline constexpr std::string_view InvalidInputCaption = "*** HIBA ***";
inline constexpr std::string_view FloatOverflow = "Floating point overflow";
inline constexpr std::string_view InvalidInteger = "'%s' is not a valid integer value";
inline constexpr std::string_view NoTimers = "Not enough timers available";
// Shown for an error that carries no message of its own.
inline constexpr std::string_view UnknownError = "Unknown error";

// What assistive technology is told that the stored layout cannot say: the names of the spin
// control's arrows and the chart's description, which is the wave (or that there is none
// yet), then the axis ranges, then whether the animation runs.
inline constexpr std::string_view SpinUpName = "Növelés";
inline constexpr std::string_view SpinDownName = "Csökkentés";
inline constexpr std::string_view ChartEmpty = "A diagram még üres.";
inline constexpr std::string_view ChartWave = "A húr állóhulláma, L = %s, ß = %s; %s.";
inline constexpr std::string_view WaveHeld = "a vízszintes mozgás megállítva";
inline constexpr std::string_view WaveDrifts = "a húr vízszintesen halad";
inline constexpr std::string_view ChartAxes =
    "Vízszintes tengely: %s – %s, függőleges tengely: %s – %s.";
inline constexpr std::string_view AnimationRuns = "Az animáció fut.";
inline constexpr std::string_view AnimationStopped = "Az animáció áll.";

} // namespace ProgramStrings
