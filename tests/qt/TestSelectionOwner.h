#pragma once

#include <xcb/xcb.h>

#include <atomic>
#include <cstddef>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace quillbox::qt::test {

// How a test's clipboard owner behaves.
struct TOwnerScript
{
    enum class TFault {
        None,
        Hang,      // owns the selection and never answers a request
        DieMidIncr // sends the first INCR piece, then closes its connection
    };

    std::string Text;
    // The text targets served; TARGETS lists them (and itself) when ListsTargets, else it is refused.
    std::vector<std::string> Targets = {"UTF8_STRING", "STRING"};
    bool ListsTargets = true;
    // Further targets, each listed and served with its data (such as a password manager's marker).
    std::vector<std::pair<std::string, std::string>> Extra;
    // The type the text is sent in, whatever text target was asked for.
    std::string Type = "UTF8_STRING";
    // Above 0: the text goes by INCR, in pieces of this many bytes.
    std::size_t IncrPiece = 0;
    TFault Fault = TFault::None;
};

// Another X client that owns CLIPBOARD and serves it by a script, on its own connection and thread,
// as a program the user copies from would. The constructor returns once the server names it the
// owner; the destructor closes its connection, which gives the selection up.
class TTestSelectionOwner
{
public:
    explicit TTestSelectionOwner(TOwnerScript script);
    TTestSelectionOwner(const TTestSelectionOwner&) = delete;
    TTestSelectionOwner& operator=(const TTestSelectionOwner&) = delete;
    ~TTestSelectionOwner();

    // Requests for a text target that were answered with data (INCR transfers count once).
    int TextTransfers() const { return FTextTransfers.load(); }
    // Every request received, answered or not.
    int Requests() const { return FRequests.load(); }

private:
    struct TIncr
    {
        xcb_window_t Requestor;
        xcb_atom_t Property;
        xcb_atom_t Type;
        std::size_t Sent;
    };

    void Serve();
    void Answer(const xcb_selection_request_event_t& request);
    void SendPiece(TIncr& incr);
    xcb_atom_t Atom(const std::string& name);

    TOwnerScript FScript;
    xcb_connection_t* FConnection;
    xcb_window_t FWindow = 0;
    xcb_atom_t FClipboard = 0;
    std::vector<xcb_atom_t> FTargetAtoms;
    std::vector<xcb_atom_t> FExtraAtoms;
    xcb_atom_t FTargetsAtom = 0;
    xcb_atom_t FIncrAtom = 0;
    xcb_atom_t FTypeAtom = 0;
    std::vector<TIncr> FIncrs;
    int FStop[2] = {-1, -1};
    std::atomic<int> FTextTransfers{0};
    std::atomic<int> FRequests{0};
    bool FDead = false;
    std::thread FThread;
};

} // namespace quillbox::qt::test
