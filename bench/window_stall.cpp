// How long the event loop can be held up while the real window polls the
// simulated pack: a 1 ms timer ticks throughout, and the longest gap between
// two ticks is reported in wall time and in the CPU time this thread used.
// The second is what the program itself costs; the first adds whatever the
// machine's other work takes from it. Exits 1 when the CPU gap reaches 20 ms.
//
//   window_stall [SECONDS]       (default 10; runs offscreen unless told otherwise)
#include "StallProbe.h"
#include "support/RecordingPrompt.h"

#include "link/LinkForm.h"
#include "link/widgets/LinkPanel.h"
#include "responses/InfoForm.h"
#include "responses/widgets/InfoPanel.h"
#include "shell/Core.h"
#include "shell/widgets/MainWindow.h"
#include "shell/widgets/PanelHost.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {
constexpr int comNumber = 7;
constexpr double limitMs = 20;

struct Stalls {
    double wallMs = 0;
    double cpuMs = 0;
    qint64 ticks = 0;
};

Stalls measureStalls(int ms)
{
    StallProbe probe;
    probe.start();
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return {probe.longestWallMs(), probe.longestCpuMs(), probe.ticks()};
}

void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    if (!config.isValid())
        return 2;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? qMax(1, atoi(argv[1])) : 10;

    const QString ports = config.path() + QStringLiteral("/cellvane/ports");
    QDir().mkpath(ports);
    QProcess sim;
    sim.setProgram(QStringLiteral(CELLVANE_SIM_EXE));
    sim.setArguments({QStringLiteral("--link"), ports + QStringLiteral("/com%1").arg(comNumber)});
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start();
    if (!sim.waitForStarted(5000) || !sim.waitForReadyRead(10000)) {
        std::fprintf(stderr, "window_stall: the simulator did not start\n");
        return 2;
    }

    RecordingPrompt prompt;
    Core core{prompt, nullptr};
    MainWindow window{core};
    window.show();
    PanelHost &host = *window.host();
    runFor(500); // the first paint is not the program's steady state
    const Stalls idle = measureStalls(2000);

    auto &link = *static_cast<LinkPanel *>(host.page(PanelHost::Page::Link));
    host.tabBar()->setCurrentIndex(0);
    link.refreshButton()->click();
    QComboBox *portList = link.list(LinkField::port);
    const int index = portList->findText(QStringLiteral("COM%1").arg(comNumber));
    portList->setCurrentIndex(index);
    emit portList->activated(index);
    link.openCloseButton()->click();
    host.tabBar()->setCurrentIndex(1);
    auto &info = *static_cast<InfoPanel *>(host.page(PanelHost::Page::Info));
    auto *cellCount = qobject_cast<QLineEdit *>(info.control(InfoField::cellCount));
    for (int i = 0; i < 50 && cellCount->text().isEmpty(); ++i)
        runFor(100);
    if (!core.link.portOpen() || cellCount->text().isEmpty()) {
        std::fprintf(stderr, "window_stall: no answer from the simulator: %s\n",
                     qPrintable(prompt.texts().join(QLatin1Char('|'))));
        return 2;
    }

    const Stalls polling = measureStalls(seconds * 1000);
    std::printf("idle:    longest gap %6.2f ms wall, %6.2f ms CPU (%lld ticks)\n", idle.wallMs,
                idle.cpuMs, idle.ticks);
    std::printf("polling: longest gap %6.2f ms wall, %6.2f ms CPU (%lld ticks, %d s)\n",
                polling.wallMs, polling.cpuMs, polling.ticks, seconds);
    window.close();
    sim.terminate();
    sim.waitForFinished(5000);
    return polling.cpuMs < limitMs && prompt.messages.isEmpty() ? 0 : 1;
}
