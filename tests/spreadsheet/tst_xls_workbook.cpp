#include "records/SampleRows.h"
#include "spreadsheet/CompoundFile.h"
#include "spreadsheet/XlsWorkbook.h"
#include "support/ResultCheck.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString templatePath =
    QStringLiteral(CELLVANE_SOURCE_DIR "/src/records/templates/Storage Data Template.xls");

// Reads a workbook back with xlrd (formatting kept) and returns, per sheet row,
// the cell values, plus the header cell's font and fill. A reader that fails
// on the file is an error; only a missing reader skips.
QJsonObject readWithXlrd(const QString &path, QString *skip, QString *error)
{
    const QString python = QStringLiteral("/usr/bin/python3");
    if (!QFile::exists(python)) {
        *skip = QStringLiteral("no /usr/bin/python3");
        return {};
    }
    const char *script = R"(
import json, sys
try:
    import xlrd
except ImportError:
    print(json.dumps({"skip": "python3-xlrd missing"})); sys.exit(0)
b = xlrd.open_workbook(sys.argv[1], formatting_info=True)
s = b.sheet_by_index(0)
rows = [[s.cell_value(r, c) for c in range(s.ncols)] for r in range(s.nrows)]
types = [[s.cell_type(r, c) for c in range(s.ncols)] for r in range(s.nrows)]
xf = b.xf_list[s.cell_xf_index(0, 0)]
font = b.font_list[xf.font_index]
print(json.dumps({"rows": rows, "types": types, "sheets": b.nsheets,
                  "bold": font.weight >= 700, "fill": xf.background.pattern_colour_index,
                  "width0": s.colinfo_map[0].width if 0 in s.colinfo_map else 0,
                  "frozen": s.horz_split_pos}))
)";
    QProcess p;
    p.start(python, {QStringLiteral("-c"), QString::fromUtf8(script), path});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        *error = QString::fromUtf8(p.readAllStandardError());
        return {};
    }
    const QJsonObject o = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    if (o.contains(QStringLiteral("skip")))
        *skip = o.value(QStringLiteral("skip")).toString();
    return o;
}
} // namespace

class TestXlsWorkbook : public QObject {
    Q_OBJECT
private slots:
    void compoundRoundTrip_data()
    {
        QTest::addColumn<int>("bigSize");
        QTest::addColumn<int>("smallSize");
        QTest::newRow("small streams only") << 0 << 100;
        QTest::newRow("at the mini cutoff") << 4096 << 4095;
        QTest::newRow("needs an allocation index") << 9 * 1024 * 1024 << 3000;
    }

    void compoundRoundTrip()
    {
        QFETCH(int, bigSize);
        QFETCH(int, smallSize);
        QFile f(templatePath);
        QVERIFY(f.open(QIODevice::ReadOnly));
        CompoundFile file;
        QVERIFY_OK(file.read(f.readAll()));
        CompoundFile::Entry *book = file.stream(QStringLiteral("Workbook"));
        QVERIFY(book);
        QByteArray big(bigSize, '\0');
        QByteArray small(smallSize, '\0');
        auto *rng = QRandomGenerator::global();
        for (char &c : big)
            c = char(rng->bounded(256));
        for (char &c : small)
            c = char(rng->bounded(256));
        if (bigSize)
            book->data = big;
        for (const auto &e : file.entries())
            if (e.type == 2 && e.name != QStringLiteral("Workbook"))
                file.stream(e.name)->data = small;
        const QByteArray written = file.write();
        QCOMPARE(written.size() % 512, 0);

        CompoundFile again;
        QVERIFY_OK(again.read(written));
        QCOMPARE(again.entries().size() >= file.entries().size(), true);
        for (const auto &e : file.entries()) {
            if (e.type != 2)
                continue;
            const CompoundFile::Entry *back = again.stream(e.name);
            QVERIFY2(back, qPrintable(e.name));
            QCOMPARE(back->data, e.data);
        }
    }

