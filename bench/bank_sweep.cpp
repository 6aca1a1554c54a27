// Sweep time of the bank polling against the simulator: 4 and 16 packs, at
// 9600 and 115200 baud. Next to the measured sweep it prints the wire time of
// the same bytes (what the sweep needs at least on a real line at that rate)
// and the host's share of each exchange: the time spent in the poller's own
// steps (reading, finding the answer, decoding, choosing the next pack),
// measured around every tick that did anything.
//
// The simulator's pseudo-terminal delivers at memory speed whatever rate is
// set, so the measured sweep is the host's and the simulator's turnaround;
// on a real line the wire time adds to it.
//
//   bank_sweep [SWEEPS]   (default 30 sweeps per case)

#include "bank/BankPoller.h"
#include "bank/BusScan.h"
#include "bank/PortBankLine.h"
#include "link/ModeString.h"
#include "link/SerialPortIo.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <cstdio>

namespace {

struct Result {
    double sweepMs = 0;
    double wireMs = 0;
    double hostUsPerExchange = 0;
    double exchangesPerSweep = 0;
    int online = 0;
};

bool runCase(int packs, int baud, int sweeps, Result *result)
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("ttyBANK"));
    QStringList addresses;
    QList<int> list;
    for (int a = 1; a <= packs; ++a) {
        addresses << QString::number(a);
        list << a;
    }
    QProcess sim;
    sim.setProgram(QStringLiteral(CELLVANE_SIM_EXE));
    sim.setArguments({QStringLiteral("--link"), link, QStringLiteral("--packs"),
                      addresses.join(QLatin1Char(',')), QStringLiteral("--baud"),
                      QString::number(baud), QStringLiteral("--speed"), QStringLiteral("0")});
    sim.setStandardOutputFile(QProcess::nullDevice());
    sim.setStandardErrorFile(QProcess::nullDevice());
    sim.start();
    if (!sim.waitForStarted(5000))
        return false;
    for (int i = 0; i < 100 && !QFileInfo(link).isSymLink(); ++i)
        QThread::msleep(50);

    const PortIo::Settings settings = ModeString::parse(QStringLiteral("%1,n,8,1").arg(baud));
    SerialPortIo port;
    int error = 0;
    if (port.open(QFileInfo(link).symLinkTarget(), settings, &error) != PortIo::OpenResult::Ok) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(link));
        return false;
    }
    PortBankLine line(port);
    BankPoller poller(line, settings, 16);
    poller.setAddresses(list);
    poller.setSweepPeriodMs(0); // back to back: the sweep's own length

    QElapsedTimer clock;
    clock.start();
    qint64 hostNs = 0;
    int firstSweeps = -1;
    qint64 startMs = 0, startBytes = 0, startExchanges = 0, startHostNs = 0;
    QEventLoop loop;
    QTimer timer;
    timer.setInterval(1);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const qint64 before = clock.nsecsElapsed();
        const qint64 exchanges = poller.exchanges();
        poller.tick(before / 1000000);
        // Only the ticks that ended an exchange count: the others find
        // nothing and return.
        if (poller.exchanges() != exchanges)
            hostNs += clock.nsecsElapsed() - before;
        // The first sweep reads the battery IDs as well; the count starts after it.
        if (firstSweeps < 0 && poller.sweeps() >= 1) {
            firstSweeps = poller.sweeps();
            startMs = clock.elapsed();
            startBytes = poller.bytesOnLine();
            startExchanges = poller.exchanges();
            startHostNs = hostNs;
        }
        if (firstSweeps >= 0 && poller.sweeps() >= firstSweeps + sweeps)
            loop.quit();
        if (!poller.running())
            loop.quit();
    });
    poller.start(0);
    timer.start();
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    loop.exec();
    timer.stop();

    const int done = poller.sweeps() - firstSweeps;
    if (firstSweeps < 0 || done <= 0)
        return false;
    const double elapsed = double(clock.elapsed() - startMs);
    const qint64 bytes = poller.bytesOnLine() - startBytes;
    const qint64 exchanges = poller.exchanges() - startExchanges;
    result->sweepMs = elapsed / done;
    result->wireMs = BusScan::wireMs(settings, int(bytes)) / done;
    result->exchangesPerSweep = double(exchanges) / done;
    result->hostUsPerExchange = double(hostNs - startHostNs) / 1000.0 / double(exchanges);
    for (const BankPack &p : poller.packs())
        result->online += p.online ? 1 : 0;
    port.close();
    sim.terminate();
    sim.waitForFinished(5000);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int sweeps = argc > 1 ? std::max(1, atoi(argv[1])) : 30;
    std::printf("%-6s %-7s %-7s %-12s %-12s %-14s %-s\n", "packs", "baud", "online", "sweep ms",
                "wire ms", "real line ms", "host us/exchange");
    for (int packs : {4, 16})
        for (int baud : {9600, 115200}) {
            Result r;
            if (!runCase(packs, baud, sweeps, &r)) {
                std::printf("%-6d %-7d failed\n", packs, baud);
                continue;
            }
            // On a real line the bytes take their wire time on top of the
            // turnaround measured here.
            std::printf("%-6d %-7d %-7d %-12.1f %-12.1f %-14.1f %-.1f\n", packs, baud, r.online,
                        r.sweepMs, r.wireMs, r.sweepMs + r.wireMs, r.hostUsPerExchange);
        }
    return 0;
}
