#pragma once
// The solution on paper and the cube as a picture.
//
// The sheet (File > Print Solution... and Export Solution as PDF...) is what a
// person follows on a real cube away from the screen: the method, the move
// count and metrics on top, the starting cube as a large net, then every move
// as a small net of the cube before it with the move's arrow (the next-move
// marker's arc on the turning face) and its name in standard notation and in
// the list's words, a dozen to a row, each stage of a layer-by-layer
// solution starting a row under its name. A row is never split across pages.
//
// The picture (Edit > Copy Picture, File > Export Picture...) is the net, or
// the 3D view as shown, as PNG or SVG.

#include "Compat.h"

#include <QImage>
#include <QObject>
#include <QRectF>
#include <QString>

#include <vector>

class CZelvorsCubeDlg;
class QMenu;
class QPagedPaintDevice;
class QPainter;

// What the sheet shows: a cube and a solution for it.
struct SolutionSheetData {
    BYTE colors[54] = {};        // the cube the solution starts from
    CStringArray moves;          // model groups, one a move
    std::vector<int> stages;     // empty, or the stage of each move
    QString strMethod;           // "lbl", "short", "optimal" or empty
};

// Draws the net of a cube into rc (12 by 9 facelets, centred), with the
// marker's arc for a move group on its face when strMove is one.
void DrawCubeNet(QPainter& painter, const QRectF& rc, const BYTE colors[54], const CString& strMove = CString());

// Lays the sheet out on a paged device, a new page where a row would not
// fit; returns the number of pages.
int RenderSolutionSheet(QPagedPaintDevice& device, const SolutionSheetData& data);

// The net as an image of the given width.
QImage NetImage(const BYTE colors[54], int nWidth);

class CSolutionSheetCommands : public QObject {
    Q_OBJECT

public:
    explicit CSolutionSheetCommands(CZelvorsCubeDlg& dlg);

    // Print Solution..., Export Solution as PDF..., Export Picture... in
    // the File menu; Copy Picture in the Edit menu.
    void CreateFileMenu(QMenu* pFile);
    void CreateEditMenu(QMenu* pEdit);

    // The dialog's cube and listed solution.
    SolutionSheetData Data() const;
    // Writes the sheet as PDF; false (after a box) when it cannot; the
    // number of pages in *pPages.
    bool ExportPdf(const QString& strPath, int* pPages = nullptr);
    // The picture as shown: the net, or the 3D view's frame.
    QImage Picture() const;
    // Writes the picture as PNG, or as SVG when the name ends in .svg.
    bool ExportPicture(const QString& strPath);

public slots:
    void OnPrint();
    void OnExportPdf();
    void OnExportPicture();
    void OnCopyPicture();

private:
    CZelvorsCubeDlg& m_dlg;
};
