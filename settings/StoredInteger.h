#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quillbox::detail {

// Converts the text of a stored setting to an integer, or nothing when it does not convert:
// a leading "0x"/"0X" of a text longer than two characters means hexadecimal; leading spaces are
// skipped; "$" and one or more hex digits give a 32-bit pattern read as signed; otherwise an
// optional sign and decimal digits within ±2147483647. Nothing may follow the number.
std::optional<std::int32_t> ParseStoredInteger(std::string_view text);

} // namespace quillbox::detail
