// Last layer: bottom edges, then bottom corners. Each phase takes a census of
// the bottom layer, applies one macro or a whole-cube turn, and repeats until
// the census is clean; after its eleventh step it gives up, which is how a cube
// that cannot be solved (a flipped edge, a twisted corner, a swapped pair) is found.

#include "CubeSolver.h"

namespace {

constexpr int kStepLimit = 10; // a phase gives up once its step counter passes this
constexpr int kMaxSearchTurns = 4; // whole-cube turns one step may make looking for a pattern

constexpr const char kNextSide[] = "C+.";

// Stage 4, phase 1: the cross on D.
constexpr const char kCrossFromNone[] = "F+.D+.L+.D-.L-.F-.";
constexpr const char kCrossFromLine[] = "F+.L+.D+.L-.D-.F-.";
constexpr const char kCrossFromFrontBack[] = "C+.F+.L+.D+.L-.D-.F-.";
constexpr const char kCrossFromRightBack[] = "F+.D+.L+.D-.L-.F-.";
constexpr const char kCrossFromFrontRight[] = "C+.F+.D+.L+.D-.L-.F-.";
constexpr const char kCrossFromFrontLeft[] = "C+.C+.F+.D+.L+.D-.L-.F-.";
constexpr const char kCrossFromBackLeft[] = "C+.C+.C+.F+.D+.L+.D-.L-.F-.";

// Stage 4, phase 2: placing the bottom edges.
constexpr const char kEdgesTurnBottom[] = "D+.";
constexpr const char kEdgeCycleA[] = "L-.D-.L+.D-.L-.D+.D+.L+.";
constexpr const char kEdgeCycleB[] = "L-.D+.D+.L+.D+.L-.D+.L+.";
constexpr const char kEdgeSwapAdjacent[] = "D+.L-.D+.D+.L+.D+.L-.D+.L+.";
constexpr const char kEdgeSwapOpposite[] =
    "L-.D+.D+.L+.D+.L-.D+.L+.D-.L-.D+.D+.L+.D+.L-.D+.L+.";

// Stage 5, phase 1: twisting the bottom corners.
constexpr const char kTwistFourOrThree[] =
    "B+.L+.B-.L-.D+.D+.R-.B+.B+.R+.B-.R-.B+.B+.R+.B-.D+.D+.";
constexpr const char kTwistRightPair[] = "D+.L+.D-.L-.D+.L+.D-.R-.D+.L-.D-.L+.D+.L-.D-.R+.";
constexpr const char kTwistDiagonalPair[] = "B+.L-.T+.T+.L+.B-.D+.D+.B+.L-.T+.T+.L+.B-.D+.D+.";

// Stage 5, phase 2: placing the bottom corners.
constexpr const char kPlaceDiagonals[] =
    "L+.L+.R+.R+.T+.L+.L+.R+.R+.D+.D+.L+.L+.R+.R+.T+.L+.L+.R+.R+.D+.D+.";
constexpr const char kPlaceSidePairs[] = "F+.L-.F-.R+.F+.L+.F-.R+.R+.B-.L+.B+.R+.B-.L-.B+.";
constexpr const char kPlaceCycleA[] = "L-.F+.L-.B+.B+.L+.F-.L-.B+.B+.L+.L+.";
constexpr const char kPlaceCycleB[] = "L+.L+.B+.B+.L+.F+.L-.B+.B+.L+.F-.L+.";

// Sides indexed 0 front, 1 right, 2 back, 3 left. Bit of (item keyed by one
// side, side it is found on); 0 on the diagonal (item at home).
constexpr DWORD kSideBits[4][4] = {
    {0x000, 0x020, 0x400, 0x040},
    {0x001, 0x000, 0x800, 0x080},
    {0x004, 0x008, 0x000, 0x100},
    {0x002, 0x010, 0x200, 0x000},
};

// Slot of each side index.
constexpr int kSideSlots[4] = {CCubeSolver::SLOT_F, CCubeSolver::SLOT_R, CCubeSolver::SLOT_B,
                               CCubeSolver::SLOT_L};

// Side index of a face letter, or -1 for T, D and none.
int SideOf(const CubeFace* pFace)
{
    if (!pFace)
        return -1;
    switch (pFace->letter) {
    case 'F': return 0;
    case 'R': return 1;
    case 'B': return 2;
    case 'L': return 3;
    default: return -1;
    }
}

// Bottom corners in census order: front-right, front-left, back-right, back-left,
// each by its first (front or back) and second (right or left) side.
struct BottomCorner {
    int first;
    int second;
};
constexpr BottomCorner kBottomCorners[4] = {{0, 1}, {0, 3}, {2, 1}, {2, 3}};

// Side index keying the bottom slot between two neighbouring sides (front-right
// by front, back-right by right, back-left by back, front-left by left), or -1
// when the two are not neighbours.
int CornerSlotKey(int nSideA, int nSideB)
{
    if (nSideA < 0 || nSideB < 0)
        return -1;
    const int lo = nSideA < nSideB ? nSideA : nSideB;
    const int hi = nSideA < nSideB ? nSideB : nSideA;
    if (lo == 0 && hi == 1)
        return 0; // front-right
    if (lo == 1 && hi == 2)
        return 1; // back-right
    if (lo == 2 && hi == 3)
        return 2; // back-left
    if (lo == 0 && hi == 3)
        return 3; // front-left
    return -1;
}

// Side index keying a corner by its home slot.
int CornerKey(const BottomCorner& corner)
{
    return CornerSlotKey(corner.first, corner.second);
}

bool HasAll(DWORD dwMask, DWORD dwBits)
{
    return (dwMask & dwBits) == dwBits;
}

} // namespace

