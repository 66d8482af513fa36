// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/data/ChartSeries.h>
#include "FrameTarget.h"

// Sends the frames into a chart series: each point with an empty label and the default
// colour, in the series' own X order.
class TSeriesFrameTarget final : public TFrameTarget {
public:
    explicit TSeriesFrameTarget(Korvatel::TChartSeries& series) : FSeries(series) {}

    void ClearPoints() override { FSeries.ClearPoints(); }
    void AddPoint(double x, double y) override { FSeries.AddPoint(x, y, {}, Korvatel::clDefault); }

private:
    Korvatel::TChartSeries& FSeries;
};
