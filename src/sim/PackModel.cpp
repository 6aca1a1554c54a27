#include "sim/PackModel.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Open-circuit voltage of an LFP cell over its state of charge: steep at both
// ends, flat in the middle, which is why balancing shows at the top of charge.
struct OcvPoint {
    double soc;
    double volts;
};
constexpr OcvPoint ocvCurve[] = {{0, 2.50},  {3, 2.90},  {8, 3.10},  {15, 3.20}, {30, 3.26},
                                 {50, 3.29}, {70, 3.31}, {85, 3.33}, {92, 3.35}, {96, 3.38},
                                 {98, 3.42}, {99, 3.48}, {100, 3.55}};

} // namespace

double PackModel::openCircuitVolts(double soc)
{
    soc = std::clamp(soc, 0.0, 100.0);
    for (size_t i = 1; i < std::size(ocvCurve); ++i) {
        const OcvPoint &a = ocvCurve[i - 1];
        const OcvPoint &b = ocvCurve[i];
        if (soc <= b.soc)
            return a.volts + (b.volts - a.volts) * (soc - a.soc) / (b.soc - a.soc);
    }
    return ocvCurve[std::size(ocvCurve) - 1].volts;
}

namespace {

// How each parameter row is measured and what its protection switches off.
enum Side { ChargeSide = 1, DischargeSide = 2, BothSides = 3 };
struct RowBehaviour {
    bool under; // trips below the threshold (else above)
    int side;
};
constexpr RowBehaviour rowBehaviour[PackItem::paramRows] = {
    {false, ChargeSide},    // Cell_OV
    {true, DischargeSide},  // Cell_UV
    {false, ChargeSide},    // Total_OV
    {true, DischargeSide},  // Total_UV
    {false, DischargeSide}, // Discharge_OC1
    {false, DischargeSide}, // Discharge_OC2
    {false, ChargeSide},    // Charge_OC
    {false, ChargeSide},    // Charge_OT
    {false, DischargeSide}, // Discharge_OT
    {true, ChargeSide},     // Charge_UT
    {true, DischargeSide},  // Discharge_UT
    {false, BothSides},     // MOS_OT
    {true, DischargeSide},  // SOC_UC
    {false, BothSides},     // Environment_OT
    {true, BothSides},      // Environment_UT
    {false, BothSides},     // Cell_DIFT
    {false, BothSides},     // Cell_DIFV
};

constexpr double maxSubstepS = 0.5;
constexpr int maxSubsteps = 20000;
constexpr double restS = 300;
constexpr double blockedGiveUpS = 120;
constexpr double flowingA = 0.1;
constexpr double bleedA = 0.06;
constexpr double activeTransferA = 1.0;
constexpr double heatTauS = 900;
constexpr double mosHeatTauS = 300;

double uniform(QRandomGenerator &rng, double low, double high)
{
    return low + (high - low) * rng.generateDouble();
}

// A cheap bell-shaped noise sample in [-1, 1].
double noise(QRandomGenerator &rng)
{
    return (rng.generateDouble() + rng.generateDouble() + rng.generateDouble()) / 1.5 - 1.0;
}

} // namespace

PackModel::PackModel(const Config &config, qint64 nowMs, const QDateTime &clock)
    : m_config(config), m_settings({config.cells, config.sensors, config.capacityAh, config.seed}),
      m_rng(config.seed), m_lastMs(nowMs), m_clockBase(clock), m_clockBaseMs(nowMs),
      m_soc(config.startSoc), m_cycles(config.startCycles), m_standardAh(config.capacityAh),
      m_fullAh(config.capacityAh), m_attenuationCycles(3000)
{
    for (Cell &c : m_cells) {
        c.capacityFactor = uniform(m_rng, 0.97, 1.03);
        c.socOffset = uniform(m_rng, -1.0, 1.0);
        c.resistanceOhm = uniform(m_rng, 0.0008, 0.0013);
    }
    for (Sensor &s : m_sensors) {
        s.offsetC = uniform(m_rng, -0.6, 0.6);
        s.heatFactor = uniform(m_rng, 0.8, 1.2);
    }
    // After the random draws, so that a pack without them keeps its sequence.
    if (config.driftCell >= 1 && config.driftCell <= int(m_cells.size()))
        m_cells[config.driftCell - 1].socOffset += config.driftSocPercent;
    if (config.hotSensor >= 1 && config.hotSensor <= int(m_sensors.size()))
        m_sensors[config.hotSensor - 1].offsetC += config.hotSensorC;
    m_loadFactor = uniform(m_rng, 0.85, 1.15);
    m_spikeIn = uniform(m_rng, 30, 120);
    step(0, 0);
}

