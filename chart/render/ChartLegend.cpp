// SPDX-License-Identifier: MIT
// The legend: its properties, copying and the hit tests on the legend as last drawn. Its
// layout and drawing are in ChartLegendDrawing.cpp.

#include <korvatel/render/ChartLegend.h>

#include <korvatel/render/AxisPanel.h>
#include <korvatel/core/ChartErrors.h>
#include <korvatel/core/ChartStrings.h>

#include <string>

namespace Korvatel {

TChartLegend::TChartLegend(TCustomChartPanel* chart) : TChartFontObject(chart) {
    FFrame.SetOnChange([this] { Repaint(); });
    FBrush.SetColor(clWhite);
    FBrush.SetOnChange([this] { Repaint(); });
}

// --- Properties --------------------------------------------------------------------------------

void TChartLegend::RefuseNegative(std::int32_t value, const char* name) {
    if (value < 0) {
        throw ChartException(FormatMessage(ChartStrings::LegendNegative, {name}));
    }
}

void TChartLegend::RefuseNonPercent(std::int32_t value, const char* name) {
    constexpr std::int32_t Lowest = 0;
    constexpr std::int32_t Highest = 100;
    if (value < Lowest || value > Highest) {
        const std::string lowest = std::to_string(Lowest);
        const std::string highest = std::to_string(Highest);
        throw ChartException(FormatMessage(ChartStrings::LegendPercent, {name, lowest, highest}));
    }
}

void TChartLegend::SetVisible(bool value) {
    SetProperty(FVisible, value);
}

void TChartLegend::SetAlignment(TLegendAlignment value) {
    SetProperty(FAlignment, value);
}

void TChartLegend::SetLegendStyle(TLegendStyle value) {
    SetProperty(FLegendStyle, value);
}

void TChartLegend::SetTextStyle(TLegendTextStyle value) {
    SetProperty(FTextStyle, value);
}

void TChartLegend::SetInverted(bool value) {
    SetProperty(FInverted, value);
}

void TChartLegend::SetCheckBoxes(bool value) {
    SetProperty(FCheckBoxes, value);
}

void TChartLegend::SetShadowSize(std::int32_t value) {
    RefuseNegative(value, "ShadowSize");
    SetProperty(FShadowSize, value);
}

void TChartLegend::SetShadowColor(TColor value) {
    SetProperty(FShadowColor, value);
}

void TChartLegend::SetColorWidth(std::int32_t value) {
    RefuseNonPercent(value, "ColorWidth");
    SetProperty(FColorWidth, value);
}

void TChartLegend::SetTopPos(std::int32_t value) {
    RefuseNonPercent(value, "TopPos");
    SetProperty(FTopPos, value);
}

void TChartLegend::SetHorizMargin(std::int32_t value) {
    RefuseNegative(value, "HorizMargin");
    SetProperty(FHorizMargin, value);
}

void TChartLegend::SetVertMargin(std::int32_t value) {
    RefuseNegative(value, "VertMargin");
    SetProperty(FVertMargin, value);
}

void TChartLegend::SetMaxNumRows(std::int32_t value) {
    RefuseNegative(value, "MaxNumRows");
    SetProperty(FMaxNumRows, value);
}

void TChartLegend::SetFirstValue(std::int32_t value) {
    RefuseNegative(value, "FirstValue");
    SetProperty(FFirstValue, value);
}

void TChartLegend::Assign(const TChartFontObject& source) {
    if (&source == this) {
        return;
    }
    TChartFontObject::Assign(source);
    const auto* legend = dynamic_cast<const TChartLegend*>(&source);
    if (legend == nullptr) {
        return;
    }
    SetVisible(legend->FVisible);
    SetAlignment(legend->FAlignment);
    SetLegendStyle(legend->FLegendStyle);
    SetTextStyle(legend->FTextStyle);
    SetInverted(legend->FInverted);
    SetCheckBoxes(legend->FCheckBoxes);
    FFrame.Assign(legend->FFrame);
    FBrush.Assign(legend->FBrush);
    SetShadowSize(legend->FShadowSize);
    SetShadowColor(legend->FShadowColor);
    SetColorWidth(legend->FColorWidth);
    SetTopPos(legend->FTopPos);
    SetHorizMargin(legend->FHorizMargin);
    SetVertMargin(legend->FVertMargin);
    SetMaxNumRows(legend->FMaxNumRows);
    SetFirstValue(legend->FFirstValue);
}

// --- Hit tests ---------------------------------------------------------------------------------

bool TChartLegend::ContainsPoint(std::int32_t x, std::int32_t y) const {
    return FVisible && FLegendRect.Contains(x, y);
}

std::int32_t TChartLegend::Clicked(std::int32_t x, std::int32_t y) const {
    if (!FVisible) {
        return -1;
    }
    for (const TItem& item : FItems) {
        if (item.Cell.Contains(x, y)) {
            return item.Index;
        }
    }
    return -1;
}

bool TChartLegend::ToggleSeriesAt(std::int32_t x, std::int32_t y) {
    if (!FVisible || !FCheckBoxes) {
        return false;
    }
    const auto* chart = dynamic_cast<const TCustomAxisPanel*>(ParentChart());
    for (const TItem& item : FItems) {
        // The whole entry is the target, not only its box. The series may have left the chart
        // (or ended) since the legend was drawn.
        if (!item.CheckBox.IsEmpty() && item.Cell.Contains(x, y)) {
            if (chart == nullptr || !chart->SeriesList().Contains(item.Series)) {
                return false;
            }
            item.Series->SetActive(!item.Series->Active());
            return true;
        }
    }
    return false;
}

} // namespace Korvatel
