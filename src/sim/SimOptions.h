#pragma once

#include "sim/FaultInjector.h"
#include "sim/LineSettings.h"
#include "sim/PackModel.h"

#include <QString>
#include <QStringList>

#include <optional>

// The simulator's command line.
struct SimOptions {
    // One pack on the line. Several may share an address (a wiring mistake:
    // they answer at once), and a pack may be silent for good or in turns.
    struct PackSpec {
        int address = 255;
        PackModel::Config pack;
        // Silent: never answers (period 0) or, with a period, stays silent
        // that many milliseconds and then answers as long, in turns.
        bool offline = false;
        int offlinePeriodMs = 0;
    };

    QString linkPath;  // --link: create a pseudo-terminal, symlink it here
    QString device;    // --port: serve an existing serial device
    int address = 255; // the first pack's
    int protocol = 16; // all packs on a line speak the same protocol
    // Every pack on the line, the first one described by `address` and `pack`
    // too; --address gives one, --packs several.
    QList<PackSpec> packs;
    static constexpr int maxPacks = 32;
    int records = 200;
    LineSettings line;      // the pack's normal line format
    PackModel::Config pack; // the first pack's
    FaultInjector::Options faults;
    QString firmwareOut;
    QString statusFile;
    int lineUsart = -1;
    bool anyLine = false; // answer whatever format the host's side has
    bool verbose = false;

    // Parses the arguments (program name first). Returns nothing and sets
    // `message` for a refusal, or for --help/--version with `exitOk` set.
    static std::optional<SimOptions> parse(const QStringList &arguments, QString *message,
                                           bool *exitOk);
};
