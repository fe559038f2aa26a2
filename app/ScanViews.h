#pragma once
// The Scan Cube dialog's pictures: the cube in the pose for a face, a photo
// or camera frame with the face's four corners (draggable) or the camera's
// guide, the nine colours read, and the decided net with its doubtful
// stickers ringed and its pinned ones marked.

#include "ColourDecision.h"
#include "FaceFinder.h"
#include "ScanFaces.h"

#include <QImage>
#include <QWidget>

#include <vector>

// A small cube drawn as it is held for a face: the face read towards the
// viewer, the faces on top and to the right in sight, each in its centre's
// colour.
class CPoseView : public QWidget {
    Q_OBJECT

public:
    explicit CPoseView(QWidget* pParent = nullptr);
    void SetSlot(int nSlot);
    int Slot() const { return m_nSlot; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    int m_nSlot = 0;
};

// An image fitted into the widget with a face's quad over it: the outline,
// the 3x3 grid and the sample points. Editable, the four corners are handles
// that the mouse drags; otherwise (the camera's guide) the quad only shows.
// With no image, a message in its place.
class CPhotoView : public QWidget {
    Q_OBJECT

public:
    explicit CPhotoView(QWidget* pParent = nullptr);

    void SetImage(const QImage& image);
    const QImage& Image() const { return m_image; }
    void SetQuad(const photo::Quad& quad);
    const photo::Quad& Quad() const { return m_quad; }
    void SetQuadShown(bool bShown);
    void SetEditable(bool bEditable) { m_bEditable = bEditable; }
    void SetMessage(const QString& strMessage);
    // A point of the image in the widget, and back.
    QPointF ToWidget(const photo::Point& pt) const;
    photo::Point ToImage(const QPointF& pt) const;
    QSize sizeHint() const override;

signals:
    // A corner was dragged (the quad is Quad()).
    void quadChanged();

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;

private:
    // The image's rectangle in the widget and its scale.
    QRectF ImageRect() const;
    int HandleAt(const QPointF& pt) const;

    QImage m_image;
    photo::Quad m_quad{};
    bool m_bQuadShown = false;
    bool m_bEditable = true;
    int m_nDragged = -1;
    QString m_strMessage;
};

// The nine colours read of a face, row by row, as measured; grey squares
// with a question mark before the face is read.
class CReadFaceView : public QWidget {
    Q_OBJECT

public:
    explicit CReadFaceView(QWidget* pParent = nullptr);
    void SetReading(const FaceReading* pReading);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    FaceReading m_reading{};
    bool m_bRead = false;
};

// The decided net (T on top; L F R B across; D below), each sticker in the
// program's colour with the measured colour in a small square inside it,
// doubtful stickers ringed and pinned ones marked with a dot. A click on a
// sticker other than a centre is reported.
class CScanNetView : public QWidget {
    Q_OBJECT

public:
    explicit CScanNetView(QWidget* pParent = nullptr);
    void Show(const Facelets& colors, const scan::Measurement& measured, const std::vector<int>& doubtful,
              const Facelets& pinned);
    // The facelet under a point, or -1; the middle of a facelet.
    int FaceletAt(const QPoint& pt) const;
    QPoint FaceletCentre(int nFacelet) const;
    QSize sizeHint() const override;

signals:
    void faceletClicked(int nFacelet, bool bRightButton);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;

private:
    QRect FaceletRect(int nFacelet) const;

    Facelets m_colors{};
    scan::Measurement m_measured{};
    std::vector<int> m_doubtful;
    Facelets m_pinned{};
};

// A face's colours as a small 3x3 icon; grey before it is read.
QImage ReadingIcon(const FaceReading* pReading, int nSide);
