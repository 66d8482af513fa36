// SPDX-License-Identifier: MIT
#include <korvatel/render/ChartTitle.h>

namespace Korvatel {

TChartTitle::TChartTitle(TCustomChartPanel* chart) : TChartFontObject(chart, clBlue) {
    FBrush.SetOnChange([this] { Repaint(); });
    FFrame.SetOnChange([this] { Repaint(); });
}

void TChartTitle::SetAdjustFrame(bool value) {
    SetProperty(FAdjustFrame, value);
}

void TChartTitle::SetAlignment(TAlignment value) {
    SetProperty(FAlignment, value);
}

void TChartTitle::SetColor(TColor value) {
    SetProperty(FColor, value);
}

void TChartTitle::SetVisible(bool value) {
    SetProperty(FVisible, value);
}

void TChartTitle::SetText(const std::vector<std::string>& value) {
    // Taken and repainted even when equal: callers hand over a whole list, and the repaint
    // request it makes merges with any other before the next paint.
    FText = value;
    Repaint();
}

void TChartTitle::Assign(const TChartFontObject& source) {
    if (&source == this) {
        return;
    }
    TChartFontObject::Assign(source);
    if (const auto* title = dynamic_cast<const TChartTitle*>(&source)) {
        SetAdjustFrame(title->FAdjustFrame);
        SetAlignment(title->FAlignment);
        FBrush.Assign(title->FBrush);
        SetColor(title->FColor);
        FFrame.Assign(title->FFrame);
        SetText(title->FText);
        SetVisible(title->FVisible);
    }
}

bool TChartTitle::ContainsPoint(std::int32_t x, std::int32_t y) const {
    return FVisible && FBlockRect.Contains(x, y);
}

bool TChartTitle::FontIsDefault() const {
    // The default chart font in every respect but the block's own colour and style.
    const TChartFont reference;
    return Font().Name() == reference.Name() && Font().Size() == reference.Size() &&
           Font().Charset() == reference.Charset() && Font().Color() == FDefaultFontColor &&
           Font().Style() == FDefaultFontStyle;
}

} // namespace Korvatel
