#include "ScanFaces.h"

#include <QFileInfo>
#include <QRegularExpression>


#include <algorithm>
#include <cmath>
#include <cstring>

// Seen by the camera: the face read, the one on top of it in the picture and
// the one to its right (each read face upright as in the net, CubeSolver.h).
const ScanPose kScanPoses[6] = {
    {0, 4, 2}, // top: the back face up in the picture, the front face down
    {1, 0, 2}, // front: top up
    {2, 0, 4}, // right: top up, back to the right
    {3, 0, 1}, // left: top up, front to the right
    {4, 0, 3}, // back: top up, left to the right
    {5, 1, 2}, // bottom: the front face up in the picture
};

QString CentreColourName(int nSlot)
{
    static const char* const kNames[6] = {"yellow", "blue", "red", "orange", "green", "white"};
    return QString::fromLatin1(kNames[std::clamp(nSlot, 0, 5)]);
}

QString FaceTitle(int nSlot)
{
    static const char* const kTitles[6] = {"Top", "Front", "Right", "Left", "Back", "Bottom"};
    return QString::fromLatin1(kTitles[std::clamp(nSlot, 0, 5)]);
}

int FaceOfFileName(const QString& strFileName)
{
    static const char* const kWords[6][4] = {{"top", "up", "t", "u"}, {"front", "f", nullptr, nullptr},
                                             {"right", "r", nullptr, nullptr}, {"left", "l", nullptr, nullptr},
                                             {"back", "b", nullptr, nullptr}, {"bottom", "down", "d", nullptr}};
    const QString strBase = QFileInfo(strFileName).completeBaseName().toLower();
    int nFound = -1;
    for (const QString& word : strBase.split(QRegularExpression(QStringLiteral("[^\\p{L}\\p{N}]+")),
                                             Qt::SkipEmptyParts))
        for (int s = 0; s < 6; ++s)
            for (const char* pWord : kWords[s])
                if (pWord && word == QLatin1String(pWord))
                    nFound = s;
    return nFound;
}

QString HoldText(int nSlot)
{
    const ScanPose& pose = kScanPoses[std::clamp(nSlot, 0, 5)];
    QString s = QStringLiteral("Hold the %1 centre towards the camera, the %2 centre on top.")
                    .arg(CentreColourName(pose.nFront), CentreColourName(pose.nUp));
    if (nSlot == 0)
        s += QStringLiteral(" (Tip the cube towards you: the blue centre faces down.)");
    else if (nSlot == 5)
        s += QStringLiteral(" (Tip the cube away from you: the yellow centre faces away.)");
    return s;
}

photo::Image ToPhotoImage(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    photo::Image out;
    out.width = rgb.width();
    out.height = rgb.height();
    const size_t nRow = static_cast<size_t>(out.width) * 3;
    out.rgb.resize(nRow * static_cast<size_t>(out.height));
    for (int y = 0; y < out.height; ++y)
        std::memcpy(&out.rgb[nRow * static_cast<size_t>(y)], rgb.constScanLine(y), nRow);
    return out;
}

photo::Quad ToQuad(const QRectF& rc)
{
    return {photo::Point{rc.left(), rc.top()}, photo::Point{rc.right(), rc.top()},
            photo::Point{rc.right(), rc.bottom()}, photo::Point{rc.left(), rc.bottom()}};
}

QRectF GuideRect(QSize frame)
{
    const double side = 0.6 * std::min(frame.width(), frame.height());
    return QRectF((frame.width() - side) / 2, (frame.height() - side) / 2, side, side);
}

FaceReading MeasureGuide(const QImage& frame)
{
    if (frame.isNull())
        return {};
    // Three stickers of 20 pixels a side: each sample the mean of a patch.
    constexpr int kSide = 60;
    const QRect rc = GuideRect(frame.size()).toAlignedRect() & frame.rect();
    const QImage part = frame.copy(rc).scaled(kSide, kSide, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return photo::MeasureFace(ToPhotoImage(part), ToQuad(QRectF(0, 0, kSide, kSide)));
}

// ---------------------------------------------------------------- the steady watch

double CSteadyWatch::Difference(const FaceReading& a, const FaceReading& b)
{
    double d = 0;
    for (size_t i = 0; i < a.size(); ++i)
        d = std::max({d, std::abs(a[i].r - b[i].r), std::abs(a[i].g - b[i].g), std::abs(a[i].b - b[i].b)});
    return d;
}

bool CSteadyWatch::Feed(qint64 nMs, const FaceReading& reading)
{
    // A clock that went back (another camera, a restarted stream): anew.
    if (!m_samples.empty() && nMs < m_samples.back().nMs)
        m_samples.clear();
    m_samples.push_back({nMs, reading});
    // Twice the span needed is kept; steady since the oldest sample after
    // the last one out of range of the newest.
    while (nMs - m_samples.front().nMs > 2 * kSteadyMs)
        m_samples.pop_front();
    qint64 nSince = nMs;
    for (auto it = m_samples.rbegin(); it != m_samples.rend() && Difference(it->reading, reading) <= kSteadyRange; ++it)
        nSince = it->nMs;
    m_nSteadyMs = nMs - nSince;
    if (m_nSteadyMs < kSteadyMs)
        return false;
    // A dark picture (a covered lens, a dark room) is no face.
    double bright = 0;
    for (const scan::Rgb& c : reading)
        bright += std::max({c.r, c.g, c.b});
    if (bright / 9 < 40)
        return false;
    return !m_bTaken || Difference(reading, m_taken) >= kNewFaceChange;
}

void CSteadyWatch::Taken(const FaceReading& reading)
{
    m_taken = reading;
    m_bTaken = true;
}

void CSteadyWatch::Reset()
{
    m_samples.clear();
    m_bTaken = false;
    m_nSteadyMs = 0;
}
