#include "support/WindowRig.h"

#include "i18n/widgets/AboutDialog.h"
#include "i18n/widgets/LanguageDialog.h"
#include "shell/Core.h"
#include "shell/Version.h"
#include "shell/widgets/MainWindow.h"
#include "shell/widgets/Panel.h"
#include "shell/widgets/PanelHost.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

using Page = PanelHost::Page;
Q_DECLARE_METATYPE(QList<Page>)

namespace {
const QList<Page> allPages = {Page::Link,   Page::Info,   Page::Param,  Page::System,
                              Page::Record, Page::Stored, Page::Upgrade};

// A window over a scripted port, as the program builds it.
struct Rig : WindowRig {
    Rig()
    {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
};
} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_config;

private slots:
    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
    }

    void startsOnInformationTab()
    {
        Rig rig;
        QCOMPARE(rig.host.selectedTab(), 2);
        QCOMPARE(rig.host.tabBar()->currentIndex(), 1);
        QCOMPARE(rig.core.state.selectedTab, 2);
        QCOMPARE(rig.core.state.currentCommand, quint8(0));
        for (Page p : allPages)
            QCOMPARE(rig.host.page(p)->isVisible(), p == Page::Info);
        // Directly below the tab strip, left edges aligned.
        const QRect info = rig.host.page(Page::Info)->geometry();
        QCOMPARE(info.left(), rig.host.tabBar()->x());
        QCOMPARE(info.top(), rig.host.tabBar()->y() + PanelHost::tabStripHeight);
    }

    void fixedTitleAndSize()
    {
        Rig rig;
        QCOMPARE(rig.window.windowTitle(), QStringLiteral("Cellvane V1.6"));
        // The title agrees with the one version that --version and the package show.
        QCOMPARE(rig.window.windowTitle(), QStringLiteral("Cellvane V") + Version::shortText());
        QCOMPARE(rig.window.size(), QSize(933, 700));
        QVERIFY(!(rig.window.windowFlags() & Qt::WindowMaximizeButtonHint));
        rig.window.resize(1200, 900);
        QCOMPARE(rig.window.size(), QSize(933, 700));
        rig.window.showMaximized();
        QTRY_VERIFY(!(rig.window.windowState() & Qt::WindowMaximized));
        QCOMPARE(rig.window.size(), QSize(933, 700));
    }

    // The desktop shows this icon for the window in every size it asks for.
    void windowHasTheProgramIcon()
    {
        Rig rig;
        const QIcon icon = rig.window.windowIcon();
        QVERIFY(!icon.isNull());
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            QVERIFY2(icon.availableSizes().contains(QSize(size, size)),
                     qPrintable(QString::number(size)));
            QVERIFY(!icon.pixmap(size).isNull());
        }
    }

    void menuHasTwoPlainEntries()
    {
        Rig rig;
        const auto actions = rig.window.menuBar()->actions();
        QCOMPARE(actions.size(), 2);
        QCOMPARE(actions.at(0)->text(), QStringLiteral("language"));
        QCOMPARE(actions.at(1)->text(), QStringLiteral("about"));
        for (QAction *a : actions)
            QVERIFY(!a->menu());
        // The tab host carries the very same entries.
        QVERIFY(rig.host.actions().contains(actions.at(0)));
        QVERIFY(rig.host.actions().contains(actions.at(1)));
    }

    void menusOpenDialogsWithoutBlocking()
    {
        Rig rig;
        rig.host.languageAction()->trigger();
        QVERIFY(rig.window.languageDialog());
        QVERIFY(rig.window.languageDialog()->isVisible());
        QVERIFY(!rig.window.languageDialog()->isModal());
        QVERIFY(!QApplication::activeModalWidget());

        rig.host.aboutAction()->trigger();
        AboutDialog *about = rig.window.aboutDialog();
        QVERIFY(about);
        QVERIFY(about->isVisible());
        QVERIFY(!about->isModal());
        QCOMPARE(about->windowTitle(), QStringLiteral("about"));
        QCOMPARE(about->label1()->text(),
                 QStringLiteral("1、本软件支持常规的UART、485、232等工具。"));
        QVERIFY(!about->label2()->text().isEmpty());

        // Opening again reuses the same dialogs.
        rig.host.languageAction()->trigger();
        rig.host.aboutAction()->trigger();
        QCOMPARE(rig.window.findChildren<LanguageDialog *>().size(), 1);
        QCOMPARE(rig.window.findChildren<AboutDialog *>().size(), 1);
    }

    void aboutReappliesCaptions()
    {
        Rig rig;
        rig.host.tabBar()->setTabText(0, QStringLiteral("stale"));
        rig.window.showAboutDialog();
        QCOMPARE(rig.host.tabBar()->tabText(0), QStringLiteral(" 串口设置"));
    }

    // Tab, the command it leaves, whether it clears Read All, and whether the
    // recording page, visible before, stays visible.
    void tabSwitch_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("command");
        QTest::addColumn<bool>("clearsReadAll");
        QTest::addColumn<bool>("recordStays");
        QTest::newRow("1 serial setting") << 1 << 0 << true << false;
        QTest::newRow("2 information") << 2 << 0 << true << true;
        QTest::newRow("3 parameters") << 3 << 16 << false << true;
        QTest::newRow("4 system") << 4 << 16 << false << true;
        QTest::newRow("5 other settings") << 5 << 0 << false << true;
        QTest::newRow("6 store data") << 6 << 16 << false << true;
        QTest::newRow("7 BMS upgrade") << 7 << 16 << false << false;
    }
    void tabSwitch()
    {
        QFETCH(int, tab);
        QFETCH(int, command);
        QFETCH(bool, clearsReadAll);
        QFETCH(bool, recordStays);
        const Page shown = allPages.at(tab - 1);
        for (bool clickTab : {false, true}) {
            Rig rig;
            rig.host.selectTab(5); // the recording page is now visible
            if (tab == 5)
                rig.host.selectTab(6); // it stays visible under tab 6
            rig.core.state.readAllActive = true;
            rig.core.state.currentCommand = 99;
            if (clickTab) {
                QTabBar *bar = rig.host.tabBar();
                QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab - 1).center());
            } else {
                rig.host.selectTab(tab);
            }
            QCOMPARE(rig.host.selectedTab(), tab);
            QCOMPARE(rig.core.state.selectedTab, tab);
            QCOMPARE(int(rig.core.state.currentCommand), command);
            QCOMPARE(rig.core.state.readAllActive, !clearsReadAll);
            for (Page p : allPages) {
                const bool expected = p == shown || (p == Page::Record && recordStays);
                QVERIFY2(rig.host.page(p)->isVisible() == expected,
                         qPrintable(rig.host.page(p)->objectName()));
            }
            // The shown page is on top of any page left visible under it.
            QWidget *top = nullptr;
            for (QObject *child : rig.host.children())
                if (auto *w = qobject_cast<Panel *>(child); w && w->isVisible())
                    top = w;
            QCOMPARE(top, rig.host.page(shown));
            QVERIFY(rig.host.page(shown)->autoFillBackground());
        }
    }

    void recordPageStaysHiddenWhenNeverShown()
    {
        Rig rig;
        for (int tab : {3, 4, 6, 2})
            rig.host.selectTab(tab);
        QVERIFY(!rig.host.page(Page::Record)->isVisible());
    }

    // A page left visible underneath never shows through the page on top.
    void shownPageCoversRecordPage()
    {
        Rig rig;
        Panel *record = rig.host.page(Page::Record);
        auto *marker = new QLabel(record);
        marker->setAutoFillBackground(true);
        QPalette red;
        red.setColor(QPalette::Window, Qt::red);
        marker->setPalette(red);
        marker->setGeometry(record->rect());
        marker->show();
        rig.host.selectTab(5);
        QImage before = rig.host.grab().toImage();
        const QPoint probe = record->geometry().center();
        QCOMPARE(before.pixelColor(probe), QColor(Qt::red));
        for (int tab : {2, 3, 4, 6}) {
            rig.host.selectTab(tab);
            QVERIFY(record->isVisible());
            const QImage after = rig.host.grab().toImage();
            int red = 0;
            for (int y = record->y(); y < record->geometry().bottom(); y += 7)
                for (int x = record->x(); x < record->geometry().right(); x += 7)
                    red += after.pixelColor(x, y) == QColor(Qt::red);
            QVERIFY2(red == 0,
                     qPrintable(QStringLiteral("tab %1: %2 red pixels").arg(tab).arg(red)));
        }
    }

    void statusLineFollowsState()
    {
        Rig rig;
        rig.core.state.setStatusLine(QStringLiteral("通迅暂停"));
        QCOMPARE(rig.host.statusBox()->text(), QStringLiteral("通迅暂停"));
        QVERIFY(rig.host.statusBox()->isReadOnly());
        rig.core.state.setStatusLine(QString());
        QCOMPARE(rig.host.statusBox()->text(), QString());
    }

    void captions_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QStringList>("tabs");
        QTest::addColumn<QString>("label");
        QTest::newRow("chinese") << false << QStringList{QStringLiteral(" 串口设置"),
                                                         QStringLiteral(" 状态信息"),
                                                         QStringLiteral("  设置参数"),
                                                         QStringLiteral(" 系统设置"),
                                                         QStringLiteral(" 其它设置 "),
                                                         QStringLiteral(" 存储数据 "),
                                                         QStringLiteral(" BMS升级 ")}
                                 << QStringLiteral("通迅状态：");
        QTest::newRow("english") << true << QStringList{QStringLiteral("serial setting"),
                                                        QStringLiteral("information"),
                                                        QStringLiteral("parameters"),
                                                        QStringLiteral("system"),
                                                        QStringLiteral("other settings "),
                                                        QStringLiteral("store data"),
                                                        QStringLiteral("BMS upgrade")}
                                 << QStringLiteral("Communication :");
    }
    void captions()
    {
        QFETCH(bool, english);
        QFETCH(QStringList, tabs);
        QFETCH(QString, label);
        Rig rig;
        rig.core.state.setEnglishUi(english);
        for (int i = 0; i < tabs.size(); ++i)
            QCOMPARE(rig.host.tabBar()->tabText(i), tabs.at(i));
        QCOMPARE(rig.host.findChild<QLabel *>(QStringLiteral("text90"))->text(), label);
        // Switching back and forth lands on the same texts.
        rig.core.state.setEnglishUi(!english);
        rig.core.state.setEnglishUi(english);
        QCOMPARE(rig.host.tabBar()->tabText(6), tabs.at(6));
    }

    // What a screen reader finds on every page: value boxes named after their
    // captions (directly or through a buddy label), drop-down lists described,
    // and push buttons that share a caption told apart by what they do.
    void everyControlIsNamed_data()
    {
        QTest::addColumn<bool>("english");
        QTest::newRow("chinese") << false;
        QTest::newRow("english") << true;
    }
    void everyControlIsNamed()
    {
        QFETCH(bool, english);
        Rig rig;
        rig.core.state.setEnglishUi(english);
        QSet<const QWidget *> buddies;
        for (const QLabel *label : rig.host.findChildren<QLabel *>())
            if (label->buddy() && !label->text().trimmed().isEmpty())
                buddies.insert(label->buddy());
        const auto where = [](const QWidget *w) {
            QStringList path;
            for (const QWidget *p = w; p; p = p->parentWidget())
                if (!p->objectName().isEmpty())
                    path.prepend(p->objectName());
            return path.join(QLatin1Char('/')) + QLatin1Char(' ') + w->metaObject()->className();
        };
        QStringList unnamed;
        QHash<QString, QList<const QPushButton *>> byCaption;
        for (QWidget *w : rig.host.findChildren<QWidget *>()) {
            if (qobject_cast<QAbstractItemView *>(w->parentWidget()))
                continue; // the grid's own corner button
            const bool named = !w->accessibleName().trimmed().isEmpty() || buddies.contains(w);
            if (auto *combo = qobject_cast<QComboBox *>(w)) {
                if (combo->accessibleDescription().trimmed().isEmpty())
                    unnamed << where(w) + QStringLiteral(" (no description)");
                if (combo->lineEdit() && combo->lineEdit()->accessibleName().trimmed().isEmpty())
                    unnamed << where(w) + QStringLiteral(" (its text box)");
            } else if (qobject_cast<QLineEdit *>(w) &&
                       !qobject_cast<QComboBox *>(w->parentWidget())) {
                if (!named)
                    unnamed << where(w);
            } else if (qobject_cast<QProgressBar *>(w)) {
                if (!named)
                    unnamed << where(w);
            } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
                if (!named && button->text().trimmed().isEmpty())
                    unnamed << where(w);
                if (auto *push = qobject_cast<QPushButton *>(w))
                    byCaption[push->text().trimmed()].append(push);
            }
        }
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QLatin1Char('\n'))));
        QStringList alike;
        for (auto it = byCaption.cbegin(); it != byCaption.cend(); ++it) {
            if (it.value().size() < 2)
                continue;
            QSet<QString> names;
            for (const QPushButton *b : it.value())
                names.insert(b->accessibleName().trimmed());
            if (names.size() != it.value().size() || names.contains(QString()))
                alike << QStringLiteral("%1 buttons \"%2\"").arg(it.value().size()).arg(it.key());
        }
        QVERIFY2(alike.isEmpty(), qPrintable(alike.join(QLatin1Char('\n'))));
    }

    void closeStopsTrafficAndReleasesPort()
    {
        Rig rig;
        rig.core.link.toggleOpen();
        QVERIFY(rig.core.link.portOpen());
        QVERIFY(rig.port->isOpen());
        rig.window.showLanguageDialog();
        rig.window.showAboutDialog();
        QVERIFY(rig.window.close());
        QVERIFY(!rig.core.link.sendTimer().isActive());
        QVERIFY(!rig.core.link.receiveTimer().isActive());
        QVERIFY(!rig.core.recorder.timer().isActive());
        QVERIFY(!rig.port->isOpen());
        QCOMPARE(rig.port->flushes, 0);
        QVERIFY(!rig.window.languageDialog()->isVisible());
        QVERIFY(!rig.window.aboutDialog()->isVisible());
        QVERIFY(rig.host.isHidden());
    }

    void closeWithPortClosedIsQuiet()
    {
        Rig rig;
        QVERIFY(rig.window.close());
        QVERIFY(rig.prompt.messages.isEmpty());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
