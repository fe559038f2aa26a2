// The five stages on chosen patterns, and their counts.

#include "TestCube.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

namespace {

bool StartsWith(const std::string& s, const std::string& prefix)
{
    return s.compare(0, prefix.size(), prefix) == 0;
}

// The top two layers solved relative to the centres.
bool FirstTwoLayersSolved(CCubeSolver& cube)
{
    if (!FaceAll(cube, 'T', cube.GetFace('T')->colors[4]))
        return false;
    for (char f : std::string("FRBL"))
        for (int i = 0; i < 6; ++i)
            if (cube.GetFace(f)->colors[i] != cube.GetFace(f)->colors[4])
                return false;
    return true;
}

TEST(Stages, SolvedCubeOnlyTurnsTheWholeCube)
{
    using Stage = void (CCubeSolver::*)(CProgressCtrl*);
    const Stage kStages[] = {&CCubeSolver::SolveTopEdges, &CCubeSolver::SolveTopCorners,
                             &CCubeSolver::SolveMiddleEdges};
    for (Stage stage : kStages) {
        CCubeSolver cube;
        RecordingProgress progress;
        (cube.*stage)(&progress);
        EXPECT_EQ(cube.m_strSolution, "C+.C+.C+.C+.");
        EXPECT_EQ(FormatCube(cube), kSolvedText);
        EXPECT_EQ(progress.StepCount(), 4);
    }
    CCubeSolver cube;
    RecordingProgress progress;
    EXPECT_TRUE(cube.SolveBottomEdges(&progress));
    EXPECT_TRUE(cube.SolveBottomCorners(&progress));
    EXPECT_EQ(cube.m_strSolution, "");
    EXPECT_EQ(progress.StepCount(), 0);
}

TEST(Stages, TopEdgeHomeButFlipped)
{
    CCubeSolver cube;
    FlipEdge(cube, 0);
    cube.SolveTopEdges(nullptr);
    EXPECT_TRUE(StartsWith(cube.m_strSolution, "F-.T+.L-.T-.C+.")) << cube.m_strSolution;
    EXPECT_EQ(cube.m_strSolution.size(), std::string("F-.T+.L-.T-.C+.C+.C+.C+.").size());
}

TEST(Stages, MiddleEdgeFlippedInItsOwnSlotIsFreedThenInserted)
{
    CCubeSolver cube;
    FlipEdge(cube, 4);
    cube.SolveMiddleEdges(nullptr);
    const std::string kFree = "R-.D+.R+.D+.F+.D-.F-.";
    ASSERT_TRUE(StartsWith(cube.m_strSolution, kFree)) << cube.m_strSolution;
    const std::string strRest = cube.m_strSolution.substr(kFree.size());
    EXPECT_FALSE(StartsWith(strRest, "C+.")) << "phase 2 of the same iteration inserts it";
}

TEST(Stages, FirstThreeStagesSolveTwoLayersAndKeepTheOrientation)
{
    std::mt19937 rng(404);
    for (int n = 0; n < 300; ++n) {
        CCubeSolver cube;
        MakeRandomLegalCube(cube, rng);
        std::string strCentres;
        for (const CubeFace* p : cube.m_pFace)
            strCentres += static_cast<char>(p->colors[4]);
        cube.SolveTopEdges(nullptr);
        cube.SolveTopCorners(nullptr);
        cube.SolveMiddleEdges(nullptr);
        ASSERT_TRUE(FirstTwoLayersSolved(cube)) << FormatCube(cube);
        std::string strAfter;
        for (const CubeFace* p : cube.m_pFace)
            strAfter += static_cast<char>(p->colors[4]);
        ASSERT_EQ(strAfter, strCentres);
    }
}

TEST(Stages, SingleFlippedBottomEdgeFailsAfterElevenEmptySteps)
{
    CCubeSolver cube;
    FlipEdge(cube, 5); // F-D
    RecordingProgress progress;
    EXPECT_FALSE(cube.SolveBottomEdges(&progress));
    EXPECT_EQ(progress.StepCount(), 11);
    EXPECT_EQ(cube.m_strSolution, "");
}

TEST(Stages, NoCrossStartsWithTheCrossMacro)
{
    CCubeSolver cube;
    for (int e : {5, 7, 8, 9})
        FlipEdge(cube, e);
    EXPECT_TRUE(cube.SolveBottomEdges(nullptr));
    EXPECT_TRUE(StartsWith(cube.m_strSolution, "F+.D+.L+.D-.L-.F-.")) << cube.m_strSolution;
    EXPECT_TRUE(cube.SolveBottomCorners(nullptr));
    EXPECT_TRUE(cube.IsSolved());
}

TEST(Stages, ThreeCycleWithFixedEdgeInFrontTurnsTwiceFirst)
{
    // Cycle the R, B and L bottom edges; the front one stays.
    CCubeSolver cube;
    BYTE& r = Facelet(cube, 'R', 2, 1);
    BYTE& b = Facelet(cube, 'B', 2, 1);
    BYTE& l = Facelet(cube, 'L', 2, 1);
    const BYTE x = r;
    r = b;
    b = l;
    l = x;
    RecordingProgress progress;
    EXPECT_TRUE(cube.SolveBottomEdges(&progress));
    const std::string& s = cube.m_strSolution;
    EXPECT_TRUE(s == "C+.C+.L-.D-.L+.D-.L-.D+.D+.L+." || s == "C+.C+.L-.D+.D+.L+.D+.L-.D+.L+.") << s;
    EXPECT_EQ(progress.StepCount(), 1) << "the search turns are no steps";
    EXPECT_TRUE(cube.SolveBottomCorners(nullptr));
    EXPECT_TRUE(cube.IsSolved());
}

TEST(Stages, OneTwistedCornerFailsAfterElevenSteps)
{
    for (int k = 4; k < 8; ++k) {
        CCubeSolver cube;
        TwistCorner(cube, k);
        RecordingProgress progress;
        EXPECT_TRUE(cube.SolveBottomEdges(nullptr));
        EXPECT_FALSE(cube.SolveBottomCorners(&progress));
        EXPECT_EQ(progress.StepCount(), 11);
    }
}

TEST(Stages, ThreeTwistedCornersWithFrontRightUntwisted)
{
    // Of the eight ways to twist the three other bottom corners, the two that
    // leave a real cube (twists adding up to a whole turn) are the ones to test.
    int nLegal = 0;
    for (int dirs = 0; dirs < 8; ++dirs) {
        CCubeSolver cube;
        TwistCorner(cube, 5, dirs & 1);
        TwistCorner(cube, 6, dirs & 2);
        TwistCorner(cube, 7, dirs & 4);
        CCubeSolver probe;
        LoadText(probe, FormatCube(cube));
        if (probe.Solve(nullptr) != 0)
            continue;
        ++nLegal;
        DWORD dwMask = 0;
        EXPECT_EQ(cube.GetCornerTwistMask(dwMask), 3);
        EXPECT_EQ(dwMask, 0xEu);
        EXPECT_TRUE(cube.SolveBottomCorners(nullptr));
        EXPECT_TRUE(StartsWith(cube.m_strSolution,
                               "C+.B+.L+.B-.L-.D+.D+.R-.B+.B+.R+.B-.R-.B+.B+.R+.B-.D+.D+."))
            << cube.m_strSolution;
        EXPECT_TRUE(cube.IsSolved());
    }
    EXPECT_EQ(nLegal, 2);
}

TEST(Stages, TwoBottomCornersSwappedFailAfterElevenEmptySteps)
{
    CCubeSolver cube;
    SwapCorners(cube, 4, 5);
    DWORD dwMask = 0;
    EXPECT_EQ(cube.GetCornerTwistMask(dwMask), 0);
    EXPECT_EQ(cube.GetCornerPlaceMask(dwMask), 2);
    RecordingProgress progress;
    EXPECT_FALSE(cube.SolveBottomCorners(&progress));
    EXPECT_EQ(progress.StepCount(), 11);
    EXPECT_EQ(cube.m_strSolution, "");
}

TEST(Stages, CensusMasksOfKnownPatterns)
{
    DWORD dwMask = 1234;
    CCubeSolver solved;
    EXPECT_EQ(solved.GetBottomEdgeMask(dwMask), 0);
    EXPECT_EQ(dwMask, 0u);

    // D+ carries each bottom edge one side on: front colour onto R, and so on.
    CCubeSolver turned;
    turned.ExecuteMoves("D+.");
    EXPECT_EQ(turned.GetBottomEdgeMask(dwMask), 4);
    EXPECT_EQ(dwMask, 0x020u | 0x800u | 0x100u | 0x002u);
    EXPECT_EQ(turned.GetCornerTwistMask(dwMask), 0);
    EXPECT_EQ(turned.GetCornerPlaceMask(dwMask), 4);
    EXPECT_EQ(dwMask, 0x020u | 0x800u | 0x100u | 0x002u);

    // Corner front-right twisted in place: twist bit 1.
    CCubeSolver twisted;
    TwistCorner(twisted, 4);
    EXPECT_EQ(twisted.GetCornerTwistMask(dwMask), 1);
    EXPECT_EQ(dwMask, 1u);

    // Front-right and back-left corners exchanged: diagonal bits only.
    CCubeSolver diagonal;
    SwapCorners(diagonal, 4, 6);
    EXPECT_EQ(diagonal.GetCornerPlaceMask(dwMask), 2);
    EXPECT_EQ(dwMask, 0x400u | 0x004u);
}

TEST(Stages, CornerPlaceCensusOnFacesThatAreNoNeighbours)
{
    // Miscoloured bottom corners: the front-right corner's front colour is
    // found on B and its right colour on F, faces that share no slot.
    CCubeSolver cube;
    const BYTE kCorner4[3] = {6, 6, 6};
    const BYTE kCorner5[3] = {6, 3, 6};
    const BYTE kCorner7[3] = {6, 2, 6};
    for (int i = 0; i < 3; ++i) {
        const FaceletPos* c4 = g_cornerTable[4];
        const FaceletPos* c5 = g_cornerTable[5];
        const FaceletPos* c7 = g_cornerTable[7];
        Facelet(cube, c4[i].letter, c4[i].row, c4[i].col) = kCorner4[i];
        Facelet(cube, c5[i].letter, c5[i].row, c5[i].col) = kCorner5[i];
        Facelet(cube, c7[i].letter, c7[i].row, c7[i].col) = kCorner7[i];
    }
    EXPECT_EQ(cube.FindCorner(2, 3, 6), cube.GetFace('B'));
    EXPECT_EQ(cube.FindCorner(3, 2, 6), cube.GetFace('F'));
    DWORD dwMask = 99;
    EXPECT_EQ(cube.GetCornerPlaceMask(dwMask), 3);
    EXPECT_EQ(dwMask, 0u);
}

} // namespace

