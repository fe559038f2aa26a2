#pragma once
// The optimal solver: the fewest face turns that solve a cube (a quarter or a
// half turn counts one), proven by having ruled out every shorter length.
//
// An iterative-deepening search over the moves of the cube as entered. Its
// lower bound at each node is the largest of
//  - the exact distance to H (Coordinates.h) of the cube seen from each of
//    the three axes (the short solver's phase-1 table, read three times), and
//  - the exact distance of the corners alone (a small table of this layer,
//    made in a fraction of a second and kept in its own cache file).
// Each bound is followed exactly through the moves from its value modulo 3.
//
// The answer at a length is the first solution in a fixed move order (faces
// in slot order, turns +, *, -; never one face twice running, of two opposite
// faces the lower slot first): the search is split into subtrees by its first
// two moves, threads take them in order, and the lowest subtree with a
// solution wins once every subtree before it is done, so the answer is the
// same for every thread count. When the short solver's solution is no longer
// than the first length not yet ruled out, it is optimal and is the answer.

#include "Compat.h"
#include "DepthTables.h"
#include "LargeTable.h"
#include "ShortSolver.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace optimal {

// The short solver's tables, the corner distances, and (unless the small
// set was chosen) the large table.
class OptimalTables {
public:
    static constexpr const char* kCacheFileName = "optimal-solver-tables.bin";

    // The large table (LargeTable.h: about 1 GB of memory and disk, computed
    // in a minute or two on two cores) makes the search many times faster;
    // the small set needs nothing beyond the short solver's tables.
    enum class Size { SMALL, LARGE };
    // SMALL when the environment variable kSizeVariable is "small", else LARGE.
    static constexpr const char* kSizeVariable = "ZELVORS_OPTIMAL_TABLES";
    static Size DefaultSize();
    // Made once per process and size (after ShortSolverTables::Get()), then
    // only read. LARGE reads the large table from the cache folder, or
    // computes it on every core and writes it there; progress (when given)
    // hears how much of the computing is done, 0 to 1. Where the machine has
    // too little memory for it, or it cannot be allocated, the tables come
    // without it (large is null) and LargeTableProblem() says why.
    // When *pCancel is set while the large table is computed, Get throws
    // Cancelled and keeps nothing: the next call starts again.
    static const OptimalTables& Get(Size size = DefaultSize(), const std::function<void(double)>& progress = {},
                                    const std::atomic<bool>* pCancel = nullptr);
    struct Cancelled {};
    // "" once the large table was made, else why it was not.
    static std::string LargeTableProblem();
    // Whether Get(LARGE) would have to compute the large table (no whole cache file).
    static bool LargeTableReady();

    const shortsolver::ShortSolverTables& base;
    shortsolver::Mod3Table corners; // see BuildCornerDistances
    std::unique_ptr<LargeTable> large; // null: the phase-1 table bounds each axis
    enum class Origin { CACHE, COMPUTED_AND_SAVED, COMPUTED } origin = Origin::COMPUTED;

    explicit OptimalTables(const shortsolver::ShortSolverTables& tables) : base(tables) {}
    void Compute();
    // True only for a whole, unchanged file of this version holding exactly
    // the table Compute() makes (its checksum is kFingerprint), whose entries
    // are all distances (no unknown one) and whose solved entry is 0.
    bool ReadCache(const std::string& strPath);
    // The checksum of the cache file of the table Compute() makes (on a
    // little-endian machine). A test keeps it true.
    static constexpr std::uint64_t kFingerprint = 0x9730EF07EB1097F8ULL;
    bool WriteCache(const std::string& strPath) const;
    size_t Bytes() const { return corners.Bytes() + (large ? large->Bytes() : 0); }

    int CornerEntry(int cornerPerm, int twist) const
    {
        const std::uint32_t cs = base.depth.corners.classOf[static_cast<size_t>(cornerPerm)];
        return corners.Get(cs / shortsolver::kAxisSymCount,
                           base.depth.twistConj[static_cast<size_t>(twist) * shortsolver::kAxisSymCount +
                                                cs % shortsolver::kAxisSymCount]);
    }
    // The exact distance of the corners from solved, by walking down the table.
    int CornerDistance(int cornerPerm, int twist) const;
};

} // namespace optimal

struct OptimalProgress {
    int nDepth = 0;       // the length being searched
    int nRuledOut = 0;    // every length up to this one has no solution
    std::uint64_t nodes = 0; // nodes visited so far
};

struct OptimalOptions {
    int nThreads = 1;                       // 1 and more
    std::atomic<bool>* pCancel = nullptr;   // set to stop the search
    // Called at the start of each length and as subtrees finish, from
    // whichever search thread gets there (one call at a time).
    std::function<void(const OptimalProgress&)> progress;
    int nMaxDepth = 20;                     // no longer search beyond this length
    // Solutions wanted: up to this many of the fewest moves, in move order.
    size_t nSolutions = 1;
    // With fewer than nSolutions of the fewest moves, the rest of one move
    // more, in move order.
    bool bOneLonger = false;
    // No length below this one has a solution (an earlier search proved
    // it): the search starts here.
    int nFromDepth = 0;
};

struct OptimalResult {
    int nResult = 0;     // as SolveShort: 0, or 1 / 2 for no cube (then nothing else is set)
    std::string moves;   // the model's notation, as SolveShort gives it
    int length = 0;
    bool bProven = false; // no shorter solution exists (false when cancelled or stopped at nMaxDepth)
    std::uint64_t nodes = 0;
    // moves first, then (options.nSolutions) the others found: of its
    // length in move order, then those one move longer; each distinct, also
    // up to the order of turns of opposite faces.
    std::vector<std::string> solutions;
};

// Solves the 54 colours (slot-major, as ParseCubeText fills them) in the
// fewest moves. Cancelled or stopped at nMaxDepth, it gives the best solution
// it knows (the short solver's) unproven.
OptimalResult SolveOptimal(const BYTE colors[54], const OptimalOptions& options,
                           const optimal::OptimalTables& tables = optimal::OptimalTables::Get());
