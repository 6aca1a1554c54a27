#include "RequestRig.h"

#include "requests/RequestBuilder.h"
#include "requests/RequestTable.h"
#include "responses/ResponseDispatcher.h"
#include "responses/ResultMessages.h"
#include "upgrade/UpgradeForm.h"

#include <QTest>

// Every code of the command catalogue, byte for byte, against pages filled
// by RequestRig::fillPages.
class TestRequestCatalogue : public QObject {
    Q_OBJECT
private slots:
    void framesPerCode_data();
    void framesPerCode();
    void silentCodes_data();
    void silentCodes();
    void readsClearTheirDisplays_data();
    void readsClearTheirDisplays();
    void statusTexts_data();
    void statusTexts();
    void statusLeftAloneByOtherCodes_data();
    void statusLeftAloneByOtherCodes();
    void portClosed_data();
    void portClosed();
    void everyCallRestartsTheSendTimer();
    void repeatsAreIdenticalExceptTheClock();
    void recordIndexWrapsInto16Bits_data();
    void recordIndexWrapsInto16Bits();
    void workedExampleOnTheWire();
    void answersAgreeWithTheirRequests_data();
    void answersAgreeWithTheirRequests();
    void sentFramesAreTakenByTheirOwnRow_data();
    void sentFramesAreTakenByTheirOwnRow();
    void everyAnswerHasOneTaker();
};

