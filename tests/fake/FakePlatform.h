#pragma once

#include "platform/Platform.h"
#include "platform/posix/PosixFileSystem.h"

#include "fake/FakeClipboard.h"
#include "fake/FakeClock.h"
#include "fake/FakeForms.h"
#include "fake/FakeRegistry.h"
#include "fake/FakeWindows.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace quillbox::test {

// A shell that records every notify-icon call, the record's bytes included, and can be told to
// refuse. It keeps the set of icons it shows, by window and ID.
class TFakeShell final : public IShell
{
public:
    struct TCall
    {
        std::uint32_t Operation;
        TNotifyIconDataA Data;
        std::string Tip() const { return Data.szTip; }
    };

    bool Shell_NotifyIcon(std::uint32_t operation, const TNotifyIconDataA& data) override;

    std::vector<TCall> Calls;
    bool Refuse = false;
    std::set<std::pair<THandle, std::uint32_t>> Shown;
};

// Icon handles that are counted, so a test sees every handle that was made and not destroyed.
class TFakeIcons final : public IIcons
{
public:
    THandle CreateIconFromImage(const std::string& image) override;
    void DestroyIcon(THandle icon) override { Live.erase(icon); }

    std::set<THandle> Live;

private:
    THandle FNext = 0x5000;
};

// A user at the popup menu: each showing is recorded, and Choose decides what is picked.
class TFakeMenus final : public IMenus
{
public:
    struct TShowing
    {
        std::vector<std::string> Captions;
        TPoint At;
    };

    int TrackPopupMenu(const std::vector<std::string>& captions, TPoint at) override;

    std::vector<TShowing> Showings;
    std::function<int(const std::vector<std::string>& captions)> Choose;
};

// The deterministic platform the tests run the core on. It installs itself for its lifetime (and puts
// back the one it replaced). Files
// are the real file system, so tests work in real temporary directories.
class TFakePlatform final : public IPlatform
{
public:
    TFakePlatform()
    {
        FakeMenus.Choose = [this](const std::vector<std::string>& captions) {
            return FakeForms.TakeMenuChoice(captions);
        };
        FPrevious = InstallPlatform(this);
    }
    ~TFakePlatform() override { InstallPlatform(FPrevious); }

    IWindows& Windows() override { return FakeWindows; }
    IShell& Shell() override { return FakeShell; }
    IIcons& Icons() override { return FakeIcons; }
    IMenus& Menus() override { return FakeMenus; }
    IClipboard& Clipboard() override { return FakeClipboard; }
    IRegistry& Registry() override { return FakeRegistry; }
    IClock& Clock() override { return FakeClock; }
    IFileSystem& Files() override { return RealFiles; }
    IForms& Forms() override { return FakeForms; }
    std::string ExecutableName() override { return Executable; }

    TFakeWindows FakeWindows;
    TFakeShell FakeShell;
    TFakeIcons FakeIcons;
    TFakeMenus FakeMenus;
    TFakeClipboard FakeClipboard;
    TFakeRegistry FakeRegistry;
    TFakeClock FakeClock;
    posix::TPosixFileSystem RealFiles;
    TFakeForms FakeForms;
    std::string Executable = "quillbox.exe";

private:
    IPlatform* FPrevious = nullptr;
};

} // namespace quillbox::test
