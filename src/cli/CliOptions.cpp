#include "cli/CliOptions.h"

#include "base/Version.h"
#include "cli/ControlWords.h"
#include "cli/ParamNames.h"
#include "link/LinkForm.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace {

enum Extra : unsigned {
    None = 0,
    FromNewest = 1,
    OutFile = 2,
    OutDir = 4,
    Seconds = 8,
    Xlsx = 16,
    Yes = 32,
    Identity = 64,
    All = 128,
    UpgradeBaud = 256,
    Broker = 512,
};

struct CommandSpec {
    const char *name;
    const char *syntax; // the words after the subcommand
    const char *description;
    unsigned extras;
    bool manyAddresses;
};

const CommandSpec commandSpecs[] = {
    {"ports", "", QT_TRANSLATE_NOOP("CliOptions", "List the serial ports with their COM numbers."),
     None, false},
    {"scan", "",
     QT_TRANSLATE_NOOP("CliOptions", "Ask every address from 0 to 16 on the line for a pack."),
     None, false},
    {"info", "",
     QT_TRANSLATE_NOOP("CliOptions",
                       "Read one polling cycle of each pack and show its values decoded."),
     None, true},
    {"watch", "",
     QT_TRANSLATE_NOOP("CliOptions",
                       "Show the values of each pack after every polling cycle until Ctrl-C."),
     None, true},
    {"params", "read [ROW...] | write ROW FIELD=VALUE...",
     QT_TRANSLATE_NOOP(
         "CliOptions",
         "Read alarm and protection rows (all without a ROW), or write one row: the row is "
         "read first and the fields given replace its values. ROW is a caption such as "
         "Cell_OV or a number 0-16; FIELD is AlaVal, AlaDelay, ProtVal, ProtRecVal, "
         "ProtDelay, AlarmEnable or ProtEnable."),
     None, false},
    {"control", "charge-mos on|off | discharge-mos on|off | sleep | reset | storage | wake",
     QT_TRANSLATE_NOOP("CliOptions", "Send a control command to the pack."), None, false},
    {"history", "",
     QT_TRANSLATE_NOOP("CliOptions",
                       "Read the records stored in the BMS and write them to FILE (.xls, .xlsx "
                       "or .csv)."),
     FromNewest | OutFile, false},
    {"record", "",
     QT_TRANSLATE_NOOP("CliOptions",
                       "Record the live values once per second for N seconds into a dated "
                       "text file under DIR, optionally converted into a workbook."),
     OutDir | Seconds | Xlsx, false},
    {"upgrade", "app|boot FILE",
     QT_TRANSLATE_NOOP("CliOptions",
                       "Upgrade the BMS application or boot loader from a .bin file. A boot "
                       "loader upgrade asks for confirmation: give --yes."),
     UpgradeBaud | Yes, false},
    {"profile", "save|compare|apply FILE",
     QT_TRANSLATE_NOOP("CliOptions",
                       "Save the pack's settings to a profile, compare the pack with one, or "
                       "apply one to the pack."),
     Identity | All | Yes, false},
    {"publish", "",
     QT_TRANSLATE_NOOP("CliOptions",
                       "Poll the packs and publish their values to an MQTT broker until "
                       "stopped, reconnecting to the broker and the serial line by itself."),
     Broker, true},
};

