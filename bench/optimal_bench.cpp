// The optimal solver on hard cubes and easy ones, one and two threads:
// per cube its optimal length (or, stopped at the time budget, the length
// being searched), time, nodes and nodes per second; and the tables' making
// time and size. Standard error tells when each length's search starts.
//   optimal_bench [--cubes FILE] [--count N] [--budget SECONDS] [--random N] [--threads LIST]
// FILE holds a cube a line, its first column 54 digits (faces T F R L B D);
// lines starting with '#' are skipped. Defaults: the first 3 cubes of FILE, a
// budget of 120 s a solve, 5 random scrambles each of 12, 13 and 14 moves,
// threads "1,2". With ZELVORS_OPTIMAL_TABLES=small it searches without the large
// table (and neither reads nor computes it).

#include "CubieCube.h"
#include "OptimalSolver.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

long PeakResidentKiB()
{
#if defined(__linux__)
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
#endif
    return -1;
}

struct Cube {
    std::string name;
    BYTE colors[54];
};

// Solves with a time budget: a watchdog sets the cancel flag.
void Run(const Cube& cube, int nThreads, double budget)
{
    std::atomic<bool> bCancel{false};
    std::mutex mutex;
    std::condition_variable cv;
    bool bDone = false;
    std::thread watchdog([&] {
        std::unique_lock<std::mutex> lock(mutex);
        if (!cv.wait_for(lock, std::chrono::duration<double>(budget), [&] { return bDone; }))
            bCancel = true;
    });
    OptimalOptions options;
    options.nThreads = nThreads;
    options.pCancel = &bCancel;
    int nDepth = 0;
    const auto start = Clock::now();
    // Each length's start, on standard error: how long the shorter ones took.
    options.progress = [&nDepth, start](const OptimalProgress& p) {
        if (p.nDepth != nDepth)
            std::fprintf(stderr, "  searching %d moves at %.3f s, %llu nodes before\n", p.nDepth, Seconds(start),
                         static_cast<unsigned long long>(p.nodes));
        nDepth = p.nDepth;
    };
    const OptimalResult r = SolveOptimal(cube.colors, options);
    const double t = Seconds(start);
    {
        std::lock_guard<std::mutex> lock(mutex);
        bDone = true;
    }
    cv.notify_one();
    watchdog.join();
    if (r.bProven)
        std::printf("%-10s threads %d  optimal %2d          %9.3f s  %14llu nodes  %7.2f M/s\n", cube.name.c_str(),
                    nThreads, r.length, t, static_cast<unsigned long long>(r.nodes), r.nodes / t / 1e6);
    else
        std::printf("%-10s threads %d  stopped at %2d (best %2d) %9.3f s  %14llu nodes  %7.2f M/s\n",
                    cube.name.c_str(), nThreads, nDepth, r.length, t, static_cast<unsigned long long>(r.nodes),
                    r.nodes / t / 1e6);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    std::string strFile;
    int nCount = 3, nRandom = 5;
    double budget = 120;
    std::vector<int> threads{1, 2};
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--cubes"))
            strFile = argv[i + 1];
        else if (!std::strcmp(argv[i], "--count"))
            nCount = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--budget"))
            budget = std::atof(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--random"))
            nRandom = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--threads")) {
            threads.clear();
            std::stringstream list(argv[i + 1]);
            for (std::string s; std::getline(list, s, ',');)
                threads.push_back(std::atoi(s.c_str()));
        }
    }

    auto start = Clock::now();
    const auto& base = shortsolver::ShortSolverTables::Get();
    std::printf("short solver's tables: %.2f s (%s), %.1f MB\n", Seconds(start),
                base.origin == shortsolver::ShortSolverTables::Origin::CACHE ? "read" : "computed",
                base.Bytes() / 1e6);
    start = Clock::now();
    const bool bHadLarge = optimal::OptimalTables::LargeTableReady();
    const auto& tables = optimal::OptimalTables::Get();
    std::printf("small tables (corners, exact phase 1): %s, %.1f MB\n",
                tables.origin == optimal::OptimalTables::Origin::CACHE ? "read" : "computed",
                (tables.corners.Bytes() + tables.phase1Exact.Bytes()) / 1e6);
    if (tables.large)
        std::printf("large table: %.2f s (%s), %.1f MB\n", Seconds(start), bHadLarge ? "read" : "computed",
                    tables.large->Bytes() / 1e6);
    else
        std::printf("large table: none (%s)\n", optimal::OptimalTables::LargeTableProblem().c_str());
    start = Clock::now();
    optimal::OptimalTables fresh(base);
    fresh.Compute();
    std::printf("small tables computed: %.3f s\n", Seconds(start));

    std::vector<Cube> cubes;
    if (!strFile.empty()) {
        std::ifstream in(strFile);
        std::string line;
        while (static_cast<int>(cubes.size()) < nCount && std::getline(in, line)) {
            if (line.empty() || line[0] == '#' || line.size() < 54)
                continue;
            Cube c;
            c.name = "file " + std::to_string(cubes.size() + 1);
            for (int i = 0; i < 54; ++i)
                c.colors[i] = static_cast<BYTE>(line[static_cast<size_t>(i)] - '0');
            cubes.push_back(c);
        }
        if (cubes.empty())
            std::fprintf(stderr, "no cubes read from %s\n", strFile.c_str());
    }
    std::mt19937 rng(2026);
    const BYTE kStandard[6] = {1, 2, 3, 4, 5, 6};
    for (int nLength = 12; nLength <= 14; ++nLength)
        for (int n = 0; n < nRandom; ++n) {
            cubie::CubieCube c;
            int nLast = -1;
            for (int i = 0; i < nLength; ++i) {
                int m;
                do
                    m = static_cast<int>(rng() % 18);
                while (m / 3 == nLast);
                nLast = m / 3;
                for (int q = 0; q <= m % 3; ++q)
                    c = c * cubie::FaceTurn(m / 3);
            }
            Cube cube;
            cube.name = "scr" + std::to_string(nLength) + "." + std::to_string(n + 1);
            cubie::WriteFacelets(c, kStandard, cube.colors);
            cubes.push_back(cube);
        }
    for (const Cube& c : cubes)
        for (int t : threads)
            Run(c, t, budget);
    std::printf("peak resident memory: %.1f MB\n", PeakResidentKiB() / 1024.0);
    return 0;
}
