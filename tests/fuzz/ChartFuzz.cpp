// SPDX-License-Identifier: MIT
// libFuzzer target: a chart built from the input bytes. The bytes choose the series (kind,
// count, values with NaN, infinities, the largest doubles, denormals and equal runs), call
// published setters with extreme integers and doubles, switch 2D and 3D, size the chart,
// draw pictures at device ratios and PDF pages into memory, and send mouse, wheel and legend
// clicks. The rules: no crash and no sanitizer finding; a setter raises nothing but
// ChartException; drawing and mouse handling raise nothing at all; the sanitizer's memory and
// time limits bound every input.
#include <korvatel/core/ChartErrors.h>
#include <korvatel/data/AreaSeries.h>
#include <korvatel/data/BarSeries.h>
#include <korvatel/data/FastLineSeries.h>
#include <korvatel/data/HorizBarSeries.h>
#include <korvatel/data/LineSeries.h>
#include <korvatel/data/PieSeries.h>
#include <korvatel/data/PointSeries.h>
#include <korvatel/canvas/View3DOptions.h>
#include <korvatel/render/Chart.h>

#include <QApplication>
#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <fuzzer/FuzzedDataProvider.h>
#include <limits>
#include <memory>
#include <string>
#include <vector>

using namespace Korvatel;

namespace {

[[noreturn]] void Fail(const char* what, const char* detail) {
    std::fprintf(stderr, "Chart fuzz: %s: %s\n", what, detail);
    std::abort();
}

// An integer as a setter may be handed one: mostly small, often at the edges.
std::int32_t ExtremeInt(FuzzedDataProvider& in) {
    static constexpr std::int32_t Edges[] = {0,        1,        -1,       2,       100,
                                             101,      359,      360,      1000,    1001,
                                             65535,    1 << 20,  INT_MAX,  INT_MIN, INT_MAX - 1,
                                             -100000,  1000000,  255,      16,      -360};
    switch (in.ConsumeIntegralInRange(0, 2)) {
    case 0:
        return in.PickValueInArray(Edges);
    case 1:
        return in.ConsumeIntegralInRange(-20, 200);
    default:
        return in.ConsumeIntegral<std::int32_t>();
    }
}

// A double as a value or a setter may be handed one.
double ExtremeDouble(FuzzedDataProvider& in) {
    static constexpr double Specials[] = {0.0,
                                          -0.0,
                                          1.0,
                                          -1.0,
                                          1e308,
                                          -1e308,
                                          std::numeric_limits<double>::infinity(),
                                          -std::numeric_limits<double>::infinity(),
                                          std::numeric_limits<double>::quiet_NaN(),
                                          std::numeric_limits<double>::denorm_min(),
                                          -std::numeric_limits<double>::denorm_min(),
                                          std::numeric_limits<double>::max(),
                                          std::numeric_limits<double>::lowest(),
                                          std::numeric_limits<double>::min(),
                                          1e-300,
                                          4.5e15,
                                          9007199254740993.0,
                                          0.1,
                                          50.0,
                                          1e6};
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0:
        return in.PickValueInArray(Specials);
    case 1:
        return in.ConsumeIntegralInRange(-1000, 1000);
    case 2:
        return in.ConsumeFloatingPointInRange(-1e6, 1e6);
    default:
        return in.ConsumeFloatingPoint<double>();
    }
}

// Calls a setter: ChartException is its answer to a value it refuses; anything else escapes
// and ends the run as a finding.
template <typename TSetter>
void Set(TSetter&& setter) {
    try {
        setter();
    } catch (const ChartException&) {
    } catch (const ListIndexError&) {
        // An index below 0 handed to an indexed setter.
    } catch (const AxisException&) {
        // The axis refuses a range it cannot show, as documented.
    }
}

// Runs drawing or mouse handling, which may raise nothing at all.
template <typename TAction>
void MustNotThrow(const char* what, TAction&& action) {
    try {
        action();
    } catch (const std::exception& e) {
        Fail(what, e.what());
    } catch (...) {
        Fail(what, "an exception that is not a std::exception");
    }
}

