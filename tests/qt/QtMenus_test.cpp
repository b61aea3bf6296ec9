// Popup menus: the index chosen, access letters, dismissal.

#include "platform/qt/QtMenus.h"

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

using namespace quillbox;

class TQtMenusTest : public QObject
{
    Q_OBJECT

private slots:
    void GivesTheChosenIndex_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("chosen");
        QTest::newRow("the access letter of the last item") << QList<int>{Qt::Key_C} << 2;
        QTest::newRow("the access letter of the second item") << QList<int>{Qt::Key_A} << 1;
        QTest::newRow("the first item from the keyboard") << QList<int>{Qt::Key_Down, Qt::Key_Return} << 0;
        QTest::newRow("dismissed") << QList<int>{Qt::Key_Escape} << -1;
    }

    void GivesTheChosenIndex()
    {
        QFETCH(QList<int>, keys);
        QFETCH(int, chosen);
        QStringList shown;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu != nullptr);
            for (const QAction* action : menu->actions())
                shown.append(action->text());
            for (const int key : keys)
                QTest::keyClick(menu, static_cast<Qt::Key>(key));
        });
        QCOMPARE(FMenus.TrackPopupMenu({"設定", "ﾊﾞｰｼｮﾝ情報(&A)", "閉じる(&C)"}, {40, 30}), chosen);
        QCOMPARE(shown, (QStringList{"設定", "ﾊﾞｰｼｮﾝ情報(&A)", "閉じる(&C)"}));
    }

private:
    qt::TQtMenus FMenus;
};

QTEST_MAIN(TQtMenusTest)
#include "QtMenus_test.moc"
