#pragma once

#include "platform/Clipboard.h"

#include "platform/win32/Win32Api.h"

namespace quillbox::win32 {

// The clipboard's CF_TEXT, byte for byte in the system's ANSI code page (the system converts
// Unicode text put there by other programs). The clipboard is opened only for the read itself, so
// it is never held across a dialog.
class TWin32Clipboard final : public IClipboard
{
public:
    // How often an open is tried while another program holds the clipboard, and the pause between.
    static constexpr int KOpenAttempts = 20;
    static constexpr DWORD KOpenPauseMs = 10;

    bool HasText() override;
    bool DoNotRecord() override;
    std::string GetText() override;
};

} // namespace quillbox::win32
