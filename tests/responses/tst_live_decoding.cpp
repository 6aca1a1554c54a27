#include "ResponseTestKit.h"
#include "responses/InfoForm.h"

#include <QTest>

using namespace ResponseTestKit;

namespace {
constexpr int fullLength = 56;

QByteArray liveData(int index, std::initializer_list<int> values, int length = fullLength)
{
    return dataWith(length, index, values);
}

const QString crlf = QStringLiteral("\r\n");

QString lines(const QStringList &names)
{
    QString s;
    for (const QString &n : names)
        s += n + crlf;
    return s;
}
struct Indicator {
    int index;
    int bit;
    QString control;
    QString onEn, offEn, onZh, offZh;
};
QList<Indicator> indicatorTable()
{
    using namespace InfoField;
    const QString on = "on", off = "off";
    const QString in = "接入", out = "未接", kai = "开", guan = "关";
    QList<Indicator> list = {
        {57, 0, switch1, on, off, in, out},
        {57, 3, activeBalancing, on, off, kai, guan},
        {57, 4, currentLimiting, on, off, kai, guan},
        {57, 5, dischargeForcedOff, "yes", "no", "是", "否"},
        {57, 6, chargeForcedOff, "yes", "no", "是", "否"},
        {57, 7, switch2, on, off, in, out},
        {58, 0, dischargeMos, on, off, kai, guan},
        {58, 1, chargeMos, on, off, kai, guan},
        {58, 2, preDischargeMos, on, off, kai, guan},
        {58, 3, heating, on, off, kai, guan},
        {58, 4, gps, on, off, kai, guan},
        {58, 5, charger, on, off, in, out},
        {58, 6, load, on, off, in, out},
        {58, 7, reserved7, on, off, kai, guan},
    };
    for (int bit = 0; bit <= 6; ++bit)
        list.append({62, bit, reserved(16 + bit), on, off, kai, guan});
    return list;
}
} // namespace

