#pragma once

#include "platform/Platform.h"
#include "platform/win32/Win32Clipboard.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Forms.h"
#include "platform/win32/Win32Icons.h"
#include "platform/win32/Win32Menus.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32Windows.h"

namespace quillbox::win32 {

// Every operation of the core on the Windows API, for the GUI thread that makes it.
class TWin32Platform final : public IPlatform
{
public:
    explicit TWin32Platform(HINSTANCE instance);

    IWindows& Windows() override { return FWindows; }
    IShell& Shell() override { return FShell; }
    IIcons& Icons() override { return FIcons; }
    IMenus& Menus() override { return FMenus; }
    IClipboard& Clipboard() override { return FClipboard; }
    IRegistry& Registry() override { return FRegistry; }
    IClock& Clock() override { return FClock; }
    IFileSystem& Files() override { return FFiles; }
    IForms& Forms() override { return FForms; }
    std::string ExecutableName() override;

    TWin32Windows& Win32Windows() { return FWindows; }

private:
    TWin32Windows FWindows;
    TWin32Shell FShell;
    TWin32Icons FIcons;
    TWin32Menus FMenus;
    TWin32Clipboard FClipboard;
    TWin32Registry FRegistry;
    TWin32Clock FClock;
    TWin32FileSystem FFiles;
    TWin32Forms FForms;
};

} // namespace quillbox::win32
