#include "ExactPhase1.h"

#include "Bits.h"
#include "Threads.h"

#include <atomic>
#include <cstring>

namespace optimal {

using shortsolver::kAxisSymCount;
using shortsolver::kMoveCount;

void BuildExactPhase1(NibbleTable& table, const shortsolver::MoveTables& moves, const shortsolver::DepthTables& depth,
                      int nThreads)
{
    const shortsolver::SymClasses& classes = depth.flipSlice;
    const size_t nRows = classes.rep.size();
    const size_t nColumns = coord::kTwistCount;
    const size_t nCount = nRows * nColumns;
    const std::uint16_t* twistMove = moves.twist.data();
    const std::uint16_t* twistConj = depth.twistConj.data();
    table.Reset(nRows, nColumns);
    const size_t stride = (nColumns + 1) / 2;

    // An entry and those that are the same cube seen through a symmetry
    // keeping its row's representative; how many were unknown.
    auto mark = [&](size_t c, size_t b, int value) {
        size_t n = 0;
        for (unsigned bits = classes.stabiliser[c]; bits != 0; bits &= bits - 1) {
            const size_t bs = twistConj[b * kAxisSymCount + static_cast<size_t>(shortsolver::LowestBit(bits))];
            if (table.Get(c, bs) == NibbleTable::kUnknown) {
                table.Set(c, bs, value);
                ++n;
            }
        }
        return n;
    };
    // The neighbour by move k of entry (c, b).
    auto neighbour = [&](size_t c, size_t b, int k, size_t& c2, size_t& b2) {
        const std::uint32_t cs = depth.classMove[c * kMoveCount + static_cast<size_t>(k)];
        c2 = cs / kAxisSymCount;
        b2 = twistConj[static_cast<size_t>(twistMove[b * kMoveCount + static_cast<size_t>(k)]) * kAxisSymCount +
                       cs % kAxisSymCount];
    };

    const std::uint32_t goal = classes.classOf[static_cast<size_t>(coord::SolvedSlice())];
    size_t nDone = mark(goal / kAxisSymCount, twistConj[goal % kAxisSymCount], 0);
    // Forward while the levels are small: each entry of level d marks its
    // unknown neighbours d + 1. Then backward: each unknown entry whose
    // remainder (in depth.phase1) is that of d + 1 joins d + 1 when it has a
    // neighbour on d; a thread writes only its own rows. (Backward, an entry
    // three or more levels further with that remainder looks in vain; by the
    // time a fiftieth of the entries is known, few are left so far out.)
    for (int d = 0; nDone < nCount && d < NibbleTable::kUnknown - 1; ++d) {
        if (nDone < nCount / 50) {
            size_t nFound = 0;
            const std::uint8_t* data = table.Data();
            for (size_t c = 0; c < nRows; ++c)
                for (size_t b = 0; b < nColumns; ++b) {
                    // Mostly unknown at these levels: eight bytes of unknown
                    // entries are passed at once.
                    if ((b & 15) == 0 && b + 16 <= nColumns) {
                        std::uint64_t w;
                        std::memcpy(&w, data + c * stride + b / 2, sizeof w);
                        if (w == ~std::uint64_t(0)) {
                            b += 15;
                            continue;
                        }
                    }
                    if (table.Get(c, b) != d)
                        continue;
                    for (int k = 0; k < kMoveCount; ++k) {
                        size_t c2, b2;
                        neighbour(c, b, k, c2, b2);
                        if (table.Get(c2, b2) == NibbleTable::kUnknown)
                            nFound += mark(c2, b2, d + 1);
                    }
                }
            nDone += nFound;
            if (nFound == 0)
                break;
            continue;
        }
        const int nNextMod3 = (d + 1) % 3;
        std::atomic<size_t> nFound{0};
        shortsolver::ForBlocks(nRows, 512, nThreads, [&](size_t first, size_t last, size_t) {
            size_t n = 0;
            for (size_t c = first; c < last; ++c)
                for (size_t b = 0; b < nColumns; ++b) {
                    if (table.Get(c, b) != NibbleTable::kUnknown || depth.phase1.Get(c, b) != nNextMod3)
                        continue;
                    for (int k = 0; k < kMoveCount; ++k) {
                        size_t c2, b2;
                        neighbour(c, b, k, c2, b2);
                        if (table.Get(c2, b2) == d) {
                            table.Set(c, b, d + 1);
                            ++n;
                            break;
                        }
                    }
                }
            nFound += n;
        });
        nDone += nFound.load();
        if (nFound.load() == 0)
            break;
    }
}

} // namespace optimal
