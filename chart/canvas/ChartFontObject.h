// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/canvas/ChartFont.h>
#include <korvatel/core/ChartTypes.h>

namespace Korvatel {

class TCustomChartPanel;

// The base of the chart's parts that own a font (title blocks, axis titles, the legend). The
// font starts as the default chart font, and its changes ask the chart for a repaint.
//
// Parts are created by the chart for the chart's lifetime and never move: the font's change
// notification refers to this object, so it can be neither copied nor moved. Assign copies
// the settings of another part instead.
class KORVATEL_EXPORT TChartFontObject {
public:
    // fontColor is the part's own default font colour (the default chart font is black).
    explicit TChartFontObject(TCustomChartPanel* chart, TColor fontColor = clBlack);
    virtual ~TChartFontObject() = default;
    TChartFontObject(const TChartFontObject&) = delete;
    TChartFontObject& operator=(const TChartFontObject&) = delete;

    // The chart the part belongs to; none for a part made on its own (it then repaints nothing).
    TCustomChartPanel* ParentChart() const { return FParentChart; }

    TChartFont& Font() { return FFont; }
    const TChartFont& Font() const { return FFont; }
    // Copies the given font; the font's own change notification repaints.
    void SetFont(const TChartFont& value) { FFont.Assign(value); }

    // Copies the font of another part.
    virtual void Assign(const TChartFontObject& source);

protected:
    // Asks the chart for a repaint (setters call it after storing a new value).
    void Repaint() const;

    // Stores a new value of a published property and repaints; an equal value changes nothing.
    template <typename T>
    void SetProperty(T& field, T value) {
        if (field != value) {
            field = value;
            Repaint();
        }
    }

private:
    TCustomChartPanel* FParentChart;
    TChartFont FFont;
};

} // namespace Korvatel
