#pragma once
// What the Scan Cube dialog knows about the six faces apart from its widgets:
// how the cube is held for each face, the camera's guide, a camera image
// handed to the photo layer, and when a face held up to the camera is still
// enough to be taken.
//
// Each face is read as the 54-digit format has it: seen from outside, upright
// as in the net. The four side faces are read with the top face up; the top
// face is read with the front face down (the cube tipped towards the
// camera), the bottom face with the front face up.

#include "ColourSpace.h"
#include "FaceFinder.h"

#include <QImage>
#include <QRectF>
#include <QString>

#include <array>
#include <deque>

using FaceReading = std::array<scan::Rgb, 9>;

// The cube as it is held for a face: the slots (T F R L B D = 0..5) of the
// faces towards the camera, on top and on the right, as the camera sees them.
struct ScanPose {
    int nFront, nUp, nRight;
};
extern const ScanPose kScanPoses[6];

// The colour name of a slot's centre on a cube in the program's colours
// ("yellow" for the top), and the face's name ("Top").
QString CentreColourName(int nSlot);
QString FaceTitle(int nSlot);
// The slot a photo's file name names (0..5), or -1: a word of the name
// (between other characters than letters and digits) that is a face's name
// or letter in either notation, in any case: "top", "up", "t", "u"; "front",
// "f"; "right", "r"; "left", "l"; "back", "b"; "bottom", "down", "d". Of
// several such words the last one counts ("b-T.jpg", the second photo set's
// top, is the top).
int FaceOfFileName(const QString& strFileName);
// How to hold the cube for a face, in a sentence.
QString HoldText(int nSlot);

// An image as the photo layer takes it (8-bit RGB, no padding).
photo::Image ToPhotoImage(const QImage& image);
// The quad as corners of the photo layer, and back.
photo::Quad ToQuad(const QRectF& rc);

// The camera's guide in a frame of the given size: a centred square of
// three fifths of the frame's shorter side.
QRectF GuideRect(QSize frame);
// The nine stickers inside the guide of a camera frame: the guide's part of
// the frame is scaled down smoothly (so each sample is an average of many
// pixels, as a camera's noise needs) and measured through photo::MeasureFace.
FaceReading MeasureGuide(const QImage& frame);

// Watches the guide's readings frame by frame and says when a face has been
// held still long enough to be taken: every reading of the last kSteadyMs
// within kSteadyRange of the newest, stickers bright enough to be a cube
// rather than a dark room, and the face not the one taken last (it must
// change, the cube turned, before the next is taken).
class CSteadyWatch {
public:
    static constexpr qint64 kSteadyMs = 500;
    // Largest change of a channel (0..255) of any sticker while steady.
    static constexpr double kSteadyRange = 14.0;
    // Smallest change of some sticker's channel that makes a new face.
    static constexpr double kNewFaceChange = 45.0;

    // A reading at a time in milliseconds; true when the face is to be taken
    // now (after which Taken is to be called).
    bool Feed(qint64 nMs, const FaceReading& reading);
    // The face was taken (by the watch or by hand): the next must differ.
    void Taken(const FaceReading& reading);
    // Forgets everything (another camera, the page left).
    void Reset();
    // How long the present reading has been steady, in milliseconds.
    qint64 SteadyFor() const { return m_nSteadyMs; }

    // Largest difference of any channel of any sticker.
    static double Difference(const FaceReading& a, const FaceReading& b);

private:
    struct Sample {
        qint64 nMs;
        FaceReading reading;
    };
    std::deque<Sample> m_samples;
    FaceReading m_taken{};
    bool m_bTaken = false;
    qint64 m_nSteadyMs = 0;
};
