#pragma once

#include "platform/FormView.h"
#include "platform/win32/Win32Handles.h"

#include "platform/win32/Win32Api.h"

#include <string>
#include <string_view>

namespace quillbox::win32 {

// The installed face to draw the core's font `name` with: the name itself when the system has it,
// else the first installed one of its stand-ins (the English names of the Japanese system faces,
// then the faces that Japanese Windows versions and Linux distributions ship), else the system's
// message font.
std::wstring ResolveFontFace(const std::string& name);

// The font of a form or control at a density; the core's height is the character height in
// design pixels. When the face lacks glyphs of `text` (Japanese text in a Western face such as
// Century), a Japanese face of the same kind draws it instead, rather than empty boxes.
TUniqueFont CreateFormFont(const TFontDesc& font, UINT dpi, std::wstring_view text = {});

} // namespace quillbox::win32
