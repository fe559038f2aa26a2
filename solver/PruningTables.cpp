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
    // The largest table on a second thread (half the build's time), the rest here.
    auto buildTwistFlip = [this, &m] {
        std::vector<std::uint8_t> values;
        Distances(values, coord::kTwistCount, m.twist.data(), coord::kFlipCount, m.flip.data(),
                  kMoveCount, 0);
        twistFlip.Pack(values);
    };
    std::thread worker;
    try {
        worker = std::thread(buildTwistFlip);
    } catch (const std::system_error&) {
        buildTwistFlip();
    }

    std::vector<std::uint8_t> distances;
    Distances(distances, coord::kTwistCount, m.twist.data(), coord::kSliceCount, m.slice.data(),
              kMoveCount, nSolvedSlice);
    twistSlice.Pack(distances);
    Distances(distances, coord::kFlipCount, m.flip.data(), coord::kSliceCount, m.slice.data(),
              kMoveCount, nSolvedSlice);
    flipSlice.Pack(distances);

    // Phase 2: the corner permutation and the slice permutation under the
    // phase-2 moves only.
    std::vector<std::uint16_t> corner(static_cast<size_t>(coord::kCornerPermCount) * kPhase2MoveCount);
    for (size_t v = 0; v < static_cast<size_t>(coord::kCornerPermCount); ++v)
        for (int k = 0; k < kPhase2MoveCount; ++k)
            corner[v * kPhase2MoveCount + k] = m.cornerPerm[v * kMoveCount + kPhase2Moves[k]];
    std::vector<std::uint16_t> slicePerm(static_cast<size_t>(coord::kSlicePermCount) * kPhase2MoveCount);
    for (size_t p = 0; p < static_cast<size_t>(coord::kSlicePermCount); ++p)
        for (int k = 0; k < kPhase2MoveCount; ++k)
            slicePerm[p * kPhase2MoveCount + k] = static_cast<std::uint16_t>(
                m.sliceSorted[(nSolvedSlice * 24 + p) * kMoveCount + kPhase2Moves[k]] % 24);
    Distances(cornerSlicePerm, coord::kCornerPermCount, corner.data(), coord::kSlicePermCount,
              slicePerm.data(), kPhase2MoveCount, 0);
    Distances(edgeSlicePerm, coord::kEdge8PermCount, m.edge8Perm.data(), coord::kSlicePermCount,
              slicePerm.data(), kPhase2MoveCount, 0);
    if (worker.joinable())
        worker.join();
}

size_t PruningTables::Bytes() const
{
    return twistSlice.Bytes() + flipSlice.Bytes() + twistFlip.Bytes() + cornerSlicePerm.size() +
           edgeSlicePerm.size();
}

} // namespace shortsolver
