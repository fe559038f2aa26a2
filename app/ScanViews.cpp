#include "ScanViews.h"

#include "Palette.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

QColor SlotColour(int nSlot)
{
    return QColor(Palette::kNet[std::clamp(nSlot, 0, 5) + 1]);
}

QColor FromRgb(const scan::Rgb& c)
{
    return QColor(std::clamp(static_cast<int>(std::lround(c.r)), 0, 255),
                  std::clamp(static_cast<int>(std::lround(c.g)), 0, 255),
                  std::clamp(static_cast<int>(std::lround(c.b)), 0, 255));
}

// A point of the quad at (u, v) in 0..1, u along the rows, v down the
// columns: bilinear between the corners, as the stickers are sampled.
QPointF QuadPoint(const QPointF corners[4], double u, double v)
{
    return (1 - v) * ((1 - u) * corners[0] + u * corners[1]) + v * ((1 - u) * corners[3] + u * corners[2]);
}

// A face drawn as a parallelogram of nine stickers: origin, the row's and the
// column's direction.
void DrawFace(QPainter& painter, QPointF origin, QPointF along, QPointF down, const QColor& colour)
{
    painter.setPen(QPen(Qt::black, 1.5));
    QPolygonF outline({origin, origin + along, origin + along + down, origin + down});
    painter.setBrush(Qt::black);
    painter.drawPolygon(outline);
    const double inset = 0.08;
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            const double u0 = (c + inset) / 3, u1 = (c + 1 - inset) / 3;
            const double v0 = (r + inset) / 3, v1 = (r + 1 - inset) / 3;
            painter.drawPolygon(QPolygonF({origin + u0 * along + v0 * down, origin + u1 * along + v0 * down,
                                           origin + u1 * along + v1 * down, origin + u0 * along + v1 * down}));
        }
}

} // namespace

// ---------------------------------------------------------------- pose

CPoseView::CPoseView(QWidget* pParent) : QWidget(pParent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void CPoseView::SetSlot(int nSlot)
{
    if (nSlot == m_nSlot)
        return;
    m_nSlot = nSlot;
    update();
}

QSize CPoseView::sizeHint() const
{
    return QSize(160, 150);
}

void CPoseView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const ScanPose& pose = kScanPoses[m_nSlot];
    // The viewer is the camera: the face read is the one in front.
    const int textH = fontMetrics().height() + 4;
    const double avail = std::min<double>(width(), height() - textH - 2);
    const double s = avail / 1.45, d = s * 0.45;
    const double x0 = (width() - s - d) / 2, y0 = 2;
    const QPointF front(x0, y0 + d);
    // The sides in sight are shaded as if lit from the front.
    auto shaded = [](QColor c, double f) {
        return QColor::fromRgbF(static_cast<float>(c.redF() * f), static_cast<float>(c.greenF() * f),
                                static_cast<float>(c.blueF() * f));
    };
    DrawFace(painter, front + QPointF(d, -d), QPointF(s, 0), QPointF(-d, d), shaded(SlotColour(pose.nUp), 0.85));
    DrawFace(painter, front + QPointF(s + d, -d), QPointF(0, s), QPointF(-d, d),
             shaded(SlotColour(pose.nRight), 0.7));
    DrawFace(painter, front, QPointF(s, 0), QPointF(0, s), SlotColour(pose.nFront));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRectF(0, y0 + d + s + 2, width(), textH), Qt::AlignHCenter | Qt::AlignTop,
                     QStringLiteral("as the camera sees it"));
}

// ---------------------------------------------------------------- photo

CPhotoView::CPhotoView(QWidget* pParent) : QWidget(pParent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMouseTracking(true);
}

QSize CPhotoView::sizeHint() const
{
    return QSize(480, 360);
}

void CPhotoView::SetImage(const QImage& image)
{
    m_image = image;
    update();
}

void CPhotoView::SetQuad(const photo::Quad& quad)
{
    m_quad = quad;
    update();
}

void CPhotoView::SetQuadShown(bool bShown)
{
    m_bQuadShown = bShown;
    update();
}

void CPhotoView::SetMessage(const QString& strMessage)
{
    m_strMessage = strMessage;
    update();
}

QRectF CPhotoView::ImageRect() const
{
    if (m_image.isNull())
        return QRectF();
    const double scale = std::min(width() / double(m_image.width()), height() / double(m_image.height()));
    const double w = m_image.width() * scale, h = m_image.height() * scale;
    return QRectF((width() - w) / 2, (height() - h) / 2, w, h);
}

