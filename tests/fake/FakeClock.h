#pragma once

#include "platform/DateTime.h"

namespace quillbox::test {

// A clock that stands still until the test moves it.
class TFakeClock final : public IClock
{
public:
    explicit TFakeClock(TLocalDateTime now = {1998, 3, 4, 12, 0, 0, 0}) : FNow(now) {}
    void Set(TLocalDateTime now) { FNow = now; }
    TLocalDateTime Now() override { return FNow; }

private:
    TLocalDateTime FNow;
};

} // namespace quillbox::test
