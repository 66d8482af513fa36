// SPDX-License-Identifier: MIT
#include <korvatel/render/CustomChart.h>

#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/data/ChartSeries.h>
#include <korvatel/render/ChartWindow.h>
#include <korvatel/canvas/SystemColors.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <utility>
#include <vector>

namespace Korvatel {

namespace {

// The fixed gap between a title block and the chart rectangle.
constexpr std::int64_t BlockGap = 5;

// The default colour of the left wall: red 255, green 255, blue 128, a pale yellow.
constexpr TColor LeftWallColor = 8454143;

// Block geometry is computed in 64 bits (a frame width or a list of lines may be absurdly
// large); what is stored as a pixel is kept inside 32 bits.
std::int32_t Saturated(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// The canvas brush colour of a hatch whose brush has no colour of its own.
void ResolveHatchColor(TChartBrush& brush) {
    if (brush.Color() == clDefault) {
        brush.SetColor(clBlack);
    }
}

// Every key of the set is held (buttons and the double-click flag do not count as keys).
bool HoldsKeys(const TShiftState& shift, const TShiftState& keys) {
    return (!keys.Shift || shift.Shift) && (!keys.Alt || shift.Alt) && (!keys.Ctrl || shift.Ctrl);
}

TAxisRange RangeOf(const TCustomChartAxis& axis) {
    return {axis.Minimum(), axis.Maximum()};
}

} // namespace

TCustomChart::TCustomChart()
    : FTitle(this), FFoot(this), FBackWall(this, clDefault, bsClear),
      FLeftWall(this, LeftWallColor), FLegend(this), FBottomWall(this, clWhite) {}

bool TCustomChart::CallsHandlersUnderSeries() const {
    return TCustomAxisPanel::CallsHandlersUnderSeries() || OnGetLegendText;
}

void TCustomChart::SetBackColor(TColor value) {
    FBackWall.SetColor(value);
    if (!Loading()) {
        FBackWall.Brush().SetStyle(bsSolid);
    }
}

bool TCustomChart::HasActiveSeries() const {
    const TChartSeriesList& list = SeriesList();
    return std::any_of(list.begin(), list.end(),
                       [](const TChartSeries* series) { return series->Active(); });
}

// --- Title blocks ------------------------------------------------------------------------------

void TCustomChart::DrawTitleBlocks() {
    TChartCanvas3D& canvas = Canvas();
    canvas.EnterFrontPlane();
    const auto drawTitles = [this] {
        if (FTitle.Visible()) {
            DrawBlock(FTitle, true);
        }
        if (FFoot.Visible()) {
            DrawBlock(FFoot, false);
        }
    };
    // Without active series the legend lists nothing, unless its check boxes keep inactive
    // series listed (so that they can be switched on again); it finds that out itself.
    if (!FLegend.Visible()) {
        drawTitles();
    } else if (FLegend.Alignment() == laLeft || FLegend.Alignment() == laRight) {
        // A legend beside the chart rectangle takes the full height; the blocks then span
        // only what it leaves.
        DrawLegend();
        drawTitles();
    } else {
        drawTitles();
        DrawLegend();
    }
    canvas.LeaveFrontPlane();
}

void TCustomChart::ApplyBlockBackground(TChartTitle& title) {
    TChartCanvas3D& canvas = Canvas();
    TChartBrush& target = canvas.Brush();
    const TChartBrush& brush = title.Brush();
    const TColor color = title.Color();
    if (color == clDefault) {
        if (brush.Style() != bsSolid) {
            // A hatch (or no fill) of the block's brush, over whatever lies behind it.
            target.Assign(brush);
            ResolveHatchColor(target);
            canvas.SetTextBackgroundMode(cbmTransparent);
        } else if (brush.Color() == clDefault) {
            target.ClearImage();
            target.SetStyle(bsClear);
        } else {
            // The block adopts its brush colour for good; the property change asks for a
            // repaint. This pass already fills in the adopted colour, so the picture is right
            // from the first repaint on.
            title.SetColor(brush.Color());
            target.ClearImage();
            target.SetColor(brush.Color());
            target.SetStyle(bsSolid);
        }
    } else if (brush.Style() != bsSolid) {
        // The hatch lines in the brush colour over the block's colour.
        target.Assign(brush);
        ResolveHatchColor(target);
        canvas.SetTextBackgroundColor(color);
        canvas.SetTextBackgroundMode(cbmOpaque);
    } else {
        target.ClearImage();
        target.SetColor(color);
        target.SetStyle(bsSolid);
    }
}

void TCustomChart::DrawBlock(TChartTitle& title, bool onTop) {
    TChartCanvas3D& canvas = Canvas();
    SelectFont(title.Font());
    const std::int64_t h = canvas.TextRowHeight();
    ApplyBlockBackground(title);

    // A frame without a colour of its own is not drawn and takes no room; a negative width
    // takes none either.
    const TChartPen& frame = title.Frame();
    const bool frameCounts = frame.Visible() && frame.Color() != clDefault;
    const std::int64_t f = frameCounts ? std::max(frame.Width(), 0) : 0;

    // The edges the lines are placed by; the frame lies outside them.
    const TRect plot = PlotRect();
    const std::int64_t left = plot.Left + f;
    const std::int64_t right = plot.Right - f;
    std::int64_t top = 0;
    std::int64_t bottom = 0;
    if (onTop) {
        top = plot.Top + f;
        bottom = top - BlockGap;
    } else {
        bottom = plot.Bottom - f;
        top = bottom + BlockGap;
    }

    TChartPen& pen = canvas.Pen();
    if (frameCounts) {
        pen.SetColor(frame.Color());
        pen.SetWidth(frame.Width());
        pen.SetStyle(frame.Style());
        pen.SetMode(frame.Mode());
        pen.SetSmallDots(false);
        pen.SetVisible(true);
    } else {
        pen.SetStyle(psClear);
    }

    const std::vector<std::string>& lines = title.Text();
    const auto n = static_cast<std::int64_t>(lines.size());
    std::int64_t blockLeft = left - f;
    std::int64_t blockRight = right + f;
    const std::int64_t blockTop = (onTop ? top : bottom - n * h) - f;
    const std::int64_t blockBottom = (onTop ? top + n * h : bottom) + f;

    const std::int64_t w = canvas.MeasureTextWidth("W");
    std::vector<std::int64_t> widths;
    widths.reserve(lines.size());
    for (const std::string& line : lines) {
        widths.push_back(canvas.MeasureTextWidth(line));
    }

    const bool fills = canvas.Brush().Style() != bsClear || canvas.Brush().HasImage();
    if (frameCounts || fills) {
        if (title.AdjustFrame()) {
            const std::int64_t widest =
                widths.empty() ? 0 : *std::max_element(widths.begin(), widths.end());
            const std::int64_t m = widest + w;
            switch (title.Alignment()) {
            case taLeftJustify:
                blockRight = blockLeft + m;
                break;
            case taRightJustify:
                blockLeft = blockRight - m;
                break;
            case taCenter: {
                const std::int64_t c = (blockLeft + blockRight) / 2;
                blockLeft = c - m / 2;
                blockRight = c + m / 2;
                break;
            }
            }
        }
        canvas.DrawRectangle(Saturated(blockLeft), Saturated(blockTop), Saturated(blockRight),
                             Saturated(blockBottom));
    }
    title.SetBlockRect(
        {Saturated(blockLeft), Saturated(blockTop), Saturated(blockRight), Saturated(blockBottom)});

    canvas.SetTextBackgroundMode(cbmTransparent);
    const auto lineX = [&](std::int64_t t) {
        switch (title.Alignment()) {
        case taLeftJustify:
            return left + w / 2;
        case taRightJustify:
            return right - t - w / 2;
        case taCenter:
            break;
        }
        return (left + right) / 2 - t / 2;
    };
    // A foot grows upwards from its bottom edge; either way the lines read from top to bottom
    // in list order.
    if (onTop) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            canvas.DrawTextAt(Saturated(lineX(widths[i])), Saturated(top), lines[i]);
            top += h;
        }
        bottom = n > 0 ? top : bottom;
    } else {
        for (std::size_t i = lines.size(); i-- > 0;) {
            bottom -= h;
            canvas.DrawTextAt(Saturated(lineX(widths[i])), Saturated(bottom), lines[i]);
        }
        top = n > 0 ? bottom : top;
    }

