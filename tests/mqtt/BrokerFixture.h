#pragma once

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

// A private mosquitto broker on 127.0.0.1 and subscribers to it, so that the
// tests need no broker service of the machine's.
namespace MqttTest {

inline const QString kBroker = QStringLiteral("/usr/sbin/mosquitto");

// A port nobody listens on now; the broker binds it a moment later.
inline int freePort()
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    int port = 0;
    if (::bind(s, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0 &&
        ::getsockname(s, reinterpret_cast<sockaddr *>(&a), &len) == 0)
        port = ntohs(a.sin_port);
    ::close(s);
    return port;
}

inline bool portAccepts(int port)
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(quint16(port));
    const bool ok = ::connect(s, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0;
    ::close(s);
    return ok;
}

// Runs a helper program to its end, its output kept out of the test's.
inline int run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000))
        return -1;
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

class Broker {
public:
    ~Broker() { stop(); }

    // Starts on the given port, or a free one; true once it accepts connections.
    // The extra lines replace "anyone may connect".
    bool start(int port = 0, const QString &extra = QStringLiteral("allow_anonymous true\n"))
    {
        if (!QFile::exists(kBroker)) {
            qWarning("%s is missing; tools/deps.sh installs the mosquitto package",
                     qPrintable(kBroker));
            return false;
        }
        m_port = port ? port : freePort();
        const QString conf = m_dir.filePath(QStringLiteral("mosquitto.conf"));
        QFile f(conf);
        if (!f.open(QIODevice::WriteOnly))
            return false;
        // As root the broker would switch to its own user, who cannot read
        // this folder.
        QString text = QStringLiteral("listener %1 127.0.0.1\npersistence false\nuser root\n"
                                      "log_type error\nlog_type warning\n")
                           .arg(m_port);
        text += extra;
        f.write(text.toUtf8());
        f.close();
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(kBroker, {QStringLiteral("-c"), conf});
        if (!m_process.waitForStarted(5000))
            return false;
        return QTest::qWaitFor([this] { return portAccepts(m_port); }, 5000);
    }
    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        m_process.waitForFinished(5000);
    }
    int port() const { return m_port; }
    QString dir() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
};

struct Received {
    bool retained = false;
    QString topic;
    QByteArray payload;
};

// mosquitto_sub printing "retain-flag topic payload" per message.
class Subscriber {
public:
    ~Subscriber()
    {
        m_process.kill();
        m_process.waitForFinished(2000);
    }

    // True once a probe published on the broker has come back.
    bool start(int port, const QStringList &topics)
    {
        m_port = port;
        QStringList args{QStringLiteral("-h"), QStringLiteral("127.0.0.1"),
                         QStringLiteral("-p"), QString::number(port),
                         QStringLiteral("-F"), QStringLiteral("%r %t %p"),
                         QStringLiteral("-t"), QStringLiteral("probe")};
        for (const QString &t : topics)
            args << QStringLiteral("-t") << t;
        QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] { read(); });
        m_process.start(QStringLiteral("mosquitto_sub"), args);
        if (!m_process.waitForStarted(5000))
            return false;
        for (int i = 0; i < 20; ++i) {
            QProcess::execute(QStringLiteral("mosquitto_pub"),
                              {QStringLiteral("-h"), QStringLiteral("127.0.0.1"),
                               QStringLiteral("-p"), QString::number(port), QStringLiteral("-t"),
                               QStringLiteral("probe"), QStringLiteral("-m"), QStringLiteral("x")});
            if (QTest::qWaitFor([this] { return !on(QStringLiteral("probe")).isEmpty(); }, 250))
                return true;
        }
        return false;
    }

    QList<Received> on(const QString &topic) const
    {
        QList<Received> out;
        for (const Received &r : m_received) {
            if (r.topic == topic)
                out.append(r);
        }
        return out;
    }
    QByteArray last(const QString &topic) const
    {
        const QList<Received> all = on(topic);
        return all.isEmpty() ? QByteArray() : all.last().payload;
    }
    const QList<Received> &all() const { return m_received; }

private:
    void read()
    {
        while (m_process.canReadLine()) {
            QByteArray line = m_process.readLine();
            line.chop(1);
            const qsizetype a = line.indexOf(' ');
            const qsizetype b = line.indexOf(' ', a + 1);
            if (a < 0 || b < 0)
                continue;
            m_received.append({line.left(a) == "1", QString::fromUtf8(line.mid(a + 1, b - a - 1)),
                               line.mid(b + 1)});
        }
    }

    QProcess m_process;
    int m_port = 0;
    QList<Received> m_received;
};

} // namespace MqttTest
