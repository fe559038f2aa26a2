#include "ScanCamera.h"

#include <QCamera>
#include <QCameraDevice>
#include <QDateTime>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QVideoFrame>
#include <QVideoSink>

#include <cmath>
#include <limits>

namespace {

// The format nearest 640 x 480 of those with 15 frames a second or more
// (the preview's least), else the fastest; a null format for none listed.
QCameraFormat PreviewFormat(const QCameraDevice& device)
{
    QCameraFormat best;
    double bestScore = std::numeric_limits<double>::infinity();
    for (const QCameraFormat& f : device.videoFormats()) {
        const QSize size = f.resolution();
        if (size.isEmpty())
            continue;
        const double area = double(size.width()) * size.height();
        double score = std::abs(std::log(area / (640.0 * 480.0)));
        if (f.maxFrameRate() < 15)
            score += 100 - f.maxFrameRate();
        if (score < bestScore)
            bestScore = score, best = f;
    }
    return best;
}

} // namespace

CScanCamera::CScanCamera(QObject* pParent)
    : QObject(pParent), m_pSession(std::make_unique<QMediaCaptureSession>()),
      m_pSink(std::make_unique<QVideoSink>())
{
    m_pSession->setVideoSink(m_pSink.get());
    connect(m_pSink.get(), &QVideoSink::videoFrameChanged, this, &CScanCamera::OnFrame);
}

CScanCamera::~CScanCamera()
{
    Stop();
}

QStringList CScanCamera::Cameras() const
{
    if (!m_pDevices) {
        auto* pDevices = new QMediaDevices(const_cast<CScanCamera*>(this));
        connect(pDevices, &QMediaDevices::videoInputsChanged, this, &CScanCamera::camerasChanged);
        const_cast<CScanCamera*>(this)->m_pDevices = pDevices;
    }
    QStringList names;
    for (const QCameraDevice& device : QMediaDevices::videoInputs())
        names << (device.description().isEmpty() ? QString::fromUtf8(device.id()) : device.description());
    return names;
}

bool CScanCamera::Start(int nIndex, QString& strError)
{
    Stop();
    const QList<QCameraDevice> devices = QMediaDevices::videoInputs();
    if (nIndex < 0 || nIndex >= devices.size()) {
        strError = QStringLiteral("That camera is not there any more.");
        return false;
    }
    m_pCamera = std::make_unique<QCamera>(devices[nIndex]);
    const QCameraFormat format = PreviewFormat(devices[nIndex]);
    if (!format.isNull())
        m_pCamera->setCameraFormat(format);
    connect(m_pCamera.get(), &QCamera::errorOccurred, this, [this](QCamera::Error error, const QString& strText) {
        if (error != QCamera::NoError)
            emit failed(strText.isEmpty() ? QStringLiteral("The camera stopped.") : strText);
    });
    m_pSession->setCamera(m_pCamera.get());
    m_nFirstUs = -1;
    m_pCamera->start();
    if (m_pCamera->error() != QCamera::NoError) {
        strError = m_pCamera->errorString().isEmpty() ? QStringLiteral("The camera could not be started.")
                                                      : m_pCamera->errorString();
        Stop();
        return false;
    }
    return true;
}

void CScanCamera::Stop()
{
    if (!m_pCamera)
        return;
    m_pCamera->stop();
    m_pSession->setCamera(nullptr);
    m_pCamera.reset();
}

bool CScanCamera::IsRunning() const
{
    return m_pCamera && m_pCamera->isActive();
}

void CScanCamera::OnFrame(const QVideoFrame& frame)
{
    if (!frame.isValid())
        return;
    const QImage image = frame.toImage();
    if (image.isNull())
        return;
    // The frame's own time where the stream gives one, else the clock's.
    qint64 nMs = QDateTime::currentMSecsSinceEpoch();
    if (frame.startTime() >= 0) {
        if (m_nFirstUs < 0)
            m_nFirstUs = frame.startTime();
        nMs = (frame.startTime() - m_nFirstUs) / 1000;
    }
    emit frameReady(image, nMs);
}
