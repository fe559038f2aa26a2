// The view's aids to entering a cube: the colours as 54 bytes, the keyboard's
// facelet cursor and the marks on facelets found wrong.

#include "CubeWnd.h"
#include "CubeText.h"
#include "GLIncludes.h"
#include "Palette.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cstring>

void CCubeWnd::GetColors(BYTE colors[kFaceletCount]) const
{
    ReadCube(*this, colors);
}

Facelets CCubeWnd::Colors() const
{
    Facelets colors;
    ReadCube(*this, colors.data());
    return colors;
}

void CCubeWnd::SetColors(const BYTE colors[kFaceletCount])
{
    const CColorsChange change(*this);
    LoadCube(*this, colors);
    // The cubies follow the facelets at the next frame (FollowModel).
    Repaint();
}

void CCubeWnd::SetFacelet(int nIndex, BYTE nColor)
{
    if (nIndex < 0 || nIndex >= kFaceletCount)
        return;
    const CColorsChange change(*this);
    m_pFace[nIndex / 9]->colors[nIndex % 9] = nColor;
    Repaint();
}

void CCubeWnd::SetCursor(const NetCursor& cursor)
{
    if (m_cursor == cursor)
        return;
    m_cursor = cursor;
    if (CursorShown())
        Repaint();
}

bool CCubeWnd::CursorShown() const
{
    return m_b2DView && hasFocus();
}

int CCubeWnd::FaceletAt(QPoint pt) const
{
    const NetLayout layout = Layout();
    const int nSlot = HitTestNet(layout, pt);
    int nRow = 0, nCol = 0;
    if (nSlot < 0 || !HitTestFacelet(layout, nSlot, pt, nRow, nCol))
        return -1;
    return FaceletIndex(nSlot, nRow * 3 + nCol);
}

void CCubeWnd::MarkFacelets(const std::vector<int>& facelets)
{
    m_marks.clear();
    for (int n : facelets)
        if (n >= 0 && n < kFaceletCount)
            m_marks.push_back(n);
    m_marksFor = Colors();
    Repaint();
}

const std::vector<int>& CCubeWnd::MarkedFacelets()
{
    if (!m_marks.empty()) {
        if (Colors() != m_marksFor)
            m_marks.clear();
    }
    return m_marks;
}

