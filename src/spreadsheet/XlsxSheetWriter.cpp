#include "spreadsheet/XlsxSheetWriter.h"

#include "spreadsheet/PartialFile.h"
#include "spreadsheet/PlainNumber.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

namespace {

constexpr int firstDataRow = 2; // row 1 is the template's header
constexpr qint64 flushSize = 1 << 18;
// Level 1 deflates the sheet several times faster than the default and costs
// only a little size on text this repetitive.
constexpr int sheetCompression = 1;

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QByteArray readEntry(QuaZip &zip, const QString &name, bool *ok)
{
    *ok = false;
    if (!zip.setCurrentFile(name))
        return {};
    QuaZipFile file(&zip);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = file.readAll();
    file.close();
    *ok = file.getZipError() == UNZ_OK;
    return bytes;
}

// Part names inside the package are relative to the folder of the part that
// names them, or absolute from the package root.
QString resolvePart(const QString &baseFolder, const QString &target)
{
    if (target.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(target.mid(1));
    return QDir::cleanPath(baseFolder.isEmpty() ? target : baseFolder + QLatin1Char('/') + target);
}

// The target of the first relationship in `rels` that satisfies `match`.
template <typename Match> QString relationshipTarget(const QByteArray &rels, Match match)
{
    QXmlStreamReader reader(rels);
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("Relationship") &&
            match(reader.attributes()))
            return reader.attributes().value(QLatin1String("Target")).toString();
    }
    return {};
}

QString firstSheetPath(QuaZip &zip)
{
    bool ok = false;
    QString workbook = relationshipTarget(
        readEntry(zip, QStringLiteral("_rels/.rels"), &ok), [](const QXmlStreamAttributes &a) {
            return a.value(QLatin1String("Type")).endsWith(QLatin1String("/officeDocument"));
        });
    workbook = workbook.isEmpty() ? QStringLiteral("xl/workbook.xml") : resolvePart({}, workbook);
    const QByteArray workbookXml = readEntry(zip, workbook, &ok);
    if (!ok)
        return {};
    QString sheetId;
    QXmlStreamReader reader(workbookXml);
    while (!reader.atEnd() && sheetId.isEmpty()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("sheet"))
            for (const QXmlStreamAttribute &a : reader.attributes())
                if (a.name() == QLatin1String("id") &&
                    a.namespaceUri().endsWith(QLatin1String("/relationships")))
                    sheetId = a.value().toString();
    }
    if (sheetId.isEmpty())
        return {};
    const QFileInfo info(workbook);
    const QString folder = info.path() == QLatin1String(".") ? QString() : info.path();
    const QByteArray rels = readEntry(
        zip,
        resolvePart(folder, QStringLiteral("_rels/") + info.fileName() + QStringLiteral(".rels")),
        &ok);
    const QString target = relationshipTarget(rels, [&](const QXmlStreamAttributes &a) {
        return a.value(QLatin1String("Id")) == sheetId;
    });
    return target.isEmpty() ? QString() : resolvePart(folder, target);
}

// "CQ12" -> column 95 (row ignored); 0 when there is no column.
int columnOfReference(QStringView ref)
{
    int column = 0;
    for (const QChar ch : ref) {
        if (ch >= QLatin1Char('A') && ch <= QLatin1Char('Z'))
            column = column * 26 + (ch.unicode() - 'A' + 1);
        else if (ch != QLatin1Char('$'))
            break;
    }
    return column;
}

int rowOfReference(QStringView ref)
{
    int i = 0;
    while (i < ref.size() && !ref.at(i).isDigit())
        ++i;
    return ref.mid(i).toInt();
}

// The sheet's used range grown to cover the data.
QString grownDimension(QStringView ref, int lastRow, int lastColumn)
{
    int firstColumn = 1, firstRow = 1;
    const qsizetype colon = ref.indexOf(QLatin1Char(':'));
    const QStringView from = colon < 0 ? ref : ref.left(colon);
    const QStringView to = colon < 0 ? ref : ref.mid(colon + 1);
    if (const int c = columnOfReference(from); c > 0) {
        firstColumn = c;
        firstRow = qMax(1, rowOfReference(from));
    }
    lastColumn = qMax(lastColumn, columnOfReference(to));
    lastRow = qMax(lastRow, rowOfReference(to));
    lastColumn = qMax(lastColumn, firstColumn);
    lastRow = qMax(lastRow, firstRow);
    return XlsxSheetWriter::columnName(firstColumn) + QString::number(firstRow) + QLatin1Char(':') +
           XlsxSheetWriter::columnName(lastColumn) + QString::number(lastRow);
}

