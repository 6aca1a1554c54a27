#pragma once

// Simulated packs for the profile tests: each on a pseudo-terminal that the
// link finds as COM<number>, and a real event loop to wait in.
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTimer>

#include <csignal>
#include <functional>

namespace ProfileSim {

// One simulated pack, found by the link as COM<number>.
class Sim {
public:
    Sim(int number, const QStringList &extra)
    {
        const QString ports =
            QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")) + QStringLiteral("/cellvane/ports");
        QDir().mkpath(ports);
        const QString link = ports + QStringLiteral("/com%1").arg(number);
        QFile::remove(link);
        m_process.setProgram(QStringLiteral(CELLVANE_SIM_EXE));
        m_process.setArguments(QStringList{"--link", link, "--speed", "0"} + extra);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start();
    }
    ~Sim()
    {
        resume();
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
    }
    bool ready()
    {
        m_out += m_process.readAllStandardOutput();
        return m_out.contains('\n');
    }
    void pause() { ::kill(pid_t(m_process.processId()), SIGSTOP); }
    void resume() { ::kill(pid_t(m_process.processId()), SIGCONT); }

private:
    QProcess m_process;
    QByteArray m_out;
};

inline bool waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(10);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    if (!done())
        loop.exec();
    return done();
}

} // namespace ProfileSim
