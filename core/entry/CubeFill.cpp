// Filling the blank facelets that the painted ones determine.
//
// Each position keeps the set of (piece, orientation) it may still hold,
// first narrowed by its own painted stickers, then by rules that hold in every
// real cube: each piece once, the twists and the flips adding up to zero, and
// the corner and edge permutations of equal parity. A blank facelet is filled
// when every candidate left at its position gives it the same colour.

#include "CubeDiagnosis.h"

#include "CubieCube.h"

#include <cstdint>
#include <cstring>

using namespace cubie;

namespace {

// Candidates of one kind of piece: mask[i] has bit piece*nOrients + orientation.
struct Candidates {
    int nPositions;
    int nOrients;
    std::uint32_t mask[EDGE_COUNT] = {};

    bool Has(int i, int p, int o) const { return (mask[i] >> (p * nOrients + o)) & 1u; }
    void Remove(int i, int p, int o) { mask[i] &= ~(1u << (p * nOrients + o)); }

    // The only piece (or orientation) left at position i, or -1.
    int OnlyPiece(int i) const
    {
        int nFound = -1;
        for (int p = 0; p < nPositions; ++p)
            for (int o = 0; o < nOrients; ++o)
                if (Has(i, p, o)) {
                    if (nFound >= 0 && nFound != p)
                        return -1;
                    nFound = p;
                }
        return nFound;
    }
    int OnlyOrientation(int i) const
    {
        int nFound = -1;
        for (int p = 0; p < nPositions; ++p)
            for (int o = 0; o < nOrients; ++o)
                if (Has(i, p, o)) {
                    if (nFound >= 0 && nFound != o)
                        return -1;
                    nFound = o;
                }
        return nFound;
    }
};

int Parity(const int* perm, int n)
{
    int nParity = 0;
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            if (perm[i] > perm[j])
                nParity ^= 1;
    return nParity;
}

// One round of every rule on one kind of piece. Returns false on a
// contradiction; sets bChanged when a candidate was removed.
bool Narrow(Candidates& c, int nOtherParity, bool& bChanged)
{
    const int n = c.nPositions;
    for (int i = 0; i < n; ++i)
        if (c.mask[i] == 0)
            return false;

    // Each piece once: a piece fixed at one position leaves the others; a
    // piece possible at one position only takes it.
    for (int i = 0; i < n; ++i) {
        const int p = c.OnlyPiece(i);
        if (p < 0)
            continue;
        for (int j = 0; j < n; ++j)
            if (j != i)
                for (int o = 0; o < c.nOrients; ++o)
                    if (c.Has(j, p, o)) {
                        c.Remove(j, p, o);
                        bChanged = true;
                    }
    }
    for (int p = 0; p < n; ++p) {
        int nAt = -1, nPlaces = 0;
        for (int i = 0; i < n; ++i)
            for (int o = 0; o < c.nOrients; ++o)
                if (c.Has(i, p, o)) {
                    if (nAt != i)
                        ++nPlaces;
                    nAt = i;
                    break;
                }
        if (nPlaces == 0)
            return false;
        if (nPlaces == 1)
            for (int q = 0; q < n; ++q)
                if (q != p)
                    for (int o = 0; o < c.nOrients; ++o)
                        if (c.Has(nAt, q, o)) {
                            c.Remove(nAt, q, o);
                            bChanged = true;
                        }
    }
    for (int i = 0; i < n; ++i)
        if (c.mask[i] == 0)
            return false;

    // Orientations add up to zero: the last one unknown follows from the rest.
    int nUnknown = -1, nSum = 0, nUnknownCount = 0;
    for (int i = 0; i < n; ++i) {
        const int o = c.OnlyOrientation(i);
        if (o < 0) {
            nUnknown = i;
            ++nUnknownCount;
        } else {
            nSum += o;
        }
    }
    if (nUnknownCount == 0 && nSum % c.nOrients != 0)
        return false;
    if (nUnknownCount == 1) {
        const int nNeeded = (c.nOrients - nSum % c.nOrients) % c.nOrients;
        for (int p = 0; p < n; ++p)
            for (int o = 0; o < c.nOrients; ++o)
                if (o != nNeeded && c.Has(nUnknown, p, o)) {
                    c.Remove(nUnknown, p, o);
                    bChanged = true;
                }
    }

    // Equal parities: with the other kind's permutation known, the last two
    // open positions of this kind take their two pieces one way only.
    if (nOtherParity >= 0) {
        int perm[EDGE_COUNT];
        int open[2] = {-1, -1}, nOpen = 0;
        for (int i = 0; i < n; ++i) {
            perm[i] = c.OnlyPiece(i);
            if (perm[i] < 0) {
                if (nOpen < 2)
                    open[nOpen] = i;
                ++nOpen;
            }
        }
        if (nOpen == 0 && Parity(perm, n) != nOtherParity)
            return false;
        if (nOpen == 2) {
            bool bUsed[EDGE_COUNT] = {};
            for (int i = 0; i < n; ++i)
                if (perm[i] >= 0)
                    bUsed[perm[i]] = true;
            int left[2], nLeft = 0;
            for (int p = 0; p < n && nLeft < 2; ++p)
                if (!bUsed[p])
                    left[nLeft++] = p;
            perm[open[0]] = left[0];
            perm[open[1]] = left[1];
            if (Parity(perm, n) != nOtherParity)
                std::swap(left[0], left[1]);
            // open[0] takes left[0], open[1] left[1].
            for (int k = 0; k < 2; ++k)
                for (int o = 0; o < c.nOrients; ++o)
                    if (c.Has(open[k], left[1 - k], o)) {
                        c.Remove(open[k], left[1 - k], o);
                        bChanged = true;
                    }
        }
    }
    return true;
}

// Parity of the permutation when every position's piece is known, else -1.
int KnownParity(const Candidates& c)
{
    int perm[EDGE_COUNT];
    for (int i = 0; i < c.nPositions; ++i)
        if ((perm[i] = c.OnlyPiece(i)) < 0)
            return -1;
    return Parity(perm, c.nPositions);
}

} // namespace

