#include "TestRunner.h"
#include "TestWindows.h"

#include "platform/win32/Win32Shell.h"

#include <cstring>

namespace quillbox::win32::test {

namespace {

TNotifyIconDataA Record(THandle wnd, const std::string& tip)
{
    TNotifyIconDataA data;
    data.cbSize = sizeof data;
    data.hWnd = wnd;
    data.uID = 7;
    data.uFlags = 7;
    data.uCallbackMessage = 1224;
    data.hIcon = 0;
    std::memcpy(data.szTip, tip.c_str(), tip.size() + 1);
    return data;
}

} // namespace

QB_TEST(Win32Shell, MapsTheFirstVersionRecordOntoTheNativeOne)
{
    TNotifyIconDataA data = Record(0x1234, "Quillbox");
    data.hIcon = 0x5678;
    // Flags of later versions are not the first version's and stay off.
    data.uFlags = 7 | 0x10;
    const NOTIFYICONDATAW native = ToNativeNotifyIconData(data);
    QB_CHECK_EQ(native.cbSize, static_cast<DWORD>(NOTIFYICONDATAW_V1_SIZE));
    QB_CHECK(native.hWnd == reinterpret_cast<HWND>(0x1234));
    QB_CHECK(native.hIcon == reinterpret_cast<HICON>(0x5678));
    QB_CHECK_EQ(native.uID, 7u);
    QB_CHECK_EQ(native.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    QB_CHECK_EQ(native.uCallbackMessage, 1224u);
}

QB_TEST(Win32Shell, TipReadsTheSameOnAnyCodePage)
{
    const struct
    {
        const char* Name;
        std::string Tip;
        std::wstring Expected;
    } cases[] = {
        {"the program's tip", "Quillbox", L"Quillbox"},
        {"empty", "", L""},
        {"Japanese", "ｸｲﾙﾎﾞｯｸｽ 常駐中", L"\uFF78\uFF72\uFF99\uFF8E\uFF9E\uFF6F\uFF78\uFF7D \u5E38\u99D0\u4E2D"},
        {"cut inside a character", "Quillbox \xE5\xB8", L"Quillbox \uFFFD"},
        {"the full 63 bytes", std::string(63, 'x'), std::wstring(63, L'x')},
    };
    for (const auto& c : cases) {
        const TTrace trace(c.Name);
        const NOTIFYICONDATAW native = ToNativeNotifyIconData(Record(1, c.Tip));
        QB_CHECK(std::wstring(native.szTip) == c.Expected);
    }
}

QB_TEST(Win32Shell, AddsModifiesAndDeletesAnIcon)
{
    TPlatformFixture fixture;
    TRecordingWindow window(fixture.Platform.Windows());
    IShell& shell = fixture.Platform.Shell();
    TNotifyIconDataA data = Record(window.Handle(), "Quillbox");
    data.hIcon = FromUserHandle(::LoadIconW(nullptr, IDI_APPLICATION));
    QB_CHECK(shell.Shell_NotifyIcon(NIM_ADD, data));
    std::strcpy(data.szTip, "changed");
    QB_CHECK(shell.Shell_NotifyIcon(NIM_MODIFY, data));
    QB_CHECK(shell.Shell_NotifyIcon(NIM_DELETE, data));
    // The shell no longer knows the icon.
    QB_CHECK(!shell.Shell_NotifyIcon(NIM_MODIFY, data));
}

} // namespace quillbox::win32::test
