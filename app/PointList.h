// SPDX-License-Identifier: MIT
#pragma once

#include "FrameTarget.h"

#include <vector>

// A frame target without a chart: the points in ascending x, equal x in order of arrival.
class TPointList final : public TFrameTarget {
public:
    struct TPointXY {
        double X;
        double Y;
    };

    void ClearPoints() override { FPoints.clear(); }
    void AddPoint(double x, double y) override;

    const std::vector<TPointXY>& Points() const { return FPoints; }

private:
    std::vector<TPointXY> FPoints;
};
