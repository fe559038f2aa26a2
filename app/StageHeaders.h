#pragma once
// The stages of a layer-by-layer solution shown in the solution list: above
// the line of the first move of each stage, a header with the stage's name
// ("Top edges", "Top corners", "Middle edges", "Bottom edges", "Bottom
// corners") is drawn inside that line's own row. The rows and their texts
// stay exactly as they are: a header is no line of the list, so Next,
// Previous, the list's travel and the move count never see it.

#include <QStyledItemDelegate>

#include <vector>

class CZelvorsCubeDlg;

class CStageHeaders : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit CStageHeaders(CZelvorsCubeDlg& dlg);

    // The stage heading the list line, or -1 for none (line 0 is "Your
    // Cube!"; line i is move i).
    int HeaderAt(int nLine) const;
    // The list is laid out anew: the stages of its solution changed.
    void Refresh();

    void paint(QPainter* pPainter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    int HeaderHeight(const QStyleOptionViewItem& option) const;

    CZelvorsCubeDlg& m_dlg;
};
