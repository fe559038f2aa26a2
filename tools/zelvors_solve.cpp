// zelvors-solve: the cube solver on the command line.
//   zelvors-solve               solve each configuration read from standard input
//   zelvors-solve --method short [--max-length N]
//                               the same with the short solver (at most N moves)
//   zelvors-solve --method optimal [--threads N]
//                               the same in the fewest moves (N threads a search)
//   zelvors-solve ... --jobs N  solve N configurations at once
//   zelvors-solve --shuffle N   N scrambles in a row from the solved cube
//   zelvors-solve --apply MOVES perform MOVES on each configuration read
//   zelvors-solve --version     the program's version
//   zelvors-solve --diagnose    say what is wrong with each configuration read
//   zelvors-solve --read-rgb    decide the real cube of each line of 54 measured colours
//   zelvors-solve --read-photos T F R L B D
//                               the same from six photos, one a face
//   ... --cube-line             write what was read as a plain configuration line
// Every input line gets one output line: the answer, "E", a tab and what is
// wrong for a line that is not a configuration, or an empty line for an empty one;
// a comment line (# first) gets none, so that a cube file reads as one configuration.
// Exit status: 0 all lines answered, 1 some input line was bad, 2 bad command line,
// 3 reading the input or writing the output failed (or memory ran out).
//
// Every write is checked: the first one that fails ends the run, so a closed
// pipe stops even an endless --shuffle when SIGPIPE is ignored (otherwise the
// signal ends the process, as it does any filter).
//
// Answers go out as soon as no further input is waiting: the output is flushed
// before every read that may have to wait, so a terminal or a program that
// writes one line and waits gets its answer, while a batch is still read and
// written in large blocks.

#include "ColourDecision.h"
#include "CubeDiagnosis.h"
#include "CubieCube.h"
#include "CubeFile.h"
#include "CubeFormats.h"
#include "CubeSolver.h"
#include "CubeText.h"
#include "Notation.h"
#include "Patterns.h"
#include "Solutions.h"
#include "OptimalSolver.h"
#include "OrderedAnswers.h"
#include "PhotoModule.h"
#include "ProgressText.h"
#include "ShortSolver.h"
#include "TextChars.h"

#include <chrono>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

const char kUsage[] =
    "usage: zelvors-solve                solve configurations read from standard input\n"
    "       zelvors-solve --method short|lbl [--max-length N]\n"
    "                                    solve with the short solver (at most N moves,\n"
    "                                    20 to 30, default 20) or layer by layer (default)\n"
    "       zelvors-solve --method optimal [--threads N]\n"
    "                                    solve in the fewest moves, each search on N\n"
    "                                    threads (1 to 256, default 1)\n"
    "       zelvors-solve --shuffle N    write the cube after each of N scrambles\n"
    "       zelvors-solve --apply MOVES  write each configuration read with MOVES performed\n"
    "       zelvors-solve --diagnose     write what is wrong with each configuration read\n"
    "       zelvors-solve --read-rgb     read a real cube from each line of 54 colours\n"
    "       zelvors-solve --read-photos T F R L B D\n"
    "                                    read a real cube from six photos, one a face\n"
    "       zelvors-solve --help         show this text\n"
    "       zelvors-solve --version      show the version\n"
    "Solving also takes --notation model (the default) or --notation standard, and\n"
    "--metrics, which adds a tab and the solution's counts: 20 HTM 27 QTM 20 STM.\n"
    "--method short|optimal --target CUBE solves to CUBE (a configuration, or a pattern:\n"
    "checkerboard, superflip, cube in a cube, six spots, cross, anaconda, ...)\n"
    "instead of to the solved cube; --solutions N (1 to 48) writes up to N distinct\n"
    "solutions, shortest first, each in a field of its own.\n"
    "--jobs N to solve N configurations at once (1 to 256, default 1; the answers\n"
    "still come in input order).\n"
    "\n"
    "A configuration is one line of 54 digits 0-6: the faces T, F, R, L, B, D, each\n"
    "face's nine facelets row by row (0 blank, 1-6 the solved colours of T F R L B D);\n"
    "or a standard facelet string: 54 letters U R F D L B, the faces U, R, F, D, L, B\n"
    "each row by row, a letter naming the face whose centre has that colour.\n"
    "Solving writes the result code (0 solved, 1 not a set of cubelets, 2 unsolvable),\n"
    "a tab and the solution's moves: groups like F+. T-. D*. (model notation) or\n"
    "F U' D2 (standard notation); the moves are empty unless the code is 0. MOVES may\n"
    "be written in either notation: the model's groups, every one a move, or standard\n"
    "notation with slice moves M E S, wide turns Rw or r, rotations x y z, repeats\n"
    "(R U)3, commutators [A, B], conjugates [A: B] and // comments; any other text\n"
    "is refused, naming the character where it goes wrong.\n"
    "Diagnosing writes the result code that solving would give, a tab and every\n"
    "problem found, separated by \"; \" (nothing for a real cube).\n"
    "Every input line gets one output line: a line that is not a configuration gets\n"
    "E, a tab and what is wrong with it; an empty line gets an empty line. A line\n"
    "starting with # is a comment and gets no answer, so a cube file (.zcube) is\n"
    "read as the one configuration it holds.\n"
    "Reading a real cube: --read-rgb takes lines of 54 colours #rrggbb in the\n"
    "configuration's facelet order; --read-photos six image files of the faces T F\n"
    "R L B D, each seen from outside with the edge the net draws on top at the top.\n"
    "Either writes the result code (0 a real cube was read, 2 none fits the\n"
    "colours), a tab, the 54 digits read, a tab and the doubtful facelets' indexes\n"
    "(0-53, comma separated); with --cube-line only the 54 digits, a line to solve.\n";

