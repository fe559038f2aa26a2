// The optimal solver: exact lengths against a breadth-first enumeration of
// the cubes near solved, scrambles solved in no more moves than they took,
// the same answer on one and two threads, the verdicts of Solve, and a stop
// (cancel, length limit) that still gives a solution.

#include "CubeText.h"
#include "CubieCube.h"
#include "MoveWalk.h"
#include "OptimalSolver.h"
#include "DistanceBuild.h"
#include "TempFolder.h"
#include "TestCube.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <tuple>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

using cubie::CubieCube;
using testsupport::Turn;

std::string Key(const CubieCube& c)
{
    return std::string(reinterpret_cast<const char*>(c.cp), sizeof c.cp) +
           std::string(reinterpret_cast<const char*>(c.co), sizeof c.co) +
           std::string(reinterpret_cast<const char*>(c.ep), sizeof c.ep) +
           std::string(reinterpret_cast<const char*>(c.eo), sizeof c.eo);
}

// The solution played on the model of the entered colours solves it, and has
// as many moves as it claims.
void ExpectSolves(const BYTE colors[54], const OptimalResult& r)
{
    ASSERT_EQ(r.nResult, 0);
    EXPECT_EQ(r.moves.size(), static_cast<size_t>(r.length) * 3) << r.moves;
    CCubeSolver model;
    LoadCube(model, colors);
    model.ExecuteMoves(r.moves);
    EXPECT_TRUE(model.IsSolved()) << r.moves;
}

TEST(OptimalSolver, EveryCubeNearSolvedGetsItsDistance)
{
    // Breadth-first from the solved cube: every cube within kDepth moves, once, with its distance.
    constexpr int kDepth = 4;
    std::unordered_map<std::string, int> distance{{Key(CubieCube()), 0}};
    std::vector<CubieCube> level{CubieCube()}, all{CubieCube()};
    for (int d = 1; d <= kDepth; ++d) {
        std::vector<CubieCube> next;
        for (const CubieCube& c : level)
            for (int m = 0; m < 18; ++m) {
                const CubieCube n = Turn(c, m);
                if (distance.emplace(Key(n), d).second)
                    next.push_back(n);
            }
        all.insert(all.end(), next.begin(), next.end());
        level.swap(next);
    }
    ASSERT_EQ(all.size(), 1u + 18 + 243 + 3240 + 43239); // the known counts
    OptimalOptions options;
    for (const CubieCube& c : all) {
        BYTE colors[54];
        cubie::WriteFacelets(c, kStandard, colors);
        const OptimalResult r = SolveOptimal(colors, options);
        ASSERT_EQ(r.length, distance[Key(c)]) << r.moves;
        ASSERT_TRUE(r.bProven);
        // Played on the cubies: the solution undoes the cube.
        CubieCube p = c;
        for (size_t i = 0; i + 2 < r.moves.size(); i += 3)
            p = Turn(p, static_cast<int>(std::string("TFRLBD").find(r.moves[i]) * 3 +
                                         std::string("+*-").find(r.moves[i + 1])));
        ASSERT_EQ(p, CubieCube()) << r.moves;
    }
}

TEST(OptimalSolver, ScramblesNoLongerThanTheyTookTheSameOnTwoThreads)
{
    std::mt19937 rng(18);
    for (int n = 0; n < 12; ++n) {
        const int nLength = 8 + n % 5;
        CubieCube c;
        for (int i = 0; i < nLength; ++i)
            c = Turn(c, static_cast<int>(rng() % 18));
        BYTE colors[54];
        cubie::WriteFacelets(c, kStandard, colors);
        OptimalOptions options;
        std::vector<OptimalProgress> seen;
        options.progress = [&seen](const OptimalProgress& p) { seen.push_back(p); };
        const OptimalResult one = SolveOptimal(colors, options);
        ExpectSolves(colors, one);
        EXPECT_TRUE(one.bProven);
        EXPECT_LE(one.length, nLength);
        EXPECT_GT(one.nodes, 0u);
        // The short solver never beats a proven length.
        std::string strShort;
        ASSERT_EQ(SolveShort(colors, 20, strShort), 0);
        EXPECT_GE(strShort.size() / 3, static_cast<size_t>(one.length));
        // Progress: lengths rising, each reported with every shorter one ruled out.
        for (size_t i = 0; i < seen.size(); ++i) {
            EXPECT_EQ(seen[i].nRuledOut, seen[i].nDepth - 1);
            EXPECT_LE(seen[i].nDepth, one.length);
            if (i > 0) {
                EXPECT_GE(seen[i].nDepth, seen[i - 1].nDepth);
            }
        }
        options.nThreads = 2;
        options.progress = nullptr;
        const OptimalResult two = SolveOptimal(colors, options);
        EXPECT_EQ(two.moves, one.moves);
        EXPECT_EQ(two.length, one.length);
        EXPECT_TRUE(two.bProven);
    }
}

