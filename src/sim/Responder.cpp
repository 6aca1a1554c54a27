#include "sim/Responder.h"

#include "link/Frame.h"
#include "sim/PackItems.h"
#include "sim/WireBytes.h"

#include <algorithm>

namespace {

constexpr quint8 readOperation = 0;
constexpr quint8 ackOperation = 1;

// The items of the live polling cycle, which a sleeping pack does not answer.
constexpr quint8 liveItems[] = {
    PackItem::projectNumber, PackItem::model,     PackItem::batteryId,    PackItem::versions,
    PackItem::sof,           PackItem::live,      PackItem::temperatures, PackItem::cellVoltages,
    PackItem::balancing,     PackItem::customText};

bool isLiveItem(quint8 item)
{
    return std::find(std::begin(liveItems), std::end(liveItems), item) != std::end(liveItems);
}

QByteArray defaultUsart()
{
    return WireBytes().word(960).byte(0).bytes();
}

char parityOf(int index)
{
    return index == 1 ? 'E' : index == 2 ? 'O' : 'N';
}

WireBytes &dateTime(WireBytes &w, const QDateTime &t)
{
    const QDate d = t.date();
    const QTime c = t.time();
    return w.byte(std::clamp(d.year() - 2000, 0, 255))
        .byte(d.month())
        .byte(d.day())
        .byte(c.hour())
        .byte(c.minute())
        .byte(c.second());
}

} // namespace

Responder::Responder(PackModel &pack, const HistoryLog &history, const Options &options)
    : m_pack(pack), m_history(history), m_options(options)
{
}

QByteArray Responder::response(quint8 operation, quint8 item, const QByteArray &data) const
{
    return Frame::build(Frame::responseStart, m_options.address, m_options.protocol, operation,
                        item, data);
}

Responder::Outcome Responder::handle(const QByteArray &request, qint64 nowMs)
{
    Outcome out;
    if (!Frame::crcValid(request) || quint8(request[0]) != Frame::requestStart)
        return out;
    const quint8 address = quint8(request[1]);
    const quint8 protocol = quint8(request[2]);
    if (address != m_options.address || protocol != m_options.protocol) {
        out.note =
            QStringLiteral("frame for address %1 protocol %2 ignored").arg(address).arg(protocol);
        return out;
    }
    out.forUs = true;
    m_pack.advanceTo(nowMs);

    const quint8 operation = quint8(request[3]);
    const quint8 item = quint8(request[4]);
    const QByteArray data = request.mid(Frame::dataOffset, Frame::dataLength(request));
    if (operation == readOperation) {
        if (const std::optional<QByteArray> answer = read(item, data, nowMs, out))
            out.reply = response(readOperation, item, *answer);
    } else if (write(item, data, nowMs, out) && out.reply.isEmpty()) {
        out.reply = response(ackOperation, item, {});
    }
    return out;
}

std::optional<LineSettings> Responder::poll(qint64 nowMs)
{
    m_pack.advanceTo(nowMs);
    if (!m_firmware.expire(nowMs))
        return std::nullopt;
    return m_options.normalLine;
}

QByteArray Responder::liveData(const LiveSnapshot &s)
{
    return WireBytes()
        .word(s.totalCentiV)
        .word(s.currentCentiA)
        .word(s.socPermille)
        .word(s.sohPermille)
        .word(s.maxCellMv)
        .word(s.maxCellNo)
        .word(s.minCellMv)
        .word(s.minCellNo)
        .word(s.differenceMv)
        .word(s.maxDeciC)
        .word(s.maxSensorNo)
        .word(s.minDeciC)
        .word(s.minSensorNo)
        .word(s.differenceDeciC)
        .word(s.averageDeciC)
        .word(s.mosDeciC)
        .word(s.ambientDeciC)
        .word(s.averageCellMv)
        .word(s.fullCapacityCentiAh)
        .word(s.cycles)
        .dword(s.alarms)
        .dword(s.protections)
        .word(s.faults)
        .byte(s.state1)
        .byte(s.state2)
        .word(s.bmsAddress)
        .byte(0)
        .byte(0) // reserved indicators
        .bytes();
}

