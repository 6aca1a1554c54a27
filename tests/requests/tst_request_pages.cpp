#include "RequestRig.h"

#include <QTest>

// The buttons of the "parameters" and "system" pages.
class TestRequestPages : public QObject {
    Q_OBJECT
private slots:
    void paramButtons_data();
    void paramButtons();
    void rowReadLeavesOtherRows();
    void readAllBlanksTheGridFirst();
    void clearSendsNothing();
    void systemButtons_data();
    void systemButtons();
    void refusedWriteStillShowsItsStatus();
    void usartChoiceGoesIntoTheRead();
    void unknownButtonsDoNothing_data();
    void unknownButtonsDoNothing();
};

namespace {
enum class Param { ReadRow, WriteRow, ReadAll, WriteAll, ReadShort, WriteShort };
}
Q_DECLARE_METATYPE(Param)

void TestRequestPages::paramButtons_data()
{
    QTest::addColumn<Param>("button");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("item");
    QTest::addColumn<bool>("readAll");
    QTest::addColumn<bool>("writeAll");

    QTest::newRow("DT0") << Param::ReadRow << 0 << 17 << 40 << false << false;
    QTest::newRow("DT16") << Param::ReadRow << 16 << 33 << 56 << false << false;
    QTest::newRow("SZ0") << Param::WriteRow << 0 << 49 << 40 << false << false;
    QTest::newRow("SZ9") << Param::WriteRow << 9 << 58 << 49 << false << false;
    QTest::newRow("SZ16") << Param::WriteRow << 16 << 65 << 56 << false << false;
    QTest::newRow("Read All") << Param::ReadAll << 0 << 17 << 40 << true << false;
    QTest::newRow("Write All") << Param::WriteAll << 0 << 49 << 40 << false << true;
    QTest::newRow("short read") << Param::ReadShort << 0 << 96 << 113 << false << false;
    QTest::newRow("short write") << Param::WriteShort << 0 << 97 << 113 << false << false;
}

void TestRequestPages::paramButtons()
{
    QFETCH(Param, button);
    QFETCH(int, row);
    QFETCH(int, code);
    QFETCH(int, item);
    QFETCH(bool, readAll);
    QFETCH(bool, writeAll);

    RequestRig rig;
    rig.fillPages();
    // Whatever chain was left running, a press of its own replaces it.
    rig.state().readAllActive = !readAll;
    rig.state().writeAllActive = !writeAll;
    ParamCommands &page = rig.core.paramCommands;
    switch (button) {
    case Param::ReadRow:
        page.readRow(row);
        break;
    case Param::WriteRow:
        page.writeRow(row);
        break;
    case Param::ReadAll:
        page.readAll();
        break;
    case Param::WriteAll:
        page.writeAll();
        break;
    case Param::ReadShort:
        page.readShortCircuit();
        break;
    case Param::WriteShort:
        page.writeShortCircuit();
        break;
    }
    QCOMPARE(int(rig.state().currentCommand), code);
    QCOMPARE(rig.state().readAllActive, readAll);
    QCOMPARE(rig.state().writeAllActive, writeAll);
    QCOMPARE(rig.port().writes.size(), 1);
    QCOMPARE(int(quint8(rig.port().writes.first().at(4))), item);
}

void TestRequestPages::rowReadLeavesOtherRows()
{
    RequestRig rig;
    rig.fillPages();
    rig.core.paramCommands.readRow(3);
    const Form &grid = rig.state().param;
    for (int i = 0; i < ParamField::texts; ++i)
        QCOMPARE(grid.text(ParamField::cs(i)).isEmpty(), i / 5 == 3);
    for (int i = 0; i < ParamField::checks; ++i)
        QCOMPARE(grid.check(ParamField::fx(i)), i / 2 == 3 || i % 2 == 1 ? 0 : 1);
}

