#pragma once

#include "platform/Clipboard.h"

#include <optional>
#include <string>

namespace quillbox::test {

// A clipboard the test puts text on. Holding no text (a picture, say) is std::nullopt. Like the
// system clipboard it gives the text up to its first zero byte.
class TFakeClipboard final : public IClipboard
{
public:
    void SetText(std::string text)
    {
        FText = std::move(text);
        FSecret = false;
    }
    void SetNoText() { FText.reset(); }
    // A password manager's copy: text with a marker asking monitors not to record it.
    void SetSecret(std::string text)
    {
        FText = std::move(text);
        FSecret = true;
    }

    bool HasText() override
    {
        ++FHasTextCalls;
        return FText.has_value();
    }
    bool DoNotRecord() override { return FSecret; }
    std::string GetText() override
    {
        ++FGetTextCalls;
        return FText ? FText->substr(0, FText->find('\0')) : std::string();
    }

    int HasTextCalls() const { return FHasTextCalls; }
    int GetTextCalls() const { return FGetTextCalls; }

private:
    std::optional<std::string> FText;
    bool FSecret = false;
    int FHasTextCalls = 0;
    int FGetTextCalls = 0;
};

} // namespace quillbox::test
