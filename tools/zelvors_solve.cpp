// zelvors-solve: the cube solver on the command line.
//   zelvors-solve               solve each configuration read from standard input
//   zelvors-solve --shuffle N   N scrambles in a row from the solved cube
//   zelvors-solve --apply MOVES perform MOVES on each configuration read
//   zelvors-solve --version     the program's version
// Exit status: 0 all lines answered, 1 some input line was bad, 2 bad command line.

#include "CubeSolver.h"
#include "CubeText.h"

#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <string>

namespace {

const char kUsage[] =
    "usage: zelvors-solve                solve configurations read from standard input\n"
    "       zelvors-solve --shuffle N    write the cube after each of N scrambles\n"
    "       zelvors-solve --apply MOVES  write each configuration read with MOVES performed\n"
    "       zelvors-solve --help         show this text\n"
    "       zelvors-solve --version      show the version\n"
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
    if (argc == 2 && strCommand == "--version") {
        std::cout << "zelvors-solve " ZELVORS_VERSION "\n";
        return 0;
    }

    if (argc == 1) {
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
