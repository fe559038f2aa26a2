// Cube files: every field written and read back, the standard forms accepted
// on reading, and each kind of bad file refused with its line, leaving the
// file read into untouched.

#include "CubeFile.h"
#include "CubeFormats.h"
#include "TestCube.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A scrambled cube and a solution of it (the layer-by-layer solver's).
struct Solved {
    BYTE colors[54];
    std::string strMoves;
};

Solved MakeSolved(unsigned nSeed)
{
    std::mt19937 rng(nSeed);
    CCubeSolver cube;
    MakeRandomLegalCube(cube, rng);
    Solved s;
    ReadCube(cube, s.colors);
    EXPECT_EQ(cube.Solve(nullptr), CCubeSolver::SOLVE_OK);
    s.strMoves = cube.GetSolution();
    return s;
}

CubeFile FullFile()
{
    const Solved s = MakeSolved(7);
    CubeFile f;
    std::memcpy(f.colors, s.colors, 54);
    f.strSolution = s.strMoves;
    f.strMethod = "lbl";
    f.nStep = 5;
    const size_t nMoves = s.strMoves.size() / 3;
    for (size_t i = 0; i < nMoves; ++i)
        f.stages.push_back(1 + static_cast<int>(5 * i / nMoves));
    f.comments = {"Painted from the cube on my desk.", "", "  indented", ": not a field", "#hash", "tabs\tinside"};
    return f;
}

void ExpectSame(const CubeFile& a, const CubeFile& b)
{
    EXPECT_EQ(0, std::memcmp(a.colors, b.colors, 54));
    EXPECT_EQ(a.strSolution, b.strSolution);
    EXPECT_EQ(a.strMethod, b.strMethod);
    EXPECT_EQ(a.nStep, b.nStep);
    EXPECT_EQ(a.stages, b.stages);
    EXPECT_EQ(a.comments, b.comments);
}

TEST(CubeFile, EveryFieldRoundTrips)
{
    const CubeFile f = FullFile();
    const std::string strText = WriteCubeFile(f);
    CubeFile g;
    std::string strError;
    ASSERT_TRUE(ReadCubeFile(strText, g, strError)) << strError << "\n" << strText;
    ExpectSame(f, g);
    // Written again, byte for byte the same text; with CRLF line ends, the same file.
    EXPECT_EQ(WriteCubeFile(g), strText);
    std::string strCrlf;
    for (char ch : strText)
        strCrlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    CubeFile h;
    ASSERT_TRUE(ReadCubeFile(strCrlf, h, strError)) << strError;
    ExpectSame(f, h);
}

TEST(CubeFile, CubeAloneAndEveryLineButTheCubeIsAComment)
{
    CubeFile f = FullFile();
    int nNonComment = 0;
    for (size_t p = 0, e; p < WriteCubeFile(f).size(); p = e + 1) {
        const std::string s = WriteCubeFile(f);
        e = s.find('\n', p);
        nNonComment += !IsCubeFileCommentLine(s.substr(p, e - p));
    }
    EXPECT_EQ(nNonComment, 1);

    // Without a solution no field is written, and none comes back.
    f.strSolution.clear();
    CubeFile g;
    std::string strError;
    ASSERT_TRUE(ReadCubeFile(WriteCubeFile(f), g, strError)) << strError;
    EXPECT_EQ(WriteCubeFile(f).find("#:"), std::string::npos);
    EXPECT_TRUE(g.strSolution.empty() && g.strMethod.empty() && g.stages.empty() && g.nStep == 0);
}