int CCubeSolver::GetBottomEdgeMask(DWORD& dwMask) const
{
    dwMask = 0;
    int nCount = 0;
    const BYTE bottom = Centre(SLOT_D);
    for (int side = 0; side < 4; ++side) {
        const CubeFace* pFound = FindEdge(Centre(kSideSlots[side]), bottom);
        if (pFound == m_pFace[kSideSlots[side]])
            continue;
        ++nCount;
        const int nOn = SideOf(pFound);
        if (nOn >= 0)
            dwMask |= kSideBits[side][nOn];
    }
    return nCount;
}

int CCubeSolver::GetCornerTwistMask(DWORD& dwMask) const
{
    dwMask = 0;
    int nCount = 0;
    const BYTE bottom = Centre(SLOT_D);
    for (const BottomCorner& corner : kBottomCorners) {
        const BYTE s1 = Centre(kSideSlots[corner.first]);
        const BYTE s2 = Centre(kSideSlots[corner.second]);
        const CubeFace* e = FindCorner(bottom, s1, s2);
        if (e == m_pFace[SLOT_D])
            continue;
        ++nCount;
        const CubeFace* g = FindCorner(s1, s2, bottom);
        if (g == m_pFace[SLOT_D])
            g = FindCorner(s2, s1, bottom);
        const char chG = g ? g->letter : '\0';
        switch (e ? e->letter : '\0') {
        case 'B': dwMask |= chG == 'R' ? 2 : 4; break;
        case 'F': dwMask |= chG == 'R' ? 1 : 8; break;
        case 'R': dwMask |= chG == 'F' ? 1 : 2; break;
        case 'L': dwMask |= chG == 'F' ? 8 : 4; break;
        default: break;
        }
    }
    return nCount;
}

int CCubeSolver::GetCornerPlaceMask(DWORD& dwMask) const
{
    dwMask = 0;
    int nCount = 0;
    const BYTE bottom = Centre(SLOT_D);
    for (const BottomCorner& corner : kBottomCorners) {
        const BYTE s1 = Centre(kSideSlots[corner.first]);
        const BYTE s2 = Centre(kSideSlots[corner.second]);
        const CubeFace* pFirst = FindCorner(s1, s2, bottom);
        const CubeFace* pSecond = FindCorner(s2, s1, bottom);
        if (pFirst == m_pFace[kSideSlots[corner.first]] ||
            pSecond == m_pFace[kSideSlots[corner.second]])
            continue;
        ++nCount;
        // On a real cube with no corner twisted the two faces are neighbours;
        // on a miscoloured one they may not be, and then no bit is set.
        const int nSlot = CornerSlotKey(SideOf(pFirst), SideOf(pSecond));
        if (nSlot >= 0)
            dwMask |= kSideBits[CornerKey(corner)][nSlot];
    }
    return nCount;
}

