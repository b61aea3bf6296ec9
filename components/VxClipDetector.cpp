#include "components/VxClipDetector.h"

#include "platform/Exceptions.h"
#include "platform/Platform.h"
#include "platform/ScopeExit.h"

namespace wm = quillbox::wm;

TVxClipDetector::TVxClipDetector(TComponent* owner) : TComponent(owner) {}

TVxClipDetector::~TVxClipDetector()
{
    if (FHandle != 0) {
        auto& windows = quillbox::Platform().Windows();
        windows.ChangeClipboardChain(FHandle, FNextViewer);
        windows.DeallocateHWnd(FHandle);
    }
}

void TVxClipDetector::SetOnClipChange(TNotifyEvent handler)
{
    if (Designing()) {
        FOnClipChange = handler;
        return;
    }
    auto& windows = quillbox::Platform().Windows();
    if (!handler.Assigned()) {
        if (FHandle == 0)
            return;
        windows.ChangeClipboardChain(FHandle, FNextViewer);
        windows.DeallocateHWnd(FHandle);
        FHandle = 0;
        FOnClipChange = {};
        return;
    }
    if (FHandle != 0) {
        FOnClipChange = handler;
        return;
    }
    FHandle = windows.AllocateHWnd(quillbox::TWndMethod::Of<&TVxClipDetector::WndProc>(this));
    if (FHandle == 0)
        throw EOutOfResources("TVxClipDetector.SetOnClipChange: Cannot Allocate HWnd");
    // Stored before joining: the platform delivers the joining notification inside the call.
    FOnClipChange = handler;
    FJoining = true;
    const quillbox::TScopeExit joined([this]() noexcept { FJoining = false; });
    FNextViewer = windows.SetClipboardViewer(FHandle);
}

void TVxClipDetector::DoClipChange()
{
    if (FOnClipChange.Assigned())
        FOnClipChange(this);
}

void TVxClipDetector::WndProc(quillbox::TMessage& message)
{
    auto& windows = quillbox::Platform().Windows();
    switch (message.Msg) {
    case wm::WM_DRAWCLIPBOARD:
        if (!(FIgnoreFirst && FJoining))
            DoClipChange();
        if (FNextViewer != 0)
            windows.SendMessage(FNextViewer, wm::WM_DRAWCLIPBOARD, 0, 0);
        break;
    case wm::WM_CHANGECBCHAIN:
        if (message.WParam == FNextViewer) {
            FNextViewer = message.LParam;
            message.Result = 0;
        } else {
            message.Result = windows.SendMessage(FNextViewer, wm::WM_CHANGECBCHAIN, message.WParam, message.LParam);
        }
        break;
    default:
        message.Result = windows.DefWindowProc(FHandle, message.Msg, message.WParam, message.LParam);
        break;
    }
}
