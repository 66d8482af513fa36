// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/axes/ChartAxis.h>
#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/render/ChartPanelExtended.h>
#include <korvatel/data/ChartSeriesList.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace Korvatel {

class TChartSeries;

// The panel with series and axes: the series list with its membership rules, the axis list
// and the paging of the ordering axis.
//
// The axis list starts with the five standard axes, in the order BottomAxis, TopAxis,
// LeftAxis, RightAxis, DepthAxis; axes created later by the user follow them. The chart owns
// every axis in the list and destroys them with itself.
class KORVATEL_EXPORT TCustomAxisPanel : public TCustomChartPanelExtended {
public:
    using TNotifyEvent = std::function<void(TCustomAxisPanel* sender)>;
    // A label text of an axis, which the handler may rewrite. For value labels series is
    // null and valueIndex -1; for labels taken from a series' point, the series and the point;
    // for the depth axis's series names, no series and the depth slot.
    using TGetAxisLabelEvent = std::function<void(TCustomChartAxis* sender, TChartSeries* series,
                                                  std::int32_t valueIndex, std::string& labelText)>;
    // Supplies the value labels of an axis one at a time: labelValue starts at the axis's
    // minimum and stop at true; the handler sets the next value and clears stop to keep going.
    // Leaving stop set on the first call gives the ordinary labels.
    using TGetNextAxisLabelEvent = std::function<void(
        TCustomChartAxis* sender, std::int32_t labelIndex, double& labelValue, bool& stop)>;

    TCustomAxisPanel();
    // Detaches and destroys every series still in the list, from the first, then every axis.
    ~TCustomAxisPanel() override;

    const TChartSeriesList& SeriesList() const { return FSeriesList; }
    // Makes the series one of this chart's (also through the series' SetParentChart).
    void AddSeries(TChartSeries* series);
    void RemoveSeries(TChartSeries* series);

    // --- Axes ----------------------------------------------------------------------------

    // The axes in list order. The chart owns them.
    const std::vector<TCustomChartAxis*>& AxisList() const { return FAxes; }
    TChartAxis& BottomAxis() const { return *FBottomAxis; }
    TChartAxis& TopAxis() const { return *FTopAxis; }
    TChartAxis& LeftAxis() const { return *FLeftAxis; }
    TChartAxis& RightAxis() const { return *FRightAxis; }
    TChartDepthAxis& DepthAxis() const { return *FDepthAxis; }
    // Destroys an axis created by the user before the chart ends; the series that used it
    // go back to their standard axes. The five standard axes stay: false for them and for
    // axes of other charts.
    bool FreeAxis(TCustomChartAxis* axis);

    // False hides every axis: none is drawn and none takes room.
    bool AxisVisible() const { return FAxisVisible; }
    void SetAxisVisible(bool value);
    // Whether the axis takes part in this layout: it and AxisVisible are on, and an active
    // series that uses axes is associated with it (or no active series uses axes at all).
    // The depth axis is shown in 3D only.
    bool AxisIsShown(const TCustomChartAxis& axis) const;

    // The smallest or largest series value that the axis must show, with paging applied to
    // the axis that orders the first series.
    double AxisDataLimit(const TCustomChartAxis& axis, bool wantMinimum, bool horizontal) const;

    // Collects the pixel margins that the series need on the top, left, right and bottom
    // axes, in this order, and hands them to each axis (only on sides with automatic limits).
    virtual void FitSeriesMargins();

    // --- Drawing pipeline ----------------------------------------------------------------

    // One repaint, step by step: background, titles, z order, axis room, series depths,
    // series margins, projection, walls, axes, series, the zoom's rubber band, and the
    // canvas put back to its resting state. Each step is a function of its own below.
    void RenderChart(const TRect& panelRect) override;
    // The axes' ranges, the 3D depth, and the room every shown axis takes off PlotRect; then
    // the axes' pixel extents in the final PlotRect. No drawing.
    virtual void ReserveAxisSpace();
    // Depth3D and SeriesDepth3D from PlotWidth and Chart3DPercent (both 0 in 2D). The whole
    // depth is at most 1 / MaxDepthShareDivisor of the smaller side of PlotRect as it stands
    // before the axes take their room; many series share it in thinner slots.
    void ComputeDepth3D();
    static constexpr std::int32_t MaxDepthShareDivisor = 4;
    // Draws one series: its visible range, its points (clipped to the chart rectangle with
    // ClipPoints) and its marks, between its BeforeDrawValues and AfterDrawValues events.
    void RenderSeries(TChartSeries& series);

    // Whether a repaint may take the picture under the series (background, titles, walls and
    // axes) from the copy the canvas kept of it, when every drawing call that would make it is
    // the same as the last time (see TChartCanvas3D::BeginBackground). On by default; the
    // pixels are the same either way.
    bool ReuseUnderSeries() const { return FReuseUnderSeries; }
    void SetReuseUnderSeries(bool value);

    // Whether drawing under the series calls a handler of the program; such a pass is drawn
    // every time, since the handler may expect its calls.
    virtual bool CallsHandlersUnderSeries() const {
        return OnBeforeDrawAxes || OnGetAxisLabel || OnGetNextAxisLabel;
    }

