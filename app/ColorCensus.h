#pragma once
// The colour census shown below the swatches while a cube is painted: each
// colour's count out of nine in the swatches' order (a count that is not nine
// in bold red), then a line with the blank facelets left or, once there
// are none, whether the cube is valid (a green tick) or not (a red cross,
// the first problem in the tooltip), and, while the keyboard's cursor is
// shown, the face it is on.
//
// It places itself below the last swatch, following the swatches wherever
// the dialog's layout puts them, at its natural size (sizeHint: eight lines
// of the dialog's font), never wider than the gap from the swatches' left to
// the solution list. It does not grow with the dialog.

#include "Compat.h"

#include <QString>
#include <QWidget>

class CColorCensus : public QWidget {
    Q_OBJECT

public:
    // The state line's verdict.
    enum State { INCOMPLETE, INVALID, VALID };

    CColorCensus(QWidget* pLastSwatch, QWidget* pFirstSwatch, QWidget* pRightOf, QWidget* pParent);

    // Counts by colour index 0..6 (0 = blank) and the verdict.
    void SetCensus(const int counts[7], State state);
    // The first problem of an invalid cube, said in the tooltip; empty for none.
    void SetProblem(const QString& strProblem);
    // The face the keyboard's cursor is on (T F R L B D), said on a last
    // line; 0 while no cursor is shown.
    void SetCursorFace(char chFace);
    char CursorFace() const { return m_chCursorFace; }
    int Count(int nColor) const { return m_counts[nColor]; }
    State Verdict() const { return m_state; }
    // The text of the census as shown, one line per row.
    QString Text() const;

    // Seven lines of the widget's font in bold, as wide as its widest text.
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    bool eventFilter(QObject* pObject, QEvent* pEvent) override;

private:
    void Place();
    // The text, with the first problem after it when the cube is invalid.
    void UpdateToolTip();
    int LineHeight() const;
    int SquareSize() const;

    QWidget* m_pLastSwatch;
    QWidget* m_pFirstSwatch;
    QWidget* m_pRightOf;
    int m_counts[7] = {0, 9, 9, 9, 9, 9, 9};
    State m_state = VALID;
    QString m_strProblem;
    char m_chCursorFace = 0;
};
