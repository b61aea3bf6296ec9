#include "app/Program.h"

#include "components/TrayIcon.h"

#include "fake/FakePlatform.h"
#include "fake/FakeUser.h"
#include "fake/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace quillbox::test {
namespace {

using namespace std::string_literals;

constexpr const char* KSettings = "設定";
constexpr const char* KAbout = "ﾊﾞｰｼｮﾝ情報(&A)";
constexpr const char* KClose = "閉じる(&C)";
constexpr const char* KPrompt = "ﾌｧｲﾙ名を付ける";

// The whole program on the test platform, in a fresh current directory on Wednesday 1998-03-04,
// with a user who follows a script.
class ProgramTest : public ::testing::Test
{
protected:
    void SetStyles(const std::string& dnumber, const std::string& fnumber)
    {
        FPlatform.FakeRegistry.Put("Software\\Quillbox\\Directory", "DNumber", TRegType::Sz, dnumber);
        FPlatform.FakeRegistry.Put("Software\\Quillbox\\File", "FNumber", TRegType::Sz, fnumber);
    }
    std::string Clip(const std::string& relative) const { return ReadFile(FDir.Path() + "/" + relative); }
    bool Exists(const std::string& relative) const { return std::filesystem::exists(FDir.Path() + "/" + relative); }
    TFakeFormView* Showing(const std::string& caption) const { return FPlatform.FakeForms.Visible(caption); }
    std::vector<std::string> ErrorTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& box : FPlatform.FakeForms.Errors) {
            EXPECT_EQ(box.Caption, "quillbox");
            texts.push_back(box.Text);
        }
        return texts;
    }
    // Expects the prompt to be showing, empty and focused, as at the start of every showing.
    void ExpectFreshPrompt() const
    {
        TFakeFormView* prompt = Showing(KPrompt);
        ASSERT_NE(prompt, nullptr) << "the prompt is not showing";
        const int edit = prompt->NthOf(TControlKind::Edit, 0);
        EXPECT_EQ(prompt->Texts[static_cast<std::size_t>(edit)], "");
        EXPECT_EQ(prompt->Focused, edit);
        EXPECT_TRUE(prompt->Modal);
    }

    TFakePlatform FPlatform;
    TTempDir FDir{true};
    TUser FUser{FPlatform};
};

TEST_F(ProgramTest, StartsWithOnlyTheTrayIconAndEndsClean)
{
    FPlatform.FakeClipboard.SetText("held before start");
    TFakeViewer other(FPlatform.FakeWindows);
    other.Join();

    FUser.Check([this] {
        for (const TFakeFormView* view : FPlatform.FakeForms.Views())
            EXPECT_FALSE(view->Visible) << view->Desc.Caption;
        ASSERT_EQ(FPlatform.FakeShell.Shown.size(), 1u);
        EXPECT_EQ(FPlatform.FakeShell.Calls.back().Tip(), "Quillbox");
        EXPECT_EQ(FPlatform.FakeWindows.ShowWindowCalls,
                  (std::vector<std::pair<THandle, int>>{{TFakeWindows::KApplicationWindow, 0}}));
    });
    FUser.PressTray().Choose(KClose);
    EXPECT_EQ(RunProgram(), 0);

    EXPECT_FALSE(Exists("980304")) << "the clipboard's content at start was saved";
    EXPECT_TRUE(FPlatform.FakeShell.Shown.empty()) << "the icon outlived the program";
    EXPECT_EQ(FPlatform.FakeWindows.Head(), other.Handle()) << "the detector is still in the chain";
    const int draws = other.Draws;
    FPlatform.FakeWindows.ClipboardChanged();
    EXPECT_EQ(other.Draws, draws + 1) << "the viewer after us lost its notifications";
    EXPECT_TRUE(detail::TrayIconIds().empty());
}

TEST_F(ProgramTest, SavesEveryTextCopiedAndKeepsGoingAfterAnError)
{
    WriteFile("980304", "a file in the way");
    FUser.Copy("lost").CopyPicture();
    FUser.Check([this] { std::filesystem::remove(FDir.Path() + "/980304"); });
    FUser.Copy("first").Copy("二つ目\r\n");
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(ErrorTexts(), std::vector<std::string>{"I/O ｴﾗｰ (183)."});
    EXPECT_EQ(Clip("980304/1.txt"), "first");
    EXPECT_EQ(Clip("980304/2.txt"), "二つ目\r\n");
    EXPECT_FALSE(Exists("980304/3.txt"));
}

