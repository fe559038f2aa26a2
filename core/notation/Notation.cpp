#include "Notation.h"

#include "TextChars.h"

#include <cstring>

namespace notation {

namespace {

// The typographic apostrophe that web pages put for ' (UTF-8).
const char kCurlyPrime[] = "\xE2\x80\x99";

// Deepest nesting of ( and [ read (far beyond any algorithm written by hand).
constexpr int kMaxNesting = 100;

const char kExpectedMove[] =
    "expected a move U D F B L R, M E S, a wide turn such as Rw or r, a rotation x y z, ( or [";

bool IsSpace(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\f' || ch == '\v';
}

bool IsFaceLetter(char ch) { return ch != '\0' && std::strchr("UDFBLR", ch) != nullptr; }
bool IsWideLetter(char ch) { return ch != '\0' && std::strchr("udfblr", ch) != nullptr; }
bool IsSliceLetter(char ch) { return ch == 'M' || ch == 'E' || ch == 'S'; }
bool IsRotationLetter(char ch) { return ch == 'x' || ch == 'y' || ch == 'z'; }
bool StartsMove(char ch)
{
    return IsFaceLetter(ch) || IsWideLetter(ch) || IsSliceLetter(ch) || IsRotationLetter(ch);
}

int Invert(int nQuarters) { return (4 - nQuarters) % 4; }

// Appends count copies of part to alg; false when that would pass kMaxMoves.
bool AppendRepeated(Algorithm& alg, const Algorithm& part, unsigned long nCount)
{
    if (part.empty())
        return true;
    if (nCount > (kMaxMoves - alg.size()) / part.size())
        return false;
    for (unsigned long k = 0; k < nCount; ++k)
        alg.insert(alg.end(), part.begin(), part.end());
    return true;
}

class Parser {
public:
    explicit Parser(const std::string& strText) : m_text(strText) {}

    bool ParseAll(Algorithm& alg)
    {
        return Sequence(alg, '\0', 0);
    }
    const std::string& Error() const { return m_strError; }
    size_t Stop() const { return m_i; }

private:
    char At(size_t i) const { return i < m_text.size() ? m_text[i] : '\0'; }
    bool AtEnd() const { return m_i >= m_text.size(); }
    std::string CharAt(size_t i) const
    {
        return textchars::CharName(m_text, i) + " at " + textchars::CharPosition(m_text, i);
    }
    bool Fail(const std::string& strWhy)
    {
        m_strError = strWhy;
        return false;
    }
    bool TooLong()
    {
        return Fail("the algorithm holds more than " + std::to_string(kMaxMoves) +
                    " moves once its repeats are written out");
    }

    // Length of a prime (' or ’) at i, 0 for none.
    size_t PrimeAt(size_t i) const
    {
        if (At(i) == '\'')
            return 1;
        if (m_text.compare(i, std::strlen(kCurlyPrime), kCurlyPrime) == 0)
            return std::strlen(kCurlyPrime);
        return 0;
    }

    // White space and comments.
    void SkipSpace()
    {
        while (!AtEnd()) {
            if (IsSpace(m_text[m_i])) {
                ++m_i;
            } else if (At(m_i) == '/' && At(m_i + 1) == '/') {
                while (!AtEnd() && m_text[m_i] != '\n')
                    ++m_i;
            } else {
                return;
            }
        }
    }

    // Items up to chClose (')' or ']', '\0' for the end of the text). Inside
    // brackets, a ',' or ':' also ends the sequence and is left unread.
    bool Sequence(Algorithm& alg, char chClose, int nDepth)
    {
        for (;;) {
            SkipSpace();
            if (AtEnd() || (chClose != '\0' && At(m_i) == chClose))
                return true;
            const char ch = m_text[m_i];
            if (chClose == ']' && (ch == ',' || ch == ':'))
                return true;
            if (ch == '(' || ch == '[') {
                if (nDepth >= kMaxNesting)
                    return Fail(CharAt(m_i) + " opens more than " + std::to_string(kMaxNesting) +
                                " brackets one inside another");
                if (!Group(alg, nDepth + 1))
                    return false;
                continue;
            }
            if (ch == ')' || ch == ']') {
                const char* pszOpen = ch == ')' ? "(" : "[";
                if (chClose == '\0')
                    return Fail("unexpected " + CharAt(m_i) + ": no " + pszOpen + " is open");
                return Fail("unexpected " + CharAt(m_i) + ": expected " + chClose +
                            " to close the " + (chClose == ')' ? "(" : "[") + " at " +
                            textchars::CharPosition(m_text, m_nOpenedAt));
            }
            if (ch == ',' || ch == ':')
                return Fail("unexpected " + CharAt(m_i) + ": " + ch +
                            " goes inside brackets, as in [A, B] or [A: B]");
            if (ch == '/')
                return Fail("unexpected " + CharAt(m_i) + ": a comment begins with //");
            if (alg.size() >= kMaxMoves)
                return TooLong();
            Move move;
            if (!ReadMove(move))
                return false;
            alg.push_back(move);
        }
    }

