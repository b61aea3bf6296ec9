#pragma once

#include "platform/Clipboard.h"
#include "platform/qt/XcbSelectionReader.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QObject;
class QSocketNotifier;

namespace quillbox::qt {

// The X11 CLIPBOARD selection (never PRIMARY), watched and read on a connection of our own. XFixes
// tells us of every new owner (https://www.x.org/releases/current/doc/fixesproto/fixesproto.txt,
// "SelectSelectionInput"); each change made by another program calls `changed` once on the GUI
// thread, from the Qt event loop. Changes made by this process itself (Qt owning the clipboard after a
// copy in one of our edit boxes) call nothing. The text fetched for one change is kept until GetText
// takes it, so HasText followed by GetText transfers a large text once. A copy its owner marks as
// not to be recorded (a password manager's) is reported by DoNotRecord, and its text is never asked
// for.
class TXcbClipboard final : public IClipboard
{
public:
    // Null when there is no X display or it lacks XFixes. `ownConnection` is Qt's connection (null
    // when Qt runs on another platform), whose clients' windows count as this process's own.
    static std::unique_ptr<TXcbClipboard> Create(std::function<void()> changed, xcb_connection_t* ownConnection,
                                                 TXcbSelectionReader::TOptions options = {});

    TXcbClipboard(std::unique_ptr<TXcbConnection> connection, std::uint8_t xfixesFirstEvent,
                  std::function<void()> changed, xcb_connection_t* ownConnection,
                  TXcbSelectionReader::TOptions options);
    TXcbClipboard(const TXcbClipboard&) = delete;
    TXcbClipboard& operator=(const TXcbClipboard&) = delete;
    ~TXcbClipboard() override;

    bool HasText() override;
    bool DoNotRecord() override;
    std::string GetText() override;

private:
    // What is known of the clipboard of one generation.
    struct TCache
    {
        bool Valid = false;
        std::uint64_t Generation = 0;
        std::optional<TXcbSelectionReader::TOffer> Offer; // none: no owner, or it hung or died
        bool TextRead = false;
        std::optional<std::string> Text;
    };

    // Makes FCache tell of the present generation, asking the owner what it offers when needed.
    void Refresh();
    void ReadTextOnce();
    void Drain();
    void HandleEvent(const xcb_generic_event_t& event);
    void DeliverPending();
    // Events may sit in xcb's own queue after a transfer, where the socket notifier cannot see them.
    void QueueDrain();

    std::unique_ptr<TXcbConnection> FConnection;
    std::uint8_t FXfixesFirstEvent;
    std::function<void()> FChanged;
    xcb_connection_t* FOwnConnection;
    xcb_atom_t FClipboard;
    std::unique_ptr<TXcbSelectionReader> FReader;
    std::unique_ptr<QObject> FContext;
    std::unique_ptr<QSocketNotifier> FNotifier;
    std::uint64_t FGeneration = 0; // one more for every owner change seen
    bool FChangePending = false;
    bool FDrainQueued = false;
    bool FToldBroken = false;
    TCache FCache;
};

} // namespace quillbox::qt
