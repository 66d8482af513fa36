#pragma once

#include "ChartFontObject.h"

#include <cstdint>

// Where the legend stands beside the chart rectangle.
enum TLegendAlignment : std::uint8_t { laLeft, laRight, laTop, laBottom };

// The chart's legend. Only its place in the drawing order of the title blocks is part of this
// chart: the legend lists nothing yet, so a shown legend draws nothing and takes no room, just
// as a hidden one does (TCustomChart::DrawTitleBlocks).
class TChartLegend : public TChartFontObject {
public:
    explicit TChartLegend(TCustomChartPanel* chart);

    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    // A legend on the left or right is laid out before the title blocks, one at the top or
    // bottom after them.
    TLegendAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TLegendAlignment value);

    // Copies Visible, Alignment and the font.
    void Assign(const TChartFontObject& source) override;

private:
    bool FVisible = true;
    TLegendAlignment FAlignment = laRight;
};
