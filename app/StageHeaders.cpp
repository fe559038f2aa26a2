#include "StageHeaders.h"

#include "CubeSolver.h"
#include "ZelvorsCubeDlg.h"

#include <QPainter>

CStageHeaders::CStageHeaders(CZelvorsCubeDlg& dlg) : QStyledItemDelegate(&dlg), m_dlg(dlg) {}

int CStageHeaders::HeaderAt(int nLine) const
{
    const std::vector<int>& stages = m_dlg.m_solutionStages;
    // The stages belong to the listed solution only when there is one per move.
    if (nLine < 1 || stages.size() + 1 != m_dlg.m_arrMoves.size() || nLine > static_cast<int>(stages.size()))
        return -1;
    const int nStage = stages[static_cast<size_t>(nLine - 1)];
    return nLine == 1 || stages[static_cast<size_t>(nLine - 2)] != nStage ? nStage : -1;
}

void CStageHeaders::Refresh()
{
    m_dlg.m_listSolution.doItemsLayout();
    m_dlg.m_listSolution.viewport()->update();
}

int CStageHeaders::HeaderHeight(const QStyleOptionViewItem& option) const
{
    return option.fontMetrics.height() + 2;
}

QSize CStageHeaders::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (HeaderAt(index.row()) >= 0)
        size.rheight() += HeaderHeight(option);
    return size;
}

void CStageHeaders::paint(QPainter* pPainter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const int nStage = HeaderAt(index.row());
    if (nStage < 0) {
        QStyledItemDelegate::paint(pPainter, option, index);
        return;
    }
    // The header: the stage's name in bold on a rule, never highlighted.
    const int h = HeaderHeight(option);
    const QRect rcHeader(option.rect.left(), option.rect.top(), option.rect.width(), h);
    pPainter->save();
    pPainter->fillRect(rcHeader, option.palette.color(QPalette::Base));
    QFont f = option.font;
    f.setBold(true);
    pPainter->setFont(f);
    pPainter->setPen(option.palette.color(QPalette::Text));
    pPainter->drawText(rcHeader.adjusted(2, 0, -2, -1), Qt::AlignLeft | Qt::AlignBottom,
                       QString::fromLatin1(CCubeSolver::StageName(nStage)));
    pPainter->setPen(option.palette.color(QPalette::Mid));
    pPainter->drawLine(rcHeader.bottomLeft(), rcHeader.bottomRight());
    pPainter->restore();
    // The move's own line below it, as any other.
    QStyleOptionViewItem line = option;
    line.rect.setTop(option.rect.top() + h);
    QStyledItemDelegate::paint(pPainter, line, index);
}
