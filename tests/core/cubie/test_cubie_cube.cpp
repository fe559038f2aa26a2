// The cubie-level cube against the facelet model: turns, reading, writing and
// every kind of fault a painted cube can have.

#include "CubeText.h"
#include "CubieCube.h"
#include "TestCube.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

using namespace cubie;

void Colors(const CCubeSolver& model, BYTE colors[54])
{
    ReadCube(model, colors);
}

TEST(CubieCube, TurnsAreTheModelsAndKeepTheInvariants)
{
    const char* kLetters = "TFRLBD";
    std::mt19937 rng(7);
    for (int n = 0; n < 200; ++n) {
        CCubeSolver model;
        CubieCube c;
        for (int k = 0; k < 30; ++k) {
            const int f = static_cast<int>(rng() % 6);
            model.RotateFaceCW(model.GetFace(kLetters[f]));
            c = c * FaceTurn(f);
        }
        BYTE colors[54];
        Colors(model, colors);
        const FaceletReading r = ReadFacelets(colors);
        ASSERT_TRUE(r.IsRealCube());
        ASSERT_EQ(r.cube, c);
    }
    for (int f = 0; f < 6; ++f) {
        const CubieCube& m = FaceTurn(f);
        EXPECT_EQ(m * m * m * m, CubieCube::Solved());
        EXPECT_EQ(m * m.Inverse(), CubieCube::Solved());
        // Orientation is kept by T, D turns (corners) and T, D, R, L (edges).
        if (f == 0 || f == 5) {
            for (int i = 0; i < 8; ++i)
                EXPECT_EQ(m.co[i], 0);
        }
        if (f != 1 && f != 4) {
            for (int i = 0; i < 12; ++i)
                EXPECT_EQ(m.eo[i], 0) << f;
        }
    }
}

TEST(CubieCube, FaceletsRoundTripInAnyColouring)
{
    std::mt19937 rng(11);
    for (int n = 0; n < 500; ++n) {
        const CubieCube c = RandomCubieCube(rng);
        BYTE centres[6] = {1, 2, 3, 4, 5, 6};
        for (int i = 5; i > 0; --i)
            std::swap(centres[i], centres[rng() % (i + 1)]);
        BYTE colors[54];
        WriteFacelets(c, centres, colors);
        const FaceletReading r = ReadFacelets(colors);
        ASSERT_TRUE(r.IsRealCube());
        EXPECT_EQ(r.cube, c);
        EXPECT_EQ(r.cube * r.cube.Inverse(), CubieCube::Solved());
        BYTE again[54];
        WriteFacelets(r.cube, centres, again);
        EXPECT_EQ(std::memcmp(colors, again, 54), 0);
    }
}

} // namespace
