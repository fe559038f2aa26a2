#include "LargeTable.h"

#include "DistanceBuild.h"
#include "Symmetries.h"
#include "TableCache.h"

namespace optimal {

using shortsolver::kAxisSymCount;
using shortsolver::kMoveCount;

namespace {

constexpr std::uint32_t kLargeTableVersion = 1;
constexpr size_t kValueCount = static_cast<size_t>(coord::kFlipCount) * coord::kSliceSortedCount;
// The classes of the values under the 16 symmetries (Build finds as many).
constexpr size_t kClassCount = 1523864;

} // namespace

bool LargeTable::Build(const shortsolver::MoveTables& moves, const std::vector<std::uint16_t>& twistConj,
                       int nThreads, const std::function<void(double)>& progress, const std::atomic<bool>* pCancel)
{
    // The classes take about a tenth of the time, the distances the rest.
    auto tell = [&progress](double f) {
        if (progress)
            progress(f);
    };
    tell(0);
    shortsolver::BuildFlipSliceClasses(moves, true, classes, classMove);
    tell(0.1);
    const size_t nSolved = static_cast<size_t>(coord::SliceSorted(cubie::CubieCube::Solved()));
    if (!shortsolver::BuildDistances(distances, classes, shortsolver::RowMoveOf(classMove.data(), kMoveCount),
                                     kMoveCount, coord::kTwistCount, moves.twist.data(), twistConj.data(), nSolved,
                                     nThreads, [&tell](double f) { tell(0.1 + 0.9 * f); }, pCancel))
        return false;
    tell(1);
    return true;
}

int LargeTable::Entry(int flip, int sliceSorted, int twist, const std::vector<std::uint16_t>& twistConj) const
{
    const std::uint32_t cs = classes.classOf[static_cast<size_t>(flip) * coord::kSliceSortedCount +
                                             static_cast<size_t>(sliceSorted)];
    return distances.Get(cs / kAxisSymCount, twistConj[static_cast<size_t>(twist) * kAxisSymCount + cs % kAxisSymCount]);
}

int LargeTable::Distance(const shortsolver::MoveTables& moves, const std::vector<std::uint16_t>& twistConj, int flip,
                         int sliceSorted, int twist) const
{
    struct State {
        int flip, sliceSorted, twist;
    };
    const int nSolved = coord::SliceSorted(cubie::CubieCube::Solved());
    return shortsolver::WalkDown(
        State{flip, sliceSorted, twist},
        [nSolved](const State& s) { return s.flip == 0 && s.twist == 0 && s.sliceSorted == nSolved; },
        [&](const State& s) { return Entry(s.flip, s.sliceSorted, s.twist, twistConj); },
        [&moves](const State& s, int k) {
            const size_t m = static_cast<size_t>(k);
            return State{moves.flip[static_cast<size_t>(s.flip) * kMoveCount + m],
                         moves.sliceSorted[static_cast<size_t>(s.sliceSorted) * kMoveCount + m],
                         moves.twist[static_cast<size_t>(s.twist) * kMoveCount + m]};
        },
        kMoveCount);
}

namespace {

template <class T, class Table, class Of, class Raw>
std::vector<T> Arrays(Table& t, Of of, Raw raw)
{
    return {of(t.classes.classOf), of(t.classes.rep), of(t.classes.stabiliser), of(t.classMove),
            raw(t.distances.Data(), t.distances.Bytes())};
}

} // namespace

bool LargeTable::Load(const std::string& strPath)
{
    classes.classOf.assign(kValueCount, 0);
    classes.rep.assign(kClassCount, 0);
    classes.stabiliser.assign(kClassCount, 0);
    classMove.assign(kClassCount * kMoveCount, 0);
    distances.Reset(kClassCount, coord::kTwistCount);
    using tablecache::Destination;
    std::uint64_t checksum = 0;
    return tablecache::Load(strPath, kLargeTableVersion,
                            Arrays<Destination>(
                                *this, [](auto& v) { return Destination{v.data(), v.size() * sizeof(v[0])}; },
                                [](std::uint8_t* p, size_t n) { return Destination{p, n}; }),
                            &checksum) &&
           checksum == kFingerprint;
}

bool LargeTable::Save(const std::string& strPath) const
{
    using tablecache::Segment;
    return tablecache::Save(strPath, kLargeTableVersion,
                            Arrays<Segment>(
                                *this, [](const auto& v) { return Segment{v.data(), v.size() * sizeof(v[0])}; },
                                [](const std::uint8_t* p, size_t n) { return Segment{p, n}; }));
}

size_t LargeTable::Bytes() const
{
    return classes.Bytes() + classMove.size() * sizeof(std::uint32_t) + distances.Bytes();
}

size_t LargeTable::ExpectedBytes()
{
    return kValueCount * 4 + kClassCount * (4 + 2 + kMoveCount * 4) + kClassCount * ((coord::kTwistCount + 3) / 4);
}

} // namespace optimal
