#pragma once
// The cubie-level cube: which piece stands at each position and how it is
// turned, read from (and written back to) the model's 54 facelet colours.
//
// Positions are numbered as the model's g_cornerTable and g_edgeTable. Each
// position's reference facelet is its facelet on T or D, or on F or B for the
// four edges of the middle layer between T and D. That is the first facelet
// listed there except for edge 5, listed F then D, whose reference is on D.
//
// A piece's orientation at a position:
//  - edge: 0 when the piece's reference colour (its T or D colour, or its F
//    or B colour for a middle-layer edge) lies on the position's reference
//    facelet, else 1;
//  - corner: the number of clockwise steps (seen from outside the corner)
//    from the position's reference facelet to the facelet that shows the
//    piece's T or D colour, 0 to 2.
//
// Permutations are "replaced by": cp[i] is the piece standing at position i.
// A cube A followed by a cube M (a move, say) is A * M:
//   (A*M).cp[i] = A.cp[M.cp[i]], (A*M).co[i] = A.co[M.cp[i]] + M.co[i].
//
// Faces are the model's slots T F R L B D (0..5). When a cube is read from
// colours, a colour stands for the slot whose centre shows it, so a cube held
// in any orientation, or painted in any scheme, reads as the same cubies; the
// face letters of a solution then name the slots as entered.

#include "Compat.h"
#include "Facelets.h"

#include <cstdint>
#include <random>

namespace cubie {

// Corner positions and pieces, in g_cornerTable's order.
enum Corner : int { TFL, TFR, TBR, TBL, DFR, DFL, DBL, DBR, CORNER_COUNT };
// Edge positions and pieces, in g_edgeTable's order. FR, FL, BL and BR are the
// middle layer between T and D.
enum Edge : int { TF, TB, TR, TL, FR, DF, FL, DR, DB, DL, BL, BR, EDGE_COUNT };

constexpr int kFaceCount = kFacesPerCube;
using ::kFaceletCount;

// Face slots of the three facelets of each corner position, clockwise seen
// from outside starting at the reference facelet.
extern const int kCornerFaces[CORNER_COUNT][3];
// Index into 54 slot-major colours of those facelets, in the same order.
extern const int kCornerFacelets[CORNER_COUNT][3];
// Face slots and facelet indexes of each edge position, reference first.
extern const int kEdgeFaces[EDGE_COUNT][2];
extern const int kEdgeFacelets[EDGE_COUNT][2];

struct CubieCube {
    std::int8_t cp[CORNER_COUNT] = {TFL, TFR, TBR, TBL, DFR, DFL, DBL, DBR};
    std::int8_t co[CORNER_COUNT] = {};
    std::int8_t ep[EDGE_COUNT] = {TF, TB, TR, TL, FR, DF, FL, DR, DB, DL, BL, BR};
    std::int8_t eo[EDGE_COUNT] = {};

    static CubieCube Solved() { return CubieCube(); }

    // this * b (this cube followed by b).
    CubieCube operator*(const CubieCube& b) const;
    CubieCube Inverse() const;

    bool operator==(const CubieCube& b) const;
    bool operator!=(const CubieCube& b) const { return !(*this == b); }

    // Parity of each permutation: 0 even, 1 odd. Meaningful only when cp / ep
    // are permutations.
    int CornerParity() const;
    int EdgeParity() const;
    int TwistSum() const; // sum of co mod 3
    int FlipSum() const;  // sum of eo mod 2

    // Every piece once, orientations in range, twist 0, flip 0 and equal
    // parities: exactly the cubes that face turns reach from the solved one.
    bool IsSolvable() const;
    // Every piece exactly once and orientations in range (parities unchecked).
    bool IsWellFormed() const;
};

// A uniformly random real cube: every permutation and orientation equally
// likely, the parities matched. The same generator state gives the same cube
// everywhere (only the engine's raw output is used).
CubieCube RandomCubieCube(std::mt19937& rng);

// The quarter turn of a face slot clockwise seen from outside, as the model's
// RotateFaceCW performs it.
const CubieCube& FaceTurn(int nFace);

// What was found when reading 54 colours.
struct CentreReading {
    BYTE colour[kFaceCount] = {};   // centre colour of each slot
    // Slot whose centre shows each colour 0..6, or -1 when none does; when
    // several do, the first of them in slot order.
    int slotOfColour[7] = {-1, -1, -1, -1, -1, -1, -1};
    int count[7] = {};              // centres showing each colour 0..6
    bool bDistinct = false;         // six different colours 1..6 (none blank, none twice)
    // How the colours stand relative to the solved cube (colour n+1 on slot
    // n), when bDistinct: a turn of the whole solved cube, its mirror image,
    // or neither (a pair of opposite centres that no real cube has).
    enum Arrangement { NOT_DISTINCT, ROTATION, MIRROR, NO_CUBE } arrangement = NOT_DISTINCT;
};

enum class PieceStatus : std::uint8_t {
    OK,             // piece identified with its orientation
    BLANK,          // a facelet is colour 0
    UNKNOWN_COLOUR, // a colour no centre shows (only possible when centres repeat)
    NO_SUCH_PIECE,  // colours of centres, but no piece has that combination
                    // (a colour twice, or two opposite faces)
    MIRRORED,       // a corner's three colours exist but in mirror cyclic order
    UNREADABLE,     // centres not distinct, so colours do not name faces
};

struct PieceReading {
    PieceStatus status = PieceStatus::UNREADABLE;
    int piece = -1;       // Corner or Edge when OK
    int orientation = -1; // when OK
};

struct FaceletReading {
    CentreReading centres;
    PieceReading corners[CORNER_COUNT];
    PieceReading edges[EDGE_COUNT];
    // Positions that hold each piece (identified ones only).
    int cornerCount[CORNER_COUNT] = {};
    int edgeCount[EDGE_COUNT] = {};
    // Every position identified and every piece exactly once.
    bool bComplete = false;
    // When bComplete: the cube and its invariants.
    CubieCube cube;
    int cornerParity = 0;
    int edgeParity = 0;
    int twistSum = 0;
    int flipSum = 0;

    // A real cube: complete, twist 0, flip 0, parities equal.
    bool IsRealCube() const
    {
        return bComplete && twistSum == 0 && flipSum == 0 && cornerParity == edgeParity;
    }
};

// Reads the six centres of 54 slot-major colours.
CentreReading ReadCentres(const BYTE colors[kFaceletCount]);

// Parity of a permutation of 0..n-1: 0 even, 1 odd.
template <typename T>
int PermutationParity(const T* p, int n)
{
    int nParity = 0;
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            if (p[i] > p[j])
                nParity ^= 1;
    return nParity;
}

// Reads 54 slot-major colours (as ParseCubeText fills them). Never fails: what
// could not be identified is reported per position.
FaceletReading ReadFacelets(const BYTE colors[kFaceletCount]);

// The model's configuration check (every centre colour 1..6 present, and for
// every edge and corner position a piece found with its centres' colours, the
// model's way), on 54 colours.
bool PassesCubeletCheck(const BYTE colors[kFaceletCount]);

// Verdict as CCubeSolver::Solve gives it: 1 when the configuration check
// fails, 0 for a real cube (pCube, when given, receives it), 2 otherwise.
int ReadVerdict(const BYTE colors[kFaceletCount], CubieCube* pCube = nullptr);

// Writes a well-formed cube as 54 colours, each slot's facelets painted from
// centreColour[slot] (the centres included).
void WriteFacelets(const CubieCube& cube, const BYTE centreColour[kFaceCount],
                   BYTE colors[kFaceletCount]);

} // namespace cubie
