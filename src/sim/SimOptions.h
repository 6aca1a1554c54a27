#pragma once

#include "sim/FaultInjector.h"
#include "sim/LineSettings.h"
#include "sim/PackModel.h"

#include <QString>
#include <QStringList>

#include <optional>

// The simulator's command line.
struct SimOptions {
    QString linkPath; // --link: create a pseudo-terminal, symlink it here
    QString device;   // --port: serve an existing serial device
    int address = 255;
    int protocol = 16;
    int records = 200;
    LineSettings line; // the pack's normal line format
    PackModel::Config pack;
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
