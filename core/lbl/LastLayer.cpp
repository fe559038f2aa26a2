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

// Sides indexed 0 front, 1 right, 2 back, 3 left. A census of the bottom layer
// sets one bit for each item that is away from home: the item keyed by one side
// and the side it is found on. For edges the item is the edge of that side's
// colour and the bottom colour; for corners a side stands for the bottom slot it
// keys (front: front-right, right: back-right, back: back-left, left: front-left).
constexpr DWORD kRightOnFront = 0x001;
constexpr DWORD kLeftOnFront = 0x002;
constexpr DWORD kBackOnFront = 0x004;
constexpr DWORD kBackOnRight = 0x008;
constexpr DWORD kLeftOnRight = 0x010;
constexpr DWORD kFrontOnRight = 0x020;
constexpr DWORD kFrontOnLeft = 0x040;
constexpr DWORD kRightOnLeft = 0x080;
constexpr DWORD kBackOnLeft = 0x100;
constexpr DWORD kLeftOnBack = 0x200;
constexpr DWORD kFrontOnBack = 0x400;
constexpr DWORD kRightOnBack = 0x800;

// Bit of (item keyed by one side, side it is found on); 0 on the diagonal (item at home).
constexpr DWORD kSideBits[4][4] = {
    {0, kFrontOnRight, kFrontOnBack, kFrontOnLeft},
    {kRightOnFront, 0, kRightOnBack, kRightOnLeft},
    {kBackOnFront, kBackOnRight, 0, kBackOnLeft},
    {kLeftOnFront, kLeftOnRight, kLeftOnBack, 0},
};

// Censuses that call for a macro of stage 4, phase 2 (back edge at home)...
constexpr DWORD kCensusEdgeCycleA = kLeftOnRight | kFrontOnLeft | kRightOnFront;
constexpr DWORD kCensusEdgeCycleB = kRightOnLeft | kFrontOnRight | kLeftOnFront;
// ... and of stage 5, phase 2.
constexpr DWORD kCensusPlaceDiagonals = kRightOnLeft | kBackOnFront;
constexpr DWORD kCensusPlaceSidePairs = kFrontOnLeft | kRightOnBack;
constexpr DWORD kCensusPlaceCycleA = kRightOnLeft | kBackOnRight | kLeftOnBack;
constexpr DWORD kCensusPlaceCycleB = kBackOnLeft | kRightOnBack | kLeftOnRight;

// Census of stage 4, phase 1: the bottom edges whose bottom colour faces D.
constexpr DWORD kCrossFront = 0x1;
constexpr DWORD kCrossRight = 0x2;
constexpr DWORD kCrossBack = 0x4;
constexpr DWORD kCrossLeft = 0x8;

// Census of stage 5, phase 1: the bottom slots holding a corner whose bottom
// colour does not face D.
constexpr DWORD kTwistFrontRight = 0x1;
constexpr DWORD kTwistBackRight = 0x2;
constexpr DWORD kTwistBackLeft = 0x4;
constexpr DWORD kTwistFrontLeft = 0x8;

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

// What a census found: how many items are away from home, and its bits.
struct Census {
    int nCount = 0;
    DWORD dwMask = 0;
};