enum ExitStatus { kExitOk = 0, kExitBadLine = 1, kExitUsage = 2, kExitIo = 3 };

// Longest input line held, in bytes; any valid line is far shorter. A longer
// one is read to its end without being kept and reported as bad.
constexpr size_t kMaxLine = 4096;

// The result field of the answer to a line that is not a configuration.
const char kBadLineField[] = "E";

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
    bool Flush()
    {
        if (!m_bFailed) {
            errno = 0;
            if (std::fflush(stdout) != 0 || std::ferror(stdout))
                Fail(errno);
        }
        return !m_bFailed;
    }
    bool Ok() const { return !m_bFailed; }
    // Before a read that may wait.
    void BeforeRead() { Flush(); }

private:
    void Fail(int nErrno)
    {
        m_bFailed = true;
        Complain(std::string("cannot write the output: ") +
                 (nErrno != 0 ? std::strerror(nErrno) : "write failed"));
    }
    bool m_bFailed = false;
};

// Reads what standard input has ready, at most nSize bytes, waiting only while
// nothing is there: the count read, 0 at the end of the input, -1 on an error
// (errno says which).
long ReadAvailable(char* pBuffer, size_t nSize)
{
    for (;;) {
        errno = 0;
#ifdef _WIN32
        const long n = _read(0, pBuffer, static_cast<unsigned>(nSize));
#else
        const long n = static_cast<long>(read(0, pBuffer, nSize));
#endif
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

// Lines of standard input, read in blocks of what is ready so that a line's
// length costs no memory beyond kMaxLine. beforeWait runs before every read
// (a read may wait for more input).
class LineReader {
public:
    enum Result { kLine, kTooLong, kEnd, kError };

    explicit LineReader(std::function<void()> beforeWait) : m_beforeWait(std::move(beforeWait)) {}

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
        m_beforeWait();
        const long n = ReadAvailable(m_buffer, sizeof m_buffer);
        m_nPos = 0;
        m_nLength = n > 0 ? static_cast<size_t>(n) : 0;
        if (n <= 0) {
            m_bEnd = true;
            if (n < 0)
                m_nError = errno != 0 ? errno : EIO;
            return false;
        }
        return true;
    }

    std::function<void()> m_beforeWait;
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
// (told apart by its first character, a digit or a face letter).
bool ParseConfiguration(const std::string& strText, BYTE colors[kCubeTextLength],
                        std::string& strError)
{
    const char chFirst = strText.empty() ? '\0' : strText[0];
    if (chFirst >= '0' && chFirst <= '9')
        return ParseCubeText(strText, colors, strError);
    if (chFirst != '\0' && std::strchr("URFDLB", chFirst))
        return ParseFaceletString(strText, colors, strError);
    strError = "character 1 is " + textchars::CharName(strText, 0) +
               ", expected a colour digit 0-6 or an upper-case face letter U R F D L B";
    return false;
}

// Moves for --apply in the model's notation: the model's groups when every
// group is a move, else standard notation; anything else is a usage error.
bool ResolveApplyMoves(std::string& strMoves)
{
    std::string strModel, strError;
    if (!ParseMoveText(strMoves, strModel, strError)) {
        UsageError("--apply: " + strError);
        return false;
    }
    strMoves = strModel;
    return true;
}

// A solution as printed: the model's groups, or standard notation; with
// --metrics, a tab and its counts ("20 HTM 27 QTM 20 STM") after it.
std::string SolutionText(const std::string& strModelMoves, bool bStandard, bool bMetrics)
{
    std::string strText, strError;
    if (!bStandard || !FormatStandardMoves(strModelMoves, strText, strError))
        strText = strModelMoves;
    if (bMetrics)
        strText += '\t' + notation::FormatMetrics(notation::CountModelMoves(strModelMoves), " ");
    return strText;
}

// What answering a non-empty input line came to.
enum class LineAnswer { kWritten, kBad, kUnwritten };

// Reads lines of standard input and hands each non-empty one, trimmed, to fn,
// which answers it, or sets the reason and returns kBad for a bad line;
// returns the exit status. A bad line is reported on standard error and
// answered with kBadLineField, a tab and the reason; an empty line is answered
// with an empty line. With bComments a line starting with # gets no answer.
template <typename Out, typename Fn>
int ForEachInputLine(Out& out, bool bComments, Fn fn)
{
    LineReader reader([&out] { out.BeforeRead(); });
    auto badLine = [&](long long nLine, const std::string& strWhy) {
        Complain("line " + std::to_string(nLine) + ": " + strWhy);
        return out.Line(std::string(kBadLineField) + '\t' + strWhy);
    };
    int nStatus = kExitOk;
    std::string strLine;
    long long nLine = 0;
    for (;;) {
        const LineReader::Result result = reader.Next(strLine);
        if (result == LineReader::kEnd)
            break;
        if (result == LineReader::kError) {
            Complain(std::string("cannot read the input: ") + std::strerror(reader.Error()));
            out.Flush(); // the lines answered so far still go out
            return kExitIo;
        }
        ++nLine;
        if (result == LineReader::kTooLong) {
            nStatus = kExitBadLine;
            if (!badLine(nLine, "longer than " + std::to_string(kMaxLine) + " bytes"))
                return kExitIo;
            continue;
        }
        const std::string strText = Trim(strLine);
        if (bComments && IsCubeFileCommentLine(strText))
            continue; // no answer: a cube file is read as its one configuration
        std::string strError;
        bool bWritten = true;
        if (strText.empty()) {
            bWritten = out.Line(std::string());
        } else {
            const LineAnswer answer = fn(strText, strError);
            if (answer == LineAnswer::kBad) {
                nStatus = kExitBadLine;
                bWritten = badLine(nLine, strError);
            } else {
                bWritten = answer == LineAnswer::kWritten;
            }
        }
        if (!bWritten)
            return kExitIo;
    }
    return out.Flush() ? nStatus : kExitIo;
}

// Reads configurations from standard input and hands each to fn, which returns
// false when its answer could not be written; returns the exit status (as
// ForEachInputLine, comment lines skipped).
template <typename Out, typename Fn>
int ForEachConfiguration(Out& out, Fn fn)
{
    return ForEachInputLine(out, true, [&](const std::string& strText, std::string& strError) {
        BYTE colors[kCubeTextLength];
        if (!ParseConfiguration(strText, colors, strError))
            return LineAnswer::kBad;
        return fn(colors) ? LineAnswer::kWritten : LineAnswer::kUnwritten;
    });
}

// ---- Reading a real cube ------------------------------------------------------

// A line of 54 measured colours, "#rrggbb" each, separated by white space.
bool ParseMeasuredColours(const std::string& strText, scan::Measurement& measured, std::string& strError)
{
    const char* kSpace = " \t\r\n\f\v";
    int nCount = 0;
    size_t nPos = strText.find_first_not_of(kSpace);
    while (nPos != std::string::npos) {
        const size_t nEnd = std::min(strText.find_first_of(kSpace, nPos), strText.size());
        const std::string strToken = strText.substr(nPos, nEnd - nPos);
        if (nCount == kFaceletCount) {
            strError = "more than " + std::to_string(kFaceletCount) + " colours: colour " +
                       std::to_string(nCount + 1) + " at " + textchars::CharPosition(strText, nPos);
            return false;
        }
        if (strToken[0] != '#' || !scan::ParseHexColour(strToken, measured[static_cast<size_t>(nCount)])) {
            strError = "colour " + std::to_string(nCount + 1) + " at " + textchars::CharPosition(strText, nPos) + " is '" + strToken +
                       "', expected #rrggbb";
            return false;
        }
        ++nCount;
        nPos = strText.find_first_not_of(kSpace, nEnd);
    }
    if (nCount != kFaceletCount) {
        strError = std::to_string(nCount) + " colours, expected " + std::to_string(kFaceletCount);
        return false;
    }
    return true;
}

// The answer to a reading: result code, tab, 54 digits, tab, the doubtful
// facelets (comma separated); or, bCubeLine, the 54 digits alone.
std::string ReadingText(const scan::ColourDecision& decision, bool bCubeLine)
{
    std::string strDigits;
    for (BYTE c : decision.colors)
        strDigits += static_cast<char>('0' + c);
    if (bCubeLine)
        return strDigits;
    std::string strDoubtful;
    for (int nFacelet : decision.doubtful)
        strDoubtful += (strDoubtful.empty() ? "" : ",") + std::to_string(nFacelet);
    return std::to_string(decision.nResult) + '\t' + strDigits + '\t' + strDoubtful;
}

// The six photos' stickers, or false with what is wrong with each bad one.
bool MeasurePhotos(const std::vector<std::string>& paths, scan::Measurement& measured, std::string& strError)
{
    static const char kFaces[] = "TFRLBD";
    if (!photomodule::Available(strError))
        return false;
    for (size_t nFace = 0; nFace < paths.size(); ++nFace) {
        double rgb[27];
        std::string strWhy;
        if (!photomodule::MeasurePhoto(paths[nFace], rgb, strWhy)) {
            strError += (strError.empty() ? "" : "; ") + std::string(1, kFaces[nFace]) + " face: " + strWhy;
            continue;
        }
        for (size_t k = 0; k < 9; ++k)
            measured[nFace * 9 + k] = {rgb[3 * k], rgb[3 * k + 1], rgb[3 * k + 2]};
    }
    return strError.empty();
}

enum class Mode { Solve, Shuffle, Apply, Diagnose, ReadRgb, ReadPhotos, Help, Version };

struct Options {
    Mode mode = Mode::Solve;
    bool bModeGiven = false;
    long long nCount = 0;   // --shuffle
    std::string strMoves;   // --apply
    bool bStandardNotation = false; // --notation standard
    bool bNotationGiven = false;
    bool bMetrics = false;          // --metrics
    bool bTargetGiven = false;      // --target
    long nSolutions = 0;            // --solutions (0: one, as always)
    BYTE target[kCubeTextLength] = {};
    bool bShort = false;            // --method short
    bool bOptimal = false;          // --method optimal
    bool bMethodGiven = false;      // --method or --max-length
    bool bMaxLengthGiven = false;
    int nMaxLength = shortsolver::kDefaultMaxLength;
    int nThreads = 1;               // --threads
    bool bThreadsGiven = false;
    int nJobs = 1;                  // --jobs
    bool bJobsGiven = false;
    std::vector<std::string> photos; // --read-photos, the faces T F R L B D
    bool bCubeLine = false;          // --cube-line
};

// The arguments and the one being read.
class Arguments {
public:
    Arguments(int argc, char** argv) : m_argc(argc), m_argv(argv) {}
    // The next argument, false at the end.
    bool Next(std::string& strArg)
    {
        if (++m_i >= m_argc)
            return false;
        strArg = m_argv[m_i];
        return true;
    }
    // The value that follows the option just read; reports strMissing without one.
    bool TakeValue(const std::string& strMissing, std::string& strValue)
    {
        if (Next(strValue))
            return true;
        UsageError(strMissing);
        return false;
    }

private:
    int m_argc;
    char** m_argv;
    int m_i = 0;
};

// One of the options that choose what is done; only one may be given.
bool SetMode(Options& opt, Mode mode, const std::string& strOption)
{
    if (opt.bModeGiven) {
        const auto reading = [](Mode m) { return m == Mode::ReadRgb || m == Mode::ReadPhotos; };
        if (reading(mode) || reading(opt.mode))
            UsageError("only one of --shuffle, --apply, --diagnose, --read-rgb, --read-photos, --help, --version: " +
                       strOption);
        else
            UsageError("only one of --shuffle, --apply, --diagnose, --help, --version: " + strOption);
        return false;
    }
    opt.bModeGiven = true;
    opt.mode = mode;
    return true;
}

bool ParseShuffleCount(const std::string& strValue, Options& opt)
{
    char* pEnd = nullptr;
    errno = 0;
    opt.nCount = std::strtoll(strValue.c_str(), &pEnd, 10);
    if (strValue.empty() || *pEnd != '\0' || errno == ERANGE || opt.nCount < 0) {
        UsageError("not a count: " + strValue);
        return false;
    }
    return true;
}

bool ParseNotation(const std::string& strValue, Options& opt)
{
    if (strValue != "model" && strValue != "standard") {
        UsageError("not a notation: " + strValue + " (model or standard)");
        return false;
    }
    opt.bStandardNotation = strValue == "standard";
    opt.bNotationGiven = true;
    return true;
}

bool ParseMethod(const std::string& strValue, Options& opt)
{
    if (strValue != "short" && strValue != "lbl" && strValue != "optimal") {
        UsageError("unknown method: " + strValue + " (short, optimal or lbl)");
        return false;
    }
    opt.bShort = strValue == "short";
    opt.bOptimal = strValue == "optimal";
    opt.bMethodGiven = true;
    return true;
}

bool ParseMaxLength(const std::string& strValue, Options& opt)
{
    char* pEnd = nullptr;
    errno = 0;
    const long n = std::strtol(strValue.c_str(), &pEnd, 10);
    if (strValue.empty() || *pEnd != '\0' || errno == ERANGE || n < shortsolver::kMinMaxLength ||
        n > shortsolver::kMaxMaxLength) {
        UsageError("--max-length takes a number from 20 to 30: " + strValue);
        return false;
    }
    opt.nMaxLength = static_cast<int>(n);
    opt.bMethodGiven = true;
    opt.bMaxLengthGiven = true;
    return true;
}

// The cube to solve to: a configuration line, or the name of a stored pattern
// (case and spaces aside). It must be a real cube.
bool ParseTarget(const std::string& strValue, Options& opt)
{
    auto key = [](const std::string& s) {
        std::string k;
        for (char ch : s)
            if (ch != ' ' && ch != '-' && ch != '_')
                k += static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
        return k;
    };
    size_t nPatterns = 0;
    const CubePattern* patterns = CubePatterns(nPatterns);
    std::string strError;
    bool bRead = false;
    for (size_t i = 0; i < nPatterns && !bRead; ++i)
        if (key(patterns[i].pszName) == key(strValue))
            bRead = ParseCubeText(patterns[i].pszCube, opt.target, strError);
    if (!bRead && !ParseConfiguration(Trim(strValue), opt.target, strError)) {
        UsageError("--target: " + strError + " (or a pattern such as checkerboard)");
        return false;
    }
    if (cubie::ReadVerdict(opt.target) != kSolved) {
        UsageError("--target: " + DiagnoseCube(opt.target).Summary());
        return false;
    }
    opt.bTargetGiven = true;
    return true;
}

bool ParseSolutionCount(const std::string& strValue, Options& opt)
{
    char* pEnd = nullptr;
    errno = 0;
    const long n = std::strtol(strValue.c_str(), &pEnd, 10);
    if (strValue.empty() || *pEnd != '\0' || errno == ERANGE || n < 1 || n > 48) {
        UsageError("--solutions takes a count from 1 to 48: " + strValue);
        return false;
    }
    opt.nSolutions = n;
    return true;
}

// --threads or --jobs: a count from 1 to kMaxThreads.
constexpr long kMaxThreads = 256;
bool ParseThreadCount(const std::string& strOption, const std::string& strValue, int& nCount)
{
    char* pEnd = nullptr;
    errno = 0;
    const long n = std::strtol(strValue.c_str(), &pEnd, 10);
    if (strValue.empty() || *pEnd != '\0' || errno == ERANGE || n < 1 || n > kMaxThreads) {
        UsageError(strOption + " takes a number from 1 to " + std::to_string(kMaxThreads) + ": " + strValue);
        return false;
    }
    nCount = static_cast<int>(n);
    return true;
}

// Reads the option strArg and its value, if it takes one.
bool ParseOption(Arguments& args, const std::string& strArg, Options& opt)
{
    std::string strValue;
    if (strArg == "--help" || strArg == "-h")
        return SetMode(opt, Mode::Help, strArg);
    if (strArg == "--version")
        return SetMode(opt, Mode::Version, strArg);
    if (strArg == "--diagnose")
        return SetMode(opt, Mode::Diagnose, strArg);
    if (strArg == "--read-rgb")
        return SetMode(opt, Mode::ReadRgb, strArg);
    if (strArg == "--read-photos") {
        if (!SetMode(opt, Mode::ReadPhotos, strArg))
            return false;
        for (int nFace = 0; nFace < kFacesPerCube; ++nFace) {
            if (!args.TakeValue("--read-photos takes six image files, the faces T F R L B D", strValue))
                return false;
            opt.photos.push_back(strValue);
        }
        return true;
    }
    if (strArg == "--cube-line") {
        opt.bCubeLine = true;
        return true;
    }
    if (strArg == "--shuffle")
        return SetMode(opt, Mode::Shuffle, strArg) &&
               args.TakeValue("--shuffle takes one count", strValue) &&
               ParseShuffleCount(strValue, opt);
    if (strArg == "--apply")
        return SetMode(opt, Mode::Apply, strArg) &&
               args.TakeValue("--apply takes one move string", opt.strMoves) &&
               ResolveApplyMoves(opt.strMoves);
    if (strArg == "--notation")
        return args.TakeValue("--notation takes model or standard", strValue) &&
               ParseNotation(strValue, opt);
    if (strArg == "--target")
        return args.TakeValue("--target takes a cube", strValue) && ParseTarget(strValue, opt);
    if (strArg == "--solutions")
        return args.TakeValue("--solutions takes a count from 1 to 48", strValue) &&
               ParseSolutionCount(strValue, opt);
    if (strArg == "--metrics") {
        opt.bMetrics = true;
        return true;
    }
    if (strArg == "--method")
        return args.TakeValue("--method takes short, optimal or lbl", strValue) && ParseMethod(strValue, opt);
    if (strArg == "--threads" || strArg == "--jobs") {
        const bool bJobs = strArg == "--jobs";
        (bJobs ? opt.bJobsGiven : opt.bThreadsGiven) = true;
        return args.TakeValue(strArg + " takes a number from 1 to " + std::to_string(kMaxThreads), strValue) &&
               ParseThreadCount(strArg, strValue, bJobs ? opt.nJobs : opt.nThreads);
    }
    if (strArg == "--max-length")
        return args.TakeValue("--max-length takes a number from 20 to 30", strValue) &&
               ParseMaxLength(strValue, opt);
    UsageError("unknown option: " + strArg);
    return false;
}

// --threads goes with --method optimal only, --jobs with any solving.
bool CheckThreadOptions(const Options& opt, bool bSolving)
{
    if ((opt.bThreadsGiven || opt.bJobsGiven) && !bSolving) {
        UsageError(std::string(opt.bJobsGiven ? "--jobs" : "--threads") + " applies to solving only");
        return false;
    }
    if (opt.bThreadsGiven && !opt.bOptimal && opt.mode == Mode::Solve) {
        UsageError("--threads needs --method optimal");
        return false;
    }
    return true;
}

// The options that only go with others.
bool CheckCombination(const Options& opt)
{
    const bool bSolving = opt.mode == Mode::Solve || opt.mode == Mode::Help;
    if (opt.bMethodGiven && !bSolving) {
        UsageError("--method and --max-length apply to solving only");
        return false;
    }
    if (opt.bNotationGiven && !bSolving) {
        UsageError("--notation applies to solving only");
        return false;
    }
    if (opt.bMetrics && !bSolving) {
        UsageError("--metrics applies to solving only");
        return false;
    }
    if (opt.nSolutions > 0 && (!(opt.bShort || opt.bOptimal) || opt.mode != Mode::Solve)) {
        UsageError("--solutions needs --method short or optimal");
        return false;
    }
    if (opt.bTargetGiven && (!(opt.bShort || opt.bOptimal) || opt.mode != Mode::Solve)) {
        UsageError("--target needs --method short or optimal");
        return false;
    }
    if (opt.bCubeLine && opt.mode != Mode::ReadRgb && opt.mode != Mode::ReadPhotos) {
        UsageError("--cube-line needs --read-rgb or --read-photos");
        return false;
    }
    if (opt.bMaxLengthGiven && !opt.bShort && opt.mode == Mode::Solve) {
        UsageError("--max-length needs --method short");
        return false;
    }
    return CheckThreadOptions(opt, bSolving);
}

// Fills opt from the command line; returns false after reporting a usage error.
bool ParseCommandLine(int argc, char** argv, Options& opt)
{
    Arguments args(argc, argv);
    std::string strArg;
    while (args.Next(strArg))
        if (!ParseOption(args, strArg, opt))
            return false;
    return CheckCombination(opt);
}

// Solves each configuration read with the method chosen, on opt.nJobs threads.
int SolveAll(Output& out, const Options& opt);

int Run(const Options& opt)
{
    Output out;
    CCubeSolver cube;
    switch (opt.mode) {
    case Mode::Help:
        out.Write(kUsage);
        return out.Flush() ? kExitOk : kExitIo;

    case Mode::Version:
        out.Write("zelvors-solve " ZELVORS_VERSION "\n");
        return out.Flush() ? kExitOk : kExitIo;

    case Mode::Shuffle:
        for (long long i = 0; i < opt.nCount; ++i) {
            cube.Shuffle(nullptr);
            if (!out.Line(FormatCube(cube)))
                return kExitIo;
        }
        return out.Flush() ? kExitOk : kExitIo;

    case Mode::Apply:
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

    case Mode::ReadRgb:
        // No comment lines: a line starts with a colour's '#'.
        return ForEachInputLine(out, false, [&](const std::string& strText, std::string& strError) {
            scan::Measurement measured;
            if (!ParseMeasuredColours(strText, measured, strError))
                return LineAnswer::kBad;
            return out.Line(ReadingText(scan::DecideColours(measured), opt.bCubeLine)) ? LineAnswer::kWritten
                                                                                        : LineAnswer::kUnwritten;
        });

    case Mode::ReadPhotos: {
        scan::Measurement measured;
        std::string strError;
        if (!MeasurePhotos(opt.photos, measured, strError)) {
            Complain(strError);
            out.Line(std::string(kBadLineField) + '\t' + strError);
            return out.Flush() ? kExitBadLine : kExitIo;
        }
        const scan::ColourDecision decision = scan::DecideColours(measured);
        if (!decision.note.empty())
            Complain(decision.note);
        out.Line(ReadingText(decision, opt.bCubeLine));
        return out.Flush() ? kExitOk : kExitIo;
    }

    case Mode::Solve:
        break;
    }
    return SolveAll(out, opt);
}


// Whether file descriptor nFd is a terminal.
bool IsTerminal(int nFd)
{
#ifdef _WIN32
    return _isatty(nFd) != 0;
#else
    return isatty(nFd) != 0;
#endif
}

// The optimal search's progress on standard error, one line written over in
// place; only when standard error is a terminal. With several jobs it is that
// of the first line not yet answered, named by its number.
class ProgressLine {
public:
    ProgressLine(bool bOn, std::function<size_t()> firstUnanswered)
        : m_bOn(bOn), m_firstUnanswered(std::move(firstUnanswered))
    {
    }
    bool On() const { return m_bOn; }
    // The progress of the cube at input place nIndex; unless bNews, only
    // when the line has not just been written.
    void Show(size_t nIndex, const std::string& strText, bool bNews)
    {
        if (!m_bOn || (m_firstUnanswered && m_firstUnanswered() != nIndex))
            return;
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto now = std::chrono::steady_clock::now();
        // A few times a second is all a reader follows.
        if (!bNews && m_bShown && m_nShown == nIndex && now - m_lastShown < std::chrono::milliseconds(200))
            return;
        const std::string strWhere = m_firstUnanswered ? "line " + std::to_string(nIndex + 1) + ": " : "";
        std::fprintf(stderr, "\r\033[K%s%s", strWhere.c_str(), strText.c_str());
        std::fflush(stderr);
        m_bShown = true;
        m_nShown = nIndex;
        m_lastShown = now;
    }
    // Removes the line when it shows the cube at nIndex.
    void Clear(size_t nIndex)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_bShown && m_nShown == nIndex) {
            std::fputs("\r\033[K", stderr);
            std::fflush(stderr);
            m_bShown = false;
        }
    }

private:
    const bool m_bOn;
    const std::function<size_t()> m_firstUnanswered;
    std::mutex m_mutex;
    bool m_bShown = false;
    size_t m_nShown = 0;
    std::chrono::steady_clock::time_point m_lastShown;
};

