#include "TestRunner.h"
#include "TestWindows.h"

#include "platform/win32/Win32Clipboard.h"
#include "platform/win32/Win32Handles.h"

#include <thread>

namespace quillbox::win32::test {

namespace {

std::string Ansi(const std::wstring& text)
{
    const int size =
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), ansi.data(), size, nullptr, nullptr);
    return ansi;
}

std::string Utf16Bytes(const std::wstring& text)
{
    return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
}

// Another thread that opens the clipboard and keeps it open until told to close it. It opens it for a
// window of its own: Wine lets a second thread in while the holder opened it for no window.
class THolder
{
public:
    THolder()
        : FOpened(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          FRelease(::CreateEventW(nullptr, TRUE, FALSE, nullptr))
    {
        FThread = std::thread([this] {
            const TUniqueWindow owner(
                ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
            const bool opened = ::OpenClipboard(owner.Get()) != FALSE;
            ::SetEvent(FOpened.Get());
            ::WaitForSingleObject(FRelease.Get(), INFINITE);
            if (opened)
                ::CloseClipboard();
        });
        ::WaitForSingleObject(FOpened.Get(), INFINITE);
    }
    THolder(const THolder&) = delete;
    THolder& operator=(const THolder&) = delete;
    ~THolder()
    {
        Release();
        FThread.join();
    }
    void Release() { ::SetEvent(FRelease.Get()); }

private:
    struct TEventTraits
    {
        using Type = HANDLE;
        static Type Invalid() noexcept { return nullptr; }
        static void Close(Type h) noexcept { ::CloseHandle(h); }
    };
    TUniqueHandle<TEventTraits> FOpened;
    TUniqueHandle<TEventTraits> FRelease;
    std::thread FThread;
};

} // namespace

QB_TEST(Win32Clipboard, TextIsTheAnsiBytesUpToTheFirstZero)
{
    const struct
    {
        const char* Name;
        UINT Format;
        std::string Put;
        std::string Expected;
    } cases[] = {
        {"8-bit text, byte for byte", CF_TEXT, std::string("\x93\xfa\x96\x7b\r\n\0", 7), "\x93\xfa\x96\x7b\r\n"},
        {"cut at the first zero byte", CF_TEXT, std::string("abc\0def\0", 8), "abc"},
        {"Unicode text, converted by the system", CF_UNICODETEXT, Utf16Bytes(L"日本語 text"), Ansi(L"日本語 text")},
    };
    TWin32Clipboard clipboard;
    for (const auto& c : cases) {
        const TTrace trace(c.Name);
        PutOnClipboard(c.Format, c.Put);
        QB_CHECK(clipboard.HasText());
        QB_CHECK_EQ(clipboard.GetText(), c.Expected);
    }
}

QB_TEST(Win32Clipboard, NoTextGivesNothing)
{
    TWin32Clipboard clipboard;
    EmptyTheClipboard();
    QB_CHECK(!clipboard.HasText());
    QB_CHECK_EQ(clipboard.GetText(), std::string());
    const UINT other = ::RegisterClipboardFormatW(L"Quillbox test format");
    PutOnClipboard(other, "not text");
    QB_CHECK(!clipboard.HasText());
    QB_CHECK_EQ(clipboard.GetText(), std::string());
}

QB_TEST(Win32Clipboard, WaitsBrieflyForAnotherHolder)
{
    TWin32Clipboard clipboard;
    PutOnClipboard(CF_TEXT, std::string("held\0", 5));
    {
        THolder holder;
        // Released while the reader retries: well inside its attempts.
        std::thread release([&] {
            ::Sleep(TWin32Clipboard::KOpenPauseMs * 2);
            holder.Release();
        });
        QB_CHECK_EQ(clipboard.GetText(), std::string("held"));
        release.join();
    }
    {
        // Held throughout: the read gives up rather than freezing the program.
        THolder holder;
        QB_CHECK_EQ(clipboard.GetText(), std::string());
    }
    // And the clipboard was not left open by the failed read.
    QB_CHECK_EQ(clipboard.GetText(), std::string("held"));
}

} // namespace quillbox::win32::test
