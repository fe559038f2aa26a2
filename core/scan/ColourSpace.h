#pragma once
// Colours as a camera measures them (sRGB, 0..255 a channel) and as a person
// sees them (CIELAB), and the perceptual difference CIEDE2000 between two.

#include <string>

namespace scan {

struct Rgb {
    double r = 0, g = 0, b = 0; // sRGB, 0..255
};

struct Lab {
    double L = 0, a = 0, b = 0;
    double Chroma() const; // how far from neutral grey
};

// sRGB channel 0..255 to linear light 0..1, and back (clamped to 0..255).
double SrgbToLinear(double v);
double LinearToSrgb(double v);

// CIELAB of a colour whose linear channels are first divided by the white's
// (a von Kries white balance in camera RGB), so that the white reads as
// L 100, a 0, b 0. white holds linear channels 0..1, each above zero.
Lab ToLab(const Rgb& c, const Rgb& whiteLinear);

// CIEDE2000 colour difference (kL = kC = kH = 1).
double DeltaE2000(const Lab& x, const Lab& y);

// Reads "#rrggbb" (the '#' optional, hex digits either case). False for
// anything else.
bool ParseHexColour(const std::string& text, Rgb& out);
std::string FormatHexColour(const Rgb& c);

} // namespace scan
