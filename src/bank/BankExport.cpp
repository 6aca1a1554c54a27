#include "bank/BankExport.h"

#include "bank/BankRecording.h"

#include <QDir>
#include <QTimer>

namespace {
constexpr int linesPerSlice = 2000;

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}
} // namespace

BankExport::BankExport(QObject *parent) : QObject(parent) {}

QString BankExport::workbookPathFor(const QString &recordingPath)
{
    if (!recordingPath.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        return {};
    return recordingPath.left(recordingPath.size() - 4) + QStringLiteral(".xlsx");
}

QString BankExport::sheetTitle(int address)
{
    return QCoreApplication::translate("BankExport", "Address %1").arg(address);
}

bool BankExport::readLine(QString *line, bool *atEnd)
{
    *atEnd = m_file.atEnd();
    if (*atEnd)
        return true;
    QByteArray raw = m_file.readLine();
    if (raw.isEmpty() && !m_file.atEnd())
        return false;
    while (raw.endsWith('\n') || raw.endsWith('\r'))
        raw.chop(1);
    *line = QString::fromUtf8(raw);
    return true;
}

bool BankExport::rewind()
{
    return m_file.seek(m_dataStart);
}

Result<void> BankExport::start(const QString &recordingPath, const QString &workbookPath)
{
    if (isRunning())
        return Error{tr("An export is already running.")};
    m_file.setFileName(recordingPath);
    if (!m_file.open(QIODevice::ReadOnly))
        return Error{tr("Cannot read the bank recording \"%1\": %2")
                         .arg(native(recordingPath), m_file.errorString())};
    QByteArray head = m_file.readLine();
    if (head.startsWith("\xEF\xBB\xBF"))
        head.remove(0, 3);
    while (head.endsWith('\n') || head.endsWith('\r'))
        head.chop(1);
    m_header = BankRecording::parseCsvLine(QString::fromUtf8(head));
    if (head.isEmpty() || m_header.size() <= BankRecording::addressColumn) {
        m_file.close();
        return Error{tr("\"%1\" is not a bank recording.").arg(native(recordingPath))};
    }
    m_dataStart = m_file.pos();
    m_workbookPath = workbookPath;
    m_addresses.clear();
    m_sheet = 0;
    m_percent = -1;
    m_error.clear();
    m_failed = false;
    m_phase = Phase::Scan;
    return {};
}

void BankExport::runInBackground()
{
    QTimer::singleShot(0, this, [this] {
        if (slice())
            runInBackground();
    });
}

Result<void> BankExport::runToEnd()
{
    while (slice()) {
    }
    if (m_failed)
        return Error{m_error};
    return {};
}

bool BankExport::stop(bool ok, const QString &error)
{
    m_phase = Phase::Idle;
    m_file.close();
    if (!ok)
        m_writer.abandon();
    m_error = ok ? QString() : error;
    m_failed = !ok;
    emit finished(ok);
    return false;
}

bool BankExport::slice()
{
    if (m_phase == Phase::Idle)
        return false;
    Result<void> written;
    for (int n = 0; n < linesPerSlice; ++n) {
        QString line;
        bool atEnd = false;
        if (!readLine(&line, &atEnd))
            return stop(false, tr("Cannot read the bank recording \"%1\": %2")
                                   .arg(native(m_file.fileName()), m_file.errorString()));
        if (atEnd) {
            if (m_phase == Phase::Scan) {
                if (m_addresses.isEmpty())
                    return stop(false, tr("The bank recording \"%1\" holds no lines yet.")
                                           .arg(native(m_file.fileName())));
                if (!(written = m_writer.begin(m_workbookPath)) ||
                    !(written = m_writer.beginSheet(sheetTitle(m_addresses[0]))) ||
                    !(written = m_writer.writeRow(m_header)))
                    return stop(false, written.error().message);
                m_phase = Phase::Write;
            } else {
                if (!(written = m_writer.endSheet()))
                    return stop(false, written.error().message);
                if (++m_sheet == m_addresses.size()) {
                    if (!(written = m_writer.finish()))
                        return stop(false, written.error().message);
                    emit progress(100);
                    return stop(true);
                }
                if (!(written = m_writer.beginSheet(sheetTitle(m_addresses[m_sheet]))) ||
                    !(written = m_writer.writeRow(m_header)))
                    return stop(false, written.error().message);
            }
            if (!rewind())
                return stop(false, tr("Cannot read the bank recording \"%1\": %2")
                                       .arg(native(m_file.fileName()), m_file.errorString()));
            break;
        }
        if (line.isEmpty())
            continue;
        const QStringList fields = BankRecording::parseCsvLine(line);
        bool ok = false;
        const int address = fields.value(BankRecording::addressColumn).toInt(&ok);
        if (!ok)
            continue;
        if (m_phase == Phase::Scan) {
            if (!m_addresses.contains(address))
                m_addresses << address;
        } else if (address == m_addresses[m_sheet] && !(written = m_writer.writeRow(fields))) {
            return stop(false, written.error().message);
        }
    }
    // Progress over the passes: the scan and one per sheet.
    const qint64 size = std::max<qint64>(1, m_file.size());
    const int passes = int(m_addresses.size()) + 1;
    const int pass = m_phase == Phase::Scan ? 0 : m_sheet + 1;
    const int percent = int((pass * 100 + m_file.pos() * 100 / size) / passes);
    if (percent != m_percent && percent < 100) {
        m_percent = percent;
        emit progress(percent);
    }
    return true;
}