TEST_F(ProgramTest, SettingsDialogIsNotModalAndShownOnce)
{
    FUser.PressTray().Choose(KSettings);
    FUser.Check([this] {
        TFakeFormView* dialog = Showing(KSettings);
        ASSERT_NE(dialog, nullptr);
        EXPECT_FALSE(dialog->Modal);
        EXPECT_EQ(dialog->ItemIndexes[2], 0) << "980304";
        EXPECT_EQ(dialog->ItemIndexes[3], 0) << "番号順(1,2,3,・・・)";
    });
    FUser.Copy("while open");
    FUser.PressTray().Choose(KSettings);
    FUser.Check([this] {
        int dialogs = 0;
        for (const TFakeFormView* view : FPlatform.FakeForms.Views())
            dialogs += view->Desc.Caption == KSettings;
        EXPECT_EQ(dialogs, 1);
        EXPECT_EQ(Showing(KSettings)->BroughtToFront, 1);
    });
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(Clip("980304/1.txt"), "while open");
}

TEST_F(ProgramTest, SavedSettingsGovernTheNextClipAndCancelKeepsTheChoiceShown)
{
    FUser.PressTray().Choose(KSettings).Pick(0, 1).Click("ｷｬﾝｾﾙ");
    FUser.Copy("still old style");
    FUser.PressTray().Choose(KSettings);
    FUser.Check([this] { EXPECT_EQ(Showing(KSettings)->ItemIndexes[2], 1) << "the abandoned choice was lost"; });
    FUser.Pick(1, 1).Click("設定完了!");
    FUser.Check([this] {
        EXPECT_EQ(Showing(KSettings), nullptr);
        const auto d = FPlatform.FakeRegistry.Get("Software\\Quillbox\\Directory", "DNumber");
        const auto f = FPlatform.FakeRegistry.Get("Software\\Quillbox\\File", "FNumber");
        ASSERT_TRUE(d && f);
        EXPECT_EQ(d->Type, TRegType::Sz);
        EXPECT_EQ(d->Data, "1");
        EXPECT_EQ(f->Data, "1");
    });
    FUser.Copy("new style").Type("named").Key(TKey::Enter);
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(Clip("980304/1.txt"), "still old style");
    EXPECT_EQ(Clip("980304(水)/named.txt"), "new style");
}

TEST_F(ProgramTest, StoredSettingsAreShownAsTheyAre)
{
    const struct
    {
        std::string DNumber;
        std::string FNumber;
        int Shown1;
        int Shown2;
    } cases[] = {{"3", "1", 3, 1}, {"4", "0x1", -1, 1}, {"-1", "2", -1, -1}, {"99", "abc", -1, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.DNumber + " " + c.FNumber);
        TFakePlatform platform;
        TUser user(platform);
        platform.FakeRegistry.Put("Software\\Quillbox\\Directory", "DNumber", TRegType::Sz, c.DNumber);
        platform.FakeRegistry.Put("Software\\Quillbox\\File", "FNumber", TRegType::Sz, c.FNumber);
        user.PressTray().Choose(KSettings);
        user.Check([&] {
            TFakeFormView* dialog = platform.FakeForms.Visible(KSettings);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->ItemIndexes[2], c.Shown1);
            EXPECT_EQ(dialog->ItemIndexes[3], c.Shown2);
        });
        user.Click("設定完了!");
        EXPECT_EQ(RunProgram(), 0);
        EXPECT_EQ(platform.FakeRegistry.Get("Software\\Quillbox\\Directory", "DNumber")->Data,
                  std::to_string(std::max(0, c.Shown1)));
    }
}

TEST_F(ProgramTest, WrongRegistryTypeIsReportedAndStartUpGoesOn)
{
    FPlatform.FakeRegistry.Put("Software\\Quillbox\\Directory", "DNumber", TRegType::Dword, "\1\0\0\0"s);
    FUser.Check([this] { EXPECT_EQ(FPlatform.FakeShell.Shown.size(), 1u); });
    FUser.Copy("x");
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(ErrorTexts(),
              (std::vector<std::string>{"'DNumber' のﾃﾞｰﾀ型が不正です.", "'DNumber' のﾃﾞｰﾀ型が不正です."}));
    EXPECT_FALSE(Exists("980304"));
}

