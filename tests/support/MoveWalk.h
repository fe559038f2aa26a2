#pragma once
// Move sequences on the cubie cube for the searches' tests: a move is
// face slot * 3 + turn (+, *, -), written in the model's notation.

#include "CubieCube.h"

#include <algorithm>
#include <string>
#include <vector>

namespace testsupport {

constexpr char kModelLetters[] = "TFRLBD";
constexpr int kOppositeFace[6] = {5, 4, 3, 2, 1, 0};

inline cubie::CubieCube Turn(cubie::CubieCube c, int nMove)
{
    for (int q = 0; q <= nMove % 3; ++q)
        c = c * cubie::FaceTurn(nMove / 3);
    return c;
}

inline cubie::CubieCube Scrambled(const std::vector<int>& moves)
{
    cubie::CubieCube c;
    for (int m : moves)
        c = Turn(c, m);
    return c;
}

inline std::string ModelText(const std::vector<int>& moves)
{
    std::string s;
    for (int m : moves) {
        s += kModelLetters[m / 3];
        s += "+*-"[m % 3];
        s += '.';
    }
    return s;
}

// The searches' order: never one face twice running, of two opposite faces
// the lower slot first (nLast < 0: the first move).
inline bool MayFollow(int nFace, int nLast)
{
    return nLast < 0 || (nFace != nLast && !(nFace == kOppositeFace[nLast] && nFace < nLast));
}

// The moves with two turns of opposite faces side by side put lower slot
// first (the searches' sequences never hold three on one axis).
inline std::string Commuted(const std::string& s)
{
    std::string t = s;
    for (size_t p = 0; p + 5 < t.size(); p += 3) {
        const int a = static_cast<int>(std::string(kModelLetters).find(t[p]));
        const int b = static_cast<int>(std::string(kModelLetters).find(t[p + 3]));
        if (kOppositeFace[a] == b && b < a)
            std::swap_ranges(t.begin() + static_cast<long>(p), t.begin() + static_cast<long>(p) + 2,
                             t.begin() + static_cast<long>(p) + 3);
    }
    return t;
}

} // namespace testsupport
