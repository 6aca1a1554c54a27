#pragma once

#include <QByteArray>
#include <QMap>

// The pack's non-volatile settings that are written and read back as they
// are: identity texts, dates, the 17 protection parameter rows, the
// short-circuit levels, balancing, counts, current limiting, pre-discharge...
// Each is kept as the exact data bytes of its item, so a read returns what the
// last write sent; the typed views below are what the pack's behaviour uses.
class SettingsStore {
public:
    struct Defaults {
        int cells = 16;
        int sensors = 4;
        double capacityAh = 100.0;
        quint32 seed = 1;
    };

    struct ParamRow {
        double protection = 0;
        double recovery = 0;
        double alarm = 0;
        double protectionDelayS = 0;
        double alarmDelayS = 0;
        bool alarmEnabled = false;
        bool protectionEnabled = false;
    };
    struct PassiveBalancing {
        bool enabled = false;
        double openV = 0;
        double differenceV = 0;
        double closeV = 0;
    };
    struct Counts {
        int cells = 0;
        int lowCells = 0;
        int sensors = 0;
    };
    struct CurrentLimiting {
        int bmsAddress = 0;
        bool enabled = false;
        int mode = 0;
        double thresholdA = 0; // magnitude of the charge current limit
        int timeS = 0;
    };
    struct PreDischarge {
        int option = 0; // 0 none, 1 method 1
        double timeS = 0;
    };
    struct ActiveGroup {
        bool enabled = false;
        double openV = 0;
        double closeV = 0;
        double openDifferenceV = 0;
        double closeDifferenceV = 0;
        int timeS = 0;
    };
    enum ActivePhase { ActiveCharge = 0, ActiveDischarge = 1, ActiveRest = 2 };

    explicit SettingsStore(const Defaults &defaults);

    // Data length of a stored item's read answer and write request, or -1 for
    // an item that is not kept here.
    static int storedLength(quint8 item);
    QByteArray read(quint8 item) const;
    // Refuses items that are not kept here and data of the wrong length.
    bool write(quint8 item, const QByteArray &data);

    ParamRow paramRow(int row) const;
    PassiveBalancing passiveBalancing() const;
    Counts counts() const;
    CurrentLimiting currentLimiting() const;
    PreDischarge preDischarge() const;
    ActiveGroup activeGroup(ActivePhase phase) const;

    // Wire scale and signedness of a parameter row's three thresholds.
    static double rowScale(int row);
    static bool rowSigned(int row);

private:
    QMap<quint8, QByteArray> m_items;
};
