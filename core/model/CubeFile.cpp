#include "CubeFile.h"

#include "CubeFormats.h"
#include "CubeSolver.h"
#include "CubeText.h"

#include <algorithm>
#include <cstring>

namespace {

const char kSpace[] = " \t\r\f\v";

CString Trim(const CString& s)
{
    const size_t b = s.find_first_not_of(kSpace);
    if (b == CString::npos)
        return CString();
    return s.substr(b, s.find_last_not_of(kSpace) - b + 1);
}

struct Reader {
    CubeFile file;
    bool bCube = false;
    int nCubeLine = 0;
    int nSolutionLine = 0;
    int nFieldLine[4] = {}; // method, step, solution, stages: where each was read
    CString strStep;
    CString strStages;
};

bool ReadCube(const CString& strText, BYTE colors[54], CString& strError)
{
    const char chFirst = strText[0];
    if (chFirst >= '0' && chFirst <= '9')
        return ParseCubeText(strText, colors, strError);
    if (std::strchr("URFDLB", chFirst))
        return ParseFaceletString(strText, colors, strError);
    strError = "neither a comment (#) nor a cube: 54 digits 0-6 or 54 letters U R F D L B";
    return false;
}

bool ReadSolution(const CString& strValue, CString& strModel, CString& strError)
{
    CString strCompact;
    for (char ch : strValue)
        if (ch != ' ' && ch != '\t')
            strCompact += ch;
    if (IsModelMoveString(strCompact) && strCompact.size() % 3 == 0) {
        // Groups that turn nothing are no moves to list.
        for (size_t p = 0; p < strCompact.size(); p += 3)
            if (strCompact[p] == 'C' || !CCubeSolver::IsTurnGroup(strCompact[p], strCompact[p + 1])) {
                strError = "move " + std::to_string(p / 3 + 1) + " (" + strCompact.substr(p, 3) +
                           ") is no face turn";
                return false;
            }
        strModel = strCompact;
        return true;
    }
    CString strMoves;
    if (!ParseStandardMoves(strValue, strMoves, strError)) {
        strError = "the solution is neither model groups (F+.T-.) nor standard notation: " + strError;
        return false;
    }
    if (strMoves.find('C') != CString::npos) {
        strError = "the solution turns the whole cube; a solution lists face turns only";
        return false;
    }
    strModel = strMoves;
    return true;
}

bool ReadNumber(const CString& strValue, long long nMax, int& n)
{
    if (strValue.empty() || strValue.size() > 9 || strValue.find_first_not_of("0123456789") != CString::npos)
        return false;
    const long long v = std::stoll(strValue);
    if (v > nMax)
        return false;
    n = static_cast<int>(v);
    return true;
}

} // namespace

bool IsCubeFileCommentLine(const CString& strLine)
{
    const size_t b = strLine.find_first_not_of(kSpace);
    return b != CString::npos && strLine[b] == '#';
}

