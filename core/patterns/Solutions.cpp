#include "Solutions.h"

#include "CubeFormats.h"
#include "CubeSolver.h"
#include "CubeText.h"
#include "CubieCube.h"
#include "ShortSolver.h"

#include <algorithm>
#include <set>

namespace {

constexpr char kSlotLetters[] = "TFRLBD";

int Opposite(int nSlot)
{
    static const int kOpposite[6] = {5, 4, 3, 2, 1, 0}; // T-D, F-B, R-L
    return kOpposite[nSlot];
}

// Turns of one face side by side made one (or none): R+ R+ is R*, R+ R- nothing.
std::string MergeTurns(const std::string& strModelMoves)
{
    std::vector<std::pair<char, int>> turns; // slot letter, quarter turns
    for (size_t p = 0; p + 1 < strModelMoves.size(); p += 3) {
        const char c = strModelMoves[p + 1];
        const int q = c == '+' ? 1 : c == '*' ? 2 : 3;
        if (!turns.empty() && turns.back().first == strModelMoves[p]) {
            turns.back().second = (turns.back().second + q) % 4;
            if (turns.back().second == 0)
                turns.pop_back();
        } else {
            turns.push_back({strModelMoves[p], q});
        }
    }
    std::string s;
    for (const auto& t : turns) {
        s += t.first;
        s += "+*-"[t.second - 1];
        s += '.';
    }
    return s;
}

bool Solves(const BYTE colors[54], const std::string& strMoves)
{
    CCubeSolver cube;
    LoadCube(cube, colors);
    cube.ExecuteMoves(strMoves);
    return cube.IsSolved();
}

} // namespace

std::string CanonicalMoves(const std::string& strModelMoves)
{
    std::vector<std::string> groups;
    for (size_t p = 0; p + 1 < strModelMoves.size(); p += 3)
        groups.push_back(strModelMoves.substr(p, 2));
    // Two turns of opposite faces side by side commute: lower slot first.
    for (size_t i = 0; i + 1 < groups.size(); ++i) {
        const int a = CCubeSolver::SlotOf(groups[i][0]), b = CCubeSolver::SlotOf(groups[i + 1][0]);
        if (a >= 0 && b >= 0 && Opposite(a) == b && b < a)
            std::swap(groups[i], groups[i + 1]);
    }
    std::string s;
    for (const std::string& g : groups)
        s += g + '.';
    return s;
}

int SolveShortSeveral(const BYTE colors[54], int nMaxLength, size_t nCount,
                      std::vector<std::string>& solutions)
{
    solutions.clear();
    std::string strFirst;
    const int nResult = SolveShort(colors, nMaxLength, strFirst);
    if (nResult != kSolved || nCount == 0)
        return nResult;
    cubie::CubieCube a;
    cubie::ReadVerdict(colors, &a);
    const cubie::CentreReading centres = cubie::ReadCentres(colors);

    struct Found {
        std::string moves;
        size_t order;
    };
    std::vector<Found> found;
    std::set<std::string> seen;
    auto add = [&](const std::string& strMoves) {
        if (seen.insert(CanonicalMoves(strMoves)).second && Solves(colors, strMoves))
            found.push_back({strMoves, found.size()});
    };
    add(strFirst);
    if (strFirst.empty())
        nCount = 1; // a solved cube: nothing to choose from
    // The solution of the inverse cube, undone.
    BYTE inverse[54];
    cubie::WriteFacelets(a.Inverse(), centres.colour, inverse);
    std::string strInverse;
    if (nCount > 1 && SolveShort(inverse, nMaxLength, strInverse) == kSolved)
        add(InverseModelMoves(strInverse));
    // Each first move in turn, the rest the short solver's answer for the cube
    // after it; of the cube, then of its inverse (undone).
    for (int nInverse = 0; nInverse < 2 && nCount > 1; ++nInverse) {
        const cubie::CubieCube start = nInverse ? a.Inverse() : a;
        for (int m = 0; m < 3 * cubie::kFaceCount; ++m) {
            cubie::CubieCube next = start;
            for (int q = 0; q <= m % 3; ++q)
                next = next * cubie::FaceTurn(m / 3);
            BYTE after[54];
            cubie::WriteFacelets(next, centres.colour, after);
            std::string strRest;
            if (SolveShort(after, nMaxLength, strRest) != kSolved)
                continue;
            std::string strMoves = std::string(1, kSlotLetters[m / 3]) + "+*-"[m % 3] + "." + strRest;
            strMoves = MergeTurns(strMoves);
            if (static_cast<int>(strMoves.size() / 3) > nMaxLength)
                continue;
            add(nInverse ? InverseModelMoves(strMoves) : strMoves);
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Found& x, const Found& y) { return x.moves.size() < y.moves.size(); });
    for (size_t i = 0; i < found.size() && i < nCount; ++i)
        solutions.push_back(found[i].moves);
    return nResult;
}
