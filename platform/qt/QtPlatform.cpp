#include "platform/qt/QtPlatform.h"

#include "platform/qt/XcbClipboard.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

namespace quillbox::qt {

namespace {

// Stands in for the clipboard where Qt does not run on X11: it never holds text.
class TNoClipboard final : public IClipboard
{
public:
    bool HasText() override { return false; }
    bool DoNotRecord() override { return false; }
    std::string GetText() override { return {}; }
};

xcb_connection_t* QtConnection()
{
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
        return nullptr;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

} // namespace

TQtPlatform::TQtPlatform()
    : FShell(FWindows, FIcons), FRegistry(posix::TFileRegistry::DefaultPath()),
      FSessionEnd([this] { FForms.EndSession(); })
{
    xcb_connection_t* own = QtConnection();
    std::unique_ptr<IClipboard> clipboard;
    if (own != nullptr)
        clipboard = TXcbClipboard::Create([this] { FWindows.ClipboardChanged(); }, own);
    FWatchesClipboard = clipboard != nullptr;
    FClipboard = FWatchesClipboard ? std::move(clipboard) : std::make_unique<TNoClipboard>();
}

TQtPlatform::~TQtPlatform() = default;

std::string TQtPlatform::ExecutableName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName().toStdString();
}

} // namespace quillbox::qt

namespace quillbox {

std::unique_ptr<IPlatform> CreatePlatform()
{
    return std::make_unique<qt::TQtPlatform>();
}

} // namespace quillbox
