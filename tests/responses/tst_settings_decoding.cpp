#include "ResponseTestKit.h"
#include "requests/ParamForm.h"
#include "requests/SystemForm.h"
#include "responses/InfoForm.h"

#include <QTest>

using namespace ResponseTestKit;

namespace {
// What a control shows: its text, or its check state or entry index.
QString shown(const Form &form, const QString &control)
{
    switch (form.kind(control)) {
    case Form::Kind::Check:
        return QString::number(form.check(control));
    case Form::Kind::Choice:
        return QString::number(form.choice(control));
    default:
        return form.text(control);
    }
}

using Expectations = QList<QPair<QString, QString>>;

QByteArray words(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b += bytes({(v >> 8) & 0xFF, v & 0xFF});
    return b;
}
} // namespace

class TestSettingsDecoding : public QObject {
    Q_OBJECT
private slots:
    // Seven words in wire order: ProtVal, ProtRecVal, AlaVal, ProtDelay,
    // AlarmEnable, AlaDelay, ProtEnable.
    void parameterRows_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QStringList>("texts"); // CS(5r) .. CS(5r+4)
        QTest::addColumn<int>("alarmEnable");
        QTest::addColumn<int>("protEnable");
        QTest::newRow("row 0 cell volts")
            << 0 << words({0x1068, 0x1004, 0x1036, 0x0064, 0, 0x01F4, 0x0100})
            << QStringList{"4.15", "5", "4.2", "4.1", "1"} << 0 << 1;
        QTest::newRow("row 1 unsigned")
            << 1 << words({0xFFFF, 0x8000, 0x0BB8, 0x00C8, 1, 0x0032, 0})
            << QStringList{"3", "0.5", "65.535", "32.768", "2"} << 1 << 0;
        QTest::newRow("row 3 pack volts")
            << 3 << words({0x1450, 0x1518, 0x14B4, 1, 1, 2, 1})
            << QStringList{"53", "0.02", "52", "54", "0.01"} << 1 << 1;
        QTest::newRow("row 4 signed amps")
            << 4 << words({0xEC78, 0xF830, 0xFF38, 0x012C, 0, 0x0190, 0})
            << QStringList{"-2", "4", "-50", "-20", "3"} << 0 << 0;
        QTest::newRow("row 7 tenths") << 7 << words({0x0258, 0x01F4, 0x0226, 0x0064, 1, 0x01F4, 1})
                                      << QStringList{"55", "5", "60", "50", "1"} << 1 << 1;
        QTest::newRow("row 12 soc signed") << 12 << words({0x0032, 0x0064, 0xFFFB, 0, 0, 0, 0})
                                           << QStringList{"-0.5", "0", "5", "10", "0"} << 0 << 0;
        QTest::newRow("row 16 volt difference")
            << 16 << words({0x012C, 0x00C8, 0x00FA, 0x1388, 0xFFFF, 0x03E8, 0x8000})
            << QStringList{"0.25", "10", "0.3", "0.2", "50"} << 1 << 1;
    }
    void parameterRows()
    {
        QFETCH(int, row);
        QFETCH(QByteArray, data);
        QFETCH(QStringList, texts);
        QFETCH(int, alarmEnable);
        QFETCH(int, protEnable);
        Bench b;
        Form &param = b.core.state.param;
        for (int i = 0; i < ParamField::texts; ++i)
            param.setText(ParamField::cs(i), QStringLiteral("old"));
        for (int i = 0; i < ParamField::checks; ++i)
            param.setCheck(ParamField::fx(i), 2);
        b.core.state.currentCommand = quint8(17 + row);
        b.dispatch(readReply(40 + row, data));
        for (int c = 0; c < 5; ++c)
            QCOMPARE(param.text(ParamField::cs(5 * row + c)), texts.at(c));
        QCOMPARE(param.check(ParamField::fx(2 * row)), alarmEnable);
        QCOMPARE(param.check(ParamField::fx(2 * row + 1)), protEnable);
        // Nothing outside the row moved.
        for (int i = 0; i < ParamField::texts; ++i) {
            if (i / 5 != row)
                QCOMPARE(param.text(ParamField::cs(i)), QStringLiteral("old"));
        }
        for (int i = 0; i < ParamField::checks; ++i) {
            if (i / 2 != row)
                QCOMPARE(param.check(ParamField::fx(i)), 2);
        }
    }

    void shortCircuitLevels()
    {
        Bench b;
        b.dispatch(readReply(113, bytes({0x0F, 0xFF})));
        QCOMPARE(b.core.state.param.text(ParamField::shortVoltageLevel), QStringLiteral("15"));
        QCOMPARE(b.core.state.param.text(ParamField::shortDelayLevel), QStringLiteral("255"));
    }

    void identityTexts_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("command");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        using namespace SystemField;
        QTest::newRow("zero padding not shown")
            << 1 << 98 << QByteArray("AB\0\0", 4) << projectNumber << "AB";
        QTest::newRow("zero inside skipped") << 2 << 100 << QByteArray("X\0Y", 3) << model << "XY";
        QTest::newRow("one byte one character") << 3 << 102 << bytes({0x41, 0xE9, 0xFF})
                                                << batteryId << QString::fromLatin1("A\xE9\xFF");
        QTest::newRow("empty text") << 19 << 104 << QByteArray() << customText << "";
    }
    void identityTexts()
    {
        QFETCH(int, item);
        QFETCH(int, command);
        QFETCH(QByteArray, data);
        QFETCH(QString, control);
        QFETCH(QString, text);
        Bench b;
        b.core.state.system.setText(control, QStringLiteral("previous"));
        b.core.state.currentCommand = quint8(command);
        b.dispatch(readReply(item, data));
        QCOMPARE(b.core.state.system.text(control), text);
    }

    void versions_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("software");
        QTest::addColumn<QString>("hardware");
        QTest::newRow("whole and two decimals") << words({0x0064, 0x0069}) << "1"
                                                << "1.05";
        QTest::newRow("one decimal") << words({0x006E, 0x00C8}) << "1.1"
                                     << "2";
    }
    void versions()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, software);
        QFETCH(QString, hardware);
        Bench b;
        b.dispatch(readReply(4, data));
        QCOMPARE(b.core.state.info.text(InfoField::softwareVersion), software);
        QCOMPARE(b.core.state.info.text(InfoField::hardwareVersion), hardware);
    }

    void datesAndBatch_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("production");
        QTest::addColumn<QString>("shipping");
        QTest::addColumn<QString>("batch");
        QTest::newRow("worked example") << bytes({0x17, 0x07, 0x05, 0x18, 0x01, 0x1F, 0x00, 0x0A,
                                                  0xFF, 0x10, 0x00, 0x00, 0x00, 0x01})
                                        << "2023-07-05"
                                        << "2024-01-31"
                                        << "000AFF1000000001";
        QTest::newRow("not validated") << bytes({0xFF, 0x0D, 0x00, 0x00, 0x00, 0x20, 0xAB, 0xCD,
                                                 0xEF, 0x01, 0x23, 0x45, 0x67, 0x89})
                                       << "2255-13-00"
                                       << "2000-00-32"
                                       << "ABCDEF0123456789";
    }
    void datesAndBatch()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, production);
        QFETCH(QString, shipping);
        QFETCH(QString, batch);
        Bench b;
        b.dispatch(readReply(10, data));
        QCOMPARE(b.core.state.system.text(SystemField::productionDate), production);
        QCOMPARE(b.core.state.system.text(SystemField::shippingDate), shipping);
        QCOMPARE(b.core.state.system.text(SystemField::batch), batch);
    }

    void batchTakesCrcBytesOfAShortFrame()
    {
        Bench b;
        const QByteArray frame =
            readReply(10, bytes({23, 7, 5, 24, 1, 31, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66}));
        b.dispatch(frame);
        QVERIFY(b.prompt.messages.size() == 1 &&
                b.prompt.messages.first().text != QStringLiteral("7"));
        const QString crc = QString::fromLatin1(frame.mid(19, 2).toHex().toUpper());
        QCOMPARE(b.core.state.system.text(SystemField::batch),
                 QStringLiteral("112233445566") + crc);
    }

    void systemItems_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<Expectations>("expected");
        using namespace SystemField;
        QByteArray address = QByteArray("192.168.1.10") + QByteArray(28, '\0') + QByteArray("502") +
                             QByteArray(7, '\0');
        QTest::newRow("125 address and port")
            << 125 << address << Expectations{{ip, "192.168.1.10"}, {ipPort, "502"}};
        QTest::newRow("12 passive balancing") << 12 << words({1, 0x0D48, 0x001E, 0x0CE4})
                                              << Expectations{{balanceEnable, "1"},
                                                              {balanceOpen, "3.4"},
                                                              {balanceDiff, "0.03"},
                                                              {balanceClose, "3.3"}};
        QTest::newRow("12 balancing off") << 12 << words({0, 0, 0, 0})
                                          << Expectations{{balanceEnable, "0"},
                                                          {balanceOpen, "0"},
                                                          {balanceDiff, "0"},
                                                          {balanceClose, "0"}};
        QTest::newRow("11 counts")
            << 11 << words({16, 4, 3})
            << Expectations{{cellNumber, "16"}, {lowCellNumber, "4"}, {ntcNumber, "3"}};
        QTest::newRow("13 capacity") << 13 << words({0x03E8, 100, 0x2710, 0x26AC, 0x01F4})
                                     << Expectations{{soc, "100"},
                                                     {cycles, "100"},
                                                     {standardCapacity, "100"},
                                                     {fullCapacity, "99"},
                                                     {attenuationCycles, "500"}};
        QTest::newRow("14 zero signed")
            << 14 << words({0xFFFE}) << Expectations{{zeroCalibration, "-2"}};
        QTest::newRow("15 charge calibration")
            << 15 << words({0x03E8}) << Expectations{{chargeCalibration, "1"}};
        QTest::newRow("16 discharge calibration")
            << 16 << words({0x03F2}) << Expectations{{dischargeCalibration, "1.01"}};
        QTest::newRow("17 sampling resistor")
            << 17 << words({0x0032}) << Expectations{{samplingResistor, "0.5"}};
        QTest::newRow("18 clock") << 18 << bytes({0x18, 0x03, 0x09, 0x07, 0x05, 0x00})
                                  << Expectations{{bmsTime, "2024-03-09 07:05:00"}};
        QTest::newRow("18 clock two digits") << 18 << bytes({99, 12, 31, 23, 59, 58})
                                             << Expectations{{bmsTime, "2099-12-31 23:59:58"}};
        QTest::newRow("20 serial 9600")
            << 20 << bytes({0x01, 0x03, 0xC0, 0x00})
            << Expectations{{usart, "1"}, {baud, "9600"}, {parity, "0"}};
        QTest::newRow("20 serial 115200 odd")
            << 20 << bytes({0x06, 0x2D, 0x00, 0x02})
            << Expectations{{usart, "6"}, {baud, "115200"}, {parity, "2"}};
        QTest::newRow("21 handshake") << 21 << bytes({2}) << Expectations{{handshake, "2"}};
        QTest::newRow("22 custom selection")
            << 22 << bytes({1}) << Expectations{{customSelection, "1"}};
        QTest::newRow("23 limiting fe0c") << 23 << bytes({7, 1, 2, 0xFE, 0x0C, 0x00, 0x3C})
                                          << Expectations{{moduleAddress, "7"},
                                                          {limitEnable, "1"},
                                                          {limitMode, "2"},
                                                          {limitThreshold, "5"},
                                                          {limitTime, "60"}};
        QTest::newRow("23 limiting zero has no sign")
            << 23 << bytes({0, 0, 0, 0, 0, 0, 0}) << Expectations{{limitThreshold, "0"}};
        QTest::newRow("23 limiting 01f4") << 23 << bytes({255, 2, 0, 0x01, 0xF4, 0xFF, 0xFF})
                                          << Expectations{{moduleAddress, "255"},
                                                          {limitEnable, "2"},
                                                          {limitThreshold, "-5"},
                                                          {limitTime, "65535"}};
        QTest::newRow("130 pre-discharge")
            << 130 << bytes({1, 0x01, 0xF4})
            << Expectations{{preDischarge, "1"}, {preDischargeTime, "5"}};
        QByteArray active;
        for (int g = 0; g < 3; ++g)
            active += bytes({g == 1 ? 0 : 1}) + words({3400 + g, 3300 + g, 30 + g, 10 + g, 60 + g});
        const QStringList opens{"3.4", "3.401", "3.402"}, closes{"3.3", "3.301", "3.302"};
        const QStringList openDiffs{"0.03", "0.031", "0.032"}, closeDiffs{"0.01", "0.011", "0.012"};
        Expectations activeExpected;
        for (int g = 0; g < 3; ++g) {
            activeExpected.append({activeEnable(g), g == 1 ? "0" : "1"});
            activeExpected.append({activeValue(g, 0), opens.at(g)});
            activeExpected.append({activeValue(g, 1), closes.at(g)});
            activeExpected.append({activeValue(g, 2), openDiffs.at(g)});
            activeExpected.append({activeValue(g, 3), closeDiffs.at(g)});
            activeExpected.append({activeValue(g, 4), QString::number(60 + g)});
        }
        QTest::newRow("24 active balancing") << 24 << active << activeExpected;
    }
    void systemItems()
    {
        QFETCH(int, item);
        QFETCH(QByteArray, data);
        QFETCH(Expectations, expected);
        Bench b;
        b.dispatch(readReply(item, data));
        QCOMPARE(b.prompt.messages.size(), 1);
        QVERIFY(b.prompt.messages.first().text != QStringLiteral("7"));
        for (const auto &[control, value] : expected)
            QCOMPARE(shown(b.core.state.system, control), value);
    }
};

QTEST_GUILESS_MAIN(TestSettingsDecoding)
#include "tst_settings_decoding.moc"
