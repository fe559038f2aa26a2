#include "CubeFormats.h"

#include "CubeSolver.h"
#include "CubeText.h"
#include "Notation.h"
#include "TextChars.h"

#include <cstring>
#include <utility>

namespace {

// Faces of the standard facelet string in its order, and the slot (T F R L B D)
// each is stored in.
constexpr char kStandardFaces[6] = {'U', 'R', 'F', 'D', 'L', 'B'};
constexpr int kStandardToSlot[6] = {0, 2, 1, 5, 3, 4};
// Standard letter of each slot.
constexpr char kSlotToStandard[6] = {'U', 'F', 'R', 'L', 'B', 'D'};
// Model letter of each slot.
constexpr char kSlotLetters[6] = {'T', 'F', 'R', 'L', 'B', 'D'};

int SlotOfStandard(char ch)
{
    for (int s = 0; s < 6; ++s)
        if (kSlotToStandard[s] == ch)
            return s;
    return -1;
}

int SlotOfModel(char ch)
{
    for (int s = 0; s < 6; ++s)
        if (kSlotLetters[s] == ch)
            return s;
    return -1;
}

// "character N is 'c', expected ..." for the character at byte i.
CString Unexpected(const CString& strText, size_t i, const char* pszExpected)
{
    return textchars::CharPosition(strText, i) + " is " + textchars::CharName(strText, i) +
           ", expected " + pszExpected;
}

} // namespace

bool FormatFaceletString(const BYTE colors[kFaceletStringLength], CString& strOut,
                         CString& strError)
{
    char letterOf[7] = {};
    for (int s = 0; s < 6; ++s) {
        const BYTE c = colors[CentreIndex(s)];
        if (c < 1 || c > 6 || letterOf[c] != 0) {
            strError = "the centres are not six different colours";
            return false;
        }
        letterOf[c] = kSlotToStandard[s];
    }
    CString strText;
    strText.reserve(kFaceletStringLength);
    for (int k = 0; k < 6; ++k) {
        const int nSlot = kStandardToSlot[k];
        for (int i = 0; i < 9; ++i) {
            const BYTE c = colors[FaceletIndex(nSlot, i)];
            if (c < 1 || c > 6) {
                strError = "a facelet of face " + CString(1, kStandardFaces[k]) + " is blank";
                return false;
            }
            strText += letterOf[c];
        }
    }
    strOut = strText;
    return true;
}

bool ParseFaceletString(const CString& strText, BYTE colors[kFaceletStringLength],
                        CString& strError)
{
    for (size_t i = 0; i < strText.size() && i < kFaceletStringLength; ++i)
        if (SlotOfStandard(strText[i]) < 0) {
            const char ch = strText[i];
            const bool bLowerCase =
                ch >= 'a' && ch <= 'z' && SlotOfStandard(static_cast<char>(ch - 'a' + 'A')) >= 0;
            strError = Unexpected(strText, i,
                                  bLowerCase ? "an upper-case face letter U R F D L B"
                                             : "a face letter U R F D L B");
            return false;
        }
    if (strText.size() != kFaceletStringLength) {
        strError = "expected 54 face letters, found " +
                   std::to_string(textchars::CharCount(strText)) + " characters";
        return false;
    }
    for (int k = 0; k < 6; ++k) {
        const int nSlot = kStandardToSlot[k];
        for (int i = 0; i < 9; ++i)
            colors[FaceletIndex(nSlot, i)] = static_cast<BYTE>(SlotOfStandard(strText[k * 9 + i]) + 1);
    }
    return true;
}

bool IsFaceletStringLike(const CString& strText)
{
    if (strText.size() != kFaceletStringLength)
        return false;
    for (char ch : strText)
        if (SlotOfStandard(ch) < 0)
            return false;
    return true;
}

namespace {

// The model's groups of an algorithm. A slice, wide or rotation move is
// several groups, so an algorithm within the notation's limit can pass it
// here; such a string is refused as the notation refuses one, so that what
// is accepted formats back to text that is accepted again.
bool ToModelWithinLimit(const notation::Algorithm& alg, CString& strModelMoves, CString& strError)
{
    CString strModel = notation::ToModelMoves(alg);
    if (strModel.size() / 3 > notation::kMaxMoves) {
        strError = "the algorithm holds more than " + std::to_string(notation::kMaxMoves) +
                   " moves once its repeats are written out";
        return false;
    }
    strModelMoves = std::move(strModel);
    return true;
}

} // namespace

bool ParseStandardMoves(const CString& strText, CString& strModelMoves, CString& strError)
{
    notation::Algorithm alg;
    if (!notation::Parse(strText, alg, strError))
        return false;
    return ToModelWithinLimit(alg, strModelMoves, strError);
}

