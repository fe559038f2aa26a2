// Rewriting an attempt's move string into a solution.

#include "TestCube.h"

#include <gtest/gtest.h>

namespace {

std::string Simplified(const std::string& strMoves)
{
    CCubeSolver cube;
    cube.m_strSolution = strMoves;
    cube.SimplifySolution();
    return cube.m_strSolution;
}

TEST(SimplifySolution, DocumentedRewrites)
{
    const std::pair<const char*, const char*> kCases[] = {
        {"", ""},
        {"C+.F+.", "L+."},
        {"C^.T-.", "F-."},
        {"C-.C^.T+.", "R+."},
        {"F+.R+.R-.F-.", ""},
        {"D+.D+.D+.", "D-."},
        {"D-.D-.D-.", "D+."},
        {"D+.D+.", "D*."},
        {"D+.D+.D+.D+.", "D-.D+."},
        {"D+.D+.D+.D+.D+.D+.D+.D+.D+.D+.D+.D+.", ""},
        {"D+.D+.D+.D+.D+.", "D-.D*."},
        {"Cv.T+.", "B+."},
        {"C+.C-.C^.Cv.", ""},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(Simplified(c.first), c.second) << c.first;
}

TEST(SimplifySolution, StepTwoIsNotRepeatedAfterTheMerges)
{
    // The merged runs may leave neighbours of one face that a later step 2
    // would have cancelled: D-. from the threes next to D+.
    EXPECT_EQ(Simplified("F+.D+.D+.D+.F+."), "F+.D-.F+.");
    EXPECT_EQ(Simplified("R+.F+.F+.F+.F+.F+.F+.R+."), "R+.F*.R+.");
    EXPECT_EQ(Simplified("D+.D+.D+.D+.D-."), "D-.");
}

TEST(CancelInversePairs, OnePassWithoutLookingBack)
{
    std::string s = "F+.R+.R-.F-.";
    EXPECT_TRUE(CCubeSolver::CancelInversePairs(s));
    EXPECT_EQ(s, "F+.F-.");
    EXPECT_TRUE(CCubeSolver::CancelInversePairs(s));
    EXPECT_EQ(s, "");
    EXPECT_FALSE(CCubeSolver::CancelInversePairs(s));

    std::string t = "F+.F+.";
    EXPECT_FALSE(CCubeSolver::CancelInversePairs(t));
    EXPECT_EQ(t, "F+.F+.");

    std::string odd = "F+.F";
    EXPECT_TRUE(CCubeSolver::CancelInversePairs(odd)) << "a lone letter differs in its second character";
    EXPECT_EQ(odd, "");
}

TEST(SimplifySolution, KeepsWhatTheMovesDoOnRealCubes)
{
    // The relabelled, merged string does what the original does, less the
    // whole-cube turns.
    std::mt19937 rng(6);
    const char* kGroups[] = {"T+.", "T-.", "F+.", "F-.", "R+.", "R-.", "L+.", "L-.",
                             "B+.", "B-.", "D+.", "D-.", "C+.", "C-.", "C^.", "Cv."};
    for (int n = 0; n < 2000; ++n) {
        std::string strMoves, strCubeTurns;
        const int nLength = static_cast<int>(rng() % 40);
        for (int i = 0; i < nLength; ++i) {
            const char* g = kGroups[rng() % 16];
            strMoves += g;
            if (g[0] == 'C')
                strCubeTurns = std::string(g) + strCubeTurns;
        }
        CCubeSolver original;
        original.ExecuteMoves(strMoves);
        for (size_t p = 0; p < strCubeTurns.size(); p += 3)
            original.UndoMove(strCubeTurns.substr(p, 3));
        CCubeSolver simplified;
        simplified.ExecuteMoves(Simplified(strMoves));
        ASSERT_EQ(FormatCube(simplified), FormatCube(original)) << strMoves;
    }
}

} // namespace
