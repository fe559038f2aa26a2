#include "CubeDiagnosis.h"

#include "CubieCube.h"

#include <algorithm>
#include <cstring>
#include <utility>

using namespace cubie;

namespace {

constexpr int kSlotT = 0, kSlotF = 1, kSlotR = 2, kSlotL = 3, kSlotB = 4, kSlotD = 5;
const char* const kFaceNames[kFaceCount] = {"top", "front", "right", "left", "back", "bottom"};
const char* const kColourNames[7] = {"blank", "yellow", "blue", "red", "orange", "green", "white"};
constexpr int kOpposite[kFaceCount] = {kSlotD, kSlotB, kSlotL, kSlotR, kSlotF, kSlotT};

bool IsCentre(int f) { return f % 9 == 4; }

// Order of faces in a place name: top or bottom, then front or back, then left or right.
int PlaceRank(int nSlot)
{
    return nSlot == kSlotT || nSlot == kSlotD ? 0 : nSlot == kSlotF || nSlot == kSlotB ? 1 : 2;
}

std::vector<int> ByPlaceRank(const int* faces, int n)
{
    std::vector<int> v(faces, faces + n);
    std::stable_sort(v.begin(), v.end(), [](int a, int b) { return PlaceRank(a) < PlaceRank(b); });
    return v;
}

CString PlaceName(const int* faces, int n)
{
    CString s;
    for (int f : ByPlaceRank(faces, n)) {
        if (!s.empty())
            s += '-';
        s += kFaceNames[f];
    }
    return s;
}

CString CornerPlace(int i) { return "the corner at " + PlaceName(kCornerFaces[i], 3); }
CString EdgePlace(int i) { return "the edge at " + PlaceName(kEdgeFaces[i], 2); }

// The colours of a piece (named by its home faces) as its display names, "red-blue".
CString PieceColours(const int* faces, int n, const BYTE* centre)
{
    CString s;
    for (int f : ByPlaceRank(faces, n)) {
        if (!s.empty())
            s += '-';
        s += kColourNames[centre[f]];
    }
    return s;
}

CString FaceletName(int f)
{
    const int nSlot = f / 9;
    if (IsCentre(f))
        return CString("the centre of the ") + kFaceNames[nSlot] + " face";
    for (int i = 0; i < CORNER_COUNT; ++i)
        for (int k = 0; k < 3; ++k)
            if (kCornerFacelets[i][k] == f)
                return CString("the ") + kFaceNames[nSlot] + " sticker of " + CornerPlace(i);
    for (int i = 0; i < EDGE_COUNT; ++i)
        for (int k = 0; k < 2; ++k)
            if (kEdgeFacelets[i][k] == f)
                return CString("the ") + kFaceNames[nSlot] + " sticker of " + EdgePlace(i);
    return "facelet " + std::to_string(f);
}

CString Capitalised(CString s)
{
    if (!s.empty() && s[0] >= 'a' && s[0] <= 'z')
        s[0] = static_cast<char>(s[0] - 'a' + 'A');
    return s;
}

CString Count(int n, const char* pszOne, const char* pszMany)
{
    return std::to_string(n) + " " + (n == 1 ? pszOne : pszMany);
}

// "a", "a and b", "a, b and c".
CString JoinWords(const std::vector<CString>& words)
{
    CString s;
    for (size_t i = 0; i < words.size(); ++i) {
        if (i > 0)
            s += i + 1 == words.size() ? " and " : ", ";
        s += words[i];
    }
    return s;
}

void Add(CubeDiagnosis& d, CubeProblemKind kind, CString text, std::vector<int> facelets)
{
    std::sort(facelets.begin(), facelets.end());
    facelets.erase(std::unique(facelets.begin(), facelets.end()), facelets.end());
    d.problems.push_back({kind, std::move(text), std::move(facelets)});
}

// Positions whose colours no piece has (impossible or mirrored pieces).
int CountImpossible(const FaceletReading& r)
{
    int n = 0;
    for (const PieceReading& p : r.corners)
        n += p.status == PieceStatus::NO_SUCH_PIECE || p.status == PieceStatus::MIRRORED;
    for (const PieceReading& p : r.edges)
        n += p.status == PieceStatus::NO_SUCH_PIECE;
    return n;
}

// Why the colours at a piece's facelets form no piece: a colour twice, or two
// colours of opposite faces. Empty when neither.
CString WhyNoPiece(const BYTE* colors, const int* facelets, int n, const int* slotOfColour)
{
    for (int a = 0; a < n; ++a)
        for (int b = a + 1; b < n; ++b) {
            const BYTE ca = colors[facelets[a]], cb = colors[facelets[b]];
            if (ca == cb)
                return CString(" has two ") + kColourNames[ca] +
                       " stickers: no piece has one colour twice.";
            if (kOpposite[slotOfColour[ca]] == slotOfColour[cb])
                return CString(" has ") + kColourNames[ca] + " and " + kColourNames[cb] +
                       " stickers: those colours are on opposite faces and never meet on one piece.";
        }
    return CString();
}

// Corners whose colours form no piece, or a mirror image of one. Returns
// whether any corner is still partly blank.
bool AddImpossibleCorners(const BYTE* c, const FaceletReading& r, CubeDiagnosis& d)
{
    bool bBlank = false;
    for (int i = 0; i < CORNER_COUNT; ++i) {
        const int* fl = kCornerFacelets[i];
        const std::vector<int> facelets(fl, fl + 3);
        switch (r.corners[i].status) {
        case PieceStatus::NO_SUCH_PIECE:
            Add(d, CubeProblemKind::IMPOSSIBLE_PIECE,
                Capitalised(CornerPlace(i)) + WhyNoPiece(c, fl, 3, r.centres.slotOfColour), facelets);
            break;
        case PieceStatus::MIRRORED: {
            std::vector<CString> faces, colours;
            for (int f : ByPlaceRank(kCornerFaces[i], 3)) {
                faces.push_back(kFaceNames[f]);
                for (int k = 0; k < 3; ++k)
                    if (kCornerFaces[i][k] == f)
                        colours.push_back(kColourNames[c[fl[k]]]);
            }
            Add(d, CubeProblemKind::IMPOSSIBLE_PIECE,
                Capitalised(CornerPlace(i)) + " is a mirror image: its " + JoinWords(faces) +
                    " stickers are " + JoinWords(colours) +
                    ", which go round the wrong way, as if two were exchanged.",
                facelets);
            break;
        }
        case PieceStatus::OK: break;
        default: bBlank = true; break;
        }
    }
    return bBlank;
}

// Edges whose colours form no piece. Returns whether any edge is still partly blank.
bool AddImpossibleEdges(const BYTE* c, const FaceletReading& r, CubeDiagnosis& d)
{
    bool bBlank = false;
    for (int i = 0; i < EDGE_COUNT; ++i) {
        const int* fl = kEdgeFacelets[i];
        if (r.edges[i].status == PieceStatus::NO_SUCH_PIECE)
            Add(d, CubeProblemKind::IMPOSSIBLE_PIECE,
                Capitalised(EdgePlace(i)) + WhyNoPiece(c, fl, 2, r.centres.slotOfColour),
                std::vector<int>(fl, fl + 2));
        else if (r.edges[i].status != PieceStatus::OK)
            bBlank = true;
    }
    return bBlank;
}

// The corners (N = 3) or edges (N = 2) of a cube, as the diagnosis names them.
template <int N>
struct PieceKind {
    int count;                // places and pieces of the kind
    const char* word;         // "corner" or "edge"
    const int (*faces)[N];    // the faces of each place, in the piece's order
    const int (*facelets)[N]; // the facelets of each place
    const PieceReading* read; // what each place holds
    const int* pieceCount;    // how often each piece was found
};

// Pieces of a kind there twice or more.
template <int N>
void AddDoubled(const PieceKind<N>& k, const BYTE* centre, CubeDiagnosis& d)
{
    for (int p = 0; p < k.count; ++p)
        if (k.pieceCount[p] > 1) {
            std::vector<CString> places;
            std::vector<int> facelets;
            for (int i = 0; i < k.count; ++i)
                if (k.read[i].status == PieceStatus::OK && k.read[i].piece == p) {
                    places.push_back(PlaceName(k.faces[i], N));
                    facelets.insert(facelets.end(), k.facelets[i], k.facelets[i] + N);
                }
            Add(d, CubeProblemKind::DUPLICATE_PIECE,
                "The " + PieceColours(k.faces[p], N, centre) + " " + k.word + " is there " +
                    (k.pieceCount[p] == 2 ? "twice" : std::to_string(k.pieceCount[p]) + " times") +
                    ": at " + JoinWords(places) + ".",
                facelets);
        }
}

// Pieces of a kind found nowhere; only when every place of the kind is painted.
template <int N>
void AddMissing(const PieceKind<N>& k, const BYTE* centre, CubeDiagnosis& d)
{
    for (int p = 0; p < k.count; ++p)
        if (k.pieceCount[p] == 0)
            Add(d, CubeProblemKind::MISSING_PIECE,
                "The " + PieceColours(k.faces[p], N, centre) + " " + k.word + " is missing.", {});
}

// The flip, twist and permutation parities of a complete set of pieces.
void AddParities(const FaceletReading& r, CubeDiagnosis& d)
{
    if (r.flipSum != 0)
        Add(d, CubeProblemKind::FLIPPED_EDGE,
            "One edge is flipped, its two colours the wrong way round. Which one cannot be told "
            "from the colours: find it and flip it back.",
            {});
    // A corner's orientation counts clockwise steps, so a sum of one is one
    // corner turned a third clockwise (or two turned counter-clockwise).
    if (r.twistSum == 1)
        Add(d, CubeProblemKind::TWISTED_CORNERS,
            "One corner is twisted clockwise (or two counter-clockwise). Which one cannot be told "
            "from the colours: find it and turn it back.",
            {});
    else if (r.twistSum == 2)
        Add(d, CubeProblemKind::TWISTED_CORNERS,
            "One corner is twisted counter-clockwise (or two clockwise). Which one cannot be told "
            "from the colours: find it and turn it back.",
            {});
    if (r.cornerParity != r.edgeParity)
        Add(d, CubeProblemKind::SWAPPED_PIECES,
            "Two pieces are swapped, which no turns can undo. Which two cannot be told from the "
            "colours: look for two edges or two corners painted in each other's place.",
            {});
}

void DiagnosePieces(const BYTE* c, const FaceletReading& r, CubeDiagnosis& d)
{
    const bool bCornerBlank = AddImpossibleCorners(c, r, d);
    const bool bEdgeBlank = AddImpossibleEdges(c, r, d);
    const PieceKind<3> corners{CORNER_COUNT, "corner", kCornerFaces, kCornerFacelets, r.corners, r.cornerCount};
    const PieceKind<2> edges{EDGE_COUNT, "edge", kEdgeFaces, kEdgeFacelets, r.edges, r.edgeCount};
    AddDoubled(corners, r.centres.colour, d);
    AddDoubled(edges, r.centres.colour, d);
    if (!bCornerBlank)
        AddMissing(corners, r.centres.colour, d);
    if (!bEdgeBlank)
        AddMissing(edges, r.centres.colour, d);
    if (r.bComplete)
        AddParities(r, d);
}

// Centres in an arrangement that no real cube with the solved colours of
// T F R L B D (1 to 6; 1 faces 6, 2 faces 5, 3 faces 4) has.
void AddCentreArrangement(const BYTE* centre, CubeDiagnosis& d)
{
    int slotOf[7] = {};
    for (int s = 0; s < kFaceCount; ++s)
        slotOf[centre[s]] = s;
    for (int s = 0; s < kFaceCount; ++s) {
        const int nFacing = centre[kOpposite[s]];
        const int nShould = 7 - centre[s];
        if (nFacing != nShould) {
            Add(d, CubeProblemKind::CENTRES_MIRRORED,
                CString("The centres are in an arrangement no real cube has: the ") +
                    kColourNames[centre[s]] + " centre faces " + kColourNames[nFacing] +
                    " instead of " + kColourNames[nShould] + ".",
                {CentreIndex(s), CentreIndex(kOpposite[s]), CentreIndex(slotOf[nShould])});
            return;
        }
    }
    Add(d, CubeProblemKind::CENTRES_MIRRORED,
        "The centres are arranged as a mirror image of a real cube: two opposite centres are the "
        "wrong way round (top and bottom, front and back, or left and right).",
        {4, 13, 22, 31, 40, 49});
}

// Tries each exchange of two centres; returns the pairs after which the
// pieces fit (at most one impossible piece left, and at least four fewer).
std::vector<std::pair<int, int>> CentreSwapsThatFit(const BYTE* c, int nImpossible)
{
    std::vector<std::pair<int, int>> best;
    int nBest = nImpossible;
    for (int a = 0; a < kFaceCount; ++a)
        for (int b = a + 1; b < kFaceCount; ++b) {
            Facelets swapped;
            std::copy(c, c + kFaceletCount, swapped.begin());
            std::swap(swapped[CentreIndex(a)], swapped[CentreIndex(b)]);
            const int n = CountImpossible(ReadFacelets(swapped.data()));
            if (n < nBest) {
                nBest = n;
                best.clear();
            }
            if (n == nBest && n < nImpossible)
                best.emplace_back(a, b);
        }
    if (nBest > 1 || nBest + 4 > nImpossible)
        best.clear();
    return best;
}

// One sticker painted with a colour there is one too many of, in place of one
// there is one too few of: names it when repainting it makes a real cube.
// Returns whether it did.
bool AddWrongSticker(const Facelets& c, const int (&count)[7], CubeDiagnosis& d)
{
    int nOver = 0, nUnder = 0, nOff = 0;
    for (int k = 1; k <= 6; ++k)
        if (count[k] != 9) {
            ++nOff;
            if (count[k] == 10)
                nOver = k;
            if (count[k] == 8)
                nUnder = k;
        }
    if (count[0] != 0 || nOff != 2 || !nOver || !nUnder)
        return false;
    std::vector<int> fixes;
    for (int f = 0; f < kFaceletCount; ++f)
        if (c[f] == nOver) {
            Facelets repainted = c;
            repainted[f] = static_cast<BYTE>(nUnder);
            if (ReadVerdict(repainted.data()) == kSolved)
                fixes.push_back(f);
        }
    if (fixes.size() == 1)
        Add(d, CubeProblemKind::WRONG_STICKER,
            Capitalised(FaceletName(fixes[0])) + " is painted the wrong colour: it is " +
                kColourNames[nOver] + " and should be " + kColourNames[nUnder] + ".",
            fixes);
    else if (!fixes.empty())
        Add(d, CubeProblemKind::WRONG_STICKER,
            CString("One sticker is painted ") + kColourNames[nOver] + " where " +
                kColourNames[nUnder] + " belongs: it is one of these " +
                std::to_string(fixes.size()) + ".",
            fixes);
    return !fixes.empty();
}

// Colours on more or fewer than nine stickers, and the blanks.
void AddColourCounts(const Facelets& c, const int (&count)[7], CubeDiagnosis& d)
{
    for (int k = 1; k <= 6; ++k)
        if (count[k] != 9) {
            std::vector<int> facelets;
            for (int f = 0; f < kFaceletCount; ++f)
                if (c[f] == k)
                    facelets.push_back(f);
            const CString strColour = kColourNames[k];
            const CString strCount = count[k] == 0   ? "are no " + strColour + " stickers"
                                     : count[k] == 1 ? "is 1 " + strColour + " sticker"
                                                     : "are " + std::to_string(count[k]) + " " +
                                                           strColour + " stickers";
            Add(d, CubeProblemKind::COLOUR_COUNT, "There " + strCount + ", not nine.", facelets);
        }
    if (count[0] > 0) {
        std::vector<int> facelets;
        for (int f = 0; f < kFaceletCount; ++f)
            if (c[f] == 0)
                facelets.push_back(f);
        Add(d, CubeProblemKind::BLANK,
            Count(count[0], "sticker is", "stickers are") + " still blank.", facelets);
    }
}

// Blank centres, colours on two centres or on none. Returns whether the
// centres are six different colours (without them no piece can be named).
bool AddCentreColours(const Facelets& c, CubeDiagnosis& d)
{
    int centreCount[7] = {};
    for (int s = 0; s < kFaceCount; ++s)
        ++centreCount[c[CentreIndex(s)]];
    for (int s = 0; s < kFaceCount; ++s)
        if (c[CentreIndex(s)] == 0)
            Add(d, CubeProblemKind::CENTRE_BLANK,
                CString("The centre of the ") + kFaceNames[s] + " face is blank.", {CentreIndex(s)});
    for (int k = 1; k <= 6; ++k)
        if (centreCount[k] > 1) {
            std::vector<CString> names;
            std::vector<int> facelets;
            for (int s = 0; s < kFaceCount; ++s)
                if (c[CentreIndex(s)] == k) {
                    names.push_back(kFaceNames[s]);
                    facelets.push_back(CentreIndex(s));
                }
            Add(d, CubeProblemKind::CENTRE_TWICE,
                "The " + JoinWords(names) + " centres are " + (names.size() == 2 ? "both " : "all ") +
                    kColourNames[k] + ": every centre has a colour of its own.",
                facelets);
        }
    for (int k = 1; k <= 6; ++k)
        if (centreCount[k] == 0)
            Add(d, CubeProblemKind::CENTRE_MISSING, CString("No centre is ") + kColourNames[k] + ".",
                {});
    for (int k = 1; k <= 6; ++k)
        if (centreCount[k] != 1) {
            if (d.problems.empty())
                Add(d, CubeProblemKind::CENTRE_MISSING, "The centres are not six different colours.", {});
            return false;
        }
    return true;
}

// Of several exchanges of two centres that fit (two opposite centres swapped:
// any opposite pair fits), the one giving each slot its solved colour; the
// first when none does. Sets bKnown when the exchange is the only one or that one.
std::pair<int, int> ChooseCentreSwap(const Facelets& c, const std::vector<std::pair<int, int>>& swaps,
                                     bool& bKnown)
{
    std::pair<int, int> chosen = swaps.front();
    bKnown = swaps.size() == 1;
    for (const auto& sw : swaps) {
        BYTE centres[kFaceCount];
        for (int s = 0; s < kFaceCount; ++s)
            centres[s] = c[CentreIndex(s)];
        std::swap(centres[sw.first], centres[sw.second]);
        bool bSolvedColours = true;
        for (int s = 0; s < kFaceCount; ++s)
            bSolvedColours = bSolvedColours && centres[s] == s + 1;
        if (bSolvedColours) {
            chosen = sw;
            bKnown = true;
        }
    }
    return chosen;
}

// Where exchanging two centres makes the pieces fit, says so and diagnoses the
// pieces against the exchanged centres. Returns whether it did.
bool AddCentreSwap(Facelets c, int nImpossible, CubeDiagnosis& d)
{
    const std::vector<std::pair<int, int>> swaps = CentreSwapsThatFit(c.data(), nImpossible);
    if (swaps.empty())
        return false;
    bool bKnown = false;
    const auto [a, b] = ChooseCentreSwap(c, swaps, bKnown);
    if (bKnown) {
        Add(d, CubeProblemKind::CENTRES_SWAPPED,
            CString("The ") + kFaceNames[a] + " and " + kFaceNames[b] +
                " centres look swapped: the pieces fit only if the " + kFaceNames[a] + " centre is " +
                kColourNames[c[CentreIndex(b)]] + " and the " + kFaceNames[b] + " centre " +
                kColourNames[c[CentreIndex(a)]] + ".",
            {CentreIndex(a), CentreIndex(b)});
    } else {
        std::vector<int> facelets;
        for (const auto& sw : swaps) {
            facelets.push_back(CentreIndex(sw.first));
            facelets.push_back(CentreIndex(sw.second));
        }
        Add(d, CubeProblemKind::CENTRES_MIRRORED,
            "The centres are arranged as a mirror image of the pieces' colours, which no "
            "real cube has: two opposite centres are exchanged (top and bottom, front and "
            "back, or left and right).",
            facelets);
    }
    std::swap(c[CentreIndex(a)], c[CentreIndex(b)]);
    DiagnosePieces(c.data(), ReadFacelets(c.data()), d);
    return true;
}

} // namespace

