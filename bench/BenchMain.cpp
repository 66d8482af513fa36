// SPDX-License-Identifier: MIT
// Runs the benchmark cases and prints one line each:
//   <case> N=<points> median_us=<x> min_us=<y>
// Arguments: case names to run (all when none), --quick for a short smoke run, --runs=N for
// exactly N timed runs after one warm-up. A fixed count makes the work of two builds comparable
// under an instruction counter such as callgrind, where timing budgets mean nothing.
#include "BenchRunner.h"

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

std::vector<TBenchCase>& BenchCases() {
    static std::vector<TBenchCase> cases;
    return cases;
}

TBenchRegistration::TBenchRegistration(TBenchCase benchCase) {
    BenchCases().push_back(std::move(benchCase));
}

namespace {

void Measure(const TBenchCase& benchCase, bool quick, int fixedRuns) {
    using Clock = std::chrono::steady_clock;
    if (benchCase.Prepare) {
        benchCase.Prepare();
    }
    // Warm up, then time single runs until both a count and a time budget are met.
    const int warmup = quick || fixedRuns > 0 ? 1 : 20;
    for (int i = 0; i < warmup; ++i) {
        benchCase.Run();
    }
    const int minimumRuns = fixedRuns > 0 ? fixedRuns : quick ? 3 : 200;
    const double budgetSeconds = fixedRuns > 0 ? 0.0 : quick ? 0.05 : 2.0;
    std::vector<double> samples;
    const auto start = Clock::now();
    while (static_cast<int>(samples.size()) < minimumRuns ||
           (fixedRuns == 0 &&
            std::chrono::duration<double>(Clock::now() - start).count() < budgetSeconds)) {
        const auto before = Clock::now();
        benchCase.Run();
        samples.push_back(std::chrono::duration<double, std::micro>(Clock::now() - before).count());
        if (samples.size() >= 100000) {
            break;
        }
    }
    std::sort(samples.begin(), samples.end());
    std::printf("%s N=%lld median_us=%.1f min_us=%.1f\n", benchCase.Name.c_str(), benchCase.Points,
                samples[samples.size() / 2], samples.front());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    bool quick = false;
    int fixedRuns = 0;
    std::set<std::string> selected;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0) {
            quick = true;
        } else if (std::strncmp(argv[i], "--runs=", 7) == 0) {
            fixedRuns = std::clamp(std::atoi(argv[i] + 7), 1, 100000);
        } else {
            selected.insert(argv[i]);
        }
    }
    for (const TBenchCase& benchCase : BenchCases()) {
        if (selected.empty() || selected.count(benchCase.Name) != 0) {
            Measure(benchCase, quick, fixedRuns);
        }
    }
    return 0;
}
