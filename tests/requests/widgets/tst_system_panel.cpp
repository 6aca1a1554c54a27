#include "PanelTestKit.h"
#include "requests/RequestRig.h"
#include "support/FakePort.h"
#include "support/RecordingPrompt.h"

#include "requests/SystemCommands.h"
#include "requests/SystemForm.h"
#include "requests/widgets/SystemPanel.h"
#include "shell/Core.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <memory>

using namespace PanelTestKit;

class TestSystemPanel : public QObject {
    Q_OBJECT

    RecordingPrompt m_prompt;
    std::unique_ptr<Core> m_core;
    std::unique_ptr<SystemPanel> m_panel;

    void setLanguage(bool english)
    {
        m_core->state.setEnglishUi(english);
        m_panel->applyCaptions();
    }

    template <typename T> T *find(const QString &name)
    {
        return PanelTestKit::findOne<T>(m_panel.get(), name);
    }

private slots:
    void init()
    {
        m_prompt.clear();
        m_core = std::make_unique<Core>(m_prompt, std::make_unique<FakePort>());
        m_panel = std::make_unique<SystemPanel>(m_core->state, m_core->systemCommands);
        setLanguage(true);
    }

    void cleanup()
    {
        m_panel.reset();
        m_core.reset();
    }

    void everyControlIsThereOnce_data()
    {
        using namespace SystemField;
        addControlColumns();
        for (const QString &text : {projectNumber,
                                    model,
                                    batteryId,
                                    customText,
                                    ip,
                                    ipPort,
                                    productionDate,
                                    shippingDate,
                                    batch,
                                    balanceOpen,
                                    balanceDiff,
                                    balanceClose,
                                    cellNumber,
                                    lowCellNumber,
                                    ntcNumber,
                                    soc,
                                    cycles,
                                    standardCapacity,
                                    fullCapacity,
                                    attenuationCycles,
                                    zeroCalibration,
                                    chargeCalibration,
                                    dischargeCalibration,
                                    samplingResistor,
                                    moduleAddress,
                                    limitMode,
                                    limitThreshold,
                                    limitTime,
                                    preDischargeTime})
            QTest::newRow(qPrintable(text)) << text << "QLineEdit";
        for (int g = 0; g < 3; ++g) {
            QTest::newRow(qPrintable(activeEnable(g))) << activeEnable(g) << "QCheckBox";
            for (int c = 0; c < 5; ++c)
                QTest::newRow(qPrintable(activeValue(g, c))) << activeValue(g, c) << "QLineEdit";
        }
        for (const QString &check : {balanceEnable, limitEnable})
            QTest::newRow(qPrintable(check)) << check << "QCheckBox";
        for (const QString &list : {usart, baud, parity})
            QTest::newRow(qPrintable(list)) << list << "QComboBox";
        QTest::newRow("BMS time") << bmsTime << "QLabel";
        for (const QString &group : {handshake, customSelection, preDischarge})
            for (int i = 0; i < 3; ++i)
                QTest::addRow("%s_%d", qPrintable(group), i)
                    << QStringLiteral("%1_%2").arg(group).arg(i) << "QRadioButton";
        for (int n = 1; n <= SystemPanel::buttonCount; ++n)
            QTest::addRow("Command%d", n) << command(n) << "QPushButton";
        for (int f : {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14})
            QTest::addRow("Frame%d", f) << QStringLiteral("Frame%1").arg(f) << "QGroupBox";
    }

    void everyControlIsThereOnce()
    {
        QFETCH(QString, name);
        QFETCH(QString, type);
        verifyOneControl(m_panel.get(), name, type);
    }