TEST(OptimalSolver, VerdictsAsSolve)
{
    std::vector<std::vector<BYTE>> cubes;
    BYTE colors[54];
    CubieCube c;
    c.eo[cubie::TR] = 1; // a flipped edge
    cubie::WriteFacelets(c, kStandard, colors);
    cubes.emplace_back(colors, colors + 54);
    c = CubieCube();
    c.co[cubie::DBL] = 1; // a twisted corner
    cubie::WriteFacelets(c, kStandard, colors);
    cubes.emplace_back(colors, colors + 54);
    c = CubieCube();
    std::swap(c.ep[cubie::TF], c.ep[cubie::DB]); // two edges swapped
    cubie::WriteFacelets(c, kStandard, colors);
    cubes.emplace_back(colors, colors + 54);
    cubie::WriteFacelets(CubieCube(), kStandard, colors);
    colors[7] = 0; // a blank sticker
    cubes.emplace_back(colors, colors + 54);
    colors[7] = colors[4]; // a centre colour on an edge of its own face twice
    colors[1] = 3;
    cubes.emplace_back(colors, colors + 54);
    int nCodes[3] = {};
    for (const auto& cube : cubes) {
        CCubeSolver model;
        LoadCube(model, cube.data());
        const int nExpected = model.Solve(nullptr);
        const OptimalResult r = SolveOptimal(cube.data(), OptimalOptions());
        EXPECT_EQ(r.nResult, nExpected);
        EXPECT_TRUE(r.moves.empty());
        ++nCodes[nExpected];
    }
    EXPECT_GT(nCodes[1], 0);
    EXPECT_GT(nCodes[2], 0);
}

TEST(OptimalSolver, StoppedItGivesTheShortSolutionUnproven)
{
    std::mt19937 rng(7);
    BYTE colors[54];
    cubie::WriteFacelets(cubie::RandomCubieCube(rng), kStandard, colors);
    std::string strShort;
    ASSERT_EQ(SolveShort(colors, 20, strShort), 0);

    std::atomic<bool> bCancel{true};
    OptimalOptions options;
    options.pCancel = &bCancel;
    options.nThreads = 2;
    OptimalResult r = SolveOptimal(colors, options);
    ExpectSolves(colors, r);
    EXPECT_EQ(r.moves, strShort);
    EXPECT_FALSE(r.bProven);

    // Cancelled from the progress callback once a long length starts.
    bCancel = false;
    options.progress = [&bCancel](const OptimalProgress& p) {
        if (p.nDepth >= 13)
            bCancel = true;
    };
    r = SolveOptimal(colors, options);
    ExpectSolves(colors, r);
    EXPECT_FALSE(r.bProven);

    // A length limit below the optimal length.
    options = OptimalOptions();
    options.nMaxDepth = 5;
    r = SolveOptimal(colors, options);
    ExpectSolves(colors, r);
    EXPECT_EQ(r.moves, strShort);
    EXPECT_FALSE(r.bProven);
}

} // namespace

namespace {

// The large table, the program's default, gives answers as long as the
// small tables do on cubes a few moves from solved, in fewer nodes.
TEST(OptimalSolver, TheLargeTableGivesAsShortAnswersInFewerNodes)
{
    // Computed here when the cache folder has none (a minute or two and
    // 1 GB); the other tests search with the small tables alone.
    const auto& large = optimal::OptimalTables::Get(optimal::OptimalTables::Size::LARGE);
    ASSERT_TRUE(large.large) << optimal::OptimalTables::LargeTableProblem();
    const auto& small = optimal::OptimalTables::Get(optimal::OptimalTables::Size::SMALL);
    std::mt19937 rng(31);
    for (int n = 0; n < 40; ++n) {
        CubieCube c = CubieCube::Solved();
        for (int i = 0; i < 4 + n % 7; ++i)
            c = Turn(c, static_cast<int>(rng() % 18));
        BYTE colors[54];
        cubie::WriteFacelets(c, kStandard, colors);
        OptimalOptions options;
        const OptimalResult a = SolveOptimal(colors, options, large);
        const OptimalResult b = SolveOptimal(colors, options, small);
        EXPECT_EQ(a.length, b.length);
        EXPECT_TRUE(a.bProven && b.bProven);
        EXPECT_LE(a.nodes, b.nodes);
    }
}

} // namespace

