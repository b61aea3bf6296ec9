#include "platform/Exceptions.h"

#include <string>

namespace quillbox {

std::string InOutErrorMessage(int errorCode)
{
    switch (errorCode) {
    case 2:
        return "ﾌｧｲﾙが見つかりません";
    case 3:
        return "不正なﾌｧｲﾙ名です";
    case 4:
        return "ｵｰﾌﾟﾝしたﾌｧｲﾙが多すぎます";
    case 5:
        return "ﾌｧｲﾙへのｱｸｾｽが拒否されました";
    case 100:
        return "ﾌｧｲﾙの末尾以降を読み込みました";
    case 101:
        return "ﾃﾞｨｽｸがいっぱいです";
    case 106:
        return "入力値が数値ではありません";
    default:
        return "I/O ｴﾗｰ (" + std::to_string(errorCode) + ")";
    }
}

std::string FormatMessage(const std::string& pattern, const std::string& arg)
{
    const auto at = pattern.find("%s");
    if (at == std::string::npos)
        return pattern;
    return pattern.substr(0, at) + arg + pattern.substr(at + 2);
}

} // namespace quillbox

EInOutError::EInOutError(int errorCode) : Exception(quillbox::InOutErrorMessage(errorCode)), FErrorCode(errorCode) {}
