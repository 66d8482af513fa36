// SPDX-License-Identifier: MIT
// The axis: labels (step, texts, style, widest label, the producers), drawing (PaintAxis and
// its steps) and the hit test (see ChartAxis.cpp).

#include <korvatel/axes/AxisLabelLayout.h>
#include <korvatel/axes/AxisLabelSpacing.h>
#include <korvatel/axes/AxisLabelStep.h>
#include <korvatel/axes/AxisLabelText.h>
#include <korvatel/axes/AxisLabelValues.h>
#include <korvatel/render/AxisPanel.h>
#include <korvatel/axes/AxisTickMarks.h>
#include <korvatel/axes/ChartAxis.h>
#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/data/ChartSeries.h>
#include <korvatel/core/ChartStrings.h>
#include <korvatel/axes/DateTimeSteps.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace Korvatel {

// --- Labels --------------------------------------------------------------------------------

std::string TCustomChartAxis::LabelText(double value, bool withEvent) const {
    TGetAxisLabelText event;
    if (withEvent && FParentChart != nullptr && FParentChart->OnGetAxisLabel) {
        // The handler receives the axis to change as it likes; asking for a text does not
        // make the axis itself read-only.
        event = [this](std::string& text) {
            FParentChart->OnGetAxisLabel(const_cast<TCustomChartAxis*>(this), nullptr, -1, text);
        };
    }
    return FormatAxisLabel(
        value,
        {FDateTimeMode, FAxisValuesFormat, FDateTimeFormat, EffectiveRange(), FLabelsMultiLine},
        ProcessFormatSettings(), event);
}

std::string TCustomChartAxis::AxisLabelText(double value) const {
    return LabelText(value, true);
}

std::int32_t TCustomChartAxis::LabelSizeOf(double value) {
    std::int32_t lines = 0;
    const std::int32_t width = FParentChart->TextBlockWidth(LabelText(value, true), &lines);
    return LabelSizeAlongAxis({width, lines}, FParentChart->Canvas().TextRowHeight(), FIsHorizontal,
                              FLabelsAngle);
}

double TCustomChartAxis::ComputeLabelStep() {
    TLabelStepInputs inputs;
    inputs.PixelLength = PixelLength();
    if (FParentChart != nullptr) {
        inputs.LabelSize =
            std::max(LabelSizeOf(EffectiveMinimum()), LabelSizeOf(EffectiveMaximum()));
    }
    inputs.Increment = FIncrement;
    inputs.LabelsSeparation = FLabelsSeparation;
    inputs.EffectiveRange = EffectiveRange();
    inputs.DateTime = FDateTimeMode;
    const double step = Korvatel::ComputeLabelStep(inputs);
    return FParentChart != nullptr ? SeparateOverlappingLabels(step) : step;
}

double TCustomChartAxis::SeparateOverlappingLabels(double step) {
    // The step stays for labels that are not drawn, for LabelsSeparation 0 (no search for a
    // step that fits) and for labels that do not follow the step.
    if (!FLabels || FLabelsSeparation <= 0 || EffectiveLabelStyle() != talValue ||
        !StepSpacedValueLabels(ValueLabelInputs(step),
                               static_cast<bool>(FParentChart->OnGetNextAxisLabel))) {
        return step;
    }
    return SeparatedLabelStep(step, FDateTimeMode, FLabelsSeparation, [this](double candidate) {
        PlaceValueLabels(candidate);
        return std::span<const TPlacedLabel>(FPlacedLabels);
    });
}

void TCustomChartAxis::PlaceValueLabels(double step) {
    FPlacedLabels.clear();
    const TValueLabelInputs inputs = ValueLabelInputs(step);
    if (!LabelsAreProduced(step, inputs.CalendarIndex, inputs.EffectiveMinimum,
                           inputs.EffectiveMaximum)) {
        return;
    }
    ProduceValueLabels(inputs, {}, {}, [this](double value) {
        const std::int32_t pixel = ValueToPixel(value);
        if (LabelConsidered(pixel)) {
            FPlacedLabels.push_back({pixel, LabelSizeOf(value)});
        }
    });
}

