#pragma once
// Plain C++ stand-ins for the few platform types that the cube model's
// interface is written in. Flags are plain `bool`; DWORD is the same type the
// Windows headers give it, so both may be seen in one translation unit there.

#include <string>
#include <vector>

using CString = std::string;
using CStringArray = std::vector<std::string>;
using BYTE = unsigned char;
using DWORD = unsigned long;

// Screen rectangle of a face in the net, in the view's client pixels.
// Holds the points left <= x < right, top <= y < bottom; all zero when empty.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(int x, int y) const { return left <= x && x < right && top <= y && y < bottom; }
    friend bool operator==(const Rect& a, const Rect& b)
    {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
};
