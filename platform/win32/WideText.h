#pragma once

#include <string>
#include <string_view>

namespace quillbox::win32 {

// The core's UTF-8 text in the wide form the Unicode API takes, and back. Ill-formed UTF-8 (a tip cut
// inside a character, say) becomes U+FFFD rather than failing, so the rest of the text still shows.
std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

} // namespace quillbox::win32