bool isXmlChar(char16_t c)
{
    return c >= 0x20 ? (c != 0xFFFE && c != 0xFFFF) : (c == 0x9 || c == 0xA || c == 0xD);
}

// Characters XML cannot carry (control codes from a garbled line) become
// U+FFFD instead of making the whole workbook unreadable.
QString xmlSafe(const QString &text)
{
    for (const QChar ch : text)
        if (!isXmlChar(ch.unicode())) {
            QString safe = text;
            for (QChar &c : safe)
                if (!isXmlChar(c.unicode()))
                    c = QChar(0xFFFD);
            return safe;
        }
    return text;
}

// Namespace declarations as the attributes they were, prefixes unchanged.
void writeDeclarations(QXmlStreamWriter &writer,
                       const QXmlStreamNamespaceDeclarations &declarations)
{
    for (const QXmlStreamNamespaceDeclaration &d : declarations)
        writer.writeAttribute(d.prefix().isEmpty()
                                  ? QStringLiteral("xmlns")
                                  : QStringLiteral("xmlns:") + d.prefix().toString(),
                              d.namespaceUri().toString());
}

// Copies the token the reader stands on. Names are written exactly as they
// were read, prefixes and namespace declarations included: Excel ignores
// extension markup by prefix (mc:Ignorable), so a renamed prefix would break
// the workbook.
void copyToken(const QXmlStreamReader &reader, QXmlStreamWriter &writer)
{
    switch (reader.tokenType()) {
    case QXmlStreamReader::StartDocument: {
        const QString version = reader.documentVersion().isEmpty()
                                    ? QStringLiteral("1.0")
                                    : reader.documentVersion().toString();
        if (reader.isStandaloneDocument())
            writer.writeStartDocument(version, true);
        else
            writer.writeStartDocument(version);
        break;
    }
    case QXmlStreamReader::EndDocument:
        writer.writeEndDocument();
        break;
    case QXmlStreamReader::StartElement:
        writer.writeStartElement(reader.qualifiedName().toString());
        writeDeclarations(writer, reader.namespaceDeclarations());
        for (const QXmlStreamAttribute &a : reader.attributes())
            writer.writeAttribute(a.qualifiedName().toString(), a.value().toString());
        break;
    case QXmlStreamReader::EndElement:
        writer.writeEndElement();
        break;
    case QXmlStreamReader::Characters:
        if (reader.isCDATA())
            writer.writeCDATA(reader.text().toString());
        else
            writer.writeCharacters(reader.text().toString());
        break;
    case QXmlStreamReader::Comment:
        writer.writeComment(reader.text().toString());
        break;
    case QXmlStreamReader::ProcessingInstruction:
        writer.writeProcessingInstruction(reader.processingInstructionTarget().toString(),
                                          reader.processingInstructionData().toString());
        break;
    case QXmlStreamReader::EntityReference:
        writer.writeEntityReference(reader.name().toString());
        break;
    case QXmlStreamReader::DTD:
        writer.writeDTD(reader.text().toString());
        break;
    default:
        break;
    }
}

// Copies the rest of the element whose start tag was just read (and written).
void copyElementRest(QXmlStreamReader &reader, QXmlStreamWriter &writer)
{
    for (int depth = 1; depth > 0 && !reader.atEnd();) {
        reader.readNext();
        if (reader.isStartElement())
            ++depth;
        else if (reader.isEndElement())
            --depth;
        copyToken(reader, writer);
    }
}

QString prefixOf(QStringView qualifiedName)
{
    const qsizetype colon = qualifiedName.indexOf(QLatin1Char(':'));
    return colon < 0 ? QString() : qualifiedName.left(colon + 1).toString();
}

} // namespace

XlsxSheetWriter::XlsxSheetWriter() = default;

XlsxSheetWriter::~XlsxSheetWriter()
{
    abandon();
}

QString XlsxSheetWriter::columnName(int column)
{
    QString name;
    for (; column > 0; column = (column - 1) / 26)
        name.prepend(QChar(u'A' + (column - 1) % 26));
    return name;
}

