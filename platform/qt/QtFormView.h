#pragma once

#include "platform/FormView.h"
#include "platform/qt/QtFonts.h"

#include <QMargins>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <unordered_map>
#include <vector>

namespace quillbox::qt {

class TQtForms;
class TQtFormWindow;

// One form as a top-level widget with a child widget per control, laid out at the resource's design
// geometry scaled to the screen. The view draws and reports; the core decides: Tab, Shift+Tab, Enter
// and Escape reach IFormEvents::KeyPressed and Qt does nothing with them, and the close box only
// reports CloseRequested. Keys go through the platform input method first, so Japanese text is typed
// into an edit box as usual.
class TQtFormView final : public IFormView
{
public:
    TQtFormView(TQtForms& forms, const TFormDesc& desc, IFormEvents& events);
    TQtFormView(const TQtFormView&) = delete;
    TQtFormView& operator=(const TQtFormView&) = delete;
    ~TQtFormView() override;

    void SetBounds(TRect bounds) override;
    void Show(bool modal) override;
    void Hide() override;
    void BringToFront() override;
    void SetFocus(int control) override;
    void SetText(int control, const std::string& text) override;
    void SetItemIndex(int control, int index) override;

    QWidget* Window() const;
    // The widget of a control; null for an index outside the form.
    QWidget* Control(int control) const;

private:
    friend class TQtFormWindow;

    QWidget* Build(const TControlDesc& desc, int index);
    void FitLabel(int control);
    // The frame the window manager puts around the client area, in screen pixels.
    QMargins FrameMargins() const;
    TRect DesignBounds() const;

    // Called by the window for its own events and those of its controls.
    bool ControlEvent(QObject* watched, QEvent* event);
    void WindowActivated();
    void WindowCloseRequested();
    void WindowMoved();

    // Runs one report to the core; the core may destroy this view while it runs.
    template <class F>
    void Report(F&& report) noexcept;

    TQtForms& FForms;
    IFormEvents& FEvents;
    TFormDesc FDesc;
    TDesignScale FScale;
    std::unique_ptr<TQtFormWindow> FWindow;
    std::vector<QWidget*> FControls; // owned by FWindow
    std::unordered_map<const QObject*, int> FIndexOf;
    std::vector<QPointer<QWidget>> FDisabled;
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
    int FReporting = 0;
    bool FShown = false;
};

} // namespace quillbox::qt
