// The next-move marker's geometry checked against the model's own face turns:
// every arrow points the way the stickers under it really move, and lies where
// the user sees it.

#include "CubeSolver.h"
#include "MoveMarker.h"

#include <QTest>

#include <cmath>

namespace {

constexpr float kPitch = 25.0f; // the view's default angles
constexpr float kYaw = -45.0f;
constexpr char kFaces[6] = {'T', 'F', 'R', 'L', 'B', 'D'}; // slot order

// Centre of facelet (row, col) of a face as the net shows it (seen from
// outside), in scene coordinates: the cubie positions of the 3D view's model.
MarkerVec FaceletCentre(int nSlot, int r, int c)
{
    int i = 0, j = 0, k = 0;
    switch (nSlot) {
    case CCubeSolver::SLOT_T: i = c, j = 2, k = r; break;
    case CCubeSolver::SLOT_F: i = c, j = 2 - r, k = 2; break;
    case CCubeSolver::SLOT_R: i = 2, j = 2 - r, k = 2 - c; break;
    case CCubeSolver::SLOT_L: i = 0, j = 2 - r, k = c; break;
    case CCubeSolver::SLOT_B: i = 2 - c, j = 2 - r, k = 0; break;
    default: i = c, j = 0, k = 2 - r; break;
    }
    const MarkerVec n = FaceNormal(kFaces[nSlot]);
    return {i - 1 + 0.5f * n.x, j - 1 + 0.5f * n.y, k - 1 + 0.5f * n.z};
}

// Where the model's move takes the facelet nearest to pt: the facelet is
// painted on a blank cube and looked for after the move.
MarkerVec Follow(const char* pszMove, MarkerVec pt)
{
    CCubeSolver cube;
    int nBest = -1;
    float fBest = 1e9f;
    for (int s = 0; s < 6; ++s) {
        for (int f = 0; f < 9; ++f) {
            cube.m_pFace[s]->colors[f] = 0;
            const MarkerVec d = Sub(FaceletCentre(s, f / 3, f % 3), pt);
            if (Dot(d, d) < fBest)
                fBest = Dot(d, d), nBest = s * 9 + f;
        }
    }
    cube.m_pFace[nBest / 9]->colors[nBest % 9] = 1;
    cube.ExecuteMoves(pszMove);
    for (int s = 0; s < 6; ++s)
        for (int f = 0; f < 9; ++f)
            if (cube.m_pFace[s]->colors[f] == 1)
                return FaceletCentre(s, f / 3, f % 3);
    return {};
}

// Twice the signed area the projected path sweeps round the projected
// centre: positive when it runs clockwise on the screen (y downward).
float ScreenSense(const std::vector<MarkerVec>& path, MarkerVec centre, float fPitch, float fYaw)
{
    float cx, cy;
    ProjectToScreen(centre, fPitch, fYaw, cx, cy);
    float fSum = 0.0f;
    for (size_t i = 0; i + 1 < path.size(); ++i) {
        float x0, y0, x1, y1;
        ProjectToScreen(path[i], fPitch, fYaw, x0, y0);
        ProjectToScreen(path[i + 1], fPitch, fYaw, x1, y1);
        fSum += (x0 - cx) * (y1 - cy) - (x1 - cx) * (y0 - cy);
    }
    return fSum;
}

// The centre of the arc's face.
MarkerVec ArcCentre(const MarkerArrow& a)
{
    const MarkerVec n = FaceNormal(a.chFace);
    return {1.5f * n.x, 1.5f * n.y, 1.5f * n.z};
}

} // namespace

class TestMoveMarker : public QObject {
    Q_OBJECT

private slots:
    void readsModelGroups()
    {
        QCOMPARE(ReadMarkerMove("R+.").chFace, 'R');
        QVERIFY(ReadMarkerMove("R+.").turn == MarkerTurn::CLOCKWISE);
        QVERIFY(ReadMarkerMove("B-").turn == MarkerTurn::COUNTER_CLOCKWISE);
        QVERIFY(ReadMarkerMove("T*.").turn == MarkerTurn::HALF);
        for (const char* psz : {"", "C+.", "X+.", "R", "R^.", "r+."})
            QCOMPARE(ReadMarkerMove(psz).chFace, '\0');
        QVERIFY(MarkerArrows3D(ReadMarkerMove("C+."), kPitch, kYaw).empty());
    }