void TestRequestCatalogue::framesPerCode_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("operation");
    QTest::addColumn<int>("item");
    QTest::addColumn<QByteArray>("data");

    const int pollItems[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 19};
    for (int code = 0; code < 10; ++code)
        QTest::addRow("poll %d", code) << code << 0 << pollItems[code] << QByteArray();
    for (int r = 0; r < 17; ++r)
        QTest::addRow("row read %d", r) << 17 + r << 0 << 40 + r << QByteArray();

    // ProtVal 3.6, ProtRecVal 3.4, AlaVal 2.5 at the row's scale, then
    // ProtDelay 2 s, alarm enabled, AlaDelay 1.5 s, protection disabled.
    const QByteArray tail = "00c8 0001 0096 0000";
    const QByteArray byScale1000 = "0e10 0d48 09c4 " + tail;
    const QByteArray byScale100 = "0168 0154 00fa " + tail;
    const QByteArray byScale10 = "0024 0022 0019 " + tail;
    const int scales[17] = {1000, 1000, 100, 100, 100, 100, 100, 10,  10,
                            10,   10,   10,  10,  10,  10,  10,  1000};
    for (int r = 0; r < 17; ++r) {
        const QByteArray data = scales[r] == 1000  ? byScale1000
                                : scales[r] == 100 ? byScale100
                                                   : byScale10;
        QTest::addRow("row write %d", r) << 49 + r << 1 << 40 + r << data;
    }

    QTest::newRow("80 charge MOS off") << 80 << 1 << 60 << QByteArray("00ffffffff");
    QTest::newRow("81 discharge MOS off") << 81 << 1 << 60 << QByteArray("ff00ffffff");
    QTest::newRow("82 sleep") << 82 << 1 << 60 << QByteArray("ffff01ffff");
    QTest::newRow("83 reset") << 83 << 1 << 60 << QByteArray("ffffff01ff");
    QTest::newRow("84 storage") << 84 << 1 << 60 << QByteArray("ffffffff01");
    QTest::newRow("85 charge MOS on") << 85 << 1 << 60 << QByteArray("01ffffffff");
    QTest::newRow("86 discharge MOS on") << 86 << 1 << 60 << QByteArray("ff01ffffff");
    QTest::newRow("87 wake") << 87 << 1 << 60 << QByteArray("ffffffffff");

    QTest::newRow("96") << 96 << 0 << 113 << QByteArray();
    QTest::newRow("97") << 97 << 1 << 113 << QByteArray("050c");

    const QByteArray zeros = QByteArray(2 * 40, '0');
    QTest::newRow("98") << 98 << 0 << 1 << QByteArray();
    QTest::newRow("99") << 99 << 1 << 1 << QByteArray("504e2d3031" + zeros.left(2 * 19));
    QTest::newRow("100") << 100 << 0 << 2 << QByteArray();
    QTest::newRow("101") << 101 << 1 << 2 << QByteArray("424d53313653" + zeros.left(2 * 18));
    QTest::newRow("102") << 102 << 0 << 3 << QByteArray();
    QTest::newRow("103") << 103 << 1 << 3 << QByteArray("4944313233" + zeros.left(2 * 27));
    QTest::newRow("104") << 104 << 0 << 19 << QByteArray();
    QTest::newRow("105") << 105 << 1 << 19 << QByteArray("4869" + zeros.left(2 * 30));
    QTest::newRow("106") << 106 << 0 << 125 << QByteArray();
    QTest::newRow("107") << 107 << 1 << 125
                         << QByteArray("31302e302e302e31" + zeros.left(2 * 32) + "353032" +
                                       zeros.left(2 * 7));
    QTest::newRow("108") << 108 << 0 << 10 << QByteArray();
    QTest::newRow("109") << 109 << 1 << 10 << QByteArray("150305 18011f 000aff1000000001");
    QTest::newRow("110") << 110 << 0 << 12 << QByteArray();
    QTest::newRow("111") << 111 << 1 << 12 << QByteArray("00 01 0d48 001e 0d16");
    QTest::newRow("112") << 112 << 0 << 11 << QByteArray();
    QTest::newRow("113") << 113 << 1 << 11 << QByteArray("0010 0008 0004");
    QTest::newRow("114") << 114 << 0 << 13 << QByteArray();
    QTest::newRow("115") << 115 << 1 << 13 << QByteArray("0357 000c 2710 2694 0320");
    QTest::newRow("116") << 116 << 0 << 14 << QByteArray();
    QTest::newRow("117 carries no data") << 117 << 1 << 14 << QByteArray();
    QTest::newRow("118") << 118 << 0 << 15 << QByteArray();
    QTest::newRow("119") << 119 << 1 << 15 << QByteArray("03e8");
    QTest::newRow("120") << 120 << 0 << 16 << QByteArray();
    QTest::newRow("121") << 121 << 1 << 16 << QByteArray("07d0");
    QTest::newRow("122") << 122 << 0 << 17 << QByteArray();
    QTest::newRow("123") << 123 << 1 << 17 << QByteArray("0032");
    QTest::newRow("124") << 124 << 0 << 18 << QByteArray();
    QTest::newRow("125 pinned clock") << 125 << 1 << 18 << QByteArray("180309 070500");
    QTest::newRow("126 USART number") << 126 << 0 << 20 << QByteArray("02");
    QTest::newRow("127") << 127 << 1 << 20 << QByteArray("02 2d00 02");
    QTest::newRow("128") << 128 << 0 << 21 << QByteArray();
    QTest::newRow("129") << 129 << 1 << 21 << QByteArray("01");
    QTest::newRow("130") << 130 << 0 << 22 << QByteArray();
    QTest::newRow("131") << 131 << 1 << 22 << QByteArray("02");
    QTest::newRow("132") << 132 << 0 << 23 << QByteArray();
    QTest::newRow("133") << 133 << 1 << 23 << QByteArray("03 01 02 ec78 001e");
    QTest::newRow("134") << 134 << 0 << 130 << QByteArray();
    QTest::newRow("135") << 135 << 1 << 130 << QByteArray("01 0096");
    QTest::newRow("136") << 136 << 0 << 24 << QByteArray();
    const QByteArray group = "0dac 0d7a 0032 000a 003c";
    QTest::newRow("137") << 137 << 1 << 24
                         << QByteArray("01" + group + "00" + group + "01" + group);
    QTest::newRow("160") << 160 << 0 << 71 << QByteArray();
    QTest::newRow("161 record 300") << 161 << 0 << 70 << QByteArray("0000012c 00000001");
}

