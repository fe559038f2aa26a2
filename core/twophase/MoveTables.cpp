#include "MoveTables.h"

#include "Threads.h"

namespace shortsolver {

using cubie::CubieCube;

namespace {

// Fills table[v * kMoveCount + m] for every value: quarter turns through the
// cubies, the half and counter-clockwise turns by repeating them.
template <class Set, class Get>
void BuildTable(std::vector<std::uint16_t>& table, int nCount, Set set, Get get)
{
    table.assign(static_cast<size_t>(nCount) * kMoveCount, 0);
    CubieCube c;
    for (int v = 0; v < nCount; ++v) {
        set(c, v);
        for (int f = 0; f < cubie::kFaceCount; ++f)
            table[v * kMoveCount + f * 3] = static_cast<std::uint16_t>(get(c * cubie::FaceTurn(f)));
    }
    for (int v = 0; v < nCount; ++v)
        for (int f = 0; f < cubie::kFaceCount; ++f) {
            const int q = table[v * kMoveCount + f * 3];
            const int h = table[q * kMoveCount + f * 3];
            table[v * kMoveCount + f * 3 + 1] = static_cast<std::uint16_t>(h);
            table[v * kMoveCount + f * 3 + 2] = table[h * kMoveCount + f * 3];
        }
}

} // namespace

void MoveTables::BuildMoveCubes()
{
    for (int f = 0; f < cubie::kFaceCount; ++f) {
        const CubieCube& turn = cubie::FaceTurn(f);
        moveCube[f * 3] = turn;
        moveCube[f * 3 + 1] = turn * turn;
        moveCube[f * 3 + 2] = turn * turn * turn;
    }
}

void MoveTables::Allocate()
{
    twist.assign(static_cast<size_t>(coord::kTwistCount) * kMoveCount, 0);
    flip.assign(static_cast<size_t>(coord::kFlipCount) * kMoveCount, 0);
    sliceSorted.assign(static_cast<size_t>(coord::kSliceSortedCount) * kMoveCount, 0);
    slice.assign(static_cast<size_t>(coord::kSliceCount) * kMoveCount, 0);
    cornerPerm.assign(static_cast<size_t>(coord::kCornerPermCount) * kMoveCount, 0);
    edge8Perm.assign(static_cast<size_t>(coord::kEdge8PermCount) * kPhase2MoveCount, 0);
}

void MoveTables::Build()
{
    BuildMoveCubes();
    // The corner permutation, the largest, on a second thread.
    auto buildCornerPerm = [this] {
        BuildTable(cornerPerm, coord::kCornerPermCount, coord::SetCornerPerm, coord::CornerPerm);
    };
    Alongside(buildCornerPerm, [&] {
        BuildTable(twist, coord::kTwistCount, coord::SetTwist, coord::Twist);
        BuildTable(flip, coord::kFlipCount, coord::SetFlip, coord::Flip);
        BuildTable(sliceSorted, coord::kSliceSortedCount, coord::SetSliceSorted, coord::SliceSorted);

        slice.assign(static_cast<size_t>(coord::kSliceCount) * kMoveCount, 0);
        for (int v = 0; v < coord::kSliceCount; ++v)
            for (int m = 0; m < kMoveCount; ++m)
                slice[v * kMoveCount + m] =
                    static_cast<std::uint16_t>(sliceSorted[v * 24 * kMoveCount + m] / 24);

        // Half turns of F, R, L, B through the cubies (their quarter turns leave H);
        // the other turns of T and D by repeating the quarter turn.
        edge8Perm.assign(static_cast<size_t>(coord::kEdge8PermCount) * kPhase2MoveCount, 0);
        CubieCube c;
        for (int v = 0; v < coord::kEdge8PermCount; ++v) {
            coord::SetEdge8Perm(c, v);
            std::uint16_t* row = &edge8Perm[static_cast<size_t>(v) * kPhase2MoveCount];
            row[0] = static_cast<std::uint16_t>(coord::Edge8Perm(c * cubie::FaceTurn(0)));
            row[3] = static_cast<std::uint16_t>(coord::Edge8Perm(c * cubie::FaceTurn(5)));
            for (int k = 6; k < kPhase2MoveCount; ++k) {
                const CubieCube& turn = cubie::FaceTurn(MoveFace(kPhase2Moves[k]));
                row[k] = static_cast<std::uint16_t>(coord::Edge8Perm(c * turn * turn));
            }
        }
        for (int v = 0; v < coord::kEdge8PermCount; ++v) {
            std::uint16_t* row = &edge8Perm[static_cast<size_t>(v) * kPhase2MoveCount];
            for (int k : {0, 3}) {
                row[k + 1] = edge8Perm[row[k] * kPhase2MoveCount + k];
                row[k + 2] = edge8Perm[row[k + 1] * kPhase2MoveCount + k];
            }
        }
    });
}

size_t MoveTables::Bytes() const
{
    return (twist.size() + flip.size() + sliceSorted.size() + slice.size() + cornerPerm.size() +
            edge8Perm.size()) *
           sizeof(std::uint16_t);
}

} // namespace shortsolver
