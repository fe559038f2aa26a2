// Tables that read whole but are not the ones this build computes (another
// build's, or damaged before they were written): a file of them is refused,
// and tables that slipped through anyway never give a wrong verdict or a
// search without end; the cube is solved again with tables computed anew.

#include "CubeText.h"
#include "ShortSolver.h"
#include "TempFolder.h"
#include "TestCube.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>

namespace {

using shortsolver::ShortSolverTables;

// Damage done to a copy of the tables.
struct Damage {
    const char* what;
    std::function<void(ShortSolverTables&)> apply;
};

void Zero(shortsolver::Mod3Table& table) { std::fill(table.Data(), table.Data() + table.Bytes(), 0); }

const Damage kDamages[] = {
    {"the phase-1 table zeroed", [](ShortSolverTables& t) { Zero(t.depth.phase1); }},
    {"the phase-2 table zeroed", [](ShortSolverTables& t) { Zero(t.depth.phase2); }},
    {"a tenth of the phase-1 table's rows swapped", [](ShortSolverTables& t) {
         const size_t stride = t.depth.phase1.Stride(), rows = t.depth.phase1.Bytes() / stride;
         for (size_t r = 0; r + 1 < rows; r += 20)
             std::swap_ranges(t.depth.phase1.Data() + r * stride, t.depth.phase1.Data() + (r + 1) * stride,
                              t.depth.phase1.Data() + (r + 1) * stride);
     }},
    {"one move of the twist table changed", [](ShortSolverTables& t) { t.moves.twist[18 * 5 + 3] ^= 1; }},
};

// The tables of this process's fixture cache are exactly the computed ones:
// ReadCache takes them (the fingerprint matches), and each damaged copy
// written through the same writer is refused.
TEST(WrongTables, OnlyTheTablesThisBuildComputesAreReadFromAFile)
{
    const ShortSolverTables& good = ShortSolverTables::Get();
    EXPECT_EQ(good.Fingerprint(), ShortSolverTables::kFingerprint);
    EXPECT_TRUE(good.SpotCheck());
    testsupport::TempFolder temp("zelvors-wrong-tables");
    const std::string path = (temp.path / ShortSolverTables::kCacheFileName).string();
    ASSERT_TRUE(good.WriteCache(path));
    EXPECT_TRUE(ShortSolverTables().ReadCache(path));
    for (const Damage& damage : kDamages) {
        ShortSolverTables bad = good;
        damage.apply(bad);
        ASSERT_TRUE(bad.WriteCache(path)) << damage.what;
        EXPECT_FALSE(ShortSolverTables().ReadCache(path)) << damage.what;
    }
    // The spot checks alone find the large tables' damage, even under the
    // right fingerprint.
    for (int i = 0; i < 3; ++i) {
        ShortSolverTables bad = good;
        kDamages[i].apply(bad);
        EXPECT_FALSE(bad.SpotCheck()) << kDamages[i].what;
    }
}

// Wrong tables taken for read from a file: every cube still gets a solution
// that solves it, within the bound. Zeroed phase-1 distances find nothing;
// zeroed phase-2 distances would search for ever.
TEST(WrongTables, ASearchThatFailsAsRightTablesNeverDoSolvesAgainWithComputedTables)
{
    std::mt19937 rng(17);
    for (int i = 0; i < 2; ++i) {
        ShortSolverTables bad = ShortSolverTables::Get();
        kDamages[i].apply(bad);
        bad.origin = ShortSolverTables::Origin::CACHE;
        // A search of the second kind takes seconds to give up.
        for (int n = 0; n < (i == 0 ? 3 : 1); ++n) {
            CCubeSolver cube;
            MakeRandomLegalCube(cube, rng);
            BYTE colors[kFaceletCount];
            ReadCube(cube, colors);
            std::string strMoves;
            ASSERT_EQ(SolveShort(colors, 20, strMoves, bad), kSolved) << kDamages[i].what;
            EXPECT_LE(strMoves.size(), 3u * 20);
            CCubeSolver model;
            LoadCube(model, colors);
            model.ExecuteMoves(strMoves);
            EXPECT_TRUE(model.IsSolved()) << kDamages[i].what;
        }
    }
    // From then on the tables in use are computed ones.
    EXPECT_NE(ShortSolverTables::Get().origin, ShortSolverTables::Origin::CACHE);
}

} // namespace
