// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>
#include <vector>

// A benchmark case: a name, the number of points it handles and one run of the work.
// Prepare runs once before the timing; Run is timed repeatedly.
struct TBenchCase {
    std::string Name;
    long long Points;
    std::function<void()> Prepare;
    std::function<void()> Run;
};

std::vector<TBenchCase>& BenchCases();

// Registers a case at start-up.
struct TBenchRegistration {
    explicit TBenchRegistration(TBenchCase benchCase);
};