bool ParseMoveText(const CString& strText, CString& strModelMoves, CString& strError,
                   bool bInverse)
{
    // The model's groups, every one of them a move.
    size_t nBadGroup = CString::npos;
    for (size_t p = 0; p < strText.size(); p += 3)
        if (!CCubeSolver::IsTurnGroup(strText[p], p + 1 < strText.size() ? strText[p + 1] : '\0')) {
            nBadGroup = p;
            break;
        }
    if (nBadGroup == CString::npos) {
        strModelMoves = bInverse ? InverseModelMoves(strText) : strText;
        return true;
    }
    notation::Algorithm alg;
    CString strStandardError;
    size_t nStandardStop = 0;
    if (notation::Parse(strText, alg, strStandardError, &nStandardStop)) {
        return ToModelWithinLimit(bInverse ? notation::Inverse(alg) : alg, strModelMoves, strError);
    }
    // Neither: the reading that got further says what is wrong.
    if (nBadGroup > nStandardStop) {
        const CString strGroup = strText.substr(nBadGroup, 3);
        strError = "group " + std::to_string(nBadGroup / 3 + 1) + " \"" + strGroup + "\" at " +
                   textchars::CharPosition(strText, nBadGroup) +
                   " is no move: expected a face T F R L B D with + - *, or C with + - ^ v";
    } else {
        strError = strStandardError;
    }
    return false;
}

bool FormatStandardMoves(const CString& strModelMoves, CString& strOut, CString& strError)
{
    CString strText;
    for (size_t p = 0; p < strModelMoves.size(); p += 3) {
        const char chWhat = strModelMoves[p];
        const char chCode = p + 1 < strModelMoves.size() ? strModelMoves[p + 1] : '\0';
        CString strMove;
        if (chWhat == 'C') {
            switch (chCode) {
            case '^': strMove = "x"; break;
            case 'v': strMove = "x'"; break;
            case '-': strMove = "y"; break;
            case '+': strMove = "y'"; break;
            default: break;
            }
        } else if (SlotOfModel(chWhat) >= 0) {
            const char chFace = kSlotToStandard[SlotOfModel(chWhat)];
            switch (chCode) {
            case '+': strMove = CString(1, chFace); break;
            case '-': strMove = CString(1, chFace) + "'"; break;
            case '*': strMove = CString(1, chFace) + "2"; break;
            default: break;
            }
        }
        if (strMove.empty()) {
            strError = "move " + std::to_string(p / 3 + 1) + " (\"" + strModelMoves.substr(p, 3) +
                       "\") is no move";
            return false;
        }
        if (!strText.empty())
            strText += ' ';
        strText += strMove;
    }
    strOut = strText;
    return true;
}

bool IsModelMoveString(const CString& strText)
{
    if (strText.size() % 3 != 0)
        return false;
    for (size_t p = 0; p < strText.size(); p += 3) {
        const char chWhat = strText[p];
        const char chCode = strText[p + 1];
        if (chWhat == 'C') {
            if (!std::strchr("+-^v", chCode) || chCode == '\0')
                return false;
        } else if (SlotOfModel(chWhat) < 0 || !std::strchr("+-*", chCode) || chCode == '\0') {
            return false;
        }
    }
    return true;
}

CString InverseModelMoves(const CString& strModelMoves)
{
    CString strInverse;
    for (size_t n = strModelMoves.size() / 3; n-- > 0;) {
        const char chWhat = strModelMoves[n * 3];
        char chCode = strModelMoves[n * 3 + 1];
        switch (chCode) {
        case '+': chCode = '-'; break;
        case '-': chCode = '+'; break;
        case '^': chCode = 'v'; break;
        case 'v': chCode = '^'; break;
        default: break;
        }
        strInverse += chWhat;
        strInverse += chCode;
        strInverse += '.';
    }
    return strInverse;
}

CubeTextReading ReadCubeOrMoves(const CString& strText, bool bInverseMoves)
{
    CubeTextReading r;
    const size_t b = strText.find_first_not_of(" \t\r\n");
    const CString strTrimmed =
        b == CString::npos ? CString()
                           : strText.substr(b, strText.find_last_not_of(" \t\r\n") - b + 1);
    if (strTrimmed.empty()) {
        r.strError = "there is nothing to read";
        return r;
    }
    if (strTrimmed.find_first_not_of("0123456789") == CString::npos) {
        if (ParseCubeText(strTrimmed, r.colors, r.strError))
            r.kind = CubeTextKind::DIGITS;
        return r;
    }
    if (IsFaceletStringLike(strTrimmed)) {
        if (ParseFaceletString(strTrimmed, r.colors, r.strError))
            r.kind = CubeTextKind::FACELETS;
        return r;
    }
    notation::Algorithm alg;
    if (!notation::Parse(strTrimmed, alg, r.strError)) {
        // 54 characters without a space were most likely meant as facelets.
        if (strTrimmed.size() == kFaceletStringLength &&
            strTrimmed.find_first_of(" \t\r\n") == CString::npos)
            ParseFaceletString(strTrimmed, r.colors, r.strError);
        return r;
    }
    r.metrics = notation::Count(alg);
    r.strModelMoves = notation::ToModelMoves(bInverseMoves ? notation::Inverse(alg) : alg);
    CCubeSolver cube;
    cube.ExecuteMoves(r.strModelMoves);
    ReadCube(cube, r.colors);
    r.kind = CubeTextKind::STANDARD_MOVES;
    return r;
}
