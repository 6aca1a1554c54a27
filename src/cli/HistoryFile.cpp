#include "cli/HistoryFile.h"

#include "records/DataLocations.h"
#include "records/StoredRecordText.h"
#include "records/StoredRecords.h"
#include "spreadsheet/XlsWorkbook.h"
#include "spreadsheet/XlsxSheetWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <cstdio>

namespace {
QStringList fieldsOf(const QString &row)
{
    QStringList fields = row.split(QLatin1Char('\t'));
    if (fields.size() > StoredRecordText::columnCount)
        fields.resize(StoredRecordText::columnCount);
    return fields;
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString xmlEscaped(const QString &text)
{
    return text.toHtmlEscaped();
}

// The smallest workbook a spreadsheet program opens: one sheet holding the
// header row. The stored-data template is an .xls; an .xlsx export starts
// from this instead and is filled by the same writer as the recordings.
bool writeXlsxTemplate(const QString &path, const QStringList &header)
{
    QString row;
    for (int i = 0; i < header.size(); ++i)
        row += QStringLiteral("<c r=\"") + XlsxSheetWriter::columnName(i + 1) +
               QStringLiteral("1\" t=\"inlineStr\"><is><t>") + xmlEscaped(header.at(i)) +
               QStringLiteral("</t></is></c>");
    const QString ns = QStringLiteral("http://schemas.openxmlformats.org");
    const QList<QPair<QString, QString>> parts = {
        {QStringLiteral("[Content_Types].xml"),
         QStringLiteral(
             "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
             "<Types xmlns=\"%1/package/2006/content-types\">"
             "<Default Extension=\"rels\" "
             "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
             "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
             "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/"
             "vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
             "<Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"application/"
             "vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
             "</Types>")
             .arg(ns)},
        {QStringLiteral("_rels/.rels"),
         QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
                        "<Relationships xmlns=\"%1/package/2006/relationships\">"
                        "<Relationship Id=\"rId1\" Type=\"%1/officeDocument/2006/relationships/"
                        "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>")
             .arg(ns)},
        {QStringLiteral("xl/workbook.xml"),
         QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
                        "<workbook xmlns=\"%1/spreadsheetml/2006/main\" "
                        "xmlns:r=\"%1/officeDocument/2006/relationships\"><sheets>"
                        "<sheet name=\"Store data\" sheetId=\"1\" r:id=\"rId1\"/>"
                        "</sheets></workbook>")
             .arg(ns)},
        {QStringLiteral("xl/_rels/workbook.xml.rels"),
         QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
                        "<Relationships xmlns=\"%1/package/2006/relationships\">"
                        "<Relationship Id=\"rId1\" Type=\"%1/officeDocument/2006/relationships/"
                        "worksheet\" Target=\"worksheets/sheet1.xml\"/></Relationships>")
             .arg(ns)},
        {QStringLiteral("xl/worksheets/sheet1.xml"),
         QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
                        "<worksheet xmlns=\"%1/spreadsheetml/2006/main\"><sheetData>"
                        "<row r=\"1\">%2</row></sheetData></worksheet>")
             .arg(ns, row)},
    };
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    for (const auto &[name, text] : parts) {
        QuaZipFile file(&zip);
        const QByteArray bytes = text.toUtf8();
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(name)) ||
            file.write(bytes) != bytes.size())
            return false;
        file.close();
    }
    zip.close();
    return zip.getZipError() == ZIP_OK;
}
} // namespace

QStringList HistoryFile::csvHeader()
{
    return {QStringLiteral("NO."),
            QStringLiteral("type"),
            QStringLiteral("storage time"),
            QStringLiteral("total voltage (V)"),
            QStringLiteral("total current (A)"),
            QStringLiteral("SOC(%)"),
            QStringLiteral("SOH(%)"),
            QStringLiteral("Max Cell Voltage (v)"),
            QStringLiteral("NO.of Max Voltage"),
            QStringLiteral("Min Cell Voltage (v)"),
            QStringLiteral("NO.of Min Voltage"),
            QStringLiteral("Voltage difference (v)"),
            QStringLiteral("Max temperature (℃)"),
            QStringLiteral("NO.of Max temperature"),
            QStringLiteral("Min temperature (℃)"),
            QStringLiteral("NO.of Min temperature"),
            QStringLiteral("Alarm status"),
            QStringLiteral("Protection status"),
            QStringLiteral("Fault status"),
            QStringLiteral("system state")};
}

QString HistoryFile::csvLine(const QStringList &fields)
{
    QStringList out;
    for (QString f : fields) {
        f = f.trimmed();
        if (f.contains(QLatin1Char(',')) || f.contains(QLatin1Char('"')) ||
            f.contains(QLatin1Char('\n')) || f.contains(QLatin1Char('\r'))) {
            f.replace(QLatin1Char('"'), QStringLiteral("\"\""));
            f = QLatin1Char('"') + f + QLatin1Char('"');
        }
        out << f;
    }
    return out.join(QLatin1Char(','));
}

Result<void> HistoryFile::write(const QString &path, const QStringList &rows)
{
    if (QFileInfo(path).suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0) {
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return Error{tr("Cannot write \"%1\": %2").arg(native(path), file.errorString())};
        QString text = csvLine(csvHeader()) + QStringLiteral("\r\n");
        for (const QString &row : rows)
            text += csvLine(fieldsOf(row)) + QStringLiteral("\r\n");
        file.write(text.toUtf8());
        if (!file.commit())
            return Error{tr("Cannot write \"%1\": %2").arg(native(path), file.errorString())};
        return {};
    }

    if (QFileInfo(path).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0) {
        QTemporaryDir dir;
        const QString templatePath = dir.filePath(QStringLiteral("template.xlsx"));
        if (!dir.isValid() || !writeXlsxTemplate(templatePath, csvHeader()))
            return Error{tr("Cannot write \"%1\".").arg(native(templatePath))};
        XlsxSheetWriter writer;
        if (Result<void> begun = writer.begin(templatePath, path, {}, int(rows.size()) + 1,
                                              StoredRecordText::columnCount);
            !begun)
            return begun;
        for (int i = 0; i < rows.size(); ++i)
            if (Result<void> written = writer.writeRow(i + 2, fieldsOf(rows.at(i))); !written)
                return written;
        return writer.finish();
    }

    const Result<QString> templatePath = DataLocations::findTemplate(StoredRecords::templateName());
    if (!templatePath)
        return templatePath.error();
    const QString partial = path + QStringLiteral(".part");
    QFile::remove(partial);
    if (!QFile::copy(*templatePath, partial))
        return Error{tr("Cannot write \"%1\".").arg(native(partial))};
    QFile::setPermissions(partial, QFile::permissions(partial) | QFile::WriteOwner);
    QList<QStringList> cells;
    for (const QString &row : rows)
        cells << fieldsOf(row);
    if (Result<void> written = XlsWorkbook::writeRows(partial, 1, cells, {}); !written) {
        QFile::remove(partial);
        return written;
    }
    // Replaces an older file in one step, so it is never lost half-way.
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(path).constData()) !=
        0) {
        QFile::remove(partial);
        return Error{tr("Cannot write \"%1\".").arg(native(path))};
    }
    return {};
}