QByteArray Responder::recordData(const HistoryRecord &r)
{
    WireBytes w;
    w.word(0).word(r.number).word(r.type);
    dateTime(w, r.time);
    return w.word(r.totalCentiV)
        .word(r.currentCentiA)
        .word(r.socPermille)
        .word(r.sohPercent)
        .word(r.maxCellMv)
        .word(r.maxCellNo)
        .word(r.minCellMv)
        .word(r.minCellNo)
        .word(r.differenceMv)
        .word(r.maxDeciC)
        .word(r.maxSensorNo)
        .word(r.minDeciC)
        .word(r.minSensorNo)
        .dword(r.alarms)
        .dword(r.protections)
        .word(r.faults)
        .byte(r.state1)
        .byte(r.state2)
        .bytes();
}

std::optional<QByteArray> Responder::read(quint8 item, const QByteArray &data, qint64 nowMs,
                                          Outcome &out)
{
    if (isLiveItem(item) && !m_pack.answersLiveReads()) {
        out.note = QStringLiteral("live read of item %1 unanswered: the pack is %2")
                       .arg(item)
                       .arg(m_pack.inStorage() ? "in storage mode" : "asleep");
        return std::nullopt;
    }
    if (SettingsStore::storedLength(item) >= 0)
        return m_pack.settings().read(item);

    const LiveSnapshot &s = m_pack.snapshot();
    switch (item) {
    case PackItem::versions:
        return WireBytes().word(m_options.softwareVersion).word(m_options.hardwareVersion).bytes();
    case PackItem::sof:
        return WireBytes().word(s.sofCenti).bytes();
    case PackItem::live:
        return liveData(s);
    case PackItem::temperatures: {
        WireBytes w;
        w.word(s.sensorCount);
        for (int j = 0; j < PackItem::maxSensors; ++j)
            w.word(j < s.sensorDeciC.size() ? s.sensorDeciC[j] : 0);
        return w.bytes();
    }
    case PackItem::cellVoltages: {
        WireBytes w;
        w.word(s.cellCount);
        for (int i = 0; i < PackItem::maxCells; ++i)
            w.word(i < s.cellMv.size() ? s.cellMv[i] : 0);
        return w.bytes();
    }
    case PackItem::balancing: {
        // One bit per cell, cells 1 to 8 in the first byte, bit 0 first.
        WireBytes w;
        w.word(0);
        for (int b = 0; b < 4; ++b)
            w.byte(int(s.balancingBits >> (8 * b)));
        return w.bytes();
    }
    case PackItem::capacity: {
        const PackModel::Capacity c = m_pack.capacity();
        return WireBytes()
            .word(int(std::lround(c.socPercent * 10)))
            .word(c.cycles)
            .word(int(std::lround(c.standardAh * 100)))
            .word(int(std::lround(c.fullAh * 100)))
            .word(c.attenuationCycles)
            .bytes();
    }
    case PackItem::zeroCalibration:
        return WireBytes().word(m_pack.zeroOffsetCounts()).bytes();
    case PackItem::chargeCalibration:
        return WireBytes().word(m_pack.chargeCoefficient()).bytes();
    case PackItem::dischargeCalibration:
        return WireBytes().word(m_pack.dischargeCoefficient()).bytes();
    case PackItem::clock: {
        WireBytes w;
        return dateTime(w, m_pack.clock(nowMs)).bytes();
    }
    case PackItem::serialSettings: {
        const int usart = WireBytes::byteAt(data, 0);
        return WireBytes().byte(usart).raw(m_usarts.value(usart, defaultUsart())).bytes();
    }
    case PackItem::recordCount:
        return WireBytes().word(0).word(m_history.count()).bytes();
    case PackItem::record: {
        if (data.size() < 4) {
            out.note = QStringLiteral("record request without an index ignored");
            return std::nullopt;
        }
        const quint32 index =
            quint32(WireBytes::wordAt(data, 0)) << 16 | WireBytes::wordAt(data, 2);
        const std::optional<HistoryRecord> r =
            index < quint32(m_history.count()) ? m_history.record(int(index)) : std::nullopt;
        if (!r) {
            out.note = QStringLiteral("record index %1 beyond the %2 records unanswered")
                           .arg(index)
                           .arg(m_history.count());
            return std::nullopt;
        }
        return recordData(*r);
    }
    }
    out.note = QStringLiteral("read of unknown item %1 unanswered").arg(item);
    return std::nullopt;
}

