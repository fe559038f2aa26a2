#include "CubeText.h"

#include "TextChars.h"

CString FormatCube(const CCubeSolver& cube)
{
    CString strText;
    strText.reserve(kCubeTextLength);
    for (const CubeFace* pFace : cube.m_pFace)
        for (BYTE c : pFace->colors)
            strText += static_cast<char>('0' + c);
    return strText;
}

bool ParseCubeText(const CString& strText, BYTE colors[kCubeTextLength], CString& strError)
{
    for (size_t i = 0; i < strText.size() && i < kCubeTextLength; ++i) {
        const char ch = strText[i];
        if (ch < '0' || ch > '6') {
            strError = textchars::CharPosition(strText, i) + " is " +
                       textchars::CharName(strText, i) + ", expected a colour digit 0-6";
            return false;
        }
    }
    if (strText.size() != kCubeTextLength) {
        strError = "expected 54 colour digits, found " +
                   std::to_string(textchars::CharCount(strText)) + " characters";
        return false;
    }
    for (size_t i = 0; i < kCubeTextLength; ++i)
        colors[i] = static_cast<BYTE>(strText[i] - '0');
    return true;
}

void LoadCube(CCubeSolver& cube, const BYTE colors[kCubeTextLength])
{
    for (int nSlot = 0; nSlot < CCubeSolver::FACE_COUNT; ++nSlot)
        for (int i = 0; i < 9; ++i)
            cube.m_pFace[nSlot]->colors[i] = colors[FaceletIndex(nSlot, i)];
}

void ReadCube(const CCubeSolver& cube, BYTE colors[kCubeTextLength])
{
    for (int nSlot = 0; nSlot < CCubeSolver::FACE_COUNT; ++nSlot)
        for (int i = 0; i < 9; ++i)
            colors[FaceletIndex(nSlot, i)] = cube.m_pFace[nSlot]->colors[i];
}
