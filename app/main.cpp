// ZelvorsCube: the desktop program. It takes no arguments.

#include "CubeWnd.h"
#include "ZelvorsCubeApp.h"

#include <QSurfaceFormat>

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

} // namespace

int main(int argc, char** argv)
{
    if (!HasDisplay()) {
        std::fprintf(stderr,
                     "ZelvorsCube: no display to open a window on (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                     "Start it from a desktop session, or on a headless machine under xvfb-run.\n");
        return 1;
    }
    QSurfaceFormat::setDefaultFormat(CCubeWnd::PixelFormat());
    CZelvorsCubeApp theApp(argc, argv);
    theApp.InitInstance();
    return 0;
}
