#include "records/RecordingConversion.h"

#include "records/RecordingLine.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>

namespace {

constexpr int hiddenIdentityColumns[] = {5, 6, 7, 21}; // hardware ver, project, serial, ambient
constexpr int firstCellColumn = RecordingLine::firstCellField + 1;
constexpr int firstSensorColumn = RecordingLine::firstTemperatureField + 1;
constexpr int sliceMilliseconds = 30;

QStringList fieldsOf(const QString &line)
{
    QStringList pieces = line.split(RecordingLine::separator);
    // Every field ends with a separator, so the last piece is the empty rest;
    // a line cut short keeps its unfinished last field.
    if (!pieces.isEmpty() && pieces.constLast().isEmpty())
        pieces.removeLast();
    return pieces;
}
} // namespace

RecordingConversion::RecordingConversion(QObject *parent) : QObject(parent) {}

QString RecordingConversion::workbookPathFor(const QString &recordingPath)
{
    const qsizetype at = recordingPath.indexOf(QLatin1String(".txt"));
    return at < 0 ? QString() : recordingPath.left(at) + QStringLiteral(".xlsx");
}

int RecordingConversion::countFrom(const QString &field, int limit)
{
    bool ok = false;
    const double value = field.trimmed().toDouble(&ok);
    return ok && value > 1 && value <= limit ? int(value) : 1;
}

QList<int> RecordingConversion::hiddenColumns(int cells, int sensors)
{
    QList<int> columns(std::begin(hiddenIdentityColumns), std::end(hiddenIdentityColumns));
    for (int c = firstCellColumn + cells; c < firstCellColumn + 32; ++c)
        columns.append(c);
    for (int c = firstSensorColumn + sensors; c < firstSensorColumn + 12; ++c)
        columns.append(c);
    return columns;
}

Result<void> RecordingConversion::start(const QString &recordingPath, const QString &templatePath,
                                        const QString &workbookPath)
{
    cancel();
    m_file.setFileName(recordingPath);
    if (!m_file.open(QIODevice::ReadOnly))
        return Error{tr("Cannot read the recording \"%1\": %2")
                         .arg(QDir::toNativeSeparators(recordingPath), m_file.errorString())};
    m_templatePath = templatePath;
    m_workbookPath = workbookPath;
    m_decoder = QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    m_utf8 = true;
    m_triedGb18030 = false;
    m_lines = m_widest = m_linesRead = m_linesWritten = 0;
    m_cells = m_sensors = 1;
    m_percent = -1;
    m_error.clear();
    m_failed = false;
    m_phase = Phase::Scan;
    return {};
}

void RecordingConversion::cancel()
{
    m_writer.abandon();
    if (m_file.isOpen())
        m_file.close();
    m_phase = Phase::Idle;
}

void RecordingConversion::runInBackground()
{
    scheduleNext();
}

void RecordingConversion::scheduleNext()
{
    QTimer::singleShot(0, this, [this] {
        if (m_phase != Phase::Idle && slice())
            scheduleNext();
    });
}

Result<void> RecordingConversion::runToEnd()
{
    while (slice()) {
    }
    if (m_failed)
        return Error{m_error};
    return {};
}

QString RecordingConversion::decode(const QByteArray &raw, bool *invalid)
{
    QByteArrayView bytes(raw);
    if (bytes.endsWith('\n'))
        bytes.chop(1);
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    QString text = m_decoder.decode(bytes);
    *invalid = m_decoder.hasError();
    if (*invalid)
        m_decoder.resetState();
    return text;
}

bool RecordingConversion::readFailed()
{
    return stop(false, tr("Cannot read the recording \"%1\": %2")
                           .arg(QDir::toNativeSeparators(m_file.fileName()), m_file.errorString()));
}

bool RecordingConversion::endOfFile()
{
    if (m_phase == Phase::Write) {
        if (const Result<void> finished = m_writer.finish(); !finished)
            return stop(false, finished.error().message);
        return stop(true);
    }
    if (!m_utf8 && !m_triedGb18030) {
        // Not UTF-8: read it again as GB18030 to find the counts.
        m_triedGb18030 = true;
        m_decoder = QStringDecoder("GB18030", QStringConverter::Flag::Stateless);
        if (!m_decoder.isValid())
            return stop(false, tr("The recording is neither UTF-8 nor GB18030 text."));
        m_lines = m_widest = 0;
        m_cells = m_sensors = 1;
        return m_file.seek(0) || readFailed();
    }
    if (const Result<void> begun =
            m_writer.begin(m_templatePath, m_workbookPath, hiddenColumns(m_cells, m_sensors),
                           m_lines + 1, qMax(m_widest, RecordingLine::fieldCount));
        !begun)
        return stop(false, begun.error().message);
    m_phase = Phase::Write;
    return m_file.seek(0) || readFailed();
}

bool RecordingConversion::slice()
{
    if (m_phase == Phase::Idle)
        return false;
    QElapsedTimer clock;
    clock.start();
    for (int n = 1;; ++n) {
        if (n % 64 == 0 && clock.elapsed() >= sliceMilliseconds)
            return true;
        // Only the end of the file gives an empty line: every other holds at
        // least its line end or one character.
        const QByteArray raw = m_file.readLine();
        if (raw.isEmpty()) {
            if (m_file.error() != QFileDevice::NoError)
                return readFailed();
            if (!endOfFile())
                return false;
            continue;
        }
        bool invalid = false;
        const QString line = decode(raw, &invalid);
        if (m_phase == Phase::Write) {
            if (!writeLine(line))
                return false;
            continue;
        }
        ++m_lines;
        if (invalid && !m_triedGb18030)
            m_utf8 = false;
        if (m_utf8 || m_triedGb18030)
            scanLine(line);
    }
}

void RecordingConversion::scanLine(const QString &line)
{
    const QStringList fields = fieldsOf(line);
    m_widest = qMax(m_widest, int(fields.size()));
    if (fields.size() > RecordingLine::sensorCountField) {
        m_cells = countFrom(fields.at(RecordingLine::cellCountField), 32);
        m_sensors = countFrom(fields.at(RecordingLine::sensorCountField), 12);
    }
}

bool RecordingConversion::writeLine(const QString &line)
{
    ++m_linesRead;
    const QStringList fields = fieldsOf(line);
    if (!fields.isEmpty()) {
        if (const Result<void> written = m_writer.writeRow(m_linesRead + 1, fields); !written)
            return stop(false, written.error().message);
    }
    m_linesWritten = m_linesRead;
    const int percent = m_lines > 0 ? qMin(100, int(qint64(m_linesRead) * 100 / m_lines)) : 100;
    if (percent != m_percent) {
        m_percent = percent;
        emit progress(percent);
    }
    return true;
}

bool RecordingConversion::stop(bool ok, const QString &error)
{
    if (!ok)
        m_error = error;
    m_failed = !ok;
    m_writer.abandon();
    m_file.close();
    m_phase = Phase::Idle;
    emit finished(ok);
    return false;
}
