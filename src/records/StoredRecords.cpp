#include "records/StoredRecords.h"

#include "base/ChineseOnlyText.h"
#include "base/UserPrompt.h"
#include "link/CommandCode.h"
#include "link/LinkController.h"
#include "records/DataLocations.h"
#include "records/OutputFiles.h"
#include "records/StoredForm.h"
#include "records/StoredRecordText.h"
#include "requests/RequestBuilder.h"
#include "responses/FieldDecoding.h"
#include "spreadsheet/XlsWorkbook.h"
#include "state/AppState.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

namespace {
constexpr int readTickMs = 1000;
// A slice of the export ends after this long or this many steps (of at most
// 32 rows or a few megabytes each), whichever comes first.
constexpr int exportSliceMs = 10;
constexpr int exportSliceSteps = 64;

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

qint64 steadyMs()
{
    static const QElapsedTimer clock = [] {
        QElapsedTimer c;
        c.start();
        return c;
    }();
    return clock.elapsed();
}
} // namespace

StoredRecords::StoredRecords(AppState &state, LinkController &link, RequestBuilder &requests)
    : m_state(state), m_link(link), m_requests(requests), m_clock(&steadyMs)
{
    m_readTimer.setInterval(readTickMs);
    QObject::connect(&m_readTimer, &QTimer::timeout, [this] { readTick(); });
    m_exportTimer.setInterval(0);
    QObject::connect(&m_exportTimer, &QTimer::timeout, [this] { exportSlice(); });
    showOutputFolder();
}

void StoredRecords::showOutputFolder()
{
    m_state.stored.setText(StoredField::outputFolder,
                           native(DataLocations::outputFolder(topFolder())));
}

void StoredRecords::openFolder()
{
    showOutputFolder();
    if (const Result<void> opened = OutputFiles::openFolder(topFolder(), m_opener); !opened)
        m_state.prompt.message(opened.error().message, {}, UserPrompt::Icon::Warning);
}

StoredRecords::~StoredRecords()
{
    if (m_export.isRunning()) {
        m_export.abandon();
        QFile::remove(m_exportPath);
    }
}

void StoredRecords::setClock(std::function<qint64()> clock)
{
    m_clock = clock ? std::move(clock) : std::function<qint64()>(&steadyMs);
}

QString StoredRecords::duration(qint64 ms)
{
    const qint64 seconds = qMax<qint64>(0, ms) / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
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
    return m_state.storedRows.mid(qMin(m_gridFirstRow, m_state.storedRowCount()));
}

void StoredRecords::resetGrid()
{
    m_gridFirstRow = m_state.storedRowCount();
    ++m_gridGeneration;
    m_state.notifyStoredRowsChanged();
}

void StoredRecords::requestCount()
{
    AppState &s = m_state;
    // Asking for the count alone ends a read-out: no record follows it.
    if (isReading())
        endReadOut(ReadOut::Idle);
    else
        m_readOut = ReadOut::Idle;
    s.fetchAllRecords = false;
    s.stored.setText(StoredField::count, QString());
    s.currentCommand = CommandCode::storedCount;
    m_requests.buildRequest();
}

void StoredRecords::getData()
{
    AppState &s = m_state;
    if (!m_link.portOpen()) {
        resetGrid();
        s.prompt.message(LinkController::openPortFirstText());
        return;
    }
    s.fetchAllRecords = true;
    s.stored.setText(StoredField::count, QString());
    s.currentCommand = CommandCode::storedCount;
    s.storedRows.clear();
    resetGrid();
    startReadOut();
    m_requests.buildRequest();
}

void StoredRecords::startReadOut()
{
    AppState &s = m_state;
    m_readOut = ReadOut::Counting;
    m_total = -1;
    m_quietTicks = 0;
    m_startMs = m_lastMs = m_clock();
    s.stored.setText(StoredField::readCount, QString());
    s.stored.setValue(StoredField::readBar, 0);
    s.stored.setText(StoredField::readTime, QString());
    s.stored.setEnabled(StoredField::stopButton, true);
    m_readTimer.start();
}

