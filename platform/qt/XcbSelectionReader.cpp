#include "platform/qt/XcbSelectionReader.h"

#include <xcb/xfixes.h>

#include <algorithm>
#include <cerrno>
#include <poll.h>

namespace quillbox::qt {

namespace {

using TClock = std::chrono::steady_clock;

// Large properties are fetched in pieces of this many 32-bit units (4 MiB), so no single reply has to
// hold a whole 100 MiB text next to the string it is copied into.
constexpr std::uint32_t KChunkLongs = 1u << 20;
// As much as any property can hold: an INCR piece is fetched, and deleted, in one reply.
constexpr std::uint32_t KWholeProperty = 0x1fffffff;

std::uint8_t EventCode(const xcb_generic_event_t& event)
{
    return event.response_type & 0x7f;
}

} // namespace

class TXcbSelectionReader::TBudget
{
public:
    explicit TBudget(const TOptions& options) : FOptions(options), FStart(TClock::now()), FLastProgress(FStart) {}

    void Progress() { FLastProgress = TClock::now(); }

    // Milliseconds left to wait; 0 once the owner has been silent too long or the transfer too long.
    int RemainingMs() const
    {
        const auto end = std::min(FLastProgress + FOptions.IdleTimeout, FStart + FOptions.TotalLimit);
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - TClock::now()).count();
        return left > 0 ? static_cast<int>(left) : 0;
    }

private:
    const TOptions& FOptions;
    TClock::time_point FStart;
    TClock::time_point FLastProgress;
};

TXcbSelectionReader::TXcbSelectionReader(const TXcbConnection& connection, xcb_atom_t selection,
                                         std::uint8_t xfixesFirstEvent, TEventSink sink, TOptions options)
    : FConnection(connection), FSelection(selection), FXfixesFirstEvent(xfixesFirstEvent), FSink(std::move(sink)),
      FOptions(options), FWindow(connection.CreateRequestorWindow())
{
    FProperty = connection.Atom("QUILLBOX_SELECTION");
    FTargets = connection.Atom("TARGETS");
    FIncr = connection.Atom("INCR");
    FUtf8String = connection.Atom("UTF8_STRING");
    FTextPlainUtf8 = connection.Atom("text/plain;charset=utf-8");
    FText = connection.Atom("TEXT");
    FCompoundText = connection.Atom("COMPOUND_TEXT");
    FPasswordHint = connection.Atom("x-kde-passwordManagerHint");
}

TXcbSelectionReader::~TXcbSelectionReader()
{
    xcb_destroy_window(FConnection.Get(), FWindow);
    xcb_flush(FConnection.Get());
}

xcb_window_t TXcbSelectionReader::Owner() const
{
    xcb_connection_t* c = FConnection.Get();
    const TXcbReply<xcb_get_selection_owner_reply_t> reply(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, FSelection), nullptr));
    return reply ? reply->owner : xcb_window_t{XCB_WINDOW_NONE};
}

std::optional<std::string> TXcbSelectionReader::ReadText()
{
    const std::optional<TOffer> offer = ReadOffer();
    return offer ? ReadText(*offer) : std::nullopt;
}

std::optional<TXcbSelectionReader::TOffer> TXcbSelectionReader::ReadOffer()
{
    FOwner = Owner();
    FOwnerLost = false;
    FBudget = std::make_unique<TBudget>(FOptions);
    if (FOwner == XCB_WINDOW_NONE)
        return std::nullopt;
    const std::optional<std::pair<xcb_atom_t, std::string>> targets = Fetch(FTargets);
    if (FOwnerLost)
        return std::nullopt;
    TOffer offer;
    // An owner that does not list its targets (ICCCM requires it, but old clients skip it) is asked
    // for the two text targets every owner has.
    if (!targets || targets->first == FIncr) {
        offer.TextTargets = {FUtf8String, XCB_ATOM_STRING};
        return offer;
    }
    std::vector<xcb_atom_t> offered(targets->second.size() / sizeof(xcb_atom_t));
    std::copy_n(targets->second.data(), offered.size() * sizeof(xcb_atom_t), reinterpret_cast<char*>(offered.data()));
    auto lists = [&offered](xcb_atom_t target) {
        return std::find(offered.begin(), offered.end(), target) != offered.end();
    };
    for (const xcb_atom_t target : {FUtf8String, FTextPlainUtf8, xcb_atom_t{XCB_ATOM_STRING}, FText})
        if (lists(target))
            offer.TextTargets.push_back(target);
    if (!offer.TextTargets.empty() && lists(FPasswordHint)) {
        const std::optional<std::pair<xcb_atom_t, std::string>> hint = Fetch(FPasswordHint);
        if (FOwnerLost)
            return std::nullopt;
        offer.DoNotRecord = hint && hint->second.substr(0, hint->second.find('\0')) == "secret";
    }
    return offer;
}