    TRect shrunk = plot;
    if (onTop) {
        shrunk.Top = Saturated(bottom + f + BlockGap);
    } else {
        shrunk.Bottom = Saturated(top - f - BlockGap);
    }
    SetPlotRect(shrunk);
}

// --- Walls -------------------------------------------------------------------------------------

void TCustomChart::ApplyBrushStyle(TColor color, TBrushStyle style, TColor backColor) {
    TChartCanvas3D& canvas = Canvas();
    if (color == clDefault) {
        color = clBlack;
    }
    if (style != bsSolid && color == backColor) {
        color = backColor == clBlack ? clWhite : clBlack;
    }
    canvas.Brush().SetColor(color);
    canvas.Brush().SetStyle(style);
    if (style == bsSolid || backColor == clDefault) {
        canvas.SetTextBackgroundMode(cbmTransparent);
    } else {
        // The gaps between the hatch lines show the background colour.
        canvas.SetTextBackgroundColor(backColor);
        canvas.SetTextBackgroundMode(cbmOpaque);
    }
}

void TCustomChart::ApplyWallStyle(const TCustomChartWall& wall) {
    TChartCanvas3D& canvas = Canvas();
    canvas.ApplyChartPen(wall.Pen());
    if (wall.Brush().HasImage()) {
        canvas.Brush().SetImage(wall.Brush().Image());
        return;
    }
    canvas.Brush().ClearImage();
    if (wall.Color() == clDefault && wall.Brush().Style() == bsSolid) {
        canvas.Brush().SetStyle(bsClear);
        return;
    }
    ApplyBrushStyle(wall.Color(), wall.Brush().Style(), wall.Brush().Color());
}

