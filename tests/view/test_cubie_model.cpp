// The cubie model on its own: slice turns, commits, colours, save and restore.

#include "CubeSolver.h"
#include "CubieModel.h"

#include <QTest>

#include <cstring>
#include <random>

namespace {

using TurnFn = void (CCubieModel::*)(int, int);

struct SliceCase {
    const char* name;
    TurnFn turn;
};

constexpr SliceCase kSlices[3] = {
    {"x", &CCubieModel::TurnSliceX},
    {"y", &CCubieModel::TurnSliceY},
    {"z", &CCubieModel::TurnSliceZ},
};

void Snapshot(const CCubieModel& m, const CCubie* (&out)[27])
{
    for (int n = 0; n < 27; ++n)
        out[n] = m.m_pCubie[n];
}

bool SameColors(const CCubie* a, const CCubie* b)
{
    return std::memcmp(a->color, b->color, sizeof(a->color)) == 0;
}

} // namespace

class TestCubieModel : public QObject {
    Q_OBJECT

private slots:
    void solvedColoursMatchTheSolvedModel()
    {
        CCubieModel cubies;
        CCubeSolver cube;
        QVERIFY(cubies.MatchesFacelets(cube.m_pFace));
        // The centre cubie shows nothing but the inside grey.
        for (const float* rgb : cubies.At(1, 1, 1)->color)
            QCOMPARE(rgb[0], 0.25f);
        QVERIFY(!cubies.IsTurning());
    }

    void quarterTurnCommitsOnlyAtNinety_data()
    {
        QTest::addColumn<int>("axis");
        QTest::addColumn<int>("step");
        for (int a = 0; a < 3; ++a)
            for (int step : {-45, -30, -10, -2, 2, 10, 30, 45})
                QTest::addRow("%s by %d", kSlices[a].name, step) << a << step;
    }
    void quarterTurnCommitsOnlyAtNinety()
    {
        QFETCH(int, axis);
        QFETCH(int, step);
        CCubieModel cubies;
        const CCubie* before[27];
        Snapshot(cubies, before);
        const int nFrames = 90 / std::abs(step);
        for (int f = 1; f < nFrames; ++f) {
            (cubies.*kSlices[axis].turn)(1, step);
            QVERIFY(cubies.IsTurning());
            QVERIFY(std::memcmp(before, cubies.m_pCubie, sizeof(before)) == 0);
        }
        (cubies.*kSlices[axis].turn)(1, step);
        QVERIFY(!cubies.IsTurning());
        QVERIFY(std::memcmp(before, cubies.m_pCubie, sizeof(before)) != 0);
    }

    void fourQuarterTurnsAndInversesRestoreEverything()
    {
        CCubieModel cubies;
        const CCubie* before[27];
        Snapshot(cubies, before);
        CCubeSolver solved;
        for (const SliceCase& slice : kSlices) {
            for (int nSlice = 0; nSlice < 3; ++nSlice) {
                for (int sign : {-1, +1}) {
                    for (int q = 0; q < 4; ++q)
                        (cubies.*slice.turn)(nSlice, sign * 90);
                    QVERIFY(std::memcmp(before, cubies.m_pCubie, sizeof(before)) == 0);
                    QVERIFY(cubies.MatchesFacelets(solved.m_pFace));
                }
                (cubies.*slice.turn)(nSlice, -90);
                (cubies.*slice.turn)(nSlice, +90);
                QVERIFY(std::memcmp(before, cubies.m_pCubie, sizeof(before)) == 0);
                QVERIFY(cubies.MatchesFacelets(solved.m_pFace));
            }
        }
    }

