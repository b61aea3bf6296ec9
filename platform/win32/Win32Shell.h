#pragma once

#include "platform/Shell.h"

#include "platform/win32/Win32Api.h"

namespace quillbox::win32 {

// The component's first-version record in the layout of this build's Shell_NotifyIconW: native
// handle widths, and the tip, UTF-8 in the core, as UTF-16 so that it reads right on any system
// code page.
NOTIFYICONDATAW ToNativeNotifyIconData(const TNotifyIconDataA& data);

// The notification area through Shell_NotifyIconW.
class TWin32Shell final : public IShell
{
public:
    bool Shell_NotifyIcon(std::uint32_t operation, const TNotifyIconDataA& data) override;
};

} // namespace quillbox::win32
