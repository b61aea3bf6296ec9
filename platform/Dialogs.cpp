#include "platform/Dialogs.h"

#include "platform/Application.h"
#include "platform/Forms.h"

#include <algorithm>
#include <memory>

namespace {

const char* CaptionOf(TMsgDlgType type)
{
    switch (type) {
    case TMsgDlgType::mtWarning:
        return "警告";
    case TMsgDlgType::mtError:
        return "エラー";
    case TMsgDlgType::mtInformation:
        return "情報";
    case TMsgDlgType::mtConfirmation:
        break;
    }
    return "確認";
}

// The text's width in design pixels for the dialog font: half-width characters (ASCII, half-width
// katakana) take half the width of full-width ones.
int TextWidth(const std::string& text)
{
    int width = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        bool half = length == 1;
        if (length == 3 && i + 2 < text.size()) {
            const unsigned code = ((lead & 0x0Fu) << 12) | ((static_cast<unsigned char>(text[i + 1]) & 0x3Fu) << 6) |
                                  (static_cast<unsigned char>(text[i + 2]) & 0x3Fu);
            half = code >= 0xFF61 && code <= 0xFF9F;
        }
        width += half ? 8 : 15;
        i += length;
    }
    return width;
}

} // namespace

int MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons, int /*helpContext*/)
{
    constexpr int KMargin = 16;
    constexpr int KIcon = 32;
    constexpr int KButtonWidth = 94;
    constexpr int KButtonHeight = 31;
    constexpr int KButtonGap = 8;

    // A form of its own for every showing, owned by the application like any other.
    std::unique_ptr<TForm> dialog = std::make_unique<TForm>(Application);
    dialog->Caption = CaptionOf(type);
    dialog->Position = TPosition::poScreenCenter;
    dialog->BorderStyle = quillbox::TBorderStyle::Dialog;
    dialog->ClientSize = true;
    dialog->Font = {"ＭＳ Ｐゴシック", 15, false, false, 0};

    auto* icon = new TImage(dialog.get());
    icon->StandardIcon =
        type == TMsgDlgType::mtConfirmation ? quillbox::TDialogIcon::Question : quillbox::TDialogIcon::Error;
    icon->Bounds = {KMargin, KMargin, KIcon, KIcon};

    auto* text = new TLabel(dialog.get());
    text->SetCaption(message);
    const int textWidth = TextWidth(message);
    text->Bounds = {KMargin + KIcon + KMargin, KMargin + (KIcon - 15) / 2, textWidth, 15};

    std::vector<TButton*> shown;
    if (buttons & mbOK) {
        auto* ok = new TButton(dialog.get());
        ok->SetCaption("OK");
        ok->ModalResult = mrOk;
        ok->Default = true;
        shown.push_back(ok);
    }
    if (buttons & mbCancel) {
        auto* cancel = new TButton(dialog.get());
        cancel->SetCaption("ｷｬﾝｾﾙ");
        cancel->ModalResult = mrCancel;
        cancel->Cancel = true;
        shown.push_back(cancel);
    }

    const int buttonsWidth = static_cast<int>(shown.size()) * (KButtonWidth + KButtonGap) - KButtonGap;
    const int width = std::max(KMargin + KIcon + KMargin + textWidth + KMargin, buttonsWidth + 2 * KMargin);
    const int buttonsTop = KMargin + KIcon + KMargin;
    int left = (width - buttonsWidth) / 2;
    int order = 0;
    for (TButton* button : shown) {
        button->Bounds = {left, buttonsTop, KButtonWidth, KButtonHeight};
        button->TabOrder = order++;
        left += KButtonWidth + KButtonGap;
    }
    dialog->Bounds = {0, 0, width, buttonsTop + KButtonHeight + KMargin};
    if (!shown.empty())
        dialog->SetActiveControl(shown.front());
    return dialog->ShowModal();
}