TChartSeries* AddSeries(TChart& chart, std::uint8_t kind) {
    TChartSeries* series = nullptr;
    switch (kind % 7) {
    case 0:
        series = new TLineSeries;
        break;
    case 1:
        series = new TBarSeries;
        break;
    case 2:
        series = new THorizBarSeries;
        break;
    case 3:
        series = new TAreaSeries;
        break;
    case 4:
        series = new TPointSeries;
        break;
    case 5:
        series = new TPieSeries;
        break;
    default:
        series = new TFastLineSeries;
        break;
    }
    series->SetParentChart(&chart);
    return series;
}

void FillValues(FuzzedDataProvider& in, TChartSeries& series) {
    // Up to a few thousand points, mostly few: enough for runs, ties and many per pixel.
    const int count = in.ConsumeBool() ? in.ConsumeIntegralInRange(0, 40)
                                       : in.ConsumeIntegralInRange(0, 5000);
    const int style = in.ConsumeIntegralInRange(0, 3);
    double last = 0;
    for (int i = 0; i < count && in.remaining_bytes() > 0; ++i) {
        switch (style) {
        case 0:
            series.AppendValue(ExtremeDouble(in));
            break;
        case 1:
            series.AddPoint(ExtremeDouble(in), ExtremeDouble(in));
            break;
        case 2:
            // Runs of equal values.
            if (in.ConsumeIntegralInRange(0, 7) == 0) {
                last = ExtremeDouble(in);
            }
            series.AddPoint(i, last);
            break;
        default:
            if (in.ConsumeIntegralInRange(0, 5) == 0) {
                series.AppendNull();
            } else {
                series.AddPoint(i, in.ConsumeIntegralInRange(-5, 5));
            }
            break;
        }
    }
}

void ApplyPen(FuzzedDataProvider& in, TChartPen& pen) {
    Set([&] { pen.SetWidth(ExtremeInt(in)); });
    Set([&] { pen.SetStyle(static_cast<TPenStyle>(in.ConsumeIntegralInRange(0, 6))); });
    Set([&] { pen.SetVisible(in.ConsumeBool()); });
    Set([&] { pen.SetColor(static_cast<TColor>(in.ConsumeIntegral<std::uint32_t>() & 0xFFFFFF)); });
}

