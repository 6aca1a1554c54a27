#include "support/WindowRig.h"

#include "base/widgets/Panel.h"
#include "i18n/SettingsRecord.h"
#include "i18n/widgets/AboutDialog.h"
#include "i18n/widgets/LanguageDialog.h"
#include "link/Frame.h"
#include "link/widgets/LinkPanel.h"
#include "responses/InfoForm.h"
#include "shell/Core.h"
#include "shell/widgets/MainWindow.h"
#include "shell/widgets/PanelHost.h"

#include <QAbstractButton>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

// The language dialog switches the whole window: every page, the messages
// built afterwards and the stored-data grid, while values already shown keep
// their text until new data arrives.
namespace {
using Page = PanelHost::Page;

struct Rig : WindowRig {
    // The way a user does it: menu entry, option, OK.
    void choose(bool english)
    {
        host.languageAction()->trigger();
        LanguageDialog *d = window.languageDialog();
        (english ? d->englishOption() : d->chineseOption())->setChecked(true);
        QTest::mouseClick(d->okButton(), Qt::LeftButton);
    }
    QWidget *control(const QString &page, const QString &name) const
    {
        QWidget *scope = page == QLatin1String("PanelHost")
                             ? static_cast<QWidget *>(&host)
                             : host.findChild<QWidget *>(page, Qt::FindDirectChildrenOnly);
        return scope ? scope->findChild<QWidget *>(name) : nullptr;
    }
    QTableWidget *grid() const
    {
        return host.page(Page::Stored)->findChild<QTableWidget *>(QStringLiteral("MSHFlexGrid1"));
    }
};

QString shownText(const QWidget *w)
{
    if (auto *box = qobject_cast<const QGroupBox *>(w))
        return box->title();
    if (auto *label = qobject_cast<const QLabel *>(w))
        return label->text();
    if (auto *button = qobject_cast<const QAbstractButton *>(w))
        return button->text();
    if (auto *edit = qobject_cast<const QLineEdit *>(w))
        return edit->text();
    return QStringLiteral("<%1>").arg(QString::fromLatin1(w->metaObject()->className()));
}

// A BMS answer to a read of `item`.
QByteArray answer(quint8 item, const QByteArray &data)
{
    return Frame::build(Frame::responseStart, 255, 16, 0, item, data);
}
// Cell voltages of a pack with one cell: the 31 other boxes get the empty text.
QByteArray oneCell()
{
    QByteArray data(2 + 64, '\0');
    data[1] = 1;
    data[2] = char(0x0C);
    data[3] = char(0xE4); // 3300 mV
    return answer(8, data);
}
} // namespace

class TestLanguageSwitch : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_config;
    std::unique_ptr<Rig> m_rig;

