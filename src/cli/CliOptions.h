#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The command line of cellvane-cli: a subcommand, its words and options, and
// the options every subcommand shares. Everything is checked here, before a
// port is opened, so that a mistyped command changes nothing on the pack.
class CliOptions {
    Q_DECLARE_TR_FUNCTIONS(CliOptions)

public:
    static constexpr int exitOk = 0;
    static constexpr int exitNoAnswer = 1; // the BMS did not answer or refused
    static constexpr int exitUsage = 2;
    static constexpr int exitFile = 3;

    struct Outcome;

    // `arguments` starts with the program's name, as argv does.
    static Outcome parse(const QStringList &arguments);
    // Whether the arguments ask for Chinese texts (--lang zh); read before
    // anything is translated.
    static bool chineseRequested(const QStringList &arguments);
    static QStringList commands();

    QString command;   // "info", "params", ...
    QStringList words; // what follows the subcommand: "read Cell_OV", "app FILE"
    QString port;      // "" (the port the window would pick), "COM3" or a device
    int baudIndex = 0; // in the link's list of rates
    int parityIndex = 0;
    QList<int> addresses{255};
    bool json = false;
    bool english = true;
    int timeoutMs = 5000;

    int fromNewest = -1;      // history: every record
    QString out;              // history file, record folder
    int seconds = 0;          // record
    bool xlsx = false;        // record
    int upgradeBaudIndex = 5; // upgrade: 115200
    bool yes = false;
    bool identity = false; // profile
    bool all = false;      // profile
    // publish: as given; the bridge checks them when it starts.
    struct Mqtt {
        QString broker; // HOST[:PORT]
        QString username;
        QString passwordFile;
        QString tlsCaFile;
        QString topicPrefix = QStringLiteral("cellvane");
        int intervalSeconds = 5;
        bool haDiscovery = false;
    } mqtt;
};

struct CliOptions::Outcome {
    std::optional<CliOptions> options; // set when a command is to run
    int exitCode = exitOk;
    QString output; // --help, --version: for stdout
    QString error;  // one line for stderr
};
