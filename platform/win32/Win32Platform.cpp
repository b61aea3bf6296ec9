#include "platform/win32/Win32Platform.h"

#include "platform/win32/WideText.h"

#include "platform/win32/Win32Api.h"

#include <vector>

namespace quillbox::win32 {

TWin32Platform::TWin32Platform(HINSTANCE instance)
    : FWindows(instance), FMenus(FWindows.MenuOwner()), FForms(instance, FWindows)
{
    // Registers the version 6 classes the manifest asks for.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
}

std::string TWin32Platform::ExecutableName()
{
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            const std::wstring_view full(path.data(), length);
            const auto slash = full.find_last_of(L"\\/");
            return WideToUtf8(slash == std::wstring_view::npos ? full : full.substr(slash + 1));
        }
        path.resize(path.size() * 2);
    }
}

} // namespace quillbox::win32

namespace quillbox {

std::unique_ptr<IPlatform> CreatePlatform()
{
    return std::make_unique<win32::TWin32Platform>(::GetModuleHandleW(nullptr));
}

} // namespace quillbox
