#pragma once
// The cube model and its layer-by-layer solver.
//
// The cube is six face records of nine colour indexes. Faces are named by
// upper-case letters T (top), F (front), R (right), L (left), B (back) and
// D (down); wherever one thing is kept per face the order is T F R L B D
// (slots 0 to 5). Every grid is the face seen from outside, upright as in the
// unfolded net below, row-major, element row*3+col, centre at element 4:
//
//               +-------+
//               | T     |
//               |       |
//       +-------+-------+-------+-------+
//       | L     | F     | R     | B     |
//       |       |       |       |       |
//       +-------+-------+-------+-------+
//               | D     |
//               |       |
//               +-------+
//
//   border of   row 0   row 2   col 0   col 2
//   T           B       F       L       R
//   F, R, B, L  T       D       the left and right neighbours in the row
//   D           F       B       L       R
//
// Colour index: 0 blank, 1..6 the solved colours of T F R L B D. The model
// gives an index no meaning beyond equality and stores any mixture of 0..6.
//
// Move strings are groups of three characters: a face letter or C (whole
// cube), a turn code and a separator that is never examined. Faces: '+'
// clockwise seen from outside, '-' counter-clockwise, '*' half turn. C: '+'
// front to the right, '-' front to the left, '^' front to the top, 'v' front
// to the bottom. Groups that form no move change nothing but still count as
// a step. Letters always name the slot, i.e. the face standing there now.
//
// The virtual operations are the seam to a view: a view overrides them to
// repaint, animate and pace each change. The model itself never draws or waits.

#include "Compat.h"
#include "CubeTables.h"
#include "Facelets.h"
#include "ProgressCtrl.h"

// One face of the cube: its letter, nine colour indexes, its rectangle in the
// view's net (filled by the view, emptied by the model) and its rim table.
struct CubeFace {
    char letter = 0;
    BYTE colors[9] = {};
    Rect rcFace;
    const FaceletPos* rim = nullptr;
};

class CCubeSolver {
public:
    // Slots of the face records.
    enum { SLOT_T = 0, SLOT_F, SLOT_R, SLOT_L, SLOT_B, SLOT_D, FACE_COUNT };

    // Result codes of Solve (the shared codes of Facelets.h).
    enum {
        SOLVE_OK = kSolved,                 // solved; GetSolution() holds the moves (empty for a solved cube)
        SOLVE_BAD_CUBELETS = kBadCubelets,  // the colours do not make up a set of cubelets; nothing was done
        SOLVE_UNSOLVABLE = kUnsolvable,     // a set of cubelets, but no orientation could be solved
    };

    CCubeSolver();
    CCubeSolver(const CCubeSolver&) = delete;
    CCubeSolver& operator=(const CCubeSolver&) = delete;

    // Virtual operations, in slot order.
    virtual ~CCubeSolver();
    virtual void ResetCube();
    virtual void SaveCube();
    virtual void RestoreCube();
    virtual void TurnCubeLeft();
    virtual void TurnCubeRight();
    virtual void UpdateView(bool bForce);
    virtual void WaitStep();
    virtual void RotateFaceCW(CubeFace* pFace);
    virtual void RotateFaceCCW(CubeFace* pFace);

    // Live record of a face letter (either case); NULL for any other character.
    CubeFace* GetFace(char chLetter) const;
    // Slot of an upper-case face letter, or -1.
    static int SlotOf(char chLetter);

    void TiltCubeUp();
    void TiltCubeDown();

    bool ExecuteMoves(CString strMoves);
    bool UndoMove(CString strMove);
    // True when a group (its letter, and its code or '\0' where the string ends)
    // turns a face or the cube; the interpreters perform any other group as no turn.
    static bool IsTurnGroup(char chWhat, char chCode);

    void Shuffle(CProgressCtrl* pProgress);
    void ClearCube();
    CubeFace* FindEdge(BYTE c1, BYTE c2) const;
    CubeFace* FindCorner(BYTE c1, BYTE c2, BYTE c3) const;

    // True when every live facelet equals the centre of its face.
    bool IsSolved() const;

    // Solver.
    int Solve(CProgressCtrl* pProgress);
    CString GetSolution() const;

    // Solver steps, public so that each can be examined on its own.
    void ApplyMacro(const char* pszMacro);
    bool CheckConfiguration() const;
    void SolveTopEdges(CProgressCtrl* pProgress);
    void SolveTopCorners(CProgressCtrl* pProgress);
    void SolveMiddleEdges(CProgressCtrl* pProgress);
    bool SolveBottomEdges(CProgressCtrl* pProgress);
    bool SolveBottomCorners(CProgressCtrl* pProgress);
    int GetBottomEdgeMask(DWORD& dwMask) const;
    int GetCornerTwistMask(DWORD& dwMask) const;
    int GetCornerPlaceMask(DWORD& dwMask) const;
    void SimplifySolution();
    static bool CancelInversePairs(CString& strMoves);
    // The simplification of SimplifySolution carried out on a move string
    // whose groups each carry a tag (one per group of three characters, the
    // last group possibly shorter): returns the tags of the simplified
    // string's groups, which it writes to strMoves. A group that replaces
    // several (merged quarter turns) takes the tag of the first of them; a
    // group that is dropped takes its tag along.
    static std::vector<int> SimplifyTagged(CString& strMoves, std::vector<int> tags);

    // Stages of the layer-by-layer solve, in order; 0 tags the orientation
    // prefix, whose whole-cube turns the simplification folds away.
    enum Stage { STAGE_ORIENTATION = 0, STAGE_TOP_EDGES, STAGE_TOP_CORNERS, STAGE_MIDDLE_EDGES,
                 STAGE_BOTTOM_EDGES, STAGE_BOTTOM_CORNERS, STAGE_COUNT };
    static const char* StageName(int nStage);

    CubeFace* m_pFace[FACE_COUNT] = {};  // live cube, slots T F R L B D
    CString m_strSolution;               // the solver's working string, then its result
    CStringArray m_arrSolutions;         // candidates of the last Solve, in attempt order
    // After Solve: the stage of each move of the solution (one per group,
    // never decreasing); empty when nothing was solved.
    std::vector<int> m_arrStages;
    CubeFace* m_pSaved[FACE_COUNT] = {}; // saved copy, slots T F R L B D

private:
    // Performs one group forward or inverted, then lets the view follow (one
    // UpdateView(false) and one WaitStep, whether or not anything turned).
    void PerformGroup(char chWhat, char chCode, bool bInverse);

    // The rim of each live face resolved to its 12 facelets, made once by the
    // constructor (records never move, so the addresses hold for life).
    BYTE* m_pRim[FACE_COUNT][12] = {};
    // The facelets of every edge and corner position, resolved the same way.
    BYTE* m_pEdge[12][2] = {};
    BYTE* m_pCorner[8][3] = {};

    BYTE* const* ResolvedRim(const CubeFace* pFace, BYTE* (&scratch)[12]) const;
    // Colour of a facelet of the live cube.
    BYTE& At(const FaceletPos& pos) const;
    // Centre colour of the face in a slot.
    BYTE Centre(int nSlot) const { return m_pFace[nSlot]->colors[4]; }
};
