#include "sim/SimOptions.h"

#include "shell/Version.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

struct IntRange {
    const char *name;
    qint64 low;
    qint64 high;
};

struct Reader {
    QCommandLineParser &parser;
    QString *message;
    bool ok = true;

    QString refuse(const QString &text)
    {
        if (ok)
            *message = text;
        ok = false;
        return {};
    }

    template <typename T> void whole(const IntRange &r, T *target)
    {
        const QString name = QString::fromLatin1(r.name);
        if (!parser.isSet(name))
            return;
        const QString text = parser.value(name);
        bool valid = false;
        const qint64 v = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)
                             ? text.mid(2).toLongLong(&valid, 16)
                             : text.toLongLong(&valid);
        if (!valid || v < r.low || v > r.high) {
            refuse(QCoreApplication::translate(
                       "SimOptions", "--%1 must be a whole number from %2 to %3, not \"%4\"")
                       .arg(name)
                       .arg(r.low)
                       .arg(r.high)
                       .arg(text));
            return;
        }
        *target = T(v);
    }

    void real(const char *optionName, double low, double high, double *target)
    {
        const QString name = QString::fromLatin1(optionName);
        if (!parser.isSet(name))
            return;
        const QString text = parser.value(name);
        bool valid = false;
        const double v = text.toDouble(&valid);
        if (!valid || !(v >= low && v <= high)) {
            refuse(QCoreApplication::translate("SimOptions",
                                               "--%1 must be a number from %2 to %3, not \"%4\"")
                       .arg(name)
                       .arg(low)
                       .arg(high)
                       .arg(text));
            return;
        }
        *target = v;
    }
};

} // namespace

