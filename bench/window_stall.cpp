// How long the event loop can be held up while the real window polls the
// simulated pack: a 1 ms timer ticks throughout, and the longest gap between
// two ticks is reported in wall time and in the CPU time this thread used.
// The second is what the program itself costs; the first adds whatever the
// machine's other work takes from it. Exits 1 when the CPU gap reaches 20 ms.
//
//   window_stall [SECONDS] [--baud RATE] [--console|--full] [--charts] [--upgrade] [--sim ARG]...
//
// SECONDS of polling (default 10; runs offscreen unless told otherwise) at the
// link page's RATE (default 9600), with the traffic console open and showing
// every frame when asked (--full: already holding as many rows as it keeps,
// as after a long session), and the charts window following the polling with
// --charts; --upgrade then sends a firmware image (APP, at the
// same rate) and measures the whole transfer as well. Each --sim passes one
// argument on to the simulator (--sim --noise --sim 0.1 for a noisy line).
#include "StallProbe.h"
#include "support/RecordingPrompt.h"

#include "link/LinkForm.h"
#include "link/widgets/LinkPanel.h"
#include "responses/InfoForm.h"
#include "responses/widgets/InfoPanel.h"
#include "shell/Core.h"
#include "shell/widgets/MainWindow.h"
#include "shell/widgets/PanelHost.h"
#include "traffic/TrafficModel.h"
#include "traffic/widgets/TrafficWindow.h"
#include "upgrade/UpgradeForm.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {
constexpr int comNumber = 7;
constexpr double limitMs = 20;
// The link page's rates, in list order; the upgrade page lists the same.
const QStringList rates = {"9600", "14400", "19200", "38400", "56000", "115200", "1200"};
constexpr int imageBytes = 256 * 1024;

struct Options {
    int seconds = 10;
    QString baud = QStringLiteral("9600");
    bool console = false;
    bool upgrade = false;
    bool full = false;
    bool charts = false;
    QStringList simArguments;
};

bool parse(const QStringList &args, Options &o)
{
    for (int i = 1; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == QLatin1String("--console"))
            o.console = true;
        else if (a == QLatin1String("--upgrade"))
            o.upgrade = true;
        else if (a == QLatin1String("--charts"))
            o.charts = true;
        else if (a == QLatin1String("--full"))
            o.console = o.full = true;
        else if (a == QLatin1String("--sim") && i + 1 < args.size())
            o.simArguments << args.at(++i);
        else if (a == QLatin1String("--baud") && i + 1 < args.size() &&
                 rates.contains(args.at(i + 1)))
            o.baud = args.at(++i);
        else if (a.toInt() > 0)
            o.seconds = a.toInt();
        else
            return false;
    }
    return true;
}

struct Stalls {
    double wallMs = 0;
    double cpuMs = 0;
    qint64 ticks = 0;
};

// Until `ms` have passed, or `done` holds.
Stalls measureStalls(int ms, const std::function<bool()> &done = {})
{
    StallProbe probe;
    QEventLoop loop;
    if (done)
        probe.setOnTick([&] {
            if (done())
                loop.quit();
        });
    probe.start();
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
    Options options;
    if (!parse(app.arguments(), options)) {
        std::fprintf(stderr,
                     "usage: window_stall [SECONDS] [--baud RATE] [--console|--full] [--charts] "
                     "[--upgrade] [--sim ARG]...\n");
        return 2;
    }
    const int seconds = options.seconds;

    const QString ports = config.path() + QStringLiteral("/cellvane/ports");
    QDir().mkpath(ports);
    QProcess sim;
    sim.setProgram(QStringLiteral(CELLVANE_SIM_EXE));
    sim.setArguments(
        QStringList{QStringLiteral("--link"), ports + QStringLiteral("/com%1").arg(comNumber),
                    QStringLiteral("--baud"), options.baud, QStringLiteral("--firmware-out"),
                    config.filePath(QStringLiteral("firmware"))} +
        options.simArguments);
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
    QComboBox *baudList = link.list(LinkField::baud);
    const int baudIndex = int(rates.indexOf(options.baud));
    baudList->setCurrentIndex(baudIndex);
    emit baudList->activated(baudIndex);
    if (options.console) {
        window.showTrafficWindow();
        if (options.full) {
            // As after a long session: every new row pushes the oldest out.
            TrafficModel &rows = window.trafficWindow()->model();
            const QByteArray frame = QByteArray::fromHex("5CFF1000010000"
                                                         "1784");
            for (int i = 0; i < TrafficModel::capacity; ++i)
                rows.add({i, TrafficRow::Kind::Sent, frame});
            rows.flush();
        }
        runFor(300);
    }
    if (options.charts) {
        for (QAction *action : window.viewMenu()->actions())
            if (action->objectName() == QLatin1String("chartsAction"))
                action->trigger();
        runFor(300);
    }
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
    const auto shownRows = [&] {
        const TrafficWindow *console = window.trafficWindow();
        return console ? console->model().rowCount() + console->model().pendingCount() : 0;
    };
    const int pollingRows = shownRows();
    bool ok = polling.cpuMs < limitMs && prompt.messages.isEmpty();

    Stalls upgrade;
    bool upgraded = false;
    if (options.upgrade) {
        const QString image = config.filePath(QStringLiteral("image.bin"));
        QFile file(image);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(QByteArray(imageBytes, '\x5D')) != imageBytes)
            return 2;
        file.close();
        host.tabBar()->setCurrentIndex(6);
        AppState &s = core.state;
        core.upgrade.selectTarget(UpgradeField::app);
        s.upgrade.setChoice(UpgradeField::baud, baudIndex);
        s.upgrade.setText(UpgradeField::path, image);
        core.upgrade.start();
        upgrade = measureStalls(120000, [&] { return !prompt.messages.isEmpty(); });
        upgraded = prompt.texts() == QStringList{QStringLiteral("Upgrade succeeded")} ||
                   prompt.texts() == QStringList{QStringLiteral("升级成功")};
        ok = ok && upgraded && upgrade.cpuMs < limitMs;
    }

    std::printf("line %s baud, traffic console %s, charts %s\n", qPrintable(options.baud),
                options.full      ? "open and full"
                : options.console ? "open"
                                  : "closed",
                options.charts ? "open" : "closed");
    std::printf("idle:    longest gap %6.2f ms wall, %6.2f ms CPU (%lld ticks)\n", idle.wallMs,
                idle.cpuMs, idle.ticks);
    std::printf(
        "polling: longest gap %6.2f ms wall, %6.2f ms CPU (%lld ticks, %d s, %d console rows)\n",
        polling.wallMs, polling.cpuMs, polling.ticks, seconds, pollingRows);
    if (options.upgrade)
        std::printf("upgrade: longest gap %6.2f ms wall, %6.2f ms CPU (%lld ticks, %d KiB, %s, %d "
                    "console rows)\n",
                    upgrade.wallMs, upgrade.cpuMs, upgrade.ticks, imageBytes / 1024,
                    upgraded ? "succeeded" : qPrintable(prompt.texts().join(QLatin1Char('|'))),
                    shownRows());
    window.close();
    sim.terminate();
    sim.waitForFinished(5000);
    return ok ? 0 : 1;
}
