// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/data/BarLayout.h>
#include <korvatel/canvas/ChartBrush.h>
#include <korvatel/canvas/ChartPen.h>
#include <korvatel/canvas/SolidGeometry.h>
#include <korvatel/data/ChartSeries.h>
#include <korvatel/core/ChartTypes.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Korvatel {

class TChartCanvas3D;
class TCustomChartAxis;

// The form of a bar. In 3D each is a solid standing in the series' depth slab; flat, its front:
// bsRectangle a box (a rectangle), bsPyramid a pyramid with its apex at the end the bar grows
// to (a triangle), bsInvPyramid the same with its apex at the start, bsCylinder a cylinder (a
// rectangle), bsEllipse a disc facing the viewer (an ellipse), bsArrow a thick arrow pointing
// where the bar grows, bsCone a cone with its apex at that end (a triangle), bsRectGradient a
// box whose front runs from white at the end the bar grows to into the bar's colour.
enum TBarStyle : std::uint8_t {
    bsRectangle,
    bsPyramid,
    bsInvPyramid,
    bsCylinder,
    bsEllipse,
    bsArrow,
    bsCone,
    bsRectGradient
};

// The common base of the bar series: one bar per point, centred on the point's position along
// the ordering axis and running from the origin (or from the bars below it in a stack) to its
// value. Vertical bars (TBarSeries) stand along the horizontal axis and grow along Y; horizontal
// bars (THorizBarSeries) stand along the vertical axis and grow along X, which then holds the
// values.
//
// The active bar series of one kind that share both axes form a group and stand together as
// the group's first series' MultiBar says; BarLayout.h holds the arithmetic. The bars of one
// point share BarWidthPercent of the room of a point, which is the smallest distance between
// two neighbouring positions of the group.
//
// A bar is a rectangle under the canvas's rule: across the ordering axis it covers the pixels
// its slot gives it; along the value axis it covers the pixels from the one where it starts
// to the one where it ends, the higher of the two excluded (so a bar of an upright series
// keeps the row of its value and leaves the origin's row to the axis, and stacked bars meet
// without sharing a row).
class KORVATEL_EXPORT TCustomBarSeries : public TChartSeries {
public:
    ~TCustomBarSeries() override;

    // --- Properties -----------------------------------------------------------------------

    // The percent of the room of a point that its bars take together: 1 to 100, anything
    // else is refused with ChartException.
    std::int32_t BarWidthPercent() const { return FBarWidthPercent; }
    void SetBarWidthPercent(std::int32_t value);
    // How the group stands together. One choice for the chart: setting it also sets it on
    // every other bar series of this kind there.
    TMultiBar MultiBar() const { return FMultiBar; }
    void SetMultiBar(TMultiBar value);
    // Bars start at YOrigin (along the value axis, X for horizontal bars), which the value
    // axis then always shows; otherwise at the value axis's minimum.
    bool UseYOrigin() const { return FUseYOrigin; }
    void SetUseYOrigin(bool value);
    // A finite number; anything else is refused with ChartException.
    double YOrigin() const { return FYOrigin; }
    void SetYOrigin(double value);
    // The outline of the bars; hidden, the bars are filled to the same edges.
    TChartPen& BarPen() { return *FBarPen; }
    const TChartPen& BarPen() const { return *FBarPen; }
    void SetBarPen(const TChartPen& value) { FBarPen->Assign(value); }
    // The fill of the bars. Its colour clDefault takes each point's colour.
    TChartBrush& BarBrush() { return *FBarBrush; }
    const TChartBrush& BarBrush() const { return *FBarBrush; }
    void SetBarBrush(const TChartBrush& value) { FBarBrush->Assign(value); }
    // The form of the bars (default bsRectangle).
    TBarStyle BarStyle() const { return FBarStyle; }
    void SetBarStyle(TBarStyle value);

    // Whether the bars grow along X.
    bool Horizontal() const { return FHorizontal; }

    // Adds a bar of the value at the position along the ordering axis, whichever way the bars
    // grow, and returns its index as AddPoint does. AddPoint itself takes the point's X and
    // Y: for vertical bars (position, value), for horizontal bars (value, position).
    std::int32_t AddBar(double value, double position, std::string_view label = {},
                        TColor color = clDefault);

    // --- Hooks of the series ----------------------------------------------------------------

    // The values lie along Y for vertical bars and along X for horizontal ones.
    TChartValueList& MandatoryValues() override;
    // Along the value axis, the ends of the bars as stacked (and the origin, with
    // UseYOrigin); along the ordering axis, the positions.
    double SeriesMinX() const override;
    double SeriesMaxX() const override;
    double SeriesMinY() const override;
    double SeriesMaxY() const override;
    // Room along the ordering axis for half the bars of a point on either side, so that the
    // outer bars are drawn whole inside the chart rectangle; along the value axis a pixel, so
    // that a bar reaching the end keeps its outline, and room for the marks at the ends the
    // bars grow to.
    void HorizontalMargins(std::int32_t& left, std::int32_t& right) const override;
    void VerticalMargins(std::int32_t& top, std::int32_t& bottom) const override;
    // Measures the marks for the room they need (when they are shown).
    void PrepareChartDraw() override;