// ---------------------------------------------------------------- the stage of each move

namespace {

// The solution's lines stay byte for byte what they were, and every move
// carries its stage: one per move, from 1 to 5, never decreasing.
void ExpectStagesOf(CCubeSolver& cube, const std::string& strWhat)
{
    const std::string& s = cube.GetSolution();
    ASSERT_EQ(cube.m_arrStages.size(), s.size() / 3) << strWhat;
    int nLast = CCubeSolver::STAGE_TOP_EDGES;
    for (int nStage : cube.m_arrStages) {
        ASSERT_GE(nStage, nLast) << strWhat;
        ASSERT_LE(nStage, int(CCubeSolver::STAGE_BOTTOM_CORNERS)) << strWhat;
        nLast = nStage;
    }
}

} // namespace

TEST(StageOfEachMove, GoldenSolutionsKeepTheirMovesAndGainStagesInOrder)
{
    std::ifstream in(ZELVORS_LBL_GOLDEN);
    ASSERT_TRUE(in) << ZELVORS_LBL_GOLDEN;
    std::string strLine;
    int nCubes = 0, nAllFive = 0;
    while (std::getline(in, strLine)) {
        const size_t t1 = strLine.find('\t'), t2 = strLine.find('\t', t1 + 1);
        const std::string strCube = strLine.substr(0, t1);
        const std::string strGolden = strLine.substr(t2 + 1);
        CCubeSolver cube;
        LoadText(cube, strCube);
        ASSERT_EQ(cube.Solve(nullptr), CCubeSolver::SOLVE_OK);
        ASSERT_EQ(cube.GetSolution(), strGolden) << strCube;
        ExpectStagesOf(cube, strCube);
        // A scrambled cube goes through the first layer's two stages and
        // the middle edges at least (a stage may be empty, or merged away).
        std::set<int> seen(cube.m_arrStages.begin(), cube.m_arrStages.end());
        EXPECT_TRUE(seen.count(CCubeSolver::STAGE_TOP_EDGES) && seen.count(CCubeSolver::STAGE_TOP_CORNERS) &&
                    seen.count(CCubeSolver::STAGE_MIDDLE_EDGES))
            << strCube;
        nAllFive += seen.size() == 5;
        ++nCubes;
    }
    EXPECT_EQ(nCubes, 100);
    // Most go through all five.
    EXPECT_GT(nAllFive, 80);
}

