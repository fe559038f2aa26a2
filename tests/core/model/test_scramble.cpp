// Scramble, its generator, clearing, the cubelet lookups and the progress bar.

#include "Random.h"
#include "TestCube.h"

#include <gtest/gtest.h>

namespace {

// Records the order of face turns a shuffle makes.
class TurnLog : public CCubeSolver {
public:
    std::string log;
    void RotateFaceCW(CubeFace* p) override
    {
        log += p->letter;
        log += '+';
        CCubeSolver::RotateFaceCW(p);
    }
    void RotateFaceCCW(CubeFace* p) override
    {
        log += p->letter;
        log += '-';
        CCubeSolver::RotateFaceCCW(p);
    }
};

TEST(Random, GeneratorFromStateOne)
{
    CubeRandom::Seed(1);
    EXPECT_EQ(CubeRandom::Rand(), 41);
    EXPECT_EQ(CubeRandom::Rand(), 18467);
    EXPECT_EQ(CubeRandom::Rand(), 6334);
    EXPECT_EQ(CubeRandom::Rand(), 26500);
    CubeRandom::Seed(0xFFFFFFFFu);
    for (int i = 0; i < 1000; ++i) {
        const int v = CubeRandom::Rand();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 32767);
    }
}

TEST(Shuffle, HooksProgressAndTurns)
{
    CubeRandom::Seed(1);
    CountingCube cube;
    RecordingProgress progress;
    cube.Shuffle(&progress);
    EXPECT_EQ(cube.nUpdateFalse, 22);
    EXPECT_EQ(cube.nUpdateTrue, 1);
    EXPECT_EQ(cube.nWait, 22);
    EXPECT_EQ(cube.nTurnsCW + cube.nTurnsCCW, 22);
    EXPECT_EQ(progress.Pos(), 0);
    EXPECT_EQ(progress.Lower(), 0);
    EXPECT_EQ(progress.Upper(), 22);
    EXPECT_EQ(progress.Step(), 1);
    EXPECT_EQ(progress.StepCount(), 22);
    EXPECT_EQ(SavedText(cube), kSolvedText) << "the saved copy is left alone";
}

TEST(Shuffle, NeverTheSameFaceTwiceInARowAndReproducibleFromStateOne)
{
    CubeRandom::Seed(1);
    TurnLog first;
    first.Shuffle(nullptr);
    EXPECT_EQ(FormatCube(first), "653512243412224116611535535331244465265156346434362261");
    for (int n = 0; n < 200; ++n) {
        TurnLog cube;
        cube.Shuffle(nullptr);
        ASSERT_EQ(cube.log.size(), 44u);
        for (size_t i = 2; i < cube.log.size(); i += 2)
            ASSERT_NE(cube.log[i], cube.log[i - 2]) << cube.log;
    }
    CubeRandom::Seed(1);
    TurnLog again;
    again.Shuffle(nullptr);
    EXPECT_EQ(again.log, first.log);
}

TEST(Shuffle, StartsFromTheCurrentCube)
{
    CubeRandom::Seed(1);
    CCubeSolver a;
    a.ExecuteMoves("F+.");
    a.Shuffle(nullptr);
    CubeRandom::Seed(1);
    CCubeSolver b;
    b.Shuffle(nullptr);
    EXPECT_NE(FormatCube(a), FormatCube(b));
}

TEST(ClearCube, BlanksAllButCentres)
{
    CountingCube cube;
    std::mt19937 rng(4);
    MakeRandomLegalCube(cube, rng);
    std::string strCentres;
    for (const CubeFace* p : cube.m_pFace)
        strCentres += static_cast<char>('0' + p->colors[4]);
    cube.SaveCube();
    const std::string strSaved = SavedText(cube);
    cube.ResetCounts();
    cube.ClearCube();
    EXPECT_EQ(cube.nUpdateFalse, 1);
    for (int f = 0; f < 6; ++f)
        for (int i = 0; i < 9; ++i)
            EXPECT_EQ(cube.m_pFace[f]->colors[i], i == 4 ? strCentres[f] - '0' : 0);
    EXPECT_EQ(SavedText(cube), strSaved);
    EXPECT_EQ(cube.FindEdge(0, 0), cube.GetFace('T')) << "blanks compare like colours";
    cube.ResetCube();
    EXPECT_EQ(FormatCube(cube), kSolvedText);
}

