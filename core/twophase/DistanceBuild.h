#pragma once
// How the symmetry-reduced distance tables are built, for the tables of this
// layer and of the layers on it.

#include "Bits.h"
#include "DepthTables.h"
#include "MoveTables.h"
#include "Threads.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <vector>

namespace shortsolver {

// The flip and the middle layer's edges together, flip * nSlices + slice:
// with bOrder the sorted slice coordinate (their places and order), else
// their places alone (the sorted coordinate / 24). Its call is the value a
// move takes a value to.
struct FlipSliceMove {
    const std::uint16_t* flipMove;
    const std::uint16_t* sliceMove;
    size_t nSlices;
    size_t operator()(size_t v, int k) const
    {
        const size_t flip = v / nSlices, slice = v % nSlices;
        return static_cast<size_t>(flipMove[flip * kMoveCount + static_cast<size_t>(k)]) * nSlices +
               sliceMove[slice * kMoveCount + static_cast<size_t>(k)];
    }
};
// Fills classes with the classes of those values under the 16 symmetries,
// and classMove[class * kMoveCount + k] with classes.classOf of the class's
// representative after move k; returns how the values move.
FlipSliceMove BuildFlipSliceClasses(const MoveTables& moves, bool bOrder, SymClasses& classes,
                                    std::vector<std::uint32_t, LargePageAllocator<std::uint32_t>>& classMove);

template <class Conj>
void SymClasses::Build(size_t nCount, Conj conj)
{
    constexpr std::uint32_t kNone = 0xFFFFFFFFu;
    classOf.assign(nCount, kNone);
    rep.clear();
    stabiliser.clear();
    for (size_t v = 0; v < nCount; ++v) {
        if (classOf[v] != kNone)
            continue;
        const std::uint32_t c = static_cast<std::uint32_t>(rep.size());
        rep.push_back(static_cast<std::uint32_t>(v));
        unsigned bits = 0;
        for (int s = 0; s < kAxisSymCount; ++s) {
            const size_t w = conj(v, s);
            if (w == v)
                bits |= 1u << s;
            // Symmetry s takes v to w, so its inverse takes w back to v.
            if (classOf[w] == kNone)
                classOf[w] = c * kAxisSymCount + static_cast<std::uint32_t>(GetAxisSymmetry(s).inverse);
        }
        stabiliser.push_back(static_cast<std::uint16_t>(bits));
    }
}

namespace detail {
constexpr std::uint64_t kLowBits = 0x5555555555555555ull;
} // namespace detail

// Fills table with distances from (class of startA, 0): rows are the classes
// of coordinate A, columns the values of B. moveA(a, k) is the value move k
// takes a to; moveB[b * nMoves + k] likewise for B; conjB[b * kAxisSymCount + s]
// is b seen through symmetry s.
//
// Early levels expand the cubes of the level just reached; once most entries
// are known, each unknown one looks for a neighbour on the level instead.
// An entry found by expanding also marks the entries that are the same cube
// seen through a symmetry keeping its row's representative, so every level
// is complete before the next begins.
//
// False, the table incomplete, when *pCancel was set meanwhile (it is looked
// at every few thousand rows).
template <class MoveA>
bool BuildDistances(Mod3Table& table, const SymClasses& a, MoveA moveA, int nMoves, size_t nB,
                    const std::uint16_t* moveB, const std::uint16_t* conjB, size_t nStartA, int nThreads = 1,
                    const std::function<void(double)>& progress = {}, const std::atomic<bool>* pCancel = nullptr)
{
    auto cancelled = [pCancel] { return pCancel && pCancel->load(std::memory_order_relaxed); };
    const size_t nRows = a.rep.size();
    const size_t nCount = nRows * nB;
    table.Reset(nRows, nB);
    size_t nDone = 0;
    auto mark = [&](size_t c, size_t b, int value) {
        for (unsigned bits = a.stabiliser[c]; bits != 0; bits &= bits - 1) {
            const size_t s = static_cast<size_t>(LowestBit(bits));
            const size_t bs = conjB[b * kAxisSymCount + s];
            if (table.Get(c, bs) == Mod3Table::kUnknown) {
                table.Set(c, bs, value);
                ++nDone;
            }
        }
    };
    const std::uint32_t start = a.classOf[nStartA];
    mark(start / kAxisSymCount, conjB[start % kAxisSymCount], 0);

    // One level over the rows [first, last). Backward, each unknown entry
    // that has a neighbour on the level joins the next one: a thread writes
    // only its own rows then (each row whole bytes), and what it reads of
    // other rows is either on the level or not whenever it is read. Forward,
    // each entry on the level marks its unknown neighbours (one thread).
    auto level = [&](size_t first, size_t last, int d, bool bBackward, size_t& nFound) {
        const int nLevel = d % 3;
        const int next = (d + 1) % 3;
        std::vector<size_t> nextRow(static_cast<size_t>(nMoves));
        std::vector<const std::uint16_t*> nextConj(static_cast<size_t>(nMoves));
        for (size_t c = first; c < last; ++c) {
            if ((c & 4095) == 0 && cancelled())
                return;
            for (int k = 0; k < nMoves; ++k) {
                const std::uint32_t cs = a.classOf[moveA(a.rep[c], k)];
                nextRow[static_cast<size_t>(k)] = cs / kAxisSymCount;
                nextConj[static_cast<size_t>(k)] = conjB + cs % kAxisSymCount;
            }
            // The row is read 32 entries at a time: mask has the low bit of
            // every entry that this level works on.
            const std::uint8_t* line = table.Data() + c * table.Stride();
            for (size_t i = 0; i < table.Stride(); i += 8) {
                std::uint64_t w = 0;
                const size_t nBytes = std::min<size_t>(8, table.Stride() - i);
                for (size_t j = 0; j < nBytes; ++j)
                    w |= static_cast<std::uint64_t>(line[i + j]) << (8 * j);
                std::uint64_t mask;
                if (bBackward) {
                    mask = w & (w >> 1) & detail::kLowBits;
                } else {
                    const std::uint64_t x = w ^ (detail::kLowBits * static_cast<std::uint64_t>(nLevel));
                    mask = ~(x | (x >> 1)) & detail::kLowBits;
                }
                for (; mask != 0; mask &= mask - 1) {
                    const size_t b = i * 4 + static_cast<size_t>(LowestBit(mask)) / 2;
                    if (b >= nB)
                        break;
                    const std::uint16_t* rowB = moveB + b * static_cast<size_t>(nMoves);
                    if (bBackward) {
                        for (int k = 0; k < nMoves; ++k) {
                            const size_t b2 = nextConj[static_cast<size_t>(k)][rowB[k] * kAxisSymCount];
                            if (table.Get(nextRow[static_cast<size_t>(k)], b2) == nLevel) {
                                table.Set(c, b, next);
                                ++nFound;
                                break;
                            }
                        }
                    } else {
                        // Entries of level d - 3 share the remainder; their
                        // neighbours are all known, so expanding them adds nothing.
                        for (int k = 0; k < nMoves; ++k) {
                            const size_t c2 = nextRow[static_cast<size_t>(k)];
                            const size_t b2 = nextConj[static_cast<size_t>(k)][rowB[k] * kAxisSymCount];
                            if (table.Get(c2, b2) == Mod3Table::kUnknown)
                                mark(c2, b2, next);
                        }
                    }
                }
            }
        }
    };

    for (int d = 0; nDone < nCount; ++d) {
        const size_t nBefore = nDone;
        const bool bBackward = nDone > nCount / 3;
        if (!bBackward || nThreads <= 1) {
            level(0, nRows, d, bBackward, nDone);
        } else {
            std::vector<size_t> found(static_cast<size_t>(nThreads), 0);
            ForBlocks(nRows, 1024, nThreads,
                      [&](size_t first, size_t last, size_t t) { level(first, last, d, true, found[t]); });
            for (size_t n : found)
                nDone += n;
        }
        if (cancelled())
            return false;
        if (nDone == nBefore)
            break; // the rest is out of reach (no entry of the tables here)
        // The work of a level grows with the entries still unknown (backward)
        // or with those just found (forward): the share of the known ones
        // squared tells roughly how far it is.
        if (progress) {
            const double f = static_cast<double>(nDone) / static_cast<double>(nCount);
            progress(f * f);
        }
    }
    return true;
}

} // namespace shortsolver
