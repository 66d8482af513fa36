// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/render/AxisPanel.h>
#include <korvatel/axes/AxisRange.h>
#include <korvatel/render/ChartLegend.h>
#include <korvatel/data/ChartSeries.h>
#include <korvatel/render/ChartTitle.h>
#include <korvatel/render/ChartWall.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace Korvatel {

// What lies under a point of the chart (TCustomChart::ChartPartAt).
enum TChartPartKind : std::uint8_t {
    cpNone,
    cpSeries,
    cpAxis,
    cpTitle,
    cpFoot,
    cpPlotArea,
    cpLegend
};

struct KORVATEL_EXPORT TChartPart {
    TChartPartKind Kind = cpNone;
    // The series and its point for cpSeries, the axis for cpAxis.
    TChartSeries* Series = nullptr;
    std::int32_t PointIndex = -1;
    TCustomChartAxis* Axis = nullptr;
};

// The range settings of one axis as they stood before the first zoom or scroll, which an undo
// brings back.
struct KORVATEL_EXPORT TSavedAxisScale {
    bool Automatic = true;
    bool AutomaticMinimum = true;
    bool AutomaticMaximum = true;
    double Minimum = 0;
    double Maximum = 0;

    friend bool operator==(const TSavedAxisScale&, const TSavedAxisScale&) = default;
};

// The mouse buttons and keys that start a zoom and a scroll, and how far each step of an
// animated zoom goes. Fixed for the whole program.
namespace ChartMouse {
inline constexpr TMouseButton ZoomMouseButton = mbLeft;
inline constexpr TShiftState ZoomKeyShift{};
inline constexpr TMouseButton ScrollMouseButton = mbRight;
inline constexpr TShiftState ScrollKeyShift{};
inline constexpr double AnimatedZoomFactor = 3.0;
// A zoom drag must move more than this many pixels both across and down; a shorter one is
// taken for a click and changes nothing.
inline constexpr std::int32_t ZoomMinimumDrag = 16;
} // namespace ChartMouse

// The chart with its title and foot blocks, its walls, its legend and its mouse handling.
//
// Title and foot are drawn early in every repaint and take their room off the chart rectangle
// before the axes are laid out (DrawTitleBlocks); the walls are drawn after the layout, under
// the axes and the series (PaintWalls).
//
// The mouse: a press asks what lies under it (ChartPartAt) and offers the click to the click
// events and the series; unless a handler claims it, the zoom button starts a rubber band and
// the scroll button a scroll. Moving the mouse drags the band's corner or scrolls the axes;
// releasing the zoom button zooms into the band (dragged right and down) or undoes every zoom
// and scroll (dragged any other way). The wheel moves the vertical axes. Positions are chart
// pixels and are read against the layout of the last repaint. The window glue turns its
// toolkit's events into MouseDown, MouseMove, MouseUp and MouseWheel.
class KORVATEL_EXPORT TCustomChart : public TCustomAxisPanel {
public:
    using TChartNotifyEvent = std::function<void(TCustomChart* sender)>;
    using TChartMouseEvent = std::function<void(TCustomChart* sender, TMouseButton button,
                                                TShiftState shift, std::int32_t x, std::int32_t y)>;
    using TChartMouseMoveEvent = std::function<void(TCustomChart* sender, TShiftState shift,
                                                    std::int32_t x, std::int32_t y)>;
    using TChartClickAxisEvent =
        std::function<void(TCustomChart* sender, TCustomChartAxis* axis, TMouseButton button,
                           TShiftState shift, std::int32_t x, std::int32_t y)>;
    using TChartClickSeriesEvent =
        std::function<void(TCustomChart* sender, TChartSeries* series, std::int32_t valueIndex,
                           TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y)>;
    // The text of a legend entry, which the handler may rewrite: the style the legend lists
    // in and the entry's number (see TChartLegend::TItem::Index).
    using TGetLegendTextEvent = std::function<void(TCustomChart* sender, TLegendStyle style,
                                                   std::int32_t index, std::string& text)>;
    // A scroll is about to give the axis the range from minimum to maximum; the handler may
    // change the range or refuse the scroll of this axis by clearing allowScroll.
    using TChartAllowScrollEvent = std::function<void(TCustomChartAxis* sender, double& minimum,
                                                      double& maximum, bool& allowScroll)>;

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

    // --- Mouse ---------------------------------------------------------------------------

