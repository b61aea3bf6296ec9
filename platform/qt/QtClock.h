#pragma once

#include "platform/DateTime.h"

namespace quillbox::qt {

// The local date and time, in the time zone the process runs in.
class TQtClock final : public IClock
{
public:
    TLocalDateTime Now() override;
};

} // namespace quillbox::qt