QPointF CPhotoView::ToWidget(const photo::Point& pt) const
{
    const QRectF rc = ImageRect();
    if (rc.isEmpty())
        return QPointF();
    const double scale = rc.width() / m_image.width();
    return rc.topLeft() + QPointF(pt.x * scale, pt.y * scale);
}

photo::Point CPhotoView::ToImage(const QPointF& pt) const
{
    const QRectF rc = ImageRect();
    if (rc.isEmpty())
        return {};
    const double scale = rc.width() / m_image.width();
    // Kept inside the image: a corner dragged off it stays on its edge.
    return {std::clamp((pt.x() - rc.left()) / scale, 0.0, double(m_image.width() - 1)),
            std::clamp((pt.y() - rc.top()) / scale, 0.0, double(m_image.height() - 1))};
}

void CPhotoView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(40, 40, 40));
    if (m_image.isNull()) {
        painter.setPen(Qt::white);
        painter.drawText(rect().adjusted(16, 16, -16, -16), Qt::AlignCenter | Qt::TextWordWrap, m_strMessage);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(ImageRect(), m_image);
    if (!m_bQuadShown)
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    QPointF corners[4];
    for (int k = 0; k < 4; ++k)
        corners[k] = ToWidget(m_quad[static_cast<size_t>(k)]);
    // The grid as the stickers are sampled: ink on a halo, to show on any photo.
    QPainterPath grid;
    for (int i = 0; i <= 3; ++i) {
        grid.moveTo(QuadPoint(corners, i / 3.0, 0));
        grid.lineTo(QuadPoint(corners, i / 3.0, 1));
        grid.moveTo(QuadPoint(corners, 0, i / 3.0));
        grid.lineTo(QuadPoint(corners, 1, i / 3.0));
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0, 0, 0, 160), 4));
    painter.drawPath(grid);
    painter.setPen(QPen(Qt::white, 2));
    painter.drawPath(grid);
    // The face's top edge (its first row) stands out.
    painter.setPen(QPen(QColor(255, 210, 0), 3));
    painter.drawLine(corners[0], corners[1]);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            painter.drawEllipse(QuadPoint(corners, (c + 0.5) / 3, (r + 0.5) / 3), 2.5, 2.5);
    if (!m_bEditable)
        return;
    for (int k = 0; k < 4; ++k) {
        painter.setPen(QPen(Qt::black, 1.5));
        painter.setBrush(k == m_nDragged ? QColor(255, 210, 0) : QColor(255, 255, 255, 200));
        painter.drawEllipse(corners[k], 7, 7);
    }
}

int CPhotoView::HandleAt(const QPointF& pt) const
{
    int nBest = -1;
    double best = 14 * 14;
    for (int k = 0; k < 4; ++k) {
        const QPointF d = ToWidget(m_quad[static_cast<size_t>(k)]) - pt;
        const double dd = d.x() * d.x() + d.y() * d.y();
        if (dd <= best)
            best = dd, nBest = k;
    }
    return nBest;
}

void CPhotoView::mousePressEvent(QMouseEvent* pEvent)
{
    if (!m_bEditable || !m_bQuadShown || m_image.isNull() || pEvent->button() != Qt::LeftButton)
        return;
    m_nDragged = HandleAt(pEvent->position());
    update();
}

void CPhotoView::mouseMoveEvent(QMouseEvent* pEvent)
{
    if (m_nDragged < 0) {
        const bool bOver = m_bEditable && m_bQuadShown && !m_image.isNull() && HandleAt(pEvent->position()) >= 0;
        setCursor(bOver ? Qt::OpenHandCursor : Qt::ArrowCursor);
        return;
    }
    m_quad[static_cast<size_t>(m_nDragged)] = ToImage(pEvent->position());
    update();
    emit quadChanged();
}

void CPhotoView::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (m_nDragged < 0 || pEvent->button() != Qt::LeftButton)
        return;
    m_quad[static_cast<size_t>(m_nDragged)] = ToImage(pEvent->position());
    m_nDragged = -1;
    update();
    emit quadChanged();
}

// ---------------------------------------------------------------- the colours read

CReadFaceView::CReadFaceView(QWidget* pParent) : QWidget(pParent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize CReadFaceView::sizeHint() const
{
    return QSize(96, 96);
}

void CReadFaceView::SetReading(const FaceReading* pReading)
{
    m_bRead = pReading != nullptr;
    if (pReading)
        m_reading = *pReading;
    update();
}

void CReadFaceView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int side = std::min(width(), height());
    const int cell = side / 3;
    painter.fillRect(QRect(0, 0, 3 * cell, 3 * cell), Qt::black);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            const QRect rc(c * cell + 2, r * cell + 2, cell - 4, cell - 4);
            painter.fillRect(rc, m_bRead ? FromRgb(m_reading[static_cast<size_t>(r * 3 + c)])
                                         : QColor(Palette::kBlank));
            if (!m_bRead) {
                painter.setPen(Qt::white);
                painter.drawText(rc, Qt::AlignCenter, QStringLiteral("?"));
            }
        }
}

