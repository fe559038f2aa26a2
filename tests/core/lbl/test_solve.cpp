// The solve driver over many cubes: legal ones, unsolvable ones, malformed ones.

#include "TestCube.h"

#include <gtest/gtest.h>

namespace {

// Performs a solution on a copy of the entered cube and tells whether it solves it.
bool SolvesCube(const std::string& strEntered, const std::string& strMoves)
{
    CCubeSolver cube;
    LoadText(cube, strEntered);
    cube.ExecuteMoves(strMoves);
    return cube.IsSolved();
}

bool IsSolutionForm(const std::string& s)
{
    if (s.size() % 3 != 0)
        return false;
    for (size_t p = 0; p < s.size(); p += 3)
        if (CCubeSolver::SlotOf(s[p]) < 0 || std::string("+-*").find(s[p + 1]) == std::string::npos ||
            s[p + 2] != '.')
            return false;
    return true;
}

TEST(Solve, SolvedCubeGivesEmptySolutionFromEveryAttempt)
{
    CountingCube cube;
    RecordingProgress progress;
    progress.SetRange(0, 150);
    EXPECT_EQ(cube.Solve(&progress), CCubeSolver::SOLVE_OK);
    EXPECT_EQ(cube.GetSolution(), "");
    ASSERT_EQ(cube.m_arrSolutions.size(), 24u);
    for (const std::string& s : cube.m_arrSolutions)
        EXPECT_EQ(s, "");
    // Stages 1 to 3 step four times each per attempt; the last layer is clean.
    EXPECT_EQ(progress.StepCount(), 24 * 12);
    EXPECT_EQ(progress.Pos(), 0);
    EXPECT_EQ(FormatCube(cube), kSolvedText);
}

TEST(Solve, RandomLegalCubesFromEveryOrientation)
{
    std::mt19937 rng(12345);
    long nMoves = 0;
    const int kCubes = 2000;
    for (int n = 0; n < kCubes; ++n) {
        CCubeSolver cube;
        MakeRandomLegalCube(cube, rng);
        cube.m_pSaved[0]->colors[0] = 0; // Solve must save the entered cube itself
        const std::string strEntered = FormatCube(cube);
        ASSERT_EQ(cube.Solve(nullptr), CCubeSolver::SOLVE_OK) << strEntered;
        ASSERT_EQ(cube.m_arrSolutions.size(), 24u) << strEntered;
        const std::string strSolution = cube.GetSolution();
        ASSERT_TRUE(IsSolutionForm(strSolution)) << strSolution;
        ASSERT_TRUE(SolvesCube(strEntered, strSolution)) << strEntered;
        for (const std::string& strCandidate : cube.m_arrSolutions) {
            ASSERT_GE(strCandidate.size(), strSolution.size());
            ASSERT_TRUE(SolvesCube(strEntered, strCandidate)) << strEntered << " " << strCandidate;
        }
        ASSERT_EQ(FormatCube(cube), strEntered) << "the live cube is the entered cube";
        ASSERT_EQ(SavedText(cube), strEntered) << "and so is the saved copy";
        nMoves += static_cast<long>(strSolution.size() / 3);
    }
    const double fMean = static_cast<double>(nMoves) / kCubes;
    EXPECT_GT(fMean, 50.0);
    EXPECT_LT(fMean, 110.0);
}

TEST(Solve, ShortestCandidateWithTiesToTheEarlierAttempt)
{
    std::mt19937 rng(77);
    for (int n = 0; n < 100; ++n) {
        CCubeSolver cube;
        MakeRandomLegalCube(cube, rng);
        ASSERT_EQ(cube.Solve(nullptr), 0);
        size_t nBest = 0;
        for (size_t i = 1; i < cube.m_arrSolutions.size(); ++i)
            if (cube.m_arrSolutions[i].size() < cube.m_arrSolutions[nBest].size())
                nBest = i;
        ASSERT_EQ(cube.GetSolution(), cube.m_arrSolutions[nBest]);
    }
}

enum class Fault { FlipEdge, TwistCorner, SwapEdges, SwapCorners };

TEST(Solve, UnsolvableCubesGiveTwoAndNoCandidate)
{
    std::mt19937 rng(99);
    const Fault kFaults[] = {Fault::FlipEdge, Fault::TwistCorner, Fault::SwapEdges,
                             Fault::SwapCorners};
    const char* kNames[] = {"one edge flipped", "one corner twisted", "two edges swapped",
                            "two corners swapped"};
    for (int f = 0; f < 4; ++f)
        for (int n = 0; n < 60; ++n) {
            CCubeSolver cube;
            if (n > 0)
                MakeRandomLegalCube(cube, rng);
            const int a = static_cast<int>(rng() % 12);
            const int b = (a + 1 + static_cast<int>(rng() % 11)) % 12;
            switch (kFaults[f]) {
            case Fault::FlipEdge: FlipEdge(cube, a); break;
            case Fault::TwistCorner: TwistCorner(cube, a % 8, rng() % 2 == 0); break;
            case Fault::SwapEdges: SwapEdges(cube, a, b); break;
            case Fault::SwapCorners: SwapCorners(cube, a % 8, (a % 8 + 1 + static_cast<int>(rng() % 7)) % 8); break;
            }
            const std::string strEntered = FormatCube(cube);
            ASSERT_EQ(cube.Solve(nullptr), CCubeSolver::SOLVE_UNSOLVABLE) << kNames[f] << " " << strEntered;
            ASSERT_TRUE(cube.m_arrSolutions.empty()) << kNames[f];
            ASSERT_EQ(cube.GetSolution(), "");
            ASSERT_EQ(FormatCube(cube), strEntered);
            ASSERT_EQ(SavedText(cube), strEntered);
        }
}

TEST(Solve, MalformedConfigurationsGiveOneWithNothingTouched)
{
    struct Case {
        const char* name;
        void (*make)(CCubeSolver&);
    };
    const Case kCases[] = {
        {"repeated centre colour",
         [](CCubeSolver& c) { Facelet(c, 'D', 1, 1) = Facelet(c, 'T', 1, 1); }},
        {"edge with two opposite colours",
         [](CCubeSolver& c) {
             Facelet(c, 'T', 2, 1) = Facelet(c, 'T', 1, 1);
             Facelet(c, 'F', 0, 1) = Facelet(c, 'D', 1, 1);
         }},
        {"all blank",
         [](CCubeSolver& c) {
             for (CubeFace* p : c.m_pFace)
                 for (BYTE& x : p->colors)
                     x = 0;
         }},
        {"cleared cube", [](CCubeSolver& c) { c.ClearCube(); }},
        {"corner with two opposite colours",
         [](CCubeSolver& c) {
             Facelet(c, 'T', 2, 2) = Facelet(c, 'T', 1, 1);
             Facelet(c, 'F', 0, 2) = Facelet(c, 'F', 1, 1);
             Facelet(c, 'R', 0, 0) = Facelet(c, 'B', 1, 1);
         }},
    };
    std::mt19937 rng(5);
    for (const Case& c : kCases)
        for (int n = 0; n < 5; ++n) {
            CountingCube cube;
            if (n > 0)
                MakeRandomLegalCube(cube, rng);
            c.make(cube);
            cube.m_strSolution = "F+.";
            cube.m_arrSolutions = {"earlier", "candidates"};
            cube.m_pSaved[2]->colors[3] = 0;
            const std::string strEntered = FormatCube(cube);
            const std::string strSaved = SavedText(cube);
            RecordingProgress progress;
            cube.ResetCounts();
            ASSERT_EQ(cube.Solve(&progress), CCubeSolver::SOLVE_BAD_CUBELETS) << c.name;
            EXPECT_EQ(cube.m_strSolution, "F+.") << c.name;
            EXPECT_EQ(cube.m_arrSolutions.size(), 2u) << c.name;
            EXPECT_EQ(FormatCube(cube), strEntered) << c.name;
            EXPECT_EQ(SavedText(cube), strSaved) << c.name;
            EXPECT_EQ(progress.nChanges, 0) << c.name;
            EXPECT_EQ(progress.StepCount(), 0) << c.name;
            EXPECT_EQ(cube.nWait + cube.nUpdateFalse + cube.nUpdateTrue, 0) << c.name;
        }
}

TEST(Solve, CubesThatPassTheCheckButAreNoRealCubeAreNeverReportedSolved)
{
    // A solved cube with one sticker repainted: corner 2 shows colour 3 twice.
    CCubeSolver repainted;
    LoadText(repainted, "111111111222222222333333233444444444555555555666666666");
    EXPECT_EQ(repainted.Solve(nullptr), CCubeSolver::SOLVE_UNSOLVABLE);
    EXPECT_EQ(repainted.GetSolution(), "");

    // Every corner, every way of showing one of its colours twice, on solved
    // and scrambled cubes; and two stickers of a corner exchanged (a mirrored piece).
    int nTried = 0;
    for (int n = 0; n < 6; ++n)
        for (int k = 0; k < 8; ++k)
            for (int from = 0; from < 3; ++from)
                for (int to = 0; to < 3; ++to) {
                    if (from == to)
                        continue;
                    CCubeSolver cube;
                    if (n > 0) {
                        std::mt19937 local(static_cast<unsigned>(n));
                        MakeRandomLegalCube(cube, local);
                    }
                    const auto& c = g_cornerTable[k];
                    if (to > from)
                        SwapFacelets(cube, c[from], c[to]);
                    else
                        Facelet(cube, c[to].letter, c[to].row, c[to].col) =
                            Facelet(cube, c[from].letter, c[from].row, c[from].col);
                    const std::string strEntered = FormatCube(cube);
                    const int nResult = cube.Solve(nullptr);
                    ++nTried;
                    ASSERT_NE(nResult, CCubeSolver::SOLVE_OK) << strEntered << " " << cube.GetSolution();
                    ASSERT_EQ(FormatCube(cube), strEntered);
                }
    EXPECT_EQ(nTried, 6 * 8 * 6);
}

} // namespace
