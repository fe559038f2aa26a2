#pragma once
// Every colour the program shows, in one place: the net's facelet colours by
// colour index, the swatches, the blank grey, the background of both
// presentations, the census and the problems panel, and the 3D cube's own
// colours (which differ from the net's on purpose: green and the bevels are
// lit, not flat).
//
// Colour indexes: 0 none (blank), 1 yellow, 2 blue, 3 red, 4 orange,
// 5 green, 6 white.

#include <QRgb>

namespace Palette {

constexpr int kColorCount = 7; // index 0 (blank) and the six colours

// The net and the swatches, by colour index.
constexpr QRgb kNet[kColorCount] = {
    qRgb(110, 110, 110), // 0: no colour
    qRgb(255, 255, 0),   // 1: yellow
    qRgb(0, 0, 255),     // 2: blue
    qRgb(255, 0, 0),     // 3: red
    qRgb(255, 128, 0),   // 4: orange
    qRgb(0, 121, 0),     // 5: green
    qRgb(255, 255, 255), // 6: white
};
constexpr QRgb kBlank = kNet[0];

// Behind the net and the 3D cube alike.
constexpr QRgb kBackground = qRgb(204, 204, 204);
// Facelet outlines in the net: the selected face's and the others'.
constexpr QRgb kOutlineSelected = qRgb(0, 0, 0);
constexpr QRgb kOutline = qRgb(127, 127, 127);

// The colour census: its text, a count that is not nine, and the verdicts.
constexpr QRgb kCensusText = qRgb(0, 0, 0);
constexpr QRgb kCensusOff = qRgb(200, 0, 0);
constexpr QRgb kCensusValid = qRgb(0, 120, 0);
constexpr QRgb kCensusInvalid = kCensusOff;
// The panel that says what is wrong with a cube: its paper and its text.
constexpr QRgb kProblemsBackground = qRgb(255, 250, 215);
constexpr QRgb kProblemsText = qRgb(0, 0, 0);

// Marks drawn over facelets (the next move's arrow, a wrong facelet's cross,
// the keyboard cursor): ink on a halo, so that they show on every colour.
constexpr QRgb kMarkInk = qRgb(0, 0, 0);
constexpr QRgb kMarkHalo = qRgb(255, 255, 255);
// A swatch's border, and the frame of the selected one.
constexpr QRgb kSwatchBorder = qRgb(0, 0, 0);

// The swatches in their on-screen order (top to bottom): the colour index
// each one paints.
constexpr unsigned char kSwatchOrder[6] = {3, 2, 5, 6, 1, 4};

// The 3D cube: RGB in 0..1 by colour index (index 0 is never drawn as a
// colour; a blank facelet is drawn in kBlank3D).
constexpr float k3D[kColorCount][3] = {
    {0.0f, 0.0f, 0.0f}, // 0: unused
    {1.0f, 1.0f, 0.0f}, // 1: yellow
    {0.0f, 0.0f, 1.0f}, // 2: blue
    {1.0f, 0.0f, 0.0f}, // 3: red
    {1.0f, 0.5f, 0.0f}, // 4: orange
    {0.0f, 1.0f, 0.0f}, // 5: green
    {1.0f, 1.0f, 1.0f}, // 6: white
};
constexpr float kBlank3D[3] = {110.0f / 255.0f, 110.0f / 255.0f, 110.0f / 255.0f};
constexpr float kInside3D[3] = {0.25f, 0.25f, 0.25f};  // cubie faces that point into the cube
constexpr float kBevel3D[3] = {0.5f, 0.5f, 0.5f};      // rounded edges and corners
constexpr float kBackground3D[4] = {0.8f, 0.8f, 0.8f, 0.5f}; // the clear colour

} // namespace Palette
