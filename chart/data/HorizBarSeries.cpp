// SPDX-License-Identifier: MIT
#include <korvatel/data/HorizBarSeries.h>

namespace Korvatel {

THorizBarSeries::THorizBarSeries() : TCustomBarSeries(true) {}

} // namespace Korvatel
