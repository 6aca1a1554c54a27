#include "RequestRig.h"

#include "requests/WriteEncoding.h"

#include <QTest>

class TestWriteEncoding : public QObject {
    Q_OBJECT
private slots:
    void scaledWord_data();
    void scaledWord();
    void textField_data();
    void textField();
    void hexPairs_data();
    void hexPairs();
    void numbers_data();
    void numbers();
    void dates_data();
    void dates();
    void sentValues_data();
    void sentValues();
    void refusals_data();
    void refusals();
    void refusalChangesNothing();
};

void TestWriteEncoding::scaledWord_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("scale");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("Cell_OV 4.25") << 4.25 << 1000.0 << QByteArray("10 9a");
    QTest::newRow("Charge_OT -10") << -10.0 << 10.0 << QByteArray("ff 9c");
    QTest::newRow("delay 1 s") << 1.0 << 100.0 << QByteArray("00 64");
    QTest::newRow("2.5 to even") << 2.5 << 1.0 << QByteArray("00 02");
    QTest::newRow("3.5 to even") << 3.5 << 1.0 << QByteArray("00 04");
    QTest::newRow("-2.5 to even") << -2.5 << 1.0 << QByteArray("ff fe");
    QTest::newRow("2.6 up") << 2.6 << 1.0 << QByteArray("00 03");
    QTest::newRow("-1") << -1.0 << 1.0 << QByteArray("ff ff");
    QTest::newRow("-300") << -300.0 << 1.0 << QByteArray("fe d4");
    QTest::newRow("40000") << 40000.0 << 1.0 << QByteArray("9c 40");
    QTest::newRow("70000 wraps") << 70000.0 << 1.0 << QByteArray("11 70");
    QTest::newRow("baud 115200") << 115200.0 << 0.1 << QByteArray("2d 00");
    QTest::newRow("baud 9600") << 9600.0 << 0.1 << QByteArray("03 c0");
    QTest::newRow("threshold 50") << 50.0 << -100.0 << QByteArray("ec 78");
}

void TestWriteEncoding::scaledWord()
{
    QFETCH(double, value);
    QFETCH(double, scale);
    QFETCH(QByteArray, bytes);
    QByteArray frame(4, '\x55');
    WriteEncoding::putScaledWord(value, frame, 1, scale);
    QCOMPARE(frame.mid(1, 2).toHex(' '), bytes);
    QCOMPARE(frame.at(0), '\x55'); // neighbours untouched
    QCOMPARE(frame.at(3), '\x55');
}

void TestWriteEncoding::textField_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("unsendable");
    QTest::newRow("5 of 24") << "PN123" << 24 << QByteArray("504e313233" + QByteArray(38, '0'))
                             << "";
    QTest::newRow("30 cut to 24") << QString(30, 'x') << 24 << QByteArray(24, 'x').toHex() << "";
    QTest::newRow("Latin-1 is one byte") << "café" << 6 << QByteArray("636166e90000") << "";
    QTest::newRow("blanks are sent") << "  " << 3 << QByteArray("202000") << "";
    QTest::newRow("CJK is not") << "A电" << 4 << QByteArray() << "电";
    QTest::newRow("beyond the width is dropped anyway")
        << "ABCD电" << 4 << QByteArray("41424344") << "";
}

void TestWriteEncoding::textField()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, unsendable);
    const auto bad = WriteEncoding::firstUnsendable(text, width);
    QCOMPARE(bad.value_or(QString()), unsendable);
    if (bad)
        return;
    QByteArray frame(width + 2, '\x55');
    WriteEncoding::putText(frame, 1, width, text);
    QCOMPARE(frame.mid(1, width).toHex(), bytes);
    QCOMPARE(frame.back(), '\x55');
}

