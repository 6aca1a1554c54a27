#include "bank/BankRecording.h"

#include "bank/BankTableModel.h"
#include "records/OutputFiles.h"
#include "records/Recorder.h"

#include <QDir>

namespace {
using V = BankPack::Value;
// The values of a line, in the order of the header after the time stamp,
// address and battery ID.
const V lineValues[] = {V::TotalVoltage,
                        V::Current,
                        V::Soc,
                        V::Soh,
                        V::MaxCellVoltage,
                        V::MaxCellNo,
                        V::MinCellVoltage,
                        V::MinCellNo,
                        V::CellDifference,
                        V::MaxTemperature,
                        V::MinTemperature};
} // namespace

BankRecording::~BankRecording()
{
    stop();
}

QStringList BankRecording::header()
{
    return {tr("Time"),
            tr("Address"),
            tr("Battery ID"),
            tr("Total voltage (V)"),
            tr("Current (A)"),
            tr("SOC (%)"),
            tr("SOH (%)"),
            tr("Max cell voltage (V)"),
            tr("Max cell No."),
            tr("Min cell voltage (V)"),
            tr("Min cell No."),
            tr("Cell difference (V)"),
            tr("Max temperature (℃)"),
            tr("Min temperature (℃)"),
            tr("MOS"),
            tr("Alarm / protection / fault"),
            tr("State")};
}

QStringList BankRecording::fields(const BankPack &pack, bool fresh, const QDateTime &moment)
{
    QStringList f{moment.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")),
                  QString::number(pack.address), pack.batteryId};
    for (V v : lineValues)
        f << (fresh ? pack.text(v) : QString());
    f << (fresh ? pack.mosText() : QString()) << (fresh ? pack.conditionSummary() : QString());
    f << BankTableModel::cellText(pack, BankTableModel::State, 0);
    return f;
}

QString BankRecording::csvLine(const QStringList &fields)
{
    QStringList out;
    for (const QString &f : fields) {
        if (f.contains(QLatin1Char(',')) || f.contains(QLatin1Char('"')) ||
            f.contains(QLatin1Char('\n')) || f.contains(QLatin1Char('\r'))) {
            QString quoted = f;
            quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
            out << QLatin1Char('"') + quoted + QLatin1Char('"');
        } else {
            out << f;
        }
    }
    return out.join(QLatin1Char(','));
}

QStringList BankRecording::parseCsvLine(const QString &line)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < line.size() && line[i + 1] == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field;
    return fields;
}

Result<void> BankRecording::start(const QDateTime &moment)
{
    stop();
    const Result<QString> folder = OutputFiles::dayFolder(Recorder::topFolder(), moment.date());
    if (!folder)
        return folder.error();
    m_path = OutputFiles::freePath(
        *folder, QStringLiteral("bank ") + OutputFiles::stampName(moment), QStringLiteral(".csv"));
    m_file.setFileName(m_path);
    m_lines = 0;
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return Error{tr("Cannot create the bank recording \"%1\": %2")
                         .arg(QDir::toNativeSeparators(m_path), m_file.errorString())};
    const QByteArray bom("\xEF\xBB\xBF");
    if (m_file.write(bom) != bom.size()) {
        const Error failed = writeFailed();
        m_file.close();
        return failed;
    }
    if (Result<void> written = writeLine(header()); !written)
        return written;
    m_lines = 0; // the header is not a recorded line
    return {};
}

Error BankRecording::writeFailed() const
{
    return Error{tr("Cannot write to the bank recording \"%1\": %2")
                     .arg(QDir::toNativeSeparators(m_path), m_file.errorString())};
}

Result<void> BankRecording::writeLine(const QStringList &fields)
{
    const QByteArray bytes = (csvLine(fields) + QStringLiteral("\r\n")).toUtf8();
    if (m_file.write(bytes) != bytes.size() || !m_file.flush()) {
        const Error failed = writeFailed();
        m_file.close();
        return failed;
    }
    ++m_lines;
    return {};
}

Result<void> BankRecording::writeSweep(const QList<BankPack> &packs, qint64 sweepStartMs,
                                       const QDateTime &moment)
{
    if (!m_file.isOpen())
        return Error{tr("The bank recording is not open.")};
    for (const BankPack &p : packs) {
        const bool fresh = p.hasLive && p.online && p.updatedMs >= sweepStartMs;
        if (Result<void> written = writeLine(fields(p, fresh, moment)); !written)
            return written;
    }
    return {};
}

void BankRecording::stop()
{
    if (m_file.isOpen())
        m_file.close();
}