int PackModel::monitoredCells() const
{
    return std::clamp(m_settings.counts().cells, 1, int(PackItem::maxCells));
}

int PackModel::monitoredSensors() const
{
    return std::clamp(m_settings.counts().sensors, 1, int(PackItem::maxSensors));
}

void PackModel::advanceTo(qint64 nowMs)
{
    if (nowMs <= m_lastMs)
        return;
    const double wallS = (nowMs - m_lastMs) / 1000.0;
    m_lastMs = nowMs;
    const double simS = wallS * m_config.speed;
    // A frozen battery still has a running firmware.
    const double firmwareS = m_config.speed > 0 ? simS : wallS;
    int steps = int(std::ceil(firmwareS / maxSubstepS));
    steps = std::clamp(steps, 1, maxSubsteps);
    for (int i = 0; i < steps; ++i)
        step(simS / steps, firmwareS / steps);
}

double PackModel::desiredCurrent(double dt)
{
    const double c = m_config.capacityAh;
    if (m_config.fixedCurrentA)
        return *m_config.fixedCurrentA;
    if (!answersLiveReads())
        return 0;

    m_phaseTime += dt;
    switch (m_phase) {
    case Phase::Charge:
        if (m_soc >= 98.5 || m_blockedTime >= blockedGiveUpS) {
            m_phase = Phase::RestFull;
            m_phaseTime = 0;
            m_blockedTime = 0;
            return 0;
        }
        // Constant current, tapering towards full as a CC/CV charger does.
        return 0.5 * c * std::clamp((99.0 - m_soc) / 6.0, 0.08, 1.0);
    case Phase::RestFull:
        if (m_phaseTime >= restS) {
            m_phase = Phase::Discharge;
            m_phaseTime = 0;
        }
        return 0;
    case Phase::Discharge: {
        if (m_soc <= 12.0 || m_blockedTime >= blockedGiveUpS) {
            m_phase = Phase::RestEmpty;
            m_phaseTime = 0;
            m_blockedTime = 0;
            return 0;
        }
        m_loadChangeIn -= dt;
        if (m_loadChangeIn <= 0) {
            m_loadFactor = std::clamp(m_loadFactor + uniform(m_rng, -0.12, 0.12), 0.7, 1.3);
            m_loadChangeIn = 10;
        }
        if (m_spikeLeft > 0) {
            m_spikeLeft -= dt;
            return -m_spikeC * c;
        }
        m_spikeIn -= dt;
        if (m_spikeIn <= 0) {
            m_spikeLeft = uniform(m_rng, 3, 8);
            m_spikeC = uniform(m_rng, 1.02, 1.08);
            m_spikeIn = uniform(m_rng, 60, 240);
        }
        return -0.35 * c * m_loadFactor;
    }
    case Phase::RestEmpty:
        if (m_phaseTime >= restS) {
            m_phase = Phase::Charge;
            m_phaseTime = 0;
        }
        return 0;
    }
    return 0;
}

void PackModel::updateMos(double dt)
{
    int blockedSides = 0;
    for (int r = 0; r < PackItem::paramRows; ++r)
        if (m_protections[r].active)
            blockedSides |= rowBehaviour[r].side;
    const bool awake = answersLiveReads();
    m_chargeMos = awake && !m_chargeForcedOff && !(blockedSides & ChargeSide);

    // The discharge MOS closes only after the pre-discharge MOS has charged
    // the load's capacitors for the configured time.
    const bool dischargeAllowed = awake && !m_dischargeForcedOff && !(blockedSides & DischargeSide);
    if (dischargeAllowed && !m_dischargeAllowedBefore) {
        const SettingsStore::PreDischarge pre = m_settings.preDischarge();
        m_preDischargeLeft = pre.option == 1 ? pre.timeS : 0;
    }
    if (!dischargeAllowed)
        m_preDischargeLeft = 0;
    m_dischargeAllowedBefore = dischargeAllowed;
    if (m_preDischargeLeft > 0)
        m_preDischargeLeft -= dt;
    m_dischargeMos = dischargeAllowed && m_preDischargeLeft <= 0;
}

