#include "SolutionSheet.h"

#include "CubeFiles.h"
#include "CubeText.h"
#include "MarkerDraw.h"
#include "MessageBox.h"
#include "Palette.h"
#include "ZelvorsCubeDlg.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSvgGenerator>

#include <algorithm>
#include <cstring>

namespace {

// Where each slot's face lies in the net, in facelets (T F R L B D).
constexpr int kFaceX[6] = {3, 3, 6, 0, 9, 3};
constexpr int kFaceY[6] = {0, 3, 3, 3, 3, 6};

constexpr int kPerRow = 12;

const char* MethodName(const QString& strMethod)
{
    if (strMethod == QLatin1String("lbl"))
        return "layer by layer";
    if (strMethod == QLatin1String("short"))
        return "20 moves or fewer";
    if (strMethod == QLatin1String("optimal"))
        return "fewest moves";
    return "as listed";
}

// Quarter turns of a move group: a half turn counts two.
int QuarterTurns(const CString& strMove)
{
    return strMove.size() > 1 && strMove[1] == '*' ? 2 : 1;
}

QFont SheetFont(qreal fPixels, bool bBold = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(std::max(1, static_cast<int>(fPixels)));
    f.setBold(bBold);
    return f;
}

} // namespace

void DrawCubeNet(QPainter& painter, const QRectF& rc, const BYTE colors[54], const CString& strMove)
{
    const qreal c = std::min(rc.width() / 12.0, rc.height() / 9.0);
    const QPointF origin(rc.left() + (rc.width() - 12 * c) / 2, rc.top() + (rc.height() - 9 * c) / 2);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(QColor(Palette::kOutlineSelected), std::max<qreal>(0.5, c / 18)));
    for (int nSlot = 0; nSlot < 6; ++nSlot)
        for (int i = 0; i < 9; ++i) {
            const BYTE nColor = colors[nSlot * 9 + i];
            painter.setBrush(QColor(Palette::kNet[nColor <= 6 ? nColor : 0]));
            painter.drawRect(QRectF(origin.x() + (kFaceX[nSlot] + i % 3) * c, origin.y() + (kFaceY[nSlot] + i / 3) * c,
                                    c, c));
        }
    painter.restore();
    const MarkedMove move = ReadMarkerMove(strMove.c_str());
    const int nSlot = move.chFace ? CCubeSolver::SlotOf(move.chFace) : -1;
    if (nSlot >= 0) {
        const QRect rcFace(static_cast<int>(origin.x() + kFaceX[nSlot] * c), static_cast<int>(origin.y() + kFaceY[nSlot] * c),
                           static_cast<int>(3 * c), static_cast<int>(3 * c));
        DrawNetMarker(&painter, rcFace, move.turn);
    }
}

QImage NetImage(const BYTE colors[54], int nWidth)
{
    QImage image(nWidth, nWidth * 3 / 4, QImage::Format_ARGB32);
    image.fill(QColor(Palette::kBackground));
    QPainter painter(&image);
    DrawCubeNet(painter, QRectF(image.rect()).adjusted(4, 4, -4, -4), colors);
    return image;
}

