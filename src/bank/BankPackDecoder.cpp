#include "bank/BankPackDecoder.h"

#include "responses/FieldDecoding.h"
#include "responses/FrameError.h"
#include "responses/IdentityDecoding.h"
#include "responses/InfoForm.h"
#include "responses/LiveDecoding.h"

#include "link/Frame.h"

namespace {
// The information page's control behind each value of the table.
const QString *const valueControls[BankPack::valueCount] = {
    &InfoField::totalVoltage,
    &InfoField::totalCurrent,
    &InfoField::soc,
    &InfoField::soh,
    &InfoField::maxCellVoltage,
    &InfoField::maxCellVoltageNo,
    &InfoField::minCellVoltage,
    &InfoField::minCellVoltageNo,
    &InfoField::voltageDifference,
    &InfoField::maxTemperature,
    &InfoField::minTemperature,
};
} // namespace

const QString &BankPackDecoder::control(BankPack::Value value)
{
    return *valueControls[int(value)];
}

BankPackDecoder::BankPackDecoder() : m_info(QStringLiteral("BankScratch"))
{
    defineInfoForm(m_info);
}

bool BankPackDecoder::decodeLive(const QByteArray &frame, BankPack *pack)
{
    BankPack decoded = *pack;
    try {
        LiveDecoding::decodeLiveData(frame, Frame::dataLength(frame), m_info);
        decoded.alarms = quint32(frameWord(frame, 47)) << 16 | frameWord(frame, 49);
        decoded.protections = quint32(frameWord(frame, 51)) << 16 | frameWord(frame, 53);
        decoded.faults = frameWord(frame, 55);
        const quint8 mos = frameByte(frame, 58);
        decoded.dischargeMos = mos & 1;
        decoded.chargeMos = (mos >> 1) & 1;
    } catch (const FrameError &) {
        return false;
    }
    for (int i = 0; i < BankPack::valueCount; ++i) {
        decoded.texts[std::size_t(i)] = m_info.text(*valueControls[i]);
        decoded.numbers[std::size_t(i)] = decoded.texts[std::size_t(i)].toDouble();
    }
    decoded.hasLive = true;
    *pack = decoded;
    return true;
}

QString BankPackDecoder::batteryId(const QByteArray &frame)
{
    m_info.setText(InfoField::batteryId, QString());
    try {
        IdentityDecoding::decodeText(frame, Frame::dataLength(frame), m_info, InfoField::batteryId);
    } catch (const FrameError &) {
    }
    return m_info.text(InfoField::batteryId);
}