Error XlsxSheetWriter::fail(const QString &reason)
{
    abandon();
    return Error{reason};
}

void XlsxSheetWriter::abandon()
{
    m_writer.reset();
    m_xml = QString();
    m_reader.clear();
    if (m_templateSheet && m_templateSheet->isOpen())
        m_templateSheet->close();
    m_templateSheet.reset();
    if (m_template && m_template->isOpen())
        m_template->close();
    m_template.reset();
    if (m_outputSheet && m_outputSheet->isOpen())
        m_outputSheet->close();
    m_outputSheet.reset();
    if (m_output && m_output->isOpen())
        m_output->close();
    m_output.reset();
    if (!m_partialPath.isEmpty())
        QFile::remove(m_partialPath);
    m_partialPath.clear();
    m_open = false;
    m_dataEnded = false;
    m_pendingRow = 0;
    m_lastTemplateRow = 0;
    m_lastDataRow = 0;
    m_columnStyles.clear();
    setPrefix({});
}

void XlsxSheetWriter::setPrefix(const QString &prefix)
{
    m_prefix = prefix;
    m_rowName = prefix + QStringLiteral("row");
    m_cName = prefix + QStringLiteral("c");
    m_vName = prefix + QStringLiteral("v");
    m_isName = prefix + QStringLiteral("is");
    m_tName = prefix + QStringLiteral("t");
}

Result<void> XlsxSheetWriter::begin(const QString &templatePath, const QString &outputPath,
                                    const QList<int> &hiddenColumns, int lastRow, int lastColumn)
{
    abandon();
    m_templatePath = templatePath;
    m_outputPath = outputPath;
    m_template = std::make_unique<QuaZip>(templatePath);
    if (!m_template->open(QuaZip::mdUnzip))
        return fail(tr("The template \"%1\" is not an .xlsx workbook.").arg(native(templatePath)));
    const QString sheetPath = firstSheetPath(*m_template);
    if (sheetPath.isEmpty())
        return fail(tr("The first worksheet of the template \"%1\" cannot be found.")
                        .arg(native(templatePath)));

    const QFileInfo out(outputPath);
    m_partialPath = partialPathFor(outputPath);
    QFile::remove(m_partialPath);
    m_output = std::make_unique<QuaZip>(m_partialPath);
    if (!m_output->open(QuaZip::mdCreate))
        return fail(
            tr("Cannot create a file in the folder \"%1\".").arg(native(out.absolutePath())));
    if (Result<void> copied = copyOtherParts(sheetPath); !copied)
        return copied;

    m_templateSheet = std::make_unique<QuaZipFile>(m_template.get());
    if (!m_template->setCurrentFile(sheetPath) || !m_templateSheet->open(QIODevice::ReadOnly))
        return fail(tr("The first worksheet of the template \"%1\" cannot be read.")
                        .arg(native(templatePath)));
    m_outputSheet = std::make_unique<QuaZipFile>(m_output.get());
    if (!m_outputSheet->open(QIODevice::WriteOnly, newPackageEntry(sheetPath), nullptr, 0,
                             Z_DEFLATED, sheetCompression))
        return fail(writeFailed());

    // Writing into a string and converting it in large pieces costs far less
    // than handing every tag to a device.
    m_writer = std::make_unique<QXmlStreamWriter>(&m_xml);
    m_reader.setDevice(m_templateSheet.get());
    m_open = true;
    return copyHead(hiddenColumns, lastRow, lastColumn);
}

Result<void> XlsxSheetWriter::copyOtherParts(const QString &sheetPath)
{
    const QStringList names = m_template->getFileNameList();
    for (const QString &name : names) {
        if (name == sheetPath)
            continue;
        bool ok = false;
        const QByteArray bytes = readEntry(*m_template, name, &ok);
        if (!ok)
            return fail(tr("The part \"%1\" of the template \"%2\" cannot be read.")
                            .arg(name, native(m_templatePath)));
        QuaZipFile part(m_output.get());
        if (!part.open(QIODevice::WriteOnly, newPackageEntry(name)) ||
            part.write(bytes) != bytes.size())
            return fail(writeFailed());
        part.close();
        if (part.getZipError() != ZIP_OK)
            return fail(writeFailed());
    }
    return {};
}