const CommandSpec *findCommand(const QString &name)
{
    for (const CommandSpec &c : commandSpecs)
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

QString tryHelp(const QString &command)
{
    return CliOptions::tr("Try %1 --help.")
        .arg(command.isEmpty() ? QStringLiteral("cellvane-cli")
                               : QStringLiteral("cellvane-cli ") + command);
}

// The top-level help: the subcommands and where to read more.
QString overview()
{
    QString text = CliOptions::tr("Usage: cellvane-cli COMMAND [OPTIONS]\n"
                                  "Talks to the battery management system of a lithium pack on a "
                                  "serial line, as the Cellvane window does.\n\nCommands:\n");
    for (const CommandSpec &c : commandSpecs)
        text +=
            QStringLiteral("  %1 %2\n      %3\n")
                .arg(QLatin1String(c.name), QLatin1String(c.syntax), CliOptions::tr(c.description));
    text += CliOptions::tr("\nExit status: 0 success, 1 the BMS did not answer or refused, 2 "
                           "usage error, 3 file error.\nRun cellvane-cli COMMAND --help for the "
                           "options of a command.\n");
    return text;
}

// Whole numbers of a comma-separated list, each within low..high.
std::optional<QList<int>> numberList(const QStringList &values, int low, int high)
{
    QList<int> numbers;
    for (const QString &value : values) {
        for (const QString &piece : value.split(QLatin1Char(','))) {
            bool ok = false;
            const int n = piece.trimmed().toInt(&ok, 0);
            if (!ok || n < low || n > high)
                return std::nullopt;
            numbers << n;
        }
    }
    return numbers;
}

int parityIndexOf(const QString &text)
{
    const QString t = text.toUpper();
    const QStringList letters = {QStringLiteral("N"), QStringLiteral("E"), QStringLiteral("O")};
    const QStringList words = {QStringLiteral("NONE"), QStringLiteral("EVEN"),
                               QStringLiteral("ODD")};
    return int(qMax(letters.indexOf(t), words.indexOf(t)));
}

// What the words after the subcommand must be; "" when they are right.
QString checkWords(const QString &command, const QStringList &w)
{
    const auto wrongCount = [&] {
        return CliOptions::tr("wrong arguments for %1: %2").arg(command, w.join(QLatin1Char(' ')));
    };
    if (command == QLatin1String("params")) {
        if (w.isEmpty() || (w[0] != QLatin1String("read") && w[0] != QLatin1String("write")))
            return CliOptions::tr("params needs read or write");
        const bool write = w[0] == QLatin1String("write");
        if (write && w.size() < 3)
            return CliOptions::tr("params write needs a row and at least one FIELD=VALUE");
        for (int i = 1; i < w.size(); ++i) {
            if (i == 1 || !write) {
                if (ParamNames::row(w[i]) < 0)
                    return CliOptions::tr("unknown parameter row \"%1\"; the rows are %2")
                        .arg(w[i], ParamNames::rowNames().join(QStringLiteral(", ")));
                continue;
            }
            const int eq = int(w[i].indexOf(QLatin1Char('=')));
            const ParamNames::Column *column = eq > 0 ? ParamNames::column(w[i].left(eq)) : nullptr;
            if (!column)
                return CliOptions::tr("\"%1\" is not FIELD=VALUE with a FIELD of AlaVal, "
                                      "AlaDelay, ProtVal, ProtRecVal, ProtDelay, AlarmEnable, "
                                      "ProtEnable")
                    .arg(w[i]);
            const QString value = w[i].mid(eq + 1);
            if (column->check && value != QLatin1String("0") && value != QLatin1String("1"))
                return CliOptions::tr("%1 takes 0 or 1, not \"%2\"")
                    .arg(QLatin1String(column->name), value);
        }
        return {};
    }
    if (command == QLatin1String("control"))
        return ControlWords::code(w) < 0
                   ? CliOptions::tr("unknown control \"%1\"; the controls are %2")
                         .arg(w.join(QLatin1Char(' ')), ControlWords::synopsis())
                   : QString();
    if (command == QLatin1String("upgrade")) {
        if (w.size() != 2 || (w[0] != QLatin1String("app") && w[0] != QLatin1String("boot")))
            return CliOptions::tr("upgrade needs app or boot and a .bin file");
        return {};
    }
    if (command == QLatin1String("profile")) {
        static const QStringList actions = {QStringLiteral("save"), QStringLiteral("compare"),
                                            QStringLiteral("apply")};
        if (w.size() != 2 || !actions.contains(w[0]))
            return CliOptions::tr("profile needs save, compare or apply and a file");
        return {};
    }
    return w.isEmpty() ? QString() : wrongCount();
}

} // namespace

QStringList CliOptions::commands()
{
    QStringList names;
    for (const CommandSpec &c : commandSpecs)
        names << QLatin1String(c.name);
    return names;
}

bool CliOptions::chineseRequested(const QStringList &arguments)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a == QLatin1String("--lang=zh") ||
            (a == QLatin1String("--lang") && arguments.value(i + 1) == QLatin1String("zh")))
            return true;
    }
    return false;
}

