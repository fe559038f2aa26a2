// zelvors-solve: the cube solver on the command line.
//   zelvors-solve               solve each configuration read from standard input
//   zelvors-solve --method short [--max-length N]
//                               the same with the short solver (at most N moves)
//   zelvors-solve --shuffle N   N scrambles in a row from the solved cube
//   zelvors-solve --apply MOVES perform MOVES on each configuration read
//   zelvors-solve --version     the program's version
//   zelvors-solve --diagnose    say what is wrong with each configuration read
// Exit status: 0 all lines answered, 1 some input line was bad, 2 bad command line,
// 3 reading the input or writing the output failed (or memory ran out).
//
// Every write is checked: the first one that fails ends the run, so a closed
// pipe stops even an endless --shuffle when SIGPIPE is ignored.

#include "CubeDiagnosis.h"
#include "CubeFormats.h"
#include "CubeSolver.h"
#include "CubeText.h"
#include "ShortSolver.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

namespace {

const char kUsage[] =
    "usage: zelvors-solve                solve configurations read from standard input\n"
    "       zelvors-solve --method short|lbl [--max-length N]\n"
    "                                    solve with the short solver (at most N moves,\n"
    "                                    20 to 30, default 20) or layer by layer (default)\n"
    "       zelvors-solve --shuffle N    write the cube after each of N scrambles\n"
    "       zelvors-solve --apply MOVES  write each configuration read with MOVES performed\n"
    "       zelvors-solve --diagnose     write what is wrong with each configuration read\n"
    "       zelvors-solve --help         show this text\n"
    "       zelvors-solve --version      show the version\n"
    "Solving also takes --notation model (the default) or --notation standard.\n"
    "\n"
    "A configuration is one line of 54 digits 0-6: the faces T, F, R, L, B, D, each\n"
    "face's nine facelets row by row (0 blank, 1-6 the solved colours of T F R L B D);\n"
    "or a standard facelet string: 54 letters U R F D L B, the faces U, R, F, D, L, B\n"
    "each row by row, a letter naming the face whose centre has that colour.\n"
    "Solving writes the result code (0 solved, 1 not a set of cubelets, 2 unsolvable),\n"
    "a tab and the solution's moves: groups like F+. T-. D*. (model notation) or\n"
    "F U' D2 (standard notation). MOVES may be written in either notation; standard\n"
    "notation also takes the rotations x, y and z.\n"
    "Diagnosing writes the result code that solving would give, a tab and every\n"
    "problem found, separated by \"; \" (nothing for a real cube).\n";

enum ExitStatus { kExitOk = 0, kExitBadLine = 1, kExitUsage = 2, kExitIo = 3 };

// Longest input line held; any valid line is far shorter. A longer one is read
// to its end without being kept and reported as bad.
constexpr size_t kMaxLine = 4096;

void Complain(const std::string& strWhat)
{
    std::fprintf(stderr, "zelvors-solve: %s\n", strWhat.c_str());
}

int UsageError(const std::string& strWhy)
{
    std::fprintf(stderr, "zelvors-solve: %s\n%s", strWhy.c_str(), kUsage);
    return kExitUsage;
}

// Standard output, every write checked. After the first failure Ok() stays false
// and the reason has been reported once.
class Output {
public:
    bool Write(const std::string& s)
    {
        if (m_bFailed)
            return false;
        errno = 0;
        if (std::fwrite(s.data(), 1, s.size(), stdout) != s.size() || std::ferror(stdout))
            Fail(errno);
        return !m_bFailed;
    }
    bool Line(const std::string& s) { return Write(s + '\n'); }
    // Flushes what is buffered; false when any write failed.
    bool Finish()
    {
        if (!m_bFailed) {
            errno = 0;
            if (std::fflush(stdout) != 0 || std::ferror(stdout))
                Fail(errno);
        }
        return !m_bFailed;
    }
    bool Ok() const { return !m_bFailed; }

private:
    void Fail(int nErrno)
    {
        m_bFailed = true;
        Complain(std::string("cannot write the output: ") +
                 (nErrno != 0 ? std::strerror(nErrno) : "write failed"));
    }
    bool m_bFailed = false;
};

// Lines of standard input, read in blocks so that a line's length costs no memory
// beyond kMaxLine.
class LineReader {
public:
    enum Result { kLine, kTooLong, kEnd, kError };