TAxisLabelStyle TCustomChartAxis::EffectiveLabelStyle() const {
    if (FLabelStyle != talAuto) {
        return FLabelStyle;
    }
    if (FParentChart == nullptr) {
        return FIsDepth ? talText : talNone;
    }
    if (FIsDepth) {
        // Values once a series spreads over more than one depth; otherwise the series' names,
        // one per depth slot.
        for (const TChartSeries* series : FParentChart->SeriesList()) {
            if (series->Active() &&
                (series->OwnDepthValues() || series->SeriesMinZ() != series->SeriesMaxZ())) {
                return talValue;
            }
        }
        return talText;
    }
    TAxisLabelStyle style = talNone;
    for (const TChartSeries* series : FParentChart->SeriesList()) {
        if (!series->Active() || !series->IsAssociatedWith(*this)) {
            continue;
        }
        // Point texts label the axis that orders the points.
        const bool textsAlongAxis = FIsHorizontal == series->YIsMandatory();
        const auto& labels = series->LabelList();
        if (textsAlongAxis && !labels.empty() && labels[0] && !labels[0]->empty()) {
            return talText;
        }
        style = talValue;
    }
    return style;
}

std::int32_t TCustomChartAxis::WidestLabelWidth() {
    if (FParentChart == nullptr) {
        return 0;
    }
    switch (EffectiveLabelStyle()) {
    case talValue: {
        TLabelBounds bounds{EffectiveMinimum(), EffectiveMaximum()};
        if ((FDateTimeMode && FExactDateTime) || FRoundFirstLabel) {
            // The labels at the ends stand on multiples of the step, not at the limits.
            bounds = LabelMeasureBounds(EffectiveMinimum(), EffectiveMaximum(), ComputeLabelStep(),
                                        true);
        }
        // Measured without the label event: the room must not depend on what a handler
        // does to the texts at the ends.
        const std::int32_t widest =
            std::max(FParentChart->TextBlockWidth(LabelText(bounds.High, false)),
                     FParentChart->TextBlockWidth(LabelText(bounds.Low, false)));
        return SaturatedPixel(std::int64_t{widest} + FParentChart->Canvas().MeasureTextWidth(" "));
    }
    case talMark:
        return WidestSeriesLabelWidth(true);
    case talText:
        return WidestSeriesLabelWidth(false);
    default:
        return 0;
    }
}

std::int32_t TCustomChartAxis::WidestSeriesLabelWidth(bool markTexts) {
    std::int32_t widest = 0;
    for (TChartSeries* series : FParentChart->SeriesList()) {
        // Mark texts come from the active series; point texts from every series with labels.
        if (markTexts) {
            if (series->Active()) {
                widest = std::max(widest, series->WidestMarkText());
            }
            continue;
        }
        if (series->LabelList().empty()) {
            continue;
        }
        const std::int32_t count = series->PointCount();
        for (std::int32_t i = 0; i < count; ++i) {
            widest = std::max(widest, FParentChart->TextBlockWidth(series->PointLabel(i)));
        }
    }
    return widest;
}

bool TCustomChartAxis::LabelConsidered(std::int32_t pixel) const {
    return FLabelsOnAxis || (StartPixel() < pixel && pixel < EndPixel());
}

template <typename MakeText, typename Admit>
void TCustomChartAxis::ConsiderLabel(std::int32_t pixel, MakeText&& makeText, Admit&& admit) {
    if (!LabelConsidered(pixel)) {
        return;
    }
    if (!FTickOnLabelsOnly) {
        FTickPositions.push_back(pixel);
    }
    if (!FLabels) {
        return;
    }
    const std::string text = makeText();
    if (admit(text)) {
        PlaceLabel(pixel, text);
    }
}

void TCustomChartAxis::AddValueLabel(double value) {
    ConsiderLabel(
        ValueToPixel(value), [&] { return LabelText(value, true); },
        [](const std::string&) { return true; });
}

TValueLabelInputs TCustomChartAxis::ValueLabelInputs(double step) const {
    return {EffectiveMinimum(),
            EffectiveMaximum(),
            step,
            FRoundFirstLabel,
            CalendarStepIndex(FDateTimeMode, FExactDateTime, FIncrement, step),
            FIncrement,
            FLogarithmic,
            static_cast<double>(FLogarithmicBase)};
}

