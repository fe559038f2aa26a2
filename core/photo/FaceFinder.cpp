#include "FaceFinder.h"

namespace photo {

bool LoadImage(const std::string&, Image&, std::string* pError)
{
    if (pError)
        *pError = "not yet built";
    return false;
}

FaceFinding FindFace(const Image&)
{
    FaceFinding f;
    f.strProblem = "not yet built";
    return f;
}

std::array<scan::Rgb, 9> MeasureFace(const Image& image, const Quad& q)
{
    // Bilinear position of each sticker's middle; no perspective yet.
    std::array<scan::Rgb, 9> out{};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            const double u = (c + 0.5) / 3, v = (r + 0.5) / 3;
            const double x = (1 - v) * ((1 - u) * q[0].x + u * q[1].x) + v * ((1 - u) * q[3].x + u * q[2].x);
            const double y = (1 - v) * ((1 - u) * q[0].y + u * q[1].y) + v * ((1 - u) * q[3].y + u * q[2].y);
            const int px = static_cast<int>(x), py = static_cast<int>(y);
            if (px < 0 || py < 0 || px >= image.width || py >= image.height)
                continue;
            const std::uint8_t* p = &image.rgb[(static_cast<size_t>(py) * image.width + px) * 3];
            out[static_cast<size_t>(r * 3 + c)] = {double(p[0]), double(p[1]), double(p[2])};
        }
    return out;
}

} // namespace photo