bool ReadCubeFile(const CString& strText, CubeFile& out, CString& strError)
{
    static const char* const kKeys[4] = {"method", "step", "solution", "stages"};
    Reader r;
    int nLine = 0;
    bool bFirst = true;
    auto fail = [&](int n, const CString& strWhat) {
        strError = "line " + std::to_string(n) + ": " + strWhat;
        return false;
    };
    for (size_t nPos = 0; nPos < strText.size();) {
        size_t nEnd = strText.find('\n', nPos);
        if (nEnd == CString::npos)
            nEnd = strText.size();
        const CString strLine = Trim(strText.substr(nPos, nEnd - nPos));
        nPos = nEnd + 1;
        ++nLine;
        if (strLine.empty())
            continue;
        if (strLine.find('\0') != CString::npos)
            return fail(nLine, "holds a NUL character: this is no text file");
        const bool bWasFirst = bFirst;
        bFirst = false;
        if (strLine.compare(0, 2, "#:") == 0) {
            const CString strField = Trim(strLine.substr(2));
            const size_t nSplit = strField.find_first_of(" \t");
            const CString strKey = strField.substr(0, nSplit);
            const CString strValue = nSplit == CString::npos ? CString() : Trim(strField.substr(nSplit));
            int k = 0;
            while (k < 4 && strKey != kKeys[k])
                ++k;
            if (k == 4)
                return fail(nLine, "unknown field \"" + strKey + "\" (method, step, solution or stages)");
            if (r.nFieldLine[k])
                return fail(nLine, "a second " + strKey + " (the first is on line " +
                                       std::to_string(r.nFieldLine[k]) + ")");
            r.nFieldLine[k] = nLine;
            if (strValue.empty())
                return fail(nLine, "the " + strKey + " field has no value");
            switch (k) {
            case 0:
                if (strValue.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-") !=
                        CString::npos ||
                    strValue.size() > 40)
                    return fail(nLine, "a method is one word of letters, digits and '-'");
                r.file.strMethod = strValue;
                break;
            case 1: r.strStep = strValue; break;
            case 2: {
                CString strWhy;
                if (!ReadSolution(strValue, r.file.strSolution, strWhy))
                    return fail(nLine, strWhy);
                break;
            }
            default: r.strStages = strValue; break;
            }
            continue;
        }
        if (strLine[0] == '#') {
            CString strComment = strLine.substr(1);
            if (bWasFirst && strComment.compare(0, 13, " zelvors-cube") == 0) {
                const CString strVersion = Trim(strComment.substr(13));
                if (strVersion != std::to_string(kCubeFileVersion))
                    return fail(nLine, "version \"" + strVersion + "\" is not known (this program reads version " +
                                           std::to_string(kCubeFileVersion) + ")");
                continue;
            }
            if (!strComment.empty() && strComment[0] == ' ')
                strComment.erase(0, 1);
            r.file.comments.push_back(strComment);
            continue;
        }
        if (r.bCube)
            return fail(nLine, "a second cube (the first is on line " + std::to_string(r.nCubeLine) +
                                   "); a file holds one cube, other lines start with #");
        CString strWhy;
        if (!ReadCube(strLine, r.file.colors, strWhy))
            return fail(nLine, strWhy);
        r.bCube = true;
        r.nCubeLine = nLine;
    }
    if (!r.bCube)
        return fail(std::max(nLine, 1), "the file ends without a cube (54 digits 0-6 or a facelet string)");

    const size_t nMoves = r.file.strSolution.size() / 3;
    const bool bSolution = r.nFieldLine[2] != 0;
    for (int k : {0, 1, 3})
        if (r.nFieldLine[k] && !bSolution)
            return fail(r.nFieldLine[k], CString("a ") + kKeys[k] + " without a solution");
    if (r.nFieldLine[1] && !ReadNumber(r.strStep, static_cast<long long>(nMoves), r.file.nStep))
        return fail(r.nFieldLine[1], "the step is a count of moves played, 0 to " + std::to_string(nMoves));
    if (r.nFieldLine[3]) {
        if (r.strStages.size() != nMoves)
            return fail(r.nFieldLine[3], "the stages give " + std::to_string(r.strStages.size()) +
                                             " moves, the solution has " + std::to_string(nMoves));
        int nLast = 1;
        for (char ch : r.strStages) {
            if (ch < '1' || ch > '5' || ch - '0' < nLast)
                return fail(r.nFieldLine[3], "stages are digits 1-5 that never decrease");
            nLast = ch - '0';
            r.file.stages.push_back(nLast);
        }
    }
    if (bSolution) {
        CCubeSolver cube;
        LoadCube(cube, r.file.colors);
        cube.ExecuteMoves(r.file.strSolution);
        if (!cube.IsSolved())
            return fail(r.nFieldLine[2], "the solution does not solve the cube of line " +
                                             std::to_string(r.nCubeLine));
    }
    out = r.file;
    return true;
}

CString WriteCubeFile(const CubeFile& file)
{
    CString s = "# zelvors-cube " + std::to_string(kCubeFileVersion) + "\n";
    for (const CString& strComment : file.comments) {
        // A comment line never becomes a field, a cube or two lines.
        CString strLine;
        for (char ch : strComment)
            strLine += ch == '\n' || ch == '\r' ? ' ' : ch;
        s += strLine.empty() ? CString("#\n") : "# " + strLine + "\n";
    }
    for (BYTE c : file.colors)
        s += static_cast<char>('0' + c);
    s += '\n';
    if (file.strSolution.empty())
        return s;
    if (!file.strMethod.empty())
        s += "#: method " + file.strMethod + "\n";
    s += "#: step " + std::to_string(file.nStep) + "\n";
    s += "#: solution " + file.strSolution + "\n";
    if (!file.stages.empty()) {
        s += "#: stages ";
        for (int n : file.stages)
            s += static_cast<char>('0' + n);
        s += '\n';
    }
    return s;
}
