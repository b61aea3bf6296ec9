#pragma once

#include "platform/qt/XcbConnection.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quillbox::qt {

// Reads the text of one X selection on our own connection, as ICCCM §2 describes the transfer
// (https://x.org/releases/X11R7.7/doc/xorg-docs/icccm/icccm.html#Use_of_Selection_Atoms): TARGETS
// first, then UTF8_STRING, text/plain;charset=utf-8, STRING or TEXT, whole or by INCR. The owner is
// another program that may hang or die at any step, so every wait is bounded: the transfer gives up
// once the owner has sent nothing for IdleTimeout, or after TotalLimit in all. Events that arrive
// meanwhile and are not part of the transfer go to the event sink, in order, so none is lost.
class TXcbSelectionReader
{
public:
    struct TOptions
    {
        std::chrono::milliseconds IdleTimeout{900};
        std::chrono::milliseconds TotalLimit{60000};
    };
    using TEventSink = std::function<void(const xcb_generic_event_t& event)>;

    // xfixesFirstEvent: the XFixes extension's first event code, or 0 without XFixes; with it a
    // reader sees the owner's client die and stops waiting at once.
    TXcbSelectionReader(const TXcbConnection& connection, xcb_atom_t selection, std::uint8_t xfixesFirstEvent,
                        TEventSink sink, TOptions options);
    TXcbSelectionReader(const TXcbSelectionReader&) = delete;
    TXcbSelectionReader& operator=(const TXcbSelectionReader&) = delete;
    ~TXcbSelectionReader();

    // What the present owner offers.
    struct TOffer
    {
        // The text targets it offers, best first.
        std::vector<xcb_atom_t> TextTargets;
        // It lists x-kde-passwordManagerHint with the content "secret": the marker with which password
        // managers (KeePassXC, KDE's Klipper) ask clipboard monitors not to record the copy.
        bool DoNotRecord = false;
    };

    // Asks the present owner what it offers, and starts the wait budget for this owner; nullopt when
    // there is no owner, or it hangs or dies. An owner that does not list its targets is taken to
    // offer UTF8_STRING and STRING.
    std::optional<TOffer> ReadOffer();
    // The text of the first target of the offer that gives one, as UTF-8 up to its first zero byte;
    // nullopt when none does or the owner stops answering. Goes on with ReadOffer's budget.
    std::optional<std::string> ReadText(const TOffer& offer);
    // ReadOffer, then ReadText.
    std::optional<std::string> ReadText();

    // The present owner of the selection, XCB_WINDOW_NONE for none.
    xcb_window_t Owner() const;

private:
    class TBudget;
    enum class TWait { Done, TimedOut, OwnerGone };

    // The data and type the owner gives for `target`; nullopt when it refuses or stops answering
    // (then FOwnerLost is set).
    std::optional<std::pair<xcb_atom_t, std::string>> Fetch(xcb_atom_t target);
    // Asks for the selection in `target` and waits for the owner's answer: the property that holds
    // it, or XCB_ATOM_NONE when the owner refused.
    TWait Convert(xcb_atom_t target, TBudget& budget, xcb_atom_t& property);
    bool ReadProperty(xcb_atom_t& type, std::string& data);
    TWait ReadIncrementally(TBudget& budget, xcb_atom_t& type, std::string& data);
    // Waits for the first event `match` accepts; every other event goes to the sink.
    TWait WaitFor(const std::function<bool(const xcb_generic_event_t&)>& match, TBudget& budget);
    std::optional<std::string> Decode(xcb_atom_t type, std::string data) const;

    const TXcbConnection& FConnection;
    xcb_atom_t FSelection;
    std::uint8_t FXfixesFirstEvent;
    TEventSink FSink;
    TOptions FOptions;
    xcb_window_t FWindow;
    xcb_window_t FOwner = XCB_WINDOW_NONE;
    std::unique_ptr<TBudget> FBudget; // of the owner last asked
    bool FOwnerLost = false;          // that owner hung or died
    xcb_atom_t FProperty, FTargets, FIncr, FUtf8String, FTextPlainUtf8, FText, FCompoundText, FPasswordHint;
};

// The text of `data` in ISO 8859-1, the encoding of the STRING target, as UTF-8.
std::string Latin1ToUtf8(std::string_view data);

} // namespace quillbox::qt
