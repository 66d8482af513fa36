// SPDX-License-Identifier: MIT
#include "ReferenceParamNumber.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <regex.h>
#include <string>

namespace {

// Spaces, a sign, digits with an optional point and digits, an optional exponent; groups:
// 1 sign, 2 digits before the point, 3 the point and what follows, 4 the exponent.
constexpr const char* Pattern = "^ *([+-]?)([0-9]*)([.][0-9]*)?([eE][+-]?[0-9]+)?$";

const regex_t& Compiled() {
    static regex_t expression = [] {
        regex_t compiled;
        regcomp(&compiled, Pattern, REG_EXTENDED);
        return compiled;
    }();
    return expression;
}

// strtold in the C locale: the program's process may run with a locale whose decimal mark
// is a comma.
locale_t CLocale() {
    static locale_t locale = newlocale(LC_ALL_MASK, "C", nullptr);
    return locale;
}

bool Matched(const regmatch_t& group) {
    return group.rm_so >= 0;
}

std::string Group(const std::string& text, const regmatch_t& group) {
    return Matched(group) ? text.substr(static_cast<std::size_t>(group.rm_so),
                                        static_cast<std::size_t>(group.rm_eo - group.rm_so))
                          : std::string();
}

} // namespace

TReferenceNumber ReferenceParseParamNumber(std::string_view view) {
    // A NUL cannot be part of a number, and the regular expression reads C strings.
    if (std::memchr(view.data(), '\0', view.size()) != nullptr) {
        return {};
    }
    const std::string text(view);
    regmatch_t groups[5];
    if (regexec(&Compiled(), text.c_str(), 5, groups, 0) != 0) {
        return {};
    }
    const std::string sign = Group(text, groups[1]);
    const std::string whole = Group(text, groups[2]);
    const std::string point = Group(text, groups[3]);
    const std::string exponent = Group(text, groups[4]);
    // After the spaces and the sign something must stand: digits, a point or an exponent.
    if (whole.empty() && point.empty() && exponent.empty()) {
        return {};
    }
    TReferenceNumber result;
    result.Valid = true;
    const bool negative = sign == "-";
    // A mantissa without digits ("." or "e5") is zero, whatever the exponent says.
    if (whole.empty() && point.size() <= 1) {
        result.Value = negative ? -0.0L : 0.0L;
        return result;
    }
    const std::string number = whole + point + exponent;
    errno = 0;
    char* end = nullptr;
    const long double magnitude = strtold_l(number.c_str(), &end, CLocale());
    if (errno == ERANGE) {
        result.Overflow = std::isinf(magnitude);
        result.Underflow = !result.Overflow;
    }
    result.Value = negative ? -magnitude : magnitude;
    return result;
}
