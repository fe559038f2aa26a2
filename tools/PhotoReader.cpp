// zelvors-photo-reader: the photo reading of zelvors-solve, a module it
// loads only for --read-photos. OpenCV's image codecs bring in a great many
// libraries (some 140 on Debian, a quarter of a second and 150 MB of address
// space at start-up), which every other run of the command line is spared.

#include "FaceFinder.h"

#include <cstring>
#include <string>

#ifdef _WIN32
#define ZELVORS_EXPORT extern "C" __declspec(dllexport)
#else
#define ZELVORS_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// Finds the face in the photo at pszPath and measures its nine stickers:
// rgb gets 27 values (sRGB 0..255, the stickers row by row, R G B each).
// Returns 1, or 0 with a sentence naming the file in pszError (nErrorSize
// bytes, always terminated).
ZELVORS_EXPORT int zelvors_measure_photo(const char* pszPath, double* rgb, char* pszError, int nErrorSize)
{
    std::string strError;
    photo::Image image;
    bool bOk = photo::LoadImage(pszPath, image, &strError);
    if (bOk) {
        const photo::FaceFinding finding = photo::FindFace(image);
        bOk = finding.bFound;
        if (!bOk)
            strError = std::string(pszPath) + ": " + finding.strProblem;
        else {
            const std::array<scan::Rgb, 9> stickers = photo::MeasureFace(image, finding.corners);
            for (size_t k = 0; k < stickers.size(); ++k) {
                rgb[3 * k] = stickers[k].r;
                rgb[3 * k + 1] = stickers[k].g;
                rgb[3 * k + 2] = stickers[k].b;
            }
        }
    }
    if (!bOk && pszError && nErrorSize > 0) {
        std::strncpy(pszError, strError.c_str(), static_cast<size_t>(nErrorSize) - 1);
        pszError[nErrorSize - 1] = '\0';
    }
    return bOk ? 1 : 0;
}
