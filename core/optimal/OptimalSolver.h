#pragma once
// The optimal solver: the fewest face turns that solve a cube (a quarter or a
// half turn counts one), proven by having ruled out every shorter length.
//
// An iterative-deepening search over the moves of the cube as entered. Its
// lower bound at each node is the largest of
//  - the exact distance of the cube seen from each of the three axes to the
//    goal of the axis table: H (Coordinates.h; the short solver's phase-1
//    table) or, with the large table, H with the middle layer in order;
//  - the exact distance of the corners alone (a small table of this layer);
//  - for the inverse of the cube (which needs as many moves) seen from each
//    axis, the least distance to that goal no smaller than its exact
//    distance to H (ExactPhase1.h) with its entry's remainder there;
//  - one more than the least of the three axes' distances, and of the
//    inverse's: a solution's last move turns a face of one axis, which keeps
//    that axis's goal, so the cube stands at that goal a move before the end
//    (and its first move likewise for the inverse).
// The cube's bounds are followed exactly through the moves from their values
// modulo 3; the inverse changes by a move before it, so its bound is read
// afresh, except on the axis of the moved face (and, without the large
// table, on every axis after a half turn): there the move keeps it, so a
// child whose inverse is too far on such an axis is ruled out before any
// table is read. A child two moves further than its parent has left rules
// the parent out too. The small tables take a few seconds and share one
// cache file.
//
// The search is split into subtrees by its first three moves, each searched
// in a fixed move order (faces in slot order, turns +, *, -; never one face
// twice running, of two opposite faces the lower slot first). Threads take
// the subtrees in order, and the first subtree with a solution wins once
// every subtree before it is done, so the answer is the same for every thread
// count. Several solutions come in move order, subtrees too. The first one
// alone comes from the subtrees in the order of the nodes they took at the
// length before, most first (as many: in move order), since a solution is
// likelier in a larger tree; and a cube with symmetries (a pattern, say)
// leaves out the subtrees whose first moves one of its symmetries maps to
// earlier ones, and deeper the moves that a symmetry keeping every move so
// far maps to earlier ones: an image of every solution is left in.
// When the short solver's solution is no longer than the first length not
// yet ruled out, it is optimal and is the answer. Likewise, from 11 moves on,
// for the first solution alone: the two-phase search of the length (bounded
// by it, as many of its nodes as the length before took; beside this search
// on more than one thread) comes first, and a solution it meets is the
// answer. Its nodes are not counted in the result's.

#include "Compat.h"
#include "DepthTables.h"
#include "ExactPhase1.h"
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
    NibbleTable phase1Exact;        // see BuildExactPhase1: the bound of the inverse
    std::unique_ptr<LargeTable> large; // null: the phase-1 table bounds each axis
    enum class Origin { CACHE, COMPUTED_AND_SAVED, COMPUTED } origin = Origin::COMPUTED;

    explicit OptimalTables(const shortsolver::ShortSolverTables& tables) : base(tables) {}
    void Compute();
    // True only for a whole, unchanged file of this version holding exactly
    // the tables Compute() makes (its checksum is kFingerprint), whose corner
    // entries are all distances (no unknown one) and whose solved entries are 0.
    bool ReadCache(const std::string& strPath);
    // The checksum of the cache file of the table Compute() makes (on a
    // little-endian machine). A test keeps it true.
    static constexpr std::uint64_t kFingerprint = 0x673B55FEA8686D38ULL;
    bool WriteCache(const std::string& strPath) const;
    size_t Bytes() const { return corners.Bytes() + phase1Exact.Bytes() + (large ? large->Bytes() : 0); }

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