Result<void> XlsxSheetWriter::copyHead(const QList<int> &hidden, int lastRow, int lastColumn)
{
    bool columnsDone = false;
    int depth = 0;
    while (!m_reader.atEnd()) {
        m_reader.readNext();
        if (m_reader.isStartElement() && depth == 1) {
            const QStringView name = m_reader.name();
            if (name == QLatin1String("dimension")) {
                m_writer->writeStartElement(m_reader.qualifiedName().toString());
                for (const QXmlStreamAttribute &a : m_reader.attributes())
                    m_writer->writeAttribute(a.qualifiedName().toString(),
                                             a.name() == QLatin1String("ref")
                                                 ? grownDimension(a.value(), lastRow, lastColumn)
                                                 : a.value().toString());
                m_reader.skipCurrentElement();
                m_writer->writeEndElement();
                continue;
            }
            if (name == QLatin1String("cols")) {
                QList<ColumnRun> runs;
                const QString colsName = m_reader.qualifiedName().toString();
                while (m_reader.readNextStartElement()) {
                    const QXmlStreamAttributes a = m_reader.attributes();
                    const int first = a.value(QLatin1String("min")).toInt();
                    const int last = a.value(QLatin1String("max")).toInt();
                    if (first >= 1 && last >= first && last <= 16384)
                        runs.append({first, last, a});
                    m_reader.skipCurrentElement();
                }
                setPrefix(prefixOf(colsName));
                writeColumns(runs, hidden);
                columnsDone = true;
                continue;
            }
            if (name == QLatin1String("sheetData")) {
                setPrefix(prefixOf(m_reader.qualifiedName()));
                if (!columnsDone && !hidden.isEmpty())
                    writeColumns({}, hidden);
                copyToken(m_reader, *m_writer);
                nextTemplateRow();
                if (m_reader.hasError())
                    return readerFailed();
                if (!flush(false))
                    return fail(writeFailed());
                return {};
            }
        }
        if (m_reader.isStartElement())
            ++depth;
        else if (m_reader.isEndElement())
            --depth;
        copyToken(m_reader, *m_writer);
    }
    if (m_reader.hasError())
        return readerFailed();
    return fail(tr("The first worksheet of the template \"%1\" has no data section.")
                    .arg(native(m_templatePath)));
}

void XlsxSheetWriter::writeColumns(const QList<ColumnRun> &runs, const QList<int> &hidden)
{
    int width = 0;
    for (const ColumnRun &r : runs)
        width = qMax(width, r.last);
    for (int c : hidden)
        width = qMax(width, c);
    // Per column: which template run covers it and whether it is hidden; runs
    // of equal columns are then written back as one element each.
    QList<int> owner(width + 1, -1);
    QList<bool> hide(width + 1, false);
    for (int i = 0; i < runs.size(); ++i)
        for (int c = runs[i].first; c <= runs[i].last; ++c)
            owner[c] = i;
    for (int c : hidden)
        if (c >= 1)
            hide[c] = true;

    m_columnStyles = QStringList(width, QString());
    if (width == 0)
        return; // an empty column list is not allowed
    m_writer->writeStartElement(m_prefix + QStringLiteral("cols"));
    for (int c = 1; c <= width;) {
        int end = c;
        while (end < width && owner[end + 1] == owner[c] && hide[end + 1] == hide[c])
            ++end;
        if (owner[c] >= 0 || hide[c]) {
            m_writer->writeEmptyElement(m_prefix + QStringLiteral("col"));
            m_writer->writeAttribute(QStringLiteral("min"), QString::number(c));
            m_writer->writeAttribute(QStringLiteral("max"), QString::number(end));
            bool hasWidth = false;
            if (owner[c] >= 0) {
                for (const QXmlStreamAttribute &a : runs[owner[c]].attributes) {
                    const QStringView n = a.qualifiedName();
                    if (n == QLatin1String("min") || n == QLatin1String("max") ||
                        (hide[c] && n == QLatin1String("hidden")))
                        continue;
                    hasWidth = hasWidth || n == QLatin1String("width");
                    if (n == QLatin1String("style"))
                        for (int k = c; k <= end; ++k)
                            m_columnStyles[k - 1] = a.value().toString();
                    m_writer->writeAttribute(n.toString(), a.value().toString());
                }
            }
            if (!hasWidth)
                m_writer->writeAttribute(QStringLiteral("width"), QStringLiteral("9.140625"));
            if (hide[c])
                m_writer->writeAttribute(QStringLiteral("hidden"), QStringLiteral("1"));
        }
        c = end + 1;
    }
    m_writer->writeEndElement();
}

