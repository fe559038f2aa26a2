// Construction, reset, save and restore, face turns and whole-cube turns.

#include "CubeSolver.h"

#include <cctype>
#include <cstring>

namespace {

constexpr char kFaceLetters[CCubeSolver::FACE_COUNT] = {'T', 'F', 'R', 'L', 'B', 'D'};
constexpr const FaceletPos* kRims[CCubeSolver::FACE_COUNT] = {g_rimT, g_rimF, g_rimR,
                                                              g_rimL, g_rimB, g_rimD};

// In-place grid rotations, clockwise as seen from outside the face.
void RotateGridCW(BYTE* c)
{
    BYTE old[9];
    std::memcpy(old, c, 9);
    for (int r = 0; r < 3; ++r)
        for (int col = 0; col < 3; ++col)
            c[r * 3 + col] = old[(2 - col) * 3 + r];
}

void RotateGridCCW(BYTE* c)
{
    BYTE old[9];
    std::memcpy(old, c, 9);
    for (int r = 0; r < 3; ++r)
        for (int col = 0; col < 3; ++col)
            c[r * 3 + col] = old[col * 3 + (2 - r)];
}

// dst receives src turned half way round (element i = src element 8 - i).
void CopyHalfTurned(BYTE* dst, const BYTE* src)
{
    for (int i = 0; i < 9; ++i)
        dst[i] = src[8 - i];
}

} // namespace

CCubeSolver::CCubeSolver()
{
    for (int i = 0; i < FACE_COUNT; ++i) {
        m_pFace[i] = new CubeFace;
        m_pFace[i]->letter = kFaceLetters[i];
        std::memset(m_pFace[i]->colors, i + 1, 9);
        m_pFace[i]->rim = kRims[i];
    }
    for (int i = 0; i < FACE_COUNT; ++i) {
        m_pSaved[i] = new CubeFace;
        m_pSaved[i]->letter = kFaceLetters[i];
        std::memset(m_pSaved[i]->colors, i + 1, 9);
        m_pSaved[i]->rim = kRims[i];
    }
    for (int i = 0; i < FACE_COUNT; ++i)
        for (int k = 0; k < 12; ++k)
            m_pRim[i][k] = &At(kRims[i][k]);
    for (int e = 0; e < 12; ++e)
        for (int j = 0; j < 2; ++j)
            m_pEdge[e][j] = &At(g_edgeTable[e][j]);
    for (int c = 0; c < 8; ++c)
        for (int j = 0; j < 3; ++j)
            m_pCorner[c][j] = &At(g_cornerTable[c][j]);
}

CCubeSolver::~CCubeSolver()
{
    for (CubeFace*& p : m_pFace) {
        delete p;
        p = nullptr;
    }
    for (CubeFace*& p : m_pSaved) {
        delete p;
        p = nullptr;
    }
}

int CCubeSolver::SlotOf(char chLetter)
{
    switch (chLetter) {
    case 'T': return SLOT_T;
    case 'F': return SLOT_F;
    case 'R': return SLOT_R;
    case 'L': return SLOT_L;
    case 'B': return SLOT_B;
    case 'D': return SLOT_D;
    default: return -1;
    }
}

CubeFace* CCubeSolver::GetFace(char chLetter) const
{
    const int nSlot = SlotOf(static_cast<char>(std::toupper(static_cast<unsigned char>(chLetter))));
    return nSlot < 0 ? nullptr : m_pFace[nSlot];
}

BYTE& CCubeSolver::At(const FaceletPos& pos) const
{
    return m_pFace[SlotOf(pos.letter)]->colors[pos.row * 3 + pos.col];
}

BYTE* const* CCubeSolver::ResolvedRim(const CubeFace* pFace, BYTE* (&scratch)[12]) const
{
    // The rim is always resolved on the live cube, whichever record is given.
    const int nSlot = SlotOf(pFace->letter);
    if (nSlot >= 0 && pFace->rim == kRims[nSlot])
        return m_pRim[nSlot];
    for (int k = 0; k < 12; ++k)
        scratch[k] = &At(pFace->rim[k]);
    return scratch;
}

void CCubeSolver::ResetCube()
{
    for (int i = 0; i < FACE_COUNT; ++i) {
        std::memset(m_pFace[i]->colors, i + 1, 9);
        m_pFace[i]->rcFace = Rect();
    }
    UpdateView(false);
}

void CCubeSolver::SaveCube()
{
    for (int i = 0; i < FACE_COUNT; ++i)
        std::memcpy(m_pSaved[i]->colors, m_pFace[i]->colors, 9);
}

