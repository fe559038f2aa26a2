#include "ColourDecision.h"

#include "CubeDiagnosis.h"
#include "CubieCube.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>

namespace scan {

namespace {

using cubie::CORNER_COUNT;
using cubie::EDGE_COUNT;

constexpr int kColours = kFacesPerCube;
// A cube within this of the best one (and a colour within this of a
// sticker's chosen one) makes a sticker doubtful: about fifty times less
// likely.
constexpr double kDoubtMargin = 4.0;
// Most the best real cube may cost above the stickers' own colours: two
// stickers overruled, and some.
constexpr double kFitExcess = 2.5 * kOverruleCost;
// A colour a person pinned: every other colour is out of the question.
constexpr double kExcluded = 1e6;
// Search nodes allowed for one part (corners or edges) of one reading.
constexpr long kNodeLimit = 300000;
// Solutions kept a parity for one part.
constexpr size_t kKept = 48;

using CostTable = std::array<std::array<double, kColours>, kFaceletCount>;

// Lightness above which a sticker is brighter than the cube's white can be
// under the same light: a lamp's glare on it.
constexpr double kGlareLightness = 115.0;
// Most a glared sticker costs for any colour: its piece decides it, and
// every colour stays in doubt.
constexpr double kGlaredCost = 1.0;
// A centre's look counts at most this far from a group when the pieces
// name the groups, so that one centre's glare cannot outweigh the rest.
constexpr double kLookCap = 25.0;

bool IsCentre(int f) { return f % kFaceletsPerFace == 4; }

// ---- The colour groups ----------------------------------------------------

// Minimum-cost perfect assignment of rows to columns of a square matrix
// (the Hungarian method); returns the column of each row.
std::vector<int> Assign(const std::vector<std::vector<double>>& a)
{
    const int n = static_cast<int>(a.size());
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> u(n + 1), v(n + 1), minv(n + 1);
    std::vector<int> p(n + 1), way(n + 1);
    std::vector<char> used(n + 1);
    for (int i = 1; i <= n; ++i) {
        p[0] = i;
        int j0 = 0;
        std::fill(minv.begin(), minv.end(), inf);
        std::fill(used.begin(), used.end(), 0);
        do {
            used[j0] = 1;
            const int i0 = p[j0];
            double delta = inf;
            int j1 = 0;
            for (int j = 1; j <= n; ++j)
                if (!used[j]) {
                    const double cur = a[i0 - 1][j - 1] - u[i0] - v[j];
                    if (cur < minv[j]) {
                        minv[j] = cur;
                        way[j] = j0;
                    }
                    if (minv[j] < delta) {
                        delta = minv[j];
                        j1 = j;
                    }
                }
            for (int j = 0; j <= n; ++j)
                if (used[j]) {
                    u[p[j]] += delta;
                    v[j] -= delta;
                } else {
                    minv[j] -= delta;
                }
            j0 = j1;
        } while (p[j0] != 0);
        do {
            const int j1 = way[j0];
            p[j0] = p[j1];
            j0 = j1;
        } while (j0);
    }
    std::vector<int> col(n);
    for (int j = 1; j <= n; ++j)
        col[p[j] - 1] = j - 1;
    return col;
}

double Median(std::vector<double> v)
{
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return v[v.size() / 2];
}

struct Groups {
    std::array<int, kFaceletCount> group{};   // 0..5 for every facelet
    std::array<Lab, kColours> mean{};
    std::array<Lab, kFaceletCount> lab{};
    // Stickers brighter than the white: a glare hides their colour.
    std::array<bool, kFaceletCount> glared{};
    // Colours whose group the pieces named against their centres' looks.
    std::array<bool, kColours> namedByPieces{};
};

// Six groups of nine by balanced assignment of all 54 stickers to the
// groups' means, repeated until it settles; the total squared distance of the
// stickers from their groups' means.
double Settle(Groups& g, std::array<Lab, kColours> seeds)
{
    g.mean = seeds;
    std::vector<std::vector<double>> cost(kFaceletCount, std::vector<double>(kFaceletCount));
    std::array<int, kFaceletCount> previous{};
    double total = 0;
    for (int round = 0; round < 10; ++round) {
        // A glared sticker takes whichever place is left, so that it
        // pushes no true member out of a group.
        for (int i = 0; i < kFaceletCount; ++i)
            for (int k = 0; k < kColours; ++k) {
                const double d = g.glared[i] ? 0.0 : DeltaE2000(g.lab[i], g.mean[k]);
                for (int j = 0; j < kFaceletsPerFace; ++j)
                    cost[i][k * kFaceletsPerFace + j] = d * d;
            }
        const std::vector<int> col = Assign(cost);
        for (int i = 0; i < kFaceletCount; ++i)
            g.group[i] = col[i] / kFaceletsPerFace;
        // Each group's mean: the median of each coordinate, which a glare or
        // a shadow on one sticker hardly moves.
        for (int k = 0; k < kColours; ++k) {
            std::vector<double> L, a, b;
            for (int pass = 0; pass < 2 && L.empty(); ++pass)
                for (int f = 0; f < kFaceletCount; ++f)
                    if (g.group[f] == k && (pass == 1 || !g.glared[f])) {
                        L.push_back(g.lab[f].L);
                        a.push_back(g.lab[f].a);
                        b.push_back(g.lab[f].b);
                    }
            g.mean[k] = {Median(L), Median(a), Median(b)};
        }
        total = 0;
        for (int f = 0; f < kFaceletCount; ++f)
            if (!g.glared[f]) {
                const double d = DeltaE2000(g.lab[f], g.mean[g.group[f]]);
                total += d * d;
            }
        if (round > 0 && g.group == previous)
            break;
        previous = g.group;
    }
    return total;
}

// How many corners and edges are real pieces when group k is named
// name[k] (the non-centre stickers only).
int RealPieces(const Groups& g, const std::array<int, kColours>& name)
{
    auto colour = [&](int f) { return name[static_cast<size_t>(g.group[static_cast<size_t>(f)])]; };
    int n = 0;
    for (int i = 0; i < CORNER_COUNT; ++i) {
        const int c[3] = {colour(cubie::kCornerFacelets[i][0]), colour(cubie::kCornerFacelets[i][1]),
                          colour(cubie::kCornerFacelets[i][2])};
        bool bReal = false;
        for (int j = 0; j < CORNER_COUNT && !bReal; ++j)
            for (int t = 0; t < 3 && !bReal; ++t)
                bReal = c[t] == cubie::kCornerFaces[j][0] && c[(t + 1) % 3] == cubie::kCornerFaces[j][1] &&
                        c[(t + 2) % 3] == cubie::kCornerFaces[j][2];
        n += bReal;
    }
    for (int i = 0; i < EDGE_COUNT; ++i) {
        const int c[2] = {colour(cubie::kEdgeFacelets[i][0]), colour(cubie::kEdgeFacelets[i][1])};
        bool bReal = false;
        for (int j = 0; j < EDGE_COUNT && !bReal; ++j)
            bReal = (c[0] == cubie::kEdgeFaces[j][0] && c[1] == cubie::kEdgeFaces[j][1]) ||
                    (c[1] == cubie::kEdgeFaces[j][0] && c[0] == cubie::kEdgeFaces[j][1]);
        n += bReal;
    }
    return n;
}

// How unlike their groups the centres look when group k is named name[k]:
// each centre's distance capped, a glared centre's not counted.
double Look(const Groups& g, const std::array<int, kColours>& name)
{
    double look = 0;
    for (int k = 0; k < kColours; ++k) {
        const int centre = CentreIndex(name[static_cast<size_t>(k)]);
        if (g.glared[static_cast<size_t>(centre)])
            continue;
        const double d =
            std::min(DeltaE2000(g.lab[static_cast<size_t>(centre)], g.mean[static_cast<size_t>(k)]), kLookCap);
        look += d * d;
    }
    return look;
}

// The groups' names told by their pieces where the centres' looks mislead
// (a lamp's glare on a centre): of all namings, those that make the most
// corners and edges real pieces, and of these the one whose centres look
// most like their groups (every turn of the whole cube's colours makes as
// many pieces real). centreOf (group -> centre, by the centres' looks) is
// kept when no naming makes more real pieces.
void NameByPieces(Groups& g, std::array<int, kColours>& centreOf)
{
    const int nNow = RealPieces(g, centreOf);
    if (nNow == CORNER_COUNT + EDGE_COUNT)
        return;
    std::array<int, kColours> name;
    std::iota(name.begin(), name.end(), 0);
    int nBest = nNow;
    double bestLook = std::numeric_limits<double>::infinity();
    std::array<int, kColours> best = centreOf;
    do {
        // A glare misleads one centre or two, which changes three names at
        // most; more would be the whole cube's colours turned, which the
        // looks tell better.
        int nChanged = 0;
        for (int k = 0; k < kColours; ++k)
            nChanged += name[static_cast<size_t>(k)] != centreOf[static_cast<size_t>(k)];
        if (nChanged > 3)
            continue;
        const int n = RealPieces(g, name);
        if (n < nBest)
            continue;
        const double look = Look(g, name);
        if (n > nBest || look < bestLook) {
            nBest = n;
            bestLook = look;
            best = name;
        }
    } while (std::next_permutation(name.begin(), name.end()));
    if (nBest <= nNow)
        return;
    for (int k = 0; k < kColours; ++k)
        g.namedByPieces[static_cast<size_t>(best[static_cast<size_t>(k)])] =
            best[static_cast<size_t>(k)] != centreOf[static_cast<size_t>(k)];
    centreOf = best;
}

// The six colour groups, each named after the centre it holds: grouped from
// the centres' colours and from six far-apart stickers (a glare on a centre
// misleads the first), the tighter grouping kept; then the groups matched to
// the centres, each centre to its own group, at the least total distance.
void FormGroups(Groups& g)
{
    g.namedByPieces = {};
    std::array<Lab, kColours> seeds;
    for (int s = 0; s < kColours; ++s)
        seeds[s] = g.lab[CentreIndex(s)];
    Groups fromCentres = g;
    const double byCentres = Settle(fromCentres, seeds);

    int first = -1;
    for (int f = 0; f < kFaceletCount; ++f)
        if (!g.glared[f] && (first < 0 || g.lab[f].L > g.lab[first].L))
            first = f;
    if (first < 0)
        first = 0;
    seeds[0] = g.lab[first];
    for (int k = 1; k < kColours; ++k) {
        double farthest = -1;
        for (int f = 0; f < kFaceletCount; ++f) {
            if (g.glared[f])
                continue;
            double nearest = std::numeric_limits<double>::infinity();
            for (int j = 0; j < k; ++j)
                nearest = std::min(nearest, DeltaE2000(g.lab[f], seeds[j]));
            if (nearest > farthest) {
                farthest = nearest;
                seeds[k] = g.lab[f];
            }
        }
    }
    const double bySpread = Settle(g, seeds);
    if (byCentres <= bySpread)
        g = fromCentres;

    std::vector<std::vector<double>> match(kColours, std::vector<double>(kColours));
    for (int s = 0; s < kColours; ++s)
        for (int k = 0; k < kColours; ++k) {
            // A glared centre takes the group the others leave.
            const double d = g.glared[CentreIndex(s)] ? 0.0 : DeltaE2000(g.lab[CentreIndex(s)], g.mean[k]);
            match[s][k] = d * d;
        }
    const std::vector<int> groupOf = Assign(match);
    std::array<int, kColours> centreOf{};
    for (int s = 0; s < kColours; ++s)
        centreOf[groupOf[s]] = s;
    NameByPieces(g, centreOf);
    const std::array<Lab, kColours> means = g.mean;
    for (int k = 0; k < kColours; ++k)
        g.mean[centreOf[k]] = means[k];
    for (int f = 0; f < kFaceletCount; ++f)
        g.group[f] = centreOf[g.group[f]];
    // A centre is its own colour whatever it looks like.
    for (int s = 0; s < kColours; ++s) {
        const int other = g.group[CentreIndex(s)];
        if (other == s)
            continue;
        // The sticker of the centre's group nearest the other group goes
        // there instead, so the groups stay nine each.
        int moved = -1;
        double nearest = std::numeric_limits<double>::infinity();
        for (int f = 0; f < kFaceletCount; ++f)
            if (!IsCentre(f) && g.group[f] == s) {
                const double d = DeltaE2000(g.lab[f], g.mean[other]);
                if (d < nearest) {
                    nearest = d;
                    moved = f;
                }
            }
        if (moved >= 0)
            g.group[moved] = other;
        g.group[CentreIndex(s)] = s;
    }
}

// The white: per channel the median of the linear light of the given
// facelets, never quite zero.
Rgb WhiteOf(const Measurement& m, const std::vector<int>& facelets)
{
    std::vector<double> r, g, b;
    for (int f : facelets) {
        r.push_back(SrgbToLinear(m[f].r));
        g.push_back(SrgbToLinear(m[f].g));
        b.push_back(SrgbToLinear(m[f].b));
    }
    return {std::max(Median(r), 1e-3), std::max(Median(g), 1e-3), std::max(Median(b), 1e-3)};
}

// The white's stickers under a first balance (which has the light's colour
// right, if not its strength): of the neutral stickers, the nine most alike
// in lightness. A lamp's glare is neutral too, but brighter than the white
// and scattered; the white's nine are lit alike.
std::vector<int> WhiteStickers(const Measurement& m, const Rgb& white)
{
    std::vector<std::pair<double, int>> neutral;
    for (int f = 0; f < kFaceletCount; ++f) {
        const Lab c = ToLab(m[f], white);
        if (c.Chroma() < 0.2 * std::max(c.L, 0.0) + 5)
            neutral.push_back({c.L, f});
    }
    std::sort(neutral.begin(), neutral.end());
    const size_t n = std::min<size_t>(kFaceletsPerFace, neutral.size());
    std::vector<int> out;
    if (n == 0)
        return out;
    size_t from = neutral.size() - n;
    double tightest = std::numeric_limits<double>::infinity();
    for (size_t i = 0; i + n <= neutral.size(); ++i) {
        // The brighter of two windows alike in spread: the white is the
        // brightest colour.
        const double spread = neutral[i + n - 1].first - neutral[i].first;
        if (spread <= tightest + 1e-9) {
            tightest = spread;
            from = i;
        }
    }
    for (size_t i = from; i < from + n; ++i)
        out.push_back(neutral[i].second);
    return out;
}

// The groups under a white balance from the cube: first from the centre
// that looks most like a white (its dimmest channel the brightest), then
// from the white's stickers under that balance, then from the group that is
// most neutral and bright. Stickers brighter than that white are glared.
Groups GroupColours(const Measurement& m)
{
    int whiteCentre = 0;
    double best = -1;
    for (int s = 0; s < kColours; ++s) {
        const Rgb& c = m[CentreIndex(s)];
        const double dimmest = std::min({c.r, c.g, c.b});
        if (dimmest > best) {
            best = dimmest;
            whiteCentre = s;
        }
    }
    Rgb white = WhiteOf(m, {CentreIndex(whiteCentre)});
    const std::vector<int> whites = WhiteStickers(m, white);
    if (whites.size() >= 5)
        white = WhiteOf(m, whites);
    Groups g;
    int whiteGroup = -1;
    for (int round = 0; round < 3; ++round) {
        for (int f = 0; f < kFaceletCount; ++f) {
            g.lab[f] = ToLab(m[f], white);
            // A glare is the lamp's own light: near neutral.
            g.glared[f] = g.lab[f].L > kGlareLightness && g.lab[f].Chroma() < 0.25 * g.lab[f].L;
        }
        FormGroups(g);
        int neutral = 0;
        double score = -1e9;
        for (int k = 0; k < kColours; ++k) {
            const double s = g.mean[k].L - 1.5 * g.mean[k].Chroma();
            if (s > score) {
                score = s;
                neutral = k;
            }
        }
        if (neutral == whiteGroup)
            break;
        whiteGroup = neutral;
        std::vector<int> members;
        for (int f = 0; f < kFaceletCount; ++f)
            if (g.group[f] == neutral && !g.glared[f])
                members.push_back(f);
        if (members.empty())
            break;
        white = WhiteOf(m, members);
    }
    return g;
}

// Each sticker's cost for each colour: its squared distance from the
// colour's mean against the typical spread within the groups, capped.
CostTable Costs(const Groups& g)
{
    std::vector<double> spread;
    for (int f = 0; f < kFaceletCount; ++f)
        if (!IsCentre(f) && !g.glared[f]) {
            const double d = DeltaE2000(g.lab[f], g.mean[g.group[f]]);
            spread.push_back(d * d);
        }
    if (spread.empty())
        spread.push_back(0);
    const double s2 = std::max(1.5 * Median(spread), 4.0);
    CostTable c{};
    for (int f = 0; f < kFaceletCount; ++f)
        for (int k = 0; k < kColours; ++k) {
            const double d = DeltaE2000(g.lab[f], g.mean[k]);
            c[f][k] = std::min(d * d / (2 * s2), g.glared[f] ? kGlaredCost : kOverruleCost);
        }
    return c;
}

// ---- The search over pieces -----------------------------------------------

struct PartSolution {
    double cost = 0;
    std::array<std::int8_t, EDGE_COUNT> piece{};
    std::array<std::int8_t, EDGE_COUNT> ori{};
};

// The corners (N 8, ORI 3) or the edges (N 12, ORI 2): every solution, for
// each permutation parity, within the margin of that parity's best and
// under the ceiling.
template <int N, int ORI>
class PartSearch {
public:
    PartSearch(const CostTable& cost, const int (*facelets)[ORI], const int (*faces)[ORI])
    {
        for (int i = 0; i < N; ++i) {
            int k = 0;
            for (int p = 0; p < N; ++p)
                for (int o = 0; o < ORI; ++o) {
                    double sum = 0;
                    for (int j = 0; j < ORI; ++j)
                        sum += cost[facelets[i][(o + j) % ORI]][faces[p][j]];
                    m_options[i][k++] = {sum, static_cast<std::int8_t>(p), static_cast<std::int8_t>(o)};
                }
            std::sort(m_options[i].begin(), m_options[i].end(),
                      [](const Option& a, const Option& b) { return a.cost < b.cost; });
        }
    }

