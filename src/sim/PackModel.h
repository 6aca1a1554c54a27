#pragma once

#include "sim/PackItems.h"
#include "sim/SettingsStore.h"

#include <QDateTime>
#include <QList>
#include <QRandomGenerator>

#include <array>
#include <optional>

// What the pack measures and reports at one moment, in the units it sends
// (mV, 10 mA, 0.1 %, 0.1 degC, 10 mAh).
struct LiveSnapshot {
    int cellCount = 0;   // the configured count, as reported
    int sensorCount = 0; // likewise
    QList<int> cellMv;   // the monitored cells (at most 32)
    QList<int> sensorDeciC;
    quint32 balancingBits = 0;
    int totalCentiV = 0;
    int currentCentiA = 0;
    int socPermille = 0;
    int sohPermille = 0;
    int maxCellMv = 0, maxCellNo = 0, minCellMv = 0, minCellNo = 0, differenceMv = 0;
    int maxDeciC = 0, maxSensorNo = 0, minDeciC = 0, minSensorNo = 0, differenceDeciC = 0;
    int averageDeciC = 0, mosDeciC = 0, ambientDeciC = 0;
    int averageCellMv = 0;
    int fullCapacityCentiAh = 0;
    int cycles = 0;
    quint32 alarms = 0;
    quint32 protections = 0;
    quint16 faults = 0;
    quint8 state1 = 0;
    quint8 state2 = 0;
    int bmsAddress = 0;
    int sofCenti = 0;
};

// A simulated lithium iron phosphate pack with its BMS firmware: a
// charge/rest/discharge/rest current cycle with load changes and short load
// peaks, cells that follow their open-circuit curve and internal resistance
// with small individual differences, temperatures that rise with the current,
// coulomb counting, passive and active balancing, alarms and protections from
// the parameter rows, MOS switching, sleep and storage.
//
// Time is given from outside (milliseconds of a monotonic clock), so the
// model is deterministic for a seed and a sequence of time stamps. The battery
// and its firmware timers run `speed` times faster than the wall clock (a
// time-lapse, so that a demonstration shows a cycle in minutes). Speed 0
// freezes the battery while its firmware timers (alarm and protection delays,
// pre-discharge) go on in real time. The calendar clock always runs in real
// time.
class PackModel {
public:
    struct Config {
        int cells = 16;
        int sensors = 4;
        double capacityAh = 100.0;
        double speed = 10.0;
        std::optional<double> fixedCurrentA; // bench supply instead of the cycle
        quint32 seed = 1;
        double startSoc = 80.0;
        int startCycles = 12;
        quint16 faults = 0; // fault bits reported throughout
        // A weak cell that has drifted from the others (1-based, 0: none), its
        // state of charge this many percent away from theirs.
        int driftCell = 0;
        double driftSocPercent = 0;
        // A sensor that reads this much warmer than the others (1-based, 0:
        // none), as on a pack with a poor thermal contact or a hot busbar.
        int hotSensor = 0;
        double hotSensorC = 0;
    };
    struct Capacity {
        double socPercent = 0;
        int cycles = 0;
        double standardAh = 0;
        double fullAh = 0;
        int attenuationCycles = 0;
    };
    enum class Phase { Charge, RestFull, Discharge, RestEmpty };
    // The measurements that the parameter rows watch.
    struct Readings {
        double maxCellV = 0, minCellV = 0, totalV = 0, currentA = 0;
        double maxC = 0, minC = 0, mosC = 0, ambientC = 0, socPercent = 0;
    };

    // The value parameter row `row` compares with its thresholds, and whether
    // it trips below them (under-voltage, low temperature, low SOC) or above.
    static double rowQuantity(int row, const Readings &readings);
    static bool rowTripsBelow(int row);
    // Which MOS a tripped protection of the row opens: 1 charge, 2 discharge.
    static int rowSides(int row);
    static double openCircuitVolts(double socPercent);

    // Highest and lowest value with their 1-based numbers (the first of equal
    // values), as the BMS reports cells and sensors.
    struct Extremes {
        int max = 0, maxNo = 0, min = 0, minNo = 0;
    };
    static Extremes extremesOf(const QList<int> &values);

    PackModel(const Config &config, qint64 nowMs, const QDateTime &clock);

    SettingsStore &settings() { return m_settings; }
    const SettingsStore &settings() const { return m_settings; }
    const Config &config() const { return m_config; }

