#include "Symmetries.h"

#include "CubeSolver.h"
#include "CubeText.h"

#include <algorithm>

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
    if (nAxis == 2)
        model.TurnCubeLeft(); // R to the front
    if (nAxis == 1 || nAxis == 2)
        model.TiltCubeUp(); // front to the top
    ReadCube(model, colors);
    for (int s = 0; s < cubie::kFaceCount; ++s)
        faceOf[s] = colors[CentreIndex(s)] - 1;
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

using Matrix = int[3][3];

void Apply(const Matrix& m, const int v[3], int out[3])
{
    for (int r = 0; r < 3; ++r)
        out[r] = m[r][0] * v[0] + m[r][1] * v[1] + m[r][2] * v[2];
}

bool Same(const int a[3], const int b[3])
{
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}

struct AxisSymmetries {
    AxisSymmetry sym[kAxisSymCount] = {};
    AxisSymmetries()
    {
        static const Positions pos;
        static const int kNormal[cubie::kFaceCount][3] = {{0, 1, 0},  {0, 0, 1},  {1, 0, 0},
                                                          {-1, 0, 0}, {0, 0, -1}, {0, -1, 0}};
        // Symmetry mirror * 8 + half * 4 + quarter: `quarter` quarter turns about
        // T/D, then a half turn about F/B when `half`, then the mirror image
        // x -> -x when `mirror` (x to R, y to T, z to F).
        int matrix[kAxisSymCount][3][3] = {};
        for (int s = 0; s < kAxisSymCount; ++s) {
            int m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
            auto then = [&m](const Matrix& t) {
                int r[3][3] = {};
                for (int i = 0; i < 3; ++i)
                    for (int j = 0; j < 3; ++j)
                        for (int k = 0; k < 3; ++k)
                            r[i][j] += t[i][k] * m[k][j];
                std::copy(&r[0][0], &r[0][0] + 9, &m[0][0]);
            };
            static const Matrix kQuarter = {{0, 0, 1}, {0, 1, 0}, {-1, 0, 0}};
            static const Matrix kHalf = {{-1, 0, 0}, {0, -1, 0}, {0, 0, 1}};
            static const Matrix kMirror = {{-1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
            for (int q = 0; q < (s & 3); ++q)
                then(kQuarter);
            if (s & 4)
                then(kHalf);
            if (s & 8)
                then(kMirror);
            std::copy(&m[0][0], &m[0][0] + 9, &matrix[s][0][0]);

            AxisSymmetry& a = sym[s];
            a.bMirror = (s & 8) != 0;
            int v[3];
            for (int i = 0; i < cubie::CORNER_COUNT; ++i) {
                Apply(m, pos.corner[i], v);
                for (int j = 0; j < cubie::CORNER_COUNT; ++j)
                    if (Same(v, pos.corner[j]))
                        a.cornerTo[i] = static_cast<std::int8_t>(j);
            }
            for (int i = 0; i < cubie::EDGE_COUNT; ++i) {
                Apply(m, pos.edge[i], v);
                for (int j = 0; j < cubie::EDGE_COUNT; ++j)
                    if (Same(v, pos.edge[j]))
                        a.edgeTo[i] = static_cast<std::int8_t>(j);
                Apply(m, kNormal[cubie::kEdgeFaces[i][0]], v);
                a.edgeFlip[i] = !Same(v, kNormal[cubie::kEdgeFaces[a.edgeTo[i]][0]]);
            }
            for (int f = 0; f < cubie::kFaceCount; ++f) {
                Apply(m, kNormal[f], v);
                for (int g = 0; g < cubie::kFaceCount; ++g)
                    if (Same(v, kNormal[g]))
                        for (int t = 0; t < 3; ++t)
                            a.moveTo[f * 3 + t] = static_cast<std::int8_t>(g * 3 + (a.bMirror ? 2 - t : t));
            }
        }
        for (int t = 0; t < kAxisSymCount; ++t)
            for (int s = 0; s < kAxisSymCount; ++s) {
                int product[3][3] = {};
                for (int i = 0; i < 3; ++i)
                    for (int j = 0; j < 3; ++j)
                        for (int k = 0; k < 3; ++k)
                            product[i][j] += matrix[t][i][k] * matrix[s][k][j];
                for (int u = 0; u < kAxisSymCount; ++u)
                    if (std::equal(&product[0][0], &product[0][0] + 9, &matrix[u][0][0]))
                        sym[t].after[s] = static_cast<std::int8_t>(u);
            }
        // The inverse of an orthogonal matrix is its transpose.
        for (int s = 0; s < kAxisSymCount; ++s)
            for (int t = 0; t < kAxisSymCount; ++t) {
                bool bTransposed = true;
                for (int i = 0; i < 3; ++i)
                    for (int j = 0; j < 3; ++j)
                        bTransposed = bTransposed && matrix[t][i][j] == matrix[s][j][i];
                if (bTransposed)
                    sym[s].inverse = static_cast<std::int8_t>(t);
            }
    }
};

} // namespace

const AxisSymmetry& GetAxisSymmetry(int nSym)
{
    static const AxisSymmetries symmetries;
    return symmetries.sym[nSym];
}

cubie::CubieCube ConjugateAxis(const cubie::CubieCube& cube, int nSym)
{
    const AxisSymmetry& s = GetAxisSymmetry(nSym);
    cubie::CubieCube out;
    for (int i = 0; i < cubie::CORNER_COUNT; ++i) {
        const int to = s.cornerTo[i];
        out.cp[to] = s.cornerTo[cube.cp[i]];
        // Reference facelets (on T or D) go to reference facelets; a mirror
        // image counts the steps from there the other way round.
        out.co[to] = static_cast<std::int8_t>(s.bMirror ? (3 - cube.co[i]) % 3 : cube.co[i]);
    }
    for (int i = 0; i < cubie::EDGE_COUNT; ++i) {
        const int to = s.edgeTo[i];
        out.ep[to] = s.edgeTo[cube.ep[i]];
        out.eo[to] = static_cast<std::int8_t>(cube.eo[i] ^ s.edgeFlip[i] ^ s.edgeFlip[cube.ep[i]]);
    }
    return out;
}

} // namespace shortsolver
