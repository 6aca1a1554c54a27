#include "responses/SystemDecoding.h"

#include "base/Form.h"
#include "requests/SystemForm.h"
#include "responses/FieldDecoding.h"

#include <cmath>
#include <initializer_list>

namespace {

enum class Kind {
    Word,       // decodeWord text
    WordCheck,  // a word that is the check state itself
    ByteCheck,  // a byte that is the check state itself
    ByteText,   // a byte as decimal text
    ByteChoice, // a byte that selects an entry, counted from 0
    Text,       // bytes index..last as single-byte characters
    BaudWord,   // a word in tens of baud
    Clock,      // six bytes: year - 2000, month, day, hour, minute, second
};

struct Field {
    Kind kind;
    int index;
    QString control;
    double scale = 1;
    quint8 signedMode = 0;
    int last = 0; // Text only
};

void decodeFields(const QByteArray &frame, Form &form, std::initializer_list<Field> fields)
{
    for (const Field &f : fields) {
        switch (f.kind) {
        case Kind::Word:
            form.setText(f.control, decodeWord(frame, f.index, f.scale, 0, f.signedMode));
            break;
        case Kind::WordCheck:
            requireAccepted(form.setCheck(f.control, frameWord(frame, f.index)));
            break;
        case Kind::ByteCheck:
            requireAccepted(form.setCheck(f.control, frameByte(frame, f.index)));
            break;
        case Kind::ByteText:
            form.setText(f.control, QString::number(frameByte(frame, f.index)));
            break;
        case Kind::ByteChoice:
            requireAccepted(form.setChoice(f.control, frameByte(frame, f.index)));
            break;
        case Kind::Text:
            writeLatin1Text(form, f.control, frame, f.index, f.last);
            break;
        case Kind::BaudWord:
            form.setText(f.control, QString::number(frameWord(frame, f.index) * 10));
            break;
        case Kind::Clock: {
            int parts[6];
            for (int i = 0; i < 6; ++i)
                parts[i] = frameByte(frame, f.index + i);
            const QLatin1Char zero('0');
            form.setText(f.control, QStringLiteral("%1-%2-%3 %4:%5:%6")
                                        .arg(2000 + parts[0], 4, 10, zero)
                                        .arg(parts[1], 2, 10, zero)
                                        .arg(parts[2], 2, 10, zero)
                                        .arg(parts[3], 2, 10, zero)
                                        .arg(parts[4], 2, 10, zero)
                                        .arg(parts[5], 2, 10, zero));
            break;
        }
        }
    }
}

Field word(int index, const QString &control, double scale = 1, quint8 signedMode = 0)
{
    return {Kind::Word, index, control, scale, signedMode};
}

} // namespace

namespace SystemDecoding {
using namespace SystemField;

void decodeNetworkAddress(const QByteArray &frame, int, Form &system)
{
    decodeFields(frame, system,
                 {{Kind::Text, 7, ip, 1, 0, 46}, {Kind::Text, 47, ipPort, 1, 0, 56}});
}

void decodePassiveBalancing(const QByteArray &frame, int, Form &system)
{
    decodeFields(frame, system,
                 {{Kind::WordCheck, 7, balanceEnable},
                  word(9, balanceOpen, 0.001),
                  word(11, balanceDiff, 0.001),
                  word(13, balanceClose, 0.001)});
}

void decodeCounts(const QByteArray &frame, int, Form &system)
{
    decodeFields(frame, system, {word(7, cellNumber), word(9, lowCellNumber), word(11, ntcNumber)});
}

void decodeCapacity(const QByteArray &frame, int, Form &system)
{
    decodeFields(frame, system,
                 {word(7, soc, 0.1), word(9, cycles), word(11, standardCapacity, 0.01),
                  word(13, fullCapacity, 0.01), word(15, attenuationCycles)});
}

void decodeZeroCalibration(const QByteArray &frame, int, Form &system)
{
    decodeFields(frame, system, {word(7, zeroCalibration, 1, 1)});
}

void decodeChargeCalibration(const QByteArray &frame, int, Form &system)
{
    decodeFields(frame, system, {word(7, chargeCalibration, 0.001)});
}

void decodeDischargeCalibration(const QByteArray &frame, int, Form &system)
{
    decodeFields(frame, system, {word(7, dischargeCalibration, 0.001)});
}

void decodeSamplingResistor(const QByteArray &frame, int, Form &system)
{
    decodeFields(frame, system, {word(7, samplingResistor, 0.01)});
}

void decodeClock(const QByteArray &frame, int, Form &system)
{
    decodeFields(frame, system, {{Kind::Clock, 7, bmsTime}});
}

void decodeSerialSettings(const QByteArray &frame, int, Form &system)
{
    decodeFields(
        frame, system,
        {{Kind::ByteText, 7, usart}, {Kind::BaudWord, 8, baud}, {Kind::ByteChoice, 10, parity}});
}

void decodeHandshake(const QByteArray &frame, int, Form &system)
{
    decodeFields(frame, system, {{Kind::ByteChoice, 7, handshake}});
}

void decodeCustomSelection(const QByteArray &frame, int, Form &system)
{
    decodeFields(frame, system, {{Kind::ByteChoice, 7, customSelection}});
}

void decodeCurrentLimiting(const QByteArray &frame, int, Form &system)
{
    // The BMS counts the threshold as a discharge current (negative); the page
    // shows the limit as a positive number of amps.
    decodeFields(frame, system,
                 {{Kind::ByteText, 7, moduleAddress},
                  {Kind::ByteCheck, 8, limitEnable},
                  {Kind::ByteText, 9, limitMode},
                  word(10, limitThreshold, -0.01, 1),
                  word(12, limitTime)});
}

void decodePreDischarge(const QByteArray &frame, int, Form &system)
{
    decodeFields(frame, system,
                 {{Kind::ByteChoice, 7, preDischarge}, word(8, preDischargeTime, 0.01)});
}

void decodeActiveBalancing(const QByteArray &frame, int, Form &system)
{
    // Charge, discharge and rest groups of 11 bytes each: the enable byte,
    // then open and close voltage, open and close difference, and time.
    for (int g = 0; g < 3; ++g) {
        const int base = 7 + 11 * g;
        decodeFields(frame, system,
                     {{Kind::ByteCheck, base, activeEnable(g)},
                      word(base + 1, activeValue(g, 0), 0.001),
                      word(base + 3, activeValue(g, 1), 0.001),
                      word(base + 5, activeValue(g, 2), 0.001),
                      word(base + 7, activeValue(g, 3), 0.001),
                      word(base + 9, activeValue(g, 4))});
    }
}

} // namespace SystemDecoding