bool Responder::write(quint8 item, const QByteArray &data, qint64 nowMs, Outcome &out)
{
    const auto refuse = [&](const QString &why) {
        out.note = QStringLiteral("write of item %1 with %2 data bytes unanswered: %3")
                       .arg(item)
                       .arg(data.size())
                       .arg(why);
        return false;
    };

    if (SettingsStore::storedLength(item) >= 0) {
        if (!m_pack.settings().write(item, data))
            return refuse(
                QStringLiteral("expected %1 bytes").arg(SettingsStore::storedLength(item)));
        m_pack.reevaluate();
        return true;
    }

    switch (item) {
    case PackItem::capacity: {
        if (data.size() != 10)
            return refuse(QStringLiteral("expected 10 bytes"));
        m_pack.setCapacity({WireBytes::wordAt(data, 0) / 10.0, WireBytes::wordAt(data, 2),
                            WireBytes::wordAt(data, 4) / 100.0, WireBytes::wordAt(data, 6) / 100.0,
                            WireBytes::wordAt(data, 8)});
        return true;
    }
    case PackItem::zeroCalibration:
        if (!data.isEmpty())
            return refuse(QStringLiteral("expected no data"));
        if (!m_pack.calibrateZero())
            out.note = QStringLiteral("zero calibration ignored: current is flowing");
        return true;
    case PackItem::chargeCalibration:
    case PackItem::dischargeCalibration: {
        if (data.size() != 2)
            return refuse(QStringLiteral("expected 2 bytes"));
        const double amps = WireBytes::signedWordAt(data, 0) / 100.0;
        const bool charge = item == PackItem::chargeCalibration;
        if (!(charge ? m_pack.calibrateCharge(amps) : m_pack.calibrateDischarge(amps)))
            out.note = QStringLiteral("%1 calibration ignored: no %1 current flowing")
                           .arg(charge ? "charge" : "discharge");
        return true;
    }
    case PackItem::clock: {
        if (data.size() != 6)
            return refuse(QStringLiteral("expected 6 bytes"));
        const QDate date(2000 + WireBytes::byteAt(data, 0), WireBytes::byteAt(data, 1),
                         WireBytes::byteAt(data, 2));
        const QTime time(WireBytes::byteAt(data, 3), WireBytes::byteAt(data, 4),
                         WireBytes::byteAt(data, 5));
        if (!date.isValid() || !time.isValid())
            return refuse(QStringLiteral("not a valid date and time"));
        m_pack.setClock(QDateTime(date, time, Qt::UTC), nowMs);
        return true;
    }
    case PackItem::serialSettings: {
        if (data.size() != 4)
            return refuse(QStringLiteral("expected 4 bytes"));
        const int usart = WireBytes::byteAt(data, 0);
        m_usarts[usart] = data.mid(1);
        if (usart == m_options.lineUsart) {
            LineSettings line = m_options.normalLine;
            line.baud = WireBytes::wordAt(data, 1) * 10;
            line.parity = parityOf(WireBytes::byteAt(data, 3));
            if (line.baud > 0) {
                m_options.normalLine = line;
                out.lineAfter = line;
            }
        }
        return true;
    }
    case PackItem::control:
        if (data.size() != 5)
            return refuse(QStringLiteral("expected 5 bytes"));
        m_pack.control(WireBytes::byteAt(data, 0), WireBytes::byteAt(data, 1),
                       WireBytes::byteAt(data, 2), WireBytes::byteAt(data, 3),
                       WireBytes::byteAt(data, 4));
        return true;
    case PackItem::upgradeApp:
    case PackItem::upgradeBoot: {
        FirmwareSession::Outcome f = m_firmware.handle(item, data, nowMs);
        out.note = f.note;
        out.image = f.image;
        if (!f.answer)
            return false;
        out.reply = response(ackOperation, item, WireBytes().word(f.block).bytes());
        if (f.switchBaud)
            out.lineAfter = LineSettings::upgrade(*f.switchBaud);
        else if (f.restoreLine)
            out.lineAfter = m_options.normalLine;
        return true;
    }
    }
    return refuse(QStringLiteral("unknown item"));
}