    void defaultAnglesShowTopFrontRight()
    {
        for (char ch : kFaces)
            QCOMPARE(FaceTowardViewer(ch, kPitch, kYaw), ch == 'T' || ch == 'F' || ch == 'R');
        // Turned half round, the back and left come into sight.
        QVERIFY(FaceTowardViewer('B', kPitch, kYaw + 180.0f));
        QVERIFY(FaceTowardViewer('L', kPitch, kYaw + 180.0f));
        QVERIFY(!FaceTowardViewer('F', kPitch, kYaw + 180.0f));
    }

    // Every one of the 18 moves at the default angles: something in sight,
    // only on faces in sight, and every arrow the way the model turns.
    void everyMoveAtDefaultAngles_data()
    {
        QTest::addColumn<QString>("move");
        for (char ch : kFaces)
            for (const char* pszCode : {"+", "-", "*"})
                QTest::newRow(qPrintable(QString(QLatin1Char(ch)) + pszCode)) << QString(QLatin1Char(ch)) + pszCode + ".";
    }
    void everyMoveAtDefaultAngles()
    {
        QFETCH(QString, move);
        const QByteArray group = move.toLatin1();
        const MarkedMove m = ReadMarkerMove(group.constData());
        const std::vector<MarkerArrow> arrows = MarkerArrows3D(m, kPitch, kYaw);
        QVERIFY(!arrows.empty());
        const bool bVisible = FaceTowardViewer(m.chFace, kPitch, kYaw);
        // A half turn is shown as the two clockwise quarters the model makes.
        const QByteArray quarter = QByteArray(1, m.chFace) + (m.turn == MarkerTurn::COUNTER_CLOCKWISE ? "-." : "+.");
        int nArcs = 0;
        for (const MarkerArrow& a : arrows) {
            QVERIFY(FaceTowardViewer(a.chFace, kPitch, kYaw));
            QVERIFY(!a.bThrough);
            QCOMPARE(a.nHeads, m.turn == MarkerTurn::HALF ? 2 : 1);
            QVERIFY(a.path.size() >= 2);
            const MarkerVec n = FaceNormal(a.chFace);
            for (const MarkerVec& p : a.path)
                QVERIFY(std::fabs(Dot(p, n) - 1.5f) < 1e-4f);
            if (a.bArc) {
                ++nArcs;
                QCOMPARE(a.chFace, m.chFace);
                // The sense of the arc round the face's normal is that of a
                // facelet the model moves round the face.
                const MarkerVec c = ArcCentre(a);
                const MarkerVec from = FaceletCentre(CCubeSolver::SlotOf(m.chFace), 0, 1);
                const MarkerVec to = Follow(quarter.constData(), from);
                const float fModel = Dot(Cross(Sub(from, c), Sub(to, c)), n);
                const float fArc = Dot(Cross(Sub(a.path[0], c), Sub(a.path[1], c)), n);
                QVERIFY2(fModel * fArc > 0.0f, "arc against the turn");
                // A face toward the viewer is seen from outside: the same
                // sense on the screen, clockwise for a clockwise turn.
                const float fScreen = ScreenSense(a.path, c, kPitch, kYaw);
                QCOMPARE(fScreen > 0.0f, m.turn != MarkerTurn::COUNTER_CLOCKWISE);
            } else {
                // Along the layer's stickers on a neighbour, the way the
                // sticker under the tail goes.
                QVERIFY(a.chFace != m.chFace);
                const MarkerVec dir = Sub(a.path.back(), a.path.front());
                const MarkerVec turning = FaceNormal(m.chFace);
                QVERIFY(std::fabs(Dot(a.path.front(), turning) - 1.0f) < 1e-4f);
                const MarkerVec centre{1.5f * n.x + turning.x, 1.5f * n.y + turning.y, 1.5f * n.z + turning.z};
                const MarkerVec to = Follow(quarter.constData(), centre);
                QVERIFY2(Dot(dir, Sub(to, centre)) > 0.0f, "strip against the turn");
            }
        }
        // An arc exactly when the turning face is in sight; the slanted top
        // face also gets its layer's arrows.
        QCOMPARE(nArcs, bVisible ? 1 : 0);
        QCOMPARE(static_cast<int>(arrows.size()) > nArcs, !bVisible || m.chFace == 'T');
    }

