// The end-to-end suite's hands inside Wine: another program's clipboard viewer, copying from a
// Windows program, and reading and pressing Quillbox's windows the way a user sees them.
//
//   e2e_helper viewer LOG      join the viewer chain; append "change HEX" to LOG per change
//   e2e_helper stop-viewer     ask the viewer to leave the chain and end
//   e2e_helper copy TEXT       put TEXT on the clipboard as Unicode text
//   e2e_helper copy-ansi HEX   put the bytes HEX on the clipboard as CF_TEXT
//   e2e_helper copy-marked FORMAT TEXT   put TEXT on the clipboard with a password manager's marker:
//                              the registered FORMAT (a DWORD 0 for CanIncludeInClipboardHistory)
//   e2e_helper box CAPTION     wait for a message box, print its text, press OK
//   e2e_helper dump CAPTION    wait for a visible window, print its controls, one per line:
//                              class|text|screen centre x,y|selected item
//   e2e_helper menu            wait for a popup menu to show
//   e2e_helper tray-post       post a left press on the tray icon to Quillbox's hidden windows
//
// Text goes out as UTF-8. Exit code 0 on success, 1 when the awaited window never came.

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr const wchar_t* KViewerClass = L"QuillboxE2eViewer";

std::string Utf8(const std::wstring& text)
{
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size, nullptr, nullptr);
    return utf8;
}

std::wstring TextOf(HWND wnd)
{
    wchar_t text[1024] = {};
    ::GetWindowTextW(wnd, text, 1024);
    return text;
}

std::wstring ClassOf(HWND wnd)
{
    wchar_t name[256] = {};
    ::GetClassNameW(wnd, name, 256);
    return name;
}

HWND WaitForWindow(const wchar_t* className, const wchar_t* caption)
{
    for (int attempt = 0; attempt < 200; ++attempt) {
        const HWND wnd = ::FindWindowW(className, caption);
        if (wnd != nullptr && ::IsWindowVisible(wnd))
            return wnd;
        ::Sleep(50);
    }
    return nullptr;
}

void Put(UINT format, const void* data, std::size_t size)
{
    for (int attempt = 0; attempt < 100 && !::OpenClipboard(nullptr); ++attempt)
        ::Sleep(20);
    ::EmptyClipboard();
    const HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(::GlobalLock(memory), data, size);
    ::GlobalUnlock(memory);
    ::SetClipboardData(format, memory);
    ::CloseClipboard();
}

HGLOBAL Block(const void* data, std::size_t size)
{
    const HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(::GlobalLock(memory), data, size);
    ::GlobalUnlock(memory);
    return memory;
}

// Text and a password manager's marker, put on the clipboard in one change, as such programs do.
int PutMarked(const wchar_t* marker, const std::wstring& text)
{
    const UINT format = ::RegisterClipboardFormatW(marker);
    for (int attempt = 0; attempt < 100 && !::OpenClipboard(nullptr); ++attempt)
        ::Sleep(20);
    ::EmptyClipboard();
    ::SetClipboardData(CF_UNICODETEXT, Block(text.c_str(), (text.size() + 1) * sizeof(wchar_t)));
    const DWORD zero = 0;
    ::SetClipboardData(format, Block(&zero, sizeof zero));
    ::CloseClipboard();
    return 0;
}

std::string ClipboardText()
{
    for (int attempt = 0; attempt < 50 && !::OpenClipboard(nullptr); ++attempt)
        ::Sleep(10);
    std::string text;
    if (const HANDLE memory = ::GetClipboardData(CF_TEXT)) {
        if (const auto* data = static_cast<const char*>(::GlobalLock(memory))) {
            text.assign(data, ::strnlen(data, ::GlobalSize(memory)));
            ::GlobalUnlock(memory);
        }
    }
    ::CloseClipboard();
    return text;
}

// The viewer.
HWND GNext = nullptr;
FILE* GLog = nullptr;

LRESULT CALLBACK ViewerProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_DRAWCLIPBOARD: {
        std::string hex;
        char byte[4];
        for (const unsigned char c : ClipboardText()) {
            std::snprintf(byte, sizeof byte, "%02x", c);
            hex += byte;
        }
        std::fprintf(GLog, "change %s\n", hex.c_str());
        std::fflush(GLog);
        if (GNext != nullptr)
            ::SendMessageW(GNext, msg, wParam, lParam);
        return 0;
    }
    case WM_CHANGECBCHAIN:
        if (reinterpret_cast<HWND>(wParam) == GNext)
            GNext = reinterpret_cast<HWND>(lParam);
        else if (GNext != nullptr)
            return ::SendMessageW(GNext, msg, wParam, lParam);
        return 0;
    case WM_CLOSE:
        ::ChangeClipboardChain(wnd, GNext);
        ::DestroyWindow(wnd);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(wnd, msg, wParam, lParam);
    }
}