void CCubeSolver::RestoreCube()
{
    for (int i = 0; i < FACE_COUNT; ++i)
        std::memcpy(m_pFace[i]->colors, m_pSaved[i]->colors, 9);
}

void CCubeSolver::UpdateView(bool) {}

void CCubeSolver::WaitStep() {}

void CCubeSolver::RotateFaceCW(CubeFace* pFace)
{
    if (!pFace)
        return;
    RotateGridCW(pFace->colors);
    BYTE* scratch[12];
    BYTE* const* rim = ResolvedRim(pFace, scratch);
    BYTE old[12];
    for (int k = 0; k < 12; ++k)
        old[k] = *rim[k];
    for (int k = 0; k < 12; ++k)
        *rim[(k + 3) % 12] = old[k];
}

void CCubeSolver::RotateFaceCCW(CubeFace* pFace)
{
    if (!pFace)
        return;
    RotateGridCCW(pFace->colors);
    BYTE* scratch[12];
    BYTE* const* rim = ResolvedRim(pFace, scratch);
    BYTE old[12];
    for (int k = 0; k < 12; ++k)
        old[k] = *rim[k];
    for (int k = 0; k < 12; ++k)
        *rim[k] = old[(k + 3) % 12];
}

void CCubeSolver::TurnCubeLeft()
{
    BYTE old[FACE_COUNT][9];
    for (int i = 0; i < FACE_COUNT; ++i)
        std::memcpy(old[i], m_pFace[i]->colors, 9);
    RotateGridCW(m_pFace[SLOT_T]->colors);
    std::memcpy(m_pFace[SLOT_F]->colors, old[SLOT_R], 9);
    std::memcpy(m_pFace[SLOT_R]->colors, old[SLOT_B], 9);
    std::memcpy(m_pFace[SLOT_L]->colors, old[SLOT_F], 9);
    std::memcpy(m_pFace[SLOT_B]->colors, old[SLOT_L], 9);
    RotateGridCCW(m_pFace[SLOT_D]->colors);
}

void CCubeSolver::TurnCubeRight()
{
    BYTE old[FACE_COUNT][9];
    for (int i = 0; i < FACE_COUNT; ++i)
        std::memcpy(old[i], m_pFace[i]->colors, 9);
    RotateGridCCW(m_pFace[SLOT_T]->colors);
    std::memcpy(m_pFace[SLOT_F]->colors, old[SLOT_L], 9);
    std::memcpy(m_pFace[SLOT_R]->colors, old[SLOT_F], 9);
    std::memcpy(m_pFace[SLOT_L]->colors, old[SLOT_B], 9);
    std::memcpy(m_pFace[SLOT_B]->colors, old[SLOT_R], 9);
    RotateGridCW(m_pFace[SLOT_D]->colors);
}

void CCubeSolver::TiltCubeUp()
{
    BYTE old[FACE_COUNT][9];
    for (int i = 0; i < FACE_COUNT; ++i)
        std::memcpy(old[i], m_pFace[i]->colors, 9);
    std::memcpy(m_pFace[SLOT_T]->colors, old[SLOT_F], 9);
    std::memcpy(m_pFace[SLOT_F]->colors, old[SLOT_D], 9);
    RotateGridCW(m_pFace[SLOT_R]->colors);
    RotateGridCCW(m_pFace[SLOT_L]->colors);
    CopyHalfTurned(m_pFace[SLOT_B]->colors, old[SLOT_T]);
    CopyHalfTurned(m_pFace[SLOT_D]->colors, old[SLOT_B]);
}

void CCubeSolver::TiltCubeDown()
{
    BYTE old[FACE_COUNT][9];
    for (int i = 0; i < FACE_COUNT; ++i)
        std::memcpy(old[i], m_pFace[i]->colors, 9);
    CopyHalfTurned(m_pFace[SLOT_T]->colors, old[SLOT_B]);
    std::memcpy(m_pFace[SLOT_F]->colors, old[SLOT_T], 9);
    RotateGridCCW(m_pFace[SLOT_R]->colors);
    RotateGridCW(m_pFace[SLOT_L]->colors);
    CopyHalfTurned(m_pFace[SLOT_B]->colors, old[SLOT_D]);
    std::memcpy(m_pFace[SLOT_D]->colors, old[SLOT_F], 9);
}

bool CCubeSolver::IsSolved() const
{
    for (const CubeFace* p : m_pFace)
        for (int i = 0; i < 9; ++i)
            if (p->colors[i] != p->colors[4])
                return false;
    return true;
}
