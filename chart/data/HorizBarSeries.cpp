#include "HorizBarSeries.h"

THorizBarSeries::THorizBarSeries() : TCustomBarSeries(true) {}
