#include "ColourSpace.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace scan {

namespace {

constexpr double kPi = 3.14159265358979323846;

double LabF(double t)
{
    constexpr double d = 6.0 / 29.0;
    return t > d * d * d ? std::cbrt(t) : t / (3 * d * d) + 4.0 / 29.0;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

double SrgbToLinear(double v)
{
    v = std::clamp(v / 255.0, 0.0, 1.0);
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

double LinearToSrgb(double v)
{
    v = std::clamp(v, 0.0, 1.0);
    const double s = v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
    return 255.0 * s;
}

Lab ToLab(const Rgb& c, const Rgb& white)
{
    // Balanced linear RGB (the white at 1, 1, 1), then XYZ relative to D65,
    // whose white is the balanced white.
    const double r = SrgbToLinear(c.r) / white.r;
    const double g = SrgbToLinear(c.g) / white.g;
    const double b = SrgbToLinear(c.b) / white.b;
    const double X = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.9505;
    const double Y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    const double Z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.0890;
    const double fx = LabF(X), fy = LabF(Y), fz = LabF(Z);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

double DeltaE2000(const Lab& x, const Lab& y)
{
    const double c1 = std::hypot(x.a, x.b), c2 = std::hypot(y.a, y.b);
    const double cm = (c1 + c2) / 2;
    const double cm7 = std::pow(cm, 7);
    const double g = 0.5 * (1 - std::sqrt(cm7 / (cm7 + std::pow(25.0, 7))));
    const double a1 = x.a * (1 + g), a2 = y.a * (1 + g);
    const double c1p = std::hypot(a1, x.b), c2p = std::hypot(a2, y.b);
    auto hue = [](double b, double a) {
        if (a == 0 && b == 0)
            return 0.0;
        double h = std::atan2(b, a) * 180 / kPi;
        return h < 0 ? h + 360 : h;
    };
    const double h1 = hue(x.b, a1), h2 = hue(y.b, a2);
    const double dL = y.L - x.L, dC = c2p - c1p;
    double dh = 0;
    if (c1p * c2p != 0) {
        dh = h2 - h1;
        if (dh > 180)
            dh -= 360;
        else if (dh < -180)
            dh += 360;
    }
    const double dH = 2 * std::sqrt(c1p * c2p) * std::sin(dh * kPi / 360);
    const double Lm = (x.L + y.L) / 2, cpm = (c1p + c2p) / 2;
    double hm = h1 + h2;
    if (c1p * c2p != 0) {
        if (std::fabs(h1 - h2) <= 180)
            hm /= 2;
        else
            hm = (h1 + h2 < 360) ? (h1 + h2 + 360) / 2 : (h1 + h2 - 360) / 2;
    }
    const double rad = kPi / 180;
    const double t = 1 - 0.17 * std::cos((hm - 30) * rad) + 0.24 * std::cos(2 * hm * rad) +
                     0.32 * std::cos((3 * hm + 6) * rad) - 0.20 * std::cos((4 * hm - 63) * rad);
    const double dTheta = 30 * std::exp(-((hm - 275) / 25) * ((hm - 275) / 25));
    const double cpm7 = std::pow(cpm, 7);
    const double rc = 2 * std::sqrt(cpm7 / (cpm7 + std::pow(25.0, 7)));
    const double sl = 1 + 0.015 * (Lm - 50) * (Lm - 50) / std::sqrt(20 + (Lm - 50) * (Lm - 50));
    const double sc = 1 + 0.045 * cpm;
    const double sh = 1 + 0.015 * cpm * t;
    const double rt = -std::sin(2 * dTheta * rad) * rc;
    const double l = dL / sl, c = dC / sc, h = dH / sh;
    return std::sqrt(std::max(0.0, l * l + c * c + h * h + rt * c * h));
}

bool ParseHexColour(const std::string& text, Rgb& out)
{
    size_t i = text.size() == 7 && text[0] == '#' ? 1 : 0;
    if (text.size() - i != 6)
        return false;
    int v[6];
    for (int k = 0; k < 6; ++k)
        if ((v[k] = HexDigit(text[i + k])) < 0)
            return false;
    out = {double(v[0] * 16 + v[1]), double(v[2] * 16 + v[3]), double(v[4] * 16 + v[5])};
    return true;
}

std::string FormatHexColour(const Rgb& c)
{
    auto ch = [](double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 255.0))); };
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", ch(c.r), ch(c.g), ch(c.b));
    return buf;
}

double Lab::Chroma() const
{
    return std::hypot(a, b);
}

} // namespace scan
