#include "PruningTables.h"

#include <system_error>
#include <thread>

namespace shortsolver {

namespace {

constexpr std::uint8_t kUnknown = 0xFF;

// Breadth-first distances from (0, nStartB) over the pairs (a, b), a < nA,
// b < nB, stored at a * nB + b; moveA[a * nMoves + k] and moveB[b * nMoves + k]
// give the coordinates that move k leads to. The move set is closed under
// inverses, so once most pairs are known each unknown one looks for a known
// neighbour instead.
void Distances(std::vector<std::uint8_t>& table, size_t nA, const std::uint16_t* moveA, size_t nB,
               const std::uint16_t* moveB, int nMoves, size_t nStartB)
{
    const size_t nCount = nA * nB;
    table.assign(nCount, kUnknown);
    table[nStartB] = 0;
    size_t nDone = 1;
    for (std::uint8_t d = 0; nDone < nCount; ++d) {
        const bool bBackward = nDone > nCount / 2;
        const std::uint8_t want = bBackward ? kUnknown : d;
        for (size_t a = 0; a < nA; ++a) {
            const std::uint16_t* rowA = moveA + a * nMoves;
            std::uint8_t* line = &table[a * nB];
            for (size_t b = 0; b < nB; ++b) {
                if (line[b] != want)
                    continue;
                const std::uint16_t* rowB = moveB + b * nMoves;
                for (int k = 0; k < nMoves; ++k) {
                    std::uint8_t& next = table[rowA[k] * nB + rowB[k]];
                    if (bBackward) {
                        if (next == d) {
                            line[b] = static_cast<std::uint8_t>(d + 1);
                            ++nDone;
                            break;
                        }
                    } else if (next == kUnknown) {
                        next = static_cast<std::uint8_t>(d + 1);
                        ++nDone;
                    }
                }
            }
        }
    }
}

// The same over (class, b): classes of a coordinate a up to symmetry, rep[c]
// the representative of class c, classOf[a] = class * kSymCount + a symmetry
// taking a to it, stabiliser[c] the symmetries keeping the representative,
// conjB[b * kSymCount + s] the second coordinate conjugated by s. Pairs that
// are one state seen under a symmetry keeping the representative get their
// distance together, which keeps every level exact.
void SymDistances(std::vector<std::uint8_t>& table, const SymmetryTables& sym, bool bTwist,
                  const std::uint16_t* moveA, size_t nB, const std::uint16_t* moveB,
                  const std::uint16_t* conjB, size_t nStartB)
{
    const std::vector<std::uint16_t>& rep = bTwist ? sym.twistRep : sym.flipRep;
    const std::vector<std::uint16_t>& classOf = bTwist ? sym.twistClass : sym.flipClass;
    const std::vector<std::uint8_t>& stabiliser = bTwist ? sym.twistStabiliser : sym.flipStabiliser;
    const size_t nClasses = rep.size();
    const size_t nCount = nClasses * nB;
    table.assign(nCount, kUnknown);
    size_t nDone = 0;
    auto mark = [&](size_t c, size_t b, std::uint8_t d) {
        for (int s = 0; s < kSymCount; ++s) {
            if (!(stabiliser[c] >> s & 1))
                continue;
            std::uint8_t& e = table[c * nB + conjB[b * kSymCount + s]];
            if (e == kUnknown) {
                e = d;
                ++nDone;
            }
        }
    };
    mark(static_cast<size_t>(classOf[0] / kSymCount), nStartB, 0);
    for (std::uint8_t d = 0; nDone < nCount; ++d) {
        const bool bBackward = nDone > nCount / 2;
        const std::uint8_t want = bBackward ? kUnknown : d;
        for (size_t c = 0; c < nClasses; ++c) {
            const std::uint16_t* rowA = moveA + static_cast<size_t>(rep[c]) * kMoveCount;
            for (size_t b = 0; b < nB; ++b) {
                if (table[c * nB + b] != want)
                    continue;
                const std::uint16_t* rowB = moveB + b * kMoveCount;
                for (int k = 0; k < kMoveCount; ++k) {
                    const int c2 = classOf[rowA[k]];
                    const size_t nClass2 = static_cast<size_t>(c2 / kSymCount);
                    const size_t b2 = conjB[static_cast<size_t>(rowB[k]) * kSymCount + c2 % kSymCount];
                    const std::uint8_t e = table[nClass2 * nB + b2];
                    if (bBackward) {
                        if (e == d) {
                            mark(c, b, static_cast<std::uint8_t>(d + 1));
                            break;
                        }
                    } else if (e == kUnknown) {
                        mark(nClass2, b2, static_cast<std::uint8_t>(d + 1));
                    }
                }
            }
        }
    }
}

// full[a * nB + b]: the symmetry-reduced table's entry of the pair (a, b),
// at the class of a (classOf[a] / kSymCount) with b conjugated by the
// symmetry taking a to its representative (conjB[b * kSymCount + s]).
void Expand(std::vector<std::uint8_t>& full, const std::vector<std::uint8_t>& reduced,
            const std::vector<std::uint16_t>& classOf, size_t nB, const std::vector<std::uint16_t>& conjB)
{
    const size_t nA = classOf.size();
    full.resize(nA * nB);
    for (size_t a = 0; a < nA; ++a) {
        const std::uint8_t* line = &reduced[static_cast<size_t>(classOf[a] / kSymCount) * nB];
        const std::uint16_t* conj = &conjB[classOf[a] % kSymCount];
        std::uint8_t* out = &full[a * nB];
        for (size_t b = 0; b < nB; ++b)
            out[b] = line[conj[b * kSymCount]];
    }
}

// down[a * nB + b]: the moves that lower the entry of (a, b) in table by one.
void DownMoves(std::vector<std::uint32_t>& down, const std::vector<std::uint8_t>& table, size_t nA, const std::uint16_t* moveA,
               size_t nB, const std::uint16_t* moveB)
{
    down.assign(nA * nB, 0);
    for (size_t a = 0; a < nA; ++a) {
        const std::uint8_t* lines[kMoveCount];
        for (int k = 0; k < kMoveCount; ++k)
            lines[k] = &table[static_cast<size_t>(moveA[a * kMoveCount + k]) * nB];
        const std::uint8_t* line = &table[a * nB];
        std::uint32_t* out = &down[a * nB];
        for (size_t b = 0; b < nB; ++b) {
            const std::uint16_t* rowB = moveB + b * kMoveCount;
            const int d = line[b];
            std::uint32_t bits = 0;
            for (int k = 0; k < kMoveCount; ++k)
                bits |= static_cast<std::uint32_t>(lines[k][rowB[k]] < d) << k;
            out[b] = bits;
        }
    }
}

} // namespace

void NibbleTable::Pack(const std::vector<std::uint8_t>& values)
{
    m_data.assign((values.size() + 1) / 2, 0);
    for (size_t i = 0; i < values.size(); ++i)
        m_data[i >> 1] |= static_cast<std::uint8_t>((values[i] & 15) << ((i & 1) * 4));
}

void PruningTables::Build(const MoveTables& m)
{
    const size_t nSolvedSlice = static_cast<size_t>(coord::SolvedSlice());
    sym.Build();
    // About half the work on a second thread, the rest here.
    auto buildSecondHalf = [this, &m, nSolvedSlice] {
        std::vector<std::uint8_t> values;
        SymDistances(values, sym, true, m.twist.data(), coord::kFlipCount, m.flip.data(),
                     sym.flipConj.data(), 0);
        twistFlip.Pack(values);
        std::vector<std::uint8_t> full;
        SymDistances(values, sym, true, m.twist.data(), coord::kSliceCount, m.slice.data(),
                     sym.sliceConj.data(), nSolvedSlice);
        Expand(full, values, sym.twistClass, coord::kSliceCount, sym.sliceConj);
        twistSlice.Pack(full);
        DownMoves(twistSliceDown, full, coord::kTwistCount, m.twist.data(), coord::kSliceCount, m.slice.data());

        // Phase 2: the corner permutation and the slice permutation under the
        // phase-2 moves only.
        std::vector<std::uint16_t>& corner = cornerPermMove;
        corner.assign(static_cast<size_t>(coord::kCornerPermCount) * kPhase2MoveCount, 0);
        for (size_t v = 0; v < static_cast<size_t>(coord::kCornerPermCount); ++v)
            for (int k = 0; k < kPhase2MoveCount; ++k)
                corner[v * kPhase2MoveCount + k] = m.cornerPerm[v * kMoveCount + kPhase2Moves[k]];
        std::vector<std::uint16_t>& slicePerm = slicePermMove;
        slicePerm.assign(static_cast<size_t>(coord::kSlicePermCount) * kPhase2MoveCount, 0);
        for (size_t p = 0; p < static_cast<size_t>(coord::kSlicePermCount); ++p)
            for (int k = 0; k < kPhase2MoveCount; ++k)
                slicePerm[p * kPhase2MoveCount + k] = static_cast<std::uint16_t>(
                    m.sliceSorted[(nSolvedSlice * 24 + p) * kMoveCount + kPhase2Moves[k]] % 24);
        Distances(cornerSlicePerm, coord::kCornerPermCount, corner.data(), coord::kSlicePermCount,
                  slicePerm.data(), kPhase2MoveCount, 0);
        Distances(edgeSlicePerm, coord::kEdge8PermCount, m.edge8Perm.data(), coord::kSlicePermCount,
                  slicePerm.data(), kPhase2MoveCount, 0);
    };
    std::thread worker;
    try {
        worker = std::thread(buildSecondHalf);
    } catch (const std::system_error&) {
        buildSecondHalf();
    }

    std::vector<std::uint8_t> distances, full;
    SymDistances(distances, sym, false, m.flip.data(), coord::kSliceCount, m.slice.data(),
                 sym.sliceConj.data(), nSolvedSlice);
    Expand(full, distances, sym.flipClass, coord::kSliceCount, sym.sliceConj);
    flipSlice.Pack(full);
    DownMoves(flipSliceDown, full, coord::kFlipCount, m.flip.data(), coord::kSliceCount, m.slice.data());

    // The corners' places: a function of the corner permutation that the
    // phase-2 moves act on by themselves.
    {
        std::vector<int> rank(256, -1);
        for (int mask = 0, n = 0; mask < 256; ++mask) {
            int nBits = 0;
            for (int b = 0; b < 8; ++b)
                nBits += mask >> b & 1;
            if (nBits == 4)
                rank[static_cast<size_t>(mask)] = n++;
        }
        cornerPlace.assign(static_cast<size_t>(coord::kCornerPermCount), 0);
        std::vector<int> anyPerm(kCornerPlaceCount, 0);
        cubie::CubieCube c;
        for (int v = 0; v < coord::kCornerPermCount; ++v) {
            coord::SetCornerPerm(c, v);
            int mask = 0;
            for (int i = 0; i < cubie::CORNER_COUNT; ++i)
                if (c.cp[i] < 4) // TFL, TFR, TBR, TBL
                    mask |= 1 << i;
            const int place = rank[static_cast<size_t>(mask)] * 2 + c.CornerParity();
            cornerPlace[static_cast<size_t>(v)] = static_cast<std::uint8_t>(place);
            anyPerm[static_cast<size_t>(place)] = v;
        }
        std::vector<std::uint16_t> placeMove(static_cast<size_t>(kCornerPlaceCount) * kPhase2MoveCount);
        for (size_t p = 0; p < static_cast<size_t>(kCornerPlaceCount); ++p)
            for (int k = 0; k < kPhase2MoveCount; ++k)
                placeMove[p * kPhase2MoveCount + k] =
                    cornerPlace[m.cornerPerm[static_cast<size_t>(anyPerm[p]) * kMoveCount + kPhase2Moves[k]]];
        std::vector<std::uint8_t> values;
        Distances(values, coord::kEdge8PermCount, m.edge8Perm.data(), kCornerPlaceCount, placeMove.data(),
                  kPhase2MoveCount, cornerPlace[0]);
        edgeCornerPlace.Pack(values);
    }
    if (worker.joinable())
        worker.join();
}

size_t PruningTables::Bytes() const
{
    return sym.Bytes() + twistSlice.Bytes() + flipSlice.Bytes() + twistFlip.Bytes() +
           (twistSliceDown.size() + flipSliceDown.size()) * sizeof(std::uint32_t) + cornerSlicePerm.size() +
           edgeSlicePerm.size() + cornerPlace.size() + edgeCornerPlace.Bytes() +
           (cornerPermMove.size() + slicePermMove.size()) * sizeof(std::uint16_t);
}

} // namespace shortsolver
