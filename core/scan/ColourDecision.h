#pragma once
// The colours of all 54 stickers decided together from what a camera
// measured, so that the result is a real cube.
//
// Facelets are in the order of the 54-digit format (faces T F R L B D, each
// face row by row as seen from outside in the net); colour k is the colour of
// face k's centre, so no sticker needs a colour name: the centres name them.
//
// The decision:
//  1. a white balance taken from the cube itself (of its neutral stickers
//     the nine most alike in lightness, then its most neutral, brightest
//     colour), then CIELAB; a sticker brighter than that white is glared,
//     and counts for no colour's look: its piece tells its colour;
//  2. six colour groups of nine stickers each, every centre in its own
//     group: a balanced assignment of the stickers to the groups, repeated
//     with the groups' means until it settles;
//  3. each sticker's cost for each colour, its CIEDE2000 distance from that
//     colour's mean against the spread within the groups (capped, so that a
//     lamp's glare on one sticker costs no more than any other mistake);
//  4. a search over the corners' and edges' possible pieces and
//     orientations for the real cube of least total cost: every piece once,
//     twists, flips and parities right. Cubes within a small margin of the
//     best are kept to show the doubt. Also in doubt: the stickers of a
//     colour that more stickers look than the cube has (one was overruled),
//     and of a colour whose centre looks unlike its group.
// When the best real cube needs more than two stickers overruled, the faces'
// readings turned a quarter or half turn (one or two faces) are tried; a
// single turned reading that fits is taken and reported. Otherwise nothing
// fits: the result is 2 and the colours are the stickers' own groups.

#include "ColourSpace.h"
#include "Compat.h"
#include "Facelets.h"

#include <array>
#include <string>
#include <vector>

namespace scan {

using Measurement = std::array<Rgb, kFaceletCount>;

struct ColourDecision {
    // kSolved (0) when a real cube was read, kUnsolvable (2) when none fits.
    int nResult = kUnsolvable;
    // The colours 1..6: the real cube read, or (none fits) each sticker's
    // own colour group.
    Facelets colors{};
    // Facelets (ascending, no centres) whose colour is in doubt: another
    // colour fits the measurement nearly as well (or better: it was
    // overruled), or a real cube almost as likely gives them another colour.
    std::vector<int> doubtful;
    // Each facelet's colours 1..6, the best fitting measurement first.
    std::array<std::array<BYTE, kFacesPerCube>, kFaceletCount> ranked{};
    // Quarter turns clockwise (0..3) by which each face's reading was turned
    // to give the real cube; all zero unless a turned reading was taken.
    std::array<int, kFacesPerCube> faceTurns{};
    // The cube's cost above the stickers' own best colours (0 when every
    // sticker has its nearest colour), in the cost's units (a sticker
    // overruled costs at most kOverruleCost).
    double excess = 0;
    // A short sentence for a person: what was turned, or why nothing fits;
    // empty when a real cube was read as it was measured.
    std::string note;

    bool IsDoubtful(int facelet) const;
};

// Most a single sticker costs (a sticker whose measurement is far from every
// colour); a cube may need up to two stickers overruled.
constexpr double kOverruleCost = 16.0;

// Decides the 54 colours. pinned, when given, holds 1..6 for a facelet whose
// colour a person chose (it is kept) and 0 for the others; centres are never
// pinned.
ColourDecision DecideColours(const Measurement& measured, const Facelets* pinned = nullptr);

// The face names of the note ("top", "front", ...).
const char* FaceName(int slot);

} // namespace scan
