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

} // namespace ProgramStrings
