#include "MarkerDraw.h"

#include "GLIncludes.h"
#include "Palette.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

// The point a distance back from the path's head, with the path's direction there.
void PointBack(const std::vector<MarkerVec>& path, float fDistance, MarkerVec& pt, MarkerVec& dir)
{
    size_t i = path.size() - 1;
    pt = path[i];
    dir = Unit(Sub(path[i], path[i - 1]));
    while (i > 0) {
        const MarkerVec seg = Sub(path[i], path[i - 1]);
        const float l = std::sqrt(seg.x * seg.x + seg.y * seg.y + seg.z * seg.z);
        dir = Unit(seg);
        if (l >= fDistance) {
            pt = Sub(path[i], Scale(dir, fDistance));
            return;
        }
        fDistance -= l;
        pt = path[--i];
    }
}

void Vertex(MarkerVec v) { glVertex3f(v.x, v.y, v.z); }

// One layer of an arrow: the band of half width fHalf lifted by fLift off the
// face, and its heads; fGrow widens and lengthens the heads for the rim.
void DrawArrowLayer(const MarkerArrow& a, float fHalf, float fLift, float fGrow)
{
    const MarkerVec n = FaceNormal(a.chFace);
    const MarkerVec lift = Scale(n, fLift);
    const size_t nPoints = a.path.size();
    glBegin(GL_QUAD_STRIP);
    for (size_t i = 0; i < nPoints; ++i) {
        const MarkerVec t = Unit(Sub(a.path[i + 1 < nPoints ? i + 1 : i], a.path[i > 0 ? i - 1 : i]));
        const MarkerVec side = Scale(Unit(Cross(n, t)), fHalf);
        Vertex(Add(Add(a.path[i], side), lift));
        Vertex(Add(Sub(a.path[i], side), lift));
    }
    glEnd();

    constexpr float kHeadLength = kMarkerHeadLength;
    constexpr float kHeadHalf = 0.26f;
    glBegin(GL_TRIANGLES);
    for (int h = 0; h < a.nHeads; ++h) {
        MarkerVec base, dir;
        PointBack(a.path, h * kHeadLength * 1.6f, base, dir);
        const MarkerVec side = Scale(Unit(Cross(n, dir)), kHeadHalf + fGrow);
        base = Add(Sub(base, Scale(dir, fGrow)), lift);
        Vertex(Add(base, side));
        Vertex(Add(base, Scale(dir, kHeadLength + 2.0f * fGrow)));
        Vertex(Sub(base, side));
    }
    glEnd();
}

} // namespace

void DrawMarker3D(const std::vector<MarkerArrow>& arrows)
{
    if (arrows.empty())
        return;
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    for (const MarkerArrow& a : arrows) {
        if (a.path.size() < 2)
            continue;
        if (a.bThrough)
            glDisable(GL_DEPTH_TEST);
        else
            glEnable(GL_DEPTH_TEST);
        glColor3ub(qRed(Palette::kMarkHalo), qGreen(Palette::kMarkHalo), qBlue(Palette::kMarkHalo));
        DrawArrowLayer(a, 0.14f, 0.015f, 0.07f);
        glColor3ub(qRed(Palette::kMarkInk), qGreen(Palette::kMarkInk), qBlue(Palette::kMarkInk));
        DrawArrowLayer(a, 0.08f, 0.03f, 0.0f);
    }
    glPopAttrib();
}

void DrawNetMarker(QPainter* pDC, const QRect& rcFace, MarkerTurn turn)
{
    const std::vector<MarkerVec> path = NetArcPath(turn);
    const qreal side = rcFace.width();
    if (side < 6 || path.size() < 2)
        return;
    auto at = [&](const MarkerVec& v) { return QPointF(rcFace.left() + v.x * side, rcFace.top() + v.y * side); };
    QPainterPath arc(at(path.front()));
    for (size_t i = 1; i < path.size(); ++i)
        arc.lineTo(at(path[i]));

    const qreal core = std::max<qreal>(2.0, side * 0.045);
    const qreal rim = core + std::max<qreal>(2.0, side * 0.03);
    const int nHeads = turn == MarkerTurn::HALF ? 2 : 1;
    auto heads = [&](qreal fGrow) {
        QPainterPath p;
        const qreal len = side * 0.17;
        const qreal half = side * 0.095;
        for (int h = 0; h < nHeads; ++h) {
            // Walks back along the arc by whole head lengths.
            const qreal fDist = h * len * 1.6 / side;
            MarkerVec base{}, dir{};
            std::vector<MarkerVec> flat = path;
            PointBack(flat, static_cast<float>(fDist), base, dir);
            const QPointF b = at(base);
            const QPointF d(dir.x, dir.y);
            const QPointF s(-dir.y, dir.x);
            const QPointF b0 = b - d * fGrow;
            QPolygonF tri;
            tri << b0 + s * (half + fGrow) << b0 + d * (len + 2 * fGrow) << b0 - s * (half + fGrow);
            p.addPolygon(tri);
            p.closeSubpath();
        }
        return p;
    };

    pDC->save();
    pDC->setRenderHint(QPainter::Antialiasing, true);
    pDC->setBrush(Qt::NoBrush);
    pDC->setPen(QPen(QColor(Palette::kMarkHalo), rim, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    pDC->drawPath(arc);
    pDC->setPen(Qt::NoPen);
    pDC->setBrush(QColor(Palette::kMarkHalo));
    pDC->drawPath(heads((rim - core) / 1.2));
    pDC->setPen(QPen(QColor(Palette::kMarkInk), core, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    pDC->setBrush(Qt::NoBrush);
    pDC->drawPath(arc);
    pDC->setPen(Qt::NoPen);
    pDC->setBrush(QColor(Palette::kMarkInk));
    pDC->drawPath(heads(0.0));
    pDC->restore();
}