    // One move at m_i, its suffix and what may follow it.
    bool ReadMove(Move& move)
    {
        const size_t nStart = m_i;
        bool bDepth = false;
        if (At(m_i) >= '0' && At(m_i) <= '9') {
            if (At(m_i) != '2' || (At(m_i + 1) >= '0' && At(m_i + 1) <= '9'))
                return Fail("layer depth " + CharAt(m_i) +
                            ": on this cube only 2 means a move (2R, 2Rw or 2r)");
            bDepth = true;
            ++m_i;
            if (!IsFaceLetter(At(m_i)) && !IsWideLetter(At(m_i)))
                return Fail("unexpected " + CharAt(m_i) +
                            " after the layer depth 2: expected a face letter U D F B L R or u d f b l r");
        }
        const char ch = At(m_i);
        if (!StartsMove(ch)) {
            std::string strWhy = "unexpected " + CharAt(m_i) + ": " + kExpectedMove;
            if (ch == 'X' || ch == 'Y' || ch == 'Z')
                strWhy += " (rotations are lower-case x y z)";
            else if (ch == 'm' || ch == 'e' || ch == 's')
                strWhy += " (slice moves are upper-case M E S)";
            return Fail(strWhy);
        }
        ++m_i;
        if (IsFaceLetter(ch)) {
            const bool bWide = At(m_i) == 'w';
            if (bWide)
                ++m_i;
            move.letter = ch;
            // 2R is the layer behind R alone: the slice turned as R.
            move.kind = bWide ? MoveKind::WIDE : bDepth ? MoveKind::SLICE : MoveKind::FACE;
        } else if (IsWideLetter(ch)) {
            move.kind = MoveKind::WIDE;
            move.letter = static_cast<char>(ch - 'a' + 'A');
        } else if (IsSliceLetter(ch)) {
            move.kind = MoveKind::SLICE;
            move.letter = ch;
        } else {
            move.kind = MoveKind::ROTATION;
            move.letter = ch;
        }
        const size_t nNameEnd = m_i;
        move.quarters = 1;
        if (At(m_i) == '2') {
            move.quarters = 2;
            ++m_i;
            m_i += PrimeAt(m_i);
        } else if (const size_t nPrime = PrimeAt(m_i)) {
            move.quarters = 3;
            m_i += nPrime;
        }
        const char chNext = At(m_i);
        if (!AtEnd() && (chNext == '\0' || (!IsSpace(chNext) && !StartsMove(chNext) &&
            !std::strchr("()[],:/", chNext)))) {
            return Fail("unexpected " + CharAt(m_i) + " after the move " +
                        m_text.substr(nStart, m_i - nStart) +
                        (m_i == nNameEnd ? ": expected ', 2, a space or the next move"
                                         : ": expected a space or the next move"));
        }
        if (move.kind == MoveKind::SLICE && bDepth)
            move = SliceOfDepth(move);
        return true;
    }

    // 2R as the slice it turns: M follows L, E follows D, S follows F.
    static Move SliceOfDepth(Move move)
    {
        switch (move.letter) {
        case 'L': move.letter = 'M'; break;
        case 'R': move.letter = 'M'; move.quarters = Invert(move.quarters); break;
        case 'D': move.letter = 'E'; break;
        case 'U': move.letter = 'E'; move.quarters = Invert(move.quarters); break;
        case 'F': move.letter = 'S'; break;
        default: move.letter = 'S'; move.quarters = Invert(move.quarters); break; // B
        }
        return move;
    }

