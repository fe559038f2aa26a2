// ZelvorsCube: the desktop program. ZelvorsCube FILE opens a cube file.

#include "CubeWnd.h"
#include "ZelvorsCubeApp.h"

#include <QSurfaceFormat>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace {

// On X11 and Wayland desktops a missing display would end the program with a
// terse platform error; say plainly what is wrong instead.
bool HasDisplay()
{
#if defined(__unix__) && !defined(__APPLE__)
    if (std::getenv("QT_QPA_PLATFORM"))
        return true;
    const char* pszX = std::getenv("DISPLAY");
    const char* pszWayland = std::getenv("WAYLAND_DISPLAY");
    return (pszX && *pszX) || (pszWayland && *pszWayland);
#else
    return true;
#endif
}

const char kAdvice[] = "Start it from a desktop session, or on a headless machine under xvfb-run.\n";

// A display that is named but cannot be opened (a wrong name, a server that
// is gone) makes Qt end the program with a fatal message and an abort while
// the application object is being made. That fatal message is taken over:
// the program says in words what is wrong and ends with status 1.
QtMessageHandler g_previousHandler = nullptr;

void StartupMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& strMessage)
{
    if (type != QtFatalMsg) {
        if (g_previousHandler)
            g_previousHandler(type, context, strMessage);
        return;
    }
    const char* pszX = std::getenv("DISPLAY");
    const char* pszWayland = std::getenv("WAYLAND_DISPLAY");
    std::fprintf(stderr,
                 "ZelvorsCube: no display to open a window on: none could be opened "
                 "(DISPLAY=%s, WAYLAND_DISPLAY=%s).\n%s",
                 pszX ? pszX : "(unset)", pszWayland ? pszWayland : "(unset)", kAdvice);
    std::fflush(stderr);
    std::_Exit(1);
}

} // namespace

int main(int argc, char** argv)
{
    if (!HasDisplay()) {
        std::fprintf(stderr,
                     "ZelvorsCube: no display to open a window on (neither DISPLAY nor WAYLAND_DISPLAY is set).\n%s",
                     kAdvice);
        return 1;
    }
    QSurfaceFormat::setDefaultFormat(CCubeWnd::PixelFormat());
    g_previousHandler = qInstallMessageHandler(StartupMessageHandler);
    CZelvorsCubeApp theApp(argc, argv);
    qInstallMessageHandler(g_previousHandler);
    theApp.InitInstance();
    return 0;
}
