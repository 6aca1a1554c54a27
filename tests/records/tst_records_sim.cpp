// The history read end to end: the program's core on a real serial port,
// the simulated BMS on the other end of a pseudo-terminal.
#include "WorkbookReaders.h"
#include "link/Frame.h"
#include "link/LinkForm.h"
#include "link/SerialPortIo.h"
#include "records/OutputFiles.h"
#include "records/StoredRecordText.h"
#include "shell/Core.h"
#include "sim/HistoryLog.h"
#include "sim/Responder.h"
#include "sim/SimOptions.h"
#include "support/RecordingPrompt.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {
constexpr int records = 200;
constexpr int comNumber = 7;

QString number(double value)
{
    QString text = QString::number(value, 'f', 5);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}
} // namespace

class TestRecordsSim : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_sim;

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
                    {QStringLiteral("--link"), link, QStringLiteral("--records"),
                     QString::number(records)});
        QVERIFY2(m_sim.waitForStarted(5000), "cellvane-sim does not start");
        QElapsedTimer t;
        t.start();
        while (!m_sim.canReadLine() && t.elapsed() < 10000)
            m_sim.waitForReadyRead(100);
        QVERIFY2(QFileInfo(link).isSymLink(),
                 qPrintable(QString::fromLocal8Bit(m_sim.readAllStandardError())));
    }
    void cleanupTestCase()
    {
        m_sim.terminate();
        m_sim.waitForFinished(5000);
        OutputFiles::setProgramFolder({});
    }

    void readsTheWholeHistory()
    {
        RecordingPrompt prompt;
        Core core(prompt, std::make_unique<SerialPortIo>());
        core.state.setEnglishUi(true);
        core.selectTab(6);
        core.link.load();
        const int entry = int(core.state.link.entries(LinkField::port)
                                  .indexOf(QStringLiteral("COM%1").arg(comNumber)));
        QVERIFY(entry >= 0);
        QVERIFY(core.state.link.setChoice(LinkField::port, entry));
        core.link.toggleOpen();
        QVERIFY2(core.link.portOpen(), qPrintable(prompt.texts().join(QLatin1Char('|'))));

        core.stored.getData();
        QTRY_VERIFY_WITH_TIMEOUT(!prompt.messages.isEmpty(), 120000);
        QCOMPARE(prompt.texts(), QStringList{QStringLiteral("Read Complete")});
        QCOMPARE(core.state.stored.text(QStringLiteral("数量")), QString::number(records));
        QCOMPARE(core.state.storedRowCount(), records);
        QCOMPARE(core.stored.gridRows(), core.state.storedRows);

        // What the simulator holds: its history, rebuilt from the same seed;
        // only the start-up moment is unknown, and the newest record's time
        // (less its fixed jitter) gives it back.
        bool exit = false;
        QString message;
        const auto options = SimOptions::parse(
            {QStringLiteral("cellvane-sim"), QStringLiteral("--link"), QStringLiteral("x")},
            &message, &exit);
        QVERIFY(options);
        const QDateTime guess(QDate(2024, 1, 1), QTime(0, 0), Qt::UTC);
        const PackModel pack(options->pack, 0, guess);
        const qint64 jitter =
            guess.secsTo(HistoryLog(records, pack, guess).record(records - 1)->time);
        const QStringList newest = core.state.storedRows.first().split(QLatin1Char('\t'));
        QDateTime seen = QDateTime::fromString(newest.at(2), QStringLiteral("yyyy-MM-dd hh:mm:ss"));
        seen.setTimeSpec(Qt::UTC);
        const HistoryLog history(records, PackModel(options->pack, 0, seen.addSecs(-jitter + 60)),
                                 seen.addSecs(-jitter));

        for (int row = 0; row < records; ++row) {
            const HistoryRecord r = *history.record(records - 1 - row);
            const QStringList got = core.state.storedRows.at(row).split(QLatin1Char('\t'));
            const QStringList expected = {QString::number(r.number),
                                          QString::number(r.type),
                                          r.time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")),
                                          number(r.totalCentiV * 0.01),
                                          number(r.currentCentiA * 0.01),
                                          number(r.socPermille * 0.1),
                                          number(r.sohPercent),
                                          number(r.maxCellMv * 0.001),
                                          QString::number(r.maxCellNo),
                                          number(r.minCellMv * 0.001),
                                          QString::number(r.minCellNo),
                                          number(r.differenceMv * 0.001),
                                          number(r.maxDeciC * 0.1),
                                          QString::number(r.maxSensorNo),
                                          number(r.minDeciC * 0.1),
                                          QString::number(r.minSensorNo)};
            QCOMPARE(got.mid(0, 16), expected);
            // The status texts are those of the bits the simulator sends.
            const QByteArray frame =
                Frame::build(Frame::responseStart, 0xFF, 0x10, 0, 0x46, Responder::recordData(r));
            QCOMPARE(got.mid(16, 4), StoredRecordText::columns(frame).mid(16, 4));
            QCOMPARE(got.size(), 21);
        }

        // And the workbook holds what the grid holds.
        OutputFiles::setProgramFolder(m_dir.path());
        QVERIFY(QFile::copy(
            QStringLiteral(CELLVANE_SOURCE_DIR "/src/records/templates/Storage Data Template.xls"),
            m_dir.filePath(StoredRecords::templateName())));
        prompt.clear();
        core.stored.exportRows();
        QCOMPARE(prompt.texts(), QStringList{QStringLiteral("Export succeeded")});
        const QString workbook = QDir(m_dir.filePath(StoredRecords::topFolder()))
                                     .filePath(OutputFiles::dayName(OutputFiles::now().date()));
        const QStringList files = QDir(workbook).entryList({QStringLiteral("*-FLA.xls")});
        QCOMPARE(files.size(), 1);
        QString skip, error;
        const QJsonObject o =
            WorkbookReaders::readXls(QDir(workbook).filePath(files.first()), &skip, &error);
        if (!skip.isEmpty())
            QSKIP(qPrintable(skip));
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const QJsonArray sheet = o.value(QStringLiteral("rows")).toArray();
        QCOMPARE(sheet.size(), records + 1);
        for (int row = 0; row < records; ++row) {
            const QStringList want = core.state.storedRows.at(row).split(QLatin1Char('\t'));
            const QJsonArray cells = sheet.at(row + 1).toArray();
            for (int c = 0; c < 20; ++c) {
                const QJsonValue v = cells.at(c);
                const QString text = v.isDouble() ? number(v.toDouble()) : v.toString();
                QCOMPARE(text, want.at(c));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestRecordsSim)
#include "tst_records_sim.moc"
