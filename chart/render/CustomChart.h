#pragma once

#include "AxisPanel.h"
#include "ChartLegend.h"
#include "ChartTitle.h"
#include "ChartWall.h"

#include <cstdint>

// The chart with its title and foot blocks, its walls and its legend.
//
// Title and foot are drawn early in every repaint and take their room off the chart rectangle
// before the axes are laid out (DrawTitleBlocks); the walls are drawn after the layout, under
// the axes and the series (PaintWalls).
class TCustomChart : public TCustomAxisPanel {
public:
    TCustomChart();

    // --- Parts -----------------------------------------------------------------------------

    // The block above the chart rectangle and the one below it. The setters copy the given
    // block's settings.
    TChartTitle& Title() { return FTitle; }
    const TChartTitle& Title() const { return FTitle; }
    void SetTitle(const TChartTitle& value) { FTitle.Assign(value); }
    TChartTitle& Foot() { return FFoot; }
    const TChartTitle& Foot() const { return FFoot; }
    void SetFoot(const TChartTitle& value) { FFoot.Assign(value); }

    // The wall behind the series, and the two walls of a 3D chart.
    TChartWall& BackWall() { return FBackWall; }
    const TChartWall& BackWall() const { return FBackWall; }
    void SetBackWall(const TChartWall& value) { FBackWall.Assign(value); }
    TChartWall& LeftWall() { return FLeftWall; }
    const TChartWall& LeftWall() const { return FLeftWall; }
    void SetLeftWall(const TChartWall& value) { FLeftWall.Assign(value); }
    TChartWall& BottomWall() { return FBottomWall; }
    const TChartWall& BottomWall() const { return FBottomWall; }
    void SetBottomWall(const TChartWall& value) { FBottomWall.Assign(value); }

    TChartLegend& Legend() { return FLegend; }
    const TChartLegend& Legend() const { return FLegend; }
    void SetLegend(const TChartLegend& value) { FLegend.Assign(value); }

    // Shortcuts to the back wall: its colour and its outline. Outside loading a new back colour
    // also makes the back wall's brush solid, so that the colour shows.
    TColor BackColor() const override { return FBackWall.Color(); }
    void SetBackColor(TColor value);
    TChartPen& Frame() { return FBackWall.Pen(); }
    const TChartPen& Frame() const { return FBackWall.Pen(); }
    void SetFrame(const TChartPen& value) { FBackWall.SetPen(value); }

    // --- Drawing steps -----------------------------------------------------------------------

    // Draws the legend, the title and the foot flat (even in 3D) and shrinks PlotRect by the
    // room they take.
    void DrawTitleBlocks() override;
    // Draws one block at the top (the title) or the bottom (the foot) of PlotRect and moves
    // that edge of PlotRect past it: n lines of row height h and a frame of width f take
    // n * h + 2 * f + 5 pixels (2 * f without lines).
    void DrawBlock(TChartTitle& title, bool onTop);
    // Draws the back wall (and in 3D the left and bottom walls) in the final PlotRect. In 2D
    // the outline runs on all four edges of PlotRect, including its right and bottom edge.
    void PaintWalls() override;
    // Sets the canvas pen and brush for a wall.
    void ApplyWallStyle(const TCustomChartWall& wall);
    // Sets the canvas brush to a colour and style over a background colour. A hatch in the
    // colour of its background would vanish: it is drawn white on black and black on any
    // other colour instead. A background of clDefault leaves the gaps of a hatch transparent.
    void ApplyBrushStyle(TColor color, TBrushStyle style, TColor backColor);
    // The thickness of the wall along an axis: the left wall's Size for the left axis, the
    // bottom wall's for the bottom axis, and 0 for the others or unless 3D walls are shown.
    std::int32_t AxisWallSize(const TCustomChartAxis& axis) const override;

protected:
    // Draws the legend and takes its room off PlotRect. The legend lists nothing yet, so it
    // draws nothing and takes no room.
    virtual void DrawLegend() {}

private:
    void ApplyBlockBackground(TChartTitle& title);
    bool HasActiveSeries() const;
    void PaintWalls3D();
    // A wall of thickness below 1 in 3D: a plane through four corners of the box.
    void DrawWallPlane(const TPoint (&corners)[4], const std::int32_t (&depths)[4]);
    // A thick wall in 3D: the box from (x0, y0, z0) to (x1, y1, z1), of which the front, top
    // and right faces show; the two side faces darker when dark is set.
    void DrawWallBox(const TRect& face, std::int32_t z0, std::int32_t z1, bool dark);

    // Members are created in declaration order: title, foot, back wall, left wall, legend,
    // bottom wall.
    TChartTitle FTitle;
    TChartTitle FFoot;
    TChartWall FBackWall;
    TChartWall FLeftWall;
    TChartLegend FLegend;
    TChartWall FBottomWall;
};
