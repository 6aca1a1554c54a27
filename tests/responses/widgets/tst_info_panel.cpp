#include "support/FakePort.h"
#include "support/RecordingPrompt.h"

#include "link/Frame.h"
#include "responses/InfoForm.h"
#include "responses/widgets/InfoPanel.h"
#include "shell/Core.h"

#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTextDocument>

namespace {
// A BMS answer to a read of `item`.
QByteArray answer(quint8 item, const QByteArray &data)
{
    return Frame::build(Frame::responseStart, 255, 16, 0, item, data);
}
QByteArray word(int value)
{
    QByteArray w(2, '\0');
    w[0] = char((value >> 8) & 0xFF);
    w[1] = char(value & 0xFF);
    return w;
}

struct Rig {
    RecordingPrompt prompt;
    FakePort *port = new FakePort;
    Core core{prompt, std::unique_ptr<PortIo>(port)};
    InfoPanel panel{core.state, core.requests};
    Form &form = core.state.info;

    // What the caption routine does for this page on a language change.
    void setEnglish(bool english)
    {
        core.state.setEnglishUi(english);
        panel.applyCaptions();
    }
};

QLabel *captionOf(const QWidget *box)
{
    for (QLabel *label : box->parentWidget()->findChildren<QLabel *>())
        if (label->buddy() == box)
            return label;
    return nullptr;
}
} // namespace

class TestInfoPanel : public QObject {
    Q_OBJECT
private slots:
    // Every control of the form has its widget, named as the control.
    void everyControlHasItsWidget()
    {
        Rig rig;
        const QStringList controls = rig.form.controls();
        QCOMPARE(controls.size(), 7 + 23 + 24 + 12 + 32 + 3 + 8);
        for (const QString &name : controls) {
            QWidget *w = rig.panel.control(name);
            QVERIFY2(w, qPrintable(name));
            QCOMPARE(w->objectName(), name);
            QCOMPARE(rig.panel.findChildren<QWidget *>(name).size(), 1);
        }
    }

