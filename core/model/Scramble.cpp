// Scramble, clearing and the cubelet lookups.

#include "CubeSolver.h"
#include "Random.h"

namespace {
// Face of each number the scramble draws; not the slot order.
constexpr int kShuffleSlots[6] = {CCubeSolver::SLOT_F, CCubeSolver::SLOT_B, CCubeSolver::SLOT_R,
                                  CCubeSolver::SLOT_L, CCubeSolver::SLOT_D, CCubeSolver::SLOT_T};
constexpr int kShuffleTurns = 22;
} // namespace

void CCubeSolver::Shuffle(CProgressCtrl* pProgress)
{
    ProgressSetRange(pProgress, 0, kShuffleTurns);
    ProgressSetPos(pProgress, 0);
    ProgressSetStep(pProgress, 1);

    int nPrevious = -1;
    for (int i = 0; i < kShuffleTurns; ++i) {
        // The order of the draws fixes the scramble of a given generator state.
        int k = CubeRandom::Rand() % 6;
        const int d = CubeRandom::Rand() % 2;
        while (k == nPrevious)
            k = CubeRandom::Rand() % 6;
        nPrevious = k;

        CubeFace* pFace = m_pFace[kShuffleSlots[k]];
        if (d == 0)
            RotateFaceCW(pFace);
        else
            RotateFaceCCW(pFace);

        ProgressStepIt(pProgress);
        UpdateView(false);
        WaitStep();
    }
    ProgressSetPos(pProgress, 0);
    UpdateView(true);
}

void CCubeSolver::ClearCube()
{
    for (CubeFace* p : m_pFace)
        for (int i = 0; i < 9; ++i)
            if (i != 4)
                p->colors[i] = 0;
    UpdateView(false);
}

CubeFace* CCubeSolver::FindEdge(BYTE c1, BYTE c2) const
{
    for (int n = 0; n < 12; ++n) {
        const auto& edge = g_edgeTable[n];
        const BYTE a = *m_pEdge[n][0];
        const BYTE b = *m_pEdge[n][1];
        if (a == c1 && b == c2)
            return m_pFace[SlotOf(edge[0].letter)];
        if (b == c1 && a == c2)
            return m_pFace[SlotOf(edge[1].letter)];
    }
    return nullptr;
}

CubeFace* CCubeSolver::FindCorner(BYTE c1, BYTE c2, BYTE c3) const
{
    // The other two facelets are tested for membership only.
    auto other = [c2, c3](BYTE x) { return x == c2 || x == c3; };
    for (int n = 0; n < 8; ++n) {
        const auto& corner = g_cornerTable[n];
        const BYTE a = *m_pCorner[n][0];
        const BYTE b = *m_pCorner[n][1];
        const BYTE e = *m_pCorner[n][2];
        if (a == c1 && other(b) && other(e))
            return m_pFace[SlotOf(corner[0].letter)];
        if (b == c1 && other(a) && other(e))
            return m_pFace[SlotOf(corner[1].letter)];
        if (e == c1 && other(a) && other(b))
            return m_pFace[SlotOf(corner[2].letter)];
    }
    return nullptr;
}
