// Face turns, whole-cube turns, reset, save and restore.

#include "TestCube.h"

#include <gtest/gtest.h>

namespace {

using Turn = void (*)(CCubeSolver&);

struct TurnPair {
    const char* name;
    Turn forward;
    Turn backward;
};

void Scramble(CCubeSolver& cube, unsigned seed)
{
    std::mt19937 rng(seed);
    cube.ExecuteMoves(RandomFaceMoves(rng, 30));
}

TEST(CubeSolver, NewCubeIsSolvedInBothSetsWithDistinctRecords)
{
    CCubeSolver cube;
    EXPECT_EQ(FormatCube(cube), kSolvedText);
    EXPECT_EQ(SavedText(cube), kSolvedText);
    const char* kLetters = "TFRLBD";
    const FaceletPos* kRimOf[6] = {g_rimT, g_rimF, g_rimR, g_rimL, g_rimB, g_rimD};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(cube.m_pFace[i]->letter, kLetters[i]);
        EXPECT_EQ(cube.m_pSaved[i]->letter, kLetters[i]);
        EXPECT_EQ(cube.m_pFace[i]->rim, kRimOf[i]);
        EXPECT_EQ(cube.m_pSaved[i]->rim, kRimOf[i]);
        EXPECT_TRUE(cube.m_pFace[i]->rcFace.IsEmpty());
        EXPECT_NE(cube.m_pFace[i], cube.m_pSaved[i]);
    }
}

TEST(CubeSolver, GetFaceUpperCasesAndRejectsOthers)
{
    CCubeSolver cube;
    EXPECT_EQ(cube.GetFace('f'), cube.m_pFace[CCubeSolver::SLOT_F]);
    EXPECT_EQ(cube.GetFace('D'), cube.m_pFace[CCubeSolver::SLOT_D]);
    EXPECT_EQ(cube.GetFace('C'), nullptr);
    EXPECT_EQ(cube.GetFace('x'), nullptr);
    EXPECT_EQ(cube.GetFace('\xE9'), nullptr);
}

TEST(CubeSolver, EveryTurnUndoneByItsInverseAndByFourOfItself)
{
    const TurnPair kPairs[] = {
        {"TurnCubeLeft", [](CCubeSolver& c) { c.TurnCubeLeft(); }, [](CCubeSolver& c) { c.TurnCubeRight(); }},
        {"TurnCubeRight", [](CCubeSolver& c) { c.TurnCubeRight(); }, [](CCubeSolver& c) { c.TurnCubeLeft(); }},
        {"TiltCubeUp", [](CCubeSolver& c) { c.TiltCubeUp(); }, [](CCubeSolver& c) { c.TiltCubeDown(); }},
        {"TiltCubeDown", [](CCubeSolver& c) { c.TiltCubeDown(); }, [](CCubeSolver& c) { c.TiltCubeUp(); }},
    };
    for (unsigned seed = 0; seed < 20; ++seed) {
        CCubeSolver cube;
        Scramble(cube, seed);
        const std::string strBefore = FormatCube(cube);
        for (const TurnPair& pair : kPairs) {
            pair.forward(cube);
            EXPECT_NE(FormatCube(cube), strBefore) << pair.name;
            pair.backward(cube);
            EXPECT_EQ(FormatCube(cube), strBefore) << pair.name << " then its inverse";
            for (int i = 0; i < 4; ++i)
                pair.forward(cube);
            EXPECT_EQ(FormatCube(cube), strBefore) << pair.name << " four times";
        }
        for (CubeFace* pFace : cube.m_pFace) {
            cube.RotateFaceCW(pFace);
            const std::string strTurned = FormatCube(cube);
            EXPECT_NE(strTurned, strBefore);
            cube.RotateFaceCCW(pFace);
            EXPECT_EQ(FormatCube(cube), strBefore) << pFace->letter << " CW then CCW";
            for (int i = 0; i < 4; ++i)
                cube.RotateFaceCCW(pFace);
            EXPECT_EQ(FormatCube(cube), strBefore) << pFace->letter << " CCW four times";
        }
    }
}

TEST(CubeSolver, FrontClockwiseMovesTheRimAsSeenFromOutside)
{
    CCubeSolver cube;
    cube.RotateFaceCW(cube.GetFace('F'));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Facelet(cube, 'T', 2, i), 4) << "T row 2 takes L";
        EXPECT_EQ(Facelet(cube, 'R', i, 0), 1) << "R column 0 takes T";
        EXPECT_EQ(Facelet(cube, 'D', 0, i), 3) << "D row 0 takes R";
        EXPECT_EQ(Facelet(cube, 'L', i, 2), 6) << "L column 2 takes D";
    }
    EXPECT_TRUE(FaceAll(cube, 'F', 2));
    EXPECT_TRUE(FaceAll(cube, 'B', 5));

    // Single facelets follow the documented paths.
    CCubeSolver marked;
    Facelet(marked, 'T', 2, 0) = 0;
    Facelet(marked, 'L', 2, 2) = 0;
    marked.RotateFaceCW(marked.GetFace('F'));
    EXPECT_EQ(Facelet(marked, 'R', 0, 0), 0) << "T(2,0) goes to R(0,0)";
    EXPECT_EQ(Facelet(marked, 'T', 2, 0), 0) << "L(2,2) goes to T(2,0)";
}

