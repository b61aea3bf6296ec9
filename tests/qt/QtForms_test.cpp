// Forms drawn from a TFormDesc and what the user does to them, reported to the core; loops and
// modality. Runs on the offscreen platform.

#include "QtTestSupport.h"
#include "platform/qt/QtFormView.h"
#include "platform/qt/QtForms.h"
#include "resources/Icons.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace quillbox;
using quillbox::qt::TQtFormView;
using quillbox::qt::test::TRecordingEvents;

namespace {

enum : int { KPrompt, KEdit, KOk, KList, KPanel, KInPanel, KPicture };

TControlDesc Control(TControlKind kind, TRect bounds, std::string caption = {}, bool tabStop = false)
{
    TControlDesc control;
    control.Kind = kind;
    control.Bounds = bounds;
    control.Caption = std::move(caption);
    control.TabStop = tabStop;
    control.Font = {"ＭＳ Ｐゴシック", 15, false, false, 0};
    return control;
}

// One control of each kind, numbered as the enum above.
TFormDesc SampleForm()
{
    TFormDesc form;
    form.Caption = "ﾌｧｲﾙ名を付ける";
    form.Bounds = {262, 217, 300, 260};
    form.Font = {"ＭＳ Ｐゴシック", 15, false, false, 0};
    form.Controls.push_back(Control(TControlKind::Label, {8, 8, 57, 15}, "ﾌｧｲﾙ名；"));
    form.Controls.push_back(Control(TControlKind::Edit, {24, 24, 217, 23}, "", true));
    TControlDesc ok = Control(TControlKind::Button, {40, 56, 193, 25}, "OK", true);
    ok.Default = true;
    form.Controls.push_back(ok);
    TControlDesc list = Control(TControlKind::ComboBox, {24, 90, 193, 23}, "", true);
    list.Items = {"980304", "980304(水)", "98年3月4日"};
    form.Controls.push_back(list);
    TControlDesc panel = Control(TControlKind::Panel, {10, 120, 250, 90});
    panel.Lowered = true;
    form.Controls.push_back(panel);
    TControlDesc inPanel = Control(TControlKind::Label, {84, 20, 100, 21}, "Quillbox");
    inPanel.Parent = KPanel;
    form.Controls.push_back(inPanel);
    TControlDesc picture = Control(TControlKind::Image, {32, 24, 32, 32});
    picture.Parent = KPanel;
    picture.Image = std::string(resources::MainIcon());
    picture.AutoSize = true;
    form.Controls.push_back(picture);
    return form;
}

// A form on the screen with the core's side recording.
class TShownForm
{
public:
    explicit TShownForm(qt::TQtForms& forms, TFormDesc desc = SampleForm()) : View(forms, desc, Events)
    {
        View.Show(false);
        if (!QTest::qWaitForWindowActive(View.Window()))
            qWarning("the form did not become active");
        Events.Log.clear();
    }

    template <class T>
    T* Widget(int control) const
    {
        return qobject_cast<T*>(View.Control(control));
    }

    TRecordingEvents Events;
    TQtFormView View;
};

void TypeText(QWidget* widget, const QString& text)
{
    // QTest::keyClicks aborts on text outside Latin-1; a key event carrying the text is what a
    // keyboard layout or input method produces.
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
    }
}

using TLog = std::vector<std::string>;

QString Joined(const TLog& log)
{
    QStringList lines;
    for (const std::string& line : log)
        lines.append(QString::fromStdString(line));
    return lines.join(QStringLiteral("; "));
}

} // namespace

