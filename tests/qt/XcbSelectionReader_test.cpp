// Reading CLIPBOARD from other X clients: what each kind of owner gives, large texts, and owners that
// hang or die. Needs an X server (run under Xvfb).

#include "TestSelectionOwner.h"
#include "platform/qt/XcbSelectionReader.h"

#include <QTest>

#include <xcb/xfixes.h>

#include <optional>

using quillbox::qt::TXcbConnection;
using quillbox::qt::TXcbSelectionReader;
using quillbox::qt::test::TOwnerScript;
using quillbox::qt::test::TTestSelectionOwner;
using TFault = TOwnerScript::TFault;

Q_DECLARE_METATYPE(TOwnerScript)
Q_DECLARE_METATYPE(std::optional<std::string>)

namespace {

// A reader on a connection of its own that, like the program's, hears of CLIPBOARD's owners.
class TReaderFixture
{
public:
    explicit TReaderFixture(TXcbSelectionReader::TOptions options = {}) : FConnection(TXcbConnection::Open())
    {
        if (!FConnection)
            qFatal("no X server: run this test under Xvfb");
        xcb_connection_t* c = FConnection->Get();
        const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(c, &xcb_xfixes_id);
        std::free(xcb_xfixes_query_version_reply(c, xcb_xfixes_query_version(c, 5, 0), nullptr));
        const xcb_atom_t clipboard = FConnection->Atom("CLIPBOARD");
        xcb_xfixes_select_selection_input(c, FConnection->Screen()->root, clipboard,
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                              XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE |
                                              XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY);
        Reader = std::make_unique<TXcbSelectionReader>(*FConnection, clipboard, xfixes->first_event, nullptr, options);
    }

    std::unique_ptr<TXcbConnection> FConnection;
    std::unique_ptr<TXcbSelectionReader> Reader;
};

TOwnerScript Script(std::string text, std::vector<std::string> targets = {"UTF8_STRING", "STRING"},
                    std::string type = "UTF8_STRING")
{
    TOwnerScript script;
    script.Text = std::move(text);
    script.Targets = std::move(targets);
    script.Type = std::move(type);
    return script;
}

std::string Pattern(std::size_t size)
{
    std::string text(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        text[i] = static_cast<char>('a' + (i * 7 + i / 4093) % 26);
    return text;
}

} // namespace

class TXcbSelectionReaderTest : public QObject
{
    Q_OBJECT

private slots:
    void ReadsWhatTheOwnerOffers_data()
    {
        QTest::addColumn<TOwnerScript>("script");
        QTest::addColumn<std::optional<std::string>>("expected");

        const std::string japanese = "日本語のテキスト\r\n二行目\r\n";
        QTest::newRow("UTF-8 with CR LF, bytes unchanged") << Script(japanese) << std::optional(japanese);
        QTest::newRow("text/plain;charset=utf-8 only")
            << Script(japanese, {"text/plain;charset=utf-8"}, "text/plain;charset=utf-8") << std::optional(japanese);
        QTest::newRow("STRING only is ISO 8859-1")
            << Script("caf\xe9 \xb5", {"STRING"}, "STRING") << std::optional<std::string>("caf\xc3\xa9 \xc2\xb5");
        QTest::newRow("TEXT answered as ASCII compound text")
            << Script("plain", {"TEXT"}, "COMPOUND_TEXT") << std::optional<std::string>("plain");
        QTest::newRow("compound text beyond ASCII is not taken")
            << Script("\x1b-A\xe9", {"TEXT"}, "COMPOUND_TEXT") << std::optional<std::string>();
        QTest::newRow("only an image: no text")
            << Script("\x89PNG", {"image/png"}, "image/png") << std::optional<std::string>();
        QTest::newRow("text up to its first zero byte")
            << Script(std::string("ab\0cd", 5)) << std::optional<std::string>("ab");
        QTest::newRow("an empty text is text") << Script("") << std::optional<std::string>("");

        TOwnerScript noTargets = Script("without TARGETS");
        noTargets.ListsTargets = false;
        QTest::newRow("an owner that refuses TARGETS is asked for UTF8_STRING")
            << noTargets << std::optional<std::string>("without TARGETS");

        TOwnerScript incr = Script(Pattern(300 * 1024 + 17));
        incr.IncrPiece = 4096;
        QTest::newRow("INCR in small pieces") << incr << std::optional(incr.Text);
    }

    void ReadsWhatTheOwnerOffers()
    {
        QFETCH(TOwnerScript, script);
        QFETCH(std::optional<std::string>, expected);
        TReaderFixture fixture;
        const TTestSelectionOwner owner(script);
        const std::optional<std::string> text = fixture.Reader->ReadText();
        QCOMPARE(text.has_value(), expected.has_value());
        if (expected)
            QVERIFY(*text == *expected);
    }

    void ReadsOneHundredMebibytesByteExact()
    {
        TOwnerScript script = Script(Pattern(100u << 20));
        script.IncrPiece = 256 * 1024;
        TReaderFixture fixture;
        const TTestSelectionOwner owner(script);
        const std::optional<std::string> text = fixture.Reader->ReadText();
        QVERIFY(text.has_value());
        QCOMPARE(text->size(), script.Text.size());
        QVERIFY(*text == script.Text);
    }

    void GivesNothingWithoutOwner()
    {
        TReaderFixture fixture;
        {
            const TTestSelectionOwner gone(Script("gone"));
        }
        QVERIFY(!fixture.Reader->ReadText().has_value());
    }

    // A hung owner is given up on; the next owner is read as usual.
    void GivesUpOnAHungOwner()
    {
        TReaderFixture fixture({std::chrono::milliseconds(300), std::chrono::milliseconds(60000)});
        TOwnerScript hung = Script("never sent");
        hung.Fault = TFault::Hang;
        {
            const TTestSelectionOwner owner(hung);
            QVERIFY(!fixture.Reader->ReadText().has_value());
            QVERIFY(owner.Requests() >= 1);
        }
        const TTestSelectionOwner next(Script("next copy"));
        QCOMPARE(fixture.Reader->ReadText(), std::optional<std::string>("next copy"));
    }

    // The owner's client closing mid-transfer ends the wait at once: with an idle timeout of an hour,
    // a reader that missed it would never return.
    void StopsWhenTheOwnerDiesMidTransfer()
    {
        TReaderFixture fixture({std::chrono::hours(1), std::chrono::hours(1)});
        TOwnerScript dying = Script(Pattern(64 * 1024));
        dying.IncrPiece = 1024;
        dying.Fault = TFault::DieMidIncr;
        const TTestSelectionOwner owner(dying);
        QVERIFY(!fixture.Reader->ReadText().has_value());
    }
};

QTEST_GUILESS_MAIN(TXcbSelectionReaderTest)
#include "XcbSelectionReader_test.moc"
