// The verdict on painted cubes: what ReadFacelets reports for each kind of
// fault, and that ReadVerdict (and so SolveShort) agrees with the
// layer-by-layer Solve on random, relabelled, reoriented and malformed cubes.

#include "CubeText.h"
#include "CubieCube.h"
#include "ShortSolver.h"
#include "TestCube.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#ifndef ZELVORS_SHORT_CUBES
#define ZELVORS_SHORT_CUBES 10000
#endif

namespace {

using namespace cubie;

FaceletReading Read(const CubieCube& c)
{
    BYTE colors[54];
    WriteFacelets(c, kStandard, colors);
    return ReadFacelets(colors);
}

TEST(Verdict, EachKindOfFaultIsReported)
{
    BYTE colors[54];
    WriteFacelets(CubieCube(), kStandard, colors);
    EXPECT_TRUE(ReadFacelets(colors).IsRealCube());
    EXPECT_EQ(ReadFacelets(colors).centres.arrangement, CentreReading::ROTATION);

    { // One edge flipped, one corner twisted, two edges swapped.
        CubieCube c;
        c.eo[TR] = 1;
        const FaceletReading r = Read(c);
        EXPECT_TRUE(r.bComplete);
        EXPECT_EQ(r.flipSum, 1);
        EXPECT_EQ(r.edges[TR].orientation, 1);
        EXPECT_FALSE(r.IsRealCube());
        EXPECT_FALSE(c.IsSolvable());
        c = CubieCube();
        c.co[DBL] = 2;
        EXPECT_EQ(Read(c).twistSum, 2);
        EXPECT_FALSE(Read(c).IsRealCube());
        c = CubieCube();
        std::swap(c.ep[TF], c.ep[DB]);
        EXPECT_NE(Read(c).cornerParity, Read(c).edgeParity);
        EXPECT_FALSE(Read(c).IsRealCube());
        EXPECT_TRUE(c.IsWellFormed());
        EXPECT_FALSE(c.IsSolvable());
    }
    { // A piece twice and another missing.
        CubieCube c;
        c.cp[TFL] = TFR;
        EXPECT_FALSE(c.IsWellFormed());
        const FaceletReading r = Read(c);
        EXPECT_FALSE(r.bComplete);
        EXPECT_EQ(r.cornerCount[TFR], 2);
        EXPECT_EQ(r.cornerCount[TFL], 0);
        EXPECT_EQ(r.corners[TFL].status, PieceStatus::OK);
        c = CubieCube();
        c.ep[BL] = BR;
        EXPECT_EQ(Read(c).edgeCount[BR], 2);
        EXPECT_EQ(Read(c).edgeCount[BL], 0);
    }
    { // Colours: blank, a colour twice on a corner, two opposite colours on an
      // edge, a corner's colours in mirror order, a colour no centre shows.
        BYTE bad[54];
        std::memcpy(bad, colors, 54);
        bad[kCornerFacelets[DFR][1]] = 0;
        EXPECT_EQ(ReadFacelets(bad).corners[DFR].status, PieceStatus::BLANK);
        std::memcpy(bad, colors, 54);
        bad[kCornerFacelets[TBL][2]] = bad[kCornerFacelets[TBL][1]];
        EXPECT_EQ(ReadFacelets(bad).corners[TBL].status, PieceStatus::NO_SUCH_PIECE);
        std::memcpy(bad, colors, 54);
        bad[kEdgeFacelets[FR][1]] = 5; // B, opposite F
        EXPECT_EQ(ReadFacelets(bad).edges[FR].status, PieceStatus::NO_SUCH_PIECE);
        std::memcpy(bad, colors, 54);
        std::swap(bad[kCornerFacelets[TFR][1]], bad[kCornerFacelets[TFR][2]]);
        EXPECT_EQ(ReadFacelets(bad).corners[TFR].status, PieceStatus::MIRRORED);
        EXPECT_FALSE(ReadFacelets(bad).IsRealCube());
        std::memcpy(bad, colors, 54);
        bad[4] = 2; // T's centre painted like F's: colour 1 shows on no centre
        const FaceletReading r = ReadFacelets(bad);
        EXPECT_FALSE(r.centres.bDistinct);
        EXPECT_EQ(r.centres.count[2], 2);
        EXPECT_EQ(r.centres.slotOfColour[1], -1);
        EXPECT_EQ(r.corners[TFL].status, PieceStatus::UNKNOWN_COLOUR);
    }
    { // Centre schemes: a turn, a mirror image, neither.
        BYTE turned[6] = {2, 6, 3, 4, 1, 5}; // front to the top
        WriteFacelets(CubieCube(), turned, colors);
        EXPECT_EQ(ReadFacelets(colors).centres.arrangement, CentreReading::ROTATION);
        EXPECT_TRUE(ReadFacelets(colors).IsRealCube());
        BYTE mirrored[6] = {1, 2, 4, 3, 5, 6}; // R and L exchanged
        WriteFacelets(CubieCube(), mirrored, colors);
        EXPECT_EQ(ReadFacelets(colors).centres.arrangement, CentreReading::MIRROR);
        BYTE neither[6] = {1, 3, 2, 4, 5, 6};
        WriteFacelets(CubieCube(), neither, colors);
        EXPECT_EQ(ReadFacelets(colors).centres.arrangement, CentreReading::NO_CUBE);
    }
}

// A random way of spoiling a cube, as a user painting it might.
void Spoil(BYTE colors[54], std::mt19937& rng)
{
    const int nKind = static_cast<int>(rng() % 9);
    const int i = static_cast<int>(rng() % 54), j = static_cast<int>(rng() % 54);
    const int e = static_cast<int>(rng() % 12), c = static_cast<int>(rng() % 8);
    switch (nKind) {
    case 0: colors[i] = 0; break;                                          // blank
    case 1: colors[i] = static_cast<BYTE>(rng() % 7); break;               // recoloured
    case 2: std::swap(colors[i], colors[j]); break;                        // stickers swapped
    case 3: std::swap(colors[kEdgeFacelets[e][0]], colors[kEdgeFacelets[e][1]]); break; // flip
    case 4: { // twist
        const BYTE x = colors[kCornerFacelets[c][0]];
        colors[kCornerFacelets[c][0]] = colors[kCornerFacelets[c][1]];
        colors[kCornerFacelets[c][1]] = colors[kCornerFacelets[c][2]];
        colors[kCornerFacelets[c][2]] = x;
        break;
    }
    case 5: std::swap(colors[kCornerFacelets[c][1]], colors[kCornerFacelets[c][2]]); break; // mirror
    case 6: colors[kCornerFacelets[c][rng() % 3]] = colors[kCornerFacelets[c][rng() % 3]]; break;
    case 7: std::swap(colors[(rng() % 6) * 9 + 4], colors[(rng() % 6) * 9 + 4]); break; // centres
    default: // every corner painted like its neighbour (passes the model's membership test)
        for (int k = 0; k < 8; ++k)
            colors[kCornerFacelets[k][2]] = colors[kCornerFacelets[k][1]];
        break;
    }
}

TEST(Verdict, AgreesWithLayerByLayerSolve)
{
    const int nCount = ZELVORS_SHORT_CUBES >= 1000 ? 3000 : 300;
    std::mt19937 rng(54);
    int nCodes[3] = {};
    for (int n = 0; n < nCount; ++n) {
        BYTE colors[54];
        BYTE centres[6] = {1, 2, 3, 4, 5, 6};
        if (n % 2)
            for (int i = 5; i > 0; --i)
                std::swap(centres[i], centres[rng() % (i + 1)]);
        WriteFacelets(RandomCubieCube(rng), centres, colors);
        if (n % 3 == 0) {
            CCubeSolver turned;
            LoadCube(turned, colors);
            turned.ExecuteMoves(Orientation(static_cast<int>(rng() % 24)));
            ReadCube(turned, colors);
        }
        const int nFaults = n % 5 == 0 ? 0 : 1 + static_cast<int>(rng() % 3);
        for (int k = 0; k < nFaults; ++k)
            Spoil(colors, rng);
        if (n % 97 == 0)
            for (BYTE& x : colors)
                x = static_cast<BYTE>(rng() % 7);

        CCubeSolver model;
        LoadCube(model, colors);
        const int nExpected = model.Solve(nullptr);
        ASSERT_EQ(ReadVerdict(colors), nExpected) << FormatCube(model);
        ++nCodes[nExpected];
        if (n % 50 == 0) {
            std::string strMoves;
            EXPECT_EQ(SolveShort(colors, 20, strMoves), nExpected);
        }
    }
    // The mix reaches every verdict often.
    for (int nCode : nCodes)
        EXPECT_GT(nCode, nCount / 20);
}

} // namespace