    void Run(double ceiling)
    {
        m_ceiling = ceiling;
        Step(0, 0, 0, 0.0);
    }

    bool Exhausted() const { return m_nodes >= kNodeLimit; }
    // Solutions of the parity, cheapest first.
    const std::vector<PartSolution>& Solutions(int parity)
    {
        auto& v = m_solutions[parity];
        std::sort(v.begin(), v.end(), [](const PartSolution& a, const PartSolution& b) { return a.cost < b.cost; });
        return v;
    }

private:
    struct Option {
        double cost;
        std::int8_t piece, ori;
    };

    double Limit() const
    {
        double limit = -1;
        for (int p = 0; p < 2; ++p) {
            double l = m_solutions[p].empty() ? m_ceiling : m_best[p] + kDoubtMargin;
            if (m_solutions[p].size() >= kKept)
                l = std::min(l, m_worst[p]);
            limit = std::max(limit, l);
        }
        return std::min(limit, m_ceiling);
    }

    void Step(int pos, unsigned used, int oriSum, double cost)
    {
        if (++m_nodes >= kNodeLimit)
            return;
        double bound = cost;
        for (int j = pos; j < N; ++j) {
            for (const Option& o : m_options[j])
                if (!(used >> o.piece & 1)) {
                    bound += o.cost;
                    break;
                }
        }
        if (bound > Limit())
            return;
        for (const Option& o : m_options[pos]) {
            if (used >> o.piece & 1)
                continue;
            if (pos == N - 1 && (oriSum + o.ori) % ORI != 0)
                continue;
            const double c = cost + o.cost;
            if (c > Limit())
                break;
            m_piece[pos] = o.piece;
            m_ori[pos] = o.ori;
            if (pos == N - 1)
                Record(c);
            else
                Step(pos + 1, used | 1u << o.piece, oriSum + o.ori, c);
            if (Exhausted())
                return;
        }
    }