void TestRequestCatalogue::framesPerCode()
{
    QFETCH(int, code);
    QFETCH(int, operation);
    QFETCH(int, item);
    QFETCH(QByteArray, data);

    RequestRig rig;
    rig.fillPages();
    rig.core.requests.send(quint8(code));

    QVERIFY2(rig.prompt.messages.isEmpty(), qPrintable(rig.prompt.texts().join('|')));
    QCOMPARE(rig.port().writes.size(), 1);
    const QByteArray expected = RequestRig::request(operation, item, data);
    QCOMPARE(rig.port().writes.first().toHex(' '), expected.toHex(' '));
    QCOMPARE(rig.state().txFrame, expected);
    QCOMPARE(int(rig.state().currentCommand), code);
}

void TestRequestCatalogue::silentCodes_data()
{
    QTest::addColumn<int>("code");
    const QList<QPair<int, int>> ranges = {{10, 16}, {34, 48},   {66, 79},
                                           {88, 95}, {138, 159}, {162, 254}};
    for (const auto &[first, last] : ranges)
        for (int code = first; code <= last; ++code)
            QTest::addRow("%d", code) << code;
}

void TestRequestCatalogue::silentCodes()
{
    QFETCH(int, code);
    RequestRig rig;
    rig.fillPages();
    rig.core.requests.send(quint8(code));
    QVERIFY(rig.port().writes.isEmpty());
    QVERIFY(rig.prompt.messages.isEmpty());
    QCOMPARE(rig.state().txFrame, QByteArray(9, '\0'));
    QCOMPARE(int(rig.state().currentCommand), code);
}

void TestRequestCatalogue::readsClearTheirDisplays_data()
{
    using namespace SystemField;
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("onParamPage");
    QTest::addColumn<QStringList>("emptied");   // texts that become ""
    QTest::addColumn<QStringList>("unticked");  // check boxes that become 0
    QTest::addColumn<QStringList>("untouched"); // neighbours that keep their value

    QTest::newRow("row 0") << 17 << true << QStringList{"CS0", "CS1", "CS2", "CS3", "CS4"}
                           << QStringList{"FX0", "FX1"}
                           << QStringList{"CS5", "FX2", ParamField::shortVoltageLevel};
    QTest::newRow("row 16") << 33 << true << QStringList{"CS80", "CS81", "CS82", "CS83", "CS84"}
                            << QStringList{"FX32", "FX33"} << QStringList{"CS79", "FX31"};
    QTest::newRow("short circuit")
        << 96 << true << QStringList{ParamField::shortVoltageLevel, ParamField::shortDelayLevel}
        << QStringList{} << QStringList{"CS0"};
    QTest::newRow("project number")
        << 98 << false << QStringList{projectNumber} << QStringList{} << QStringList{model};
    QTest::newRow("model") << 100 << false << QStringList{model} << QStringList{}
                           << QStringList{projectNumber};
    QTest::newRow("battery id") << 102 << false << QStringList{batteryId} << QStringList{}
                                << QStringList{};
    QTest::newRow("custom") << 104 << false << QStringList{customText} << QStringList{}
                            << QStringList{};
    QTest::newRow("ip") << 106 << false << QStringList{ip, ipPort} << QStringList{}
                        << QStringList{};
    QTest::newRow("dates") << 108 << false << QStringList{productionDate, shippingDate, batch}
                           << QStringList{} << QStringList{};
    QTest::newRow("balancing") << 110 << false
                               << QStringList{balanceOpen, balanceDiff, balanceClose}
                               << QStringList{balanceEnable} << QStringList{};
    QTest::newRow("counts") << 112 << false << QStringList{cellNumber, lowCellNumber, ntcNumber}
                            << QStringList{} << QStringList{};
    QTest::newRow("capacity") << 114 << false
                              << QStringList{soc, cycles, standardCapacity, fullCapacity,
                                             attenuationCycles}
                              << QStringList{} << QStringList{};
    QTest::newRow("zero") << 116 << false << QStringList{zeroCalibration} << QStringList{}
                          << QStringList{};
    QTest::newRow("charge cal") << 118 << false << QStringList{chargeCalibration} << QStringList{}
                                << QStringList{dischargeCalibration};
    QTest::newRow("discharge cal") << 120 << false << QStringList{dischargeCalibration}
                                   << QStringList{} << QStringList{chargeCalibration};
    QTest::newRow("resistor") << 122 << false << QStringList{samplingResistor} << QStringList{}
                              << QStringList{};
    QTest::newRow("serial") << 126 << false << QStringList{baud} << QStringList{}
                            << QStringList{usart};
    QTest::newRow("handshake") << 128 << false << QStringList{} << QStringList{}
                               << QStringList{handshake};
    QTest::newRow("custom selection")
        << 130 << false << QStringList{} << QStringList{} << QStringList{customSelection};
    QTest::newRow("module") << 132 << false
                            << QStringList{moduleAddress, limitMode, limitThreshold, limitTime}
                            << QStringList{} << QStringList{limitEnable};
    QTest::newRow("pre-discharge") << 134 << false << QStringList{preDischargeTime} << QStringList{}
                                   << QStringList{preDischarge};
    QStringList active;
    for (int g = 0; g < 3; ++g)
        for (int c = 0; c < 5; ++c)
            active << activeValue(g, c);
    QTest::newRow("active balancing")
        << 136 << false << active << QStringList{} << QStringList{activeEnable(0), activeEnable(2)};
}