void PackModel::applyCurrent(double desired, double dt)
{
    double current = desired;
    m_limiting = false;
    if (current > 0) {
        if (!m_chargeMos)
            current = 0;
        const SettingsStore::CurrentLimiting limit = m_settings.currentLimiting();
        if (limit.enabled && current > limit.thresholdA) {
            current = limit.thresholdA;
            m_limiting = true;
        }
    } else if (current < 0 && !m_dischargeMos) {
        current = 0;
    }
    if (!m_config.fixedCurrentA && desired != 0 && current == 0)
        m_blockedTime += dt;
    else if (current != 0)
        m_blockedTime = 0;

    if (dt > 0 && !m_config.fixedCurrentA && current != 0)
        m_currentNoiseA = 0.02 * noise(m_rng) * m_config.capacityAh / 100.0;
    else if (current == 0)
        m_currentNoiseA = 0;
    m_trueCurrentA = current == 0 ? 0 : current + m_currentNoiseA;

    // What the BMS measures: offset-corrected, then scaled by the coefficient
    // of the direction.
    const double uncalibrated = m_trueCurrentA - m_zeroOffsetCounts / 100.0;
    m_currentA =
        uncalibrated * (uncalibrated >= 0 ? m_chargeCoefficient : m_dischargeCoefficient) / 1000.0;
}

void PackModel::step(double dt, double firmwareDt)
{
    m_simTime += dt;
    updateMos(firmwareDt);
    const double desired = desiredCurrent(dt);
    applyCurrent(desired, dt);

    const double fullAh = std::max(m_fullAh, 0.01);
    m_soc = std::clamp(m_soc + m_currentA * dt / 3600.0 / fullAh * 100.0, 0.0, 100.0);
    if (m_currentA < 0) {
        m_dischargedAh += -m_currentA * dt / 3600.0;
        while (m_dischargedAh >= fullAh) {
            m_dischargedAh -= fullAh;
            ++m_cycles;
        }
    }

    const double c = m_config.capacityAh;
    const double heatPerA2 = 8.0 / (0.25 * c * c);
    const double mosHeatPerA2 = 12.0 / (0.25 * c * c);
    const double i2 = m_currentA * m_currentA;
    m_heatC += (heatPerA2 * i2 + (m_heating ? 6.0 : 0.0) - m_heatC) * std::min(1.0, dt / heatTauS);
    m_mosHeatC += (mosHeatPerA2 * i2 - m_mosHeatC) * std::min(1.0, dt / mosHeatTauS);

    updateCells(dt);
    updateBalancing(dt);
    evaluateLimits(firmwareDt);

    // A protection that has just tripped opens its MOS at once, so what is
    // reported (MOS bits, current, voltages) agrees with it.
    const bool chargeMos = m_chargeMos;
    const bool dischargeMos = m_dischargeMos;
    updateMos(0);
    if (chargeMos != m_chargeMos || dischargeMos != m_dischargeMos) {
        applyCurrent(desired, 0);
        updateCells(0);
    }
    buildSnapshot();
}

void PackModel::updateCells(double dt)
{
    const int n = monitoredCells();
    m_cellV.resize(n);
    for (int i = 0; i < n; ++i) {
        Cell &cell = m_cells[i];
        if (dt > 0)
            cell.noiseV = 0.0006 * noise(m_rng);
        const double cellSoc = 50.0 + (m_soc - 50.0) / cell.capacityFactor + cell.socOffset;
        // The BMS measures in whole millivolts.
        m_cellV[i] =
            std::round((openCircuitVolts(cellSoc) + m_currentA * cell.resistanceOhm + cell.noiseV) *
                       1000.0) /
            1000.0;
    }

    const double ambient =
        24.0 + 3.0 * std::sin(2 * std::numbers::pi * m_simTime / 86400.0) + m_ambientNoiseC;
    if (dt > 0)
        m_ambientNoiseC = 0.1 * noise(m_rng);
    const int sensors = monitoredSensors();
    m_sensorC.resize(sensors);
    for (int j = 0; j < sensors; ++j) {
        Sensor &s = m_sensors[j];
        if (dt > 0)
            s.noiseC = 0.05 * noise(m_rng);
        m_sensorC[j] = ambient + m_heatC * s.heatFactor + s.offsetC + s.noiseC;
    }
    m_snapshot.ambientDeciC = int(std::lround(ambient * 10));
    m_snapshot.mosDeciC = int(std::lround((ambient + 1.5 + m_mosHeatC) * 10));
}