class TestLiveDecoding : public QObject {
    Q_OBJECT
private slots:
    // Each field alone is non-zero, so a field read from the wrong position,
    // with the wrong scale or the wrong signedness shows up.
    void liveDataFields_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("high");
        QTest::addColumn<int>("low");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        using namespace InfoField;
        QTest::newRow("total voltage") << 7 << 0x14 << 0x82 << totalVoltage << "52.5";
        QTest::newRow("total current negative") << 9 << 0xFF << 0x38 << totalCurrent << "-2";
        QTest::newRow("total current positive") << 9 << 0x00 << 0xC8 << totalCurrent << "2";
        QTest::newRow("soc") << 11 << 0x03 << 0xE8 << soc << "100";
        QTest::newRow("soh") << 13 << 0x03 << 0x83 << soh << "89.9";
        QTest::newRow("max cell voltage") << 15 << 0x0D << 0x05 << maxCellVoltage << "3.333";
        QTest::newRow("max cell number") << 17 << 0x00 << 0x03 << maxCellVoltageNo << "3";
        QTest::newRow("min cell voltage") << 19 << 0x0C << 0xE4 << minCellVoltage << "3.3";
        QTest::newRow("min cell number") << 21 << 0x00 << 0x0C << minCellVoltageNo << "12";
        QTest::newRow("voltage difference") << 23 << 0x00 << 0x21 << voltageDifference << "0.033";
        QTest::newRow("max temperature below zero") << 25 << 0xFF << 0xF6 << maxTemperature << "-1";
        QTest::newRow("max temperature number") << 27 << 0x00 << 0x02 << maxTemperatureNo << "2";
        QTest::newRow("min temperature") << 29 << 0xFF << 0x9C << minTemperature << "-10";
        QTest::newRow("min temperature number") << 31 << 0x00 << 0x04 << minTemperatureNo << "4";
        QTest::newRow("temperature difference")
            << 33 << 0x00 << 0x23 << temperatureDifference << "3.5";
        QTest::newRow("average temperature") << 35 << 0x00 << 0xC8 << averageTemperature << "20";
        QTest::newRow("mos temperature") << 37 << 0xFF << 0xFB << mosTemperature << "-0.5";
        QTest::newRow("ambient temperature") << 39 << 0x01 << 0x19 << ambientTemperature << "28.1";
        QTest::newRow("average voltage") << 41 << 0x0C << 0xF0 << averageVoltage << "3.312";
        QTest::newRow("full capacity") << 43 << 0x27 << 0x10 << fullCapacity << "100";
        QTest::newRow("cycle count unsigned") << 45 << 0x80 << 0x02 << cycleCount << "32770";
        QTest::newRow("bms address") << 59 << 0x00 << 0x07 << bmsAddress << "7";
    }
    void liveDataFields()
    {
        QFETCH(int, index);
        QFETCH(int, high);
        QFETCH(int, low);
        QFETCH(QString, control);
        QFETCH(QString, text);
        Bench b;
        b.dispatch(readReply(6, liveData(index, {high, low})));
        QCOMPARE(b.core.state.info.text(control), text);
        QVERIFY(b.prompt.messages.isEmpty());
    }

    void sofWord()
    {
        Bench b;
        b.dispatch(readReply(5, bytes({0x1F, 0x40})));
        QCOMPARE(b.core.state.info.text(InfoField::sof), QStringLiteral("80"));
    }

    // Older firmware sends shorter blocks: the address and the reserved
    // indicator byte are only read when the block is long enough for them.
    void lengthThresholds_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("addressRead");
        QTest::addColumn<bool>("reservedRead");
        QTest::newRow("52: no address") << 52 << false << false;
        QTest::newRow("53: address half from the crc") << 53 << true << false;
        QTest::newRow("55: address, no reserved byte") << 55 << true << false;
        QTest::newRow("56: both") << 56 << true << true;
        QTest::newRow("60: both") << 60 << true << true;
    }
    void lengthThresholds()
    {
        QFETCH(int, length);
        QFETCH(bool, addressRead);
        QFETCH(bool, reservedRead);
        Bench b;
        // A first full frame sets every reserved indicator on.
        b.dispatch(readReply(6, liveData(62, {0x7F})));
        QCOMPARE(b.core.state.info.text(InfoField::reserved(16)), QStringLiteral("on"));

        QByteArray data(length, '\0');
        // Words that must still be decoded whatever the length says.
        place(data, 7, {0x13, 0x88});
        place(data, 57, {0x04});
        if (length >= 53)
            place(data, 59, {0x01});
        if (length >= 54)
            place(data, 60, {0x02});
        const QByteArray frame = readReply(6, data);
        // At length 53 the low byte of the address is the first CRC byte.
        const QString address =
            addressRead ? QString::number(0x100 + quint8(frame.at(60))) : QStringLiteral("xxx");
        b.dispatch(frame);
        QVERIFY(b.prompt.messages.isEmpty());
        const Form &info = b.core.state.info;
        QCOMPARE(info.text(InfoField::totalVoltage), QStringLiteral("50"));
        QCOMPARE(info.text(InfoField::workingState), QStringLiteral("discharge"));
        QCOMPARE(info.text(InfoField::bmsAddress), address);
        for (int n = 16; n <= 22; ++n)
            QCOMPARE(info.text(InfoField::reserved(n)),
                     reservedRead ? QStringLiteral("off") : QStringLiteral("on"));
    }

    void conditionLists_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<int>("index");
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        using namespace InfoField;
        const auto alarm = [](bool en, const char *name, const QByteArray &f, const QString &t) {
            QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(en ? "en" : "zh", name)))
                << en << 47 << f << alarmStatus << t;
        };
        alarm(true, "difv, ov, total ov in bit order", bytes({0, 1, 0, 5}),
              lines({"Cell_DIFV", "Cell_OV", "Total_OV "}));
        alarm(false, "difv, ov, total ov in bit order", bytes({0, 1, 0, 5}),
              lines({"压差过大", "单体电压过高", "总电压过高"}));
        alarm(true, "bit 15", bytes({0, 0, 0x80, 0}), lines({"Cell_DIFT"}));
        alarm(true, "unnamed bits only", bytes({0xFF, 0xFE, 0, 0}), "null");
        alarm(false, "unnamed bits only", bytes({0xFF, 0xFE, 0, 0}), "无");
        alarm(true, "nothing", bytes({0, 0, 0, 0}), "null");
        alarm(true, "every named bit", bytes({0, 1, 0xFF, 0xFF}),
              lines({"Cell_DIFV", "Cell_OV", "Cell_UV", "Total_OV ", "Total_UV", "Discharge_OC1",
                     "Discharge_OC2 ", "Charge_OC ", "Charge_OT ", "Discharge_OT ", "Charge_UT",
                     "Discharge_UT ", "MOS_OT", "SOC_UC", "Environment_OT", "Environment_UT",
                     "Cell_DIFT"}));
        alarm(false, "every named bit", bytes({0, 1, 0xFF, 0xFF}),
              lines({"压差过大", "单体电压过高", "单体电压过低", "总电压过高", "总电压过低",
                     "放电过流1", "放电过流2", "充电过流", "充电高温", "放电高温", "充电低温",
                     "放电低温", "MOS温度过高", "SOC过低", "环境温度过高", "环境温度过低",
                     "温差过大"}));
        QTest::newRow("en protection discharge ut and mos ot")
            << true << 51 << bytes({0, 0, 0x0C, 0}) << protectionStatus
            << lines({"Discharge_UT ", "MOS_OT"});
        QTest::newRow("zh protection discharge ut and mos ot")
            << false << 51 << bytes({0, 0, 0x0C, 0}) << protectionStatus
            << lines({"放电低温", "MOS温度过高"});
        QTest::newRow("en protection nothing")
            << true << 51 << bytes({0, 0, 0, 0}) << protectionStatus << "null";
        QTest::newRow("en fault high byte first") << true << 55 << bytes({1, 1}) << faultStatus
                                                  << lines({"Reserved8", "Discharge MOS failure"});
        QTest::newRow("zh fault high byte first")
            << false << 55 << bytes({1, 1}) << faultStatus << lines({"保留8", "放电MOS失效"});
        QTest::newRow("en fault named bits")
            << true << 55 << bytes({0, 0x1F}) << faultStatus
            << lines({"Discharge MOS failure", "Charging MOS failure", "FLASH write fail",
                      "Low voltage charging forbid", "Short circuit protection"});
        QTest::newRow("zh fault named bits")
            << false << 55 << bytes({0, 0x1F}) << faultStatus
            << lines({"放电MOS失效", "充电MOS失效", "FLASH写失败", "低压禁止充电", "短路保护"});
        QTest::newRow("en fault reserved numbers")
            << true << 55 << bytes({0x80, 0xE0}) << faultStatus
            << lines({"Reserved15", "Reserved5", "Reserved6", "Reserved7"});
        QTest::newRow("zh fault nothing") << false << 55 << bytes({0, 0}) << faultStatus << "无";
    }
    void conditionLists()
    {
        QFETCH(bool, english);
        QFETCH(int, index);
        QFETCH(QByteArray, field);
        QFETCH(QString, control);
        QFETCH(QString, text);
        Bench b(english);
        QByteArray data(fullLength, '\0');
        data.replace(index - 7, field.size(), field);
        b.dispatch(readReply(6, data));
        QCOMPARE(b.core.state.info.text(control), text);
    }

    void workingState_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<int>("byte57");
        QTest::addColumn<QString>("text");
        QTest::newRow("en idle") << true << 0x00 << "idle";
        QTest::newRow("en charge") << true << 0x02 << "charge";
        QTest::newRow("en discharge") << true << 0x04 << "discharge";
        QTest::newRow("en both: discharge wins") << true << 0x06 << "discharge";
        QTest::newRow("en other bits do not count") << true << 0xF9 << "idle";
        QTest::newRow("zh idle") << false << 0x00 << "空闲";
        QTest::newRow("zh charge") << false << 0x02 << "充电";
        QTest::newRow("zh discharge") << false << 0x06 << "放电";
    }
    void workingState()
    {
        QFETCH(bool, english);
        QFETCH(int, byte57);
        QFETCH(QString, text);
        Bench b(english);
        b.dispatch(readReply(6, liveData(57, {byte57})));
        QCOMPARE(b.core.state.info.text(InfoField::workingState), text);
    }

    // One bit set at a time: its own box shows the "set" word and every other
    // indicator its "clear" word.
    void indicators_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("bit");
        QTest::addColumn<QString>("control");
        for (bool en : {true, false}) {
            const char *lang = en ? "en" : "zh";
            for (const Indicator &ind : indicatorTable())
                QTest::newRow(
                    qPrintable(QStringLiteral("%1 %2.%3").arg(lang).arg(ind.index).arg(ind.bit)))
                    << en << ind.index << ind.bit << ind.control;
        }
    }
    void indicators()
    {
        QFETCH(bool, english);
        QFETCH(int, index);
        QFETCH(int, bit);
        QFETCH(QString, control);
        Bench b(english);
        b.dispatch(readReply(6, liveData(index, {1 << bit})));
        for (const Indicator &ind : indicatorTable()) {
            const bool set = ind.control == control;
            const QString expected =
                english ? (set ? ind.onEn : ind.offEn) : (set ? ind.onZh : ind.offZh);
            QCOMPARE(b.core.state.info.text(ind.control), expected);
        }
    }

    void cellTemperatures_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QStringList>("slotTexts");
        QStringList three{"25", "-10", "0.5"};
        QStringList threeEn = three, threeZh = three;
        for (int i = 3; i < 12; ++i) {
            threeEn << "null";
            threeZh << "无";
        }
        const QByteArray threeData = bytes({0, 3, 0, 0xFA, 0xFF, 0x9C, 0, 5, 1, 1});
        QTest::newRow("en three sensors") << true << threeData << "3" << threeEn;
        QTest::newRow("zh three sensors") << false << threeData << "3" << threeZh;
        QByteArray many = bytes({0, 20});
        for (int i = 0; i < 12; ++i)
            many += bytes({0, i + 1});
        const QStringList all{"0.1", "0.2", "0.3", "0.4", "0.5", "0.6",
                              "0.7", "0.8", "0.9", "1",   "1.1", "1.2"};
        QTest::newRow("count above the slots fills them all") << true << many << "20" << all;
    }
    void cellTemperatures()
    {
        QFETCH(bool, english);
        QFETCH(QByteArray, data);
        QFETCH(QString, count);
        QFETCH(QStringList, slotTexts);
        Bench b(english);
        b.dispatch(readReply(7, data));
        QVERIFY(b.prompt.messages.isEmpty());
        QCOMPARE(b.core.state.info.text(InfoField::ntcCount), count);
        for (int i = 0; i < InfoField::temperatureSlots; ++i)
            QCOMPARE(b.core.state.info.text(InfoField::cellTemperature(i)), slotTexts.at(i));
    }

    void cellVoltages_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<int>("countHigh");
        QTest::addColumn<int>("countLow");
        QTest::addColumn<QString>("countText");
        QTest::addColumn<int>("filled");
        QTest::newRow("en only the low byte counts") << true << 0x01 << 0x10 << "272" << 16;
        QTest::newRow("zh only the low byte counts") << false << 0x01 << 0x10 << "272" << 16;
        QTest::newRow("en eight cells") << true << 0 << 8 << "8" << 8;
        QTest::newRow("en no cells") << true << 0 << 0 << "0" << 0;
        QTest::newRow("en 32 cells") << true << 0 << 32 << "32" << 32;
        QTest::newRow("en count above 32") << true << 0 << 40 << "40" << 32;
    }
    void cellVoltages()
    {
        QFETCH(bool, english);
        QFETCH(int, countHigh);
        QFETCH(int, countLow);
        QFETCH(QString, countText);
        QFETCH(int, filled);
        Bench b(english);
        QByteArray data = bytes({countHigh, countLow});
        for (int i = 0; i < 32; ++i)
            data += bytes({0x0C, 0x80 + i}); // 3200 + i mV, unsigned
        b.dispatch(readReply(8, data));
        QCOMPARE(b.core.state.info.text(InfoField::cellCount), countText);
        for (int i = 0; i < InfoField::cellSlots; ++i) {
            const QString expected =
                i < filled ? QString::number(3200 + i)
                           : (english ? QStringLiteral("null") : QStringLiteral("无"));
            QCOMPARE(b.core.state.info.text(InfoField::cellVoltage(i)), expected);
        }
    }

    void balancingMap_data()
    {
        QTest::addColumn<QByteArray>("map");
        QTest::addColumn<QList<int>>("balanced");
        QTest::newRow("first and last cell")
            << bytes({0x01, 0x00, 0x00, 0x80}) << QList<int>{0, 31};
        QTest::newRow("one bit per byte")
            << bytes({0x80, 0x01, 0x10, 0x02}) << QList<int>{7, 8, 20, 25};
        QTest::newRow("none") << bytes({0, 0, 0, 0}) << QList<int>{};
    }
    void balancingMap()
    {
        QFETCH(QByteArray, map);
        QFETCH(QList<int>, balanced);
        Bench b;
        Form &info = b.core.state.info;
        // An earlier frame highlighted every cell; the new map replaces it.
        b.dispatch(readReply(9, bytes({0, 0, 0xFF, 0xFF, 0xFF, 0xFF})));
        info.setText(InfoField::cellVoltage(0), QStringLiteral("3300"));
        b.dispatch(readReply(9, bytes({0xAA, 0xAA}) + map));
        for (int i = 0; i < InfoField::cellSlots; ++i)
            QCOMPARE(info.isHighlighted(InfoField::cellVoltage(i)), balanced.contains(i));
        QCOMPARE(info.text(InfoField::cellVoltage(0)), QStringLiteral("3300"));
    }
};

QTEST_GUILESS_MAIN(TestLiveDecoding)
#include "tst_live_decoding.moc"
