// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/canvas/ChartFont.h>

#include <cstdint>
#include <functional>
#include <string>

namespace Korvatel {

// The title of an axis: a caption in a font of its own, turned by an angle. The angle starts
// at the axis's default (90 for a left axis, so that the text reads upwards along it; 270 for
// a right axis; 0 otherwise) and is stored with the layout only when it differs from it.
// Every change is reported to the owner, which asks the chart for a repaint.
class KORVATEL_EXPORT TChartAxisTitle {
public:
    using TChangeEvent = std::function<void()>;

    TChartAxisTitle(std::int32_t defaultAngle, TChangeEvent onChange);
    TChartAxisTitle(const TChartAxisTitle&) = delete;
    TChartAxisTitle& operator=(const TChartAxisTitle&) = delete;

    // Degrees counter-clockwise, 0 to 359; other values are refused (ChartException).
    std::int32_t Angle() const { return FAngle; }
    void SetAngle(std::int32_t value);
    std::int32_t DefaultAngle() const { return FDefaultAngle; }
    // The angle belongs in the stored layout.
    bool AngleIsStored() const { return FAngle != FDefaultAngle; }

    // An empty caption shows no title and takes no room.
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);

    TChartFont& Font() { return FFont; }
    const TChartFont& Font() const { return FFont; }
    void SetFont(const TChartFont& value) { FFont.Assign(value); }

    // Takes angle, caption and font of another title; reports one change.
    void Assign(const TChartAxisTitle& source);

private:
    void Changed() const;

    TChangeEvent FOnChange;
    std::int32_t FDefaultAngle;
    std::int32_t FAngle;
    std::string FCaption;
    TChartFont FFont;
};

} // namespace Korvatel
