#include "cli/HistoryFile.h"

#include "records/DataLocations.h"
#include "records/StoredRecordText.h"
#include "records/StoredRecords.h"
#include "records/XlsWorkbook.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

bool HistoryFile::write(const QString &path, const QStringList &rows, QString *error)
{
    if (QFileInfo(path).suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0) {
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            *error = tr("Cannot write \"%1\": %2").arg(native(path), file.errorString());
            return false;
        }
        QString text = csvLine(csvHeader()) + QStringLiteral("\r\n");
        for (const QString &row : rows)
            text += csvLine(fieldsOf(row)) + QStringLiteral("\r\n");
        file.write(text.toUtf8());
        if (!file.commit()) {
            *error = tr("Cannot write \"%1\": %2").arg(native(path), file.errorString());
            return false;
        }
        return true;
    }

    const QString templatePath = DataLocations::findTemplate(StoredRecords::templateName(), error);
    if (templatePath.isEmpty())
        return false;
    const QString partial = path + QStringLiteral(".part");
    QFile::remove(partial);
    if (!QFile::copy(templatePath, partial)) {
        *error = tr("Cannot write \"%1\".").arg(native(partial));
        return false;
    }
    QFile::setPermissions(partial, QFile::permissions(partial) | QFile::WriteOwner);
    QList<QStringList> cells;
    for (const QString &row : rows)
        cells << fieldsOf(row);
    if (!XlsWorkbook::writeRows(partial, 1, cells, {}, error)) {
        QFile::remove(partial);
        return false;
    }
    // Replaces an older file in one step, so it is never lost half-way.
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(path).constData()) !=
        0) {
        QFile::remove(partial);
        *error = tr("Cannot write \"%1\".").arg(native(path));
        return false;
    }
    return true;
}