    // ( A ) or [ A , B ] or [ A : B ], then a repeat count and a prime.
    bool Group(Algorithm& alg, int nDepth)
    {
        const size_t nOpen = m_i;
        const char chOpen = m_text[m_i++];
        const char chClose = chOpen == '(' ? ')' : ']';
        const size_t nOuterOpened = m_nOpenedAt;
        m_nOpenedAt = nOpen;
        Algorithm part;
        if (!Sequence(part, chClose, nDepth))
            return false;
        if (chOpen == '[') {
            if (AtEnd())
                return Fail("the [ at " + textchars::CharPosition(m_text, nOpen) +
                            " is never closed: expected [A, B] or [A: B]");
            if (At(m_i) == ']')
                return Fail("unexpected " + CharAt(m_i) + ": the [ at " +
                            textchars::CharPosition(m_text, nOpen) +
                            " holds no , or : (expected [A, B] or [A: B])");
            const bool bCommutator = At(m_i) == ',';
            ++m_i;
            Algorithm second;
            if (!Sequence(second, ']', nDepth))
                return false;
            if (At(m_i) == ',' || At(m_i) == ':')
                return Fail("unexpected " + CharAt(m_i) + ": the [ at " +
                            textchars::CharPosition(m_text, nOpen) + " already holds a , or :");
            // [A, B] = A B A' B', [A: B] = A B A'.
            const Algorithm first = part;
            if (!AppendRepeated(part, second, 1) || !AppendRepeated(part, Inverse(first), 1) ||
                (bCommutator && !AppendRepeated(part, Inverse(second), 1)))
                return TooLong();
        }
        if (AtEnd())
            return Fail(std::string("the ") + chOpen + " at " + textchars::CharPosition(m_text, nOpen) +
                        " is never closed: expected " + chClose);
        ++m_i; // the closing bracket
        m_nOpenedAt = nOuterOpened;

        unsigned long nCount = 1;
        if (At(m_i) >= '0' && At(m_i) <= '9') {
            const size_t nDigits = m_i;
            nCount = 0;
            while (At(m_i) >= '0' && At(m_i) <= '9') {
                nCount = nCount * 10 + static_cast<unsigned long>(At(m_i) - '0');
                if (nCount > kMaxMoves)
                    return TooLong();
                ++m_i;
            }
            if (nCount == 0)
                return Fail("the repeat count " + m_text.substr(nDigits, m_i - nDigits) + " at " +
                            textchars::CharPosition(m_text, nDigits) + ": expected 1 or more");
        }
        if (const size_t nPrime = PrimeAt(m_i)) {
            part = Inverse(part);
            m_i += nPrime;
        }
        return AppendRepeated(alg, part, nCount) || TooLong();
    }

