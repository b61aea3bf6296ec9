#pragma once

#include "platform/Graphics.h"

#include "platform/win32/Win32Api.h"

#include <optional>
#include <string_view>

namespace quillbox::win32 {

// Where one image of an .ico file lies in the file.
struct TIconEntry
{
    std::size_t Offset = 0;
    std::size_t Size = 0;
    int Width = 0;
    int Height = 0;
};

// The image of an .ico file to draw at `size` pixels: that size exactly, else the smallest larger
// one, else the largest. None for bytes that are no icon file, or whose entries lie outside it.
std::optional<TIconEntry> PickIconEntry(std::string_view file, int size);

// An icon handle of `size` pixels from the bytes of an .ico file; null when they give none. The
// caller owns the handle.
HICON CreateIconFromFile(std::string_view file, int size);

// Icons through CreateIconFromResourceEx, at the system's large-icon size.
class TWin32Icons final : public IIcons
{
public:
    THandle CreateIconFromImage(const std::string& image) override;
    void DestroyIcon(THandle icon) override;
};

} // namespace quillbox::win32
