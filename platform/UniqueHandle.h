#pragma once

#include <utility>

namespace quillbox {

// Move-only owner of one operating-system handle. Traits gives the handle type, its invalid value
// and how to close it.
template <class Traits>
class TUniqueHandle
{
public:
    using Type = typename Traits::Type;

    explicit TUniqueHandle(Type h = Traits::Invalid()) noexcept : FHandle(h) {}
    TUniqueHandle(TUniqueHandle&& o) noexcept : FHandle(std::exchange(o.FHandle, Traits::Invalid())) {}
    TUniqueHandle(const TUniqueHandle&) = delete;
    TUniqueHandle& operator=(TUniqueHandle o) noexcept
    {
        std::swap(FHandle, o.FHandle);
        return *this;
    }
    ~TUniqueHandle() { Reset(); }

    Type Get() const noexcept { return FHandle; }
    bool Valid() const noexcept { return FHandle != Traits::Invalid(); }
    Type Release() noexcept { return std::exchange(FHandle, Traits::Invalid()); }
    void Reset(Type h = Traits::Invalid()) noexcept
    {
        if (FHandle != Traits::Invalid())
            Traits::Close(FHandle);
        FHandle = h;
    }

private:
    Type FHandle;
};

} // namespace quillbox
