#pragma once

#include "platform/DateTime.h"

namespace quillbox::win32 {

// The local date and time from GetLocalTime.
class TWin32Clock final : public IClock
{
public:
    TLocalDateTime Now() override;
};

} // namespace quillbox::win32
