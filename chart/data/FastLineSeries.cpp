#include "FastLineSeries.h"

TFastLineSeries::TFastLineSeries()
    : FLinePen(std::make_unique<TChartPen>([this] { StyleChanged(); })) {
    FSinglePointAllowed = false;
    FKeepPointBeyondEnd = true;
}

TFastLineSeries::~TFastLineSeries() = default;

void TFastLineSeries::SetLinePen(const TChartPen& pen) {
    FLinePen->Assign(pen);
    SetSeriesColor(pen.Color());
}

void TFastLineSeries::SetSeriesColor(TColor value) {
    TChartSeries::SetSeriesColor(value);
    FLinePen->SetColor(value);
}