void TestRequestCatalogue::readsClearTheirDisplays()
{
    QFETCH(int, code);
    QFETCH(bool, onParamPage);
    QFETCH(QStringList, emptied);
    QFETCH(QStringList, unticked);
    QFETCH(QStringList, untouched);

    RequestRig rig;
    rig.fillPages();
    Form &page = onParamPage ? rig.state().param : rig.state().system;
    QHash<QString, QString> texts;
    QHash<QString, int> numbers;
    for (const QString &c : untouched) {
        texts[c] = page.kind(c) == Form::Kind::Text ? page.text(c) : QString();
        numbers[c] = page.kind(c) == Form::Kind::Check ? page.check(c) : page.choice(c);
    }
    for (const QString &c : unticked)
        QVERIFY(page.setCheck(c, 1));

    rig.core.requests.send(quint8(code));

    QCOMPARE(rig.port().writes.size(), 1);
    for (const QString &c : emptied)
        QVERIFY2(page.text(c).isEmpty(), qPrintable(c));
    for (const QString &c : unticked)
        QVERIFY2(page.check(c) == 0, qPrintable(c));
    for (const QString &c : untouched) {
        if (page.kind(c) == Form::Kind::Text)
            QCOMPARE(page.text(c), texts[c]);
        else
            QCOMPARE(page.kind(c) == Form::Kind::Check ? page.check(c) : page.choice(c),
                     numbers[c]);
    }
}

