// The solve driver: configuration check, 24 orientations, choice of the
// shortest candidate, and the stage each of its moves came from.

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

const char* CCubeSolver::StageName(int nStage)
{
    static const char* const kNames[STAGE_COUNT] = {"Orientation",  "Top edges",    "Top corners",
                                                    "Middle edges", "Bottom edges", "Bottom corners"};
    return nStage >= 0 && nStage < STAGE_COUNT ? kNames[nStage] : "";
}

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
    m_arrStages.clear();
    // The stage of each group of each candidate, in the same order.
    std::vector<std::vector<int>> candidateStages;
    SaveCube();

    for (const char* pszPrefix : kOrientationPrefixes) {
        for (int s = 0; s < 4; ++s) {
            m_strSolution = pszPrefix;
            for (int i = 0; i < s; ++i)
                m_strSolution += "C+.";
            ExecuteMoves(m_strSolution);

            // Where each stage's moves end in the working string.
            size_t nEnds[STAGE_COUNT] = {m_strSolution.size()};
            SolveTopEdges(pProgress);
            nEnds[STAGE_TOP_EDGES] = m_strSolution.size();
            SolveTopCorners(pProgress);
            nEnds[STAGE_TOP_CORNERS] = m_strSolution.size();
            SolveMiddleEdges(pProgress);
            nEnds[STAGE_MIDDLE_EDGES] = m_strSolution.size();
            // A configuration that is no real cube (a corner painted with one
            // colour twice, say) can pass both last-layer stages without being
            // solved; such an attempt is no candidate.
            bool bSucceeded = SolveBottomEdges(pProgress);
            nEnds[STAGE_BOTTOM_EDGES] = m_strSolution.size();
            bSucceeded = bSucceeded && SolveBottomCorners(pProgress) && IsSolved();
            if (bSucceeded) {
                nEnds[STAGE_BOTTOM_CORNERS] = m_strSolution.size();
                std::vector<int> tags;
                for (size_t p = 0; p < m_strSolution.size(); p += 3) {
                    int nStage = 0;
                    while (nStage < STAGE_BOTTOM_CORNERS && p >= nEnds[nStage])
                        ++nStage;
                    tags.push_back(nStage);
                }
                CString strTagged = m_strSolution;
                tags = SimplifyTagged(strTagged, std::move(tags));
                SimplifySolution();
                m_arrSolutions.push_back(m_strSolution);
                // Both simplifications agree by construction; stages that
                // do not belong to this very string are not given.
                candidateStages.push_back(strTagged == m_strSolution ? tags : std::vector<int>());
            }
            RestoreCube();
        }
    }

    const CString* pChosen = nullptr;
    size_t nLimit = kCandidateLimit;
    size_t nChosen = 0;
    for (size_t i = 0; i < m_arrSolutions.size(); ++i)
        if (m_arrSolutions[i].size() < nLimit) {
            pChosen = &m_arrSolutions[i];
            nLimit = m_arrSolutions[i].size();
            nChosen = i;
        }

    m_strSolution.clear();
    if (pChosen) {
        m_strSolution = *pChosen;
        m_arrStages = candidateStages[nChosen];
    }
    ProgressSetPos(pProgress, 0);
    return pChosen ? SOLVE_OK : SOLVE_UNSOLVABLE;
}