    // Lays out the group's bars and draws those of the visible points, with the neighbour on
    // either side so that a bar cut by the edge of the chart rectangle shows its part.
    void DrawPoints() override;
    // Draws the bar of a point as the last DrawPoints laid it out.
    void DrawPoint(std::int32_t index) override;
    // The point whose bar lies under the pixel (as last drawn), or -1.
    std::int32_t PointAtPixel(std::int32_t x, std::int32_t y) const override;
    // The mark stands beyond the end of the bar: above it (right of it for horizontal bars),
    // or below (left of) it when the bar grows the other way, at ArrowLength from it.
    void DrawPointMark(std::int32_t index, std::string_view text,
                       TSeriesMarkPosition& position) override;
    // Where the bar of a point starts along the value axis: on the bars below it, or on the
    // origin (the value axis's minimum without UseYOrigin).
    double OriginValue(std::int32_t index) const override;
    // At the point's position, the sum of the values stacked below its bar (sumAll false) or
    // of the magnitudes of every bar of the group there (sumAll true), whether or not the
    // group is stacked.
    double StackOrigin(std::int32_t index, bool sumAll) const override;
    // In 3D the bars of a group that stands side by side or stacks share one depth slot, so
    // that a stack stacks and a row of bars stands in one row; with mbNone every series has a
    // slot of its own.
    bool SharesZOrder(const TChartSeries& other) const override;
    // A box in the bars' pen and fill style, in the colour the legend prepared.
    void DrawLegendSymbol(const TRect& rect) override;
    std::int32_t SampleCount() const override { return 6; }
    std::string EditorClassName() const override { return "TBarSeriesEditor"; }
    // Another bar series also hands over its bar settings.
    void Assign(TChartSeries& source) override;

    // The bar of a point as the last repaint drew it, in chart pixels; empty when it drew
    // none.
    TRect BarBounds(std::int32_t index) const;

protected:
    explicit TCustomBarSeries(bool horizontal);

private:
    // The series that stand together with this one, in stacking order, and their points.
    struct TGroup {
        std::vector<const TCustomBarSeries*> Members;
        std::size_t Member = 0;
        std::vector<TBarValues> Values;
        TMultiBar Mode = mbNone;
    };
    // One bar as laid out by the last DrawPoints.
    struct TDrawnBar {
        TRect Bounds;
        // The bar grows up (right for horizontal bars): its mark stands above (right of) it.
        bool Forward = true;
        bool Drawn = false;
    };

    // The group's layout along the value axis, worked out again only when something it
    // depends on changed: a repaint asks for it several times (axis range, margins, drawing),
    // and every member of a group for the same points.
    struct TLayout {
        TGroup Group;
        std::vector<TBarSpan> Spans;
        double Gap = 0;
        TBarSlot Slot;
    };

    // Whether a bar series of the chart stands in this one's group.
    bool StandsWith(const TCustomBarSeries& other) const;
    TGroup CollectGroup() const;
    const TLayout& CurrentLayout() const;
    // The points as the layout reads them, positions in the ordering axis's scale.
    TBarValues LayoutValues(bool logarithmic) const;
    const TCustomChartAxis* OrderingAxis() const;
    const TCustomChartAxis* ValueAxis() const;
    // The width in pixels of the bars of one point together.
    std::int32_t GroupWidth(const TLayout& layout) const;
    // The pixels on each side of the ordering axis that the outer bars need.
    std::int32_t OrderingMargin() const;
    // The pixels beyond the value axis's end that the bars grow towards (forward: up, or right
    // for horizontal bars) and beyond its other end.
    void ValueMargins(std::int32_t& forward, std::int32_t& backward) const;
    double ValueLimit(bool wantMinimum) const;
    double Origin() const;
    void LayOutBar(std::int32_t index, const TBarSpan& span, std::int32_t groupWidth, TBarSlot slot,
                   TDrawnBar& bar) const;
    const TDrawnBar* DrawnBar(std::int32_t index) const;
    // One bar in the canvas's pen and brush, the pen set from BarPen.
    void PaintBar(TChartCanvas3D& canvas, const TRect& bounds) const;
    // A bar in its style: flat, or as a solid in the series' slab.
    void PaintStyledBar(TChartCanvas3D& canvas, const TDrawnBar& bar, bool view3D) const;
    // The solid of a bar's style and where its tip points.
    TSolidKind SolidOf(const TDrawnBar& bar, TSolidDirection& tip) const;
    // Whether this repaint draws the bars from the last to the first: in 3D, when the side
    // that shows is on the side of the first bars, so that a nearer bar covers its neighbour's
    // side, never the other way round.
    bool DrawsBackwards(const TChartCanvas3D& canvas) const;

    bool FHorizontal;
    std::int32_t FBarWidthPercent = 70;
    TMultiBar FMultiBar = mbNone;
    bool FUseYOrigin = true;
    TBarStyle FBarStyle = bsRectangle;
    double FYOrigin = 0;
    std::unique_ptr<TChartPen> FBarPen;
    std::unique_ptr<TChartBrush> FBarBrush;
    mutable TLayout FLayout;
    mutable bool FLayoutKnown = false;
    // The length of a mark with its arrow, along the value axis, when marks are shown.
    std::int32_t FMarkRoom = 0;
    // The bars of the last DrawPoints, from point FFirstDrawn on.
    std::int32_t FFirstDrawn = 0;
    std::vector<TDrawnBar> FDrawn;
    // The last DrawPoints drew its bars in 3D, from the last to the first when backwards.
    bool FDrawn3D = false;
    bool FDrawnBackwards = false;
};

} // namespace Korvatel
