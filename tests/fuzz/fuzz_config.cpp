// Any configuration the view can hold (54 colour indexes 0..6) through Solve.
//
// Input: byte 0 picks how the rest is read.
//  - even: the 54 colour indexes themselves, each byte taken mod 7 (missing bytes are 0);
//  - odd:  a cube made from the solved one: byte 1 is a number of face turns, the next
//          bytes those turns, and the remaining byte pairs repaint a facelet or swap two.
//          This reaches the solver's stages far more often than raw colours do.
// Checked on every input: the result is 0, 1 or 2; Solve turns faces a bounded number of
// times; result 1 touches nothing; otherwise the live and saved cube are the entered one;
// result 0 comes with a solution of face groups only, which solves the entered cube.
// The diagnosis gives the same result and problems exactly when it is not 0; filling
// blanks never changes a painted facelet.

#include "CubeDiagnosis.h"
#include "CubeSolver.h"
#include "CubeText.h"
#include "FuzzCheck.h"
#include "TestCube.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace {

// Far above what any solve needs (24 attempts of a few hundred turns each).
constexpr long kMaxTurns = 200000;

constexpr char kFaces[6] = {'T', 'F', 'R', 'L', 'B', 'D'};

std::string Saved(const CCubeSolver& cube)
{
    std::string s;
    for (const CubeFace* p : cube.m_pSaved)
        for (BYTE c : p->colors)
            s += static_cast<char>('0' + c);
    return s;
}

void BuildCube(const uint8_t* data, size_t size, BYTE colors[54])
{
    if (size == 0 || (data[0] & 1) == 0) {
        for (size_t i = 0; i < 54; ++i)
            colors[i] = static_cast<BYTE>((i + 1 < size ? data[i + 1] : 0) % 7);
        return;
    }
    CCubeSolver cube;
    size_t p = 1;
    const size_t nTurns = p < size ? data[p++] % 41 : 0;
    std::string moves;
    for (size_t i = 0; i < nTurns && p < size; ++i, ++p) {
        moves += kFaces[data[p] % 6];
        moves += "+-*"[(data[p] / 6) % 3];
        moves += '.';
    }
    cube.ExecuteMoves(moves);
    const std::string text = FormatCube(cube);
    for (size_t i = 0; i < 54; ++i)
        colors[i] = static_cast<BYTE>(text[i] - '0');
    for (; p + 1 < size; p += 2) {
        const size_t a = data[p] % 54;
        const uint8_t b = data[p + 1];
        if (b < 128)
            std::swap(colors[a], colors[b % 54]);
        else
            colors[a] = static_cast<BYTE>(b % 7);
    }
}

bool OnlyFaceGroups(const std::string& s)
{
    if (s.size() % 3 != 0)
        return false;
    for (size_t p = 0; p < s.size(); p += 3) {
        if (!std::memchr(kFaces, s[p], 6) || !std::strchr("+-*", s[p + 1]) || s[p + 1] == '\0' ||
            s[p + 2] != '.')
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    BYTE colors[54];
    BuildCube(data, size, colors);

    CountingCube cube;
    LoadCube(cube, colors);
    cube.SaveCube();
    // Something to recognise in the saved copy and the results.
    for (CubeFace* p : cube.m_pSaved)
        std::memset(p->colors, 6, 9);
    const std::string entered = FormatCube(cube);
    const std::string savedBefore = Saved(cube);
    cube.m_strSolution = "untouched";
    cube.m_arrSolutions = {"untouched too"};

    const int nResult = cube.Solve(nullptr);
    FUZZ_CHECK(nResult == 0 || nResult == 1 || nResult == 2);
    const CubeDiagnosis diagnosis = DiagnoseCube(colors);
    FUZZ_CHECK(diagnosis.nResult == nResult);
    FUZZ_CHECK(diagnosis.problems.empty() == (nResult == 0));
    const FillResult fill = FillDetermined(colors);
    for (int i = 0; i < 54; ++i)
        FUZZ_CHECK(colors[i] == 0 || fill.colors[i] == colors[i]);
    FUZZ_CHECK((cube.nTurnsCW + cube.nTurnsCCW) <= kMaxTurns);
    if (nResult == 1) {
        FUZZ_CHECK((cube.nTurnsCW + cube.nTurnsCCW) == 0);
        FUZZ_CHECK(FormatCube(cube) == entered);
        FUZZ_CHECK(Saved(cube) == savedBefore);
        FUZZ_CHECK(cube.m_strSolution == "untouched");
        FUZZ_CHECK(cube.m_arrSolutions.size() == 1 && cube.m_arrSolutions[0] == "untouched too");
        return 0;
    }
    FUZZ_CHECK(FormatCube(cube) == entered);
    FUZZ_CHECK(Saved(cube) == entered);
    if (nResult == 0) {
        const std::string solution = cube.GetSolution();
        FUZZ_CHECK(OnlyFaceGroups(solution));
        CCubeSolver check;
        LoadCube(check, colors);
        check.ExecuteMoves(solution);
        FUZZ_CHECK(check.IsSolved());
    }
    return 0;
}
