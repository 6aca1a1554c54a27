#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// The program's command line. Nothing but --help and --version: the port and
// everything else are chosen in the window. The toolkit's own options
// (-platform, -style, ...) pass through to it. Parsed before the window
// system is started, so that --help works on a terminal without a display.
class CommandLine {
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    struct Outcome {
        bool run = true; // open the window
        int exitCode = 0;
        QString output; // for stdout
        QString error;  // for stderr, one line
    };

    // `arguments` starts with the program's name, as argv does.
    static Outcome parse(const QStringList &arguments);
};
