#pragma once
// The live camera of the Scan Cube dialog, through Qt Multimedia: the cameras
// there are, one of them started at a format of at least 15 frames a second
// near 640 x 480, and each frame handed on as an image with its time.
//
// Built only with Qt Multimedia (ZELVORS_HAVE_CAMERA). Where there is no
// camera, or no backend (a headless machine), Cameras() is empty and Start()
// fails with a sentence for a person; nothing waits or blocks.

#include <QImage>
#include <QObject>
#include <QStringList>

#include <memory>

class QCamera;
class QMediaCaptureSession;
class QVideoFrame;
class QVideoSink;

class CScanCamera : public QObject {
    Q_OBJECT

public:
    explicit CScanCamera(QObject* pParent = nullptr);
    ~CScanCamera() override;

    // The cameras' names, the system's default first.
    QStringList Cameras() const;
    // Starts the camera of that index; false with the reason when it cannot.
    bool Start(int nIndex, QString& strError);
    void Stop();
    bool IsRunning() const;
    // Where the frames arrive; a test hands frames to it as a camera would.
    QVideoSink* Sink() const { return m_pSink.get(); }

signals:
    // A frame as an image, and its time in milliseconds.
    void frameReady(const QImage& image, qint64 nMs);
    // The camera failed while running (unplugged, taken by another program).
    void failed(const QString& strError);
    // A camera came or went.
    void camerasChanged();

private:
    void OnFrame(const QVideoFrame& frame);

    std::unique_ptr<QMediaCaptureSession> m_pSession;
    std::unique_ptr<QVideoSink> m_pSink;
    std::unique_ptr<QCamera> m_pCamera;
    QObject* m_pDevices = nullptr; // the QMediaDevices watched, made on first use
    qint64 m_nFirstUs = -1;        // a frame's start time when the stream began
};
