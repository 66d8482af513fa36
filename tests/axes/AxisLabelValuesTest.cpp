// SPDX-License-Identifier: MIT
#include <korvatel/axes/AxisLabelValues.h>

#include <korvatel/axes/AxisLabelStep.h>
#include <korvatel/axes/ChartDateTime.h>

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

using namespace Korvatel;

namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();

std::vector<double> Linear(const TLinearLabelInputs& inputs) {
    std::vector<double> values;
    ProduceLinearLabels(inputs, [&](double v) { values.push_back(v); });
    return values;
}

std::vector<double> Sequence(double from, double to, double step) {
    std::vector<double> values;
    for (double v = from; step > 0 ? v <= to : v >= to; v += step) {
        values.push_back(v);
    }
    return values;
}

double Day(int year, int month, int day) {
    return QDateToChartDate(QDate(year, month, day));
}

void ExpectValues(const std::vector<double>& actual, const std::vector<double>& expected,
                  const char* name) {
    ASSERT_EQ(actual.size(), expected.size()) << name;
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_NEAR(actual[i], expected[i], 1e-9 * std::max(1.0, std::fabs(expected[i])))
            << name << " at " << i;
    }
}

} // namespace

TEST(AxisLabelValuesTest, LinearLabelsRunFromTheTopDown) {
    struct Row {
        const char* name;
        TLinearLabelInputs inputs;
        std::vector<double> expected;
    };
    const Row rows[] = {
        // No label at a negative minimum: the bound is -999.999999999.
        {"left axis", {-1000, 1000, 100, true, NoCalendarStep}, Sequence(1000, -900, -100)},
        // A zero minimum is labelled.
        {"bottom axis", {0, 1000, 50, true, NoCalendarStep}, Sequence(1000, 0, -50)},
        {"RoundFirstLabel off", {3.7, 13.7, 5, false, NoCalendarStep}, {13.7, 8.7, 3.7}},
        {"RoundFirstLabel on", {3.7, 13.7, 5, true, NoCalendarStep}, {10, 5}},
        {"negative maximum truncates toward zero",
         {-1000, -150, 100, true, NoCalendarStep},
         Sequence(-200, -900, -100)},
        {"positive minimum is labelled",
         {100, 500, 100, true, NoCalendarStep},
         {500, 400, 300, 200, 100}},
        {"empty range gives its one value", {5, 5, 1, true, NoCalendarStep}, {5}},
        {"step above the range", {0, 1000, 5000, true, NoCalendarStep}, {0}},
        {"9999 steps are still labelled",
         {0, 9999, 1, true, NoCalendarStep},
         Sequence(9999, 0, -1)},
        {"10000 steps are not", {0, 10000, 1, true, NoCalendarStep}, {}},
        {"nor a step of zero", {0, 10, 0, true, NoCalendarStep}, {}},
        {"nor an infinite range", {-Infinity, Infinity, 1, true, NoCalendarStep}, {}},
    };
    for (const Row& row : rows) {
        ExpectValues(Linear(row.inputs), row.expected, row.name);
    }
}

TEST(AxisLabelValuesTest, TheMaximumKeepsItsLabelDespiteRounding) {
    // The ladder's step for 0..0.5 with room for 5 labels is the double nearest 0.1, and
    // 0.5 / 0.1 is just below 5 in extended precision; 0.3 / 0.1 is just below 3 in double.
    TLabelStepInputs inputs;
    inputs.LabelSize = 20;
    inputs.PixelLength = 110;
    inputs.EffectiveRange = 0.5;
    const double ladderStep = ComputeLabelStep(inputs);
    ExpectValues(Linear({0, 0.5, ladderStep, true, NoCalendarStep}), {0.5, 0.4, 0.3, 0.2, 0.1, 0},
                 "0..0.5");
    ExpectValues(Linear({0, 0.3, 0.1, true, NoCalendarStep}), {0.3, 0.2, 0.1, 0}, "0..0.3");
    ExpectValues(Linear({0, 0.06, 0.010000000000000002, true, NoCalendarStep}),
                 {0.06, 0.05, 0.04, 0.03, 0.02, 0.01, 0}, "0..0.06");
    // A maximum a real fraction of a step above a multiple still starts at that multiple.
    ExpectValues(Linear({0, 0.35, 0.1, true, NoCalendarStep}), {0.3, 0.2, 0.1, 0}, "0..0.35");
    EXPECT_EQ(Linear({0, 0.3, 0.1, true, NoCalendarStep}).front(), 0.3) << "not above it";
}

