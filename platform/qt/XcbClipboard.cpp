#include "platform/qt/XcbClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QObject>
#include <QSocketNotifier>

#include <xcb/xfixes.h>

#include <cstdio>

namespace quillbox::qt {

std::unique_ptr<TXcbClipboard> TXcbClipboard::Create(std::function<void()> changed, xcb_connection_t* ownConnection,
                                                     TXcbSelectionReader::TOptions options)
{
    auto connection = TXcbConnection::Open();
    if (!connection)
        return nullptr;
    xcb_connection_t* c = connection->Get();
    const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(c, &xcb_xfixes_id);
    if (xfixes == nullptr || xfixes->present == 0)
        return nullptr;
    // A client must announce the XFixes version it speaks before any other XFixes request.
    const TXcbReply<xcb_xfixes_query_version_reply_t> version(xcb_xfixes_query_version_reply(
        c, xcb_xfixes_query_version(c, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION), nullptr));
    if (!version)
        return nullptr;
    return std::make_unique<TXcbClipboard>(std::move(connection), xfixes->first_event, std::move(changed),
                                           ownConnection, options);
}

TXcbClipboard::TXcbClipboard(std::unique_ptr<TXcbConnection> connection, std::uint8_t xfixesFirstEvent,
                             std::function<void()> changed, xcb_connection_t* ownConnection,
                             TXcbSelectionReader::TOptions options)
    : FConnection(std::move(connection)), FXfixesFirstEvent(xfixesFirstEvent), FChanged(std::move(changed)),
      FOwnConnection(ownConnection), FClipboard(FConnection->Atom("CLIPBOARD")), FContext(std::make_unique<QObject>())
{
    FReader = std::make_unique<TXcbSelectionReader>(
        *FConnection, FClipboard, FXfixesFirstEvent, [this](const xcb_generic_event_t& event) { HandleEvent(event); },
        options);
    xcb_connection_t* c = FConnection->Get();
    xcb_xfixes_select_selection_input(c, FConnection->Screen()->root, FClipboard,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    xcb_flush(c);
    FNotifier = std::make_unique<QSocketNotifier>(FConnection->Fd(), QSocketNotifier::Read);
    QObject::connect(FNotifier.get(), &QSocketNotifier::activated, FContext.get(), [this] { Drain(); });
}

TXcbClipboard::~TXcbClipboard() = default;

bool TXcbClipboard::HasText()
{
    Refresh();
    if (!FCache.Offer || FCache.Offer->TextTargets.empty())
        return false;
    // A marked copy has text, but it is not read: the caller asks DoNotRecord next and stops there.
    if (FCache.Offer->DoNotRecord)
        return true;
    ReadTextOnce();
    return FCache.Text.has_value();
}

bool TXcbClipboard::DoNotRecord()
{
    Refresh();
    return FCache.Offer && FCache.Offer->DoNotRecord;
}

std::string TXcbClipboard::GetText()
{
    Refresh();
    if (!FCache.Offer || FCache.Offer->DoNotRecord)
        return std::string();
    ReadTextOnce();
    // Taken, not kept: the next question about the clipboard asks its owner afresh.
    std::string text = std::move(FCache.Text).value_or(std::string());
    FCache = {};
    return text;
}

void TXcbClipboard::Refresh()
{
    if (FCache.Valid && FCache.Generation == FGeneration)
        return;
    FCache = {true, FGeneration, std::nullopt, false, std::nullopt};
    if (FConnection->HasError())
        return;
    const xcb_window_t owner = FReader->Owner();
    if (owner == XCB_WINDOW_NONE)
        return;
    // Qt serves our own selection from this very thread, which would sit waiting for us; it hands
    // over its own data directly instead.
    if (CreatedBy(FOwnConnection, owner)) {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
        TXcbSelectionReader::TOffer offer;
        if (data != nullptr && data->hasText()) {
            offer.TextTargets.push_back(XCB_ATOM_STRING);
            offer.DoNotRecord = data->data(QStringLiteral("x-kde-passwordManagerHint")) == "secret";
            FCache.Text = data->text().toStdString();
        }
        FCache.Offer = offer;
        FCache.TextRead = true;
        return;
    }
    FCache.Offer = FReader->ReadOffer();
    QueueDrain();
}

void TXcbClipboard::ReadTextOnce()
{
    if (std::exchange(FCache.TextRead, true) || !FCache.Offer)
        return;
    FCache.Text = FReader->ReadText(*FCache.Offer);
    QueueDrain();
}

void TXcbClipboard::Drain()
{
    FDrainQueued = false;
    xcb_connection_t* c = FConnection->Get();
    while (xcb_generic_event_t* raw = xcb_poll_for_event(c)) {
        const TXcbReply<xcb_generic_event_t> event(raw);
        HandleEvent(*event);
    }
    if (FConnection->HasError()) {
        FNotifier->setEnabled(false);
        if (!std::exchange(FToldBroken, true))
            std::fputs("quillbox: lost the connection to the X server; clipboard changes are no longer seen\n", stderr);
        return;
    }
    DeliverPending();
}

void TXcbClipboard::HandleEvent(const xcb_generic_event_t& event)
{
    if ((event.response_type & 0x7f) != FXfixesFirstEvent + XCB_XFIXES_SELECTION_NOTIFY)
        return;
    const auto& notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t&>(event);
    if (notify.selection != FClipboard)
        return;
    ++FGeneration;
    // An owner that goes away leaves no text, so only a new owner is a change worth a capture.
    if (notify.subtype != XCB_XFIXES_SELECTION_EVENT_SET_SELECTION_OWNER || notify.owner == XCB_WINDOW_NONE)
        return;
    if (CreatedBy(FOwnConnection, notify.owner) || CreatedBy(FConnection->Get(), notify.owner))
        return;
    FChangePending = true;
    QueueDrain();
}

void TXcbClipboard::DeliverPending()
{
    // Changes seen together are reported once: X keeps no earlier owner's text to read anyway.
    if (std::exchange(FChangePending, false) && FChanged)
        FChanged();
}

void TXcbClipboard::QueueDrain()
{
    if (std::exchange(FDrainQueued, true))
        return;
    QMetaObject::invokeMethod(
        FContext.get(), [this] { Drain(); }, Qt::QueuedConnection);
}

} // namespace quillbox::qt