void TCustomChart::PaintWalls() {
    ApplyWallStyle(FBackWall);
    if (View3D()) {
        PaintWalls3D();
        return;
    }
    // One pixel wider and higher than PlotRect, so that the outline also runs on its right and
    // bottom edge: the series are clipped to the inside of this frame.
    const TRect& r = PlotRect();
    Canvas().DrawRectangle(r.Left, r.Top, Saturated(std::int64_t{r.Right} + 1),
                           Saturated(std::int64_t{r.Bottom} + 1));
    DrawBackImageOnWall(r, 0);
}

void TCustomChart::DrawBackImageOnWall(const TRect& face, std::int32_t z) {
    if (!BackImageInside() || BackImage().isNull()) {
        return;
    }
    // The wall's outline runs on all four edges of its face; the picture covers what lies
    // between them, which is the wall's fill. In a rotated 3D view the face is no rectangle,
    // and the picture takes the rectangle between its top left and bottom right corners.
    const TPoint a = Canvas().ProjectPoint(face.Left, face.Top, z);
    const TPoint b = Canvas().ProjectPoint(face.Right, face.Bottom, z);
    const TChartPen& pen = FBackWall.Pen();
    const std::int64_t inset = pen.Visible() && pen.Style() != psClear ? 1 : 0;
    DrawBackImage({Saturated(a.X + inset), Saturated(a.Y + inset), b.X, b.Y});
}

std::int32_t TCustomChart::AxisWallSize(const TCustomChartAxis& axis) const {
    if (!View3D() || !View3DWalls()) {
        return 0;
    }
    // A wall thinner than nothing leaves the axis where a flat wall would.
    if (&axis == &LeftAxis()) {
        return std::max(FLeftWall.Size(), 0);
    }
    if (&axis == &BottomAxis()) {
        return std::max(FBottomWall.Size(), 0);
    }
    return 0;
}

