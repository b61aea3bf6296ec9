#include "dialogs/filename.h"

#include "components/FormLoader.h"
#include "resources/Icons.h"

TForm3* Form3 = nullptr;

namespace {

using K = TResourceKind;

const TFormResource& Resource()
{
    static const TFormResource resource{
        .Caption = "ﾌｧｲﾙ名を付ける",
        .Bounds = {262, 217, 278, 142},
        .Position = TPosition::poScreenCenter,
        .FormStyle = TFormStyle::fsStayOnTop,
        .Font = {"ＭＳ Ｐゴシック", 15, false, false, 0},
        .Icon = quillbox::resources::PromptIcon(),
        .ActiveControl = "Edit1",
        .OnActivate = "FormActivate",
        .Components =
            {
                {.Kind = K::Button,
                 .Name = "Button1",
                 .Bounds = {40, 56, 193, 25},
                 .Caption = "OK",
                 .TabOrder = 0,
                 .Default = true,
                 .ModalResult = mrOk,
                 .OnClick = "Button1Click",
                 .OnEnter = "Button1Enter"},
                {.Kind = K::Label, .Name = "Label1", .Bounds = {8, 8, 57, 15}, .Caption = "ﾌｧｲﾙ名；"},
                {.Kind = K::Edit, .Name = "Edit1", .Bounds = {24, 24, 217, 23}, .TabOrder = 1},
                {.Kind = K::Label,
                 .Name = "Label2",
                 .Bounds = {32, 88, 201, 15},
                 .Caption = "拡張子(.txt)は付けないで下さい"},
            },
    };
    return resource;
}

} // namespace

TForm3::TForm3(TComponent* owner) : TForm(owner)
{
    LoadFormResource(*this, Resource(), [this](const std::string& name) { return MethodAddress(name); });
    Button1 = FindAs<TButton>(*this, "Button1");
    Label1 = FindAs<TLabel>(*this, "Label1");
    Edit1 = FindAs<TEdit>(*this, "Edit1");
    Label2 = FindAs<TLabel>(*this, "Label2");
    DoCreate();
}

TForm3::~TForm3()
{
    if (Form3 == this)
        Form3 = nullptr;
}

TNotifyEvent TForm3::MethodAddress(const std::string& name)
{
    if (name == "FormActivate")
        return TNotifyEvent::Of<&TForm3::FormActivate>(this);
    if (name == "Button1Click")
        return TNotifyEvent::Of<&TForm3::Button1Click>(this);
    if (name == "Button1Enter")
        return TNotifyEvent::Of<&TForm3::Button1Enter>(this);
    return {};
}

void TForm3::FormActivate(TObject*)
{
    Edit1->Clear();
    Edit1->SetFocus();
}

void TForm3::Button1Click(TObject*)
{
    Form3->SetModalResult(mrOk);
}

void TForm3::Button1Enter(TObject*)
{
    Form3->SetModalResult(mrOk);
}