void PackModel::updateBalancing(double dt)
{
    // In whole millivolts, as the firmware compares them.
    const auto mv = [](double volts) { return int(std::lround(volts * 1000)); };
    const int n = int(m_cellV.size());
    const int minMv = mv(*std::min_element(m_cellV.cbegin(), m_cellV.cend()));
    const SettingsStore::PassiveBalancing passive = m_settings.passiveBalancing();
    const int openMv = mv(passive.openV);
    const int closeMv = mv(passive.closeV);
    const int differenceMv = mv(passive.differenceV);
    quint32 bits = 0;
    for (int i = 0; i < n; ++i) {
        const bool was = m_balancing & (1u << i);
        const int v = mv(m_cellV[i]);
        const int spread = v - minMv;
        const bool on = passive.enabled && (was ? v >= closeMv && 2 * spread >= differenceMv
                                                : v >= openMv && spread >= differenceMv);
        if (on) {
            bits |= 1u << i;
            m_cells[i].socOffset -= bleedA * dt / 3600.0 / std::max(m_fullAh, 0.01) * 100.0;
        }
    }
    m_balancing = bits;

    const SettingsStore::ActivePhase activePhase =
        m_currentA > flowingA    ? SettingsStore::ActiveCharge
        : m_currentA < -flowingA ? SettingsStore::ActiveDischarge
                                 : SettingsStore::ActiveRest;
    const SettingsStore::ActiveGroup group = m_settings.activeGroup(activePhase);
    const auto [lo, hi] = std::minmax_element(m_cellV.cbegin(), m_cellV.cend());
    const double spread = *hi - *lo;
    if (!group.enabled || !answersLiveReads())
        m_activeBalancing = false;
    else if (!m_activeBalancing)
        m_activeBalancing = *hi >= group.openV && spread >= group.openDifferenceV;
    else
        m_activeBalancing = *hi >= group.closeV && spread >= group.closeDifferenceV;
    if (m_activeBalancing && dt > 0) {
        const double moved = activeTransferA * dt / 3600.0 / std::max(m_fullAh, 0.01) * 100.0;
        m_cells[hi - m_cellV.cbegin()].socOffset -= moved;
        m_cells[lo - m_cellV.cbegin()].socOffset += moved;
    }
}

PackModel::Readings PackModel::readings() const
{
    Readings r;
    const auto [minV, maxV] = std::minmax_element(m_cellV.cbegin(), m_cellV.cend());
    const auto [minT, maxT] = std::minmax_element(m_sensorC.cbegin(), m_sensorC.cend());
    r.maxCellV = *maxV;
    r.minCellV = *minV;
    for (double v : m_cellV)
        r.totalV += v;
    r.currentA = m_currentA;
    r.maxC = *maxT;
    r.minC = *minT;
    r.mosC = m_snapshot.mosDeciC / 10.0;
    r.ambientC = m_snapshot.ambientDeciC / 10.0;
    r.socPercent = m_soc;
    return r;
}

double PackModel::rowQuantity(int row, const Readings &r)
{
    switch (row) {
    case 0:
        return r.maxCellV;
    case 1:
        return r.minCellV;
    case 2:
    case 3:
        return r.totalV;
    case 4:
    case 5:
        return std::max(0.0, -r.currentA);
    case 6:
        return std::max(0.0, r.currentA);
    case 7:
    case 8:
        return r.maxC;
    case 9:
    case 10:
        return r.minC;
    case 11:
        return r.mosC;
    case 12:
        return r.socPercent;
    case 13:
    case 14:
        return r.ambientC;
    case 15:
        return r.maxC - r.minC;
    default:
        return r.maxCellV - r.minCellV;
    }
}

bool PackModel::rowTripsBelow(int row)
{
    return rowBehaviour[row].under;
}

PackModel::Extremes PackModel::extremesOf(const QList<int> &values)
{
    if (values.isEmpty())
        return {};
    const auto lo = std::min_element(values.cbegin(), values.cend());
    const auto hi = std::max_element(values.cbegin(), values.cend());
    return {*hi, int(hi - values.cbegin()) + 1, *lo, int(lo - values.cbegin()) + 1};
}

