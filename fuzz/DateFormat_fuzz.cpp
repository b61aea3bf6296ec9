// The date formatter over any pattern and any calendar date: no fault, and a quoted text is copied
// as it is.
#include "platform/DateTime.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4)
        return 0;
    quillbox::TLocalDateTime date;
    date.Year = 1 + (data[0] | (data[1] << 8)) % 9999;
    date.Month = 1 + data[2] % 12;
    date.Day = 1 + data[3] % 28;
    const std::string pattern(reinterpret_cast<const char*>(data + 4), size - 4);
    (void)quillbox::FormatDateTime(pattern, date);
    if (pattern.find('"') == std::string::npos && quillbox::FormatDateTime('"' + pattern + '"', date) != pattern)
        std::abort();
    return 0;
}