void ChangeSeries(FuzzedDataProvider& in, TChartSeries& series) {
    TSeriesMarks& marks = series.Marks();
    switch (in.ConsumeIntegralInRange(0, 15)) {
    case 0:
        Set([&] { marks.SetVisible(in.ConsumeBool()); });
        Set([&] { marks.SetStyle(static_cast<TSeriesMarksStyle>(in.ConsumeIntegralInRange(0, 8))); });
        break;
    case 1:
        Set([&] { marks.SetArrowLength(ExtremeInt(in)); });
        Set([&] { marks.SetClip(in.ConsumeBool()); });
        break;
    case 2:
        Set([&] { marks.Font().SetSize(ExtremeInt(in)); });
        break;
    case 3:
        ApplyPen(in, marks.Frame());
        break;
    case 4:
        Set([&] { series.SetActive(in.ConsumeBool()); });
        Set([&] { series.SetColorEachPoint(in.ConsumeBool()); });
        break;
    case 5:
        Set([&] { series.SetValueFormat(in.ConsumeRandomLengthString(12)); });
        Set([&] { series.SetPercentFormat(in.ConsumeRandomLengthString(12)); });
        break;
    case 6:
        Set([&] { series.SetTitle(in.ConsumeRandomLengthString(40)); });
        break;
    case 7:
        Set([&] { series.SetZOrder(ExtremeInt(in)); });
        break;
    case 8:
        Set([&] { series.XValues().SetMultiplier(ExtremeDouble(in)); });
        Set([&] { series.YValues().SetMultiplier(ExtremeDouble(in)); });
        break;
    case 9:
        Set([&] { series.SetHorizAxis(static_cast<THorizAxis>(in.ConsumeIntegralInRange(0, 2))); });
        Set([&] { series.SetVertAxis(static_cast<TVertAxis>(in.ConsumeIntegralInRange(0, 2))); });
        break;
    case 10:
        Set([&] { series.DeletePoint(ExtremeInt(in)); });
        break;
    case 11:
        Set([&] { series.SetPointColor(ExtremeInt(in), clRed); });
        break;
    default:
        break;
    }
    if (auto* line = dynamic_cast<TLineSeries*>(&series)) {
        switch (in.ConsumeIntegralInRange(0, 5)) {
        case 0:
            Set([&] { line->Pointer().SetHorizSize(ExtremeInt(in)); });
            Set([&] { line->Pointer().SetVertSize(ExtremeInt(in)); });
            Set([&] { line->Pointer().SetVisible(in.ConsumeBool()); });
            break;
        case 1:
            Set([&] {
                line->Pointer().SetStyle(
                    static_cast<TSeriesPointerStyle>(in.ConsumeIntegralInRange(0, 7)));
            });
            ApplyPen(in, line->Pointer().Pen());
            break;
        case 2:
            ApplyPen(in, line->LinePen());
            break;
        case 3:
            Set([&] { line->SetStairs(in.ConsumeBool()); });
            Set([&] { line->SetInvertedStairs(in.ConsumeBool()); });
            break;
        default:
            break;
        }
    }
    if (auto* area = dynamic_cast<TAreaSeries*>(&series)) {
        Set([&] { area->SetMultiArea(static_cast<TMultiArea>(in.ConsumeIntegralInRange(0, 2))); });
        Set([&] { area->SetUseYOrigin(in.ConsumeBool()); });
        Set([&] { area->SetYOrigin(ExtremeDouble(in)); });
    }
    if (auto* bars = dynamic_cast<TCustomBarSeries*>(&series)) {
        Set([&] { bars->SetBarWidthPercent(ExtremeInt(in)); });
        Set([&] { bars->SetMultiBar(static_cast<TMultiBar>(in.ConsumeIntegralInRange(0, 3))); });
        Set([&] { bars->SetUseYOrigin(in.ConsumeBool()); });
        Set([&] { bars->SetYOrigin(ExtremeDouble(in)); });
        if (in.ConsumeBool()) {
            ApplyPen(in, bars->BarPen());
        }
    }
    if (auto* pie = dynamic_cast<TPieSeries*>(&series)) {
        Set([&] { pie->SetRotationAngle(ExtremeInt(in)); });
        Set([&] { pie->SetExplodeBiggest(ExtremeInt(in)); });
        Set([&] { pie->SetExplodedOffset(ExtremeInt(in), ExtremeInt(in)); });
        if (in.ConsumeBool()) {
            ApplyPen(in, pie->PiePen());
        }
    }
    if (auto* fast = dynamic_cast<TFastLineSeries*>(&series)) {
        if (in.ConsumeBool()) {
            ApplyPen(in, fast->LinePen());
        }
    }
}