std::optional<std::string> TXcbSelectionReader::ReadText(const TOffer& offer)
{
    if (!FBudget)
        FBudget = std::make_unique<TBudget>(FOptions);
    for (const xcb_atom_t target : offer.TextTargets) {
        if (FOwnerLost)
            break;
        if (std::optional<std::pair<xcb_atom_t, std::string>> data = Fetch(target))
            if (std::optional<std::string> text = Decode(data->first, std::move(data->second)))
                return text;
    }
    return std::nullopt;
}

std::optional<std::pair<xcb_atom_t, std::string>> TXcbSelectionReader::Fetch(xcb_atom_t target)
{
    xcb_atom_t property = XCB_ATOM_NONE;
    if (Convert(target, *FBudget, property) != TWait::Done) {
        FOwnerLost = true;
        return std::nullopt;
    }
    if (property == XCB_ATOM_NONE)
        return std::nullopt;
    xcb_atom_t type = XCB_ATOM_NONE;
    std::string data;
    if (!ReadProperty(type, data))
        return std::nullopt;
    if (type == FIncr) {
        if (ReadIncrementally(*FBudget, type, data) != TWait::Done) {
            FOwnerLost = true;
            return std::nullopt;
        }
        // No piece came before the closing empty one: an empty value of the target asked for.
        if (type == FIncr)
            type = target;
    }
    return std::pair(type, std::move(data));
}

TXcbSelectionReader::TWait TXcbSelectionReader::Convert(xcb_atom_t target, TBudget& budget, xcb_atom_t& property)
{
    xcb_connection_t* c = FConnection.Get();
    xcb_delete_property(c, FWindow, FProperty);
    xcb_convert_selection(c, FWindow, FSelection, target, FProperty, XCB_CURRENT_TIME);
    xcb_flush(c);
    xcb_atom_t answered = XCB_ATOM_NONE;
    const TWait wait = WaitFor(
        [&](const xcb_generic_event_t& event) {
            if (EventCode(event) != XCB_SELECTION_NOTIFY)
                return false;
            const auto& notify = reinterpret_cast<const xcb_selection_notify_event_t&>(event);
            if (notify.requestor != FWindow || notify.selection != FSelection || notify.target != target)
                return false;
            answered = notify.property;
            return true;
        },
        budget);
    if (wait == TWait::Done) {
        budget.Progress();
        property = answered;
    }
    return wait;
}

bool TXcbSelectionReader::ReadProperty(xcb_atom_t& type, std::string& data)
{
    xcb_connection_t* c = FConnection.Get();
    data.clear();
    for (std::uint32_t offset = 0;;) {
        const TXcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            c, xcb_get_property(c, 0, FWindow, FProperty, XCB_GET_PROPERTY_TYPE_ANY, offset, KChunkLongs), nullptr));
        if (!reply)
            return false;
        if (offset == 0)
            type = reply->type;
        const auto length = static_cast<std::size_t>(xcb_get_property_value_length(reply.get()));
        data.append(static_cast<const char*>(xcb_get_property_value(reply.get())), length);
        if (reply->bytes_after == 0 || type == FIncr)
            break;
        offset += static_cast<std::uint32_t>(length / 4);
    }
    if (type != FIncr)
        xcb_delete_property(c, FWindow, FProperty);
    return true;
}

