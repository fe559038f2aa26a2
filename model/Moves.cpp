// The two move-string interpreters. Grouping is purely positional: group n is
// the (at most) three characters from position 3n; the third is never read.

#include "CubeSolver.h"

bool CCubeSolver::ExecuteMoves(CString strMoves)
{
    const size_t nLength = strMoves.size();
    for (size_t p = 0; p < nLength; p += 3) {
        const char chWhat = strMoves[p];
        const bool bHasCode = p + 1 < nLength;
        const char chCode = bHasCode ? strMoves[p + 1] : '\0';
        if (chWhat == 'C') {
            switch (chCode) {
            case '+': TurnCubeRight(); break;
            case '-': TurnCubeLeft(); break;
            case '^': TiltCubeUp(); break;
            case 'v': TiltCubeDown(); break;
            default: break;
            }
        } else if (bHasCode) {
            const int nSlot = SlotOf(chWhat);
            if (nSlot >= 0) {
                CubeFace* pFace = m_pFace[nSlot];
                switch (chCode) {
                case '+': RotateFaceCW(pFace); break;
                case '-': RotateFaceCCW(pFace); break;
                case '*':
                    RotateFaceCW(pFace);
                    RotateFaceCW(pFace);
                    break;
                default: break;
                }
            }
        }
        UpdateView(false);
        WaitStep();
    }
    return true;
}

bool CCubeSolver::UndoMove(CString strMove)
{
    if (strMove.size() < 3)
        return false;
    const char chWhat = strMove[0];
    const char chCode = strMove[1];
    if (chWhat == 'C') {
        switch (chCode) {
        case '+': TurnCubeLeft(); break;
        case '-': TurnCubeRight(); break;
        case '^': TiltCubeDown(); break;
        case 'v': TiltCubeUp(); break;
        default: break;
        }
    } else {
        const int nSlot = SlotOf(chWhat);
        if (nSlot >= 0) {
            CubeFace* pFace = m_pFace[nSlot];
            switch (chCode) {
            case '+': RotateFaceCCW(pFace); break;
            case '-': RotateFaceCW(pFace); break;
            case '*':
                RotateFaceCW(pFace);
                RotateFaceCW(pFace);
                break;
            default: break;
            }
        }
    }
    UpdateView(false);
    WaitStep();
    return true;
}
