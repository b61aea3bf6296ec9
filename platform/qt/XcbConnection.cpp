#include "platform/qt/XcbConnection.h"

namespace quillbox::qt {

std::unique_ptr<TXcbConnection> TXcbConnection::Open()
{
    int screen = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screen);
    if (xcb_connection_has_error(connection) != 0) {
        // Even a failed connect returns an object that must be disconnected (xcb_connect(3)).
        xcb_disconnect(connection);
        return nullptr;
    }
    return std::make_unique<TXcbConnection>(connection, screen);
}

TXcbConnection::TXcbConnection(xcb_connection_t* connection, int screen) : FConnection(connection)
{
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; it.rem > 0 && i < screen; ++i)
        xcb_screen_next(&it);
    FScreen = it.data;
}

TXcbConnection::~TXcbConnection()
{
    xcb_disconnect(FConnection);
}

xcb_atom_t TXcbConnection::Atom(const std::string& name) const
{
    const auto cookie = xcb_intern_atom(FConnection, 0, static_cast<std::uint16_t>(name.size()), name.data());
    const TXcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(FConnection, cookie, nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::string TXcbConnection::AtomName(xcb_atom_t atom) const
{
    const TXcbReply<xcb_get_atom_name_reply_t> reply(
        xcb_get_atom_name_reply(FConnection, xcb_get_atom_name(FConnection, atom), nullptr));
    if (!reply)
        return {};
    return std::string(xcb_get_atom_name_name(reply.get()),
                       static_cast<std::size_t>(xcb_get_atom_name_name_length(reply.get())));
}

xcb_window_t TXcbConnection::CreateRequestorWindow() const
{
    const xcb_window_t window = xcb_generate_id(FConnection);
    const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(FConnection, XCB_COPY_FROM_PARENT, window, FScreen->root, -1, -1, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
    xcb_flush(FConnection);
    return window;
}

bool CreatedBy(xcb_connection_t* connection, std::uint32_t id)
{
    if (connection == nullptr || id == 0)
        return false;
    const xcb_setup_t* setup = xcb_get_setup(connection);
    return (id & ~setup->resource_id_mask) == (setup->resource_id_base & ~setup->resource_id_mask);
}

} // namespace quillbox::qt