void TCustomChartAxis::ProduceLabels(double step) {
    const TValueLabelInputs inputs = ValueLabelInputs(step);
    if (!LabelsAreProduced(step, inputs.CalendarIndex, inputs.EffectiveMinimum,
                           inputs.EffectiveMaximum)) {
        return;
    }
    // Texts of series labels are measured for the overlap test before they are drawn, and
    // the title may have left its own font on the canvas.
    FParentChart->SelectFont(FLabelsFont);
    switch (EffectiveLabelStyle()) {
    case talValue: {
        TNextAxisLabel next;
        if (FParentChart->OnGetNextAxisLabel) {
            next = [this](std::int32_t index, double& value, bool& stop) {
                FParentChart->OnGetNextAxisLabel(this, index, value, stop);
            };
        }
        // A logarithmic minimum of 0 or below is replaced before the first label: the labels
        // and everything drawn after them in this repaint map with the replaced one.
        ProduceValueLabels(
            inputs, next,
            [this](double minimum) { SetEffectiveRange(minimum, EffectiveMaximum()); },
            [this](double value) { AddValueLabel(value); });
        break;
    }
    case talMark:
        ProduceSeriesLabels(true);
        break;
    case talText:
        if (FIsDepth) {
            ProduceDepthLabels();
        } else {
            ProduceSeriesLabels(false);
        }
        break;
    default:
        break;
    }
}

void TCustomChartAxis::ProduceSeriesLabels(bool markTexts) {
    std::vector<TChartSeries*> labelled;
    for (TChartSeries* series : FParentChart->SeriesList()) {
        if (series->Active() && series->IsAssociatedWith(*this) && !series->LabelList().empty()) {
            labelled.push_back(series);
        }
    }
    std::int32_t first = -1;
    std::int32_t last = -1;
    for (TChartSeries* series : labelled) {
        series->ComputeVisibleRange();
        if (series->FirstVisible() != -1) {
            first = first == -1 ? series->FirstVisible() : std::min(first, series->FirstVisible());
        }
        last = std::max(last, series->LastVisible());
    }
    if (first == -1) {
        return;
    }
    TCanvas3D& canvas = FParentChart->Canvas();
    const bool alongAxis = FIsHorizontal ? !(FLabelsAngle == 90 || FLabelsAngle == 270)
                                         : (FLabelsAngle == 90 || FLabelsAngle == 270);
    TAxisLabelSpacing spacing(FLabelsSeparation);
    for (std::int32_t i = first; i >= 0 && i <= last; ++i) {
        TChartSeries* source = nullptr;
        for (TChartSeries* series : labelled) {
            if (series->LabelList().size() > static_cast<std::size_t>(i) &&
                i < series->PointCount()) {
                source = series;
                break;
            }
        }
        if (source == nullptr) {
            continue;
        }
        std::string text = markTexts ? source->PointMarkText(i) : source->PointLabel(i);
        if (FParentChart->OnGetAxisLabel) {
            FParentChart->OnGetAxisLabel(this, source, i, text);
        }
        const double value = source->DimensionValue(FIsHorizontal, i);
        if (!(EffectiveMinimum() <= value && value <= EffectiveMaximum())) {
            continue;
        }
        const std::int32_t pixel = ValueToPixel(value);
        ConsiderLabel(
            pixel, [&] { return text; },
            [&](const std::string& shown) {
                std::int32_t lines = 0;
                const std::int32_t width = FParentChart->TextBlockWidth(shown, &lines);
                const std::int64_t size =
                    alongAxis ? width : std::int64_t{canvas.TextRowHeight()} * lines;
                return spacing.Admit(pixel, SaturatedPixel(size));
            });
        if (i == last) {
            break; // the index cannot step past the largest one
        }
    }
}

void TCustomChartAxis::ProduceDepthLabels() {
    // One label per depth slot, naming the first series shown in the legend that stands in
    // it: series that stand side by side or stack share a slot and its label.
    const TChartSeriesList& list = FParentChart->SeriesList();
    bool anyActive = false;
    for (const TChartSeries* series : list) {
        anyActive = anyActive || series->Active();
    }
    const double minimum = EffectiveMinimum();
    const double maximum = EffectiveMaximum();
    if (!anyActive || !std::isfinite(minimum) || !std::isfinite(maximum)) {
        return;
    }
    const std::int64_t first = TruncToInt64(minimum);
    const std::int64_t last = TruncToInt64(maximum);
    // As with value labels, more slots than this would only repaint a smear of text.
    if (last - first >= static_cast<std::int64_t>(MaxLinearLabelSteps)) {
        return;
    }
    const std::int64_t highest = FParentChart->HighestZOrder();
    for (std::int64_t slot = first; slot <= last; ++slot) {
        // Slots are counted from the front here, depth orders from the back.
        const std::int64_t depthOrder = highest - slot;
        std::string text;
        for (std::int32_t i = 0; i < list.Count(); ++i) {
            const TChartSeries* series = list[i];
            if (series->Active() && series->ShowInLegend() &&
                series->AutoZOrder() == depthOrder) {
                text = series->TitleOrName(i);
                break;
            }
        }
        const auto index = static_cast<std::int32_t>(slot);
        if (FParentChart->OnGetAxisLabel) {
            FParentChart->OnGetAxisLabel(this, nullptr, index, text);
        }
        const std::int32_t pixel =
            ValueToPixel(StoreAsDouble(static_cast<long double>(maximum) - slot - 0.5L));
        ConsiderLabel(
            pixel, [&] { return text; }, [](const std::string&) { return true; });
    }
}

