#pragma once
// Edit > Scan Cube...: a real cube read face by face from photos or the
// camera, its 54 colours decided together (scan::DecideColours), checked and
// corrected by the user, and put into the main window's net as one undoable
// change (CZelvorsCubeDlg::UseScannedCube).
//
// A strip along the top holds the six faces in the 54-digit format's order
// (T F R L B D), each showing the colours read, and the result. A face's page
// shows how to hold the cube and takes the face
//  - from a photo (one a face, or six chosen at once, given to the faces in
//    the order of their file names): the face is found by photo::FindFace,
//    its corners drawn and draggable where the finding is off, or placed by
//    hand where nothing was found; or
//  - from the camera (when built with Qt Multimedia): a live preview with a
//    3x3 guide, the face taken once it has been held still inside the guide
//    for half a second, or by Capture (Space).
// The result page shows the decided net, the doubtful stickers ringed; a
// click on a sticker gives it its next likely colour and pins it, and the
// rest is decided again around the pins (a right-click unpins).

#include "ColourDecision.h"
#include "FaceFinder.h"
#include "ScanFaces.h"

#include <QDialog>
#include <QImage>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

class CPhotoView;
class CPoseView;
class CReadFaceView;
class CScanCamera;
class CScanNetView;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QShortcut;
class QStackedWidget;
class QTabWidget;
class QToolButton;

class CScanCubeDlg : public QDialog {
    Q_OBJECT

public:
    explicit CScanCubeDlg(QWidget* pParent = nullptr);
    ~CScanCubeDlg() override;

    // The face shown (0..5, T F R L B D), or 6 for the result.
    int Page() const { return m_nPage; }
    void GoTo(int nPage);

    // A photo for a face: false, after a box saying why, when it cannot be
    // read. The face is looked for; where it is not found the corners are
    // put where the face is likeliest (the middle) for the user to drag.
    bool LoadPhoto(int nSlot, const QString& strPath);
    // Six photos, given to the faces T F R L B D in the order of their names.
    bool LoadPhotos(QStringList paths);
    // The corners of a face's photo, set by hand; the face measured again.
    void SetCorners(int nSlot, const photo::Quad& quad);
    // A face read from the camera's frame (or any image): the guide's stickers.
    void TakeFrame(int nSlot, const QImage& frame);

    bool IsRead(int nSlot) const { return m_faces[static_cast<size_t>(nSlot)].bRead; }
    const FaceReading& Reading(int nSlot) const { return m_faces[static_cast<size_t>(nSlot)].reading; }
    scan::Measurement Measurement() const;

    // The decision of the six faces read, with the pins.
    const scan::ColourDecision& Decision() const { return m_decision; }
    const Facelets& Pins() const { return m_pins; }
    // What a click on a sticker does: its next likely colour after the one it
    // has, pinned, the rest decided again; bUnpin lets it be decided again.
    // A sticker's colours go in the order of how likely the whole cube is
    // with each (tried with the other pins), round to the one decided for it
    // unpinned.
    void CycleFacelet(int nFacelet, bool bUnpin = false);
    // The colours the dialog gives (after Use This Cube).
    Facelets Colors() const { return m_decision.colors; }

    // The widgets, for the tests and the screenshots.
    CPhotoView* PhotoView() const { return m_pPhotoView; }
    CScanNetView* NetView() const { return m_pNetView; }
    QPushButton* UseButton() const { return m_pUse; }
    QLabel* NoteLabel() const { return m_pNote; }
    QLabel* CameraStatus() const { return m_pCameraStatus; }
    QTabWidget* Sources() const { return m_pSources; }
    // The camera page's camera (nullptr without Qt Multimedia or before the
    // page was first shown).
    CScanCamera* Camera() const { return m_pCamera; }
    // True when the program was built with the camera page.
    static bool HasCameraPage();
    // Shows the camera page (which looks for cameras the first time).
    void ShowCameraPage();

protected:
    void done(int nResult) override;

private:
    struct Face {
        bool bRead = false;
        FaceReading reading{};
        QImage photo;       // the photo or camera frame it was read from
        photo::Image image; // the same for the photo layer
        photo::Quad quad{}; // the face's corners in it
        QString strSource;  // the file name, or "camera"
        QString strProblem; // why FindFace found nothing
        bool bPlaced = false; // the corners were set by hand since
    };

    void BuildStrip();
    QWidget* BuildFacePage();
    QWidget* BuildPhotoTab();
    QWidget* BuildCameraTab();
    QWidget* BuildResultPage();
    void ShowFace();
    void UpdateStrip();
    void UpdateButtons();
    void MeasurePhoto(int nSlot);
    void OnFaceChanged(int nSlot);
    void Decide();
    void ShowDecision();
    void OnOpenPhoto();
    void OnOpenSixPhotos();
    void OnNext();
    void OnBack();
    // The camera page.
    void OnSourceChanged();
    void StartCamera();
    void StopCamera();
    void OnCameraFrame(const QImage& image, qint64 nMs);
    void OnCapture();
    void TellCamera(const QString& strText);
    // The next face not read after nSlot (wrapping), or 6 when all are read.
    int NextUnread(int nSlot) const;

    std::array<Face, 6> m_faces;
    int m_nPage = 0;
    scan::ColourDecision m_free;     // the decision without pins: each sticker's ranked colours
    scan::ColourDecision m_decision; // with the pins
    bool m_bDecided = false;
    Facelets m_pins{};
    // A sticker's colours as its clicks go round them, with the decision for
    // each (the first the sticker's own, unpinned), for the other pins.
    struct Cycle {
        Facelets others{};
        std::vector<BYTE> order;
        std::vector<scan::ColourDecision> decisions;
    };
    std::array<Cycle, kFaceletCount> m_cycles;

    std::array<QToolButton*, 7> m_strip{};
    QStackedWidget* m_pPages = nullptr;
    QTabWidget* m_pSources = nullptr;
    QLabel* m_pFaceTitle = nullptr;
    CPoseView* m_pPose = nullptr;
    QLabel* m_pHold = nullptr;
    CReadFaceView* m_pRead = nullptr;
    CPhotoView* m_pPhotoView = nullptr;
    QLabel* m_pPhotoStatus = nullptr;
    QWidget* m_pCameraTab = nullptr;
    CPhotoView* m_pCameraView = nullptr;
    QComboBox* m_pCameraList = nullptr;
    QPushButton* m_pCapture = nullptr;
    QCheckBox* m_pAuto = nullptr;
    QShortcut* m_pSpace = nullptr; // Capture, while the camera runs
    QLabel* m_pReadTitle = nullptr;
    QLabel* m_pCameraStatus = nullptr;
    CScanNetView* m_pNetView = nullptr;
    QLabel* m_pNote = nullptr;
    QPushButton* m_pClearPins = nullptr;
    QPushButton* m_pBack = nullptr;
    QPushButton* m_pNext = nullptr;
    QPushButton* m_pUse = nullptr;

    CScanCamera* m_pCamera = nullptr;
    bool m_bCamerasListed = false;
    bool m_bCameraOn = false; // started, until stopped
    CSteadyWatch m_steady;
    QImage m_lastFrame;
    FaceReading m_lastReading{};
    qint64 m_nFrames = 0;     // frames shown since the camera started
    qint64 m_nFirstFrameMs = -1;
    qint64 m_nLastFrameMs = 0;
};
