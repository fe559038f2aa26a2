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

// The flip and the middle layer's edges together, flip * slices + slice: with
// bOrder the sorted slice coordinate (their places and order), else their
// places alone (the sorted coordinate / 24). Fills classes with the classes
// of those values under the 16 symmetries, and classMove[class * kMoveCount
// + k] with classes.classOf of the class's representative after move k.
void BuildFlipSliceClasses(const MoveTables& moves, bool bOrder, SymClasses& classes,
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

// How a symmetry-reduced coordinate's rows move: RowMove(c, k) is the class
// * kAxisSymCount + symmetry (classes.classOf) of row c's representative
// after move k. From a move of the coordinate's values, or from a table of
// the rows' moves such as BuildFlipSliceClasses makes.
template <class MoveA>
auto RowMoveOf(const SymClasses& a, MoveA moveA)
{
    return [&a, moveA](size_t c, int k) { return a.classOf[moveA(a.rep[c], k)]; };
}
inline auto RowMoveOf(const std::uint32_t* classMove, int nMoves)
{
    return [classMove, nMoves](size_t c, int k) {
        return classMove[c * static_cast<size_t>(nMoves) + static_cast<size_t>(k)];
    };
}

// Fills table with distances from (class of startA, 0): rows are the classes
// of coordinate A, columns the values of B. rowMove(c, k) is where move k
// takes row c (RowMoveOf); moveB[b * nMoves + k] the value move k takes b to
// (nMoves at most kMoveCount); conjB[b * kAxisSymCount + s] is b seen
// through symmetry s.
//
// Early levels expand the cubes of the level just reached; once most entries
// are known, each unknown one looks for a neighbour on the level instead.
// An entry found by expanding also marks the entries that are the same cube
// seen through a symmetry keeping its row's representative, so every level
// is complete before the next begins. The backward levels share the rows
// among nThreads threads.
//
// False, the table incomplete, when *pCancel was set meanwhile (it is looked
// at every few thousand rows).
template <class RowMove>
bool BuildDistances(Mod3Table& table, const SymClasses& a, RowMove rowMove, int nMoves, size_t nB,
                    const std::uint16_t* moveB, const std::uint16_t* conjB, size_t nStartA, int nThreads = 1,
                    const std::function<void(double)>& progress = {}, const std::atomic<bool>* pCancel = nullptr)
{
    auto cancelled = [pCancel] { return pCancel && pCancel->load(std::memory_order_relaxed); };
    const size_t nRows = a.rep.size();
    const size_t nCount = nRows * nB;
    table.Reset(nRows, nB);
    size_t nDone = 0;
    // Sets (c, b) and its images under the symmetries keeping c's
    // representative, those still unknown (on one thread: the forward levels).
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

    const size_t nStride = table.Stride();
    const size_t nLastWord = (nStride - 1) / 8 * 8; // the offset of a row's last word
    // The entries of the row's last word that are in the table (columns < nB).
    const size_t nLastEntries = nB - nLastWord * 4;
    const std::uint64_t lastWordEntries =
        nLastEntries >= 32 ? ~std::uint64_t(0) : (std::uint64_t(1) << (2 * nLastEntries)) - 1;
    // The low bit of each entry of the row's word at byte i that the level
    // works on: backward the unknown ones, forward those on it.
    auto wordMask = [&](const std::uint8_t* line, size_t i, int nLevel, bool bBackward) {
        // Eight bytes in a row are read as one (the compiler joins the reads).
        const size_t nBytes = i != nLastWord ? 8 : nStride - i;
        std::uint64_t w = 0;
        if (nBytes == 8) {
            for (size_t j = 0; j < 8; ++j)
                w |= static_cast<std::uint64_t>(line[i + j]) << (8 * j);
        } else {
            for (size_t j = 0; j < nBytes; ++j)
                w |= static_cast<std::uint64_t>(line[i + j]) << (8 * j);
        }
        std::uint64_t mask;
        if (bBackward) {
            mask = w & (w >> 1) & detail::kLowBits;
        } else {
            const std::uint64_t x = w ^ (detail::kLowBits * static_cast<std::uint64_t>(nLevel));
            mask = ~(x | (x >> 1)) & detail::kLowBits;
        }
        return i != nLastWord ? mask : mask & lastWordEntries;
    };
    // Only rows narrow enough that all of a row's neighbours stay in the
    // nearest caches are fetched.
    const bool bFetchRows = nStride * static_cast<size_t>(nMoves) <= 16384;
    // Where move k takes column b seen through symmetry s, at
    // [(k * kAxisSymCount + s) * nB + b]: one read for the two of moveB and
    // conjB, and for a row's move, columns in order read in order.
    std::vector<std::uint16_t> columnMove(static_cast<size_t>(nMoves) * kAxisSymCount * nB);
    for (size_t k = 0; k < static_cast<size_t>(nMoves); ++k)
        for (size_t sym = 0; sym < kAxisSymCount; ++sym)
            for (size_t b = 0; b < nB; ++b)
                columnMove[(k * kAxisSymCount + sym) * nB + b] =
                    conjB[static_cast<size_t>(moveB[b * static_cast<size_t>(nMoves) + k]) * kAxisSymCount + sym];
    struct RowMoves {
        size_t row[kMoveCount];
        const std::uint16_t* column[kMoveCount]; // columnMove for the move and the row's symmetry
    };

    // One level over the rows [first, last). Backward, each unknown entry
    // that has a neighbour on the level joins the next one: a thread writes
    // only its own rows then (each row whole bytes), and what it reads of
    // other rows is either on the level or not whenever it is read. Forward,
    // each entry on the level marks its unknown neighbours (one thread).
    // While a row is worked on, the rows that the next row's moves lead to
    // are fetched (bFetchRows): its entries' neighbours lie all over them.
    auto level = [&](size_t first, size_t last, int d, bool bBackward, size_t& nFound) {
        const int nLevel = d % 3;
        const int next = (d + 1) % 3;
        auto hasWork = [&](size_t c) {
            const std::uint8_t* line = table.Data() + c * nStride;
            for (size_t i = 0; i < nStride; i += 8)
                if (wordMask(line, i, nLevel, bBackward) != 0)
                    return true;
            return false;
        };
        auto moveRow = [&](size_t c, RowMoves& r) {
            for (int k = 0; k < nMoves; ++k) {
                const std::uint32_t cs = rowMove(c, k);
                r.row[k] = cs / kAxisSymCount;
                r.column[k] = columnMove.data() + (static_cast<size_t>(k) * kAxisSymCount + cs % kAxisSymCount) * nB;
                if (!bFetchRows)
                    continue;
                const std::uint8_t* p = table.Data() + r.row[k] * nStride;
                for (size_t i = 0; i < nStride; i += 64)
                    Prefetch(p + i);
                Prefetch(p + nStride - 1);
            }
        };
        RowMoves moves[2];
        bool bWork = first < last && hasWork(first);
        if (bWork)
            moveRow(first, moves[0]);
        for (size_t c = first; c < last; ++c) {
            if ((c & 4095) == 0 && cancelled())
                return;
            const RowMoves& m = moves[(c - first) & 1];
            const bool bNextWork = c + 1 < last && hasWork(c + 1);
            if (bNextWork)
                moveRow(c + 1, moves[(c + 1 - first) & 1]);
            if (!bWork) {
                bWork = bNextWork;
                continue;
            }
            bWork = bNextWork;
            const std::uint8_t* line = table.Data() + c * nStride;
            for (size_t i = 0; i < nStride; i += 8) {
                for (std::uint64_t mask = wordMask(line, i, nLevel, bBackward); mask != 0; mask &= mask - 1) {
                    const size_t b = i * 4 + static_cast<size_t>(LowestBit(mask)) / 2;
                    if (bBackward) {
                        for (int k = 0; k < nMoves; ++k) {
                            if (table.Get(m.row[k], m.column[k][b]) == nLevel) {
                                table.Set(c, b, next);
                                ++nFound;
                                break;
                            }
                        }
                    } else {
                        // Entries of level d - 3 share the remainder; their
                        // neighbours are all known, so expanding them adds nothing.
                        for (int k = 0; k < nMoves; ++k) {
                            const size_t b2 = m.column[k][b];
                            if (table.Get(m.row[k], b2) == Mod3Table::kUnknown)
                                mark(m.row[k], b2, next);
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
