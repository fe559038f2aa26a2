#pragma once
// The photo reader module of zelvors-solve (PhotoReader.cpp), loaded when a
// photo is first read.

#include <string>

namespace photomodule {

// Whether the module loads; false with the reason in strError.
bool Available(std::string& strError);

// Measures the nine stickers of the face in the photo at strPath (sRGB
// 0..255, row by row, R G B each). False with a sentence in strError when
// the module cannot be loaded, the file not read or no face found.
bool MeasurePhoto(const std::string& strPath, double rgb[27], std::string& strError);

} // namespace photomodule
