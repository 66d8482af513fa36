// SPDX-License-Identifier: MIT
#pragma once

#include "ParamNumber.h"
#include "ReferenceParamNumber.h"

#include <cmath>
#include <string>
#include <string_view>

// Whether the program's parser and the reference agree on a text: both accept or both
// reject it, and an accepted text has the same extended value (the same zero, too). Values
// below the extended range read as zero in the parser, where strtold may keep a subnormal.
// Returns an empty text when they agree, else a description of the difference.
inline std::string ParamNumberDisagreement(std::string_view text) {
    const TParamNumber ours = ParseParamNumber(text);
    const TReferenceNumber reference = ReferenceParseParamNumber(text);
    if (ours.Valid != reference.Valid) {
        return ours.Valid ? "accepted, the reference rejects it"
                          : "rejected, the reference accepts it";
    }
    if (!ours.Valid) {
        return {};
    }
    if (std::signbit(ours.Value) != std::signbit(reference.Value)) {
        return "the sign differs";
    }
    if (reference.Underflow) {
        return ours.Value == 0 || ours.Value == reference.Value ? std::string()
                                                                : "an underflow is not zero";
    }
    return ours.Value == reference.Value ? std::string() : "the value differs";
}

