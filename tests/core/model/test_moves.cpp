// The move notation and its two interpreters.

#include "TestCube.h"

#include <gtest/gtest.h>

namespace {

struct MoveCase {
    const char* name;
    std::string moves;
    std::string sameAs; // a string known to do the same
    int nHooks;         // UpdateView(false) and WaitStep calls each
};

TEST(ExecuteMoves, GroupsAndHooks)
{
    const MoveCase kCases[] = {
        {"empty string", "", "", 0},
        {"one quarter turn", "F+.", "F+.", 1},
        {"half turn", "T*.", "T+.T+.", 1},
        {"single letter", "F", "", 1},
        {"lower-case face", "f+.", "", 1},
        {"separator never read", "F+xD-y", "F+.D-.", 2},
        {"stray space shifts the groups", "F+. D-.", "F+.", 3},
        {"short final group", "F+.D-", "F+.D-.", 2},
        {"C with an asterisk", "C*.", "", 1},
        {"unknown turn code", "F?.", "", 1},
        {"cube turn", "C+.", "C+.", 1},
    };
    for (const MoveCase& c : kCases) {
        CountingCube cube;
        std::mt19937 rng(1);
        cube.ExecuteMoves(RandomFaceMoves(rng, 20));
        CCubeSolver reference;
        std::mt19937 rng2(1);
        reference.ExecuteMoves(RandomFaceMoves(rng2, 20));
        cube.ResetCounts();

        cube.ExecuteMoves(c.moves);
        reference.ExecuteMoves(c.sameAs);
        EXPECT_EQ(FormatCube(cube), FormatCube(reference)) << c.name;
        EXPECT_EQ(cube.nUpdateFalse, c.nHooks) << c.name;
        EXPECT_EQ(cube.nWait, c.nHooks) << c.name;
        EXPECT_EQ(cube.nUpdateTrue, 0) << c.name;
    }
}

TEST(ExecuteMoves, FaceTurnsAndFrontTurnsGoThroughVirtualSlots)
{
    CountingCube cube;
    cube.ExecuteMoves("F+.R-.T*.C+.C-.C^.Cv.");
    EXPECT_EQ(cube.nTurnsCW, 3);
    EXPECT_EQ(cube.nTurnsCCW, 1);
    EXPECT_EQ(cube.nCubeRight, 1) << "C+ turns the front to the right";
    EXPECT_EQ(cube.nCubeLeft, 1);
}

TEST(ExecuteMoves, LettersNameTheFaceStandingThereNow)
{
    // After C+. the old left face is at the front; F then turns it.
    CCubeSolver a;
    a.ExecuteMoves("C+.F+.C-.");
    CCubeSolver b;
    b.ExecuteMoves("L+.");
    EXPECT_EQ(FormatCube(a), FormatCube(b));

    CCubeSolver c;
    c.ExecuteMoves("C+.");
    EXPECT_TRUE(FaceAll(c, 'R', 2)) << "the front went to the right";
    CCubeSolver d;
    d.ExecuteMoves("C^.");
    EXPECT_TRUE(FaceAll(d, 'T', 2)) << "the front went to the top";
    CCubeSolver e;
    e.ExecuteMoves("Cv.");
    EXPECT_TRUE(FaceAll(e, 'D', 2)) << "the front went to the bottom";
}

// The groups that zelvors-solve --apply warns about are exactly those that turn
// nothing, in both interpreters.
TEST(IsTurnGroup, AgreesWithWhatTheInterpretersDo)
{
    std::mt19937 rng(3);
    CCubeSolver start;
    MakeRandomLegalCube(start, rng);
    const std::string strStart = FormatCube(start);
    int nTurning = 0;
    for (int w = 0; w < 256; ++w) {
        for (int c = 0; c < 256; ++c) {
            const char chWhat = static_cast<char>(w);
            const char chCode = static_cast<char>(c);
            const bool bTurns = CCubeSolver::IsTurnGroup(chWhat, chCode);
            nTurning += bTurns;
            CCubeSolver forward;
            LoadText(forward, strStart);
            forward.ExecuteMoves(c == 0 ? std::string(1, chWhat) : std::string{chWhat, chCode, '.'});
            ASSERT_EQ(FormatCube(forward) != strStart, bTurns) << w << ' ' << c;
            CCubeSolver inverse;
            LoadText(inverse, strStart);
            inverse.UndoMove(std::string{chWhat, chCode, '.'});
            ASSERT_EQ(FormatCube(inverse) != strStart, bTurns && c != 0) << w << ' ' << c;
        }
    }
    EXPECT_EQ(nTurning, 6 * 3 + 4);
}

TEST(UndoMove, InversesAndShortStrings)
{
    CountingCube cube;
    EXPECT_FALSE(cube.UndoMove("F+"));
    EXPECT_FALSE(cube.UndoMove(""));
    EXPECT_EQ(FormatCube(cube), kSolvedText);
    EXPECT_EQ(cube.nWait, 0) << "a short string calls no hook";

    EXPECT_TRUE(cube.UndoMove("F+.D-."));
    CCubeSolver reference;
    reference.ExecuteMoves("F-.");
    EXPECT_EQ(FormatCube(cube), FormatCube(reference)) << "only the first move, inverted";
    EXPECT_EQ(cube.nUpdateFalse, 1);
    EXPECT_EQ(cube.nWait, 1);

    const char* kPairs[] = {"C+.", "C-.", "C^.", "Cv.", "T*.", "R-."};
    for (const char* pszMove : kPairs) {
        CCubeSolver x;
        std::mt19937 rng(9);
        x.ExecuteMoves(RandomFaceMoves(rng, 15));
        const std::string strBefore = FormatCube(x);
        x.ExecuteMoves(pszMove);
        EXPECT_TRUE(x.UndoMove(pszMove));
        EXPECT_EQ(FormatCube(x), strBefore) << pszMove;
    }
    CCubeSolver y;
    y.ExecuteMoves("C^.Cv.C+.C-.");
    EXPECT_EQ(FormatCube(y), kSolvedText);
}

TEST(UndoMove, RandomStringsUndoneMoveByMoveRestoreTheCube)
{
    static const char* const kMoves[] = {"T+.", "T-.", "T*.", "F+.", "F-.", "F*.", "R+.", "R-.",
                                         "R*.", "L+.", "L-.", "L*.", "B+.", "B-.", "B*.", "D+.",
                                         "D-.", "D*.", "C+.", "C-.", "C^.", "Cv."};
    std::mt19937 rng(2024);
    for (int n = 0; n < 1000; ++n) {
        CCubeSolver cube;
        MakeRandomLegalCube(cube, rng);
        const std::string strBefore = FormatCube(cube);
        std::vector<std::string> moves;
        std::string strAll;
        const int nLength = 1 + static_cast<int>(rng() % 60);
        for (int i = 0; i < nLength; ++i) {
            moves.push_back(kMoves[rng() % (sizeof kMoves / sizeof *kMoves)]);
            strAll += moves.back();
        }
        cube.ExecuteMoves(strAll);
        for (auto it = moves.rbegin(); it != moves.rend(); ++it)
            cube.UndoMove(*it);
        ASSERT_EQ(FormatCube(cube), strBefore) << strAll;
    }
}

} // namespace
