// SPDX-License-Identifier: MIT
#include "WaveModel.h"

#include <korvatel/render/Chart.h>
#include <korvatel/data/FastLineSeries.h>
#include "PointList.h"
#include "SeriesFrameTarget.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <vector>

using namespace Korvatel;

namespace {

constexpr double Pi = 3.14159265358979323846;

TSimulationState State(double length, double beta, double time) {
    TSimulationState state;
    state.StringLength = length;
    state.Beta = beta;
    state.SimTime = time;
    return state;
}

const TPointList::TPointXY* FindX(const TPointList& list, double x) {
    for (const auto& p : list.Points()) {
        if (p.X == x) {
            return &p;
        }
    }
    return nullptr;
}

std::vector<double> Xs(const TPointList& list) {
    std::vector<double> xs;
    for (const auto& p : list.Points()) {
        xs.push_back(p.X);
    }
    return xs;
}

// The displacement computed with the extended-precision sine throughout, as the reference.
double ReferenceDisplacement(double length, double beta, double time, std::int32_t index) {
    const long double twoPi = 6.283185307179586477L;
    const double f0 = static_cast<double>(500.0L / length);
    const long double b = beta;
    const double f1 = static_cast<double>(sqrtl((1 + b) / (1 - b)) * f0);
    const double f2 = static_cast<double>(sqrtl((1 - b) / (1 + b)) * f0);
    const long double a = static_cast<long double>(index) / 1000.0L;
    const long double s1 = sinl((twoPi * f1) * (time - a));
    const long double s2 = sinl((twoPi * f2) * (a + time));
    return static_cast<double>((s1 - s2) * 500.0L);
}

// The displacements of a frame in the order the model produces them: ascending sample index.
struct TArrivals final : TFrameTarget {
    void ClearPoints() override { Ys.clear(); }
    void AddPoint(double, double y) override { Ys.push_back(y); }
    std::vector<double> Ys;
};

} // namespace

TEST(WaveModelTest, FirstFrameWithTheDefaultsIsTheRestingFundamental) {
    TSimulationState state = State(500, 0, 0);
    TPointList frame;
    ProduceFrame(state, frame, true);
    EXPECT_EQ(state.FirstSample, 0);
    EXPECT_EQ(state.LastSample, 500);
    ASSERT_EQ(frame.Points().size(), 501u);
    for (std::size_t i = 0; i < frame.Points().size(); ++i) {
        const auto& p = frame.Points()[i];
        ASSERT_EQ(p.X, static_cast<double>(i));
        ASSERT_NEAR(p.Y, -1000 * std::sin(Pi * p.X / 500), 1e-9);
    }
    EXPECT_EQ(frame.Points()[0].Y, 0.0);
    EXPECT_NEAR(frame.Points()[125].Y, -707.1068, 1e-4);
    EXPECT_NEAR(frame.Points()[250].Y, -1000.0, 1e-12);
    EXPECT_LT(std::fabs(frame.Points()[500].Y), 1e-12);
    EXPECT_EQ(state.BaseFrequency, 1.0);
    EXPECT_EQ(state.ForwardFrequency, 1.0);
    EXPECT_EQ(state.BackwardFrequency, 1.0);
}

TEST(WaveModelTest, MovingObserverShortensAndShiftsTheString) {
    TSimulationState state = State(500, 0.6, 0.5);
    TPointList held;
    ProduceFrame(state, held, true);
    EXPECT_EQ(state.FirstSample, 300);
    EXPECT_EQ(state.LastSample, 700);
    ASSERT_EQ(held.Points().size(), 401u);
    EXPECT_EQ(held.Points().front().X, 0.0);
    EXPECT_EQ(held.Points().back().X, 400.0);
    EXPECT_NEAR(FindX(held, 100)->Y, 321.0198, 1e-4);
    EXPECT_NEAR(FindX(held, 200)->Y, 0.0, 1e-9);

    TPointList drifting;
    ProduceFrame(state, drifting, false);
    ASSERT_EQ(drifting.Points().size(), 401u);
    EXPECT_EQ(drifting.Points().front().X, 300.0);
    EXPECT_EQ(drifting.Points().back().X, 700.0);
    for (std::size_t i = 0; i < held.Points().size(); ++i) {
        ASSERT_EQ(drifting.Points()[i].Y, held.Points()[i].Y);
    }
}

