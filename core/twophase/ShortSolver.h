#pragma once
// The short solver: a two-phase search that solves every cube in at most a
// given number of moves (20 by default; every cube has a solution that short).
//
// Phase 1 brings the cube into the subgroup H (see Coordinates.h), phase 2
// solves it within H. The search tries phase-1 solutions of growing length on
// three axes, each for the cube and for its inverse, and for each one looks
// for a phase 2 that keeps the total within the bound; the first total found
// within the bound is the answer. Nothing but the cube and the bound decides
// the result: the same cube gives the same moves on every run and machine.

#include "Compat.h"
#include "DepthTables.h"
#include "MoveTables.h"
#include "PruningTables.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace shortsolver {

constexpr int kDefaultMaxLength = 20;
constexpr int kMinMaxLength = 20;
constexpr int kMaxMaxLength = 30;

// The move and pruning tables (about 82 MB in the cache file): made once per process, then only
// read, so one object serves any number of threads. A program calls Get() on
// a worker thread at launch so that the first solve need not wait, and asks
// IsReady() to tell whether a solve would.
//
// The large tables take seconds to compute, so they are kept in a cache file
// (kCacheFileName in the cache folder) and read from there when it holds a
// whole, unchanged copy; otherwise they are computed and the file written
// anew. A cache that cannot be read or written only costs the time.
class ShortSolverTables {
public:
    static constexpr const char* kCacheFileName = "short-solver-tables.bin";
    // An environment variable that, set and not empty, names the folder
    // instead, whatever the program chose (a shared or prepared cache; tests).
    static constexpr const char* kCacheFolderVariable = "ZELVORS_CACHE_DIR";
    // The folder the cache file is looked for in: the variable's when set,
    // else tablecache::DefaultCacheFolder() ("" for none). Other tables kept
    // beside these use it too.
    static std::string CacheFolderInUse();

    // The tables, building them first if no thread has yet (a thread that
    // calls this while another builds waits for it).
    static const ShortSolverTables& Get();
    // True once Get() has finished building, so a caller can tell whether a
    // solve will have to wait.
    static bool IsReady();
    // Tables this build computed itself, for a caller whose search with
    // `suspect` failed as correct tables never do (a valid cube with no
    // solution, or a search far longer than any cube needs): suspect itself
    // when it was computed; else Get()'s tables, computed anew (and the cache
    // file written anew) if they were read from the file. Get() gives the new
    // tables from then on; the old ones stay valid for whoever still uses them.
    static const ShortSolverTables& Recomputed(const ShortSolverTables& suspect);

    size_t Bytes() const { return moves.Bytes() + pruning.Bytes() + depth.Bytes(); }
    // How the large tables were made: read from the cache file, or computed
    // (then whether the file was written).
    enum class Origin { CACHE, COMPUTED_AND_SAVED, COMPUTED } origin = Origin::COMPUTED;

    MoveTables moves;
    PruningTables pruning;
    DepthTables depth;

    // Empty tables: ReadCache or Compute fills them (Get() does either).
    ShortSolverTables() = default;
    // Fills every table from the cache file at strPath: true only for a
    // whole, unchanged file of this version holding exactly the tables
    // Compute() makes (its checksum is kFingerprint), whose every index is in
    // range and that pass SpotCheck() (any other file is refused, whatever
    // its content: another build's tables, say, or tables damaged before
    // they were checksummed).
    bool ReadCache(const std::string& strPath);
    // The checksum of the cache file of the tables Compute() makes (on a
    // little-endian machine: elsewhere every file is refused, which costs
    // only the time). A test keeps it true.
    static constexpr std::uint64_t kFingerprint = 0xC8383A38114C650EULL;
    // The checksum a cache file of these tables holds.
    std::uint64_t Fingerprint() const;
    bool WriteCache(const std::string& strPath) const;
    // Computes every table (seconds).
    void Compute();
    // Whether every table entry that the search uses as an index is in range.
    bool IndicesInRange() const;
    // What can be checked in milliseconds that the tables are right:
    // entries of the symmetry tables recomputed, and from a fixed sample of
    // cubes the walk down each large table, which must reach the goal within
    // the greatest distance there is, as from the neighbours of each, one
    // move changing the distance by one at most.
    bool SpotCheck() const;
};

// How CollectSolutions searches and whom it tells.
struct CollectOptions {
    std::uint64_t nNodes = 0; // the search stops after this many nodes
    // Each solution met, in the model's notation; returns true when it has enough.
    std::function<bool(const std::string&)> found;
    // Set to stop the search (read every 65,536 nodes).
    const std::atomic<bool>* pCancel = nullptr;
    // The nodes visited so far, every 65,536 nodes (may be null).
    std::function<void(std::uint64_t)> progress;
};

// Many solutions of one cube: the two-phase search of SolveShort carried on
// past its first solution, every solution of at most nMaxLength moves it
// meets given to options.found in the order met (phase-1 lengths growing,
// first with phase 2 of at most 13 moves, then the rest; the cube and its
// inverse on each axis in turn, no symmetry of the cube used), each checked
// to solve the cube. The same moves may come more than once (from another
// axis, or from the inverse), and turns of two opposite faces in either
// order. A cube that is solved or no real cube gets none. Nothing but the
// cube, the bound and the node budget decides what is met. Returns the
// nodes visited.
std::uint64_t CollectSolutions(const BYTE colors[54], int nMaxLength, const CollectOptions& options,
                               const ShortSolverTables& tables = ShortSolverTables::Get());

} // namespace shortsolver

// Solves the 54 colours (slot-major, as ParseCubeText fills them). Returns
// CCubeSolver::Solve's codes: 1 when the model's configuration check fails, 2
// when the colours are no real cube, else 0 with strMoves the solution in the
// model's notation ("R+.T-.F*."; face letters name the slots as entered; no
// whole-cube moves), at most nMaxLength moves (20 to 30), empty for a solved
// cube. ExecuteMoves(strMoves) on the entered cube leaves it solved.
int SolveShort(const BYTE colors[54], int nMaxLength, std::string& strMoves,
               const shortsolver::ShortSolverTables& tables = shortsolver::ShortSolverTables::Get());
