#include "spreadsheet/XlsxBookWriter.h"

#include "spreadsheet/PartialFile.h"
#include "spreadsheet/PlainNumber.h"
#include "spreadsheet/XlsxSheetWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

namespace {
constexpr qsizetype flushSize = 1 << 18;
const QString mainNs = QStringLiteral("http://schemas.openxmlformats.org/spreadsheetml/2006/main");
const QString relNs =
    QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString escaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '&')
            out += QStringLiteral("&amp;");
        else if (u == '<')
            out += QStringLiteral("&lt;");
        else if (u == '>')
            out += QStringLiteral("&gt;");
        else if (u == '"')
            out += QStringLiteral("&quot;");
        else if (u < 0x20 && u != 0x9 && u != 0xA && u != 0xD)
            out += QChar(0xFFFD); // XML cannot carry it
        else if (u == 0xFFFE || u == 0xFFFF)
            out += QChar(0xFFFD);
        else
            out += c;
    }
    return out;
}

const char stylesXml[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<fonts count=\"2\"><font><sz val=\"11\"/><name val=\"Calibri\"/></font>"
    "<font><b/><sz val=\"11\"/><name val=\"Calibri\"/></font></fonts>"
    "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
    "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
    "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
    "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/>"
    "</cellStyleXfs>"
    "<cellXfs count=\"2\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
    "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyFont=\"1\"/>"
    "</cellXfs>"
    "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
    "</styleSheet>";
} // namespace

XlsxBookWriter::XlsxBookWriter() = default;

XlsxBookWriter::~XlsxBookWriter()
{
    abandon();
}

QString XlsxBookWriter::sheetName(const QString &name)
{
    QString clean;
    for (const QChar c : name)
        if (!QStringLiteral("[]:*?/\\").contains(c))
            clean += c;
    clean = clean.left(31).trimmed();
    return clean.isEmpty() ? QStringLiteral("Sheet") : clean;
}

Error XlsxBookWriter::fail(const QString &reason)
{
    abandon();
    return Error{reason};
}

void XlsxBookWriter::abandon()
{
    if (m_sheet && m_sheet->isOpen())
        m_sheet->close();
    m_sheet.reset();
    if (m_zip && m_zip->isOpen())
        m_zip->close();
    m_zip.reset();
    if (!m_partialPath.isEmpty())
        QFile::remove(m_partialPath);
    m_partialPath.clear();
    m_sheetNames.clear();
    m_xml.clear();
}

Result<void> XlsxBookWriter::begin(const QString &outputPath)
{
    abandon();
    m_outputPath = outputPath;
    const QFileInfo out(outputPath);
    m_partialPath = partialPathFor(outputPath);
    QFile::remove(m_partialPath);
    m_zip = std::make_unique<QuaZip>(m_partialPath);
    if (!m_zip->open(QuaZip::mdCreate))
        return fail(
            tr("Cannot create a file in the folder \"%1\".").arg(native(out.absolutePath())));
    return {};
}

bool XlsxBookWriter::writeEntry(const QString &name, const QByteArray &bytes)
{
    QuaZipFile file(m_zip.get());
    if (!file.open(QIODevice::WriteOnly, newPackageEntry(name), nullptr, 0, Z_DEFLATED))
        return false;
    const bool ok = file.write(bytes) == bytes.size();
    file.close();
    return ok && file.getZipError() == ZIP_OK;
}

Result<void> XlsxBookWriter::beginSheet(const QString &name)
{
    if (!m_zip || (m_sheet && m_sheet->isOpen()))
        return fail(tr("The workbook is not open."));
    m_sheetNames << sheetName(name);
    m_sheet = std::make_unique<QuaZipFile>(m_zip.get());
    const QString entry = QStringLiteral("xl/worksheets/sheet%1.xml").arg(m_sheetNames.size());
    if (!m_sheet->open(QIODevice::WriteOnly, newPackageEntry(entry), nullptr, 0, Z_DEFLATED, 1))
        return fail(tr("The workbook \"%1\" cannot be written.").arg(native(m_outputPath)));
    m_row = 0;
    m_xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                           "<worksheet xmlns=\"%1\"><sheetViews><sheetView workbookViewId=\"0\">"
                           "<pane ySplit=\"1\" topLeftCell=\"A2\" activePane=\"bottomLeft\" "
                           "state=\"frozen\"/></sheetView></sheetViews><sheetData>")
                .arg(mainNs);
    return {};
}

bool XlsxBookWriter::flush(bool force)
{
    if (!force && m_xml.size() < flushSize)
        return true;
    const QByteArray data = m_xml.toUtf8();
    m_xml.resize(0);
    return m_sheet->write(data) == data.size() && m_sheet->getZipError() == ZIP_OK;
}