    // Runs the pack up to `nowMs`; earlier times are ignored.
    void advanceTo(qint64 nowMs);
    // Re-evaluates balancing, alarms and protections after a settings change
    // without letting time pass.
    void reevaluate() { step(0, 0); }
    const LiveSnapshot &snapshot() const { return m_snapshot; }
    Phase phase() const { return m_phase; }
    double simSeconds() const { return m_simTime; }

    Capacity capacity() const;
    void setCapacity(const Capacity &capacity);

    // Calibration: the zero offset in 10 mA counts and the two current
    // coefficients in thousandths. The writes take the current that flows now
    // as the reference, as the real procedure does; a zero calibration under
    // load or a coefficient calibration without current in that direction is
    // ignored (returns false).
    int zeroOffsetCounts() const { return m_zeroOffsetCounts; }
    int chargeCoefficient() const { return m_chargeCoefficient; }
    int dischargeCoefficient() const { return m_dischargeCoefficient; }
    bool calibrateZero();
    bool calibrateCharge(double amps);
    bool calibrateDischarge(double amps);

    QDateTime clock(qint64 nowMs) const;
    void setClock(const QDateTime &clock, qint64 nowMs);

    // Control command: charge MOS, discharge MOS, sleep, reset, storage;
    // 0 off, 1 on or do, anything else leaves it. Any control frame that asks
    // for neither sleep nor storage wakes the pack.
    void control(quint8 charge, quint8 discharge, quint8 sleep, quint8 reset, quint8 storage);
    bool sleeping() const { return m_sleeping; }
    bool inStorage() const { return m_storage; }
    bool answersLiveReads() const { return !m_sleeping && !m_storage; }

private:
    struct Cell {
        double capacityFactor;
        double socOffset; // percent
        double resistanceOhm;
        double noiseV = 0;
    };
    struct Sensor {
        double offsetC;
        double heatFactor;
        double noiseC = 0;
    };
    struct Limit {
        double heldS = -1;     // how long the condition has held, -1 when not
        double recoveryS = -1; // likewise for the recovery condition
        bool active = false;
    };

    void step(double dt, double firmwareDt);
    double desiredCurrent(double dt);
    void applyCurrent(double desired, double dt);
    void updateMos(double dt);
    void updateCells(double dt);
    void updateBalancing(double dt);
    void evaluateLimits(double dt);
    void buildSnapshot();
    Readings readings() const;
    int monitoredCells() const;
    int monitoredSensors() const;

    Config m_config;
    SettingsStore m_settings;
    QRandomGenerator m_rng;
    std::array<Cell, PackItem::maxCells> m_cells{};
    std::array<Sensor, PackItem::maxSensors> m_sensors{};
    std::array<Limit, PackItem::paramRows> m_alarms{};
    std::array<Limit, PackItem::paramRows> m_protections{};

    qint64 m_lastMs = 0;
    double m_simTime = 0;
    QDateTime m_clockBase;
    qint64 m_clockBaseMs = 0;

    double m_soc = 0;
    int m_cycles = 0;
    double m_dischargedAh = 0;
    double m_standardAh = 0;
    double m_fullAh = 0;
    int m_attenuationCycles = 0;

    Phase m_phase = Phase::Charge;
    double m_phaseTime = 0;
    double m_blockedTime = 0;
    double m_loadFactor = 1.0;
    double m_loadChangeIn = 0;
    double m_spikeIn = 90;
    double m_spikeLeft = 0;
    double m_spikeC = 1.05;
    double m_currentNoiseA = 0;

    double m_trueCurrentA = 0;
    double m_currentA = 0; // as measured after calibration
    int m_zeroOffsetCounts = 0;
    int m_chargeCoefficient = 1000;
    int m_dischargeCoefficient = 1000;

    double m_heatC = 0;
    double m_mosHeatC = 0;
    double m_ambientNoiseC = 0;

    bool m_chargeForcedOff = false;
    bool m_dischargeForcedOff = false;
    bool m_sleeping = false;
    bool m_storage = false;
    bool m_chargeMos = true;
    bool m_dischargeMos = true;
    bool m_dischargeAllowedBefore = true; // no pre-discharge at start-up
    double m_preDischargeLeft = 0;
    bool m_limiting = false;
    bool m_activeBalancing = false;
    bool m_heating = false;
    quint32 m_balancing = 0;

    QList<double> m_cellV;
    QList<double> m_sensorC;
    LiveSnapshot m_snapshot;
};
