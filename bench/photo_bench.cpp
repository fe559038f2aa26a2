// Reading a real cube from six photos: loading, finding each face, measuring
// its stickers and deciding the 54 colours, on the rendered test photos
// (640x480 JPEG). The whole read of one cube should take under a second.
//   photo_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "ColourDecision.h"
#include "FaceFinder.h"

#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <vector>

namespace {

const char kFaces[] = "TFRLBD";

std::string PhotoPath(char session, int face)
{
    return std::string(ZELVORS_PHOTOS) + "/" + session + "-" + kFaces[face] + ".jpg";
}

// The four sessions' photos, loaded once.
const std::vector<photo::Image>& Photos()
{
    static const std::vector<photo::Image> photos = [] {
        std::vector<photo::Image> v;
        for (char session : {'a', 'b', 'c', 'd'})
            for (int face = 0; face < 6; ++face) {
                photo::Image image;
                photo::LoadImage(PhotoPath(session, face), image);
                v.push_back(image);
            }
        return v;
    }();
    return photos;
}

// Everything from the files to the decided cube, a session (six photos) an iteration.
void BM_ReadCubeFromSixPhotos(benchmark::State& state)
{
    int nSession = 0, nRead = 0;
    for (auto _ : state) {
        const char session = "abcd"[nSession++ % 4];
        scan::Measurement measured{};
        for (int face = 0; face < 6; ++face) {
            photo::Image image;
            photo::LoadImage(PhotoPath(session, face), image);
            const photo::FaceFinding finding = photo::FindFace(image);
            const std::array<scan::Rgb, 9> stickers = photo::MeasureFace(image, finding.corners);
            std::copy(stickers.begin(), stickers.end(), measured.begin() + face * 9);
        }
        const scan::ColourDecision decision = scan::DecideColours(measured);
        nRead += decision.nResult == kSolved;
        benchmark::DoNotOptimize(decision);
    }
    state.counters["read"] = benchmark::Counter(nRead, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ReadCubeFromSixPhotos)->Unit(benchmark::kMillisecond);

// The parts of it, a photo an iteration.
void BM_LoadPhoto(benchmark::State& state)
{
    int n = 0;
    for (auto _ : state) {
        photo::Image image;
        photo::LoadImage(PhotoPath("abcd"[n / 6 % 4], n % 6), image);
        benchmark::DoNotOptimize(image);
        ++n;
    }
}
BENCHMARK(BM_LoadPhoto)->Unit(benchmark::kMillisecond);

void BM_FindFace(benchmark::State& state)
{
    size_t n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(photo::FindFace(Photos()[n++ % Photos().size()]));
}
BENCHMARK(BM_FindFace)->Unit(benchmark::kMillisecond);

void BM_MeasureFace(benchmark::State& state)
{
    const photo::Image& image = Photos()[0];
    const photo::FaceFinding finding = photo::FindFace(image);
    for (auto _ : state)
        benchmark::DoNotOptimize(photo::MeasureFace(image, finding.corners));
}
BENCHMARK(BM_MeasureFace)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
