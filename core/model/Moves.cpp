// The two move-string interpreters. Grouping is purely positional: group n is
// the (at most) three characters from position 3n; the third is never read.

#include "CubeSolver.h"

#include <cstring>

bool CCubeSolver::IsTurnGroup(char chWhat, char chCode)
{
    if (chCode == '\0')
        return false;
    if (chWhat == 'C')
        return std::strchr("+-^v", chCode) != nullptr;
    return SlotOf(chWhat) >= 0 && std::strchr("+-*", chCode) != nullptr;
}

void CCubeSolver::PerformGroup(char chWhat, char chCode, bool bInverse)
{
    if (chWhat == 'C') {
        switch (chCode) {
        case '+': bInverse ? TurnCubeLeft() : TurnCubeRight(); break;
        case '-': bInverse ? TurnCubeRight() : TurnCubeLeft(); break;
        case '^': bInverse ? TiltCubeDown() : TiltCubeUp(); break;
        case 'v': bInverse ? TiltCubeUp() : TiltCubeDown(); break;
        default: break;
        }
    } else {
        const int nSlot = SlotOf(chWhat);
        if (nSlot >= 0) {
            CubeFace* pFace = m_pFace[nSlot];
            switch (chCode) {
            case '+': bInverse ? RotateFaceCCW(pFace) : RotateFaceCW(pFace); break;
            case '-': bInverse ? RotateFaceCW(pFace) : RotateFaceCCW(pFace); break;
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

bool CCubeSolver::ExecuteMoves(CString strMoves)
{
    const size_t nLength = strMoves.size();
    for (size_t p = 0; p < nLength; p += 3)
        PerformGroup(strMoves[p], p + 1 < nLength ? strMoves[p + 1] : '\0', false);
    return true;
}

bool CCubeSolver::UndoMove(CString strMove)
{
    if (strMove.size() < 3)
        return false;
    PerformGroup(strMove[0], strMove[1], true);
    return true;
}
