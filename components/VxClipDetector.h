#pragma once

#include "platform/Classes.h"
#include "platform/Messages.h"

// A member of the clipboard viewer chain that fires OnClipChange for every clipboard change. It
// joins the chain when a handler is assigned and leaves it when the handler is cleared or the
// detector is destroyed; it passes every notification on to the next viewer after its handler has
// returned and repairs its link when that viewer leaves.
// Invariant outside the designing state: the hidden window is non-zero exactly while the detector is
// a member of the chain, and that is exactly while a handler is assigned.
class TVxClipDetector : public TComponent
{
public:
    explicit TVxClipDetector(TComponent* owner);
    ~TVxClipDetector() override;

    bool IgnoreFirst() const { return FIgnoreFirst; }
    void SetIgnoreFirst(bool value) { FIgnoreFirst = value; }

    const TNotifyEvent& OnClipChange() const { return FOnClipChange; }
    // Joins the chain for the first handler, leaves it for no handler (a null code part), and only
    // replaces the handler while a member. Raises EOutOfResources when no window can be had.
    void SetOnClipChange(TNotifyEvent handler);

    quillbox::THandle Handle() const { return FHandle; }
    quillbox::THandle NextViewer() const { return FNextViewer; }

protected:
    // Fires OnClipChange. A descendant may act on a change another way.
    virtual void DoClipChange();

private:
    void WndProc(quillbox::TMessage& message);

    quillbox::THandle FNextViewer = 0;
    TNotifyEvent FOnClipChange;
    bool FJoining = false;
    bool FIgnoreFirst = true;
    quillbox::THandle FHandle = 0;
};