void TestWriteEncoding::hexPairs_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("eight digits") << "0A1B2C3D" << QByteArray("0a1b2c3d00000000");
    QTest::newRow("odd length") << "ABC" << QByteArray("ab0c000000000000");
    QTest::newRow("sixteen digits") << "000AFF1000000001" << QByteArray("000aff1000000001");
    QTest::newRow("more than sixteen") << "1122334455667788AA" << QByteArray("1122334455667788");
    QTest::newRow("lower case") << "ff" << QByteArray("ff00000000000000");
    QTest::newRow("digit then junk") << "1G" << QByteArray("0100000000000000");
    QTest::newRow("junk first") << "G1FF" << QByteArray("00ff000000000000");
    QTest::newRow("empty") << "" << QByteArray("0000000000000000");
}

void TestWriteEncoding::hexPairs()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QByteArray frame(8, '\x55');
    WriteEncoding::putHexPairs(frame, 0, 8, text);
    QCOMPARE(frame.toHex(), bytes);
}

void TestWriteEncoding::numbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("value");
    QTest::newRow("decimal") << "4.25" << true << 4.25;
    QTest::newRow("blanks around") << " 7 " << true << 7.0;
    QTest::newRow("negative") << "-0.5" << true << -0.5;
    QTest::newRow("exponent") << "1e3" << true << 1000.0;
    QTest::newRow("comma is no separator") << "4,25" << false << 0.0;
    QTest::newRow("grouped thousands") << "1,000" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("blanks") << "   " << false << 0.0;
    QTest::newRow("word") << "abc" << false << 0.0;
    QTest::newRow("trailing junk") << "12V" << false << 0.0;
    QTest::newRow("infinity") << "inf" << false << 0.0;
    QTest::newRow("nan") << "nan" << false << 0.0;
}

void TestWriteEncoding::numbers()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(double, value);
    const auto parsed = WriteEncoding::parseNumber(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, value);
}

void TestWriteEncoding::dates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes"); // empty: refused
    QTest::newRow("example") << "2021-03-05" << QByteArray("150305");
    QTest::newRow("one-digit month and day") << "2024-1-9" << QByteArray("180109");
    QTest::newRow("leap day") << "2024-02-29" << QByteArray("18021d");
    QTest::newRow("year 2100") << "2100-12-31" << QByteArray("000c1f");
    QTest::newRow("no leap day") << "2023-02-29" << QByteArray();
    QTest::newRow("month 13") << "2021-13-01" << QByteArray();
    QTest::newRow("day first") << "05.03.2021" << QByteArray();
    QTest::newRow("blank") << " " << QByteArray();
}

void TestWriteEncoding::dates()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    const auto date = WriteEncoding::parseDate(text);
    QCOMPARE(date.has_value(), !bytes.isEmpty());
    if (!date)
        return;
    QByteArray frame(3, '\0');
    WriteEncoding::putDate(frame, 0, *date);
    QCOMPARE(frame.toHex(), bytes);
}

