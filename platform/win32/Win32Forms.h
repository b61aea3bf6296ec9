#pragma once

#include "platform/FormView.h"

#include "platform/win32/Win32Api.h"

namespace quillbox::win32 {

class TWin32Windows;

// Forms as real windows, the thread's message loops, and the two reports as message boxes.
class TWin32Forms final : public IForms
{
public:
    TWin32Forms(HINSTANCE instance, TWin32Windows& windows);
    TWin32Forms(const TWin32Forms&) = delete;
    TWin32Forms& operator=(const TWin32Forms&) = delete;
    ~TWin32Forms() override;

    std::unique_ptr<IFormView> CreateView(const TFormDesc& desc, IFormEvents& events) override;
    TRect Screen() override;
    void RunLoop(const std::function<bool()>& done) override;
    void WakeUp() override;
    void ErrorBox(const std::string& caption, const std::string& text) override;
    void FatalBox(const std::string& caption, const std::string& text) override;

private:
    HINSTANCE FInstance;
    TWin32Windows& FWindows;
};

} // namespace quillbox::win32
