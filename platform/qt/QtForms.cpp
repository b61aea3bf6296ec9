#include "platform/qt/QtForms.h"

#include "platform/qt/QtFormView.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QScreen>

#include <algorithm>
#include <cstdio>

namespace quillbox::qt {

TQtForms::TQtForms()
{
    // Menus and message boxes draw Japanese text in the application font; give it Japanese fonts to
    // fall back on before fontconfig's guess.
    QFont font = QApplication::font();
    QStringList families = {font.family()};
    families.append(FontFamilies(std::string()));
    font.setFamilies(families);
    QApplication::setFont(font);
}

TQtForms::~TQtForms()
{
    QObject::disconnect(FAboutToBlock);
}

std::unique_ptr<IFormView> TQtForms::CreateView(const TFormDesc& desc, IFormEvents& events)
{
    return std::make_unique<TQtFormView>(*this, desc, events);
}

TRect TQtForms::Screen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return {};
    return Scale().ToDesign(QRect(QPoint(0, 0), screen->geometry().size()));
}

void TQtForms::RunLoop(const std::function<bool()>& done)
{
    if (FEnding || done())
        return;
    if (!FAboutToBlock) {
        if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
            FAboutToBlock =
                QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, [this] { CheckInnermost(); });
    }
    QEventLoop loop;
    FLoops.push_back({&loop, &done, false});
    loop.exec();
    const bool ours = FLoops.back().Quit;
    FLoops.pop_back();
    if (!ours)
        EndSession();
}

void TQtForms::CheckInnermost()
{
    if (FLoops.empty())
        return;
    TLoop& innermost = FLoops.back();
    if (innermost.Quit)
        return;
    bool finished = FEnding;
    if (!finished) {
        try {
            finished = (*innermost.Done)();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "quillbox: %s\n", e.what());
        }
    }
    if (finished) {
        innermost.Quit = true;
        innermost.Loop->quit();
    }
}

void TQtForms::WakeUp()
{
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        dispatcher->wakeUp();
}

void TQtForms::EndSession()
{
    FEnding = true;
    // A popup menu runs a loop of Qt's own, which must end before ours can return.
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    for (TLoop& loop : FLoops) {
        loop.Quit = true;
        loop.Loop->quit();
    }
}

void TQtForms::ErrorBox(const std::string& caption, const std::string& text)
{
    RunBox(QMessageBox::Critical, caption, text, false);
}

void TQtForms::FatalBox(const std::string& caption, const std::string& text)
{
    RunBox(QMessageBox::Critical, caption, text, true);
}

void TQtForms::RunBox(int icon, const std::string& caption, const std::string& text, bool onTop)
{
    QMessageBox box(static_cast<QMessageBox::Icon>(icon), QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    if (onTop)
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    std::vector<QPointer<QWidget>> disabled = DisableOthers(&box);
    box.show();
    box.raise();
    box.activateWindow();
    RunLoop([&box] { return !box.isVisible(); });
    box.hide();
    Enable(disabled);
}

void TQtForms::AddWindow(QWidget* window)
{
    FWindows.push_back(window);
}

void TQtForms::RemoveWindow(QWidget* window)
{
    FWindows.erase(std::remove(FWindows.begin(), FWindows.end(), window), FWindows.end());
}

std::vector<QPointer<QWidget>> TQtForms::DisableOthers(const QWidget* modal)
{
    std::vector<QPointer<QWidget>> disabled;
    for (QWidget* window : FWindows) {
        if (window != modal && window->isVisible() && window->isEnabled()) {
            window->setEnabled(false);
            disabled.emplace_back(window);
        }
    }
    return disabled;
}

void TQtForms::Enable(std::vector<QPointer<QWidget>>& windows)
{
    for (const QPointer<QWidget>& window : windows)
        if (window)
            window->setEnabled(true);
    windows.clear();
}

} // namespace quillbox::qt