TEST(AxisLabelValuesTest, LinearLabelsEndWhereTheStepNoLongerMovesTheValue) {
    // An empty range climbs no ladder, so its step stays 1e-12: one label, not thousands
    // with the same text at the same pixel, nor an endless repaint where 1e-12 is below the
    // precision of the value.
    for (const double value : {5.0, 8000.0, 1e20, 0.0}) {
        EXPECT_EQ(Linear({value, value, MinLabelStep, true, NoCalendarStep}),
                  std::vector<double>{value})
            << value;
    }
    // A negative minimum is not labelled, also when it is the maximum.
    EXPECT_TRUE(Linear({-8000, -8000, MinLabelStep, true, NoCalendarStep}).empty());
    // A step below the precision of the values ends the labels after the first one.
    EXPECT_EQ(Linear({1e20 - 1e5, 1e20, 1e2, false, NoCalendarStep}), std::vector<double>{1e20});
    // A narrow range far from zero is labelled within itself: the bound's relative slack
    // alone would reach 4500 below it, thousands of labels off the axis.
    ExpectValues(Linear({4.5e15, 4.5e15 + 4, 1, true, NoCalendarStep}),
                 {4.5e15 + 4, 4.5e15 + 3, 4.5e15 + 2, 4.5e15 + 1, 4.5e15}, "4.5e15");
    ExpectValues(Linear({-1e12 - 10, -1e12, 5, true, NoCalendarStep}), {-1e12, -1e12 - 5}, "-1e12");
}

TEST(AxisLabelValuesTest, CalendarLabelsMoveByMonthsAcrossJanuary) {
    struct Row {
        const char* name;
        TLinearLabelInputs inputs;
        std::vector<double> expected;
    };
    const double min = Day(2023, 11, 10);
    const double max = Day(2024, 2, 20) + 0.5;
    const Row rows[] = {
        {"months", {min, max, 30, true, 19}, {Day(2024, 2, 1), Day(2024, 1, 1), Day(2023, 12, 1)}},
        {"half months",
         {min, max, 15, true, 18},
         {Day(2024, 2, 15), Day(2024, 2, 1), Day(2024, 1, 15), Day(2024, 1, 1), Day(2023, 12, 15),
          Day(2023, 12, 1), Day(2023, 11, 15)}},
        {"two months", {min, max, 60, true, 20}, {Day(2024, 2, 1), Day(2023, 12, 1)}},
        {"years",
         {Day(2019, 6, 1), Day(2023, 3, 1), 365, true, 24},
         {Day(2023, 1, 1), Day(2022, 1, 1), Day(2021, 1, 1), Day(2020, 1, 1)}},
        // Days: the first label is the date of the maximum, then plain steps.
        {"days",
         {Day(2024, 2, 17), max, 1, true, 14},
         {Day(2024, 2, 20), Day(2024, 2, 19), Day(2024, 2, 18), Day(2024, 2, 17)}},
        // Without a calendar index the time of day of the maximum is kept.
        {"no calendar", {max - 2, max, 1, false, NoCalendarStep}, {max, max - 1, max - 2}},
    };
    for (const Row& row : rows) {
        ExpectValues(Linear(row.inputs), row.expected, row.name);
    }
    // A maximum beyond the calendar gives no labels.
    EXPECT_TRUE(Linear({1e300 - 1e290, 1e300, 1e289, true, 19}).empty());
}

