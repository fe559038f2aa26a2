#include "CubieCube.h"

#include "CubeSolver.h"
#include "CubeText.h"

#include <cstring>
#include <utility>

namespace cubie {

namespace {

constexpr int T = 0, F = 1, R = 2, L = 3, B = 4, D = 5;

// Opposite slot of each slot.
constexpr int kOpposite[kFaceCount] = {D, B, L, R, F, T};
// Outward normal of each slot (x to R, y to T, z to F).
constexpr int kNormal[kFaceCount][3] = {{0, 1, 0}, {0, 0, 1}, {1, 0, 0},
                                        {-1, 0, 0}, {0, 0, -1}, {0, -1, 0}};

int Det(int a, int b, int c)
{
    const int* x = kNormal[a];
    const int* y = kNormal[b];
    const int* z = kNormal[c];
    return x[0] * (y[1] * z[2] - y[2] * z[1]) - x[1] * (y[0] * z[2] - y[2] * z[0]) +
           x[2] * (y[0] * z[1] - y[1] * z[0]);
}

// Piece and orientation for every ordered set of faces met at a position,
// read in the position's facelet order.
struct PieceLookup {
    // corner[a][b][c]: piece*3 + orientation, or -1 no such piece, -2 mirrored
    int corner[kFaceCount][kFaceCount][kFaceCount];
    int edge[kFaceCount][kFaceCount]; // piece*2 + orientation, or -1

