#include "app/txtQuillbox.h"

#include "components/FormLoader.h"
#include "dialogs/filename.h"
#include "dialogs/versioninfo.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "resources/Icons.h"
#include "settings/settei.h"

TForm1* Form1 = nullptr;

namespace {

using K = TResourceKind;

const TFormResource& Resource()
{
    static const TFormResource resource{
        .Caption = "Form1",
        .Bounds = {481, 147, 260, 248},
        .FormStyle = TFormStyle::fsStayOnTop,
        .Font = {"ＭＳ Ｐゴシック", 15, false, false, 0},
        .OnCreate = "FormCreate",
        .Components =
            {
                {.Kind = K::TrayIcon,
                 .Name = "TrayIcon1",
                 .Picture = quillbox::resources::MainIcon(),
                 .TipHelp = "Quillbox",
                 .LBPopupMenu = "PopupMenu1"},
                {.Kind = K::PopupMenu, .Name = "PopupMenu1"},
                {.Kind = K::MenuItem, .Name = "K2", .Parent = "PopupMenu1", .Caption = "設定", .OnClick = "K2Click"},
                {.Kind = K::MenuItem,
                 .Name = "K1",
                 .Parent = "PopupMenu1",
                 .Caption = "ﾊﾞｰｼｮﾝ情報(&A)",
                 .OnClick = "K1Click"},
                {.Kind = K::MenuItem,
                 .Name = "Close1",
                 .Parent = "PopupMenu1",
                 .Caption = "閉じる(&C)",
                 .OnClick = "Close1Click"},
                {.Kind = K::ClipDetector, .Name = "VxClipDetector1", .OnClipChange = "VxClipDetector1ClipChange"},
            },
    };
    return resource;
}

bool ConfirmOverwrite(const std::string& message)
{
    return MessageDlg(message, TMsgDlgType::mtConfirmation, mbOK | mbCancel, 0) == mrOk;
}

std::string RequestName()
{
    Form3->ShowModal();
    return Form3->Edit1->Text();
}

} // namespace

TForm1::TForm1(TComponent* owner) : TForm(owner)
{
    auto& platform = quillbox::Platform();
    FCaptures = std::make_unique<quillbox::TCaptureQueue>(
        quillbox::TCaptureServices{platform.Clipboard(), platform.Registry(), platform.Clock(), platform.Files(),
                                   &RequestName, &ConfirmOverwrite},
        [](const std::exception& error) { Application->ShowException(error); });
    // The detector joins while the resource is read, before the prompt exists: clips wait until then.
    FCaptures->Hold();

    LoadFormResource(*this, Resource(), [this](const std::string& name) { return MethodAddress(name); });
    TrayIcon1 = FindAs<TTrayIcon>(*this, "TrayIcon1");
    PopupMenu1 = FindAs<TPopupMenu>(*this, "PopupMenu1");
    K1 = FindAs<TMenuItem>(*this, "K1");
    Close1 = FindAs<TMenuItem>(*this, "Close1");
    VxClipDetector1 = FindAs<TVxClipDetector>(*this, "VxClipDetector1");
    K2 = FindAs<TMenuItem>(*this, "K2");
    DoCreate();
}

TForm1::~TForm1()
{
    // The components go first, the detector leaving the chain while the captures still exist.
    while (!Components().empty())
        delete Components().back();
    if (Form1 == this)
        Form1 = nullptr;
}

TNotifyEvent TForm1::MethodAddress(const std::string& name)
{
    if (name == "K1Click")
        return TNotifyEvent::Of<&TForm1::K1Click>(this);
    if (name == "Close1Click")
        return TNotifyEvent::Of<&TForm1::Close1Click>(this);
    if (name == "VxClipDetector1ClipChange")
        return TNotifyEvent::Of<&TForm1::VxClipDetector1ClipChange>(this);
    if (name == "K2Click")
        return TNotifyEvent::Of<&TForm1::K2Click>(this);
    if (name == "FormCreate")
        return TNotifyEvent::Of<&TForm1::FormCreate>(this);
    return {};
}

void TForm1::FormCreate(TObject*)
{
    constexpr int SW_HIDE = 0;
    quillbox::Platform().Windows().ShowWindow(Application->Handle(), SW_HIDE);
}

void TForm1::K2Click(TObject*)
{
    form2->Show();
}

void TForm1::K1Click(TObject*)
{
    AboutBox->ShowModal();
}

void TForm1::Close1Click(TObject*)
{
    Close();
}

void TForm1::VxClipDetector1ClipChange(TObject*)
{
    // Reports its own errors, so the notification still travels on to the next viewer.
    FCaptures->ClipChange();
}