// Values at the edge of what a field's word or byte holds go out exactly.
void TestWriteEncoding::sentValues_data()
{
    using namespace SystemField;
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("onParamPage");
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("Cell_OV ProtVal 4.25")
        << 49 << true << QStringList{"CS2=4.25"} << 7 << QByteArray("109a");
    QTest::newRow("Charge_OT AlaVal -10")
        << 56 << true << QStringList{"CS35=-10"} << 11 << QByteArray("ff9c");
    QTest::newRow("ProtDelay 1") << 49 << true << QStringList{"CS4=1"} << 13 << QByteArray("0064");
    QTest::newRow("unsigned top") << 49 << true << QStringList{"CS2=65.535"} << 7
                                  << QByteArray("ffff");
    QTest::newRow("unsigned zero") << 49 << true << QStringList{"CS2=0"} << 7 << QByteArray("0000");
    QTest::newRow("unsigned top after rounding")
        << 49 << true << QStringList{"CS2=65.5354"} << 7 << QByteArray("ffff");
    QTest::newRow("signed bottom")
        << 56 << true << QStringList{"CS35=-3276.8"} << 11 << QByteArray("8000");
    QTest::newRow("signed top") << 56 << true << QStringList{"CS35=3276.7"} << 11
                                << QByteArray("7fff");
    QTest::newRow("current limit -5")
        << 53 << true << QStringList{"CS22=-5"} << 7 << QByteArray("fe0c");
    QTest::newRow("enable words") << 49 << true << QStringList{"FX0=1", "FX1=0"} << 15
                                  << QByteArray("0001");
    QTest::newRow("levels 0 and 255")
        << 97 << true
        << QStringList{ParamField::shortVoltageLevel + "=0", ParamField::shortDelayLevel + "=255"}
        << 7 << QByteArray("00ff");
    QTest::newRow("byte rounds to even")
        << 97 << true << QStringList{ParamField::shortVoltageLevel + "=2.5"} << 7
        << QByteArray("02");

    QTest::newRow("threshold top")
        << 133 << false << QStringList{limitThreshold + "=-327.67"} << 10 << QByteArray("7fff");
    QTest::newRow("threshold bottom")
        << 133 << false << QStringList{limitThreshold + "=327.68"} << 10 << QByteArray("8000");

    QTest::newRow("USART 06") << 127 << false << QStringList{usart + "=06"} << 7
                              << QByteArray("06");
    QTest::newRow("parity Even") << 127 << false << QStringList{parity + "=1"} << 10
                                 << QByteArray("01");
    QTest::newRow("no handshake option")
        << 129 << false << QStringList{handshake + "=-1"} << 7 << QByteArray("00");
    QTest::newRow("no pre-discharge option")
        << 135 << false << QStringList{preDischarge + "=-1"} << 7 << QByteArray("00");
    QTest::newRow("full project number")
        << 99 << false << QStringList{projectNumber + "=" + QString(24, 'Z')} << 7
        << QByteArray(24, 'Z').toHex();
    QTest::newRow("project cut") << 99 << false
                                 << QStringList{projectNumber + "=" + QString(30, 'Q')} << 30
                                 << QByteArray("51");
    QTest::newRow("Latin-1 model")
        << 101 << false << QStringList{model + "=Größe"} << 7 << QByteArray("4772f6df6500");

    QTest::newRow("batch ABC") << 109 << false << QStringList{batch + "=ABC"} << 13
                               << QByteArray("ab0c000000000000");
    QTest::newRow("blank batch is not empty")
        << 109 << false << QStringList{batch + "= "} << 13 << QByteArray("0000000000000000");
    QTest::newRow("balance enable grey")
        << 111 << false << QStringList{balanceEnable + "=2"} << 7 << QByteArray("0002");
}

void TestWriteEncoding::sentValues()
{
    QFETCH(int, code);
    QFETCH(bool, onParamPage);
    QFETCH(QStringList, inputs);
    QFETCH(int, index);
    QFETCH(QByteArray, bytes);

    RequestRig rig;
    rig.fillPages();
    RequestRig::apply(onParamPage ? rig.state().param : rig.state().system, inputs);
    rig.core.requests.send(quint8(code));
    QVERIFY2(rig.prompt.messages.isEmpty(), qPrintable(rig.prompt.texts().join('|')));
    QCOMPARE(rig.port().writes.size(), 1);
    const QByteArray sent = rig.port().writes.first();
    QCOMPARE(sent.mid(index, bytes.size() / 2).toHex(), bytes);
    QVERIFY(Frame::crcValid(sent));
}

