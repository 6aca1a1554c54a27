#include "FakeLink.h"
#include "records/OutputFiles.h"
#include "records/RecordForm.h"
#include "records/Recorder.h"
#include "records/RecordingLine.h"
#include "responses/InfoForm.h"
#include "shell/Core.h"
#include "support/FakePort.h"
#include "support/RecordingPrompt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QDateTime moment(QDate(2024, 5, 7), QTime(9, 3, 0));

QStringList fieldsOf(const QString &line)
{
    QStringList f = line.split(RecordingLine::separator);
    f.removeLast();
    return f;
}

// Fills every information box with a text that names it, so a field's
// position in the line shows where its value came from.
void fillInfo(Form &info)
{
    for (const QString &control : info.controls())
        if (info.kind(control) == Form::Kind::Text)
            info.setText(control, QStringLiteral("<%1>").arg(control));
    for (int i = 0; i < InfoField::cellSlots; ++i)
        info.setText(InfoField::cellVoltage(i), QString::number(3000 + i));
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}
} // namespace

class TestRecording : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    RecordingPrompt m_prompt;
    FakePort *m_port = nullptr;
    std::unique_ptr<Core> m_core;
    QDateTime m_now;

    void startLinkAlive()
    {
        QVERIFY(FakeLink::open(*m_core, *m_port));
        m_core->state.currentCommand = 0;
        m_core->state.linkCountdown = 20;
    }
    void tickBox(bool on) { m_core->state.record.setCheck(RecordField::recording, on ? 2 : 0); }
    QString dayFolder() const
    {
        return m_dir.filePath(QStringLiteral("real-time data/2024-05-07"));
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
        OutputFiles::setProgramFolder(m_dir.path());
        m_now = moment;
        OutputFiles::setClock([this] { return m_now; });
        m_prompt.clear();
        auto port = std::make_unique<FakePort>();
        m_port = port.get();
        m_core = std::make_unique<Core>(m_prompt, std::move(port));
        m_core->state.setEnglishUi(true);
    }
    void cleanup()
    {
        m_core.reset();
        OutputFiles::setClock({});
        OutputFiles::setProgramFolder({});
    }

    void lineLayout()
    {
        Form &info = m_core->state.info;
        fillInfo(info);
        const QString line = RecordingLine::compose(info, 1, moment);
        QVERIFY(line.startsWith(QStringLiteral("     1；2024-05-07 09:03:00；")));
        QVERIFY(line.endsWith(RecordingLine::separator));
        const QStringList f = fieldsOf(line);
        QCOMPARE(f.size(), 95);
        QCOMPARE(f.at(2), QStringLiteral("<型号>"));
        QCOMPARE(f.at(4), QStringLiteral("<硬件版本>"));
        QCOMPARE(f.at(6), QStringLiteral("<序列号>"));
        QCOMPARE(f.at(8), QStringLiteral("<BMSADD>"));
        QCOMPARE(f.at(9), QStringLiteral("<电池数量>"));
        QCOMPARE(f.at(10), QStringLiteral("<温度数量>"));
        QCOMPARE(f.at(20), QStringLiteral("<环境温度>"));
        QCOMPARE(f.at(23), QStringLiteral("<系统模式>"));
        QCOMPARE(f.at(39), QStringLiteral("<ON档>"));
        QCOMPARE(f.at(44), QStringLiteral("<保留16>"));
        QCOMPARE(f.at(47), QStringLiteral("<保留19>"));
        QCOMPARE(f.at(48), QStringLiteral("<告警状态>"));
        QCOMPARE(f.at(50), QStringLiteral("<故障状态>"));
        QCOMPARE(f.at(51), QStringLiteral("3"));     // cell 1: 3000 mV
        QCOMPARE(f.at(82), QStringLiteral("3.031")); // cell 32: 3031 mV
        QCOMPARE(f.at(83), QStringLiteral("<温度0>"));
        QCOMPARE(f.at(94), QStringLiteral("<温度11>"));
    }

    void lineNumberAndTime_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("start");
        QTest::newRow("first") << 1 << QTime(9, 3, 0)
                               << QStringLiteral("     1；2024-05-07 09:03:00；");
        QTest::newRow("six digits")
            << 123456 << QTime(23, 59, 59) << QStringLiteral("123456；2024-05-07 23:59:59；");
        QTest::newRow("beyond six")
            << 1234567 << QTime(0, 0, 1) << QStringLiteral("1234567；2024-05-07 00:00:01；");
    }
    void lineNumberAndTime()
    {
        QFETCH(int, number);
        QFETCH(QTime, time);
        QFETCH(QString, start);
        const QString line =
            RecordingLine::compose(m_core->state.info, number, QDateTime(moment.date(), time));
        QVERIFY2(line.startsWith(start), qPrintable(line.left(40)));
    }

    void cellVolts_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("field");
        QTest::newRow("3301 mV") << "3301"
                                 << "3.301";
        QTest::newRow("trailing zeros go") << "3300"
                                           << "3.3";
        QTest::newRow("whole volts") << "4000"
                                     << "4";
        QTest::newRow("small") << "12"
                               << "0.012";
        QTest::newRow("zero") << "0"
                              << "0";
        QTest::newRow("negative") << "-5"
                                  << "-0.005";
        QTest::newRow("fraction of a millivolt") << "3301.5"
                                                 << "3.3015";
        QTest::newRow("null") << "null"
                              << "null";
        QTest::newRow("Chinese null") << "无"
                                      << "无";
        QTest::newRow("empty box") << ""
                                   << "";
    }
    void cellVolts()
    {
        QFETCH(QString, box);
        QFETCH(QString, field);
        QCOMPARE(RecordingLine::cellVolts(box), field);
        m_core->state.info.setText(InfoField::cellVoltage(4), box);
        QCOMPARE(fieldsOf(RecordingLine::compose(m_core->state.info, 1, moment)).at(55), field);
    }

    void lineBreaksInsideValues_data()
    {
        QTest::addColumn<QString>("alarm");
        QTest::addColumn<QString>("field");
        QTest::newRow("CR LF") << "Cell_OV\r\nCell_UV\r\n"
                               << "Cell_OV Cell_UV ";
        QTest::newRow("LF only") << "Cell_OV\nCell_UV"
                                 << "Cell_OV Cell_UV";
        QTest::newRow("CR only") << "a\rb"
                                 << "a b";
        QTest::newRow("LF CR is two breaks") << "a\n\rb"
                                             << "a  b";
    }
    void lineBreaksInsideValues()
    {
        QFETCH(QString, alarm);
        QFETCH(QString, field);
        m_core->state.info.setText(InfoField::alarmStatus, alarm);
        const QString line = RecordingLine::compose(m_core->state.info, 1, moment);
        QVERIFY(!line.contains(QLatin1Char('\n')) && !line.contains(QLatin1Char('\r')));
        QCOMPARE(fieldsOf(line).at(48), field);
    }

    void startCreatesDatedEmptyFile()
    {
        m_core->state.recordLineCount = 7;
        m_core->state.convertedLineCount = 5;
        m_core->state.record.setValue(RecordField::progress, 60);
        tickBox(true);
        const QString expected = dayFolder() + QStringLiteral("/2024-05-07 09.03.00.txt");
        QCOMPARE(m_core->state.recordFilePath, expected);
        QCOMPARE(m_core->state.record.text(RecordField::path), QDir::toNativeSeparators(expected));
        QVERIFY(QFile::exists(expected));
        QCOMPARE(readAll(expected), QByteArray());
        QCOMPARE(m_core->state.recordLineCount, 0);
        QCOMPARE(m_core->state.convertedLineCount, 0);
        QCOMPARE(m_core->state.record.value(RecordField::progress), 0);
        QVERIFY(m_core->recorder.isRecording());
        QCOMPARE(m_core->recorder.timer().interval(), 1000);
        QVERIFY(m_prompt.messages.isEmpty());
    }

    void startsInTheSameSecondGetDistinctFiles()
    {
        tickBox(true);
        startLinkAlive();
        m_core->recorder.tick();
        const QString first = m_core->state.recordFilePath;
        tickBox(false);
        tickBox(true);
        const QString second = m_core->state.recordFilePath;
        tickBox(false);
        tickBox(true);
        const QString third = m_core->state.recordFilePath;
        QCOMPARE(second, dayFolder() + QStringLiteral("/2024-05-07 09.03.00 (2).txt"));
        QCOMPARE(third, dayFolder() + QStringLiteral("/2024-05-07 09.03.00 (3).txt"));
        QVERIFY(readAll(first).startsWith("     1"));
        m_now = moment.addSecs(1);
        tickBox(false);
        tickBox(true);
        QCOMPARE(m_core->state.recordFilePath,
                 dayFolder() + QStringLiteral("/2024-05-07 09.03.01.txt"));
    }

    void ticksWriteOnlyWhileTheLinkIsAlive_data()
    {
        QTest::addColumn<bool>("box");
        QTest::addColumn<bool>("portOpen");
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("countdown");
        QTest::addColumn<bool>("written");
        QTest::newRow("all hold") << true << true << 0 << 20 << true;
        QTest::newRow("last live read") << true << true << 15 << 1 << true;
        QTest::newRow("box cleared") << false << true << 0 << 20 << false;
        QTest::newRow("port closed") << true << false << 0 << 20 << false;
        QTest::newRow("pause") << true << true << 16 << 20 << false;
        QTest::newRow("parameter read") << true << true << 17 << 20 << false;
        QTest::newRow("stored records") << true << true << 161 << 20 << false;
        QTest::newRow("upgrade") << true << true << 255 << 20 << false;
        QTest::newRow("no answer for 20 ticks") << true << true << 0 << 0 << false;
        QTest::newRow("countdown negative") << true << true << 3 << -4 << false;
    }
    void ticksWriteOnlyWhileTheLinkIsAlive()
    {
        QFETCH(bool, box);
        QFETCH(bool, portOpen);
        QFETCH(int, command);
        QFETCH(int, countdown);
        QFETCH(bool, written);
        tickBox(true);
        const QString path = m_core->state.recordFilePath;
        if (portOpen)
            QVERIFY(FakeLink::open(*m_core, *m_port));
        if (!box)
            m_core->state.record.setCheck(RecordField::recording, 0);
        m_core->state.currentCommand = quint8(command);
        m_core->state.linkCountdown = countdown;
        m_core->recorder.tick();
        QCOMPARE(readAll(path).size() > 0, written);
        QCOMPARE(m_core->state.recordLineCount, written ? 1 : 0);
    }

    void linesAppendOneByOne()
    {
        tickBox(true);
        startLinkAlive();
        m_core->state.info.setText(InfoField::totalVoltage, QStringLiteral("52.8"));
        m_core->recorder.tick();
        const QByteArray one = readAll(m_core->state.recordFilePath);
        QVERIFY(one.endsWith("\r\n"));
        QCOMPARE(one.count("\r\n"), 1);
        m_now = moment.addSecs(1);
        m_core->state.linkCountdown = 0; // a gap: nothing, not even a marker
        m_core->recorder.tick();
        QCOMPARE(readAll(m_core->state.recordFilePath), one);
        m_core->state.linkCountdown = 19;
        m_core->recorder.tick();
        const QByteArray two = readAll(m_core->state.recordFilePath);
        QVERIFY(two.startsWith(one));
        QCOMPARE(QString::fromUtf8(two.mid(one.size())).left(27),
                 QStringLiteral("     2；2024-05-07 09:03:01；"));
        QCOMPARE(m_core->state.recordLineCount, 2);
        // The file is closed between lines: another program may read it whole.
        const QStringList fields = fieldsOf(QString::fromUtf8(two.mid(one.size())).trimmed());
        QCOMPARE(fields.at(11), QStringLiteral("52.8"));
    }

    void stopKeepsTheFile()
    {
        tickBox(true);
        startLinkAlive();
        m_core->recorder.tick();
        const QString path = m_core->state.recordFilePath;
        m_core->recorder.stop();
        QCOMPARE(m_core->state.record.check(RecordField::recording), 0);
        QVERIFY(!m_core->recorder.isRecording());
        m_core->recorder.tick();
        QCOMPARE(m_core->state.recordFilePath, path);
        QCOMPARE(readAll(path).count("\r\n"), 1);
    }

    void folderThatCannotBeMadeStopsWithOneMessage()
    {
        // A file where the folder should be.
        QFile blocker(m_dir.filePath(QStringLiteral("real-time data")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        m_core->state.recordFilePath = QStringLiteral("/earlier.txt");
        tickBox(true);
        QCOMPARE(m_prompt.messages.size(), 1);
        QVERIFY(m_prompt.messages.first().text.contains(QStringLiteral("real-time data")));
        QCOMPARE(m_core->state.record.check(RecordField::recording), 0);
        QVERIFY(!m_core->recorder.isRecording());
        QCOMPARE(m_core->state.recordFilePath, QStringLiteral("/earlier.txt"));
    }

    void fileThatCannotBeWrittenStopsWithOneMessage()
    {
        tickBox(true);
        startLinkAlive();
        m_core->recorder.tick();
        // The folder is taken away under the running recording.
        const QString path = m_core->state.recordFilePath;
        QVERIFY(QDir(dayFolder()).removeRecursively());
        QFile blocker(dayFolder());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        for (int i = 0; i < 5; ++i)
            m_core->recorder.tick();
        QCOMPARE(m_prompt.messages.size(), 1);
        QVERIFY(m_prompt.messages.first().text.contains(QDir::toNativeSeparators(path)));
        QCOMPARE(m_core->state.record.check(RecordField::recording), 0);
        QVERIFY(!m_core->recorder.isRecording());
        QCOMPARE(m_core->state.recordLineCount, 1);
    }

    void fileIsInTheSystemEncoding()
    {
        tickBox(true);
        startLinkAlive();
        m_core->state.info.setText(InfoField::workingState, QStringLiteral("充电"));
        m_core->recorder.tick();
        const QByteArray bytes = readAll(m_core->state.recordFilePath);
        QStringDecoder utf8(QStringConverter::Utf8);
        const QString text = utf8.decode(bytes);
        QVERIFY(!utf8.hasError());
        QCOMPARE(fieldsOf(text.trimmed()).at(23), QStringLiteral("充电"));
    }

    void fileButtons()
    {
        m_prompt.nextFile = QStringLiteral("/data/rec.txt");
        m_core->recorder.selectFile();
        QCOMPARE(m_prompt.fileFilters, QStringList{QStringLiteral("Batch Files (*.txt)")});
        QCOMPARE(m_core->state.record.text(RecordField::path),
                 QDir::toNativeSeparators("/data/rec.txt"));
        m_prompt.nextFile.clear();
        m_core->recorder.selectFile(); // cancelled
        QCOMPARE(m_core->state.record.text(RecordField::path),
                 QDir::toNativeSeparators("/data/rec.txt"));
        m_core->state.recordFilePath = QStringLiteral("/data/latest.txt");
        m_core->recorder.latestFile();
        QCOMPARE(m_core->state.record.text(RecordField::path),
                 QDir::toNativeSeparators("/data/latest.txt"));
    }

    void openExportFile()
    {
        QStringList opened;
        m_core->recorder.setOpener([&opened](const QString &path) {
            opened << path;
            return true;
        });
        m_core->recorder.openExport(); // nothing exported yet: nothing happens
        QVERIFY(opened.isEmpty());
        QVERIFY(m_prompt.messages.isEmpty());
        m_core->state.exportXlsxPath = m_dir.filePath(QStringLiteral("gone.xlsx"));
        m_core->recorder.openExport();
        QVERIFY(opened.isEmpty());
        QCOMPARE(m_prompt.messages.size(), 1);
        QFile f(m_core->state.exportXlsxPath);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        m_core->recorder.openExport();
        QCOMPARE(opened, QStringList{m_core->state.exportXlsxPath});
        m_core->recorder.setOpener([](const QString &) { return false; });
        m_core->recorder.openExport();
        QCOMPARE(m_prompt.messages.size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestRecording)
#include "tst_recording.moc"