// Leaves the read-out in `next` (Idle or Stopped) with its last figures shown.
void StoredRecords::endReadOut(ReadOut next)
{
    const bool wasRunning = isReading();
    m_readOut = next;
    m_readTimer.stop();
    m_state.stored.setEnabled(StoredField::stopButton, false);
    if (wasRunning || next == ReadOut::Stopped)
        showReadProgress();
}

void StoredRecords::stopReading()
{
    if (!isReading())
        return;
    // Nothing more goes out, and the request in flight is not repeated.
    m_state.currentCommand = CommandCode::pause;
    m_lastMs = m_clock();
    endReadOut(ReadOut::Stopped);
}

void StoredRecords::readTick()
{
    if (!isReading()) {
        m_readTimer.stop();
        return;
    }
    // A tab switch changes the code only until the answer in flight puts the
    // read-out's code back; a code that stays away for a whole tick means the
    // link gave up (and said so), and a closed port ends the read-out too.
    const quint8 cc = m_state.currentCommand;
    const bool ours = cc == CommandCode::storedCount || cc == CommandCode::storedRecord;
    m_quietTicks = ours ? 0 : m_quietTicks + 1;
    m_lastMs = m_clock();
    if (!m_link.portOpen() || m_quietTicks >= 2) {
        endReadOut(ReadOut::Idle);
        return;
    }
    showReadProgress();
}

// "i / N", the bar, and the time: while reading, the time taken and the time
// still needed at the rate so far; afterwards the time it took.
void StoredRecords::showReadProgress()
{
    Form &f = m_state.stored;
    const int done = m_state.storedRowCount();
    const bool counted = m_total >= 0;
    const int total = qMax(m_total, done);
    if (counted) {
        f.setText(StoredField::readCount, QStringLiteral("%1 / %2").arg(done).arg(total));
        f.setValue(StoredField::readBar, total > 0 ? int(qint64(done) * 100 / total) : 0);
    }
    const qint64 elapsed = m_lastMs - m_startMs;
    QString time;
    switch (m_readOut) {
    case ReadOut::Counting:
    case ReadOut::Reading:
        time = done > 0 && counted
                   ? tr("Elapsed %1, about %2 left")
                         .arg(duration(elapsed), duration(elapsed * (total - done) / done))
                   : tr("Elapsed %1").arg(duration(elapsed));
        break;
    case ReadOut::Stopped:
        time = tr("Stopped after %1").arg(duration(elapsed));
        break;
    case ReadOut::Idle:
        time = counted && done >= total ? tr("Read in %1").arg(duration(elapsed))
                                        : tr("Ended after %1").arg(duration(elapsed));
        break;
    }
    f.setText(StoredField::readTime, time);
}

void StoredRecords::handleCount()
{
    AppState &s = m_state;
    const int count = frameWord(s.rxFrame, StoredRecordText::countAt);
    s.stored.setText(StoredField::count, QString::number(count));
    if (!s.fetchAllRecords) {
        s.currentCommand = CommandCode::pause;
        s.prompt.message(chineseOnly(ChineseOnlyText::storedCountRead));
        return;
    }
    m_total = count;
    if (m_readOut == ReadOut::Stopped) {
        // Stopped while counting: the count is shown, no record is asked for.
        s.currentCommand = CommandCode::pause;
        showReadProgress();
        return;
    }
    if (count == 0) {
        // Nothing to read: index -1 does not exist.
        finishReading();
        return;
    }
    s.currentCommand = CommandCode::storedRecord;
    s.recordIndex = count - 1;
    m_readOut = ReadOut::Reading;
    m_lastMs = m_clock();
    showReadProgress();
    m_requests.buildRequest();
}

