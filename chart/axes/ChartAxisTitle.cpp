// SPDX-License-Identifier: MIT
#include <korvatel/axes/ChartAxisTitle.h>

#include <korvatel/core/ChartErrors.h>
#include <korvatel/core/ChartStrings.h>

namespace Korvatel {

TChartAxisTitle::TChartAxisTitle(std::int32_t defaultAngle, TChangeEvent onChange)
    : FOnChange(std::move(onChange)), FDefaultAngle(defaultAngle), FAngle(defaultAngle),
      FFont([this] { Changed(); }) {}

void TChartAxisTitle::Changed() const {
    if (FOnChange) {
        FOnChange();
    }
}

void TChartAxisTitle::SetAngle(std::int32_t value) {
    if (value < 0 || value > 359) {
        throw ChartException(
            FormatMessage(ChartStrings::AngleRange, {ChartStrings::AxisTitleName}));
    }
    if (FAngle != value) {
        FAngle = value;
        Changed();
    }
}

void TChartAxisTitle::SetCaption(const std::string& value) {
    if (FCaption != value) {
        FCaption = value;
        Changed();
    }
}

void TChartAxisTitle::Assign(const TChartAxisTitle& source) {
    if (&source == this) {
        return;
    }
    FAngle = source.FAngle;
    FCaption = source.FCaption;
    // The font's own change report is held back, so that the copy reports once.
    TChartFont::TChangeEvent keep = [this] { Changed(); };
    FFont.SetOnChange({});
    FFont.Assign(source.FFont);
    FFont.SetOnChange(std::move(keep));
    Changed();
}

} // namespace Korvatel
