#include "platform/win32/Win32Clipboard.h"

#include <cstring>

namespace quillbox::win32 {

namespace {

// OpenClipboard / CloseClipboard for one scope. The program that changed the clipboard may still
// hold it for a moment while it adds further formats, so the open is retried briefly.
class TOpenClipboard
{
public:
    TOpenClipboard()
    {
        for (int attempt = 0; attempt < TWin32Clipboard::KOpenAttempts; ++attempt) {
            if (::OpenClipboard(nullptr)) {
                FOpen = true;
                return;
            }
            ::Sleep(TWin32Clipboard::KOpenPauseMs);
        }
    }
    TOpenClipboard(const TOpenClipboard&) = delete;
    TOpenClipboard& operator=(const TOpenClipboard&) = delete;
    ~TOpenClipboard()
    {
        if (FOpen)
            ::CloseClipboard();
    }
    bool Open() const noexcept { return FOpen; }

private:
    bool FOpen = false;
};

class TGlobalLock
{
public:
    explicit TGlobalLock(HGLOBAL memory) noexcept : FMemory(memory), FData(::GlobalLock(memory)) {}
    TGlobalLock(const TGlobalLock&) = delete;
    TGlobalLock& operator=(const TGlobalLock&) = delete;
    ~TGlobalLock()
    {
        if (FData != nullptr)
            ::GlobalUnlock(FMemory);
    }
    const char* Data() const noexcept { return static_cast<const char*>(FData); }

private:
    HGLOBAL FMemory;
    void* FData;
};

} // namespace

bool TWin32Clipboard::HasText()
{
    return ::IsClipboardFormatAvailable(CF_TEXT) != FALSE;
}

// The markers with which password managers ask clipboard monitors not to record a copy
// (https://learn.microsoft.com/windows/win32/dataxchg/clipboard-formats#cloud-clipboard-and-clipboard-history-formats).
bool TWin32Clipboard::DoNotRecord()
{
    static const UINT exclude = ::RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing");
    static const UINT ignore = ::RegisterClipboardFormatW(L"Clipboard Viewer Ignore");
    static const UINT history = ::RegisterClipboardFormatW(L"CanIncludeInClipboardHistory");
    if ((exclude != 0 && ::IsClipboardFormatAvailable(exclude)) ||
        (ignore != 0 && ::IsClipboardFormatAvailable(ignore)))
        return true;
    if (history == 0 || !::IsClipboardFormatAvailable(history))
        return false;
    // Only a DWORD of zero says "not for the history"; its content needs the clipboard opened.
    const TOpenClipboard clipboard;
    if (!clipboard.Open())
        return false;
    const HANDLE memory = ::GetClipboardData(history);
    if (memory == nullptr || ::GlobalSize(memory) < sizeof(DWORD))
        return false;
    const TGlobalLock lock(memory);
    if (lock.Data() == nullptr)
        return false;
    DWORD value = 1;
    std::memcpy(&value, lock.Data(), sizeof value);
    return value == 0;
}

std::string TWin32Clipboard::GetText()
{
    // An owner that renders on request may not have its text ready yet (Wine's bridge to the X11
    // clipboard fetches it from the X owner then): while CF_TEXT is still offered, ask again briefly
    // rather than take an empty text for the copy.
    for (int attempt = 0; attempt < KOpenAttempts; ++attempt) {
        if (attempt > 0)
            ::Sleep(KOpenPauseMs);
        const TOpenClipboard clipboard;
        if (!clipboard.Open())
            return {};
        const HANDLE memory = ::GetClipboardData(CF_TEXT);
        if (memory == nullptr) {
            if (!::IsClipboardFormatAvailable(CF_TEXT))
                return {};
            continue;
        }
        const TGlobalLock lock(memory);
        if (lock.Data() == nullptr)
            return {};
        // The block may be larger than the text and need not end in a zero byte of its own.
        const std::size_t size = ::GlobalSize(memory);
        return {lock.Data(), ::strnlen(lock.Data(), size)};
    }
    return {};
}

} // namespace quillbox::win32
