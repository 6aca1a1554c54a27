// What the bank page shows and records of a pack: its values decoded from
// answer frames, the bank's lines, the recorded CSV lines and the workbook
// made of them.
#include "records/WorkbookReaders.h"

#include "bank/BankExport.h"
#include "bank/BankPackDecoder.h"
#include "bank/BankRecording.h"
#include "bank/BankSummary.h"
#include "bank/BankTableModel.h"
#include "link/Frame.h"
#include "records/DataLocations.h"
#include "records/OutputFiles.h"
#include "state/AppState.h"
#include "support/RecordingPrompt.h"
#include "support/ResultCheck.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

namespace {
using Column = BankTableModel::Column;

// A live-data answer (item 6, 56 data bytes) with `words` at their frame
// positions, everything else 0.
QByteArray liveFrame(const QList<QPair<int, quint16>> &words, int dataLength = 56)
{
    QByteArray data(dataLength, '\0');
    for (const auto &[index, word] : words) {
        data[index - Frame::dataOffset] = char(word >> 8);
        data[index - Frame::dataOffset + 1] = char(word & 0xFF);
    }
    return Frame::build(Frame::responseStart, 3, 16, 0, 6, data);
}

BankPack decoded(const QByteArray &frame)
{
    BankPackDecoder decoder;
    BankPack p;
    p.address = 3;
    if (!decoder.decodeLive(frame, &p))
        qFatal("frame not decoded");
    p.updatedMs = 1000;
    return p;
}

BankPack packWith(quint16 voltage, qint16 current, quint16 soc, quint16 diff)
{
    return decoded(liveFrame({{7, voltage},
                              {9, quint16(current)},
                              {11, soc},
                              {23, diff},
                              {15, 3400},
                              {19, 3300},
                              {57, 3}}));
}
} // namespace

class TestBankTable : public QObject {
    Q_OBJECT
    RecordingPrompt m_prompt;
    AppState m_state{m_prompt}; // installs the translations
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        m_state.setEnglishUi(true);
        DataLocations::setPlaces(DataLocations::Places::portableIn(m_dir.path()));
        OutputFiles::setClock([] { return QDateTime(QDate(2026, 3, 4), QTime(10, 20, 30)); });
    }
    void cleanupTestCase()
    {
        OutputFiles::setClock({});
        DataLocations::setPlaces({});
    }

    // The table shows what the information page would show for the frame.
    void cellsFromFrames_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("severity");
        QTest::newRow("voltage") << liveFrame({{7, 5321}}) << int(Column::Voltage) << "53.21" << 0;
        QTest::newRow("negative current")
            << liveFrame({{9, 0xFF38}}) << int(Column::Current) << "-2" << 0;
        QTest::newRow("max cell with number")
            << liveFrame({{15, 3412}, {17, 5}}) << int(Column::MaxCell) << "3.412 (#5)" << 0;
        QTest::newRow("min cell, under-voltage alarm")
            << liveFrame({{19, 2801}, {21, 12}, {49, 0x0002}}) << int(Column::MinCell)
            << "2.801 (#12)" << int(BankTableModel::Alarm);
        QTest::newRow("negative temperature")
            << liveFrame({{29, 0xFF9C}}) << int(Column::MinTemperature) << "-10" << 0;
        QTest::newRow("difference in protection")
            << liveFrame({{23, 215}, {51, 0x0001}}) << int(Column::CellDifference) << "0.215"
            << int(BankTableModel::Protection);
        QTest::newRow("charge MOS off")
            << liveFrame({{57, 0x0001}}) << int(Column::Mos) << "C off, D on" << 0;
        QTest::newRow("summary, worst first")
            << liveFrame({{49, 0x0005}, {53, 0x0800}, {55, 0x0001}}) << int(Column::Conditions)
            << "Protection: MOS_OT; Fault: Discharge MOS failure; Alarm: Cell_OV, Total_OV"
            << int(BankTableModel::Protection);
        QTest::newRow("unnamed bits are normal")
            << liveFrame({{47, 0xFFFE}}) << int(Column::Conditions) << "normal" << 0;
    }
    void cellsFromFrames()
    {
        QFETCH(QByteArray, frame);
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(int, severity);
        const BankPack p = decoded(frame);
        QCOMPARE(BankTableModel::cellText(p, column, 4000), text);
        QCOMPARE(BankTableModel::severity(p, column), severity);
        QCOMPARE(BankTableModel::cellText(p, Column::Age, 4999), QStringLiteral("3"));
    }

    // A frame too short for the layout changes nothing.
    void shortFrameKeepsTheValues()
    {
        BankPack p = decoded(liveFrame({{7, 5321}}));
        BankPackDecoder decoder;
        QVERIFY(!decoder.decodeLive(liveFrame({{7, 1000}}, 20), &p));
        QCOMPARE(p.text(BankPack::Value::TotalVoltage), QStringLiteral("53.21"));
    }

    // Offline packs' stale values are left out of the bank's lines.
    void bankLines()
    {
        QList<BankPack> packs{packWith(5300, 1250, 800, 20), packWith(5250, -250, 655, 95),
                              packWith(5310, 1000, 812, 30), packWith(4000, 9000, 10, 900)};
        packs[3].online = false;
        for (int i = 0; i < packs.size(); ++i)
            packs[i].address = QList<int>{1, 2, 5, 9}[i];
        const BankSummary s = BankSummary::of(packs);
        QCOMPARE(s.voltageLine(), QStringLiteral("Bank voltage: 52.5 to 53.1 V (spread 0.6 V)"));
        QCOMPARE(s.currentLine(), QStringLiteral("Summed current: 20 A (online packs: 3)"));
        QCOMPARE(s.socLine(), QStringLiteral("SOC spread: 15.7 % (65.5 to 81.2 %)"));
        QCOMPARE(s.differenceLine(), QStringLiteral("Largest cell difference: address 2, 0.095 V"));
        QCOMPARE(BankSummary::of({}).socLine(), QStringLiteral("SOC spread: —"));
    }

    void csvQuoting_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("line");
        QTest::newRow("plain") << QStringList{"1", "52.1", ""} << "1,52.1,";
        QTest::newRow("comma and quote") << QStringList{"Alarm: Cell_OV, Total_OV", "say \"hi\""}
                                         << "\"Alarm: Cell_OV, Total_OV\",\"say \"\"hi\"\"\"";
    }
    void csvQuoting()
    {
        QFETCH(QStringList, fields);
        QFETCH(QString, line);
        QCOMPARE(BankRecording::csvLine(fields), line);
        QCOMPARE(BankRecording::parseCsvLine(line), fields);
    }

    // One line per pack per sweep, on disk as soon as written; a pack
    // without new values gets its state and empty values. The workbook has
    // a sheet per pack with that pack's lines.
    void recordingAndWorkbook()
    {
        BankPack a = packWith(5300, 1250, 800, 20);
        a.address = 1;
        a.batteryId = QStringLiteral("ID-1");
        BankPack b = packWith(5250, -250, 655, 95);
        b.address = 2;
        b.online = false;
        BankRecording rec;
        QVERIFY_OK(rec.start(OutputFiles::now()));
        QCOMPARE(QFileInfo(rec.path()).dir().dirName(), QStringLiteral("2026-03-04"));
        QCOMPARE(QFileInfo(rec.path()).dir().path(),
                 m_dir.path() + QStringLiteral("/real-time data/2026-03-04"));
        QVERIFY_OK(rec.writeSweep({a, b}, 500, OutputFiles::now()));
        a.updatedMs = 2000;
        QVERIFY_OK(rec.writeSweep({a, b}, 1500, OutputFiles::now()));

        QFile f(rec.path()); // read while the recording is still open
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QStringList lines =
            QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 5);
        QCOMPARE(BankRecording::parseCsvLine(lines[0]), BankRecording::header());
        QCOMPARE(lines[1], QStringLiteral("2026-03-04 10:20:30,1,ID-1,53,12.5,80,0,3.4,0,3.3,0,"
                                          "0.02,0,0,\"C on, D on\",normal,online"));
        QCOMPARE(lines[2], QStringLiteral("2026-03-04 10:20:30,2,,,,,,,,,,,,,,,offline"));
        QCOMPARE(rec.linesWritten(), 4);
        rec.stop();

        BankExport exporter;
        const QString workbook = BankExport::workbookPathFor(rec.path());
        QVERIFY_OK(exporter.start(rec.path(), workbook));
        QVERIFY_OK(exporter.runToEnd());
        QCOMPARE(exporter.addresses(), (QList<int>{1, 2}));
        static const char *script = R"(
