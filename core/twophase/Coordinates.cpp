#include "Coordinates.h"

namespace coord {

using cubie::CubieCube;

namespace {

// Middle-layer pieces in the order their slice permutation counts them.
constexpr int kSlicePieces[4] = {cubie::FR, cubie::FL, cubie::BL, cubie::BR};
// The eight other edges, likewise (also the positions they occupy inside H).
constexpr int kOtherEdges[8] = {cubie::TF, cubie::TB, cubie::TR, cubie::TL,
                                cubie::DF, cubie::DR, cubie::DB, cubie::DL};

// Index of an edge among kSlicePieces (0..3) or kOtherEdges (4 + 0..7).
struct EdgeIndex {
    int of[cubie::EDGE_COUNT] = {};
    EdgeIndex()
    {
        for (int i = 0; i < 4; ++i)
            of[kSlicePieces[i]] = i;
        for (int i = 0; i < 8; ++i)
            of[kOtherEdges[i]] = 4 + i;
    }
};
const EdgeIndex kEdgeIndex;

// Rank among 12-bit masks of four bits, in increasing mask order, and back.
struct Combinations {
    std::int16_t rank[4096];
    std::uint16_t mask[kSliceCount];
    Combinations()
    {
        int n = 0;
        for (int m = 0; m < 4096; ++m) {
            rank[m] = -1;
            int nBits = 0;
            for (int b = 0; b < 12; ++b)
                nBits += (m >> b) & 1;
            if (nBits == 4) {
                rank[m] = static_cast<std::int16_t>(n);
                mask[n++] = static_cast<std::uint16_t>(m);
            }
        }
    }
};
const Combinations kComb;

constexpr int kFactorial[9] = {1, 1, 2, 6, 24, 120, 720, 5040, 40320};

// Lehmer rank of a permutation of 0..n-1.
int PermRank(const int* p, int n)
{
    int r = 0;
    for (int i = 0; i < n; ++i) {
        int nSmaller = 0;
        for (int j = i + 1; j < n; ++j)
            nSmaller += p[j] < p[i];
        r += nSmaller * kFactorial[n - 1 - i];
    }
    return r;
}

void PermUnrank(int r, int* p, int n)
{
    bool used[8] = {};
    for (int i = 0; i < n; ++i) {
        int k = r / kFactorial[n - 1 - i];
        r %= kFactorial[n - 1 - i];
        for (int v = 0; v < n; ++v)
            if (!used[v] && k-- == 0) {
                p[i] = v;
                used[v] = true;
                break;
            }
    }
}

} // namespace

int SolvedSlice()
{
    return kComb.rank[(1 << cubie::FR) | (1 << cubie::FL) | (1 << cubie::BL) | (1 << cubie::BR)];
}

int Twist(const CubieCube& c)
{
    int n = 0;
    for (int i = 0; i < 7; ++i)
        n = n * 3 + c.co[i];
    return n;
}

void SetTwist(CubieCube& c, int n)
{
    int nSum = 0;
    for (int i = 6; i >= 0; --i) {
        c.co[i] = static_cast<std::int8_t>(n % 3);
        nSum += n % 3;
        n /= 3;
    }
    c.co[7] = static_cast<std::int8_t>((3 - nSum % 3) % 3);
}

int Flip(const CubieCube& c)
{
    int n = 0;
    for (int i = 0; i < 11; ++i)
        n = n * 2 + c.eo[i];
    return n;
}

void SetFlip(CubieCube& c, int n)
{
    int nSum = 0;
    for (int i = 10; i >= 0; --i) {
        c.eo[i] = static_cast<std::int8_t>(n & 1);
        nSum += n & 1;
        n >>= 1;
    }
    c.eo[11] = static_cast<std::int8_t>(nSum & 1);
}

int SliceSorted(const CubieCube& c)
{
    int nMask = 0, order[4], k = 0;
    for (int i = 0; i < cubie::EDGE_COUNT; ++i) {
        const int e = kEdgeIndex.of[c.ep[i]];
        if (e < 4) {
            nMask |= 1 << i;
            order[k++] = e;
        }
    }
    return kComb.rank[nMask] * 24 + PermRank(order, 4);
}

void SetSliceSorted(CubieCube& c, int n)
{
    const int nMask = kComb.mask[n / 24];
    int order[4];
    PermUnrank(n % 24, order, 4);
    int s = 0, o = 0;
    for (int i = 0; i < cubie::EDGE_COUNT; ++i)
        c.ep[i] = static_cast<std::int8_t>((nMask >> i) & 1 ? kSlicePieces[order[s++]]
                                                             : kOtherEdges[o++]);
}

int CornerPerm(const CubieCube& c)
{
    int p[8];
    for (int i = 0; i < 8; ++i)
        p[i] = c.cp[i];
    return PermRank(p, 8);
}

void SetCornerPerm(CubieCube& c, int n)
{
    int p[8];
    PermUnrank(n, p, 8);
    for (int i = 0; i < 8; ++i)
        c.cp[i] = static_cast<std::int8_t>(p[i]);
}

int Edge8Perm(const CubieCube& c)
{
    int p[8];
    for (int i = 0; i < 8; ++i)
        p[i] = kEdgeIndex.of[c.ep[kOtherEdges[i]]] - 4;
    return PermRank(p, 8);
}

void SetEdge8Perm(CubieCube& c, int n)
{
    int p[8];
    PermUnrank(n, p, 8);
    for (int i = 0; i < 8; ++i)
        c.ep[kOtherEdges[i]] = static_cast<std::int8_t>(kOtherEdges[p[i]]);
}

} // namespace coord