QString XlsxSheetWriter::columnStyle(int column) const
{
    return column >= 1 && column <= m_columnStyles.size() ? m_columnStyles.at(column - 1)
                                                          : QString();
}

void XlsxSheetWriter::nextTemplateRow()
{
    m_pendingRow = 0;
    while (!m_reader.atEnd()) {
        m_reader.readNext();
        if (m_reader.isEndElement()) { // the end of the sheet data
            m_dataEnded = true;
            return;
        }
        if (!m_reader.isStartElement()) {
            copyToken(m_reader, *m_writer);
            continue;
        }
        if (m_reader.name() != QLatin1String("row")) {
            copyToken(m_reader, *m_writer);
            copyElementRest(m_reader, *m_writer);
            continue;
        }
        const int r = m_reader.attributes().value(QLatin1String("r")).toInt();
        const int row = r > 0 ? r : m_lastTemplateRow + 1;
        m_lastTemplateRow = row;
        if (row < firstDataRow) {
            copyToken(m_reader, *m_writer);
            copyElementRest(m_reader, *m_writer);
            continue;
        }
        m_pendingRow = row;
        m_pendingName = m_reader.qualifiedName().toString();
        m_pendingDeclarations = m_reader.namespaceDeclarations();
        m_pendingAttributes = m_reader.attributes();
        return;
    }
}

void XlsxSheetWriter::writePendingStart(const QString &rowText)
{
    m_writer->writeStartElement(m_pendingName);
    writeDeclarations(*m_writer, m_pendingDeclarations);
    for (const QXmlStreamAttribute &a : m_pendingAttributes) {
        const QStringView n = a.qualifiedName();
        if (n == QLatin1String("r") && !rowText.isEmpty())
            m_writer->writeAttribute(QStringLiteral("r"), rowText);
        else if (n != QLatin1String("spans") || rowText.isEmpty())
            m_writer->writeAttribute(n.toString(), a.value().toString());
    }
}

void XlsxSheetWriter::copyTemplateRow()
{
    writePendingStart({});
    copyElementRest(m_reader, *m_writer);
    nextTemplateRow();
}

void XlsxSheetWriter::mergeTemplateRow(const QStringList &cells, const QString &rowText)
{
    // The spans hint would no longer fit the merged cells, so it is dropped.
    writePendingStart(rowText);
    if (!m_pendingAttributes.hasAttribute(QLatin1String("r")))
        m_writer->writeAttribute(QStringLiteral("r"), rowText);
    const QStringView custom = m_pendingAttributes.value(QLatin1String("customFormat"));
    const QString rowStyle = (custom == QLatin1String("1") || custom == QLatin1String("true"))
                                 ? m_pendingAttributes.value(QLatin1String("s")).toString()
                                 : QString();
    auto styleFor = [&](int column) { return rowStyle.isEmpty() ? columnStyle(column) : rowStyle; };

    int next = 0; // index of the next data cell
    int lastColumn = 0;
    while (!m_reader.atEnd()) {
        m_reader.readNext();
        if (m_reader.isEndElement())
            break;
        if (!m_reader.isStartElement() || m_reader.name() != QLatin1String("c")) {
            copyToken(m_reader, *m_writer);
            if (m_reader.isStartElement())
                copyElementRest(m_reader, *m_writer);
            continue;
        }
        const int c = columnOfReference(m_reader.attributes().value(QLatin1String("r")));
        const int column = c > 0 ? c : lastColumn + 1;
        lastColumn = column;
        for (; next < cells.size() && next + 1 < column; ++next)
            writeCell(next + 1, rowText, cells.at(next), styleFor(next + 1), false);
        if (next < cells.size() && next + 1 == column) {
            const QString own = m_reader.attributes().value(QLatin1String("s")).toString();
            writeCell(column, rowText, cells.at(next), own.isEmpty() ? styleFor(column) : own,
                      true);
            ++next;
            m_reader.skipCurrentElement();
        } else {
            copyToken(m_reader, *m_writer);
            copyElementRest(m_reader, *m_writer);
        }
    }
    for (; next < cells.size(); ++next)
        writeCell(next + 1, rowText, cells.at(next), styleFor(next + 1), false);
    m_writer->writeEndElement();
    nextTemplateRow();
}