TEST(AxisLabelValuesTest, LogarithmicLabelsGoUpByPowersOfTheBase) {
    struct Row {
        const char* name;
        double min;
        double max;
        double base;
        std::vector<double> expected;
        TLogarithmicLabels result;
    };
    const Row rows[] = {
        // 1 is the power nearest 2 but lies below the minimum.
        {"2 to 5000", 2, 5000, 10, {10, 100, 1000}, {2, false}},
        {"4 rounds up to 10", 4, 5000, 10, {10, 100, 1000}, {4, false}},
        {"base 2", 1, 16, 2, {1, 2, 4, 8, 16}, {1, false}},
        {"small values", 0.001, 0.5, 10, {0.001, 0.01, 0.1}, {0.001, false}},
        {"zero minimum becomes 0.1", 0, 100, 10, {0.1, 1, 10, 100}, {0.1, true}},
        {"negative minimum becomes 1e-10", -5, 1e-8, 10, {1e-10, 1e-9, 1e-8}, {1e-10, true}},
        {"empty range", 10, 10, 10, {}, {10, false}},
        {"empty range at zero keeps its minimum", 0, 0, 10, {}, {0, false}},
        {"base not above 1", 1, 100, 1, {}, {1, false}},
    };
    for (const Row& row : rows) {
        std::vector<double> values;
        const TLogarithmicLabels result = ProduceLogarithmicLabels(
            row.min, row.max, row.base, [&](double v) { values.push_back(v); });
        ExpectValues(values, row.expected, row.name);
        EXPECT_EQ(result.EffectiveMinimum, row.result.EffectiveMinimum) << row.name;
        EXPECT_EQ(result.MinimumReplaced, row.result.MinimumReplaced) << row.name;
    }
    // An infinite maximum ends where the powers overflow.
    std::size_t count = 0;
    ProduceLogarithmicLabels(1, Infinity, 10, [&](double) { ++count; });
    EXPECT_EQ(count, 309u);
}

TEST(AxisLabelValuesTest, CustomLabelsEndInTheirTwoWaysOrAtTheCap) {
    std::vector<double> values;
    const TLabelValueSink sink = [&](double v) { values.push_back(v); };

    // Values 0, 100, 200, ... end at the first one above the maximum (plus 1e-7).
    const TNextAxisLabel hundreds = [](std::int32_t index, double& value, bool& stop) {
        value = 100.0 * index;
        stop = false;
    };
    EXPECT_EQ(ProduceCustomLabels(0, 450, hundreds, sink), cleOutOfRange);
    EXPECT_EQ(values, (std::vector<double>{0, 100, 200, 300, 400}));

    values.clear();
    EXPECT_EQ(ProduceCustomLabels(0, 400 - 5e-8, hundreds, sink), cleOutOfRange);
    EXPECT_EQ(values.size(), 5u) << "within the tolerance";

    // Stop set again on a later call ends the labels there.
    values.clear();
    std::vector<bool> stopOnEntry;
    const TNextAxisLabel three = [&](std::int32_t index, double& value, bool& stop) {
        stopOnEntry.push_back(stop);
        value += 1;
        stop = index == 3;
    };
    EXPECT_EQ(ProduceCustomLabels(10, 20, three, sink), cleStopped);
    EXPECT_EQ(values, (std::vector<double>{11, 12, 13}));
    // Stop is set once before the first call, and the handler's value carries over.
    EXPECT_EQ(stopOnEntry, (std::vector<bool>{true, false, false, false}));

    // Stop left set on the first call asks for the ordinary labels.
    values.clear();
    const TNextAxisLabel none = [](std::int32_t, double&, bool&) {};
    EXPECT_EQ(ProduceCustomLabels(0, 10, none, sink), cleFallBack);
    EXPECT_TRUE(values.empty());

    // A handler that never stops is asked for LabelIndex 0 to 2000.
    values.clear();
    std::int32_t lastIndex = -1;
    const TNextAxisLabel endless = [&](std::int32_t index, double&, bool& stop) {
        lastIndex = index;
        stop = false;
    };
    EXPECT_EQ(ProduceCustomLabels(0, 10, endless, sink), cleLimitReached);
    EXPECT_EQ(lastIndex, MaxCustomLabelIndex);
    EXPECT_EQ(values.size(), 2001u);

    // Not a number is outside every range.
    values.clear();
    const TNextAxisLabel nan = [](std::int32_t, double& value, bool& stop) {
        value = std::numeric_limits<double>::quiet_NaN();
        stop = false;
    };
    EXPECT_EQ(ProduceCustomLabels(0, 10, nan, sink), cleOutOfRange);
    EXPECT_TRUE(values.empty());
}