QImage ReadingIcon(const FaceReading* pReading, int nSide)
{
    QImage image(nSide, nSide, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    const double cell = nSide / 3.0;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            painter.fillRect(QRectF(c * cell + 1, r * cell + 1, cell - 2, cell - 2),
                             pReading ? FromRgb((*pReading)[static_cast<size_t>(r * 3 + c)])
                                      : QColor(Palette::kBlank));
    return image;
}

// ---------------------------------------------------------------- the decided net

CScanNetView::CScanNetView(QWidget* pParent) : QWidget(pParent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize CScanNetView::sizeHint() const
{
    return QSize(480, 360);
}

void CScanNetView::Show(const Facelets& colors, const scan::Measurement& measured, const std::vector<int>& doubtful,
                        const Facelets& pinned)
{
    m_colors = colors;
    m_measured = measured;
    m_doubtful = doubtful;
    m_pinned = pinned;
    update();
}

QRect CScanNetView::FaceletRect(int nFacelet) const
{
    // Faces 3 by 3 cells in the cross, a gap between faces.
    static const int kPlace[6][2] = {{1, 0}, {1, 1}, {2, 1}, {0, 1}, {3, 1}, {1, 2}};
    const int gap = std::max(3, std::min(width(), height()) / 60);
    const int c = std::max(1, std::min((width() - 5 * gap) / 12, (height() - 4 * gap) / 9));
    const int x0 = (width() - 12 * c - 3 * gap) / 2, y0 = (height() - 9 * c - 2 * gap) / 2;
    const int nSlot = nFacelet / 9, e = nFacelet % 9;
    const int fx = x0 + kPlace[nSlot][0] * (3 * c + gap), fy = y0 + kPlace[nSlot][1] * (3 * c + gap);
    return QRect(fx + (e % 3) * c, fy + (e / 3) * c, c, c);
}

int CScanNetView::FaceletAt(const QPoint& pt) const
{
    for (int f = 0; f < kFaceletCount; ++f)
        if (FaceletRect(f).contains(pt))
            return f;
    return -1;
}

QPoint CScanNetView::FaceletCentre(int nFacelet) const
{
    return FaceletRect(nFacelet).center();
}

void CScanNetView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), QColor(Palette::kBackground));
    for (int f = 0; f < kFaceletCount; ++f) {
        const QRect rc = FaceletRect(f);
        const int c = rc.width();
        painter.fillRect(rc, Qt::black);
        const BYTE k = m_colors[static_cast<size_t>(f)];
        painter.fillRect(rc.adjusted(1, 1, -1, -1), QColor(Palette::kNet[k <= 6 ? k : 0]));
        // The colour as measured, small in the middle.
        const int m = c * 3 / 10;
        painter.fillRect(rc.adjusted(m, m, -m, -m), Qt::black);
        painter.fillRect(rc.adjusted(m + 1, m + 1, -m - 1, -m - 1), FromRgb(m_measured[static_cast<size_t>(f)]));
        if (std::binary_search(m_doubtful.begin(), m_doubtful.end(), f)) {
            const double r = c * 0.36;
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(QColor(Palette::kMarkHalo), std::max(3.0, c / 7.0)));
            painter.drawEllipse(QPointF(rc.center()) + QPointF(0.5, 0.5), r, r);
            painter.setPen(QPen(QColor(Palette::kMarkInk), std::max(1.5, c / 14.0)));
            painter.drawEllipse(QPointF(rc.center()) + QPointF(0.5, 0.5), r, r);
        }
        if (m_pinned[static_cast<size_t>(f)]) {
            const double r = std::max(3.0, c / 7.0);
            const QPointF at(rc.right() - r - 2, rc.top() + r + 2);
            painter.setPen(QPen(QColor(Palette::kMarkHalo), 1.5));
            painter.setBrush(QColor(Palette::kMarkInk));
            painter.drawEllipse(at, r, r);
        }
    }
}

void CScanNetView::mousePressEvent(QMouseEvent* pEvent)
{
    const int f = FaceletAt(pEvent->position().toPoint());
    if (f < 0 || f % 9 == 4)
        return;
    if (pEvent->button() == Qt::LeftButton || pEvent->button() == Qt::RightButton)
        emit faceletClicked(f, pEvent->button() == Qt::RightButton);
}
