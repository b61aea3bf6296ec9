#include "platform/Platform.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace quillbox {

namespace {
IPlatform* GPlatform = nullptr;
}

IPlatform& Platform()
{
    if (GPlatform == nullptr) {
        std::fputs("quillbox: no platform installed\n", stderr);
        std::abort();
    }
    return *GPlatform;
}

IPlatform* InstallPlatform(IPlatform* platform)
{
    return std::exchange(GPlatform, platform);
}

} // namespace quillbox
