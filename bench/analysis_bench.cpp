// How long one analysis takes, texts included, and the equivalent-car count alone.
#include "analysis/analyze.h"
#include "analysis/number_rules.h"
#include "analysis/session_state.h"

#include <benchmark/benchmark.h>

namespace {

using namespace trelvane;

stdGeneral layoutSession(int scale)
{
    stdGeneral session;
    fillCarFactors(session);
    selectScale(session, scale);
    session.intPassTrack = 1;
    session.intFuncTrack = 18;
    session.intStorTrack = 20;
    return session;
}

// A mixed roster that saturates the functional and the storage trackage and is short of
// passing track, so that every text is built in its longest form.
constexpr CarCounts kRoster{3, 12, 4, 3, 2, 1, 2, 1};

void BM_AnalyzeEveryText(benchmark::State &state)
{
    stdGeneral session = layoutSession(3);
    for (auto _ : state) {
        AnalysisOutcome outcome = Analyze(session, kRoster);
        benchmark::DoNotOptimize(outcome);
    }
}
BENCHMARK(BM_AnalyzeEveryText);

// The same roster on ample trackage: every verdict ADEQUATE, no functional suggestion.
void BM_AnalyzeAdequate(benchmark::State &state)
{
    stdGeneral session = layoutSession(3);
    session.intPassTrack = 100;
    session.intFuncTrack = 200;
    session.intStorTrack = 200;
    for (auto _ : state) {
        AnalysisOutcome outcome = Analyze(session, kRoster);
        benchmark::DoNotOptimize(outcome);
    }
}
BENCHMARK(BM_AnalyzeAdequate);

void BM_AnalyzeFailing(benchmark::State &state)
{
    stdGeneral session = layoutSession(3);
    session.intFuncTrack = 0;
    for (auto _ : state) {
        AnalysisOutcome outcome = Analyze(session, kRoster);
        benchmark::DoNotOptimize(outcome);
    }
}
BENCHMARK(BM_AnalyzeFailing);

void BM_CountEquivCars(benchmark::State &state)
{
    stdGeneral session = layoutSession(3);
    for (auto _ : state) {
        benchmark::DoNotOptimize(CountEquivCars(session, kRoster));
    }
}
BENCHMARK(BM_CountEquivCars);

// The functional suggestion's number, the costliest text of an analysis.
void BM_DoubleToText(benchmark::State &state)
{
    double value = 36 * 0.4;
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        benchmark::DoNotOptimize(doubleToText(value));
    }
}
BENCHMARK(BM_DoubleToText);

} // namespace

BENCHMARK_MAIN();
