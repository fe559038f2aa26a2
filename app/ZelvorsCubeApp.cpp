#include "ZelvorsCubeApp.h"

#include "ZelvorsCubeDlg.h"

#ifndef ZELVORS_VERSION
#error "ZELVORS_VERSION comes from the build: the VERSION of project() in the top CMakeLists.txt"
#endif

CZelvorsCubeApp::CZelvorsCubeApp(int& argc, char** argv) : QApplication(argc, argv)
{
    // The settings key is named, but no settings are read or written.
    setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    setApplicationName(QStringLiteral("ZelvorsCube"));
    setApplicationDisplayName(QStringLiteral("Zelvors Cube Solver"));
    setApplicationVersion(QStringLiteral(ZELVORS_VERSION));
    setDesktopFileName(QStringLiteral("org.zelvors.zelvorscube"));
}

bool CZelvorsCubeApp::InitInstance()
{
    CZelvorsCubeDlg dlg;
    dlg.exec();
    return false;
}
