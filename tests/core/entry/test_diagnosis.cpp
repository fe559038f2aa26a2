// The diagnosis of painted cubes: the exact words for the common mistakes, and
// the verdict against Solve on many random, relabelled, reoriented and
// malformed cubes.

#include "CubeDiagnosis.h"
#include "CubeText.h"
#include "CubieCube.h"
#include "TestCube.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#ifndef ZELVORS_DIAGNOSIS_CASES
#define ZELVORS_DIAGNOSIS_CASES 3000
#endif

namespace {

using Colours = std::array<BYTE, 54>;

Colours ColoursOf(const CCubeSolver& cube)
{
    Colours c{};
    ReadCube(cube, c.data());
    return c;
}

Colours Solved()
{
    return ColoursOf(CCubeSolver());
}

Colours RandomReal(std::mt19937& rng, bool bReoriented)
{
    CCubeSolver cube;
    if (bReoriented)
        MakeRandomLegalCube(cube, rng);
    else
        cube.ExecuteMoves(RandomFaceMoves(rng, 30));
    return ColoursOf(cube);
}

int SolveResult(const Colours& c)
{
    CCubeSolver cube;
    LoadCube(cube, c.data());
    return cube.Solve(nullptr);
}

std::vector<CString> Texts(const CubeDiagnosis& d)
{
    std::vector<CString> v;
    for (const CubeProblem& p : d.problems)
        v.push_back(p.text);
    return v;
}

// Turns the corner at position n a third clockwise seen from outside: each
// sticker moves one place round (cubie's facelet order is clockwise).
void TwistClockwise(Colours& c, int n)
{
    const int* f = cubie::kCornerFacelets[n];
    const BYTE last = c[f[2]];
    c[f[2]] = c[f[1]];
    c[f[1]] = c[f[0]];
    c[f[0]] = last;
}

void FlipEdgeAt(Colours& c, int n)
{
    std::swap(c[cubie::kEdgeFacelets[n][0]], c[cubie::kEdgeFacelets[n][1]]);
}

TEST(Diagnosis, RealCubesHaveNoProblem)
{
    std::mt19937 rng(1);
    for (int k = 0; k < 300; ++k) {
        Colours c = RandomReal(rng, k % 2 == 1);
        if (k % 3 == 0) { // painted in another scheme: any relabelling of the colours
            BYTE perm[7] = {0, 1, 2, 3, 4, 5, 6};
            std::shuffle(perm + 1, perm + 7, rng);
            for (BYTE& x : c)
                x = perm[x];
        }
        const CubeDiagnosis d = DiagnoseCube(c.data());
        ASSERT_EQ(d.nResult, 0);
        ASSERT_TRUE(d.problems.empty()) << d.Summary();
    }
}

TEST(Diagnosis, OneFlippedEdge)
{
    std::mt19937 rng(2);
    for (int n = 0; n < 12; ++n) {
        Colours c = n % 2 ? RandomReal(rng, true) : Solved();
        FlipEdgeAt(c, n);
        const CubeDiagnosis d = DiagnoseCube(c.data());
        EXPECT_EQ(d.nResult, 2);
        ASSERT_EQ(d.problems.size(), 1u) << d.Summary();
        EXPECT_EQ(d.problems[0].kind, CubeProblemKind::FLIPPED_EDGE);
        EXPECT_EQ(d.problems[0].text,
                  "One edge is flipped, its two colours the wrong way round. Which one cannot be "
                  "told from the colours: find it and flip it back.");
    }
}

TEST(Diagnosis, OneStickerPaintedWrong)
{
    // The front sticker of the top-front-right corner painted red instead of blue.
    Colours c = Solved();
    c[11] = 3;
    CubeDiagnosis d = DiagnoseCube(c.data());
    ASSERT_EQ(d.problems.size(), 1u) << d.Summary();
    EXPECT_EQ(d.problems[0].kind, CubeProblemKind::WRONG_STICKER);
    EXPECT_EQ(d.problems[0].text, "The front sticker of the corner at top-front-right is painted "
                                  "the wrong colour: it is red and should be blue.");
    EXPECT_EQ(d.problems[0].facelets, std::vector<int>{11});

    c = Solved();
    c[40] = 1; // the back centre
    d = DiagnoseCube(c.data());
    ASSERT_EQ(d.problems.size(), 1u) << d.Summary();
    EXPECT_EQ(d.problems[0].text,
              "The centre of the back face is painted the wrong colour: it is yellow and should be green.");

    // Every sticker of random cubes, repainted with every other colour: the
    // diagnosis points at it, alone whenever the colours allow.
    std::mt19937 rng(3);
    int nNamed = 0, nCases = 0;
    for (int k = 0; k < 4; ++k) {
        const Colours real = RandomReal(rng, k % 2 == 1);
        for (int f = 0; f < 54; ++f)
            for (BYTE x = 1; x <= 6; ++x) {
                if (x == real[f])
                    continue;
                Colours wrong = real;
                wrong[f] = x;
                d = DiagnoseCube(wrong.data());
                ASSERT_FALSE(d.problems.empty());
                ASSERT_EQ(d.problems[0].kind, CubeProblemKind::WRONG_STICKER) << f << ": " << d.Summary();
                const auto& fl = d.problems[0].facelets;
                ASSERT_TRUE(std::find(fl.begin(), fl.end(), f) != fl.end()) << f << ": " << d.Summary();
                ++nCases;
                nNamed += fl.size() == 1;
            }
    }
    // Most are named alone; a few repaintings make another real cube possible too.
    EXPECT_GT(nNamed, nCases * 9 / 10);
    RecordProperty("named_alone", nNamed);
    RecordProperty("cases", nCases);
}

TEST(Diagnosis, TwoCentresSwapped)
{
    Colours c = Solved();
    std::swap(c[4], c[13]); // top and front
    CubeDiagnosis d = DiagnoseCube(c.data());
    EXPECT_EQ(d.nResult, 1);
    ASSERT_EQ(d.problems.size(), 1u) << d.Summary();
    EXPECT_EQ(d.problems[0].kind, CubeProblemKind::CENTRES_SWAPPED);
    EXPECT_EQ(d.problems[0].text, "The top and front centres look swapped: the pieces fit only if "
                                  "the top centre is yellow and the front centre blue.");
    EXPECT_EQ(d.problems[0].facelets, (std::vector<int>{4, 13}));

    // Every pair, on cubes held as entered: named, and nothing else reported.
    std::mt19937 rng(4);
    for (int k = 0; k < 5; ++k) {
        const Colours real = RandomReal(rng, false);
        for (int a = 0; a < 6; ++a)
            for (int b = a + 1; b < 6; ++b) {
                c = real;
                std::swap(c[a * 9 + 4], c[b * 9 + 4]);
                d = DiagnoseCube(c.data());
                ASSERT_EQ(d.problems.size(), 1u) << a << b << ": " << d.Summary();
                EXPECT_EQ(d.problems[0].kind, CubeProblemKind::CENTRES_SWAPPED) << d.Summary();
                EXPECT_EQ(d.problems[0].facelets, (std::vector<int>{a * 9 + 4, b * 9 + 4}));
            }
    }

    // Opposite centres swapped on a cube held another way: a mirror image,
    // and any opposite pair would do.
    CCubeSolver turned;
    turned.ExecuteMoves("C+.F+.R-.");
    c = ColoursOf(turned);
    std::swap(c[1 * 9 + 4], c[4 * 9 + 4]);
    d = DiagnoseCube(c.data());
    ASSERT_EQ(d.problems.size(), 1u) << d.Summary();
    EXPECT_EQ(d.problems[0].kind, CubeProblemKind::CENTRES_MIRRORED);
    EXPECT_EQ(d.problems[0].facelets.size(), 6u);
}

TEST(Diagnosis, TwistsSwapsDuplicatesAndImpossiblePieces)
{
    Colours c = Solved();
    TwistClockwise(c, 1);
    CubeDiagnosis d = DiagnoseCube(c.data());
    ASSERT_EQ(Texts(d), std::vector<CString>{"One corner is twisted clockwise (or two counter-clockwise). "
                                             "Which one cannot be told from the colours: find it and turn it back."});
    TwistClockwise(c, 1); // twice clockwise is once counter-clockwise
    d = DiagnoseCube(c.data());
    ASSERT_EQ(d.problems.size(), 1u);
    EXPECT_EQ(d.problems[0].text.rfind("One corner is twisted counter-clockwise (or two clockwise).", 0), 0u);
    TwistClockwise(c, 5); // and one more clockwise elsewhere: the twists add up
    EXPECT_TRUE(DiagnoseCube(c.data()).problems.empty());

    c = Solved();
    for (int k = 0; k < 2; ++k)
        std::swap(c[cubie::kEdgeFacelets[0][k]], c[cubie::kEdgeFacelets[1][k]]);
    d = DiagnoseCube(c.data());
    ASSERT_EQ(d.problems.size(), 1u) << d.Summary();
    EXPECT_EQ(d.problems[0].kind, CubeProblemKind::SWAPPED_PIECES);

    // Two edges painted as others: each is there twice, the others missing.
    c = Solved();
    c[cubie::kEdgeFacelets[2][1]] = 2;  // top-right edge painted as top-front
    c[cubie::kEdgeFacelets[8][1]] = 4;  // bottom-back edge painted as bottom-left
    d = DiagnoseCube(c.data());
    const std::vector<CString> texts = Texts(d);
    for (const char* expected : {"The yellow-blue edge is there twice: at top-front and top-right.",
                                 "The white-orange edge is there twice: at bottom-back and bottom-left.",
                                 "The yellow-red edge is missing.", "The white-green edge is missing.",
                                 "There are 10 blue stickers, not nine.",
                                 "There are 8 red stickers, not nine."})
        EXPECT_NE(std::find(texts.begin(), texts.end(), expected), texts.end()) << expected << "\n" << d.Summary();

    // Impossible pieces, with a blank left so that no single repainting is sought.
    c = Solved();
    c[0] = 0;
    c[11] = 1;                          // top-front-right: yellow twice
    c[cubie::kEdgeFacelets[4][1]] = 5;  // front-right: blue and green
    std::swap(c[cubie::kCornerFacelets[7][1]], c[cubie::kCornerFacelets[7][2]]);
    d = DiagnoseCube(c.data());
    const std::vector<CString> more = Texts(d);
    for (const char* expected :
         {"The corner at top-front-right has two yellow stickers: no piece has one colour twice.",
          "The edge at front-right has blue and green stickers: those colours are on opposite faces "
          "and never meet on one piece.",
          "The corner at bottom-back-right is a mirror image: its bottom, back and right stickers "
          "are white, red and green, which go round the wrong way, as if two were exchanged.",
          "1 sticker is still blank."})
        EXPECT_NE(std::find(more.begin(), more.end(), expected), more.end()) << expected << "\n" << d.Summary();
}

TEST(Diagnosis, BlanksAndCentres)
{
    CCubeSolver cleared;
    cleared.ClearCube();
    Colours c = ColoursOf(cleared);
    CubeDiagnosis d = DiagnoseCube(c.data());
    EXPECT_EQ(d.nResult, 1);
    std::vector<CString> texts = Texts(d);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "48 stickers are still blank."), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "There is 1 yellow sticker, not nine."),
              texts.end());

    // Centres alone, as entering begins: checked against the program's colours.
    c = ColoursOf(cleared);
    std::swap(c[4], c[13]);
    texts = Texts(DiagnoseCube(c.data()));
    EXPECT_NE(std::find(texts.begin(), texts.end(),
                        "The centres are in an arrangement no real cube has: the blue centre faces "
                        "white instead of green."),
              texts.end())
        << DiagnoseCube(c.data()).Summary();
    c = ColoursOf(cleared);
    std::swap(c[22], c[31]);
    d = DiagnoseCube(c.data());
    ASSERT_GE(d.problems.size(), 1u);
    EXPECT_EQ(d.problems.back().kind, CubeProblemKind::CENTRES_MIRRORED);
    EXPECT_EQ(d.problems.back().text.rfind("The centres are arranged as a mirror image", 0), 0u);

    c = Solved();
    c[4] = 0;
    c[13] = 3;
    c[cubie::kEdgeFacelets[0][0]] = 0;
    d = DiagnoseCube(c.data());
    texts = Texts(d);
    for (const char* expected : {"The centre of the top face is blank.",
                                 "The front and right centres are both red: every centre has a colour of its own.",
                                 "No centre is yellow.", "No centre is blue."})
        EXPECT_NE(std::find(texts.begin(), texts.end(), expected), texts.end()) << expected << "\n" << d.Summary();
}

