#include "CubieModel.h"

#include "CubeSolver.h"
#include "Palette.h"

#include <cstring>

namespace {

constexpr const float (&kColors)[Palette::kColorCount][3] = Palette::k3D;
constexpr const float (&kInside)[3] = Palette::kInside3D;
constexpr const float (&kBlank)[3] = Palette::kBlank3D;

// Where facelet (r, c) of a face sits: each position index is
// dr * r + dc * c + d0, and `local` is the cubie face that shows it.
struct FaceletCubie {
    char letter;
    int iR, iC, i0;
    int jR, jC, j0;
    int kR, kC, k0;
    int local;
};

// Indexed by slot T F R L B D.
constexpr FaceletCubie kFaceletCubie[6] = {
    {'T', 0, 1, 0, 0, 0, 2, 1, 0, 0, 1},   // i = c,     j = 2,     k = r,     +y
    {'F', 0, 1, 0, -1, 0, 2, 0, 0, 2, 2},  // i = c,     j = 2 - r, k = 2,     +z
    {'R', 0, 0, 2, -1, 0, 2, 0, -1, 2, 0}, // i = 2,     j = 2 - r, k = 2 - c, +x
    {'L', 0, 0, 0, -1, 0, 2, 0, 1, 0, 5},  // i = 0,     j = 2 - r, k = c,     -x
    {'B', 0, -1, 2, -1, 0, 2, 0, 0, 0, 3}, // i = 2 - c, j = 2 - r, k = 0,     -z
    {'D', 0, 1, 0, 0, 0, 0, -1, 0, 2, 4},  // i = c,     j = 0,     k = 2 - r, -y
};

// What a facelet of colour index nColor looks like in the 3D view.
const float* ShownColor(int nColor)
{
    return nColor >= 1 && nColor <= 6 ? kColors[nColor] : kBlank;
}

int CubieIndex(const FaceletCubie& f, int r, int c)
{
    const int i = f.iR * r + f.iC * c + f.i0;
    const int j = f.jR * r + f.jC * c + f.j0;
    const int k = f.kR * r + f.kC * c + f.k0;
    return i * 9 + j * 3 + k;
}

void SetRGB(float* pDst, const float* pSrc)
{
    std::memcpy(pDst, pSrc, 3 * sizeof(float));
}

} // namespace

void SetCubieFaceColor(int nFace, int nColor, CCubie* p)
{
    if (nColor < 1 || nColor > 6)
        return;
    SetRGB(p->color[nFace], kColors[nColor]);
}

void CycleFaceColors(CCubie* p, int a, int b, int c, int d)
{
    float old[3];
    SetRGB(old, p->color[a]);
    SetRGB(p->color[a], p->color[b]);
    SetRGB(p->color[b], p->color[c]);
    SetRGB(p->color[c], p->color[d]);
    SetRGB(p->color[d], old);
}

CCubieModel::CCubieModel()
{
    for (int n = 0; n < 27; ++n) {
        m_pCubie[n] = new CCubie;
        m_pSavedCubie[n] = new CCubie;
    }
    SetSolvedColors();
}

CCubieModel::~CCubieModel()
{
    for (int n = 0; n < 27; ++n) {
        delete m_pCubie[n];
        delete m_pSavedCubie[n];
    }
}

void CCubieModel::TurnSliceX(int nSlice, int nStep)
{
    TurnSlice(AXIS_X, m_fSliceX, nSlice, nStep);
}

void CCubieModel::TurnSliceY(int nSlice, int nStep)
{
    TurnSlice(AXIS_Y, m_fSliceY, nSlice, nStep);
}

void CCubieModel::TurnSliceZ(int nSlice, int nStep)
{
    TurnSlice(AXIS_Z, m_fSliceZ, nSlice, nStep);
}

void CCubieModel::TurnSlice(Axis axis, float (&fAngles)[3], int nSlice, int nStep)
{
    if (nSlice < 0 || nSlice > 2)
        return;
    float& fAngle = fAngles[nSlice];
    fAngle = fAngle + static_cast<float>(nStep);
    if (nStep < 0 && fAngle == -90.0f) {
        fAngle = 0.0f;
        CommitSlice(axis, nSlice, false);
    } else if (nStep > 0 && fAngle == 90.0f) {
        fAngle = 0.0f;
        CommitSlice(axis, nSlice, true);
    }
}

