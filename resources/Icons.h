#pragma once

#include <string_view>

// The program's icon images, the bytes of .ico files built into the program.
namespace quillbox::resources {
// The application's main icon: the tray icon and the About box's picture.
std::string_view MainIcon();
// The file-name prompt's own window icon.
std::string_view PromptIcon();
// The About box's own window icon.
std::string_view AboutIcon();
} // namespace quillbox::resources