TEST(StageOfEachMove, RandomCubesAndTheTaggedSimplificationAgree)
{
    std::mt19937 rng(2026);
    for (int n = 0; n < 500; ++n) {
        CCubeSolver cube;
        MakeRandomLegalCube(cube, rng);
        const std::string strCube = FormatCube(cube);
        ASSERT_EQ(cube.Solve(nullptr), CCubeSolver::SOLVE_OK);
        ExpectStagesOf(cube, strCube);
    }
    // On any move string, with any tags, the same string as SimplifySolution.
    const char* const kGroups[] = {"F+.", "F-.", "F*.", "R+.", "R-.", "T+.", "C+.", "C^.", "Cv.", "C-.", "x+.", "F"};
    for (int n = 0; n < 3000; ++n) {
        std::string s;
        std::vector<int> tags;
        const int nLength = static_cast<int>(rng() % 24);
        for (int i = 0; i < nLength; ++i) {
            const char* g = kGroups[rng() % (i + 1 == nLength ? 12 : 11)];
            s += g;
            tags.push_back(i / 4);
        }
        CCubeSolver cube;
        cube.m_strSolution = s;
        cube.SimplifySolution();
        std::string strTagged = s;
        const std::vector<int> out = CCubeSolver::SimplifyTagged(strTagged, tags);
        ASSERT_EQ(strTagged, cube.m_strSolution) << s;
        ASSERT_EQ(out.size(), (strTagged.size() + 2) / 3) << s;
        for (size_t i = 1; i < out.size(); ++i)
            ASSERT_LE(out[i - 1], out[i]) << s;
    }
}
