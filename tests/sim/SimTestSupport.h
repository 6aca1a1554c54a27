#pragma once

#include "link/Frame.h"
#include "sim/HistoryLog.h"
#include "sim/PackModel.h"
#include "sim/Responder.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QTest>

// Shared by the simulator's unit tests: a pack with its responder on a fake
// clock, and a checker for the response frame layout.
namespace SimTest {

constexpr quint8 address = 255;
constexpr quint8 protocol = 16;

inline QByteArray request(quint8 operation, quint8 item, const QByteArray &data = {},
                          quint8 to = address, quint8 proto = protocol)
{
    return Frame::build(Frame::requestStart, to, proto, operation, item, data);
}

inline QDateTime startClock()
{
    return QDateTime(QDate(2024, 5, 7), QTime(9, 3, 0), Qt::UTC);
}

// A battery that does not move unless a test lets it: no time-lapse, a fixed
// current (0 A unless given).
inline PackModel::Config frozenPack(double currentA = 0)
{
    PackModel::Config c;
    c.speed = 0;
    c.fixedCurrentA = currentA;
    return c;
}

struct Bench {
    explicit Bench(const PackModel::Config &config = frozenPack(), int records = 10,
                   const Responder::Options &options = {})
        : pack(config, 0, startClock()), history(records, pack, startClock().addSecs(-60)),
          responder(pack, history, options)
    {
    }
    Responder::Outcome send(quint8 operation, quint8 item, const QByteArray &data = {},
                            qint64 nowMs = 0)
    {
        return responder.handle(request(operation, item, data), nowMs);
    }

    PackModel pack;
    HistoryLog history;
    Responder responder;
};

// Empty when `reply` is a well-formed answer of the pack with this operation
// and item; otherwise what is wrong. The data goes to `data`.
inline QString checkReply(const QByteArray &reply, quint8 operation, quint8 item,
                          QByteArray *data = nullptr, quint8 from = address)
{
    if (reply.isEmpty())
        return QStringLiteral("no answer");
    if (!Frame::crcValid(reply))
        return QStringLiteral("bad CRC or length: %1").arg(QString::fromLatin1(reply.toHex(' ')));
    if (quint8(reply[0]) != Frame::responseStart)
        return QStringLiteral("start byte %1").arg(quint8(reply[0]));
    if (quint8(reply[1]) != from || quint8(reply[2]) != protocol)
        return QStringLiteral("address/protocol %1/%2").arg(quint8(reply[1])).arg(quint8(reply[2]));
    if (quint8(reply[3]) != operation)
        return QStringLiteral("operation %1").arg(quint8(reply[3]));
    if (quint8(reply[4]) != item)
        return QStringLiteral("item %1").arg(quint8(reply[4]));
    if (data)
        *data = reply.mid(Frame::dataOffset, Frame::dataLength(reply));
    return {};
}

// Every read the pack answers: item, request data and the answer's data length.
struct ReadItem {
    const char *name;
    quint8 item;
    QByteArray requestData;
    int length;
};

inline QList<ReadItem> readItems()
{
    QList<ReadItem> items{
        {"project number", 1, {}, 24},
        {"model", 2, {}, 24},
        {"battery id", 3, {}, 32},
        {"versions", 4, {}, 4},
        {"SOF", 5, {}, 2},
        {"live data", 6, {}, 56},
        {"temperatures", 7, {}, 26},
        {"cell voltages", 8, {}, 66},
        {"balancing", 9, {}, 6},
        {"dates and batch", 10, {}, 14},
        {"counts", 11, {}, 6},
        {"passive balancing", 12, {}, 8},
        {"capacity", 13, {}, 10},
        {"zero calibration", 14, {}, 2},
        {"charge calibration", 15, {}, 2},
        {"discharge calibration", 16, {}, 2},
        {"sampling resistor", 17, {}, 2},
        {"clock", 18, {}, 6},
        {"custom text", 19, {}, 32},
        {"serial settings", 20, QByteArray(1, '\3'), 4},
        {"charge handshake", 21, {}, 1},
        {"custom selection", 22, {}, 1},
        {"current limiting", 23, {}, 7},
        {"active balancing", 24, {}, 33},
        {"record count", 71, {}, 4},
        {"record", 70, QByteArray::fromHex("0000000300000001"), 50},
        {"short circuit", 113, {}, 2},
        {"network", 125, {}, 50},
        {"pre-discharge", 130, {}, 3},
    };
    static const char *const rowNames[] = {
        "row Cell_OV",       "row Cell_UV",        "row Total_OV",       "row Total_UV",
        "row Discharge_OC1", "row Discharge_OC2",  "row Charge_OC",      "row Charge_OT",
        "row Discharge_OT",  "row Charge_UT",      "row Discharge_UT",   "row MOS_OT",
        "row SOC_UC",        "row Environment_OT", "row Environment_UT", "row Cell_DIFT",
        "row Cell_DIFV"};
    for (int row = 0; row < 17; ++row)
        items.append({rowNames[row], quint8(40 + row), {}, 14});
    return items;
}

// The columns item, requestData and length with one row per read item.
inline void addReadItemRows()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QByteArray>("requestData");
    QTest::addColumn<int>("length");
    for (const ReadItem &r : readItems())
        QTest::newRow(r.name) << int(r.item) << r.requestData << r.length;
}

inline int word(const QByteArray &data, int at)
{
    return quint8(data[at]) << 8 | quint8(data[at + 1]);
}

} // namespace SimTest