int RenderSolutionSheet(QPagedPaintDevice& device, const SolutionSheetData& data)
{
    QPainter painter(&device);
    if (!painter.isActive())
        return 0;
    const qreal W = device.width(), H = device.height();
    const qreal unit = W / 100.0; // the page's width in hundredths
    int nPages = 1;
    qreal y = 0;

    // The top: title, method, counts.
    const size_t nMoves = data.moves.size();
    int nQuarter = 0;
    for (const CString& m : data.moves)
        nQuarter += QuarterTurns(m);
    painter.setPen(Qt::black);
    painter.setFont(SheetFont(3.2 * unit, true));
    painter.drawText(QRectF(0, y, W, 5 * unit), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Zelvors Cube Solver \u2014 solution"));
    y += 5 * unit;
    painter.setFont(SheetFont(1.8 * unit));
    const QString strCounts =
        QStringLiteral("Method: %1.   %2 moves (face turns; a half turn counts once), %3 quarter turns.")
            .arg(QString::fromLatin1(MethodName(data.strMethod)))
            .arg(nMoves)
            .arg(nQuarter);
    painter.drawText(QRectF(0, y, W, 3 * unit), Qt::AlignLeft | Qt::AlignTop, strCounts);
    y += 3 * unit;
    painter.drawText(QRectF(0, y, W, 3 * unit), Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("Hold the cube with the top face up and the front face toward you, as in the net."));
    y += 2.6 * unit;
    painter.drawText(QRectF(0, y, W, 3 * unit), Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("Each small picture is the cube before its move; the arrow on a face shows "
                                    "which way that face turns, seen from outside."));
    y += 3.6 * unit;
    // The starting cube, large.
    const qreal netW = 36 * unit;
    DrawCubeNet(painter, QRectF(0, y, netW, netW * 0.75), data.colors);
    painter.setFont(SheetFont(1.8 * unit, true));
    painter.drawText(QRectF(netW + 2 * unit, y, W - netW, 3 * unit), Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("The cube to solve"));
    y += netW * 0.75 + 2 * unit;
    if (nMoves == 0) {
        painter.setFont(SheetFont(1.8 * unit));
        painter.drawText(QRectF(0, y, W, 3 * unit), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("No moves: it is solved."));
        return nPages;
    }

    // The moves, a dozen to a row; a stage starts a row under its name.
    const qreal cellW = W / kPerRow;
    const qreal picH = (cellW - unit) * 0.75;
    const qreal nameH = 2.4 * unit, wordsH = 4.6 * unit; // words: up to three lines
    const qreal rowH = picH + nameH + wordsH + unit;
    const qreal headerH = 3 * unit;
    CCubeSolver cube;
    LoadCube(cube, data.colors);
    const bool bStages = data.stages.size() == nMoves;
    size_t i = 0;
    while (i < nMoves) {
        // This row: up to a dozen moves, ending before the next stage starts.
        size_t nEnd = std::min(nMoves, i + kPerRow);
        const bool bHeader = bStages && (i == 0 || data.stages[i] != data.stages[i - 1]);
        if (bStages)
            for (size_t k = i + 1; k < nEnd; ++k)
                if (data.stages[k] != data.stages[i]) {
                    nEnd = k;
                    break;
                }
        const qreal need = rowH + (bHeader ? headerH : 0);
        if (y + need > H) {
            device.newPage();
            ++nPages;
            y = 0;
        }
        if (bHeader) {
            painter.setPen(Qt::black);
            painter.setFont(SheetFont(2.0 * unit, true));
            painter.drawText(QRectF(0, y, W, headerH), Qt::AlignLeft | Qt::AlignBottom,
                             QString::fromLatin1(CCubeSolver::StageName(data.stages[i])));
            painter.setPen(QPen(Qt::gray, std::max<qreal>(1.0, unit / 10)));
            painter.drawLine(QPointF(0, y + headerH), QPointF(W, y + headerH));
            y += headerH;
        }
        for (size_t k = i; k < nEnd; ++k) {
            const qreal x = (k - i) * cellW;
            BYTE before[54];
            ReadCube(cube, before);
            DrawCubeNet(painter, QRectF(x + unit / 2, y + unit / 2, cellW - unit, picH), before, data.moves[k]);
            const QString strStandard = CZelvorsCubeDlg::StandardName(data.moves[k]);
            painter.setPen(Qt::black);
            painter.setFont(SheetFont(1.9 * unit, true));
            painter.drawText(QRectF(x, y + unit / 2 + picH, cellW, nameH), Qt::AlignHCenter | Qt::AlignVCenter,
                             QStringLiteral("%1. %2").arg(k + 1).arg(strStandard));
            painter.setFont(SheetFont(1.25 * unit));
            painter.drawText(QRectF(x + unit / 4, y + unit / 2 + picH + nameH, cellW - unit / 2, wordsH),
                             Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                             CZelvorsCubeDlg::DescribeMove(data.moves[k]));
            cube.ExecuteMoves(data.moves[k]);
        }
        y += rowH;
        i = nEnd;
    }
    return nPages;
}

// ---------------------------------------------------------------- commands

CSolutionSheetCommands::CSolutionSheetCommands(CZelvorsCubeDlg& dlg) : QObject(&dlg), m_dlg(dlg) {}

void CSolutionSheetCommands::CreateFileMenu(QMenu* pFile)
{
    QAction* pPrint = pFile->addAction(QStringLiteral("&Print Solution..."), this, &CSolutionSheetCommands::OnPrint);
    pPrint->setShortcuts(QKeySequence::Print);
    pPrint->setShortcutContext(Qt::WindowShortcut);
    pFile->addAction(QStringLiteral("Export Solution as P&DF..."), this, &CSolutionSheetCommands::OnExportPdf);
    pFile->addAction(QStringLiteral("Export P&icture..."), this, &CSolutionSheetCommands::OnExportPicture);
}

void CSolutionSheetCommands::CreateEditMenu(QMenu* pEdit)
{
    pEdit->addAction(QStringLiteral("Copy Pic&ture"), this, &CSolutionSheetCommands::OnCopyPicture);
}

SolutionSheetData CSolutionSheetCommands::Data() const
{
    const CubeFile file = m_dlg.Files().Current();
    SolutionSheetData data;
    std::memcpy(data.colors, file.colors, 54);
    for (size_t p = 0; p < file.strSolution.size(); p += 3)
        data.moves.push_back(file.strSolution.substr(p, 3));
    data.stages = file.stages;
    data.strMethod = QString::fromStdString(file.strMethod);
    return data;
}

bool CSolutionSheetCommands::ExportPdf(const QString& strPath, int* pPages)
{
    int nPages = 0;
    {
        QPdfWriter writer(strPath);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 12, 12, 12),
                                         QPageLayout::Millimeter));
        writer.setResolution(300);
        writer.setTitle(QStringLiteral("Cube solution"));
        writer.setCreator(QStringLiteral("Zelvors Cube Solver"));
        nPages = RenderSolutionSheet(writer, Data());
    }
    if (pPages)
        *pPages = nPages;
    if (nPages == 0 || QFileInfo(strPath).size() == 0) {
        ShowMessageBox(&m_dlg,
                       QStringLiteral("The solution could not be written to %1: the folder may be read-only or "
                                      "the disk full.")
                           .arg(QDir::toNativeSeparators(strPath)),
                       QStringLiteral("Export Solution as PDF"), QMessageBox::Warning);
        return false;
    }
    return true;
}