void TestWriteEncoding::refusals_data()
{
    using namespace SystemField;
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("onParamPage");
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("chinese");

    const QString empty = "Parameter cannot be empty";
    const QString fixed = "参数不能为空";
    QTest::newRow("empty project number")
        << 99 << false << QStringList{projectNumber + "="} << empty << fixed;
    QTest::newRow("empty model") << 101 << false << QStringList{model + "="} << empty << fixed;
    QTest::newRow("empty battery id")
        << 103 << false << QStringList{batteryId + "="} << empty << fixed;
    QTest::newRow("empty custom") << 105 << false << QStringList{customText + "="} << empty
                                  << fixed;
    QTest::newRow("empty port number")
        << 107 << false << QStringList{ipPort + "="} << empty << fixed;
    QTest::newRow("empty closed volt")
        << 111 << false << QStringList{balanceClose + "="} << empty << fixed;
    QTest::newRow("empty NTC number")
        << 113 << false << QStringList{ntcNumber + "="} << empty << fixed;
    QTest::newRow("empty attenuation")
        << 115 << false << QStringList{attenuationCycles + "="} << empty << fixed;
    QTest::newRow("empty discharge cal")
        << 121 << false << QStringList{dischargeCalibration + "="} << empty << fixed;
    QTest::newRow("empty resistor")
        << 123 << false << QStringList{samplingResistor + "="} << empty << fixed;
    // These three exist in Chinese only.
    QTest::newRow("empty short-circuit level")
        << 97 << true << QStringList{ParamField::shortDelayLevel + "="} << fixed << fixed;
    QTest::newRow("empty batch") << 109 << false << QStringList{batch + "="} << fixed << fixed;
    QTest::newRow("empty charging cal")
        << 119 << false << QStringList{chargeCalibration + "="} << fixed << fixed;
    // Emptiness is tested before any value is converted.
    QTest::newRow("empty wins over bad date")
        << 109 << false << QStringList{productionDate + "=x", shippingDate + "="} << fixed << fixed;

    QTest::newRow("row value not a number")
        << 49 << true << QStringList{"CS2=abc"} << "Cell_OV ProtVal: not a number"
        << "单体过压 保护值：不是数字";
    QTest::newRow("row value empty")
        << 65 << true << QStringList{"CS81="} << "Cell_DIFV AlaDelay: not a number"
        << "压差过大 告警延时：不是数字";
    QTest::newRow("comma decimal")
        << 113 << false << QStringList{cellNumber + "=4,25"} << "Cell number: not a number"
        << "电池串数：不是数字";
    QTest::newRow("blanks are not empty")
        << 113 << false << QStringList{lowCellNumber + "= "} << "Low Cell number: not a number"
        << "低端串数：不是数字";
    QTest::newRow("700 V would wrap") << 51 << true << QStringList{"CS12=700"}
                                      << "Total_OV ProtVal: out of range, allowed 0 to 655.35"
                                      << "总体过压 保护值：超出范围，允许 0 至 655.35";
    QTest::newRow("negative cell voltage") << 49 << true << QStringList{"CS0=-0.001"}
                                           << "Cell_OV AlaVal: out of range, allowed 0 to 65.535"
                                           << "单体过压 告警值：超出范围，允许 0 至 65.535";
    QTest::newRow("signed underflow")
        << 56 << true << QStringList{"CS38=-3276.9"}
        << "Charge_OT ProtRecVal: out of range, allowed -3276.8 to 3276.7"
        << "充电高温 保护恢复值：超出范围，允许 -3276.8 至 3276.7";
    QTest::newRow("40000 is not a signed current")
        << 53 << true << QStringList{"CS22=400"}
        << "Discharge_OC1 ProtVal: out of range, allowed -327.68 to 327.67"
        << "放电过流1 保护值：超出范围，允许 -327.68 至 327.67";
    QTest::newRow("delay too long") << 49 << true << QStringList{"CS4=655.36"}
                                    << "Cell_OV ProtDelay: out of range, allowed 0 to 655.35"
                                    << "单体过压 保护延时：超出范围，允许 0 至 655.35";
    QTest::newRow("level 256") << 97 << true << QStringList{ParamField::shortVoltageLevel + "=256"}
                               << "Short circuit voltage level: out of range, allowed 0 to 255"
                               << "短路电压等级：超出范围，允许 0 至 255";
    QTest::newRow("level -1") << 97 << true << QStringList{ParamField::shortDelayLevel + "=-1"}
                              << "Short circuit delay level: out of range, allowed 0 to 255"
                              << "短路延时等级：超出范围，允许 0 至 255";
    QTest::newRow("threshold negated overflow")
        << 133 << false << QStringList{limitThreshold + "=400"}
        << "Current limiting threshold(A): out of range, allowed -327.67 to 327.68"
        << "充电限流阀值(A)：超出范围，允许 -327.67 至 327.68";
    QTest::newRow("address not a number")
        << 133 << false << QStringList{moduleAddress + "=x1"} << "BMSADD: not a number"
        << "BMS地址：不是数字";
    QTest::newRow("mode 300") << 133 << false << QStringList{limitMode + "=300"}
                              << "Current limiting mode: out of range, allowed 0 to 255"
                              << "充电限流模式：超出范围，允许 0 至 255";
    QTest::newRow("no leap day") << 109 << false << QStringList{shippingDate + "=2023-02-29"}
                                 << "Shipping Date: not a valid date (yyyy-mm-dd)"
                                 << "出货日期：不是有效日期(yyyy-mm-dd)";
    QTest::newRow("CJK project number") << 99 << false << QStringList{projectNumber + "=电池01"}
                                        << "Project No: the character \"电\" cannot be sent"
                                        << "项目号：字符“电”无法发送";
    QTest::newRow("emoji in port") << 107 << false << QStringList{ipPort + "=80🙂"}
                                   << "Port number: the character \"🙂\" cannot be sent"
                                   << "端口号：字符“🙂”无法发送";
    QTest::newRow("parity unselected")
        << 127 << false << QStringList{parity + "=-1"} << "Parity bit: no entry selected"
        << "奇偶位：未选择";
    QTest::newRow("baud typed wrong")
        << 127 << false << QStringList{baud + "=fast"} << "Baud rate: not a number"
        << "波特率：不是数字";
    QTest::newRow("baud beyond the word") << 127 << false << QStringList{baud + "=921600"}
                                          << "Baud rate: out of range, allowed 0 to 655350"
                                          << "波特率：超出范围，允许 0 至 655350";
    QTest::newRow("USART read without number")
        << 126 << false << QStringList{usart + "="} << "USART: not a number"
        << "USART：不是数字";
    QStringList activeEmpty{activeValue(1, 4) + "="};
    QTest::newRow("active time empty")
        << 137 << false << activeEmpty << "Discharge Time(S): not a number"
        << "放电 时间(S)：不是数字";
    QTest::newRow("pre-discharge time")
        << 135 << false << QStringList{preDischargeTime + "=-1"}
        << "PreDisMode switch NormalMode time(S): out of range, allowed 0 to 655.35"
        << "解发防打火切换正常模式时间(S)：超出范围，允许 0 至 655.35";
}