private slots:
    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
        m_rig = std::make_unique<Rig>();
    }
    void cleanupTestCase() { m_rig.reset(); }

    // A few captions of every page, exactly, leading blanks included; at least
    // one from each translation file, so a file left out of the program or a
    // page left out of the caption routine shows here.
    void everyPageFollowsTheDialog_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("chinese");
        const auto row = [](const char *page, const char *control, const char *english,
                            const char *chinese) {
            QTest::addRow("%s %s", page, control)
                << QString::fromLatin1(page) << QString::fromUtf8(control)
                << QString::fromUtf8(english) << QString::fromUtf8(chinese);
        };
        row("PanelHost", "text90", "Communication :", "通迅状态：");
        row("LinkPanel", "串口设置", "COM settings", "通迅设置");
        row("LinkPanel", "com标题", "COM selection", "     COM 选择");
        row("LinkPanel", "数据位标题", "    Data bits", "      数据位");
        row("LinkPanel", "打开串口", "Open serial port", "打开串口");
        row("InfoPanel", "版本信息", "Version Information", "版本信息");
        row("InfoPanel", "唤醒", "ON", "执行");
        row("InfoPanel", "充电_0", "OFF", "断开");
        row("ParamPanel", "告警设置", "Alarm settings", "告警设置");
        row("ParamPanel", "Label_02", "AlarmEnable", "  告警使能");
        row("ParamPanel", "Label12", "Short circuit voltage level", "      短路电压等级(0-15)");
        row("ParamPanel", "Label15", "Cell_UV", "单体欠压");
        row("ParamPanel", "DT0", "Read", "读取");
        row("ParamPanel", "SZ16", "Write", "设置");
        row("ParamPanel", "DTff", "Read All", "全部读取");
        row("ParamPanel", "SZff", "Write All", "全部写入");
        row("ParamPanel", "清空", "clear", "清空");
        row("SystemPanel", "Frame2", "Product Settings", "产品设置");
        row("SystemPanel", "Label38", "Current limiting time(S)", "         充电限流时间(S)");
        row("SystemPanel", "Label46", "PreDisMode switch NormalMode time(S)",
            "解发防打火切换正常模式时间(S)");
        row("SystemPanel", "握手_0", "Disable(0)", "禁止(0)");
        row("SystemPanel", "Command13", "Write", "设置");
        row("SystemPanel", "Command39", "Read", "读取");
        row("RecordPanel", "Frame2", "Real time recording", "实时记录");
        row("RecordPanel", "Label2",
            "Note: The communication status should jump normally, indicating that it is in "
            "communication, otherwise it may not be able to record real-time data.",
            "注意:通迅状态要正常跳动，说明在通迅，否则有可能记录不到实时的数据。");
        row("RecordPanel", "Label4", "Progress:", "转换进度：");
        row("RecordPanel", "打开", "Open Export File", "打开导出文件");
        row("StoredDataPanel", "导出", "Export to Excel", "导出Excel");
        row("UpgradePanel", "Frame1", "Upgrade module", "升级模块");
        row("UpgradePanel", "Text3", "File directory:", "     文件目录:");
        row("UpgradePanel", "Label1", "Upgrade Object:", "      升级对象:");
        row("UpgradePanel", "升级波特率", "Change baud upgrade:", "     变波特率升级：");
        row("UpgradePanel", "Label2", "     Progress:", "    升级进度:");
    }
    void everyPageFollowsTheDialog()
    {
        QFETCH(QString, page);
        QFETCH(QString, control);
        QFETCH(QString, english);
        QFETCH(QString, chinese);
        Rig &rig = *m_rig;
        QWidget *w = rig.control(page, control);
        QVERIFY2(w, qPrintable(QStringLiteral("no %1 on %2").arg(control, page)));
        for (bool toEnglish : {true, false, true, false}) {
            rig.choose(toEnglish);
            QCOMPARE(shownText(w), toEnglish ? english : chinese);
        }
    }

    // Opening the about box re-applies the captions too: both rebuild the
    // grid header and leave the rows read so far for the export.
    void storedGridStartsAgain_data()
    {
        QTest::addColumn<bool>("viaAbout");
        QTest::addColumn<bool>("english");
        QTest::newRow("language dialog, to english") << false << true;
        QTest::newRow("language dialog, to chinese") << false << false;
        QTest::newRow("about box, english") << true << true;
        QTest::newRow("about box, chinese") << true << false;
    }
    void storedGridStartsAgain()
    {
        QFETCH(bool, viaAbout);
        QFETCH(bool, english);
        Rig &rig = *m_rig;
        rig.choose(viaAbout ? english : !english);
        AppState &s = rig.core.state;
        s.storedRows.clear();
        rig.core.stored.resetGrid(); // as "get data" leaves it
        s.storedRows = {QStringLiteral("2\t1\t2024-05-07 09:03:00\t"),
                        QStringLiteral("1\t1\t2024-05-07 09:02:00\t")};
        s.notifyStoredRowsChanged();
        QTableWidget *grid = rig.grid();
        QCOMPARE(grid->rowCount(), 3);
        QCOMPARE(grid->item(1, 0)->text(), QStringLiteral("2"));

        if (viaAbout)
            rig.host.aboutAction()->trigger();
        else
            rig.choose(english);

        QCOMPARE(grid->rowCount(), 1);
        for (int c = 0; c < grid->columnCount(); ++c)
            QVERIFY(!grid->item(0, c) || grid->item(0, c)->text().isEmpty());
        QCOMPARE(grid->horizontalHeaderItem(0)->text(),
                 english ? QStringLiteral("NO.") : QStringLiteral("编号"));
        QCOMPARE(grid->horizontalHeaderItem(19)->text(),
                 english ? QStringLiteral("system state") : QStringLiteral("MOS状态"));
        QCOMPARE(grid->horizontalHeader()->height(), english ? 900 / 15 : 600 / 15);
        QCOMPARE(s.storedRowCount(), 2);
        // A record read afterwards lands under the new header.
        s.storedRows << QStringLiteral("0\t1\t2024-05-07 09:01:00\t");
        s.notifyStoredRowsChanged();
        QCOMPARE(grid->rowCount(), 2);
        QCOMPARE(grid->item(1, 0)->text(), QStringLiteral("0"));
    }

    // Messages are built in the language in force when they are shown.
    void messagesFollowTheDialog()
    {
        Rig &rig = *m_rig;
        QVERIFY(!rig.core.link.portOpen());
        auto *getData = rig.control(QStringLiteral("StoredDataPanel"), QStringLiteral("获取数据"));
        QVERIFY(getData);
        for (bool english : {true, false}) {
            rig.choose(english);
            rig.prompt.clear();
            QTest::mouseClick(static_cast<QAbstractButton *>(getData), Qt::LeftButton);
            QCOMPARE(rig.prompt.texts(),
                     QStringList{english ? QStringLiteral("Please open the serial port first")
                                         : QStringLiteral("请先打开串口")});
        }
    }

    // The empty-value text is data, not a caption: it changes with the next
    // frame, not with the switch.
    void emptyValueTextChangesWithTheNextFrame()
    {
        Rig &rig = *m_rig;
        rig.choose(true);
        rig.core.link.toggleOpen();
        QVERIFY(rig.core.link.portOpen());
        auto *cell = qobject_cast<QLineEdit *>(
            rig.control(QStringLiteral("InfoPanel"), InfoField::cellVoltage(5)));
        QVERIFY(cell);
        rig.core.state.currentCommand = 7;
        rig.port->feed(oneCell());
        QCOMPARE(cell->text(), QStringLiteral("null"));

        rig.choose(false);
        QCOMPARE(rig.host.tabBar()->tabText(1), QStringLiteral(" 状态信息"));
        QCOMPARE(cell->text(), QStringLiteral("null"));
        // After a switch the button still says what it does, in the new language.
        QCOMPARE(static_cast<LinkPanel *>(rig.host.page(Page::Link))->openCloseButton()->text(),
                 QStringLiteral("关闭串口"));

        rig.port->feed(oneCell());
        QCOMPARE(cell->text(), QStringLiteral("无"));
        rig.core.link.toggleOpen();
        QVERIFY(!rig.core.link.portOpen());
    }
};

QTEST_MAIN(TestLanguageSwitch)
#include "tst_language_switch.moc"
