// SPDX-License-Identifier: MIT
#pragma once

#include <stdexcept>
#include <string>

// Errors of the program's event handlers. Each is caught at the boundary of the handler that
// raised it and shown in the general error box; the program carries on.

// A text that does not hold the kind of number it should.
class ConvertError : public std::runtime_error {
public:
    explicit ConvertError(const std::string& message) : std::runtime_error(message) {}
};

// A value too large to be stored as a double.
class FloatOverflowError : public std::runtime_error {
public:
    explicit FloatOverflowError(const std::string& message) : std::runtime_error(message) {}
};

// The system refused a timer.
class TimerError : public std::runtime_error {
public:
    explicit TimerError(const std::string& message) : std::runtime_error(message) {}
};