bool CCubeSolver::SolveBottomEdges(CProgressCtrl* pProgress)
{
    // Phase 1: turn the bottom edges so their bottom colour faces D.
    for (int nSteps = 0;;) {
        const CubeFace* pD = m_pFace[SLOT_D];
        const BYTE bottom = pD->colors[4];
        DWORD dwMask = 0;
        if (pD->colors[1] == bottom)
            dwMask |= 1;
        if (pD->colors[5] == bottom)
            dwMask |= 2;
        if (pD->colors[7] == bottom)
            dwMask |= 4;
        if (pD->colors[3] == bottom)
            dwMask |= 8;
        const int nCount = ((dwMask >> 0) & 1) + ((dwMask >> 1) & 1) + ((dwMask >> 2) & 1) +
                           ((dwMask >> 3) & 1);
        if (nCount == 4)
            break;
        ProgressStepIt(pProgress);
        ++nSteps;
        if (nCount <= 1)
            ApplyMacro(kCrossFromNone);
        else if (dwMask == 0xA)
            ApplyMacro(kCrossFromLine);
        else if (dwMask == 0x5)
            ApplyMacro(kCrossFromFrontBack);
        else if (dwMask == 0x6)
            ApplyMacro(kCrossFromRightBack);
        else if (dwMask == 0x3)
            ApplyMacro(kCrossFromFrontRight);
        else if (dwMask == 0x9)
            ApplyMacro(kCrossFromFrontLeft);
        else if (dwMask == 0xC)
            ApplyMacro(kCrossFromBackLeft);
        // Count 3 (one edge flipped): no macro exists.
        if (nSteps > kStepLimit)
            return false;
    }

    // Phase 2: carry the bottom edges to their own sides.
    int nSteps = 0;
    DWORD dwMask = 0;
    int nCount = GetBottomEdgeMask(dwMask);
    while (nCount > 0) {
        ProgressStepIt(pProgress);
        ++nSteps;
        if (nCount == 4) {
            ApplyMacro(kEdgesTurnBottom);
        } else if (nCount == 3) {
            // Three edges in a cycle: turn the cube until the fixed edge is at the back.
            for (int nTurns = 0;; ++nTurns) {
                if (HasAll(dwMask, 0x010 | 0x040 | 0x001)) {
                    ApplyMacro(kEdgeCycleA);
                    break;
                }
                if (HasAll(dwMask, 0x080 | 0x020 | 0x002)) {
                    ApplyMacro(kEdgeCycleB);
                    break;
                }
                if (nTurns == kMaxSearchTurns)
                    break;
                ApplyMacro(kNextSide);
                GetBottomEdgeMask(dwMask);
            }
        } else if (nCount == 2) {
            // Two edges swapped, next to each other or opposite.
            if (dwMask & 0x020) {
                ApplyMacro(kEdgeSwapAdjacent);
            } else {
                for (int nTurns = 0; nTurns < kMaxSearchTurns; ++nTurns) {
                    if (dwMask & 0x004) {
                        ApplyMacro(kEdgeSwapOpposite);
                        break;
                    }
                    ApplyMacro(kNextSide);
                    GetBottomEdgeMask(dwMask);
                    if (dwMask & 0x020) {
                        ApplyMacro(kEdgeSwapAdjacent);
                        break;
                    }
                }
            }
        }
        if (nSteps > kStepLimit)
            return false;
        nCount = GetBottomEdgeMask(dwMask);
    }
    return true;
}

bool CCubeSolver::SolveBottomCorners(CProgressCtrl* pProgress)
{
    // Phase 1: twist the bottom corners so their bottom colour faces D.
    int nSteps = 0;
    DWORD dwMask = 0;
    int nCount = GetCornerTwistMask(dwMask);
    while (nCount > 0) {
        ProgressStepIt(pProgress);
        ++nSteps;
        if (nCount == 4) {
            ApplyMacro(kTwistFourOrThree);
        } else if (nCount == 3) {
            ApplyMacro(dwMask == 0xD ? kTwistFourOrThree : kNextSide);
        } else if (nCount == 2) {
            if (dwMask == 0x3)
                ApplyMacro(kTwistRightPair);
            else if (dwMask == 0xA)
                ApplyMacro(kTwistDiagonalPair);
            else
                ApplyMacro(kNextSide);
        }
        // Count 1 (one corner twisted): no macro exists.
        if (nSteps > kStepLimit)
            return false;
        nCount = GetCornerTwistMask(dwMask);
    }

    // Phase 2: carry the bottom corners to their own slots.
    nSteps = 0;
    nCount = GetCornerPlaceMask(dwMask);
    while (nCount > 0) {
        ProgressStepIt(pProgress);
        ++nSteps;
        if (nCount == 4) {
            if (HasAll(dwMask, 0x080 | 0x004))
                ApplyMacro(kPlaceDiagonals);
            else if (HasAll(dwMask, 0x040 | 0x800))
                ApplyMacro(kPlaceSidePairs);
            else
                ApplyMacro(kNextSide);
        } else if (nCount == 3) {
            if (HasAll(dwMask, 0x080 | 0x008 | 0x200))
                ApplyMacro(kPlaceCycleA);
            else if (HasAll(dwMask, 0x100 | 0x800 | 0x010))
                ApplyMacro(kPlaceCycleB);
            else
                ApplyMacro(kNextSide);
        }
        // Two corners swapped, or four in a cycle: no macro exists.
        if (nSteps > kStepLimit)
            return false;
        nCount = GetCornerPlaceMask(dwMask);
    }
    return true;
}
