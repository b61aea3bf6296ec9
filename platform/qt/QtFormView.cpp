#include "platform/qt/QtFormView.h"

#include "platform/qt/QtForms.h"
#include "platform/qt/QtIcons.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include <cstdio>
#include <optional>

namespace quillbox::qt {

namespace {

// The frame Windows draws around a client area at the resources' 120 pixels per inch, used until
// the window manager has shown the window once and told its real frame.
QMargins DesignFrame(TBorderStyle border)
{
    return border == TBorderStyle::Dialog ? QMargins(4, 29, 4, 4) : QMargins(5, 30, 5, 5);
}

std::optional<TKey> FormKey(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    switch (event.key()) {
    case Qt::Key_Tab:
        if (modifiers == Qt::NoModifier)
            return TKey::Tab;
        if (modifiers == Qt::ShiftModifier)
            return TKey::ShiftTab;
        break;
    case Qt::Key_Backtab:
        if (modifiers == Qt::ShiftModifier || modifiers == Qt::NoModifier)
            return TKey::ShiftTab;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (modifiers == Qt::NoModifier)
            return TKey::Enter;
        break;
    case Qt::Key_Escape:
        if (modifiers == Qt::NoModifier)
            return TKey::Escape;
        break;
    default:
        break;
    }
    return std::nullopt;
}

} // namespace

// The form's top-level widget. It hands its own events and, as their event filter, those of its
// controls to the view, until the view lets go of it.
class TQtFormWindow final : public QWidget
{
public:
    explicit TQtFormWindow(TQtFormView* view) : FView(view) { installEventFilter(this); }
    void Detach() { FView = nullptr; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        return FView != nullptr && FView->ControlEvent(watched, event);
    }

    bool event(QEvent* event) override
    {
        if (FView != nullptr) {
            switch (event->type()) {
            case QEvent::WindowActivate:
                FView->WindowActivated();
                break;
            case QEvent::Move:
            case QEvent::Resize:
                // Only what the window system reports: our own SetBounds is no move by the user.
                if (event->spontaneous())
                    FView->WindowMoved();
                break;
            default:
                break;
            }
        }
        return QWidget::event(event);
    }

