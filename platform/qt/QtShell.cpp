#include "platform/qt/QtShell.h"

#include <QApplication>
#include <QSystemTrayIcon>

#include <cstdio>
#include <cstring>

namespace quillbox::qt {

namespace {

// The mouse messages Windows reports for each kind of press Qt tells of.
std::vector<std::uint32_t> MouseMessages(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return {wm::WM_LBUTTONDOWN, wm::WM_LBUTTONUP};
    case QSystemTrayIcon::Context:
        return {wm::WM_RBUTTONDOWN, wm::WM_RBUTTONUP};
    case QSystemTrayIcon::DoubleClick:
        return {wm::WM_LBUTTONDBLCLK};
    case QSystemTrayIcon::MiddleClick:
        return {wm::WM_MBUTTONDOWN, wm::WM_MBUTTONUP};
    case QSystemTrayIcon::Unknown:
        break;
    }
    return {};
}

} // namespace

QString TipText(const char (&tip)[64])
{
    std::size_t length = strnlen(tip, sizeof tip);
    // Step back over the continuation bytes at the end and drop their lead byte when the sequence it
    // starts is longer than what is left.
    std::size_t start = length;
    while (start > 0 && (static_cast<unsigned char>(tip[start - 1]) & 0xc0) == 0x80)
        --start;
    if (start > 0) {
        const auto lead = static_cast<unsigned char>(tip[start - 1]);
        const std::size_t needed = lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : lead >= 0xc0 ? 2 : 1;
        if (length - (start - 1) < needed)
            length = start - 1;
    }
    return QString::fromUtf8(tip, static_cast<qsizetype>(length));
}

TQtShell::TQtShell(IWindows& windows, const TQtIcons& icons)
    : FWindows(windows), FIcons(icons), FContext(std::make_unique<QObject>())
{
}

TQtShell::~TQtShell() = default;

bool TQtShell::Shell_NotifyIcon(std::uint32_t operation, const TNotifyIconDataA& data)
{
    const TKey key{data.hWnd, data.uID};
    const auto it = FEntries.find(key);
    switch (operation) {
    case nim::NIM_ADD: {
        if (it != FEntries.end())
            return false;
        TEntry& entry = FEntries[key];
        entry.Icon = std::make_unique<QSystemTrayIcon>();
        // Queued: the press is reported once Qt has finished handling it. The window method pops up a
        // menu and may run a modal dialog's loop; run inside the XEmbed icon's mouse press handler,
        // that loop would leave the icon deaf to further presses until it ended.
        QObject::connect(
            entry.Icon.get(), &QSystemTrayIcon::activated, FContext.get(),
            [this, key](QSystemTrayIcon::ActivationReason reason) { Activated(key, reason); }, Qt::QueuedConnection);
        Apply(entry, data);
        if (entry.Icon->icon().isNull())
            entry.Icon->setIcon(QApplication::windowIcon());
        // Without a tray Qt keeps the icon and shows it once an XEmbed tray comes up: Qt 6 watches the
        // owner of the tray's manager selection _NET_SYSTEM_TRAY_S<screen> (freedesktop.org System Tray
        // Protocol), so the program runs on and saves clips meanwhile. A StatusNotifierWatcher that
        // starts later is not picked up: Qt 6.4 decides between D-Bus and XEmbed once per process.
        if (!QSystemTrayIcon::isSystemTrayAvailable() && !std::exchange(FToldNoTray, true))
            std::fputs("quillbox: no system tray is running; clips are still saved, and the icon appears when a "
                       "tray starts\n",
                       stderr);
        entry.Icon->show();
        return true;
    }
    case nim::NIM_MODIFY:
        if (it == FEntries.end())
            return false;
        Apply(it->second, data);
        return true;
    case nim::NIM_DELETE:
        if (it == FEntries.end())
            return false;
        it->second.Icon->hide();
        FEntries.erase(it);
        return true;
    default:
        return false;
    }
}

QSystemTrayIcon* TQtShell::TrayIcon(THandle wnd, std::uint32_t id) const
{
    const auto it = FEntries.find({wnd, id});
    return it != FEntries.end() ? it->second.Icon.get() : nullptr;
}

void TQtShell::Apply(TEntry& entry, const TNotifyIconDataA& data)
{
    if ((data.uFlags & nif::NIF_MESSAGE) != 0)
        entry.CallbackMessage = data.uCallbackMessage;
    if ((data.uFlags & nif::NIF_ICON) != 0) {
        const QIcon icon = FIcons.Icon(data.hIcon);
        if (!icon.isNull())
            entry.Icon->setIcon(icon);
    }
    if ((data.uFlags & nif::NIF_TIP) != 0)
        entry.Icon->setToolTip(TipText(data.szTip));
}

void TQtShell::Activated(TKey key, int reason)
{
    for (const std::uint32_t mouse : MouseMessages(static_cast<QSystemTrayIcon::ActivationReason>(reason))) {
        // Looked up afresh for each message: the one before may have deleted the icon (a menu command).
        const auto it = FEntries.find(key);
        if (it == FEntries.end())
            break;
        FWindows.SendMessage(key.first, it->second.CallbackMessage, key.second, mouse);
    }
}

} // namespace quillbox::qt
