#include "records/StoredRecordText.h"

#include "responses/FieldDecoding.h"

#include <QCoreApplication>

namespace {

// One status bit: byte offset from the field's first byte, bit number, and
// either its name or the number shown after "Reserved".
struct StatusBit {
    int byte;
    int bit;
    const char *name;
    int reserved;
};

// Alarms and protections share the layout; only bit 0 of their first byte is
// named after the field.
constexpr StatusBit alarmBits[] = {
    {0, 0, QT_TRANSLATE_NOOP("StoredRecordText", "Reserved alarm"), 0},
    {1, 0, QT_TRANSLATE_NOOP("StoredRecordText", "Cell_DIFV"), 0},
    {2, 0, QT_TRANSLATE_NOOP("StoredRecordText", "Discharge_OT "), 0},
    {2, 1, QT_TRANSLATE_NOOP("StoredRecordText", "Charge_UT"), 0},
    {2, 2, QT_TRANSLATE_NOOP("StoredRecordText", "Discharge_UT "), 0},
    {2, 3, QT_TRANSLATE_NOOP("StoredRecordText", "MOS_OT"), 0},
    {2, 4, QT_TRANSLATE_NOOP("StoredRecordText", "SOC_UC"), 0},
    {2, 5, QT_TRANSLATE_NOOP("StoredRecordText", "Environment_OT"), 0},
    {2, 6, QT_TRANSLATE_NOOP("StoredRecordText", "Environment_UT"), 0},
    {2, 7, QT_TRANSLATE_NOOP("StoredRecordText", "Cell_DIFT"), 0},
    {3, 0, QT_TRANSLATE_NOOP("StoredRecordText", "Cell_OV"), 0},
    {3, 1, QT_TRANSLATE_NOOP("StoredRecordText", "Cell_UV"), 0},
    {3, 2, QT_TRANSLATE_NOOP("StoredRecordText", "Total_OV "), 0},
    {3, 3, QT_TRANSLATE_NOOP("StoredRecordText", "Total_UV"), 0},
    {3, 4, QT_TRANSLATE_NOOP("StoredRecordText", "Discharge_OC1"), 0},
    {3, 5, QT_TRANSLATE_NOOP("StoredRecordText", "Discharge_OC2 "), 0},
    {3, 6, QT_TRANSLATE_NOOP("StoredRecordText", "Charge_OC "), 0},
    {3, 7, QT_TRANSLATE_NOOP("StoredRecordText", "Charge_OT "), 0},
};
constexpr const char *reservedProtection =
    QT_TRANSLATE_NOOP("StoredRecordText", "Reserved protection");

constexpr StatusBit faultBits[] = {
    {0, 0, nullptr, 8},
    {0, 1, nullptr, 9},
    {0, 2, nullptr, 10},
    {0, 3, nullptr, 11},
    {0, 4, nullptr, 12},
    {0, 5, nullptr, 13},
    {0, 6, nullptr, 14},
    {0, 7, nullptr, 15},
    {1, 0, QT_TRANSLATE_NOOP("StoredRecordText", "Discharge MOS failure"), 0},
    {1, 1, QT_TRANSLATE_NOOP("StoredRecordText", "Charging MOS failure"), 0},
    {1, 2, QT_TRANSLATE_NOOP("StoredRecordText", "EEPRAOM write failure"), 0},
    {1, 3, QT_TRANSLATE_NOOP("StoredRecordText", "Low voltage charging forbid"), 0},
    {1, 4, QT_TRANSLATE_NOOP("StoredRecordText", "Short circuit protection"), 0},
    {1, 5, nullptr, 5},
    {1, 6, nullptr, 6},
    {1, 7, nullptr, 7},
};

constexpr StatusBit systemBits[] = {
    {0, 0, QT_TRANSLATE_NOOP("StoredRecordText", "Switch 1 ON"), 0},
    {0, 1, QT_TRANSLATE_NOOP("StoredRecordText", "Charging state "), 0},
    {0, 2, QT_TRANSLATE_NOOP("StoredRecordText", "Discharge state"), 0},
    {0, 3, nullptr, 11},
    {0, 4, QT_TRANSLATE_NOOP("StoredRecordText", "current-limiting"), 0},
    {0, 5, QT_TRANSLATE_NOOP("StoredRecordText", "Strong off discharge "), 0},
    {0, 6, QT_TRANSLATE_NOOP("StoredRecordText", "Forced off charging"), 0},
    {0, 7, QT_TRANSLATE_NOOP("StoredRecordText", "Switch 2 ON"), 0},
    {1, 0, QT_TRANSLATE_NOOP("StoredRecordText", "Discharge MOS ON "), 0},
    {1, 1, QT_TRANSLATE_NOOP("StoredRecordText", "Charging MOS ON "), 0},
    {1, 2, QT_TRANSLATE_NOOP("StoredRecordText", "Preamplifier MOS ON"), 0},
    {1, 3, QT_TRANSLATE_NOOP("StoredRecordText", "Heating ON"), 0},
    {1, 4, QT_TRANSLATE_NOOP("StoredRecordText", "GPS ON "), 0},
    {1, 5, QT_TRANSLATE_NOOP("StoredRecordText", "Charger ON"), 0},
    {1, 6, QT_TRANSLATE_NOOP("StoredRecordText", "Load connection "), 0},
    {1, 7, nullptr, 7},
};

constexpr int alarmsAt = 45;
constexpr int protectionsAt = 49;
constexpr int faultsAt = 53;
constexpr int systemAt = 55;

template <std::size_t N>
QString namesOfSetBits(const QByteArray &frame, int first, const StatusBit (&bits)[N],
                       const char *firstName = nullptr)
{
    QString text;
    for (std::size_t i = 0; i < N; ++i) {
        const StatusBit &b = bits[i];
        if (!((frameByte(frame, first + b.byte) >> b.bit) & 1))
            continue;
        const char *name = (i == 0 && firstName) ? firstName : b.name;
        text += name ? QCoreApplication::translate("StoredRecordText", name)
                     : QCoreApplication::translate("StoredRecordText", "Reserved") +
                           QString::number(b.reserved);
        text += QLatin1Char(' ');
    }
    return text;
}

QString twoDigits(int value)
{
    return QString::number(value).rightJustified(2, QLatin1Char('0'));
}

} // namespace

