#include "BarSeries.h"

TBarSeries::TBarSeries() : TCustomBarSeries(false) {}
