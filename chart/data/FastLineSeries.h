#pragma once

#include "ChartPen.h"
#include "ChartSeries.h"

// A series drawn as one polyline with a single pen, in point order, with no symbols and no
// per-point colours. It is the series that shows the wave.
class TFastLineSeries : public TChartSeries {
public:
    TFastLineSeries();
    ~TFastLineSeries() override;

    // True: an added point asks for a repaint; False: it is drawn at once.
    bool AutoRepaint() const { return FAutoRepaint; }
    void SetAutoRepaint(bool value) { FAutoRepaint = value; }

    TChartPen& LinePen() { return *FLinePen; }
    const TChartPen& LinePen() const { return *FLinePen; }
    // Takes the pen's settings, then its colour as the series colour.
    void SetLinePen(const TChartPen& pen);

    // The series colour is also the line's colour.
    void SetSeriesColor(TColor value) override;

    // Another fast line also hands over its pen and AutoRepaint.
    void Assign(TChartSeries& source) override;
    // Lifts the mark by Marks.ArrowLength above the point, so that an arrow leads up to it.
    void DrawPointMark(std::int32_t index, std::string_view text,
                       TSeriesMarkPosition& position) override;

private:
    std::unique_ptr<TChartPen> FLinePen;
    bool FAutoRepaint = true;
};
