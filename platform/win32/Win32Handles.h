#pragma once

#include "platform/Messages.h"
#include "platform/UniqueHandle.h"

#include "platform/win32/Win32Api.h"

#include <cstdint>

namespace quillbox::win32 {

// USER handles (windows, icons, menus) carry 32 significant bits on 64-bit Windows, so that 32-bit
// and 64-bit programs can share them; widening sign-extends.
// https://learn.microsoft.com/en-us/windows/win32/winprog64/interprocess-communication
inline HWND ToHwnd(THandle handle) noexcept
{
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(static_cast<std::int32_t>(handle)));
}

inline HICON ToHicon(THandle handle) noexcept
{
    return reinterpret_cast<HICON>(static_cast<std::intptr_t>(static_cast<std::int32_t>(handle)));
}

template <class H>
THandle FromUserHandle(H handle) noexcept
{
    return static_cast<THandle>(reinterpret_cast<std::uintptr_t>(handle));
}

// Message parameters travel in the core's 32-bit fields; handles among them widen as above.
inline WPARAM ToWParam(std::uint32_t value) noexcept
{
    return static_cast<WPARAM>(static_cast<std::intptr_t>(static_cast<std::int32_t>(value)));
}

inline LPARAM ToLParam(std::uint32_t value) noexcept
{
    return static_cast<LPARAM>(static_cast<std::int32_t>(value));
}

inline LRESULT ToLResult(std::uint32_t value) noexcept
{
    return static_cast<LRESULT>(static_cast<std::int32_t>(value));
}

struct TWindowTraits
{
    using Type = HWND;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DestroyWindow(h); }
};

struct TFileTraits
{
    using Type = HANDLE;
    // CreateFileW reports failure as INVALID_HANDLE_VALUE, not as null.
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { ::CloseHandle(h); }
};

struct TKeyTraits
{
    using Type = HKEY;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::RegCloseKey(h); }
};

struct TIconTraits
{
    using Type = HICON;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DestroyIcon(h); }
};

struct TMenuTraits
{
    using Type = HMENU;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DestroyMenu(h); }
};

struct TFontTraits
{
    using Type = HFONT;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DeleteObject(h); }
};

using TUniqueWindow = TUniqueHandle<TWindowTraits>;
using TUniqueFile = TUniqueHandle<TFileTraits>;
using TUniqueKey = TUniqueHandle<TKeyTraits>;
using TUniqueIcon = TUniqueHandle<TIconTraits>;
using TUniqueMenu = TUniqueHandle<TMenuTraits>;
using TUniqueFont = TUniqueHandle<TFontTraits>;

// A window's device context for one scope (GetDC / ReleaseDC).
class TWindowDC
{
public:
    explicit TWindowDC(HWND wnd) noexcept : FWnd(wnd), FDC(::GetDC(wnd)) {}
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    ~TWindowDC()
    {
        if (FDC != nullptr)
            ::ReleaseDC(FWnd, FDC);
    }
    HDC Get() const noexcept { return FDC; }

private:
    HWND FWnd;
    HDC FDC;
};

// A GDI object selected into a device context for one scope.
class TSelectObject
{
public:
    TSelectObject(HDC dc, HGDIOBJ object) noexcept : FDC(dc), FOld(::SelectObject(dc, object)) {}
    TSelectObject(const TSelectObject&) = delete;
    TSelectObject& operator=(const TSelectObject&) = delete;
    ~TSelectObject() { ::SelectObject(FDC, FOld); }

private:
    HDC FDC;
    HGDIOBJ FOld;
};

} // namespace quillbox::win32