namespace StoredRecordText {

QString storageTime(const QByteArray &frame)
{
    return QString::number(frameByte(frame, 13) + 2000).rightJustified(4, QLatin1Char('0')) +
           QLatin1Char('-') + twoDigits(frameByte(frame, 14)) + QLatin1Char('-') +
           twoDigits(frameByte(frame, 15)) + QLatin1Char(' ') + twoDigits(frameByte(frame, 16)) +
           QLatin1Char(':') + twoDigits(frameByte(frame, 17)) + QLatin1Char(':') +
           twoDigits(frameByte(frame, 18));
}

QString alarms(const QByteArray &frame)
{
    return namesOfSetBits(frame, alarmsAt, alarmBits);
}

QString protections(const QByteArray &frame)
{
    return namesOfSetBits(frame, protectionsAt, alarmBits, reservedProtection);
}

QString faults(const QByteArray &frame)
{
    return namesOfSetBits(frame, faultsAt, faultBits);
}

QString systemState(const QByteArray &frame)
{
    return namesOfSetBits(frame, systemAt, systemBits);
}

QStringList columns(const QByteArray &frame)
{
    // Byte position, scale and signedness of the numeric columns 3 to 15.
    struct Word {
        int at;
        double scale;
        int signedMode;
    };
    static constexpr Word words[] = {
        {19, 0.01, 0}, {21, 0.01, 1},  {23, 0.1, 0}, {25, 1, 0},     {27, 0.001, 0},
        {29, 1, 0},    {31, 0.001, 0}, {33, 1, 0},   {35, 0.001, 0}, {37, 0.1, 1},
        {39, 1, 0},    {41, 0.1, 1},   {43, 1, 0},
    };
    QStringList list;
    list.reserve(columnCount);
    list << QString::number(frameWord(frame, recordNumberAt));
    list << decodeWord(frame, 11, 1, 0, 0);
    list << storageTime(frame);
    for (const Word &w : words)
        list << decodeWord(frame, w.at, w.scale, 0, w.signedMode);
    list << alarms(frame) << protections(frame) << faults(frame) << systemState(frame);
    return list;
}

QString rowText(const QStringList &columns)
{
    QString text;
    for (const QString &c : columns)
        text += c + QLatin1Char('\t');
    return text;
}

} // namespace StoredRecordText
