// SPDX-License-Identifier: MIT
#include "PointList.h"

void TPointList::AddPoint(double x, double y) {
    if (FPoints.empty() || !(x < FPoints.back().X)) {
        FPoints.push_back({x, y});
        return;
    }
    // Scan back over every point with a greater x; the new one goes right behind the first
    // point that is not greater, so equal values keep their order of arrival.
    auto position = FPoints.end();
    while (position != FPoints.begin() && (position - 1)->X > x) {
        --position;
    }
    FPoints.insert(position, {x, y});
}