// --- Drawing -------------------------------------------------------------------------------

void TCustomChartAxis::PaintAxis(bool placeLine) {
    if (FParentChart == nullptr) {
        return;
    }
    FDateTimeMode = IsDateTimeAxis();
    FParentChart->SelectFont(FLabelsFont);
    const double step = ComputeLabelStep();
    if (placeLine) {
        const TRect& plot = FParentChart->PlotRect();
        FAxisLinePos = ApplyPositionPercent(Side(), FPositionPercent, SideEdge(Side(), plot), plot);
    }
    if (!FTitle.Caption().empty()) {
        DrawTitle();
    }
    FTickPositions.clear();
    ProduceLabels(step);
    // The lines come after the texts and paint over them where they meet.
    if (FAxisPen.Visible()) {
        DrawAxisLine();
    }
    DrawTicks(FTicks, 1, FTickLength);
    if (FGrid.Visible()) {
        DrawGrid();
    }
    DrawTicks(FTicksInner, -1, SaturatedPixel(-std::int64_t{FTickInnerLength}));
    DrawMinorMarks(FMinorTicks, false);
    DrawMinorMarks(FMinorGrid, true);
}

void TCustomChartAxis::PrepareTextDrawing(TChartFont& font) {
    FParentChart->SelectFont(font);
    TCanvas3D& canvas = FParentChart->Canvas();
    // Texts are written without a box of background behind them.
    canvas.Brush().SetColor(FParentChart->Color());
    canvas.Brush().SetStyle(bsClear);
    canvas.SetTextBackgroundMode(cbmTransparent);
    if (FParentChart->Printing() && canvas.Font().Color() == clWhite) {
        canvas.Font().SetColor(clBlack); // white text would vanish on paper
    }
}

void TCustomChartAxis::PlaceLabel(std::int32_t pixel, std::string_view text) {
    if (FTickOnLabelsOnly) {
        FTickPositions.push_back(pixel);
    }
    if (FParentChart == nullptr) {
        return;
    }
    PrepareTextDrawing(FLabelsFont);
    if (FIsDepth) {
        TCanvas3D& canvas = FParentChart->Canvas();
        canvas.SetTextAlignment(TextAlign::Left | TextAlign::Top);
        canvas.DrawTextAt3D(FLabelsPos, FParentChart->PlotRect().Bottom, pixel, text);
    } else if (FIsHorizontal) {
        DrawLabelText(pixel, FLabelsPos, text, FLabelsAngle);
    } else {
        DrawLabelText(FLabelsPos, pixel, text, FLabelsAngle);
    }
}

void TCustomChartAxis::DrawLabelText(std::int32_t x, std::int32_t y, std::string_view text,
                                     std::int32_t angle) {
    if (FParentChart == nullptr) {
        return;
    }
    TCanvas3D& canvas = FParentChart->Canvas();
    const TAxisSide side = Side();
    const TLabelTextLayout layout =
        LayOutLabelText(side, x, y, angle, canvas.TextRowHeight(), LabelLineCount(text));
    canvas.SetTextAlignment(layout.Alignment);
    // Texts of the far axes stand at the back of the 3D box.
    const std::int32_t z = (side == asTop || side == asRight) ? FParentChart->Depth3D() : 0;
    std::int32_t px = layout.X;
    std::int32_t py = layout.Y;
    ForEachLabelLine(text, [&](std::string_view line) {
        px = SaturatedPixel(std::int64_t{px} + layout.StepX);
        py = SaturatedPixel(std::int64_t{py} + layout.StepY);
        if (layout.Rotated) {
            canvas.DrawRotatedText3D(px, py, z, angle, line);
        } else {
            canvas.DrawTextAt3D(px, py, z, line);
        }
    });
    canvas.SetTextAlignment(TextAlign::Left | TextAlign::Top);
}

