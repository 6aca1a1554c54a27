// cellvane-cli as a script runs it, against the simulated pack on a
// pseudo-terminal: what it prints, its exit codes, and the frames that reach
// the pack (the simulator logs every request it receives).
#include "link/Frame.h"
#include "records/WorkbookReaders.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {
constexpr int comNumber = 42;

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

QString hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

// What a request to the pack at 255 looks like on the wire, without its CRC.
QString requestHead(quint8 operation, quint8 item, const QByteArray &data)
{
    const QByteArray frame = Frame::build(Frame::requestStart, 255, 16, operation, item, data);
    return hex(frame.left(frame.size() - 2));
}
} // namespace

class TestCliSim : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_sim;
    QString m_simLog;
    QString m_device;

    QString simLog()
    {
        // Whatever the simulator has logged by now, until it has been quiet
        // for a moment.
        do
            m_simLog += QString::fromLocal8Bit(m_sim.readAllStandardError());
        while (m_sim.waitForReadyRead(150));
        m_simLog += QString::fromLocal8Bit(m_sim.readAllStandardError());
        return m_simLog;
    }
    // The bytes the pack received since `from` (a position in the log), as
    // one stream of hex pairs: a frame may arrive in several pieces.
    QString receivedSince(qsizetype from)
    {
        QStringList pieces;
        for (const QString &line : simLog().mid(from).split(QLatin1Char('\n')))
            if (line.contains(QLatin1String("received ")))
                pieces << line.mid(line.indexOf(QLatin1String("received ")) + 9).trimmed();
        return pieces.join(QLatin1Char(' '));
    }

    Run cli(const QStringList &arguments, bool withPort = true, int timeoutMs = 60000)
    {
        QProcess p;
        p.start(QStringLiteral(CELLVANE_CLI_EXE),
                arguments + (withPort ? QStringList{QStringLiteral("--port"),
                                                    QStringLiteral("COM%1").arg(comNumber)}
                                      : QStringList{}));
        Run r;
        if (!p.waitForFinished(timeoutMs)) {
            p.kill();
            p.waitForFinished();
        }
        r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
        r.err = QString::fromLocal8Bit(p.readAllStandardError());
        return r;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString ports =
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            QStringLiteral("/cellvane/ports");
        QVERIFY(QDir().mkpath(ports));
        const QString link = ports + QStringLiteral("/com%1").arg(comNumber);
        QFile::remove(link);
        m_sim.start(QStringLiteral(CELLVANE_SIM_EXE),
                    {QStringLiteral("--link"), link, QStringLiteral("--packs"),
                     QStringLiteral("255,3"), QStringLiteral("--records"), QStringLiteral("12"),
                     QStringLiteral("--speed"), QStringLiteral("0"), QStringLiteral("--verbose"),
                     QStringLiteral("--firmware-out"), m_dir.filePath(QStringLiteral("firmware"))});
        QVERIFY2(m_sim.waitForStarted(5000), "cellvane-sim does not start");
        QElapsedTimer t;
        t.start();
        while (!m_sim.canReadLine() && t.elapsed() < 10000)
            m_sim.waitForReadyRead(100);
        m_device = QString::fromLocal8Bit(m_sim.readLine()).trimmed();
        QVERIFY2(QFileInfo(link).isSymLink(), qPrintable(simLog()));
    }
    void cleanupTestCase()
    {
        m_sim.terminate();
        m_sim.waitForFinished(5000);
    }

    // Every failure: its exit code and exactly one line on stderr, nothing
    // sent that the command line did not ask for.
    void failures_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown command") << QStringList{"frobnicate"} << 2 << "unknown command";
        QTest::newRow("unknown option") << QStringList{"info", "--colour"} << 2 << "colour";
        QTest::newRow("rate not in the list")
            << QStringList{"info", "--baud", "1234"} << 2 << "1234";
        QTest::newRow("one address only")
            << QStringList{"control", "reset", "--address", "1,2"} << 2 << "one address";
        QTest::newRow("unknown column")
            << QStringList{"params", "write", "Cell_OV", "Bogus=1"} << 2 << "Bogus=1";
        QTest::newRow("unknown control")
            << QStringList{"control", "charge-mos", "maybe"} << 2 << "unknown control";
        QTest::newRow("export format") << QStringList{"history", "--out", "x.txt"} << 2 << "x.txt";
        QTest::newRow("value the row cannot take")
            << QStringList{"params", "write", "Cell_OV", "ProtVal=abc"} << 2 << "Cell_OV";
        QTest::newRow("silent pack") << QStringList{"info", "--address", "7", "--timeout", "1.5"}
                                     << 1 << "address 7 did not answer";
        QTest::newRow("missing firmware")
            << QStringList{"upgrade", "app", "/nonexistent/app.bin"} << 3 << "app.bin";
        QTest::newRow("firmware not a .bin")
            << QStringList{"upgrade", "app", QStringLiteral(CELLVANE_SOURCE_DIR "/README.md")} << 3
            << ".bin";
        QTest::newRow("export folder missing")
            << QStringList{"history", "--out", "/nonexistent/x.csv"} << 3 << "/nonexistent";
        QTest::newRow("port without a device")
            << QStringList{"info", "--port", "COM98"} << 1 << "COM98";
    }
    void failures()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const qsizetype logAt = simLog().size();
        const Run r = cli(arguments, !arguments.contains(QLatin1String("--port")));
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(r.err.startsWith(QLatin1String("cellvane-cli: ")) && r.err.count('\n') == 1 &&
                     r.err.contains(message),
                 qPrintable(r.err));
        QCOMPARE(r.out, QString());
        // A refused write is refused before anything goes out.
        if (arguments.value(1) == QLatin1String("write"))
            QVERIFY2(!receivedSince(logAt).contains(QLatin1String(" 01 28 00 0e")),
                     qPrintable(receivedSince(logAt)));
    }

    void helpForEveryCommand_data()
    {
        QTest::addColumn<QString>("command");
        for (const char *c : {"ports", "scan", "info", "watch", "params", "control", "history",
                              "record", "upgrade", "profile"})
            QTest::newRow(c) << QString::fromLatin1(c);
    }
    void helpForEveryCommand()
    {
        QFETCH(QString, command);
        const Run r = cli({command, QStringLiteral("--help")}, false);
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.out.contains(QLatin1String("--port")) && r.out.contains(command),
                 qPrintable(r.out));
        QCOMPARE(r.err, QString());
    }

    void portsListsTheLinkedPort()
    {
        const Run r = cli({QStringLiteral("ports"), QStringLiteral("--json")}, false);
        QCOMPARE(r.exitCode, 0);
        const QJsonArray ports = QJsonDocument::fromJson(r.out.toUtf8()).array();
        bool found = false;
        for (const QJsonValue &p : ports)
            found |= p[QLatin1String("port")] == QStringLiteral("COM%1").arg(comNumber) &&
                     p[QLatin1String("device")] == m_device &&
                     p[QLatin1String("access")] == QLatin1String("available");
        QVERIFY2(found, qPrintable(r.out));
    }

    void scanFindsThePackOnTheBus()
    {
        const Run r = cli({QStringLiteral("scan"), QStringLiteral("--json")});
        QCOMPARE(r.exitCode, 0);
        const QJsonArray found = QJsonDocument::fromJson(r.out.toUtf8()).array();
        QCOMPARE(found.size(), 1);
        QCOMPARE(found[0][QLatin1String("address")].toInt(), 3);
        QVERIFY(!found[0][QLatin1String("battery_id")].toString().isEmpty());
    }

    void infoJsonHoldsTheDecodedCycle()
    {
        const Run r = cli({QStringLiteral("info"), QStringLiteral("--json")});
        QCOMPARE(r.exitCode, 0);
        const QJsonObject p = QJsonDocument::fromJson(r.out.toUtf8()).object();
        for (const char *key : {"address", "battery_id", "total_voltage", "current", "soc", "soh",
                                "cell_max_voltage", "cell_max_index", "cell_min_voltage",
                                "cell_min_index", "cell_diff", "temp_max", "temp_min", "charge_mos",
                                "discharge_mos", "alarms", "protections", "faults", "cells"})
            QVERIFY2(p.contains(QLatin1String(key)), key);
        QCOMPARE(p[QLatin1String("address")].toInt(), 255);
        QVERIFY(p[QLatin1String("charge_mos")].isBool());
        const QJsonArray cells = p[QLatin1String("cells")].toArray();
        QCOMPARE(cells.size(), 16);
        double low = 99, high = 0, sum = 0;
        for (const QJsonValue &c : cells) {
            low = qMin(low, c.toDouble());
            high = qMax(high, c.toDouble());
            sum += c.toDouble();
        }
        // Scaled as volts, and consistent with the pack's own summary values.
        QVERIFY2(low > 2 && high < 4.5, qPrintable(r.out));
        QCOMPARE(p[QLatin1String("cell_max_voltage")].toDouble(), high);
        QCOMPARE(p[QLatin1String("cell_min_voltage")].toDouble(), low);
        QVERIFY(qAbs(p[QLatin1String("cell_diff")].toDouble() - (high - low) * 1000) < 0.5);
        QVERIFY(qAbs(p[QLatin1String("total_voltage")].toDouble() - sum) < 0.1);
        const double soc = p[QLatin1String("soc")].toDouble();
        QVERIFY(soc >= 0 && soc <= 100);
    }

    // Several packs: one document, the silent one marked, and exit code 1.
    void infoOverSeveralPacks()
    {
        const Run r =
            cli({QStringLiteral("info"), QStringLiteral("--json"), QStringLiteral("--address"),
                 QStringLiteral("3,9"), QStringLiteral("--address"), QStringLiteral("255"),
                 QStringLiteral("--timeout"), QStringLiteral("1.5")});
        QCOMPARE(r.exitCode, 1);
        const QJsonArray packs = QJsonDocument::fromJson(r.out.toUtf8()).array();
        QCOMPARE(packs.size(), 3);
        QCOMPARE(packs[0][QLatin1String("address")].toInt(), 3);
        QCOMPARE(packs[0][QLatin1String("cells")].toArray().size() > 0, true);
        QVERIFY(packs[1].toObject().contains(QLatin1String("error")));
        QCOMPARE(packs[2][QLatin1String("address")].toInt(), 255);
        // Each pack's own values, not the previous one's.
        QVERIFY(packs[0][QLatin1String("battery_id")] != packs[2][QLatin1String("battery_id")]);
        QVERIFY2(r.err.contains(QLatin1String("address 9")) && r.err.count('\n') == 1,
                 qPrintable(r.err));
    }

    void watchEndsCleanlyOnCtrlC()
    {
        QProcess p;
        p.start(QStringLiteral(CELLVANE_CLI_EXE),
                {QStringLiteral("watch"), QStringLiteral("--json"), QStringLiteral("--port"),
                 QStringLiteral("COM%1").arg(comNumber)});
        QVERIFY(p.waitForStarted());
        QByteArray out;
        QElapsedTimer t;
        t.start();
        while (out.count('\n') < 2 && t.elapsed() < 30000) {
            p.waitForReadyRead(200);
            out += p.readAllStandardOutput();
        }
        ::kill(pid_t(p.processId()), SIGINT);
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
        out += p.readAllStandardOutput();
        const QList<QByteArray> lines = out.trimmed().split('\n');
        QVERIFY2(lines.size() >= 2, out.constData());
        for (const QByteArray &line : lines)
            QVERIFY2(QJsonDocument::fromJson(line).object().contains(QLatin1String("cells")),
                     line.constData());
    }

    void paramsWriteSendsTheRowWithTheNewValue()
    {
        const qsizetype logAt = simLog().size();
        Run r = cli({QStringLiteral("params"), QStringLiteral("write"), QStringLiteral("Cell_OV"),
                     QStringLiteral("ProtVal=3.71"), QStringLiteral("AlarmEnable=0")});
        QCOMPARE(r.exitCode, 0);
        // The row is read first, then written whole: ProtVal 3710 mV first,
        // the alarm enable word at data bytes 8, 9.
        const QString wire = receivedSince(logAt);
        QVERIFY2(wire.contains(requestHead(0, 40, {})), qPrintable(wire));
        // Write, item 40, 14 data bytes, ProtVal 0x0E7E.
        const int at = int(wire.indexOf(QLatin1String("5c ff 10 01 28 00 0e 0e 7e")));
        QVERIFY2(at >= 0, qPrintable(wire));
        QCOMPARE(wire.mid(at + 3 * 15, 5), QStringLiteral("00 00"));

        r = cli({QStringLiteral("params"), QStringLiteral("read"), QStringLiteral("cell_ov"),
                 QStringLiteral("16"), QStringLiteral("--json")});
        QCOMPARE(r.exitCode, 0);
        const QJsonArray rows =
            QJsonDocument::fromJson(r.out.toUtf8()).object()[QLatin1String("rows")].toArray();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0][QLatin1String("ProtVal")].toDouble(), 3.71);
        QCOMPARE(rows[0][QLatin1String("AlarmEnable")].toBool(), false);
        QCOMPARE(rows[1][QLatin1String("row")].toString(), QStringLiteral("Cell_DIFV"));
    }

    void paramsReadAll()
    {
        const Run r =
            cli({QStringLiteral("params"), QStringLiteral("read"), QStringLiteral("--json")});
        QCOMPARE(r.exitCode, 0);
        const QJsonArray rows =
            QJsonDocument::fromJson(r.out.toUtf8()).object()[QLatin1String("rows")].toArray();
        QCOMPARE(rows.size(), 17);
        for (const QJsonValue &row : rows)
            QVERIFY2(row[QLatin1String("ProtVal")].isDouble(), qPrintable(r.out));
    }

    void controls_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("charge MOS off")
            << QStringList{"charge-mos", "off"} << QByteArray::fromHex("00ffffffff");
        QTest::newRow("discharge MOS on")
            << QStringList{"discharge-mos", "on"} << QByteArray::fromHex("ff01ffffff");
        QTest::newRow("sleep") << QStringList{"sleep"} << QByteArray::fromHex("ffff01ffff");
        QTest::newRow("wake") << QStringList{"wake"} << QByteArray::fromHex("ffffffffff");
        QTest::newRow("charge MOS on")
            << QStringList{"charge-mos", "on"} << QByteArray::fromHex("01ffffffff");
    }
    void controls()
    {
        QFETCH(QStringList, words);
        QFETCH(QByteArray, data);
        const qsizetype logAt = simLog().size();
        const Run r = cli(QStringList{QStringLiteral("control")} + words);
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QCOMPARE(r.out, QStringLiteral("Control succeeded\n"));
        QVERIFY2(receivedSince(logAt).contains(requestHead(1, 60, data)),
                 qPrintable(receivedSince(logAt)));
    }

    void historyExports_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("newest");
        QTest::newRow("csv, newest 5") << "history.csv" << 5;
        QTest::newRow("xls, all") << "history.xls" << 0;
        QTest::newRow("xlsx, newest 3") << "history.xlsx" << 3;
    }
    void historyExports()
    {
        QFETCH(QString, name);
        QFETCH(int, newest);
        const QString path = m_dir.filePath(name);
        QStringList args{QStringLiteral("history"), QStringLiteral("--out"), path};
        if (newest > 0)
            args << QStringLiteral("--from-newest") << QString::number(newest);
        const Run r = cli(args);
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        if (name.endsWith(QLatin1String(".csv"))) {
            const QList<QByteArray> lines = bytes.trimmed().split('\n');
            QCOMPARE(lines.size(), 1 + newest);
            QVERIFY(lines[0].startsWith("NO.,type,storage time"));
            // The newest record first: the highest number.
            QCOMPARE(lines[1].split(',').value(0).toInt(), 12);
            QCOMPARE(lines[1].split(',').size(), 20);
        } else if (name.endsWith(QLatin1String(".xlsx"))) {
            QString skip, error;
            const QJsonObject book = WorkbookReaders::readXlsx(path, &skip, &error);
            if (!skip.isEmpty())
                QSKIP(qPrintable(skip));
            const QJsonArray rows = book[QLatin1String("rows")].toArray();
            QVERIFY2(error.isEmpty() && rows.size() == 1 + newest, qPrintable(error));
            QCOMPARE(rows[0][0].toString(), QStringLiteral("NO."));
            QCOMPARE(rows[1][0].toInt(), 12);
            QCOMPARE(rows[1].toArray().size(), 20);
        } else {
            QVERIFY(bytes.startsWith(QByteArray::fromHex("d0cf11e0a1b11ae1")));
            QVERIFY(r.out.contains(QLatin1String("12 records")));
        }
        QVERIFY(!QFileInfo::exists(path + QStringLiteral(".part")));
    }

    void recordWritesOneLinePerSecond()
    {
        const QString dir = m_dir.filePath(QStringLiteral("rec"));
        const Run r =
            cli({QStringLiteral("record"), QStringLiteral("--seconds"), QStringLiteral("2"),
                 QStringLiteral("--out"), dir, QStringLiteral("--xlsx"), QStringLiteral("--json")});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        const QList<QString> lines = r.out.trimmed().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 3);
        QVERIFY(
            QJsonDocument::fromJson(lines[0].toUtf8()).object().contains(QLatin1String("cells")));
        const QJsonObject end = QJsonDocument::fromJson(lines[2].toUtf8()).object();
        QCOMPARE(end[QLatin1String("lines")].toInt(), 2);
        const QString recording = end[QLatin1String("recording")].toString();
        QVERIFY2(recording.startsWith(dir + QStringLiteral("/real-time data/")),
                 qPrintable(recording));
        QFile f(recording);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll().count('\n'), 2);
        QVERIFY(QFileInfo(end[QLatin1String("workbook")].toString()).size() > 0);
    }

    void upgrades_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("app") << "app" << false << 0;
        QTest::newRow("boot unconfirmed") << "boot" << false << 2;
        QTest::newRow("boot confirmed") << "boot" << true << 0;
    }
    void upgrades()
    {
        QFETCH(QString, target);
        QFETCH(bool, yes);
        QFETCH(int, exitCode);
        QByteArray image;
        for (int i = 0; i < 1000; ++i)
            image.append(char(i * 7 + target.size()));
        const QString path = m_dir.filePath(target + QStringLiteral(".bin"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(image);
        f.close();
        const QString firmware = m_dir.filePath(QStringLiteral("firmware"));
        QDir(firmware).removeRecursively();
        const qsizetype logAt = simLog().size();
        QStringList args{QStringLiteral("upgrade"), target, path};
        if (yes)
            args << QStringLiteral("--yes");
        const Run r = cli(args, true, 120000);
        QVERIFY2(r.exitCode == exitCode, qPrintable(r.err));
        const quint8 item = target == QLatin1String("app") ? 0xFA : 0xFB;
        const QString startFrame = requestHead(1, item, {}).left(3 * 5 - 1);
        if (exitCode != 0) {
            QVERIFY(!receivedSince(logAt).contains(startFrame));
            return;
        }
        QCOMPARE(r.out, QStringLiteral("Upgrade succeeded\n"));
        // What the pack received and kept is the file, byte for byte.
        const QStringList images = QDir(firmware).entryList(QDir::Files);
        QCOMPARE(images.size(), 1);
        QFile kept(firmware + QLatin1Char('/') + images.first());
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll().left(image.size()), image);
    }

    // Save, change the pack, compare, apply: each step's exit code, and the
    // apply writing the saved value back.
    void profileRoundTrip()
    {
        const QString path = m_dir.filePath(QStringLiteral("pack.json"));
        const auto profile = [&](const QString &action, const QStringList &extra = {}) {
            return cli(QStringList{QStringLiteral("profile"), action, path} + extra);
        };
        QCOMPARE(profile(QStringLiteral("save")).exitCode, 0);
        QCOMPARE(profile(QStringLiteral("compare")).exitCode, 0);
        QCOMPARE(cli({QStringLiteral("params"), QStringLiteral("write"), QStringLiteral("Cell_UV"),
                      QStringLiteral("ProtVal=2.61")})
                     .exitCode,
                 0);
        Run r = profile(QStringLiteral("compare"));
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.out.contains(QLatin1String("cell_uv.protection_value,2.61,")),
                 qPrintable(r.out));
        const qsizetype logAt = simLog().size();
        QCOMPARE(profile(QStringLiteral("apply")).exitCode, 2);
        QVERIFY(!receivedSince(logAt).contains(QLatin1String("5c ff 10 01 29")));
        r = profile(QStringLiteral("apply"), {QStringLiteral("--yes"), QStringLiteral("--json")});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QVERIFY(QJsonDocument::fromJson(r.out.toUtf8()).object()[QLatin1String("ok")].toBool());
        QVERIFY2(receivedSince(logAt).contains(QLatin1String("5c ff 10 01 29 00 0e")),
                 qPrintable(receivedSince(logAt)));
        QCOMPARE(profile(QStringLiteral("compare")).exitCode, 0);
    }

    void chineseTexts()
    {
        const Run r = cli({QStringLiteral("control"), QStringLiteral("wake"),
                           QStringLiteral("--lang"), QStringLiteral("zh")});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.out != QStringLiteral("Control succeeded\n") && !r.out.trimmed().isEmpty(),
                 qPrintable(r.out));
    }

    // Last: the simulator goes away under a running watch, as an unplugged
    // adapter does. The run ends with status 1 rather than waiting forever.
    void watchEndsWhenThePortIsLost()
    {
        QProcess p;
        p.start(QStringLiteral(CELLVANE_CLI_EXE),
                {QStringLiteral("watch"), QStringLiteral("--json"), QStringLiteral("--port"),
                 QStringLiteral("COM%1").arg(comNumber)});
        QVERIFY(p.waitForStarted());
        QElapsedTimer t;
        t.start();
        while (!p.canReadLine() && t.elapsed() < 30000)
            p.waitForReadyRead(200);
        QVERIFY(p.canReadLine());
        m_sim.terminate();
        QVERIFY(m_sim.waitForFinished(5000));
        QVERIFY(p.waitForFinished(20000));
        QCOMPARE(p.exitCode(), 1);
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        QVERIFY2(err.contains(QLatin1String("disconnected")) && err.count('\n') == 1,
                 qPrintable(err));
    }
};

QTEST_GUILESS_MAIN(TestCliSim)
#include "tst_cli_sim.moc"