    // The next line without its '\n' (a last line without one counts too).
    Result Next(std::string& strLine)
    {
        strLine.clear();
        bool bTooLong = false;
        bool bAny = false;
        for (;;) {
            if (m_nPos == m_nLength && !Fill())
                return m_nError != 0 ? kError : (bAny ? (bTooLong ? kTooLong : kLine) : kEnd);
            bAny = true;
            const char* pStart = m_buffer + m_nPos;
            const size_t nAvail = m_nLength - m_nPos;
            const void* pNewline = std::memchr(pStart, '\n', nAvail);
            const size_t nTake = pNewline ? static_cast<const char*>(pNewline) - pStart : nAvail;
            if (!bTooLong) {
                if (strLine.size() + nTake > kMaxLine) {
                    bTooLong = true;
                    strLine.clear();
                } else {
                    strLine.append(pStart, nTake);
                }
            }
            m_nPos += nTake;
            if (pNewline) {
                ++m_nPos;
                return bTooLong ? kTooLong : kLine;
            }
        }
    }
    int Error() const { return m_nError; }

private:
    bool Fill()
    {
        if (m_bEnd)
            return false;
        errno = 0;
        m_nLength = std::fread(m_buffer, 1, sizeof m_buffer, stdin);
        m_nPos = 0;
        if (m_nLength == 0) {
            m_bEnd = true;
            if (std::ferror(stdin))
                m_nError = errno != 0 ? errno : EIO;
            return false;
        }
        return true;
    }

