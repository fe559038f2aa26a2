// First two layers: top edges, top corners, middle edges. Each stage runs four
// iterations; an iteration looks up one cubelet, applies the one macro that
// carries it home and turns the whole cube so the next side comes to the front.

#include "CubeSolver.h"

namespace {

// A macro chosen by the faces on which two colours of a cubelet lie.
struct MacroRow {
    char first;  // face showing the first looked-up colour
    char second; // face showing the second
    const char* macro;
};

// Top-front edge: (face of the top colour, face of the front colour).
constexpr MacroRow kTopEdgeMacros[] = {
    {'R', 'F', "F-."},
    {'R', 'T', "R-.F-."},
    {'R', 'B', "T+.T+.B+.T+.T+."},
    {'R', 'D', "R+.F-.R-."},
    {'L', 'T', "L+.F+."},
    {'L', 'F', "F+."},
    {'L', 'B', "L+.L+.F+.L+.L+."},
    {'L', 'D', "L-.F+.L+."},
    {'F', 'T', "F-.T+.L-.T-."},
    {'F', 'L', "T+.L-.T-."},
    {'F', 'R', "T-.R+.T+."},
    {'F', 'D', "F-.T-.R+.T+."},
    {'B', 'R', "T-.R-.T+."},
    {'B', 'L', "T+.L+.T-."},
    {'B', 'T', "B-.T-.R-.T+."},
    {'B', 'D', "D-.R+.F-.R-."},
    {'D', 'F', "F+.F+."},
    {'D', 'R', "D-.F+.F+."},
    {'D', 'L', "D+.F+.F+."},
    {'D', 'B', "D+.D+.F+.F+."},
    {'T', 'L', "L-.T+.L+.T-."},
    {'T', 'R', "R+.T-.R-.T+."},
    {'T', 'B', "B-.T+.T+.B+.T+.T+."},
    // T, F: the edge is home.
};

// Top-front-right corner: (face of the top colour, face of the front colour).
constexpr MacroRow kTopCornerMacros[] = {
    {'F', 'R', "F+.D+.F-.D+.D+.R-.D+.R+."},
    {'F', 'L', "D+.D+.F+.D-.F-."},
    {'F', 'T', "F-.D-.F+.F+.D+.D+.F-."},
    {'F', 'D', "D-.R-.D+.R+."},
    {'R', 'F', "D+.F+.D-.F-."},
    {'R', 'B', "R+.D+.D+.R+.R+.D+.R+."},
    {'R', 'T', "R-.D-.R+.D+.D+.F+.D-.F-."},
    {'R', 'D', "D+.D+.R-.D+.R+."},
    {'L', 'D', "R-.D+.R+."},
    {'L', 'F', "L+.D+.L-.D-.R-.D+.R+."},
    {'L', 'B', "F+.D+.D+.F-."},
    {'L', 'T', "L-.D-.L+.F+.D-.F-."},
    {'B', 'D', "R-.D+.D+.R+."},
    {'B', 'R', "F+.D-.F-."},
    {'B', 'L', "B+.D+.B-.R-.D+.R+."},
    {'B', 'T', "B-.F+.D-.F-.B+."},
    {'T', 'L', "L+.D-.L-.R-.D+.R+."},
    {'T', 'R', "B-.D+.B+.F+.D-.F-."},
    {'T', 'B', "L-.R-.D+.D+.R+.L+."},
    // T, F: the corner is home.
    {'D', 'F', "D+.R-.D+.R+.F+.D+.D+.F-."},
    {'D', 'L', "D+.D+.R-.D+.R+.F+.D+.D+.F-."},
    {'D', 'B', "D-.R-.D+.R+.F+.D+.D+.F-."},
    {'D', 'R', "R-.D+.R+.F+.D+.D+.F-."},
};

// Front-right middle edge stuck in the middle layer: (face of the front
// colour, face of the right colour).
constexpr MacroRow kMiddleEdgeFreeMacros[] = {
    {'L', 'B', "B+.D-.B-.D-.L-.D+.L+."}, // back-left slot
    {'B', 'L', "B+.D-.B-.D-.L-.D+.L+."},
    {'L', 'F', "L+.D-.L-.D-.F-.D+.F+."}, // front-left slot
    {'F', 'L', "L+.D-.L-.D-.F-.D+.F+."},
    {'R', 'B', "B-.D+.B+.D+.R+.D-.R-."}, // back-right slot
    {'B', 'R', "B-.D+.B+.D+.R+.D-.R-."},
    {'R', 'F', "R-.D+.R+.D+.F+.D-.F-."}, // own slot, flipped
};

constexpr const char kTurnToNextSide[] = "C+.";
constexpr const char kInsertFromFront[] = "F+.D-.F-.D-.R-.D+.R+.";
constexpr const char kInsertFromRight[] = "R-.D+.R+.D+.F+.D-.F-.";

char LetterOf(const CubeFace* pFace)
{
    return pFace ? pFace->letter : '\0';
}

template <size_t N>
const char* FindMacro(const MacroRow (&rows)[N], const CubeFace* pFirst, const CubeFace* pSecond)
{
    const char chFirst = LetterOf(pFirst);
    const char chSecond = LetterOf(pSecond);
    for (const MacroRow& row : rows)
        if (row.first == chFirst && row.second == chSecond)
            return row.macro;
    return nullptr;
}

} // namespace