QImage CSolutionSheetCommands::Picture() const
{
    if (!m_dlg.m_cube.m_b2DView)
        return m_dlg.m_cube.GrabFrame();
    BYTE colors[54];
    m_dlg.m_cube.GetColors(colors);
    return NetImage(colors, 960);
}

bool CSolutionSheetCommands::ExportPicture(const QString& strPath)
{
    bool bDone = false;
    if (strPath.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setFileName(strPath);
        svg.setTitle(QStringLiteral("Cube"));
        svg.setDescription(QStringLiteral("Drawn by Zelvors Cube Solver"));
        const QImage image = m_dlg.m_cube.m_b2DView ? QImage() : Picture();
        const QSize size = image.isNull() ? QSize(960, 720) : image.size();
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        QPainter painter;
        if (painter.begin(&svg)) {
            if (image.isNull()) {
                BYTE colors[54];
                m_dlg.m_cube.GetColors(colors);
                // The net as shapes, on the view's background.
                painter.fillRect(QRect(QPoint(0, 0), size), QColor(Palette::kBackground));
                DrawCubeNet(painter, QRectF(4, 4, size.width() - 8, size.height() - 8), colors);
            } else {
                painter.drawImage(0, 0, image);
            }
            bDone = painter.end() && QFileInfo(strPath).size() > 0;
        }
    } else {
        bDone = Picture().save(strPath, "PNG");
    }
    if (!bDone)
        ShowMessageBox(&m_dlg,
                       QStringLiteral("The picture could not be written to %1.").arg(QDir::toNativeSeparators(strPath)),
                       QStringLiteral("Export Picture"), QMessageBox::Warning);
    return bDone;
}

void CSolutionSheetCommands::OnPrint()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, &m_dlg);
    dialog.setWindowTitle(QStringLiteral("Print Solution"));
    if (dialog.exec() == QDialog::Accepted)
        RenderSolutionSheet(printer, Data());
}

void CSolutionSheetCommands::OnExportPdf()
{
    QString strPath = QFileDialog::getSaveFileName(&m_dlg, QStringLiteral("Export Solution as PDF"),
                                                   QStringLiteral("solution.pdf"), QStringLiteral("PDF (*.pdf)"));
    if (strPath.isEmpty())
        return;
    if (QFileInfo(strPath).suffix().isEmpty())
        strPath += QStringLiteral(".pdf");
    ExportPdf(strPath);
}

void CSolutionSheetCommands::OnExportPicture()
{
    QString strFilter;
    QString strPath = QFileDialog::getSaveFileName(&m_dlg, QStringLiteral("Export Picture"), QStringLiteral("cube.png"),
                                                   QStringLiteral("PNG picture (*.png);;SVG drawing (*.svg)"), &strFilter);
    if (strPath.isEmpty())
        return;
    if (QFileInfo(strPath).suffix().isEmpty())
        strPath += strFilter.contains(QStringLiteral("svg")) ? QStringLiteral(".svg") : QStringLiteral(".png");
    ExportPicture(strPath);
}

void CSolutionSheetCommands::OnCopyPicture()
{
    QApplication::clipboard()->setImage(Picture());
}