    void captionsInBothLanguages_data()
    {
        addTextColumns();
        addTextRow("Frame2", "Product Settings", "产品设置");
        addTextRow("Label1", "Project No", "项目号");
        addTextRow("Label3", "Battery ID", "电池ID");
        addTextRow("Label5", "IP/Web", "IP/网址");
        addTextRow("Frame4", "Manufacturing Date", "出厂日期");
        addTextRow("Label14", "Production Date", "生产日期");
        addTextRow("Frame3", "Passive Balanced Settings", "被动均衡设置");
        addTextRow("Label9", "Enable", "使能");
        addTextRow("Label7", "Balanced diff volt(V)", "均衡压差(V)");
        addTextRow("Frame5", "Number", "数量");
        addTextRow("Label16", "Low Cell number", "低端串数");
        addTextRow("Frame6", "Capacity dependent", "容量相关");
        addTextRow("Label19", "SOC(%)", "SOC(%)");
        addTextRow("Label22", "80% attenuation cycles", "80%衰减循环次数");
        addTextRow("Frame7", "Calibration current", "校准电流");
        addTextRow("Label17", "Sampling resistor(mR)", "采样电阻(mR)");
        addTextRow("Frame9", "Baud rate", "波特率");
        addTextRow("Label", "USART", "USART");
        addTextRow("Label24", "Parity bit", "奇偶位");
        addTextRow("Frame10", "Charging handshake", "充电握手");
        addTextRow("握手_0", "Disable(0)", "禁止(0)");
        addTextRow("握手_1", "Enable(1)", "使能(1)");
        addTextRow("握手_2", "Val(2)", "Val(2)");
        addTextRow("Frame11", "Custom Selection", "自定选择");
        addTextRow("自选_0", "Val(0)", "Val(0)");
        addTextRow("Frame8", "BMS time", "BMS时间");
        addTextRow("Frame12", "Energy storage module", "储能模块");
        addTextRow("Label35", "BMSADD", "BMS地址");
        addTextRow("Label34", "Current limiting threshold(A)", "充电限流阀值(A)");
        addTextRow("Label38", "Current limiting time(S)", "         充电限流时间(S)");
        addTextRow("Frame13", "PreDischarge Setting", "预放电设置");
        addTextRow("预放_0", "No PreDischarge", "无预放电");
        addTextRow("预放_1", "PreDischarge method1", "预放电方式1");
        addTextRow("Label46", "PreDisMode switch NormalMode time(S)",
                   "解发防打火切换正常模式时间(S)");
        addTextRow("Frame14", "Active Balanced Settings(V)", "主动均衡设置(V)");
        addTextRow("Label43", "C_Bla_En", "充电均衡使能");
        addTextRow("Label44", "Idle_Bla_En", "静置均衡使能");
        addTextRow("Label48", "Open_DIV", "开启压差");
        addTextRow("Label51", "Time(S)", "时间(S)");
        addTextRow("Command1", "Read", "读取");
        addTextRow("Command2", "Write", "设置");
        addTextRow("Command14", "Read", "读取");
        addTextRow("Command13", "Write", "设置");
        addTextRow("Command20", "Read", "读取");
        addTextRow("Command19", "Write", "设置");
        addTextRow("Command39", "Read", "读取");
        addTextRow("Command40", "Write", "设置");
    }

    void captionsInBothLanguages()
    {
        QFETCH(QString, name);
        QFETCH(QString, english);
        QFETCH(QString, chinese);
        verifyCaptionFollowsLanguage(m_panel.get(), name, english, chinese,
                                     [this](bool english) { setLanguage(english); });
    }

    void fieldsAreNamedByTheirCaption_data()
    {
        addTextColumns();
        addTextRow("项目编号", "Project No", "项目号");
        addTextRow("端口号", "Port number", "端口号");
        addTextRow("批次", "Batch", "批次");
        addTextRow("均衡使能", "Enable", "使能");
        addTextRow("SOC", "SOC(%)", "SOC(%)");
        addTextRow("采样电阻", "Sampling resistor(mR)", "采样电阻(mR)");
        addTextRow("BMS时间", "BMS time", "BMS时间");
        addTextRow("usart", "USART", "USART");
        addTextRow("波特率", "Baud rate", "波特率");
        addTextRow("奇偶位", "Parity bit", "奇偶位");
        addTextRow("限流使能", "Current limiting enable", "充电限流使能");
        addTextRow("限流时间", "Current limiting time(S)", "充电限流时间(S)");
        addTextRow("预放切换时间", "PreDisMode switch NormalMode time(S)",
                   "解发防打火切换正常模式时间(S)");
        addTextRow("主动充电均衡使能", "C_Bla_En", "充电均衡使能");
        addTextRow("主动放电均衡开启电压", "D_Bla_En Open_V", "放电均衡使能 开启电压");
        addTextRow("主动静置均衡时间", "Idle_Bla_En Time(S)", "静置均衡使能 时间(S)");
        addTextRow("预放_1", "PreDischarge method1", "预放电方式1");
    }

    void fieldsAreNamedByTheirCaption()
    {
        QFETCH(QString, name);
        QFETCH(QString, english);
        QFETCH(QString, chinese);
        QWidget *w = find<QWidget>(name);
        QVERIFY(w);
        // Option buttons are named by their own caption.
        if (!qobject_cast<QRadioButton *>(w)) {
            QCOMPARE(w->accessibleName(), english);
            setLanguage(false);
            QCOMPARE(w->accessibleName(), chinese);
        } else {
            QCOMPARE(captionOf(w), english);
        }
    }

