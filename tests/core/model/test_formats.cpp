// The standard facelet string and notation against the model: round trips,
// each rotation's meaning, and what malformed text is told.

#include "CubeFormats.h"
#include "TestCube.h"

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr const char kSolvedFacelets[] = "UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB";

std::string Text(const BYTE* colors)
{
    std::string s;
    for (size_t i = 0; i < kCubeTextLength; ++i)
        s += static_cast<char>('0' + colors[i]);
    return s;
}

std::string Moved(const std::string& strModelMoves, const std::string& strStart = kSolvedText)
{
    CCubeSolver cube;
    LoadText(cube, strStart);
    cube.ExecuteMoves(strModelMoves);
    return FormatCube(cube);
}

std::string ToModel(const std::string& strStandard)
{
    std::string strModel, strError;
    EXPECT_TRUE(ParseStandardMoves(strStandard, strModel, strError)) << strStandard << ": " << strError;
    return strModel;
}

std::string ParseError(const std::string& strStandard)
{
    std::string strModel, strError;
    EXPECT_FALSE(ParseStandardMoves(strStandard, strModel, strError)) << strStandard;
    return strError;
}

// A random string of whole model groups, face turns and cube turns mixed.
std::string RandomModelMoves(std::mt19937& rng, int n)
{
    static const char* const kGroups[] = {"T+.", "T-.", "T*.", "F+.", "F-.", "F*.", "R+.", "R-.",
                                          "R*.", "L+.", "L-.", "L*.", "B+.", "B-.", "B*.", "D+.",
                                          "D-.", "D*.", "C+.", "C-.", "C^.", "Cv."};
    std::string s;
    for (int i = 0; i < n; ++i)
        s += kGroups[rng() % std::size(kGroups)];
    return s;
}

TEST(FaceletString, SolvedAndRoundTrips)
{
    BYTE colors[kCubeTextLength];
    std::string strError, strOut;
    ASSERT_TRUE(ParseFaceletString(kSolvedFacelets, colors, strError));
    EXPECT_EQ(Text(colors), kSolvedText);
    ASSERT_TRUE(FormatFaceletString(colors, strOut, strError));
    EXPECT_EQ(strOut, kSolvedFacelets);

    // One turn of U: the front row of U's neighbours moves, each face read as in our net.
    CCubeSolver turned;
    turned.ExecuteMoves("T+.");
    ParseCubeText(FormatCube(turned), colors, strError);
    ASSERT_TRUE(FormatFaceletString(colors, strOut, strError));
    EXPECT_EQ(strOut, "UUUUUUUUUBBBRRRRRRRRRFFFFFFDDDDDDDDDFFFLLLLLLLLLBBBBBB");

    std::mt19937 rng(11);
    for (int k = 0; k < 500; ++k) {
        CCubeSolver cube;
        cube.ExecuteMoves(RandomFaceMoves(rng, 30));
        const std::string strDigits = FormatCube(cube);
        ParseCubeText(strDigits, colors, strError);
        ASSERT_TRUE(FormatFaceletString(colors, strOut, strError));
        BYTE back[kCubeTextLength];
        ASSERT_TRUE(ParseFaceletString(strOut, back, strError));
        ASSERT_EQ(Text(back), strDigits);

        // Turned whole, the letters follow the centres: the same string as
        // the cube turned back, read with its centres U R F D L B.
        CCubeSolver reoriented;
        MakeRandomLegalCube(reoriented, rng);
        ParseCubeText(FormatCube(reoriented), colors, strError);
        ASSERT_TRUE(FormatFaceletString(colors, strOut, strError));
        for (int f = 0; f < 6; ++f)
            ASSERT_EQ(strOut[f * 9 + 4], kSolvedFacelets[f * 9]);
        ASSERT_TRUE(ParseFaceletString(strOut, back, strError));
        BYTE relabel[7] = {};
        for (size_t i = 0; i < kCubeTextLength; ++i) {
            if (relabel[colors[i]] == 0)
                relabel[colors[i]] = back[i];
            ASSERT_EQ(relabel[colors[i]], back[i]) << "not a relabelling at facelet " << i;
        }
    }
}

