// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/canvas/ChartBrush.h>
#include <korvatel/canvas/ChartPen.h>
#include <korvatel/core/ChartTypes.h>

#include <cstdint>

namespace Korvatel {

class TCustomChartPanel;

// A wall of the chart: the back wall behind the series and, in 3D, the left and bottom walls.
// The chart paints them after the layout, before axes and series (TCustomChart::PaintWalls);
// a wall itself only holds its settings.
//
// Walls are created by the chart for the chart's lifetime and never move (their pen and brush
// notify through this object), so they can be neither copied nor moved; Assign copies the
// settings of another wall.
class KORVATEL_EXPORT TCustomChartWall {
public:
    // defaultColor and defaultBrushStyle are the wall's own defaults.
    TCustomChartWall(TCustomChartPanel* chart, TColor defaultColor,
                     TBrushStyle defaultBrushStyle = bsSolid);
    virtual ~TCustomChartWall() = default;
    TCustomChartWall(const TCustomChartWall&) = delete;
    TCustomChartWall& operator=(const TCustomChartWall&) = delete;

    TCustomChartPanel* ParentChart() const { return FParentChart; }

    // Pattern and background of the wall: with a pattern image the image fills the wall;
    // otherwise the style, and the colour behind a hatch.
    TChartBrush& Brush() { return FBrush; }
    const TChartBrush& Brush() const { return FBrush; }
    void SetBrush(const TChartBrush& value) { FBrush.Assign(value); }
    // The fill colour, or the colour of the hatch lines of a hatched brush. clDefault with a
    // solid brush leaves the wall unfilled.
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    // The colour the wall starts with; Color is stored with a layout only when it differs.
    TColor DefaultColor() const { return FDefaultColor; }
    bool IsColorStored() const { return FColor != FDefaultColor; }
    // Darken the side faces of a thick 3D wall.
    bool Dark3D() const { return FDark3D; }
    void SetDark3D(bool value);
    TChartPen& Pen() { return FPen; }
    const TChartPen& Pen() const { return FPen; }
    void SetPen(const TChartPen& value) { FPen.Assign(value); }
    // Thickness of the wall in 3D; below 1 the wall is a flat plane.
    std::int32_t Size() const { return FSize; }
    void SetSize(std::int32_t value);

    // Copies Brush, Color, Dark3D, Pen and Size.
    void Assign(const TCustomChartWall& source);

private:
    template <typename T>
    void SetProperty(T& field, T value) {
        if (field != value) {
            field = value;
            Repaint();
        }
    }
    void Repaint() const;

    TCustomChartPanel* FParentChart;
    TChartBrush FBrush;
    TColor FColor;
    TColor FDefaultColor;
    bool FDark3D = true;
    TChartPen FPen;
    std::int32_t FSize = 0;
};

// The walls as the chart publishes them.
class KORVATEL_EXPORT TChartWall final : public TCustomChartWall {
public:
    using TCustomChartWall::TCustomChartWall;
};

} // namespace Korvatel