void TestRequestCatalogue::statusTexts_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("chinese");

    QTest::newRow("0") << 0 << "Read Project No."
                       << "读取项目编号";
    QTest::newRow("1") << 1 << "Read BMS model"
                       << "读取BMS型号";
    QTest::newRow("2") << 2 << "Read Battery ID"
                       << "读取序列号";
    QTest::newRow("3") << 3 << "Read Software ver and Hardware ver"
                       << "读取软硬件版本号";
    QTest::newRow("4 is 3 with a 2") << 4 << "Read Software ver and Hardware ver2"
                                     << "读取软硬件版本号2";
    QTest::newRow("5") << 5 << "Read Basic Information"
                       << "读取基本信息1";
    QTest::newRow("6") << 6 << "Read Cell Temperature"
                       << "读取单节温度";
    QTest::newRow("7") << 7 << "Read Cell Voltage"
                       << "读取单节电压";
    QTest::newRow("8") << 8 << "Read Balanced"
                       << "读取单节均衡";
    QTest::newRow("9") << 9 << "Read Custom"
                       << "读取自定义";
    QTest::newRow("16") << 16 << "Communication pause"
                        << "通迅暂停";
    const char *const rows[17][2] = {
        {"Read Cell_OV", "读取单节过压"},        {"Read Cell_UV", "读取单节欠压"},
        {"Read Total_OV", "读取总压过压"},       {"Read Total_UV ", "读取总压欠压 "},
        {"Read Discharge_OC1", "读取放电过流1"}, {"Read Discharge_OC2", "读取放电过流2"},
        {"Read Charge_OC", "读取充电过流"},      {"Read Charge_OT", "读取充电高温"},
        {"Read Discharge_OT", "读取放电高温"},   {"Read Charge_UT", "读取充电低温"},
        {"Read Discharge_UT", "读取放电低温"},   {"Read MOS_OT", "读取MOS高温"},
        {"Read SOC_UC", "读取SOC过低"},          {"Read Environment_OT", "读取环境高温"},
        {"Read Environment_UT", "读取环境低温"}, {"Read Cell_DIFT", "读取温差过大"},
        {"Read Cell_DIFV", "读取压差过大"}};
    for (int r = 0; r < 17; ++r)
        QTest::addRow("%d", 17 + r)
            << 17 + r << QString::fromUtf8(rows[r][0]) << QString::fromUtf8(rows[r][1]);
}

void TestRequestCatalogue::statusTexts()
{
    QFETCH(int, code);
    QFETCH(QString, english);
    QFETCH(QString, chinese);

    RequestRig rig;
    rig.core.requests.send(quint8(code));
    QCOMPARE(rig.state().statusLine(), english);
    rig.state().setEnglishUi(false);
    rig.core.requests.send(quint8(code));
    QCOMPARE(rig.state().statusLine(), chinese);
}

void TestRequestCatalogue::statusLeftAloneByOtherCodes_data()
{
    QTest::addColumn<int>("code");
    for (int code : {11, 49, 65, 80, 87, 96, 97, 98, 99, 125, 137, 160, 161, 200})
        QTest::addRow("%d", code) << code;
}

void TestRequestCatalogue::statusLeftAloneByOtherCodes()
{
    QFETCH(int, code);
    RequestRig rig;
    rig.fillPages();
    rig.state().setStatusLine(QStringLiteral("before"));
    rig.core.requests.send(quint8(code));
    QCOMPARE(rig.state().statusLine(), QStringLiteral("before"));
}

void TestRequestCatalogue::portClosed_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("status");
    // A live read that cannot go out hands over to the pause text in the same
    // call; other codes keep their own text.
    QTest::newRow("poll") << 5 << "Communication pause";
    QTest::newRow("row read") << 18 << "Read Cell_UV";
    QTest::newRow("control") << 80 << "";
}

void TestRequestCatalogue::portClosed()
{
    QFETCH(int, code);
    QFETCH(QString, status);
    RequestRig rig(false);
    rig.core.requests.send(quint8(code));
    QCOMPARE(rig.prompt.texts(), QStringList{"Please open the serial port first"});
    QCOMPARE(int(rig.state().currentCommand), 16);
    QCOMPARE(rig.state().statusLine(), status);
    QVERIFY(rig.core.link.sendTimer().isActive());
}

void TestRequestCatalogue::everyCallRestartsTheSendTimer()
{
    RequestRig rig;
    for (int code : {0, 11, 16, 33, 137, 200}) {
        rig.core.link.stopSendTimer();
        rig.core.requests.send(quint8(code));
        QVERIFY2(rig.core.link.sendTimer().isActive(), qPrintable(QString::number(code)));
    }
}

