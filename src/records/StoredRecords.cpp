#include "records/StoredRecords.h"

#include "records/DataLocations.h"
#include "records/OutputFiles.h"
#include "records/StoredForm.h"
#include "records/StoredRecordText.h"
#include "records/XlsWorkbook.h"
#include "responses/FieldDecoding.h"
#include "shell/Core.h"
#include "shell/UserPrompt.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}
} // namespace

StoredRecords::StoredRecords(Core &core) : m_core(core), m_writer(&XlsWorkbook::writeRows)
{
    showOutputFolder();
}

void StoredRecords::showOutputFolder()
{
    m_core.state.stored.setText(StoredField::outputFolder,
                                native(DataLocations::outputFolder(topFolder())));
}

void StoredRecords::openFolder()
{
    showOutputFolder();
    QString error;
    if (!OutputFiles::openFolder(topFolder(), m_opener, &error))
        m_core.state.prompt.message(error, {}, UserPrompt::Icon::Warning);
}

QString StoredRecords::templateName()
{
    return QStringLiteral("Storage Data Template.xls");
}
QString StoredRecords::topFolder()
{
    return QStringLiteral("Store data");
}

QStringList StoredRecords::gridRows() const
{
    return m_core.state.storedRows.mid(qMin(m_gridFirstRow, m_core.state.storedRowCount()));
}

void StoredRecords::resetGrid()
{
    m_gridFirstRow = m_core.state.storedRowCount();
    ++m_gridGeneration;
    m_core.state.notifyStoredRowsChanged();
}

void StoredRecords::requestCount()
{
    AppState &s = m_core.state;
    s.fetchAllRecords = false;
    s.stored.setText(StoredField::count, QString());
    s.currentCommand = 160;
    m_core.requests.buildRequest();
}

void StoredRecords::getData()
{
    AppState &s = m_core.state;
    if (!m_core.link.portOpen()) {
        resetGrid();
        s.prompt.message(LinkController::openPortFirstText());
        return;
    }
    s.fetchAllRecords = true;
    s.stored.setText(StoredField::count, QString());
    s.currentCommand = 160;
    s.storedRows.clear();
    resetGrid();
    m_core.requests.buildRequest();
}

void StoredRecords::handleCount()
{
    AppState &s = m_core.state;
    const int count = frameWord(s.rxFrame, StoredRecordText::countAt);
    s.stored.setText(StoredField::count, QString::number(count));
    if (!s.fetchAllRecords) {
        s.currentCommand = 16;
        s.prompt.message(QStringLiteral("读取历史数据数量成功"));
        return;
    }
    if (count == 0) {
        // Nothing to read: index -1 does not exist.
        finishReading();
        return;
    }
    s.currentCommand = 161;
    s.recordIndex = count - 1;
    m_core.requests.buildRequest();
}

void StoredRecords::handleRecord()
{
    AppState &s = m_core.state;
    s.currentCommand = 161;
    // Decoded whole before anything changes: a frame too short for the record
    // throws and leaves the rows as they were.
    const QString line = StoredRecordText::rowText(StoredRecordText::columns(s.rxFrame));
    const int number = frameWord(s.rxFrame, StoredRecordText::recordNumberAt);
    s.storedRows.append(line);
    s.notifyStoredRowsChanged();
    // The BMS numbers its oldest records 0 and 1; the answer to index 0 is
    // the last there is, whatever number it carries.
    if (number < 2 || s.recordIndex <= 0) {
        finishReading();
        return;
    }
    --s.recordIndex;
    m_core.requests.buildRequest();
}

void StoredRecords::finishReading()
{
    AppState &s = m_core.state;
    s.recordIndex = 0;
    s.currentCommand = 16;
    s.prompt.message(tr("Read Complete"));
}

void StoredRecords::exportRows()
{
    AppState &s = m_core.state;
    auto refuse = [&s](const QString &text) {
        s.prompt.message(text, {}, UserPrompt::Icon::Warning);
    };
    QString error;
    const QString templatePath = DataLocations::findTemplate(templateName(), &error);
    if (templatePath.isEmpty())
        return refuse(error);
    showOutputFolder();
    const QDateTime moment = OutputFiles::now();
    const QString folder = OutputFiles::dayFolder(topFolder(), moment.date(), &error);
    if (folder.isEmpty())
        return refuse(error);
    const QString path = OutputFiles::freePath(
        folder, OutputFiles::stampName(moment) + QStringLiteral("-FLA"), QStringLiteral(".xls"));
    if (!QFile::copy(templatePath, path))
        return refuse(tr("Cannot copy the template to \"%1\".").arg(native(path)));
    // A copy keeps the template's read-only flag; the workbook must be writable.
    QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner);

    QList<QStringList> rows;
    rows.reserve(s.storedRowCount());
    for (const QString &line : std::as_const(s.storedRows))
        rows.append(line.split(QLatin1Char('\t')));
    const qint64 total = rows.size();
    auto progress = [&s, total](int done) {
        s.stored.setText(StoredField::exportProgress,
                         QString::number(total > 0 ? done * 100 / total : 100) + QLatin1Char('%'));
    };
    // With no rows the copy of the template is the export.
    if (!rows.isEmpty() && !m_writer(path, 1, rows, progress, &error)) {
        QFile::remove(path);
        return refuse(tr("The export failed.") + QLatin1Char('\n') + error);
    }
    s.prompt.message(tr("Export succeeded") + QLatin1Char('\n') + native(path));
}
