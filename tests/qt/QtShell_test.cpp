// The notify-icon operations mapped onto QSystemTrayIcon, and presses on the icon coming back as the
// record's callback message.

#include "QtTestSupport.h"
#include "platform/qt/QtIcons.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtWindows.h"
#include "resources/Icons.h"

#include <QSystemTrayIcon>
#include <QTest>

#include <cstring>

using namespace quillbox;
using quillbox::qt::test::TRecordingWindow;

namespace {

constexpr std::uint32_t KCallback = wm::WM_USER + 200;

TNotifyIconDataA Record(THandle wnd, std::uint32_t id, std::uint32_t flags, THandle icon, const char* tip)
{
    TNotifyIconDataA data;
    data.cbSize = sizeof data;
    data.hWnd = wnd;
    data.uID = id;
    data.uFlags = flags;
    data.uCallbackMessage = KCallback;
    data.hIcon = icon;
    std::strncpy(data.szTip, tip, sizeof data.szTip - 1);
    return data;
}

constexpr std::uint32_t KAll = nif::NIF_MESSAGE | nif::NIF_ICON | nif::NIF_TIP;

} // namespace

Q_DECLARE_METATYPE(std::vector<std::uint32_t>)

class TQtShellTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        FWindow = TRecordingWindow();
        FHandle = FWindows.AllocateHWnd(FWindow.Method());
        FIcon = FIcons.CreateIconFromImage(std::string(resources::MainIcon()));
    }
    void cleanup()
    {
        FShell.Shell_NotifyIcon(nim::NIM_DELETE, Record(FHandle, 1, 0, 0, ""));
        FWindows.DeallocateHWnd(FHandle);
        FIcons.DestroyIcon(FIcon);
    }

    void AnswersAsTheShellDoes()
    {
        const TNotifyIconDataA data = Record(FHandle, 1, KAll, FIcon, "Quillbox");
        QVERIFY(!FShell.Shell_NotifyIcon(nim::NIM_MODIFY, data));
        QVERIFY(FShell.Shell_NotifyIcon(nim::NIM_ADD, data));
        QVERIFY(!FShell.Shell_NotifyIcon(nim::NIM_ADD, data));
        QVERIFY(FShell.Shell_NotifyIcon(nim::NIM_MODIFY, data));
        QVERIFY(FShell.Shell_NotifyIcon(nim::NIM_DELETE, data));
        QVERIFY(!FShell.Shell_NotifyIcon(nim::NIM_DELETE, data));
        QVERIFY(FShell.TrayIcon(FHandle, 1) == nullptr);
    }

    void ShowsTheRecordsIconAndTip()
    {
        QVERIFY(FShell.Shell_NotifyIcon(nim::NIM_ADD, Record(FHandle, 1, KAll, FIcon, "Quillbox")));
        QSystemTrayIcon* icon = FShell.TrayIcon(FHandle, 1);
        QVERIFY(icon != nullptr);
        QVERIFY(icon->isVisible());
        QCOMPARE(icon->toolTip(), QStringLiteral("Quillbox"));
        QVERIFY(!icon->icon().isNull());

        QVERIFY(FShell.Shell_NotifyIcon(nim::NIM_MODIFY, Record(FHandle, 1, KAll, FIcon, "日本語のヒント")));
        QCOMPARE(icon->toolTip(), QStringLiteral("日本語のヒント"));
        // Without NIF_ICON and NIF_TIP the shell keeps what it showed.
        QVERIFY(FShell.Shell_NotifyIcon(nim::NIM_MODIFY, Record(FHandle, 1, nif::NIF_MESSAGE, 0, "")));
        QCOMPARE(icon->toolTip(), QStringLiteral("日本語のヒント"));
        QVERIFY(!icon->icon().isNull());
    }

    void ATipCutInsideACharacterLosesOnlyThatCharacter_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ASCII") << QByteArray("Quillbox") << QStringLiteral("Quillbox");
        QTest::newRow("whole characters") << QByteArray("あい") << QStringLiteral("あい");
        QTest::newRow("one byte of three left") << QByteArray("あい\xe3") << QStringLiteral("あい");
        QTest::newRow("two bytes of three left") << QByteArray("あい\xe3\x81") << QStringLiteral("あい");
        QTest::newRow("one byte of two left") << QByteArray("caf\xc3") << QStringLiteral("caf");
        QTest::newRow("empty") << QByteArray() << QString();
    }

    void ATipCutInsideACharacterLosesOnlyThatCharacter()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        char tip[64] = {};
        std::memcpy(tip, bytes.constData(), static_cast<std::size_t>(bytes.size()));
        QCOMPARE(qt::TipText(tip), expected);
    }

    void PressesComeBackAsTheCallbackMessage_data()
    {
        QTest::addColumn<int>("reason");
        QTest::addColumn<std::vector<std::uint32_t>>("mouse");
        QTest::newRow("left click") << int(QSystemTrayIcon::Trigger)
                                    << std::vector<std::uint32_t>{wm::WM_LBUTTONDOWN, wm::WM_LBUTTONUP};
        QTest::newRow("right click") << int(QSystemTrayIcon::Context)
                                     << std::vector<std::uint32_t>{wm::WM_RBUTTONDOWN, wm::WM_RBUTTONUP};
        QTest::newRow("double click") << int(QSystemTrayIcon::DoubleClick)
                                      << std::vector<std::uint32_t>{wm::WM_LBUTTONDBLCLK};
        QTest::newRow("middle click") << int(QSystemTrayIcon::MiddleClick)
                                      << std::vector<std::uint32_t>{wm::WM_MBUTTONDOWN, wm::WM_MBUTTONUP};
        QTest::newRow("unknown") << int(QSystemTrayIcon::Unknown) << std::vector<std::uint32_t>{};
    }

    void PressesComeBackAsTheCallbackMessage()
    {
        QFETCH(int, reason);
        QFETCH(std::vector<std::uint32_t>, mouse);
        QVERIFY(FShell.Shell_NotifyIcon(nim::NIM_ADD, Record(FHandle, 7, KAll, FIcon, "Quillbox")));
        emit FShell.TrayIcon(FHandle, 7)->activated(static_cast<QSystemTrayIcon::ActivationReason>(reason));
        // Reported from the event loop, once Qt has finished with the press.
        QVERIFY(FWindow.Received.empty());
        QCoreApplication::processEvents();
        QCOMPARE(FWindow.Received.size(), mouse.size());
        for (std::size_t i = 0; i < mouse.size(); ++i) {
            QCOMPARE(FWindow.Received[i].Msg, KCallback);
            QCOMPARE(FWindow.Received[i].WParam, 7u);
            QCOMPARE(FWindow.Received[i].LParam, mouse[i]);
        }
        FShell.Shell_NotifyIcon(nim::NIM_DELETE, Record(FHandle, 7, 0, 0, ""));
    }

    // A menu command chosen on the press may take the icon away before the release arrives.
    void AnIconDeletedOnThePressGetsNoRelease()
    {
        QVERIFY(FShell.Shell_NotifyIcon(nim::NIM_ADD, Record(FHandle, 1, KAll, FIcon, "Quillbox")));
        FWindow.OnMessage = [this](TMessage&) {
            FShell.Shell_NotifyIcon(nim::NIM_DELETE, Record(FHandle, 1, 0, 0, ""));
        };
        emit FShell.TrayIcon(FHandle, 1)->activated(QSystemTrayIcon::Trigger);
        QCoreApplication::processEvents();
        QCOMPARE(FWindow.Received.size(), std::size_t(1));
        QCOMPARE(FWindow.Received[0].LParam, wm::WM_LBUTTONDOWN);
        QVERIFY(FShell.TrayIcon(FHandle, 1) == nullptr);
    }

private:
    qt::TQtWindows FWindows;
    qt::TQtIcons FIcons;
    qt::TQtShell FShell{FWindows, FIcons};
    TRecordingWindow FWindow;
    THandle FHandle = 0;
    THandle FIcon = 0;
};

QTEST_MAIN(TQtShellTest)
#include "QtShell_test.moc"
