#pragma once

#include "platform/Clipboard.h"
#include "platform/DateTime.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"

#include <cstdint>
#include <functional>
#include <string>

namespace quillbox {

// The message of the overwrite confirmation.
inline constexpr const char* KOverwriteQuestion = "既に同じﾌｧｲﾙ名があります！上書きしますか？";

// What a capture works with. NameRequest shows the file-name prompt modally and gives the text typed;
// ConfirmOverwrite asks the overwrite confirmation with the message given and tells whether the user
// chose OK. Only file naming style 1 calls them.
struct TCaptureServices
{
    IClipboard& Clipboard;
    IRegistry& Registry;
    IClock& Clock;
    IFileSystem& Files;
    std::function<std::string()> NameRequest;
    std::function<bool(const std::string& message)> ConfirmOverwrite;
};

// The date directory name of directory naming style `dnumber` on `date`. A style outside 0 to 3
// is taken as style 0, so every clip still gets a directory.
std::string DateDirectoryName(std::int32_t dnumber, const TLocalDateTime& date);

// Saves `text` as one new clip file: reads both settings afresh, makes today's date directory under
// the current directory when it is missing, chooses the file name (the smallest free number, or a
// typed name with the overwrite confirmation when it is taken) and writes the bytes unchanged.
// A numbered or fresh typed file is created exclusively, so a file another process made meanwhile
// is never overwritten. Raises the store's ERegistryException or EInOutError when a step fails.
void SaveClip(const TCaptureServices& services, const std::string& text);

} // namespace quillbox