// Solves one configuration: the output line for its colours and its place in the input.
using Solver = std::function<std::string(const BYTE* colors, size_t nIndex)>;

std::string Answer(int nResult, const std::string& strMoves, const Options& opt)
{
    return std::to_string(nResult) + '\t' +
           (nResult == kSolved ? SolutionText(strMoves, opt.bStandardNotation, opt.bMetrics) : std::string());
}

// Several solutions: each (and its counts) a field of its own.
std::string SeveralAnswer(int nResult, const std::vector<std::string>& solutions, const Options& opt)
{
    std::string strLine = std::to_string(nResult);
    for (const std::string& strOne : solutions)
        strLine += '\t' + SolutionText(strOne, opt.bStandardNotation, opt.bMetrics);
    if (solutions.empty())
        strLine += '\t';
    return strLine;
}

Solver OptimalSolver(const Options& opt, ProgressLine& progress, std::atomic<bool>* pCancel)
{
    return [&opt, &progress, pCancel](const BYTE* colors, size_t nIndex) {
        OptimalOptions options;
        options.nThreads = opt.nThreads;
        options.pCancel = pCancel;
        const auto start = std::chrono::steady_clock::now();
        if (progress.On()) {
            // A new length is always shown.
            options.progress = [&progress, nIndex, start, nDepth = 0](const OptimalProgress& p) mutable {
                const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
                progress.Show(nIndex, optimal::ProgressText(p, elapsed.count()), p.nDepth != nDepth);
                nDepth = p.nDepth;
            };
            if (!shortsolver::ShortSolverTables::IsReady())
                progress.Show(nIndex, "preparing the tables\u2026", true);
        }
        // To a target: the one cube whose solution turns this one into it.
        BYTE relative[kCubeTextLength];
        std::string strError;
        if (opt.bTargetGiven) {
            const int nRelative = RelativeCube(colors, opt.target, relative, strError);
            if (nRelative != kSolved)
                return Answer(nRelative, std::string(), opt);
        }
        if (opt.nSolutions > 0) {
            // Every one of the fewest moves, then of one move more.
            options.nSolutions = static_cast<size_t>(opt.nSolutions);
            options.bOneLonger = true;
        }
        const OptimalResult result = SolveOptimal(opt.bTargetGiven ? relative : colors, options);
        progress.Clear(nIndex);
        if (opt.nSolutions > 0)
            return SeveralAnswer(result.nResult, result.solutions, opt);
        return Answer(result.nResult, result.moves, opt);
    };
}

