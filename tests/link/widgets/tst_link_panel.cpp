#include "support/FakePort.h"
#include "support/RecordingPrompt.h"

#include "link/LinkForm.h"
#include "link/widgets/LinkPanel.h"
#include "shell/Core.h"

#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {
struct Rig {
    RecordingPrompt prompt;
    FakePort *port = new FakePort;
    Core core{prompt, std::unique_ptr<PortIo>(port)};
    LinkPanel panel{core};
    Form &form = core.state.link;

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
private slots:
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
        rig.core.state.deviceAddress = 99;
        QComboBox *combo = rig.panel.list(LinkField::address);
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
};

QTEST_MAIN(TestLinkPanel)
#include "tst_link_panel.moc"
