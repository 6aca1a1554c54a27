#pragma once

#include "sim/PackModel.h"

#include <QDateTime>

#include <optional>

// One record of the pack's flash history, in the units it sends.
struct HistoryRecord {
    int number = 0;
    int type = 0; // 1 periodic, 2 with an alarm, protection or fault
    QDateTime time;
    int totalCentiV = 0;
    int currentCentiA = 0;
    int socPermille = 0;
    int sohPercent = 0;
    int maxCellMv = 0, maxCellNo = 0, minCellMv = 0, minCellNo = 0, differenceMv = 0;
    int maxDeciC = 0, maxSensorNo = 0, minDeciC = 0, minSensorNo = 0;
    quint32 alarms = 0;
    quint32 protections = 0;
    quint16 faults = 0;
    quint8 state1 = 0;
    quint8 state2 = 0;
};

// The history a pack has written to its flash before the simulation started:
// a record every quarter of an hour over past charge/discharge cycles, the
// newest just before start-up. Record i (0 = oldest) carries number i + 1.
// Each record is worked out from its index alone (and the seed), so even the
// largest history costs neither start-up time nor memory.
class HistoryLog {
public:
    static constexpr int maxRecords = 65535; // record numbers are 16 bits
    static constexpr int intervalS = 900;

    // Thresholds and counts are taken from the pack as it is at start-up.
    HistoryLog(int count, const PackModel &pack, const QDateTime &newest);

    int count() const { return m_count; }
    std::optional<HistoryRecord> record(int index) const;

private:
    double hash(int index, int salt) const;

    int m_count;
    PackModel::Config m_config;
    SettingsStore m_settings;
    QDateTime m_newest;
    int m_newestCycles;
    int m_attenuationCycles;
    double m_capacityAh;
};
