// SPDX-License-Identifier: MIT
#include <korvatel/data/BarSeries.h>

namespace Korvatel {

TBarSeries::TBarSeries() : TCustomBarSeries(false) {}

} // namespace Korvatel
