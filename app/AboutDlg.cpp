#include "AboutDlg.h"

#include "DialogUnits.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

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
    auto* pLine = new QLabel(QStringLiteral("Layer by layer, move by move."), this);
    pLine->setObjectName(QStringLiteral("IDC_ABOUT_LINE"));
    pLine->setGeometry(du.Map(80, 22, 91, 8));

    // A picture control takes the size of its bitmap.
    auto* pPicture = new QLabel(this);
    const QPixmap picture(QStringLiteral(":/res/about.png"));
    pPicture->setPixmap(picture);
    pPicture->setGeometry(QRect(du.Map(17, 6, 0, 0).topLeft(), picture.size()));
    pOK->setFocus();
}
