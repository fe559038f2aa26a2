// Entering a cube: the diagnosis, the fill and the formats, each on a fixed
// set of cubes, so that the dialog may run them on every painted facelet.
//   entry_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "CubeDiagnosis.h"
#include "CubeFormats.h"
#include "CubeSolver.h"
#include "CubeText.h"
#include "Random.h"

#include <benchmark/benchmark.h>

#include <array>
#include <random>
#include <vector>

namespace {

using Colours = std::array<BYTE, 54>;

constexpr int kCubeCount = 1000;

// The first scrambles the program makes after start-up, as colours.
const std::vector<Colours>& RealCubes()
{
    static const std::vector<Colours> cubes = [] {
        std::vector<Colours> v;
        CubeRandom::Seed(1);
        CCubeSolver cube;
        for (int i = 0; i < kCubeCount; ++i) {
            cube.Shuffle(nullptr);
            std::string strError;
            Colours c{};
            ParseCubeText(FormatCube(cube), c.data(), strError);
            v.push_back(c);
        }
        return v;
    }();
    return cubes;
}

// Each real cube changed one way: kind 0 one sticker repainted, 1 two centres
// exchanged, 2 a third of the facelets blanked.
std::vector<Colours> Changed(int nKind)
{
    std::mt19937 rng(static_cast<unsigned>(nKind) + 1);
    std::vector<Colours> v = RealCubes();
    for (Colours& c : v) {
        if (nKind == 0) {
            const unsigned f = rng() % 54;
            c[f] = static_cast<BYTE>(c[f] % 6 + 1);
        } else if (nKind == 1) {
            const unsigned a = rng() % 6, b = (a + 1 + rng() % 5) % 6;
            std::swap(c[a * 9 + 4], c[b * 9 + 4]);
        } else {
            for (int i = 0; i < 18; ++i)
                c[rng() % 54] = 0;
        }
    }
    return v;
}

void Diagnose(benchmark::State& state, const std::vector<Colours>& cubes)
{
    size_t i = 0;
    for (auto _ : state) {
        const CubeDiagnosis d = DiagnoseCube(cubes[i].data());
        benchmark::DoNotOptimize(d.problems.data());
        i = (i + 1) % cubes.size();
    }
}

void BM_DiagnoseRealCube(benchmark::State& state) { Diagnose(state, RealCubes()); }
void BM_DiagnoseWrongSticker(benchmark::State& state) { Diagnose(state, Changed(0)); }
void BM_DiagnoseSwappedCentres(benchmark::State& state) { Diagnose(state, Changed(1)); }
void BM_DiagnoseBlanks(benchmark::State& state) { Diagnose(state, Changed(2)); }

void BM_FillThirdBlank(benchmark::State& state)
{
    const std::vector<Colours> cubes = Changed(2);
    size_t i = 0;
    long nFilled = 0, nFills = 0;
    for (auto _ : state) {
        const FillResult r = FillDetermined(cubes[i].data());
        benchmark::DoNotOptimize(r.colors);
        nFilled += r.nFilled;
        ++nFills;
        i = (i + 1) % cubes.size();
    }
    state.counters["filled"] = benchmark::Counter(static_cast<double>(nFilled) / nFills);
}

void BM_FaceletStringRoundTrip(benchmark::State& state)
{
    const auto& cubes = RealCubes();
    size_t i = 0;
    CString strText, strError;
    Colours back{};
    for (auto _ : state) {
        FormatFaceletString(cubes[i].data(), strText, strError);
        ParseFaceletString(strText, back.data(), strError);
        benchmark::DoNotOptimize(back.data());
        i = (i + 1) % cubes.size();
    }
}

BENCHMARK(BM_DiagnoseRealCube);
BENCHMARK(BM_DiagnoseWrongSticker);
BENCHMARK(BM_DiagnoseSwappedCentres);
BENCHMARK(BM_DiagnoseBlanks);
BENCHMARK(BM_FillThirdBlank);
BENCHMARK(BM_FaceletStringRoundTrip);

} // namespace

BENCHMARK_MAIN();
