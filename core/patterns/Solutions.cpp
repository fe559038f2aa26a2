#include "Solutions.h"

#include "CubeFormats.h"
#include "CubeSolver.h"
#include "CubeText.h"
#include "ShortSolver.h"

#include <algorithm>
#include <set>

// Nodes the search may visit at each bound, and in all.
constexpr std::uint64_t kBoundNodes = std::uint64_t(1) << 22;
constexpr std::uint64_t kSeveralNodes = std::uint64_t(1) << 24;

namespace {

constexpr char kSlotLetters[] = "TFRLBD";

int Opposite(int nSlot)
{
    static const int kOpposite[6] = {5, 4, 3, 2, 1, 0}; // T-D, F-B, R-L
    return kOpposite[nSlot];
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
    // Each run of turns on one axis: the quarter turns of each of its two
    // faces added up, the lower slot first.
    std::string s;
    size_t p = 0;
    while (p + 1 < strModelMoves.size()) {
        const int nFirst = CCubeSolver::SlotOf(strModelMoves[p]);
        if (nFirst < 0) { // not a face turn: kept as it is
            s += strModelMoves.substr(p, 3);
            p += 3;
            continue;
        }
        const int nLow = std::min(nFirst, Opposite(nFirst));
        int quarters[2] = {0, 0}; // of the lower slot and of the higher
        for (; p + 1 < strModelMoves.size(); p += 3) {
            const int nSlot = CCubeSolver::SlotOf(strModelMoves[p]);
            if (nSlot != nLow && nSlot != Opposite(nLow))
                break;
            const char c = strModelMoves[p + 1];
            quarters[nSlot == nLow ? 0 : 1] += c == '+' ? 1 : c == '*' ? 2 : 3;
        }
        for (int k = 0; k < 2; ++k)
            if (quarters[k] % 4 != 0) {
                s += kSlotLetters[k == 0 ? nLow : Opposite(nLow)];
                s += "+*-"[quarters[k] % 4 - 1];
                s += '.';
            }
    }
    return s;
}

int SolveShortSeveral(const BYTE colors[54], int nMaxLength, size_t nCount, std::vector<std::string>& solutions,
                      const SeveralOptions& options)
{
    solutions.clear();
    std::string strFirst;
    const int nResult = SolveShort(colors, nMaxLength, strFirst);
    if (nResult != kSolved || nCount == 0)
        return nResult;
    nMaxLength = std::min(std::max(nMaxLength, shortsolver::kMinMaxLength), shortsolver::kMaxMaxLength);

    std::vector<std::string> found;
    std::set<std::string> seen;
    auto add = [&](const std::string& strMoves) {
        if (seen.insert(CanonicalMoves(strMoves)).second && Solves(colors, strMoves))
            found.push_back(strMoves);
        return found.size() >= nCount;
    };
    add(strFirst);
    // Each bound from the first solution's length up: every solution the
    // search meets within it, until enough are found or its nodes run out.
    std::uint64_t nNodesSpent = 0;
    for (int nBound = static_cast<int>(strFirst.size() / 3);
         !strFirst.empty() && found.size() < nCount && nBound <= nMaxLength && nNodesSpent < kSeveralNodes;
         ++nBound) {
        if (options.pCancel && options.pCancel->load())
            break;
        shortsolver::CollectOptions collect;
        collect.nNodes = std::min(kBoundNodes, kSeveralNodes - nNodesSpent);
        collect.found = add;
        collect.pCancel = options.pCancel;
        if (options.progress) {
            options.progress(nBound, found.size());
            collect.progress = [&](std::uint64_t) { options.progress(nBound, found.size()); };
        }
        nNodesSpent += shortsolver::CollectSolutions(colors, nBound, collect);
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const std::string& x, const std::string& y) { return x.size() < y.size(); });
    found.resize(std::min(found.size(), nCount));
    solutions = found;
    return nResult;
}
