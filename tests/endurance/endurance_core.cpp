// Shuffle, Solve and replay the solution move by move, over and over, on the
// core alone; prints the memory at the start and the end and fails when the
// cube is ever left unsolved or memory keeps growing.
//
//   endurance_core CYCLES MAX_GROWTH_MIB     (growth 0: not checked, e.g. under a sanitizer)

#include "CubeSolver.h"
#include "Memory.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    const long nCycles = argc > 1 ? std::atol(argv[1]) : 10000;
    const long nMaxGrowthKiB = (argc > 2 ? std::atol(argv[2]) : 8) * 1024;
    const long nWarmUp = nCycles / 10 > 0 ? nCycles / 10 : 1;

    CCubeSolver cube;
    long nStartKiB = 0, nStartPeakKiB = 0, nMoves = 0;
    for (long i = 0; i < nCycles; ++i) {
        if (i == nWarmUp) {
            nStartKiB = CurrentRssKiB();
            nStartPeakKiB = PeakRssKiB();
        }
        cube.Shuffle(nullptr);
        if (cube.Solve(nullptr) != CCubeSolver::SOLVE_OK) {
            std::fprintf(stderr, "cycle %ld: the shuffled cube was not solved\n", i);
            return 1;
        }
        const CString solution = cube.GetSolution();
        for (size_t p = 0; p < solution.size(); p += 3)
            cube.ExecuteMoves(solution.substr(p, 3));
        nMoves += static_cast<long>(solution.size() / 3);
        if (!cube.IsSolved()) {
            std::fprintf(stderr, "cycle %ld: the replayed solution did not solve the cube\n", i);
            return 1;
        }
    }
    std::printf("%ld Shuffle-Solve-replay cycles, %ld moves replayed\n", nCycles, nMoves);
    return ReportMemory(nStartKiB, nStartPeakKiB, nMaxGrowthKiB);
}
