#pragma once
// Finding a cube's face in a photo and measuring its nine stickers.
//
// Plain C++ on top of OpenCV (core, imgproc, imgcodecs); no Qt, so the
// command line, the tests and the program share it. The colours it measures
// go to scan::DecideColours, which decides all 54 together.

#include "ColourSpace.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace photo {

struct Point {
    double x = 0, y = 0; // pixels, from the image's top left corner
};

// An image as 8-bit RGB, three bytes a pixel, rows top to bottom, no padding.
struct Image {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb; // width * height * 3
};

// Reads an image file (PNG, JPEG and whatever else OpenCV's imgcodecs reads).
// False, with a sentence for a person in *pError, when it cannot.
bool LoadImage(const std::string& strPath, Image& image, std::string* pError = nullptr);

// The face's outer corners in the order top left, top right, bottom right,
// bottom left, as the face stands in the photo nearest to upright.
using Quad = std::array<Point, 4>;

struct FaceFinding {
    bool bFound = false;
    Quad corners{};
    // Stickers seen where the grid has them (5..9 when found): fewer when
    // glare or shadow hid some and the grid was completed from the others.
    int nStickersSeen = 0;
    // A sentence for a person when nothing was found.
    std::string strProblem;
};

// Finds the 3x3 grid of stickers anywhere in the image, turned up to about
// 45 degrees and seen somewhat obliquely. Stickers are told from the cube's
// dark body around them (the body must be darker than every sticker, as on
// a black cube). Of several faces in sight, the one seen most squarely and
// largest is taken.
FaceFinding FindFace(const Image& image);

// The nine stickers' colours, row by row, measured inside the quad (seen
// through its perspective), each from the middle of its sticker.
std::array<scan::Rgb, 9> MeasureFace(const Image& image, const Quad& corners);

} // namespace photo