    void closeEvent(QCloseEvent* event) override
    {
        event->ignore();
        if (FView != nullptr)
            FView->WindowCloseRequested();
    }

private:
    TQtFormView* FView;
};

TQtFormView::TQtFormView(TQtForms& forms, const TFormDesc& desc, IFormEvents& events)
    : FForms(forms), FEvents(events), FDesc(desc), FScale(forms.Scale()), FWindow(std::make_unique<TQtFormWindow>(this))
{
    Qt::WindowFlags flags = Qt::Window;
    if (desc.Border == TBorderStyle::Dialog)
        flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    if (desc.StayOnTop)
        flags |= Qt::WindowStaysOnTopHint;
    FWindow->setWindowFlags(flags);
    FWindow->setWindowTitle(QString::fromStdString(desc.Caption));
    FWindow->setWindowIcon(desc.Icon.empty() ? QApplication::windowIcon() : IconFromImage(desc.Icon));
    FWindow->setFont(FontFor(desc.Font, FScale));
    for (std::size_t i = 0; i < desc.Controls.size(); ++i) {
        FControls.push_back(Build(desc.Controls[i], static_cast<int>(i)));
        if (desc.Controls[i].Kind == TControlKind::Label)
            FitLabel(static_cast<int>(i));
    }
    FForms.AddWindow(FWindow.get());
    SetBounds(desc.Bounds);
}

TQtFormView::~TQtFormView()
{
    *FAlive = false;
    FForms.RemoveWindow(FWindow.get());
    TQtForms::Enable(FDisabled);
    FWindow->Detach();
    // Destroyed from inside one of its own reports, the window is still in the middle of an event.
    if (FReporting > 0)
        FWindow.release()->deleteLater();
}

QWidget* TQtFormView::Build(const TControlDesc& desc, int index)
{
    QWidget* parent =
        desc.Parent >= 0 && desc.Parent < index ? FControls[static_cast<std::size_t>(desc.Parent)] : FWindow.get();
    const QString caption = QString::fromStdString(desc.Caption);
    QRect bounds = FScale.ToScreen(desc.Bounds);
    QWidget* widget = nullptr;
    switch (desc.Kind) {
    case TControlKind::Label: {
        auto* label = new QLabel(caption, parent);
        label->setTextFormat(Qt::PlainText);
        // Windows breaks a caption only at spaces; Qt would also break after a hyphen ("E-" / "mail").
        label->setWordWrap(desc.WordWrap && caption.contains(QLatin1Char(' ')));
        const Qt::Alignment horizontal = desc.Alignment == TAlignment::Center  ? Qt::AlignHCenter
                                         : desc.Alignment == TAlignment::Right ? Qt::AlignRight
                                                                               : Qt::AlignLeft;
        label->setAlignment(horizontal | Qt::AlignTop);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, ColorOf(desc.Font.Color));
        label->setPalette(palette);
        widget = label;
        break;
    }
    case TControlKind::Button: {
        auto* button = new QPushButton(caption, parent);
        // Drawn as the default button only; Enter is the core's to handle.
        button->setAutoDefault(false);
        button->setDefault(desc.Default);
        QObject::connect(button, &QPushButton::clicked, button,
                         [this, index] { Report([&] { FEvents.Clicked(index); }); });
        widget = button;
        break;
    }
    case TControlKind::Edit: {
        auto* edit = new QLineEdit(caption, parent);
        // textEdited, unlike textChanged, is only what the user types (input method commits included),
        // never SetText.
        QObject::connect(edit, &QLineEdit::textEdited, edit, [this, index](const QString& text) {
            Report([&] { FEvents.TextEdited(index, text.toStdString()); });
        });
        widget = edit;
        break;
    }
    case TControlKind::ComboBox: {
        auto* combo = new QComboBox(parent);
        combo->setEditable(false);
        for (const std::string& item : desc.Items)
            combo->addItem(QString::fromStdString(item));
        combo->setCurrentIndex(-1);
        // activated, unlike currentIndexChanged, is only the user's pick.
        QObject::connect(combo, &QComboBox::activated, combo,
                         [this, index](int item) { Report([&] { FEvents.ItemSelected(index, item); }); });
        widget = combo;
        break;
    }
    case TControlKind::Panel: {
        auto* panel = new QFrame(parent);
        panel->setFrameStyle(QFrame::Panel | (desc.Lowered ? QFrame::Sunken : QFrame::Raised));
        widget = panel;
        break;
    }
    case TControlKind::Image: {
        auto* image = new QLabel(parent);
        QPixmap pixmap;
        if (!desc.Image.empty()) {
            const QIcon icon = IconFromImage(desc.Image);
            if (desc.AutoSize && !icon.availableSizes().isEmpty()) {
                const QSize natural = icon.availableSizes().constFirst();
                bounds.setSize(QSize(FScale.ToScreen(natural.width()), FScale.ToScreen(natural.height())));
            }
            pixmap = icon.pixmap(bounds.size());
        } else if (desc.Icon != TDialogIcon::None) {
            const QStyle::StandardPixmap standard =
                desc.Icon == TDialogIcon::Question ? QStyle::SP_MessageBoxQuestion : QStyle::SP_MessageBoxCritical;
            pixmap = image->style()->standardIcon(standard).pixmap(bounds.size());
        }
        image->setPixmap(pixmap);
        widget = image;
        break;
    }
    }
    widget->setFont(FontFor(desc.Font, FScale));
    widget->setGeometry(bounds);
    widget->setFocusPolicy(desc.TabStop ? Qt::StrongFocus : Qt::NoFocus);
    if (desc.TabStop)
        widget->installEventFilter(FWindow.get());
    FIndexOf[widget] = index;
    return widget;
}

void TQtFormView::FitLabel(int control)
{
    const TControlDesc& desc = FDesc.Controls[static_cast<std::size_t>(control)];
    auto* label = qobject_cast<QLabel*>(Control(control));
    if (!desc.AutoSize || label == nullptr || label->wordWrap())
        return;
    // A label sizes itself to its caption and keeps the edge (or the centre) its alignment holds.
    const QRect design = FScale.ToScreen(desc.Bounds);
    const QSize size = label->sizeHint();
    int left = design.left();
    if (desc.Alignment == TAlignment::Center)
        left = design.left() + (design.width() - size.width()) / 2;
    else if (desc.Alignment == TAlignment::Right)
        left = design.left() + design.width() - size.width();
    label->setGeometry(QRect(QPoint(left, design.top()), size));
}

