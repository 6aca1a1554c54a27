#include "support/RecordingPrompt.h"

#include "link/LinkForm.h"
#include "link/SerialPortIo.h"
#include "requests/ParamForm.h"
#include "requests/SystemForm.h"
#include "requests/widgets/ParamPanel.h"
#include "requests/widgets/SystemPanel.h"
#include "shell/Core.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {
// The serial line to the simulated pack, keeping a copy of every frame sent.
class TappedPort : public PortIo {
public:
    TappedPort()
    {
        connect(&m_line, &PortIo::readyRead, this, &PortIo::readyRead);
        connect(&m_line, &PortIo::lost, this, &PortIo::lost);
    }
    OpenResult open(const QString &device, const Settings &settings, int *errorCode) override
    {
        return m_line.open(device, settings, errorCode);
    }
    bool isOpen() const override { return m_line.isOpen(); }
    QByteArray read(int maxBytes) override { return m_line.read(maxBytes); }
    qint64 write(const QByteArray &bytes) override
    {
        sent << bytes;
        return m_line.write(bytes);
    }
    void flush() override { m_line.flush(); }
    void close() override { m_line.close(); }
    qintptr handleValue() const override { return m_line.handleValue(); }
    bool probe(const QString &device) override { return m_line.probe(device); }

    QList<QByteArray> sent;

private:
    SerialPortIo m_line;
};

constexpr int comNumber = 7;
constexpr int exchangeTimeoutMs = 15000;

struct Expected {
    QString english;
    QString chinese;
};

// A value to put into a system-page control: "T:" text, "C:" check state,
// "O:" option or list position, "K:" a text the read itself needs (kept).
struct Setting {
    QChar kind;
    QString control;
    QString value;
};

QList<Setting> parseSettings(const QString &spec)
{
    QList<Setting> list;
    for (const QString &item : spec.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        const int eq = item.indexOf(QLatin1Char('='));
        list.append({item.at(0), item.mid(2, eq - 2), item.mid(eq + 1)});
    }
    return list;
}

bool sameValue(const QString &shown, const QString &typed)
{
    bool a = false, b = false;
    const double x = shown.toDouble(&a), y = typed.toDouble(&b);
    if (a && b)
        return qAbs(x - y) < 1e-6;
    return shown == typed;
}
} // namespace

