#pragma once
// Helpers shared by the core tests: a cube that counts its hooks, random legal
// cubes, and a progress bar that records what it was asked to do.

#include "CubeSolver.h"
#include "CubeText.h"

#include <array>
#include <random>
#include <string>

// Counts every hook and face turn the model makes.
class CountingCube : public CCubeSolver {
public:
    int nUpdateFalse = 0;
    int nUpdateTrue = 0;
    int nWait = 0;
    int nTurnsCW = 0;
    int nTurnsCCW = 0;
    int nCubeLeft = 0;
    int nCubeRight = 0;

    void UpdateView(bool bForce) override { ++(bForce ? nUpdateTrue : nUpdateFalse); }
    void WaitStep() override { ++nWait; }
    void RotateFaceCW(CubeFace* pFace) override
    {
        ++nTurnsCW;
        CCubeSolver::RotateFaceCW(pFace);
    }
    void RotateFaceCCW(CubeFace* pFace) override
    {
        ++nTurnsCCW;
        CCubeSolver::RotateFaceCCW(pFace);
    }
    void TurnCubeLeft() override
    {
        ++nCubeLeft;
        CCubeSolver::TurnCubeLeft();
    }
    void TurnCubeRight() override
    {
        ++nCubeRight;
        CCubeSolver::TurnCubeRight();
    }
    void ResetCounts() { nUpdateFalse = nUpdateTrue = nWait = nTurnsCW = nTurnsCCW = nCubeLeft = nCubeRight = 0; }
};

// Records how often the bar was changed and what it shows.
class RecordingProgress : public CProgressCtrl {
public:
    int nChanges = 0;

protected:
    void Changed() override { ++nChanges; }
};

// The colours of the faces in slot order, as the model numbers them.
inline constexpr BYTE kStandard[6] = {1, 2, 3, 4, 5, 6};

constexpr const char kSolvedText[] = "111111111222222222333333333444444444555555555666666666";

// Whole-cube orientations: each of the 24 as a move string.
inline std::string Orientation(int n)
{
    static const char* const kTops[6] = {"", "C^.", "C^.C^.", "C^.C^.C^.", "C+.C^.", "C-.C^."};
    std::string s = kTops[(n / 4) % 6];
    for (int i = 0; i < n % 4; ++i)
        s += "C+.";
    return s;
}

// A random string of n face quarter or half turns.
inline std::string RandomFaceMoves(std::mt19937& rng, int n)
{
    static const char kFaces[] = "TFRLBD";
    static const char kCodes[] = "+-*";
    std::string s;
    for (int i = 0; i < n; ++i) {
        s += kFaces[rng() % 6];
        s += kCodes[rng() % 3];
        s += '.';
    }
    return s;
}

// Sets cube to a random legal cube, in a random whole-cube orientation.
inline void MakeRandomLegalCube(CCubeSolver& cube, std::mt19937& rng)
{
    CCubeSolver plain;
    plain.ExecuteMoves(RandomFaceMoves(rng, 25 + static_cast<int>(rng() % 16)));
    plain.ExecuteMoves(Orientation(static_cast<int>(rng() % 24)));
    BYTE colors[kCubeTextLength];
    ReadCube(plain, colors);
    LoadCube(cube, colors);
}

inline void LoadText(CCubeSolver& cube, const std::string& strText)
{
    BYTE colors[kCubeTextLength];
    std::string strError;
    if (ParseCubeText(strText, colors, strError))
        LoadCube(cube, colors);
}

// True when the moves, performed one group string after another on the cube
// written as text, leave it solved.
inline bool MovesSolve(const std::string& strEntered, const CStringArray& arrMoves)
{
    CCubeSolver reference;
    LoadText(reference, strEntered);
    for (const CString& strMove : arrMoves)
        reference.ExecuteMoves(strMove);
    return reference.IsSolved();
}

inline std::string SavedText(const CCubeSolver& cube)
{
    std::string s;
    for (const CubeFace* p : cube.m_pSaved)
        for (BYTE c : p->colors)
            s += static_cast<char>('0' + c);
    return s;
}

