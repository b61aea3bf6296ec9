#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/Exceptions.h"
#include "platform/Forms.h"

#include "fake/FakePlatform.h"
#include "fake/FakeUser.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace quillbox::test {
namespace {

// A small form made in code: an edit box and two buttons, OK (default, mrOk) and Other.
class TSampleForm : public TForm
{
public:
    explicit TSampleForm(TComponent* owner) : TForm(owner)
    {
        Caption = "Sample";
        Bounds = {0, 0, 200, 100};
        Edit = new TEdit(this);
        Edit->TabOrder = 1;
        Ok = new TButton(this);
        Ok->SetCaption("OK");
        Ok->Default = true;
        Ok->ModalResult = mrOk;
        Ok->TabOrder = 0;
        Other = new TButton(this);
        Other->SetCaption("Other");
        Other->TabOrder = 2;
    }
    TEdit* Edit;
    TButton* Ok;
    TButton* Other;
};

class FormsTest : public ::testing::Test
{
protected:
    TFakePlatform FPlatform;
    TUser FUser{FPlatform};
    TApplication FApplication;
    TSampleForm* FForm = new TSampleForm(&FApplication);
    TFakeFormView* View() const { return FPlatform.FakeForms.Visible("Sample"); }
};

struct TRecorder
{
    std::vector<std::string> Log;
    TForm* Form = nullptr;
    void Entered(TObject* sender) { Log.push_back("enter " + static_cast<TControl*>(sender)->Caption()); }
    void Clicked(TObject* sender)
    {
        Log.push_back("click " + static_cast<TControl*>(sender)->Caption() +
                      " mr=" + std::to_string(Form->ModalResult()));
    }
    void Activated(TObject*) { Log.push_back("activate"); }
    void Raise(TObject*) { throw std::runtime_error("handler failed"); }
};

TEST_F(FormsTest, ShowModalRefusesAVisibleOrModalForm)
{
    FForm->Show();
    try {
        FForm->ShowModal();
        FAIL() << "no error";
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ(e.what(), "表示されているｳｨﾝﾄﾞｳをﾓｰﾀﾞﾙにすることはできません");
    }
    EXPECT_TRUE(FForm->Visible());
    FForm->Hide();
    FUser.Check([this] { EXPECT_THROW(FForm->ShowModal(), EInvalidOperation); }).Key(TKey::Enter);
    EXPECT_EQ(FForm->ShowModal(), mrOk);
    EXPECT_FALSE(FForm->Visible());
}

TEST_F(FormsTest, ModalResultSetWhileShowingIsDiscarded)
{
    struct TEarly
    {
        TForm* Form;
        void Activated(TObject*) { Form->SetModalResult(mrOk); }
    } early{FForm};
    FForm->OnActivate = TNotifyEvent::Of<&TEarly::Activated>(&early);
    FUser.Check([this] { EXPECT_NE(View(), nullptr) << "the form closed before the user acted"; }).CloseBox();
    EXPECT_EQ(FForm->ShowModal(), mrCancel);
}

TEST_F(FormsTest, ApplicationEndingClosesAModalFormWithCancel)
{
    FUser.Check([this] { FApplication.Terminate(); });
    EXPECT_EQ(FForm->ShowModal(), mrCancel);
    EXPECT_TRUE(FApplication.Terminated());
    // Once ending, a modal form closes at once without waiting for the user.
    EXPECT_EQ(FForm->ShowModal(), mrCancel);
    EXPECT_EQ(FForm->Visible(), false);
}

TEST_F(FormsTest, CloseHidesOrTerminates)
{
    auto* main = new TSampleForm(&FApplication);
    FApplication.CreateForm(main); // main form: the first one the application makes
    FForm->Show();
    FForm->Close();
    EXPECT_FALSE(FForm->Visible());
    EXPECT_FALSE(FApplication.Terminated());
    FApplication.MainForm()->Close();
    EXPECT_TRUE(FApplication.Terminated());
}

TEST_F(FormsTest, KeyboardFollowsTabOrderDefaultAndFocusedButtons)
{
    TRecorder rec;
    rec.Form = FForm;
    for (TButton* b : {FForm->Ok, FForm->Other}) {
        b->OnEnter = TNotifyEvent::Of<&TRecorder::Entered>(&rec);
        b->OnClick = TNotifyEvent::Of<&TRecorder::Clicked>(&rec);
    }
    FForm->Other->ModalResult = 7;
    FForm->SetActiveControl(FForm->Edit);
    FUser
        .Key(TKey::Tab)      // edit → Other
        .Key(TKey::Tab)      // wraps to OK
        .Key(TKey::ShiftTab) // back to Other
        .Key(TKey::Enter);   // Enter clicks the focused button, not the default one
    EXPECT_EQ(FForm->ShowModal(), 7);
    EXPECT_EQ(rec.Log, (std::vector<std::string>{"enter Other", "enter OK", "enter Other", "click Other mr=7"}));

    rec.Log.clear();
    FForm->SetActiveControl(FForm->Edit); // the form keeps its last active control otherwise
    FUser.Type("text").Key(TKey::Enter);  // from the edit box Enter clicks the default button
    EXPECT_EQ(FForm->ShowModal(), mrOk);
    EXPECT_EQ(rec.Log, (std::vector<std::string>{"click OK mr=1"}));
    EXPECT_EQ(FForm->Edit->Text(), "text");
}

TEST_F(FormsTest, ErrorsInHandlersGoToTheErrorReport)
{
    TRecorder rec;
    FForm->Other->OnClick = TNotifyEvent::Of<&TRecorder::Raise>(&rec);
    FUser.Click("Other").Key(TKey::Escape).CloseBox();
    EXPECT_EQ(FForm->ShowModal(), mrCancel);
    ASSERT_EQ(FPlatform.FakeForms.Errors.size(), 1u);
    EXPECT_EQ(FPlatform.FakeForms.Errors[0].Text, "handler failed.");
}

TEST_F(FormsTest, DropDownListRefusesIndexesOutsideItsItems)
{
    auto* list = new TComboBox(FForm);
    list->Items = {"a", "b"};
    for (const int index : {1, 2, -1, -5, 0}) {
        SCOPED_TRACE(index);
        list->SetItemIndex(index);
        EXPECT_EQ(list->ItemIndex(), index == 2 || index == -5 ? -1 : index);
    }
}

TEST_F(FormsTest, ConfirmationDialog)
{
    const struct
    {
        const char* Name;
        std::function<void(TUser&)> Answer;
        int Result;
    } cases[] = {
        {"enter", [](TUser& u) { u.Key(TKey::Enter); }, mrOk},
        {"ok", [](TUser& u) { u.Click("OK"); }, mrOk},
        {"esc", [](TUser& u) { u.Key(TKey::Escape); }, mrCancel},
        {"cancel", [](TUser& u) { u.Click("ｷｬﾝｾﾙ"); }, mrCancel},
        {"close box", [](TUser& u) { u.CloseBox(); }, mrCancel},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        FUser.Check([this] {
            TFakeFormView* dialog = FPlatform.FakeForms.Visible("確認");
            ASSERT_NE(dialog, nullptr);
            EXPECT_TRUE(dialog->Modal);
            EXPECT_EQ(dialog->Desc.Controls[0].Icon, TDialogIcon::Question);
            EXPECT_NE(dialog->Find("question?"), -1);
            EXPECT_LT(dialog->Find("OK"), dialog->Find("ｷｬﾝｾﾙ"));
            EXPECT_EQ(dialog->Focused, dialog->Find("OK"));
            EXPECT_EQ(dialog->Bounds.Left, (1280 - dialog->Bounds.Width) / 2);
        });
        c.Answer(FUser);
        EXPECT_EQ(MessageDlg("question?", TMsgDlgType::mtConfirmation, mbOK | mbCancel, 0), c.Result);
    }
    FApplication.Terminate();
    EXPECT_EQ(MessageDlg("question?", TMsgDlgType::mtConfirmation, mbOK | mbCancel, 0), mrCancel);
}

TEST_F(FormsTest, TitleAndFullStop)
{
    const struct
    {
        const char* Executable;
        const char* Title;
    } titles[] = {{"quillbox.exe", "quillbox"},
                  {"C:\\Tools\\QUILLBOX.EXE", "Quillbox"},
                  {"/usr/bin/quill.box.bin", "quill"},
                  {"Quillbox", "Quillbox"}};
    for (const auto& t : titles) {
        SCOPED_TRACE(t.Executable);
        FPlatform.Executable = t.Executable;
        EXPECT_EQ(FApplication.Title(), t.Title);
    }
    EXPECT_EQ(WithFullStop("abc"), "abc.");
    EXPECT_EQ(WithFullStop("abc."), "abc.");
    EXPECT_EQ(WithFullStop("登録できません。"), "登録できません。.");
}

} // namespace
} // namespace quillbox::test