    const std::string& m_text;
    size_t m_i = 0;
    size_t m_nOpenedAt = 0; // the bracket the innermost open group began at
    std::string m_strError;
};

// Appends a model group: a face slot letter or C and its code.
void AddGroup(std::string& s, char chWhat, char chCode)
{
    s += chWhat;
    s += chCode;
    s += '.';
}

void AddFace(std::string& s, char chFace, int nQuarters)
{
    nQuarters %= 4;
    if (nQuarters == 0)
        return;
    AddGroup(s, chFace == 'U' ? 'T' : chFace, nQuarters == 1 ? '+' : nQuarters == 2 ? '*' : '-');
}

// x turns the front to the top (C^), y the front to the left (C-); z, which
// has no single group, is y' x y.
void AddRotation(std::string& s, char chAxis, int nQuarters)
{
    nQuarters %= 4;
    if (nQuarters == 0)
        return;
    if (chAxis == 'x') {
        if (nQuarters == 3)
            AddGroup(s, 'C', 'v');
        else
            for (int k = 0; k < nQuarters; ++k)
                AddGroup(s, 'C', '^');
    } else if (chAxis == 'y') {
        if (nQuarters == 3)
            AddGroup(s, 'C', '+');
        else
            for (int k = 0; k < nQuarters; ++k)
                AddGroup(s, 'C', '-');
    } else {
        AddGroup(s, 'C', '+');
        AddRotation(s, 'x', nQuarters);
        AddGroup(s, 'C', '-');
    }
}

// The face opposite a face letter, and the rotation that turns as the face
// (with the sign of the face's sense: R, U, F turn as x, y, z; L, D, B against).
char Opposite(char chFace)
{
    switch (chFace) {
    case 'U': return 'D';
    case 'D': return 'U';
    case 'F': return 'B';
    case 'B': return 'F';
    case 'L': return 'R';
    default: return 'L';
    }
}
char AxisOf(char chFace)
{
    return chFace == 'R' || chFace == 'L' ? 'x' : chFace == 'U' || chFace == 'D' ? 'y' : 'z';
}
bool TurnsWithAxis(char chFace) { return chFace == 'R' || chFace == 'U' || chFace == 'F'; }

} // namespace

bool Parse(const std::string& strText, Algorithm& alg, std::string& strError, size_t* pnStop)
{
    Parser parser(strText);
    Algorithm result;
    if (!parser.ParseAll(result)) {
        strError = parser.Error();
        if (pnStop)
            *pnStop = parser.Stop();
        return false;
    }
    alg = std::move(result);
    return true;
}

Algorithm Inverse(const Algorithm& alg)
{
    Algorithm inverse(alg.rbegin(), alg.rend());
    for (Move& m : inverse)
        m.quarters = Invert(m.quarters);
    return inverse;
}

Algorithm Mirror(const Algorithm& alg, char chAxis)
{
    // The faces, slice and rotation of the mirror's axis.
    const char* pszAxis = chAxis == 'y' ? "UDEy" : chAxis == 'z' ? "FBSz" : "LRMx";
    Algorithm mirror = alg;
    for (Move& m : mirror) {
        const bool bFace = m.kind == MoveKind::FACE || m.kind == MoveKind::WIDE;
        if (bFace && (m.letter == pszAxis[0] || m.letter == pszAxis[1])) {
            m.letter = m.letter == pszAxis[0] ? pszAxis[1] : pszAxis[0];
            m.quarters = Invert(m.quarters);
        } else if (!bFace && (m.letter == pszAxis[2] || m.letter == pszAxis[3])) {
            // The slice and the rotation of the axis turn the same way mirrored.
        } else {
            m.quarters = Invert(m.quarters);
        }
    }
    return mirror;
}

std::string Format(const Move& move)
{
    std::string s(1, move.letter);
    if (move.kind == MoveKind::WIDE)
        s += 'w';
    if (move.quarters == 2)
        s += '2';
    else if (move.quarters == 3)
        s += '\'';
    return s;
}

std::string Format(const Algorithm& alg)
{
    std::string s;
    for (const Move& m : alg) {
        if (!s.empty())
            s += ' ';
        s += Format(m);
    }
    return s;
}

std::string ToModelMoves(const Algorithm& alg)
{
    std::string s;
    for (const Move& m : alg) {
        const int q = m.quarters;
        switch (m.kind) {
        case MoveKind::FACE:
            AddFace(s, m.letter, q);
            break;
        case MoveKind::ROTATION:
            AddRotation(s, m.letter, q);
            break;
        case MoveKind::SLICE:
            // M = R L' x', E = U D' y', S = F' B z.
            if (m.letter == 'M') {
                AddFace(s, 'R', q);
                AddFace(s, 'L', Invert(q));
                AddRotation(s, 'x', Invert(q));
            } else if (m.letter == 'E') {
                AddFace(s, 'U', q);
                AddFace(s, 'D', Invert(q));
                AddRotation(s, 'y', Invert(q));
            } else {
                AddFace(s, 'F', Invert(q));
                AddFace(s, 'B', q);
                AddRotation(s, 'z', q);
            }
            break;
        case MoveKind::WIDE:
            // Rw = L x: the opposite face, then the whole cube as the face.
            AddFace(s, Opposite(m.letter), q);
            AddRotation(s, AxisOf(m.letter), TurnsWithAxis(m.letter) ? q : Invert(q));
            break;
        }
    }
    return s;
}

Metrics Count(const Algorithm& alg)
{
    Metrics c;
    for (const Move& m : alg) {
        if (m.kind == MoveKind::ROTATION)
            continue;
        const int nQuarters = m.quarters == 2 ? 2 : 1;
        const int nFaces = m.kind == MoveKind::SLICE ? 2 : 1;
        c.htm += nFaces;
        c.qtm += nFaces * nQuarters;
        c.stm += 1;
    }
    return c;
}

Metrics CountModelMoves(const std::string& strModelMoves)
{
    Metrics c;
    for (size_t p = 0; p + 1 < strModelMoves.size(); p += 3) {
        if (!std::strchr("TFRLBD", strModelMoves[p]) || strModelMoves[p] == '\0')
            continue;
        const char chCode = strModelMoves[p + 1];
        if (chCode == '+' || chCode == '-' || chCode == '*') {
            ++c.htm;
            ++c.stm;
            c.qtm += chCode == '*' ? 2 : 1;
        }
    }
    return c;
}

std::string FormatMetrics(const Metrics& m, const std::string& strSeparator)
{
    return std::to_string(m.htm) + " HTM" + strSeparator + std::to_string(m.qtm) + " QTM" + strSeparator +
           std::to_string(m.stm) + " STM";
}

} // namespace notation
