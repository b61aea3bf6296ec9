#include "app/Program.h"
#include "platform/Platform.h"
#include "platform/qt/QtIcons.h"
#include "platform/qt/QtPlatform.h"
#include "resources/Icons.h"

#include <QApplication>

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>

namespace {

// Whether Qt will run on X11: the clipboard is read there, so that is the platform unless the user
// asks for another. Qt would otherwise pick Wayland in a Wayland session that also offers X11.
bool UseX11()
{
    const char* requested = std::getenv("QT_QPA_PLATFORM");
    if (requested == nullptr || *requested == '\0') {
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
        return true;
    }
    return std::string_view(requested).substr(0, 3) == "xcb";
}

// Qt aborts with a core dump when it cannot reach the X server; tell the user plainly instead.
bool DisplayReachable()
{
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        std::fputs("quillbox: no X11 display: DISPLAY is not set. Start Quillbox inside a desktop session.\n", stderr);
        return false;
    }
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool reachable = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    if (!reachable)
        std::fprintf(stderr, "quillbox: cannot open the X11 display \"%s\".\n", display);
    return reachable;
}

} // namespace

int main(int argc, char** argv)
{
    if (UseX11() && !DisplayReachable())
        return 2;
    QApplication app(argc, argv);
    // Tray-resident: closing the settings dialog must not quit, which is QApplication's default when
    // the last window closes (https://doc.qt.io/qt-6/qguiapplication.html#quitOnLastWindowClosed-prop).
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName(QStringLiteral("quillbox"));
    QApplication::setDesktopFileName(QStringLiteral("quillbox"));
    QApplication::setWindowIcon(quillbox::qt::IconFromImage(quillbox::resources::MainIcon()));

    const std::unique_ptr<quillbox::IPlatform> platform = quillbox::CreatePlatform();
    if (!static_cast<quillbox::qt::TQtPlatform&>(*platform).WatchesClipboard())
        std::fputs("quillbox: the X server does not report clipboard changes (no XFixes); nothing will be saved.\n",
                   stderr);
    quillbox::InstallPlatform(platform.get());
    const int exitCode = quillbox::RunProgram();
    quillbox::InstallPlatform(nullptr);
    return exitCode;
}
