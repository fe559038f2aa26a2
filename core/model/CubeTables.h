#pragma once
// Constant facelet tables of the cube model. Face(row,col) names
// colors[row*3+col] of the live face with that letter; see CubeSolver.h for
// the net and the orientation of each grid.

// One facelet, named by face letter, row and column (0 to 2 each).
struct FaceletPos {
    char letter;
    int row;
    int col;
};

// Rim of each face: the 12 facelets of its four neighbours that border it,
// three per neighbour, clockwise around the face as seen from outside.
// A clockwise quarter turn carries entry k onto entry (k + 3) mod 12.
inline constexpr FaceletPos g_rimT[12] = {
    {'B', 0, 2}, {'B', 0, 1}, {'B', 0, 0}, {'R', 0, 2}, {'R', 0, 1}, {'R', 0, 0},
    {'F', 0, 2}, {'F', 0, 1}, {'F', 0, 0}, {'L', 0, 2}, {'L', 0, 1}, {'L', 0, 0},
};
inline constexpr FaceletPos g_rimF[12] = {
    {'T', 2, 0}, {'T', 2, 1}, {'T', 2, 2}, {'R', 0, 0}, {'R', 1, 0}, {'R', 2, 0},
    {'D', 0, 2}, {'D', 0, 1}, {'D', 0, 0}, {'L', 2, 2}, {'L', 1, 2}, {'L', 0, 2},
};
inline constexpr FaceletPos g_rimR[12] = {
    {'T', 2, 2}, {'T', 1, 2}, {'T', 0, 2}, {'B', 0, 0}, {'B', 1, 0}, {'B', 2, 0},
    {'D', 2, 2}, {'D', 1, 2}, {'D', 0, 2}, {'F', 2, 2}, {'F', 1, 2}, {'F', 0, 2},
};
inline constexpr FaceletPos g_rimL[12] = {
    {'T', 0, 0}, {'T', 1, 0}, {'T', 2, 0}, {'F', 0, 0}, {'F', 1, 0}, {'F', 2, 0},
    {'D', 0, 0}, {'D', 1, 0}, {'D', 2, 0}, {'B', 2, 2}, {'B', 1, 2}, {'B', 0, 2},
};
inline constexpr FaceletPos g_rimB[12] = {
    {'T', 0, 2}, {'T', 0, 1}, {'T', 0, 0}, {'L', 0, 0}, {'L', 1, 0}, {'L', 2, 0},
    {'D', 2, 0}, {'D', 2, 1}, {'D', 2, 2}, {'R', 2, 2}, {'R', 1, 2}, {'R', 0, 2},
};
inline constexpr FaceletPos g_rimD[12] = {
    {'F', 2, 0}, {'F', 2, 1}, {'F', 2, 2}, {'R', 2, 0}, {'R', 2, 1}, {'R', 2, 2},
    {'B', 2, 0}, {'B', 2, 1}, {'B', 2, 2}, {'L', 2, 0}, {'L', 2, 1}, {'L', 2, 2},
};

// The 12 edge positions, each its two facelets; the index is the search order.
// The first facelet lies on T or D where the edge touches them, else on F or B.
inline constexpr FaceletPos g_edgeTable[12][2] = {
    {{'T', 2, 1}, {'F', 0, 1}}, //  0
    {{'T', 0, 1}, {'B', 0, 1}}, //  1
    {{'T', 1, 2}, {'R', 0, 1}}, //  2
    {{'T', 1, 0}, {'L', 0, 1}}, //  3
    {{'F', 1, 2}, {'R', 1, 0}}, //  4
    {{'F', 2, 1}, {'D', 0, 1}}, //  5
    {{'F', 1, 0}, {'L', 1, 2}}, //  6
    {{'D', 1, 2}, {'R', 2, 1}}, //  7
    {{'D', 2, 1}, {'B', 2, 1}}, //  8
    {{'D', 1, 0}, {'L', 2, 1}}, //  9
    {{'B', 1, 2}, {'L', 1, 0}}, // 10
    {{'B', 1, 0}, {'R', 1, 2}}, // 11
};

// The 8 corner positions, each its three facelets; the index is the search order.
inline constexpr FaceletPos g_cornerTable[8][3] = {
    {{'T', 2, 0}, {'F', 0, 0}, {'L', 0, 2}}, // 0
    {{'T', 2, 2}, {'F', 0, 2}, {'R', 0, 0}}, // 1
    {{'T', 0, 2}, {'B', 0, 0}, {'R', 0, 2}}, // 2
    {{'T', 0, 0}, {'B', 0, 2}, {'L', 0, 0}}, // 3
    {{'D', 0, 2}, {'F', 2, 2}, {'R', 2, 0}}, // 4
    {{'D', 0, 0}, {'F', 2, 0}, {'L', 2, 2}}, // 5
    {{'D', 2, 0}, {'B', 2, 2}, {'L', 2, 0}}, // 6
    {{'D', 2, 2}, {'B', 2, 0}, {'R', 2, 2}}, // 7
};
