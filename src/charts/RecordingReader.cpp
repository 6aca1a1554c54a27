#include "charts/RecordingReader.h"

#include "charts/ChartStore.h"
#include "records/RecordingLine.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>

#include <cmath>

namespace {
constexpr int sliceMilliseconds = 20;
constexpr int timeField = 1;

std::optional<qint64> timeOf(const QString &field)
{
    // "yyyy-mm-dd", a space, then the time right-aligned in 8 characters.
    const QString text = field.trimmed();
    const qsizetype space = text.indexOf(QLatin1Char(' '));
    if (space < 0)
        return std::nullopt;
    const QDate date = QDate::fromString(text.left(space), QStringLiteral("yyyy-MM-dd"));
    const QString clock = text.mid(space + 1).trimmed();
    QTime time = QTime::fromString(clock, QStringLiteral("hh:mm:ss"));
    if (!time.isValid())
        time = QTime::fromString(clock, QStringLiteral("h:mm:ss"));
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time).toMSecsSinceEpoch();
}
} // namespace

RecordingReader::RecordingReader(QObject *parent) : QObject(parent) {}

std::optional<RecordingReader::Line> RecordingReader::parseLine(const QString &text)
{
    const QStringList fields = text.split(RecordingLine::separator);
    if (fields.size() <= timeField)
        return std::nullopt;
    const std::optional<qint64> time = timeOf(fields.at(timeField));
    if (!time)
        return std::nullopt;
    Line line;
    line.time = *time;
    for (int id = 0; id < ChartSeries::Count; ++id) {
        const int f = ChartSeries::recordingField(id);
        if (f < fields.size())
            line.sample.values[std::size_t(id)] =
                ChartSample::number(fields.at(f)) * ChartSeries::info(id).factor;
    }
    // Cells are written in volts; the bars work in millivolts.
    for (int i = 0; i < 32; ++i) {
        const int f = RecordingLine::firstCellField + i;
        const double volts = f < fields.size() ? ChartSample::number(fields.at(f)) : NAN;
        if (std::isnan(volts))
            break;
        line.sample.cells.millivolts.append(int(std::lround(volts * 1000.0)));
        line.sample.cells.balancing.append(false);
    }
    return line;
}

Result<void> RecordingReader::start(const QString &path, ChartStore &store, int address)
{
    cancel();
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::ReadOnly))
        return Error{tr("Cannot read the recording \"%1\": %2")
                         .arg(QDir::toNativeSeparators(path), m_file.errorString())};
    m_store = &store;
    m_address = address;
    m_utf8 = QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    m_gb18030 = QStringDecoder("GB18030", QStringConverter::Flag::Stateless);
    m_lines = m_samples = m_skipped = 0;
    m_first = m_last = 0;
    m_percent = -1;
    m_error.clear();
    return {};
}

void RecordingReader::cancel()
{
    if (m_file.isOpen())
        m_file.close();
}

void RecordingReader::runInBackground()
{
    QTimer::singleShot(0, this, [this] {
        if (isRunning() && slice())
            runInBackground();
    });
}

bool RecordingReader::runToEnd()
{
    while (slice()) {
    }
    return m_error.isEmpty();
}

bool RecordingReader::slice()
{
    if (!m_file.isOpen())
        return false;
    QElapsedTimer clock;
    clock.start();
    for (int n = 1;; ++n) {
        if (n % 128 == 0 && clock.elapsed() >= sliceMilliseconds)
            break;
        const QByteArray raw = m_file.readLine();
        if (raw.isEmpty()) {
            if (m_file.error() != QFileDevice::NoError)
                return stop(false, tr("Cannot read the recording \"%1\": %2")
                                       .arg(QDir::toNativeSeparators(m_file.fileName()),
                                            m_file.errorString()));
            return stop(true);
        }
        take(raw);
    }
    const qint64 size = m_file.size();
    const int percent = size > 0 ? int(m_file.pos() * 100 / size) : 100;
    if (percent != m_percent) {
        m_percent = percent;
        emit progress(percent);
    }
    return true;
}

void RecordingReader::take(const QByteArray &raw)
{
    QByteArrayView bytes(raw);
    while (bytes.endsWith('\n') || bytes.endsWith('\r'))
        bytes.chop(1);
    if (raw.trimmed().isEmpty())
        return;
    ++m_lines;
    QString text = m_utf8.decode(bytes);
    if (m_utf8.hasError()) {
        m_utf8.resetState();
        if (m_gb18030.isValid()) {
            text = m_gb18030.decode(bytes);
            m_gb18030.resetState();
        }
    }
    const std::optional<Line> line = parseLine(text);
    if (!line || !m_store->addSample(m_address, line->time, line->sample)) {
        ++m_skipped;
        return;
    }
    ++m_samples;
    if (m_first == 0)
        m_first = line->time;
    m_last = line->time;
}

bool RecordingReader::stop(bool ok, const QString &error)
{
    m_error = ok ? QString() : error;
    m_file.close();
    emit finished(ok);
    return false;
}