int RunViewer(const wchar_t* logPath)
{
    GLog = ::_wfopen(logPath, L"a");
    if (GLog == nullptr)
        return 1;
    WNDCLASSW viewerClass{};
    viewerClass.lpfnWndProc = &ViewerProc;
    viewerClass.hInstance = ::GetModuleHandleW(nullptr);
    viewerClass.lpszClassName = KViewerClass;
    ::RegisterClassW(&viewerClass);
    const HWND wnd =
        ::CreateWindowExW(0, KViewerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, viewerClass.hInstance, nullptr);
    std::fputs("joining\n", GLog);
    GNext = ::SetClipboardViewer(wnd);
    std::fputs("ready\n", GLog);
    std::fflush(GLog);
    MSG msg{};
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    std::fputs("left\n", GLog);
    std::fclose(GLog);
    return 0;
}

int Box(const wchar_t* caption)
{
    const HWND box = WaitForWindow(L"#32770", caption);
    if (box == nullptr)
        return 1;
    wchar_t text[1024] = {};
    ::GetDlgItemTextW(box, 0xFFFF, text, 1024);
    std::fputs(Utf8(text).c_str(), stdout);
    std::fputs("\n", stdout);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    return 0;
}

BOOL CALLBACK DumpControl(HWND wnd, LPARAM)
{
    RECT rect{};
    ::GetWindowRect(wnd, &rect);
    std::wstring selected;
    const std::wstring className = ClassOf(wnd);
    if (_wcsicmp(className.c_str(), L"ComboBox") == 0) {
        const auto index = ::SendMessageW(wnd, CB_GETCURSEL, 0, 0);
        if (index != CB_ERR) {
            wchar_t item[256] = {};
            ::SendMessageW(wnd, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item));
            selected = item;
        }
    }
    std::printf("%s|%s|%ld,%ld|%s\n", Utf8(className).c_str(), Utf8(TextOf(wnd)).c_str(), (rect.left + rect.right) / 2,
                (rect.top + rect.bottom) / 2, Utf8(selected).c_str());
    return TRUE;
}

int Dump(const wchar_t* caption)
{
    const HWND wnd = WaitForWindow(nullptr, caption);
    if (wnd == nullptr)
        return 1;
    ::EnumChildWindows(wnd, &DumpControl, 0);
    return 0;
}

BOOL CALLBACK PostTrayPress(HWND wnd, LPARAM)
{
    if (ClassOf(wnd) == L"QuillboxHiddenWindow")
        ::PostMessageW(wnd, WM_USER + 200, 1, WM_LBUTTONDOWN);
    return TRUE;
}

std::string FromHex(const std::wstring& hex)
{
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<char>(std::stoi(Utf8(hex.substr(i, 2)), nullptr, 16)));
    return bytes;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring command = argc > 1 ? argv[1] : L"";
    const wchar_t* argument = argc > 2 ? argv[2] : L"";
    if (command == L"viewer")
        return RunViewer(argument);
    if (command == L"stop-viewer") {
        const HWND viewer = ::FindWindowW(KViewerClass, nullptr);
        return viewer != nullptr && ::PostMessageW(viewer, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (command == L"copy") {
        const std::wstring text = argument;
        Put(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        return 0;
    }
    if (command == L"copy-ansi") {
        const std::string bytes = FromHex(argument) + '\0';
        Put(CF_TEXT, bytes.data(), bytes.size());
        return 0;
    }
    if (command == L"copy-marked" && argc > 3)
        return PutMarked(argument, argv[3]);
    if (command == L"box")
        return Box(argument);
    if (command == L"dump")
        return Dump(argument);
    if (command == L"menu")
        return WaitForWindow(L"#32768", nullptr) != nullptr ? 0 : 1;
    if (command == L"tray-post")
        return ::EnumWindows(&PostTrayPress, 0) ? 0 : 1;
    std::fputs("usage: e2e_helper viewer|stop-viewer|copy|copy-ansi|box|dump|menu|tray-post ...\n", stderr);
    return 2;
}
