#pragma once
// The cube written as 54 characters: the faces in slot order T F R L B D, each
// face's nine colour indexes row-major, each a digit 0 to 6. The solved cube is
// 111111111222222222333333333444444444555555555666666666.

#include "CubeSolver.h"

constexpr size_t kCubeTextLength = kFaceletCount;

// The live cube as text.
CString FormatCube(const CCubeSolver& cube);

// Checks a text; on success returns true and fills colors (slot-major, 54 bytes),
// otherwise returns false and says what is wrong in strError.
bool ParseCubeText(const CString& strText, BYTE colors[kCubeTextLength], CString& strError);

// Writes 54 colours (as ParseCubeText fills them) into the live cube.
void LoadCube(CCubeSolver& cube, const BYTE colors[kCubeTextLength]);
// Reads the live cube's 54 colours in the same order (LoadCube's inverse).
void ReadCube(const CCubeSolver& cube, BYTE colors[kCubeTextLength]);