void ChangeChart(FuzzedDataProvider& in, TChart& chart) {
    TChartLegend& legend = chart.Legend();
    TChartAxis& axis = in.ConsumeBool() ? chart.LeftAxis() : chart.BottomAxis();
    TView3DOptions& view = chart.View3DOptions();
    switch (in.ConsumeIntegralInRange(0, 17)) {
    case 0:
        Set([&] { legend.SetVisible(in.ConsumeBool()); });
        Set([&] { legend.SetAlignment(static_cast<TLegendAlignment>(in.ConsumeIntegralInRange(0, 3))); });
        Set([&] { legend.SetLegendStyle(static_cast<TLegendStyle>(in.ConsumeIntegralInRange(0, 3))); });
        Set([&] { legend.SetTextStyle(static_cast<TLegendTextStyle>(in.ConsumeIntegralInRange(0, 5))); });
        break;
    case 1:
        Set([&] { legend.SetHorizMargin(ExtremeInt(in)); });
        Set([&] { legend.SetVertMargin(ExtremeInt(in)); });
        Set([&] { legend.SetTopPos(ExtremeInt(in)); });
        break;
    case 2:
        Set([&] { legend.SetColorWidth(ExtremeInt(in)); });
        Set([&] { legend.SetShadowSize(ExtremeInt(in)); });
        Set([&] { legend.SetMaxNumRows(ExtremeInt(in)); });
        Set([&] { legend.SetFirstValue(ExtremeInt(in)); });
        break;
    case 3:
        Set([&] { legend.SetCheckBoxes(in.ConsumeBool()); });
        Set([&] { legend.SetInverted(in.ConsumeBool()); });
        ApplyPen(in, legend.Frame());
        break;
    case 4:
        Set([&] { chart.SetView3D(in.ConsumeBool()); });
        Set([&] { chart.SetChart3DPercent(ExtremeInt(in)); });
        break;
    case 5:
        Set([&] { view.SetElevation(ExtremeInt(in)); });
        Set([&] { view.SetRotation(ExtremeInt(in)); });
        Set([&] { view.SetOrthogonal(in.ConsumeBool()); });
        break;
    case 6:
        Set([&] { view.SetPerspective(ExtremeInt(in)); });
        Set([&] { view.SetZoom(ExtremeInt(in)); });
        Set([&] { view.SetTilt(ExtremeInt(in)); });
        break;
    case 7:
        Set([&] { view.SetHorizOffset(ExtremeInt(in)); });
        Set([&] { view.SetVertOffset(ExtremeInt(in)); });
        break;
    case 8:
        Set([&] { axis.SetAutomatic(in.ConsumeBool()); });
        Set([&] { axis.SetMinimum(ExtremeDouble(in)); });
        Set([&] { axis.SetMaximum(ExtremeDouble(in)); });
        break;
    case 9:
        Set([&] { axis.SetLogarithmic(in.ConsumeBool()); });
        Set([&] { axis.SetLogarithmicBase(ExtremeInt(in)); });
        Set([&] { axis.SetInverted(in.ConsumeBool()); });
        break;
    case 10:
        Set([&] { axis.SetIncrement(ExtremeDouble(in)); });
        Set([&] { axis.SetLabelsAngle(ExtremeInt(in)); });
        Set([&] { axis.SetLabelsSeparation(ExtremeInt(in)); });
        break;
    case 11:
        Set([&] { axis.SetTickLength(ExtremeInt(in)); });
        Set([&] { axis.SetMinorTickCount(ExtremeInt(in)); });
        Set([&] { axis.SetStartPosition(ExtremeDouble(in)); });
        Set([&] { axis.SetEndPosition(ExtremeDouble(in)); });
        break;
    case 12:
        Set([&] { chart.SetMaxPointsPerPage(ExtremeInt(in)); });
        Set([&] { chart.SetPage(ExtremeInt(in)); });
        break;
    case 13:
        Set([&] { chart.SetMarginLeft(ExtremeInt(in)); });
        Set([&] { chart.SetMarginTop(ExtremeInt(in)); });
        Set([&] { chart.SetBevelWidth(ExtremeInt(in)); });
        Set([&] { chart.SetBorderWidth(ExtremeInt(in)); });
        break;
    case 14:
        Set([&] { chart.Title().SetText({in.ConsumeRandomLengthString(30)}); });
        Set([&] { chart.Title().Font().SetSize(ExtremeInt(in)); });
        break;
    case 15:
        Set([&] { axis.SetDateTimeMode(in.ConsumeBool()); });
        Set([&] { axis.SetLabelsSize(ExtremeInt(in)); });
        Set([&] { axis.SetTitleSize(ExtremeInt(in)); });
        break;
    default:
        ApplyPen(in, axis.Grid());
        break;
    }
}

TShiftState Shift(FuzzedDataProvider& in) {
    const auto bits = in.ConsumeIntegral<std::uint8_t>();
    TShiftState shift;
    shift.Shift = (bits & 1) != 0;
    shift.Ctrl = (bits & 2) != 0;
    shift.Left = (bits & 4) != 0;
    shift.Right = (bits & 8) != 0;
    shift.Double = (bits & 16) != 0;
    return shift;
}