FillResult FillDetermined(const BYTE colors[54])
{
    FillResult result;
    std::memcpy(result.colors, colors, kFaceletCount);
    BYTE c[kFaceletCount];
    std::memcpy(c, colors, kFaceletCount);

    // A last blank centre takes the one colour no other centre shows.
    int centreCount[8] = {};
    int nBlankCentre = -1;
    for (int s = 0; s < kFaceCount; ++s) {
        const BYTE k = c[s * 9 + 4];
        ++centreCount[k <= 6 ? k : 7];
        if (k == 0)
            nBlankCentre = s;
    }
    if (centreCount[0] == 1 && centreCount[7] == 0) {
        bool bDistinct = true;
        int nMissing = 0;
        for (int k = 1; k <= 6; ++k) {
            bDistinct = bDistinct && centreCount[k] <= 1;
            if (centreCount[k] == 0)
                nMissing = k;
        }
        if (bDistinct)
            c[nBlankCentre * 9 + 4] = static_cast<BYTE>(nMissing);
    }
    BYTE centre[kFaceCount];
    int slotOfColour[7] = {-1, -1, -1, -1, -1, -1, -1};
    for (int s = 0; s < kFaceCount; ++s) {
        centre[s] = c[s * 9 + 4];
        if (centre[s] < 1 || centre[s] > 6 || slotOfColour[centre[s]] >= 0)
            return result; // the centres name no faces: nothing is determined
        slotOfColour[centre[s]] = s;
    }

    // Candidates from each position's own stickers. A facelet shows piece face
    // (k - o) mod 3 of a corner, (k + o) mod 2 of an edge (see WriteFacelets).
    Candidates corners{CORNER_COUNT, 3};
    Candidates edges{EDGE_COUNT, 2};
    for (int i = 0; i < CORNER_COUNT; ++i)
        for (int p = 0; p < CORNER_COUNT; ++p)
            for (int o = 0; o < 3; ++o) {
                bool bFits = true;
                for (int k = 0; k < 3; ++k) {
                    const BYTE col = c[kCornerFacelets[i][k]];
                    bFits = bFits && (col == 0 || col == centre[kCornerFaces[p][(k - o + 3) % 3]]);
                }
                if (bFits)
                    corners.mask[i] |= 1u << (p * 3 + o);
            }
    for (int i = 0; i < EDGE_COUNT; ++i)
        for (int p = 0; p < EDGE_COUNT; ++p)
            for (int o = 0; o < 2; ++o) {
                bool bFits = true;
                for (int k = 0; k < 2; ++k) {
                    const BYTE col = c[kEdgeFacelets[i][k]];
                    bFits = bFits && (col == 0 || col == centre[kEdgeFaces[p][(k + o) % 2]]);
                }
                if (bFits)
                    edges.mask[i] |= 1u << (p * 2 + o);
            }

    for (bool bChanged = true; bChanged;) {
        bChanged = false;
        if (!Narrow(corners, KnownParity(edges), bChanged) ||
            !Narrow(edges, KnownParity(corners), bChanged)) {
            result.bContradiction = true;
            return result;
        }
    }

    // Fill each blank facelet on which every candidate agrees.
    for (int i = 0; i < CORNER_COUNT; ++i)
        for (int k = 0; k < 3; ++k) {
            BYTE& col = c[kCornerFacelets[i][k]];
            if (col != 0)
                continue;
            int nColour = -1;
            for (int p = 0; p < CORNER_COUNT && nColour != -2; ++p)
                for (int o = 0; o < 3; ++o)
                    if (corners.Has(i, p, o)) {
                        const int x = centre[kCornerFaces[p][(k - o + 3) % 3]];
                        nColour = nColour == -1 || nColour == x ? x : -2;
                    }
            if (nColour > 0)
                col = static_cast<BYTE>(nColour);
        }
    for (int i = 0; i < EDGE_COUNT; ++i)
        for (int k = 0; k < 2; ++k) {
            BYTE& col = c[kEdgeFacelets[i][k]];
            if (col != 0)
                continue;
            int nColour = -1;
            for (int p = 0; p < EDGE_COUNT && nColour != -2; ++p)
                for (int o = 0; o < 2; ++o)
                    if (edges.Has(i, p, o)) {
                        const int x = centre[kEdgeFaces[p][(k + o) % 2]];
                        nColour = nColour == -1 || nColour == x ? x : -2;
                    }
            if (nColour > 0)
                col = static_cast<BYTE>(nColour);
        }

    // A cube completed by the fill that is still no real cube means the
    // painted facelets contradict each other in a way the rules above missed.
    bool bComplete = true;
    for (BYTE col : c)
        bComplete = bComplete && col != 0;
    if (bComplete && ReadVerdict(c) != 0) {
        result.bContradiction = true;
        return result;
    }
    for (int f = 0; f < kFaceletCount; ++f)
        if (c[f] != colors[f]) {
            result.colors[f] = c[f];
            ++result.nFilled;
        }
    return result;
}
