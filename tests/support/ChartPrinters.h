// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/ChartTypes.h>

#include <ostream>

namespace Korvatel {

// Readable failure messages for the chart's plain types.
inline void PrintTo(const TRect& r, std::ostream* os) {
    *os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}

inline void PrintTo(const TPoint& p, std::ostream* os) { *os << "(" << p.X << ", " << p.Y << ")"; }

} // namespace Korvatel
