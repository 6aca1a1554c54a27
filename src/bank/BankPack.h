#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

#include <array>

// What the bank page knows of one pack on the line: its identity, the last
// live values it sent (as the information page shows them: the texts the
// live-data decoder writes) and whether it still answers. A plain copy, so a
// view, the recorder and a chart can keep one without holding the poller.
struct BankPack {
    Q_DECLARE_TR_FUNCTIONS(BankPack)

public:
    // The live values of the table, in its order.
    enum class Value {
        TotalVoltage,
        Current,
        Soc,
        Soh,
        MaxCellVoltage,
        MaxCellNo,
        MinCellVoltage,
        MinCellNo,
        CellDifference,
        MaxTemperature,
        MinTemperature,
    };
    static constexpr int valueCount = 11;

    int address = 0;
    QString batteryId;
    bool online = true;
    bool hasLive = false;  // live values arrived at least once
    qint64 updatedMs = -1; // when the last live values arrived
    int requests = 0;      // every request sent to this pack
    int answers = 0;
    int misses = 0; // unanswered requests in a row

    std::array<QString, valueCount> texts{};
    std::array<double, valueCount> numbers{};
    quint32 alarms = 0;
    quint32 protections = 0;
    quint16 faults = 0;
    bool chargeMos = false;
    bool dischargeMos = false;

    QString text(Value v) const { return texts[std::size_t(v)]; }
    double number(Value v) const { return numbers[std::size_t(v)]; }

    // Only the bits that have a name count (alarm and protection 0..16).
    bool inAlarm() const;
    bool inProtection() const;
    bool inFault() const { return faults != 0; }

    // One line, in the current language: the active alarms, protections and
    // faults, or "normal".
    QString conditionSummary() const;
    // "C on, D off" in the current language.
    QString mosText() const;
};
