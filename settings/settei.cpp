#include "settings/settei.h"

#include "components/FormLoader.h"
#include "platform/Platform.h"
#include "settings/RegIniFile.h"

#include <cstdint>

Tform2* form2 = nullptr;

namespace {

using K = TResourceKind;

// The styles as last loaded, or as last taken from the lists by 設定完了!.
std::int32_t GDirectoryStyle = 0;
std::int32_t GFileStyle = 0;

const TFormResource& Resource()
{
    static const TFormResource resource{
        .Caption = "設定",
        .Bounds = {195, 195, 435, 161},
        .Font = {"ＭＳ Ｐゴシック", 15, false, false, 0},
        .OnCreate = "FormCreate",
        .Components =
            {
                {.Kind = K::Button,
                 .Name = "Button1",
                 .Bounds = {112, 88, 75, 25},
                 .Caption = "設定完了!",
                 .TabOrder = 0,
                 .OnClick = "Button1Click"},
                {.Kind = K::Button,
                 .Name = "Button2",
                 .Bounds = {224, 88, 75, 25},
                 .Caption = "ｷｬﾝｾﾙ",
                 .TabOrder = 1,
                 .OnClick = "Button2Click"},
                {.Kind = K::ComboBox,
                 .Name = "ComboBox1",
                 .Bounds = {112, 8, 193, 23},
                 .Items = {"980304", "980304(水)", "98年3月4日", "98年3月4日(水)"},
                 .ItemHeight = 15,
                 .TabOrder = 2},
                {.Kind = K::ComboBox,
                 .Name = "ComboBox2",
                 .Bounds = {112, 48, 193, 23},
                 .Items = {"番号順(1,2,3,・・・)", "自分で付ける"},
                 .ItemHeight = 15,
                 .TabOrder = 3},
                {.Kind = K::Label, .Name = "Label1", .Bounds = {24, 16, 77, 15}, .Caption = "ﾃﾞｨﾚｸﾄﾘ名を"},
                {.Kind = K::Label, .Name = "Label2", .Bounds = {312, 16, 53, 15}, .Caption = "と付ける"},
                {.Kind = K::Label, .Name = "Label3", .Bounds = {40, 48, 61, 15}, .Caption = "ﾌｧｲﾙ名を"},
                {.Kind = K::Label, .Name = "Label4", .Bounds = {312, 56, 53, 15}, .Caption = "と付ける"},
            },
    };
    return resource;
}

std::int32_t SelectedStyle(const TComboBox& list)
{
    return list.ItemIndex() < 0 ? 0 : list.ItemIndex();
}

} // namespace

Tform2::Tform2(TComponent* owner) : TForm(owner)
{
    LoadFormResource(*this, Resource(), [this](const std::string& name) { return MethodAddress(name); });
    Button1 = FindAs<TButton>(*this, "Button1");
    Button2 = FindAs<TButton>(*this, "Button2");
    ComboBox1 = FindAs<TComboBox>(*this, "ComboBox1");
    ComboBox2 = FindAs<TComboBox>(*this, "ComboBox2");
    Label1 = FindAs<TLabel>(*this, "Label1");
    Label2 = FindAs<TLabel>(*this, "Label2");
    Label3 = FindAs<TLabel>(*this, "Label3");
    Label4 = FindAs<TLabel>(*this, "Label4");
    DoCreate();
}

Tform2::~Tform2()
{
    if (form2 == this)
        form2 = nullptr;
}

TNotifyEvent Tform2::MethodAddress(const std::string& name)
{
    if (name == "Button1Click")
        return TNotifyEvent::Of<&Tform2::Button1Click>(this);
    if (name == "Button2Click")
        return TNotifyEvent::Of<&Tform2::Button2Click>(this);
    if (name == "FormCreate")
        return TNotifyEvent::Of<&Tform2::FormCreate>(this);
    return {};
}

void Tform2::FormCreate(TObject*)
{
    {
        TRegIniFile store(quillbox::Platform().Registry(), "\\Software\\Quillbox");
        GDirectoryStyle = store.ReadInteger("Directory", "DNumber", 0);
        GFileStyle = store.ReadInteger("File", "FNumber", 0);
    }
    ComboBox1->SetItemIndex(GDirectoryStyle);
    ComboBox2->SetItemIndex(GFileStyle);
}

void Tform2::Button1Click(TObject*)
{
    GDirectoryStyle = SelectedStyle(*ComboBox1);
    GFileStyle = SelectedStyle(*ComboBox2);
    {
        TRegIniFile store(quillbox::Platform().Registry(), "\\Software\\Quillbox");
        store.WriteInteger("Directory", "DNumber", GDirectoryStyle);
        store.WriteInteger("File", "FNumber", GFileStyle);
    }
    Hide();
}

void Tform2::Button2Click(TObject*)
{
    Hide();
}