TEST(FaceletString, MalformedTextIsRefusedSayingWhy)
{
    BYTE colors[kCubeTextLength];
    std::string strError, strOut;
    std::string strBad = kSolvedFacelets;
    strBad[9] = 'X';
    EXPECT_FALSE(ParseFaceletString(strBad, colors, strError));
    EXPECT_EQ(strError, "character 10 is 'X', expected a face letter U R F D L B");
    EXPECT_FALSE(ParseFaceletString(std::string(kSolvedFacelets) + "U", colors, strError));
    EXPECT_EQ(strError, "expected 54 face letters, found 55 characters");
    EXPECT_FALSE(ParseFaceletString("", colors, strError));

    EXPECT_TRUE(IsFaceletStringLike(kSolvedFacelets));
    EXPECT_FALSE(IsFaceletStringLike("UUR")); // a move sequence
    EXPECT_FALSE(IsFaceletStringLike(kSolvedText));
    EXPECT_FALSE(IsFaceletStringLike(""));

    std::string strDigits = kSolvedText;
    strDigits[0] = '0';
    ParseCubeText(strDigits, colors, strError);
    EXPECT_FALSE(FormatFaceletString(colors, strOut, strError));
    EXPECT_EQ(strError, "a facelet of face U is blank");
    strDigits = kSolvedText;
    strDigits[13] = '1'; // the front centre painted as the top's
    ParseCubeText(strDigits, colors, strError);
    EXPECT_FALSE(FormatFaceletString(colors, strOut, strError));
    EXPECT_EQ(strError, "the centres are not six different colours");
}

TEST(PastedText, CubeOrScramble)
{
    CubeTextReading r = ReadCubeOrMoves(std::string("  ") + kSolvedText + "\n");
    EXPECT_EQ(r.kind, CubeTextKind::DIGITS);
    EXPECT_EQ(Text(r.colors), kSolvedText);

    r = ReadCubeOrMoves(kSolvedFacelets);
    EXPECT_EQ(r.kind, CubeTextKind::FACELETS);
    EXPECT_EQ(Text(r.colors), kSolvedText);

    r = ReadCubeOrMoves("R U R' U'");
    EXPECT_EQ(r.kind, CubeTextKind::STANDARD_MOVES);
    EXPECT_EQ(r.strModelMoves, "R+.T+.R-.T-.");
    EXPECT_EQ(Text(r.colors), Moved("R+.T+.R-.T-."));
    EXPECT_EQ(ReadCubeOrMoves("URF").kind, CubeTextKind::STANDARD_MOVES);

    struct Bad {
        const char* text;
        const char* error;
    };
    const Bad kBad[] = {
        {"", "there is nothing to read"},
        {"12345", "expected 54 colour digits, found 5 characters"},
        {"UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBX",
         "character 54 is 'X', expected a face letter U R F D L B"},
        {"R U2 F' Q", "unexpected 'Q' at character 9: expected a move U D F B L R, M E S, a wide turn such as Rw or r, a rotation x y z, ( or ["},
        {"hello", "unexpected 'h' at character 1: expected a move U D F B L R, M E S, a wide turn such as Rw or r, a rotation x y z, ( or ["},
    };
    for (const Bad& bad : kBad) {
        r = ReadCubeOrMoves(bad.text);
        EXPECT_EQ(r.kind, CubeTextKind::NONE) << bad.text;
        EXPECT_EQ(r.strError, bad.error) << bad.text;
    }
}

TEST(StandardNotation, FaceTurnsAndSuffixes)
{
    EXPECT_EQ(ToModel("U U' U2 U2'"), "T+.T-.T*.T*.");
    EXPECT_EQ(ToModel("D F B L R"), "D+.F+.B+.L+.R+.");
    EXPECT_EQ(ToModel("RUR'U'"), ToModel("R U R' U'"));
    EXPECT_EQ(ToModel("  R\tU2\n"), "R+.T*.");
    EXPECT_EQ(ToModel("R\xE2\x80\x99"), "R-.");
    EXPECT_EQ(ToModel(""), "");

    std::string strOut, strError;
    ASSERT_TRUE(FormatStandardMoves("T+.T-.T*.D+.F-.B*.L+.R-.C^.Cv.C-.C+.", strOut, strError));
    EXPECT_EQ(strOut, "U U' U2 D F' B2 L R' x x' y y'");
}

