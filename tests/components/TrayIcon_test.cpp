#include "components/TrayIcon.h"

#include "platform/Exceptions.h"

#include "fake/FakePlatform.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace quillbox::test {
namespace {

using TIds = std::vector<std::string>;

class TrayIconTest : public ::testing::Test
{
protected:
    // A tray icon as a form resource makes it: properties read while loading, then Loaded.
    TTrayIcon* Load(const std::string& tip = "Quillbox", bool visible = true)
    {
        auto* tray = new TTrayIcon(FOwner.get());
        tray->BeginLoading();
        tray->Icon()->LoadFromImage("icon image");
        tray->SetTipHelp(tip);
        tray->SetVisible(visible);
        tray->Loaded();
        return tray;
    }

    const TFakeShell::TCall& LastCall() const { return FShell.Calls.back(); }

    void TearDown() override
    {
        FOwner.reset();
        EXPECT_TRUE(detail::TrayIconIds().empty()) << "an ID outlived its icon";
    }

    TFakePlatform FPlatform;
    TFakeShell& FShell = FPlatform.FakeShell;
    TFakeWindows& FWindows = FPlatform.FakeWindows;
    std::unique_ptr<TComponent> FOwner = std::make_unique<TComponent>(nullptr);
};

TEST_F(TrayIconTest, IdsAreOneAboveTheHighestInUse)
{
    std::vector<std::unique_ptr<TTrayIcon>> icons;
    for (int i = 0; i < 5; ++i)
        icons.push_back(std::make_unique<TTrayIcon>(nullptr));
    EXPECT_EQ(icons[0]->IconId(), 1);
    icons[2].reset();
    icons[3].reset();
    EXPECT_EQ(detail::TrayIconIds(), (TIds{"001", "002", "005"}));
    icons.push_back(std::make_unique<TTrayIcon>(nullptr));
    EXPECT_EQ(icons.back()->IconId(), 6);
    icons.back().reset();
    icons[4].reset();
    icons.push_back(std::make_unique<TTrayIcon>(nullptr));
    EXPECT_EQ(icons.back()->IconId(), 3);
    EXPECT_EQ(detail::TrayIconIds(), (TIds{"001", "002", "003"}));
}

TEST_F(TrayIconTest, NoIdAbove999)
{
    std::vector<std::unique_ptr<TTrayIcon>> icons;
    for (int i = 0; i < 999; ++i)
        icons.push_back(std::make_unique<TTrayIcon>(nullptr));
    icons.erase(icons.begin(), icons.begin() + 998); // only 999 is left in use
    const auto ids = detail::TrayIconIds();
    const auto windows = FWindows.WindowCount();
    try {
        TTrayIcon failing(nullptr);
        FAIL() << "no error";
    } catch (const EOutOfMemory& e) {
        EXPECT_STREQ(e.what(), "タスクトレイにアイコンを登録できません。");
    }
    EXPECT_EQ(detail::TrayIconIds(), ids);
    EXPECT_EQ(ids, TIds{"999"});
    EXPECT_EQ(FWindows.WindowCount(), windows) << "the failed icon's window was left behind";
}

TEST_F(TrayIconTest, LoadedAddsTheRecordAsSpecifiedLayout)
{
    TTrayIcon* tray = Load();
    ASSERT_EQ(FShell.Calls.size(), 1u);
    const auto call = LastCall();
    EXPECT_EQ(call.Operation, nim::NIM_ADD);
    EXPECT_EQ(call.Data.cbSize, 88u);
    EXPECT_EQ(call.Data.hWnd, tray->Handle());
    EXPECT_EQ(call.Data.uID, 1u);
    EXPECT_EQ(call.Data.uFlags, 7u);
    EXPECT_EQ(call.Data.uCallbackMessage, 1224u);
    EXPECT_NE(call.Data.hIcon, 0u);
    EXPECT_EQ(call.Tip(), "Quillbox");
    EXPECT_TRUE(tray->Added());

    delete tray;
    EXPECT_EQ(LastCall().Operation, nim::NIM_DELETE);
    EXPECT_TRUE(FShell.Shown.empty());
    EXPECT_FALSE(FWindows.Exists(call.Data.hWnd));
    EXPECT_TRUE(FPlatform.FakeIcons.Live.empty());
}

TEST_F(TrayIconTest, TipIsCutTo62Bytes)
{
    TTrayIcon* tray = Load();
    const std::string tip70(70, 't');
    tray->SetTipHelp(tip70);
    EXPECT_EQ(tray->TipHelp(), std::string(62, 't'));
    EXPECT_EQ(LastCall().Operation, nim::NIM_MODIFY);
    EXPECT_EQ(LastCall().Tip(), std::string(62, 't'));
    const auto calls = FShell.Calls.size();
    tray->SetTipHelp(tip70);
    EXPECT_EQ(FShell.Calls.size(), calls) << "an unchanged tip reached the shell";

    tray->SetTipHelp("");
    EXPECT_EQ(LastCall().Data.szTip[0], '\0');
}

TEST_F(TrayIconTest, IconWritesToggleTheIconFlag)
{
    TTrayIcon* tray = Load();
    const auto calls = FShell.Calls.size();
    tray->SetIcon(tray->Icon());
    EXPECT_EQ(FShell.Calls.size(), calls);

    tray->SetIcon(nullptr);
    EXPECT_EQ(LastCall().Operation, nim::NIM_MODIFY);
    EXPECT_EQ(LastCall().Data.uFlags, 5u);
    EXPECT_EQ(LastCall().Data.hIcon, 0u);
    EXPECT_TRUE(FPlatform.FakeIcons.Live.empty()) << "the released handle leaked";

    TIcon other;
    other.LoadFromImage("another image");
    tray->SetIcon(&other);
    EXPECT_EQ(LastCall().Data.uFlags, 7u);
    EXPECT_NE(LastCall().Data.hIcon, 0u);
}

TEST_F(TrayIconTest, VisibleAddsAndDeletesWithTheStateOfThatMoment)
{
    TTrayIcon* tray = Load("first", false);
    EXPECT_TRUE(FShell.Calls.empty());
    tray->SetVisible(true);
    EXPECT_EQ(LastCall().Operation, nim::NIM_ADD);
    EXPECT_EQ(LastCall().Tip(), "first");

    tray->SetVisible(false);
    EXPECT_EQ(LastCall().Operation, nim::NIM_DELETE);
    EXPECT_FALSE(tray->Added());
    const auto calls = FShell.Calls.size();
    tray->SetTipHelp("while hidden");
    EXPECT_EQ(FShell.Calls.size(), calls) << "a hidden icon was modified";
    tray->SetVisible(true);
    EXPECT_EQ(LastCall().Operation, nim::NIM_ADD);
    EXPECT_EQ(LastCall().Tip(), "while hidden");
}

TEST_F(TrayIconTest, RefusedShellCallsRaise)
{
    FShell.Refuse = true;
    try {
        Load();
        FAIL() << "no error";
    } catch (const EOutOfMemory& e) {
        EXPECT_STREQ(e.what(), "タスクトレイにアイコンを登録できません。");
    }
    auto* tray = dynamic_cast<TTrayIcon*>(FOwner->Components().back());
    ASSERT_NE(tray, nullptr);
    EXPECT_FALSE(tray->Added());
    EXPECT_TRUE(tray->IsLoading()) << "the failure leaves Loaded before the loading state ends";

    // Made from code, the icon shows only when Visible turns true; a refused add can be retried.
    auto* fromCode = new TTrayIcon(FOwner.get());
    fromCode->SetVisible(false);
    EXPECT_THROW(fromCode->SetVisible(true), EOutOfMemory);
    EXPECT_TRUE(fromCode->Visible());
    EXPECT_FALSE(fromCode->Added());
    FShell.Refuse = false;
    fromCode->SetVisible(false);
    fromCode->SetVisible(true);
    EXPECT_TRUE(fromCode->Added());

    FShell.Refuse = true;
    EXPECT_THROW(fromCode->SetTipHelp("new"), EOutOfMemory);
    EXPECT_EQ(fromCode->TipHelp(), "new");
    FShell.Refuse = false;
}

struct TEvents
{
    std::vector<std::string> Log;
    void Down(TObject*, TMouseButton b, TShiftState s, std::int32_t x, std::int32_t y)
    {
        Log.push_back("down " + std::to_string(static_cast<int>(b)) + " " + std::to_string(s) + " " +
                      std::to_string(x) + "," + std::to_string(y));
    }
    void Up(TObject*, TMouseButton b, TShiftState s, std::int32_t, std::int32_t)
    {
        Log.push_back("up " + std::to_string(static_cast<int>(b)) + " " + std::to_string(s));
    }
    void Move(TObject*, TShiftState s, std::int32_t, std::int32_t) { Log.push_back("move " + std::to_string(s)); }
    void DblClick(TObject*) { Log.push_back("dblclick"); }
};

TEST_F(TrayIconTest, MouseMessagesBecomeEventsOrPopups)
{
    const std::string left = std::to_string(shift::ssLeft);
    const std::string right = std::to_string(shift::ssRight);
    const std::string middle = std::to_string(shift::ssMiddle);
    const struct
    {
        std::uint32_t LParam;
        bool AutoPopup;
        bool LeftMenu;
        bool RightMenu;
        std::vector<std::string> Events;
        int Popups;
    } cases[] = {
        {wm::WM_MOUSEMOVE, true, true, true, {"move 0"}, 0},
        {wm::WM_LBUTTONDOWN, true, true, false, {}, 1},
        {wm::WM_LBUTTONDOWN, false, true, false, {"down 0 " + left + " 30,40"}, 0},
        {wm::WM_LBUTTONDOWN, true, false, false, {"down 0 " + left + " 30,40"}, 0},
        {wm::WM_LBUTTONUP, true, true, true, {"up 0 " + left}, 0},
        {wm::WM_LBUTTONDBLCLK, true, true, true, {"dblclick"}, 0},
        {wm::WM_RBUTTONDOWN, true, false, false, {"down 1 " + right + " 30,40"}, 0},
        {wm::WM_RBUTTONDOWN, true, true, true, {}, 1},
        {wm::WM_RBUTTONUP, true, true, true, {"up 1 " + right}, 0},
        {wm::WM_RBUTTONDBLCLK, true, true, true, {}, 0},
        {wm::WM_MBUTTONDOWN, true, true, true, {"down 2 " + middle + " 30,40"}, 0},
        {wm::WM_MBUTTONUP, true, true, true, {"up 2 " + middle}, 0},
        {wm::WM_MBUTTONDBLCLK, true, true, true, {}, 0},
        {600, true, true, true, {}, 0},
    };
    TTrayIcon* tray = Load();
    TPopupMenu menu(nullptr);
    TEvents events;
    tray->OnMouseDown = TMouseEvent::Of<&TEvents::Down>(&events);
    tray->OnMouseUp = TMouseEvent::Of<&TEvents::Up>(&events);
    tray->OnMouseMove = TMouseMoveEvent::Of<&TEvents::Move>(&events);
    tray->OnDblClick = TNotifyEvent::Of<&TEvents::DblClick>(&events);
    FWindows.SetCursor({30, 40});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.LParam);
        events.Log.clear();
        FPlatform.FakeMenus.Showings.clear();
        tray->SetAutoPopup(c.AutoPopup);
        tray->LBPopupMenu = c.LeftMenu ? &menu : nullptr;
        tray->RBPopupMenu = c.RightMenu ? &menu : nullptr;
        const std::uint32_t result = FWindows.SendMessage(tray->Handle(), TTrayIcon::KCallbackMessage, 1, c.LParam);
        EXPECT_EQ(result, 0u);
        EXPECT_EQ(events.Log, c.Events);
        EXPECT_EQ(FPlatform.FakeMenus.Showings.size(), static_cast<std::size_t>(c.Popups));
    }
}

