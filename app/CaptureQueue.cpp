#include "app/CaptureQueue.h"

#include "platform/ScopeExit.h"

#include <utility>

namespace quillbox {

TCaptureQueue::TCaptureQueue(const TCaptureServices& services, TReportError reportError)
    : FServices(services), FNameRequest(services.NameRequest), FReportError(std::move(reportError))
{
    FServices.NameRequest = [this] {
        ++FPromptDepth;
        const TScopeExit leave([this]() noexcept { --FPromptDepth; });
        return FNameRequest();
    };
}

void TCaptureQueue::ClipChange()
{
    // A copy marked as not to be recorded counts as one that offers no text.
    if (!FServices.Clipboard.HasText() || FServices.Clipboard.DoNotRecord())
        return;
    // Queued behind any clip still waiting, so that clips are saved in the order they were copied.
    FPending.push_back(FServices.Clipboard.GetText());
    DrainPending();
}

void TCaptureQueue::Resume()
{
    FHeld = false;
    DrainPending();
}

void TCaptureQueue::Save(const std::string& text)
{
    try {
        SaveClip(FServices, text);
    } catch (const std::exception& e) {
        FReportError(e);
    }
}

void TCaptureQueue::DrainPending()
{
    // A drain may run nested inside the confirmation of a clip an outer drain is saving; both take
    // from the front, so the order holds.
    while (!FPending.empty() && !PromptShowing() && !FHeld) {
        const std::string text = std::move(FPending.front());
        FPending.pop_front();
        Save(text);
    }
}

} // namespace quillbox
