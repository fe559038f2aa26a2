// Move strings through the interpreters and the simplification.
//
// Input: byte 0 picks how the rest is read.
//  - even: the bytes themselves are the move string: undoing its groups one by one
//          in reverse order after ExecuteMoves restores every facelet, and
//          CancelInversePairs and SimplifySolution must simply survive it;
//  - odd:  each byte is one of the groups a solve records (a face with '+' or '-', or C
//          with '+', '-', '^' or 'v'). Then performing the simplified string gives the
//          same cube as performing the original and undoing its whole-cube turns; the
//          cube carries 54 different labels, so every facelet's place is compared.
// Either way, text that reads as standard notation translates to model groups that
// translate back to the same moves.

#include "CubeFormats.h"
#include "CubeSolver.h"
#include "FuzzCheck.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr const char* kGroups[16] = {"T+.", "T-.", "F+.", "F-.", "R+.", "R-.", "L+.", "L-.",
                                     "B+.", "B-.", "D+.", "D-.", "C+.", "C-.", "C^.", "Cv."};

void Label(CCubeSolver& cube)
{
    BYTE n = 0;
    for (CubeFace* p : cube.m_pFace)
        for (BYTE& c : p->colors)
            c = n++;
}

std::string Labels(const CCubeSolver& cube)
{
    std::string s;
    for (const CubeFace* p : cube.m_pFace)
        s.append(reinterpret_cast<const char*>(p->colors), 9);
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    {
        const std::string s(reinterpret_cast<const char*>(data), size);
        std::string strModel, strError, strStandard, strAgain;
        if (ParseStandardMoves(s, strModel, strError)) {
            FUZZ_CHECK(IsModelMoveString(strModel));
            FUZZ_CHECK(FormatStandardMoves(strModel, strStandard, strError));
            FUZZ_CHECK(ParseStandardMoves(strStandard, strAgain, strError) && strAgain == strModel);
        } else {
            FUZZ_CHECK(!strError.empty());
        }
    }
    if ((data[0] & 1) == 0) {
        const std::string s(reinterpret_cast<const char*>(data + 1), size - 1);
        CCubeSolver cube;
        Label(cube);
        const std::string strStart = Labels(cube);
        cube.ExecuteMoves(s);
        for (size_t p = (s.size() + 2) / 3 * 3; p > 0;) {
            p -= 3;
            std::string group = s.substr(p, 3);
            group.resize(3, '\0'); // a short last group: its missing code turns nothing
            cube.UndoMove(group);
        }
        FUZZ_CHECK(Labels(cube) == strStart);
        cube.UndoMove(s);
        std::string t = s;
        while (CCubeSolver::CancelInversePairs(t)) {
        }
        FUZZ_CHECK(t.size() <= s.size());
        cube.m_strSolution = s;
        cube.SimplifySolution();
        cube.ExecuteMoves(cube.m_strSolution);
        return 0;
    }

    std::string s;
    std::vector<const char*> wholeCube;
    for (size_t i = 1; i < size; ++i) {
        const char* g = kGroups[data[i] % 16];
        s += g;
        if (g[0] == 'C')
            wholeCube.push_back(g);
    }

    CCubeSolver original;
    Label(original);
    original.ExecuteMoves(s);
    for (auto it = wholeCube.rbegin(); it != wholeCube.rend(); ++it)
        original.UndoMove(*it);

    CCubeSolver simplified;
    simplified.m_strSolution = s;
    simplified.SimplifySolution();
    const std::string solution = simplified.m_strSolution;
    FUZZ_CHECK(solution.size() % 3 == 0);
    for (size_t p = 0; p < solution.size(); p += 3) {
        FUZZ_CHECK(std::strchr("TFRLBD", solution[p]) != nullptr);
        FUZZ_CHECK(std::strchr("+-*", solution[p + 1]) != nullptr);
    }
    Label(simplified);
    simplified.ExecuteMoves(solution);
    FUZZ_CHECK(Labels(simplified) == Labels(original));
    return 0;
}