void TestRequestPages::readAllBlanksTheGridFirst()
{
    // Even when the request cannot go out the grid is blank.
    RequestRig rig(false);
    rig.fillPages();
    for (int i = 0; i < ParamField::checks; ++i)
        rig.state().param.setCheck(ParamField::fx(i), 1);
    rig.core.paramCommands.readAll();
    const Form &grid = rig.state().param;
    for (int i = 0; i < ParamField::texts; ++i)
        QVERIFY(grid.text(ParamField::cs(i)).isEmpty());
    for (int i = 0; i < ParamField::checks; ++i)
        QCOMPARE(grid.check(ParamField::fx(i)), 0);
    QCOMPARE(grid.text(ParamField::shortVoltageLevel), QStringLiteral("5"));
    QCOMPARE(rig.prompt.texts(), QStringList{"Please open the serial port first"});
}

void TestRequestPages::clearSendsNothing()
{
    RequestRig rig;
    rig.fillPages();
    rig.state().currentCommand = 5;
    rig.core.link.stopSendTimer();
    rig.core.paramCommands.clear();
    QVERIFY(rig.port().writes.isEmpty());
    QCOMPARE(int(rig.state().currentCommand), 5);
    QVERIFY(!rig.core.link.sendTimer().isActive());
    for (int i = 0; i < ParamField::texts; ++i)
        QVERIFY(rig.state().param.text(ParamField::cs(i)).isEmpty());
    for (int i = 0; i < ParamField::checks; ++i)
        QCOMPARE(rig.state().param.check(ParamField::fx(i)), 0);
}

void TestRequestPages::systemButtons_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("chinese");

    struct Row {
        int button, code, item;
        const char *english, *chinese;
    };
    const Row rows[] = {
        {1, 98, 1, "Read Project No.", "读取项目编号"},
        {2, 99, 1, "Write Project No.", "设置项目编号"},
        {3, 100, 2, "Read BMS model", "读取BMS型号"},
        {4, 101, 2, "Write BMS model", "设置BMS型号"},
        {5, 102, 3, "Read Battery ID", "读取序列号"},
        {6, 103, 3, "Write Battery ID", "设置序列号"},
        {7, 104, 19, "Read Custom", "读取自定义"},
        {8, 105, 19, "Write Custom", "设置自定义"},
        {9, 106, 125, "Read IP", "读取IP"},
        {10, 107, 125, "Write IP", "设置IP"},
        {14, 108, 10, "Read Production Date", "读取生产日期"},
        {13, 109, 10, "Write Production Date", "设置生产日期"},
        {11, 110, 12, "Read Balanced Settings", "读取均衡参数"},
        {12, 111, 12, "Write Balanced Settings", "设置均衡参数"},
        {16, 112, 11, "Read Number", "读取数量"},
        {15, 113, 11, "Write Number", "设置数量"},
        {17, 114, 13, "Read Capacity dependent", "读取相关容量"},
        {18, 115, 13, "Write Capacity dependent", "设置相关容量"},
        {21, 116, 14, "Read Zero calibration", "读取零点校准"},
        {22, 117, 14, "Write Zero calibration", "设置零点校准"},
        {20, 118, 15, "Read Charging calibration", "读取充电校准系数"},
        {19, 119, 15, "Write Charging calibration", "设置充电校准"},
        {24, 120, 16, "Read Discharge calibration", "读取放电校准系数"},
        {23, 121, 16, "Write Discharge calibration", "设置放电校准"},
        {27, 122, 17, "Read Sampling resistor", "读取采样电阻"},
        {28, 123, 17, "Write Sampling resistor", "设置采样电阻"},
        {26, 124, 18, "Read BMS time", "读取BMS时间"},
        {25, 125, 18, "Write BMS time", "设置BMS时间"},
        {29, 126, 20, "Read Baud rate", "读取波特率"},
        {30, 127, 20, "Write Baud rate", "设置波特率"},
        {32, 128, 21, "Read Charging handshake", "读取充电握手"},
        {31, 129, 21, "Write Charging handshake ", "设置充电握手 "},
        {33, 130, 22, "Read Custom Selection", "读取自定义选择"},
        {34, 131, 22, "Write Custom Selection", "设置自定义选择"},
        {35, 132, 23, "Read Energy storage module", "读取储能模块"},
        {36, 133, 23, "Write Energy storage module", "设置储能模块"},
        {37, 134, 130, "Read PreDischarge parameters succeeded", "读取预放电参数"},
        {38, 135, 130, "Write PreDischarge parameters succeeded", "设置预放电参数"},
        {39, 136, 24, "Read Active balancing parameters", "读取主动均衡参数"},
        {40, 137, 24, "Write Active balancing parameters", "设置主动均衡参数"},
    };
    for (const Row &r : rows)
        QTest::addRow("Command%d", r.button)
            << r.button << r.code << r.item << QString::fromUtf8(r.english)
            << QString::fromUtf8(r.chinese);
}

