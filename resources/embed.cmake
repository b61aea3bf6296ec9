# Writes OUTPUT, a C++ file defining the functions of resources/Icons.h from the .ico files.
function(embed_icon var file)
    file(READ "${file}" hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
    set(${var} "${bytes}" PARENT_SCOPE)
endfunction()

embed_icon(main "${SOURCE_DIR}/quillbox.ico")
embed_icon(prompt "${SOURCE_DIR}/filename.ico")
embed_icon(about "${SOURCE_DIR}/versioninfo.ico")
file(WRITE "${OUTPUT}.tmp" "// Generated from resources/*.ico by resources/embed.cmake.
#include \"resources/Icons.h\"

namespace quillbox::resources
{
namespace
{
constexpr char KMain[] = {${main}};
constexpr char KPrompt[] = {${prompt}};
constexpr char KAbout[] = {${about}};
} // namespace

std::string_view MainIcon() { return {KMain, sizeof KMain}; }
std::string_view PromptIcon() { return {KPrompt, sizeof KPrompt}; }
std::string_view AboutIcon() { return {KAbout, sizeof KAbout}; }
} // namespace quillbox::resources
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
