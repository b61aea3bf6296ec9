#include "fake/FakeUser.h"

#include "components/TrayIcon.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace quillbox::test {

TUser& TUser::Then(std::function<void()> action)
{
    FPlatform.FakeForms.Then(std::move(action));
    return *this;
}

TFakeFormView& TUser::ActiveView()
{
    TFakeFormView* view = FPlatform.FakeForms.Active();
    if (view == nullptr)
        throw std::logic_error("no window has the user's attention");
    return *view;
}

TUser& TUser::Copy(std::string text)
{
    return Then([this, text] {
        FPlatform.FakeClipboard.SetText(text);
        FPlatform.FakeWindows.ClipboardChanged();
    });
}

TUser& TUser::CopyPicture()
{
    return Then([this] {
        FPlatform.FakeClipboard.SetNoText();
        FPlatform.FakeWindows.ClipboardChanged();
    });
}

TUser& TUser::PressTray(bool left)
{
    return Then([this, left] {
        ASSERT_EQ(FPlatform.FakeShell.Shown.size(), 1u) << "no tray icon to press";
        const auto [wnd, id] = *FPlatform.FakeShell.Shown.begin();
        auto& windows = FPlatform.FakeWindows;
        windows.SendMessage(wnd, TTrayIcon::KCallbackMessage, id, left ? wm::WM_LBUTTONDOWN : wm::WM_RBUTTONDOWN);
        windows.SendMessage(wnd, TTrayIcon::KCallbackMessage, id, left ? wm::WM_LBUTTONUP : wm::WM_RBUTTONUP);
    });
}

TUser& TUser::Choose(std::string menuCaption)
{
    FPlatform.FakeForms.ThenChoose(std::move(menuCaption));
    return *this;
}

TUser& TUser::Type(std::string text)
{
    return Then([this, text] {
        TFakeFormView& view = ActiveView();
        ASSERT_GE(view.Focused, 0) << "no control has the focus";
        ASSERT_EQ(view.Desc.Controls[static_cast<std::size_t>(view.Focused)].Kind, TControlKind::Edit);
        std::string& shown = view.Texts[static_cast<std::size_t>(view.Focused)];
        shown += text;
        view.Events.TextEdited(view.Focused, shown);
    });
}

TUser& TUser::Key(TKey key)
{
    return Then([this, key] {
        TFakeFormView& view = ActiveView();
        view.Events.KeyPressed(view.Focused, key);
    });
}

TUser& TUser::Click(std::string caption)
{
    return Then([this, caption] {
        TFakeFormView& view = ActiveView();
        const int control = view.Find(caption);
        ASSERT_GE(control, 0) << "no control " << caption << " on " << view.Desc.Caption;
        // The press moves the focus onto the control, the release clicks it.
        if (view.Desc.Controls[static_cast<std::size_t>(control)].TabStop)
            view.SetFocus(control);
        view.Events.Clicked(control);
    });
}

TUser& TUser::Pick(int list, int item)
{
    return Then([this, list, item] {
        TFakeFormView& view = ActiveView();
        const int control = view.NthOf(TControlKind::ComboBox, list);
        ASSERT_GE(control, 0);
        view.SetFocus(control);
        view.ItemIndexes[static_cast<std::size_t>(control)] = item;
        view.Events.ItemSelected(control, item);
    });
}

TUser& TUser::CloseBox()
{
    return Then([this] { ActiveView().Events.CloseRequested(); });
}

TUser& TUser::MoveWindowTo(std::int32_t left, std::int32_t top)
{
    return Then([this, left, top] {
        TFakeFormView& view = ActiveView();
        view.Bounds.Left = left;
        view.Bounds.Top = top;
        view.Events.Moved(view.Bounds);
    });
}

TUser& TUser::Check(std::function<void()> check)
{
    return Then(std::move(check));
}

TUser& TUser::EndSession()
{
    return Then([this] { FPlatform.FakeForms.EndSession(); });
}

} // namespace quillbox::test
