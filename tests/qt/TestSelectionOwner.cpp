#include "TestSelectionOwner.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

namespace quillbox::qt::test {

namespace {

template <class T>
using TReply = std::unique_ptr<T, decltype(&std::free)>;

} // namespace

TTestSelectionOwner::TTestSelectionOwner(TOwnerScript script) : FScript(std::move(script))
{
    int screenNumber = 0;
    FConnection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(FConnection) != 0) {
        xcb_disconnect(FConnection);
        throw std::runtime_error("the test owner cannot reach the X server");
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(FConnection));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&screens);
    FWindow = xcb_generate_id(FConnection);
    xcb_create_window(FConnection, XCB_COPY_FROM_PARENT, FWindow, screens.data->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    FClipboard = Atom("CLIPBOARD");
    for (const std::string& name : FScript.Targets)
        FTargetAtoms.push_back(Atom(name));
    for (const auto& [name, data] : FScript.Extra)
        FExtraAtoms.push_back(Atom(name));
    FTargetsAtom = Atom("TARGETS");
    FIncrAtom = Atom("INCR");
    FTypeAtom = Atom(FScript.Type);
    xcb_set_selection_owner(FConnection, FWindow, FClipboard, XCB_CURRENT_TIME);
    const TReply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(FConnection, xcb_get_selection_owner(FConnection, FClipboard), nullptr),
        &std::free);
    if (!owner || owner->owner != FWindow) {
        xcb_disconnect(FConnection);
        throw std::runtime_error("the test owner did not get CLIPBOARD");
    }
    if (::pipe(FStop) != 0) {
        xcb_disconnect(FConnection);
        throw std::runtime_error("pipe");
    }
    FThread = std::thread([this] { Serve(); });
}

TTestSelectionOwner::~TTestSelectionOwner()
{
    const char byte = 0;
    [[maybe_unused]] const ssize_t written = ::write(FStop[1], &byte, 1);
    FThread.join();
    if (!FDead)
        xcb_disconnect(FConnection);
    ::close(FStop[0]);
    ::close(FStop[1]);
}

xcb_atom_t TTestSelectionOwner::Atom(const std::string& name)
{
    const TReply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(FConnection,
                              xcb_intern_atom(FConnection, 0, static_cast<std::uint16_t>(name.size()), name.data()),
                              nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

void TTestSelectionOwner::Serve()
{
    pollfd fds[2] = {{xcb_get_file_descriptor(FConnection), POLLIN, 0}, {FStop[0], POLLIN, 0}};
    while (!FDead) {
        while (xcb_generic_event_t* raw = xcb_poll_for_event(FConnection)) {
            const TReply<xcb_generic_event_t> event(raw, &std::free);
            const std::uint8_t code = event->response_type & 0x7f;
            if (code == XCB_SELECTION_REQUEST) {
                ++FRequests;
                if (FScript.Fault != TOwnerScript::TFault::Hang)
                    Answer(*reinterpret_cast<const xcb_selection_request_event_t*>(event.get()));
            } else if (code == XCB_PROPERTY_NOTIFY) {
                const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event.get());
                if (notify->state != XCB_PROPERTY_DELETE)
                    continue;
                const auto incr = std::find_if(FIncrs.begin(), FIncrs.end(), [&](const TIncr& i) {
                    return i.Requestor == notify->window && i.Property == notify->atom;
                });
                if (incr != FIncrs.end())
                    SendPiece(*incr);
            }
            if (FDead)
                return;
        }
        if (xcb_connection_has_error(FConnection) != 0)
            return;
        ::poll(fds, 2, -1);
        if ((fds[1].revents & POLLIN) != 0)
            return;
    }
}

void TTestSelectionOwner::Answer(const xcb_selection_request_event_t& request)
{
    const xcb_atom_t property = request.property != XCB_ATOM_NONE ? request.property : request.target;
    bool served = false;
    if (request.target == FTargetsAtom) {
        if (FScript.ListsTargets) {
            std::vector<xcb_atom_t> targets = {FTargetsAtom};
            targets.insert(targets.end(), FTargetAtoms.begin(), FTargetAtoms.end());
            targets.insert(targets.end(), FExtraAtoms.begin(), FExtraAtoms.end());
            xcb_change_property(FConnection, XCB_PROP_MODE_REPLACE, request.requestor, property, XCB_ATOM_ATOM, 32,
                                static_cast<std::uint32_t>(targets.size()), targets.data());
            served = true;
        }
    } else if (const auto extra = std::find(FExtraAtoms.begin(), FExtraAtoms.end(), request.target);
               extra != FExtraAtoms.end()) {
        const std::string& data = FScript.Extra[static_cast<std::size_t>(extra - FExtraAtoms.begin())].second;
        xcb_change_property(FConnection, XCB_PROP_MODE_REPLACE, request.requestor, property, request.target, 8,
                            static_cast<std::uint32_t>(data.size()), data.data());
        served = true;
    } else if (std::find(FTargetAtoms.begin(), FTargetAtoms.end(), request.target) != FTargetAtoms.end()) {
        const xcb_atom_t type = FTypeAtom;
        if (FScript.IncrPiece > 0) {
            const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
            xcb_change_window_attributes(FConnection, request.requestor, XCB_CW_EVENT_MASK, &events);
            const auto size = static_cast<std::uint32_t>(FScript.Text.size());
            xcb_change_property(FConnection, XCB_PROP_MODE_REPLACE, request.requestor, property, FIncrAtom, 32, 1,
                                &size);
            FIncrs.push_back({request.requestor, property, type, 0});
        } else {
            xcb_change_property(FConnection, XCB_PROP_MODE_REPLACE, request.requestor, property, type, 8,
                                static_cast<std::uint32_t>(FScript.Text.size()), FScript.Text.data());
        }
        ++FTextTransfers;
        served = true;
    }
    xcb_selection_notify_event_t notify{};
    notify.response_type = XCB_SELECTION_NOTIFY;
    notify.time = request.time;
    notify.requestor = request.requestor;
    notify.selection = request.selection;
    notify.target = request.target;
    notify.property = served ? property : xcb_atom_t{XCB_ATOM_NONE};
    xcb_send_event(FConnection, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&notify));
    xcb_flush(FConnection);
}

void TTestSelectionOwner::SendPiece(TIncr& incr)
{
    const std::size_t length = std::min(FScript.IncrPiece, FScript.Text.size() - incr.Sent);
    xcb_change_property(FConnection, XCB_PROP_MODE_REPLACE, incr.Requestor, incr.Property, incr.Type, 8,
                        static_cast<std::uint32_t>(length), FScript.Text.data() + incr.Sent);
    xcb_flush(FConnection);
    const bool first = incr.Sent == 0;
    incr.Sent += length;
    if (length == 0) {
        FIncrs.erase(FIncrs.begin() + (&incr - FIncrs.data()));
        return;
    }
    if (first && FScript.Fault == TOwnerScript::TFault::DieMidIncr) {
        xcb_disconnect(FConnection);
        FDead = true;
    }
}

} // namespace quillbox::qt::test