TEST(Lookups, EdgesAndCornersOnSolvedCube)
{
    CCubeSolver cube;
    EXPECT_EQ(cube.FindEdge(1, 2), cube.GetFace('T'));
    EXPECT_EQ(cube.FindEdge(2, 1), cube.GetFace('F'));
    EXPECT_EQ(cube.FindEdge(1, 6), nullptr);
    EXPECT_EQ(cube.FindEdge(5, 4), cube.GetFace('B')) << "edge 10";
    EXPECT_EQ(cube.FindCorner(1, 2, 4), cube.GetFace('T'));
    EXPECT_EQ(cube.FindCorner(1, 4, 2), cube.GetFace('T'));
    EXPECT_EQ(cube.FindCorner(4, 1, 2), cube.GetFace('L'));
    EXPECT_EQ(cube.FindCorner(1, 2, 2), nullptr);
    EXPECT_EQ(cube.FindCorner(6, 5, 3), cube.GetFace('D')) << "corner 7";
}

TEST(Lookups, FindTheMovedPiecesAndTheFirstMatchWins)
{
    CCubeSolver cube;
    cube.RotateFaceCW(cube.GetFace('F'));
    // The T-F edge went to F-R, its top colour onto R.
    EXPECT_EQ(cube.FindEdge(1, 2), cube.GetFace('R'));
    EXPECT_EQ(cube.FindCorner(1, 2, 4), cube.GetFace('R'));

    CCubeSolver dup;
    // Corner 0 painted with colour 2 twice: membership still passes.
    Facelet(dup, 'L', 0, 2) = 2;
    EXPECT_EQ(dup.FindCorner(1, 2, 4), dup.GetFace('T'));
    // Edge 0 painted like edge 1: the first position in table order wins.
    Facelet(dup, 'T', 0, 1) = 1;
    Facelet(dup, 'B', 0, 1) = 2;
    EXPECT_EQ(dup.FindEdge(2, 1), dup.GetFace('F'));
}

TEST(Progress, DefaultStepWrapAndNullSafety)
{
    CProgressCtrl bar;
    bar.SetRange(0, 150);
    bar.SetPos(0);
    EXPECT_EQ(bar.Step(), 10) << "until set, the step is 10";
    for (int i = 0; i < 15; ++i)
        bar.StepIt();
    EXPECT_EQ(bar.Pos(), 150);
    bar.StepIt();
    EXPECT_EQ(bar.Pos(), 10) << "passing the end starts again from the beginning";
    bar.SetStep(1);
    bar.SetPos(500);
    EXPECT_EQ(bar.Pos(), 150) << "positions clamp to the range";
    bar.StepIt();
    EXPECT_EQ(bar.Pos(), 1);
    bar.SetRange(5, 5);
    bar.StepIt();
    EXPECT_EQ(bar.Pos(), 5) << "an empty range never divides by zero";

    ProgressSetRange(nullptr, 0, 1);
    ProgressSetPos(nullptr, 0);
    ProgressSetStep(nullptr, 1);
    ProgressStepIt(nullptr);
    CCubeSolver cube;
    cube.Shuffle(nullptr);
    EXPECT_EQ(cube.Solve(nullptr), 0);
}

TEST(CubeText, ParseAndFormat)
{
    BYTE colors[kCubeTextLength];
    std::string strError;
    EXPECT_TRUE(ParseCubeText(kSolvedText, colors, strError));
    EXPECT_FALSE(ParseCubeText(std::string(kSolvedText) + "1", colors, strError));
    EXPECT_NE(strError.find("54"), std::string::npos);
    std::string strBad = kSolvedText;
    strBad[10] = '7';
    EXPECT_FALSE(ParseCubeText(strBad, colors, strError));
    EXPECT_NE(strError.find("character 11"), std::string::npos);
    EXPECT_FALSE(ParseCubeText("", colors, strError));

    CCubeSolver cube;
    std::mt19937 rng(8);
    MakeRandomLegalCube(cube, rng);
    const std::string strText = FormatCube(cube);
    CCubeSolver copy;
    LoadText(copy, strText);
    EXPECT_EQ(FormatCube(copy), strText);
}

} // namespace
