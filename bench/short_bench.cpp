// The short solver on 1,000 uniformly random cubes (random permutation and
// orientation, parities matched; seeded, so the same set on every run), one
// thread: time per solve (median, mean, p99, max), solution length (mean,
// max), and the tables' build time and memory.
//   short_bench                                  all figures, bound 20
//   short_bench --benchmark_filter=Set/21        the same at a bound of 21
// The tables are made by the first benchmark that runs, which measures that:
// ready_s is the time to read them from the cache file (from_cache=1) or to
// compute them (from_cache=0; run with ZELVORS_CACHE_DIR naming an empty folder).

#include "CubieCube.h"
#include "ShortSolver.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

constexpr int kCubeCount = 1000;

struct Cube {
    BYTE colors[54];
};

const std::vector<Cube>& Cubes()
{
    static const std::vector<Cube> cubes = [] {
        std::vector<Cube> v(kCubeCount);
        std::mt19937 rng(2026);
        const BYTE kStandard[6] = {1, 2, 3, 4, 5, 6};
        for (Cube& c : v)
            cubie::WriteFacelets(cubie::RandomCubieCube(rng), kStandard, c.colors);
        return v;
    }();
    return cubes;
}

// Runs once: a second build in the same process is impossible by design.
void BM_ShortTables(benchmark::State& state)
{
    double fSeconds = 0;
    for (auto _ : state) {
        const bool bWasReady = shortsolver::ShortSolverTables::IsReady();
        const auto t0 = std::chrono::steady_clock::now();
        const auto& tables = shortsolver::ShortSolverTables::Get();
        const auto t1 = std::chrono::steady_clock::now();
        if (!bWasReady)
            fSeconds = std::chrono::duration<double>(t1 - t0).count();
        state.counters["table_MB"] = static_cast<double>(tables.Bytes()) / (1 << 20);
        state.counters["from_cache"] = tables.origin == shortsolver::ShortSolverTables::Origin::CACHE ? 1 : 0;
    }
    state.counters["ready_s"] = fSeconds;
}
BENCHMARK(BM_ShortTables)->Iterations(1)->Unit(benchmark::kMillisecond);

// One pass over the whole set at the bound given, timing each solve.
void BM_ShortSolveSet(benchmark::State& state)
{
    const int nBound = static_cast<int>(state.range(0));
    const auto& tables = shortsolver::ShortSolverTables::Get();
    const auto& cubes = Cubes();
    std::vector<double> times;
    long nMoves = 0, nMaxMoves = 0;
    for (auto _ : state) {
        times.clear();
        nMoves = nMaxMoves = 0;
        for (const Cube& c : cubes) {
            std::string strMoves;
            const auto t0 = std::chrono::steady_clock::now();
            const int nResult = SolveShort(c.colors, nBound, strMoves, tables);
            const auto t1 = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(nResult);
            times.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
            const long n = static_cast<long>(strMoves.size() / 3);
            nMoves += n;
            nMaxMoves = std::max(nMaxMoves, n);
        }
    }
    std::sort(times.begin(), times.end());
    double fSum = 0;
    for (double t : times)
        fSum += t;
    state.counters["median_ms"] = times[times.size() / 2];
    state.counters["mean_ms"] = fSum / static_cast<double>(times.size());
    state.counters["p99_ms"] = times[times.size() * 99 / 100];
    state.counters["max_ms"] = times.back();
    state.counters["mean_len"] = static_cast<double>(nMoves) / static_cast<double>(cubes.size());
    state.counters["max_len"] = static_cast<double>(nMaxMoves);
}
BENCHMARK(BM_ShortSolveSet)->Arg(20)->Arg(21)->Iterations(1)->Unit(benchmark::kMillisecond);

// A position known to need 20 moves: every edge flipped in place.
void BM_ShortKnownHard(benchmark::State& state)
{
    const auto& tables = shortsolver::ShortSolverTables::Get();
    cubie::CubieCube cube;
    for (auto& o : cube.eo)
        o = 1;
    const BYTE kStandard[6] = {1, 2, 3, 4, 5, 6};
    BYTE colors[54];
    cubie::WriteFacelets(cube, kStandard, colors);
    long nMoves = 0;
    for (auto _ : state) {
        std::string strMoves;
        benchmark::DoNotOptimize(SolveShort(colors, 20, strMoves, tables));
        nMoves = static_cast<long>(strMoves.size() / 3);
    }
    state.counters["len"] = static_cast<double>(nMoves);
}
BENCHMARK(BM_ShortKnownHard)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