void CCubeWnd::DrawEntryAids(QPainter* pDC, const NetLayout& layout)
{
    const int c = layout.nCell;
    if (c < 4)
        return;
    auto cell = [&](int nIndex) {
        const Rect& rc = layout.rcFace[nIndex / 9];
        return QRect(rc.left + nIndex % 3 * c, rc.top + nIndex % 9 / 3 * c, c, c);
    };
    pDC->save();
    pDC->setRenderHint(QPainter::Antialiasing, true);
    pDC->setBrush(Qt::NoBrush);
    // A wrong facelet: a cross, black on a white halo so that it shows on
    // every colour.
    const int nInset = c / 5;
    const qreal fWidth = std::max(2, c / 8);
    for (int n : MarkedFacelets()) {
        const QRect rc = cell(n).adjusted(nInset, nInset, -nInset, -nInset);
        for (const auto& pen : {QPen(QColor(Palette::kMarkHalo), fWidth + 2.0), QPen(QColor(Palette::kMarkInk), fWidth)}) {
            pDC->setPen(pen);
            pDC->drawLine(rc.topLeft(), rc.bottomRight());
            pDC->drawLine(rc.topRight(), rc.bottomLeft());
        }
    }
    // While the keys paint, each face's letter on its centre, ink on a halo.
    if (CursorShown() && c >= 12) {
        static const char kLetters[6] = {'T', 'F', 'R', 'L', 'B', 'D'};
        QFont f = pDC->font();
        f.setPixelSize(std::max(8, c * 9 / 20));
        f.setBold(true);
        for (int nSlot = 0; nSlot < FACE_COUNT; ++nSlot) {
            QPainterPath path;
            const QRect rc = cell(nSlot * 9 + 4);
            const QString strLetter = QString(QLatin1Char(kLetters[nSlot]));
            const QFontMetrics fm(f);
            const QPointF at(rc.center().x() - fm.horizontalAdvance(strLetter) / 2.0,
                             rc.center().y() + (fm.ascent() - fm.descent()) / 2.0);
            path.addText(at, f, strLetter);
            pDC->setPen(QPen(QColor(Palette::kMarkHalo), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            pDC->setBrush(Qt::NoBrush);
            pDC->drawPath(path);
            pDC->fillPath(path, QColor(Palette::kMarkInk));
        }
        pDC->setBrush(Qt::NoBrush);
    }
    // The cursor: a black frame inside a white one, inside the facelet.
    if (CursorShown()) {
        pDC->setRenderHint(QPainter::Antialiasing, false);
        const QRect rc = cell(m_cursor.Index());
        const int w = std::max(2, c / 10);
        pDC->setPen(QPen(QColor(Palette::kMarkHalo), w, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        pDC->drawRect(rc.adjusted(w / 2 + 1, w / 2 + 1, -w / 2 - 2, -w / 2 - 2));
        pDC->setPen(QPen(QColor(Palette::kMarkInk), w, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        pDC->drawRect(rc.adjusted(w + w / 2 + 1, w + w / 2 + 1, -w - w / 2 - 2, -w - w / 2 - 2));
    }
    pDC->restore();
}

namespace {

// Where facelet (row, col) of a slot lies on the 3D cube (see CubieModel.h for
// the axes): its centre on the outer surface and the two directions of its
// rows and columns as seen from outside.
struct Facelet3D {
    float centre[3];
    float across[3]; // toward higher columns
    float down[3];   // toward higher rows
};

Facelet3D Place3D(int nIndex)
{
    constexpr float s = 1.52f; // just outside the stickers (cubie centres at -1..1, half-side 0.5)
    const int nSlot = nIndex / 9;
    const float r = static_cast<float>(nIndex % 9 / 3 - 1);
    const float c = static_cast<float>(nIndex % 3 - 1);
    switch (nSlot) {
    case CCubeSolver::SLOT_T: return {{c, s, r}, {1, 0, 0}, {0, 0, 1}};
    case CCubeSolver::SLOT_F: return {{c, -r, s}, {1, 0, 0}, {0, -1, 0}};
    case CCubeSolver::SLOT_R: return {{s, -r, -c}, {0, 0, -1}, {0, -1, 0}};
    case CCubeSolver::SLOT_L: return {{-s, -r, c}, {0, 0, 1}, {0, -1, 0}};
    case CCubeSolver::SLOT_B: return {{-c, -r, -s}, {-1, 0, 0}, {0, -1, 0}};
    default: return {{c, -s, -r}, {1, 0, 0}, {0, 0, -1}};
    }
}

} // namespace

void CCubeWnd::DrawEntryAids3D()
{
    // Part-way through a turn the stickers are not where the facelets say.
    if (m_cubies.IsTurning() || MarkedFacelets().empty())
        return;
    glPushAttrib(GL_ENABLE_BIT | GL_LINE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    // Depth-tested, so that marks on faces turned away stay hidden.
    glEnable(GL_DEPTH_TEST);
    constexpr float k = 0.3f;
    const struct {
        float width;
        QRgb color;
    } kPasses[2] = {{6.0f, Palette::kMarkHalo}, {3.0f, Palette::kMarkInk}};
    for (const auto& pass : kPasses) {
        glLineWidth(pass.width);
        glColor3ub(qRed(pass.color), qGreen(pass.color), qBlue(pass.color));
        glBegin(GL_LINES);
        for (int n : m_marks) {
            const Facelet3D f = Place3D(n);
            for (int sign : {1, -1}) {
                float a[3], b[3];
                for (int i = 0; i < 3; ++i) {
                    a[i] = f.centre[i] - k * f.across[i] - sign * k * f.down[i];
                    b[i] = f.centre[i] + k * f.across[i] + sign * k * f.down[i];
                }
                glVertex3fv(a);
                glVertex3fv(b);
            }
        }
        glEnd();
    }
    glPopAttrib();
}
