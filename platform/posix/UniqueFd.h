#pragma once

#include "platform/UniqueHandle.h"

#include <unistd.h>

namespace quillbox::posix {

struct TFdTraits
{
    using Type = int;
    static constexpr int Invalid() noexcept { return -1; }
    static void Close(int fd) noexcept { ::close(fd); }
};

using TUniqueFd = TUniqueHandle<TFdTraits>;

} // namespace quillbox::posix
