#include "cli/CliCommands.h"
#include "cli/CliOptions.h"
#include "cli/CliSession.h"
#include "i18n/Language.h"
#ifdef CELLVANE_HAVE_MQTT
#include "cli/publish/PublishCommand.h"
#endif
#include "base/Version.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {
int signalPipe[2] = {-1, -1};

// Only async-signal-safe work here: the event loop picks the byte up.
void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("cellvane-cli"));
    QCoreApplication::setApplicationVersion(Version::text());
    const QStringList arguments = QCoreApplication::arguments();
    Language::install(!CliOptions::chineseRequested(arguments));

    const CliOptions::Outcome parsed = CliOptions::parse(arguments);
    if (!parsed.options) {
        if (!parsed.output.isEmpty())
            std::fputs(parsed.output.toLocal8Bit().constData(), stdout);
        if (!parsed.error.isEmpty())
            std::fprintf(stderr, "cellvane-cli: %s\n", parsed.error.toLocal8Bit().constData());
        return parsed.exitCode;
    }

    CliSession session(*parsed.options);
    CliCommands commands(session);
    const bool publishing = parsed.options->command == QLatin1String("publish");
#ifdef CELLVANE_HAVE_MQTT
    PublishCommand publish(session);
#else
    if (publishing) {
        std::fprintf(stderr, "cellvane-cli: %s\n",
                     qPrintable(QCoreApplication::translate(
                         "PublishCommand", "this build has no MQTT bridge (libmosquitto).")));
        return CliOptions::exitUsage;
    }
#endif
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::perror("cellvane-cli: pipe");
        return CliOptions::exitFile;
    }
    QSocketNotifier notifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &app, [&] {
        char drain[16];
        while (::read(signalPipe[0], drain, sizeof drain) > 0) {
        }
#ifdef CELLVANE_HAVE_MQTT
        if (publishing) {
            publish.interrupt();
            return;
        }
#endif
        commands.interrupt();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

#ifdef CELLVANE_HAVE_MQTT
    if (publishing)
        publish.start();
    else
#endif
        commands.start();
    return app.exec();
}
