// The history read end to end: the program's core on a real serial port,
// the simulated BMS on the other end of a pseudo-terminal.
#include "WorkbookReaders.h"
#include "link/Frame.h"
#include "link/LinkForm.h"
#include "link/SerialPortIo.h"
#include "records/OutputFiles.h"
#include "records/StoredRecordText.h"
#include "shell/Core.h"
#include "support/RecordingPrompt.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QProcess>
#include <QSerialPort>
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
    QString m_link;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString ports =
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            QStringLiteral("/cellvane/ports");
        QVERIFY(QDir().mkpath(ports));
        const QString link = m_link = ports + QStringLiteral("/com%1").arg(comNumber);
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

        // What the simulator holds, asked for again record by record on a
        // port of the test's own and read field by field from its answers.
        core.link.toggleOpen();
        QSerialPort line(QFileInfo(m_link).canonicalFilePath());
        line.setBaudRate(9600);
        QVERIFY(line.open(QIODevice::ReadWrite));
        for (int row = 0; row < records; ++row) {
            const int index = records - 1 - row;
            const QByteArray request = QByteArray::fromHex("0000") + char(index >> 8) +
                                       char(index & 0xFF) + QByteArray::fromHex("00000001");
            line.write(Frame::build(Frame::requestStart, 0xFF, 0x10, 0, 0x46, request));
            QByteArray reply;
            while (reply.size() < 59 && line.waitForReadyRead(3000))
                reply += line.readAll();
            QCOMPARE(reply.size(), 59);
            QVERIFY(Frame::crcValid(reply));
            auto byte = [&reply](int at) { return int(quint8(reply.at(at))); };
            auto word = [&](int at) { return byte(at) * 256 + byte(at + 1); };
            auto signedWord = [&](int at) { return qint16(word(at)); };
            const QString time = QStringLiteral("%1-%2-%3 %4:%5:%6")
                                     .arg(2000 + byte(13))
                                     .arg(byte(14), 2, 10, QLatin1Char('0'))
                                     .arg(byte(15), 2, 10, QLatin1Char('0'))
                                     .arg(byte(16), 2, 10, QLatin1Char('0'))
                                     .arg(byte(17), 2, 10, QLatin1Char('0'))
                                     .arg(byte(18), 2, 10, QLatin1Char('0'));
            const QStringList expected = {QString::number(word(9)),
                                          QString::number(word(11)),
                                          time,
                                          number(word(19) * 0.01),
                                          number(signedWord(21) * 0.01),
                                          number(word(23) * 0.1),
                                          number(word(25)),
                                          number(word(27) * 0.001),
                                          QString::number(word(29)),
                                          number(word(31) * 0.001),
                                          QString::number(word(33)),
                                          number(word(35) * 0.001),
                                          number(signedWord(37) * 0.1),
                                          QString::number(word(39)),
                                          number(signedWord(41) * 0.1),
                                          QString::number(word(43))};
            const QStringList got = core.state.storedRows.at(row).split(QLatin1Char('\t'));
            QCOMPARE(got.mid(0, 16), expected);
            QCOMPARE(got.at(0), QString::number(index + 1));
            QCOMPARE(got.mid(16, 4), StoredRecordText::columns(reply).mid(16, 4));
            QCOMPARE(got.size(), 21);
        }
        line.close();

        // And the workbook holds what the grid holds.
        OutputFiles::setProgramFolder(m_dir.path());
        QVERIFY(QFile::copy(
            QStringLiteral(CELLVANE_SOURCE_DIR "/src/records/templates/Storage Data Template.xls"),
            m_dir.filePath(StoredRecords::templateName())));
        prompt.clear();
        core.stored.exportRows(); // runs on the event loop
        QTRY_VERIFY_WITH_TIMEOUT(!prompt.messages.isEmpty(), 60000);
        const QString workbook = QDir(m_dir.filePath(StoredRecords::topFolder()))
                                     .filePath(OutputFiles::dayName(OutputFiles::now().date()));
        const QStringList files = QDir(workbook).entryList({QStringLiteral("*-FLA.xls")});
        QCOMPARE(files.size(), 1);
        QCOMPARE(prompt.texts(),
                 QStringList{QStringLiteral("Export succeeded\n") +
                             QDir::toNativeSeparators(QDir(workbook).filePath(files.first()))});
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