    PieceLookup()
    {
        std::memset(corner, -1, sizeof corner);
        std::memset(edge, -1, sizeof edge);
        for (int q = 0; q < CORNER_COUNT; ++q) {
            const int* h = kCornerFaces[q];
            for (int o = 0; o < 3; ++o) {
                // The piece's reference face on facelet o, the rest following clockwise.
                int f[3];
                for (int k = 0; k < 3; ++k)
                    f[(o + k) % 3] = h[k];
                corner[f[0]][f[1]][f[2]] = q * 3 + o;
                corner[f[0]][f[2]][f[1]] = -2;
            }
        }
        for (int q = 0; q < EDGE_COUNT; ++q) {
            const int* h = kEdgeFaces[q];
            edge[h[0]][h[1]] = q * 2;
            edge[h[1]][h[0]] = q * 2 + 1;
        }
    }
};

const PieceLookup& Lookup()
{
    static const PieceLookup lookup;
    return lookup;
}

} // namespace

CentreReading ReadCentres(const BYTE colors[kFaceletCount])
{
    CentreReading c;
    for (int s = 0; s < kFaceCount; ++s) {
        const BYTE col = colors[CentreIndex(s)];
        c.colour[s] = col;
        if (col <= 6) {
            if (c.slotOfColour[col] < 0)
                c.slotOfColour[col] = s;
            ++c.count[col];
        }
    }
    c.bDistinct = true;
    for (int col = 1; col <= 6; ++col)
        if (c.count[col] != 1)
            c.bDistinct = false;
    if (!c.bDistinct)
        return c;
    // Home slot of the colour on each slot; colour n + 1 is solved on slot n.
    int home[kFaceCount];
    for (int s = 0; s < kFaceCount; ++s)
        home[s] = c.colour[s] - 1;
    c.arrangement = CentreReading::ROTATION;
    for (int s = 0; s < kFaceCount; ++s)
        if (home[kOpposite[s]] != kOpposite[home[s]])
            c.arrangement = CentreReading::NO_CUBE;
    if (c.arrangement == CentreReading::ROTATION &&
        Det(home[T], home[F], home[R]) != Det(T, F, R))
        c.arrangement = CentreReading::MIRROR;
    return c;
}


const int kCornerFaces[CORNER_COUNT][3] = {
    {T, F, L}, {T, R, F}, {T, B, R}, {T, L, B}, {D, F, R}, {D, L, F}, {D, B, L}, {D, R, B},
};
const int kCornerFacelets[CORNER_COUNT][3] = {
    {6, 9, 29},  {8, 18, 11},  {2, 36, 20},  {0, 27, 38},
    {47, 17, 24}, {45, 35, 15}, {51, 44, 33}, {53, 26, 42},
};
const int kEdgeFaces[EDGE_COUNT][2] = {
    {T, F}, {T, B}, {T, R}, {T, L}, {F, R}, {D, F}, {F, L}, {D, R}, {D, B}, {D, L}, {B, L}, {B, R},
};
const int kEdgeFacelets[EDGE_COUNT][2] = {
    {7, 10},  {1, 37},  {5, 19},  {3, 28},  {14, 21}, {46, 16},
    {12, 32}, {50, 25}, {52, 43}, {48, 34}, {41, 30}, {39, 23},
};

CubieCube CubieCube::operator*(const CubieCube& b) const
{
    CubieCube r;
    for (int i = 0; i < CORNER_COUNT; ++i) {
        r.cp[i] = cp[b.cp[i]];
        r.co[i] = static_cast<std::int8_t>((co[b.cp[i]] + b.co[i]) % 3);
    }
    for (int i = 0; i < EDGE_COUNT; ++i) {
        r.ep[i] = ep[b.ep[i]];
        r.eo[i] = static_cast<std::int8_t>(eo[b.ep[i]] ^ b.eo[i]);
    }
    return r;
}

CubieCube CubieCube::Inverse() const
{
    CubieCube r;
    for (int i = 0; i < CORNER_COUNT; ++i) {
        r.cp[cp[i]] = static_cast<std::int8_t>(i);
        r.co[cp[i]] = static_cast<std::int8_t>((3 - co[i]) % 3);
    }
    for (int i = 0; i < EDGE_COUNT; ++i) {
        r.ep[ep[i]] = static_cast<std::int8_t>(i);
        r.eo[ep[i]] = eo[i];
    }
    return r;
}

bool CubieCube::operator==(const CubieCube& b) const
{
    return std::memcmp(cp, b.cp, sizeof cp) == 0 && std::memcmp(co, b.co, sizeof co) == 0 &&
           std::memcmp(ep, b.ep, sizeof ep) == 0 && std::memcmp(eo, b.eo, sizeof eo) == 0;
}

int CubieCube::CornerParity() const { return PermutationParity(cp, CORNER_COUNT); }
int CubieCube::EdgeParity() const { return PermutationParity(ep, EDGE_COUNT); }

int CubieCube::TwistSum() const
{
    int s = 0;
    for (std::int8_t o : co)
        s += o;
    return s % 3;
}

int CubieCube::FlipSum() const
{
    int s = 0;
    for (std::int8_t o : eo)
        s += o;
    return s % 2;
}

bool CubieCube::IsWellFormed() const
{
    int seenC = 0, seenE = 0;
    for (int i = 0; i < CORNER_COUNT; ++i) {
        if (cp[i] < 0 || cp[i] >= CORNER_COUNT || co[i] < 0 || co[i] > 2)
            return false;
        seenC |= 1 << cp[i];
    }
    for (int i = 0; i < EDGE_COUNT; ++i) {
        if (ep[i] < 0 || ep[i] >= EDGE_COUNT || eo[i] < 0 || eo[i] > 1)
            return false;
        seenE |= 1 << ep[i];
    }
    return seenC == (1 << CORNER_COUNT) - 1 && seenE == (1 << EDGE_COUNT) - 1;
}

bool CubieCube::IsSolvable() const
{
    return IsWellFormed() && TwistSum() == 0 && FlipSum() == 0 && CornerParity() == EdgeParity();
}

CubieCube RandomCubieCube(std::mt19937& rng)
{
    CubieCube c;
    // Fisher-Yates on the engine's own numbers (std::shuffle and the
    // distributions differ between libraries).
    auto shuffle = [&rng](std::int8_t* p, int n) {
        for (int i = n - 1; i > 0; --i)
            std::swap(p[i], p[rng() % static_cast<unsigned>(i + 1)]);
    };
    shuffle(c.cp, CORNER_COUNT);
    shuffle(c.ep, EDGE_COUNT);
    if (c.CornerParity() != c.EdgeParity())
        std::swap(c.ep[0], c.ep[1]);
    int nTwist = 0, nFlip = 0;
    for (int i = 0; i + 1 < CORNER_COUNT; ++i)
        nTwist += c.co[i] = static_cast<std::int8_t>(rng() % 3);
    for (int i = 0; i + 1 < EDGE_COUNT; ++i)
        nFlip += c.eo[i] = static_cast<std::int8_t>(rng() % 2);
    c.co[CORNER_COUNT - 1] = static_cast<std::int8_t>((3 - nTwist % 3) % 3);
    c.eo[EDGE_COUNT - 1] = static_cast<std::int8_t>(nFlip % 2);
    return c;
}

const CubieCube& FaceTurn(int nFace)
{
    // Read from the model itself, so that the cubie turns are the model's turns.
    struct Turns {
        CubieCube turn[kFaceCount];
        Turns()
        {
            static const char kLetters[] = "TFRLBD";
            for (int f = 0; f < kFaceCount; ++f) {
                CCubeSolver model;
                model.RotateFaceCW(model.GetFace(kLetters[f]));
                BYTE colors[kFaceletCount];
                ReadCube(model, colors);
                turn[f] = ReadFacelets(colors).cube;
            }
        }
    };
    static const Turns turns;
    return turns.turn[nFace];
}

FaceletReading ReadFacelets(const BYTE colors[kFaceletCount])
{
    FaceletReading r;
    r.centres = ReadCentres(colors);
    const PieceLookup& lookup = Lookup();
    // Face named by a facelet colour: -1 blank, -2 no centre shows it.
    auto faceOf = [&r](BYTE col) {
        if (col == 0)
            return -1;
        if (col > 6 || r.centres.slotOfColour[col] < 0)
            return -2;
        return r.centres.slotOfColour[col];
    };
    auto status = [](int f) { return f == -1 ? PieceStatus::BLANK : PieceStatus::UNKNOWN_COLOUR; };

    bool bAll = true;
    for (int i = 0; i < CORNER_COUNT; ++i) {
        PieceReading& p = r.corners[i];
        int f[3];
        for (int k = 0; k < 3; ++k)
            f[k] = faceOf(colors[kCornerFacelets[i][k]]);
        p.status = PieceStatus::OK;
        for (int k = 0; k < 3 && p.status == PieceStatus::OK; ++k)
            if (f[k] < 0)
                p.status = status(f[k]);
        if (p.status == PieceStatus::OK && !r.centres.bDistinct)
            p.status = PieceStatus::UNREADABLE;
        if (p.status == PieceStatus::OK) {
            const int v = lookup.corner[f[0]][f[1]][f[2]];
            if (v >= 0) {
                p.piece = v / 3;
                p.orientation = v % 3;
                ++r.cornerCount[p.piece];
            } else {
                p.status = v == -2 ? PieceStatus::MIRRORED : PieceStatus::NO_SUCH_PIECE;
            }
        }
        bAll = bAll && p.status == PieceStatus::OK;
    }
    for (int i = 0; i < EDGE_COUNT; ++i) {
        PieceReading& p = r.edges[i];
        const int a = faceOf(colors[kEdgeFacelets[i][0]]);
        const int b = faceOf(colors[kEdgeFacelets[i][1]]);
        p.status = PieceStatus::OK;
        if (a < 0)
            p.status = status(a);
        else if (b < 0)
            p.status = status(b);
        else if (!r.centres.bDistinct)
            p.status = PieceStatus::UNREADABLE;
        if (p.status == PieceStatus::OK) {
            const int v = lookup.edge[a][b];
            if (v >= 0) {
                p.piece = v / 2;
                p.orientation = v % 2;
                ++r.edgeCount[p.piece];
            } else {
                p.status = PieceStatus::NO_SUCH_PIECE;
            }
        }
        bAll = bAll && p.status == PieceStatus::OK;
    }
    for (int n : r.cornerCount)
        bAll = bAll && n == 1;
    for (int n : r.edgeCount)
        bAll = bAll && n == 1;
    r.bComplete = bAll;
    if (bAll) {
        for (int i = 0; i < CORNER_COUNT; ++i) {
            r.cube.cp[i] = static_cast<std::int8_t>(r.corners[i].piece);
            r.cube.co[i] = static_cast<std::int8_t>(r.corners[i].orientation);
        }
        for (int i = 0; i < EDGE_COUNT; ++i) {
            r.cube.ep[i] = static_cast<std::int8_t>(r.edges[i].piece);
            r.cube.eo[i] = static_cast<std::int8_t>(r.edges[i].orientation);
        }
        r.cornerParity = r.cube.CornerParity();
        r.edgeParity = r.cube.EdgeParity();
        r.twistSum = r.cube.TwistSum();
        r.flipSum = r.cube.FlipSum();
    }
    return r;
}

bool PassesCubeletCheck(const BYTE colors[kFaceletCount])
{
    auto centre = [colors](int s) { return colors[CentreIndex(s)]; };
    for (BYTE c = 1; c <= 6; ++c) {
        bool bFound = false;
        for (int s = 0; s < kFaceCount; ++s)
            bFound = bFound || centre(s) == c;
        if (!bFound)
            return false;
    }
    // The model's edge and corner tables, facelets in its own listing order.
    for (const auto& edge : g_edgeTable) {
        const BYTE c1 = centre(CCubeSolver::SlotOf(edge[0].letter));
        const BYTE c2 = centre(CCubeSolver::SlotOf(edge[1].letter));
        bool bFound = false;
        for (const auto& e : kEdgeFacelets) {
            const BYTE a = colors[e[0]], b = colors[e[1]];
            if ((a == c1 && b == c2) || (a == c2 && b == c1)) {
                bFound = true;
                break;
            }
        }
        if (!bFound)
            return false;
    }
    for (const auto& corner : g_cornerTable) {
        const BYTE c1 = centre(CCubeSolver::SlotOf(corner[0].letter));
        const BYTE c2 = centre(CCubeSolver::SlotOf(corner[1].letter));
        const BYTE c3 = centre(CCubeSolver::SlotOf(corner[2].letter));
        // One facelet shows c1; the other two are tested for membership only.
        auto other = [c2, c3](BYTE x) { return x == c2 || x == c3; };
        bool bFound = false;
        for (const auto& k : kCornerFacelets) {
            const BYTE a = colors[k[0]], b = colors[k[1]], e = colors[k[2]];
            if ((a == c1 && other(b) && other(e)) || (b == c1 && other(a) && other(e)) ||
                (e == c1 && other(a) && other(b))) {
                bFound = true;
                break;
            }
        }
        if (!bFound)
            return false;
    }
    return true;
}

int ReadVerdict(const BYTE colors[kFaceletCount], CubieCube* pCube)
{
    if (!PassesCubeletCheck(colors))
        return 1;
    const FaceletReading r = ReadFacelets(colors);
    if (!r.IsRealCube())
        return 2;
    if (pCube)
        *pCube = r.cube;
    return 0;
}

void WriteFacelets(const CubieCube& cube, const BYTE centreColour[kFaceCount],
                   BYTE colors[kFaceletCount])
{
    for (int s = 0; s < kFaceCount; ++s)
        colors[CentreIndex(s)] = centreColour[s];
    for (int i = 0; i < CORNER_COUNT; ++i) {
        const int* h = kCornerFaces[cube.cp[i]];
        for (int k = 0; k < 3; ++k)
            colors[kCornerFacelets[i][(cube.co[i] + k) % 3]] = centreColour[h[k]];
    }
    for (int i = 0; i < EDGE_COUNT; ++i) {
        const int* h = kEdgeFaces[cube.ep[i]];
        for (int k = 0; k < 2; ++k)
            colors[kEdgeFacelets[i][(cube.eo[i] + k) % 2]] = centreColour[h[k]];
    }
}

} // namespace cubie
