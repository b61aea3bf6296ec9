// Hidden windows, SendMessage and the clipboard viewer chain of the Qt layer, with the core's own
// clipboard detector as the chain's members.

#include "QtTestSupport.h"
#include "components/VxClipDetector.h"
#include "platform/qt/QtPlatform.h"

#include <QTest>

#include <set>
#include <stdexcept>

using namespace quillbox;
using quillbox::qt::test::TRecordingWindow;

namespace {

// Counts the change events one detector fires.
struct TChangeCounter
{
    void Changed(TObject*) { ++Count; }
    TNotifyEvent Handler() { return TNotifyEvent::Of<&TChangeCounter::Changed>(this); }
    int Count = 0;
};

} // namespace

class TQtWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { InstallPlatform(&FPlatform); }
    void cleanup() { InstallPlatform(nullptr); }

    void HandlesAreNeverZeroNorSharedByLiveWindows()
    {
        TRecordingWindow window;
        std::set<THandle> handles;
        for (int i = 0; i < 100; ++i) {
            const THandle handle = Windows().AllocateHWnd(window.Method());
            QVERIFY(handle != 0);
            QVERIFY(handles.insert(handle).second);
        }
        QVERIFY(handles.count(Windows().ApplicationHandle()) == 0);
        for (const THandle handle : handles)
            Windows().DeallocateHWnd(handle);
    }

    void SendMessageDeliversAtOnceAndGivesTheAnswer()
    {
        TRecordingWindow window;
        window.Answer = 42;
        std::uint32_t resultOnEntry = 99;
        window.OnMessage = [&](TMessage& message) { resultOnEntry = message.Result; };
        const THandle handle = Windows().AllocateHWnd(window.Method());
        QCOMPARE(Windows().SendMessage(handle, wm::WM_USER + 200, 7, 513), 42u);
        QCOMPARE(window.Received.size(), std::size_t(1));
        QCOMPARE(window.Received[0].Msg, wm::WM_USER + 200);
        QCOMPARE(window.Received[0].WParam, 7u);
        QCOMPARE(window.Received[0].LParam, 513u);
        QCOMPARE(resultOnEntry, 0u);
        Windows().DeallocateHWnd(handle);
        QCOMPARE(Windows().SendMessage(handle, wm::WM_USER, 0, 0), 0u);
        QCOMPARE(window.Received.size(), std::size_t(1));
    }

    void AnExceptionNeverLeavesAWindow()
    {
        TRecordingWindow window;
        window.OnMessage = [](TMessage&) { throw std::runtime_error("raised in a window method"); };
        const THandle handle = Windows().AllocateHWnd(window.Method());
        QCOMPARE(Windows().SendMessage(handle, wm::WM_USER, 0, 0), 0u);
        Windows().DeallocateHWnd(handle);
    }

    void AWindowMayDeallocateItselfWhileHandlingAMessage()
    {
        TRecordingWindow window;
        THandle handle = 0;
        window.OnMessage = [&](TMessage&) { Windows().DeallocateHWnd(handle); };
        handle = Windows().AllocateHWnd(window.Method());
        Windows().SendMessage(handle, wm::WM_USER, 0, 0);
        Windows().SendMessage(handle, wm::WM_USER, 0, 0);
        QCOMPARE(window.Received.size(), std::size_t(1));
    }

    void DefaultAnswers_data()
    {
        QTest::addColumn<std::uint32_t>("msg");
        QTest::addColumn<std::uint32_t>("answer");
        QTest::newRow("the end of the session is allowed") << wm::WM_QUERYENDSESSION << 1u;
        QTest::newRow("close") << wm::WM_CLOSE << 0u;
        QTest::newRow("a callback message") << wm::WM_USER + 200 << 0u;
    }

    void DefaultAnswers()
    {
        QFETCH(std::uint32_t, msg);
        QFETCH(std::uint32_t, answer);
        QCOMPARE(Windows().DefWindowProc(Windows().ApplicationHandle(), msg, 0, 0), answer);
        // The application's window handles nothing itself.
        QCOMPARE(Windows().SendMessage(Windows().ApplicationHandle(), msg, 0, 0), answer);
    }

    void TheJoiningNotificationArrivesInsideTheJoin()
    {
        TVxClipDetector detector(nullptr);
        detector.SetIgnoreFirst(false);
        TChangeCounter counter;
        detector.SetOnClipChange(counter.Handler());
        QCOMPARE(counter.Count, 1);
        QCOMPARE(FPlatform.QtWindows().ClipboardViewer(), detector.Handle());
    }

    void AChangeTravelsTheWholeChain()
    {
        TVxClipDetector first(nullptr);
        TVxClipDetector second(nullptr);
        TChangeCounter firstCount, secondCount;
        first.SetOnClipChange(firstCount.Handler());
        second.SetOnClipChange(secondCount.Handler());
        QCOMPARE(second.NextViewer(), first.Handle());

        FPlatform.QtWindows().ClipboardChanged();
        QCOMPARE(firstCount.Count, 1);
        QCOMPARE(secondCount.Count, 1);
    }

    void TheChainIsRepairedWhenAMemberLeaves_data()
    {
        QTest::addColumn<int>("leaving");
        QTest::newRow("the head leaves") << 2;
        QTest::newRow("a member in the middle leaves") << 1;
        QTest::newRow("the last member leaves") << 0;
    }

    void TheChainIsRepairedWhenAMemberLeaves()
    {
        QFETCH(int, leaving);
        TChangeCounter counts[3];
        std::unique_ptr<TVxClipDetector> detectors[3];
        for (int i = 0; i < 3; ++i) {
            detectors[i] = std::make_unique<TVxClipDetector>(nullptr);
            detectors[i]->SetOnClipChange(counts[i].Handler());
        }
        detectors[leaving].reset();
        FPlatform.QtWindows().ClipboardChanged();
        for (int i = 0; i < 3; ++i)
            QCOMPARE(counts[i].Count, i == leaving ? 0 : 1);
    }

private:
    qt::TQtWindows& Windows() { return FPlatform.QtWindows(); }

    qt::TQtPlatform FPlatform;
};

QTEST_MAIN(TQtWindowsTest)
#include "QtWindows_test.moc"
