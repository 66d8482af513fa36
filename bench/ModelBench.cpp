// SPDX-License-Identifier: MIT
// The hot path of every animation frame: the series emptied and refilled with one frame of
// 2001 points (L = 2000, β = 0), two sines per point. Three further cases time only the
// 4002 sines of such a frame with the candidate sine functions.
#include "BenchRunner.h"
#include <korvatel/render/Chart.h>
#include <korvatel/data/FastLineSeries.h>
#include "SeriesFrameTarget.h"
#include "WaveModel.h"

#include <cmath>
#include <memory>

using namespace Korvatel;

namespace {

struct TModelBench {
    TModelBench() {
        series = new TFastLineSeries;
        series->SetParentChart(&chart);
        state.StringLength = 2000;
        state.Beta = 0;
        state.SimTime = 1234.56;
    }

    TChart chart;
    TFastLineSeries* series;
    TSimulationState state;
};

std::unique_ptr<TModelBench> model;

const TBenchRegistration ModelCase({"model", 2001, [] { model = std::make_unique<TModelBench>(); },
                                    [] {
                                        TSeriesFrameTarget target(*model->series);
                                        ProduceFrame(model->state, target, true);
                                    }});

// The arguments of one such frame, to compare the sine candidates on the same work.
std::vector<long double> SineArguments() {
    std::vector<long double> arguments;
    const long double twoPi = 6.283185307179586477L;
    for (int a = 0; a <= 2000; ++a) {
        const long double position = a / 1000.0L;
        arguments.push_back(twoPi * 0.25 * (1234.56L - position));
        arguments.push_back(twoPi * 0.25 * (position + 1234.56L));
    }
    return arguments;
}

volatile double sink;

template <typename Sine>
void SumSines(Sine sine) {
    static const std::vector<long double> arguments = SineArguments();
    double sum = 0;
    for (long double x : arguments) {
        sum += sine(x);
    }
    sink = sum;
}

const TBenchRegistration ExtendedCase({"sine_reduced", 4002, {}, [] {
                                           SumSines([](long double x) { return ExtendedSine(x); });
                                       }});
const TBenchRegistration DoubleCase({"sine_double", 4002, {}, [] {
                                         SumSines([](long double x) {
                                             return std::sin(static_cast<double>(x));
                                         });
                                     }});
const TBenchRegistration SinlCase({"sine_sinl", 4002, {}, [] {
                                       SumSines([](long double x) {
                                           return static_cast<double>(sinl(x));
                                       });
                                   }});

} // namespace
