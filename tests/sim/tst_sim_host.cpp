// The simulated pack against the program's own request builder and response
// dispatcher: what the host sends goes to the responder, what the responder
// answers goes back through the host's receive step. A layout the host does
// not decode (a short answer, a value a box refuses) shows up as the "7"
// message.
#include "SimTestSupport.h"

#include "requests/ParamForm.h"
#include "requests/SystemForm.h"
#include "responses/InfoForm.h"
#include "shell/Core.h"
#include "sim/PackItems.h"
#include "support/FakePort.h"
#include "support/RecordingPrompt.h"

#include <QTest>

using namespace SimTest;

namespace {

struct HostBench {
    HostBench() : pack(frozenPack(-10.0))
    {
        core.state.setEnglishUi(true);
        core.link.toggleOpen();
        core.state.currentCommand = 16;
    }
    ~HostBench() { core.shutdown(); }

    FakePort &port() { return static_cast<FakePort &>(core.link.port()); }

    // Starts the request of `code` and lets host and pack talk until the
    // host sends nothing more.
    void run(quint8 code)
    {
        core.state.currentCommand = code;
        core.requests.buildRequest();
        while (m_answered < port().writes.size()) {
            const Responder::Outcome out = pack.responder.handle(port().writes[m_answered++], 0);
            if (!out.reply.isEmpty())
                port().feed(out.reply);
        }
    }
    QList<int> sentItems(int from = 0)
    {
        QList<int> items;
        for (int i = from; i < port().writes.size(); ++i)
            items.append(quint8(port().writes[i][4]));
        return items;
    }

    RecordingPrompt prompt;
    Core core{prompt, std::make_unique<FakePort>()};
    Bench pack;

private:
    qsizetype m_answered = 0;
};

} // namespace

class TestSimHost : public QObject {
    Q_OBJECT
private slots:
    void pollingCycleFillsTheInformationPage();
    void parameterRowsSurviveReadAllAndWriteAll();
    void systemReadsEndWithTheirMessage_data();
    void systemReadsEndWithTheirMessage();
    void systemWritesOfWhatWasReadChangeNothing_data();
    void systemWritesOfWhatWasReadChangeNothing();
};

void TestSimHost::pollingCycleFillsTheInformationPage()
{
    HostBench b;
    b.run(0);
    QCOMPARE(b.sentItems(), (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 19}));
    QVERIFY2(b.prompt.messages.isEmpty(), qPrintable(b.prompt.texts().join(QLatin1Char('|'))));

    const Form &info = b.core.state.info;
    const LiveSnapshot &s = b.pack.pack.snapshot();
    QCOMPARE(info.text(InfoField::projectNumber), QStringLiteral("CVP-16S100AH"));
    QCOMPARE(info.text(InfoField::softwareVersion), QStringLiteral("2.15"));
    QCOMPARE(info.text(InfoField::cellCount), QStringLiteral("16"));
    QCOMPARE(info.text(InfoField::ntcCount), QStringLiteral("4"));
    for (int i = 0; i < InfoField::cellSlots; ++i)
        QCOMPARE(info.text(InfoField::cellVoltage(i)),
                 i < 16 ? QString::number(s.cellMv[i]) : QStringLiteral("null"));
    for (int j = 0; j < InfoField::temperatureSlots; ++j)
        QCOMPARE(info.text(InfoField::cellTemperature(j)),
                 j < 4 ? QString::number(s.sensorDeciC[j] / 10.0) : QStringLiteral("null"));
    QCOMPARE(info.text(InfoField::totalCurrent), QStringLiteral("-10"));
    QCOMPARE(info.text(InfoField::soc), QStringLiteral("80"));
    QCOMPARE(info.text(InfoField::totalVoltage), QString::number(s.totalCentiV / 100.0));
    QCOMPARE(info.text(InfoField::maxCellVoltageNo), QString::number(s.maxCellNo));
    QCOMPARE(info.text(InfoField::workingState), QStringLiteral("discharge"));
    QCOMPARE(info.text(InfoField::dischargeMos), QStringLiteral("on"));
    QCOMPARE(info.text(InfoField::load), QStringLiteral("on"));
    QCOMPARE(info.text(InfoField::alarmStatus), QStringLiteral("null"));
    QCOMPARE(info.text(InfoField::bmsAddress), QStringLiteral("1"));
}