    // The mouse input of the window, in chart pixels. Each first raises the matching toolkit
    // event (OnMouseDown, OnMouseMove, OnMouseUp, OnMouseWheelDown or OnMouseWheelUp).
    void MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y);
    void MouseMove(TShiftState shift, std::int32_t x, std::int32_t y);
    void MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y);
    // One step of the wheel, turned down (towards the user) or up.
    void MouseWheel(bool down, TShiftState shift, std::int32_t x, std::int32_t y);

    // What lies under a point, first match first: a point or line of an active series (the
    // last series first), an axis, the title, the foot, the plot area (while a series is
    // active), the legend.
    TChartPart ChartPartAt(std::int32_t x, std::int32_t y) const;

    // Zooms the four side axes to the zoom record's rectangle.
    void ZoomToRectangle();
    // Gives the four side axes their new ranges, in steps when AnimatedZoom is on, and raises
    // OnZoom. The scales of before the first zoom are kept for RevertZoom.
    void ApplyZoom(const TAxisRange& top, const TAxisRange& bottom, const TAxisRange& left,
                   const TAxisRange& right);
    // Undoes every zoom and scroll since the last undo, raises OnUndoZoom and asks for a
    // repaint (also when there was nothing to undo).
    void RevertZoom();
    // Moves the axes of one orientation (all but the depth axis) as the mouse moved from
    // pixel last to pixel current along it, as far as AllowPanning and OnAllowScroll let
    // them. Answers whether the movement counted as a scroll.
    bool ScrollAxes(bool horizontal, std::int32_t current, std::int32_t last);
    // Moves the vertical axes (the depth axis too) by 3 % of their ranges and paints at once.
    void WheelScroll(bool down);
    // Ends a zoom or scroll drag without applying it and removes the rubber band. For the
    // window glue: when an event handler fails during a drag, an error box takes the mouse
    // and the release never reaches the chart.
    void CancelDrags();

    // The range settings of the top, bottom, left and right axes, in this order, from before
    // the first zoom or scroll since the last undo.
    const std::array<TSavedAxisScale, 4>& SavedAxisScales() const { return FSavedAxisScales; }
    // True until a zoom or scroll saves the scales, and again after RevertZoom.
    bool ScalesRestored() const { return FScalesRestored; }

    TChartNotifyEvent OnZoom;
    TChartNotifyEvent OnUndoZoom;
    TChartNotifyEvent OnScroll;
    TChartAllowScrollEvent OnAllowScroll;
    TChartClickAxisEvent OnClickAxis;
    TChartClickSeriesEvent OnClickSeries;
    // A press on the legend. The handler finds the entry with Legend().Clicked(x, y). Without
    // a handler, or when it clears the cancel-mouse flag, a left press on a series entry of a
    // legend with CheckBoxes switches the series on or off.
    TChartMouseEvent OnClickLegend;
    TChartMouseEvent OnClickBackground;
    TChartMouseEvent OnMouseDown;
    TChartMouseMoveEvent OnMouseMove;
    TChartMouseEvent OnMouseUp;
    TChartMouseMoveEvent OnMouseWheelDown;
    TChartMouseMoveEvent OnMouseWheelUp;
    TGetLegendTextEvent OnGetLegendText;

    // Drawing under the series calls OnGetLegendText too.
    bool CallsHandlersUnderSeries() const override;

protected:
    // Draws the legend and takes its room off PlotRect.
    virtual void DrawLegend() { FLegend.Draw(*this); }
    // Whether a point lies on the legend as last drawn.
    virtual bool LegendContainsPoint(std::int32_t x, std::int32_t y) const {
        return FLegend.ContainsPoint(x, y);
    }

private:
    void ApplyBlockBackground(TChartTitle& title);
    bool HasActiveSeries() const;
    void PaintWalls3D();
    // The back image inside the back wall (when BackImageInside): over the fill of the wall's
    // face at depth z, inside its outline.
    void DrawBackImageOnWall(const TRect& face, std::int32_t z);
    // A wall of thickness below 1 in 3D: a plane through four corners of the box.
    void DrawWallPlane(const TPoint (&corners)[4], const std::int32_t (&depths)[4]);
    // A thick wall in 3D: the box from (x0, y0, z0) to (x1, y1, z1), its faces that look at
    // the viewer drawn as the canvas draws a cube, shaded by the fixed step when dark is set.
    void DrawWallBox(const TRect& face, std::int32_t z0, std::int32_t z1, bool dark);

    // Mouse steps.
    bool StartDrag(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y);
    void DragZoomCorner(std::int32_t x, std::int32_t y);
    void DragScroll(std::int32_t x, std::int32_t y);
    void TrackSeriesCursor(TShiftState shift, std::int32_t x, std::int32_t y);
    void EndZoomDrag(std::int32_t x, std::int32_t y);
    // Draws the rubber band onto the kept picture between repaints (a second drawing at the
    // same place removes it) and has the window show the picture again.
    void ToggleZoomBand();
    void SaveAxisScales();
    // The top, bottom, left and right axes, in this order.
    std::array<TCustomChartAxis*, 4> SideAxes() const;

    std::array<TSavedAxisScale, 4> FSavedAxisScales;
    bool FScalesRestored = true;

    // Members are created in declaration order: title, foot, back wall, left wall, legend,
    // bottom wall.
    TChartTitle FTitle;
    TChartTitle FFoot;
    TChartWall FBackWall;
    TChartWall FLeftWall;
    TChartLegend FLegend;
    TChartWall FBottomWall;
};

} // namespace Korvatel
