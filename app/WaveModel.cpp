// SPDX-License-Identifier: MIT
#include "WaveModel.h"

#include <korvatel/core/Rounding.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

using namespace Korvatel;

namespace {

constexpr long double TwoPi = 6.283185307179586477L;
// 2π in two parts for the argument reduction. The first has 32 significant bits, so that
// its product with a whole number of turns below 2^32 is exact in extended precision; the
// second is the rest, 2.4e-10, whose product is rounded far below anything that matters.
constexpr long double TwoPiHead = 0xc90fdaa2p-29L;
constexpr long double TwoPiTail = 2.43084020260247704059005768394339e-10L;
constexpr long double InverseTwoPi = 0.159154943091895335768883763372514362L;
constexpr long double TimeStep = 0.02L;
constexpr long double TwoTo63 = 9223372036854775808.0L;
// Adding and subtracting 1.5 · 2^63 rounds an extended value of magnitude below 2^62 to an
// integer (in the default rounding mode).
constexpr long double RoundingShift = 13835058055282163712.0L;

struct TFrequencies {
    double Base;
    double Forward;
    double Backward;
};

// f0 = (WaveSpeed / 2) / L; f1 and f2 are f0 Doppler-shifted up and down. Each is rounded to
// double, and the later ones read the stored f0 back.
TFrequencies ComputeFrequencies(double length, double beta) {
    TFrequencies f{};
    f.Base = static_cast<double>((0.5L * WaveSpeed) / length);
    const long double b = beta;
    f.Forward = static_cast<double>(std::sqrt((1.0L + b) / (1.0L - b)) * f.Base);
    f.Backward = static_cast<double>(std::sqrt((1.0L - b) / (1.0L + b)) * f.Base);
    return f;
}

void StoreFrequencies(TSimulationState& state, const TFrequencies& f) {
    state.BaseFrequency = f.Base;
    state.ForwardFrequency = f.Forward;
    state.BackwardFrequency = f.Backward;
}

// What one frame needs of the frequencies: those of both sines, and their angular factors
// for arguments too large to be reduced by whole turns.
struct TAngularFactors {
    long double Forward;
    long double Backward;
    long double ForwardFrequency;
    long double BackwardFrequency;
};

TAngularFactors AngularFactors(const TFrequencies& f) {
    return {TwoPi * f.Forward, TwoPi * f.Backward, f.Forward, f.Backward};
}

// The argument stays in extended precision until it has been reduced by whole turns: the
// remainder, at most π in magnitude, then loses nothing that matters when rounded to double,
// and the double sine of it agrees with the extended sine to about 1e-12 at any time the
// animation reaches. Rounding the whole argument to double first would lose accuracy in
// proportion to t; the extended sine itself is many times slower than a frame allows.
//
// Returns false for arguments of 2^32 turns and more (and NaN), which take the slow path.
inline bool ReduceArgument(long double argument, double& reduced) {
    const long double turns = argument * InverseTwoPi;
    if (!(std::fabs(turns) < 4294967296.0L)) {
        return false;
    }
    const long double k = (turns + RoundingShift) - RoundingShift;
    reduced = static_cast<double>((argument - k * TwoPiHead) - k * TwoPiTail);
    return true;
}

// The same for an argument given in turns (f · (t ∓ a / WaveSpeed), the argument over 2π): the
// distance to the nearest whole number of turns is exact in extended precision, and only it
// is multiplied by 2π. This takes half the extended operations of a reduction in radians.
inline bool ReduceTurns(long double turns, double& reduced) {
    if (!(std::fabs(turns) < 4294967296.0L)) {
        return false;
    }
    const long double k = (turns + RoundingShift) - RoundingShift;
    reduced = static_cast<double>((turns - k) * TwoPi);
    return true;
}

// The sine of a reduced argument (|r| ≤ π, a little more is fine), without branches so that
// a loop over many of them runs in vector registers. Beyond ±π/2 the argument is reflected
// into [−π/2, π/2], where the Taylor series up to y^21 is exact to double precision (the
// first omitted term is below 2e-18).
inline double KernelSine(double r) {
    constexpr double HalfPi = 1.5707963267948966192;
    constexpr double PiHead = 3.141592653589793115997963468544185161590576171875;
    constexpr double PiTail = 1.2246467991473532071737640294584e-16;
    const double above = (PiHead - r) + PiTail;  // sin(r) = sin(π − r)
    const double below = (-PiHead - r) - PiTail; // sin(r) = sin(−π − r)
    double y = r > HalfPi ? above : r;
    y = r < -HalfPi ? below : y;
    const double z = y * y;
    const double series =
        1.0 / 362880 +
        z * (-1.0 / 39916800 +
             z * (1.0 / 6227020800 +
                  z * (-1.0 / 1307674368000 +
                       z * (1.0 / 355687428096000 + z * (-1.0 / 121645100408832000 +
                                                         z * (1.0 / 51090942171709440000.0))))));
    return y + y * z * (-1.0 / 6 + z * (1.0 / 120 + z * (-1.0 / 5040 + z * series)));
}

// Replaces each reduced argument by its sine.
void SineBlock(double* values, std::int32_t count) {
    for (std::int32_t i = 0; i < count; ++i) {
        values[i] = KernelSine(values[i]);
    }
}

double SlowSine(long double argument) {
    if (!(std::fabs(argument) < TwoTo63)) {
        return std::isnan(argument) ? std::numeric_limits<double>::quiet_NaN() : 0.0;
    }
    return static_cast<double>(std::sin(argument));
}

// --- Arguments by parts ---------------------------------------------------------------------
//
// Sample a = 1000 q + m (0 <= m < 1000). In turns (the argument over 2π) the forward wave's
// argument f1 (t − a / WaveSpeed) is f1 (t − q) − f1 m / 1000, and the backward wave's is
// f2 (t + q) + f2 m / 1000. The whole part changes once in a thousand samples and is worked
// out in extended precision then; the part of m depends on the frequency alone and takes one
// of a thousand values, kept in a table while the frequency stays. Each part is a number of
// turns with its whole turns removed, as a pair of doubles, so that per sample only a handful
// of double operations remain, in a loop that runs in vector registers.
static_assert(WaveSpeed == 1000.0 && HorizontalPeriod == 1000);

// A number of turns as the unevaluated sum High + Low, whole turns removed (|High| <= 1/2).
struct TTurns {
    double High = 0.0;
    double Low = 0.0;
};

// turns (finite, of magnitude below 2^62) less its nearest whole number.
TTurns FractionOfTurns(long double turns) {
    const long double k = (turns + RoundingShift) - RoundingShift;
    const long double fraction = turns - k; // exact
    const double high = static_cast<double>(fraction);
    return {high, static_cast<double>(fraction - high)};
}

// f m / 1000 in turns. f · m is exact in extended precision (53 + 10 bits), the division is
// rounded once.
TTurns PartTurns(double f, std::int32_t m) {
    return FractionOfTurns(static_cast<long double>(f) * m / WaveSpeed);
}

// The part of every m for one frequency.
struct TPartTable {
    double Frequency = std::numeric_limits<double>::quiet_NaN();
    double High[HorizontalPeriod];
    double Low[HorizontalPeriod];
};

// The tables of the forward (slot 0) and backward (slot 1) wave, filled again when the
// frequency changes, that is when L or β does.
const TPartTable& PartTable(double f, int slot) {
    thread_local TPartTable tables[2];
    TPartTable& table = tables[slot];
    if (!(table.Frequency == f)) {
        for (std::int32_t m = 0; m < HorizontalPeriod; ++m) {
            const TTurns part = PartTurns(f, m);
            table.High[m] = part.High;
            table.Low[m] = part.Low;
        }
        table.Frequency = f;
    }
    return table;
}

constexpr double TwoPiHigh = 6.283185307179586;
constexpr double TwoPiLow = 2.4492935982947064e-16;
// Adding and subtracting 1.5 · 2^52 rounds a double of magnitude below 2^51 to an integer.
constexpr double DoubleRoundingShift = 6755399441055744.0;

// 2π times (a + b) less its nearest whole number of turns, for two parts with |High| <= 1/2:
// the high parts are added exactly (two-sum), the low parts and the error on top, and the
// nearest whole turn is taken away (exact, the sum being at most about 1).
inline double PartsToRadians(double aHigh, double aLow, double bHigh, double bLow) {
    const double sum = aHigh + bHigh;
    const double bPart = sum - aHigh;
    const double error = (aHigh - (sum - bPart)) + (bHigh - bPart);
    double turns = sum + (error + (aLow + bLow));
    turns -= (turns + DoubleRoundingShift) - DoubleRoundingShift;
    return turns * TwoPiHigh + turns * TwoPiLow;
}

// (s1 − s2) · 500 rounded once (to within the last place): the difference is made exact by
// two-sum before the multiplication.
inline double Amplitude(double s1, double s2) {
    const double difference = s1 - s2;
    const double s2Part = difference - s1;
    const double error = (s1 - (difference - s2Part)) + (-s2 - s2Part);
    return difference * 500.0 + error * 500.0;
}

std::int64_t FloorDivide(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Below this many samples the parts are worked out one by one instead of through the table.
constexpr std::int32_t TableThreshold = 64;

// The reduced arguments of count consecutive sample indexes from first, which all share the
// whole part q. False when the whole part is too large (or not a number) to be reduced; the
// caller then takes the extended path for them.
bool ReducedArguments(const TAngularFactors& w, long double t, std::int64_t first,
                      std::int32_t count, double* forward, double* backward) {
    const std::int64_t q = FloorDivide(first, HorizontalPeriod);
    const long double wholeForward = w.ForwardFrequency * (t - q);
    const long double wholeBackward = w.BackwardFrequency * (t + q);
    if (!(std::fabs(wholeForward) < 4294967296.0L && std::fabs(wholeBackward) < 4294967296.0L)) {
        return false;
    }
    const TTurns f1 = FractionOfTurns(wholeForward);
    const TTurns f2 = FractionOfTurns(wholeBackward);
    const auto m0 = static_cast<std::int32_t>(first - q * HorizontalPeriod);
    const auto forwardFrequency = static_cast<double>(w.ForwardFrequency);
    const auto backwardFrequency = static_cast<double>(w.BackwardFrequency);
    if (count < TableThreshold) {
        for (std::int32_t i = 0; i < count; ++i) {
            const TTurns p1 = PartTurns(forwardFrequency, m0 + i);
            const TTurns p2 = PartTurns(backwardFrequency, m0 + i);
            forward[i] = PartsToRadians(f1.High, f1.Low, -p1.High, -p1.Low);
            backward[i] = PartsToRadians(f2.High, f2.Low, p2.High, p2.Low);
        }
        return true;
    }
    const TPartTable& parts1 = PartTable(forwardFrequency, 0);
    const TPartTable& parts2 = PartTable(backwardFrequency, 1);
    const double* high1 = parts1.High + m0;
    const double* low1 = parts1.Low + m0;
    const double* high2 = parts2.High + m0;
    const double* low2 = parts2.Low + m0;
    for (std::int32_t i = 0; i < count; ++i) {
        forward[i] = PartsToRadians(f1.High, f1.Low, -high1[i], -low1[i]);
        backward[i] = PartsToRadians(f2.High, f2.Low, high2[i], low2[i]);
    }
    return true;
}

// The displacements of count consecutive sample indexes from first, in blocks that do not
// cross a multiple of 1000: the arguments by parts (or, for arguments of 2^32 turns and more,
// by the extended path), then the sines, then their difference.
void ComputeDisplacements(const TAngularFactors& w, long double t, std::int64_t first,
                          std::int32_t count, double* displacements) {
    constexpr std::int32_t BlockSize = HorizontalPeriod;
    double forward[BlockSize];
    double backward[BlockSize];
    // Arguments too large for the reduction: their sines, put in after the block's sines.
    struct TSlowSine {
        double* Slot;
        double Value;
    };
    std::vector<TSlowSine> slow;
    std::int32_t done = 0;
    while (done < count) {
        const std::int64_t a0 = first + done;
        const std::int64_t m0 = a0 - FloorDivide(a0, HorizontalPeriod) * HorizontalPeriod;
        const auto n = static_cast<std::int32_t>(
            std::min<std::int64_t>(count - done, HorizontalPeriod - m0));
        if (!ReducedArguments(w, t, a0, n, forward, backward)) {
            for (std::int32_t i = 0; i < n; ++i) {
                const long double position = static_cast<long double>(a0 + i) / WaveSpeed;
                const long double u1 = t - position;
                const long double u2 = position + t;
                if (!ReduceTurns(w.ForwardFrequency * u1, forward[i])) {
                    forward[i] = 0.0;
                    slow.push_back({&forward[i], SlowSine(w.Forward * u1)});
                }
                if (!ReduceTurns(w.BackwardFrequency * u2, backward[i])) {
                    backward[i] = 0.0;
                    slow.push_back({&backward[i], SlowSine(w.Backward * u2)});
                }
            }
        }
        SineBlock(forward, n);
        SineBlock(backward, n);
        for (const TSlowSine& s : slow) {
            *s.Slot = s.Value;
        }
        slow.clear();
        for (std::int32_t i = 0; i < n; ++i) {
            displacements[done + i] = Amplitude(forward[i], backward[i]);
        }
        done += n;
    }
}

} // namespace

double ExtendedSine(long double argument) {
    double reduced = 0.0;
    return ReduceArgument(argument, reduced) ? KernelSine(reduced) : SlowSine(argument);
}

double SampleDisplacement(TSimulationState& state, std::int32_t index) {
    const TFrequencies f = ComputeFrequencies(state.StringLength, state.Beta);
    StoreFrequencies(state, f);
    double y = 0.0;
    ComputeDisplacements(AngularFactors(f), state.SimTime, index, 1, &y);
    return y;
}

void ProduceFrame(TSimulationState& state, TFrameTarget& target, bool holdHorizontal,
                  const std::function<void()>& processMessages) {
    target.ClearPoints();
    const long double beta = state.Beta;
    const double drift = static_cast<double>(WaveSpeed * beta * state.SimTime);
    state.FirstSample = RoundHalfEvenLow32(drift);
    state.LastSample =
        RoundHalfEvenLow32(std::sqrt(1.0L - beta * beta) * state.StringLength + state.FirstSample);

    // The frequencies depend on L and β only, so every sample would store the same values:
    // they are computed once per frame.
    const TFrequencies f = ComputeFrequencies(state.StringLength, state.Beta);
    const std::int64_t first = state.FirstSample;
    const std::int64_t count = static_cast<std::int64_t>(state.LastSample) - first + 1;
    if (count > 0) {
        StoreFrequencies(state, f);
    }
    const TAngularFactors w = AngularFactors(f);
    constexpr std::int32_t BatchSize = 1024;
    double displacements[BatchSize];
    for (std::int64_t done = 0; done < count; done += BatchSize) {
        const auto n = static_cast<std::int32_t>(std::min<std::int64_t>(BatchSize, count - done));
        ComputeDisplacements(w, state.SimTime, first + done, n, displacements);
        for (std::int32_t i = 0; i < n; ++i) {
            const std::int64_t a = first + done + i;
            const std::int64_t k = holdHorizontal ? a - first : a;
            target.AddPoint(static_cast<double>(k % HorizontalPeriod), displacements[i]);
        }
    }
    if (processMessages) {
        processMessages();
    }
}

void AdvanceTime(TSimulationState& state) {
    state.SimTime = static_cast<double>(static_cast<long double>(state.SimTime) + TimeStep);
}
