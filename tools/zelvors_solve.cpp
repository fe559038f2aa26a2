// zelvors-solve: the cube solver on the command line.
//   zelvors-solve               solve each configuration read from standard input
//   zelvors-solve --method short [--max-length N]
//                               the same with the short solver (at most N moves)
//   zelvors-solve --shuffle N   N scrambles in a row from the solved cube
//   zelvors-solve --apply MOVES perform MOVES on each configuration read
// Exit status: 0 all lines answered, 1 some input line was bad, 2 bad command line.

#include "CubeSolver.h"
#include "CubeText.h"
#include "ShortSolver.h"

#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <string>

namespace {

const char kUsage[] =
    "usage: zelvors-solve                solve configurations read from standard input\n"
    "       zelvors-solve --method short|lbl [--max-length N]\n"
    "                                    solve with the short solver (at most N moves,\n"
    "                                    20 to 30, default 20) or layer by layer (default)\n"
    "       zelvors-solve --shuffle N    write the cube after each of N scrambles\n"
    "       zelvors-solve --apply MOVES  write each configuration read with MOVES performed\n"
    "       zelvors-solve --help         show this text\n"
    "\n"
    "A configuration is one line of 54 digits 0-6: the faces T, F, R, L, B, D, each\n"
    "face's nine facelets row by row (0 blank, 1-6 the solved colours of T F R L B D).\n"
    "Solving writes the result code (0 solved, 1 not a set of cubelets, 2 unsolvable),\n"
    "a tab and the solution's moves.\n";

int UsageError(const std::string& strWhy)
{
    std::cerr << "zelvors-solve: " << strWhy << "\n" << kUsage;
    return 2;
}

std::string Trim(const std::string& s)
{
    const char* kSpace = " \t\r\n\f\v";
    const size_t b = s.find_first_not_of(kSpace);
    if (b == std::string::npos)
        return std::string();
    const size_t e = s.find_last_not_of(kSpace);
    return s.substr(b, e - b + 1);
}

// Reads configurations from standard input and hands each to fn; returns the exit status.
template <typename Fn>
int ForEachConfiguration(Fn fn)
{
    int nStatus = 0;
    std::string strLine;
    long nLine = 0;
    while (std::getline(std::cin, strLine)) {
        ++nLine;
        const std::string strText = Trim(strLine);
        if (strText.empty())
            continue;
        BYTE colors[kCubeTextLength];
        std::string strError;
        if (!ParseCubeText(strText, colors, strError)) {
            std::cerr << "zelvors-solve: line " << nLine << ": " << strError << "\n";
            nStatus = 1;
            continue;
        }
        fn(colors);
    }
    return nStatus;
}

} // namespace

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    const std::string strCommand = argc > 1 ? argv[1] : "";

    if (argc == 2 && (strCommand == "--help" || strCommand == "-h")) {
        std::cout << kUsage;
        return 0;
    }

    if (argc == 1 || strCommand == "--method" || strCommand == "--max-length") {
        bool bShort = false;
        int nMaxLength = shortsolver::kDefaultMaxLength;
        for (int i = 1; i < argc; i += 2) {
            const std::string strOption = argv[i];
            if (strOption != "--method" && strOption != "--max-length")
                return UsageError("unknown option: " + strOption);
            if (i + 1 >= argc)
                return UsageError(strOption + " takes a value");
            const std::string strValue = argv[i + 1];
            if (strOption == "--method") {
                if (strValue != "short" && strValue != "lbl")
                    return UsageError("unknown method: " + strValue);
                bShort = strValue == "short";
            } else {
                char* pEnd = nullptr;
                errno = 0;
                const long n = std::strtol(strValue.c_str(), &pEnd, 10);
                if (strValue.empty() || *pEnd != '\0' || errno == ERANGE ||
                    n < shortsolver::kMinMaxLength || n > shortsolver::kMaxMaxLength)
                    return UsageError("--max-length takes a number from 20 to 30: " + strValue);
                nMaxLength = static_cast<int>(n);
            }
        }
        if (bShort)
            return ForEachConfiguration([nMaxLength](const BYTE* colors) {
                std::string strMoves;
                const int nResult = SolveShort(colors, nMaxLength, strMoves);
                std::cout << nResult << '\t' << strMoves << '\n';
            });
        CCubeSolver cube;
        return ForEachConfiguration([&cube](const BYTE* colors) {
            LoadCube(cube, colors);
            const int nResult = cube.Solve(nullptr);
            std::cout << nResult << '\t' << cube.GetSolution() << '\n';
        });
    }

    if (strCommand == "--shuffle") {
        if (argc != 3)
            return UsageError("--shuffle takes one count");
        const char* pszCount = argv[2];
        char* pEnd = nullptr;
        errno = 0;
        const long nCount = std::strtol(pszCount, &pEnd, 10);
        if (*pszCount == '\0' || *pEnd != '\0' || errno == ERANGE || nCount < 0)
            return UsageError(std::string("not a count: ") + pszCount);
        CCubeSolver cube;
        for (long i = 0; i < nCount; ++i) {
            cube.Shuffle(nullptr);
            std::cout << FormatCube(cube) << '\n';
        }
        return 0;
    }

    if (strCommand == "--apply") {
        if (argc != 3)
            return UsageError("--apply takes one move string");
        const std::string strMoves = argv[2];
        CCubeSolver cube;
        return ForEachConfiguration([&](const BYTE* colors) {
            LoadCube(cube, colors);
            cube.ExecuteMoves(strMoves);
            std::cout << FormatCube(cube) << '\n';
        });
    }

    return UsageError("unknown option: " + strCommand);
}