const char* ColourName(BYTE colour)
{
    return colour >= 1 && colour <= 6 ? kColourNames[colour] : kColourNames[0];
}

CString CubeDiagnosis::Summary() const
{
    CString s;
    for (const CubeProblem& p : problems) {
        if (!s.empty())
            s += "; ";
        CString t = p.text;
        if (!t.empty() && t.back() == '.')
            t.pop_back();
        s += t;
    }
    return s;
}

CubeDiagnosis DiagnoseCube(const BYTE colors[54])
{
    CubeDiagnosis d;
    d.nResult = ReadVerdict(colors);
    if (d.nResult == kSolved)
        return d;

    Facelets c;
    int count[7] = {};
    for (int f = 0; f < kFaceletCount; ++f) {
        c[f] = colors[f] <= 6 ? colors[f] : 0;
        ++count[c[f]];
    }
    if (AddWrongSticker(c, count, d))
        return d;
    AddColourCounts(c, count, d);
    if (!AddCentreColours(c, d))
        return d;

    const FaceletReading r = ReadFacelets(c.data());
    const int nImpossible = CountImpossible(r);
    if (nImpossible > 0 && AddCentreSwap(c, nImpossible, d))
        return d;
    // Centres no real cube in the program's colours has, unless the painted
    // pieces agree with them (a cube painted in another scheme).
    int nIdentified = 0;
    for (const PieceReading& p : r.corners)
        nIdentified += p.status == PieceStatus::OK;
    for (const PieceReading& p : r.edges)
        nIdentified += p.status == PieceStatus::OK;
    if (r.centres.arrangement != CentreReading::ROTATION && (nImpossible > 0 || nIdentified == 0))
        AddCentreArrangement(r.centres.colour, d);
    DiagnosePieces(c.data(), r, d);

    if (d.problems.empty())
        Add(d, CubeProblemKind::IMPOSSIBLE_PIECE, "The colours do not make up a real cube.", {});
    return d;
}
