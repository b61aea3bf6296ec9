#pragma once

#include "platform/Messages.h"

#include <cstdint>

namespace quillbox {

// The notification-area icon record in its first version: 88 bytes, 32-bit fields. A platform whose
// shell takes another layout maps this record onto its own.
struct TNotifyIconDataA
{
    std::uint32_t cbSize = 0;
    std::uint32_t hWnd = 0;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    std::uint32_t hIcon = 0;
    char szTip[64] = {};
};
static_assert(sizeof(TNotifyIconDataA) == 88, "the notify-icon record keeps its 88-byte layout");

namespace nim {
inline constexpr std::uint32_t NIM_ADD = 0;
inline constexpr std::uint32_t NIM_MODIFY = 1;
inline constexpr std::uint32_t NIM_DELETE = 2;
} // namespace nim

namespace nif {
inline constexpr std::uint32_t NIF_MESSAGE = 1;
inline constexpr std::uint32_t NIF_ICON = 2;
inline constexpr std::uint32_t NIF_TIP = 4;
} // namespace nif

// The shell's notification area. A press or move on an icon comes back as the record's callback
// message sent to its window, with the icon ID as WParam and the mouse message as LParam.
class IShell
{
public:
    IShell() = default;
    IShell(const IShell&) = delete;
    IShell& operator=(const IShell&) = delete;
    virtual ~IShell() = default;

    // Adds, modifies or deletes the icon the record names; true when done.
    virtual bool Shell_NotifyIcon(std::uint32_t operation, const TNotifyIconDataA& data) = 0;
};

} // namespace quillbox