TEST(WaveModelTest, HalfTheWaveSpeed) {
    TSimulationState state = State(500, 0.5, 1.234);
    TPointList frame;
    ProduceFrame(state, frame, true);
    EXPECT_EQ(state.FirstSample, 617);
    EXPECT_EQ(state.LastSample, 1050);
    EXPECT_EQ(frame.Points().size(), 434u);
    EXPECT_NEAR(SampleDisplacement(state, 725), -705.2501, 1e-4);
    EXPECT_EQ(FindX(frame, 725 - 617)->Y, SampleDisplacement(state, 725));
}

TEST(WaveModelTest, ShortestStringAtTopSpeedWrapsAroundTheEdge) {
    TSimulationState state = State(100, 0.999, 1);
    TPointList held;
    ProduceFrame(state, held, true);
    EXPECT_EQ(state.FirstSample, 999);
    EXPECT_EQ(state.LastSample, 1003);
    EXPECT_EQ(Xs(held), (std::vector<double>{0, 1, 2, 3, 4}));

    TPointList drifting;
    ProduceFrame(state, drifting, false);
    // Samples 999..1003 get x = 999, 0, 1, 2, 3 and stand ordered by x.
    EXPECT_EQ(Xs(drifting), (std::vector<double>{0, 1, 2, 3, 999}));
    EXPECT_EQ(drifting.Points()[4].Y, SampleDisplacement(state, 999));
    EXPECT_EQ(drifting.Points()[0].Y, SampleDisplacement(state, 1000));
}

TEST(WaveModelTest, LongestStringFoldsOntoItselfInOrderOfArrival) {
    TSimulationState state = State(2000, 0, 0.37);
    TPointList frame;
    ProduceFrame(state, frame, true);
    ASSERT_EQ(frame.Points().size(), 2001u);
    const auto& p = frame.Points();
    // x = 0 holds the offsets 0, 1000 and 2000, in that order.
    EXPECT_EQ(p[0].X, 0);
    EXPECT_EQ(p[1].X, 0);
    EXPECT_EQ(p[2].X, 0);
    EXPECT_EQ(p[0].Y, SampleDisplacement(state, 0));
    EXPECT_EQ(p[1].Y, SampleDisplacement(state, 1000));
    EXPECT_EQ(p[2].Y, SampleDisplacement(state, 2000));
    for (std::size_t i = 3; i < p.size(); i += 2) {
        ASSERT_EQ(p[i].X, p[i + 1].X);
        ASSERT_EQ(p[i].X, static_cast<double>((i - 1) / 2));
        ASSERT_EQ(p[i].Y, SampleDisplacement(state, static_cast<std::int32_t>(p[i].X)));
        ASSERT_EQ(p[i + 1].Y, SampleDisplacement(state, static_cast<std::int32_t>(p[i].X) + 1000));
    }
}

TEST(WaveModelTest, RestingObserverIgnoresTheCheckBoxAndRoundsTiesToEven) {
    struct Row {
        double length;
        std::int32_t last;
    };
    for (const Row& row : {Row{250.5, 250}, Row{251.5, 252}, Row{100, 100}, Row{1999.4, 1999}}) {
        TSimulationState state = State(row.length, 0, 12.34);
        TPointList held;
        TPointList drifting;
        ProduceFrame(state, held, true);
        EXPECT_EQ(state.FirstSample, 0);
        EXPECT_EQ(state.LastSample, row.last) << row.length;
        ProduceFrame(state, drifting, false);
        ASSERT_EQ(held.Points().size(), drifting.Points().size());
        for (std::size_t i = 0; i < held.Points().size(); ++i) {
            ASSERT_EQ(held.Points()[i].X, drifting.Points()[i].X);
            ASSERT_EQ(held.Points()[i].Y, drifting.Points()[i].Y);
        }
    }
}