void TestRequestCatalogue::repeatsAreIdenticalExceptTheClock()
{
    RequestRig rig;
    rig.fillPages();
    for (int code : {3, 20, 55, 99, 109, 127, 133, 137, 161}) {
        rig.port().writes.clear();
        rig.core.requests.send(quint8(code));
        rig.core.requests.buildRequest();
        QCOMPARE(rig.port().writes.size(), 2);
        QCOMPARE(rig.port().writes[0], rig.port().writes[1]);
    }

    QDateTime clock(QDate(2024, 12, 31), QTime(23, 59, 58));
    rig.core.requests.setClock([&clock] { return clock; });
    rig.port().writes.clear();
    rig.core.requests.send(125);
    clock = clock.addSecs(1);
    rig.core.requests.buildRequest();
    QCOMPARE(rig.port().writes[0].mid(7, 6).toHex(' '), QByteArray("18 0c 1f 17 3b 3a"));
    QCOMPARE(rig.port().writes[1].mid(7, 6).toHex(' '), QByteArray("18 0c 1f 17 3b 3b"));
}

void TestRequestCatalogue::recordIndexWrapsInto16Bits_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("0") << 0 << QByteArray("00 00");
    QTest::newRow("65535") << 65535 << QByteArray("ff ff");
    QTest::newRow("65536") << 65536 << QByteArray("00 00");
    QTest::newRow("70000") << 70000 << QByteArray("11 70");
    QTest::newRow("-1") << -1 << QByteArray("ff ff");
}

void TestRequestCatalogue::recordIndexWrapsInto16Bits()
{
    QFETCH(int, index);
    QFETCH(QByteArray, bytes);
    RequestRig rig;
    rig.state().recordIndex = index;
    rig.core.requests.send(161);
    QCOMPARE(rig.port().writes.last().mid(9, 2).toHex(' '), bytes);
}

void TestRequestCatalogue::workedExampleOnTheWire()
{
    RequestRig rig;
    rig.core.requests.send(0);
    QCOMPARE(rig.port().writes.first().toHex(' '), QByteArray("5c ff 10 00 01 00 00 17 84"));
    rig.fillPages();
    rig.core.requests.send(49);
    QCOMPARE(rig.port().writes.last().size(), 23);
    rig.core.requests.send(99);
    QCOMPARE(rig.port().writes.last().size(), 33);
}

void TestRequestCatalogue::answersAgreeWithTheirRequests_data()
{
    QTest::addColumn<int>("code");
    for (const RequestSpec &spec : RequestTable::all())
        QTest::addRow("%d", spec.code) << int(spec.code);
}

