// Solving to a target: every stored pattern is the cube its algorithm makes,
// and is reached by the short solver from the solved cube and from random
// cubes, in any colour scheme; any cube to any other; the optimal solver to
// the short patterns; targets that are no cube refused.

#include "CubeFormats.h"
#include "CubeText.h"
#include "CubieCube.h"
#include "Patterns.h"
#include "TestCube.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <set>
#include <string>

namespace {

using Colours = std::array<BYTE, 54>;

Colours FromText(const std::string& s)
{
    Colours c{};
    std::string strError;
    EXPECT_TRUE(ParseCubeText(s, c.data(), strError)) << strError;
    return c;
}

std::string Played(const Colours& from, const std::string& strModelMoves)
{
    CCubeSolver cube;
    LoadCube(cube, from.data());
    cube.ExecuteMoves(strModelMoves);
    return FormatCube(cube);
}

int Length(const std::string& strModelMoves) { return static_cast<int>(strModelMoves.size() / 3); }

Colours RandomCube(std::mt19937& rng, const BYTE centres[6])
{
    Colours c{};
    cubie::WriteFacelets(cubie::RandomCubieCube(rng), centres, c.data());
    return c;
}

TEST(Patterns, EachIsTheCubeItsAlgorithmMakes)
{
    size_t nCount = 0;
    const CubePattern* patterns = CubePatterns(nCount);
    ASSERT_GE(nCount, 12u);
    std::set<std::string> names, cubes;
    for (size_t i = 0; i < nCount; ++i) {
        const CubePattern& p = patterns[i];
        std::string strModel, strError;
        ASSERT_TRUE(ParseStandardMoves(p.pszAlgorithm, strModel, strError)) << p.pszName << ": " << strError;
        EXPECT_EQ(Played(FromText(kSolvedText), strModel), p.pszCube) << p.pszName;
        EXPECT_EQ(cubie::ReadVerdict(FromText(p.pszCube).data()), kSolved) << p.pszName;
        EXPECT_TRUE(names.insert(p.pszName).second) << p.pszName;
        EXPECT_TRUE(cubes.insert(p.pszCube).second) << p.pszName;
    }
}

TEST(Patterns, ReachedFromSolvedAndFromRandomCubes)
{
    size_t nCount = 0;
    const CubePattern* patterns = CubePatterns(nCount);
    const Colours solved = FromText(kSolvedText);
    for (size_t i = 0; i < nCount; ++i) {
        std::string strMoves, strError;
        ASSERT_EQ(SolveShortTo(solved.data(), FromText(patterns[i].pszCube).data(), 20, strMoves, strError), kSolved);
        EXPECT_LE(Length(strMoves), 20);
        EXPECT_EQ(Played(solved, strMoves), patterns[i].pszCube) << patterns[i].pszName;
    }
    std::mt19937 rng(17);
    for (int k = 0; k < 100; ++k) {
        const CubePattern& p = patterns[static_cast<size_t>(k) % nCount];
        const Colours from = RandomCube(rng, kStandard);
        std::string strMoves, strError;
        ASSERT_EQ(SolveShortTo(from.data(), FromText(p.pszCube).data(), 20, strMoves, strError), kSolved);
        EXPECT_LE(Length(strMoves), 20);
        EXPECT_EQ(Played(from, strMoves), p.pszCube) << p.pszName;
    }
}

// A cube entered in other colours, or held another way up, reaches the
// pattern as those colours show it: the pattern relative to its centres.
TEST(Patterns, AnyColourSchemeAndAnyCubeToAnyOther)
{
    std::mt19937 rng(29);
    for (int k = 0; k < 50; ++k) {
        BYTE centres[6] = {1, 2, 3, 4, 5, 6};
        std::shuffle(std::begin(centres), std::end(centres), rng);
        const Colours from = RandomCube(rng, centres);
        const cubie::CubieCube target = cubie::RandomCubieCube(rng);
        Colours to{}, want{};
        cubie::WriteFacelets(target, kStandard, to.data());
        cubie::WriteFacelets(target, centres, want.data());
        std::string strMoves, strError;
        ASSERT_EQ(SolveShortTo(from.data(), to.data(), 20, strMoves, strError), kSolved);
        EXPECT_LE(Length(strMoves), 20);
        std::string strWant;
        for (BYTE c : want)
            strWant += static_cast<char>('0' + c);
        EXPECT_EQ(Played(from, strMoves), strWant);
    }
    // From a cube to itself: no moves.
    const Colours one = RandomCube(rng, kStandard);
    std::string strMoves = "x", strError;
    ASSERT_EQ(SolveShortTo(one.data(), one.data(), 20, strMoves, strError), kSolved);
    EXPECT_EQ(strMoves, "");
}

TEST(Patterns, OptimalToTheShortPatterns)
{
    size_t nCount = 0;
    const CubePattern* patterns = CubePatterns(nCount);
    const Colours solved = FromText(kSolvedText);
    for (size_t i = 0; i < nCount; ++i) {
        std::string strModel, strError;
        ASSERT_TRUE(ParseStandardMoves(patterns[i].pszAlgorithm, strModel, strError));
        if (Length(strModel) > 10)
            continue; // the long ones take the optimal search too long for a test
        OptimalOptions options;
        const OptimalResult r = SolveOptimalTo(solved.data(), FromText(patterns[i].pszCube).data(), options, strError);
        ASSERT_EQ(r.nResult, kSolved);
        EXPECT_TRUE(r.bProven);
        EXPECT_LE(r.length, Length(strModel)) << patterns[i].pszName;
        EXPECT_EQ(Played(solved, r.moves), patterns[i].pszCube) << patterns[i].pszName;
    }
}

TEST(Patterns, TargetsThatAreNoCubeAreRefused)
{
    const Colours solved = FromText(kSolvedText);
    Colours twisted = solved, blank{}, relative{};
    // One corner twisted in place: proper cubelets, but no cube face turns reach.
    const int* f = cubie::kCornerFacelets[0];
    std::swap(twisted[static_cast<size_t>(f[0])], twisted[static_cast<size_t>(f[1])]);
    std::swap(twisted[static_cast<size_t>(f[1])], twisted[static_cast<size_t>(f[2])]);
    std::string strError;
    EXPECT_EQ(RelativeCube(solved.data(), twisted.data(), relative.data(), strError), kUnsolvable);
    EXPECT_EQ(strError, "the target is no cube that face turns reach");
    EXPECT_EQ(RelativeCube(solved.data(), blank.data(), relative.data(), strError), kBadCubelets);
    EXPECT_EQ(strError, "the target does not contain proper cubelets");
    EXPECT_EQ(RelativeCube(blank.data(), solved.data(), relative.data(), strError), kBadCubelets);
    EXPECT_EQ(strError, "the cube does not contain proper cubelets");
}

} // namespace