void CCubeSolver::SolveTopEdges(CProgressCtrl* pProgress)
{
    for (int i = 0; i < 4; ++i) {
        ProgressStepIt(pProgress);
        const BYTE top = Centre(SLOT_T);
        const BYTE front = Centre(SLOT_F);
        const char* pszMacro = FindMacro(kTopEdgeMacros, FindEdge(top, front), FindEdge(front, top));
        if (pszMacro)
            ApplyMacro(pszMacro);
        ApplyMacro(kTurnToNextSide);
    }
}

void CCubeSolver::SolveTopCorners(CProgressCtrl* pProgress)
{
    for (int i = 0; i < 4; ++i) {
        ProgressStepIt(pProgress);
        const BYTE top = Centre(SLOT_T);
        const BYTE front = Centre(SLOT_F);
        const BYTE right = Centre(SLOT_R);
        const char* pszMacro = FindMacro(kTopCornerMacros, FindCorner(top, front, right),
                                         FindCorner(front, top, right));
        if (pszMacro)
            ApplyMacro(pszMacro);
        ApplyMacro(kTurnToNextSide);
    }
}

void CCubeSolver::SolveMiddleEdges(CProgressCtrl* pProgress)
{
    for (int i = 0; i < 4; ++i) {
        ProgressStepIt(pProgress);
        const BYTE front = Centre(SLOT_F);
        const BYTE right = Centre(SLOT_R);

        // Phase 1: free the edge if it sits in the middle layer but not at home.
        const char* pszFree =
            FindMacro(kMiddleEdgeFreeMacros, FindEdge(front, right), FindEdge(right, front));
        if (pszFree)
            ApplyMacro(pszFree);

        // Phase 2: insert it from the bottom layer.
        const char chFront = LetterOf(FindEdge(front, right));
        const char chRight = LetterOf(FindEdge(right, front));
        if (chFront == 'D') {
            // Bring the right colour to face B first.
            if (chRight == 'R')
                ApplyMacro("D+.");
            else if (chRight == 'F')
                ApplyMacro("D+.D+.");
            else if (chRight == 'L')
                ApplyMacro("D-.");
            ApplyMacro(kInsertFromFront);
        } else if (chRight == 'D') {
            // Bring the front colour to face L first.
            if (chFront == 'R')
                ApplyMacro("D+.D+.");
            else if (chFront == 'F')
                ApplyMacro("D-.");
            else if (chFront == 'B')
                ApplyMacro("D+.");
            ApplyMacro(kInsertFromRight);
        }
        ApplyMacro(kTurnToNextSide);
    }
}