TEST_F(ProgramTest, AboutBoxIsModalAndRefusesASecondShowing)
{
    FUser.PressTray().Choose(KAbout);
    FUser.Check([this] {
        TFakeFormView* about = Showing("Version Infomation");
        ASSERT_NE(about, nullptr);
        EXPECT_TRUE(about->Modal);
        EXPECT_EQ(about->Focused, about->Find("OK"));
        EXPECT_NE(about->Find("Version   1.10"), -1);
    });
    FUser.Key(TKey::Escape);
    FUser.PressTray().Choose(KAbout);
    FUser.Check([this] {
        EXPECT_EQ(ErrorTexts(), std::vector<std::string>{"表示されているｳｨﾝﾄﾞｳをﾓｰﾀﾞﾙにすることはできません."});
        EXPECT_NE(Showing("Version Infomation"), nullptr) << "Esc or the refusal closed the box";
    });
    FUser.Key(TKey::Enter);
    FUser.Check([this] { EXPECT_EQ(Showing("Version Infomation"), nullptr); });
    FUser.PressTray().Choose(KAbout).CloseBox();
    EXPECT_EQ(RunProgram(), 0);
}

TEST_F(ProgramTest, PromptTakesTheTextHoweverItCloses)
{
    const struct
    {
        const char* Name;
        std::function<void(TUser&)> Close;
    } ways[] = {
        {"enter", [](TUser& u) { u.Key(TKey::Enter); }},
        {"tab", [](TUser& u) { u.Key(TKey::Tab); }},
        {"shift-tab", [](TUser& u) { u.Key(TKey::ShiftTab); }},
        {"ok", [](TUser& u) { u.Click("OK"); }},
        {"close-box", [](TUser& u) { u.CloseBox(); }},
        {"esc-then-enter", [](TUser& u) { u.Key(TKey::Escape).Key(TKey::Enter); }},
    };
    SetStyles("0", "1");
    for (const auto& way : ways) {
        FUser.Copy(way.Name);
        FUser.Check([this] { ExpectFreshPrompt(); });
        FUser.Type(way.Name);
        way.Close(FUser);
        FUser.Check([this] { EXPECT_EQ(Showing(KPrompt), nullptr); });
    }
    EXPECT_EQ(RunProgram(), 0);
    for (const auto& way : ways)
        EXPECT_EQ(Clip("980304/"s + way.Name + ".txt"), way.Name);
}

TEST_F(ProgramTest, PromptComesBackWhereTheUserLeftIt)
{
    SetStyles("0", "1");
    FUser.Copy("a");
    FUser.Check([this] {
        const TRect at = Showing(KPrompt)->Bounds;
        EXPECT_EQ(at.Left, (1280 - 278) / 2);
        EXPECT_EQ(at.Top, (1024 - 142) / 2);
    });
    FUser.MoveWindowTo(10, 20).Key(TKey::Enter);
    FUser.Copy("b");
    FUser.Check([this] {
        EXPECT_EQ(Showing(KPrompt)->Bounds.Left, 10);
        EXPECT_EQ(Showing(KPrompt)->Bounds.Top, 20);
        EXPECT_TRUE(Showing(KPrompt)->Desc.StayOnTop);
    });
    FUser.Key(TKey::Enter);
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(Clip("980304/1.txt"), "a");
    EXPECT_EQ(Clip("980304/2.txt"), "b");
}

TEST_F(ProgramTest, TakenNameAsksAndCancelReopensThePromptEmpty)
{
    SetStyles("0", "1");
    std::filesystem::create_directory(FDir.Path() + "/980304");
    WriteFile("980304/memo.txt", "old");
    FUser.Copy("new").Type("memo").Key(TKey::Enter);
    FUser.Check([this] {
        TFakeFormView* confirm = Showing("確認");
        ASSERT_NE(confirm, nullptr);
        EXPECT_TRUE(confirm->Modal);
        EXPECT_NE(confirm->Find("既に同じﾌｧｲﾙ名があります！上書きしますか？"), -1);
        EXPECT_EQ(confirm->Focused, confirm->Find("OK"));
        EXPECT_LT(confirm->Find("OK"), confirm->Find("ｷｬﾝｾﾙ"));
        EXPECT_EQ(Showing(KPrompt), nullptr) << "the prompt stays up under the confirmation";
    });
    FUser.Key(TKey::Escape);
    FUser.Check([this] { ExpectFreshPrompt(); });
    FUser.Type("memo").Key(TKey::Enter).CloseBox(); // the close box declines too
    FUser.Check([this] { ExpectFreshPrompt(); });
    FUser.Type("memo").Key(TKey::Enter).Click("OK");
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(Clip("980304/memo.txt"), "new");
}