int PackModel::rowSides(int row)
{
    return rowBehaviour[row].side;
}

void PackModel::evaluateLimits(double dt)
{
    const Readings now = readings();
    for (int r = 0; r < PackItem::paramRows; ++r) {
        const SettingsStore::ParamRow p = m_settings.paramRow(r);
        const bool under = rowBehaviour[r].under;
        const double q = rowQuantity(r, now);
        const auto beyond = [&](double threshold) { return under ? q < threshold : q > threshold; };
        // A condition counts from the first evaluation that sees it and is
        // confirmed once it has held for the delay.
        const auto hold = [dt](double &held, bool condition) {
            held = condition ? (held < 0 ? 0 : held + dt) : -1;
        };

        Limit &alarm = m_alarms[r];
        hold(alarm.heldS, p.alarmEnabled && beyond(p.alarm));
        alarm.active = alarm.heldS >= 0 && alarm.heldS >= p.alarmDelayS;

        Limit &prot = m_protections[r];
        if (!p.protectionEnabled) {
            prot = Limit{};
            continue;
        }
        if (!prot.active) {
            hold(prot.heldS, beyond(p.protection));
            if (prot.heldS >= 0 && prot.heldS >= p.protectionDelayS) {
                prot.active = true;
                prot.heldS = -1;
                prot.recoveryS = -1;
            }
        } else {
            const bool recovered = under ? q > p.recovery : q < p.recovery;
            hold(prot.recoveryS, recovered);
            if (prot.recoveryS >= 0 && prot.recoveryS >= p.protectionDelayS) {
                prot.active = false;
                prot.recoveryS = -1;
            }
        }
    }
    m_heating = !m_sensorC.isEmpty() &&
                *std::min_element(m_sensorC.cbegin(), m_sensorC.cend()) < 2.0 &&
                (m_config.fixedCurrentA ? *m_config.fixedCurrentA > 0 : m_phase == Phase::Charge);
}

void PackModel::buildSnapshot()
{
    LiveSnapshot &s = m_snapshot;
    const SettingsStore::Counts counts = m_settings.counts();
    s.cellCount = counts.cells;
    s.sensorCount = counts.sensors;

    // The pack voltage is the sum of the cells as the BMS reports them, so the
    // numbers on the screen add up.
    s.cellMv.resize(m_cellV.size());
    int totalMv = 0;
    for (int i = 0; i < m_cellV.size(); ++i) {
        s.cellMv[i] = int(std::lround(m_cellV[i] * 1000));
        totalMv += s.cellMv[i];
    }
    const Extremes cells = extremesOf(s.cellMv);
    s.maxCellMv = cells.max;
    s.maxCellNo = cells.maxNo;
    s.minCellMv = cells.min;
    s.minCellNo = cells.minNo;
    s.differenceMv = s.maxCellMv - s.minCellMv;
    s.totalCentiV = int(std::lround(totalMv / 10.0));
    s.averageCellMv = int(std::lround(double(totalMv) / m_cellV.size()));

    s.sensorDeciC.resize(m_sensorC.size());
    double sum = 0;
    for (int j = 0; j < m_sensorC.size(); ++j) {
        s.sensorDeciC[j] = int(std::lround(m_sensorC[j] * 10));
        sum += m_sensorC[j];
    }
    const Extremes sensors = extremesOf(s.sensorDeciC);
    s.maxDeciC = sensors.max;
    s.maxSensorNo = sensors.maxNo;
    s.minDeciC = sensors.min;
    s.minSensorNo = sensors.minNo;
    s.differenceDeciC = s.maxDeciC - s.minDeciC;
    s.averageDeciC = int(std::lround(sum * 10 / m_sensorC.size()));

    s.balancingBits = m_balancing;
    s.currentCentiA = int(std::lround(m_currentA * 100));
    s.socPermille = int(std::lround(m_soc * 10));
    const double soh = m_attenuationCycles > 0
                           ? std::clamp(100.0 - 20.0 * m_cycles / m_attenuationCycles, 0.0, 100.0)
                           : 100.0;
    s.sohPermille = int(std::lround(soh * 10));
    s.fullCapacityCentiAh = int(std::lround(m_fullAh * 100));
    s.cycles = m_cycles;

    s.alarms = 0;
    s.protections = 0;
    for (int r = 0; r < PackItem::paramRows; ++r) {
        if (m_alarms[r].active)
            s.alarms |= 1u << r;
        if (m_protections[r].active)
            s.protections |= 1u << r;
    }
    s.faults = m_config.faults;

    const bool charging = m_currentA > flowingA;
    const bool discharging = m_currentA < -flowingA;
    const bool chargerConnected =
        m_config.fixedCurrentA ? *m_config.fixedCurrentA > 0 : m_phase == Phase::Charge;
    const bool loadConnected =
        m_config.fixedCurrentA ? *m_config.fixedCurrentA < 0 : m_phase == Phase::Discharge;
    s.state1 = quint8(1 | (charging ? 0x02 : 0) | (discharging ? 0x04 : 0) |
                      (m_activeBalancing ? 0x08 : 0) | (m_limiting ? 0x10 : 0) |
                      (m_dischargeForcedOff ? 0x20 : 0) | (m_chargeForcedOff ? 0x40 : 0));
    s.state2 = quint8((m_dischargeMos ? 0x01 : 0) | (m_chargeMos ? 0x02 : 0) |
                      (m_preDischargeLeft > 0 ? 0x04 : 0) | (m_heating ? 0x08 : 0) |
                      (chargerConnected ? 0x20 : 0) | (loadConnected ? 0x40 : 0));
    s.bmsAddress = m_settings.currentLimiting().bmsAddress;

    const double coldFactor = s.minDeciC < 0 ? 0.5 : 1.0;
    s.sofCenti = int(std::lround(10000 * std::clamp(m_soc / 20.0, 0.0, 1.0) * coldFactor));
}