void TestRequestPages::systemButtons()
{
    QFETCH(int, button);
    QFETCH(int, code);
    QFETCH(int, item);
    QFETCH(QString, english);
    QFETCH(QString, chinese);

    QCOMPARE(SystemCommands::code(button), code);
    RequestRig rig;
    rig.fillPages();
    rig.core.systemCommands.press(button);
    QCOMPARE(int(rig.state().currentCommand), code);
    QCOMPARE(rig.port().writes.size(), 1);
    const QByteArray sent = rig.port().writes.first();
    QCOMPARE(int(quint8(sent.at(3))), code % 2); // reads even, writes odd
    QCOMPARE(int(quint8(sent.at(4))), item);
    QCOMPARE(rig.state().statusLine(), english);

    rig.state().setEnglishUi(false);
    rig.core.systemCommands.press(button);
    QCOMPARE(rig.state().statusLine(), chinese);
    QCOMPARE(SystemCommands::statusText(button), chinese);
}

void TestRequestPages::refusedWriteStillShowsItsStatus()
{
    RequestRig rig;
    rig.fillPages();
    rig.state().system.setText(SystemField::projectNumber, QString());
    rig.core.systemCommands.press(2);
    QCOMPARE(rig.prompt.texts(), QStringList{"Parameter cannot be empty"});
    QCOMPARE(int(rig.state().currentCommand), 16);
    QVERIFY(rig.port().writes.isEmpty());
    QCOMPARE(rig.state().statusLine(), QStringLiteral("Write Project No."));
}

void TestRequestPages::usartChoiceGoesIntoTheRead()
{
    RequestRig rig;
    rig.fillPages();
    rig.core.systemCommands.press(1);
    QCOMPARE(rig.state().system.text(SystemField::projectNumber), QString());
    QCOMPARE(rig.port().writes.last().toHex(' ').left(20), QByteArray("5c ff 10 00 01 00 00"));

    rig.state().system.setText(SystemField::usart, QStringLiteral("02"));
    rig.core.systemCommands.press(29);
    QCOMPARE(rig.port().writes.last().mid(4, 4).toHex(' '), QByteArray("14 00 01 02"));
}

void TestRequestPages::unknownButtonsDoNothing_data()
{
    QTest::addColumn<int>("button");
    QTest::newRow("0") << 0;
    QTest::newRow("41") << 41;
    QTest::newRow("-1") << -1;
}

void TestRequestPages::unknownButtonsDoNothing()
{
    QFETCH(int, button);
    RequestRig rig;
    rig.state().currentCommand = 5;
    rig.state().setStatusLine(QStringLiteral("before"));
    rig.core.systemCommands.press(button);
    rig.core.paramCommands.readRow(button < 0 ? button : 17 + button);
    rig.core.paramCommands.writeRow(button < 0 ? button : 17 + button);
    QCOMPARE(SystemCommands::code(button), -1);
    QVERIFY(rig.port().writes.isEmpty());
    QCOMPARE(int(rig.state().currentCommand), 5);
    QCOMPARE(rig.state().statusLine(), QStringLiteral("before"));
}

QTEST_GUILESS_MAIN(TestRequestPages)
#include "tst_request_pages.moc"
