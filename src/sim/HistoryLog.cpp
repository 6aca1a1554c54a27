#include "sim/HistoryLog.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// The cycle the pack went through before start-up: charge, rest, discharge,
// rest, in seconds.
constexpr double chargeEndS = 7200;
constexpr double restFullEndS = 9000;
constexpr double dischargeEndS = 19800;
constexpr double cycleS = 21600;
constexpr double lowSoc = 15;
constexpr double highSoc = 97;

quint64 splitmix(quint64 x)
{
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

} // namespace

HistoryLog::HistoryLog(int count, const PackModel &pack, const QDateTime &newest)
    : m_count(std::clamp(count, 0, maxRecords)), m_config(pack.config()),
      m_settings(pack.settings()), m_newest(newest), m_newestCycles(pack.capacity().cycles),
      m_attenuationCycles(pack.capacity().attenuationCycles),
      m_capacityAh(std::max(pack.capacity().fullAh, 0.01))
{
}

double HistoryLog::hash(int index, int salt) const
{
    const quint64 h = splitmix(splitmix(quint64(m_config.seed) << 32 | quint32(index)) ^
                               quint64(salt) * 0x2545F4914F6CDD1Dull);
    return double(h >> 11) / double(1ull << 53);
}

std::optional<HistoryRecord> HistoryLog::record(int index) const
{
    if (index < 0 || index >= m_count)
        return std::nullopt;

    HistoryRecord rec;
    rec.number = index + 1;
    const qint64 ageS = qint64(m_count - 1 - index) * intervalS;
    // A little jitter, less than the interval, keeps the times plausible and
    // still in order.
    const int jitterS = int(hash(index, 1) * 40) - 20;
    rec.time = m_newest.addSecs(-ageS + jitterS);

    // Where in the cycle the record fell, counted back from the newest.
    const double position = std::fmod(std::fmod(12000.0 - double(ageS), cycleS) + cycleS, cycleS);
    const double c = m_config.capacityAh;
    double soc = lowSoc;
    double current = 0;
    bool charger = false;
    bool load = false;
    if (position < chargeEndS) {
        soc = lowSoc + (highSoc - lowSoc) * position / chargeEndS;
        current = 0.5 * c * std::clamp((99.0 - soc) / 6.0, 0.08, 1.0);
        charger = true;
    } else if (position < restFullEndS) {
        soc = highSoc;
    } else if (position < dischargeEndS) {
        soc = highSoc -
              (highSoc - lowSoc) * (position - restFullEndS) / (dischargeEndS - restFullEndS);
        // Now and then the record caught a load peak.
        current = hash(index, 2) < 0.05 ? -1.05 * c : -0.35 * c * (0.7 + 0.6 * hash(index, 3));
        load = true;
    }
    const int cycles = std::max(0, m_newestCycles - int(ageS / cycleS));

    const SettingsStore::Counts counts = m_settings.counts();
    const int cells = std::clamp(counts.cells, 1, int(PackItem::maxCells));
    const int sensors = std::clamp(counts.sensors, 1, int(PackItem::maxSensors));

    PackModel::Readings r;
    r.currentA = current;
    r.socPercent = soc;
    QList<int> cellMv(cells);
    int totalMv = 0;
    for (int i = 0; i < cells; ++i) {
        // Fixed per-cell differences (the same for every record) plus noise.
        const double offset = (hash(-1 - i, 4) - 0.5) * 3.0;
        const double resistance = 0.0008 + 0.0005 * hash(-1 - i, 5);
        const double v = PackModel::openCircuitVolts(soc + offset) + current * resistance +
                         (hash(index, 100 + i) - 0.5) * 0.002;
        cellMv[i] = int(std::lround(v * 1000));
        totalMv += cellMv[i];
    }
    const double hour = rec.time.time().msecsSinceStartOfDay() / 3600000.0;
    r.ambientC = 20.0 + 6.0 * std::sin(2 * std::numbers::pi * (hour - 9.0) / 24.0);
    const double heat = 8.0 * current * current / (0.25 * c * c) * 0.7;
    r.mosC = r.ambientC + 1.5 + heat * 1.5;
    QList<int> sensorDeciC(sensors);
    for (int j = 0; j < sensors; ++j) {
        const double t =
            r.ambientC + heat * (0.8 + 0.4 * hash(-1 - j, 6)) + (hash(index, 200 + j) - 0.5) * 0.4;
        sensorDeciC[j] = int(std::lround(t * 10));
    }
    const PackModel::Extremes cellExtremes = PackModel::extremesOf(cellMv);
    const PackModel::Extremes sensorExtremes = PackModel::extremesOf(sensorDeciC);
    r.maxCellV = cellExtremes.max / 1000.0;
    r.minCellV = cellExtremes.min / 1000.0;
    r.totalV = totalMv / 1000.0;
    r.maxC = sensorExtremes.max / 10.0;
    r.minC = sensorExtremes.min / 10.0;

    int blockedSides = 0;
    for (int row = 0; row < PackItem::paramRows; ++row) {
        const SettingsStore::ParamRow p = m_settings.paramRow(row);
        const double q = PackModel::rowQuantity(row, r);
        const bool below = PackModel::rowTripsBelow(row);
        if (p.alarmEnabled && (below ? q < p.alarm : q > p.alarm))
            rec.alarms |= 1u << row;
        if (p.protectionEnabled && (below ? q < p.protection : q > p.protection)) {
            rec.protections |= 1u << row;
            blockedSides |= PackModel::rowSides(row);
        }
    }
    rec.faults = m_config.faults;
    rec.type = (rec.alarms || rec.protections || rec.faults) ? 2 : 1;

    rec.totalCentiV = int(std::lround(totalMv / 10.0));
    rec.currentCentiA = int(std::lround(current * 100));
    rec.socPermille = int(std::lround(soc * 10));
    rec.sohPercent = m_attenuationCycles > 0
                         ? int(std::clamp(100.0 - 20.0 * cycles / m_attenuationCycles, 0.0, 100.0))
                         : 100;
    rec.maxCellMv = cellExtremes.max;
    rec.maxCellNo = cellExtremes.maxNo;
    rec.minCellMv = cellExtremes.min;
    rec.minCellNo = cellExtremes.minNo;
    rec.differenceMv = rec.maxCellMv - rec.minCellMv;
    rec.maxDeciC = sensorExtremes.max;
    rec.maxSensorNo = sensorExtremes.maxNo;
    rec.minDeciC = sensorExtremes.min;
    rec.minSensorNo = sensorExtremes.minNo;
    rec.state1 = quint8(1 | (current > 0 ? 0x02 : 0) | (current < 0 ? 0x04 : 0));
    rec.state2 = quint8((blockedSides & 2 ? 0 : 0x01) | (blockedSides & 1 ? 0 : 0x02) |
                        (charger ? 0x20 : 0) | (load ? 0x40 : 0));
    return rec;
}