void TCustomChart::PaintWalls3D() {
    // Walls belong to the axes' box: a chart of series that use no axes (pies) stands free of
    // them, as it stands free of axes.
    const TChartSeriesList& list = SeriesList();
    if (HasActiveSeries() && std::none_of(list.begin(), list.end(), [](const TChartSeries* series) {
            return series->Active() && series->UsesAxes();
        })) {
        return;
    }
    const TRect& r = PlotRect();
    const std::int32_t depth = Depth3D();
    const bool walls = View3DWalls();
    // Without 3D walls the back wall is still drawn, as a plane: its thickness, like that of
    // the other walls, takes no room in the layout then.
    if (!walls || FBackWall.Size() < 1) {
        const TRect face{Saturated(std::int64_t{r.Left} + 1), Saturated(std::int64_t{r.Top} - 1),
                         r.Right, r.Bottom};
        Canvas().DrawRectangle3D(face, depth);
        DrawBackImageOnWall(face, depth);
    } else {
        const TRect face{Saturated(std::int64_t{r.Left} - AxisWallSize(LeftAxis())), r.Top, r.Right,
                         Saturated(std::int64_t{r.Bottom} + AxisWallSize(BottomAxis()))};
        DrawWallBox(face, depth, Saturated(std::int64_t{depth} + FBackWall.Size()),
                    FBackWall.Dark3D());
        DrawBackImageOnWall(face, depth);
    }
    if (!walls) {
        return;
    }

    ApplyWallStyle(FLeftWall);
    const std::int32_t leftDepth = Saturated(std::int64_t{depth} + 1);
    if (FLeftWall.Size() < 1) {
        DrawWallPlane({{r.Left, r.Top}, {r.Left, r.Top}, {r.Left, r.Bottom}, {r.Left, r.Bottom}},
                      {0, leftDepth, leftDepth, 0});
    } else {
        DrawWallBox({Saturated(std::int64_t{r.Left} - FLeftWall.Size()), r.Top, r.Left, r.Bottom},
                    0, leftDepth, FLeftWall.Dark3D());
    }

    ApplyWallStyle(FBottomWall);
    if (FBottomWall.Size() < 1) {
        DrawWallPlane(
            {{r.Left, r.Bottom}, {r.Right, r.Bottom}, {r.Right, r.Bottom}, {r.Left, r.Bottom}},
            {0, 0, depth, depth});
    } else {
        DrawWallBox(
            {r.Left, r.Bottom, r.Right, Saturated(std::int64_t{r.Bottom} + FBottomWall.Size())}, 0,
            depth, FBottomWall.Dark3D());
    }
}

void TCustomChart::DrawWallPlane(const TPoint (&corners)[4], const std::int32_t (&depths)[4]) {
    TChartCanvas3D& canvas = Canvas();
    TPoint projected[4];
    for (std::size_t i = 0; i < 4; ++i) {
        projected[i] = canvas.ProjectPoint(corners[i].X, corners[i].Y, depths[i]);
    }
    canvas.DrawPolygon(projected);
}

void TCustomChart::DrawWallBox(const TRect& face, std::int32_t z0, std::int32_t z1, bool dark) {
    // The face's corners are points of the outline; a solid takes the pixels it covers, whose
    // last column and row are those corners.
    Canvas().DrawCube({face.Left, face.Top, Saturated(std::int64_t{face.Right} + 1),
                       Saturated(std::int64_t{face.Bottom} + 1)},
                      z0, z1, dark);
}

// --- Mouse -------------------------------------------------------------------------------------

std::array<TCustomChartAxis*, 4> TCustomChart::SideAxes() const {
    return {&TopAxis(), &BottomAxis(), &LeftAxis(), &RightAxis()};
}

TChartPart TCustomChart::ChartPartAt(std::int32_t x, std::int32_t y) const {
    // The series drawn last lies on top, so it is asked first.
    const TChartSeriesList& list = SeriesList();
    for (std::int32_t i = list.Count() - 1; i >= 0; --i) {
        TChartSeries* series = list[i];
        if (!series->Active()) {
            continue;
        }
        const std::int32_t index = series->PointAtPixel(x, y);
        if (index != -1) {
            return {cpSeries, series, index, nullptr};
        }
    }
    for (TCustomChartAxis* axis : AxisList()) {
        if (axis->ClickedAt(x, y)) {
            return {cpAxis, nullptr, -1, axis};
        }
    }
    if (FTitle.ContainsPoint(x, y)) {
        return {cpTitle};
    }
    if (FFoot.ContainsPoint(x, y)) {
        return {cpFoot};
    }
    if (PlotRect().Contains(x, y) && HasActiveSeries()) {
        return {cpPlotArea};
    }
    if (FLegend.Visible() && LegendContainsPoint(x, y)) {
        return {cpLegend};
    }
    return {};
}

