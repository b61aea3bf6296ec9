#pragma once

#include "platform/Shell.h"
#include "platform/qt/QtIcons.h"

#include <map>
#include <memory>
#include <utility>
#include <vector>

class QObject;
class QString;
class QSystemTrayIcon;

namespace quillbox::qt {

// The notification area through QSystemTrayIcon, which speaks StatusNotifierItem over D-Bus where a
// watcher runs and XEmbed otherwise (https://doc.qt.io/qt-6/qsystemtrayicon.html). One icon per
// (window, ID) of the records added. A press on an icon comes back as the record's callback message,
// sent to its window with the ID as WParam and the mouse messages Windows would report as LParam.
class TQtShell final : public IShell
{
public:
    TQtShell(IWindows& windows, const TQtIcons& icons);
    TQtShell(const TQtShell&) = delete;
    TQtShell& operator=(const TQtShell&) = delete;
    ~TQtShell() override;

    bool Shell_NotifyIcon(std::uint32_t operation, const TNotifyIconDataA& data) override;

    // The icon shown for a record; null when there is none.
    QSystemTrayIcon* TrayIcon(THandle wnd, std::uint32_t id) const;

private:
    struct TEntry
    {
        std::unique_ptr<QSystemTrayIcon> Icon;
        std::uint32_t CallbackMessage = 0;
    };
    using TKey = std::pair<THandle, std::uint32_t>;

    void Apply(TEntry& entry, const TNotifyIconDataA& data);
    void Activated(TKey key, int reason);

    IWindows& FWindows;
    const TQtIcons& FIcons;
    std::map<TKey, TEntry> FEntries;
    std::unique_ptr<QObject> FContext;
    bool FToldNoTray = false;
};

// The tip of a record as text: its bytes up to the first zero, without a UTF-8 sequence that the cut
// at 63 bytes left incomplete.
QString TipText(const char (&tip)[64]);

} // namespace quillbox::qt