class TQtFormsTest : public QObject
{
    Q_OBJECT

private slots:
    void DrawsEachControlOfTheDescription()
    {
        TRecordingEvents events;
        const TQtFormView view(FForms, SampleForm(), events);
        QCOMPARE(view.Window()->windowTitle(), QStringLiteral("ﾌｧｲﾙ名を付ける"));
        QVERIFY(!view.Window()->isVisible());
        QCOMPARE(qobject_cast<QLabel*>(view.Control(KPrompt))->text(), QStringLiteral("ﾌｧｲﾙ名；"));
        QVERIFY(qobject_cast<QLineEdit*>(view.Control(KEdit)) != nullptr);
        QVERIFY(qobject_cast<QPushButton*>(view.Control(KOk))->isDefault());
        auto* list = qobject_cast<QComboBox*>(view.Control(KList));
        QVERIFY(!list->isEditable());
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->itemText(1), QStringLiteral("980304(水)"));
        QCOMPARE(list->currentIndex(), -1);
        auto* panel = qobject_cast<QFrame*>(view.Control(KPanel));
        QCOMPARE(panel->frameShadow(), QFrame::Sunken);
        QCOMPARE(view.Control(KInPanel)->parentWidget(), panel);
        QVERIFY(!qobject_cast<QLabel*>(view.Control(KPicture))->pixmap().isNull());
        QVERIFY(view.Control(KPicture + 1) == nullptr);
        // Only controls that take the focus from the keyboard take it at all.
        QCOMPARE(view.Control(KPrompt)->focusPolicy(), Qt::NoFocus);
        QCOMPARE(view.Control(KEdit)->focusPolicy(), Qt::StrongFocus);
    }

    void ScalesDesignPixelsToTheScreen()
    {
        TRecordingEvents events;
        TQtFormView view(FForms, SampleForm(), events);
        const double factor = FForms.Scale().Factor();
        auto scaled = [factor](int design) { return static_cast<int>(std::lround(design * factor)); };
        QCOMPARE(view.Control(KEdit)->geometry(), QRect(scaled(24), scaled(24), scaled(217), scaled(23)));
        QCOMPARE(view.Control(KEdit)->font().pixelSize(), scaled(15));
        view.SetBounds({100, 50, 300, 260});
        QCOMPARE(view.Window()->pos(), QPoint(scaled(100), scaled(50)));
    }

    void ALabelSizesItselfToItsCaption_data()
    {
        QTest::addColumn<int>("alignment");
        QTest::newRow("left-aligned keeps its left edge") << int(TAlignment::Left);
        QTest::newRow("centred keeps its centre") << int(TAlignment::Center);
        QTest::newRow("right-aligned keeps its right edge") << int(TAlignment::Right);
    }

    void ALabelSizesItselfToItsCaption()
    {
        QFETCH(int, alignment);
        TFormDesc desc;
        TControlDesc label = Control(TControlKind::Label, {100, 10, 40, 15}, "Version   1.10");
        label.AutoSize = true;
        label.Alignment = static_cast<TAlignment>(alignment);
        desc.Controls.push_back(label);
        TRecordingEvents events;
        TQtFormView view(FForms, desc, events);
        const QRect design = FForms.Scale().ToScreen(label.Bounds);
        auto fitted = [&] {
            const QRect shown = view.Control(0)->geometry();
            QCOMPARE(shown.size(), view.Control(0)->sizeHint());
            QCOMPARE(shown.top(), design.top());
            if (label.Alignment == TAlignment::Left)
                QCOMPARE(shown.left(), design.left());
            else if (label.Alignment == TAlignment::Right)
                QCOMPARE(shown.left() + shown.width(), design.left() + design.width());
            else
                QVERIFY(std::abs((shown.left() + shown.width() / 2) - (design.left() + design.width() / 2)) <= 1);
        };
        fitted();
        view.SetText(0, "x");
        fitted();
    }

    void JapaneseCaptionsGetAFontThatHasTheirCharacters()
    {
        const QStringList families = qt::FontFamilies("ＭＳ Ｐゴシック");
        QVERIFY2(!families.isEmpty(), "install a Japanese font (fonts-ipafont-gothic)");
        const QFontMetrics metrics{QFont(families.first())};
        for (const char32_t ch : {U'設', U'定', U'ﾌ', U'ｧ'})
            QVERIFY(metrics.inFontUcs4(ch));
        const QStringList mincho = qt::FontFamilies("ＭＳ 明朝");
        QVERIFY(!mincho.isEmpty());
        QVERIFY(QFontMetrics(QFont(mincho.first())).inFontUcs4(U'明'));
    }

    void TheFormsKeysGoToTheCoreAndQtDoesNothingWithThem_data()
    {
        QTest::addColumn<int>("control");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("reported");
        QTest::newRow("Tab in the edit box") << int(KEdit) << int(Qt::Key_Tab) << 0 << "key 1 Tab";
        QTest::newRow("Shift+Tab in the edit box")
            << int(KEdit) << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << "key 1 ShiftTab";
        QTest::newRow("Enter in the edit box") << int(KEdit) << int(Qt::Key_Return) << 0 << "key 1 Enter";
        QTest::newRow("keypad Enter") << int(KEdit) << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << "key 1 Enter";
        QTest::newRow("Escape in the edit box") << int(KEdit) << int(Qt::Key_Escape) << 0 << "key 1 Escape";
        QTest::newRow("Enter on the button") << int(KOk) << int(Qt::Key_Return) << 0 << "key 2 Enter";
        QTest::newRow("Tab on the drop-down list") << int(KList) << int(Qt::Key_Tab) << 0 << "key 3 Tab";
    }

    void TheFormsKeysGoToTheCoreAndQtDoesNothingWithThem()
    {
        QFETCH(int, control);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, reported);
        TShownForm form(FForms);
        form.View.SetFocus(control);
        QTRY_COMPARE(QApplication::focusWidget(), form.View.Control(control));
        form.Events.Log.clear();
        QTest::keyClick(form.View.Control(control), static_cast<Qt::Key>(key),
                        static_cast<Qt::KeyboardModifiers>(modifiers));
        QCOMPARE(Joined(form.Events.Actions()), reported);
        QCOMPARE(QApplication::focusWidget(), form.View.Control(control));
    }

    void FocusMovesAreReportedWhateverMovedThem()
    {
        TShownForm form(FForms);
        form.View.SetFocus(KList);
        QTRY_COMPARE(Joined(form.Events.Actions()), QStringLiteral("focus 3"));
        // A press on the button focuses it before the click, as on Windows.
        QTest::mouseClick(form.View.Control(KOk), Qt::LeftButton);
        QCOMPARE(Joined(form.Events.Actions()), QStringLiteral("focus 3; focus 2; click 2"));
    }

    void SpaceOnTheButtonClicksIt()
    {
        TShownForm form(FForms);
        form.View.SetFocus(KOk);
        QTRY_COMPARE(QApplication::focusWidget(), form.View.Control(KOk));
        form.Events.Log.clear();
        QTest::keyClick(form.View.Control(KOk), Qt::Key_Space);
        QCOMPARE(Joined(form.Events.Actions()), QStringLiteral("click 2"));
    }

    void WhatTheUserTypesIsReportedAndSetTextIsNot()
    {
        TShownForm form(FForms);
        form.View.SetFocus(KEdit);
        QTRY_COMPARE(QApplication::focusWidget(), form.View.Control(KEdit));
        form.Events.Log.clear();
        TypeText(form.View.Control(KEdit), QStringLiteral("メモ"));
        QCOMPARE(Joined(form.Events.Actions()), QStringLiteral("text 1 メ; text 1 メモ"));

        form.Events.Log.clear();
        form.View.SetText(KEdit, "消された");
        QCOMPARE(form.Widget<QLineEdit>(KEdit)->text(), QStringLiteral("消された"));
        QVERIFY(form.Events.Actions().empty());
    }

    void TextFromTheInputMethodIsTypedText()
    {
        TShownForm form(FForms);
        form.View.SetFocus(KEdit);
        QTRY_COMPARE(QApplication::focusWidget(), form.View.Control(KEdit));
        form.Events.Log.clear();
        QInputMethodEvent composing(QStringLiteral("かんじ"), {});
        QApplication::sendEvent(form.View.Control(KEdit), &composing);
        QInputMethodEvent committed;
        committed.setCommitString(QStringLiteral("漢字"));
        QApplication::sendEvent(form.View.Control(KEdit), &committed);
        QCOMPARE(form.Widget<QLineEdit>(KEdit)->text(), QStringLiteral("漢字"));
        QCOMPARE(form.Events.Actions().back(), std::string("text 1 漢字"));
    }

    void APickInTheListIsReportedAndSetItemIndexIsNot()
    {
        TShownForm form(FForms);
        auto* list = form.Widget<QComboBox>(KList);
        form.View.SetItemIndex(KList, 1);
        QCOMPARE(list->currentIndex(), 1);
        form.View.SetItemIndex(KList, 7);
        QCOMPARE(list->currentIndex(), -1);
        QCOMPARE(list->currentText(), QString());
        QVERIFY(form.Events.Actions().empty());

        list->showPopup();
        QListView* items = qobject_cast<QListView*>(list->view());
        QVERIFY(QTest::qWaitForWindowExposed(items->window()));
        const QRect second = items->visualRect(items->model()->index(2, 0));
        QTest::mouseClick(items->viewport(), Qt::LeftButton, {}, second.center());
        QTRY_VERIFY(!items->isVisible());
        QCOMPARE(list->currentIndex(), 2);
        QVERIFY(form.Events.Log.back() == "item 3 2");
    }

    void TheCloseBoxOnlyAsks()
    {
        TShownForm form(FForms);
        form.View.Window()->close();
        QCOMPARE(Joined(form.Events.Actions()), QStringLiteral("close"));
        QVERIFY(form.View.Window()->isVisible());
    }

    void AModalShowingDisablesTheOtherVisibleForms()
    {
        TShownForm shown(FForms);
        TRecordingEvents hiddenEvents, modalEvents;
        TQtFormView hidden(FForms, SampleForm(), hiddenEvents);
        TQtFormView modal(FForms, SampleForm(), modalEvents);
        modal.Show(true);
        QVERIFY(!shown.View.Window()->isEnabled());
        QVERIFY(hidden.Window()->isEnabled());
        QVERIFY(modal.Window()->isEnabled());
        modal.Hide();
        QVERIFY(shown.View.Window()->isEnabled());
    }

    void ALoopRunsUntilItsConditionHolds()
    {
        bool outerDone = false;
        bool innerDone = false;
        std::vector<std::string> order;
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(0, [&] { innerDone = true; });
            FForms.RunLoop([&] { return innerDone; });
            order.push_back("inner returned");
            outerDone = true;
        });
        FForms.RunLoop([&] { return outerDone; });
        order.push_back("outer returned");
        QCOMPARE(Joined(order), QStringLiteral("inner returned; outer returned"));
    }

    void TheErrorBoxShowsItsCaptionAndTextUntilClosed()
    {
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QTimer::singleShot(0, [&] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(window); box != nullptr && box->isVisible()) {
                    title = box->windowTitle();
                    text = box->text();
                    icon = box->icon();
                    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
                }
            }
        });
        FForms.ErrorBox("quillbox", "表示されているｳｨﾝﾄﾞｳをﾓｰﾀﾞﾙにすることはできません.");
        QCOMPARE(title, QStringLiteral("quillbox"));
        QCOMPARE(text, QStringLiteral("表示されているｳｨﾝﾄﾞｳをﾓｰﾀﾞﾙにすることはできません."));
        QCOMPARE(icon, QMessageBox::Critical);
    }

    // Last: the session stays ended for the rest of the process.
    void WhenTheSessionEndsEveryLoopReturns()
    {
        int returned = 0;
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(0, [&] { FForms.EndSession(); });
            FForms.RunLoop([] { return false; });
            ++returned;
        });
        FForms.RunLoop([] { return false; });
        ++returned;
        QCOMPARE(returned, 2);
        FForms.RunLoop([] { return false; });
        QVERIFY(FForms.SessionEnding());
    }

private:
    qt::TQtForms FForms;
};

QTEST_MAIN(TQtFormsTest)
#include "QtForms_test.moc"
