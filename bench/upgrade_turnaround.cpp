// A firmware upgrade (APP) against the simulated pack on a pseudo-terminal,
// through the real serial line: how long the program takes from an
// acknowledgement to the next upgrade frame, and how long the whole upgrade
// takes. The turnaround runs from the moment the receive assembly accepted
// the answer (complete, CRC checked) to the moment the next frame was handed
// to the port; the serial port writes it to the device on its next pass of
// the event loop, which the round trip (frame handed over to its answer
// accepted: that pass, the simulator and both reads) and the cycle (frame to
// frame) include. The answer after the start frame is counted apart, because
// the line is closed and opened again at the upgrade rate before the first
// block. The total runs from the upgrade button to the success message and
// includes the wait for the send timer's first tick.
//
//   upgrade_turnaround [KIB] [--baud RATE]   (default 256 KiB at 115200)
#include "base/UserPrompt.h"
#include "link/LinkForm.h"
#include "shell/Core.h"
#include "upgrade/UpgradeForm.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
// The link page's rates, in list order; the upgrade page lists the same.
const QStringList rates = {"9600", "14400", "19200", "38400", "56000", "115200", "1200"};
// A pseudo-terminal refuses parity, so the line starts at another rate, as a
// real one would.
constexpr int startBaudIndex = 2; // 19200
constexpr int itemByte = 4;
constexpr int blockWord = 7;

class QuitPrompt : public UserPrompt {
public:
    QStringList texts;
    std::function<void()> onMessage;
    void message(const QString &text, const QString &, Icon) override
    {
        texts << text;
        if (onMessage)
            onMessage();
    }
    bool question(const QString &, const QString &) override { return true; }
    QString openFileName(const QString &, const QString &) override { return {}; }
};

struct Spread {
    double median = 0, p95 = 0, max = 0;
};