void XlsxSheetWriter::writeCell(int column, const QString &rowText, const QString &text,
                                const QString &style, bool keepEmpty)
{
    if (text.isEmpty() && !keepEmpty)
        return;
    while (m_columnNames.size() < column)
        m_columnNames.append(columnName(int(m_columnNames.size()) + 1));
    m_writer->writeStartElement(m_cName);
    m_writer->writeAttribute(QStringLiteral("r"), m_columnNames.at(column - 1) + rowText);
    if (!style.isEmpty())
        m_writer->writeAttribute(QStringLiteral("s"), style);
    if (text.isEmpty()) {
        m_writer->writeEndElement();
        return;
    }
    if (PlainNumber::matches(text)) {
        m_writer->writeTextElement(m_vName, text.trimmed());
    } else {
        m_writer->writeAttribute(QStringLiteral("t"), QStringLiteral("inlineStr"));
        m_writer->writeStartElement(m_isName);
        m_writer->writeStartElement(m_tName);
        if (text.front().isSpace() || text.back().isSpace())
            m_writer->writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
        m_writer->writeCharacters(xmlSafe(text));
        m_writer->writeEndElement();
        m_writer->writeEndElement();
    }
    m_writer->writeEndElement();
}

Result<void> XlsxSheetWriter::writeRow(int row, const QStringList &cells)
{
    if (!m_open)
        return fail(tr("The workbook is not open."));
    if (row < firstDataRow || row <= m_lastDataRow)
        return fail(tr("Row %1 is out of order.").arg(row));
    m_lastDataRow = row;
    while (!m_dataEnded && m_pendingRow > 0 && m_pendingRow < row)
        copyTemplateRow();
    const QString rowText = QString::number(row);
    if (!m_dataEnded && m_pendingRow == row) {
        mergeTemplateRow(cells, rowText);
    } else {
        m_writer->writeStartElement(m_rowName);
        m_writer->writeAttribute(QStringLiteral("r"), rowText);
        for (int i = 0; i < cells.size(); ++i)
            writeCell(i + 1, rowText, cells.at(i), columnStyle(i + 1), false);
        m_writer->writeEndElement();
    }
    if (m_reader.hasError())
        return readerFailed();
    if (!flush(false))
        return fail(writeFailed());
    return {};
}

Result<void> XlsxSheetWriter::finish()
{
    if (!m_open)
        return fail(tr("The workbook is not open."));
    while (!m_dataEnded && m_pendingRow > 0)
        copyTemplateRow();
    m_writer->writeEndElement(); // the sheet data
    while (!m_reader.atEnd()) {
        m_reader.readNext();
        copyToken(m_reader, *m_writer);
    }
    if (m_reader.hasError())
        return readerFailed();
    if (!flush(true))
        return fail(writeFailed());
    m_writer.reset();
    m_outputSheet->close();
    const bool sheetOk = m_outputSheet->getZipError() == ZIP_OK;
    m_templateSheet->close();
    m_template->close();
    m_output->close();
    if (!sheetOk || m_output->getZipError() != ZIP_OK)
        return fail(writeFailed());

    if (const Result<void> moved = movePartialIntoPlace(m_partialPath, m_outputPath); !moved)
        return fail(tr("The workbook \"%1\" cannot be replaced: %2")
                        .arg(native(m_outputPath), moved.error().message));
    m_partialPath.clear();
    abandon();
    return {};
}

bool XlsxSheetWriter::flush(bool force)
{
    if (!force && m_xml.size() < flushSize)
        return true;
    const QByteArray data = m_xml.toUtf8();
    const bool ok = m_outputSheet->write(data) == data.size();
    m_xml.resize(0);
    return ok && m_outputSheet->getZipError() == ZIP_OK;
}

QString XlsxSheetWriter::writeFailed() const
{
    return tr("The workbook \"%1\" cannot be written.").arg(native(m_outputPath));
}

Error XlsxSheetWriter::readerFailed()
{
    return fail(tr("The first worksheet of the template \"%1\" is damaged: %2")
                    .arg(native(m_templatePath), m_reader.errorString()));
}
