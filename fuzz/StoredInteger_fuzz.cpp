// The reader of stored settings: any text either converts or gives nothing, and what a decimal
// text converts to is written back as the same number.
#include "settings/StoredInteger.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto value = quillbox::detail::ParseStoredInteger(text);
    if (value && *value != INT32_MIN) {
        const auto again = quillbox::detail::ParseStoredInteger(std::to_string(*value));
        if (again != value)
            std::abort();
    }
    return 0;
}