void TCustomChart::MouseDown(TMouseButton button, TShiftState shift, std::int32_t x,
                             std::int32_t y) {
    if (OnMouseDown) {
        OnMouseDown(this, button, shift, x, y);
    }
    // One drag at a time: presses during a drag are ignored.
    if (Zoom().DragActive || Scroll().DragActive) {
        return;
    }
    // An OnMouseDown handler that set the flag has taken the press for itself.
    if (CancelMouse()) {
        SetCancelMouse(false);
        return;
    }

    // The flag belongs to this press only: it is cleared when the press has been handled,
    // also when a click handler raised an error, so that the next press is not swallowed.
    struct TClearCancelMouse {
        TCustomChart& Chart;
        ~TClearCancelMouse() { Chart.SetCancelMouse(false); }
    } clearCancelMouse{*this};

    const TChartPart part = ChartPartAt(x, y);
    bool claimed = false;
    // A press on the plot area offers itself to OnClickBackground before it may start a drag;
    // one that starts nothing must not be offered a second time.
    bool backgroundOffered = false;
    const auto offerBackground = [&] {
        backgroundOffered = true;
        return OfferPress(OnClickBackground, this, button, shift, x, y);
    };
    switch (part.Kind) {
    case cpLegend:
        // The legend's own answer to a click (a check box) comes after the handler's, which may
        // claim the press for itself; a legend starts no drag.
        claimed = OfferPress(OnClickLegend, this, button, shift, x, y);
        if (!claimed && button == mbLeft) {
            claimed = FLegend.ToggleSeriesAt(x, y);
        }
        break;
    case cpAxis:
        claimed = OfferPress(OnClickAxis, this, part.Axis, button, shift, x, y);
        if (!claimed) {
            claimed = StartDrag(button, shift, x, y);
        }
        break;
    case cpSeries:
        claimed = part.Series->SeriesMouseDown(part.PointIndex, button, shift, x, y);
        if (OnClickSeries) {
            claimed =
                OfferPress(OnClickSeries, this, part.Series, part.PointIndex, button, shift, x, y);
        }
        if (!claimed) {
            claimed = StartDrag(button, shift, x, y);
        }
        break;
    case cpPlotArea:
        claimed = offerBackground();
        if (!claimed) {
            claimed = StartDrag(button, shift, x, y);
        }
        break;
    case cpTitle:
    case cpFoot:
    case cpNone:
        break;
    }
    if (!claimed && !backgroundOffered) {
        offerBackground();
    }
}

bool TCustomChart::StartDrag(TMouseButton button, TShiftState shift, std::int32_t x,
                             std::int32_t y) {
    bool started = false;
    if (AllowZoom() && button == ChartMouse::ZoomMouseButton &&
        HoldsKeys(shift, ChartMouse::ZoomKeyShift)) {
        SetCursor(crDefault);
        Zoom().Start(x, y);
        ToggleZoomBand();
        started = true;
    }
    if (AllowPanning() != pmNone && button == ChartMouse::ScrollMouseButton &&
        HoldsKeys(shift, ChartMouse::ScrollKeyShift)) {
        SetCursor(crDefault);
        Scroll().Start(x, y);
        started = true;
    }
    return started;
}

void TCustomChart::ToggleZoomBand() {
    // Between repaints the canvas draws onto its kept picture: the band is in the picture at
    // once, and the window only has to show it again. Marking the picture dirty instead would
    // draw the whole chart anew for every move of the mouse.
    DrawZoomRectangle();
    // The band alone is drawn in not-xor; whatever the canvas draws next draws over.
    Canvas().Pen().SetMode(pmCopy);
    if (Window() != nullptr) {
        Window()->Invalidate();
    }
}

void TCustomChart::MouseMove(TShiftState shift, std::int32_t x, std::int32_t y) {
    if (OnMouseMove) {
        OnMouseMove(this, shift, x, y);
    }
    if (Zoom().DragActive) {
        DragZoomCorner(x, y);
    } else if (Scroll().DragActive) {
        DragScroll(x, y);
    } else {
        TrackSeriesCursor(shift, x, y);
    }
}

void TCustomChart::DragZoomCorner(std::int32_t x, std::int32_t y) {
    TZoomPanningRecord& zoom = Zoom();
    if (x == zoom.CurrentX && y == zoom.CurrentY) {
        return;
    }
    // The corner follows the mouse anywhere, also outside the chart rectangle.
    ToggleZoomBand();
    zoom.CurrentX = x;
    zoom.CurrentY = y;
    ToggleZoomBand();
}

void TCustomChart::DragScroll(std::int32_t x, std::int32_t y) {
    TZoomPanningRecord& scroll = Scroll();
    // Leaving the chart rectangle ends the scroll; coming back does not resume it.
    if (!PlotRect().Contains(x, y)) {
        scroll.DragActive = false;
        return;
    }
    if (x == scroll.CurrentX && y == scroll.CurrentY) {
        return;
    }
    if (FScalesRestored) {
        SaveAxisScales();
    }
    const bool horizontal = ScrollAxes(true, x, scroll.CurrentX);
    const bool vertical = ScrollAxes(false, y, scroll.CurrentY);
    // The next step is measured from here.
    scroll.CurrentX = x;
    scroll.CurrentY = y;
    if (horizontal || vertical) {
        if (OnScroll) {
            OnScroll(this);
        }
        RequestRepaint();
    }
}