TEST(AxisLabelValuesTest, ValueLabelsChooseTheirProducer) {
    struct Row {
        const char* name;
        TValueLabelInputs inputs;
        bool withHandler;
        std::vector<double> expected;
        bool minimumReplaced;
    };
    //                         min   max  step  round  calendar       inc  log  base
    const TValueLabelInputs linear{0, 100, 50, true, NoCalendarStep, 0, false, 10};
    TValueLabelInputs logarithmic = linear;
    logarithmic.Logarithmic = true;
    TValueLabelInputs logarithmicWithIncrement = logarithmic;
    logarithmicWithIncrement.Increment = 50;
    const TValueLabelInputs calendar{
        Day(2023, 11, 10), Day(2024, 1, 20), 30, true, 19, 30, false, 10};
    const Row rows[] = {
        {"linear", linear, false, {100, 50, 0}, false},
        {"logarithmic", logarithmic, false, {0.1, 1, 10, 100}, true},
        {"logarithmic with Increment is linear",
         logarithmicWithIncrement,
         false,
         {100, 50, 0},
         false},
        {"custom handler that stops at once falls back",
         logarithmic,
         true,
         {0.1, 1, 10, 100},
         true},
        {"calendar moves", calendar, false, {Day(2024, 1, 1), Day(2023, 12, 1)}, false},
    };
    const TNextAxisLabel stopAtOnce = [](std::int32_t, double&, bool&) {};
    for (const Row& row : rows) {
        std::vector<double> values;
        bool replaced = false;
        ProduceValueLabels(
            row.inputs, row.withHandler ? stopAtOnce : TNextAxisLabel{},
            [&](double minimum) {
                // Told before the first label, which already stands at the new minimum.
                EXPECT_TRUE(values.empty()) << row.name;
                EXPECT_EQ(minimum, 0.1) << row.name;
                replaced = true;
            },
            [&](double v) { values.push_back(v); });
        ExpectValues(values, row.expected, row.name);
        EXPECT_EQ(replaced, row.minimumReplaced) << row.name;
    }
    // A handler that supplies labels replaces the ordinary ones.
    std::vector<double> values;
    ProduceValueLabels(
        logarithmic,
        [](std::int32_t index, double& value, bool& stop) {
            value = 30.0 * index;
            stop = false;
        },
        {}, [&](double v) { values.push_back(v); });
    EXPECT_EQ(values, (std::vector<double>{0, 30, 60, 90}));

    // Labels of any style need a step (or a calendar step) and a range that is not reversed.
    EXPECT_TRUE(LabelsAreProduced(50, NoCalendarStep, 0, 0));
    EXPECT_TRUE(LabelsAreProduced(0, 19, 0, 100));
    EXPECT_FALSE(LabelsAreProduced(0, NoCalendarStep, 0, 100));
    EXPECT_FALSE(LabelsAreProduced(50, NoCalendarStep, 200, 100));
}