// One phase of the last layer: take the census; while an item is away from home,
// step the progress bar, act on the census and take it again. False once the
// phase has acted more than kStepLimit times.
template <typename TakeCensus, typename Act>
bool RepeatUntilHome(CProgressCtrl* pProgress, TakeCensus takeCensus, Act act)
{
    for (int nSteps = 0;;) {
        const Census census = takeCensus();
        if (census.nCount == 0)
            return true;
        ProgressStepIt(pProgress);
        act(census);
        if (++nSteps > kStepLimit)
            return false;
    }
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
        case 'B': dwMask |= chG == 'R' ? kTwistBackRight : kTwistBackLeft; break;
        case 'F': dwMask |= chG == 'R' ? kTwistFrontRight : kTwistFrontLeft; break;
        case 'R': dwMask |= chG == 'F' ? kTwistFrontRight : kTwistBackRight; break;
        case 'L': dwMask |= chG == 'F' ? kTwistFrontLeft : kTwistBackLeft; break;
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
    const auto crossCensus = [this] {
        const CubeFace* pD = m_pFace[SLOT_D];
        const BYTE bottom = pD->colors[4];
        Census census;
        const int kFacelets[4] = {1, 5, 7, 3};
        const DWORD kBits[4] = {kCrossFront, kCrossRight, kCrossBack, kCrossLeft};
        for (int i = 0; i < 4; ++i) {
            if (pD->colors[kFacelets[i]] == bottom)
                census.dwMask |= kBits[i];
            else
                ++census.nCount;
        }
        return census;
    };
    const bool bCross = RepeatUntilHome(pProgress, crossCensus, [this](const Census& census) {
        const DWORD dwDown = census.dwMask;
        if (census.nCount >= 3)
            ApplyMacro(kCrossFromNone);
        else if (dwDown == (kCrossRight | kCrossLeft))
            ApplyMacro(kCrossFromLine);
        else if (dwDown == (kCrossFront | kCrossBack))
            ApplyMacro(kCrossFromFrontBack);
        else if (dwDown == (kCrossRight | kCrossBack))
            ApplyMacro(kCrossFromRightBack);
        else if (dwDown == (kCrossFront | kCrossRight))
            ApplyMacro(kCrossFromFrontRight);
        else if (dwDown == (kCrossFront | kCrossLeft))
            ApplyMacro(kCrossFromFrontLeft);
        else if (dwDown == (kCrossBack | kCrossLeft))
            ApplyMacro(kCrossFromBackLeft);
        // One edge flipped: no macro exists.
    });
    if (!bCross)
        return false;

    // Phase 2: carry the bottom edges to their own sides.
    const auto edgeCensus = [this] {
        Census census;
        census.nCount = GetBottomEdgeMask(census.dwMask);
        return census;
    };
    return RepeatUntilHome(pProgress, edgeCensus, [this](const Census& census) {
        DWORD dwMask = census.dwMask;
        if (census.nCount == 4) {
            ApplyMacro(kEdgesTurnBottom);
        } else if (census.nCount == 3) {
            // Three edges in a cycle: turn the cube until the fixed edge is at the back.
            for (int nTurns = 0;; ++nTurns) {
                if (HasAll(dwMask, kCensusEdgeCycleA)) {
                    ApplyMacro(kEdgeCycleA);
                    break;
                }
                if (HasAll(dwMask, kCensusEdgeCycleB)) {
                    ApplyMacro(kEdgeCycleB);
                    break;
                }
                if (nTurns == kMaxSearchTurns)
                    break;
                ApplyMacro(kNextSide);
                GetBottomEdgeMask(dwMask);
            }
        } else if (census.nCount == 2) {
            // Two edges swapped, next to each other or opposite.
            if (dwMask & kFrontOnRight) {
                ApplyMacro(kEdgeSwapAdjacent);
            } else {
                for (int nTurns = 0; nTurns < kMaxSearchTurns; ++nTurns) {
                    if (dwMask & kBackOnFront) {
                        ApplyMacro(kEdgeSwapOpposite);
                        break;
                    }
                    ApplyMacro(kNextSide);
                    GetBottomEdgeMask(dwMask);
                    if (dwMask & kFrontOnRight) {
                        ApplyMacro(kEdgeSwapAdjacent);
                        break;
                    }
                }
            }
        }
    });
}

bool CCubeSolver::SolveBottomCorners(CProgressCtrl* pProgress)
{
    // Phase 1: twist the bottom corners so their bottom colour faces D.
    const auto twistCensus = [this] {
        Census census;
        census.nCount = GetCornerTwistMask(census.dwMask);
        return census;
    };
    const bool bTwisted = RepeatUntilHome(pProgress, twistCensus, [this](const Census& census) {
        if (census.nCount == 4) {
            ApplyMacro(kTwistFourOrThree);
        } else if (census.nCount == 3) {
            const bool bBackRightHome =
                census.dwMask == (kTwistFrontRight | kTwistBackLeft | kTwistFrontLeft);
            ApplyMacro(bBackRightHome ? kTwistFourOrThree : kNextSide);
        } else if (census.nCount == 2) {
            if (census.dwMask == (kTwistFrontRight | kTwistBackRight))
                ApplyMacro(kTwistRightPair);
            else if (census.dwMask == (kTwistBackRight | kTwistFrontLeft))
                ApplyMacro(kTwistDiagonalPair);
            else
                ApplyMacro(kNextSide);
        }
        // One corner twisted: no macro exists.
    });
    if (!bTwisted)
        return false;

    // Phase 2: carry the bottom corners to their own slots.
    const auto placeCensus = [this] {
        Census census;
        census.nCount = GetCornerPlaceMask(census.dwMask);
        return census;
    };
    return RepeatUntilHome(pProgress, placeCensus, [this](const Census& census) {
        if (census.nCount == 4) {
            if (HasAll(census.dwMask, kCensusPlaceDiagonals))
                ApplyMacro(kPlaceDiagonals);
            else if (HasAll(census.dwMask, kCensusPlaceSidePairs))
                ApplyMacro(kPlaceSidePairs);
            else
                ApplyMacro(kNextSide);
        } else if (census.nCount == 3) {
            if (HasAll(census.dwMask, kCensusPlaceCycleA))
                ApplyMacro(kPlaceCycleA);
            else if (HasAll(census.dwMask, kCensusPlaceCycleB))
                ApplyMacro(kPlaceCycleB);
            else
                ApplyMacro(kNextSide);
        }
        // Two corners swapped, or four in a cycle: no macro exists.
    });
}
