#pragma once
// Cube files: a small line-based text format that keeps a cube, optionally the
// solution listed for it, the method that found it, the step reached and the
// stage of each move, and free comments. The extension is .zcube and the MIME
// type application/x-zelvors-cube.
//
//   # zelvors-cube 1
//   # Painted from the cube on my desk.
//   653512243412224116611535535331244465265156346434362261
//   #: method lbl
//   #: step 3
//   #: solution D+.R-.D+.B-.D-.L+.F-.
//   #: stages 1111222
//
// Line by line (a '\r' before the '\n' is dropped, blank lines are skipped):
// - "# zelvors-cube N" as the first line names the version (1); it may be
//   left out.
// - "#: KEY VALUE" is a field, each at most once:
//     method    the solver that found the solution: a word of letters, digits
//               and '-' (the program writes lbl, short or optimal)
//     step      how many moves of the solution have been played, 0 to their count
//     solution  the moves, in the model's groups (F+. T-. D*., written
//               together) or in standard notation (F U' D2)
//     stages    one digit 1-5 per move, in order and never decreasing: the
//               stage of the layer-by-layer solution the move belongs to
//   step, method and stages need a solution; the solution must solve the cube.
// - any other line starting with '#' is a comment ("# " and "#" lead-ins are
//   taken off the text kept).
// - the one remaining line is the cube: 54 digits 0-6 (CubeText.h) or a
//   standard facelet string (CubeFormats.h).
// The cube is the cube the solution starts from; after "step" moves of it the
// cube is where the person following it has got to.
//
// Every line but the cube's starts with '#', so zelvors-solve, which skips
// such lines, reads a cube file as one configuration.
//
// Plain data in, plain data out: nothing here reads or writes a disk.

#include "Compat.h"

#include <vector>

constexpr const char kCubeFileExtension[] = "zcube";
constexpr const char kCubeFileMimeType[] = "application/x-zelvors-cube";
constexpr int kCubeFileVersion = 1;

struct CubeFile {
    BYTE colors[54] = {};
    CString strSolution;       // model groups; empty when none is kept
    CString strMethod;         // empty when not said
    int nStep = 0;             // moves of the solution played
    std::vector<int> stages;   // empty, or one stage 1-5 per move
    CStringArray comments;     // in the order written
};

// Reads a cube file's text. On failure returns false, leaves file as it was
// and says "line N: what is wrong" in strError.
bool ReadCubeFile(const CString& strText, CubeFile& file, CString& strError);

// The text of a cube file: the version line, the comments, the cube in digits,
// then the fields that are set (method, step and stages only with a solution).
CString WriteCubeFile(const CubeFile& file);

// True for a line that zelvors-solve and the reader take as no cube: one whose
// first character that is not white space is '#'.
bool IsCubeFileCommentLine(const CString& strLine);
