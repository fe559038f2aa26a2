// The view on a display without OpenGL: the failure boxes, then a working net.

#include "CubeWnd.h"
#include "MessageBox.h"

#include <QTest>

class TestNoOpenGL : public QObject {
    Q_OBJECT

private slots:
    void netKeepsWorkingWithoutAContext()
    {
        QStringList boxes;
        SetMessageBoxHandler([&](QWidget*, const QString& strText, const QString& strCaption,
                                 QMessageBox::Icon icon, QMessageBox::StandardButtons buttons) {
            boxes << strCaption + ": " + strText;
            [&] { QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok)); }();
            (void)icon;
            return QMessageBox::Ok;
        });
        CCubeWnd view;
        view.resize(127, 95);
        view.show();
        QVERIFY(view.InitOpenGL());
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QCOMPARE(boxes, QStringList({"Error: ChoosePixelFormat failed", "Error: SetPixelformat Failed!"}));
        QVERIFY(!view.HasContext());
        QVERIFY(view.InitOpenGL()); // once per window: no second report
        QCOMPARE(boxes.size(), 2);

        QImage net = view.GrabFrame();
        QCOMPARE(net.pixel(34, 34), qRgb(0, 0, 255));
        view.m_nPaintColor = 3;
        QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(34, 34));
        QCOMPARE(view.GetFace('F')->colors[0], BYTE(3));
        net = view.GrabFrame();
        QCOMPARE(net.pixel(35, 35), qRgb(255, 0, 0));

        // The 3D view draws nothing but the background; turns still work.
        view.m_b2DView = false;
        view.m_bAnimate = true;
        view.RotateFaceCW(view.GetFace('F'));
        QVERIFY(view.m_cubies.MatchesFacelets(view.m_pFace));
        QCOMPARE(view.GrabFrame().pixel(60, 40), qRgb(204, 204, 204));
        SetMessageBoxHandler({});
    }
};

QTEST_MAIN(TestNoOpenGL)
#include "test_no_opengl.moc"
