#pragma once

#include "platform/Clipboard.h"
#include "platform/DateTime.h"
#include "platform/FileSystem.h"
#include "platform/FormView.h"
#include "platform/Graphics.h"
#include "platform/Menus.h"
#include "platform/Messages.h"
#include "platform/Registry.h"
#include "platform/Shell.h"

#include <memory>

namespace quillbox {

// Every operation the core relies on, as one object per process.
class IPlatform
{
public:
    IPlatform() = default;
    IPlatform(const IPlatform&) = delete;
    IPlatform& operator=(const IPlatform&) = delete;
    virtual ~IPlatform() = default;

    virtual IWindows& Windows() = 0;
    virtual IShell& Shell() = 0;
    virtual IIcons& Icons() = 0;
    virtual IMenus& Menus() = 0;
    virtual IClipboard& Clipboard() = 0;
    virtual IRegistry& Registry() = 0;
    virtual IClock& Clock() = 0;
    virtual IFileSystem& Files() = 0;
    virtual IForms& Forms() = 0;

    // The program's executable file name, without directories ("quillbox.exe", "quillbox").
    virtual std::string ExecutableName() = 0;
};

// The platform the class library and the components call. Installed once at start-up (and by each
// test); calling it with none installed is a programming error and aborts.
IPlatform& Platform();
// Returns the platform installed before.
IPlatform* InstallPlatform(IPlatform* platform);

// Made by the platform target the program links.
std::unique_ptr<IPlatform> CreatePlatform();

} // namespace quillbox
