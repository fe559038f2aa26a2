// Configurations that pass the membership check without being cubes: every
// corner painted with one of its colours twice, or with two of its stickers
// exchanged, on the solved cube and on scrambled ones. None may be reported
// as solved, and none may hang the solver.

#include "TestCube.h"

#include <gtest/gtest.h>

#include <random>

namespace {

struct Counts {
    int nBadCubelets = 0;
    int nUnsolvable = 0;
};

// Runs one malformed cube through Solve and checks what may be said of it.
void Check(const CCubeSolver& source, const std::string& strWhat, Counts& counts)
{
    CountingCube cube;
    const std::string strEntered = FormatCube(source);
    LoadText(cube, strEntered);
    const int nResult = cube.Solve(nullptr);
    ASSERT_NE(nResult, CCubeSolver::SOLVE_OK) << strWhat << ": " << strEntered << " -> \"" << cube.GetSolution() << '"';
    ASSERT_TRUE(nResult == CCubeSolver::SOLVE_BAD_CUBELETS || nResult == CCubeSolver::SOLVE_UNSOLVABLE);
    EXPECT_EQ(FormatCube(cube), strEntered) << strWhat;
    // 24 attempts of a bounded number of stage steps each.
    EXPECT_LT(cube.nTurnsCW + cube.nTurnsCCW, 200000) << strWhat;
    ++(nResult == CCubeSolver::SOLVE_BAD_CUBELETS ? counts.nBadCubelets : counts.nUnsolvable);
}

void AllCornerFaults(const std::string& strBase, Counts& counts)
{
    for (int n = 0; n < 8; ++n) {
        for (int a = 0; a < 3; ++a) {
            for (int b = 0; b < 3; ++b) {
                if (a == b)
                    continue;
                const FaceletPos& pa = g_cornerTable[n][a];
                const FaceletPos& pb = g_cornerTable[n][b];
                // Sticker b repainted with the colour of sticker a.
                CCubeSolver repainted;
                LoadText(repainted, strBase);
                Facelet(repainted, pb.letter, pb.row, pb.col) = Facelet(repainted, pa.letter, pa.row, pa.col);
                Check(repainted, strBase + ": corner " + std::to_string(n) + " colour twice", counts);
                // Stickers a and b exchanged (a mirror image of the corner).
                if (a < b) {
                    CCubeSolver swapped;
                    LoadText(swapped, strBase);
                    SwapFacelets(swapped, pa, pb);
                    Check(swapped, strBase + ": corner " + std::to_string(n) + " stickers exchanged", counts);
                }
            }
        }
    }
}

} // namespace

TEST(NotCubes, CornerPaintedTwiceOrMirroredIsNeverSolved)
{
    Counts counts;
    CCubeSolver solved;
    AllCornerFaults(FormatCube(solved), counts);

    std::mt19937 rng(4711);
    for (int k = 0; k < 12; ++k) {
        CCubeSolver scrambled;
        MakeRandomLegalCube(scrambled, rng);
        AllCornerFaults(FormatCube(scrambled), counts);
    }
    // Both of the dialog's message paths are taken by such cubes.
    EXPECT_GT(counts.nBadCubelets, 0);
    EXPECT_GT(counts.nUnsolvable, 0);
    RecordProperty("bad_cubelets", counts.nBadCubelets);
    RecordProperty("unsolvable", counts.nUnsolvable);
}

TEST(NotCubes, EdgePaintedTwiceIsNeverSolved)
{
    Counts counts;
    std::mt19937 rng(99);
    for (int k = 0; k < 6; ++k) {
        CCubeSolver scrambled;
        if (k > 0)
            MakeRandomLegalCube(scrambled, rng);
        for (int n = 0; n < 12; ++n) {
            for (int a = 0; a < 2; ++a) {
                CCubeSolver repainted;
                LoadText(repainted, FormatCube(scrambled));
                const FaceletPos& pa = g_edgeTable[n][a];
                const FaceletPos& pb = g_edgeTable[n][1 - a];
                Facelet(repainted, pb.letter, pb.row, pb.col) = Facelet(repainted, pa.letter, pa.row, pa.col);
                Check(repainted, "edge " + std::to_string(n), counts);
            }
        }
    }
    // An edge with one colour twice is no edge: the check itself refuses it.
    EXPECT_EQ(counts.nUnsolvable, 0);
}
