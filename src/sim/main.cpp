#include "sim/SimOptions.h"
#include "sim/SimServer.h"

#include "i18n/Language.h"

#include <QCoreApplication>
#include <QLocale>
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
    QCoreApplication::setApplicationName(QStringLiteral("cellvane-sim"));
    // Help and refusals follow the system's language; the log stays English,
    // as tests and tools read it.
    if (QLocale::system().language() == QLocale::Chinese)
        Language::install(false);

    QString message;
    bool exitOk = false;
    const std::optional<SimOptions> options =
        SimOptions::parse(QCoreApplication::arguments(), &message, &exitOk);
    if (!options) {
        std::fprintf(exitOk ? stdout : stderr, "%s\n", message.toLocal8Bit().constData());
        if (!exitOk)
            std::fprintf(
                stderr, "%s\n",
                qPrintable(QCoreApplication::translate("SimOptions", "Try cellvane-sim --help.")));
        return exitOk ? 0 : 2;
    }

    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::perror("cellvane-sim: pipe");
        return 1;
    }
    QSocketNotifier signalNotifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, [] {
        char drain[16];
        while (::read(signalPipe[0], drain, sizeof drain) > 0) {
        }
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    SimServer server(*options);
    if (Result<void> started = server.start(); !started) {
        std::fprintf(stderr, "cellvane-sim: %s\n",
                     started.error().message.toLocal8Bit().constData());
        server.stop();
        return 1;
    }
    int exitCode = 0;
    QObject::connect(&server, &SimServer::fatal, &app, [&exitCode] {
        exitCode = 1;
        QCoreApplication::quit();
    });

    std::printf("%s\n", server.devicePath().toLocal8Bit().constData());
    std::fflush(stdout);

    app.exec();
    server.stop();
    return exitCode;
}