void TCustomChartAxis::DrawTitle() {
    PrepareTextDrawing(FTitle.Font());
    const std::string& caption = FTitle.Caption();
    if (FIsDepth) {
        TCanvas3D& canvas = FParentChart->Canvas();
        canvas.SetTextAlignment(TextAlign::Left | TextAlign::Top);
        canvas.DrawTextAt3D(FTitlePos, FParentChart->PlotRect().Bottom,
                            Div(FParentChart->Depth3D(), 2), caption);
    } else if (FIsHorizontal) {
        DrawLabelText(CenterPixel(), FTitlePos, caption, FTitle.Angle());
    } else {
        DrawLabelText(FTitlePos, CenterPixel(), caption, FTitle.Angle());
    }
}

void TCustomChartAxis::DrawAxisLine() {
    TCanvas3D& canvas = FParentChart->Canvas();
    canvas.ApplyChartPen(FAxisPen);
    const std::int64_t wall = WallSize();
    const std::int32_t depth = FParentChart->Depth3D();
    // The near axes reach across the wall of the axis they meet, closing the corner.
    switch (Side()) {
    case asBottom:
        canvas.DrawHorizontalLine3D(
            SaturatedPixel(std::int64_t{StartPixel()} -
                           FParentChart->AxisWallSize(FParentChart->LeftAxis())),
            EndPixel(), SaturatedPixel(FAxisLinePos + wall), 0);
        break;
    case asTop:
        canvas.DrawHorizontalLine3D(StartPixel(), EndPixel(), FAxisLinePos, depth);
        break;
    case asLeft:
        canvas.DrawVerticalLine3D(
            SaturatedPixel(FAxisLinePos - wall), StartPixel(),
            SaturatedPixel(std::int64_t{EndPixel()} +
                           FParentChart->AxisWallSize(FParentChart->BottomAxis())),
            0);
        break;
    case asRight:
        canvas.DrawVerticalLine3D(FAxisLinePos, StartPixel(), EndPixel(), depth);
        break;
    case asDepth:
        break; // the depth axis's line belongs to the 3D drawing of the box
    }
}

void TCustomChartAxis::DrawTick(std::int32_t pixel, std::int32_t direction, std::int32_t length) {
    TCanvas3D& canvas = FParentChart->Canvas();
    const std::int64_t wall = WallSize();
    const std::int64_t line = FAxisLinePos;
    // Every tick starts one pixel off the axis line: outward for outer ticks (direction 1),
    // inward for inner ones (direction -1, with a negative length).
    switch (Side()) {
    case asBottom: {
        const std::int64_t from = line + wall + direction;
        canvas.DrawVerticalLine3D(pixel, SaturatedPixel(from), SaturatedPixel(from + length), 0);
        break;
    }
    case asTop: {
        const std::int64_t from = line - direction;
        canvas.DrawVerticalLine3D(pixel, SaturatedPixel(from), SaturatedPixel(from - length),
                                  FParentChart->Depth3D());
        break;
    }
    case asLeft: {
        const std::int64_t from = line - wall - direction;
        canvas.DrawHorizontalLine3D(SaturatedPixel(from), SaturatedPixel(from - length), pixel, 0);
        break;
    }
    case asRight: {
        const std::int64_t from = line + direction;
        canvas.DrawHorizontalLine3D(SaturatedPixel(from), SaturatedPixel(from + length), pixel,
                                    FParentChart->Depth3D());
        break;
    }
    case asDepth:
        break;
    }
}

void TCustomChartAxis::DrawTicks(const TChartPen& pen, std::int32_t direction,
                                 std::int32_t length) {
    // A tick of no length paints nothing.
    if (!pen.Visible() || length == 0) {
        return;
    }
    FParentChart->Canvas().ApplyChartPen(pen);
    for (const std::int32_t pixel : FTickPositions) {
        DrawTick(pixel, direction, length);
    }
}

void TCustomChartAxis::DrawGridLine(std::int32_t pixel) {
    TCanvas3D& canvas = FParentChart->Canvas();
    const TRect& plot = FParentChart->PlotRect();
    if (FParentChart->View3D()) {
        DrawGridLine3D(pixel);
    } else if (FIsHorizontal) {
        canvas.DrawVerticalLine(pixel, plot.Top, plot.Bottom);
    } else {
        canvas.DrawHorizontalLine(plot.Left, plot.Right, pixel);
    }
}