void TestSimHost::parameterRowsSurviveReadAllAndWriteAll()
{
    HostBench b;
    QList<QByteArray> before;
    for (int row = 0; row < PackItem::paramRows; ++row)
        before.append(b.pack.pack.settings().read(quint8(PackItem::paramRowFirst + row)));

    b.core.state.readAllActive = true;
    b.run(17);
    QCOMPARE(b.prompt.texts(), QStringList{QStringLiteral("Successfully read all")});
    const Form &param = b.core.state.param;
    QCOMPARE(param.text(ParamField::cs(0)), QStringLiteral("3.6"));   // Cell_OV alarm
    QCOMPARE(param.text(ParamField::cs(2)), QStringLiteral("3.65"));  // Cell_OV protection
    QCOMPARE(param.text(ParamField::cs(12)), QStringLiteral("58.4")); // Total_OV, 16 cells
    QCOMPARE(param.check(ParamField::fx(0)), 1);

    // Writing back what was read gives the pack the same bytes.
    b.prompt.clear();
    b.core.state.writeAllActive = true;
    b.run(49);
    QCOMPARE(b.prompt.texts(), QStringList{QStringLiteral("Successfully set all")});
    for (int row = 0; row < PackItem::paramRows; ++row)
        QCOMPARE(b.pack.pack.settings().read(quint8(PackItem::paramRowFirst + row)).toHex(' '),
                 before[row].toHex(' '));
}

void TestSimHost::systemReadsEndWithTheirMessage_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    const QString read = QStringLiteral("read successfully");
    QTest::newRow("project number") << 98 << QStringLiteral("Read succeeded");
    QTest::newRow("model") << 100 << QStringLiteral("Read succeeded");
    QTest::newRow("battery id") << 102 << QStringLiteral("Read succeeded");
    QTest::newRow("custom text") << 104 << QStringLiteral("Read succeeded");
    QTest::newRow("network") << 106 << read;
    QTest::newRow("dates") << 108 << read;
    QTest::newRow("passive balancing") << 110 << read;
    QTest::newRow("counts") << 112 << read;
    QTest::newRow("capacity") << 114 << read;
    QTest::newRow("zero calibration") << 116 << read;
    QTest::newRow("charge calibration") << 118 << read;
    QTest::newRow("discharge calibration") << 120 << read;
    QTest::newRow("sampling resistor") << 122 << read;
    QTest::newRow("clock") << 124 << read;
    QTest::newRow("serial settings") << 126 << read;
    QTest::newRow("handshake") << 128 << read;
    QTest::newRow("custom selection") << 130 << read;
    QTest::newRow("current limiting")
        << 132 << QStringLiteral("Read Energy storage module succeeded");
    QTest::newRow("pre-discharge")
        << 134 << QStringLiteral("Read PreDischarge parameters succeeded");
    QTest::newRow("active balancing")
        << 136 << QStringLiteral("Read Active balancing parameters succeeded");
}

void TestSimHost::systemReadsEndWithTheirMessage()
{
    QFETCH(int, code);
    QFETCH(QString, message);

    HostBench b;
    b.core.state.system.setChoice(SystemField::usart, 2);
    b.run(quint8(code));
    QCOMPARE(b.sentItems().size(), 1);
    QCOMPARE(b.prompt.texts(), QStringList{message});
    QCOMPARE(b.core.state.currentCommand, quint8(16));
}

void TestSimHost::systemWritesOfWhatWasReadChangeNothing_data()
{
    QTest::addColumn<int>("readCode");
    QTest::addColumn<int>("item");
    const struct {
        const char *name;
        int code;
        int item;
    } pairs[] = {
        {"project number", 98, 1},      {"model", 100, 2},           {"battery id", 102, 3},
        {"custom text", 104, 19},       {"network", 106, 125},       {"dates", 108, 10},
        {"passive balancing", 110, 12}, {"counts", 112, 11},         {"capacity", 114, 13},
        {"sampling resistor", 122, 17}, {"handshake", 128, 21},      {"custom selection", 130, 22},
        {"current limiting", 132, 23},  {"pre-discharge", 134, 130}, {"active balancing", 136, 24}};
    for (const auto &p : pairs)
        QTest::newRow(p.name) << p.code << p.item;
}

void TestSimHost::systemWritesOfWhatWasReadChangeNothing()
{
    QFETCH(int, readCode);
    QFETCH(int, item);

    HostBench b;
    const Responder::Outcome before = b.pack.send(0, quint8(item));
    b.run(quint8(readCode));
    b.prompt.clear();
    b.run(quint8(readCode + 1));
    QCOMPARE(b.prompt.messages.size(), 1);
    // "Write succeeded", or the module's own "Write ... succeeded".
    const QString message = b.prompt.texts().first();
    QVERIFY2(message.startsWith(QLatin1String("Write")) &&
                 message.endsWith(QLatin1String("succeeded")),
             qPrintable(message));
    QCOMPARE(b.pack.send(0, quint8(item)).reply.toHex(' '), before.reply.toHex(' '));
}

QTEST_GUILESS_MAIN(TestSimHost)
#include "tst_sim_host.moc"
