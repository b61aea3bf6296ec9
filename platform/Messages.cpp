#include "platform/Messages.h"

#include <cstdio>

namespace quillbox {

namespace {
void (*GHandler)(const std::exception&) = nullptr;
}

void SetMessageExceptionHandler(void (*handler)(const std::exception& error))
{
    GHandler = handler;
}

void DeliverMessage(const TWndMethod& method, TMessage& message) noexcept
{
    try {
        try {
            method(message);
        } catch (const std::exception& e) {
            if (GHandler == nullptr)
                throw;
            GHandler(e);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quillbox: %s\n", e.what());
    } catch (...) {
        std::fputs("quillbox: unknown error in a window message\n", stderr);
    }
}

} // namespace quillbox