void StoredRecords::handleRecord()
{
    AppState &s = m_state;
    s.currentCommand = CommandCode::storedRecord;
    // Decoded whole before anything changes: a frame too short for the record
    // throws and leaves the rows as they were.
    const QString line = StoredRecordText::rowText(StoredRecordText::columns(s.rxFrame));
    const int number = frameWord(s.rxFrame, StoredRecordText::recordNumberAt);
    s.storedRows.append(line);
    s.notifyStoredRowsChanged();
    m_quietTicks = 0;
    if (m_readOut == ReadOut::Stopped) {
        // The record that was in flight when "Stop" was pressed: kept, and
        // nothing more is asked for until the next "get data".
        s.currentCommand = CommandCode::pause;
        showReadProgress();
        return;
    }
    m_lastMs = m_clock();
    // The BMS numbers its oldest records 0 and 1; the answer to index 0 is
    // the last there is, whatever number it carries.
    if (number < 2 || s.recordIndex <= 0) {
        finishReading();
        return;
    }
    if (m_readOut != ReadOut::Reading && m_total >= 0) {
        // A late answer took up a read-out the link had given up.
        m_readOut = ReadOut::Reading;
        s.stored.setEnabled(StoredField::stopButton, true);
        m_readTimer.start();
    }
    showReadProgress();
    --s.recordIndex;
    // Each record's request gets its own six sends; the repeats of a long
    // read-out must not add up to "Send failed".
    m_link.countAnew();
    m_requests.buildRequest();
}

void StoredRecords::finishReading()
{
    AppState &s = m_state;
    s.recordIndex = 0;
    s.currentCommand = CommandCode::pause;
    m_lastMs = m_clock();
    endReadOut(ReadOut::Idle);
    s.prompt.message(tr("Read Complete"));
}

void StoredRecords::exportRows()
{
    AppState &s = m_state;
    if (m_export.isRunning())
        return; // the button is disabled meanwhile
    auto refuse = [&s](const QString &text) {
        s.prompt.message(text, {}, UserPrompt::Icon::Warning);
    };
    const Result<QString> templatePath = DataLocations::findTemplate(templateName());
    if (!templatePath)
        return refuse(templatePath.error().message);
    showOutputFolder();
    const QDateTime moment = OutputFiles::now();
    const Result<QString> folder = OutputFiles::dayFolder(topFolder(), moment.date());
    if (!folder)
        return refuse(folder.error().message);
    const QString path = OutputFiles::freePath(
        *folder, OutputFiles::stampName(moment) + QStringLiteral("-FLA"), QStringLiteral(".xls"));
    if (!QFile::copy(*templatePath, path))
        return refuse(tr("Cannot copy the template to \"%1\".").arg(native(path)));
    // A copy keeps the template's read-only flag; the workbook must be writable.
    QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner);

    // With no rows the copy of the template is the export.
    if (s.storedRows.isEmpty()) {
        s.prompt.message(tr("Export succeeded") + QLatin1Char('\n') + native(path));
        return;
    }
    // The rows as they are now: a read-out started meanwhile does not change
    // what this export writes.
    m_exportLines = s.storedRows;
    if (const Result<void> begun =
            m_export.begin(path, 1, int(m_exportLines.size()),
                           [this](int i) { return m_exportLines.at(i).split(QLatin1Char('\t')); });
        !begun) {
        m_exportLines.clear();
        QFile::remove(path);
        return refuse(tr("The export failed.") + QLatin1Char('\n') + begun.error().message);
    }
    m_exportPath = path;
    s.stored.setText(StoredField::exportProgress, QStringLiteral("0%"));
    s.stored.setEnabled(StoredField::exportButton, false);
    m_exportTimer.start();
}

void StoredRecords::exportSlice()
{
    if (!m_export.isRunning()) {
        m_exportTimer.stop();
        return;
    }
    QElapsedTimer clock;
    clock.start();
    bool more = true;
    for (int n = 0; more && n < exportSliceSteps && clock.elapsed() < exportSliceMs; ++n)
        more = m_export.step();
    const qint64 total = m_export.rowCount();
    m_state.stored.setText(StoredField::exportProgress,
                           QString::number(total > 0 ? m_export.rowsDone() * 100 / total : 100) +
                               QLatin1Char('%'));
    if (!more)
        finishExport();
}

void StoredRecords::finishExport()
{
    AppState &s = m_state;
    m_exportTimer.stop();
    m_exportLines.clear();
    s.stored.setEnabled(StoredField::exportButton, true);
    if (!m_export.succeeded()) {
        QFile::remove(m_exportPath);
        s.prompt.message(tr("The export failed.") + QLatin1Char('\n') + m_export.errorString(), {},
                         UserPrompt::Icon::Warning);
        return;
    }
    s.prompt.message(tr("Export succeeded") + QLatin1Char('\n') + native(m_exportPath));
}