    // Series drawing is clipped to the inside of the chart rectangle.
    bool ClipPoints() const { return FClipPoints; }
    void SetClipPoints(bool value);

    // Raised by every repaint, with the chart as sender: before the axes are drawn (only when
    // AxisVisible), before the series, and at the very end.
    TNotifyEvent OnBeforeDrawAxes;
    TNotifyEvent OnBeforeDrawSeries;
    TNotifyEvent OnAfterDraw;

    // --- Paging --------------------------------------------------------------------------

    // Points per page along the ordering axis; 0 switches paging off, below 0 is refused
    // (ChartException). A page beyond the new page count moves back to the last page.
    std::int32_t MaxPointsPerPage() const { return FMaxPointsPerPage; }
    void SetMaxPointsPerPage(std::int32_t value);
    // The current page, counted from 1; kept between 1 and PageCount.
    std::int32_t Page() const { return FPage; }
    virtual void SetPage(std::int32_t value);
    // A short last page is spread over the whole axis; otherwise it keeps a full page's scale.
    bool ScaleLastPage() const { return FScaleLastPage; }
    void SetScaleLastPage(bool value);
    std::int32_t PageCount() const;
    // Fired after Page changed.
    TNotifyEvent OnPageChange;

    // --- Axis label events -----------------------------------------------------------------

    TGetAxisLabelEvent OnGetAxisLabel;
    TGetNextAxisLabelEvent OnGetNextAxisLabel;

    // The colour of the back wall; a series colour equal to it would not show.
    virtual TColor BackColor() const { return clDefault; }

    // Drawing steps that the chart with titles, walls and a legend provides: the title and
    // foot blocks (which take their room off PlotRect), the walls, and the thickness of the
    // wall along an axis (0 unless the chart shows 3D walls).
    virtual void DrawTitleBlocks() {}
    virtual void PaintWalls() {}
    virtual std::int32_t AxisWallSize(const TCustomChartAxis& /*axis*/) const { return 0; }

    // The cancel-mouse flag: a click handler that leaves it set claims the press it was
    // called for, which then starts neither a zoom nor a scroll (TCustomChart::MouseDown).
    bool CancelMouse() const { return FCancelMouse; }
    void SetCancelMouse(bool value) { FCancelMouse = value; }
    // Calls a click handler with the flag set and answers whether the handler claimed the
    // press by leaving it set; false without a handler.
    template <typename THandler, typename... TArguments>
    bool OfferPress(const THandler& handler, TArguments&&... arguments) {
        if (!handler) {
            return false;
        }
        FCancelMouse = true;
        handler(std::forward<TArguments>(arguments)...);
        return FCancelMouse;
    }

    // A series' data source changed: let it take its points again.
    virtual void CheckDataSource(TChartSeries& series);

private:
    friend class TCustomChartAxis;

    // What a pass under the series changes and must find as it was when it is run again.
    struct TUnderSeriesState {
        TRect PlotRect;
        std::vector<TAxisMapping> Mappings;
        TChartCanvas3D::TDrawingState Drawing;
    };

    // Steps of RenderChart.
    // Everything under the series, drawn or taken from the kept picture.
    void RenderUnderSeries(const TRect& panelRect);
    void PaintUnderSeries(const TRect& panelRect);
    void SaveUnderSeriesState(TUnderSeriesState& state) const;
    void RestoreUnderSeriesState(const TUnderSeriesState& state);
    void PrepareSeriesForDrawing();
    void AssignSeriesZOrder();
    void AssignSeriesDepths();
    void PaintAxes();
    void RenderAllSeries();
    // Applies the clip of series drawing (ClipToChartBox) when on, and in 3D the room left by
    // the titles and the legend; answers whether it clipped.
    bool ClipToChartRectangle(bool clip);
    // The two halves of RenderSeries: the points (false when none is visible; then nothing
    // else is drawn of the series), and the marks.
    bool DrawSeriesPoints(TChartSeries& series);
    void DrawSeriesMarks(TChartSeries& series);

    // Called by every axis as it is created and destroyed.
    void RegisterAxis(TCustomChartAxis* axis) { FAxes.push_back(axis); }
    void ForgetAxis(TCustomChartAxis* axis);

    TColor FreeSeriesColor() const;
    double PagedLimit(const TChartSeries* first, bool wantMinimum, bool horizontal) const;
    double DepthLimit(const TCustomChartAxis& axis, bool wantMinimum) const;
    std::int32_t AxisPageCount(const TCustomChartAxis& axis) const;

    TChartSeriesList FSeriesList{this};
    bool FAxisVisible = true;
    bool FClipPoints = true;
    bool FReuseUnderSeries = true;
    std::int32_t FMaxPointsPerPage = 0;
    std::int32_t FPage = 1;
    bool FScaleLastPage = true;
    bool FCancelMouse = false;
    // PlotRect as the titles and the legend left it in the current repaint.
    TRect FSeriesArea;
    // Filled by the axes themselves as they are created, so it is declared before them.
    std::vector<TCustomChartAxis*> FAxes;
    TChartAxis* FBottomAxis;
    TChartAxis* FTopAxis;
    TChartAxis* FLeftAxis;
    TChartAxis* FRightAxis;
    TChartDepthAxis* FDepthAxis;
};

} // namespace Korvatel
