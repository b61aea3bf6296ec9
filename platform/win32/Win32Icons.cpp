#include "platform/win32/Win32Icons.h"

#include "platform/win32/Win32Handles.h"

#include <cstdint>
#include <cstring>

namespace quillbox::win32 {

namespace {

// The .ico file format: a 6-byte header and one 16-byte entry per image, little-endian.
// https://learn.microsoft.com/en-us/previous-versions/ms997538(v=msdn.10)
constexpr std::size_t KHeaderSize = 6;
constexpr std::size_t KEntrySize = 16;

std::uint32_t ReadLE(std::string_view bytes, std::size_t at, std::size_t width)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return value;
}

} // namespace

std::optional<TIconEntry> PickIconEntry(std::string_view file, int size)
{
    if (file.size() < KHeaderSize || ReadLE(file, 0, 2) != 0 || ReadLE(file, 2, 2) != 1)
        return std::nullopt;
    const std::size_t count = ReadLE(file, 4, 2);
    if (count == 0 || file.size() < KHeaderSize + count * KEntrySize)
        return std::nullopt;

    std::optional<TIconEntry> exact, larger, largest;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = KHeaderSize + i * KEntrySize;
        TIconEntry entry;
        // A width or height byte of 0 means 256.
        entry.Width = static_cast<int>(ReadLE(file, at, 1));
        entry.Height = static_cast<int>(ReadLE(file, at + 1, 1));
        entry.Width = entry.Width == 0 ? 256 : entry.Width;
        entry.Height = entry.Height == 0 ? 256 : entry.Height;
        entry.Size = ReadLE(file, at + 8, 4);
        entry.Offset = ReadLE(file, at + 12, 4);
        if (entry.Size == 0 || entry.Offset > file.size() || entry.Size > file.size() - entry.Offset)
            return std::nullopt;
        if (entry.Width == size && !exact)
            exact = entry;
        if (entry.Width > size && (!larger || entry.Width < larger->Width))
            larger = entry;
        if (!largest || entry.Width > largest->Width)
            largest = entry;
    }
    return exact ? exact : larger ? larger : largest;
}

HICON CreateIconFromFile(std::string_view file, int size)
{
    const auto entry = PickIconEntry(file, size);
    if (!entry)
        return nullptr;
    // CreateIconFromResourceEx takes a non-const buffer it does not write.
    std::string image(file.substr(entry->Offset, entry->Size));
    return ::CreateIconFromResourceEx(reinterpret_cast<PBYTE>(image.data()), static_cast<DWORD>(image.size()), TRUE,
                                      0x00030000, size, size, LR_DEFAULTCOLOR);
}

THandle TWin32Icons::CreateIconFromImage(const std::string& image)
{
    return FromUserHandle(CreateIconFromFile(image, ::GetSystemMetrics(SM_CXICON)));
}

void TWin32Icons::DestroyIcon(THandle icon)
{
    if (icon != 0)
        ::DestroyIcon(ToHicon(icon));
}

} // namespace quillbox::win32
