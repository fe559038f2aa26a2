// Prints how many camera frames a second the Scan Cube dialog's camera page
// keeps up with: each frame handed to the camera's sink as a camera hands it
// (converted to an image, the guide's nine stickers measured, the steady
// watch fed) and the preview with its guide painted at once, at 640 x 480 and
// 1280 x 720. The preview needs 15 a second.
//
//   scan_bench [--frames N]        (run under a display; xvfb-run when headless)

#include "ScanCamera.h"
#include "ScanCubeDlg.h"
#include "ScanViews.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <QVideoFrame>
#include <QVideoFrameFormat>
#include <QVideoSink>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int nFrames = 200;
    for (int i = 1; i + 1 < argc; ++i)
        if (!std::strcmp(argv[i], "--frames"))
            nFrames = std::max(10, std::atoi(argv[++i]));
    CScanCubeDlg dlg;
    dlg.show();
    if (!QTest::qWaitForWindowExposed(&dlg))
        return 1;
    dlg.ShowCameraPage();
    auto* pView = dlg.findChild<CPhotoView*>(QStringLiteral("cameraView"));
    if (!dlg.Camera() || !pView) {
        std::fprintf(stderr, "no camera page\n");
        return 1;
    }
    for (const QSize size : {QSize(640, 480), QSize(1280, 720)}) {
        // Two pictures in turn, so that nothing is ever taken as steady.
        QImage images[2];
        for (int k = 0; k < 2; ++k) {
            images[k] = QImage(size, QImage::Format_RGB32);
            QPainter painter(&images[k]);
            painter.fillRect(images[k].rect(), QColor(30, 30, 30));
            const QRectF guide = GuideRect(size);
            for (int e = 0; e < 9; ++e)
                painter.fillRect(QRectF(guide.x() + (e % 3) * guide.width() / 3 + 4,
                                        guide.y() + (e / 3) * guide.height() / 3 + 4, guide.width() / 3 - 8,
                                        guide.height() / 3 - 8),
                                 QColor::fromHsv((e * 40 + k * 180) % 360, 200, 220));
        }
        QVideoFrame frames[2];
        for (int k = 0; k < 2; ++k) {
            frames[k] = QVideoFrame(QVideoFrameFormat(size, QVideoFrameFormat::Format_BGRX8888));
            frames[k].map(QVideoFrame::WriteOnly);
            for (int y = 0; y < size.height(); ++y)
                std::memcpy(frames[k].bits(0) + y * frames[k].bytesPerLine(0), images[k].constScanLine(y),
                            static_cast<size_t>(size.width()) * 4);
            frames[k].unmap();
        }
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < nFrames; ++i) {
            QVideoFrame frame = frames[i % 2];
            frame.setStartTime(qint64(i) * 33333);
            dlg.Camera()->Sink()->setVideoFrame(frame);
            pView->repaint();
            QCoreApplication::processEvents();
        }
        const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        std::printf("%dx%d: %.2f ms a frame, %.0f frames/s kept up with (%d frames; the page says: %s)\n",
                    size.width(), size.height(), ms / nFrames, 1000.0 * nFrames / ms, nFrames,
                    qPrintable(dlg.CameraStatus()->text()));
    }
    return 0;
}
