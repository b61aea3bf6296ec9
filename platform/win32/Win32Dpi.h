#pragma once

#include "platform/FormView.h"

#include "platform/win32/Win32Api.h"

namespace quillbox::win32 {

// The forms' design density: every TRect and font height of the core is in pixels at 120 ppi.
inline constexpr int KDesignDpi = 120;

inline int ScaleToDpi(int designPixels, UINT dpi)
{
    return ::MulDiv(designPixels, static_cast<int>(dpi), KDesignDpi);
}

inline int ScaleToDesign(int pixels, UINT dpi)
{
    return ::MulDiv(pixels, KDesignDpi, static_cast<int>(dpi));
}

// The density of the monitor a window is on; the system's where the per-monitor call is missing
// (before Windows 10 1607), looked up at run time so that the program still starts there.
UINT DpiOfWindow(HWND wnd);
UINT SystemDpi();

// AdjustWindowRectEx for the frame metrics of a density.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi);

} // namespace quillbox::win32