// A solver of the chosen method, of its own (one per job).
Solver MakeSolver(const Options& opt, ProgressLine& progress, std::atomic<bool>* pCancel)
{
    if (opt.bOptimal)
        return OptimalSolver(opt, progress, pCancel);
    if (opt.bShort)
        return [&opt](const BYTE* colors, size_t) {
            std::string strMoves;
            std::string strError;
            if (opt.nSolutions > 0) {
                BYTE relative[kCubeTextLength];
                int nResult = opt.bTargetGiven ? RelativeCube(colors, opt.target, relative, strError) : kSolved;
                std::vector<std::string> solutions;
                if (nResult == kSolved)
                    nResult = SolveShortSeveral(opt.bTargetGiven ? relative : colors, opt.nMaxLength,
                                                static_cast<size_t>(opt.nSolutions), solutions);
                return SeveralAnswer(nResult, solutions, opt);
            }
            const int nResult = opt.bTargetGiven
                                    ? SolveShortTo(colors, opt.target, opt.nMaxLength, strMoves, strError)
                                    : SolveShort(colors, opt.nMaxLength, strMoves);
            return Answer(nResult, strMoves, opt);
        };
    auto cube = std::make_shared<CCubeSolver>();
    return [&opt, cube](const BYTE* colors, size_t) {
        // After a failed check Solve leaves the solution it last found, and after
        // result 2 it may hold a candidate: only a solved cube's moves are written.
        LoadCube(*cube, colors);
        const int nResult = cube->Solve(nullptr);
        return Answer(nResult, cube->GetSolution(), opt);
    };
}

int SolveAll(Output& out, const Options& opt)
{
    const bool bProgress = opt.bOptimal && IsTerminal(2);
    if (opt.nJobs <= 1) {
        ProgressLine progress(bProgress, nullptr);
        const Solver solve = MakeSolver(opt, progress, nullptr);
        return ForEachConfiguration(out, [&](const BYTE* colors) { return out.Line(solve(colors, 0)); });
    }
    // The progress line outlives the threads that write it.
    OrderedAnswers<Output>* pAnswers = nullptr;
    ProgressLine progress(bProgress, [&pAnswers] { return pAnswers->FirstUnanswered(); });
    OrderedAnswers<Output> answers(out, opt.nJobs);
    pAnswers = &answers;
    answers.Start([&] { return MakeSolver(opt, progress, &answers.Cancel()); });
    return ForEachConfiguration(answers, [&answers](const BYTE* colors) { return answers.Solve(colors); });
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