// Random, relabelled, reoriented and malformed cubes: the verdict is Solve's,
// there are problems exactly when it is not 0, and every problem is well formed
// (its text one or two sentences without the summary's separator).
TEST(Diagnosis, VerdictAgreesWithSolve)
{
    std::mt19937 rng(2026);
    int nByResult[3] = {};
    for (int k = 0; k < ZELVORS_DIAGNOSIS_CASES; ++k) {
        Colours c = RandomReal(rng, rng() % 2 == 0);
        switch (k % 10) {
        case 0: break;
        case 1: { // relabelled
            BYTE perm[7] = {0, 1, 2, 3, 4, 5, 6};
            std::shuffle(perm + 1, perm + 7, rng);
            for (BYTE& x : c)
                x = perm[x];
            break;
        }
        case 2: // one to three stickers repainted, blanks included
            for (int n = 1 + rng() % 3; n > 0; --n)
                c[rng() % 54] = static_cast<BYTE>(rng() % 7);
            break;
        case 3: // two facelets exchanged
            std::swap(c[rng() % 54], c[rng() % 54]);
            break;
        case 4: FlipEdgeAt(c, rng() % 12); break;
        case 5: TwistClockwise(c, rng() % 8); break;
        case 6: std::swap(c[(rng() % 6) * 9 + 4], c[(rng() % 6) * 9 + 4]); break;
        case 7: // the stickers shuffled among themselves, centres kept
            for (int n = 53; n > 0; --n)
                if (n % 9 != 4) {
                    int m = rng() % (n + 1);
                    if (m % 9 != 4)
                        std::swap(c[n], c[m]);
                }
            break;
        case 8: // every colour at random
            for (BYTE& x : c)
                x = static_cast<BYTE>(rng() % 7);
            break;
        default: // pieces exchanged whole
            for (int k2 = 0; k2 < 2; ++k2)
                std::swap(c[cubie::kEdgeFacelets[0][k2]], c[cubie::kEdgeFacelets[1 + rng() % 11][k2]]);
            break;
        }
        const CubeDiagnosis d = DiagnoseCube(c.data());
        const int nSolve = SolveResult(c);
        std::string strText;
        for (BYTE x : c)
            strText += static_cast<char>('0' + x);
        ASSERT_EQ(d.nResult, nSolve) << strText;
        ASSERT_EQ(d.problems.empty(), nSolve == 0) << strText << ": " << d.Summary();
        for (const CubeProblem& p : d.problems) {
            ASSERT_FALSE(p.text.empty());
            ASSERT_EQ(p.text.back(), '.');
            ASSERT_EQ(p.text.find("; "), CString::npos) << p.text; // the summary's separator
            for (int f : p.facelets)
                ASSERT_TRUE(f >= 0 && f < 54);
        }
        ++nByResult[nSolve];
    }
    // Every verdict was reached many times.
    EXPECT_GT(nByResult[0], ZELVORS_DIAGNOSIS_CASES / 10);
    EXPECT_GT(nByResult[1], ZELVORS_DIAGNOSIS_CASES / 10);
    EXPECT_GT(nByResult[2], ZELVORS_DIAGNOSIS_CASES / 10);
}

} // namespace
