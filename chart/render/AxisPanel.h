#pragma once

#include "ChartAxis.h"
#include "ChartPanelExtended.h"
#include "ChartSeriesList.h"

#include <memory>
#include <vector>

class TChartSeries;

// The panel with series and axes: the series list with its membership rules and the five
// axes, in the order BottomAxis, TopAxis, LeftAxis, RightAxis, DepthAxis.
class TCustomAxisPanel : public TCustomChartPanelExtended {
public:
    TCustomAxisPanel();
    // Detaches and destroys every series still in the list, from the first.
    ~TCustomAxisPanel() override;

    const TChartSeriesList& SeriesList() const { return FSeriesList; }
    // Makes the series one of this chart's (also through the series' SetParentChart).
    void AddSeries(TChartSeries* series);
    void RemoveSeries(TChartSeries* series);

    // The axes in list order.
    const std::vector<std::unique_ptr<TCustomChartAxis>>& AxisList() const { return FAxes; }
    TChartAxis& BottomAxis() const { return *FBottomAxis; }
    TChartAxis& TopAxis() const { return *FTopAxis; }
    TChartAxis& LeftAxis() const { return *FLeftAxis; }
    TChartAxis& RightAxis() const { return *FRightAxis; }
    TChartDepthAxis& DepthAxis() const { return *FDepthAxis; }

    // The colour of the back wall; a series colour equal to it would not show.
    virtual TColor BackColor() const { return clDefault; }

    // A series' data source changed: let it take its points again.
    virtual void CheckDataSource(TChartSeries& series);

private:
    TColor FreeSeriesColor() const;

    TChartSeriesList FSeriesList{this};
    std::vector<std::unique_ptr<TCustomChartAxis>> FAxes;
    TChartAxis* FBottomAxis;
    TChartAxis* FTopAxis;
    TChartAxis* FLeftAxis;
    TChartAxis* FRightAxis;
    TChartDepthAxis* FDepthAxis;
};
