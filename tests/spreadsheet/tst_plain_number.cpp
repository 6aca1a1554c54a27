#include "spreadsheet/CompoundFile.h"
#include "spreadsheet/PlainNumber.h"
#include "spreadsheet/XlsWorkbook.h"
#include "spreadsheet/XlsxSheetWriter.h"
#include "support/ResultCheck.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

// The same texts through both workbook formats: each must store a text as a
// number exactly when the other does. The cells are read back from the files
// written, not from the writers' decisions.
namespace {
const QString templates = QStringLiteral(CELLVANE_SOURCE_DIR "/src/records/templates/");

enum class Cell { None, Number, Text };

Cell expected(const QString &text, bool number)
{
    if (text.isEmpty())
        return Cell::None;
    return number ? Cell::Number : Cell::Text;
}

// The kind of cell A2 of the first worksheet in an .xlsx file.
Cell xlsxCell(const QString &path)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip))
        return Cell::None;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        if (zip.getCurrentFileName() != QStringLiteral("xl/worksheets/sheet1.xml"))
            continue;
        QuaZipFile f(&zip);
        if (!f.open(QIODevice::ReadOnly))
            return Cell::None;
        const QByteArray xml = f.readAll();
        const qsizetype at = xml.indexOf("<c r=\"A2\"");
        if (at < 0)
            return Cell::None;
        const QByteArray cell = xml.mid(at, xml.indexOf("</c>", at) - at);
        if (cell.contains("t=\"inlineStr\""))
            return Cell::Text;
        return cell.contains("<v>") ? Cell::Number : Cell::None;
    }
    return Cell::None;
}

// The kind of cell (row 1, column 0) in an Excel 97-2003 workbook: NUMBER or
// LABELSST record.
Cell xlsCell(const QString &path)
{
    QFile f(path);
    CompoundFile file;
    if (!f.open(QIODevice::ReadOnly) || !file.read(f.readAll()))
        return Cell::None;
    const CompoundFile::Entry *book = file.stream(QStringLiteral("Workbook"));
    if (!book)
        return Cell::None;
    const QByteArray &s = book->data;
    for (qsizetype at = 0; at + 4 <= s.size();) {
        const quint16 type = qFromLittleEndian<quint16>(s.constData() + at);
        const quint16 size = qFromLittleEndian<quint16>(s.constData() + at + 2);
        if ((type == 0x0203 || type == 0x00FD) && size >= 4 && at + 8 <= s.size() &&
            qFromLittleEndian<quint16>(s.constData() + at + 4) == 1 &&
            qFromLittleEndian<quint16>(s.constData() + at + 6) == 0)
            return type == 0x0203 ? Cell::Number : Cell::Text;
        at += 4 + size;
    }
    return Cell::None;
}
} // namespace

class TestPlainNumber : public QObject {
    Q_OBJECT
private:
    static void texts()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("number");
        QTest::newRow("integer") << "52" << true;
        QTest::newRow("padded line number") << "     1" << true;
        QTest::newRow("decimal") << "3.301" << true;
        QTest::newRow("negative") << "-0.5" << true;
        QTest::newRow("zero") << "0" << true;
        QTest::newRow("leading zeros") << "0012" << false;
        QTest::newRow("trailing decimal zero") << "1.10" << false;
        QTest::newRow("version") << "1.2.3" << false;
        QTest::newRow("sixteen digits") << "1234567890123456" << false;
        QTest::newRow("fifteen digits") << "123456789012345" << true;
        QTest::newRow("sixteen digits with a point") << "12345678901234.56" << false;
        QTest::newRow("minus zero") << "-0" << false;
        QTest::newRow("exponent") << "1e5" << false;
        QTest::newRow("plus sign") << "+3" << false;
        QTest::newRow("no integer part") << ".5" << false;
        QTest::newRow("point only") << "5." << false;
        QTest::newRow("decimal comma") << "3,5" << false;
        QTest::newRow("space inside") << "1 2" << false;
        QTest::newRow("null") << "null" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("full-width digits") << "１２" << false;
    }

    QTemporaryDir m_dir;

private slots:
    void rule_data() { texts(); }
    void rule()
    {
        QFETCH(QString, text);
        QFETCH(bool, number);
        QCOMPARE(PlainNumber::matches(text), number);
    }

    void xlsx_data() { texts(); }
    void xlsx()
    {
        QFETCH(QString, text);
        QFETCH(bool, number);
        const QString out = m_dir.filePath(QStringLiteral("%1.xlsx").arg(QTest::currentDataTag()));
        XlsxSheetWriter writer;
        QVERIFY_OK(writer.begin(templates + QStringLiteral("Real time data template.xlsx"), out, {},
                                2, 1));
        QVERIFY_OK(writer.writeRow(2, {text}));
        QVERIFY_OK(writer.finish());
        QCOMPARE(xlsxCell(out), expected(text, number));
    }

    void xls_data() { texts(); }
    void xls()
    {
        QFETCH(QString, text);
        QFETCH(bool, number);
        const QString out = m_dir.filePath(QStringLiteral("%1.xls").arg(QTest::currentDataTag()));
        QVERIFY(QFile::copy(templates + QStringLiteral("Storage Data Template.xls"), out));
        QFile::setPermissions(out, QFile::ReadOwner | QFile::WriteOwner);
        QVERIFY_OK(XlsWorkbook::writeRows(out, 1, {{text}}, {}));
        QCOMPARE(xlsCell(out), expected(text, number));
    }
};

QTEST_GUILESS_MAIN(TestPlainNumber)
#include "tst_plain_number.moc"
