// SPDX-License-Identifier: MIT
#include <korvatel/render/WheelSteps.h>

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

using namespace Korvatel;

TEST(WheelStepsTest, DeltasAddUpToWholeNotches) {
    struct Row {
        const char* name;
        std::vector<std::int32_t> deltas;
        // The steps answered for each delta.
        std::vector<std::int32_t> steps;
        std::int32_t pending;
    };
    const std::vector<Row> rows = {
        {"one notch up", {120}, {1}, 0},
        {"one notch down", {-120}, {-1}, 0},
        {"two notches at once", {240}, {2}, 0},
        // A high-resolution wheel reports a notch in eighths.
        {"eighths", {15, 15, 15, 15, 15, 15, 15, 15}, {0, 0, 0, 0, 0, 0, 0, 1}, 0},
        // A touchpad's tiny deltas give nothing until they make a notch.
        {"tiny", {1, 2, 3}, {0, 0, 0}, 6},
        {"the remainder waits", {100, 100}, {0, 1}, 80},
        {"turned back", {100, -100}, {0, 0}, 0},
        {"a partial notch keeps its sign", {-100, -30}, {0, -1}, -10},
        {"across zero", {60, -200}, {0, -1}, -20},
        {"nothing", {0}, {0}, 0},
    };
    for (const Row& row : rows) {
        TWheelSteps wheel;
        for (std::size_t i = 0; i < row.deltas.size(); ++i) {
            EXPECT_EQ(wheel.Add(row.deltas[i]), row.steps[i]) << row.name << " #" << i;
        }
        EXPECT_EQ(wheel.Pending(), row.pending) << row.name;
    }
}

TEST(WheelStepsTest, OneAbsurdDeltaGivesAtMostTenSteps) {
    TWheelSteps wheel;
    EXPECT_EQ(wheel.Add(std::numeric_limits<std::int32_t>::max()), TWheelSteps::MaxStepsPerDelta);
    // The surplus is dropped, not kept for later deltas; only the partial notch waits.
    EXPECT_LT(wheel.Pending(), TWheelSteps::Notch);
    EXPECT_EQ(wheel.Add(std::numeric_limits<std::int32_t>::min()), -TWheelSteps::MaxStepsPerDelta);
    EXPECT_GT(wheel.Pending(), -TWheelSteps::Notch);
}

TEST(WheelStepsTest, ResetForgetsAPartialNotch) {
    TWheelSteps wheel;
    wheel.Add(100);
    wheel.Reset();
    EXPECT_EQ(wheel.Pending(), 0);
    EXPECT_EQ(wheel.Add(100), 0);
}
