#pragma once

#include "platform/Platform.h"
#include "platform/posix/FileRegistry.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtForms.h"
#include "platform/qt/QtIcons.h"
#include "platform/qt/QtMenus.h"
#include "platform/qt/QtSessionEnd.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtWindows.h"

#include <memory>

namespace quillbox::qt {

// Every operation of the core on a Qt application: hidden windows, tray, menus and forms through Qt
// Widgets, the clipboard through X11, files and the registry through the POSIX layer. Needs a
// QApplication; made on the GUI thread, used only there.
class TQtPlatform final : public IPlatform
{
public:
    TQtPlatform();
    TQtPlatform(const TQtPlatform&) = delete;
    TQtPlatform& operator=(const TQtPlatform&) = delete;
    ~TQtPlatform() override;

    IWindows& Windows() override { return FWindows; }
    IShell& Shell() override { return FShell; }
    IIcons& Icons() override { return FIcons; }
    IMenus& Menus() override { return FMenus; }
    IClipboard& Clipboard() override { return *FClipboard; }
    IRegistry& Registry() override { return FRegistry; }
    IClock& Clock() override { return FClock; }
    IFileSystem& Files() override { return FFiles; }
    IForms& Forms() override { return FForms; }
    std::string ExecutableName() override;

    // Whether clipboard changes reach the viewer chain: false without an X11 display with XFixes.
    bool WatchesClipboard() const { return FWatchesClipboard; }

    TQtWindows& QtWindows() { return FWindows; }
    TQtShell& QtShell() { return FShell; }
    TQtForms& QtForms() { return FForms; }

private:
    TQtWindows FWindows;
    TQtIcons FIcons;
    TQtShell FShell;
    TQtMenus FMenus;
    TQtClock FClock;
    TQtForms FForms;
    posix::TPosixFileSystem FFiles;
    posix::TFileRegistry FRegistry;
    std::unique_ptr<IClipboard> FClipboard;
    TQtSessionEnd FSessionEnd;
    bool FWatchesClipboard = false;
};

} // namespace quillbox::qt
