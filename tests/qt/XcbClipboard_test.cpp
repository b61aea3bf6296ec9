// The clipboard as the capture sees it on X11: which changes are reported, one transfer per change,
// and a hung owner that costs one bounded wait. Needs an X server (run under Xvfb).

#include "TestSelectionOwner.h"
#include "platform/qt/XcbClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>
#include <QtGui/qguiapplication_platform.h>

#include <thread>

using quillbox::qt::TXcbClipboard;
using quillbox::qt::TXcbSelectionReader;
using quillbox::qt::test::TOwnerScript;
using quillbox::qt::test::TTestSelectionOwner;

namespace {

TOwnerScript Script(std::string text)
{
    TOwnerScript script;
    script.Text = std::move(text);
    return script;
}

xcb_connection_t* QtConnection()
{
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

// The clipboard of a process, counting the changes it reports.
class TClipboardFixture
{
public:
    explicit TClipboardFixture(TXcbSelectionReader::TOptions options = {})
        : Clipboard(TXcbClipboard::Create([this] { ++Changes; }, QtConnection(), options))
    {
        if (!Clipboard)
            qFatal("no X server with XFixes: run this test under Xvfb");
    }

    int Changes = 0;
    std::unique_ptr<TXcbClipboard> Clipboard;
};

} // namespace

class TXcbClipboardTest : public QObject
{
    Q_OBJECT

private slots:
    void ReportsAnotherProgramsCopyOnceAndTransfersItOnce()
    {
        TClipboardFixture fixture;
        TOwnerScript script = Script("コピーした文字列");
        script.IncrPiece = 512;
        const TTestSelectionOwner owner(script);
        QTRY_COMPARE(fixture.Changes, 1);
        QVERIFY(fixture.Clipboard->HasText());
        QCOMPARE(fixture.Clipboard->GetText(), script.Text);
        QCOMPARE(owner.TextTransfers(), 1);
    }

    // Our own copy (Qt owning the clipboard) is no change to save; the next program's copy is the
    // first change reported, since X reports owners in order.
    void DoesNotReportTheProgramsOwnCopy()
    {
        TClipboardFixture fixture;
        QGuiApplication::clipboard()->setText(QStringLiteral("typed in our own edit box"));
        QVERIFY(fixture.Clipboard->HasText());
        QCOMPARE(fixture.Clipboard->GetText(), std::string("typed in our own edit box"));
        const TTestSelectionOwner other(Script("another program"));
        QTRY_COMPARE(fixture.Changes, 1);
        QCOMPARE(fixture.Clipboard->GetText(), std::string("another program"));
    }

    void APasswordManagersCopyIsMarkedAndItsTextNeverAsked_data()
    {
        QTest::addColumn<QString>("hint");
        QTest::addColumn<bool>("doNotRecord");
        QTest::newRow("marked secret") << QStringLiteral("secret") << true;
        QTest::newRow("a hint of another kind") << QStringLiteral("public") << false;
        QTest::newRow("no hint") << QString() << false;
    }

    void APasswordManagersCopyIsMarkedAndItsTextNeverAsked()
    {
        QFETCH(QString, hint);
        QFETCH(bool, doNotRecord);
        TClipboardFixture fixture;
        TOwnerScript script = Script("hunter2");
        if (!hint.isNull())
            script.Extra = {{"x-kde-passwordManagerHint", hint.toStdString()}};
        const TTestSelectionOwner owner(script);
        QTRY_COMPARE(fixture.Changes, 1);
        QVERIFY(fixture.Clipboard->HasText());
        QCOMPARE(fixture.Clipboard->DoNotRecord(), doNotRecord);
        if (doNotRecord) {
            QCOMPARE(owner.TextTransfers(), 0);
        } else {
            QCOMPARE(fixture.Clipboard->GetText(), std::string("hunter2"));
            QCOMPARE(owner.TextTransfers(), 1);
        }
    }

    // A copy made while the program waits on a hung owner is reported after the wait and read.
    void SavesTheCopyAfterAHungOwner()
    {
        TClipboardFixture fixture({std::chrono::milliseconds(400), std::chrono::milliseconds(60000)});
        TOwnerScript hung = Script("never sent");
        hung.Fault = TOwnerScript::TFault::Hang;
        const TTestSelectionOwner hungOwner(hung);
        QTRY_COMPARE(fixture.Changes, 1);

        std::unique_ptr<TTestSelectionOwner> next;
        std::thread copier([&] {
            while (hungOwner.Requests() == 0)
                std::this_thread::yield();
            next = std::make_unique<TTestSelectionOwner>(Script("the next copy"));
        });
        const bool hungHadText = fixture.Clipboard->HasText();
        copier.join();
        QVERIFY(!hungHadText);
        QTRY_COMPARE(fixture.Changes, 2);
        QVERIFY(fixture.Clipboard->HasText());
        QCOMPARE(fixture.Clipboard->GetText(), std::string("the next copy"));
    }
};

QTEST_MAIN(TXcbClipboardTest)
#include "XcbClipboard_test.moc"
