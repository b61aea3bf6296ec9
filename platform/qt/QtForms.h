#pragma once

#include "platform/FormView.h"
#include "platform/qt/QtFonts.h"

#include <QPointer>
#include <QWidget>

#include <vector>

class QEventLoop;

namespace quillbox::qt {

// Forms as top-level widgets, the loops that run them and the two message boxes of the reports.
//
// Loops: every RunLoop is a QEventLoop of its own; `done` is checked each time the event dispatcher
// is about to wait, that is after every batch of events, and WakeUp makes the dispatcher go round
// once more. A loop that Qt ends by itself (QCoreApplication::exit, the session manager) means the
// session is ending: that loop and every loop around it return, and every later RunLoop returns at
// once.
//
// Modality: a modal showing disables the program's other visible windows until it is hidden, as
// Windows' modal loops do. Qt's own window modality is not used, because it would also block the
// window of an XEmbed tray icon, and the tray icon must stay usable while a dialog is modal.
class TQtForms final : public IForms
{
public:
    TQtForms();
    TQtForms(const TQtForms&) = delete;
    TQtForms& operator=(const TQtForms&) = delete;
    ~TQtForms() override;

    std::unique_ptr<IFormView> CreateView(const TFormDesc& desc, IFormEvents& events) override;
    TRect Screen() override;
    void RunLoop(const std::function<bool()>& done) override;
    void WakeUp() override;
    void ErrorBox(const std::string& caption, const std::string& text) override;
    void FatalBox(const std::string& caption, const std::string& text) override;

    // Every running RunLoop returns, and so does every later one.
    void EndSession();
    bool SessionEnding() const { return FEnding; }

    TDesignScale Scale() const { return TDesignScale::OfScreen(); }

    // The bookkeeping of modal showings.
    void AddWindow(QWidget* window);
    void RemoveWindow(QWidget* window);
    // Disables every other visible window of ours and gives the list to enable again.
    std::vector<QPointer<QWidget>> DisableOthers(const QWidget* modal);
    static void Enable(std::vector<QPointer<QWidget>>& windows);

private:
    struct TLoop
    {
        QEventLoop* Loop;
        const std::function<bool()>* Done;
        bool Quit;
    };

    void CheckInnermost();
    void RunBox(int icon, const std::string& caption, const std::string& text, bool onTop);

    std::vector<TLoop> FLoops;
    std::vector<QWidget*> FWindows;
    QMetaObject::Connection FAboutToBlock;
    bool FEnding = false;
};

} // namespace quillbox::qt
