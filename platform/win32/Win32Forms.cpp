#include "platform/win32/Win32Forms.h"

#include "platform/win32/MessageLoop.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32FormView.h"
#include "platform/win32/Win32Windows.h"

namespace quillbox::win32 {

TWin32Forms::TWin32Forms(HINSTANCE instance, TWin32Windows& windows) : FInstance(instance), FWindows(windows)
{
    TWin32FormView::RegisterClasses(instance);
}

TWin32Forms::~TWin32Forms()
{
    TWin32FormView::UnregisterClasses(FInstance);
}

std::unique_ptr<IFormView> TWin32Forms::CreateView(const TFormDesc& desc, IFormEvents& events)
{
    return std::make_unique<TWin32FormView>(FInstance, FWindows.ApplicationWindow(), desc, events);
}

TRect TWin32Forms::Screen()
{
    const UINT dpi = SystemDpi();
    return {0, 0, ScaleToDesign(::GetSystemMetrics(SM_CXSCREEN), dpi),
            ScaleToDesign(::GetSystemMetrics(SM_CYSCREEN), dpi)};
}

void TWin32Forms::RunLoop(const std::function<bool()>& done)
{
    RunMessageLoop(done);
}

void TWin32Forms::WakeUp()
{
    // Any message ends the loop's wait in GetMessageW; the application's window ignores this one.
    // PostMessageW may be called from any thread.
    ::PostMessageW(FWindows.ApplicationWindow(), WM_NULL, 0, 0);
}

void TWin32Forms::ErrorBox(const std::string& caption, const std::string& text)
{
    ::MessageBoxW(FWindows.ApplicationWindow(), Utf8ToWide(text).c_str(), Utf8ToWide(caption).c_str(),
                  MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

void TWin32Forms::FatalBox(const std::string& caption, const std::string& text)
{
    ::MessageBoxW(nullptr, Utf8ToWide(text).c_str(), Utf8ToWide(caption).c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

} // namespace quillbox::win32
