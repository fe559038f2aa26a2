// Drawing the cubie model with OpenGL 1.1 in immediate mode.

#include "CubieModel.h"

#include "GLIncludes.h"
#include "Palette.h"

#include <cmath>

void CCubieModel::Draw()
{
    for (int i = 0; i < 3; ++i) {
        glRotatef(m_fSliceX[i], 1.0f, 0.0f, 0.0f);
        for (int j = 0; j < 3; ++j) {
            glRotatef(m_fSliceY[j], 0.0f, 1.0f, 0.0f);
            for (int k = 0; k < 3; ++k) {
                glRotatef(m_fSliceZ[k], 0.0f, 0.0f, 1.0f);
                const float x = static_cast<float>(i - 1);
                const float y = static_cast<float>(j - 1);
                const float z = static_cast<float>(k - 1);
                glTranslatef(x, y, z);
                DrawCubie(m_pCubie[i * 9 + j * 3 + k]);
                glTranslatef(-x, -y, -z);
                glRotatef(-m_fSliceZ[k], 0.0f, 0.0f, 1.0f);
            }
            glRotatef(-m_fSliceY[j], 0.0f, 1.0f, 0.0f);
        }
        glRotatef(-m_fSliceX[i], 1.0f, 0.0f, 0.0f);
    }
}

namespace {

constexpr float kHalfPi = 1.57079632679489661923f;

// Sticker quads per local face 0..5 (+x, +y, +z, -z, -y, -x): the outward
// normal, then four corners as signs of (h or d) along x, y, z, where the
// component along the normal's axis is d and the others are h.
struct StickerQuad {
    float normal[3];
    float corner[4][3];
};

constexpr StickerQuad kStickers[6] = {
    {{1, 0, 0}, {{1, 1, 1}, {1, 1, -1}, {1, -1, -1}, {1, -1, 1}}},
    {{0, 1, 0}, {{-1, 1, -1}, {-1, 1, 1}, {1, 1, 1}, {1, 1, -1}}},
    {{0, 0, 1}, {{1, 1, 1}, {-1, 1, 1}, {-1, -1, 1}, {1, -1, 1}}},
    {{0, 0, -1}, {{1, 1, -1}, {-1, 1, -1}, {-1, -1, -1}, {1, -1, -1}}},
    {{0, -1, 0}, {{-1, -1, -1}, {-1, -1, 1}, {1, -1, 1}, {1, -1, -1}}},
    {{-1, 0, 0}, {{-1, 1, 1}, {-1, 1, -1}, {-1, -1, -1}, {-1, -1, 1}}},
};

// The eight corners of the inner cube, as signs.
constexpr float kCornerSigns[8][3] = {
    {1, 1, 1}, {1, 1, -1}, {1, -1, 1}, {1, -1, -1},
    {-1, 1, 1}, {-1, 1, -1}, {-1, -1, 1}, {-1, -1, -1},
};

// Frames that carry an edge's own axis (z) onto a cube axis: columns are the
// images of the local x, y and z axes (column-major, as glMultMatrixf takes them).
constexpr float kAlongZ[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
constexpr float kAlongX[16] = {0, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 1};
constexpr float kAlongY[16] = {0, 0, 1, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1};

} // namespace

void CCubieModel::DrawCubie(CCubie* p)
{
    const float h = p->size / 2.0f;
    const float d = h + p->bevel;

    glPushMatrix();

    glMaterialfv(GL_FRONT, GL_SPECULAR, p->stickerSpecular);
    glMaterialf(GL_FRONT, GL_SHININESS, p->stickerShininess);
    for (int n = 0; n < 6; ++n) {
        const StickerQuad& q = kStickers[n];
        const float* rgb = p->color[n];
        const float material[4] = {rgb[0], rgb[1], rgb[2], 1.0f};
        glColor3fv(rgb);
        glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, material);
        glBegin(GL_QUADS);
        glNormal3fv(q.normal);
        for (const float* c : q.corner) {
            float v[3];
            for (int a = 0; a < 3; ++a)
                v[a] = c[a] * (q.normal[a] != 0.0f ? d : h);
            glVertex3fv(v);
        }
        glEnd();
    }

    glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, p->bodyColor);
    glMaterialfv(GL_FRONT, GL_SPECULAR, p->bodySpecular);
    glMaterialf(GL_FRONT, GL_SHININESS, p->bodyShininess);

    // Corners: the octant x, y, z >= 0 mirrored into each corner's own octant.
    for (const float* s : kCornerSigns) {
        glPushMatrix();
        glTranslatef(s[0] * h, s[1] * h, s[2] * h);
        glScalef(s[0], s[1], s[2]);
        DrawRoundCorner(p);
        glPopMatrix();
    }

    // Edges: the quarter in the +x, +y quadrant of an edge along z, carried
    // onto each of the four edges along each axis.
    const float* kFrames[3] = {kAlongX, kAlongY, kAlongZ};
    for (const float* frame : kFrames) {
        for (int n = 0; n < 4; ++n) {
            const float su = (n & 1) ? -1.0f : 1.0f;
            const float sv = (n & 2) ? -1.0f : 1.0f;
            glPushMatrix();
            // The midpoint: local x and y of the frame scaled by h and the signs.
            const float mx = frame[0] * su * h + frame[4] * sv * h;
            const float my = frame[1] * su * h + frame[5] * sv * h;
            const float mz = frame[2] * su * h + frame[6] * sv * h;
            glTranslatef(mx, my, mz);
            glMultMatrixf(frame);
            glScalef(su, sv, 1.0f);
            DrawRoundEdge(p);
            glPopMatrix();
        }
    }

    glPopMatrix();
}

void CCubieModel::DrawRoundEdge(CCubie* p)
{
    const int n = p->segments;
    const float r = p->bevel;
    const float h = p->size / 2.0f;
    const float s = kHalfPi / static_cast<float>(n);

    glColor3fv(Palette::kBevel3D);
    glBegin(GL_QUADS);
    for (int i = 0; i < n; ++i) {
        const float a = static_cast<float>(i) * s;
        const float b = static_cast<float>(i + 1) * s;
        glNormal3f(std::cos(a), std::sin(a), 0.0f);
        glVertex3f(r * std::cos(a), r * std::sin(a), h);
        glVertex3f(r * std::cos(a), r * std::sin(a), -h);
        glNormal3f(std::cos(b), std::sin(b), 0.0f);
        glVertex3f(r * std::cos(b), r * std::sin(b), -h);
        glVertex3f(r * std::cos(b), r * std::sin(b), h);
    }
    glEnd();
}

void CCubieModel::DrawRoundCorner(CCubie* p)
{
    const int n = p->segments;
    const float r = p->bevel;
    const float s = kHalfPi / static_cast<float>(n);

    auto point = [r](float u, float e) {
        const float nx = std::cos(u) * std::cos(e);
        const float ny = std::sin(u) * std::cos(e);
        const float nz = std::sin(e);
        glNormal3f(nx, ny, nz);
        glVertex3f(r * nx, r * ny, r * nz);
    };

    glColor3fv(Palette::kBevel3D);
    glBegin(GL_QUADS);
    for (int i = 0; i < n; ++i) {
        const float e0 = static_cast<float>(i) * s;
        const float e1 = static_cast<float>(i + 1) * s;
        for (int j = 0; j < n; ++j) {
            const float u0 = static_cast<float>(j) * s;
            const float u1 = static_cast<float>(j + 1) * s;
            point(u0, e0);
            point(u0, e1);
            point(u1, e1);
            point(u1, e0);
        }
    }
    glEnd();
}
