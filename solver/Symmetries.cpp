#include "Symmetries.h"

#include "CubeSolver.h"
#include "CubeText.h"

#include <cstring>

namespace shortsolver {

cubie::CubieCube SeenFromAxis(const cubie::CubieCube& cube, int nAxis, int faceOf[cubie::kFaceCount])
{
    // Painted with colour s + 1 on slot s, so that after the turn each
    // centre tells where its face came from.
    static const BYTE kCentres[cubie::kFaceCount] = {1, 2, 3, 4, 5, 6};
    BYTE colors[cubie::kFaceletCount];
    cubie::WriteFacelets(cube, kCentres, colors);
    CCubeSolver model;
    LoadCube(model, colors);
    if (nAxis == 2 || nAxis == kQuarterAboutTD)
        model.TurnCubeLeft(); // R to the front
    if (nAxis == 1 || nAxis == 2)
        model.TiltCubeUp(); // front to the top
    for (int s = 0; s < cubie::kFaceCount; ++s) {
        std::memcpy(colors + s * 9, model.m_pFace[s]->colors, 9);
        faceOf[s] = colors[s * 9 + 4] - 1;
    }
    return cubie::ReadFacelets(colors).cube;
}

} // namespace shortsolver