    void refusesWhatIsNotAWorkbook_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("text") << QByteArray("NO.\ttype\n");
        QTest::newRow("signature only") << QByteArray::fromHex("D0CF11E0A1B11AE1");
        QByteArray header = QByteArray::fromHex("D0CF11E0A1B11AE1");
        header.resize(512, '\xff');
        QTest::newRow("header with garbage") << header;
    }

    void refusesWhatIsNotAWorkbook()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("x.xls"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        const Result<void> written = XlsWorkbook::writeRows(path, 1, {{QStringLiteral("a")}}, {});
        QVERIFY(!written);
        QVERIFY(!written.error().message.isEmpty());
        QFile back(path);
        QVERIFY(back.open(QIODevice::ReadOnly));
        QCOMPARE(back.readAll(), content); // untouched
    }

    void refusesMissingFileAndTooManyRows()
    {
        const Result<void> missing =
            XlsWorkbook::writeRows(QStringLiteral("/nonexistent/x.xls"), 1, {{}}, {});
        QVERIFY(!missing);
        QVERIFY(!missing.error().message.isEmpty());
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("t.xls"));
        QVERIFY(QFile::copy(templatePath, path));
        QList<QStringList> rows(65536, QStringList{QStringLiteral("x")});
        const Result<void> tooMany = XlsWorkbook::writeRows(path, 1, rows, {});
        QVERIFY(!tooMany);
        QVERIFY(tooMany.error().message.contains(QStringLiteral("65536")));
    }

    void rowsReadBackWithTemplateKept()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("out.xls"));
        QVERIFY(QFile::copy(templatePath, path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        QList<QStringList> rows;
        for (int i = 0; i < 300; ++i) {
            rows << QStringList{
                QString::number(300 - i),
                QStringLiteral("1"),
                QStringLiteral("2024-05-07 09:03:%1").arg(i % 60, 2, 10, QChar('0')),
                QStringLiteral("52.31"),
                QStringLiteral("-1"),
                QStringLiteral("0012"),
                QStringLiteral("单体电压过高 Cell_OV "),
                QString(),
                QStringLiteral("ünïcødé")};
        }
        int lastProgress = 0;
        QVERIFY_OK(XlsWorkbook::writeRows(path, 1, rows, [&](int done) { lastProgress = done; }));
        QString error;
        QCOMPARE(lastProgress, 300);

        QString skip;
        const QJsonObject o = readWithXlrd(path, &skip, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        if (!skip.isEmpty())
            QSKIP(qPrintable(skip));
        const QJsonArray back = o.value(QStringLiteral("rows")).toArray();
        QCOMPARE(back.size(), 301);
        QCOMPARE(back.at(0).toArray().at(0).toString(), QStringLiteral("NO.\n编号"));
        QVERIFY(o.value(QStringLiteral("bold")).toBool());
        QVERIFY(o.value(QStringLiteral("fill")).toInt() != 64); // header fill kept
        QVERIFY(o.value(QStringLiteral("width0")).toInt() > 0);
        QCOMPARE(o.value(QStringLiteral("frozen")).toInt(), 1);
        const QJsonArray types = o.value(QStringLiteral("types")).toArray();
        for (int i = 0; i < rows.size(); ++i) {
            const QJsonArray r = back.at(i + 1).toArray();
            const QJsonArray t = types.at(i + 1).toArray();
            QCOMPARE(r.at(0).toDouble(), double(300 - i));
            QCOMPARE(t.at(0).toInt(), 2); // number
            QCOMPARE(r.at(2).toString(), rows.at(i).at(2));
            QCOMPARE(r.at(3).toDouble(), 52.31);
            QCOMPARE(r.at(4).toDouble(), -1.0);
            QCOMPARE(r.at(5).toString(), QStringLiteral("0012")); // kept as text
            QCOMPARE(r.at(6).toString(), rows.at(i).at(6));
            QCOMPARE(r.at(7).toString(), QString());
            QCOMPARE(r.at(8).toString(), rows.at(i).at(8));
        }
    }

    // The workbook made step by step is the one the export has always made of
    // these rows, byte for byte; a job left unfinished leaves the file as it
    // was.
    void stepsKeepTheWorkbookFormat()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("steps.xls"));
        QVERIFY(QFile::copy(templatePath, path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        QList<QStringList> rows;
        for (const QString &line : SampleRows::lines(400))
            rows << line.split(QLatin1Char('\t'));
        auto bytes = [](const QString &file) {
            QFile f(file);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        const QByteArray before = bytes(path);

        XlsWorkbook book;
        QVERIFY_OK(book.begin(path, 1, int(rows.size()), [&rows](int i) { return rows.at(i); }));
        for (int n = 0; n < 5; ++n)
            QVERIFY(book.step());
        QVERIFY(book.rowsDone() > 0 && book.rowsDone() < rows.size());
        book.abandon();
        QVERIFY(!book.isRunning());
        QVERIFY(bytes(path) == before);

        QVERIFY_OK(book.begin(path, 1, int(rows.size()), [&rows](int i) { return rows.at(i); }));
        int steps = 0;
        int done = 0;
        while (book.step()) {
            QVERIFY(book.rowsDone() >= done);
            done = book.rowsDone();
            ++steps;
        }
        QVERIFY2(book.succeeded(), qPrintable(book.errorString()));
        QCOMPARE(book.rowsDone(), 400);
        QVERIFY(steps > 400 / 32);
        const QByteArray earlier =
            bytes(QStringLiteral(CELLVANE_SOURCE_DIR "/tests/records/data/stored-export-400.xls"));
        QVERIFY(!earlier.isEmpty());
        QVERIFY(bytes(path) == earlier);
    }

    void libreOfficeReadsTheExport()
    {
        const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice.isEmpty())
            QSKIP("LibreOffice (soffice) is not installed");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("lo.xls"));
        QVERIFY(QFile::copy(templatePath, path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        QVERIFY_OK(XlsWorkbook::writeRows(path, 1,
                                          {{QStringLiteral("2"), QStringLiteral("压差过大 ")},
                                           {QStringLiteral("1"), QStringLiteral("x")}},
                                          {}));
        QProcess p;
        p.setWorkingDirectory(dir.path());
        p.start(soffice, {QStringLiteral("-env:UserInstallation=file://") + dir.filePath("profile"),
                          QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                          QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76"),
                          QStringLiteral("--outdir"), dir.path(), path});
        QVERIFY(p.waitForFinished(120000));
        QFile csv(dir.filePath(QStringLiteral("lo.csv")));
        QVERIFY2(csv.open(QIODevice::ReadOnly), qPrintable(p.readAllStandardError()));
        // The header cells hold line breaks, so look for the data lines whole.
        const QString text = QString::fromUtf8(csv.readAll());
        QVERIFY2(text.startsWith(QStringLiteral("\"NO.\n编号\"")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("\n2,压差过大 ,")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("\n1,x,")), qPrintable(text));
    }
};

QTEST_GUILESS_MAIN(TestXlsWorkbook)
#include "tst_xls_workbook.moc"
