// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/render/CustomChart.h>

namespace Korvatel {

// The chart control as the program uses it.
class KORVATEL_EXPORT TChart final : public TCustomChart {
public:
    TChart() = default;
};

} // namespace Korvatel