TEST(WaveModelTest, BothEndsOfTheMovingStringAreNodes) {
    for (double beta : {0.0, 0.3, 0.6, 0.9}) {
        TSimulationState state = State(800, beta, 0.76);
        TPointList frame;
        ProduceFrame(state, frame, true);
        const double left = 1000 * beta * 0.76;
        const double right = left + 800 * std::sqrt(1 - beta * beta);
        // The exact ends lie between samples; the wave is smooth, so near them it is small.
        EXPECT_LT(
            std::fabs(SampleDisplacement(state, static_cast<std::int32_t>(std::lround(left)))),
            5.0);
        EXPECT_LT(
            std::fabs(SampleDisplacement(state, static_cast<std::int32_t>(std::lround(right)))),
            5.0);
    }
}

TEST(WaveModelTest, TimeIsASumOfRoundedStepsNotAProduct) {
    TSimulationState state;
    std::vector<double> times;
    for (int i = 0; i < 1000; ++i) {
        times.push_back(state.SimTime);
        AdvanceTime(state);
    }
    EXPECT_EQ(times[0], 0.0);
    EXPECT_EQ(times[1], 0.02);
    long double sum = 0;
    bool differsFromProduct = false;
    for (int i = 1; i < 1000; ++i) {
        sum = static_cast<double>(sum + 0.02L);
        ASSERT_EQ(times[i], static_cast<double>(sum));
        differsFromProduct = differsFromProduct || times[i] != i * 0.02;
    }
    EXPECT_TRUE(differsFromProduct);
}

TEST(WaveModelTest, DisplacementAgreesWithTheExtendedSineEverywhere) {
    // The whole parameter range over two hours of animation.
    const double lengths[] = {100, 137.25, 500, 999.5, 1333, 2000};
    const double betas[] = {0, 0.01, 0.25, 0.5, 0.77, 0.9, 0.99, 0.999};
    const double times[] = {0, 0.02, 1.234, 59.98, 600.04, 1799.3, 3599.98, 3600};
    double worst = 0;
    for (double length : lengths) {
        for (double beta : betas) {
            for (double time : times) {
                TSimulationState state = State(length, beta, time);
                TArrivals frame;
                ProduceFrame(state, frame, true);
                ASSERT_EQ(frame.Ys.size(),
                          static_cast<std::size_t>(state.LastSample - state.FirstSample + 1));
                for (std::int32_t a = state.FirstSample; a <= state.LastSample; ++a) {
                    // A frame computes its samples together; one sample alone must come out
                    // the same to the last bit.
                    const double y = frame.Ys[static_cast<std::size_t>(a - state.FirstSample)];
                    if ((a - state.FirstSample) % 7 == 0) {
                        ASSERT_EQ(y, SampleDisplacement(state, a)) << a;
                    }
                    worst = std::max(worst,
                                     std::fabs(y - ReferenceDisplacement(length, beta, time, a)));
                }
            }
        }
    }
    EXPECT_LT(worst, 1e-6);
    // The reduction keeps far more than the required accuracy.
    EXPECT_LT(worst, 1e-8);
}

TEST(WaveModelTest, AFrameAtAnyTimeEqualsItsSamplesOneByOne) {
    // Far beyond any animation the arguments leave the fast reduction (2^32 turns and more)
    // and then the extended sine; frames crossing a multiple of 1000 samples split there.
    for (double time : {4.3e8, 8.6e8, 1e12, 1e300}) {
        for (double beta : {0.0, 0.5}) {
            TSimulationState state = State(2000, beta, time);
            TArrivals frame;
            ProduceFrame(state, frame, false);
            ASSERT_FALSE(frame.Ys.empty());
            for (std::size_t i = 0; i < frame.Ys.size(); i += 13) {
                const auto a = static_cast<std::int32_t>(state.FirstSample + std::int64_t(i));
                ASSERT_EQ(frame.Ys[i], SampleDisplacement(state, a)) << time << " " << a;
                ASSERT_LE(std::fabs(frame.Ys[i]), 1000.0) << time << " " << a;
            }
        }
    }
}