// Facelet access by face letter, row and column.
inline BYTE& Facelet(CCubeSolver& cube, char chFace, int row, int col)
{
    return cube.GetFace(chFace)->colors[row * 3 + col];
}

// Every facelet of one face.
inline bool FaceAll(const CCubeSolver& cube, char chFace, BYTE c)
{
    for (BYTE x : cube.GetFace(chFace)->colors)
        if (x != c)
            return false;
    return true;
}

// Exchanges the colours of two facelets.
inline void SwapFacelets(CCubeSolver& cube, const FaceletPos& a, const FaceletPos& b)
{
    std::swap(Facelet(cube, a.letter, a.row, a.col), Facelet(cube, b.letter, b.row, b.col));
}

// Flips edge position n in place.
inline void FlipEdge(CCubeSolver& cube, int n)
{
    SwapFacelets(cube, g_edgeTable[n][0], g_edgeTable[n][1]);
}

// Twists corner position n in place (its three facelets shifted one place).
inline void TwistCorner(CCubeSolver& cube, int n, bool bForward = true)
{
    const auto& c = g_cornerTable[n];
    BYTE& a = Facelet(cube, c[0].letter, c[0].row, c[0].col);
    BYTE& b = Facelet(cube, c[1].letter, c[1].row, c[1].col);
    BYTE& e = Facelet(cube, c[2].letter, c[2].row, c[2].col);
    const BYTE x = a, y = b, z = e;
    if (bForward) {
        a = z; b = x; e = y;
    } else {
        a = y; b = z; e = x;
    }
}

// Exchanges the pieces at edge positions m and n (facelet by facelet).
inline void SwapEdges(CCubeSolver& cube, int m, int n)
{
    for (int i = 0; i < 2; ++i)
        SwapFacelets(cube, g_edgeTable[m][i], g_edgeTable[n][i]);
}

// Handedness of a corner position's facelet order: +1 or -1, the sign of the
// triple product of its three face normals (R +x, T +y, F +z).
inline int CornerHandedness(int n)
{
    auto normal = [](char f) -> std::array<int, 3> {
        switch (f) {
        case 'R': return {1, 0, 0};
        case 'L': return {-1, 0, 0};
        case 'T': return {0, 1, 0};
        case 'D': return {0, -1, 0};
        case 'F': return {0, 0, 1};
        default: return {0, 0, -1};
        }
    };
    const auto a = normal(g_cornerTable[n][0].letter);
    const auto b = normal(g_cornerTable[n][1].letter);
    const auto c = normal(g_cornerTable[n][2].letter);
    const int det = a[0] * (b[1] * c[2] - b[2] * c[1]) - a[1] * (b[0] * c[2] - b[2] * c[0]) +
                    a[2] * (b[0] * c[1] - b[1] * c[0]);
    return det > 0 ? 1 : -1;
}

// Exchanges the pieces at corner positions m and n as a person would who took
// the cube apart: each piece keeps its first colour on the first facelet and
// stays a real (unmirrored) piece.
inline void SwapCorners(CCubeSolver& cube, int m, int n)
{
    const auto& pm = g_cornerTable[m];
    const auto& pn = g_cornerTable[n];
    const bool bSame = CornerHandedness(m) == CornerHandedness(n);
    BYTE cm[3], cn[3];
    for (int i = 0; i < 3; ++i) {
        cm[i] = Facelet(cube, pm[i].letter, pm[i].row, pm[i].col);
        cn[i] = Facelet(cube, pn[i].letter, pn[i].row, pn[i].col);
    }
    for (int i = 0; i < 3; ++i) {
        const int j = bSame || i == 0 ? i : 3 - i;
        Facelet(cube, pn[j].letter, pn[j].row, pn[j].col) = cm[i];
        Facelet(cube, pm[j].letter, pm[j].row, pm[j].col) = cn[i];
    }
}
