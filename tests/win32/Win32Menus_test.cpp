#include "TestRunner.h"
#include "TestWindows.h"

namespace quillbox::win32::test {

namespace {

struct TMenuSeen
{
    std::vector<std::wstring> Captions;
};

// On another thread: waits for the popup menu, reads its items and presses `keys` in it.
TMenuSeen UseMenu(const std::vector<WPARAM>& keys)
{
    TMenuSeen seen;
    const HWND popup = WaitForWindow(L"#32768");
    if (popup == nullptr)
        return seen;
    const auto menu = reinterpret_cast<HMENU>(::SendMessageW(popup, MN_GETHMENU, 0, 0));
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        wchar_t caption[64] = {};
        ::GetMenuStringW(menu, static_cast<UINT>(i), caption, 64, MF_BYPOSITION);
        seen.Captions.emplace_back(caption);
    }
    for (const WPARAM key : keys)
        ::PostMessageW(popup, WM_KEYDOWN, key, 0);
    return seen;
}

} // namespace

QB_TEST(Win32Menus, TellsWhichItemWasChosen)
{
    TPlatformFixture fixture;
    const std::vector<std::string> captions = {"設定", "ﾊﾞｰｼｮﾝ情報(&A)", "閉じる(&C)"};
    const struct
    {
        const char* Name;
        std::vector<WPARAM> Keys;
        int Chosen;
    } cases[] = {
        {"the second item", {VK_DOWN, VK_DOWN, VK_RETURN}, 1},
        {"by its access letter", {'C'}, 2},
        {"dismissed", {VK_ESCAPE}, -1},
    };
    for (const auto& c : cases) {
        const TTrace trace(c.Name);
        TMenuSeen seen;
        int chosen = -2;
        WhileRunning([&] { seen = UseMenu(c.Keys); },
                     [&] {
                         chosen = fixture.Platform.Menus().TrackPopupMenu(captions, {40, 40});
                     });
        QB_CHECK_EQ(chosen, c.Chosen);
        QB_CHECK(seen.Captions ==
                 (std::vector<std::wstring>{L"設定", L"\uFF8A\uFF9E\uFF70\uFF7C\uFF6E\uFF9D情報(&A)", L"閉じる(&C)"}));
    }
}

} // namespace quillbox::win32::test