TEST(WaveModelTest, SineOfHugeArgumentsIsZero) {
    EXPECT_EQ(ExtendedSine(9223372036854775808.0L), 0.0);
    EXPECT_EQ(ExtendedSine(-1e30L), 0.0);
    EXPECT_EQ(ExtendedSine(std::numeric_limits<long double>::infinity()), 0.0);
    EXPECT_TRUE(std::isnan(ExtendedSine(std::numeric_limits<long double>::quiet_NaN())));
    // Just below 2^63 the sine is taken, through the slow path.
    const long double big = 9223372036854775000.0L;
    EXPECT_EQ(ExtendedSine(big), static_cast<double>(sinl(big)));
    EXPECT_NEAR(ExtendedSine(1e10L), static_cast<double>(sinl(1e10L)), 1e-12);
    EXPECT_EQ(ExtendedSine(0.0L), 0.0);
}

TEST(WaveModelTest, FrameIntoASeriesMatchesThePlainPointList) {
    TChart chart;
    auto* series = new TFastLineSeries;
    series->SetParentChart(&chart);
    TSeriesFrameTarget target(*series);
    for (bool held : {true, false}) {
        TSimulationState state = State(100, 0.999, 1);
        TPointList list;
        ProduceFrame(state, list, held);
        ProduceFrame(state, target, held);
        ASSERT_EQ(series->PointCount(), static_cast<std::int32_t>(list.Points().size()));
        for (std::int32_t i = 0; i < series->PointCount(); ++i) {
            EXPECT_EQ(series->PointX(i), list.Points()[static_cast<std::size_t>(i)].X);
            EXPECT_EQ(series->PointY(i), list.Points()[static_cast<std::size_t>(i)].Y);
            EXPECT_EQ(series->PointLabel(i), "");
            EXPECT_EQ(series->PointColor(i), series->SeriesColor());
        }
    }
}

TEST(WaveModelTest, MessagesAreProcessedOnceAfterTheLastPoint) {
    TSimulationState state = State(500, 0, 0);
    TPointList frame;
    std::size_t pointsWhenProcessed = 0;
    int calls = 0;
    ProduceFrame(state, frame, true, [&] {
        ++calls;
        pointsWhenProcessed = frame.Points().size();
    });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(pointsWhenProcessed, 501u);
}

TEST(PointListTest, OrderedInsertionKeepsEqualValuesInArrivalOrder) {
    TPointList list;
    list.AddPoint(5, 1);
    list.AddPoint(3, 2);
    list.AddPoint(5, 3);
    list.AddPoint(3, 4);
    list.AddPoint(9, 5);
    list.AddPoint(-1, 6);
    EXPECT_EQ(Xs(list), (std::vector<double>{-1, 3, 3, 5, 5, 9}));
    EXPECT_EQ(list.Points()[1].Y, 2);
    EXPECT_EQ(list.Points()[2].Y, 4);
    EXPECT_EQ(list.Points()[3].Y, 1);
    EXPECT_EQ(list.Points()[4].Y, 3);
    list.ClearPoints();
    EXPECT_TRUE(list.Points().empty());
}

TEST(WaveModelTest, SineMatchesTheExtendedSineToDoublePrecision) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> wide(-2e6, 2e6);
    double worst = 0;
    for (int i = 0; i < 200000; ++i) {
        // Random arguments, and arguments next to multiples of π/2 where the reflection and
        // the reduction meet.
        long double x = wide(random);
        if (i % 2 == 1) {
            x = (i % 4000) * 1.5707963267948966192313216916397514L + (i % 7 - 3) * 1e-9L;
        }
        worst = std::max(worst, std::fabs(ExtendedSine(x) - static_cast<double>(sinl(x))));
    }
    EXPECT_LT(worst, 2e-15);
}