    // Captions exactly as given, leading blanks and colons included.
    void captions_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("chinese");
        const auto row = [](const QString &control, const char *english, const char *chinese) {
            QTest::newRow(qPrintable(control))
                << control << QString::fromUtf8(english) << QString::fromUtf8(chinese);
        };
        row(InfoField::softwareVersion, "Software ver:", "软件版本：");
        row(InfoField::customText, "Custom:", " 自定义：");
        row(InfoField::projectNumber, "Item:", "项目：");
        row(InfoField::batteryId, "Battery Id:", "  电池ID：");
        row(InfoField::sof, "SOF：", "SOF：");
        row(InfoField::heating, "Heat_mos:", "   加热:");
        row(InfoField::gps, "GPS:", "GPS:");
        row(InfoField::currentLimiting, "Cur limiting:", "      限流:");
        row(InfoField::switch2, " SW2:", "开关2:");
        row(InfoField::reserved(16), "Reserved16:", "  保留16:");
        row(InfoField::reserved(22), "Reserved22:", "  保留22:");
        row(InfoField::totalCurrent, "Total Current(A):", " 总电流(A)：");
        row(InfoField::soc, "SOC(%):", "SOC(%):");
        row(InfoField::mosTemperature, "T_MOS(℃):", "MOS温度(℃)：");
        row(InfoField::voltageDifference, "V_difference(V):", "    压差(V)：");
        row(InfoField::workingState, "Working State:", "工作状态：");
        row(InfoField::maxTemperatureNo, "NO.of Max temperature:", "最高单体温度序号：");
        row(InfoField::bmsAddress, "BMSADD:", "BMSADD:");
        row(InfoField::cellTemperature(0), "T_01：", "温度01：");
        row(InfoField::cellTemperature(11), "T_12：", "温度12：");
        row(InfoField::cellVoltage(0), "cell_01:", "单节01:");
        row(InfoField::cellVoltage(9), "cell_10:", "单节10:");
        row(InfoField::cellVoltage(31), "cell_32:", "单节32:");
        row(InfoField::alarmStatus, "Alarm status", "告警状态");
        row(InfoField::faultStatus, "Fault status", "故障状态");
    }
    void captions()
    {
        QFETCH(QString, control);
        QFETCH(QString, english);
        QFETCH(QString, chinese);
        Rig rig;
        QWidget *box = rig.panel.control(control);
        QLabel *label = captionOf(box);
        QVERIFY(label);
        QCOMPARE(label->text(), chinese);
        QCOMPARE(box->accessibleName(), InfoPanel::nameFromCaption(chinese));
        rig.setEnglish(true);
        QCOMPARE(label->text(), english);
        QCOMPARE(box->accessibleName(), InfoPanel::nameFromCaption(english));
        rig.setEnglish(false);
        QCOMPARE(label->text(), chinese);
    }

    void groupTitles_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("chinese");
        QTest::newRow("version") << QStringLiteral("版本信息")
                                 << QStringLiteral("Version Information")
                                 << QStringLiteral("版本信息");
        QTest::newRow("state") << QStringLiteral("Frame3") << QStringLiteral("System State")
                               << QStringLiteral("系统状态");
        QTest::newRow("basic") << QStringLiteral("基本信息") << QStringLiteral("Basic Information")
                               << QStringLiteral("基本信息");
        QTest::newRow("temperatures")
            << QStringLiteral("Frame1") << QStringLiteral("Cell Temperature(℃)")
            << QStringLiteral("单体温度(℃)");
        QTest::newRow("cells") << QStringLiteral("Frame2") << QStringLiteral("Cell Voltage(mv)")
                               << QStringLiteral("单节电压(mv)");
    }
    void groupTitles()
    {
        QFETCH(QString, group);
        QFETCH(QString, english);
        QFETCH(QString, chinese);
        Rig rig;
        auto *box = rig.panel.findChild<QGroupBox *>(group);
        QVERIFY(box);
        QCOMPARE(box->title(), chinese);
        rig.setEnglish(true);
        QCOMPARE(box->title(), english);
    }

    void note()
    {
        Rig rig;
        auto *note = rig.panel.findChild<QLabel *>(QStringLiteral("Label9"));
        QVERIFY(note);
        QCOMPARE(note->text(), QStringLiteral("注：单节电压蓝底表示在被动均衡"));
        rig.setEnglish(true);
        QCOMPARE(note->text(), QStringLiteral("Note: The blue background of the cell voltage "
                                              "indicates that it is passive balanced"));
    }

    // Button, its caption, what a screen reader says, and the code it sends.
    void controlButtons_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("chinese");
        QTest::addColumn<QString>("englishName");
        QTest::addColumn<QString>("chineseName");
        QTest::addColumn<QString>("rowEnglish");
        QTest::addColumn<QString>("rowChinese");
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("data");
        const auto row = [](const QString &control, const char *en, const char *zh,
                            const char *enName, const char *zhName, const char *rowEn,
                            const char *rowZh, int code) {
            // Charge, discharge, sleep, reset, storage: 0 off, 1 on, FF unchanged.
            static const QHash<int, QByteArray> data = {
                {80, "00ffffffff"}, {85, "01ffffffff"}, {81, "ff00ffffff"}, {86, "ff01ffffff"},
                {82, "ffff01ffff"}, {83, "ffffff01ff"}, {84, "ffffffff01"}, {87, "ffffffffff"}};
            QTest::newRow(qPrintable(control))
                << control << QString::fromUtf8(en) << QString::fromUtf8(zh)
                << QString::fromUtf8(enName) << QString::fromUtf8(zhName)
                << QString::fromUtf8(rowEn) << QString::fromUtf8(rowZh) << code
                << QByteArray::fromHex(data.value(code));
        };
        row(InfoField::chargeOff, "OFF", "断开", "Charge MOS off", "断开充电MOS", "CMOS", "充电",
            80);
        row(InfoField::chargeOn, "ON", "开启", "Charge MOS on", "开启充电MOS", "CMOS", "充电", 85);
        row(InfoField::dischargeOff, "OFF", "断开", "Discharge MOS off", "断开放电MOS", "DMOS",
            "放电", 81);
        row(InfoField::dischargeOn, "ON", "开启", "Discharge MOS on", "开启放电MOS", "DMOS", "放电",
            86);
        row(InfoField::sleepButton, "ON", "开启", "Sleep", "进入休眠", "sleep", "休眠", 82);
        row(InfoField::resetButton, "ON", "开启", "Reset", "复位BMS", "reset", " 复位", 83);
        row(InfoField::storageButton, "ON", "开启", "Storage mode", "进入仓存模式", "storage",
            " 仓存", 84);
        row(InfoField::wakeButton, "ON", "执行", "Wake", "唤醒BMS", "wake", "唤醒", 87);
    }
    void controlButtons()
    {
        QFETCH(QString, control);
        QFETCH(QString, english);
        QFETCH(QString, chinese);
        QFETCH(QString, englishName);
        QFETCH(QString, chineseName);
        QFETCH(QString, rowEnglish);
        QFETCH(QString, rowChinese);
        QFETCH(int, code);
        QFETCH(QByteArray, data);
        Rig rig;
        auto *button = qobject_cast<QPushButton *>(rig.panel.control(control));
        QVERIFY(button);
        // The row caption is the label left of the button's row.
        const auto rowLabel = [&] {
            QLabel *best = nullptr;
            for (QLabel *l : button->parentWidget()->findChildren<QLabel *>())
                if (qAbs(l->geometry().center().y() - button->geometry().center().y()) < 6 &&
                    l->x() < button->x() && (!best || l->x() > best->x()))
                    best = l;
            return best;
        };
        rig.panel.resize(933, 620);
        rig.panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.panel));
        QCOMPARE(button->text(), chinese);
        QCOMPARE(button->accessibleName(), chineseName);
        QVERIFY(rowLabel());
        QCOMPARE(rowLabel()->text(), rowChinese);
        rig.setEnglish(true);
        QCOMPARE(button->text(), english);
        QCOMPARE(button->accessibleName(), englishName);
        QCOMPARE(rowLabel()->text(), rowEnglish);

        rig.core.link.toggleOpen();
        QVERIFY(rig.core.link.portOpen());
        rig.core.state.currentCommand = 0;
        rig.port->writes.clear();
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(int(rig.core.state.currentCommand), code);
        // One control request: operation 1, item 60, five data bytes.
        QCOMPARE(rig.port->writes.size(), 1);
        const QByteArray frame = rig.port->writes.first();
        QCOMPARE(frame.size(), 9 + 5);
        QCOMPARE(quint8(frame.at(3)), quint8(1));
        QCOMPARE(quint8(frame.at(4)), quint8(60));
        QCOMPARE(frame.mid(7, 5), data);
    }

    // Answers of the polling cycle, through the link's receive step and the
    // decoders, end up in the boxes; slots the pack does not have say so.
    void filledFromFrames_data()
    {
        QTest::addColumn<int>("cells");
        QTest::addColumn<int>("sensors");
        QTest::addColumn<bool>("english");
        QTest::newRow("8 cells, 3 sensors, english") << 8 << 3 << true;
        QTest::newRow("16 cells, 4 sensors, chinese") << 16 << 4 << false;
        QTest::newRow("32 cells, 12 sensors") << 32 << 12 << false;
        QTest::newRow("1 cell, 1 sensor") << 1 << 1 << true;
    }
    void filledFromFrames()
    {
        QFETCH(int, cells);
        QFETCH(int, sensors);
        QFETCH(bool, english);
        Rig rig;
        rig.setEnglish(english);
        rig.core.link.toggleOpen();
        QVERIFY(rig.core.link.portOpen());
        const QString null = english ? QStringLiteral("null") : QStringLiteral("无");

        QByteArray voltages = word(cells);
        for (int i = 0; i < 32; ++i)
            voltages += word(3300 + i);
        QByteArray temperatures = word(sensors);
        for (int i = 0; i < 12; ++i)
            temperatures += word(i == 1 ? -55 : 250 + 10 * i);
        // Cells 1, 3 and the last one balancing.
        quint32 map = 0b101u | (1u << (cells - 1));
        QByteArray balancing(2, '\0');
        for (int b = 0; b < 4; ++b)
            balancing += char((map >> (8 * b)) & 0xFF);
        // Split over two arrivals, as a slow line delivers it.
        const QByteArray stream =
            answer(7, temperatures) + answer(8, voltages) + answer(9, balancing);
        rig.port->feed(stream.left(31));
        rig.port->feed(stream.mid(31));

        const auto shown = [&](const QString &control) {
            return qobject_cast<QLineEdit *>(rig.panel.control(control))->text();
        };
        QCOMPARE(shown(InfoField::cellCount), QString::number(cells));
        QCOMPARE(shown(InfoField::ntcCount), QString::number(sensors));
        for (int i = 0; i < 32; ++i) {
            const QString control = InfoField::cellVoltage(i);
            QCOMPARE(shown(control), i < cells ? QString::number(3300 + i) : null);
            // The map alone decides, as the BMS reports it.
            const bool balanced = (map >> i) & 1u;
            QCOMPARE(rig.form.isHighlighted(control), balanced);
            QCOMPARE(rig.panel.control(control)->palette().color(QPalette::Base) ==
                         rig.panel.palette().color(QPalette::Highlight),
                     balanced);
        }
        for (int i = 0; i < 12; ++i) {
            const QString expected = i >= sensors ? null
                                     : i == 1     ? QStringLiteral("-5.5")
                                                  : QString::number(25 + i);
            QCOMPARE(shown(InfoField::cellTemperature(i)), expected);
        }
    }

    void liveBlockFillsFiguresAndConditions()
    {
        Rig rig;
        rig.setEnglish(true);
        rig.core.link.toggleOpen();
        QByteArray data(56, '\0');
        const auto put = [&](int byte, int value) { data.replace(byte - 7, 2, word(value)); };
        put(7, 0x1482);          // total voltage 52.5 V
        put(9, 0xFF38);          // current -2 A
        put(11, 0x0320);         // SOC 80 %
        put(45, 123);            // cycles
        data[47 - 7 + 1] = 0x01; // alarm bits 16 and 0, 2
        data[47 - 7 + 3] = 0x05;
        rig.port->feed(answer(6, data));
        const auto shown = [&](const QString &control) {
            return qobject_cast<QLineEdit *>(rig.panel.control(control))->text();
        };
        QCOMPARE(shown(InfoField::totalVoltage), QStringLiteral("52.5"));
        QCOMPARE(shown(InfoField::totalCurrent), QStringLiteral("-2"));
        QCOMPARE(shown(InfoField::soc), QStringLiteral("80"));
        QCOMPARE(shown(InfoField::cycleCount), QStringLiteral("123"));
        auto *alarm = qobject_cast<QPlainTextEdit *>(rig.panel.control(InfoField::alarmStatus));
        QStringList lines = alarm->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (QString &line : lines)
            line = line.trimmed();
        QCOMPARE(lines, (QStringList{QStringLiteral("Cell_DIFV"), QStringLiteral("Cell_OV"),
                                     QStringLiteral("Total_OV")}));
        QCOMPARE(alarm->document()->blockCount(), 4); // three lines and the empty last one
    }

    void buttonsFollowEnabledState()
    {
        Rig rig;
        QWidget *button = rig.panel.control(InfoField::wakeButton);
        rig.form.setEnabled(InfoField::wakeButton, false);
        QVERIFY(!button->isEnabled());
        rig.form.setEnabled(InfoField::wakeButton, true);
        QVERIFY(button->isEnabled());
    }

    // The user can select and copy but never change a value.
    void boxesAreReadOnly_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("total voltage") << InfoField::totalVoltage;
        QTest::newRow("cell 0") << InfoField::cellVoltage(0);
        QTest::newRow("temperature 11") << InfoField::cellTemperature(11);
        QTest::newRow("model") << InfoField::model;
        QTest::newRow("alarm") << InfoField::alarmStatus;
        QTest::newRow("fault") << InfoField::faultStatus;
    }
    void boxesAreReadOnly()
    {
        QFETCH(QString, control);
        Rig rig;
        rig.form.setText(control, QStringLiteral("52.10"));
        rig.panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.panel));
        QWidget *box = rig.panel.control(control);
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("99"));
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClick(box, Qt::Key_Delete);
        QCOMPARE(rig.form.text(control), QStringLiteral("52.10"));
        if (auto *line = qobject_cast<QLineEdit *>(box))
            QCOMPARE(line->text(), QStringLiteral("52.10"));
        else
            QCOMPARE(qobject_cast<QPlainTextEdit *>(box)->toPlainText(), QStringLiteral("52.10"));
    }

    void allTextBoxesReadOnly()
    {
        Rig rig;
        const auto lines = rig.panel.findChildren<QLineEdit *>();
        QCOMPARE(lines.size(), 7 + 23 + 24 + 12 + 32);
        for (QLineEdit *e : lines)
            QVERIFY2(e->isReadOnly(), qPrintable(e->objectName()));
        const auto texts = rig.panel.findChildren<QPlainTextEdit *>();
        QCOMPARE(texts.size(), 3);
        for (QPlainTextEdit *e : texts)
            QVERIFY2(e->isReadOnly(), qPrintable(e->objectName()));
    }

    // Condition lists arrive one condition per line, each ended by CR LF.
    void conditionLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << QString() << QStringList{};
        QTest::newRow("one") << QStringLiteral("Cell_OV\r\n")
                             << QStringList{QStringLiteral("Cell_OV")};
        QTest::newRow("three") << QStringLiteral("Cell_DIFV\r\nCell_OV\r\nTotal_OV\r\n")
                               << QStringList{QStringLiteral("Cell_DIFV"),
                                              QStringLiteral("Cell_OV"),
                                              QStringLiteral("Total_OV")};
        QTest::newRow("chinese") << QStringLiteral("单体过压\r\n总压过压\r\n")
                                 << QStringList{QStringLiteral("单体过压"),
                                                QStringLiteral("总压过压")};
    }
    void conditionLines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        Rig rig;
        for (const QString &control :
             {InfoField::alarmStatus, InfoField::protectionStatus, InfoField::faultStatus}) {
            rig.form.setText(control, text);
            auto *box = qobject_cast<QPlainTextEdit *>(rig.panel.control(control));
            QStringList shown = box->toPlainText().split(QLatin1Char('\n'));
            while (!shown.isEmpty() && shown.last().isEmpty())
                shown.removeLast();
            QCOMPARE(shown, lines);
            // The form keeps the text as decoded: the recorder reads it back.
            QCOMPARE(rig.form.text(control), text);
        }
    }

    void valuesFollowForm()
    {
        Rig rig;
        rig.form.setText(InfoField::totalVoltage, QStringLiteral("52.37"));
        rig.form.setText(InfoField::cellVoltage(20), QStringLiteral("null"));
        auto *total = qobject_cast<QLineEdit *>(rig.panel.control(InfoField::totalVoltage));
        auto *cell = qobject_cast<QLineEdit *>(rig.panel.control(InfoField::cellVoltage(20)));
        QCOMPARE(total->text(), QStringLiteral("52.37"));
        QCOMPARE(cell->text(), QStringLiteral("null"));
        // A language switch leaves values alone: they change with the next frame.
        rig.setEnglish(true);
        rig.setEnglish(false);
        QCOMPARE(cell->text(), QStringLiteral("null"));
        QCOMPARE(total->text(), QStringLiteral("52.37"));
    }

    // Balancing cells show the platform's highlight colour.
    void balancingHighlight_data()
    {
        QTest::addColumn<int>("cell");
        QTest::newRow("first") << 0;
        QTest::newRow("middle") << 15;
        QTest::newRow("last") << 31;
    }
    void balancingHighlight()
    {
        QFETCH(int, cell);
        Rig rig;
        auto *box = qobject_cast<QLineEdit *>(rig.panel.control(InfoField::cellVoltage(cell)));
        auto *neighbour =
            qobject_cast<QLineEdit *>(rig.panel.control(InfoField::cellVoltage((cell + 1) % 32)));
        const QColor highlight = rig.panel.palette().color(QPalette::Highlight);
        const QColor normal = box->palette().color(QPalette::Base);
        QVERIFY(normal != highlight);
        rig.form.setHighlighted(InfoField::cellVoltage(cell), true);
        QCOMPARE(box->palette().color(QPalette::Base), highlight);
        QCOMPARE(neighbour->palette().color(QPalette::Base), normal);
        QCOMPARE(box->accessibleDescription(), QStringLiteral("被动均衡中"));
        rig.setEnglish(true);
        QCOMPARE(box->accessibleDescription(), QStringLiteral("passive balancing"));
        QCOMPARE(box->palette().color(QPalette::Base), highlight);
        rig.form.setHighlighted(InfoField::cellVoltage(cell), false);
        QCOMPARE(box->palette().color(QPalette::Base), normal);
        QCOMPARE(box->accessibleDescription(), QString());
    }

    // The longest texts the pack sends show in full: identity texts of 24
    // characters, the working state, the on/off words of the state bits.
    void valuesFit_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        using namespace InfoField;
        const auto row = [](const QString &control, const char *text) {
            QTest::newRow(qPrintable(control + QLatin1Char(' ') + QString::fromUtf8(text)))
                << control << QString::fromUtf8(text);
        };
        row(projectNumber, "CVP-32S280AH-WMWMWM-0001");
        row(model, "CV-BMS-32S-LFP-WMWM-2024");
        row(batteryId, "CVB32S280-240315-2788119");
        row(customText, "Cellvane simulated packWM");
        row(softwareVersion, "655.35");
        row(sof, "100");
        row(workingState, "discharge");
        row(workingState, "空闲");
        row(totalCurrent, "-327.68");
        row(charger, "off");
        row(charger, "未接");
        row(reserved(22), "off");
        row(cellVoltage(31), "65535");
        row(cellTemperature(11), "-40.5");
    }
    void valuesFit()
    {
        QFETCH(QString, control);
        QFETCH(QString, text);
        Rig rig;
        rig.panel.resize(925, 610);
        rig.panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.panel));
        auto *box = qobject_cast<QLineEdit *>(rig.panel.control(control));
        QVERIFY(box);
        // A line edit draws its text inside its frame and a 2-pixel margin
        // on each side.
        const int frame = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, box);
        const int room = box->width() - 2 * frame - 4;
        const int needed = box->fontMetrics().horizontalAdvance(text);
        QVERIFY2(
            needed <= room,
            qPrintable(QStringLiteral("%1 needs %2 px, has %3").arg(text).arg(needed).arg(room)));
        // Its caption is not cut either.
        QLabel *caption = captionOf(box);
        QVERIFY(caption);
        QVERIFY2(caption->width() >= caption->sizeHint().width(), qPrintable(caption->text()));
    }

    // A screen reader finds every box by its caption.
    void accessibleNames()
    {
        Rig rig;
        for (const QString &name : rig.form.controls()) {
            QWidget *w = rig.panel.control(name);
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
            QVERIFY(iface);
            const QString spoken = iface->text(QAccessible::Name);
            QVERIFY2(!spoken.isEmpty(), qPrintable(name));
            QVERIFY2(!spoken.endsWith(QChar(0xFF1A)) && !spoken.endsWith(QLatin1Char(':')),
                     qPrintable(spoken));
        }
        // Buttons sharing a caption are told apart by what they do.
        QSet<QString> buttonNames;
        for (QPushButton *b : rig.panel.findChildren<QPushButton *>())
            buttonNames.insert(b->accessibleName());
        QCOMPARE(buttonNames.size(), 8);
        // Every group is announced by name, also the untitled frame of the
        // control buttons.
        auto *controls = rig.panel.control(InfoField::chargeOff)->parentWidget();
        for (bool english : {false, true}) {
            rig.setEnglish(english);
            for (QGroupBox *g : rig.panel.findChildren<QGroupBox *>()) {
                QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(g);
                QVERIFY2(!iface->text(QAccessible::Name).isEmpty(), qPrintable(g->objectName()));
            }
            QCOMPARE(controls->accessibleName(),
                     english ? QStringLiteral("Control commands") : QStringLiteral("控制命令"));
        }
    }
};

QTEST_MAIN(TestInfoPanel)
#include "tst_info_panel.moc"