QMargins TQtFormView::FrameMargins() const
{
    if (!FShown) {
        const QMargins design = DesignFrame(FDesc.Border);
        return {FScale.ToScreen(design.left()), FScale.ToScreen(design.top()), FScale.ToScreen(design.right()),
                FScale.ToScreen(design.bottom())};
    }
    const QRect frame = FWindow->frameGeometry();
    const QRect client = FWindow->geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

TRect TQtFormView::DesignBounds() const
{
    // Reported in the form's own terms, so that SetBounds(the report) leaves the window where it is.
    QSize size = FWindow->size();
    if (!FDesc.ClientSize) {
        const QMargins frame = FrameMargins();
        size += QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    }
    return FScale.ToDesign(QRect(FWindow->frameGeometry().topLeft(), size));
}

void TQtFormView::SetBounds(TRect bounds)
{
    const QRect outer = FScale.ToScreen(bounds);
    QSize client = outer.size();
    if (!FDesc.ClientSize) {
        const QMargins frame = FrameMargins();
        client -= QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    }
    client = client.expandedTo(QSize(1, 1));
    FWindow->move(outer.topLeft());
    if (FDesc.Border == TBorderStyle::Dialog)
        FWindow->setFixedSize(client);
    else
        FWindow->resize(client);
}

void TQtFormView::Show(bool modal)
{
    if (modal) {
        TQtForms::Enable(FDisabled);
        FDisabled = FForms.DisableOthers(FWindow.get());
    }
    FWindow->show();
    FShown = true;
    FWindow->raise();
    FWindow->activateWindow();
}

void TQtFormView::Hide()
{
    FWindow->hide();
    TQtForms::Enable(FDisabled);
}

void TQtFormView::BringToFront()
{
    if (FWindow->isMinimized())
        FWindow->showNormal();
    FWindow->raise();
    FWindow->activateWindow();
}

void TQtFormView::SetFocus(int control)
{
    // On a window that is not active yet, Qt remembers the widget and focuses it on activation
    // (https://doc.qt.io/qt-6/qwidget.html#setFocus); FocusEntered is reported then.
    if (QWidget* widget = Control(control))
        widget->setFocus(Qt::OtherFocusReason);
}

void TQtFormView::SetText(int control, const std::string& text)
{
    QWidget* widget = Control(control);
    if (widget == nullptr)
        return;
    const QString value = QString::fromStdString(text);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(value);
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        button->setText(value);
    } else if (auto* label = qobject_cast<QLabel*>(widget);
               label != nullptr && FDesc.Controls[static_cast<std::size_t>(control)].Kind == TControlKind::Label) {
        label->setText(value);
        FitLabel(control);
    }
}

void TQtFormView::SetItemIndex(int control, int index)
{
    if (auto* combo = qobject_cast<QComboBox*>(Control(control)))
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

QWidget* TQtFormView::Window() const
{
    return FWindow.get();
}

QWidget* TQtFormView::Control(int control) const
{
    if (control < 0 || static_cast<std::size_t>(control) >= FControls.size())
        return nullptr;
    return FControls[static_cast<std::size_t>(control)];
}

bool TQtFormView::ControlEvent(QObject* watched, QEvent* event)
{
    const auto it = FIndexOf.find(watched);
    const int index = it != FIndexOf.end() ? it->second : -1;
    if (event->type() == QEvent::KeyPress) {
        if (const std::optional<TKey> key = FormKey(*static_cast<QKeyEvent*>(event))) {
            Report([&] { FEvents.KeyPressed(index, *key); });
            return true;
        }
    } else if (event->type() == QEvent::FocusIn && index >= 0) {
        Report([&] { FEvents.FocusEntered(index); });
    }
    return false;
}

void TQtFormView::WindowActivated()
{
    Report([&] { FEvents.Activated(); });
}

void TQtFormView::WindowCloseRequested()
{
    Report([&] { FEvents.CloseRequested(); });
}

void TQtFormView::WindowMoved()
{
    if (FWindow->isVisible())
        Report([&] { FEvents.Moved(DesignBounds()); });
}

template <class F>
void TQtFormView::Report(F&& report) noexcept
{
    const std::shared_ptr<bool> alive = FAlive;
    ++FReporting;
    try {
        report();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quillbox: %s\n", e.what());
    } catch (...) {
        std::fputs("quillbox: unknown error in a form event\n", stderr);
    }
    if (*alive)
        --FReporting;
}

} // namespace quillbox::qt