TEST(StandardNotation, RotationsTurnTheCubeAsTheirFaces)
{
    // Where each face's colour goes: x as R (front to top), y as U (front to
    // the left), z as F (top to the right).
    struct Case {
        const char* move;
        char to[6]; // slot T F R L B D: the face whose colour comes there
    };
    const Case kCases[] = {
        {"x", {'F', 'D', 'R', 'L', 'T', 'B'}},
        {"y", {'T', 'R', 'B', 'F', 'L', 'D'}},
        {"z", {'L', 'F', 'T', 'D', 'B', 'R'}},
    };
    for (const Case& c : kCases) {
        const std::string strAfter = Moved(ToModel(c.move));
        for (int s = 0; s < 6; ++s)
            EXPECT_EQ(strAfter[s * 9 + 4], '1' + CCubeSolver::SlotOf(c.to[s])) << c.move << " slot " << s;
    }
    // Each rotation is rigid: turning the cube then a face equals turning
    // first the face that the rotation carries there (x carries F to T).
    std::mt19937 rng(5);
    for (int k = 0; k < 50; ++k) {
        const std::string strStart = Moved(RandomFaceMoves(rng, 20));
        EXPECT_EQ(Moved(ToModel("x U"), strStart), Moved(ToModel("F x"), strStart));
        EXPECT_EQ(Moved(ToModel("y F"), strStart), Moved(ToModel("R y"), strStart));
        EXPECT_EQ(Moved(ToModel("z R"), strStart), Moved(ToModel("U z"), strStart));
        for (const char* axis : {"x", "y", "z"}) {
            const std::string a = axis;
            EXPECT_EQ(Moved(ToModel(a + " " + a + "'"), strStart), strStart) << a;
            EXPECT_EQ(Moved(ToModel(a + "2"), strStart), Moved(ToModel(a + a), strStart)) << a;
            EXPECT_EQ(Moved(ToModel(a + a + a + a), strStart), strStart) << a;
        }
    }
}

TEST(StandardNotation, RoundTripsAndScrambles)
{
    std::mt19937 rng(23);
    for (int k = 0; k < 300; ++k) {
        // Model -> standard -> model gives back the same groups.
        const std::string strModel = RandomModelMoves(rng, static_cast<int>(rng() % 40));
        std::string strStandard, strError;
        ASSERT_TRUE(FormatStandardMoves(strModel, strStandard, strError)) << strError;
        ASSERT_EQ(ToModel(strStandard), strModel);
        // Standard -> model -> standard gives back the text; through the cube,
        // the same effect.
        std::string strAgain;
        ASSERT_TRUE(FormatStandardMoves(ToModel(strStandard), strAgain, strError));
        ASSERT_EQ(strAgain, strStandard);

        // A scramble, then the model's inverse, gives the solved cube; the
        // same scramble solved by Solve and replayed ends solved.
        const std::string strScramble = strStandard;
        CCubeSolver cube;
        cube.ExecuteMoves(ToModel(strScramble));
        cube.ExecuteMoves(InverseModelMoves(ToModel(strScramble)));
        ASSERT_EQ(FormatCube(cube), kSolvedText) << strScramble;
        if (k % 10 == 0) {
            CCubeSolver scrambled;
            scrambled.ExecuteMoves(ToModel(strScramble + " z2' y"));
            const std::string strEntered = FormatCube(scrambled);
            ASSERT_EQ(scrambled.Solve(nullptr), CCubeSolver::SOLVE_OK);
            const std::string strSolution = scrambled.GetSolution();
            ASSERT_TRUE(FormatStandardMoves(strSolution, strAgain, strError)) << strError;
            CCubeSolver replay;
            LoadText(replay, strEntered);
            replay.ExecuteMoves(ToModel(strAgain));
            EXPECT_TRUE(replay.IsSolved()) << strScramble;
        }
    }
}

TEST(StandardNotation, MalformedTextSaysWhatAndWhere)
{
    const char* const kExpectedMove = "expected a move U D F B L R, M E S, a wide turn such as Rw or r, a rotation x y z, ( or [";
    EXPECT_EQ(ParseError("R Q"), "unexpected 'Q' at character 3: expected a move U D F B L R, M E S, a wide turn such as Rw or r, a rotation x y z, ( or [");
    EXPECT_EQ(ParseError("r w"), "unexpected 'w' at character 3: " + std::string(kExpectedMove));
    EXPECT_EQ(ParseError("rw U"), "unexpected 'w' at character 2 after the move r: expected ', 2, a space or the next move");
    EXPECT_EQ(ParseError("U3"), "unexpected '3' at character 2 after the move U: expected ', 2, a space or the next move");
    EXPECT_EQ(ParseError("U'2"), "unexpected '2' at character 3 after the move U': expected a space or the next move");
}

