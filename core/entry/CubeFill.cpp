// Filling the blank facelets that the painted ones determine.
//
// Each position keeps the set of (piece, orientation) it may still hold,
// first narrowed by its own painted stickers, then by rules that hold in every
// real cube: each piece once, the twists and the flips adding up to zero, and
// the corner and edge permutations of equal parity. A blank facelet is filled
// when every candidate left at its position gives it the same colour.

#include "CubeDiagnosis.h"

#include "CubieCube.h"

#include <algorithm>
#include <cstdint>

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

// Each piece once: a piece fixed at one position leaves the others; a piece
// possible at one position only takes it. Returns false on a contradiction.
bool EachPieceOnce(Candidates& c, bool& bChanged)
{
    const int n = c.nPositions;
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
    return true;
}

// Orientations add up to zero: the last one unknown follows from the rest.
// Returns false on a contradiction.
bool OrientationsAddUp(Candidates& c, bool& bChanged)
{
    const int n = c.nPositions;
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
    return true;
}

// Equal parities: with the other kind's permutation parity known, the last two
// open positions of this kind take their two pieces one way only. Returns
// false on a contradiction.
bool ParitiesAgree(Candidates& c, int nOtherParity, bool& bChanged)
{
    const int n = c.nPositions;
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
    if (nOpen == 0 && PermutationParity(perm, n) != nOtherParity)
        return false;
    if (nOpen != 2)
        return true;
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
    if (PermutationParity(perm, n) != nOtherParity)
        std::swap(left[0], left[1]);
    // open[0] takes left[0], open[1] left[1].
    for (int k = 0; k < 2; ++k)
        for (int o = 0; o < c.nOrients; ++o)
            if (c.Has(open[k], left[1 - k], o)) {
                c.Remove(open[k], left[1 - k], o);
                bChanged = true;
            }
    return true;
}

bool NoPositionEmpty(const Candidates& c)
{
    for (int i = 0; i < c.nPositions; ++i)
        if (c.mask[i] == 0)
            return false;
    return true;
}

// One round of every rule on one kind of piece (nOtherParity -1 when the other
// kind's permutation is not known yet). Returns false on a contradiction; sets
// bChanged when a candidate was removed.
bool Narrow(Candidates& c, int nOtherParity, bool& bChanged)
{
    return NoPositionEmpty(c) && EachPieceOnce(c, bChanged) && NoPositionEmpty(c) &&
           OrientationsAddUp(c, bChanged) &&
           (nOtherParity < 0 || ParitiesAgree(c, nOtherParity, bChanged));
}

// Parity of the permutation when every position's piece is known, else -1.
int KnownParity(const Candidates& c)
{
    int perm[EDGE_COUNT];
    for (int i = 0; i < c.nPositions; ++i)
        if ((perm[i] = c.OnlyPiece(i)) < 0)
            return -1;
    return PermutationParity(perm, c.nPositions);
}

// The face of piece p seen on facelet k of a position holding it with
// orientation o: (k - o) mod 3 for a corner, (k + o) mod 2 for an edge (see
// WriteFacelets); N is 3 or 2.
template <int N>
int PieceFace(const int (&faces)[N], int k, int o)
{
    return faces[(k - o + N) % N];
}

// Candidates of a kind from each position's own stickers.
template <int N>
Candidates FromStickers(int nPositions, const int (*faces)[N], const int (*facelets)[N],
                        const Facelets& c, const BYTE* centre)
{
    Candidates cand{nPositions, N};
    for (int i = 0; i < nPositions; ++i)
        for (int p = 0; p < nPositions; ++p)
            for (int o = 0; o < N; ++o) {
                bool bFits = true;
                for (int k = 0; k < N; ++k) {
                    const BYTE col = c[facelets[i][k]];
                    bFits = bFits && (col == 0 || col == centre[PieceFace(faces[p], k, o)]);
                }
                if (bFits)
                    cand.mask[i] |= 1u << (p * N + o);
            }
    return cand;
}

// Fills each blank facelet of a kind on which every candidate left agrees.
template <int N>
void FillAgreed(const Candidates& cand, const int (*faces)[N], const int (*facelets)[N],
                const BYTE* centre, Facelets& c)
{
    for (int i = 0; i < cand.nPositions; ++i)
        for (int k = 0; k < N; ++k) {
            BYTE& col = c[facelets[i][k]];
            if (col != 0)
                continue;
            int nColour = -1;
            for (int p = 0; p < cand.nPositions && nColour != -2; ++p)
                for (int o = 0; o < N; ++o)
                    if (cand.Has(i, p, o)) {
                        const int x = centre[PieceFace(faces[p], k, o)];
                        nColour = nColour == -1 || nColour == x ? x : -2;
                    }
            if (nColour > 0)
                col = static_cast<BYTE>(nColour);
        }
}

// A last blank centre takes the one colour no other centre shows.
void FillLastCentre(Facelets& c)
{
    const CentreReading centres = ReadCentres(c.data());
    int nOutOfRange = 0;
    for (BYTE col : centres.colour)
        nOutOfRange += col > 6;
    if (centres.count[0] != 1 || nOutOfRange != 0)
        return;
    int nMissing = 0;
    for (int k = 1; k <= 6; ++k) {
        if (centres.count[k] > 1)
            return;
        if (centres.count[k] == 0)
            nMissing = k;
    }
    c[CentreIndex(centres.slotOfColour[0])] = static_cast<BYTE>(nMissing);
}

} // namespace

FillResult FillDetermined(const BYTE colors[54])
{
    FillResult result;
    std::copy(colors, colors + kFaceletCount, result.colors);
    Facelets c;
    std::copy(colors, colors + kFaceletCount, c.begin());

    FillLastCentre(c);
    const CentreReading centres = ReadCentres(c.data());
    if (!centres.bDistinct)
        return result; // the centres name no faces: nothing is determined
    const BYTE* centre = centres.colour;

    Candidates corners = FromStickers<3>(CORNER_COUNT, kCornerFaces, kCornerFacelets, c, centre);
    Candidates edges = FromStickers<2>(EDGE_COUNT, kEdgeFaces, kEdgeFacelets, c, centre);
    for (bool bChanged = true; bChanged;) {
        bChanged = false;
        if (!Narrow(corners, KnownParity(edges), bChanged) ||
            !Narrow(edges, KnownParity(corners), bChanged)) {
            result.bContradiction = true;
            return result;
        }
    }
    FillAgreed<3>(corners, kCornerFaces, kCornerFacelets, centre, c);
    FillAgreed<2>(edges, kEdgeFaces, kEdgeFacelets, centre, c);

    // A cube completed by the fill that is still no real cube means the
    // painted facelets contradict each other in a way the rules above missed.
    bool bComplete = true;
    for (BYTE col : c)
        bComplete = bComplete && col != 0;
    if (bComplete && ReadVerdict(c.data()) != kSolved) {
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
