#include "MoveMarker.h"

#include <cmath>

namespace {

constexpr float kPi = 3.14159265358979323846f;
constexpr float kSurface = 1.5f;  // the cube's outer surface along each axis
constexpr float kEyeDistance = 7.0f;
constexpr float kArcRadius = 0.95f;     // on the 3-unit face
constexpr float kArcSweep = 1.5f * kPi; // three quarters of a circle
constexpr int kArcSegments = 24;
constexpr float kStripHalfLength = 1.3f; // tail to the head's point
// Below this facing (FaceFacing) a face is seen at too much of a slant for
// its arc alone: the top face at the default angles, not the front or right.
constexpr float kSlant = 0.35f;

// The four neighbours of each face, in no particular order.
const char* Neighbours(char chFace)
{
    switch (chFace) {
    case 'R': case 'L': return "TFDB";
    case 'T': case 'D': return "FRBL";
    case 'F': case 'B': return "TRDL";
    default: return "";
    }
}

char Opposite(char chFace)
{
    switch (chFace) {
    case 'R': return 'L';
    case 'L': return 'R';
    case 'T': return 'D';
    case 'D': return 'T';
    case 'F': return 'B';
    case 'B': return 'F';
    default: return 0;
    }
}

// A direction in the face's plane, so that u, n x u, n is right-handed.
MarkerVec FirstInPlane(MarkerVec n)
{
    if (n.x != 0.0f)
        return {0.0f, 1.0f, 0.0f};
    if (n.y != 0.0f)
        return {0.0f, 0.0f, 1.0f};
    return {1.0f, 0.0f, 0.0f};
}

} // namespace

MarkedMove ReadMarkerMove(const char* pszGroup)
{
    MarkedMove move;
    if (!pszGroup || !pszGroup[0] || !Opposite(pszGroup[0]))
        return move;
    switch (pszGroup[1]) {
    case '+': move.turn = MarkerTurn::CLOCKWISE; break;
    case '-': move.turn = MarkerTurn::COUNTER_CLOCKWISE; break;
    case '*': move.turn = MarkerTurn::HALF; break;
    default: return move;
    }
    move.chFace = pszGroup[0];
    return move;
}

MarkerVec FaceNormal(char chFace)
{
    switch (chFace) {
    case 'R': return {1, 0, 0};
    case 'L': return {-1, 0, 0};
    case 'T': return {0, 1, 0};
    case 'D': return {0, -1, 0};
    case 'F': return {0, 0, 1};
    case 'B': return {0, 0, -1};
    default: return {};
    }
}

MarkerVec ToEye(MarkerVec p, float fPitch, float fYaw)
{
    const float a = fYaw * kPi / 180.0f;
    const float b = fPitch * kPi / 180.0f;
    // About y, then about x, as the model-view matrix applies them.
    const MarkerVec q{p.x * std::cos(a) + p.z * std::sin(a), p.y, -p.x * std::sin(a) + p.z * std::cos(a)};
    return {q.x, q.y * std::cos(b) - q.z * std::sin(b), q.y * std::sin(b) + q.z * std::cos(b) - kEyeDistance};
}

float FaceFacing(char chFace, float fPitch, float fYaw)
{
    const MarkerVec n = FaceNormal(chFace);
    const MarkerVec centre = ToEye(Scale(n, kSurface), fPitch, fYaw);
    const MarkerVec origin = ToEye({}, fPitch, fYaw);
    const MarkerVec nEye{centre.x - origin.x, centre.y - origin.y, centre.z - origin.z};
    // The eye is at the origin of eye coordinates.
    const float fDistance = std::sqrt(Dot(centre, centre));
    return fDistance > 0.0f ? -Dot(nEye, centre) / fDistance : 0.0f;
}

bool FaceTowardViewer(char chFace, float fPitch, float fYaw)
{
    return FaceFacing(chFace, fPitch, fYaw) > 0.0f;
}

void ProjectToScreen(MarkerVec p, float fPitch, float fYaw, float& sx, float& sy)
{
    const MarkerVec e = ToEye(p, fPitch, fYaw);
    sx = e.x / -e.z;
    sy = -e.y / -e.z;
}

std::vector<MarkerArrow> MarkerArrows3D(const MarkedMove& move, float fPitch, float fYaw)
{
    std::vector<MarkerArrow> arrows;
    if (!move.chFace)
        return arrows;
    const MarkerVec n = FaceNormal(move.chFace);
    const int nHeads = move.turn == MarkerTurn::HALF ? 2 : 1;
    const float fSense = move.turn == MarkerTurn::COUNTER_CLOCKWISE ? 1.0f : -1.0f;

    auto arc = [&](bool bThrough) {
        MarkerArrow a;
        a.chFace = move.chFace;
        a.bArc = true;
        a.bThrough = bThrough;
        a.nHeads = nHeads;
        const MarkerVec u = FirstInPlane(n);
        const MarkerVec w = Cross(n, u);
        // Counter-clockwise seen from outside runs from u toward w. The gap
        // of the arc lies at the far end of the turn, beside its head.
        const float a0 = 0.75f * kPi;
        for (int i = 0; i <= kArcSegments; ++i) {
            const float t = a0 + fSense * kArcSweep * static_cast<float>(i) / kArcSegments;
            a.path.push_back(Add(Scale(n, kSurface),
                                 Add(Scale(u, kArcRadius * std::cos(t)), Scale(w, kArcRadius * std::sin(t)))));
        }
        arrows.push_back(a);
    };

    const float fFacing = FaceFacing(move.chFace, fPitch, fYaw);
    if (fFacing > 0.0f)
        arc(false);
    if (fFacing > kSlant)
        return arrows;
    for (const char* p = Neighbours(move.chFace); *p; ++p) {
        if (!FaceTowardViewer(*p, fPitch, fYaw))
            continue;
        const MarkerVec m = FaceNormal(*p);
        // A clockwise turn moves the layer's stickers on m along m x n.
        const MarkerVec dir = Scale(Cross(m, n), -fSense);
        const MarkerVec centre = Add(Scale(m, kSurface), n);
        MarkerArrow a;
        a.chFace = *p;
        a.nHeads = nHeads;
        a.path.push_back(Add(centre, Scale(dir, -kStripHalfLength)));
        a.path.push_back(Add(centre, Scale(dir, kStripHalfLength - kMarkerHeadLength)));
        arrows.push_back(a);
    }
    if (arrows.empty())
        arc(true);
    return arrows;
}

std::vector<MarkerVec> NetArcPath(MarkerTurn turn)
{
    // y grows downward, so a growing angle runs clockwise on the screen.
    const float fSense = turn == MarkerTurn::COUNTER_CLOCKWISE ? -1.0f : 1.0f;
    const float r = kArcRadius / 3.0f;
    const float a0 = -0.75f * kPi;
    std::vector<MarkerVec> path;
    for (int i = 0; i <= kArcSegments; ++i) {
        const float t = a0 + fSense * kArcSweep * static_cast<float>(i) / kArcSegments;
        path.push_back({0.5f + r * std::cos(t), 0.5f + r * std::sin(t), 0.0f});
    }
    return path;
}
