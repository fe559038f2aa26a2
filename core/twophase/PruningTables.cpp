#include "PruningTables.h"

#include "CubieCube.h"

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

void PruningTables::Build(const MoveTables& m)
{
    Allocate();
    const size_t nSolvedSlice = static_cast<size_t>(coord::SolvedSlice());
    cornerPermMove.assign(static_cast<size_t>(coord::kCornerPermCount) * kPhase2MoveCount, 0);
    for (size_t v = 0; v < static_cast<size_t>(coord::kCornerPermCount); ++v)
        for (int k = 0; k < kPhase2MoveCount; ++k)
            cornerPermMove[v * kPhase2MoveCount + k] = m.cornerPerm[v * kMoveCount + kPhase2Moves[k]];
    slicePermMove.assign(static_cast<size_t>(coord::kSlicePermCount) * kPhase2MoveCount, 0);
    for (size_t p = 0; p < static_cast<size_t>(coord::kSlicePermCount); ++p)
        for (int k = 0; k < kPhase2MoveCount; ++k)
            slicePermMove[p * kPhase2MoveCount + k] = static_cast<std::uint16_t>(
                m.sliceSorted[(nSolvedSlice * 24 + p) * kMoveCount + kPhase2Moves[k]] % 24);
    Distances(cornerSlicePerm, coord::kCornerPermCount, cornerPermMove.data(), coord::kSlicePermCount,
              slicePermMove.data(), kPhase2MoveCount, 0);
    Distances(edgeSlicePerm, coord::kEdge8PermCount, m.edge8Perm.data(), coord::kSlicePermCount,
              slicePermMove.data(), kPhase2MoveCount, 0);
    BuildSingleDistances(m);

    // The corners' places, and the distances of the edges with them.
    std::vector<int> rank(256, -1);
    for (int mask = 0, n = 0; mask < 256; ++mask) {
        int nBits = 0;
        for (int b = 0; b < 8; ++b)
            nBits += mask >> b & 1;
        if (nBits == 4)
            rank[static_cast<size_t>(mask)] = n++;
    }
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
            placeMove[p * kPhase2MoveCount + static_cast<size_t>(k)] = cornerPlace
                [cornerPermMove[static_cast<size_t>(anyPerm[p]) * kPhase2MoveCount + static_cast<size_t>(k)]];
    std::vector<std::uint8_t> values;
    Distances(values, coord::kEdge8PermCount, m.edge8Perm.data(), kCornerPlaceCount, placeMove.data(),
              kPhase2MoveCount, cornerPlace[0]);
    for (size_t i = 0; i < values.size(); ++i)
        edgeCornerPlace[i >> 1] =
            static_cast<std::uint8_t>(edgeCornerPlace[i >> 1] | (values[i] & 15) << ((i & 1) * 4));
}

void PruningTables::BuildSingleDistances(const MoveTables& m)
{
    // A second coordinate with a single value that every move keeps.
    const std::vector<std::uint16_t> none(kPhase2MoveCount, 0);
    Distances(cornerPermDistance, coord::kCornerPermCount, cornerPermMove.data(), 1, none.data(),
              kPhase2MoveCount, 0);
    Distances(edge8PermDistance, coord::kEdge8PermCount, m.edge8Perm.data(), 1, none.data(), kPhase2MoveCount, 0);
}

void PruningTables::Allocate()
{
    cornerPermMove.assign(static_cast<size_t>(coord::kCornerPermCount) * kPhase2MoveCount, 0);
    slicePermMove.assign(static_cast<size_t>(coord::kSlicePermCount) * kPhase2MoveCount, 0);
    cornerSlicePerm.assign(static_cast<size_t>(coord::kCornerPermCount) * coord::kSlicePermCount, 0);
    edgeSlicePerm.assign(static_cast<size_t>(coord::kEdge8PermCount) * coord::kSlicePermCount, 0);
    cornerPlace.assign(static_cast<size_t>(coord::kCornerPermCount), 0);
    edgeCornerPlace.assign(static_cast<size_t>(coord::kEdge8PermCount) * kCornerPlaceCount / 2, 0);
}

size_t PruningTables::Bytes() const
{
    return cornerSlicePerm.size() + edgeSlicePerm.size() + cornerPlace.size() + edgeCornerPlace.size() +
           cornerPermDistance.size() + edge8PermDistance.size() +
           (cornerPermMove.size() + slicePermMove.size()) * sizeof(std::uint16_t);
}

} // namespace shortsolver