TEST_F(ProgramTest, CopyDuringTheConfirmationRunsAWholeNestedCapture)
{
    SetStyles("0", "1");
    std::filesystem::create_directory(FDir.Path() + "/980304");
    WriteFile("980304/memo.txt", "old");
    FUser.Copy("outer").Type("memo").Key(TKey::Enter);
    FUser.Copy("inner").Type("inner").Key(TKey::Enter);
    FUser.Check([this] { EXPECT_EQ(Clip("980304/inner.txt"), "inner"); });
    FUser.Key(TKey::Enter); // OK on the confirmation that was waiting
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(Clip("980304/memo.txt"), "outer");
}

TEST_F(ProgramTest, CopyDuringThePromptIsQueuedAndPromptedAfter)
{
    SetStyles("0", "1");
    FUser.Copy("first").Copy("second");
    FUser.Check([this] { EXPECT_TRUE(ErrorTexts().empty()); });
    FUser.Type("a").Key(TKey::Enter);
    FUser.Check([this] { ExpectFreshPrompt(); });
    FUser.Type("b").Key(TKey::Enter);
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(Clip("980304/a.txt"), "first");
    EXPECT_EQ(Clip("980304/b.txt"), "second");
}

TEST_F(ProgramTest, CloseDuringThePromptStillSavesTheClip)
{
    const struct
    {
        const char* Name;
        std::string Typed;
        const char* Saved;
    } cases[] = {
        {"free name", "free", "980304/free.txt"},
        {"empty name", "", "980304/1.txt"},
        {"taken name", "taken", "980304/1.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TFakePlatform platform;
        TTempDir dir(true);
        TUser user(platform);
        platform.FakeRegistry.Put("Software\\Quillbox\\File", "FNumber", TRegType::Sz, "1");
        std::filesystem::create_directory(dir.Path() + "/980304");
        WriteFile("980304/taken.txt", "old");
        user.Copy("clip").Type(c.Typed).PressTray().Choose(KClose);
        EXPECT_EQ(RunProgram(), 0);
        EXPECT_EQ(ReadFile(dir.Path() + "/" + c.Saved), "clip");
        EXPECT_EQ(ReadFile(dir.Path() + "/980304/taken.txt"), "old");
        EXPECT_TRUE(platform.FakeShell.Shown.empty());
        EXPECT_EQ(platform.FakeWindows.Head(), 0u);
    }
}

TEST_F(ProgramTest, ClipsCopiedDuringStartUpWaitForThePrompt)
{
    FPlatform.FakeRegistry.Put("Software\\Quillbox\\File", "FNumber", TRegType::Dword, "\1\0\0\0"s);
    // The settings dialog's creation reports the bad value; meanwhile the user copies.
    FPlatform.FakeForms.DuringErrorBox = [this] {
        SetStyles("0", "1");
        FPlatform.FakeClipboard.SetText("early");
        FPlatform.FakeWindows.ClipboardChanged();
    };
    FUser.Check([this] { ExpectFreshPrompt(); });
    FUser.Type("early").Key(TKey::Enter);
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(ErrorTexts(), std::vector<std::string>{"'FNumber' のﾃﾞｰﾀ型が不正です."});
    EXPECT_EQ(Clip("980304/early.txt"), "early");
}

TEST_F(ProgramTest, SessionEndDuringThePromptSavesAndExits)
{
    SetStyles("0", "1");
    FUser.Copy("clip").Type("late").EndSession();
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(Clip("980304/late.txt"), "clip");
    EXPECT_TRUE(FPlatform.FakeShell.Shown.empty());
}

TEST_F(ProgramTest, TrayThatCannotBeAddedEndsWithTheLastResortReport)
{
    FPlatform.FakeShell.Refuse = true;
    EXPECT_EQ(RunProgram(), 1);
    ASSERT_EQ(FPlatform.FakeForms.Fatal.size(), 1u);
    const auto& box = FPlatform.FakeForms.Fatal[0];
    EXPECT_EQ(box.Caption, "ｱﾌﾟﾘｹｰｼｮﾝ ｴﾗｰ");
    EXPECT_EQ(box.Text.rfind("EOutOfMemoryがﾓｼﾞｭｰﾙ quillbox.exe の\n", 0), 0u) << box.Text;
    EXPECT_NE(box.Text.find(" で発生しました。\nタスクトレイにアイコンを登録できません。."), std::string::npos)
        << box.Text;
    EXPECT_EQ(FPlatform.FakeWindows.Head(), 0u) << "the detector stayed in the chain";
    EXPECT_EQ(FPlatform.FakeWindows.WindowCount(), 0u);
}

} // namespace
} // namespace quillbox::test
