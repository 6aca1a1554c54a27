#include "shell/CommandLine.h"

#include "base/Version.h"

#include <QCommandLineParser>

namespace {
// Options that QGuiApplication and QApplication take out of the command line
// themselves; the first group takes a value.
constexpr const char *toolkitValueOptions[] = {
    "platform",     "platformpluginpath", "platformtheme", "plugin",     "qwindowgeometry",
    "qwindowicon",  "qwindowtitle",       "style",         "stylesheet", "session",
    "display",      "geometry",           "title",         "name",       "visual",
    "qmljsdebugger"};
constexpr const char *toolkitFlagOptions[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};
} // namespace

CommandLine::Outcome CommandLine::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    // "-platform xcb" is one option, as the toolkit reads it, not six letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        tr("Cellvane talks to the battery management system of a lithium pack over a serial "
           "line. The serial port and everything else are chosen in the window."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  tr("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     tr("Show the version and exit."));
    parser.addOption(help);
    parser.addOption(version);
    for (const char *name : toolkitValueOptions) {
        QCommandLineOption o(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        o.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(o);
    }
    for (const char *name : toolkitFlagOptions) {
        QCommandLineOption o(QString::fromLatin1(name), QString());
        o.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(o);
    }

    Outcome outcome;
    auto refuse = [&outcome](const QString &why) {
        outcome.run = false;
        outcome.exitCode = 2;
        outcome.error = QStringLiteral("cellvane: %1 %2").arg(why, tr("Try cellvane --help."));
        outcome.error.replace(QLatin1Char('\n'), QLatin1Char(' '));
    };
    if (!parser.parse(arguments)) {
        refuse(parser.errorText());
        return outcome;
    }
    if (parser.isSet(help)) {
        outcome.run = false;
        outcome.output = parser.helpText();
        return outcome;
    }
    if (parser.isSet(version)) {
        outcome.run = false;
        outcome.output = QStringLiteral("cellvane %1\n").arg(Version::text());
        return outcome;
    }
    if (!parser.positionalArguments().isEmpty())
        refuse(tr("Unexpected argument \"%1\".").arg(parser.positionalArguments().constFirst()));
    return outcome;
}
