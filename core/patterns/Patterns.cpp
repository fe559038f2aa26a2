#include "Patterns.h"

#include "CubieCube.h"
#include "ShortSolver.h"

#include <iterator>

namespace {

// Each made from the solved cube by face turns alone, so the centres stay.
const CubePattern kPatterns[] = {
    {"Checkerboard", "161616161252525252343434343434343434525252525616161616", "R2 L2 U2 D2 F2 B2"},
    {"Superflip", "151413121212423262313235363414542464515354565626463656",
     "U R2 F B R B2 R U2 L B2 R U' D' R2 F R' L B2 U2 F2"},
    {"Cube in a Cube", "222211211322322333331331111666446446444455455555665665",
     "F L F U' R U F2 L2 U' L' B D' B' L2 U"},
    {"Cube in a Cube in a Cube", "333311312123122111132332222555445645666655654444664564",
     "U' L' U' F' R2 B' R F U B2 U B' L U' F U R F'"},
    {"Six Spots", "222212222333323333111131111666646666444454444555565555", "U D' R L' F B' U D'"},
    {"Four Spots", "111111111555525555444434444333343333222252222666666666", "F2 B2 U D' R2 L2 U D'"},
    {"Cross", "313111313121222121232333232545444545656555656464666464",
     "R2 L' D F2 R' D' R' L U' D R D B2 R' U D2"},
    {"Plus Minus", "111111111525222525444333444333444333252555252666666666", "U2 R2 L2 U2 R2 L2"},
    {"Anaconda", "212112222333223323111133131646644666454554444565566555", "L U B' U' R L' B R' F B' D R D' F'"},
    {"Tetris", "225215255344324334166136116166146116433453443552562522", "L R F B U' D' L' R'"},
    {"Spiral", "222212211332322333331131111666646446444455445555565665",
     "L' B' D U R U' R' D2 R2 D L D' L' R' F U"},
    {"Vertical Stripes", "111111111423423423532532532245245245354354354666666666",
     "F U F R L2 B D' R D2 L D' B R2 L F U F"},
};

} // namespace

const CubePattern* CubePatterns(size_t& nCount)
{
    nCount = std::size(kPatterns);
    return kPatterns;
}

int RelativeCube(const BYTE from[54], const BYTE to[54], BYTE relative[54], std::string& strError)
{
    cubie::CubieCube a, b;
    const int nFrom = cubie::ReadVerdict(from, &a);
    if (nFrom != kSolved) {
        strError = nFrom == kBadCubelets ? "the cube does not contain proper cubelets"
                                         : "the cube cannot be solved";
        return nFrom;
    }
    const int nTo = cubie::ReadVerdict(to, &b);
    if (nTo != kSolved) {
        strError = nTo == kBadCubelets ? "the target does not contain proper cubelets"
                                       : "the target is no cube that face turns reach";
        return nTo;
    }
    // a * m = b exactly when (b^-1 * a) * m is solved.
    const cubie::CubieCube c = b.Inverse() * a;
    cubie::WriteFacelets(c, cubie::ReadCentres(from).colour, relative);
    return kSolved;
}

int SolveShortTo(const BYTE from[54], const BYTE to[54], int nMaxLength, std::string& strMoves,
                 std::string& strError)
{
    BYTE relative[54];
    const int nResult = RelativeCube(from, to, relative, strError);
    if (nResult != kSolved)
        return nResult;
    return SolveShort(relative, nMaxLength, strMoves);
}

OptimalResult SolveOptimalTo(const BYTE from[54], const BYTE to[54], const OptimalOptions& options,
                             std::string& strError)
{
    BYTE relative[54];
    OptimalResult result;
    result.nResult = RelativeCube(from, to, relative, strError);
    if (result.nResult != kSolved)
        return result;
    return SolveOptimal(relative, options);
}
