#pragma once

#include <utility>

namespace quillbox {

// Runs a piece of undo work when the scope ends, unless Dismiss() was called first.
template <class F>
class TScopeExit
{
public:
    explicit TScopeExit(F f) noexcept : FAction(std::move(f)) {}
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;
    TScopeExit(TScopeExit&&) = delete;
    TScopeExit& operator=(TScopeExit&&) = delete;
    ~TScopeExit()
    {
        if (FArmed)
            FAction();
    }
    void Dismiss() noexcept { FArmed = false; }

private:
    F FAction;
    bool FArmed = true;
};

} // namespace quillbox
