// The registry file's parser: any text either parses or is refused with a line number, and a tree
// that parsed is written and read back unchanged.
#include "platform/posix/RegFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace quillbox::posix;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    TRegFileTree tree;
    TRegParseError error;
    if (!ParseRegFile(text, tree, error)) {
        if (error.Line == 0 || error.Message.empty())
            std::abort();
        return 0;
    }
    TRegFileTree again;
    if (!ParseRegFile(SerializeRegFile(tree), again, error) || !(again == tree))
        std::abort();
    return 0;
}
