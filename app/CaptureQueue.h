#pragma once

#include "app/ClipSaving.h"

#include <deque>
#include <exception>
#include <functional>
#include <string>

namespace quillbox {

// Turns clipboard change notifications into saved clips. The text is taken once, at the
// notification, so each file holds the text that caused it. A notification that arrives while the
// file-name prompt is showing is queued with its text and saved, with its own prompt, as soon as the
// capture holding the prompt has finished; queued clips keep their order. Elsewhere a notification
// that arrives inside a nested loop (the overwrite confirmation, an error box) is saved at once.
// Errors are handed to the error report, never raised, so the notification still travels on.
class TCaptureQueue
{
public:
    using TReportError = std::function<void(const std::exception&)>;

    // `services` gives the prompt and confirmation; the queue watches the prompt through its own
    // wrapper of NameRequest.
    TCaptureQueue(const TCaptureServices& services, TReportError reportError);
    TCaptureQueue(const TCaptureQueue&) = delete;
    TCaptureQueue& operator=(const TCaptureQueue&) = delete;
    ~TCaptureQueue() = default;

    // One clipboard change notification.
    void ClipChange();

    // While held, clips are queued with their text and saved once Resume is called: the program
    // holds them until the file-name prompt exists.
    void Hold() { FHeld = true; }
    void Resume();

    bool PromptShowing() const { return FPromptDepth > 0; }
    std::size_t Pending() const { return FPending.size(); }

private:
    void Save(const std::string& text);
    void DrainPending();

    TCaptureServices FServices;
    std::function<std::string()> FNameRequest;
    TReportError FReportError;
    std::deque<std::string> FPending;
    int FPromptDepth = 0;
    bool FHeld = false;
};

} // namespace quillbox
