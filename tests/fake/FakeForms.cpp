#include "fake/FakeForms.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace quillbox::test {

TFakeFormView::TFakeFormView(TFakeForms& owner, const TFormDesc& desc, IFormEvents& events)
    : Desc(desc), Events(events), Bounds(desc.Bounds), FOwner(owner)
{
    for (const auto& control : desc.Controls) {
        Texts.push_back(control.Caption);
        ItemIndexes.push_back(-1);
    }
    FOwner.FViews.push_back(this);
}

TFakeFormView::~TFakeFormView()
{
    auto& views = FOwner.FViews;
    views.erase(std::remove(views.begin(), views.end(), this), views.end());
    auto& stack = FOwner.FStack;
    stack.erase(std::remove(stack.begin(), stack.end(), this), stack.end());
}

void TFakeFormView::Show(bool modal)
{
    Visible = true;
    Modal = modal;
    ++Showings;
    FOwner.FStack.push_back(this);
    Events.Activated();
}

void TFakeFormView::Hide()
{
    Visible = false;
    Modal = false;
    Focused = -1;
    auto& stack = FOwner.FStack;
    stack.erase(std::remove(stack.begin(), stack.end(), this), stack.end());
}

void TFakeFormView::BringToFront()
{
    ++BroughtToFront;
    auto& stack = FOwner.FStack;
    stack.erase(std::remove(stack.begin(), stack.end(), this), stack.end());
    stack.push_back(this);
}

void TFakeFormView::SetFocus(int control)
{
    if (!Visible || control == Focused)
        return;
    Focused = control;
    Events.FocusEntered(control);
}

void TFakeFormView::SetItemIndex(int control, int index)
{
    const auto& items = Desc.Controls.at(static_cast<std::size_t>(control)).Items;
    ItemIndexes.at(static_cast<std::size_t>(control)) =
        index >= 0 && static_cast<std::size_t>(index) < items.size() ? index : -1;
}

int TFakeFormView::Find(const std::string& caption) const
{
    for (std::size_t i = 0; i < Desc.Controls.size(); ++i)
        if (Texts[i] == caption && Desc.Controls[i].Kind != TControlKind::Edit)
            return static_cast<int>(i);
    return -1;
}

int TFakeFormView::NthOf(TControlKind kind, int n) const
{
    for (std::size_t i = 0; i < Desc.Controls.size(); ++i)
        if (Desc.Controls[i].Kind == kind && n-- == 0)
            return static_cast<int>(i);
    return -1;
}

std::unique_ptr<IFormView> TFakeForms::CreateView(const TFormDesc& desc, IFormEvents& events)
{
    return std::make_unique<TFakeFormView>(*this, desc, events);
}

void TFakeForms::RunLoop(const std::function<bool()>& done)
{
    ++FDepth;
    while (!done() && !FSessionEnded) {
        if (Script.empty()) {
            if (FDepth > 1) {
                ADD_FAILURE() << "the script ran out while a nested loop waited for the user";
                FSessionEnded = true;
            }
            break;
        }
        TAction action = std::move(Script.front());
        Script.pop_front();
        if (!action.MenuChoice.empty()) {
            ADD_FAILURE() << "no menu was open to choose " << action.MenuChoice;
            continue;
        }
        action.Run();
    }
    --FDepth;
}

int TFakeForms::TakeMenuChoice(const std::vector<std::string>& captions)
{
    if (Script.empty() || Script.front().MenuChoice.empty())
        return -1;
    const std::string choice = std::move(Script.front().MenuChoice);
    Script.pop_front();
    const auto at = std::find(captions.begin(), captions.end(), choice);
    if (at == captions.end()) {
        ADD_FAILURE() << "the menu has no item " << choice;
        return -1;
    }
    return static_cast<int>(at - captions.begin());
}

TFakeFormView* TFakeForms::Visible(const std::string& caption) const
{
    for (TFakeFormView* view : FViews)
        if (view->Visible && view->Desc.Caption == caption)
            return view;
    return nullptr;
}

} // namespace quillbox::test
