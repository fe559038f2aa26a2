#include "Symmetries.h"

#include "Coordinates.h"

#include "CubeSolver.h"
#include "CubeText.h"


namespace shortsolver {

cubie::CubieCube SeenFromAxis(const cubie::CubieCube& cube, int nAxis, int faceOf[cubie::kFaceCount])
{
    // Painted with colour s + 1 on slot s, so that after the turn each
    // centre tells where its face came from.
    static const BYTE kCentres[cubie::kFaceCount] = {1, 2, 3, 4, 5, 6};
    BYTE colors[cubie::kFaceletCount];
    cubie::WriteFacelets(cube, kCentres, colors);
    CCubeSolver model;
    LoadCube(model, colors);
    if (nAxis == 2 || nAxis == kQuarterAboutTD)
        model.TurnCubeLeft(); // R to the front
    if (nAxis == 1 || nAxis == 2)
        model.TiltCubeUp(); // front to the top
    ReadCube(model, colors);
    for (int s = 0; s < cubie::kFaceCount; ++s)
        faceOf[s] = colors[s * 9 + 4] - 1;
    return cubie::ReadFacelets(colors).cube;
}

} // namespace shortsolver

namespace shortsolver {

namespace {

// Position of each corner and edge: the sum of its faces' outward normals
// (x to R, y to T, z to F).
struct Positions {
    int corner[cubie::CORNER_COUNT][3] = {};
    int edge[cubie::EDGE_COUNT][3] = {};
    Positions()
    {
        static const int kNormal[cubie::kFaceCount][3] = {{0, 1, 0},  {0, 0, 1},  {1, 0, 0},
                                                          {-1, 0, 0}, {0, 0, -1}, {0, -1, 0}};
        for (int i = 0; i < cubie::CORNER_COUNT; ++i)
            for (int f : cubie::kCornerFaces[i])
                for (int k = 0; k < 3; ++k)
                    corner[i][k] += kNormal[f][k];
        for (int i = 0; i < cubie::EDGE_COUNT; ++i)
            for (int f : cubie::kEdgeFaces[i])
                for (int k = 0; k < 3; ++k)
                    edge[i][k] += kNormal[f][k];
    }
};

// The half turns as cubie cubes: every piece moved to the position its
// place turns to, its orientation kept (reference facelets go to reference facelets).
struct HalfTurns {
    cubie::CubieCube turn[kSymCount];
    HalfTurns()
    {
        static const Positions pos;
        // Axes kept by each symmetry: identity, T/D (y), R/L (x), F/B (z).
        static const int kSign[kSymCount][3] = {{1, 1, 1}, {-1, 1, -1}, {1, -1, -1}, {-1, -1, 1}};
        for (int s = 0; s < kSymCount; ++s) {
            for (int i = 0; i < cubie::CORNER_COUNT; ++i)
                for (int j = 0; j < cubie::CORNER_COUNT; ++j)
                    if (pos.corner[j][0] == kSign[s][0] * pos.corner[i][0] &&
                        pos.corner[j][1] == kSign[s][1] * pos.corner[i][1] &&
                        pos.corner[j][2] == kSign[s][2] * pos.corner[i][2])
                        turn[s].cp[i] = static_cast<std::int8_t>(j);
            for (int i = 0; i < cubie::EDGE_COUNT; ++i)
                for (int j = 0; j < cubie::EDGE_COUNT; ++j)
                    if (pos.edge[j][0] == kSign[s][0] * pos.edge[i][0] &&
                        pos.edge[j][1] == kSign[s][1] * pos.edge[i][1] &&
                        pos.edge[j][2] == kSign[s][2] * pos.edge[i][2])
                        turn[s].ep[i] = static_cast<std::int8_t>(j);
        }
    }
};

template <class Set, class Get>
void ConjugateTable(std::vector<std::uint16_t>& table, int nCount, Set set, Get get)
{
    table.assign(static_cast<size_t>(nCount) * kSymCount, 0);
    cubie::CubieCube c;
    for (int v = 0; v < nCount; ++v) {
        set(c, v);
        for (int s = 0; s < kSymCount; ++s)
            table[static_cast<size_t>(v) * kSymCount + s] = static_cast<std::uint16_t>(get(Conjugate(c, s)));
    }
}

void Classes(const std::vector<std::uint16_t>& conj, int nCount, std::vector<std::uint16_t>& cls,
             std::vector<std::uint16_t>& rep, std::vector<std::uint8_t>& stabiliser)
{
    cls.assign(static_cast<size_t>(nCount), 0);
    rep.clear();
    stabiliser.clear();
    std::vector<int> classOfRep(static_cast<size_t>(nCount), -1);
    for (int v = 0; v < nCount; ++v) {
        int nBest = v, nSym = 0;
        for (int s = 1; s < kSymCount; ++s)
            if (conj[static_cast<size_t>(v) * kSymCount + s] < nBest) {
                nBest = conj[static_cast<size_t>(v) * kSymCount + s];
                nSym = s;
            }
        if (nBest == v) {
            classOfRep[v] = static_cast<int>(rep.size());
            rep.push_back(static_cast<std::uint16_t>(v));
            std::uint8_t bits = 0;
            for (int s = 0; s < kSymCount; ++s)
                if (conj[static_cast<size_t>(v) * kSymCount + s] == v)
                    bits = static_cast<std::uint8_t>(bits | (1 << s));
            stabiliser.push_back(bits);
        }
        // Representatives come first in increasing order, so nBest is known.
        cls[v] = static_cast<std::uint16_t>(classOfRep[nBest] * kSymCount + nSym);
    }
}

} // namespace

cubie::CubieCube Conjugate(const cubie::CubieCube& cube, int nSym)
{
    static const HalfTurns turns;
    const cubie::CubieCube& r = turns.turn[nSym];
    return r * cube * r;
}

void SymmetryTables::Build()
{
    ConjugateTable(twistConj, coord::kTwistCount, coord::SetTwist, coord::Twist);
    ConjugateTable(flipConj, coord::kFlipCount, coord::SetFlip, coord::Flip);
    ConjugateTable(sliceConj, coord::kSliceCount,
                   [](cubie::CubieCube& c, int v) { coord::SetSliceSorted(c, v * 24); },
                   [](const cubie::CubieCube& c) { return coord::SliceSorted(c) / 24; });
    Classes(twistConj, coord::kTwistCount, twistClass, twistRep, twistStabiliser);
    Classes(flipConj, coord::kFlipCount, flipClass, flipRep, flipStabiliser);
}

size_t SymmetryTables::Bytes() const
{
    return (twistClass.size() + flipClass.size() + twistRep.size() + flipRep.size() +
            twistConj.size() + flipConj.size() + sliceConj.size()) *
               sizeof(std::uint16_t) +
           twistStabiliser.size() + flipStabiliser.size();
}

} // namespace shortsolver
