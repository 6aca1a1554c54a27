#include "support/WindowRig.h"

#include "link/Frame.h"
#include "traffic/TrafficFilter.h"
#include "traffic/TrafficModel.h"
#include "traffic/widgets/TrafficWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {
QMenu *viewMenu(MainWindow &window)
{
    for (QAction *a : window.menuBar()->actions())
        if (a->menu() && a->menu()->objectName() == QLatin1String("view"))
            return a->menu();
    return nullptr;
}

QAction *trafficAction(MainWindow &window)
{
    QMenu *menu = viewMenu(window);
    return menu ? menu->findChild<QAction *>(QStringLiteral("traffic"), Qt::FindDirectChildrenOnly)
                : nullptr;
}

TrafficWindow *openConsole(WindowRig &rig)
{
    QAction *action = trafficAction(rig.window);
    if (!action)
        return nullptr;
    action->trigger();
    return rig.window.trafficWindow();
}

void addExchange(TrafficModel &model)
{
    using Kind = TrafficRow::Kind;
    model.add({0, Kind::Opened, {}, QStringLiteral("/dev/fake 9600,N,8 ,1")});
    model.add({5, Kind::Sent, Frame::build(Frame::requestStart, 0xFF, 0x10, 0, 6, {})});
    model.add({31, Kind::Discarded, QByteArray(13, '\x11')});
    model.add({32, Kind::Received, Frame::build(Frame::responseStart, 0xFF, 0x10, 0, 6, "abc")});
    model.flush();
}
} // namespace

class TestTrafficWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
    }

    void captionsFollowTheLanguage_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("header");
        QTest::newRow("English") << true << "view"
                                 << "Traffic"
                                 << "discarded 13 bytes"
                                 << "Command";
        QTest::newRow("Chinese") << false << "视图"
                                 << "通讯报文"
                                 << "丢弃 13 字节"
                                 << "命令";
    }

    // The menu, the window and the rows already shown change language with
    // the program.
    void captionsFollowTheLanguage()
    {
        QFETCH(bool, english);
        QFETCH(QString, menu);
        QFETCH(QString, title);
        QFETCH(QString, command);
        QFETCH(QString, header);
        WindowRig rig;
        rig.core.state.setEnglishUi(!english);
        TrafficWindow *console = openConsole(rig);
        QVERIFY(console);
        addExchange(console->model());
        rig.core.state.setEnglishUi(english);
        QCOMPARE(viewMenu(rig.window)->title(), menu);
        QCOMPARE(trafficAction(rig.window)->text(), title);
        QCOMPARE(console->windowTitle(), title);
        QAbstractItemModel *shown = console->table()->model();
        QCOMPARE(shown->headerData(TrafficModel::Command, Qt::Horizontal).toString(), header);
        QCOMPARE(shown->index(2, TrafficModel::Command).data().toString(), command);
        // The main window keeps its fixed size with the extra menu.
        QCOMPARE(rig.window.size(), QSize(MainWindow::fixedWidth, MainWindow::fixedHeight));
    }

    // A screen reader reads the table cell by cell; every control has a name
    // and is reached with the Tab key.
    void readableAndReachable()
    {
        WindowRig rig;
        rig.core.state.setEnglishUi(true);
        TrafficWindow *console = openConsole(rig);
        QVERIFY(console);
        addExchange(console->model());

        QAccessibleInterface *table = QAccessible::queryAccessibleInterface(console->table());
        QVERIFY(table && table->tableInterface());
        QCOMPARE(table->text(QAccessible::Name), QStringLiteral("Traffic"));
        QCOMPARE(table->tableInterface()->rowCount(), 4);
        QCOMPARE(table->tableInterface()->columnCount(), int(TrafficModel::ColumnCount));
        QAccessibleInterface *cell = table->tableInterface()->cellAt(1, TrafficModel::Command);
        QVERIFY(cell);
        QCOMPARE(cell->text(QAccessible::Name), QStringLiteral("Read Basic Information"));

        const QList<QWidget *> controls = {console->directionList(), console->itemList(),
                                           console->pauseButton(),   console->clearButton(),
                                           console->saveButton(),    console->table()};
        for (QWidget *w : controls) {
            QVERIFY2(w->focusPolicy() & Qt::TabFocus, qPrintable(w->objectName()));
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
            QVERIFY2(iface && !iface->text(QAccessible::Name).isEmpty(),
                     qPrintable(w->objectName()));
        }
        console->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(console));
        controls.first()->setFocus();
        for (int i = 1; i < controls.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), controls.at(i));
        }
    }

    void controlsActOnTheRows()
    {
        WindowRig rig;
        rig.core.state.setEnglishUi(true);
        TrafficWindow *console = openConsole(rig);
        QVERIFY(console);
        addExchange(console->model());
        QAbstractItemModel *shown = console->table()->model();

        console->directionList()->setCurrentIndex(1); // sent
        QCOMPARE(shown->rowCount(), 2);
        console->itemList()->setCurrentIndex(console->itemList()->findData(1));
        QCOMPARE(shown->rowCount(), 1); // only the port note
        console->directionList()->setCurrentIndex(0);
        console->itemList()->setCurrentIndex(0);
        QCOMPARE(shown->rowCount(), 4);

        console->pauseButton()->click();
        QVERIFY(console->model().paused());
        console->pauseButton()->click();
        QVERIFY(!console->model().paused());
        console->clearButton()->click();
        QCOMPARE(shown->rowCount(), 0);
    }

    void saveThroughTheDialog_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("saved");
        QTest::newRow("saved") << "traffic.txt" << true;
        QTest::newRow("folder missing") << "missing/traffic.txt" << false;
        QTest::newRow("cancelled") << "" << false;
    }

    void saveThroughTheDialog()
    {
        QFETCH(QString, name);
        QFETCH(bool, saved);
        WindowRig rig;
        rig.core.state.setEnglishUi(true);
        TrafficWindow *console = openConsole(rig);
        QVERIFY(console);
        addExchange(console->model());
        QTemporaryDir dir;
        const QString path = name.isEmpty() ? QString() : dir.filePath(name);
        rig.prompt.nextSaveFile = path;
        console->saveButton()->click();
        QCOMPARE(rig.prompt.saveSuggestions.size(), 1);
        QCOMPARE(QFile::exists(path), saved);
        // A failure says so; a cancel says nothing.
        QCOMPARE(rig.prompt.messages.size(), !saved && !name.isEmpty() ? 1 : 0);
        if (!rig.prompt.messages.isEmpty())
            QVERIFY(rig.prompt.messages.first().text.startsWith(
                QStringLiteral("The traffic could not be saved to ")));
    }

    void sizeAndPlaceAreRemembered()
    {
        const QRect place(120, 90, 700, 380);
        {
            WindowRig rig;
            TrafficWindow *console = openConsole(rig);
            QVERIFY(console);
            console->setGeometry(place);
            console->close();
        }
        WindowRig rig;
        TrafficWindow *console = openConsole(rig);
        QVERIFY(console);
        QCOMPARE(console->geometry().size(), place.size());
        QCOMPARE(console->geometry().topLeft(), place.topLeft());
    }

private:
    QTemporaryDir m_config;
};

QTEST_MAIN(TestTrafficWindow)
#include "tst_traffic_window.moc"
