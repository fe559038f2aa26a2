#include "ZelvorsCubeApp.h"

#include "AppSettings.h"
#include "CubeFiles.h"
#include "ZelvorsCubeDlg.h"

#include <QTimer>

#ifndef ZELVORS_VERSION
#error "ZELVORS_VERSION comes from the build: the VERSION of project() in the top CMakeLists.txt"
#endif

CZelvorsCubeApp::CZelvorsCubeApp(int& argc, char** argv) : QApplication(argc, argv)
{
    // The settings key is named, but the program's own settings are kept
    // under its own name (AppSettings.h).
    setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    setApplicationName(QStringLiteral("ZelvorsCube"));
    setApplicationDisplayName(QStringLiteral("Zelvors Cube Solver"));
    setApplicationVersion(QStringLiteral(ZELVORS_VERSION));
    setDesktopFileName(QStringLiteral("org.zelvors.zelvorscube"));
}

bool CZelvorsCubeApp::InitInstance()
{
    CZelvorsCubeDlg dlg;
    // Remembered options and recent files; the cube of this run is kept at Exit.
    dlg.Files().Remember(AppSettings::OpenProgramSettings());
    // ZelvorsCube FILE: the file is opened once the window is up.
    const QStringList args = arguments();
    if (args.size() > 1) {
        const QString strPath = args[1];
        QTimer::singleShot(0, &dlg, [&dlg, strPath] { dlg.Files().Open(strPath); });
    }
    dlg.exec();
    return false;
}
