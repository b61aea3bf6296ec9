#pragma once

#include "platform/FormView.h"

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace quillbox::test {

class TFakeForms;

// A form's window as a test sees it: what the core asked it to show, and the user's hand on it.
class TFakeFormView final : public IFormView
{
public:
    TFakeFormView(TFakeForms& owner, const TFormDesc& desc, IFormEvents& events);
    ~TFakeFormView() override;

    void SetBounds(TRect bounds) override { Bounds = bounds; }
    void Show(bool modal) override;
    void Hide() override;
    void BringToFront() override;
    void SetFocus(int control) override;
    void SetText(int control, const std::string& text) override { Texts.at(static_cast<std::size_t>(control)) = text; }
    void SetItemIndex(int control, int index) override;

    // The index of the control with this caption (button, label) or -1.
    int Find(const std::string& caption) const;
    // The index of the n-th control of a kind, or -1.
    int NthOf(TControlKind kind, int n) const;

    TFormDesc Desc;
    IFormEvents& Events;
    TRect Bounds;
    bool Visible = false;
    bool Modal = false;
    int Focused = -1;
    int Showings = 0;
    int BroughtToFront = 0;
    std::vector<std::string> Texts;
    std::vector<int> ItemIndexes;

private:
    TFakeForms& FOwner;
};

// Forms, loops and message boxes, driven by a script of user actions. Every loop takes the next
// action when it waits for input; a popup menu takes a pending menu choice. The main loop returns
// when the script has run out (as when the session ends); a nested loop that runs out is a test
// failure and unwinds.
class TFakeForms final : public IForms
{
public:
    struct TAction
    {
        std::function<void()> Run;
        std::string MenuChoice; // set for a choice in a popup menu
    };
    struct TBox
    {
        std::string Caption;
        std::string Text;
    };

    std::unique_ptr<IFormView> CreateView(const TFormDesc& desc, IFormEvents& events) override;
    TRect Screen() override { return {0, 0, 1280, 1024}; }
    void RunLoop(const std::function<bool()>& done) override;
    void WakeUp() override {}
    // The user reads the box and closes it at once; DuringErrorBox, when set, runs while it is open.
    void ErrorBox(const std::string& caption, const std::string& text) override
    {
        Errors.push_back({caption, text});
        if (DuringErrorBox)
            std::exchange(DuringErrorBox, nullptr)();
    }
    void FatalBox(const std::string& caption, const std::string& text) override { Fatal.push_back({caption, text}); }

    // Test side.
    void Then(std::function<void()> action) { Script.push_back({std::move(action), {}}); }
    void ThenChoose(std::string caption) { Script.push_back({nullptr, std::move(caption)}); }
    // The index the user picks in a menu of these captions, or -1 when the next action is not a choice.
    int TakeMenuChoice(const std::vector<std::string>& captions);
    void EndSession() { FSessionEnded = true; }
    // The window that has the user's attention: the last one shown or brought to the front.
    TFakeFormView* Active() const { return FStack.empty() ? nullptr : FStack.back(); }
    // A visible form by caption, or null.
    TFakeFormView* Visible(const std::string& caption) const;
    const std::vector<TFakeFormView*>& Views() const { return FViews; }
    int Depth() const { return FDepth; }

    std::deque<TAction> Script;
    std::vector<TBox> Errors;
    std::vector<TBox> Fatal;
    std::function<void()> DuringErrorBox;

private:
    friend class TFakeFormView;
    std::vector<TFakeFormView*> FViews;
    std::vector<TFakeFormView*> FStack;
    int FDepth = 0;
    bool FSessionEnded = false;
};

} // namespace quillbox::test
