#include "support/FakePort.h"
#include "support/RecordingPrompt.h"
#include "support/WindowRig.h"

#include "bank/ScanForm.h"
#include "i18n/SettingsRecord.h"
#include "link/Frame.h"
#include "link/LinkForm.h"
#include "link/PortMap.h"
#include "link/widgets/LinkPanel.h"
#include "shell/Core.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QStringList settingLists = {LinkField::port,     LinkField::baud,    LinkField::parity,
                                  LinkField::dataBits, LinkField::address, LinkField::protocol};

// The adapter the tests find: COM1 (and COM34 where a test adds it).
FakePort *portWithCom1()
{
    auto *port = new FakePort;
    port->presentDevices << PortMap::fixedDevice(1);
    return port;
}

struct Rig {
    RecordingPrompt prompt;
    FakePort *port = portWithCom1();
    Core core{prompt, std::unique_ptr<PortIo>(port)};
    LinkPanel panel{core.state, core.link, core.scan};
    Form &form = core.state.link;

    void open()
    {
        QTest::mouseClick(panel.openCloseButton(), Qt::LeftButton);
        QVERIFY(core.link.portOpen());
    }
    bool listsEnabled() const
    {
        for (const QString &control : settingLists)
            if (!panel.list(control)->isEnabled())
                return false;
        return true;
    }
    bool listsDisabled() const
    {
        for (const QString &control : settingLists)
            if (panel.list(control)->isEnabled())
                return false;
        return true;
    }

    void setEnglish(bool english)
    {
        core.state.setEnglishUi(english);
        panel.applyCaptions();
    }
    QStringList items(const QString &control) const
    {
        QStringList out;
        QComboBox *combo = panel.list(control);
        for (int i = 0; i < combo->count(); ++i)
            out << combo->itemText(i);
        return out;
    }
    QLabel *captionOf(const QWidget *w) const
    {
        for (QLabel *l : panel.findChildren<QLabel *>())
            if (l->buddy() == w)
                return l;
        return nullptr;
    }
};
} // namespace

class TestLinkPanel : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_config; // no port links but the tests' own