std::optional<SimOptions> SimOptions::parse(const QStringList &arguments, QString *message,
                                            bool *exitOk)
{
    *exitOk = false;
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "SimOptions",
        "A simulated battery management system on a serial line: answers the Cellvane "
        "protocol with a moving pack, remembered settings, stored history records and "
        "firmware upgrades."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QCoreApplication::translate("SimOptions", "Show this help."));
    parser.addOption(help);
    const QCommandLineOption version(
        {QStringLiteral("v"), QStringLiteral("version")},
        QCoreApplication::translate("SimOptions", "Show the version and exit."));
    parser.addOption(version);
    // The descriptions are translated when they are added.
    const auto add = [&](const char *name, const char *text, const char *valueName = nullptr) {
        parser.addOption(valueName
                             ? QCommandLineOption(QString::fromLatin1(name),
                                                  QCoreApplication::translate("SimOptions", text),
                                                  QString::fromLatin1(valueName))
                             : QCommandLineOption(QString::fromLatin1(name),
                                                  QCoreApplication::translate("SimOptions", text)));
    };
    add("link",
        QT_TRANSLATE_NOOP(
            "SimOptions",
            "Create a pseudo-terminal, make PATH a symbolic link to it, print the device "
            "on stdout and serve until SIGINT/SIGTERM; the link is removed at the end."),
        "PATH");
    add("port",
        QT_TRANSLATE_NOOP("SimOptions",
                          "Serve an existing serial device instead (opened 9600 8N1)."),
        "DEVICE");
    add("address",
        QT_TRANSLATE_NOOP("SimOptions",
                          "Communication address the pack answers (0-255, default 255)."),
        "A");
    add("protocol",
        QT_TRANSLATE_NOOP("SimOptions", "Protocol code the pack answers (0-255, default 16)."),
        "P");
    add("cells", QT_TRANSLATE_NOOP("SimOptions", "Number of cells (1-32, default 16)."), "N");
    add("ntc", QT_TRANSLATE_NOOP("SimOptions", "Number of temperature sensors (1-12, default 4)."),
        "N");
    add("records",
        QT_TRANSLATE_NOOP("SimOptions", "Stored history records (0-65535, default 200)."), "N");
    add("seed", QT_TRANSLATE_NOOP("SimOptions", "Seed of all randomness (default 1)."), "S");
    add("drop", QT_TRANSLATE_NOOP("SimOptions", "Probability that a request is lost (no answer)."),
        "P");
    add("corrupt", QT_TRANSLATE_NOOP("SimOptions", "Probability that an answer has a broken CRC."),
        "P");
    add("noise", QT_TRANSLATE_NOOP("SimOptions", "Probability of junk bytes before an answer."),
        "P");
    add("split",
        QT_TRANSLATE_NOOP("SimOptions", "Deliver every answer in small chunks with short gaps."));
    add("delay", QT_TRANSLATE_NOOP("SimOptions", "Answer latency in milliseconds (0-60000)."),
        "MS");
    add("firmware-out",
        QT_TRANSLATE_NOOP("SimOptions", "Write every image of a completed upgrade into DIR."),
        "DIR");
    add("speed",
        QT_TRANSLATE_NOOP("SimOptions",
                          "Time-lapse factor of the battery (default 10; 0 freezes it)."),
        "X");
    add("current",
        QT_TRANSLATE_NOOP("SimOptions",
                          "Hold this current in amperes (charge positive) instead of the "
                          "charge/discharge cycle."),
        "A");
    add("capacity",
        QT_TRANSLATE_NOOP("SimOptions", "Capacity in ampere-hours (1-650, default 100)."), "AH");
    add("soc", QT_TRANSLATE_NOOP("SimOptions", "State of charge at start in percent (default 80)."),
        "PERCENT");
    add("faults",
        QT_TRANSLATE_NOOP("SimOptions", "Fault bits to report, 16-bit mask (e.g. 0x0011)."),
        "MASK");
    add("baud", QT_TRANSLATE_NOOP("SimOptions", "The pack's line rate (default 9600)."), "RATE");
    add("parity", QT_TRANSLATE_NOOP("SimOptions", "The pack's parity: N, E or O (default N)."),
        "N|E|O");
    add("usart",
        QT_TRANSLATE_NOOP(
            "SimOptions",
            "USART the line is wired to: a serial-settings write to it switches the line."),
        "N");
    add("any-line",
        QT_TRANSLATE_NOOP(
            "SimOptions",
            "Answer whatever rate and parity the host's side of a pseudo-terminal has."));
    add("status",
        QT_TRANSLATE_NOOP(
            "SimOptions",
            "Keep a JSON status (line settings seen, counters, pack values) in FILE."),
        "FILE");
    add("verbose", QT_TRANSLATE_NOOP("SimOptions", "Log every request and answer on stderr."));

    if (!parser.parse(arguments)) {
        *message = parser.errorText();
        return std::nullopt;
    }
    if (parser.isSet(help)) {
        *message = parser.helpText();
        *exitOk = true;
        return std::nullopt;
    }
    if (parser.isSet(version)) {
        *message = QStringLiteral("cellvane-sim %1").arg(Version::text());
        *exitOk = true;
        return std::nullopt;
    }
    if (!parser.positionalArguments().isEmpty()) {
        *message = QCoreApplication::translate("SimOptions", "unexpected argument \"%1\"")
                       .arg(parser.positionalArguments().first());
        return std::nullopt;
    }

    SimOptions o;
    o.linkPath = parser.value(QStringLiteral("link"));
    o.device = parser.value(QStringLiteral("port"));
    if (o.linkPath.isEmpty() == o.device.isEmpty()) {
        *message = QCoreApplication::translate("SimOptions",
                                               "give exactly one of --link PATH and --port DEVICE");
        return std::nullopt;
    }

    Reader r{parser, message};
    r.whole({"address", 0, 255}, &o.address);
    r.whole({"protocol", 0, 255}, &o.protocol);
    r.whole({"cells", 1, 32}, &o.pack.cells);
    r.whole({"ntc", 1, 12}, &o.pack.sensors);
    r.whole({"records", 0, 65535}, &o.records);
    r.whole({"seed", 0, 0xFFFFFFFFll}, &o.pack.seed);
    r.whole({"delay", 0, 60000}, &o.faults.delayMs);
    r.whole({"faults", 0, 0xFFFF}, &o.pack.faults);
    r.whole({"baud", 50, 4000000}, &o.line.baud);
    r.whole({"usart", 0, 255}, &o.lineUsart);
    r.real("drop", 0, 1, &o.faults.dropProbability);
    r.real("corrupt", 0, 1, &o.faults.corruptProbability);
    r.real("noise", 0, 1, &o.faults.noiseProbability);
    r.real("speed", 0, 100000, &o.pack.speed);
    r.real("capacity", 1, 650, &o.pack.capacityAh);
    r.real("soc", 0, 100, &o.pack.startSoc);
    if (parser.isSet(QStringLiteral("current"))) {
        double amps = 0;
        r.real("current", -320, 320, &amps);
        o.pack.fixedCurrentA = amps;
    }
    if (parser.isSet(QStringLiteral("parity"))) {
        const QString p = parser.value(QStringLiteral("parity")).toUpper();
        if (p == QLatin1String("N") || p == QLatin1String("E") || p == QLatin1String("O"))
            o.line.parity = p.at(0).toLatin1();
        else
            r.refuse(
                QCoreApplication::translate("SimOptions", "--parity must be N, E or O, not \"%1\"")
                    .arg(p));
    }
    if (!r.ok)
        return std::nullopt;

    o.faults.split = parser.isSet(QStringLiteral("split"));
    o.faults.seed = o.pack.seed;
    o.firmwareOut = parser.value(QStringLiteral("firmware-out"));
    o.statusFile = parser.value(QStringLiteral("status"));
    o.anyLine = parser.isSet(QStringLiteral("any-line"));
    o.verbose = parser.isSet(QStringLiteral("verbose"));
    return o;
}
