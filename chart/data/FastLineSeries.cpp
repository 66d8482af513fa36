#include "FastLineSeries.h"

#include "Rounding.h"

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

void TFastLineSeries::Assign(TChartSeries& source) {
    if (const auto* line = dynamic_cast<const TFastLineSeries*>(&source)) {
        FAutoRepaint = line->FAutoRepaint;
        FLinePen->Assign(*line->FLinePen);
    }
    TChartSeries::Assign(source);
}

void TFastLineSeries::DrawPointMark(std::int32_t index, std::string_view text,
                                    TSeriesMarkPosition& position) {
    const std::int64_t lift = Marks().ArrowLength();
    position.ArrowTo.Y = Low32(position.ArrowTo.Y - lift);
    position.LeftTop.Y = Low32(position.LeftTop.Y - lift);
    TChartSeries::DrawPointMark(index, text, position);
}