TEST(CubeSolver, OwnGridTurnsClockwiseSeenFromOutside)
{
    CCubeSolver cube;
    BYTE* c = cube.GetFace('F')->colors;
    for (int i = 0; i < 9; ++i)
        c[i] = static_cast<BYTE>(i % 7);
    cube.RotateFaceCW(cube.GetFace('F'));
    // new [r][c] = old [2-c][r]: the old left column becomes the top row.
    EXPECT_EQ(c[0], 6 % 7);
    EXPECT_EQ(c[1], 3);
    EXPECT_EQ(c[2], 0);
    EXPECT_EQ(c[4], 4) << "the centre stays";
    EXPECT_EQ(c[8], 2);
}

TEST(CubeSolver, WholeCubeTurnsOnSolvedCube)
{
    CCubeSolver left;
    left.TurnCubeLeft();
    EXPECT_TRUE(FaceAll(left, 'F', 3));
    EXPECT_TRUE(FaceAll(left, 'R', 5));
    EXPECT_TRUE(FaceAll(left, 'B', 4));
    EXPECT_TRUE(FaceAll(left, 'L', 2));
    EXPECT_TRUE(FaceAll(left, 'T', 1));
    EXPECT_TRUE(FaceAll(left, 'D', 6));

    CCubeSolver up;
    up.TiltCubeUp();
    EXPECT_TRUE(FaceAll(up, 'T', 2));
    EXPECT_TRUE(FaceAll(up, 'F', 6));
    EXPECT_TRUE(FaceAll(up, 'D', 5));
    EXPECT_TRUE(FaceAll(up, 'B', 1));
    EXPECT_TRUE(FaceAll(up, 'R', 3));
    EXPECT_TRUE(FaceAll(up, 'L', 4));
}

TEST(CubeSolver, WholeCubeTurnsAgreeWithTurningEveryLayer)
{
    // TurnCubeLeft turns like a clockwise T; checked on a scrambled cube by
    // comparing where each face's stickers go with the facelet tables of T and
    // D: after the turn T's own grid is rotated clockwise, D's counter-clockwise.
    CCubeSolver cube;
    Scramble(cube, 7);
    CCubeSolver turned;
    Scramble(turned, 7);
    turned.TurnCubeLeft();
    cube.RotateFaceCW(cube.GetFace('T'));
    cube.RotateFaceCCW(cube.GetFace('D'));
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(turned.GetFace('T')->colors[i], cube.GetFace('T')->colors[i]);
        EXPECT_EQ(turned.GetFace('D')->colors[i], cube.GetFace('D')->colors[i]);
    }
    // The top and bottom rows of the sides match those of the layer turns.
    for (char f : std::string("FRBL"))
        for (int col = 0; col < 3; ++col) {
            EXPECT_EQ(Facelet(turned, f, 0, col), Facelet(cube, f, 0, col)) << f;
            EXPECT_EQ(Facelet(turned, f, 2, col), Facelet(cube, f, 2, col)) << f;
        }
}

TEST(CubeSolver, TurnsKeepCentresAndCarryBlanks)
{
    CCubeSolver cube;
    cube.ClearCube();
    Facelet(cube, 'T', 0, 0) = 3;
    std::mt19937 rng(3);
    cube.ExecuteMoves(RandomFaceMoves(rng, 40));
    int nBlank = 0, nThree = 0;
    for (const CubeFace* p : cube.m_pFace) {
        EXPECT_EQ(p->colors[4], CCubeSolver::SlotOf(p->letter) + 1);
        for (int i = 0; i < 9; ++i)
            if (i != 4) {
                nBlank += p->colors[i] == 0;
                nThree += p->colors[i] == 3;
            }
    }
    EXPECT_EQ(nBlank, 47);
    EXPECT_EQ(nThree, 1);

    CCubeSolver whole;
    whole.TurnCubeLeft();
    EXPECT_EQ(whole.GetFace('F')->colors[4], 3) << "whole-cube turns move centres";
}

TEST(CubeSolver, NullTurnsChangeNothing)
{
    CCubeSolver cube;
    Scramble(cube, 11);
    const std::string strBefore = FormatCube(cube);
    cube.RotateFaceCW(nullptr);
    cube.RotateFaceCCW(nullptr);
    EXPECT_EQ(FormatCube(cube), strBefore);
}

TEST(CubeSolver, ResetLeavesSavedCopyAndEmptiesRectangles)
{
    CountingCube cube;
    Scramble(cube, 5);
    const std::string strScrambled = FormatCube(cube);
    cube.SaveCube();
    cube.GetFace('R')->rcFace = Rect{1, 2, 30, 40};
    cube.ResetCounts();
    cube.ResetCube();
    EXPECT_EQ(FormatCube(cube), kSolvedText);
    EXPECT_TRUE(cube.GetFace('R')->rcFace.IsEmpty());
    EXPECT_EQ(cube.nUpdateFalse, 1);
    EXPECT_EQ(cube.nWait, 0);
    EXPECT_EQ(SavedText(cube), strScrambled);
    cube.RestoreCube();
    EXPECT_EQ(FormatCube(cube), strScrambled);
    EXPECT_EQ(cube.nUpdateFalse, 1) << "save and restore call no hook";
}

} // namespace