    // The buttons are named by the status texts of what they do.
    void buttonsAreNamedByWhatTheyDo_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("chinese");
        QTest::newRow("Command26") << 26 << "Read BMS time"
                                   << "读取BMS时间";
        QTest::newRow("Command1") << 1 << "Read Project No."
                                  << "读取项目编号";
        QTest::newRow("Command19") << 19 << "Write Charging calibration"
                                   << "设置充电校准";
        QTest::newRow("Command31") << 31 << "Write Charging handshake"
                                   << "设置充电握手";
    }

    void buttonsAreNamedByWhatTheyDo()
    {
        QFETCH(int, button);
        QFETCH(QString, english);
        QFETCH(QString, chinese);
        auto *b = find<QPushButton>(SystemField::command(button));
        QVERIFY(b);
        QCOMPARE(b->accessibleName(), english);
        setLanguage(false);
        QCOMPARE(b->accessibleName(), chinese);
        for (int n = 1; n <= SystemPanel::buttonCount; ++n)
            QCOMPARE(find<QPushButton>(SystemField::command(n))->accessibleName(),
                     SystemCommands::statusText(n).trimmed());
    }

    // What the decoders write shows at once; what the user types is what the
    // request builder reads.
    void textsFollowTheFormBothWays_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("decoded");
        QTest::addColumn<QString>("typed");
        QTest::newRow("project number") << SystemField::projectNumber << "P-01"
                                        << "PRJ2024";
        QTest::newRow("IP") << SystemField::ip << "192.168.1.10"
                            << "bms.example.org";
        QTest::newRow("production date") << SystemField::productionDate << "2021-03-05"
                                         << "2024-12-31";
        QTest::newRow("threshold") << SystemField::limitThreshold << "5"
                                   << "-12.5";
        QTest::newRow("rest time") << SystemField::activeValue(2, 4) << "30"
                                   << "45";
        QTest::newRow("baud list") << SystemField::baud << "9600"
                                   << "115200";
        QTest::newRow("usart list") << SystemField::usart << "1"
                                    << "02";
    }

    void textsFollowTheFormBothWays()
    {
        QFETCH(QString, control);
        QFETCH(QString, decoded);
        QFETCH(QString, typed);
        Form &form = m_core->state.system;
        QWidget *w = find<QWidget>(control);
        QVERIFY(w);
        auto *edit = qobject_cast<QLineEdit *>(w);
        if (auto *combo = qobject_cast<QComboBox *>(w))
            edit = combo->lineEdit();
        QVERIFY(edit);
        form.setText(control, decoded);
        QCOMPARE(edit->text(), decoded);
        edit->selectAll();
        QTest::keyClicks(edit, typed);
        QCOMPARE(form.text(control), typed);
    }

    // Text longer than its item on the wire cannot be typed, so nothing the
    // user sees is cut off when it is sent.
    void identityTextsStopAtTheirWireWidth_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("width");
        QTest::newRow("project number") << SystemField::projectNumber << 24;
        QTest::newRow("model") << SystemField::model << 24;
        QTest::newRow("battery ID") << SystemField::batteryId << 32;
        QTest::newRow("custom") << SystemField::customText << 32;
        QTest::newRow("IP") << SystemField::ip << 40;
        QTest::newRow("port") << SystemField::ipPort << 10;
        QTest::newRow("batch") << SystemField::batch << 16;
    }

    void identityTextsStopAtTheirWireWidth()
    {
        QFETCH(QString, control);
        QFETCH(int, width);
        auto *edit = find<QLineEdit>(control);
        QVERIFY(edit);
        QTest::keyClicks(edit, QString(width + 5, QLatin1Char('7')));
        QCOMPARE(m_core->state.system.text(control), QString(width, QLatin1Char('7')));
    }

    void checkBoxesFollowTheFormBothWays_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("passive enable") << SystemField::balanceEnable;
        QTest::newRow("limit enable") << SystemField::limitEnable;
        QTest::newRow("charge enable") << SystemField::activeEnable(0);
        QTest::newRow("rest enable") << SystemField::activeEnable(2);
    }

    void checkBoxesFollowTheFormBothWays()
    {
        QFETCH(QString, control);
        Form &form = m_core->state.system;
        auto *box = find<QCheckBox>(control);
        QVERIFY(box);
        QVERIFY(form.setCheck(control, 1));
        QVERIFY(box->isChecked());
        box->click();
        QCOMPARE(form.check(control), 0);
        box->click();
        QCOMPARE(form.check(control), 1);
    }

    void optionGroupsFollowTheFormBothWays_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("handshake") << SystemField::handshake;
        QTest::newRow("custom selection") << SystemField::customSelection;
        QTest::newRow("pre-discharge") << SystemField::preDischarge;
    }

    void optionGroupsFollowTheFormBothWays()
    {
        QFETCH(QString, control);
        Form &form = m_core->state.system;
        QRadioButton *options[3];
        for (int i = 0; i < 3; ++i) {
            options[i] = find<QRadioButton>(QStringLiteral("%1_%2").arg(control).arg(i));
            QVERIFY(options[i]);
        }
        for (int i = 0; i < 3; ++i) {
            QVERIFY(form.setChoice(control, i));
            for (int j = 0; j < 3; ++j)
                QCOMPARE(options[j]->isChecked(), i == j);
        }
        options[1]->click();
        QCOMPARE(form.choice(control), 1);
        options[0]->click();
        QCOMPARE(form.choice(control), 0);
    }

    void parityListIsTranslatedAndBound()
    {
        Form &form = m_core->state.system;
        auto *combo = find<QComboBox>(SystemField::parity);
        QVERIFY(combo);
        QVERIFY(form.setChoice(SystemField::parity, 2));
        QCOMPARE(combo->currentText(), QStringLiteral("Odd"));
        setLanguage(false);
        QCOMPARE(combo->currentText(), QStringLiteral("奇校验"));
        QCOMPARE(combo->itemText(0), QStringLiteral("无校验"));
        combo->setCurrentIndex(1);
        emit combo->activated(1);
        QCOMPARE(form.choice(SystemField::parity), 1);
        QCOMPARE(form.choiceText(SystemField::parity), QStringLiteral("Even"));
    }

    void clockLabelShowsTheDecodedTime()
    {
        auto *label = find<QLabel>(SystemField::bmsTime);
        QVERIFY(label);
        m_core->state.system.setText(SystemField::bmsTime, QStringLiteral("2024-03-09 07:05:00"));
        QCOMPARE(label->text(), QStringLiteral("2024-03-09 07:05:00"));
    }
    // Each of the forty buttons sends the request of its item and then names
    // it in the status line.
    void buttonsSendTheirRequest_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("operation");
        QTest::addColumn<int>("item");
        // Button numbers of each item's Read and Write, and the item byte.
        const int pairs[20][3] = {{1, 2, 1},    {3, 4, 2},    {5, 6, 3},     {7, 8, 19},
                                  {9, 10, 125}, {14, 13, 10}, {11, 12, 12},  {16, 15, 11},
                                  {17, 18, 13}, {21, 22, 14}, {20, 19, 15},  {24, 23, 16},
                                  {27, 28, 17}, {26, 25, 18}, {29, 30, 20},  {32, 31, 21},
                                  {33, 34, 22}, {35, 36, 23}, {37, 38, 130}, {39, 40, 24}};
        for (const auto &p : pairs) {
            QTest::addRow("Command%d", p[0]) << p[0] << 0 << p[2];
            QTest::addRow("Command%d", p[1]) << p[1] << 1 << p[2];
        }
    }

    void buttonsSendTheirRequest()
    {
        QFETCH(int, button);
        QFETCH(int, operation);
        QFETCH(int, item);
        RequestRig rig;
        rig.fillPages();
        SystemPanel panel(rig.core.state, rig.core.systemCommands);
        auto *b = panel.findChild<QPushButton *>(SystemField::command(button));
        QVERIFY(b);
        b->click();
        QCOMPARE(rig.prompt.texts(), QStringList());
        QCOMPARE(rig.port().writes.size(), 1);
        const QByteArray frame = rig.port().writes.first();
        QCOMPARE(int(quint8(frame[3])), operation);
        QCOMPARE(int(quint8(frame[4])), item);
        QCOMPARE(rig.state().statusLine(), SystemCommands::statusText(button));
        QVERIFY(!rig.state().statusLine().isEmpty());
    }

    // A refused write says why, sends nothing, and the line still names it.
    void refusedWriteSendsNothing()
    {
        RequestRig rig;
        rig.fillPages();
        SystemPanel panel(rig.core.state, rig.core.systemCommands);
        auto *edit = panel.findChild<QLineEdit *>(SystemField::model);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QCOMPARE(rig.state().system.text(SystemField::model), QString());
        panel.findChild<QPushButton *>(SystemField::command(4))->click();
        QCOMPARE(rig.prompt.texts(), QStringList{QStringLiteral("Parameter cannot be empty")});
        QVERIFY(rig.port().writes.isEmpty());
        QCOMPARE(rig.state().currentCommand, quint8(16));
        QCOMPARE(rig.state().statusLine(), QStringLiteral("Write BMS model"));
    }
};

QTEST_MAIN(TestSystemPanel)
#include "tst_system_panel.moc"
