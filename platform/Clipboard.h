#pragma once

#include <string>

namespace quillbox {

// The system clipboard, as far as the capture reads it.
class IClipboard
{
public:
    IClipboard() = default;
    IClipboard(const IClipboard&) = delete;
    IClipboard& operator=(const IClipboard&) = delete;
    virtual ~IClipboard() = default;

    // True exactly when text can be had now.
    virtual bool HasText() = 0;

    // True when the clipboard carries a marker asking clipboard monitors not to record this copy (a
    // password manager's). Asked before the text is read, so that a secret is never read at all.
    virtual bool DoNotRecord() = 0;

    // The bytes of the clipboard's 8-bit text up to its first zero byte; empty when the clipboard
    // holds no text or cannot be read.
    virtual std::string GetText() = 0;
};

} // namespace quillbox
