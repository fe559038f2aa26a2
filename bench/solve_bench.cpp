// Solve on a fixed set of scrambled cubes: time per Solve and mean solution
// length. The cubes are the first scrambles the program makes after start-up,
// so the set is the same on every run.
//   solve_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "CubeSolver.h"
#include "CubeText.h"
#include "Random.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int kCubeCount = 1000;

const std::vector<std::string>& Cubes()
{
    static const std::vector<std::string> cubes = [] {
        std::vector<std::string> v;
        CubeRandom::Seed(1);
        CCubeSolver cube;
        for (int i = 0; i < kCubeCount; ++i) {
            cube.Shuffle(nullptr);
            v.push_back(FormatCube(cube));
        }
        return v;
    }();
    return cubes;
}

void LoadInto(CCubeSolver& cube, const std::string& strText)
{
    BYTE colors[kCubeTextLength];
    std::string strError;
    ParseCubeText(strText, colors, strError);
    LoadCube(cube, colors);
}

void BM_Solve(benchmark::State& state)
{
    const auto& cubes = Cubes();
    CCubeSolver cube;
    size_t i = 0;
    long nMoves = 0, nSolves = 0;
    for (auto _ : state) {
        state.PauseTiming();
        LoadInto(cube, cubes[i]);
        i = (i + 1) % cubes.size();
        state.ResumeTiming();
        const int nResult = cube.Solve(nullptr);
        benchmark::DoNotOptimize(nResult);
        nMoves += static_cast<long>(cube.GetSolution().size() / 3);
        ++nSolves;
    }
    state.counters["moves"] = benchmark::Counter(static_cast<double>(nMoves) / nSolves);
}
BENCHMARK(BM_Solve)->Unit(benchmark::kMicrosecond);

// One pass over the whole set, timing each Solve: the median and the mean length.
void BM_SolveSet(benchmark::State& state)
{
    const auto& cubes = Cubes();
    CCubeSolver cube;
    std::vector<double> times;
    double fMeanMoves = 0;
    for (auto _ : state) {
        times.clear();
        long nMoves = 0;
        for (const std::string& strCube : cubes) {
            LoadInto(cube, strCube);
            const auto t0 = std::chrono::steady_clock::now();
            const int nResult = cube.Solve(nullptr);
            const auto t1 = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(nResult);
            times.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
            nMoves += static_cast<long>(cube.GetSolution().size() / 3);
        }
        fMeanMoves = static_cast<double>(nMoves) / cubes.size();
    }
    std::sort(times.begin(), times.end());
    state.counters["median_us"] = times[times.size() / 2];
    state.counters["p99_us"] = times[times.size() * 99 / 100];
    state.counters["mean_moves"] = fMeanMoves;
    state.counters["cubes"] = static_cast<double>(cubes.size());
}
BENCHMARK(BM_SolveSet)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
