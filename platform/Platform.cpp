#include "platform/Platform.h"

#include <cstdio>
#include <cstdlib>

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

void InstallPlatform(IPlatform* platform)
{
    GPlatform = platform;
}

} // namespace quillbox