void TCustomChart::TrackSeriesCursor(TShiftState shift, std::int32_t x, std::int32_t y) {
    // By index: a series' handler may change the list.
    const TChartSeriesList& list = SeriesList();
    bool shown = false;
    for (std::int32_t i = 0; i < list.Count(); ++i) {
        const TChartSeries* series = list[i];
        // The cheap test first: the hit test walks the series' visible points.
        if (series->Active() && series->Cursor() != crDefault && series->PointAtPixel(x, y) != -1) {
            SetCursor(series->Cursor());
            shown = true;
            break;
        }
    }
    for (std::int32_t i = 0; i < list.Count(); ++i) {
        list[i]->SeriesMouseMove(shift, x, y);
    }
    if (!shown) {
        SetCursor(InitialCursor());
    }
}

void TCustomChart::MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) {
    if (OnMouseUp) {
        OnMouseUp(this, button, shift, x, y);
    }
    const TChartSeriesList& list = SeriesList();
    for (std::int32_t i = 0; i < list.Count(); ++i) {
        list[i]->SeriesMouseUp(button, shift, x, y);
    }
    if (Zoom().DragActive && button == ChartMouse::ZoomMouseButton) {
        EndZoomDrag(x, y);
    }
    // Any button ends a scroll.
    Scroll().DragActive = false;
}

void TCustomChart::EndZoomDrag(std::int32_t x, std::int32_t y) {
    TZoomPanningRecord& zoom = Zoom();
    zoom.DragActive = false;
    // Removes the band; the pen is back in copy mode afterwards.
    ToggleZoomBand();
    zoom.CurrentX = x;
    zoom.CurrentY = y;
    // In 64 bits: positions from the window may lie anywhere.
    const std::int64_t dx = std::int64_t{x} - zoom.AnchorX;
    const std::int64_t dy = std::int64_t{y} - zoom.AnchorY;
    if (std::llabs(dx) <= ChartMouse::ZoomMinimumDrag ||
        std::llabs(dy) <= ChartMouse::ZoomMinimumDrag) {
        return;
    }
    // Right and down zooms in; any other direction undoes.
    if (dx > 0 && dy > 0) {
        ZoomToRectangle();
    } else {
        RevertZoom();
    }
    RequestRepaint();
}

void TCustomChart::ZoomToRectangle() {
    TZoomPanningRecord& zoom = Zoom();
    zoom.Normalize();
    const std::int32_t left = zoom.AnchorX;
    const std::int32_t top = zoom.AnchorY;
    const std::int32_t right = zoom.CurrentX;
    const std::int32_t bottom = zoom.CurrentY;
    ApplyZoom(RangeBetweenPixels(TopAxis().Mapping(), left, right),
              RangeBetweenPixels(BottomAxis().Mapping(), left, right),
              RangeBetweenPixels(LeftAxis().Mapping(), bottom, top),
              RangeBetweenPixels(RightAxis().Mapping(), bottom, top));
}

void TCustomChart::ApplyZoom(const TAxisRange& top, const TAxisRange& bottom,
                             const TAxisRange& left, const TAxisRange& right) {
    if (FScalesRestored) {
        SaveAxisScales();
    }
    // A target that is not finite (a zoom beyond the double range) leaves its axis alone.
    const std::array<std::pair<TCustomChartAxis*, TAxisRange>, 4> targets{
        {{&LeftAxis(), left}, {&RightAxis(), right}, {&TopAxis(), top}, {&BottomAxis(), bottom}}};
    if (AnimatedZoom()) {
        for (std::int32_t step = 1; step < AnimatedZoomSteps(); ++step) {
            bool moved = false;
            for (const auto& [axis, target] : targets) {
                if (IsFiniteRange(target)) {
                    const TAxisRange current = RangeOf(*axis);
                    const TAxisRange next =
                        AnimatedZoomStep(current, target, ChartMouse::AnimatedZoomFactor);
                    moved = moved || !(next == current);
                    axis->AssignRange(next.Minimum, next.Maximum);
                }
            }
            // Each step covers a third of the remaining way, so after some dozens of steps the
            // ranges no longer change in double precision; the further steps would only paint
            // the same picture again (for a count near the integer limit, for hours).
            if (!moved) {
                break;
            }
            // Every step is shown, not merely requested: the requests would merge into one.
            RepaintImmediately();
        }
    }
    for (const auto& [axis, target] : targets) {
        if (IsFiniteRange(target)) {
            axis->AssignRange(target.Minimum, target.Maximum);
        }
    }
    if (OnZoom) {
        OnZoom(this);
    }
}

