#include "sim/SimOptions.h"

#include "base/Version.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>
#include <iterator>

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

// How the packs of a bank differ, so that an overview has something to
// show: pack n on the line takes row n (the table repeats after its end).
// The first row is the one-pack default.
struct PackProfile {
    double soc;
    int cells;
    int driftCell;
    double driftSocPercent;
    int hotSensor;
    double hotSensorC;
};
constexpr PackProfile packProfiles[] = {
    {80, 16, 0, 0, 0, 0},    {62, 15, 7, -45, 0, 0}, // a weak cell, well below the others
    {45, 16, 0, 0, 2, 12.5}, // one sensor hot enough for the temperature-difference alarm
    {91, 8, 0, 0, 0, 0},     {70, 16, 0, 0, 0, 0},   {53, 13, 0, 0, 0, 0},
    {36, 16, 0, 0, 0, 0},    {74, 4, 0, 0, 0, 0},
};

// A comma-separated list of addresses, each optionally followed by
// ":SECONDS" when `withPeriod` (else refused).
struct AddressItem {
    int address = 0;
    int periodS = 0;
};

std::optional<QList<AddressItem>> addressList(const QString &name, const QString &text,
                                              bool withPeriod, QString *message)
{
    QList<AddressItem> items;
    const QStringList parts = text.split(QLatin1Char(','));
    for (const QString &raw : parts) {
        const QString part = raw.trimmed();
        const QStringList fields = part.split(QLatin1Char(':'));
        bool ok = fields.size() == 1 || (withPeriod && fields.size() == 2);
        AddressItem item;
        if (ok) {
            const QString a = fields[0].trimmed();
            item.address = a.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)
                               ? a.mid(2).toInt(&ok, 16)
                               : a.toInt(&ok);
            ok = ok && item.address >= 0 && item.address <= 255;
        }
        if (ok && fields.size() == 2) {
            item.periodS = fields[1].trimmed().toInt(&ok);
            ok = ok && item.periodS >= 1 && item.periodS <= 3600;
        }
        if (!ok) {
            *message =
                withPeriod
                    ? QCoreApplication::translate(
                          "SimOptions",
                          "--%1 takes addresses from 0 to 255, each optionally followed by "
                          ":SECONDS (1 to 3600), separated by commas, not \"%2\"")
                          .arg(name, text)
                    : QCoreApplication::translate(
                          "SimOptions",
                          "--%1 takes addresses from 0 to 255 separated by commas, not \"%2\"")
                          .arg(name, text);
            return std::nullopt;
        }
        items.append(item);
    }
    return items;
}

// Builds the packs of the line from --address or --packs and --clash, then
// marks the --offline ones. Settings given on the command line apply to
// every pack; the rest follows the profile table.
bool buildPacks(const QCommandLineParser &parser, SimOptions &o, QString *message)
{
    const bool cellsGiven = parser.isSet(QStringLiteral("cells"));
    const bool socGiven = parser.isSet(QStringLiteral("soc"));
    QList<int> addresses{o.address};
    if (parser.isSet(QStringLiteral("packs"))) {
        if (parser.isSet(QStringLiteral("address"))) {
            *message = QCoreApplication::translate("SimOptions",
                                                   "give either --address or --packs, not both");
            return false;
        }
        const auto items = addressList(QStringLiteral("packs"),
                                       parser.value(QStringLiteral("packs")), false, message);
        if (!items)
            return false;
        addresses.clear();
        for (const AddressItem &item : *items) {
            if (addresses.contains(item.address)) {
                *message = QCoreApplication::translate(
                               "SimOptions",
                               "--packs lists address %1 twice (--clash puts two packs at one "
                               "address)")
                               .arg(item.address);
                return false;
            }
            addresses.append(item.address);
        }
    }
    if (parser.isSet(QStringLiteral("clash"))) {
        const auto items = addressList(QStringLiteral("clash"),
                                       parser.value(QStringLiteral("clash")), false, message);
        if (!items)
            return false;
        for (const AddressItem &item : *items) {
            // The second pack at the address, and a first one where none was.
            if (!addresses.contains(item.address))
                addresses.append(item.address);
            addresses.append(item.address);
        }
    }
    if (addresses.size() > SimOptions::maxPacks) {
        *message = QCoreApplication::translate("SimOptions", "at most %1 packs on one line")
                       .arg(SimOptions::maxPacks);
        return false;
    }

    o.packs.clear();
    for (int i = 0; i < addresses.size(); ++i) {
        SimOptions::PackSpec spec;
        spec.address = addresses[i];
        spec.pack = o.pack;
        if (i > 0) {
            const PackProfile &p = packProfiles[i % std::size(packProfiles)];
            spec.pack.seed = o.pack.seed + quint32(i);
            if (!cellsGiven)
                spec.pack.cells = p.cells;
            if (!socGiven)
                spec.pack.startSoc = p.soc;
            if (p.driftCell > 0) {
                spec.pack.driftCell = std::min(p.driftCell, spec.pack.cells);
                spec.pack.driftSocPercent = p.driftSocPercent;
            }
            if (p.hotSensor > 0 && spec.pack.sensors > 1) {
                spec.pack.hotSensor = std::min(p.hotSensor, spec.pack.sensors);
                spec.pack.hotSensorC = p.hotSensorC;
            }
        }
        o.packs.append(spec);
    }

    if (parser.isSet(QStringLiteral("offline"))) {
        const auto items = addressList(QStringLiteral("offline"),
                                       parser.value(QStringLiteral("offline")), true, message);
        if (!items)
            return false;
        for (const AddressItem &item : *items) {
            bool found = false;
            for (SimOptions::PackSpec &spec : o.packs) {
                if (spec.address != item.address)
                    continue;
                found = true;
                spec.offline = true;
                spec.offlinePeriodMs = item.periodS * 1000;
            }
            if (!found) {
                *message = QCoreApplication::translate("SimOptions",
                                                       "--offline %1: no pack at that address")
                               .arg(item.address);
                return false;
            }
        }
    }
    o.address = o.packs.first().address;
    return true;
}

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
    add("packs",
        QT_TRANSLATE_NOOP(
            "SimOptions",
            "Serve one pack per address on the same line, e.g. 1,2,5 (instead of --address); "
            "each pack has its own state of charge, cell count and history, the second a "
            "drifted cell and the third a hot sensor with its alarm."),
        "LIST");
    add("offline",
        QT_TRANSLATE_NOOP("SimOptions",
                          "Packs that stay silent, e.g. 5 or 5,9; with A:S the pack at A is "
                          "silent S seconds and then answers S seconds, in turns."),
        "LIST");
    add("clash",
        QT_TRANSLATE_NOOP(
            "SimOptions",
            "Put two packs at each of these addresses: both answer at once and their bytes "
            "collide on the line (a bitwise AND, as a driven 0 wins), so the CRC fails."),
        "LIST");
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
    if (!r.ok || !buildPacks(parser, o, message))
        return std::nullopt;

    o.faults.split = parser.isSet(QStringLiteral("split"));
    o.faults.seed = o.pack.seed;
    o.firmwareOut = parser.value(QStringLiteral("firmware-out"));
    o.statusFile = parser.value(QStringLiteral("status"));
    o.anyLine = parser.isSet(QStringLiteral("any-line"));
    o.verbose = parser.isSet(QStringLiteral("verbose"));
    return o;
}
