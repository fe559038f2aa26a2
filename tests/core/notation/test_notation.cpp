// The notation: what each construct reads as, what each malformed text is
// told, and the meaning of every move checked against a simulator of its own
// (stickers as points in space turned by rotation matrices) and the model.

#include "CubeFormats.h"
#include "Notation.h"
#include "TestCube.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>

namespace {

using notation::Algorithm;
using notation::Move;
using notation::MoveKind;

std::string Read(const std::string& strText)
{
    Algorithm alg;
    std::string strError;
    EXPECT_TRUE(notation::Parse(strText, alg, strError)) << strText << ": " << strError;
    return notation::Format(alg);
}

std::string ErrorOf(const std::string& strText)
{
    Algorithm alg{Move{}};
    std::string strError;
    EXPECT_FALSE(notation::Parse(strText, alg, strError)) << strText;
    EXPECT_EQ(alg.size(), 1u) << strText; // left alone
    return strError;
}

// ------------------------------------------------------------ a simulator
// A sticker is a point: its cubie's position (each coordinate -1, 0 or 1)
// plus its outward normal; x points right, y up, z to the front. A move turns
// every sticker in its layers a quarter turn at a time about its axis.

struct Vec {
    int x, y, z;
    bool operator==(const Vec& o) const { return x == o.x && y == o.y && z == o.z; }
};

// The sticker of the model's facelet (slot T F R L B D, element r*3+c), as
// the net of CubeSolver.h lays it out.
void StickerOf(int nIndex, Vec& pos, Vec& normal)
{
    const int s = nIndex / 9, r = nIndex % 9 / 3, c = nIndex % 3;
    switch (s) {
    case 0: pos = {c - 1, 1, r - 1}; normal = {0, 1, 0}; break;   // T: row 0 at the back
    case 1: pos = {c - 1, 1 - r, 1}; normal = {0, 0, 1}; break;   // F
    case 2: pos = {1, 1 - r, 1 - c}; normal = {1, 0, 0}; break;   // R: column 0 at the front
    case 3: pos = {-1, 1 - r, c - 1}; normal = {-1, 0, 0}; break; // L: column 0 at the back
    case 4: pos = {1 - c, 1 - r, -1}; normal = {0, 0, -1}; break; // B: column 0 on the right
    default: pos = {c - 1, -1, 1 - r}; normal = {0, -1, 0}; break; // D: row 0 at the front
    }
}

int IndexOf(const Vec& pos, const Vec& normal)
{
    for (int i = 0; i < 54; ++i) {
        Vec p, n;
        StickerOf(i, p, n);
        if (p == pos && n == normal)
            return i;
    }
    ADD_FAILURE() << "no sticker there";
    return 0;
}

// A clockwise quarter turn seen from the tip of the axis k: v -> -(k x v) + k (k.v).
Vec Quarter(const Vec& k, const Vec& v)
{
    const Vec cross{k.y * v.z - k.z * v.y, k.z * v.x - k.x * v.z, k.x * v.y - k.y * v.x};
    const int dot = k.x * v.x + k.y * v.y + k.z * v.z;
    return {-cross.x + k.x * dot, -cross.y + k.y * dot, -cross.z + k.z * dot};
}

using Stickers = std::array<int, 54>;

// Turns the layers whose depth along k (pos . k) is in [nFrom, nTo].
void TurnLayers(Stickers& st, const Vec& k, int nFrom, int nTo, int nQuarters)
{
    for (int q = 0; q < nQuarters; ++q) {
        Stickers next = st;
        for (int i = 0; i < 54; ++i) {
            Vec p, n;
            StickerOf(i, p, n);
            const int d = p.x * k.x + p.y * k.y + p.z * k.z;
            if (d < nFrom || d > nTo)
                continue;
            next[static_cast<size_t>(IndexOf(Quarter(k, p), Quarter(k, n)))] = st[static_cast<size_t>(i)];
        }
        st = next;
    }
}

Vec AxisOfFace(char ch)
{
    switch (ch) {
    case 'U': return {0, 1, 0};
    case 'D': return {0, -1, 0};
    case 'F': return {0, 0, 1};
    case 'B': return {0, 0, -1};
    case 'R': return {1, 0, 0};
    default: return {-1, 0, 0};
    }
}

// Every move by its definition: the layers it turns and the face it turns as.
void Simulate(Stickers& st, const Move& m)
{
    switch (m.kind) {
    case MoveKind::FACE: TurnLayers(st, AxisOfFace(m.letter), 1, 1, m.quarters); break;
    case MoveKind::WIDE: TurnLayers(st, AxisOfFace(m.letter), 0, 1, m.quarters); break;
    case MoveKind::SLICE:
        TurnLayers(st, AxisOfFace(m.letter == 'M' ? 'L' : m.letter == 'E' ? 'D' : 'F'), 0, 0, m.quarters);
        break;
    case MoveKind::ROTATION:
        TurnLayers(st, AxisOfFace(m.letter == 'x' ? 'R' : m.letter == 'y' ? 'U' : 'F'), -1, 1, m.quarters);
        break;
    }
}

Stickers Simulate(Stickers st, const Algorithm& alg)
{
    for (const Move& m : alg)
        Simulate(st, m);
    return st;
}

Stickers FromText(const std::string& s)
{
    Stickers st{};
    for (size_t i = 0; i < 54; ++i)
        st[i] = s[i] - '0';
    return st;
}

std::string ModelMoved(const std::string& strStart, const Algorithm& alg)
{
    CCubeSolver cube;
    LoadText(cube, strStart);
    cube.ExecuteMoves(notation::ToModelMoves(alg));
    return FormatCube(cube);
}

std::string ToText(const Stickers& st)
{
    std::string s;
    for (int c : st)
        s += static_cast<char>('0' + c);
    return s;
}

Move RandomMove(std::mt19937& rng)
{
    static const char* const kLetters[] = {"UDFBLR", "MES", "UDFBLR", "xyz"};
    Move m;
    m.kind = static_cast<MoveKind>(rng() % 4);
    const char* letters = kLetters[static_cast<int>(m.kind)];
    m.letter = letters[rng() % std::strlen(letters)];
    m.quarters = static_cast<int>(rng() % 3) + 1;
    return m;
}

Algorithm RandomAlgorithm(std::mt19937& rng, int n)
{
    Algorithm alg;
    for (int i = 0; i < n; ++i)
        alg.push_back(RandomMove(rng));
    return alg;
}

// ------------------------------------------------------------ reading

TEST(Notation, EveryConstructReads)
{
    struct Row {
        const char* text;
        const char* moves;
    };
    const Row kRows[] = {
        {"", ""},
        {"  // only a comment", ""},
        {"U D F B L R", "U D F B L R"},
        {"U' U2 U2' U\xE2\x80\x99", "U' U2 U2 U'"},
        {"RUR'U'", "R U R' U'"},
        {"M E S M' E2 S2'", "M E S M' E2 S2"},
        {"Rw r Lw' l' Uw2 u2 Dw d Fw f Bw b", "Rw Rw Lw' Lw' Uw2 Uw2 Dw Dw Fw Fw Bw Bw"},
        {"2R 2L 2U 2D 2F 2B", "M' M E' E S S'"},
        {"2R' 2L2 2Rw 2r' 2Uw2", "M M2 Rw Rw' Uw2"},
        {"x y z x' y2 z2'", "x y z x' y2 z2"},
        {"(R U R' U')3", "R U R' U' R U R' U' R U R' U'"},
        {"(R U)'", "U' R'"},
        {"(R U)2'", "U' R' U' R'"},
        {"((R)2 U)2", "R R U R R U"},
        {"[R, U]", "R U R' U'"},
        {"[R: U]", "R U R'"},
        {"[R U: [R, F]]", "R U R F R' F' U' R'"},
        {"[R, U]2", "R U R' U' R U R' U'"},
        {"[R:U]'", "R U' R'"},
        {"[ , R]", "R R'"},
        {"R // a sexy move\nU\t(F)\r\n// done", "R U F"},
        {"R(U)R'[F,B]x", "R U R' F B F' B' x"},
        {"rUR'U'r'FRF'", "Rw U R' U' Rw' F R F'"},
    };
    for (const Row& row : kRows)
        EXPECT_EQ(Read(row.text), row.moves) << row.text;
}

TEST(Notation, ErrorsSayWhatAndWhere)
{
    const std::string kMove =
        ": expected a move U D F B L R, M E S, a wide turn such as Rw or r, a rotation x y z, ( or [";
    struct Row {
        std::string text;
        std::string error;
    };
    const Row kRows[] = {
        {"R U X", "unexpected 'X' at character 5" + kMove + " (rotations are lower-case x y z)"},
        {"R m", "unexpected 'm' at character 3" + kMove + " (slice moves are upper-case M E S)"},
        {"R U.", "unexpected '.' at character 4 after the move U: expected ', 2, a space or the next move"},
        {"U-", "unexpected '-' at character 2 after the move U: expected ', 2, a space or the next move"},
        {"R U R' U' T", "unexpected 'T' at character 11" + kMove},
        {"R2 3R", "layer depth '3' at character 4: on this cube only 2 means a move (2R, 2Rw or 2r)"},
        {"22R", "layer depth '2' at character 1: on this cube only 2 means a move (2R, 2Rw or 2r)"},
        {"2M", "unexpected 'M' at character 2 after the layer depth 2: expected a face letter U D F B L R or u d f b l r"},
        {"(R U", "the ( at character 1 is never closed: expected )"},
        {"R U)", "unexpected ')' at character 4: no ( is open"},
        {"(R]", "unexpected ']' at character 3: expected ) to close the ( at character 1"},
        {"[R (U]", "unexpected ']' at character 6: expected ) to close the ( at character 4"},
        {"[R U]", "unexpected ']' at character 5: the [ at character 1 holds no , or : (expected [A, B] or [A: B])"},
        {"[R, U", "the [ at character 1 is never closed: expected ]"},
        {"[R", "the [ at character 1 is never closed: expected [A, B] or [A: B]"},
        {"[R, U: F]", "unexpected ':' at character 6: the [ at character 1 already holds a , or :"},
        {"R, U", "unexpected ',' at character 2: , goes inside brackets, as in [A, B] or [A: B]"},
        {"(R)0", "the repeat count 0 at character 4: expected 1 or more"},
        {"R / U", "unexpected '/' at character 3: a comment begins with //"},
        {"\xC3\xA9 (R)", "unexpected '\xC3\xA9' at character 1" + kMove},
        {"R\xE2\x80\x99 U\xE2\x80\x9D", "unexpected '\xE2\x80\x9D' at character 5 after the move U: expected ', 2, a space or the next move"},
        {"((((R)99)99)99)99", "the algorithm holds more than 100000 moves once its repeats are written out"},
        {"(R)9999999999", "the algorithm holds more than 100000 moves once its repeats are written out"},
        {std::string("R\0U", 3), "unexpected U+0000 at character 2 after the move R: expected ', 2, a space or the next move"},
        {std::string(101, '(') + "R" + std::string(101, ')'),
         "'(' at character 101 opens more than 100 brackets one inside another"},
    };
    for (const Row& row : kRows)
        EXPECT_EQ(ErrorOf(row.text), row.error) << row.text;
}

// ------------------------------------------------------------ meaning

// Every kind of move, on many random cubes, as the simulator turns its
// layers and as the model performs its translation; the model's face turns
// and rotations are themselves checked against the simulator first.
TEST(Notation, EveryMoveMeansWhatItsLayersDo)
{
    std::mt19937 rng(41);
    for (int k = 0; k < 1000; ++k) {
        CCubeSolver cube;
        MakeRandomLegalCube(cube, rng);
        const std::string strStart = FormatCube(cube);
        const Move m = RandomMove(rng);
        const Algorithm alg{m};
        ASSERT_EQ(ModelMoved(strStart, alg), ToText(Simulate(FromText(strStart), alg))) << notation::Format(m);
    }
    // Every move once, on one random cube each.
    for (const MoveKind kind : {MoveKind::FACE, MoveKind::SLICE, MoveKind::WIDE, MoveKind::ROTATION})
        for (char ch : std::string(kind == MoveKind::SLICE ? "MES" : kind == MoveKind::ROTATION ? "xyz" : "UDFBLR"))
            for (int q = 1; q <= 3; ++q) {
                CCubeSolver cube;
                MakeRandomLegalCube(cube, rng);
                const Algorithm alg{Move{kind, ch, q}};
                EXPECT_EQ(ModelMoved(FormatCube(cube), alg), ToText(Simulate(FromText(FormatCube(cube)), alg)))
                    << notation::Format(alg);
            }
}

// Random algorithms of every kind of move: the model and the simulator agree,
// and an algorithm followed by its inverse changes nothing.
TEST(Notation, RandomAlgorithmsAgreeAndInvert)
{
    std::mt19937 rng(7);
    for (int k = 0; k < 300; ++k) {
        CCubeSolver cube;
        MakeRandomLegalCube(cube, rng);
        const std::string strStart = FormatCube(cube);
        const Algorithm alg = RandomAlgorithm(rng, static_cast<int>(rng() % 25) + 1);
        ASSERT_EQ(ModelMoved(strStart, alg), ToText(Simulate(FromText(strStart), alg))) << notation::Format(alg);

        Algorithm both = alg;
        const Algorithm inverse = notation::Inverse(alg);
        both.insert(both.end(), inverse.begin(), inverse.end());
        ASSERT_EQ(ModelMoved(strStart, both), strStart) << notation::Format(alg);
        ASSERT_EQ(notation::Inverse(inverse), alg);

        // The text written reads back as the same moves.
        Algorithm again;
        std::string strError;
        ASSERT_TRUE(notation::Parse(notation::Format(alg), again, strError)) << strError;
        ASSERT_EQ(again, alg);
    }
}

// The identities cube people use, as whole algorithms on random cubes.
TEST(Notation, KnownIdentities)
{
    struct Row {
        const char* a;
        const char* b;
    };
    const Row kRows[] = {
        {"M", "R L' x'"},          {"E", "U D' y'"},         {"S", "F' B z"},
        {"Rw", "L x"},             {"r", "R M'"},            {"Uw'", "U' E"},
        {"x", "R M' L'"},          {"y", "U E' D'"},         {"z", "F S B'"},
        {"M2 E2 S2", "R2 L2 U2 D2 F2 B2"},
        {"[R, U]", "R U R' U'"},   {"(R U R' U')6", ""},     {"[R: [U, F]]", "R U F U' F' R'"},
        {"2Rw", "r"},              {"2L", "M"},
    };
    std::mt19937 rng(3);
    for (const Row& row : kRows)
        for (int k = 0; k < 20; ++k) {
            CCubeSolver cube;
            MakeRandomLegalCube(cube, rng);
            Algorithm a, b;
            std::string strError;
            ASSERT_TRUE(notation::Parse(row.a, a, strError) && notation::Parse(row.b, b, strError));
            EXPECT_EQ(ModelMoved(FormatCube(cube), a), ModelMoved(FormatCube(cube), b)) << row.a;
        }
}

// A mirrored algorithm does to the mirrored cube what the algorithm does:
// as sticker permutations, mirror(A) = s A s for the reflection s.
TEST(Notation, MirrorReflectsTheCube)
{
    struct Plane {
        char axis;
        Vec (*reflect)(const Vec&);
    };
    const Plane kPlanes[] = {
        {'x', [](const Vec& v) { return Vec{-v.x, v.y, v.z}; }},
        {'y', [](const Vec& v) { return Vec{v.x, -v.y, v.z}; }},
        {'z', [](const Vec& v) { return Vec{v.x, v.y, -v.z}; }},
    };
    Stickers labels{};
    for (int i = 0; i < 54; ++i)
        labels[static_cast<size_t>(i)] = i;
    std::mt19937 rng(11);
    for (const Plane& plane : kPlanes) {
        int reflected[54];
        for (int i = 0; i < 54; ++i) {
            Vec p, n;
            StickerOf(i, p, n);
            reflected[i] = IndexOf(plane.reflect(p), plane.reflect(n));
        }
        for (int k = 0; k < 100; ++k) {
            const Algorithm alg = RandomAlgorithm(rng, static_cast<int>(rng() % 12) + 1);
            const Stickers moved = Simulate(labels, alg);
            const Stickers mirrored = Simulate(labels, notation::Mirror(alg, plane.axis));
            for (int i = 0; i < 54; ++i)
                ASSERT_EQ(mirrored[static_cast<size_t>(reflected[i])], reflected[moved[static_cast<size_t>(i)]])
                    << plane.axis << ": " << notation::Format(alg);
            ASSERT_EQ(notation::Mirror(notation::Mirror(alg, plane.axis), plane.axis), alg);
        }
    }
    EXPECT_EQ(notation::Format(notation::Mirror(Algorithm{{MoveKind::FACE, 'R', 1}, {MoveKind::FACE, 'U', 1}})),
              "L' U'");
}

TEST(Notation, MetricsCountAsWritten)
{
    struct Row {
        const char* text;
        notation::Metrics metrics; // HTM, QTM, STM
    };
    const Row kRows[] = {
        {"", {0, 0, 0}},
        {"R U R' U'", {4, 4, 4}},
        {"R2 U2", {2, 4, 2}},
        {"M", {2, 2, 1}},
        {"M2 E S'", {6, 8, 3}},
        {"Rw r2 x y2 z'", {2, 3, 2}},
        {"(R U)3", {6, 6, 6}},
    };
    for (const Row& row : kRows) {
        Algorithm alg;
        std::string strError;
        ASSERT_TRUE(notation::Parse(row.text, alg, strError));
        EXPECT_EQ(notation::Count(alg), row.metrics) << row.text;
    }
    // A face-turn sequence counts the same from its model string.
    std::mt19937 rng(5);
    for (int k = 0; k < 100; ++k) {
        Algorithm alg;
        for (int i = 0; i < 20; ++i)
            alg.push_back(Move{MoveKind::FACE, "UDFBLR"[rng() % 6], static_cast<int>(rng() % 3) + 1});
        EXPECT_EQ(notation::CountModelMoves(notation::ToModelMoves(alg)), notation::Count(alg));
    }
    EXPECT_EQ(notation::CountModelMoves("T+.C^.F*.Q+.R-"), (notation::Metrics{3, 4, 3}));
    EXPECT_EQ(notation::FormatMetrics({20, 27, 20}), "20 HTM \xC2\xB7 27 QTM \xC2\xB7 20 STM");
}

// The reader of moves as a user gives them: the model's groups when each is a
// move, else standard notation, else the reading that got further is told.
TEST(Notation, MoveTextInEitherNotation)
{
    struct Row {
        const char* text;
        const char* model; // nullptr: refused with the error
        const char* error;
    };
    const Row kRows[] = {
        {"F+.T-.C^.", "F+.T-.C^.", ""},
        {"F+xR-", "F+xR-", ""},
        {"R U R' U'", "R+.T+.R-.T-.", ""},
        {"M", "R+.L-.Cv.", ""},
        {"", "", ""},
        {"F+R-.", nullptr, "group 2 \"-.\" at character 4 is no move: expected a face T F R L B D with + - *, or C with + - ^ v"},
        {"F+.f+.", nullptr, "group 2 \"f+.\" at character 4 is no move: expected a face T F R L B D with + - *, or C with + - ^ v"},
        {"R U.", nullptr, "unexpected '.' at character 4 after the move U: expected ', 2, a space or the next move"},
        {"U-", nullptr, "unexpected '-' at character 2 after the move U: expected ', 2, a space or the next move"},
    };
    for (const Row& row : kRows) {
        std::string strModel = "unchanged", strError;
        const bool bOk = ParseMoveText(row.text, strModel, strError);
        EXPECT_EQ(bOk, row.model != nullptr) << row.text;
        EXPECT_EQ(bOk ? strModel : strError, bOk ? row.model : row.error) << row.text;
    }
    std::string strModel, strError;
    ASSERT_TRUE(ParseMoveText("R U M", strModel, strError, true));
    EXPECT_EQ(strModel, notation::ToModelMoves(notation::Inverse({{MoveKind::FACE, 'R', 1},
                                                                   {MoveKind::FACE, 'U', 1},
                                                                   {MoveKind::SLICE, 'M', 1}})));
    ASSERT_TRUE(ParseMoveText("F+.T-.", strModel, strError, true));
    EXPECT_EQ(strModel, "T+.F-.");
}

} // namespace
