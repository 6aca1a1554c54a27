#include "support/WindowRig.h"

#include "base/Version.h"
#include "base/widgets/Panel.h"
#include "i18n/widgets/AboutDialog.h"
#include "i18n/widgets/LanguageDialog.h"
#include "records/StoredGrid.h"
#include "shell/Core.h"
#include "shell/widgets/MainWindow.h"
#include "shell/widgets/PanelHost.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
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
        QCOMPARE(actions.size(), 4);
        QCOMPARE(actions.at(0)->text(), QStringLiteral("language"));
        QCOMPARE(actions.at(1)->text(), QStringLiteral("about"));
        QVERIFY(!actions.at(0)->menu() && !actions.at(1)->menu());
        // The settings profiles' menu comes after them, then the "view" menu
        // of the windows beside this one.
        QCOMPARE(actions.at(2)->menu()->objectName(), QStringLiteral("ProfileMenu"));
        QCOMPARE(actions.at(3)->menu(), rig.window.viewMenu());
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

    // What a screen reader can read of every value a page shows: a label, box,
    // bar, list or grid cell that holds a value carries it in the
    // accessibility tree (value or text), and its name says what it is
    // rather than repeating the value. Values are put into every form and the
    // stored-data grid first, so a control added to any page is covered.
    void everyShownValueIsReadable_data()
    {
        QTest::addColumn<bool>("english");
        QTest::newRow("chinese") << false;
        QTest::newRow("english") << true;
    }
    void everyShownValueIsReadable()
    {
        QFETCH(bool, english);
        Rig rig;
        rig.core.state.setEnglishUi(english);
        const auto labels = rig.host.findChildren<QLabel *>();
        QHash<const QLabel *, QString> captions;
        for (const QLabel *label : labels)
            captions.insert(label, label->text());

        AppState &s = rig.core.state;
        int n = 0;
        for (Form *form :
             {&s.link, &s.info, &s.param, &s.system, &s.record, &s.stored, &s.upgrade}) {
            for (const QString &control : form->controls()) {
                if (form->kind(control) == Form::Kind::Text)
                    form->setText(control, QString::number(701 + n++));
                else if (form->kind(control) == Form::Kind::Value)
                    form->setValue(control, 37); // every bar runs 0..100
            }
        }
        QStringList cells;
        for (int c = 0; c < StoredGrid::columnCount; ++c)
            cells << QStringLiteral("c%1").arg(c);
        s.storedRows = {cells.join(QLatin1Char('\t'))};
        s.notifyStoredRowsChanged();
        s.setStatusLine(QStringLiteral("Read BMS time"));

        const auto where = [](const QWidget *w) {
            QStringList path;
            for (const QWidget *p = w; p; p = p->parentWidget())
                if (!p->objectName().isEmpty())
                    path.prepend(p->objectName());
            return path.join(QLatin1Char('/')) + QLatin1Char(' ') + w->metaObject()->className();
        };
        // Shown on its page (pages themselves are hidden but one), or on the
        // window around the pages (the status line).
        const auto shown = [](const QWidget *w) {
            const QWidget *page = w;
            while (page && !qobject_cast<const Panel *>(page))
                page = page->parentWidget();
            return page ? w->isVisibleTo(page) : w->isVisible();
        };
        const auto textOf = [](QAccessibleInterface *iface) {
            QAccessibleTextInterface *t = iface->textInterface();
            return t ? t->text(0, t->characterCount()) : QString();
        };
        QStringList unread;
        const auto expect = [&](bool ok, const QWidget *w, const QString &shownText,
                                QAccessibleInterface *iface) {
            if (!ok)
                unread << QStringLiteral("%1 shows \"%2\", reads name \"%3\" value \"%4\"")
                              .arg(where(w), shownText, iface->text(QAccessible::Name),
                                   iface->text(QAccessible::Value));
        };
        // The value under a name of its own. Qt names a drop-down list on Linux
        // after its current entry; its description says what it is.
        const auto carriesValue = [&](QAccessibleInterface *iface, const QString &value) {
            const bool list = iface->role() == QAccessible::ComboBox;
            const QString name =
                iface->text(list ? QAccessible::Description : QAccessible::Name).trimmed();
            const bool named = !name.isEmpty() && !name.contains(value);
            return named && (iface->text(QAccessible::Value) == value || textOf(iface) == value);
        };

        for (QLabel *label : labels) {
            const QString text = label->text().trimmed();
            if (!shown(label) || text.isEmpty())
                continue;
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(label);
            QVERIFY(iface);
            if (label->text() != captions.value(label)) // it shows a form's value
                expect(carriesValue(iface, label->text()), label, text, iface);
            else // a caption is its own name
                expect(iface->text(QAccessible::Name).contains(text) ||
                           iface->text(QAccessible::Value).contains(text) ||
                           textOf(iface).contains(text),
                       label, text, iface);
        }
        for (QWidget *w : rig.host.findChildren<QWidget *>()) {
            if (!shown(w) || qobject_cast<QComboBox *>(w->parentWidget()))
                continue;
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
            if (auto *edit = qobject_cast<QLineEdit *>(w)) {
                if (!edit->text().isEmpty())
                    expect(carriesValue(iface, edit->text()), w, edit->text(), iface);
            } else if (auto *box = qobject_cast<QPlainTextEdit *>(w)) {
                if (!box->toPlainText().isEmpty())
                    expect(carriesValue(iface, box->toPlainText()), w, box->toPlainText(), iface);
            } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
                if (!combo->currentText().isEmpty())
                    expect(carriesValue(iface, combo->currentText()), w, combo->currentText(),
                           iface);
            } else if (auto *bar = qobject_cast<QProgressBar *>(w)) {
                QAccessibleValueInterface *v = iface->valueInterface();
                expect(!iface->text(QAccessible::Name).trimmed().isEmpty() && v &&
                           v->currentValue().toInt() == bar->value(),
                       w, QString::number(bar->value()), iface);
            } else if (auto *grid = qobject_cast<QTableWidget *>(w)) {
                QAccessibleTableInterface *table = iface->tableInterface();
                QVERIFY(table);
                int filled = 0;
                for (int r = 0; r < grid->rowCount(); ++r) {
                    for (int c = 0; c < grid->columnCount(); ++c) {
                        const QTableWidgetItem *item = grid->item(r, c);
                        if (!item || item->text().isEmpty())
                            continue;
                        ++filled;
                        QAccessibleInterface *cell = table->cellAt(r, c);
                        QVERIFY(cell);
                        const QString header = table->columnDescription(c);
                        // A cell reads as its value; its column header says what it is.
                        const bool ok = (cell->text(QAccessible::Name) == item->text() ||
                                         cell->text(QAccessible::Value) == item->text()) &&
                                        !header.trimmed().isEmpty() &&
                                        header == grid->horizontalHeaderItem(c)->text();
                        if (!ok)
                            unread << QStringLiteral("%1 cell %2,%3 \"%4\" under \"%5\"")
                                          .arg(where(w))
                                          .arg(r)
                                          .arg(c)
                                          .arg(item->text(), header);
                    }
                }
                if (grid->objectName() == QLatin1String("MSHFlexGrid1"))
                    QCOMPARE(filled, StoredGrid::columnCount);
            }
        }
        QVERIFY2(unread.isEmpty(), qPrintable(unread.join(QLatin1Char('\n'))));
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