import json, sys
try:
    import openpyxl
except ImportError:
    print(json.dumps({"skip": "openpyxl is not installed"})); sys.exit(0)
wb = openpyxl.load_workbook(sys.argv[1])
print(json.dumps({"sheets": wb.sheetnames,
                  "rows": {ws.title: [[c.value for c in r] for r in ws.iter_rows()] for ws in wb},
                  "freeze": wb.worksheets[0].freeze_panes}))
)";
        QString skip, error;
        const QJsonObject o = WorkbookReaders::runPython(script, {workbook}, &skip, &error);
        if (!skip.isEmpty())
            QSKIP(qPrintable(skip));
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(o.value(QStringLiteral("sheets")).toArray(),
                 (QJsonArray{QStringLiteral("Address 1"), QStringLiteral("Address 2")}));
        const QJsonArray first =
            o.value(QStringLiteral("rows")).toObject().value(QStringLiteral("Address 1")).toArray();
        QCOMPARE(first.size(), 3);
        QCOMPARE(first[0].toArray()[2].toString(), QStringLiteral("Battery ID"));
        QCOMPARE(first[1].toArray()[3].toDouble(), 53.0); // a number, not text
        QCOMPARE(first[2].toArray()[14].toString(), QStringLiteral("C on, D on"));
        QCOMPARE(o.value(QStringLiteral("freeze")).toString(), QStringLiteral("A2"));
    }

    // A recording that cannot be read leaves an older workbook as it was.
    void failedExportKeepsTheOldWorkbook()
    {
        const QString csv = m_dir.filePath(QStringLiteral("broken.csv"));
        const QString xlsx = BankExport::workbookPathFor(csv);
        QFile old(xlsx);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("older");
        old.close();
        QFile broken(csv);
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("\xEF\xBB\xBFTime,Address\r\n"); // a header and no lines
        broken.close();
        BankExport exporter;
        QVERIFY_OK(exporter.start(csv, xlsx));
        const Result<void> exported = exporter.runToEnd();
        QVERIFY(!exported);
        QVERIFY(exported.error().message.contains(QStringLiteral("holds no lines")));
        QCOMPARE(exporter.errorString(), exported.error().message);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("older"));
    }
};

QTEST_GUILESS_MAIN(TestBankTable)
#include "tst_bank_table.moc"