TEST_F(TrayIconTest, PopupComesForwardLetsMessagesRunAndShowsTheMenuAtTheCursor)
{
    TTrayIcon* tray = Load();
    TPopupMenu menu(nullptr);
    auto* first = new TMenuItem(&menu);
    auto* second = new TMenuItem(&menu);
    first->Caption = "設定";
    second->Caption = "閉じる(&C)";
    menu.Items = {first, second};
    TEvents chosen;
    second->OnClick = TNotifyEvent::Of<&TEvents::DblClick>(&chosen);
    tray->LBPopupMenu = &menu;

    bool waitingRan = false;
    FWindows.Post([&] { waitingRan = true; });
    FPlatform.FakeMenus.Choose = [&](const std::vector<std::string>&) {
        EXPECT_TRUE(waitingRan) << "waiting messages ran after the popup";
        return 1;
    };
    FWindows.SetCursor({5, 6});
    FWindows.SendMessage(tray->Handle(), TTrayIcon::KCallbackMessage, 1, wm::WM_LBUTTONDOWN);
    EXPECT_EQ(FWindows.ForegroundCalls, std::vector<THandle>{TFakeWindows::KApplicationWindow});
    ASSERT_EQ(FPlatform.FakeMenus.Showings.size(), 1u);
    EXPECT_EQ(FPlatform.FakeMenus.Showings[0].At, (TPoint{5, 6}));
    EXPECT_EQ(FPlatform.FakeMenus.Showings[0].Captions, (std::vector<std::string>{"設定", "閉じる(&C)"}));
    EXPECT_EQ(chosen.Log, std::vector<std::string>{"dblclick"});
}

TEST_F(TrayIconTest, OtherMessagesGoToTheDefaultProcedure)
{
    TTrayIcon* tray = Load();
    FWindows.DefResult = 1;
    EXPECT_EQ(FWindows.SendMessage(tray->Handle(), wm::WM_QUERYENDSESSION, 0, 0), 1u)
        << "the icon's window refused the end of the session";
}

TEST_F(TrayIconTest, DesigningMakesNoWindowAndNoShellCall)
{
    FOwner->SetDesigning(true);
    const auto windows = FWindows.WindowCount();
    TTrayIcon* tray = Load();
    tray->SetVisible(false);
    tray->SetVisible(true);
    tray->SetTipHelp(std::string(70, 'x'));
    tray->SetIcon(nullptr);
    EXPECT_EQ(tray->TipHelp().size(), 62u);
    EXPECT_EQ(tray->IconId(), 1);
    EXPECT_EQ(FWindows.WindowCount(), windows);
    delete tray;
    EXPECT_TRUE(FShell.Calls.empty());
}

} // namespace
} // namespace quillbox::test
