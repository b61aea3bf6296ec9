#pragma once

#include <cstdint>
#include <string>

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation };

using TMsgDlgButtons = std::uint32_t;
inline constexpr TMsgDlgButtons mbOK = 1u << 0;
inline constexpr TMsgDlgButtons mbCancel = 1u << 1;

// The class library's standard message dialog: a modal form centred on the screen with the type's
// caption and icon beside the message, and the buttons in the order OK, ｷｬﾝｾﾙ. OK is the default
// button (Enter), ｷｬﾝｾﾙ the cancel button (Esc); the close box gives mrCancel, and so does an
// application that is ending. Returns the modal result.
int MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext);
