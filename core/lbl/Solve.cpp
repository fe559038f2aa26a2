// The solve driver: configuration check, 24 orientations, choice of the
// shortest candidate.

#include "CubeSolver.h"

namespace {

// Each prefix brings another face to the top: T, F, D, B, L, R.
constexpr const char* kOrientationPrefixes[6] = {
    "", "C^.", "C^.C^.", "C^.C^.C^.", "C+.C^.", "C-.C^.",
};

// A candidate this long (167 moves or more) is never chosen.
constexpr size_t kCandidateLimit = 500;

// Order in which the centres are looked at when checking for each colour.
constexpr int kCentreCheckOrder[6] = {CCubeSolver::SLOT_T, CCubeSolver::SLOT_F,
                                      CCubeSolver::SLOT_D, CCubeSolver::SLOT_B,
                                      CCubeSolver::SLOT_R, CCubeSolver::SLOT_L};

} // namespace

CString CCubeSolver::GetSolution() const
{
    return m_strSolution;
}

void CCubeSolver::ApplyMacro(const char* pszMacro)
{
    m_strSolution += pszMacro;
    ExecuteMoves(CString(pszMacro));
}

bool CCubeSolver::CheckConfiguration() const
{
    for (BYTE c = 1; c <= 6; ++c) {
        bool bFound = false;
        for (int nSlot : kCentreCheckOrder)
            if (Centre(nSlot) == c) {
                bFound = true;
                break;
            }
        if (!bFound)
            return false;
    }
    for (const auto& edge : g_edgeTable)
        if (!FindEdge(Centre(SlotOf(edge[0].letter)), Centre(SlotOf(edge[1].letter))))
            return false;
    for (const auto& corner : g_cornerTable)
        if (!FindCorner(Centre(SlotOf(corner[0].letter)), Centre(SlotOf(corner[1].letter)),
                        Centre(SlotOf(corner[2].letter))))
            return false;
    return true;
}

int CCubeSolver::Solve(CProgressCtrl* pProgress)
{
    if (!CheckConfiguration())
        return SOLVE_BAD_CUBELETS;

    m_arrSolutions.clear();
    SaveCube();

    for (const char* pszPrefix : kOrientationPrefixes) {
        for (int s = 0; s < 4; ++s) {
            m_strSolution = pszPrefix;
            for (int i = 0; i < s; ++i)
                m_strSolution += "C+.";
            ExecuteMoves(m_strSolution);

            SolveTopEdges(pProgress);
            SolveTopCorners(pProgress);
            SolveMiddleEdges(pProgress);
            // A configuration that is no real cube (a corner painted with one
            // colour twice, say) can pass both last-layer stages without being
            // solved; such an attempt is no candidate.
            const bool bSucceeded =
                SolveBottomEdges(pProgress) && SolveBottomCorners(pProgress) && IsSolved();
            if (bSucceeded) {
                SimplifySolution();
                m_arrSolutions.push_back(m_strSolution);
            }
            RestoreCube();
        }
    }

    const CString* pChosen = nullptr;
    size_t nLimit = kCandidateLimit;
    for (const CString& strCandidate : m_arrSolutions)
        if (strCandidate.size() < nLimit) {
            pChosen = &strCandidate;
            nLimit = strCandidate.size();
        }

    m_strSolution.clear();
    if (pChosen)
        m_strSolution = *pChosen;
    ProgressSetPos(pProgress, 0);
    return pChosen ? SOLVE_OK : SOLVE_UNSOLVABLE;
}