Result<void> XlsxBookWriter::writeRow(const QStringList &cells)
{
    if (!m_sheet || !m_sheet->isOpen())
        return fail(tr("The workbook is not open."));
    ++m_row;
    const QString r = QString::number(m_row);
    m_xml += QStringLiteral("<row r=\"%1\">").arg(r);
    for (int i = 0; i < cells.size(); ++i) {
        const QString &text = cells[i];
        if (text.isEmpty())
            continue;
        const QString ref = XlsxSheetWriter::columnName(i + 1) + r;
        const QString style = m_row == 1 ? QStringLiteral(" s=\"1\"") : QString();
        if (m_row > 1 && PlainNumber::matches(text))
            m_xml += QStringLiteral("<c r=\"%1\"><v>%2</v></c>").arg(ref, text.trimmed());
        else
            m_xml += QStringLiteral("<c r=\"%1\"%2 t=\"inlineStr\"><is><t xml:space=\"preserve\">"
                                    "%3</t></is></c>")
                         .arg(ref, style, escaped(text));
    }
    m_xml += QStringLiteral("</row>");
    if (!flush(false))
        return fail(tr("The workbook \"%1\" cannot be written.").arg(native(m_outputPath)));
    return {};
}

Result<void> XlsxBookWriter::endSheet()
{
    if (!m_sheet || !m_sheet->isOpen())
        return fail(tr("The workbook is not open."));
    m_xml += QStringLiteral("</sheetData></worksheet>");
    const bool ok = flush(true);
    m_sheet->close();
    if (!ok || m_sheet->getZipError() != ZIP_OK)
        return fail(tr("The workbook \"%1\" cannot be written.").arg(native(m_outputPath)));
    m_sheet.reset();
    return {};
}

Result<void> XlsxBookWriter::finish()
{
    if (!m_zip || (m_sheet && m_sheet->isOpen()) || m_sheetNames.isEmpty())
        return fail(tr("The workbook is not open."));
    const int n = int(m_sheetNames.size());
    QString types = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" "
        "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/"
        "vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
        "<Override PartName=\"/xl/styles.xml\" ContentType=\"application/"
        "vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>");
    QString sheets;
    QString rels = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                                  "<Relationships xmlns=\"http://schemas.openxmlformats.org/"
                                  "package/2006/relationships\">");
    for (int i = 1; i <= n; ++i) {
        types += QStringLiteral("<Override PartName=\"/xl/worksheets/sheet%1.xml\" "
                                "ContentType=\"application/"
                                "vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>")
                     .arg(i);
        sheets += QStringLiteral("<sheet name=\"%1\" sheetId=\"%2\" r:id=\"rId%2\"/>")
                      .arg(escaped(m_sheetNames[i - 1]))
                      .arg(i);
        rels += QStringLiteral("<Relationship Id=\"rId%1\" Type=\"%2/worksheet\" "
                               "Target=\"worksheets/sheet%1.xml\"/>")
                    .arg(i)
                    .arg(relNs);
    }
    types += QStringLiteral("</Types>");
    rels += QStringLiteral("<Relationship Id=\"rId%1\" Type=\"%2/styles\" Target=\"styles.xml\"/>"
                           "</Relationships>")
                .arg(n + 1)
                .arg(relNs);
    const QString workbook =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                       "<workbook xmlns=\"%1\" xmlns:r=\"%2\"><sheets>%3</sheets></workbook>")
            .arg(mainNs, relNs, sheets);
    const QString rootRels =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                       "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                       "relationships\"><Relationship Id=\"rId1\" Type=\"%1/officeDocument\" "
                       "Target=\"xl/workbook.xml\"/></Relationships>")
            .arg(relNs);
    const bool ok = writeEntry(QStringLiteral("[Content_Types].xml"), types.toUtf8()) &&
                    writeEntry(QStringLiteral("_rels/.rels"), rootRels.toUtf8()) &&
                    writeEntry(QStringLiteral("xl/workbook.xml"), workbook.toUtf8()) &&
                    writeEntry(QStringLiteral("xl/_rels/workbook.xml.rels"), rels.toUtf8()) &&
                    writeEntry(QStringLiteral("xl/styles.xml"), QByteArray(stylesXml));
    m_zip->close();
    if (!ok || m_zip->getZipError() != ZIP_OK)
        return fail(tr("The workbook \"%1\" cannot be written.").arg(native(m_outputPath)));
    if (const Result<void> moved = movePartialIntoPlace(m_partialPath, m_outputPath); !moved)
        return fail(tr("The workbook \"%1\" cannot be replaced: %2")
                        .arg(native(m_outputPath), moved.error().message));
    m_partialPath.clear();
    abandon();
    return {};
}