Spread spread(std::vector<double> v)
{
    if (v.empty())
        return {};
    std::sort(v.begin(), v.end());
    const auto at = [&](double q) {
        return v[std::min(v.size() - 1, size_t(q * double(v.size())))];
    };
    return {at(0.5), at(0.95), v.back()};
}
} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir config;
    if (!config.isValid())
        return 2;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QCoreApplication app(argc, argv);
    int kib = 256;
    QString baud = QStringLiteral("115200");
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--baud") && i + 1 < args.size() &&
            rates.contains(args.at(i + 1)))
            baud = args.at(++i);
        else if (args.at(i).toInt() > 0)
            kib = args.at(i).toInt();
        else {
            std::fprintf(stderr, "usage: upgrade_turnaround [KIB] [--baud RATE]\n");
            return 2;
        }
    }

    const QString ports = config.path() + QStringLiteral("/cellvane/ports");
    QDir().mkpath(ports);
    QProcess sim;
    sim.setProgram(QStringLiteral(CELLVANE_SIM_EXE));
    sim.setArguments({QStringLiteral("--link"), ports + QStringLiteral("/com7"),
                      QStringLiteral("--baud"), rates.at(startBaudIndex),
                      QStringLiteral("--firmware-out"), config.filePath(QStringLiteral("out"))});
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QEventLoop started;
    QObject::connect(&sim, &QProcess::readyReadStandardOutput, &started, &QEventLoop::quit);
    QObject::connect(&sim, &QProcess::finished, &started, &QEventLoop::quit);
    QTimer::singleShot(10000, &started, &QEventLoop::quit);
    sim.start();
    started.exec();
    if (sim.state() != QProcess::Running || !sim.canReadLine()) {
        std::fprintf(stderr, "upgrade_turnaround: the simulator did not start\n");
        return 2;
    }

    const QString image = config.filePath(QStringLiteral("image.bin"));
    {
        QFile file(image);
        QByteArray bytes(kib * 1024, '\0');
        for (qsizetype i = 0; i < bytes.size(); ++i)
            bytes[i] = char(i * 131 + (i >> 9));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return 2;
    }

    QuitPrompt prompt;
    Core core{prompt, nullptr};
    AppState &s = core.state;
    s.setEnglishUi(true);
    s.link.setEntries(LinkField::port, {QStringLiteral("COM7")}, 0);
    s.link.setChoice(LinkField::baud, startBaudIndex);
    core.link.buildPortSettings();
    core.link.toggleOpen();
    if (!core.link.portOpen()) {
        std::fprintf(stderr, "upgrade_turnaround: cannot open the line: %s\n",
                     qPrintable(prompt.texts.join(QLatin1Char('|'))));
        return 2;
    }
    core.selectTab(7);
    core.upgrade.selectTarget(UpgradeField::app);
    s.upgrade.setChoice(UpgradeField::baud, int(rates.indexOf(baud)));
    s.upgrade.setText(UpgradeField::path, image);

    QElapsedTimer clock;
    qint64 sentAt = -1, previousSentAt = -1, ackedAt = -1, firstSentAt = -1, lastAckAt = -1,
           switchNs = -1;
    int ackedBlock = -1, frames = 0, resends = 0;
    std::vector<double> turnaround, roundTrip, cycle;
    const auto upgradeFrame = [&](const QByteArray &f) {
        return f.size() > blockWord + 1 && quint8(f.at(itemByte)) == core.upgrade.targetItem();
    };
    QObject::connect(&core.link.tap(), &LinkTap::frameAccepted, [&](qint64, const QByteArray &f) {
        if (!upgradeFrame(f) || f.at(3) == 0)
            return;
        ackedAt = lastAckAt = clock.nsecsElapsed();
        ackedBlock = (quint8(f.at(blockWord)) << 8) | quint8(f.at(blockWord + 1));
        if (sentAt >= 0)
            roundTrip.push_back((ackedAt - sentAt) / 1e6);
        sentAt = -1;
    });
    QObject::connect(&core.link.tap(), &LinkTap::frameSent, [&](qint64, const QByteArray &f) {
        if (!upgradeFrame(f))
            return;
        const qint64 now = clock.nsecsElapsed();
        ++frames;
        if (firstSentAt < 0)
            firstSentAt = now;
        if (ackedAt < 0)
            ++resends; // the send timer's: the start frame or a lost answer's
        else if (ackedBlock == 0)
            switchNs = now - ackedAt;
        else {
            turnaround.push_back((now - ackedAt) / 1e6);
            cycle.push_back((now - previousSentAt) / 1e6);
        }
        ackedAt = -1;
        previousSentAt = now;
        sentAt = now;
    });

    QEventLoop loop;
    prompt.onMessage = [&] { loop.quit(); };
    QTimer::singleShot(300000, &loop, &QEventLoop::quit);
    clock.start();
    core.upgrade.start();
    loop.exec();
    const double totalMs = clock.nsecsElapsed() / 1e6;
    const bool ok = prompt.texts == QStringList{QStringLiteral("Upgrade succeeded")};

    const Spread t = spread(turnaround), r = spread(roundTrip), c = spread(cycle);
    std::printf("upgrade of %d KiB at %s baud: %s, %d frames (%d sent by the timer)\n", kib,
                qPrintable(baud),
                ok ? "succeeded" : qPrintable(prompt.texts.join(QLatin1Char('|'))), frames,
                resends);
    std::printf("turnaround ms: median %.4f p95 %.4f max %.4f (%zu answers; after the start "
                "frame's: %.3f)\n",
                t.median, t.p95, t.max, turnaround.size(), switchNs / 1e6);
    std::printf("round trip ms: median %.4f p95 %.4f max %.4f\n", r.median, r.p95, r.max);
    std::printf("cycle ms:      median %.4f p95 %.4f max %.4f\n", c.median, c.p95, c.max);
    std::printf("total ms: %.1f (first frame to last answer %.1f)\n", totalMs,
                (lastAckAt - firstSentAt) / 1e6);
    core.shutdown();
    sim.terminate();
    QEventLoop gone;
    QObject::connect(&sim, &QProcess::finished, &gone, &QEventLoop::quit);
    QTimer::singleShot(5000, &gone, &QEventLoop::quit);
    if (sim.state() != QProcess::NotRunning)
        gone.exec();
    return ok ? 0 : 1;
}
