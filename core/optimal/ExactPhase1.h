#pragma once
// The exact distance to H of every cube (the short solver's phase-1 table,
// whose entries hold it only modulo 3) in four bits an entry: about 70 MB.
//
// A search follows a distance modulo 3 only through the moves that change
// its coordinates, the moves after the cube's. The inverse of a cube changes
// by a move before it, so a bound of the inverse needs its distance outright:
// this table gives it for H, and with an entry modulo 3 of a table whose goal
// lies within H, the least distance at least this one with that remainder.

#include "DepthTables.h"
#include "MoveTables.h"

#include <cstdint>
#include <vector>

namespace optimal {

// Four-bit entries, each row padded to whole bytes.
class NibbleTable {
public:
    static constexpr int kUnknown = 15;

    void Reset(size_t nRows, size_t nColumns)
    {
        m_nStride = (nColumns + 1) / 2;
        m_data.assign(nRows * m_nStride, 0xFF);
    }
    int Get(size_t row, size_t column) const
    {
        return (m_data[row * m_nStride + (column >> 1)] >> ((column & 1) * 4)) & 15;
    }
    void Set(size_t row, size_t column, int value)
    {
        std::uint8_t& b = m_data[row * m_nStride + (column >> 1)];
        const int shift = static_cast<int>(column & 1) * 4;
        b = static_cast<std::uint8_t>((b & ~(15 << shift)) | (value << shift));
    }
    const void* EntryAddress(size_t row, size_t column) const { return &m_data[row * m_nStride + (column >> 1)]; }
    std::uint8_t* Data() { return m_data.data(); }
    const std::uint8_t* Data() const { return m_data.data(); }
    size_t Bytes() const { return m_data.size(); }

private:
    std::vector<std::uint8_t, shortsolver::LargePageAllocator<std::uint8_t>> m_data;
    size_t m_nStride = 0;
};

// table[flip-slice class][twist seen through its symmetry]: the exact
// distance to H, from the complete table depth.phase1, on nThreads threads.
void BuildExactPhase1(NibbleTable& table, const shortsolver::MoveTables& moves,
                      const shortsolver::DepthTables& depth, int nThreads);

// The exact phase-1 distance of flip, slice (0..494) and twist.
inline int ExactPhase1Entry(const NibbleTable& table, const shortsolver::DepthTables& depth, int flip, int slice,
                            int twist)
{
    const std::uint32_t cs =
        depth.flipSlice.classOf[static_cast<size_t>(flip) * coord::kSliceCount + static_cast<size_t>(slice)];
    return table.Get(cs / shortsolver::kAxisSymCount,
                     depth.twistConj[static_cast<size_t>(twist) * shortsolver::kAxisSymCount +
                                     cs % shortsolver::kAxisSymCount]);
}

} // namespace optimal