CliOptions::Outcome CliOptions::parse(const QStringList &arguments)
{
    Outcome outcome;
    const QString first = arguments.value(1);
    if (first.isEmpty() || first == QLatin1String("--help") || first == QLatin1String("-h") ||
        first == QLatin1String("help")) {
        outcome.output = overview();
        if (first.isEmpty()) {
            outcome.output.clear();
            outcome.exitCode = exitUsage;
            outcome.error = tr("no command given. %1").arg(tryHelp({}));
        }
        return outcome;
    }
    if (first == QLatin1String("--version") || first == QLatin1String("-v")) {
        outcome.output = QStringLiteral("cellvane-cli %1\n").arg(Version::text());
        return outcome;
    }
    const CommandSpec *spec = findCommand(first);
    if (!spec) {
        outcome.exitCode = exitUsage;
        outcome.error = tr("unknown command \"%1\". %2").arg(first, tryHelp({}));
        return outcome;
    }
    const QString command = first;
    const bool upgrade = spec->extras & UpgradeBaud;

    QCommandLineParser parser;
    parser.setApplicationDescription(tr(spec->description));
    parser.addPositionalArgument(command, QString(),
                                 QLatin1String(spec->name) + QLatin1Char(' ') +
                                     QLatin1String(spec->syntax));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  tr("Show this help and exit."));
    parser.addOption(help);
    const auto add = [&parser](const char *name, const QString &text, const char *value = nullptr) {
        parser.addOption(value ? QCommandLineOption(QLatin1String(name), text, QLatin1String(value))
                               : QCommandLineOption(QLatin1String(name), text));
    };
    const QString rates = LinkField::baudRates.join(QStringLiteral(", "));
    add("port",
        tr("The serial port: COMn as the window lists it, or a device such as "
           "/dev/ttyUSB0 (default: the port the window would select)."),
        "DEVICE|COMn");
    if (upgrade) {
        add("baud", tr("The rate the application upgrade runs at: %1 (default 115200).").arg(rates),
            "RATE");
        add("line-baud", tr("The line rate before and after the upgrade (default 9600)."), "RATE");
    } else {
        add("baud", tr("The line rate: %1 (default 9600).").arg(rates), "RATE");
    }
    add("parity", tr("The line parity: N, E or O (default N)."), "N|E|O");
    add("address",
        spec->manyAddresses
            ? tr("Communication address 0-255 (default 255); several as 1,2,5 or the option "
                 "repeated.")
            : tr("Communication address 0-255 (default 255)."),
        "N");
    add("json", spec->name == QLatin1String("watch")
                    ? tr("Print one JSON document per pack and cycle, one per line.")
                    : tr("Print the result as JSON."));
    add("lang", tr("Language of the texts: en or zh (default en)."), "en|zh");
    add("timeout",
        tr("Seconds to wait for an answer before the pack counts as silent (default 5)."), "S");
    if (spec->extras & FromNewest)
        add("from-newest", tr("Read only the N newest records."), "N");
    if (spec->extras & OutFile)
        add("out", tr("The file to write; its ending (.xls, .xlsx or .csv) chooses the format."),
            "FILE");
    if (spec->extras & OutDir)
        add("out", tr("The folder to record into."), "DIR");
    if (spec->extras & Seconds)
        add("seconds", tr("How long to record."), "N");
    if (spec->extras & Xlsx)
        add("xlsx", tr("Convert the recording into a workbook at the end."));
    if (spec->extras & Yes)
        add("yes", tr("Answer Yes to the question the window would ask."));
    if (spec->extras & Identity)
        add("identity", tr("Include the identity texts (apply only)."));
    if (spec->extras & All)
        add("all", tr("Apply every item, also those equal on the pack."));
    if (spec->extras & Broker) {
        add("mqtt", tr("The broker: a host name or address, optionally with :PORT (default 1883)."),
            "HOST[:PORT]");
        add("username", tr("The user name at the broker."), "U");
        add("password-file", tr("A file whose first line is the password at the broker."), "F");
        add("tls-ca", tr("Connect with TLS; FILE is the certificate authority of the broker."),
            "FILE");
        add("topic-prefix", tr("The first level of every topic (default cellvane)."), "P");
        add("interval", tr("Seconds between two publications of a pack (default 5)."), "S");
        add("ha-discovery", tr("Publish Home Assistant discovery configurations."));
    }

    QStringList rest = arguments;
    rest.removeAt(1);
    const auto usage = [&](const QString &text) {
        outcome.exitCode = exitUsage;
        outcome.error = text + QLatin1Char(' ') + tryHelp(command);
        return outcome;
    };
    if (!parser.parse(rest))
        return usage(parser.errorText() + QLatin1Char('.'));
    if (parser.isSet(help)) {
        outcome.output = parser.helpText();
        if (command == QLatin1String("params")) {
            outcome.output +=
                tr("\nRows: %1\n").arg(ParamNames::rowNames().join(QStringLiteral(", ")));
        }
        return outcome;
    }

    CliOptions o;
    o.command = command;
    o.words = parser.positionalArguments();
    if (const QString problem = checkWords(command, o.words); !problem.isEmpty())
        return usage(problem + QLatin1Char('.'));
    o.port = parser.value(QStringLiteral("port"));

    const QString lineBaud = parser.value(QLatin1String(upgrade ? "line-baud" : "baud"));
    if (!lineBaud.isEmpty()) {
        o.baudIndex = int(LinkField::baudRates.indexOf(lineBaud));
        if (o.baudIndex < 0)
            return usage(tr("the rate must be one of %1, not \"%2\".").arg(rates, lineBaud));
    }
    if (upgrade && parser.isSet(QStringLiteral("baud"))) {
        const QString rate = parser.value(QStringLiteral("baud"));
        o.upgradeBaudIndex = int(LinkField::baudRates.indexOf(rate));
        if (o.upgradeBaudIndex < 0)
            return usage(tr("the rate must be one of %1, not \"%2\".").arg(rates, rate));
    }
    if (parser.isSet(QStringLiteral("parity"))) {
        o.parityIndex = parityIndexOf(parser.value(QStringLiteral("parity")));
        if (o.parityIndex < 0)
            return usage(tr("--parity must be N, E or O, not \"%1\".")
                             .arg(parser.value(QStringLiteral("parity"))));
    }
    if (parser.isSet(QStringLiteral("address"))) {
        const auto list = numberList(parser.values(QStringLiteral("address")), 0, 255);
        if (!list || list->isEmpty())
            return usage(tr("--address takes whole numbers from 0 to 255, not \"%1\".")
                             .arg(parser.values(QStringLiteral("address")).join(QLatin1Char(','))));
        if (list->size() > 1 && !spec->manyAddresses)
            return usage(tr("%1 works with one address at a time.").arg(command));
        o.addresses = *list;
    }
    o.json = parser.isSet(QStringLiteral("json"));
    if (parser.isSet(QStringLiteral("lang"))) {
        const QString lang = parser.value(QStringLiteral("lang"));
        if (lang != QLatin1String("en") && lang != QLatin1String("zh"))
            return usage(tr("--lang must be en or zh, not \"%1\".").arg(lang));
        o.english = lang == QLatin1String("en");
    }
    if (parser.isSet(QStringLiteral("timeout"))) {
        bool ok = false;
        const double s = parser.value(QStringLiteral("timeout")).toDouble(&ok);
        if (!ok || s <= 0 || s > 3600)
            return usage(tr("--timeout takes seconds from 0.1 to 3600, not \"%1\".")
                             .arg(parser.value(QStringLiteral("timeout"))));
        o.timeoutMs = qMax(100, qRound(s * 1000));
    }
    if (spec->extras & FromNewest && parser.isSet(QStringLiteral("from-newest"))) {
        const auto n = numberList({parser.value(QStringLiteral("from-newest"))}, 1, 65535);
        if (!n || n->size() != 1)
            return usage(tr("--from-newest takes a number of records from 1 to 65535."));
        o.fromNewest = n->first();
    }
    if (spec->extras & (OutFile | OutDir)) {
        o.out = parser.value(QStringLiteral("out"));
        if (o.out.isEmpty())
            return usage(tr("%1 needs --out.").arg(command));
        const QString suffix = QFileInfo(o.out).suffix().toLower();
        if (spec->extras & OutFile && suffix != QLatin1String("xls") &&
            suffix != QLatin1String("xlsx") && suffix != QLatin1String("csv"))
            return usage(tr("--out must end in .xls, .xlsx or .csv, not \"%1\".").arg(o.out));
    }
    if (spec->extras & Seconds) {
        const auto n = numberList({parser.value(QStringLiteral("seconds"))}, 1, 31 * 24 * 3600);
        if (!n || n->size() != 1)
            return usage(tr("record needs --seconds with a whole number of seconds."));
        o.seconds = n->first();
    }
    o.xlsx = spec->extras & Xlsx && parser.isSet(QStringLiteral("xlsx"));
    o.yes = spec->extras & Yes && parser.isSet(QStringLiteral("yes"));
    o.identity = spec->extras & Identity && parser.isSet(QStringLiteral("identity"));
    o.all = spec->extras & All && parser.isSet(QStringLiteral("all"));
    if (spec->extras & Broker) {
        o.mqtt.broker = parser.value(QStringLiteral("mqtt"));
        if (o.mqtt.broker.isEmpty())
            return usage(tr("%1 needs --mqtt.").arg(command));
        o.mqtt.username = parser.value(QStringLiteral("username"));
        o.mqtt.passwordFile = parser.value(QStringLiteral("password-file"));
        o.mqtt.tlsCaFile = parser.value(QStringLiteral("tls-ca"));
        if (parser.isSet(QStringLiteral("topic-prefix")))
            o.mqtt.topicPrefix = parser.value(QStringLiteral("topic-prefix"));
        if (parser.isSet(QStringLiteral("interval"))) {
            const auto n = numberList({parser.value(QStringLiteral("interval"))}, 1, 86400);
            if (!n || n->size() != 1)
                return usage(tr("--interval takes whole seconds from 1 to 86400, not \"%1\".")
                                 .arg(parser.value(QStringLiteral("interval"))));
            o.mqtt.intervalSeconds = n->first();
        }
        o.mqtt.haDiscovery = parser.isSet(QStringLiteral("ha-discovery"));
    }
    outcome.options = o;
    return outcome;
}