void TCustomChartAxis::DrawGridLine3D(std::int32_t pixel) {
    TCanvas3D& canvas = FParentChart->Canvas();
    const TRect& plot = FParentChart->PlotRect();
    const std::int32_t back = FParentChart->Depth3D();
    // Without the left and bottom walls a grid line has only the back wall to lie on.
    const bool walls = FParentChart->View3DWalls();
    // One chain per line, so that a dotted grid keeps its pattern round the corner.
    if (FIsDepth) {
        // Across the floor, from the left wall to the right side of the box.
        canvas.MovePenTo3D(plot.Left, plot.Bottom, pixel);
        canvas.DrawLineTo3D(plot.Right, plot.Bottom, pixel);
    } else if (FIsHorizontal) {
        // Down the back wall, then forward across the floor.
        canvas.MovePenTo3D(pixel, plot.Top, back);
        canvas.DrawLineTo3D(pixel, plot.Bottom, back);
        if (walls) {
            canvas.DrawLineTo3D(pixel, plot.Bottom, 0);
        }
    } else {
        // Along the left wall from its front edge, then across the back wall.
        if (walls) {
            canvas.MovePenTo3D(plot.Left, pixel, 0);
            canvas.DrawLineTo3D(plot.Left, pixel, back);
        } else {
            canvas.MovePenTo3D(plot.Left, pixel, back);
        }
        canvas.DrawLineTo3D(plot.Right, pixel, back);
    }
}

void TCustomChartAxis::DrawGrid() {
    TCanvas3D& canvas = FParentChart->Canvas();
    canvas.Brush().SetStyle(bsClear);
    // The gaps of a dotted grid line show what lies behind them.
    canvas.SetTextBackgroundMode(cbmTransparent);
    canvas.ApplyChartPen(FGrid);
    TChartPen& pen = canvas.Pen();
    if (FParentChart->Printing() && pen.Width() == 1 && pen.Style() != psSolid) {
        pen.SetWidth(0);
    }
    if (pen.Color() == clDefault) {
        pen.SetColor(clGray);
    }
    if (!FGridCentered) {
        for (const std::int32_t pixel : FTickPositions) {
            DrawGridLine(pixel);
        }
    } else {
        for (std::size_t i = 1; i < FTickPositions.size(); ++i) {
            DrawGridLine(CenteredGridPosition(FTickPositions[i - 1], FTickPositions[i]));
        }
    }
    canvas.SetTextBackgroundMode(cbmOpaque);
}

void TCustomChartAxis::DrawMinorMarks(const TChartPen& pen, bool asGrid) {
    if (FTickPositions.empty() || !pen.Visible()) {
        return;
    }
    FParentChart->Canvas().ApplyChartPen(pen);
    const TPixelSink draw = [&](std::int32_t pixel) {
        if (!(StartPixel() < pixel && pixel < EndPixel())) {
            return;
        }
        if (asGrid) {
            DrawGridLine(pixel);
        } else {
            DrawTick(pixel, 1, FMinorTickLength);
        }
    };
    if (FLogarithmic) {
        LogarithmicMinorTickPositions(FTickPositions, FMinorTickCount, FMapping, FLogarithmicBase,
                                      draw);
    } else {
        LinearMinorTickPositions(FTickPositions, FMinorTickCount, draw);
    }
}

// --- Hit test ------------------------------------------------------------------------------

bool TCustomChartAxis::ClickedAt(std::int32_t x, std::int32_t y) const {
    if (FParentChart == nullptr || !FParentChart->AxisIsShown(*this)) {
        return false;
    }
    const std::int32_t start = std::min(StartPixel(), EndPixel());
    const std::int32_t end = std::max(StartPixel(), EndPixel());
    // The tick zone up to the label line, plus 3 pixels on the inner side of the axis line.
    constexpr std::int64_t Inside = 3;
    std::int32_t bandStart = 0;
    std::int32_t bandEnd = 0;
    if (FLabelsPos < FAxisLinePos) {
        bandStart = FLabelsPos;
        bandEnd = SaturatedPixel(FAxisLinePos + Inside);
    } else {
        bandStart = SaturatedPixel(FAxisLinePos - Inside);
        bandEnd = FLabelsPos;
    }
    const TRect band = FIsHorizontal ? TRect{start, bandStart, end, bandEnd}
                                     : TRect{bandStart, start, bandEnd, end};
    return band.Contains(x, y);
}

} // namespace Korvatel