// Turns the contents of a slice by a quarter turn about its axis,
// right-handed: -90 degrees when bPositive is false, +90 when it is true.
// Each cubie pointer moves to its new position and its colours turn with it.
void CCubieModel::CommitSlice(Axis axis, int nSlice, bool bPositive)
{
    CCubie* pOld[27];
    std::memcpy(pOld, m_pCubie, sizeof(pOld));
    for (int u = 0; u < 3; ++u) {
        for (int v = 0; v < 3; ++v) {
            int i = 0, j = 0, k = 0;    // old position
            int ni = 0, nj = 0, nk = 0; // new position
            switch (axis) {
            case AXIS_X: // (i, j, k) -> (i, k, 2 - j) at -90, (i, 2 - k, j) at +90
                i = nSlice, j = u, k = v;
                ni = i;
                nj = bPositive ? 2 - k : k;
                nk = bPositive ? j : 2 - j;
                break;
            case AXIS_Y: // (i, j, k) -> (2 - k, j, i) at -90, (k, j, 2 - i) at +90
                i = u, j = nSlice, k = v;
                ni = bPositive ? k : 2 - k;
                nj = j;
                nk = bPositive ? 2 - i : i;
                break;
            case AXIS_Z: // (i, j, k) -> (j, 2 - i, k) at -90, (2 - j, i, k) at +90
                i = u, j = v, k = nSlice;
                ni = bPositive ? 2 - j : j;
                nj = bPositive ? i : 2 - i;
                nk = k;
                break;
            }
            CCubie* p = pOld[i * 9 + j * 3 + k];
            m_pCubie[ni * 9 + nj * 3 + nk] = p;
            switch (axis) {
            case AXIS_X:
                bPositive ? CycleFaceColors(p, 3, 4, 2, 1) : CycleFaceColors(p, 1, 2, 4, 3);
                break;
            case AXIS_Y:
                bPositive ? CycleFaceColors(p, 0, 2, 5, 3) : CycleFaceColors(p, 3, 5, 2, 0);
                break;
            case AXIS_Z:
                bPositive ? CycleFaceColors(p, 0, 4, 5, 1) : CycleFaceColors(p, 1, 5, 4, 0);
                break;
            }
        }
    }
}

void CCubieModel::SetFaceletColor(int row, int col, char letter, int nColor)
{
    const int nSlot = CCubeSolver::SlotOf(letter);
    if (nSlot < 0 || row < 0 || row > 2 || col < 0 || col > 2)
        return;
    const FaceletCubie& f = kFaceletCubie[nSlot];
    SetCubieFaceColor(f.local, nColor, m_pCubie[CubieIndex(f, row, col)]);
}

void CCubieModel::SetSolvedColors()
{
    for (CCubie* p : m_pCubie)
        for (float* rgb : p->color)
            SetRGB(rgb, kInside);
    static constexpr char kLetters[6] = {'T', 'F', 'R', 'L', 'B', 'D'};
    for (int n = 0; n < 6; ++n)
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                SetFaceletColor(row, col, kLetters[n], n + 1);
}

void CCubieModel::SaveColors()
{
    for (int n = 0; n < 27; ++n)
        std::memcpy(m_pSavedCubie[n]->color, m_pCubie[n]->color, sizeof(CCubie::color));
}

void CCubieModel::RestoreColors()
{
    for (int n = 0; n < 27; ++n)
        std::memcpy(m_pCubie[n]->color, m_pSavedCubie[n]->color, sizeof(CCubie::color));
}

void CCubieModel::FollowFacelets(const CubeFace* const pFaces[6])
{
    for (int n = 0; n < 6; ++n) {
        const FaceletCubie& f = kFaceletCubie[n];
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 3; ++col) {
                const int nColor = pFaces[n]->colors[row * 3 + col];
                float* rgb = m_pCubie[CubieIndex(f, row, col)]->color[f.local];
                SetRGB(rgb, ShownColor(nColor));
            }
        }
    }
}

bool CCubieModel::MatchesFacelets(const CubeFace* const pFaces[6]) const
{
    for (int n = 0; n < 6; ++n) {
        const FaceletCubie& f = kFaceletCubie[n];
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 3; ++col) {
                const int nColor = pFaces[n]->colors[row * 3 + col];
                const float* want = ShownColor(nColor);
                const float* have = m_pCubie[CubieIndex(f, row, col)]->color[f.local];
                if (std::memcmp(want, have, 3 * sizeof(float)) != 0)
                    return false;
            }
        }
    }
    return true;
}

bool CCubieModel::IsTurning() const
{
    for (int n = 0; n < 3; ++n)
        if (m_fSliceX[n] != 0.0f || m_fSliceY[n] != 0.0f || m_fSliceZ[n] != 0.0f)
            return true;
    return false;
}
