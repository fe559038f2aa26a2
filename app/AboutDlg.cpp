#include "AboutDlg.h"

#include "DialogUnits.h"

#include <QBitmap>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include <algorithm>

#ifndef ZELVORS_VERSION_SHORT
#error "ZELVORS_VERSION_SHORT comes from the build: major.minor of project() VERSION"
#endif

CAboutDlg::CAboutDlg(QWidget* pParent) : QDialog(pParent)
{
    setWindowTitle(QStringLiteral("Dialog"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(DialogFont());
    const CDialogUnits du(font());
    setFixedSize(du.X(182), du.Y(58));

    auto* pOK = new QPushButton(QStringLiteral("OK"), this);
    pOK->setObjectName(QStringLiteral("IDOK"));
    pOK->setGeometry(du.Map(102, 37, 50, 14));
    pOK->setDefault(true);
    connect(pOK, &QPushButton::clicked, this, &QDialog::accept);

    // The name line shows the major and minor parts of the project's version.
    auto* pName = new QLabel(QStringLiteral("Zelvor's Cube Solver v " ZELVORS_VERSION_SHORT), this);
    pName->setGeometry(du.Map(80, 9, 82, 8));
    // The template's line is 91 dialog units wide: the text is kept short
    // enough to show whole.
    auto* pLine = new QLabel(QStringLiteral("Solved layer by layer."), this);
    pLine->setObjectName(QStringLiteral("IDC_ABOUT_LINE"));
    pLine->setGeometry(du.Map(80, 22, 91, 8));

    // The program's name is its own text: where the font is wider than the
    // one the template was laid out for, its line grows to the name (the box
    // has room to its right) rather than cut it.
    pName->resize(std::max(pName->width(), pName->fontMetrics().horizontalAdvance(pName->text()) + 1),
                  pName->height());

    // A picture control takes the size of its bitmap. The bitmap's own
    // background (the colour of its top-left pixel) is left out, so that the
    // picture sits on the dialog's background, whatever the style's grey.
    auto* pPicture = new QLabel(this);
    QPixmap picture(QStringLiteral(":/res/about.png"));
    if (!picture.isNull()) {
        const QImage image = picture.toImage();
        picture.setMask(QBitmap::fromImage(image.createMaskFromColor(image.pixel(0, 0), Qt::MaskInColor)));
    }
    pPicture->setPixmap(picture);
    pPicture->setGeometry(QRect(du.Map(17, 6, 0, 0).topLeft(), picture.size()));
    pOK->setFocus();
}