// A table computation told to stop stops at its next look (on one thread
// and on several) and says it is incomplete; one left alone, on one thread
// or on several, is whole and equals the corner table the solver uses.
TEST(OptimalSolver, ComputingATableStopsWhenCancelled)
{
    const auto& t = optimal::OptimalTables::Get(optimal::OptimalTables::Size::SMALL);
    const std::uint16_t* cornerMove = t.base.moves.cornerPerm.data();
    auto move = [cornerMove](size_t v, int k) {
        return static_cast<size_t>(cornerMove[v * shortsolver::kMoveCount + static_cast<size_t>(k)]);
    };
    // Cancelled when progress has been told nCancelAt times (0: never).
    auto build = [&](int nThreads, int nCancelAt, shortsolver::Mod3Table& table, int& nCalls) {
        std::atomic<bool> bCancel{false};
        nCalls = 0;
        return shortsolver::BuildDistances(
            table, t.base.depth.corners, shortsolver::RowMoveOf(t.base.depth.corners, move), shortsolver::kMoveCount, coord::kTwistCount, t.base.moves.twist.data(),
            t.base.depth.twistConj.data(), 0, nThreads,
            [&](double) {
                if (++nCalls == nCancelAt)
                    bCancel = true;
            },
            &bCancel);
    };
    for (int nThreads : {1, 2}) {
        shortsolver::Mod3Table whole;
        int nLevels = 0;
        ASSERT_TRUE(build(nThreads, 0, whole, nLevels));
        ASSERT_EQ(whole.Bytes(), t.corners.Bytes());
        EXPECT_EQ(0, std::memcmp(whole.Data(), t.corners.Data(), t.corners.Bytes()));
        ASSERT_GT(nLevels, 3);
        // Early (forward, one thread) and late (backward, every thread).
        for (int nAt : {1, nLevels - 2}) {
            SCOPED_TRACE(testing::Message() << nThreads << " threads, cancelled at level " << nAt);
            shortsolver::Mod3Table part;
            int nCalls = 0;
            EXPECT_FALSE(build(nThreads, nAt, part, nCalls));
            EXPECT_EQ(nCalls, nAt);
        }
    }
}

// The exact phase-1 table is whole and agrees with the short solver's table
// modulo 3 everywhere; its entries are the distances a walk down that table
// finds; one table computed on one thread equals the solver's.
TEST(OptimalSolver, TheExactPhase1TableHoldsTheDistances)
{
    const auto& t = optimal::OptimalTables::Get(optimal::OptimalTables::Size::SMALL);
    const auto& phase1 = t.base.depth.phase1;
    const size_t nRows = shortsolver::kFlipSliceClassCount, nColumns = coord::kTwistCount;
    size_t nWrong = 0;
    for (size_t r = 0; r < nRows; ++r)
        for (size_t c = 0; c < nColumns; ++c)
            nWrong += t.phase1Exact.Get(r, c) % 3 != phase1.Get(r, c) || t.phase1Exact.Get(r, c) > 12;
    EXPECT_EQ(nWrong, 0u);
    std::mt19937 rng(5);
    for (int i = 0; i < 2000; ++i) {
        const int flip = static_cast<int>(rng() % coord::kFlipCount);
        const int slice = static_cast<int>(rng() % coord::kSliceCount);
        const int twist = static_cast<int>(rng() % coord::kTwistCount);
        ASSERT_EQ(optimal::ExactPhase1Entry(t.phase1Exact, t.base.depth, flip, slice, twist),
                  t.base.depth.Phase1Distance(t.base.moves, flip, slice, twist))
            << flip << " " << slice << " " << twist;
    }
    optimal::NibbleTable one;
    optimal::BuildExactPhase1(one, t.base.moves, t.base.depth, 1);
    ASSERT_EQ(one.Bytes(), t.phase1Exact.Bytes());
    EXPECT_EQ(0, std::memcmp(one.Data(), t.phase1Exact.Data(), one.Bytes()));
    // The bound of a remainder: the least no smaller with it.
    for (const auto& [nAtLeast, nMod3, nBound] : {std::tuple{9, 0, 9}, {9, 1, 10}, {9, 2, 11}, {10, 0, 12}, {0, 2, 2}})
        EXPECT_EQ(shortsolver::DepthTables::LeastWithRemainder(nAtLeast, nMod3), nBound) << nAtLeast << " " << nMod3;
}