class TestPagesSim : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    QProcess m_sim;
    RecordingPrompt m_prompt;
    TappedPort *m_port = nullptr;
    std::unique_ptr<Core> m_core;
    std::unique_ptr<ParamPanel> m_paramPanel;
    std::unique_ptr<SystemPanel> m_systemPanel;

    AppState &state() { return m_core->state; }

    void setLanguage(bool english)
    {
        state().setEnglishUi(english);
        m_paramPanel->applyCaptions();
        m_systemPanel->applyCaptions();
    }

    QPushButton *button(QWidget *panel, const QString &name)
    {
        const auto all = panel->findChildren<QPushButton *>(name);
        return all.size() == 1 ? all.first() : nullptr;
    }

    // Presses a page button and waits for the message that ends the exchange.
    bool pressAndWait(QWidget *panel, const QString &name)
    {
        QPushButton *b = button(panel, name);
        if (!b)
            return false;
        const int before = int(m_prompt.messages.size());
        b->click();
        return QTest::qWaitFor([&] { return m_prompt.messages.size() > before; },
                               exchangeTimeoutMs);
    }

    QList<QByteArray> sentFrames() const { return m_port->sent; }

    // CELLVANE_PAGE_SHOTS names a folder for pictures of the filled pages.
    void saveShot(QWidget *panel, const QString &name)
    {
        const QString folder = qEnvironmentVariable("CELLVANE_PAGE_SHOTS");
        if (folder.isEmpty())
            return;
        QDir().mkpath(folder);
        panel->resize(925, 610);
        QVERIFY(panel->grab().save(QDir(folder).filePath(name + QStringLiteral(".png"))));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        // Each test has its own configuration folder, so the COM link below is
        // seen by nothing else.
        qputenv("XDG_CONFIG_HOME", m_home.path().toLocal8Bit());
        const QString ports = m_home.filePath(QStringLiteral("cellvane/ports"));
        QVERIFY(QDir().mkpath(ports));
        m_sim.setProgram(QStringLiteral(CELLVANE_SIM_EXE));
        m_sim.setArguments({QStringLiteral("--link"),
                            QDir(ports).filePath(QStringLiteral("com%1").arg(comNumber)),
                            QStringLiteral("--speed"), QStringLiteral("0"),
                            QStringLiteral("--seed"), QStringLiteral("7")});
        m_sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_sim.start();
        QVERIFY(m_sim.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(m_sim.canReadLine(), 10000);

        auto port = std::make_unique<TappedPort>();
        m_port = port.get();
        m_core = std::make_unique<Core>(m_prompt, std::move(port));
        m_paramPanel = std::make_unique<ParamPanel>(m_core->state, m_core->paramCommands);
        m_systemPanel = std::make_unique<SystemPanel>(m_core->state, m_core->systemCommands);

        m_core->selectTab(3);
        m_core->link.load();
        Form &link = state().link;
        const int entry =
            int(link.entries(LinkField::port).indexOf(QStringLiteral("COM%1").arg(comNumber)));
        QVERIFY(entry >= 0);
        QVERIFY(link.setChoice(LinkField::port, entry));
        m_core->link.toggleOpen();
        QVERIFY(m_core->link.portOpen());
        QCOMPARE(state().currentCommand, quint8(16));
    }

    void cleanupTestCase()
    {
        if (m_core)
            m_core->shutdown();
        m_sim.terminate();
        m_sim.waitForFinished(5000);
    }

    void init()
    {
        setLanguage(true);
        m_prompt.clear();
        m_port->sent.clear();
    }

    void readAllFillsEveryRow_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("message");
        QTest::newRow("English") << true << "Successfully read all";
        QTest::newRow("Chinese") << false << "全部读取成功";
    }

    void readAllFillsEveryRow()
    {
        QFETCH(bool, english);
        QFETCH(QString, message);
        setLanguage(english);
        QVERIFY(pressAndWait(m_paramPanel.get(), ParamField::readAll));
        // Nothing else comes after the end of the chain.
        QTest::qWait(800);
        QCOMPARE(m_prompt.texts(), QStringList{message});
        QCOMPARE(state().currentCommand, quint8(16));
        QVERIFY(!state().readAllActive);

        const QList<QByteArray> frames = sentFrames();
        QCOMPARE(frames.size(), ParamField::rows);
        for (int r = 0; r < ParamField::rows; ++r) {
            QCOMPARE(quint8(frames[r][3]), quint8(0));
            QCOMPARE(quint8(frames[r][4]), quint8(40 + r));
        }
        for (int i = 0; i < ParamField::texts; ++i) {
            bool number = false;
            state().param.text(ParamField::cs(i)).toDouble(&number);
            QVERIFY2(number, qPrintable(ParamField::cs(i)));
        }
        saveShot(m_paramPanel.get(),
                 QStringLiteral("read-all-") + QLatin1String(QTest::currentDataTag()));
    }

    // Values typed into the grid go out with Write All and come back with the
    // next Read All.
    void writeAllThenReadAllReturnsTheNewValues()
    {
        QVERIFY(pressAndWait(m_paramPanel.get(), ParamField::readAll));
        Form &param = state().param;
        QStringList typed(ParamField::texts);
        QList<int> ticked(ParamField::checks);
        for (int r = 0; r < ParamField::rows; ++r) {
            // One step of the row's wire unit, so every change survives scaling.
            const double step = r <= 1 || r == 16 ? 0.001 : r <= 6 ? 0.01 : 0.1;
            const int decimals = r <= 1 || r == 16 ? 3 : r <= 6 ? 2 : 1;
            for (int k : {0, 2, 3}) {
                const double old = param.text(ParamField::cs(5 * r + k)).toDouble();
                typed[5 * r + k] = QString::number(old + (k + 1) * step, 'f', decimals);
            }
            typed[5 * r + 1] = QString::number(1 + r % 5);
            typed[5 * r + 4] = QString::number(0.5 + r * 0.25, 'f', 2);
            for (int k = 0; k < 5; ++k) {
                auto *edit = m_paramPanel->findChild<QLineEdit *>(ParamField::cs(5 * r + k));
                QVERIFY(edit);
                edit->selectAll();
                QTest::keyClicks(edit, typed[5 * r + k]);
            }
            for (int k = 0; k < 2; ++k) {
                auto *box = m_paramPanel->findChild<QCheckBox *>(ParamField::fx(2 * r + k));
                QVERIFY(box);
                box->click();
                ticked[2 * r + k] = param.check(ParamField::fx(2 * r + k));
            }
        }
        m_prompt.clear();
        m_port->sent.clear();

        QVERIFY(pressAndWait(m_paramPanel.get(), ParamField::writeAll));
        QTest::qWait(800);
        QCOMPARE(m_prompt.texts(), QStringList{QStringLiteral("Successfully set all")});
        QVERIFY(!state().writeAllActive);
        const QList<QByteArray> frames = sentFrames();
        QCOMPARE(frames.size(), ParamField::rows);
        for (int r = 0; r < ParamField::rows; ++r) {
            QCOMPARE(frames[r].size(), 23);
            QCOMPARE(quint8(frames[r][3]), quint8(1));
            QCOMPARE(quint8(frames[r][4]), quint8(40 + r));
        }

        button(m_paramPanel.get(), ParamField::clear)->click();
        for (int i = 0; i < ParamField::texts; ++i)
            QCOMPARE(param.text(ParamField::cs(i)), QString());
        QVERIFY(pressAndWait(m_paramPanel.get(), ParamField::readAll));
        for (int i = 0; i < ParamField::texts; ++i)
            QVERIFY2(
                sameValue(param.text(ParamField::cs(i)), typed[i]),
                qPrintable(QStringLiteral("%1: %2 instead of %3")
                               .arg(ParamField::cs(i), param.text(ParamField::cs(i)), typed[i])));
        for (int i = 0; i < ParamField::checks; ++i)
            QCOMPARE(param.check(ParamField::fx(i)) != 0, ticked[i] != 0);
    }

    void oneRowReadAndWrite_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("readMessage");
        QTest::addColumn<QString>("writeMessage");
        QTest::newRow("English") << true << "Read succeeded"
                                 << "Write succeeded";
        QTest::newRow("Chinese") << false << "读取成功"
                                 << "写入成功";
    }

    void oneRowReadAndWrite()
    {
        QFETCH(bool, english);
        QFETCH(QString, readMessage);
        QFETCH(QString, writeMessage);
        setLanguage(english);
        Form &param = state().param;
        const int row = 5;
        param.setText(ParamField::cs(5 * (row + 1)), QStringLiteral("untouched"));
        param.setText(ParamField::cs(5 * row + 1), QStringLiteral("3"));
        QVERIFY(pressAndWait(m_paramPanel.get(), ParamField::writeButton(row)));
        QCOMPARE(m_prompt.texts(), QStringList{writeMessage});
        param.setText(ParamField::cs(5 * row + 1), QString());
        QVERIFY(pressAndWait(m_paramPanel.get(), ParamField::readButton(row)));
        QCOMPARE(m_prompt.texts(), (QStringList{writeMessage, readMessage}));
        QCOMPARE(param.text(ParamField::cs(5 * row + 1)), QStringLiteral("3"));
        QCOMPARE(param.text(ParamField::cs(5 * (row + 1))), QStringLiteral("untouched"));
        QCOMPARE(state().currentCommand, quint8(16));
        QCOMPARE(sentFrames().size(), 2);
    }

    void shortCircuitLevelsReadAndWrite_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("readMessage");
        QTest::addColumn<QString>("writeMessage");
        QTest::newRow("English") << true << "read successfully"
                                 << "Write succeeded";
        QTest::newRow("Chinese") << false << "短路保护读取成功"
                                 << "写入成功";
    }

    void shortCircuitLevelsReadAndWrite()
    {
        QFETCH(bool, english);
        QFETCH(QString, readMessage);
        QFETCH(QString, writeMessage);
        setLanguage(english);
        Form &param = state().param;
        auto *voltage = m_paramPanel->findChild<QLineEdit *>(ParamField::shortVoltageLevel);
        auto *delay = m_paramPanel->findChild<QLineEdit *>(ParamField::shortDelayLevel);
        QVERIFY(voltage && delay);
        voltage->selectAll();
        QTest::keyClicks(voltage, english ? QStringLiteral("7") : QStringLiteral("12"));
        delay->selectAll();
        QTest::keyClicks(delay, QStringLiteral("3"));
        QVERIFY(pressAndWait(m_paramPanel.get(), ParamField::shortWrite));
        param.setText(ParamField::shortVoltageLevel, QStringLiteral("0"));
        QVERIFY(pressAndWait(m_paramPanel.get(), ParamField::shortRead));
        QCOMPARE(m_prompt.texts(), (QStringList{writeMessage, readMessage}));
        QCOMPARE(voltage->text(), english ? QStringLiteral("7") : QStringLiteral("12"));
        QCOMPARE(delay->text(), QStringLiteral("3"));
    }

    // A write the builder refuses shows why, sends nothing and keeps what the
    // user typed.
    void refusedWritesSendNothing_data()
    {
        QTest::addColumn<bool>("systemPage");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty project number")
            << true << "Command2" << SystemField::projectNumber << "";
        QTest::newRow("empty sampling resistor")
            << true << "Command28" << SystemField::samplingResistor << "";
        QTest::newRow("letters for a count")
            << true << "Command15" << SystemField::cellNumber << "sixteen";
        QTest::newRow("no date") << true << "Command13" << SystemField::productionDate
                                 << "yesterday";
        QTest::newRow("letters in a row") << false << "SZ3" << ParamField::cs(17) << "abc";
        QTest::newRow("empty short-circuit level")
            << false << "Command2" << ParamField::shortDelayLevel << "";
    }

    void refusedWritesSendNothing()
    {
        QFETCH(bool, systemPage);
        QFETCH(QString, button);
        QFETCH(QString, control);
        QFETCH(QString, text);
        Form &form = systemPage ? state().system : state().param;
        // Everything else of the item is valid.
        if (systemPage) {
            for (const QString &c : {SystemField::cellNumber, SystemField::lowCellNumber,
                                     SystemField::ntcNumber, SystemField::projectNumber})
                form.setText(c, QStringLiteral("4"));
            form.setText(SystemField::productionDate, QStringLiteral("2024-01-02"));
            form.setText(SystemField::shippingDate, QStringLiteral("2024-01-03"));
            form.setText(SystemField::batch, QStringLiteral("0A"));
        } else {
            for (int k = 0; k < 5; ++k)
                form.setText(ParamField::cs(15 + k), QStringLiteral("1"));
            form.setText(ParamField::shortVoltageLevel, QStringLiteral("1"));
        }
        form.setText(control, text);
        QWidget *panel = systemPage ? static_cast<QWidget *>(m_systemPanel.get())
                                    : static_cast<QWidget *>(m_paramPanel.get());
        QPushButton *b = this->button(panel, button);
        QVERIFY(b);
        b->click();
        QTest::qWait(800);
        QCOMPARE(m_prompt.messages.size(), 1);
        QVERIFY(sentFrames().isEmpty());
        QCOMPARE(state().currentCommand, quint8(16));
        QCOMPARE(form.text(control), text);
    }

    // Every system item written and read back, each with its own message.
    void systemItemsWrittenAndRead_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<int>("writeButton");
        QTest::addColumn<int>("readButton");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("writeMessage");
        QTest::addColumn<QString>("readMessage");
        QTest::addColumn<bool>("readBack"); // the read returns what was written

        struct Item {
            const char *name;
            int write, read;
            QString settings;
            Expected writeMessage, readMessage;
            bool readBack;
        };
        using namespace SystemField;
        const QString writeOk = QStringLiteral("Write succeeded");
        const QString readOk = QStringLiteral("read successfully");
        const QList<Item> items = {
            {"project number",
             2,
             1,
             "T:" + projectNumber + "=PRJ-2024-A",
             {writeOk, "项目编号写入成功"},
             {"Read succeeded", "读取成功"},
             true},
            {"BMS model",
             4,
             3,
             "T:" + model + "=CV16S100",
             {writeOk, "BMS型号写入成功"},
             {"Read succeeded", "读取成功"},
             true},
            {"battery ID",
             6,
             5,
             "T:" + batteryId + "=BAT-0001234567",
             {writeOk, "序列号写入成功"},
             {"Read succeeded", "读取成功"},
             true},
            {"custom text",
             8,
             7,
             "T:" + customText + "=bench 3",
             {writeOk, "自定义写入成功"},
             {"Read succeeded", "读取成功"},
             true},
            {"IP and port",
             10,
             9,
             "T:" + ip + "=192.168.10.20|T:" + ipPort + "=5020",
             {writeOk, "IP写入成功"},
             {readOk, "IP读取成功"},
             true},
            {"dates and batch",
             13,
             14,
             "T:" + productionDate + "=2023-06-15|T:" + shippingDate + "=2024-01-20|T:" + batch +
                 "=0A1B2C3D4E5F6071",
             {writeOk, "生产日期写入成功"},
             {readOk, "生产日期读取成功"},
             true},
            {"passive balancing",
             12,
             11,
             "C:" + balanceEnable + "=1|T:" + balanceOpen + "=3.45|T:" + balanceDiff +
                 "=0.03|T:" + balanceClose + "=3.5",
             {writeOk, "均衡参数写入成功"},
             {readOk, "读取均衡参数成功"},
             true},
            {"counts",
             15,
             16,
             "T:" + cellNumber + "=16|T:" + lowCellNumber + "=8|T:" + ntcNumber + "=4",
             {writeOk, "设置数量成功"},
             {readOk, "读取数量成功"},
             true},
            {"capacity",
             18,
             17,
             "T:" + soc + "=75.5|T:" + cycles + "=12|T:" + standardCapacity +
                 "=100|T:" + fullCapacity + "=98.5|T:" + attenuationCycles + "=800",
             {writeOk, "设置相关容量成功"},
             {readOk, "读取相关容量成功"},
             true},
            {"zero calibration",
             22,
             21,
             "",
             {writeOk, "设零点成功"},
             {readOk, "读取零点成功"},
             false},
            {"charging calibration",
             19,
             20,
             "T:" + chargeCalibration + "=10",
             {writeOk, "设置充电校准成功"},
             {readOk, "读取充电系数成功"},
             false},
            {"discharge calibration",
             23,
             24,
             "T:" + dischargeCalibration + "=10",
             {writeOk, "设置放电校准成功"},
             {readOk, "读取放电系数成功"},
             false},
            {"sampling resistor",
             28,
             27,
             "T:" + samplingResistor + "=0.5",
             {writeOk, "设置采样电阻成功"},
             {readOk, "读取采样电阻成功"},
             true},
            {"BMS time",
             25,
             26,
             "",
             {writeOk, "设置BMS时间成功"},
             {readOk, "读取BMS时间成功"},
             false},
            {"serial settings",
             30,
             29,
             "K:" + usart + "=02|T:" + baud + "=19200|O:" + parity + "=1",
             {writeOk, "设置波特率成功"},
             {readOk, "读取波特率成功"},
             true},
            {"charging handshake",
             31,
             32,
             "O:" + handshake + "=2",
             {writeOk, "设置充电握手成功"},
             {readOk, "读取充电握手成功"},
             true},
            {"custom selection",
             34,
             33,
             "O:" + customSelection + "=1",
             {writeOk, "设置自定义选择成功"},
             {readOk, "读取自定义选择成功"},
             true},
            {"energy storage module",
             36,
             35,
             "T:" + moduleAddress + "=3|T:" + limitMode + "=1|C:" + limitEnable +
                 "=1|T:" + limitThreshold + "=50|T:" + limitTime + "=30",
             {"Write Energy storage module succeeded", "设置储能模块成功"},
             {"Read Energy storage module succeeded", "读取储能模块成功"},
             true},
            {"pre-discharge",
             38,
             37,
             "O:" + preDischarge + "=1|T:" + preDischargeTime + "=1.5",
             {"Write PreDischarge parameters succeeded", "设置预放电参数成功"},
             {"Read PreDischarge parameters succeeded", "读取预放电参数成功"},
             true},
            {"active balancing",
             40,
             39,
             "C:" + activeEnable(0) + "=1|T:" + activeValue(0, 0) + "=3.4|T:" + activeValue(0, 1) +
                 "=3.35|T:" + activeValue(0, 2) + "=0.03|T:" + activeValue(0, 3) + "=0.01|T:" +
                 activeValue(0, 4) + "=60|C:" + activeEnable(1) + "=0|T:" + activeValue(1, 0) +
                 "=3.3|T:" + activeValue(1, 1) + "=3.25|T:" + activeValue(1, 2) +
                 "=0.02|T:" + activeValue(1, 3) + "=0.005|T:" + activeValue(1, 4) +
                 "=30|C:" + activeEnable(2) + "=1|T:" + activeValue(2, 0) +
                 "=3.5|T:" + activeValue(2, 1) + "=3.45|T:" + activeValue(2, 2) +
                 "=0.04|T:" + activeValue(2, 3) + "=0.02|T:" + activeValue(2, 4) + "=120",
             {"Write Active balancing parameters succeeded", "设置主动均衡参数成功"},
             {"Read Active balancing parameters succeeded", "读取主动均衡参数成功"},
             true},
        };
        for (bool english : {true, false})
            for (const Item &item : items)
                QTest::addRow("%s %s", english ? "en" : "zh", item.name)
                    << english << item.write << item.read << item.settings
                    << (english ? item.writeMessage.english : item.writeMessage.chinese)
                    << (english ? item.readMessage.english : item.readMessage.chinese)
                    << item.readBack;
    }

    void systemItemsWrittenAndRead()
    {
        QFETCH(bool, english);
        QFETCH(int, writeButton);
        QFETCH(int, readButton);
        QFETCH(QString, settings);
        QFETCH(QString, writeMessage);
        QFETCH(QString, readMessage);
        QFETCH(bool, readBack);
        setLanguage(english);
        Form &system = state().system;
        const QList<Setting> values = parseSettings(settings);
        for (const Setting &s : values) {
            if (s.kind == QLatin1Char('T') || s.kind == QLatin1Char('K'))
                system.setText(s.control, s.value);
            else if (s.kind == QLatin1Char('C'))
                QVERIFY(system.setCheck(s.control, s.value.toInt()));
            else
                QVERIFY(system.setChoice(s.control, s.value.toInt()));
        }
        const QDateTime before = QDateTime::currentDateTime();

        QVERIFY(pressAndWait(m_systemPanel.get(), SystemField::command(writeButton)));
        QCOMPARE(m_prompt.texts(), QStringList{writeMessage});
        QCOMPARE(state().statusLine(), SystemCommands::statusText(writeButton));
        QCOMPARE(sentFrames().size(), 1);
        QCOMPARE(quint8(sentFrames().first()[3]), quint8(1));

        // Forget what was written, so only the answer can bring it back.
        for (const Setting &s : values) {
            if (s.kind == QLatin1Char('T'))
                system.setText(s.control, QString());
            else if (s.kind == QLatin1Char('C'))
                system.setCheck(s.control, s.value.toInt() ? 0 : 1);
            else if (s.kind == QLatin1Char('O'))
                system.setChoice(s.control, -1);
        }
        QVERIFY(pressAndWait(m_systemPanel.get(), SystemField::command(readButton)));
        QCOMPARE(m_prompt.texts(), (QStringList{writeMessage, readMessage}));
        QCOMPARE(state().statusLine(), SystemCommands::statusText(readButton));
        QCOMPARE(state().currentCommand, quint8(16));
        QCOMPARE(sentFrames().size(), 2);
        QCOMPARE(quint8(sentFrames().last()[3]), quint8(0));

        for (const Setting &s : values) {
            const bool text = s.kind == QLatin1Char('T') || s.kind == QLatin1Char('K');
            const QString shown = text ? system.text(s.control)
                                  : s.kind == QLatin1Char('C')
                                      ? QString::number(system.check(s.control))
                                      : QString::number(system.choice(s.control));
            if (readBack)
                QVERIFY2(sameValue(shown, s.value),
                         qPrintable(QStringLiteral("%1 shows \"%2\", written \"%3\"")
                                        .arg(s.control, shown, s.value)));
            else
                QVERIFY2(!shown.isEmpty(), qPrintable(s.control));
        }
        saveShot(m_systemPanel.get(),
                 QStringLiteral("system-") + QLatin1String(QTest::currentDataTag()).left(2));
        if (readButton == 26) {
            const QDateTime clock = QDateTime::fromString(system.text(SystemField::bmsTime),
                                                          QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            QVERIFY(clock.isValid());
            QVERIFY(qAbs(clock.secsTo(before)) <= 5);
        }
    }
};

QTEST_MAIN(TestPagesSim)
#include "tst_pages_sim.moc"