void TCustomChart::SaveAxisScales() {
    const std::array<TCustomChartAxis*, 4> axes = SideAxes();
    for (std::size_t i = 0; i < axes.size(); ++i) {
        const TCustomChartAxis& axis = *axes[i];
        FSavedAxisScales[i] = {axis.Automatic(), axis.AutomaticMinimum(), axis.AutomaticMaximum(),
                               axis.Minimum(), axis.Maximum()};
    }
    FScalesRestored = false;
}

void TCustomChart::RevertZoom() {
    if (!FScalesRestored) {
        const std::array<TCustomChartAxis*, 4> axes = SideAxes();
        for (std::size_t i = 0; i < axes.size(); ++i) {
            TCustomChartAxis& axis = *axes[i];
            const TSavedAxisScale& saved = FSavedAxisScales[i];
            axis.SetAutomatic(saved.Automatic);
            axis.SetAutomaticMinimum(saved.AutomaticMinimum);
            axis.SetAutomaticMaximum(saved.AutomaticMaximum);
            if (!axis.Automatic()) {
                axis.AssignRange(saved.Minimum, saved.Maximum);
                // AssignRange fixes both limits; an axis that took one of them from its series
                // takes it from there again.
                axis.SetAutomaticMinimum(saved.AutomaticMinimum);
                axis.SetAutomaticMaximum(saved.AutomaticMaximum);
            }
        }
    }
    FScalesRestored = true;
    if (OnUndoZoom) {
        OnUndoZoom(this);
    }
    RequestRepaint();
}

bool TCustomChart::ScrollAxes(bool horizontal, std::int32_t current, std::int32_t last) {
    if (current == last) {
        return false;
    }
    const TPanningMode mode = horizontal ? pmHorizontal : pmVertical;
    if (AllowPanning() != mode && AllowPanning() != pmBoth) {
        return false;
    }
    // By index: an OnAllowScroll handler may free an axis.
    const std::vector<TCustomChartAxis*>& axes = AxisList();
    for (std::size_t i = 0; i < axes.size(); ++i) {
        TCustomChartAxis* axis = axes[i];
        if (axis->IsDepth() || axis->IsHorizontal() != horizontal) {
            continue;
        }
        TAxisRange range = ScrolledRange(RangeOf(*axis), axis->Mapping(), current, last);
        bool allowScroll = true;
        if (OnAllowScroll) {
            OnAllowScroll(axis, range.Minimum, range.Maximum, allowScroll);
        }
        if (allowScroll && IsFiniteRange(range)) {
            axis->AssignRange(range.Minimum, range.Maximum);
        }
    }
    return true;
}

void TCustomChart::CancelDrags() {
    if (Zoom().DragActive) {
        Zoom().DragActive = false;
        ToggleZoomBand();
    }
    Scroll().DragActive = false;
}

void TCustomChart::MouseWheel(bool down, TShiftState shift, std::int32_t x, std::int32_t y) {
    TChartMouseMoveEvent& handler = down ? OnMouseWheelDown : OnMouseWheelUp;
    if (handler) {
        handler(this, shift, x, y);
    }
    WheelScroll(down);
}

void TCustomChart::WheelScroll(bool down) {
    // Every axis shift paints the chart at once; the axes of one step move together, so the
    // step is painted once, after the last of them.
    const bool repaintEnabled = RepaintEnabled();
    SetRepaintEnabled(false);
    bool shifted = false;
    const std::vector<TCustomChartAxis*>& axes = AxisList();
    for (std::size_t i = 0; i < axes.size(); ++i) {
        TCustomChartAxis* axis = axes[i];
        if (axis->IsHorizontal()) {
            continue;
        }
        const TAxisRange range = RangeOf(*axis);
        const double offset = WheelScrollOffset(range, down);
        if (!IsFiniteRange({range.Minimum + offset, range.Maximum + offset})) {
            continue;
        }
        axis->ShiftRange(offset, false);
        shifted = true;
    }
    SetRepaintEnabled(repaintEnabled);
    if (shifted) {
        RepaintImmediately();
    }
}

} // namespace Korvatel