// Every row's answer can be taken (by a decoder of the responses or a handler
// the session installs), writes into the page its request empties, and leads
// to a code the catalogue knows, with a message that exists.
void TestRequestCatalogue::answersAgreeWithTheirRequests()
{
    QFETCH(int, code);
    const RequestSpec &spec = *RequestTable::find(quint8(code));
    const AnswerSpec &a = spec.answer;
    RequestRig rig;

    QVERIFY2(a.decoder != Decoder::none, "the row takes no answer");
    QVERIFY2(rig.core.responses.takes(a.decoder), "nothing decodes the answer");
    if (ResponseDispatcher::decodesItself(a.decoder))
        QVERIFY2(a.page, "decoded onto no page");
    // A read is answered with data, a write or a switch only acknowledged.
    if (spec.answeredByRead())
        QVERIFY(a.decoder != Decoder::acknowledgement);
    else
        QVERIFY(a.decoder == Decoder::acknowledgement ||
                !ResponseDispatcher::decodesItself(a.decoder));
    if (!spec.clears.isEmpty())
        QVERIFY2(a.page == spec.page, "the answer fills another page than the request empties");
    if (a.decoder == Decoder::parameterRow)
        QCOMPARE(spec.item, quint8(40 + a.row));
    QVERIFY2(a.takenWhile(spec.code), "the answer is not taken while its own request waits");

    const auto messageExists = [](ResultMessage m) {
        return m != ResultMessage::none && !ResultMessages::text(m).isEmpty();
    };
    switch (a.then) {
    case AnswerSpec::Then::Nothing:
        QVERIFY2(!ResponseDispatcher::decodesItself(a.decoder) &&
                     a.decoder != Decoder::acknowledgement,
                 "only a handler decides alone what follows");
        break;
    case AnswerSpec::Then::ContinueWith:
        QVERIFY(spec.code <= CommandCode::lastLiveRead);
        QVERIFY(RequestTable::find(a.next) || a.next == CommandCode::cycleParked);
        break;
    case AnswerSpec::Then::Finish:
        QVERIFY(messageExists(a.message));
        QVERIFY(a.next == CommandCode::pause || a.next == CommandCode::firstLiveRead);
        break;
    case AnswerSpec::Then::Chain: {
        QVERIFY(a.chain);
        QVERIFY(messageExists(a.message));
        QVERIFY(messageExists(a.chainEnd));
        if (a.next != CommandCode::pause) {
            const RequestSpec *next = RequestTable::find(a.next);
            QVERIFY2(next && next->answer.chain == a.chain && next->operation == spec.operation,
                     "the chain leads out of itself");
        }
        break;
    }
    }
    if (spec.code <= CommandCode::lastLiveRead) {
        QVERIFY2(a.name, "a polling read without a name for its failure");
        QCOMPARE(a.page, &AppState::info);
        QCOMPARE(RequestTable::pollingRead(spec.item), &spec);
    }
}

void TestRequestCatalogue::sentFramesAreTakenByTheirOwnRow_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("target"); // the upgrade page's choice; -1 leaves it
    for (const RequestSpec &spec : RequestTable::all())
        QTest::addRow("%d", spec.code) << int(spec.code) << -1;
    QTest::newRow("255 to the BOOT") << int(CommandCode::upgrade) << 1;
}

// The frame the builder sends for a code, answered with its own operation and
// item, is taken by that code's row while the request waits: the two halves
// of the catalogue speak of the same exchange.
void TestRequestCatalogue::sentFramesAreTakenByTheirOwnRow()
{
    QFETCH(int, code);
    QFETCH(int, target);
    RequestRig rig;
    rig.fillPages();
    if (target >= 0)
        QVERIFY(rig.state().upgrade.setChoice(UpgradeField::target, target));
    rig.core.requests.send(quint8(code));
    QCOMPARE(rig.port().writes.size(), 1);
    const QByteArray &sent = rig.port().writes.first();
    const RequestSpec *taker =
        RequestTable::takenBy(sent.at(3) == 0, quint8(sent.at(4)), quint8(code));
    QCOMPARE(taker, RequestTable::find(quint8(code)));
}

// Whatever the request in progress, an answer goes to one row at most: the
// polling reads and the system page's identity reads share their items, the
// switches their acknowledgement, and only the request in progress decides.
void TestRequestCatalogue::everyAnswerHasOneTaker()
{
    QStringList ambiguous;
    for (bool read : {true, false}) {
        for (int item = 0; item < 256; ++item) {
            for (int cc = 0; cc < 256; ++cc) {
                QList<int> takers;
                for (const RequestSpec *s : RequestTable::answeredBy(read, quint8(item)))
                    if (s->answer.takenWhile(quint8(cc)))
                        takers << s->code;
                if (takers.size() > 1)
                    ambiguous << QStringLiteral("%1 %2 during %3: codes %4")
                                     .arg(read ? "read" : "ack")
                                     .arg(item)
                                     .arg(cc)
                                     .arg(takers.size());
            }
        }
    }
    QVERIFY2(ambiguous.isEmpty(), qPrintable(ambiguous.mid(0, 5).join('\n')));
}

QTEST_GUILESS_MAIN(TestRequestCatalogue)
#include "tst_request_catalogue.moc"
