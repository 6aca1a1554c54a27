#include "sim/BusPack.h"

#include <QJsonArray>

#include <algorithm>

namespace {
constexpr qint64 historyEndsBeforeStartS = 60;

QString phaseName(PackModel::Phase phase)
{
    switch (phase) {
    case PackModel::Phase::Charge:
        return QStringLiteral("charge");
    case PackModel::Phase::RestFull:
        return QStringLiteral("rest after charge");
    case PackModel::Phase::Discharge:
        return QStringLiteral("discharge");
    case PackModel::Phase::RestEmpty:
        return QStringLiteral("rest after discharge");
    }
    return {};
}

QJsonArray toJson(const QList<int> &values)
{
    QJsonArray a;
    for (int v : values)
        a.append(v);
    return a;
}
} // namespace

BusPack::BusPack(const SimOptions::PackSpec &spec, const SimOptions &options, qint64 nowMs,
                 const QDateTime &clock)
    : m_spec(spec), m_protocol(quint8(options.protocol)),
      m_model(std::make_unique<PackModel>(spec.pack, nowMs, clock))
{
    m_history = std::make_unique<HistoryLog>(options.records, *m_model,
                                             clock.addSecs(-historyEndsBeforeStartS));
    Responder::Options r;
    r.address = quint8(spec.address);
    r.protocol = m_protocol;
    r.lineUsart = options.lineUsart;
    r.normalLine = options.line;
    m_responder = std::make_unique<Responder>(*m_model, *m_history, r);
}

bool BusPack::silentAt(qint64 nowMs) const
{
    if (!m_spec.offline)
        return false;
    if (m_spec.offlinePeriodMs <= 0)
        return true;
    return (std::max<qint64>(0, nowMs) / m_spec.offlinePeriodMs) % 2 == 0;
}

Responder::Outcome BusPack::handle(const QByteArray &request, qint64 nowMs)
{
    ++m_requests;
    if (silentAt(nowMs)) {
        ++m_silenced;
        m_model->advanceTo(nowMs);
        Responder::Outcome out;
        out.forUs = true;
        out.note = QStringLiteral("pack at address %1 is offline: no answer").arg(address());
        return out;
    }
    Responder::Outcome out = m_responder->handle(request, nowMs);
    if (!out.reply.isEmpty())
        ++m_answers;
    return out;
}

QByteArray BusPack::collide(const QByteArray &a, const QByteArray &b)
{
    const QByteArray &longer = a.size() >= b.size() ? a : b;
    const QByteArray &shorter = a.size() >= b.size() ? b : a;
    QByteArray line = longer;
    for (qsizetype i = 0; i < shorter.size(); ++i)
        line[i] = char(quint8(longer[i]) & quint8(shorter[i]));
    return line;
}

QJsonObject BusPack::status(qint64 nowMs, bool clashing) const
{
    const LiveSnapshot &s = m_model->snapshot();
    const QByteArray id = m_model->settings().read(PackItem::batteryId);
    const qsizetype end = id.indexOf('\0');
    return QJsonObject{
        {QStringLiteral("address"), m_spec.address},
        {QStringLiteral("batteryId"), QString::fromLatin1(end < 0 ? id : id.left(end))},
        {QStringLiteral("offline"), silentAt(nowMs)},
        {QStringLiteral("offlinePeriodMs"), m_spec.offline ? m_spec.offlinePeriodMs : -1},
        {QStringLiteral("clash"), clashing},
        {QStringLiteral("requests"), double(m_requests)},
        {QStringLiteral("answers"), double(m_answers)},
        {QStringLiteral("silenced"), double(m_silenced)},
        {QStringLiteral("records"), m_history->count()},
        {QStringLiteral("pack"),
         QJsonObject{{QStringLiteral("phase"), phaseName(m_model->phase())},
                     {QStringLiteral("sleeping"), m_model->sleeping()},
                     {QStringLiteral("storage"), m_model->inStorage()},
                     {QStringLiteral("socPermille"), s.socPermille},
                     {QStringLiteral("currentCentiA"), s.currentCentiA},
                     {QStringLiteral("totalCentiV"), s.totalCentiV},
                     {QStringLiteral("cycles"), s.cycles},
                     {QStringLiteral("cellCount"), s.cellCount},
                     {QStringLiteral("sensorCount"), s.sensorCount},
                     {QStringLiteral("cellMv"), toJson(s.cellMv)},
                     {QStringLiteral("differenceMv"), s.differenceMv},
                     {QStringLiteral("sensorDeciC"), toJson(s.sensorDeciC)},
                     {QStringLiteral("balancingBits"), double(s.balancingBits)},
                     {QStringLiteral("alarms"), double(s.alarms)},
                     {QStringLiteral("protections"), double(s.protections)},
                     {QStringLiteral("faults"), s.faults},
                     {QStringLiteral("state1"), s.state1},
                     {QStringLiteral("state2"), s.state2}}}};
}