// Messages name a character as it was typed and count characters, not bytes
// (the curly quotes and the accented letter take two or three bytes each).
TEST(TextMessages, NameTheCharacterAndCountCharacters)
{
    // Two- and three-byte characters in UTF-8.
    const std::string rsq = "\xE2\x80\x99", rdq = "\xE2\x80\x9D", lsq = "\xE2\x80\x98",
                      ldq = "\xE2\x80\x9C", e = "\xC3\xA9", E = "\xC3\x89", ue = "\xC3\xBC";
    const std::string kMove = ": expected a move U D F B L R, M E S, a wide turn such as Rw or r, a rotation x y z, ( or [";
    const std::string kSuffix = ": expected ', 2, a space or the next move";
    struct Row {
        std::string text;
        std::string error;
    };
    const Row kMoves[] = {
        {"R" + rsq + " U" + rdq, "unexpected '" + rdq + "' at character 5 after the move U" + kSuffix},
        {"R" + rsq + " " + e, "unexpected '" + e + "' at character 4" + kMove},
        {"R2" + rsq + " " + lsq + "U", "unexpected '" + lsq + "' at character 5" + kMove},
        {"R \xE2 U", "unexpected byte 0xE2 at character 3" + kMove},
        {"R\x01", "unexpected U+0001 at character 2 after the move R" + kSuffix},
        {ue + " u", "unexpected '" + ue + "' at character 1" + kMove},
        {"R" + rsq + " Mw", "unexpected 'w' at character 5 after the move M" + kSuffix},
    };
    for (const Row& row : kMoves)
        EXPECT_EQ(ParseError(row.text), row.error) << row.text;

    BYTE colors[kCubeTextLength];
    std::string strError;
    std::string strLower = kSolvedFacelets;
    for (char& ch : strLower)
        ch = static_cast<char>(ch - 'A' + 'a');
    EXPECT_FALSE(ParseFaceletString(strLower, colors, strError));
    EXPECT_EQ(strError, "character 1 is 'u', expected an upper-case face letter U R F D L B");
    EXPECT_FALSE(ParseFaceletString(std::string(kSolvedFacelets) + E, colors, strError));
    EXPECT_EQ(strError, "expected 54 face letters, found 55 characters");

    const Row kDigits[] = {
        {"11" + e, "character 3 is '" + e + "', expected a colour digit 0-6"},
        {ldq + "1111", "character 1 is '" + ldq + "', expected a colour digit 0-6"},
        {"1\t1", "character 2 is U+0009, expected a colour digit 0-6"},
        {"19", "character 2 is '9', expected a colour digit 0-6"},
    };
    for (const Row& row : kDigits) {
        EXPECT_FALSE(ParseCubeText(row.text, colors, strError)) << row.text;
        EXPECT_EQ(strError, row.error) << row.text;
    }
    EXPECT_FALSE(ParseCubeText(std::string(kSolvedText) + rsq + rsq, colors, strError));
    EXPECT_EQ(strError, "expected 54 colour digits, found 56 characters");
}

TEST(StandardNotation, FormatAndModelStrings)
{
    std::string strOut, strError;
    EXPECT_FALSE(FormatStandardMoves("F+.Q+.", strOut, strError));
    EXPECT_EQ(strError, "move 2 (\"Q+.\") is no move");
    EXPECT_FALSE(FormatStandardMoves("F+.C*.", strOut, strError));
    EXPECT_FALSE(FormatStandardMoves("F+.D", strOut, strError));

    EXPECT_TRUE(IsModelMoveString("F+.D-.C^.Cv."));
    EXPECT_TRUE(IsModelMoveString("F+xD-y"));
    EXPECT_TRUE(IsModelMoveString(""));
    EXPECT_FALSE(IsModelMoveString("F2 R"));
    EXPECT_FALSE(IsModelMoveString("R U R'"));
    EXPECT_FALSE(IsModelMoveString("F+.D"));
    EXPECT_FALSE(IsModelMoveString("C*."));
}

} // namespace
