#pragma once
// The 3D view's own model of the cube: 27 cubies, each carrying the colours
// of its six faces, and a rotation angle per slice.
//
// Scene coordinates: x to the right, y up, z toward the viewer. The cube's
// faces lie on R = +x, L = -x, T = +y, D = -y, F = +z, B = -z. A cubie's
// position is (i, j, k), each 0..2 along x, y and z; its centre is at
// (i - 1, j - 1, k - 1) and it is stored at index i*9 + j*3 + k. A slice is
// the nine positions sharing one index along an axis: x slice 2 is the R
// face's layer, y slice 2 the T layer, z slice 2 the F layer.
//
// Local face numbers of a cubie: 0 = +x, 1 = +y, 2 = +z, 3 = -z, 4 = -y,
// 5 = -x. Faces pointing into the cube stay grey for ever; colours move only
// with the faces that carry them.
//
// Turning a slice is shown in whole-degree steps; only when its angle reaches
// a quarter turn are its cubies moved and their colours turned (the commit).
// Drawing is in CubieDraw.cpp, the only part of this class that needs OpenGL.

struct CubeFace;

// One cubie: a plain record. Everything but `color` keeps its initial value.
struct CCubie {
    float size = 0.8f;     // side of each sticker; the inner cube's half-side is size / 2
    float bevel = 0.1f;    // radius of the rounded edges and corners
    int segments = 2;      // strips per quarter circle of an edge or corner
    float color[6][3] = {}; // RGB of each local face
    float stickerSpecular[4] = {0.15f, 0.15f, 0.15f, 1.0f};
    float stickerShininess = 2.0f;
    float bodyColor[4] = {0.25f, 0.25f, 0.25f, 1.0f};
    float bodySpecular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float bodyShininess = 115.0f;
};

// Sets local face nFace of p to the 3D colour of index nColor; any index
// other than 1..6 leaves the face as it was.
void SetCubieFaceColor(int nFace, int nColor, CCubie* p);
// Moves colours around four local faces: new a = old b, b = c, c = d, d = a.
void CycleFaceColors(CCubie* p, int a, int b, int c, int d);

class CCubieModel {
public:
    CCubieModel();
    ~CCubieModel();
    CCubieModel(const CCubieModel&) = delete;
    CCubieModel& operator=(const CCubieModel&) = delete;

    // Draws the 27 cubies in the current OpenGL context.
    void Draw();

    // Advance one slice by nStep whole degrees (signed); at a quarter turn the
    // angle snaps back to 0 and the slice's cubies are committed.
    void TurnSliceX(int nSlice, int nStep);
    void TurnSliceY(int nSlice, int nStep);
    void TurnSliceZ(int nSlice, int nStep);

    // Colours the cubie face that shows facelet (row, col) of face `letter`.
    void SetFaceletColor(int row, int col, char letter, int nColor);
    void SetSolvedColors();
    void SaveColors();
    void RestoreColors();

    // Makes the outside of the cube show the given six faces (slots T F R L B
    // D); blank facelets are shown in the net's blank grey.
    void FollowFacelets(const CubeFace* const pFaces[6]);
    // True when the outside of the cube shows exactly the given faces.
    bool MatchesFacelets(const CubeFace* const pFaces[6]) const;
    // True when some slice is part-way through a turn.
    bool IsTurning() const;

    // Cubie at position (i, j, k).
    const CCubie* At(int i, int j, int k) const { return m_pCubie[i * 9 + j * 3 + k]; }

    CCubie* m_pCubie[27] = {};
    CCubie* m_pSavedCubie[27] = {};
    float m_fSliceX[3] = {};
    float m_fSliceY[3] = {};
    float m_fSliceZ[3] = {};

private:
    enum Axis { AXIS_X, AXIS_Y, AXIS_Z };
    void TurnSlice(Axis axis, float (&fAngles)[3], int nSlice, int nStep);
    void CommitSlice(Axis axis, int nSlice, bool bPositive);

    static void DrawCubie(CCubie* p);
    static void DrawRoundEdge(CCubie* p);
    static void DrawRoundCorner(CCubie* p);
};