    char m_buffer[65536];
    size_t m_nPos = 0;
    size_t m_nLength = 0;
    bool m_bEnd = false;
    int m_nError = 0;
};

std::string Trim(const std::string& s)
{
    const char* kSpace = " \t\r\n\f\v";
    const size_t b = s.find_first_not_of(kSpace);
    if (b == std::string::npos)
        return std::string();
    const size_t e = s.find_last_not_of(kSpace);
    return s.substr(b, e - b + 1);
}

// A configuration line: the model's 54 digits, or a standard facelet string
// (told apart by its first character, a face letter).
bool ParseConfiguration(const std::string& strText, BYTE colors[kCubeTextLength],
                        std::string& strError)
{
    if (!strText.empty() && std::strchr("URFDLB", strText[0]))
        return ParseFaceletString(strText, colors, strError);
    return ParseCubeText(strText, colors, strError);
}

// Moves for --apply in the model's notation. Standard notation is recognised by
// beginning with one of its moves and having none of the characters that only
// the model's groups use; anything else is taken as the model's, as always.
bool ResolveApplyMoves(std::string& strMoves)
{
    const size_t nFirst = strMoves.find_first_not_of(" \t");
    if (nFirst == std::string::npos || !std::strchr("UDFBLRxyz", strMoves[nFirst]) ||
        strMoves.find_first_of("+-*^v.TC") != std::string::npos)
        return true;
    std::string strModel, strError;
    if (!ParseStandardMoves(strMoves, strModel, strError)) {
        UsageError("--apply: " + strError);
        return false;
    }
    strMoves = strModel;
    return true;
}

// A solution as printed: the model's groups, or standard notation.
std::string SolutionText(const std::string& strModelMoves, bool bStandard)
{
    std::string strText, strError;
    if (bStandard && FormatStandardMoves(strModelMoves, strText, strError))
        return strText;
    return strModelMoves;
}

// Reads configurations from standard input and hands each to fn, which returns
// false when its answer could not be written; returns the exit status.
template <typename Fn>
int ForEachConfiguration(Output& out, Fn fn)
{
    LineReader reader;
    int nStatus = kExitOk;
    std::string strLine;
    long long nLine = 0;
    for (;;) {
        const LineReader::Result result = reader.Next(strLine);
        if (result == LineReader::kEnd)
            break;
        if (result == LineReader::kError) {
            Complain(std::string("cannot read the input: ") + std::strerror(reader.Error()));
            out.Finish(); // the lines answered so far still go out
            return kExitIo;
        }
        ++nLine;
        if (result == LineReader::kTooLong) {
            Complain("line " + std::to_string(nLine) + ": longer than " + std::to_string(kMaxLine) +
                     " characters");
            nStatus = kExitBadLine;
            continue;
        }
        const std::string strText = Trim(strLine);
        if (strText.empty())
            continue;
        BYTE colors[kCubeTextLength];
        std::string strError;
        if (!ParseConfiguration(strText, colors, strError)) {
            Complain("line " + std::to_string(nLine) + ": " + strError);
            nStatus = kExitBadLine;
            continue;
        }
        if (!fn(colors))
            return kExitIo;
    }
    return out.Finish() ? nStatus : kExitIo;
}

// Says on standard error which groups of a move string turn nothing; the string
// is still performed exactly as given.
void WarnAboutIdleGroups(const std::string& strMoves)
{
    for (size_t p = 0; p < strMoves.size(); p += 3) {
        const char chWhat = strMoves[p];
        const char chCode = p + 1 < strMoves.size() ? strMoves[p + 1] : '\0';
        if (!CCubeSolver::IsTurnGroup(chWhat, chCode))
            Complain("--apply: group " + std::to_string(p / 3 + 1) + " \"" + strMoves.substr(p, 3) +
                     "\" changes nothing");
    }
}

enum class Mode { Solve, Shuffle, Apply, Diagnose, Help, Version };

struct Options {
    Mode mode = Mode::Solve;
    long long nCount = 0;   // --shuffle
    std::string strMoves;   // --apply
    bool bStandardNotation = false; // --notation standard
    bool bNotationGiven = false;
    bool bShort = false;            // --method short
    bool bMethodGiven = false;      // --method or --max-length
    int nMaxLength = shortsolver::kDefaultMaxLength;
};

// Fills opt from the command line; returns false after reporting a usage error.
bool ParseCommandLine(int argc, char** argv, Options& opt)
{
    bool bModeGiven = false;
    auto setMode = [&](Mode mode, const std::string& strOption) {
        if (bModeGiven) {
            UsageError("only one of --shuffle, --apply, --diagnose, --help, --version: " + strOption);
            return false;
        }
        bModeGiven = true;
        opt.mode = mode;
        return true;
    };
    for (int i = 1; i < argc; ++i) {
        const std::string strArg = argv[i];
        if (strArg == "--help" || strArg == "-h") {
            if (!setMode(Mode::Help, strArg))
                return false;
        } else if (strArg == "--version") {
            if (!setMode(Mode::Version, strArg))
                return false;
        } else if (strArg == "--shuffle") {
            if (!setMode(Mode::Shuffle, strArg))
                return false;
            if (++i == argc) {
                UsageError("--shuffle takes one count");
                return false;
            }
            const char* pszCount = argv[i];
            char* pEnd = nullptr;
            errno = 0;
            opt.nCount = std::strtoll(pszCount, &pEnd, 10);
            if (*pszCount == '\0' || *pEnd != '\0' || errno == ERANGE || opt.nCount < 0) {
                UsageError(std::string("not a count: ") + pszCount);
                return false;
            }
        } else if (strArg == "--apply") {
            if (!setMode(Mode::Apply, strArg))
                return false;
            if (++i == argc) {
                UsageError("--apply takes one move string");
                return false;
            }
            opt.strMoves = argv[i];
            if (!ResolveApplyMoves(opt.strMoves))
                return false;
        } else if (strArg == "--diagnose") {
            if (!setMode(Mode::Diagnose, strArg))
                return false;
        } else if (strArg == "--notation") {
            if (++i == argc) {
                UsageError("--notation takes model or standard");
                return false;
            }
            const std::string strNotation = argv[i];
            if (strNotation != "model" && strNotation != "standard") {
                UsageError("not a notation: " + strNotation + " (model or standard)");
                return false;
            }
            opt.bStandardNotation = strNotation == "standard";
            opt.bNotationGiven = true;
        } else if (strArg == "--method") {
            if (++i == argc) {
                UsageError("--method takes short or lbl");
                return false;
            }
            const std::string strMethod = argv[i];
            if (strMethod != "short" && strMethod != "lbl") {
                UsageError("unknown method: " + strMethod + " (short or lbl)");
                return false;
            }
            opt.bShort = strMethod == "short";
            opt.bMethodGiven = true;
        } else if (strArg == "--max-length") {
            if (++i == argc) {
                UsageError("--max-length takes a number from 20 to 30");
                return false;
            }
            const std::string strValue = argv[i];
            char* pEnd = nullptr;
            errno = 0;
            const long n = std::strtol(strValue.c_str(), &pEnd, 10);
            if (strValue.empty() || *pEnd != '\0' || errno == ERANGE ||
                n < shortsolver::kMinMaxLength || n > shortsolver::kMaxMaxLength) {
                UsageError("--max-length takes a number from 20 to 30: " + strValue);
                return false;
            }
            opt.nMaxLength = static_cast<int>(n);
            opt.bMethodGiven = true;
        } else {
            UsageError("unknown option: " + strArg);
            return false;
        }
    }
    if (opt.bMethodGiven && opt.mode != Mode::Solve && opt.mode != Mode::Help) {
        UsageError("--method and --max-length apply to solving only");
        return false;
    }
    if (opt.bNotationGiven && opt.mode != Mode::Solve && opt.mode != Mode::Help) {
        UsageError("--notation applies to solving only");
        return false;
    }
    return true;
}

int Run(const Options& opt)
{
    Output out;
    CCubeSolver cube;
    switch (opt.mode) {
    case Mode::Help:
        out.Write(kUsage);
        return out.Finish() ? kExitOk : kExitIo;

    case Mode::Version:
        out.Write("zelvors-solve " ZELVORS_VERSION "\n");
        return out.Finish() ? kExitOk : kExitIo;

    case Mode::Shuffle:
        for (long long i = 0; i < opt.nCount; ++i) {
            cube.Shuffle(nullptr);
            if (!out.Line(FormatCube(cube)))
                return kExitIo;
        }
        return out.Finish() ? kExitOk : kExitIo;

    case Mode::Apply:
        WarnAboutIdleGroups(opt.strMoves);
        return ForEachConfiguration(out, [&](const BYTE* colors) {
            LoadCube(cube, colors);
            cube.ExecuteMoves(opt.strMoves);
            return out.Line(FormatCube(cube));
        });

    case Mode::Diagnose:
        return ForEachConfiguration(out, [&](const BYTE* colors) {
            const CubeDiagnosis diagnosis = DiagnoseCube(colors);
            return out.Line(std::to_string(diagnosis.nResult) + '\t' + diagnosis.Summary());
        });

    case Mode::Solve:
        break;
    }
    if (opt.bShort)
        return ForEachConfiguration(out, [&](const BYTE* colors) {
            std::string strMoves;
            const int nResult = SolveShort(colors, opt.nMaxLength, strMoves);
            return out.Line(std::to_string(nResult) + '\t' +
                            SolutionText(strMoves, opt.bStandardNotation));
        });
    return ForEachConfiguration(out, [&](const BYTE* colors) {
        LoadCube(cube, colors);
        const int nResult = cube.Solve(nullptr);
        return out.Line(std::to_string(nResult) + '\t' +
                        SolutionText(cube.GetSolution(), opt.bStandardNotation));
    });
}

} // namespace

int main(int argc, char** argv)
{
    Options opt;
    if (!ParseCommandLine(argc, argv, opt))
        return kExitUsage;
    try {
        return Run(opt);
    } catch (const std::bad_alloc&) {
        Complain("out of memory");
        return kExitIo;
    }
}