    // The hidden faces' arrows read as the list's words say: "Left Down",
    // "Bottom Right", and for the back the top row goes left (clockwise seen
    // from behind).
    void hiddenFacesReadAsTheListSays_data()
    {
        QTest::addColumn<QString>("move");
        QTest::addColumn<QString>("face");
        QTest::addColumn<int>("dx");
        QTest::addColumn<int>("dy");
        QTest::newRow("Left Down on the front") << "L+." << "F" << 0 << 1;
        QTest::newRow("Left Up on the front") << "L-." << "F" << 0 << -1;
        QTest::newRow("Bottom Right on the front") << "D+." << "F" << 1 << 0;
        QTest::newRow("Bottom Left on the right") << "D-." << "R" << -1 << 0;
        QTest::newRow("Back Clockwise on the top") << "B+." << "T" << -1 << 0;
        QTest::newRow("Back Clockwise on the right") << "B+." << "R" << 0 << -1;
        QTest::newRow("Back Counter clockwise on the right") << "B-." << "R" << 0 << 1;
        QTest::newRow("Top Left on the front") << "T+." << "F" << -1 << 0;
    }
    void hiddenFacesReadAsTheListSays()
    {
        QFETCH(QString, move);
        QFETCH(QString, face);
        QFETCH(int, dx);
        QFETCH(int, dy);
        const QByteArray group = move.toLatin1();
        const MarkerArrow* pFound = nullptr;
        const std::vector<MarkerArrow> arrows = MarkerArrows3D(ReadMarkerMove(group.constData()), kPitch, kYaw);
        for (const MarkerArrow& a : arrows)
            if (!a.bArc && a.chFace == face.at(0).toLatin1())
                pFound = &a;
        QVERIFY(pFound);
        float x0, y0, x1, y1;
        ProjectToScreen(pFound->path.front(), kPitch, kYaw, x0, y0);
        ProjectToScreen(pFound->path.back(), kPitch, kYaw, x1, y1);
        // The named direction dominates on the screen.
        const float fAlong = dx != 0 ? (x1 - x0) * dx : (y1 - y0) * dy;
        const float fAcross = dx != 0 ? std::fabs(y1 - y0) : std::fabs(x1 - x0);
        QVERIFY(fAlong > 0.0f);
        QVERIFY(fAlong > fAcross);
    }

    // Dragged round, the arrows follow what is in sight.
    void otherAnglesStayInSight()
    {
        for (float fYaw = -180.0f; fYaw < 180.0f; fYaw += 30.0f) {
            for (float fPitch : {-60.0f, 0.0f, 25.0f, 60.0f}) {
                for (char ch : kFaces) {
                    const std::vector<MarkerArrow> arrows =
                        MarkerArrows3D(ReadMarkerMove(QByteArray(1, ch).append("+.").constData()), fPitch, fYaw);
                    QVERIFY(!arrows.empty());
                    for (const MarkerArrow& a : arrows)
                        QVERIFY(a.bThrough || FaceTowardViewer(a.chFace, fPitch, fYaw));
                }
            }
        }
        // Straight at the opposite face nothing of the layer shows: its arc
        // is drawn through the cube.
        const std::vector<MarkerArrow> through = MarkerArrows3D(ReadMarkerMove("B+."), 0.0f, 0.0f);
        QCOMPARE(static_cast<int>(through.size()), 1);
        QVERIFY(through[0].bThrough);
    }

    // The net shows each face from outside: its arc turns as the model moves
    // the facelets in the net's rows and columns.
    void netArcTurnsAsTheNet()
    {
        for (MarkerTurn turn : {MarkerTurn::CLOCKWISE, MarkerTurn::COUNTER_CLOCKWISE, MarkerTurn::HALF}) {
            const std::vector<MarkerVec> path = NetArcPath(turn);
            QVERIFY(path.size() >= 2);
            for (const MarkerVec& p : path)
                QVERIFY(p.x > 0.0f && p.x < 1.0f && p.y > 0.0f && p.y < 1.0f);
            CCubeSolver cube;
            for (int f = 0; f < 9; ++f)
                cube.m_pFace[CCubeSolver::SLOT_B]->colors[f] = 0;
            cube.m_pFace[CCubeSolver::SLOT_B]->colors[1] = 1; // row 0, column 1
            cube.ExecuteMoves(turn == MarkerTurn::COUNTER_CLOCKWISE ? "B-." : "B+.");
            int nTo = -1;
            for (int f = 0; f < 9; ++f)
                if (cube.m_pFace[CCubeSolver::SLOT_B]->colors[f] == 1)
                    nTo = f;
            // From the top middle (x 0.5, y 1/6) to a middle of a side.
            const float fModel = (0.5f - 0.5f) * ((nTo / 3 + 0.5f) / 3 - 0.5f) -
                                 ((nTo % 3 + 0.5f) / 3 - 0.5f) * (1.0f / 6 - 0.5f);
            const float fArc = (path[0].x - 0.5f) * (path[1].y - 0.5f) - (path[1].x - 0.5f) * (path[0].y - 0.5f);
            QVERIFY(fModel * fArc > 0.0f);
        }
    }
};

QTEST_GUILESS_MAIN(TestMoveMarker)
#include "test_move_marker.moc"
