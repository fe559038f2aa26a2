#pragma once
// The optimal solver's large bound: the exact distance of every cube to the
// cubes whose corners are twisted home, whose edges are flipped home, and
// whose middle-layer edges stand on their own places (the phase-1 goal with
// the middle layer's order too). 24 times the phase-1 table's entries, and
// on average more than one move closer to the true distance, which the
// search repays many times over.
//
// Rows are the classes of flip * kSliceSortedCount + sorted slice under the
// 16 axis symmetries (about 1.5 million), columns the twist seen through the
// class's symmetry, two bits an entry: about 830 MB, computed in minutes on
// all cores and kept in the cache folder.

#include "DepthTables.h"
#include "MoveTables.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace optimal {

class LargeTable {
public:
    static constexpr const char* kCacheFileName = "optimal-large-table.bin";

    shortsolver::SymClasses classes; // value flip * coord::kSliceSortedCount + sorted slice
    // [class * kMoveCount + move]: classes.classOf of the representative after the move.
    std::vector<std::uint32_t, shortsolver::LargePageAllocator<std::uint32_t>> classMove;
    shortsolver::Mod3Table distances; // [class][twist seen through the symmetry]

    // Computes the table on nThreads threads. twistConj is the short
    // solver's (DepthTables::twistConj).
    // progress (when given) hears how much is done, 0 to 1. False, the
    // table unusable, when *pCancel was set meanwhile.
    bool Build(const shortsolver::MoveTables& moves, const std::vector<std::uint16_t>& twistConj, int nThreads,
               const std::function<void(double)>& progress = {}, const std::atomic<bool>* pCancel = nullptr);
    // True only for a whole, unchanged file of exactly the table Build makes
    // (its checksum is kFingerprint, on a little-endian machine).
    bool Load(const std::string& strPath);
    static constexpr std::uint64_t kFingerprint = 0xD923B09A04037944ULL;
    bool Save(const std::string& strPath) const;
    size_t Bytes() const;
    // The memory and disk the table takes once built, known beforehand.
    static size_t ExpectedBytes();

    int Entry(int flip, int sliceSorted, int twist, const std::vector<std::uint16_t>& twistConj) const;
    // The exact distance by walking down the table.
    int Distance(const shortsolver::MoveTables& moves, const std::vector<std::uint16_t>& twistConj, int flip,
                 int sliceSorted, int twist) const;
};

} // namespace optimal