    void Record(double cost)
    {
        const int parity = cubie::PermutationParity(m_piece.data(), N);
        auto& v = m_solutions[parity];
        if (v.empty() || cost < m_best[parity])
            m_best[parity] = cost;
        PartSolution s;
        s.cost = cost;
        std::copy(m_piece.begin(), m_piece.begin() + N, s.piece.begin());
        std::copy(m_ori.begin(), m_ori.begin() + N, s.ori.begin());
        v.push_back(s);
        // Drop what fell out of the margin or beyond the number kept.
        v.erase(std::remove_if(v.begin(), v.end(),
                               [&](const PartSolution& x) { return x.cost > m_best[parity] + kDoubtMargin; }),
                v.end());
        if (v.size() > kKept) {
            Solutions(parity);
            v.resize(kKept);
        }
        if (v.size() >= kKept)
            m_worst[parity] = std::max_element(v.begin(), v.end(), [](const PartSolution& a, const PartSolution& b) {
                                  return a.cost < b.cost;
                              })->cost;
    }

    std::array<std::array<Option, N * ORI>, N> m_options{};
    std::array<std::int8_t, N> m_piece{}, m_ori{};
    std::vector<PartSolution> m_solutions[2];
    double m_best[2] = {0, 0};
    double m_worst[2] = {0, 0};
    double m_ceiling = 0;
    long m_nodes = 0;
};

struct CubeCandidate {
    double cost;
    Facelets colors;
};

void Paint(const PartSolution& c, const PartSolution& e, Facelets& colors)
{
    for (int s = 0; s < kColours; ++s)
        colors[CentreIndex(s)] = static_cast<BYTE>(s + 1);
    for (int i = 0; i < CORNER_COUNT; ++i)
        for (int k = 0; k < 3; ++k)
            colors[cubie::kCornerFacelets[i][(c.ori[i] + k) % 3]] =
                static_cast<BYTE>(cubie::kCornerFaces[c.piece[i]][k] + 1);
    for (int i = 0; i < EDGE_COUNT; ++i)
        for (int k = 0; k < 2; ++k)
            colors[cubie::kEdgeFacelets[i][(e.ori[i] + k) % 2]] =
                static_cast<BYTE>(cubie::kEdgeFaces[e.piece[i]][k] + 1);
}

double FreeCost(const CostTable& cost, const int* facelets, int n)
{
    double sum = 0;
    for (int i = 0; i < n; ++i)
        sum += *std::min_element(cost[facelets[i]].begin(), cost[facelets[i]].end());
    return sum;
}

// The real cubes that fit the costs: the best first, then those within the
// margin of it; empty when none fits. bExhausted: the search was cut short.
std::vector<CubeCandidate> RealCubes(const CostTable& cost, bool& bExhausted)
{
    PartSearch<CORNER_COUNT, 3> corners(cost, cubie::kCornerFacelets, cubie::kCornerFaces);
    PartSearch<EDGE_COUNT, 2> edges(cost, cubie::kEdgeFacelets, cubie::kEdgeFaces);
    corners.Run(FreeCost(cost, &cubie::kCornerFacelets[0][0], 3 * CORNER_COUNT) + kFitExcess);
    edges.Run(FreeCost(cost, &cubie::kEdgeFacelets[0][0], 2 * EDGE_COUNT) + kFitExcess);
    bExhausted = corners.Exhausted() || edges.Exhausted();
    std::vector<CubeCandidate> out;
    double best = std::numeric_limits<double>::infinity();
    for (int p = 0; p < 2; ++p) {
        const auto& cs = corners.Solutions(p);
        const auto& es = edges.Solutions(p);
        if (!cs.empty() && !es.empty())
            best = std::min(best, cs[0].cost + es[0].cost);
    }
    for (int p = 0; p < 2; ++p)
        for (const PartSolution& c : corners.Solutions(p))
            for (const PartSolution& e : edges.Solutions(p))
                if (c.cost + e.cost <= best + kDoubtMargin) {
                    CubeCandidate k;
                    k.cost = c.cost + e.cost;
                    Paint(c, e, k.colors);
                    out.push_back(k);
                }
    std::sort(out.begin(), out.end(), [](const CubeCandidate& a, const CubeCandidate& b) { return a.cost < b.cost; });
    return out;
}

// The element of a face's reading that a quarter turns clockwise brings to
// element e.
int TurnedElement(int e, int quarterTurns)
{
    for (int q = 0; q < quarterTurns; ++q)
        e = (2 - e % 3) * 3 + e / 3; // new (r, c) shows old (2 - c, r)
    return e;
}

CostTable TurnReadings(const CostTable& cost, const std::array<int, kFacesPerCube>& turns)
{
    CostTable out = cost;
    for (int s = 0; s < kColours; ++s)
        for (int e = 0; e < kFaceletsPerFace; ++e)
            out[FaceletIndex(s, e)] = cost[FaceletIndex(s, TurnedElement(e, turns[s]))];
    return out;
}

void Pin(CostTable& cost, const Facelets* pinned)
{
    if (!pinned)
        return;
    for (int f = 0; f < kFaceletCount; ++f) {
        const BYTE k = (*pinned)[f];
        if (IsCentre(f) || k < 1 || k > kColours)
            continue;
        for (int j = 0; j < kColours; ++j)
            cost[f][j] = j == k - 1 ? 0.0 : kExcluded;
    }
}

bool IsPinned(const Facelets* pinned, int f)
{
    return pinned && !IsCentre(f) && (*pinned)[f] >= 1 && (*pinned)[f] <= kColours;
}

// A reading the cube fits, turned or not.
struct Fit {
    std::array<int, kFacesPerCube> turns{};
    CostTable cost{};
    std::vector<CubeCandidate> cubes;
};

std::string TurnNote(const std::array<int, kFacesPerCube>& turns)
{
    static const char* const kTurn[] = {"", "a quarter turn clockwise", "a half turn",
                                        "a quarter turn counter-clockwise"};
    std::string s;
    for (int f = 0; f < kColours; ++f)
        if (turns[f]) {
            s += s.empty() ? "The " : " and the ";
            s += FaceName(f);
            s += " face's reading was turned ";
            s += kTurn[turns[f]];
        }
    return s + " to give a real cube.";
}

} // namespace

const char* FaceName(int slot)
{
    static const char* const kNames[] = {"top", "front", "right", "left", "back", "bottom"};
    return slot >= 0 && slot < kColours ? kNames[slot] : "?";
}

bool ColourDecision::IsDoubtful(int facelet) const
{
    return std::binary_search(doubtful.begin(), doubtful.end(), facelet);
}

ColourDecision DecideColours(const Measurement& measured, const Facelets* pinned)
{
    const Groups groups = GroupColours(measured);
    const CostTable own = Costs(groups);
    ColourDecision d;

    bool bExhausted = false;
    Fit fit;
    fit.cost = own;
    Pin(fit.cost, pinned);
    fit.cubes = RealCubes(fit.cost, bExhausted);

    std::array<int, 2> swappedCentres = {-1, -1};
    if (fit.cubes.empty()) {
        // Two centres that look like each other's colours (a glare, a
        // shadow): their groups exchanged, the centres' own costs counted.
        double bestTotal = kFitExcess;
        for (int a = 0; a < kColours; ++a)
            for (int b = a + 1; b < kColours; ++b) {
                const int ca = CentreIndex(a), cb = CentreIndex(b);
                const double penalty = own[ca][b] + own[cb][a] - own[ca][a] - own[cb][b];
                if (penalty > kFitExcess)
                    continue;
                Fit t;
                t.cost = own;
                for (int f = 0; f < kFaceletCount; ++f)
                    std::swap(t.cost[f][a], t.cost[f][b]);
                Pin(t.cost, pinned);
                bool bCut = false;
                t.cubes = RealCubes(t.cost, bCut);
                if (t.cubes.empty())
                    continue;
                double freeCost = 0;
                for (int f = 0; f < kFaceletCount; ++f)
                    if (!IsCentre(f))
                        freeCost += *std::min_element(t.cost[f].begin(), t.cost[f].end());
                const double total = t.cubes[0].cost - freeCost + penalty;
                if (total <= bestTotal) {
                    bestTotal = total;
                    fit = std::move(t);
                    swappedCentres = {a, b};
                    d.note = std::string("The ") + FaceName(a) + " and " + FaceName(b) +
                             " centres look like each other's colours (a glare or a shadow?); their pieces "
                             "decided.";
                }
            }
    }

    if (fit.cubes.empty()) {
        // Readings turned: one face, then two faces; only a single cube
        // that one way of turning gives is taken.
        std::vector<Fit> fits;
        for (int faces = 1; faces <= 2 && fits.empty(); ++faces)
            for (int a = 0; a < kColours; ++a)
                for (int b = faces == 1 ? a : a + 1; b < (faces == 1 ? a + 1 : kColours); ++b)
                    for (int qa = 1; qa < 4; ++qa)
                        for (int qb = 1; qb < (faces == 1 ? 2 : 4); ++qb) {
                            Fit t;
                            t.turns[a] = qa;
                            if (faces == 2)
                                t.turns[b] = qb;
                            t.cost = TurnReadings(own, t.turns);
                            Pin(t.cost, pinned);
                            bool bCut = false;
                            t.cubes = RealCubes(t.cost, bCut);
                            if (t.cubes.empty())
                                continue;
                            const bool bSame = std::any_of(fits.begin(), fits.end(), [&](const Fit& x) {
                                return x.cubes[0].colors == t.cubes[0].colors;
                            });
                            if (!bSame)
                                fits.push_back(std::move(t));
                        }
        if (fits.size() == 1) {
            fit = std::move(fits[0]);
            d.faceTurns = fit.turns;
            d.note = TurnNote(fit.turns);
        } else if (fits.size() > 1) {
            d.note = "No real cube fits the colours as read, and several ways of turning the faces' "
                     "readings would give one.";
        }
    }

    if (d.note.empty() && !fit.cubes.empty()) {
        std::string strNamed;
        int nNamed = 0;
        for (int k = 0; k < kColours; ++k)
            if (groups.namedByPieces[static_cast<size_t>(k)]) {
                strNamed += std::string(nNamed == 0 ? "" : " and ") + FaceName(k);
                ++nNamed;
            }
        if (nNamed > 0)
            d.note = "The " + strNamed + (nNamed == 1 ? " centre looks" : " centres look") +
                     " like another colour (a glare or a shadow?); the pieces tell the colours.";
    }

    const CostTable& cost = fit.cost;
    for (int f = 0; f < kFaceletCount; ++f) {
        std::array<int, kColours> order;
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return cost[f][a] < cost[f][b]; });
        for (int k = 0; k < kColours; ++k)
            d.ranked[f][k] = static_cast<BYTE>(order[k] + 1);
    }
    double freeCost = 0;
    for (int f = 0; f < kFaceletCount; ++f)
        if (!IsCentre(f))
            freeCost += cost[f][d.ranked[f][0] - 1];

    std::vector<char> doubt(kFaceletCount, 0);
    if (!fit.cubes.empty()) {
        d.nResult = kSolved;
        d.colors = fit.cubes[0].colors;
        d.excess = fit.cubes[0].cost - freeCost;
        for (const CubeCandidate& c : fit.cubes)
            for (int f = 0; f < kFaceletCount; ++f)
                if (c.colors[f] != d.colors[f])
                    doubt[f] = 1;
        // Colours told by the pieces against their centres' look, and the
        // faces whose reading was turned, are all in doubt.
        for (int f = 0; f < kFaceletCount; ++f)
            if (d.colors[f] - 1 == swappedCentres[0] || d.colors[f] - 1 == swappedCentres[1] ||
                groups.namedByPieces[d.colors[f] - 1] ||
                fit.turns[f / kFaceletsPerFace] != 0)
                doubt[f] = 1;
        // A sticker overruled from the colour it looks means more stickers
        // look that colour than the cube has: which of them truly are is in
        // doubt, unless they look it clearly better than the overruled one.
        for (int f = 0; f < kFaceletCount; ++f) {
            const int look = d.ranked[f][0] - 1;
            if (IsCentre(f) || cost[f][d.colors[f] - 1] <= cost[f][look] + kDoubtMargin)
                continue;
            for (int g = 0; g < kFaceletCount; ++g)
                if (!IsCentre(g) && d.colors[g] - 1 == look && cost[g][look] + kDoubtMargin > cost[f][look])
                    doubt[g] = 1;
        }
        // A centre unlike its own colour's group means that group was
        // formed of other stickers: its colour is in doubt.
        for (int s = 0; s < kColours; ++s)
            if (!groups.glared[CentreIndex(s)] && cost[CentreIndex(s)][s] > 3 * kDoubtMargin)
                for (int f = 0; f < kFaceletCount; ++f)
                    if (d.colors[f] - 1 == s)
                        doubt[f] = 1;
        // A search cut short leaves as doubtful whatever is not its
        // sticker's nearest colour, as below.
        (void)bExhausted;
    } else {
        d.nResult = kUnsolvable;
        for (int f = 0; f < kFaceletCount; ++f)
            d.colors[f] = static_cast<BYTE>(IsCentre(f) ? f / 9 + 1 : groups.group[f] + 1);
        if (pinned)
            for (int f = 0; f < kFaceletCount; ++f)
                if (IsPinned(pinned, f))
                    d.colors[f] = (*pinned)[f];
        const CubeDiagnosis diagnosis = DiagnoseCube(d.colors.data());
        for (const CubeProblem& p : diagnosis.problems)
            for (int f : p.facelets)
                doubt[f] = 1;
        if (d.note.empty())
            d.note = diagnosis.problems.empty() ? "No real cube fits the colours read."
                                                : "No real cube fits the colours read: " + diagnosis.Summary() + ".";
    }
    for (int f = 0; f < kFaceletCount; ++f) {
        const double chosen = cost[f][d.colors[f] - 1];
        for (int k = 0; k < kColours; ++k)
            if (k != d.colors[f] - 1 && cost[f][k] < chosen + kDoubtMargin)
                doubt[f] = 1;
        if (!IsCentre(f) && !IsPinned(pinned, f) && doubt[f])
            d.doubtful.push_back(f);
    }
    return d;
}

} // namespace scan