// The search reads the bound of a child's inverse on an axis only when the
// move does not turn a face of that axis (nor, without the large table, any
// face by a half turn): such a turn, made before the inverse, leaves its
// coordinates there as they were.
TEST(OptimalSolver, TurnsOfAnAxisKeepTheCoordinatesOfTheInverseThere)
{
    std::mt19937 rng(9);
    auto coordinates = [](const CubieCube& c, int a) {
        int faceOf[cubie::kFaceCount];
        const CubieCube inverse = shortsolver::SeenFromAxis(c, a, faceOf).Inverse();
        return std::tuple{coord::Flip(inverse), coord::Twist(inverse), coord::SliceSorted(inverse)};
    };
    for (int n = 0; n < 200; ++n) {
        const CubieCube c = cubie::RandomCubieCube(rng);
        for (int a = 0; a < shortsolver::kAxisCount; ++a) {
            int faceOf[cubie::kFaceCount];
            shortsolver::SeenFromAxis(c, a, faceOf);
            for (int nFace : {faceOf[0], faceOf[cubie::kFaceCount - 1]})
                for (int t = 0; t < 3; ++t)
                    ASSERT_EQ(coordinates(Turn(c, nFace * 3 + t), a), coordinates(c, a)) << a << " " << nFace << " " << t;
            // Without the middle layer's order (the phase-1 table's bound),
            // every half turn keeps them.
            for (int nFace = 0; nFace < cubie::kFaceCount; ++nFace) {
                auto [flip, twist, sorted] = coordinates(Turn(c, nFace * 3 + 1), a);
                EXPECT_EQ(std::tuple(flip, twist, sorted / 24),
                          std::tuple(std::get<0>(coordinates(c, a)), std::get<1>(coordinates(c, a)),
                                     std::get<2>(coordinates(c, a)) / 24))
                    << a << " " << nFace;
            }
        }
    }
}

// A solution's last move turns a face of one axis, so one move before it the
// cube stands at that axis's goal: no edge flipped, no corner twisted, the
// middle layer in order. The search rules out a cube that is as far from the
// goal on all three axes as it has moves left, which holds only if each face
// turn is at the goal of its own axis.
TEST(OptimalSolver, EachFaceTurnIsAtTheGoalOfItsAxis)
{
    const CubieCube solved;
    for (int a = 0; a < shortsolver::kAxisCount; ++a) {
        int faceOf[cubie::kFaceCount];
        const CubieCube seen = shortsolver::SeenFromAxis(solved, a, faceOf);
        ASSERT_EQ(seen, solved);
        for (int nFace : {faceOf[0], faceOf[cubie::kFaceCount - 1]})
            for (int t = 0; t < 3; ++t) {
                const CubieCube c = shortsolver::SeenFromAxis(Turn(solved, nFace * 3 + t), a, faceOf);
                EXPECT_EQ(std::tuple(coord::Flip(c), coord::Twist(c), coord::SliceSorted(c)),
                          std::tuple(0, 0, coord::SliceSorted(solved)))
                    << a << " " << nFace << " " << t;
            }
    }
}

// The small tables' cache file: the computed tables are read back (the
// fingerprint is theirs); a damaged, cut or other table's file is refused.
TEST(OptimalSolver, OnlyTheComputedSmallTablesAreReadFromAFile)
{
    const auto& t = optimal::OptimalTables::Get(optimal::OptimalTables::Size::SMALL);
    testsupport::TempFolder temp("zelvors-optimal-tables");
    const std::string path = (temp.path / optimal::OptimalTables::kCacheFileName).string();
    ASSERT_TRUE(t.WriteCache(path));
    optimal::OptimalTables read(t.base);
    ASSERT_TRUE(read.ReadCache(path));
    EXPECT_EQ(0, std::memcmp(read.phase1Exact.Data(), t.phase1Exact.Data(), t.phase1Exact.Bytes()));
    EXPECT_EQ(0, std::memcmp(read.corners.Data(), t.corners.Data(), t.corners.Bytes()));
    const testsupport::Bytes whole = testsupport::ReadFileBytes(path);
    const std::vector<std::pair<const char*, std::function<void(optimal::OptimalTables&, testsupport::Bytes&)>>> kBad = {
        {"a byte flipped", [](optimal::OptimalTables&, testsupport::Bytes& b) { b[b.size() / 2] ^= 0x10; }},
        {"cut short", [](optimal::OptimalTables&, testsupport::Bytes& b) { b.resize(b.size() - 100); }},
        {"an exact entry changed and written whole",
         [](optimal::OptimalTables& w, testsupport::Bytes&) { w.phase1Exact.Set(100, 7, 1); }},
    };
    for (const auto& [what, damage] : kBad) {
        optimal::OptimalTables wrong(t.base);
        ASSERT_TRUE(wrong.ReadCache(path));
        testsupport::Bytes bytes = whole;
        damage(wrong, bytes);
        if (bytes == whole) {
            ASSERT_TRUE(wrong.WriteCache(path)) << what;
        } else {
            testsupport::WriteFileBytes(path, bytes);
        }
        EXPECT_FALSE(optimal::OptimalTables(t.base).ReadCache(path)) << what;
        testsupport::WriteFileBytes(path, whole);
    }
}