private slots:
    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
    }

    void listsAndDefaults_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QStringList>("chinese");
        QTest::addColumn<QStringList>("english");
        QTest::addColumn<int>("selected");
        const QStringList rates = {"9600", "14400", "19200", "38400", "56000", "115200", "1200"};
        QStringList addresses{"0xff"};
        for (int i = 0; i <= 16; ++i)
            addresses << QString::number(i);
        QTest::newRow("baud") << LinkField::baud << rates << rates << 0;
        QTest::newRow("parity") << LinkField::parity
                                << QStringList{QStringLiteral("无校验"), QStringLiteral("偶校验"),
                                               QStringLiteral("奇校验")}
                                << QStringList{"None", "Even", "Odd"} << 0;
        QTest::newRow("data bits")
            << LinkField::dataBits << QStringList{"8 ", "9 "} << QStringList{"8 ", "9 "} << 0;
        QTest::newRow("address") << LinkField::address << addresses << addresses << 0;
        QTest::newRow("protocol") << LinkField::protocol << QStringList{"V1.0"}
                                  << QStringList{"V1.0"} << 0;
    }
    void listsAndDefaults()
    {
        QFETCH(QString, control);
        QFETCH(QStringList, chinese);
        QFETCH(QStringList, english);
        QFETCH(int, selected);
        Rig rig;
        QComboBox *combo = rig.panel.list(control);
        QVERIFY(combo);
        QCOMPARE(combo->objectName(), control);
        QCOMPARE(rig.items(control), chinese);
        QCOMPARE(combo->currentIndex(), selected);
        rig.form.setChoice(control, chinese.size() - 1);
        rig.setEnglish(true);
        QCOMPARE(rig.items(control), english);
        // Translating the entries keeps the selection.
        QCOMPARE(combo->currentIndex(), chinese.size() - 1);
    }

    void captions_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("chinese");
        QTest::newRow("port") << LinkField::port << QStringLiteral("COM selection")
                              << QStringLiteral("     COM 选择");
        QTest::newRow("baud") << LinkField::baud << QStringLiteral("   Baud rate")
                              << QStringLiteral("     波特率");
        QTest::newRow("parity") << LinkField::parity << QStringLiteral("  Parity bit")
                                << QStringLiteral("     奇偶位");
        QTest::newRow("data bits") << LinkField::dataBits << QStringLiteral("    Data bits")
                                   << QStringLiteral("      数据位");
        QTest::newRow("address") << LinkField::address << QStringLiteral("Communication address")
                                 << QStringLiteral("           通迅地址");
        QTest::newRow("protocol") << LinkField::protocol << QStringLiteral("Communication protocol")
                                  << QStringLiteral("            通讯协议");
    }
    void captions()
    {
        QFETCH(QString, control);
        QFETCH(QString, english);
        QFETCH(QString, chinese);
        Rig rig;
        QComboBox *combo = rig.panel.list(control);
        QLabel *label = rig.captionOf(combo);
        QVERIFY(label);
        QCOMPARE(label->text(), chinese);
        QCOMPARE(combo->accessibleDescription(), chinese.trimmed());
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(combo);
        QCOMPARE(iface->text(QAccessible::Description), chinese.trimmed());
        rig.setEnglish(true);
        QCOMPARE(label->text(), english);
        QCOMPARE(combo->accessibleDescription(), english.trimmed());
    }

    void groupAndButtons()
    {
        Rig rig;
        auto *group = rig.panel.findChild<QGroupBox *>(QStringLiteral("串口设置"));
        QVERIFY(group);
        QCOMPARE(group->title(), QStringLiteral("通迅设置"));
        QCOMPARE(rig.panel.refreshButton()->objectName(), LinkField::refresh);
        QCOMPARE(rig.panel.openCloseButton()->objectName(), LinkField::openClose);
        QCOMPARE(rig.panel.refreshButton()->text(), QStringLiteral("刷新串口"));
        QCOMPARE(rig.panel.openCloseButton()->text(), QStringLiteral("打开串口"));
        QCOMPARE(rig.panel.openCloseButton()->accessibleName(), QStringLiteral("打开串口"));
        rig.setEnglish(true);
        QCOMPARE(group->title(), QStringLiteral("COM settings"));
        QCOMPARE(rig.panel.refreshButton()->text(), QStringLiteral("Refresh serial port"));
        QCOMPARE(rig.panel.openCloseButton()->text(), QStringLiteral("Open serial port"));
    }

    // The address list: "0xff" is 255, then 0..16.
    void addressSelection_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("address");
        QTest::newRow("0xff") << 0 << 255;
        QTest::newRow("0") << 1 << 0;
        QTest::newRow("7") << 8 << 7;
        QTest::newRow("16") << 17 << 16;
    }
    void addressSelection()
    {
        QFETCH(int, index);
        QFETCH(int, address);
        Rig rig;
        QComboBox *combo = rig.panel.list(LinkField::address);
        const int other = index == 3 ? 4 : 3;
        combo->setCurrentIndex(other);
        emit combo->activated(other);
        QCOMPARE(int(rig.core.state.deviceAddress), other - 1);
        combo->setCurrentIndex(index);
        emit combo->activated(index);
        QCOMPARE(rig.form.choice(LinkField::address), index);
        QCOMPARE(int(rig.core.state.deviceAddress), address);
    }

    // The caption says what the button will do, in the language in force.
    void openCloseCaption_data()
    {
        QTest::addColumn<bool>("open");
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("caption");
        QTest::newRow("closed, chinese") << false << false << QStringLiteral("打开串口");
        QTest::newRow("closed, english") << false << true << QStringLiteral("Open serial port");
        QTest::newRow("open, chinese") << true << false << QStringLiteral("关闭串口");
        QTest::newRow("open, english") << true << true << QStringLiteral("Close serial port");
    }
    void openCloseCaption()
    {
        QFETCH(bool, open);
        QFETCH(bool, english);
        QFETCH(QString, caption);
        Rig rig;
        if (open)
            QTest::mouseClick(rig.panel.openCloseButton(), Qt::LeftButton);
        QCOMPARE(rig.core.link.portOpen(), open);
        rig.setEnglish(english);
        QCOMPARE(rig.panel.openCloseButton()->text(), caption);
        rig.setEnglish(!english);
        rig.setEnglish(english);
        QCOMPARE(rig.panel.openCloseButton()->text(), caption);
    }

    void openThenClose()
    {
        Rig rig;
        QPushButton *button = rig.panel.openCloseButton();
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(rig.core.link.portOpen());
        QVERIFY(rig.port->isOpen());
        QCOMPARE(button->text(), QStringLiteral("关闭串口"));
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!rig.core.link.portOpen());
        QVERIFY(!rig.port->isOpen());
        QCOMPARE(button->text(), QStringLiteral("打开串口"));
    }

    // Whatever the link core enables or disables, the page shows.
    void listsFollowEnabledState()
    {
        Rig rig;
        for (const QString &control :
             {LinkField::port, LinkField::baud, LinkField::parity, LinkField::dataBits,
              LinkField::address, LinkField::protocol}) {
            rig.form.setEnabled(control, false);
            QVERIFY(!rig.panel.list(control)->isEnabled());
            rig.form.setEnabled(control, true);
            QVERIFY(rig.panel.list(control)->isEnabled());
        }
        rig.form.setEnabled(LinkField::refresh, false);
        QVERIFY(!rig.panel.refreshButton()->isEnabled());
    }

    // A new port list replaces the entries shown, also when it is as long as
    // the old one.
    void portListReplaced_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<int>("selected");
        QTest::newRow("same length")
            << QStringList{"COM1", "COM3"} << QStringList{"COM2", "COM4"} << 1;
        QTest::newRow("longer") << QStringList{"COM1"} << QStringList{"COM1", "COM34"} << 0;
        QTest::newRow("emptied") << QStringList{"COM1", "COM2"} << QStringList{} << -1;
    }
    void portListReplaced()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        QFETCH(int, selected);
        Rig rig;
        rig.form.setEntries(LinkField::port, before, 0);
        QCOMPARE(rig.items(LinkField::port), before);
        rig.form.setEntries(LinkField::port, after, selected);
        QCOMPARE(rig.items(LinkField::port), after);
        QCOMPARE(rig.panel.list(LinkField::port)->currentIndex(), selected);
    }

    // Opening: lists and refresh locked, timers running, the traffic fitting
    // the tab in front; closing undoes all of it.
    void openAndCloseEffects_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("commandBefore");
        QTest::addColumn<int>("commandAfter");
        QTest::newRow("information starts live reads") << 2 << 16 << 0;
        QTest::newRow("upgrade starts paused") << 7 << 0 << 16;
        QTest::newRow("parameters leave the command") << 3 << 33 << 33;
        QTest::newRow("serial setting leaves the command") << 1 << 16 << 16;
    }
    void openAndCloseEffects()
    {
        QFETCH(int, tab);
        QFETCH(int, commandBefore);
        QFETCH(int, commandAfter);
        Rig rig;
        rig.core.state.selectedTab = tab;
        rig.core.state.currentCommand = quint8(commandBefore);
        QCOMPARE(rig.panel.list(LinkField::port)->currentText(), QStringLiteral("COM1"));
        rig.open();
        QCOMPARE(rig.port->openedDevices, QStringList{PortMap::fixedDevice(1)});
        QCOMPARE(int(rig.core.state.currentCommand), commandAfter);
        QCOMPARE(rig.panel.openCloseButton()->text(), QStringLiteral("关闭串口"));
        QVERIFY(rig.listsDisabled());
        QVERIFY(!rig.panel.refreshButton()->isEnabled());
        QVERIFY(rig.panel.openCloseButton()->isEnabled());
        QVERIFY(rig.core.link.sendTimer().isActive());
        QVERIFY(rig.core.link.receiveTimer().isActive());

        rig.core.state.setStatusLine(QStringLiteral("读取基本信息1"));
        QTest::mouseClick(rig.panel.openCloseButton(), Qt::LeftButton);
        QVERIFY(!rig.core.link.portOpen());
        QVERIFY(!rig.port->isOpen());
        QCOMPARE(rig.port->flushes, 1);
        QCOMPARE(rig.panel.openCloseButton()->text(), QStringLiteral("打开串口"));
        QVERIFY(rig.listsEnabled());
        QVERIFY(rig.panel.refreshButton()->isEnabled());
        QVERIFY(!rig.core.link.sendTimer().isActive());
        QVERIFY(!rig.core.link.receiveTimer().isActive());
        QCOMPARE(rig.core.state.statusLine(), QString());
        QVERIFY(rig.prompt.messages.isEmpty());
    }

    // A port that does not open: the port's own message, then the warning;
    // the page stays closed.
    void failedOpen_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::newRow("chinese") << false << QStringLiteral("警告")
                                 << QStringLiteral(
                                        "错误：关闭端口COM1失败，请检查COM1是否还在读写或已损坏");
        QTest::newRow("english") << true << QStringLiteral("warn")
                                 << QStringLiteral("Error: Closing Port COM1fail，Please check "
                                                   "COM1Is it still being read or written or "
                                                   "corrupted");
    }
    void failedOpen()
    {
        QFETCH(bool, english);
        QFETCH(QString, title);
        QFETCH(QString, text);
        Rig rig;
        rig.setEnglish(english);
        rig.port->openResult = PortIo::OpenResult::InvalidPort;
        QTest::mouseClick(rig.panel.openCloseButton(), Qt::LeftButton);
        QCOMPARE(rig.prompt.messages.size(), 2);
        QCOMPARE(rig.prompt.messages.at(0).text, QStringLiteral("端口 1无效. 请设置正确."));
        QCOMPARE(rig.prompt.messages.at(1).title, title);
        QCOMPARE(rig.prompt.messages.at(1).text, text);
        QVERIFY(!rig.core.link.portOpen());
        QCOMPARE(rig.panel.openCloseButton()->text(),
                 english ? QStringLiteral("Open serial port") : QStringLiteral("打开串口"));
        QVERIFY(rig.listsEnabled());
        QVERIFY(rig.panel.refreshButton()->isEnabled());
        QVERIFY(!rig.core.link.receiveTimer().isActive());
    }

    // The adapter pulled out while open: one message, and the page is closed
    // as if the button had been pressed.
    void unpluggedAdapter()
    {
        Rig rig;
        rig.open();
        rig.port->unplug();
        QCOMPARE(rig.prompt.messages.size(), 1);
        const QString first = rig.prompt.messages.first().text;
        QVERIFY2(first.contains(QStringLiteral("COM1")), qPrintable(first));
        QVERIFY(!rig.core.link.portOpen());
        QCOMPARE(rig.panel.openCloseButton()->text(), QStringLiteral("打开串口"));
        QVERIFY(rig.listsEnabled());
        QVERIFY(rig.panel.refreshButton()->isEnabled());
        QVERIFY(!rig.core.link.sendTimer().isActive());
        QVERIFY(!rig.core.link.receiveTimer().isActive());
        // Nothing more comes of it: no second message, nothing sent.
        rig.port->unplug();
        for (int i = 0; i < 5; ++i)
            rig.core.link.receiveTick();
        QTest::qWait(700); // a send tick would have come by now
        QCOMPARE(rig.prompt.texts(), QStringList{first});
        // And the port can be opened again.
        rig.open();
        QCOMPARE(rig.panel.openCloseButton()->text(), QStringLiteral("关闭串口"));
    }

    // The send timer, tick by tick, with a BMS that never answers: how many
    // requests go out, how many "Send failed" messages come, and where the
    // command ends.
    void sendTimerRules_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<bool>("byButton"); // the first request is sent at once
        QTest::addColumn<int>("ticks");
        QTest::addColumn<int>("sends");
        QTest::addColumn<int>("failures");
        QTest::addColumn<int>("commandAfter");
        QTest::newRow("parameter read gives up after six sends") << 17 << true << 6 << 6 << 1 << 16;
        QTest::newRow("one failure only, however long") << 17 << true << 30 << 6 << 1 << 16;
        QTest::newRow("five sends are not yet a failure") << 17 << true << 4 << 5 << 0 << 17;
        QTest::newRow("control command") << 80 << true << 6 << 6 << 1 << 16;
        QTest::newRow("live reads repeat without failing") << 0 << false << 20 << 20 << 0 << 0;
        QTest::newRow("a later live read too") << 5 << false << 12 << 12 << 0 << 5;
        QTest::newRow("pause sends nothing") << 16 << false << 10 << 0 << 0 << 16;
    }
    void sendTimerRules()
    {
        QFETCH(int, command);
        QFETCH(bool, byButton);
        QFETCH(int, ticks);
        QFETCH(int, sends);
        QFETCH(int, failures);
        QFETCH(int, commandAfter);
        Rig rig;
        rig.core.state.selectedTab = 1;
        rig.open();
        rig.port->writes.clear();
        if (byButton)
            rig.core.requests.send(quint8(command));
        else
            rig.core.state.currentCommand = quint8(command);
        rig.core.state.linkCountdown = 20;
        for (int i = 0; i < ticks; ++i)
            rig.core.link.sendTick();
        QCOMPARE(int(rig.port->writes.size()), sends);
        QCOMPARE(int(rig.prompt.texts().count(QStringLiteral("发送失败"))), failures);
        QCOMPARE(int(rig.prompt.messages.size()), failures);
        QCOMPARE(int(rig.core.state.currentCommand), commandAfter);
        QCOMPARE(rig.core.state.linkCountdown, 20 - ticks);
        // The same request each time.
        for (const QByteArray &frame : rig.port->writes)
            QCOMPARE(frame, rig.port->writes.first());
        // Giving up leaves the link open.
        QVERIFY(rig.core.link.portOpen());
        QCOMPARE(rig.panel.openCloseButton()->text(), QStringLiteral("关闭串口"));
    }

    // A page button with the port closed: one message, then quiet until a tab
    // switch asks for live reads again.
    void requestWithPortClosed()
    {
        Rig rig;
        rig.core.requests.send(17);
        QCOMPARE(rig.prompt.texts(), QStringList{QStringLiteral("请先打开串口")});
        QCOMPARE(int(rig.core.state.currentCommand), 16);
        for (int i = 0; i < 5; ++i)
            rig.core.link.sendTick();
        QCOMPARE(rig.prompt.messages.size(), 1);
        rig.core.selectTab(2);
        rig.core.link.sendTick();
        QCOMPARE(rig.prompt.messages.size(), 2);
        QVERIFY(rig.port->writes.isEmpty());
    }

    // Each port entry names its device in a tooltip.
    void portTooltips()
    {
        Rig rig;
        rig.port->presentDevices << PortMap::fixedDevice(34);
        QTest::mouseClick(rig.panel.refreshButton(), Qt::LeftButton);
        QCOMPARE(rig.items(LinkField::port),
                 (QStringList{QStringLiteral("COM1"), QStringLiteral("COM34")}));
        QComboBox *ports = rig.panel.list(LinkField::port);
        QCOMPARE(ports->itemData(0, Qt::ToolTipRole).toString(), PortMap::fixedDevice(1));
        QCOMPARE(ports->itemData(1, Qt::ToolTipRole).toString(), PortMap::fixedDevice(34));
        QCOMPARE(ports->toolTip(),
                 ports->itemData(ports->currentIndex(), Qt::ToolTipRole).toString());
        rig.form.setChoice(LinkField::port, 0);
        QCOMPARE(ports->toolTip(), PortMap::fixedDevice(1));
    }

    // A port the user may not open is in the list, marked in the entry and in
    // its tooltip, in the language of the window.
    void unopenablePortsAreMarked()
    {
        Rig rig;
        rig.port->access.insert(PortMap::fixedDevice(34), PortIo::Access::NoPermission);
        rig.port->access.insert(PortMap::fixedDevice(35), PortIo::Access::Busy);
        QTest::mouseClick(rig.panel.refreshButton(), Qt::LeftButton);
        QCOMPARE(rig.items(LinkField::port),
                 (QStringList{"COM1", "COM34（无权限）", "COM35（被占用）"}));
        QComboBox *ports = rig.panel.list(LinkField::port);
        QCOMPARE(ports->currentIndex(), 0); // the one that opens
        QCOMPARE(ports->itemData(1, Qt::ToolTipRole).toString(),
                 PortMap::fixedDevice(34) + QStringLiteral("\n没有打开此串口的权限。"));
        rig.setEnglish(true);
        QCOMPARE(rig.items(LinkField::port),
                 (QStringList{"COM1", "COM34 (no permission)", "COM35 (in use)"}));
        QCOMPARE(ports->itemData(2, Qt::ToolTipRole).toString(),
                 PortMap::fixedDevice(35) +
                     QStringLiteral("\nAnother program is using this port."));
        QCOMPARE(ports->itemData(0, Qt::ToolTipRole).toString(), PortMap::fixedDevice(1));
        // Given access, the same entries lose their marks at the next refresh.
        rig.port->access.clear();
        rig.port->presentDevices << PortMap::fixedDevice(34) << PortMap::fixedDevice(35);
        QTest::mouseClick(rig.panel.refreshButton(), Qt::LeftButton);
        QCOMPARE(rig.items(LinkField::port), (QStringList{"COM1", "COM34", "COM35"}));
        QCOMPARE(ports->itemData(1, Qt::ToolTipRole).toString(), PortMap::fixedDevice(34));
    }

    // The reconnection box: off at first, captioned in both languages, named
    // for a screen reader and worked by keyboard.
    void reconnectBox()
    {
        Rig rig;
        QCheckBox *box = rig.panel.reconnectBox();
        QVERIFY(box);
        QCOMPARE(box->objectName(), LinkField::reconnect);
        QVERIFY(!box->isChecked());
        QCOMPARE(box->text(), QStringLiteral("自动重连"));
        QCOMPARE(box->accessibleName(), QStringLiteral("自动重连"));
        rig.setEnglish(true);
        QCOMPARE(box->text(), QStringLiteral("Reconnect automatically"));
        QCOMPARE(box->accessibleName(), QStringLiteral("Reconnect automatically"));
        QVERIFY(box->focusPolicy() & Qt::TabFocus);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Space);
        QCOMPARE(rig.form.check(LinkField::reconnect), 1);
        // The box stays usable while the port is open.
        rig.open();
        QVERIFY(box->isEnabled());
    }

    void backgroundClickFocusesOpenButton()
    {
        Rig rig;
        rig.panel.resize(600, 400);
        rig.panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.panel));
        rig.panel.list(LinkField::baud)->setFocus();
        QTest::mouseClick(&rig.panel, Qt::LeftButton, {}, QPoint(5, 5));
        QTRY_VERIFY(rig.panel.openCloseButton()->hasFocus());
    }

    // What the last scan found is offered at the next start.
    void remembersThePacksFound()
    {
        QVERIFY(SettingsRecord::storeBank({QStringLiteral("COM3"), {5, 1, 2}}));
        {
            WindowRig rig;
            QCOMPARE(rig.core.state.scan.text(ScanField::status),
                     QStringLiteral("上次在 COM3 扫描找到地址 1, 2, 5。"));
            QCOMPARE(rig.core.scan.addresses(), (QList<int>{1, 2, 5}));
        }
        QVERIFY(QFile::remove(SettingsRecord::filePath()));
    }

    // The bus scan beside the port settings: reachable by Tab, named, busy
    // while it runs, and its list of packs shown in the page's language.
    void busScan()
    {
        Rig rig;
        rig.panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.panel));
        QPushButton *scan = rig.panel.scanButton();
        QCOMPARE(scan->text(), QStringLiteral("扫描总线"));
        QCOMPARE(scan->accessibleName(), QStringLiteral("扫描总线"));
        QCOMPARE(rig.panel.scanResults()->accessibleName(), QStringLiteral("找到的电池组"));
        QVERIFY(!scan->isEnabled());
        rig.open();
        QVERIFY(scan->isEnabled());
        QWidget *w = rig.panel.openCloseButton();
        for (int i = 0; i < 20 && w != scan; ++i)
            w = w->nextInFocusChain();
        QCOMPARE(w, static_cast<QWidget *>(scan));

        scan->setFocus();
        QTest::keyClick(scan, Qt::Key_Space);
        QVERIFY(rig.core.scan.running());
        QCOMPARE(scan->text(), QStringLiteral("停止扫描"));
        QCOMPARE(rig.panel.scanStatus()->text(), QStringLiteral("正在扫描地址 0 / 16"));

        // Address 0 answers as a pack would; the others stay silent.
        qint64 now = 0;
        qsizetype answered = 0;
        while (rig.core.scan.running() && now < 100000) {
            for (; answered < rig.port->writes.size(); ++answered) {
                const QByteArray &q = rig.port->writes[answered];
                if (quint8(q[1]) != 0)
                    continue;
                const bool project = q[4] == 1;
                QByteArray data = project ? QByteArray("P16S100A") : QByteArray("BAT-0007");
                data.resize(project ? 24 : 32, '\0');
                rig.port->feed(Frame::build(Frame::responseStart, 0, 16, 0, quint8(q[4]), data));
            }
            rig.core.scan.tick(++now);
            if (rig.core.scan.lastScan()->currentAddress() == 8)
                QCOMPARE(rig.panel.scanProgress()->value(), 8 * 100 / 17);
        }
        QVERIFY(!rig.core.scan.running());
        QCOMPARE(scan->text(), QStringLiteral("扫描总线"));
        QCOMPARE(rig.panel.scanProgress()->value(), 100);
        QCOMPARE(rig.panel.scanResults()->toPlainText(),
                 QStringLiteral("地址 0：项目号 P16S100A，电池ID BAT-0007"));
        rig.setEnglish(true);
        QCOMPARE(scan->text(), QStringLiteral("Scan bus"));
        QCOMPARE(rig.panel.scanResults()->toPlainText(),
                 QStringLiteral("Address 0: project P16S100A, battery ID BAT-0007"));

        rig.panel.openCloseButton()->click();
        QVERIFY(!scan->isEnabled());
    }
};

QTEST_MAIN(TestLinkPanel)
#include "tst_link_panel.moc"