void TestWriteEncoding::refusals()
{
    QFETCH(int, code);
    QFETCH(bool, onParamPage);
    QFETCH(QStringList, inputs);
    QFETCH(QString, english);
    QFETCH(QString, chinese);

    for (bool inEnglish : {true, false}) {
        RequestRig rig;
        rig.state().setEnglishUi(inEnglish);
        rig.fillPages();
        RequestRig::apply(onParamPage ? rig.state().param : rig.state().system, inputs);
        rig.core.requests.send(quint8(code));
        QCOMPARE(rig.prompt.texts(), QStringList{inEnglish ? english : chinese});
        QVERIFY(rig.port().writes.isEmpty());
        QCOMPARE(int(rig.state().currentCommand), 16);
        // The send timer's next tick repeats nothing.
        rig.core.requests.buildRequest();
        QVERIFY(rig.port().writes.isEmpty());
    }
}

void TestWriteEncoding::refusalChangesNothing()
{
    // A read that carries data is refused before it clears the boxes it is
    // about to refill.
    RequestRig rig;
    rig.fillPages();
    rig.state().system.setText(SystemField::usart, QStringLiteral("x"));
    rig.core.requests.send(126);
    QCOMPARE(rig.prompt.messages.size(), 1);
    QCOMPARE(rig.state().system.text(SystemField::baud), QStringLiteral("115200"));
    QCOMPARE(rig.state().system.choice(SystemField::parity), 2);
    QCOMPARE(rig.state().txFrame, QByteArray(9, '\0'));
}

QTEST_GUILESS_MAIN(TestWriteEncoding)
#include "tst_write_encoding.moc"