void Mouse(FuzzedDataProvider& in, TChart& chart) {
    const auto button = static_cast<TMouseButton>(in.ConsumeIntegralInRange(0, 2));
    std::int32_t x = in.ConsumeIntegralInRange(-50, 1200);
    std::int32_t y = in.ConsumeIntegralInRange(-50, 1000);
    if (in.ConsumeBool()) {
        // A click on a legend entry as last drawn.
        const auto& items = chart.Legend().Items();
        if (!items.empty()) {
            const TRect& cell = items[in.ConsumeIntegralInRange<std::size_t>(0, items.size() - 1)].Cell;
            x = cell.Left + 1;
            y = cell.Top + 1;
        }
    }
    MustNotThrow("mouse", [&] {
        switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0:
            chart.MouseDown(button, Shift(in), x, y);
            break;
        case 1:
            chart.MouseMove(Shift(in), x, y);
            break;
        case 2:
            chart.MouseUp(button, Shift(in), x, y);
            break;
        default:
            chart.MouseWheel(in.ConsumeBool(), Shift(in), x, y);
            break;
        }
    });
}

void Picture(FuzzedDataProvider& in, TChart& chart) {
    // Sizes and ratios that the picture accepts stay within a few million device pixels, so
    // that memory bounds the chart's work, not the picture's; some are refused on purpose.
    static constexpr double Ratios[] = {1.0, 1.5, 2.0, 3.0, 1.25, 0.5, 1.0 / 256, 0.001, 0.0,
                                        -1.0, 64.5, 1.0 / 3};
    const std::int32_t width = in.ConsumeIntegralInRange(-1, 1200);
    const std::int32_t height = in.ConsumeIntegralInRange(-1, 1000);
    const double ratio = in.PickValueInArray(Ratios);
    const bool valid = width >= 1 && height >= 1 && ratio >= 1.0 / 256 && ratio <= 64;
    try {
        (void)chart.DrawToImage(width, height, ratio);
    } catch (const ChartException& e) {
        if (valid && width * ratio >= 1 && height * ratio >= 1) {
            Fail("picture", e.what());
        }
    } catch (const std::exception& e) {
        Fail("picture", e.what());
    }
}

void PdfPage(FuzzedDataProvider& in, TChart& chart) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(in.PickValueInArray({72, 300, 1200}));
    QPainter painter;
    if (!painter.begin(&writer)) {
        return;
    }
    const QRectF page(0, 0, in.ConsumeIntegralInRange(1, 2000), in.ConsumeIntegralInRange(1, 2000));
    MustNotThrow("PDF page", [&] { chart.PrintPage(painter, page); });
    painter.end();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // One application for every input: fonts and the offscreen platform live in it.
    static QApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    TChart chart;
    chart.SetSize(in.ConsumeIntegralInRange(0, 1000), in.ConsumeIntegralInRange(0, 800));
    chart.SetView3D(in.ConsumeBool());
    const int seriesCount = in.ConsumeIntegralInRange(0, 6);
    std::vector<TChartSeries*> series;
    for (int i = 0; i < seriesCount; ++i) {
        series.push_back(AddSeries(chart, in.ConsumeIntegral<std::uint8_t>()));
        FillValues(in, *series.back());
    }
    while (in.remaining_bytes() > 0) {
        switch (in.ConsumeIntegralInRange(0, 7)) {
        case 0:
        case 1:
            ChangeChart(in, chart);
            break;
        case 2:
        case 3:
            if (!series.empty()) {
                ChangeSeries(in, *series[in.ConsumeIntegralInRange<std::size_t>(0, series.size() - 1)]);
            }
            break;
        case 4:
            Picture(in, chart);
            break;
        case 5:
            Mouse(in, chart);
            break;
        case 6:
            if (in.ConsumeIntegralInRange(0, 7) == 0) {
                PdfPage(in, chart);
            }
            break;
        default:
            Set([&] { chart.SetSize(ExtremeInt(in) % 2000, ExtremeInt(in) % 2000); });
            break;
        }
    }
    Picture(in, chart);
    return 0;
}