    void centreCubieTurnsItsColoursInPlace()
    {
        CCubieModel cubies;
        CCubie* pCentre = cubies.m_pCubie[1 * 9 + 2 * 3 + 1]; // the T centre, (1, 2, 1)
        cubies.TurnSliceY(2, -90);
        QCOMPARE(cubies.m_pCubie[1 * 9 + 2 * 3 + 1], pCentre);
        // x by -90 on slice 1 brings its +y colour to -z.
        CCubie* pMiddle = cubies.m_pCubie[1 * 9 + 2 * 3 + 1];
        const float yellow[3] = {1.0f, 1.0f, 0.0f};
        QVERIFY(std::memcmp(pMiddle->color[1], yellow, sizeof(yellow)) == 0);
        cubies.TurnSliceX(1, -90);
        QVERIFY(std::memcmp(pMiddle->color[3], yellow, sizeof(yellow)) == 0);
    }

    void cycleFaceColorsMovesFourFaces()
    {
        CCubie c;
        for (int n = 0; n < 6; ++n)
            c.color[n][0] = static_cast<float>(n);
        CycleFaceColors(&c, 1, 2, 4, 3);
        QCOMPARE(c.color[1][0], 2.0f);
        QCOMPARE(c.color[2][0], 4.0f);
        QCOMPARE(c.color[4][0], 3.0f);
        QCOMPARE(c.color[3][0], 1.0f);
        QCOMPARE(c.color[0][0], 0.0f);
        QCOMPARE(c.color[5][0], 5.0f);
    }

    void faceletColourChangesExactlyOneCubieFace()
    {
        const char kLetters[] = "TFRLBD";
        for (int n = 0; n < 6; ++n) {
            for (int cell = 0; cell < 9; ++cell) {
                CCubieModel cubies;
                CCubieModel reference;
                cubies.SetFaceletColor(cell / 3, cell % 3, kLetters[n], (n + 1) % 6 + 1);
                int nChanged = 0;
                for (int k = 0; k < 27; ++k)
                    for (int f = 0; f < 6; ++f)
                        nChanged += std::memcmp(cubies.m_pCubie[k]->color[f],
                                                reference.m_pCubie[k]->color[f], 12) != 0;
                QCOMPARE(nChanged, 1);
            }
        }
        CCubieModel cubies;
        CCubieModel reference;
        for (int nColor : {0, 7, -1, 100})
            cubies.SetFaceletColor(1, 1, 'F', nColor);
        SetCubieFaceColor(0, 9, cubies.m_pCubie[0]);
        for (int k = 0; k < 27; ++k)
            QVERIFY(SameColors(cubies.m_pCubie[k], reference.m_pCubie[k]));
    }

    void restoreBringsBackSavedColoursWhereverRecordsMoved()
    {
        CCubieModel cubies;
        std::mt19937 rng(7);
        for (int i = 0; i < 20; ++i)
            (cubies.*kSlices[rng() % 3].turn)(static_cast<int>(rng() % 3), rng() % 2 ? 90 : -90);
        cubies.SaveColors();
        float saved[27][6][3];
        for (int k = 0; k < 27; ++k)
            std::memcpy(saved[k], cubies.m_pCubie[k]->color, sizeof(saved[k]));
        for (int i = 0; i < 20; ++i)
            (cubies.*kSlices[rng() % 3].turn)(static_cast<int>(rng() % 3), rng() % 2 ? 90 : -90);
        cubies.RestoreColors();
        for (int k = 0; k < 27; ++k)
            QVERIFY(std::memcmp(saved[k], cubies.m_pCubie[k]->color, sizeof(saved[k])) == 0);
    }

    void followingFaceletsShowsBlanksInTheNetGrey()
    {
        CCubeSolver cube;
        cube.ExecuteMoves("F+.R-.");
        cube.ClearCube();
        CCubieModel cubies;
        QVERIFY(!cubies.MatchesFacelets(cube.m_pFace));
        cubies.FollowFacelets(cube.m_pFace);
        QVERIFY(cubies.MatchesFacelets(cube.m_pFace));
        const float* corner = cubies.At(2, 2, 2)->color[1];
        QCOMPARE(corner[0], 110.0f / 255.0f);
    }
};

QTEST_GUILESS_MAIN(TestCubieModel)
#include "test_cubie_model.moc"
