#include "dialogs/versioninfo.h"

#include "components/FormLoader.h"
#include "resources/Icons.h"

TAboutBox* AboutBox = nullptr;

namespace {

using K = TResourceKind;

constexpr std::uint32_t clBlack = 0;

TFontResource Century()
{
    return {"Century", 17, false, false, clBlack};
}

const TFormResource& Resource()
{
    static const TFormResource resource{
        .Caption = "Version Infomation",
        .Bounds = {198, 143, 367, 248},
        .ClientSize = true,
        .Position = TPosition::poScreenCenter,
        .BorderStyle = quillbox::TBorderStyle::Dialog,
        .Font = {"ＭＳ Ｐゴシック", 15, false, false, clBlack},
        .Icon = quillbox::resources::AboutIcon(),
        .ActiveControl = "OKButton",
        .Components =
            {
                {.Kind = K::Panel, .Name = "Panel1", .Bounds = {10, 10, 346, 175}, .TabOrder = 0, .Lowered = true},
                {.Kind = K::Button,
                 .Name = "OKButton",
                 .Bounds = {48, 195, 265, 41},
                 .Caption = "OK",
                 .TabOrder = 1,
                 .Default = true,
                 .ModalResult = mrOk},
                {.Kind = K::Label,
                 .Name = "ProductName",
                 .Parent = "Panel1",
                 .Bounds = {84, 20, 261, 30},
                 .OwnFont = true,
                 .Font = {"Algerian", 27, true, true, clBlack},
                 .Caption = "Quillbox"},
                {.Kind = K::Label,
                 .Name = "Version",
                 .Parent = "Panel1",
                 .Bounds = {116, 49, 108, 21},
                 .OwnFont = true,
                 .Font = Century(),
                 .Caption = "Version   " QUILLBOX_VERSION,
                 .Alignment = quillbox::TAlignment::Center},
                {.Kind = K::Label,
                 .Name = "Copyright",
                 .Parent = "Panel1",
                 .Bounds = {58, 82, 256, 17},
                 .OwnFont = true,
                 .Font = {"ＭＳ 明朝", 17, false, false, clBlack},
                 .Caption = "Quillbox 開発チーム"},
                {.Kind = K::Label,
                 .Name = "Comments",
                 .Parent = "Panel1",
                 .Bounds = {10, 120, 52, 21},
                 .OwnFont = true,
                 .Font = Century(),
                 .Caption = "E-mail",
                 .WordWrap = true},
                {.Kind = K::Label,
                 .Name = "Label1",
                 .Parent = "Panel1",
                 .Bounds = {112, 120, 138, 21},
                 .OwnFont = true,
                 .Font = Century(),
                 .Caption = "(なし)"},
                {.Kind = K::Label,
                 .Name = "Label2",
                 .Parent = "Panel1",
                 .Bounds = {8, 144, 85, 21},
                 .OwnFont = true,
                 .Font = Century(),
                 .Caption = "HomePage"},
                {.Kind = K::Label,
                 .Name = "Label3",
                 .Parent = "Panel1",
                 .Bounds = {112, 144, 230, 21},
                 .OwnFont = true,
                 .Font = Century(),
                 .Caption = "(なし)"},
                {.Kind = K::Image,
                 .Name = "Image1",
                 .Parent = "Panel1",
                 .Bounds = {32, 24, 32, 32},
                 .AutoSize = true,
                 .Picture = quillbox::resources::MainIcon()},
            },
    };
    return resource;
}

} // namespace

TAboutBox::TAboutBox(TComponent* owner) : TForm(owner)
{
    LoadFormResource(*this, Resource(), [](const std::string&) { return TNotifyEvent{}; });
    Panel1 = FindAs<TPanel>(*this, "Panel1");
    OKButton = FindAs<TButton>(*this, "OKButton");
    ProductName = FindAs<TLabel>(*this, "ProductName");
    Version = FindAs<TLabel>(*this, "Version");
    Copyright = FindAs<TLabel>(*this, "Copyright");
    Comments = FindAs<TLabel>(*this, "Comments");
    Label1 = FindAs<TLabel>(*this, "Label1");
    Label2 = FindAs<TLabel>(*this, "Label2");
    Label3 = FindAs<TLabel>(*this, "Label3");
    Image1 = FindAs<TImage>(*this, "Image1");
    DoCreate();
}

TAboutBox::~TAboutBox()
{
    if (AboutBox == this)
        AboutBox = nullptr;
}
