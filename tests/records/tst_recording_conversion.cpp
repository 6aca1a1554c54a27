#include "WorkbookReaders.h"
#include "records/OutputFiles.h"
#include "records/RecordForm.h"
#include "records/Recorder.h"
#include "records/RecordingConversion.h"
#include "records/RecordingLine.h"
#include "responses/InfoForm.h"
#include "shell/Core.h"
#include "spreadsheet/XlsxSheetWriter.h"
#include "support/FakePort.h"
#include "support/RecordingPrompt.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString sourceDir = QStringLiteral(CELLVANE_SOURCE_DIR);
const QString projectTemplate =
    sourceDir + QStringLiteral("/src/records/templates/Real time data template.xlsx");
const QString styledTemplate =
    sourceDir + QStringLiteral("/tests/records/data/styled-template.xlsx");

QList<int> range(int from, int to)
{
    QList<int> list;
    for (int i = from; i <= to; ++i)
        list << i;
    return list;
}

QList<int> toInts(const QJsonArray &a)
{
    QList<int> list;
    for (const QJsonValue &v : a)
        list << v.toInt();
    return list;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}
} // namespace

class TestRecordingConversion : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    RecordingPrompt m_prompt;
    std::unique_ptr<Core> m_core;

    // A recording of `lines` lines of a pack with `cells` cells and `sensors`
    // sensors, as the recorder writes it.
    QString makeRecording(const QString &name, int lines, const QString &cells,
                          const QString &sensors, const char *encoding = "UTF-8")
    {
        Form &info = m_core->state.info;
        info.setText(InfoField::cellCount, cells);
        info.setText(InfoField::ntcCount, sensors);
        info.setText(InfoField::model, QStringLiteral("BMS-16S"));
        info.setText(InfoField::batteryId, QStringLiteral("000123456789012345678"));
        info.setText(InfoField::softwareVersion, QStringLiteral("1.10"));
        info.setText(InfoField::workingState, QStringLiteral("充电 "));
        info.setText(InfoField::alarmStatus, QStringLiteral("Cell_OV\r\nTotal_OV "));
        QByteArray bytes;
        QStringEncoder encoder(encoding);
        for (int n = 1; n <= lines; ++n) {
            info.setText(InfoField::totalVoltage, QString::number(50 + n));
            info.setText(InfoField::totalCurrent, QStringLiteral("-1.5"));
            for (int i = 0; i < InfoField::cellSlots; ++i)
                info.setText(InfoField::cellVoltage(i),
                             i < 16 ? QString::number(3300 + n) : QStringLiteral("null"));
            const QDateTime at(QDate(2024, 5, 7), QTime(9, 3, 0).addSecs(n));
            bytes += encoder.encode(RecordingLine::compose(info, n, at) + QStringLiteral("\r\n"));
        }
        const QString path = m_dir.filePath(name);
        writeFile(path, bytes);
        return path;
    }

    bool convert(const QString &recording)
    {
        m_core->state.record.setText(RecordField::path, QDir::toNativeSeparators(recording));
        QSignalSpy done(&m_core->recorder, &Recorder::conversionFinished);
        m_core->recorder.convert();
        if (done.isEmpty() && !m_core->recorder.isConverting())
            return false; // refused before starting
        if (done.isEmpty() && !done.wait(60000))
            return false;
        if (!done.first().first().toBool())
            qWarning() << "conversion failed:" << m_prompt.texts();
        return done.first().first().toBool();
    }

    QJsonObject readBack(const QString &path)
    {
        QString skip, error;
        const QJsonObject o = WorkbookReaders::readXlsx(path, &skip, &error);
        if (!skip.isEmpty())
            QTest::qSkip(qPrintable(skip), __FILE__, __LINE__);
        if (!error.isEmpty())
            qWarning("openpyxl: %s", qPrintable(error));
        return o;
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
        OutputFiles::setProgramFolder(m_dir.path());
        QVERIFY(QFile::copy(projectTemplate, m_dir.filePath(Recorder::templateName())));
        m_prompt.clear();
        m_core = std::make_unique<Core>(m_prompt, std::make_unique<FakePort>());
        m_core->state.setEnglishUi(true);
    }
    void cleanup()
    {
        m_core.reset();
        OutputFiles::setProgramFolder({});
    }

    void workbookPath_data()
    {
        QTest::addColumn<QString>("recording");
        QTest::addColumn<QString>("workbook");
        QTest::newRow("recording") << "/r/2024-05-07 09.03.00.txt"
                                   << "/r/2024-05-07 09.03.00.xlsx";
        QTest::newRow("first .txt wins") << "/r/a.txt.old.txt"
                                         << "/r/a.xlsx";
        QTest::newRow("exact case only") << "/r/A.TXT"
                                         << "";
        QTest::newRow("no .txt") << "/r/readme"
                                 << "";
        QTest::newRow("empty") << ""
                               << "";
    }
    void workbookPath()
    {
        QFETCH(QString, recording);
        QFETCH(QString, workbook);
        QCOMPARE(RecordingConversion::workbookPathFor(recording), workbook);
    }

    void packCounts_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("count");
        QTest::newRow("16 cells") << "16" << 32 << 16;
        QTest::newRow("32 cells") << "32" << 32 << 32;
        QTest::newRow("40 cells is too many") << "40" << 32 << 1;
        QTest::newRow("one cell") << "1" << 32 << 1;
        QTest::newRow("zero") << "0" << 32 << 1;
        QTest::newRow("null") << "null" << 32 << 1;
        QTest::newRow("padded") << " 8 " << 32 << 8;
        QTest::newRow("12 sensors") << "12" << 12 << 12;
        QTest::newRow("13 sensors") << "13" << 12 << 1;
    }
    void packCounts()
    {
        QFETCH(QString, field);
        QFETCH(int, limit);
        QFETCH(int, count);
        QCOMPARE(RecordingConversion::countFrom(field, limit), count);
    }

    void hiddenColumns_data()
    {
        QTest::addColumn<int>("cells");
        QTest::addColumn<int>("sensors");
        QTest::addColumn<QList<int>>("hidden");
        const QList<int> identity{5, 6, 7, 21};
        QTest::newRow("16 cells, 4 sensors") << 16 << 4 << identity + range(68, 83) + range(88, 95);
        QTest::newRow("1 cell, 1 sensor") << 1 << 1 << identity + range(53, 83) + range(85, 95);
        QTest::newRow("full pack") << 32 << 12 << identity;
    }
    void hiddenColumns()
    {
        QFETCH(int, cells);
        QFETCH(int, sensors);
        QFETCH(QList<int>, hidden);
        QCOMPARE(RecordingConversion::hiddenColumns(cells, sensors), hidden);
    }

    void columnNames_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("name");
        QTest::newRow("1") << 1 << "A";
        QTest::newRow("26") << 26 << "Z";
        QTest::newRow("27") << 27 << "AA";
        QTest::newRow("95") << 95 << "CQ";
        QTest::newRow("702") << 702 << "ZZ";
        QTest::newRow("703") << 703 << "AAA";
    }
    void columnNames()
    {
        QFETCH(int, column);
        QFETCH(QString, name);
        QCOMPARE(XlsxSheetWriter::columnName(column), name);
    }

    void convertsEveryLineIntoTheTemplate()
    {
        const QString recording = makeRecording(QStringLiteral("2024-05-07 09.03.00.txt"), 3,
                                                QStringLiteral("16"), QStringLiteral("4"));
        m_core->state.record.setCheck(RecordField::recording, 2); // a recording runs
        QVERIFY(convert(recording));
        QCOMPARE(m_core->state.record.check(RecordField::recording), 0);
        const QString workbook = m_dir.filePath(QStringLiteral("2024-05-07 09.03.00.xlsx"));
        // The message names the workbook written.
        QCOMPARE(m_prompt.texts(), QStringList{QStringLiteral("Export succeeded\n") +
                                               QDir::toNativeSeparators(workbook)});
        QCOMPARE(m_core->state.exportXlsxPath, workbook);
        QCOMPARE(m_core->state.convertedLineCount, 3);
        QCOMPARE(m_core->state.record.text(RecordField::progressText), QStringLiteral("100%"));
        QCOMPARE(m_core->state.record.value(RecordField::progress), 100);

        const QJsonObject o = readBack(workbook);
        const QJsonArray rows = o.value(QStringLiteral("rows")).toArray();
        QCOMPARE(rows.size(), 4);
        const QJsonArray header = rows.at(0).toArray();
        QCOMPARE(header.size(), 95);
        QCOMPARE(header.at(0).toString(), QStringLiteral("No.\n序号"));
        QCOMPARE(header.at(94).toString(), QStringLiteral("T_12(℃)\n温度12(℃)"));
        for (int n = 1; n <= 3; ++n) {
            const QJsonArray r = rows.at(n).toArray();
            QCOMPARE(r.at(0).toDouble(), double(n));
            QCOMPARE(r.at(1).toString(),
                     QTime(9, 3, 0).addSecs(n).toString(QStringLiteral("'2024-05-07 'hh:mm:ss")));
            QCOMPARE(r.at(2).toString(), QStringLiteral("BMS-16S"));
            QCOMPARE(r.at(3).toString(), QStringLiteral("1.10"));
            QCOMPARE(r.at(6).toString(), QStringLiteral("000123456789012345678"));
            QCOMPARE(r.at(9).toDouble(), 16.0);
            QCOMPARE(r.at(11).toDouble(), double(50 + n));
            QCOMPARE(r.at(12).toDouble(), -1.5);
            QCOMPARE(r.at(23).toString(), QStringLiteral("充电 "));
            QCOMPARE(r.at(48).toString(), QStringLiteral("Cell_OV Total_OV "));
            QCOMPARE(r.at(51).toDouble(), (3300 + n) / 1000.0);
            QCOMPARE(r.at(67).toString(), QStringLiteral("null"));
        }
        QCOMPARE(toInts(o.value(QStringLiteral("hidden")).toArray()),
                 QList<int>({5, 6, 7, 21}) + range(68, 83) + range(88, 95));
        QCOMPARE(o.value(QStringLiteral("freeze")).toString(), QStringLiteral("C2"));
        const QJsonObject headerLook =
            o.value(QStringLiteral("looks")).toObject().value(QStringLiteral("1,1")).toObject();
        QVERIFY(headerLook.value(QStringLiteral("bold")).toBool());
        QCOMPARE(headerLook.value(QStringLiteral("fill")).toString(), QStringLiteral("001F4E79"));
    }

    void tooManyCellsHidesAllButTheFirst()
    {
        const QString recording =
            makeRecording(QStringLiteral("big.txt"), 2, QStringLiteral("40"), QStringLiteral("12"));
        QVERIFY(convert(recording));
        const QJsonObject o = readBack(m_dir.filePath(QStringLiteral("big.xlsx")));
        QCOMPARE(toInts(o.value(QStringLiteral("hidden")).toArray()),
                 QList<int>({5, 6, 7, 21}) + range(53, 83));
    }

    void secondConversionWritesEveryLineAgain()
    {
        const QString recording =
            makeRecording(QStringLiteral("rec.txt"), 3, QStringLiteral("16"), QStringLiteral("4"));
        QVERIFY(convert(recording));
        // More lines arrive, then the file is converted again.
        const QString longer =
            makeRecording(QStringLiteral("rec.txt"), 5, QStringLiteral("16"), QStringLiteral("4"));
        QVERIFY(convert(longer));
        QCOMPARE(m_core->state.convertedLineCount, 5);
        QJsonArray rows = readBack(m_dir.filePath(QStringLiteral("rec.xlsx")))
                              .value(QStringLiteral("rows"))
                              .toArray();
        QCOMPARE(rows.size(), 6);
        for (int n = 1; n <= 5; ++n)
            QCOMPARE(rows.at(n).toArray().at(0).toDouble(), double(n));
        // And another file after it starts at its own first line too.
        const QString other =
            makeRecording(QStringLiteral("other.txt"), 2, QStringLiteral("8"), QStringLiteral("2"));
        QVERIFY(convert(other));
        rows = readBack(m_dir.filePath(QStringLiteral("other.xlsx")))
                   .value(QStringLiteral("rows"))
                   .toArray();
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows.at(1).toArray().at(0).toDouble(), 1.0);
    }

    void chineseWindowsRecording()
    {
        const QString recording = makeRecording(QStringLiteral("gbk.txt"), 2, QStringLiteral("16"),
                                                QStringLiteral("4"), "GB18030");
        QStringDecoder utf8(QStringConverter::Utf8);
        const QString asUtf8 = utf8.decode(fileBytes(recording));
        QVERIFY(utf8.hasError()); // really not UTF-8
        QVERIFY(convert(recording));
        const QJsonObject o = readBack(m_dir.filePath(QStringLiteral("gbk.xlsx")));
        const QJsonArray rows = o.value(QStringLiteral("rows")).toArray();
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows.at(2).toArray().at(23).toString(), QStringLiteral("充电 "));
        QCOMPARE(rows.at(2).toArray().at(51).toDouble(), 3.302);
        QCOMPARE(toInts(o.value(QStringLiteral("hidden")).toArray()),
                 QList<int>({5, 6, 7, 21}) + range(68, 83) + range(88, 95));
    }

    void emptyAndShortLines()
    {
        const QString path = m_dir.filePath(QStringLiteral("short.txt"));
        QVERIFY(writeFile(path, QStringLiteral("     1；a；\r\n\r\n     3；c；cut").toUtf8()));
        QVERIFY(convert(path));
        const QJsonArray rows = readBack(m_dir.filePath(QStringLiteral("short.xlsx")))
                                    .value(QStringLiteral("rows"))
                                    .toArray();
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows.at(1).toArray().at(1).toString(), QStringLiteral("a"));
        QVERIFY(rows.at(2).toArray().at(0).isNull());
        QCOMPARE(rows.at(3).toArray().at(2).toString(),
                 QStringLiteral("cut")); // unfinished field kept
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("problem");
        QTest::addColumn<QString>("inMessage");
        QTest::newRow("no .txt in the path") << "path"
                                             << "rec.log";
        QTest::newRow("missing template") << "template"
                                          << "Real time data template.xlsx";
        QTest::newRow("workbook open in LibreOffice") << "lock"
                                                      << "rec.xlsx";
        QTest::newRow("workbook open in Excel") << "excel"
                                                << "rec.xlsx";
        QTest::newRow("recording unreadable") << "recording"
                                              << "rec.txt";
        QTest::newRow("template damaged") << "damaged"
                                          << "Real time data template.xlsx";
    }
    void refusals()
    {
        QFETCH(QString, problem);
        QFETCH(QString, inMessage);
        QString recording =
            makeRecording(QStringLiteral("rec.txt"), 2, QStringLiteral("16"), QStringLiteral("4"));
        const QString workbook = m_dir.filePath(QStringLiteral("rec.xlsx"));
        QVERIFY(writeFile(workbook, "an earlier export"));
        m_core->state.exportXlsxPath = QStringLiteral("/earlier.xlsx");
        m_core->state.convertedLineCount = 9;
        const QString templatePath = m_dir.filePath(Recorder::templateName());
        if (problem == QLatin1String("path"))
            recording = m_dir.filePath(QStringLiteral("rec.log"));
        else if (problem == QLatin1String("template"))
            QVERIFY(QFile::remove(templatePath));
        else if (problem == QLatin1String("lock"))
            QVERIFY(writeFile(m_dir.filePath(QStringLiteral(".~lock.rec.xlsx#")), "user"));
        else if (problem == QLatin1String("excel"))
            QVERIFY(writeFile(m_dir.filePath(QStringLiteral("~$rec.xlsx")), "user"));
        else if (problem == QLatin1String("recording"))
            QVERIFY(QFile::remove(recording));
        else if (problem == QLatin1String("damaged"))
            QVERIFY(QFile::remove(templatePath) && writeFile(templatePath, "PK not really"));

        QVERIFY(!convert(recording));
        QCOMPARE(m_prompt.messages.size(), 1);
        QVERIFY2(m_prompt.messages.first().text.contains(inMessage),
                 qPrintable(m_prompt.messages.first().text));
        QCOMPARE(fileBytes(workbook), QByteArray("an earlier export"));
        QCOMPARE(m_core->state.exportXlsxPath, QStringLiteral("/earlier.xlsx"));
        QCOMPARE(m_core->state.convertedLineCount, 9);
        QVERIFY(m_core->state.record.isEnabled(RecordField::convert));
        QCOMPARE(
            QDir(m_dir.path()).entryList({QStringLiteral("*.partial")}, QDir::Hidden | QDir::Files),
            QStringList());
    }

    void styledTemplateKeepsItsLook()
    {
        QVERIFY(QFile::remove(m_dir.filePath(Recorder::templateName())));
        QVERIFY(QFile::copy(styledTemplate, m_dir.filePath(Recorder::templateName())));
        const QString recording = makeRecording(QStringLiteral("styled.txt"), 3,
                                                QStringLiteral("16"), QStringLiteral("4"));
        QVERIFY(convert(recording));
        const QString workbook = m_dir.filePath(QStringLiteral("styled.xlsx"));
        const QJsonObject o = readBack(workbook);
        QCOMPARE(o.value(QStringLiteral("sheets")).toArray().size(), 2); // the second sheet stays
        const QJsonObject looks = o.value(QStringLiteral("looks")).toObject();
        const QJsonObject header = looks.value(QStringLiteral("1,1")).toObject();
        QVERIFY(header.value(QStringLiteral("bold")).toBool());
        QCOMPARE(header.value(QStringLiteral("fill")).toString(), QStringLiteral("FFC00000"));
        for (const char *cell : {"2,1", "3,12", "2,60"}) {
            const QJsonObject data = looks.value(QLatin1String(cell)).toObject();
            QVERIFY2(data.value(QStringLiteral("italic")).toBool(), cell);
            QCOMPARE(data.value(QStringLiteral("fill")).toString(), QStringLiteral("FFFFF2CC"));
        }
        QCOMPARE(toInts(o.value(QStringLiteral("hidden")).toArray()),
                 QList<int>({5, 6, 7, 21}) + range(68, 83) + range(88, 95));
        QCOMPARE(o.value(QStringLiteral("rows")).toArray().at(0).toArray().at(0).toString(),
                 QStringLiteral("Field 1\n字段1"));

        // LibreOffice reads the workbook it styled, with the rows in place.
        QString skip, error;
        const QString csv = WorkbookReaders::libreOfficeCsv(workbook, m_dir.path(), &skip, &error);
        if (!skip.isEmpty())
            QSKIP(qPrintable(skip));
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const QList<QStringList> rows = WorkbookReaders::parseCsv(csv);
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows.at(0).at(0), QStringLiteral("Field 1\n字段1"));
        QCOMPARE(rows.at(1).mid(0, 4),
                 QStringList({"1", "2024-05-07 09:03:01", "BMS-16S", "1.10"}));
        QCOMPARE(rows.at(3).at(51), QStringLiteral("3.303"));
        QCOMPARE(rows.at(3).at(48), QStringLiteral("Cell_OV Total_OV "));
    }

    void templateRowsBelowTheHeaderAreMerged()
    {
        // A template with content below its header: a styled cell the data
        // lands in, a cell beside the data, and a row below it.
        QString skip, error;
        const QString templatePath = m_dir.filePath(Recorder::templateName());
        static const char *script = R"(
import sys, openpyxl
from openpyxl.styles import Font
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb.worksheets[0]
ws.cell(2, 3, "old").font = Font(bold=True)
ws.cell(2, 100, "beside")
ws.cell(9, 1, "below")
wb.save(sys.argv[1])
print("{}")
)";
        WorkbookReaders::runPython(script, {templatePath}, &skip, &error);
        if (!skip.isEmpty())
            QSKIP(qPrintable(skip));
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const QString recording = makeRecording(QStringLiteral("merge.txt"), 3,
                                                QStringLiteral("16"), QStringLiteral("4"));
        QVERIFY(convert(recording));
        const QJsonObject o = readBack(m_dir.filePath(QStringLiteral("merge.xlsx")));
        const QJsonArray rows = o.value(QStringLiteral("rows")).toArray();
        QCOMPARE(rows.size(), 9);
        QCOMPARE(rows.at(1).toArray().at(2).toString(), QStringLiteral("BMS-16S"));
        QCOMPARE(rows.at(1).toArray().at(99).toString(), QStringLiteral("beside"));
        QCOMPARE(rows.at(8).toArray().at(0).toString(), QStringLiteral("below"));
        QCOMPARE(rows.at(3).toArray().at(0).toDouble(), 3.0);
    }

    void emptyRecordingGivesTheTemplateRows()
    {
        const QString path = m_dir.filePath(QStringLiteral("empty.txt"));
        QVERIFY(writeFile(path, {}));
        QVERIFY(convert(path));
        QCOMPARE(m_core->state.convertedLineCount, 0);
        QCOMPARE(readBack(m_dir.filePath(QStringLiteral("empty.xlsx")))
                     .value(QStringLiteral("rows"))
                     .toArray()
                     .size(),
                 1);
    }
};

QTEST_GUILESS_MAIN(TestRecordingConversion)
#include "tst_recording_conversion.moc"