PackModel::Capacity PackModel::capacity() const
{
    return {m_soc, m_cycles, m_standardAh, m_fullAh, m_attenuationCycles};
}

void PackModel::setCapacity(const Capacity &capacity)
{
    m_soc = std::clamp(capacity.socPercent, 0.0, 100.0);
    m_cycles = capacity.cycles;
    m_standardAh = capacity.standardAh;
    m_fullAh = capacity.fullAh;
    m_attenuationCycles = capacity.attenuationCycles;
    m_dischargedAh = 0;
    step(0, 0);
}

bool PackModel::calibrateZero()
{
    // Only with (almost) no current: an offset taken under load would skew
    // every later reading.
    if (std::abs(m_trueCurrentA) > 2.0)
        return false;
    m_zeroOffsetCounts = int(std::lround(m_trueCurrentA * 100));
    step(0, 0);
    return true;
}

bool PackModel::calibrateCharge(double amps)
{
    const double measured = m_trueCurrentA - m_zeroOffsetCounts / 100.0;
    if (measured < 0.5 || amps <= 0)
        return false;
    m_chargeCoefficient = std::clamp(int(std::lround(1000 * amps / measured)), 1, 65535);
    step(0, 0);
    return true;
}

bool PackModel::calibrateDischarge(double amps)
{
    const double measured = -(m_trueCurrentA - m_zeroOffsetCounts / 100.0);
    amps = std::abs(amps);
    if (measured < 0.5 || amps <= 0)
        return false;
    m_dischargeCoefficient = std::clamp(int(std::lround(1000 * amps / measured)), 1, 65535);
    step(0, 0);
    return true;
}

QDateTime PackModel::clock(qint64 nowMs) const
{
    return m_clockBase.addMSecs(nowMs - m_clockBaseMs);
}

void PackModel::setClock(const QDateTime &clock, qint64 nowMs)
{
    m_clockBase = clock;
    m_clockBaseMs = nowMs;
}

void PackModel::control(quint8 charge, quint8 discharge, quint8 sleep, quint8 reset, quint8 storage)
{
    if (reset == 1) {
        m_chargeForcedOff = false;
        m_dischargeForcedOff = false;
        m_sleeping = false;
        m_storage = false;
        m_alarms.fill(Limit{});
        m_protections.fill(Limit{});
        m_dischargeAllowedBefore = false;
    }
    if (charge <= 1)
        m_chargeForcedOff = charge == 0;
    if (discharge <= 1)
        m_dischargeForcedOff = discharge == 0;
    if (storage == 1)
        m_storage = true;
    else if (sleep == 1)
        m_sleeping = true;
    else {
        m_sleeping = false;
        m_storage = false;
    }
    step(0, 0);
}
