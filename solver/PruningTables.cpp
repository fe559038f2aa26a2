#include "PruningTables.h"

namespace shortsolver {

namespace {

constexpr std::uint8_t kUnknown = 0xFF;

// Breadth-first distances from index 0 over nCount states, next(i, k) giving
// the state move k leads to. The move set is closed under inverses, so once
// most states are known each unknown one looks for a known neighbour instead.
template <class Next>
void Distances(std::vector<std::uint8_t>& table, size_t nCount, int nMoves, size_t nStart, Next next)
{
    table.assign(nCount, kUnknown);
    table[nStart] = 0;
    size_t nDone = 1;
    for (std::uint8_t d = 0; nDone < nCount; ++d) {
        const bool bBackward = nDone > nCount / 2;
        for (size_t i = 0; i < nCount; ++i) {
            if (bBackward) {
                if (table[i] != kUnknown)
                    continue;
                for (int k = 0; k < nMoves; ++k)
                    if (table[next(i, k)] == d) {
                        table[i] = static_cast<std::uint8_t>(d + 1);
                        ++nDone;
                        break;
                    }
            } else if (table[i] == d) {
                for (int k = 0; k < nMoves; ++k) {
                    const size_t j = next(i, k);
                    if (table[j] == kUnknown) {
                        table[j] = static_cast<std::uint8_t>(d + 1);
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
    const size_t nSlice = coord::kSliceCount;
    const size_t nSolvedSlice = static_cast<size_t>(coord::SolvedSlice());
    std::vector<std::uint8_t> distances;
    Distances(distances, coord::kTwistCount * nSlice, kMoveCount, nSolvedSlice,
              [&m, nSlice](size_t i, int k) {
                  return m.twist[i / nSlice * kMoveCount + k] * nSlice +
                         m.slice[i % nSlice * kMoveCount + k];
              });
    twistSlice.Pack(distances);
    Distances(distances, coord::kFlipCount * nSlice, kMoveCount, nSolvedSlice,
              [&m, nSlice](size_t i, int k) {
                  return m.flip[i / nSlice * kMoveCount + k] * nSlice +
                         m.slice[i % nSlice * kMoveCount + k];
              });
    flipSlice.Pack(distances);
    const size_t nFlip = coord::kFlipCount;
    Distances(distances, coord::kTwistCount * nFlip, kMoveCount, 0,
              [&m, nFlip](size_t i, int k) {
                  return m.twist[i / nFlip * kMoveCount + k] * nFlip +
                         m.flip[i % nFlip * kMoveCount + k];
              });
    twistFlip.Pack(distances);

    const size_t nSolvedSorted = nSolvedSlice * 24;
    Distances(cornerSlicePerm, coord::kCornerPermCount * 24, kPhase2MoveCount, 0,
              [&m, nSolvedSorted](size_t i, int k) {
                  const int mv = kPhase2Moves[k];
                  return m.cornerPerm[i / 24 * kMoveCount + mv] * 24 +
                         m.sliceSorted[(nSolvedSorted + i % 24) * kMoveCount + mv] % 24;
              });
    Distances(edgeSlicePerm, coord::kEdge8PermCount * 24, kPhase2MoveCount, 0,
              [&m, nSolvedSorted](size_t i, int k) {
                  return m.edge8Perm[i / 24 * kPhase2MoveCount + k] * 24 +
                         m.sliceSorted[(nSolvedSorted + i % 24) * kMoveCount + kPhase2Moves[k]] % 24;
              });
}

size_t PruningTables::Bytes() const
{
    return twistSlice.Bytes() + flipSlice.Bytes() + twistFlip.Bytes() + cornerSlicePerm.size() +
           edgeSlicePerm.size();
}

} // namespace shortsolver
