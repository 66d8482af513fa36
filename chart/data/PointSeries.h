// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/data/LineSeries.h>

#include <string>

namespace Korvatel {

// A series drawn as its pointers alone: a line series whose line is hidden and whose pointers
// are shown. The chart leaves half a pointer of room at the axes' ends, so that a pointer at
// either end of the range is drawn whole; the pointers of the points just outside a fixed
// range are drawn too, so that their parts inside it show. The hit test finds a point by its
// pointer's box.
class KORVATEL_EXPORT TPointSeries : public TLineSeries {
public:
    TPointSeries();

    std::string EditorClassName() const override { return "TPointSeriesEditor"; }
    // The pointers are what a gallery shows of the kind already.
    void GalleryPreview() override {}
};

} // namespace Korvatel