TXcbSelectionReader::TWait TXcbSelectionReader::ReadIncrementally(TBudget& budget, xcb_atom_t& type, std::string& data)
{
    xcb_connection_t* c = FConnection.Get();
    data.clear();
    // Deleting the INCR property is what starts the owner sending (ICCCM §2.7.2).
    xcb_delete_property(c, FWindow, FProperty);
    xcb_flush(c);
    for (;;) {
        const TWait wait = WaitFor(
            [this](const xcb_generic_event_t& event) {
                if (EventCode(event) != XCB_PROPERTY_NOTIFY)
                    return false;
                const auto& notify = reinterpret_cast<const xcb_property_notify_event_t&>(event);
                return notify.window == FWindow && notify.atom == FProperty && notify.state == XCB_PROPERTY_NEW_VALUE;
            },
            budget);
        if (wait != TWait::Done)
            return wait;
        // Fetching with delete asks the owner for the next piece.
        const TXcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            c, xcb_get_property(c, 1, FWindow, FProperty, XCB_GET_PROPERTY_TYPE_ANY, 0, KWholeProperty), nullptr));
        xcb_flush(c);
        if (!reply)
            return TWait::OwnerGone;
        const auto length = static_cast<std::size_t>(xcb_get_property_value_length(reply.get()));
        if (length == 0)
            return TWait::Done;
        // Every piece is in the type of the whole (ICCCM §2.7.2).
        type = reply->type;
        data.append(static_cast<const char*>(xcb_get_property_value(reply.get())), length);
        budget.Progress();
    }
}

TXcbSelectionReader::TWait TXcbSelectionReader::WaitFor(const std::function<bool(const xcb_generic_event_t&)>& match,
                                                        TBudget& budget)
{
    xcb_connection_t* c = FConnection.Get();
    const std::uint8_t xfixesNotify = FXfixesFirstEvent + XCB_XFIXES_SELECTION_NOTIFY;
    for (;;) {
        while (xcb_generic_event_t* raw = xcb_poll_for_event(c)) {
            const TXcbReply<xcb_generic_event_t> event(raw);
            if (match(*event))
                return TWait::Done;
            bool ownerGone = false;
            if (FXfixesFirstEvent != 0 && EventCode(*event) == xfixesNotify) {
                const auto& notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t&>(*event);
                // The event may tell of an earlier owner, still queued from before this transfer; only
                // the server knows whether the owner being asked is still there.
                ownerGone = notify.selection == FSelection &&
                            (notify.subtype == XCB_XFIXES_SELECTION_EVENT_SELECTION_CLIENT_CLOSE ||
                             notify.subtype == XCB_XFIXES_SELECTION_EVENT_SELECTION_WINDOW_DESTROY) &&
                            Owner() != FOwner;
            }
            if (FSink)
                FSink(*event);
            if (ownerGone)
                return TWait::OwnerGone;
        }
        if (FConnection.HasError())
            return TWait::OwnerGone;
        const int remaining = budget.RemainingMs();
        if (remaining == 0)
            return TWait::TimedOut;
        pollfd fd{FConnection.Fd(), POLLIN, 0};
        if (::poll(&fd, 1, remaining) < 0 && errno != EINTR)
            return TWait::OwnerGone;
    }
}

std::optional<std::string> TXcbSelectionReader::Decode(xcb_atom_t type, std::string data) const
{
    if (type == XCB_ATOM_STRING) {
        data = Latin1ToUtf8(data);
    } else if (type == FCompoundText) {
        // Compound text is ASCII until its first escape sequence switches character sets; only that
        // part can be taken without a converter.
        for (const char ch : data)
            if (static_cast<unsigned char>(ch) >= 0x80 || ch == '\x1b')
                return std::nullopt;
    } else if (type != FUtf8String && type != FTextPlainUtf8) {
        return std::nullopt;
    }
    if (const auto zero = data.find('\0'); zero != std::string::npos)
        data.resize(zero);
    return data;
}

std::string Latin1ToUtf8(std::string_view data)
{
    std::string text;
    text.reserve(data.size());
    for (const char ch : data) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x80) {
            text.push_back(ch);
        } else {
            text.push_back(static_cast<char>(0xc0 | (byte >> 6)));
            text.push_back(static_cast<char>(0x80 | (byte & 0x3f)));
        }
    }
    return text;
}

} // namespace quillbox::qt
