#pragma once
// Where the next-move marker lies: the arrows that show a face turn on the 3D
// cube for the view's angles, and on the net. Plain geometry; drawing is in
// MarkerDraw.cpp.
//
// Scene coordinates as in CubieModel.h (x right, y up, z toward the viewer;
// R = +x, T = +y, F = +z); the cube's outer surface lies at 1.5 along each
// axis. The camera is the 3D view's: eye coordinates are
// translate(0, 0, -7) * rotate(pitch about x) * rotate(yaw about y) applied
// to scene points, seen through a perspective from the origin.
//
// A turn "clockwise" is clockwise seen from outside the turning face, the
// model's '+'; a half turn is drawn as two clockwise quarter turns, as the
// model performs it.

#include <cmath>
#include <vector>

struct MarkerVec {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

inline MarkerVec Add(MarkerVec a, MarkerVec b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline MarkerVec Sub(MarkerVec a, MarkerVec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline MarkerVec Scale(MarkerVec a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline float Dot(MarkerVec a, MarkerVec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline MarkerVec Cross(MarkerVec a, MarkerVec b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
// Of length 1, or a itself when it is zero.
inline MarkerVec Unit(MarkerVec a)
{
    const float l = std::sqrt(Dot(a, a));
    return l > 0.0f ? Scale(a, 1.0f / l) : a;
}

enum class MarkerTurn { CLOCKWISE, COUNTER_CLOCKWISE, HALF };

struct MarkedMove {
    char chFace = 0; // T F R L B D; 0 when the group is no face turn
    MarkerTurn turn = MarkerTurn::CLOCKWISE;
};

// Reads a model move group such as "R+.", "B-." or "T*." (the separator may
// be missing); anything else gives chFace 0.
MarkedMove ReadMarkerMove(const char* pszGroup);

struct MarkerArrow {
    char chFace = 0;   // face whose stickers the arrow lies on
    bool bArc = false; // round the turning face's centre; else straight along
                       // the turning layer's row of stickers on a neighbour
    bool bThrough = false; // the turning layer shows nowhere: the arc is drawn
                           // on its hidden face, seen through the cube
    int nHeads = 1;        // 2 for a half turn
    // Centre line on the surface, from the tail to the base of the head; the
    // head, kMarkerHeadLength long, continues beyond it.
    std::vector<MarkerVec> path;
};

constexpr float kMarkerHeadLength = 0.48f; // in scene units, a sticker being 0.8

MarkerVec FaceNormal(char chFace);
MarkerVec ToEye(MarkerVec p, float fPitch, float fYaw);
// The cosine between the face's outward normal and the line from its centre
// to the camera: above 0 when the outside of the face is toward the camera,
// small when it is seen at a slant.
float FaceFacing(char chFace, float fPitch, float fYaw);
bool FaceTowardViewer(char chFace, float fPitch, float fYaw);
// The point's place on the screen: x to the right, y downward, in units of
// the distance to the projection plane.
void ProjectToScreen(MarkerVec p, float fPitch, float fYaw, float& sx, float& sy);

// The arrows of a move: an arc on the turning face when it is toward the
// viewer, and, when it is turned away or seen at a slant, a straight arrow on
// every neighbour toward the viewer along the turning layer's stickers,
// pointing the way they move. Empty for no face turn.
std::vector<MarkerArrow> MarkerArrows3D(const MarkedMove& move, float fPitch, float fYaw);

// The arc on a face of the net, in the face's own square seen from outside:
// x to the right, y downward, 0..1 across. Tail to head.
std::vector<MarkerVec> NetArcPath(MarkerTurn turn);
