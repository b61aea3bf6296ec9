#pragma once

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace quillbox::qt {

// An xcb reply, freed with free() as libxcb requires.
struct TXcbFree
{
    void operator()(void* p) const noexcept { std::free(p); }
};
template <class T>
using TXcbReply = std::unique_ptr<T, TXcbFree>;

// A connection of our own to the X server, apart from Qt's, so that the clipboard can be read with
// our own bounded waits without touching the events Qt reads on its connection. Invariant: Get() is a
// connection without error from construction on, or the object is not constructed (Open gives null).
class TXcbConnection
{
public:
    // Connects to $DISPLAY; null when there is no display or it refuses us.
    static std::unique_ptr<TXcbConnection> Open();

    explicit TXcbConnection(xcb_connection_t* connection, int screen);
    TXcbConnection(const TXcbConnection&) = delete;
    TXcbConnection& operator=(const TXcbConnection&) = delete;
    ~TXcbConnection();

    xcb_connection_t* Get() const noexcept { return FConnection; }
    int Fd() const { return xcb_get_file_descriptor(FConnection); }
    xcb_screen_t* Screen() const noexcept { return FScreen; }
    bool HasError() const { return xcb_connection_has_error(FConnection) != 0; }

    // The atom of that name, created when missing; XCB_ATOM_NONE on failure.
    xcb_atom_t Atom(const std::string& name) const;
    std::string AtomName(xcb_atom_t atom) const;

    // An unmapped input-only window of ours, reporting property changes, to receive selections on.
    xcb_window_t CreateRequestorWindow() const;

private:
    xcb_connection_t* FConnection;
    xcb_screen_t* FScreen = nullptr;
};

// Whether X resource `id` was created by the client whose connection is `connection`: every client
// gets its own range of resource IDs (X11 protocol, "Connection Setup": resource-id-base/-mask).
bool CreatedBy(xcb_connection_t* connection, std::uint32_t id);

} // namespace quillbox::qt
