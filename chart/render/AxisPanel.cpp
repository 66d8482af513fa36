// SPDX-License-Identifier: MIT
#include <korvatel/render/AxisPanel.h>

#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/core/ChartErrors.h>
#include <korvatel/data/ChartPalette.h>
#include <korvatel/data/ChartSeries.h>
#include <korvatel/core/ChartStrings.h>
#include <korvatel/core/Rounding.h>
#include <korvatel/canvas/View3DOptions.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>

namespace Korvatel {

TCustomAxisPanel::TCustomAxisPanel()
    // Each axis enters the axis list as it is created, so the list order is this order.
    : FBottomAxis(new TChartAxis(this, true, false, false)),
      FTopAxis(new TChartAxis(this, true, true, false)),
      FLeftAxis(new TChartAxis(this, false, false, false)),
      FRightAxis(new TChartAxis(this, false, true, false)), FDepthAxis(new TChartDepthAxis(this)) {}

TCustomAxisPanel::~TCustomAxisPanel() {
    MarkDestroying();
    while (FSeriesList.Count() > 0) {
        TChartSeries* series = FSeriesList[0];
        FSeriesList.Remove(series);
        series->FParentChart = nullptr;
        series->ResolveAxes();
        delete series;
    }
    // Taken out of the list first, so that no axis finds itself there while it ends.
    std::vector<TCustomChartAxis*> axes;
    axes.swap(FAxes);
    for (TCustomChartAxis* axis : axes) {
        delete axis;
    }
}

TColor TCustomAxisPanel::FreeSeriesColor() const {
    for (std::int32_t i = 0; i < SeriesPaletteSize; ++i) {
        const TColor candidate = SeriesPaletteColor(i);
        bool taken = candidate == Color() || candidate == BackColor();
        for (const TChartSeries* series : FSeriesList) {
            taken = taken || series->SeriesColor() == candidate;
        }
        if (!taken) {
            return candidate;
        }
    }
    return SeriesPaletteColor(SeriesPaletteSize);
}

void TCustomAxisPanel::AddSeries(TChartSeries* series) {
    if (series == nullptr || FSeriesList.Contains(series)) {
        return;
    }
    if (series->ParentChart() != this) {
        // Leaves its old chart first; comes back here through its own setter.
        series->SetParentChart(this);
        return;
    }
    if (series->SeriesColor() == clDefault) {
        series->SetSeriesColor(FreeSeriesColor());
    }
    series->CheckDataSource();
    FSeriesList.Append(series);
    RequestRepaint();
}

void TCustomAxisPanel::RemoveSeries(TChartSeries* series) {
    if (series == nullptr || !FSeriesList.Contains(series)) {
        return;
    }
    // The series stops following its sources; its points stay as they are, and the series
    // that follow it keep doing so until they are given another source or it is destroyed.
    series->UnlinkAllSources();
    // A cursor shown for the series' points would stay behind it.
    if (series->Cursor() != crDefault && Cursor() == series->Cursor()) {
        SetCursor(InitialCursor());
    }
    series->FParentChart = nullptr;
    series->ResolveAxes();
    FSeriesList.Remove(series);
    RequestRepaint();
}

void TCustomAxisPanel::CheckDataSource(TChartSeries& series) {
    if (Loading() || series.DataSourceList().empty()) {
        return;
    }
    series.CopyAllFrom(*series.DataSourceList().front());
}

// --- Axes ----------------------------------------------------------------------------------

void TCustomAxisPanel::ForgetAxis(TCustomChartAxis* axis) {
    FAxes.erase(std::remove(FAxes.begin(), FAxes.end(), axis), FAxes.end());
    for (TChartSeries* series : FSeriesList) {
        if (series->CustomHorizAxis() == axis) {
            series->SetCustomHorizAxis(nullptr);
        }
        if (series->CustomVertAxis() == axis) {
            series->SetCustomVertAxis(nullptr);
        }
    }
}

bool TCustomAxisPanel::FreeAxis(TCustomChartAxis* axis) {
    const bool standard = axis == FBottomAxis || axis == FTopAxis || axis == FLeftAxis ||
                          axis == FRightAxis || axis == FDepthAxis;
    if (axis == nullptr || standard || std::find(FAxes.begin(), FAxes.end(), axis) == FAxes.end()) {
        return false;
    }
    delete axis;
    RequestRepaint();
    return true;
}

void TCustomAxisPanel::SetAxisVisible(bool value) {
    if (FAxisVisible != value) {
        FAxisVisible = value;
        RequestRepaint();
    }
}

bool TCustomAxisPanel::AxisIsShown(const TCustomChartAxis& axis) const {
    if (!FAxisVisible || !axis.Visible()) {
        return false;
    }
    if (axis.IsDepth()) {
        return View3D();
    }
    // Without any active series that uses axes, every side axis is shown.
    bool shown = true;
    for (const TChartSeries* series : FSeriesList) {
        if (series->Active() && series->UsesAxes()) {
            shown = series->IsAssociatedWith(axis);
            if (shown) {
                break;
            }
        }
    }
    return shown;
}

void TCustomAxisPanel::FitSeriesMargins() {
    for (TCustomChartAxis* axis :
         {static_cast<TCustomChartAxis*>(FTopAxis), static_cast<TCustomChartAxis*>(FLeftAxis),
          static_cast<TCustomChartAxis*>(FRightAxis),
          static_cast<TCustomChartAxis*>(FBottomAxis)}) {
        // A fixed limit stays where it is, so only automatic sides make room for the series.
        TRect margins;
        for (const TChartSeries* series : FSeriesList) {
            if (!series->Active() || !series->IsAssociatedWith(*axis)) {
                continue;
            }
            std::int32_t first = 0;
            std::int32_t second = 0;
            if (axis->IsHorizontal()) {
                series->HorizontalMargins(first, second);
                if (axis->AutomaticMinimum()) {
                    margins.Left = std::max(margins.Left, first);
                }
                if (axis->AutomaticMaximum()) {
                    margins.Right = std::max(margins.Right, second);
                }
            } else {
                series->VerticalMargins(first, second);
                if (axis->AutomaticMaximum()) {
                    margins.Top = std::max(margins.Top, first);
                }
                if (axis->AutomaticMinimum()) {
                    margins.Bottom = std::max(margins.Bottom, second);
                }
            }
        }
        axis->ApplySeriesMargins(margins);
    }
}

// --- Drawing pipeline ----------------------------------------------------------------------

void TCustomAxisPanel::RenderChart(const TRect& panelRect) {
    RenderUnderSeries(panelRect);
    if (OnBeforeDrawSeries) {
        OnBeforeDrawSeries(this);
    }
    RenderAllSeries();
    // The rubber band belongs to the window's picture, not to a picture or a page.
    if (Zoom().DragActive && !Canvas().DrawingOn()) {
        DrawZoomRectangle();
    }
    Canvas().ResetDrawingState();
    if (OnAfterDraw) {
        OnAfterDraw(this);
    }
}

void TCustomAxisPanel::RenderUnderSeries(const TRect& panelRect) {
    TChartCanvas3D& canvas = Canvas();
    if (canvas.DrawingOn()) {
        // A picture or a page: drawn as it is, and the window's kept picture stays.
        PaintUnderSeries(panelRect);
        return;
    }
    // The kept picture is used only when this pass can be run again without anyone noticing:
    // no handler of ours is called while it draws.
    const bool reusable = FReuseUnderSeries && !CallsHandlersUnderSeries();
    if (!reusable) {
        canvas.ForgetBackground();
    } else if (canvas.CanVerifyBackground()) {
        // Lay the chart out and go through every drawing call, writing no pixel; when the calls
        // are those that made the kept picture, the picture is copied in instead.
        TUnderSeriesState entry;
        SaveUnderSeriesState(entry);
        canvas.BeginBackground(true, true);
        PaintUnderSeries(panelRect);
        if (canvas.EndBackground()) {
            return;
        }
        // Something changed: draw it all from the state the repaint started with, so that the
        // layout comes out as if this pass had not been made.
        RestoreUnderSeriesState(entry);
    }
    canvas.BeginBackground(false, reusable);
    PaintUnderSeries(panelRect);
    canvas.EndBackground();
}

void TCustomAxisPanel::PaintUnderSeries(const TRect& panelRect) {
    PaintPanelBackground(panelRect);
    PrepareSeriesForDrawing();
    DrawTitleBlocks();
    // What the titles and the legend leave: in 3D nothing of the series reaches beyond it.
    FSeriesArea = PlotRect();
    AssignSeriesZOrder();
    ReserveAxisSpace();
    AssignSeriesDepths();
    FitSeriesMargins();
    Canvas().SetProjectionCentre(Depth3D(), PanelBounds(), PlotRect());
    PaintWalls();
    // Axes, ticks and grid lines are drawn before the series, so the series lie over them.
    PaintAxes();
}

void TCustomAxisPanel::SaveUnderSeriesState(TUnderSeriesState& state) const {
    state.PlotRect = PlotRect();
    state.Mappings.clear();
    for (const TCustomChartAxis* axis : FAxes) {
        state.Mappings.push_back(axis->FMapping);
    }
    Canvas().SaveDrawingState(state.Drawing);
}

void TCustomAxisPanel::RestoreUnderSeriesState(const TUnderSeriesState& state) {
    SetPlotRect(state.PlotRect);
    // The label room of an axis is measured with the pixel length of the layout before.
    for (std::size_t i = 0; i < FAxes.size() && i < state.Mappings.size(); ++i) {
        FAxes[i]->FMapping = state.Mappings[i];
    }
    Canvas().RestoreDrawingState(state.Drawing);
}

void TCustomAxisPanel::SetReuseUnderSeries(bool value) {
    if (FReuseUnderSeries != value) {
        FReuseUnderSeries = value;
        Canvas().ForgetBackground();
    }
}

void TCustomAxisPanel::PrepareSeriesForDrawing() {
    // By index: a series may change the list while it prepares itself.
    for (std::int32_t i = 0; i < FSeriesList.Count(); ++i) {
        if (FSeriesList[i]->Active()) {
            FSeriesList[i]->PrepareChartDraw();
        }
    }
}

void TCustomAxisPanel::AssignSeriesZOrder() {
    SetHighestZOrder(0);
    if (!View3D()) {
        for (TChartSeries* series : FSeriesList) {
            if (series->Active()) {
                series->SetAutoZOrder(0);
            }
        }
        return;
    }
    // In 3D each active series takes a slot of the box through AssignZOrder: the next free one,
    // or the slot of an earlier series it stands or stacks with. Slots are counted from the
    // back, so the first series added ends up deepest in the box.
    SetHighestZOrder(-1);
    for (TChartSeries* series : FSeriesList) {
        if (series->Active()) {
            series->AssignZOrder();
        }
    }
    const std::int32_t highest = HighestZOrder();
    for (TChartSeries* series : FSeriesList) {
        if (series->Active()) {
            series->SetAutoZOrder(static_cast<std::int32_t>(highest - series->EffectiveZOrder()));
        }
    }
}

void TCustomAxisPanel::ComputeDepth3D() {
    if (!View3D()) {
        SetDepths3D(0, 0);
        return;
    }
    // An oblique view shows the depth foreshortened, so it is drawn twice as deep.
    // The factor is a double, the product extended: 900 x 15 x 0.001 comes out a hair above
    // 13.5 and rounds to 14.
    const long double perMille = View3DOptions().Orthogonal() ? 0.001 : 0.002;
    const std::int32_t seriesDepth =
        RoundHalfEvenLow32(static_cast<long double>(PlotWidth()) * Chart3DPercent() * perMille);
    const std::int64_t places = std::max<std::int64_t>(1, std::int64_t{HighestZOrder()} + 1);
    // The box never grows deeper than a quarter of the smaller side of the chart rectangle,
    // whatever the number of slots: more series make thinner slots, not a smaller plot.
    const std::int64_t cap = std::max<std::int64_t>(
        0, std::min<std::int64_t>(PlotWidth(), PlotHeight()) / MaxDepthShareDivisor);
    const std::int64_t depth = std::min<std::int64_t>(std::int64_t{seriesDepth} * places, cap);
    SetDepths3D(static_cast<std::int32_t>(depth / places), static_cast<std::int32_t>(depth));
}

void TCustomAxisPanel::ReserveAxisSpace() {
    for (TCustomChartAxis* axis : FAxes) {
        axis->ComputeRange();
    }
    ComputeDepth3D();
    if (View3D() && View3DOptions().Orthogonal()) {
        // The box's depth runs up and to the right of the front face.
        const std::int64_t depth = std::abs(std::int64_t{Depth3D()});
        TRect r = PlotRect();
        r.Right = ClampToInt32(r.Right - depth);
        r.Top = ClampToInt32(r.Top + depth);
        SetPlotRect(r);
    } else {
        NormalizePlotRect();
    }
    TRect r = PlotRect();
    for (std::size_t i = 0; i < FAxes.size(); ++i) {
        TCustomChartAxis* axis = FAxes[i];
        if (!AxisIsShown(*axis)) {
            continue;
        }
        // An axis whose room would leave nothing of the chart rectangle is left out.
        TRect shrunk = r;
        axis->ReserveSpace(shrunk, i < 5);
        const TRect kept = IntersectRect(shrunk, r);
        if (!kept.IsEmpty()) {
            r = kept;
        }
    }
    SetPlotRect(r);
    for (TCustomChartAxis* axis : FAxes) {
        axis->ComputePixelExtent();
    }
}

void TCustomAxisPanel::AssignSeriesDepths() {
    // The slots divide the box's depth evenly; under the depth cap a slot may be thinner than
    // SeriesDepth3D would make it, and neighbouring slots differ by a pixel at most.
    const std::int64_t depth = Depth3D();
    const std::int64_t places = std::max<std::int64_t>(1, std::int64_t{HighestZOrder()} + 1);
    for (TChartSeries* series : FSeriesList) {
        if (series->Active()) {
            const std::int64_t slot = series->AutoZOrder();
            series->SetDepths(ClampToInt32(depth * slot / places),
                              ClampToInt32(depth * (slot + 1) / places));
        }
    }
}

void TCustomAxisPanel::PaintAxes() {
    if (!FAxisVisible) {
        return;
    }
    if (OnBeforeDrawAxes) {
        OnBeforeDrawAxes(this);
    }
    for (std::size_t i = 0; i < FAxes.size(); ++i) {
        if (AxisIsShown(*FAxes[i])) {
            FAxes[i]->PaintAxis(true);
        }
    }
}

void TCustomAxisPanel::RenderAllSeries() {
    if (!View3D()) {
        for (std::int32_t i = 0; i < FSeriesList.Count(); ++i) {
            if (FSeriesList[i]->Active()) {
                RenderSeries(*FSeriesList[i]);
            }
        }
        return;
    }
    // In 3D a mark stands in front of its point, and a deeper series' solids may reach over
    // the point of a nearer one: every series' shapes are drawn first, then every mark.
    std::vector<TChartSeries*> drawn;
    for (std::int32_t i = 0; i < FSeriesList.Count(); ++i) {
        TChartSeries& series = *FSeriesList[i];
        if (series.Active() && DrawSeriesPoints(series)) {
            drawn.push_back(&series);
        }
    }
    for (TChartSeries* series : drawn) {
        // A handler of an earlier series may have removed this one from the chart.
        if (FSeriesList.Contains(series)) {
            DrawSeriesMarks(*series);
            series->FireAfterDrawValues();
        }
    }
}

bool TCustomAxisPanel::ClipToChartRectangle(bool clip) {
    if (clip) {
        Canvas().ClipToChartBox(PlotRect(), 0, Depth3D());
    }
    if (View3D()) {
        // A projected box may reach beyond the room the titles and the legend left.
        Canvas().ClipToRectangle(FSeriesArea);
        return true;
    }
    return clip;
}

bool TCustomAxisPanel::DrawSeriesPoints(TChartSeries& series) {
    series.ComputeVisibleRange();
    if (series.FirstVisible() == -1) {
        return false;
    }
    series.FireBeforeDrawValues();
    const bool clipped = ClipToChartRectangle(FClipPoints);
    series.DrawPoints();
    if (clipped) {
        Canvas().RemoveClipping();
    }
    return true;
}

void TCustomAxisPanel::DrawSeriesMarks(TChartSeries& series) {
    if (series.Marks().Visible()) {
        const bool marksClipped = ClipToChartRectangle(series.Marks().Clip());
        series.DrawMarks();
        if (marksClipped) {
            Canvas().RemoveClipping();
        }
    }
}

void TCustomAxisPanel::RenderSeries(TChartSeries& series) {
    if (DrawSeriesPoints(series)) {
        DrawSeriesMarks(series);
        series.FireAfterDrawValues();
    }
}

void TCustomAxisPanel::SetClipPoints(bool value) {
    if (FClipPoints != value) {
        FClipPoints = value;
        RequestRepaint();
    }
}

// --- Data limits ---------------------------------------------------------------------------

namespace {

// The series of the chart that an axis shows: horizontal axes take the series' horizontal
// choice, vertical axes the vertical one.
bool BelongsTo(const TChartSeries& series, const TCustomChartAxis& axis, bool horizontal) {
    if (horizontal) {
        return series.HorizAxis() == aBothHorizAxis || series.ResolvedHorizAxis() == &axis;
    }
    return series.VertAxis() == aBothVertAxis || series.ResolvedVertAxis() == &axis;
}

double SeriesLimit(const TChartSeries& series, bool wantMinimum, bool horizontal) {
    if (horizontal) {
        return wantMinimum ? series.SeriesMinX() : series.SeriesMaxX();
    }
    return wantMinimum ? series.SeriesMinY() : series.SeriesMaxY();
}

} // namespace

double TCustomAxisPanel::AxisDataLimit(const TCustomChartAxis& axis, bool wantMinimum,
                                       bool horizontal) const {
    if (axis.IsDepth()) {
        return DepthLimit(axis, wantMinimum);
    }
    // The axis's first series: the first active one associated with it, else the first
    // associated one at all.
    const TChartSeries* first = nullptr;
    const TChartSeries* firstActive = nullptr;
    for (const TChartSeries* series : FSeriesList) {
        if (series->IsAssociatedWith(axis)) {
            if (first == nullptr) {
                first = series;
            }
            if (series->Active()) {
                firstActive = series;
                break;
            }
        }
    }
    if (firstActive != nullptr) {
        first = firstActive;
    }
    // Pages run along the dimension that orders the first series.
    const bool orderingAxis = first != nullptr ? first->YIsMandatory() == horizontal : horizontal;
    if (FMaxPointsPerPage > 0 && orderingAxis) {
        return PagedLimit(first, wantMinimum, horizontal);
    }
    // Inactive series count only for an axis that no active series is associated with.
    const bool onlyActive = firstActive != nullptr;
    bool found = false;
    double result = 0;
    for (const TChartSeries* series : FSeriesList) {
        if (series->PointCount() < 1 || (onlyActive && !series->Active()) ||
            !BelongsTo(*series, axis, horizontal)) {
            continue;
        }
        const double value = SeriesLimit(*series, wantMinimum, horizontal);
        if (!found || (wantMinimum ? value < result : value > result)) {
            result = value;
            found = true;
        }
    }
    return result;
}

double TCustomAxisPanel::PagedLimit(const TChartSeries* first, bool wantMinimum,
                                    bool horizontal) const {
    if (first == nullptr || first->PointCount() < 1) {
        return 0;
    }
    // In 64 bits: page and page size are both user input and their product may not fit.
    const std::int64_t count = first->PointCount();
    const std::int64_t perPage = FMaxPointsPerPage;
    std::int64_t firstIndex = (std::int64_t{FPage} - 1) * perPage;
    if (firstIndex >= count) {
        firstIndex = std::max<std::int64_t>(0, count / perPage - 1) * perPage;
    }
    std::int64_t lastIndex = firstIndex + perPage - 1;
    if (lastIndex >= count) {
        lastIndex = firstIndex + count % perPage - 1;
    }
    lastIndex = std::clamp<std::int64_t>(lastIndex, firstIndex, count - 1);
    const double firstValue =
        first->DimensionValue(horizontal, static_cast<std::int32_t>(firstIndex));
    if (wantMinimum) {
        return firstValue;
    }
    const double lastValue =
        first->DimensionValue(horizontal, static_cast<std::int32_t>(lastIndex));
    const std::int64_t onPage = lastIndex - firstIndex + 1;
    if (!FScaleLastPage && onPage < perPage) {
        // A short last page keeps the scale of a full one.
        return StoreAsDouble(firstValue +
                             (static_cast<long double>(lastValue) - firstValue) * perPage / onPage);
    }
    return lastValue;
}

double TCustomAxisPanel::DepthLimit(const TCustomChartAxis& axis, bool wantMinimum) const {
    if (axis.EffectiveLabelStyle() != talValue) {
        // One slot per depth, centred on the whole numbers.
        return wantMinimum ? -0.5 : HighestZOrder() + 0.5;
    }
    for (const TChartSeries* series : FSeriesList) {
        if (series->Active()) {
            return wantMinimum ? series->SeriesMinZ() : series->SeriesMaxZ();
        }
    }
    return 0;
}

// --- Paging --------------------------------------------------------------------------------

std::int32_t TCustomAxisPanel::AxisPageCount(const TCustomChartAxis& axis) const {
    std::int32_t points = 0;
    for (const TChartSeries* series : FSeriesList) {
        if (series->Active() && series->IsAssociatedWith(axis)) {
            points = std::max(points, series->PointCount());
        }
    }
    if (points == 0) {
        return 1;
    }
    return static_cast<std::int32_t>((std::int64_t{points} + FMaxPointsPerPage - 1) /
                                     FMaxPointsPerPage);
}

std::int32_t TCustomAxisPanel::PageCount() const {
    if (FMaxPointsPerPage < 1 || FSeriesList.Count() == 0) {
        return 1;
    }
    if (FSeriesList[0]->YIsMandatory()) {
        return std::max(AxisPageCount(*FTopAxis), AxisPageCount(*FBottomAxis));
    }
    return std::max(AxisPageCount(*FLeftAxis), AxisPageCount(*FRightAxis));
}

void TCustomAxisPanel::SetPage(std::int32_t value) {
    const std::int32_t pages = PageCount();
    if (value > pages) {
        value = pages;
    }
    if (value < 1) {
        value = 1;
    }
    if (FPage != value) {
        FPage = value;
        RequestRepaint();
        if (OnPageChange) {
            OnPageChange(this);
        }
    }
}

void TCustomAxisPanel::SetMaxPointsPerPage(std::int32_t value) {
    if (value < 0) {
        throw ChartException(std::string(ChartStrings::MaxPointsPerPage));
    }
    if (FMaxPointsPerPage != value) {
        FMaxPointsPerPage = value;
        RequestRepaint();
    }
    const std::int32_t pages = PageCount();
    if (pages < FPage) {
        SetPage(pages);
    }
}

void TCustomAxisPanel::SetScaleLastPage(bool value) {
    if (FScaleLastPage != value) {
        FScaleLastPage = value;
        RequestRepaint();
    }
}

} // namespace Korvatel
