// The colour swatch on its own: its fill, its frame and what a click tells the parent.

#include "ColorCtrl.h"

#include <QSignalSpy>
#include <QTest>

class TestColorCtrl : public QObject {
    Q_OBJECT

private slots:
    void clickFramesAtOnceAndTellsTheParentEachTime()
    {
        CColorCtrl swatch;
        swatch.m_color = qRgb(0, 121, 0);
        swatch.m_nColor = 5;
        swatch.resize(30, 29);
        swatch.show();
        QVERIFY(QTest::qWaitForWindowExposed(&swatch));
        QImage look = swatch.grab().toImage();
        QCOMPARE(look.pixel(15, 15), qRgb(0, 121, 0));
        QCOMPARE(look.pixel(2, 15), qRgb(0, 121, 0)); // no frame yet
        QCOMPARE(look.pixel(0, 15), qRgb(0, 0, 0));   // the border

        bool bFramedWhenTold = false;
        connect(&swatch, &CColorCtrl::colorSelected, this, [&](CColorCtrl* p) {
            bFramedWhenTold = p->m_bSelected && p->grab().toImage().pixel(2, 15) == qRgb(0, 0, 0);
        });
        QSignalSpy spy(&swatch, &CColorCtrl::colorSelected);
        QTest::mouseClick(&swatch, Qt::LeftButton);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).value<CColorCtrl*>(), &swatch);
        QVERIFY(bFramedWhenTold);
        QTest::mouseClick(&swatch, Qt::LeftButton);
        QCOMPARE(spy.count(), 2);
        QVERIFY(swatch.m_bSelected);
        look = swatch.grab().toImage();
        QCOMPARE(look.pixel(15, 15), qRgb(0, 121, 0));
        QCOMPARE(look.pixel(2, 15), qRgb(0, 0, 0));

        // A right click is not a choice.
        QTest::mouseClick(&swatch, Qt::RightButton);
        QCOMPARE(spy.count(), 2);
    }

    void parentMayUnframeDuringTheClick()
    {
        CColorCtrl swatch;
        swatch.m_color = qRgb(255, 0, 0);
        swatch.resize(30, 29);
        swatch.show();
        QVERIFY(QTest::qWaitForWindowExposed(&swatch));
        connect(&swatch, &CColorCtrl::colorSelected, this, [](CColorCtrl* p) {
            p->m_bSelected = false;
            p->repaint();
        });
        QTest::mouseClick(&swatch, Qt::LeftButton);
        QVERIFY(!swatch.m_bSelected);
        QCOMPARE(swatch.grab().toImage().pixel(2, 15), qRgb(255, 0, 0));
    }

    void disabledLooksTheSameAndTakesNoClicks()
    {
        CColorCtrl swatch;
        swatch.m_color = qRgb(255, 128, 0);
        swatch.resize(30, 29);
        swatch.show();
        QVERIFY(QTest::qWaitForWindowExposed(&swatch));
        const QImage enabled = swatch.grab().toImage();
        QSignalSpy spy(&swatch, &CColorCtrl::colorSelected);
        swatch.setEnabled(false);
        QCOMPARE(swatch.grab().toImage(), enabled);
        QTest::mouseClick(&swatch, Qt::LeftButton);
        QCOMPARE(spy.count(), 0);
        QVERIFY(!swatch.m_bSelected);
        swatch.setEnabled(true);
        QCOMPARE(swatch.grab().toImage(), enabled);
    }
};

QTEST_MAIN(TestColorCtrl)
#include "test_color_ctrl.moc"
