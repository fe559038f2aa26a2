// Filling what the painted facelets determine: never a wrong colour, and the
// cases a person relies on (last sticker, last piece, its twist or flip, the
// last two pieces) always filled. Two pieces left wholly blank are never
// determined: each could be flipped or twisted against the other.

#include "CubeDiagnosis.h"
#include "CubeText.h"
#include "CubieCube.h"
#include "TestCube.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using Colours = std::array<BYTE, 54>;

Colours RandomReal(std::mt19937& rng)
{
    CCubeSolver cube;
    MakeRandomLegalCube(cube, rng);
    Colours c{};
    ReadCube(cube, c.data());
    return c;
}

void BlankCorner(Colours& c, int n)
{
    for (int f : cubie::kCornerFacelets[n])
        c[f] = 0;
}

void BlankEdge(Colours& c, int n)
{
    for (int f : cubie::kEdgeFacelets[n])
        c[f] = 0;
}

int Blanks(const Colours& c)
{
    int n = 0;
    for (BYTE x : c)
        n += x == 0;
    return n;
}

// Fills and checks that nothing painted changed and everything filled is right.
FillResult FillChecked(const Colours& real, const Colours& blanked)
{
    const FillResult r = FillDetermined(blanked.data());
    EXPECT_FALSE(r.bContradiction);
    int nFilled = 0;
    for (int f = 0; f < 54; ++f) {
        if (blanked[f] != 0)
            EXPECT_EQ(r.colors[f], blanked[f]) << "painted facelet " << f << " changed";
        else if (r.colors[f] != 0) {
            EXPECT_EQ(r.colors[f], real[f]) << "facelet " << f << " filled wrongly";
            ++nFilled;
        }
    }
    EXPECT_EQ(r.nFilled, nFilled);
    return r;
}

TEST(Fill, WhatAPersonReliesOn)
{
    std::mt19937 rng(7);
    for (int k = 0; k < 200; ++k) {
        const Colours real = RandomReal(rng);
        Colours c = real;
        // The last corner and the last edge: placed by elimination, turned by the sums.
        BlankCorner(c, rng() % 8);
        BlankEdge(c, rng() % 12);
        // One sticker of another piece.
        const int e = rng() % 12;
        c[cubie::kEdgeFacelets[e][rng() % 2]] = 0;
        // A blank centre.
        c[(rng() % 6) * 9 + 4] = 0;
        FillResult r = FillChecked(real, c);
        ASSERT_EQ(r.nFilled, Blanks(c));

        // The last two edges, or the last two corners, placed by parity: one
        // sticker left on the first, of a colour both pieces have; the
        // second's flip or twist then follows from the sums.
        auto has = [&real](const int* facelets, int n, BYTE x) {
            for (int i = 0; i < n; ++i)
                if (real[facelets[i]] == x)
                    return true;
            return false;
        };
        const int a = rng() % 12;
        for (int b = 0; b < 12; ++b)
            if (b != a && has(cubie::kEdgeFacelets[b], 2, real[cubie::kEdgeFacelets[a][0]])) {
                c = real;
                c[cubie::kEdgeFacelets[a][1]] = 0;
                BlankEdge(c, b);
                ASSERT_EQ(FillChecked(real, c).nFilled, 3);
                break;
            }
        const int m = rng() % 8;
        for (int n = 0; n < 8; ++n)
            if (n != m && has(cubie::kCornerFacelets[n], 3, real[cubie::kCornerFacelets[m][0]])) {
                c = real;
                c[cubie::kCornerFacelets[m][1]] = c[cubie::kCornerFacelets[m][2]] = 0;
                BlankCorner(c, n);
                ASSERT_EQ(FillChecked(real, c).nFilled, 5);
                break;
            }
    }
}

TEST(Fill, RandomBlanksAreNeverFilledWrongly)
{
    std::mt19937 rng(8);
    int nFilled = 0, nBlanks = 0;
    for (int k = 0; k < 1500; ++k) {
        const Colours real = RandomReal(rng);
        Colours c = real;
        const int nBlank = 1 + static_cast<int>(rng() % 54);
        for (int i = 0; i < nBlank; ++i)
            c[rng() % 54] = 0;
        const FillResult r = FillChecked(real, c);
        nFilled += r.nFilled;
        nBlanks += Blanks(c);
        // Filling again finds nothing more: the fill is complete by its own rules.
        Colours again;
        std::copy(std::begin(r.colors), std::end(r.colors), again.begin());
        ASSERT_EQ(FillDetermined(again.data()).nFilled, 0);
    }
    RecordProperty("filled", nFilled);
    RecordProperty("blanks", nBlanks);
}

TEST(Fill, ContradictionsFillNothing)
{
    std::mt19937 rng(9);
    for (int k = 0; k < 50; ++k) {
        Colours c = RandomReal(rng);
        // One edge flipped, every edge painted (a blank edge could still take
        // the flip up, so that would be no contradiction).
        std::swap(c[cubie::kEdgeFacelets[3][0]], c[cubie::kEdgeFacelets[3][1]]);
        BlankCorner(c, rng() % 8);
        FillResult r = FillDetermined(c.data());
        EXPECT_TRUE(r.bContradiction);
        EXPECT_EQ(r.nFilled, 0);
        EXPECT_TRUE(std::equal(c.begin(), c.end(), std::begin(r.colors)));

        // A piece painted twice.
        c = RandomReal(rng);
        c[cubie::kEdgeFacelets[1][0]] = c[cubie::kEdgeFacelets[0][0]];
        c[cubie::kEdgeFacelets[1][1]] = c[cubie::kEdgeFacelets[0][1]];
        c[cubie::kCornerFacelets[2][0]] = 0;
        r = FillDetermined(c.data());
        EXPECT_TRUE(r.bContradiction);
        EXPECT_EQ(r.nFilled, 0);
    }

    // Centres that name no faces: nothing to fill, nothing claimed.
    CCubeSolver cleared;
    cleared.ClearCube();
    Colours c{};
    ReadCube(cleared, c.data());
    c[4] = c[13];
    const FillResult r = FillDetermined(c.data());
    EXPECT_EQ(r.nFilled, 0);
    EXPECT_FALSE(r.bContradiction);
}

} // namespace