TEST(CubeFile, StandardFormsAreReadAsTheModelsOwn)
{
    const Solved s = MakeSolved(11);
    std::string strFacelets, strStandard, strError;
    ASSERT_TRUE(FormatFaceletString(s.colors, strFacelets, strError));
    ASSERT_TRUE(FormatStandardMoves(s.strMoves, strStandard, strError));
    // No version line, the facelet string, standard notation, fields before the cube.
    const std::string strText = "#: solution " + strStandard + "\n\n   " + strFacelets + "  \n#:step 2\n";
    CubeFile f;
    ASSERT_TRUE(ReadCubeFile(strText, f, strError)) << strError;
    // The facelet string names colours by their centres' faces: read back, the same string.
    std::string strAgain;
    ASSERT_TRUE(FormatFaceletString(f.colors, strAgain, strError));
    EXPECT_EQ(strAgain, strFacelets);
    EXPECT_EQ(f.strSolution, s.strMoves);
    EXPECT_EQ(f.nStep, 2);
}

TEST(CubeFile, BadFilesSayTheLineAndChangeNothing)
{
    const CubeFile good = FullFile();
    // Lines 1-5: the version, three comments, the cube; a field added is line 6.
    std::string strCube = "# zelvors-cube 1\n# a\n#\n# c\n";
    for (BYTE c : good.colors)
        strCube += static_cast<char>('0' + c);
    strCube += "\n";
    const std::string strSolution = "#: solution " + good.strSolution + "\n";
    const std::string strCubeLine = std::string(54, '1');
    const struct {
        std::string text;
        const char* error; // the start of what is told
    } kRows[] = {
        {"", "line 1: the file ends without a cube"},
        {"# zelvors-cube 1\n# only words\n", "line 2: the file ends without a cube"},
        {"# zelvors-cube 2\n" + strCubeLine + "\n", "line 1: version \"2\" is not known"},
        {"hello\n", "line 1: neither a comment"},
        {"\n\n1234\n", "line 3: expected 54 colour digits"},
        {"UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBX\n", "line 1: "},
        {strCubeLine + "\n" + strCubeLine + "\n", "line 2: a second cube (the first is on line 1)"},
        {strCube + "#: colour red\n", "line 6: unknown field \"colour\""},
        {strCube + strSolution + "#: solution F+.\n", "line 7: a second solution (the first is on line 6)"},
        {strCube + "#: step 1\n", "line 6: a step without a solution"},
        {strCube + "#: method lbl\n", "line 6: a method without a solution"},
        {strCube + "#: stages 111\n", "line 6: a stages without a solution"},
        {strCube + strSolution + "#: step 999\n", "line 7: the step is a count of moves played"},
        {strCube + strSolution + "#: step -1\n", "line 7: the step is a count"},
        {strCube + strSolution + "#: step\n", "line 7: the step field has no value"},
        {strCube + strSolution + "#: stages 12\n", "line 7: the stages give 2 moves"},
        {strCube + strSolution + "#: stages " + std::string(good.strSolution.size() / 3, '6') + "\n",
         "line 7: stages are digits 1-5"},
        {strCube + strSolution + "#: stages 2" + std::string(good.strSolution.size() / 3 - 1, '1') + "\n",
         "line 7: stages are digits 1-5 that never decrease"},
        {strCube + strSolution + "#: method two words\n", "line 7: a method is one word"},
        {strCube + "#: solution F+.T+.\n", "line 6: the solution does not solve the cube of line 5"},
        {strCube + "#: solution F+.C+.\n", "line 6: move 2 (C+.) is no face turn"},
        {strCube + "#: solution R U x\n", "line 6: the solution turns the whole cube"},
        {strCube + "#: solution hello\n", "line 6: the solution is neither"},
        {strCube + std::string("12\0", 3) + "\n", "line 6: holds a NUL character"},
    };
    for (const auto& row : kRows) {
        CubeFile f = good;
        std::string strError;
        EXPECT_FALSE(ReadCubeFile(row.text, f, strError)) << row.text;
        EXPECT_EQ(strError.compare(0, std::strlen(row.error), row.error), 0)
            << "told: " << strError << "\nexpected: " << row.error;
        ExpectSame(f, good);
    }
}

} // namespace
