// Converts a generated day of live recording (86,400 lines of 95 fields, one
// per second) into a workbook and reports the wall time and the peak memory
// of the process. Usage: convert_bench [LINES]
#include "records/RecordingConversion.h"
#include "records/RecordingLine.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/resource.h>

namespace {
long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A plausible 16-cell, 4-sensor pack whose values wander a little.
QString line(int n, const QDateTime &at, QRandomGenerator &random)
{
    QStringList f;
    f << QString::number(n).rightJustified(6, QLatin1Char(' '))
      << at.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    f << QStringLiteral("BMS-16S") << QStringLiteral("V1.6") << QStringLiteral("H2.0")
      << QStringLiteral("P100") << QStringLiteral("SN20240507001") << QStringLiteral("custom")
      << QStringLiteral("1") << QStringLiteral("16") << QStringLiteral("4");
    for (int i = 0; i < 37; ++i)
        f << QString::number(random.bounded(10000) / 100.0);
    f << QStringLiteral("Cell_OV Total_OV ") << QString() << QStringLiteral("充电MOS失效 ");
    for (int c = 0; c < 32; ++c)
        f << (c < 16 ? RecordingLine::cellVolts(QString::number(3200 + random.bounded(200)))
                     : QStringLiteral("null"));
    for (int t = 0; t < 12; ++t)
        f << (t < 4 ? QString::number(20 + random.bounded(100) / 10.0) : QStringLiteral("null"));
    return f.join(RecordingLine::separator) + RecordingLine::separator;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const int lines = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 86400;
    QTemporaryDir dir;
    const QString recording = dir.filePath(QStringLiteral("2024-05-07 00.00.00.txt"));
    const QString workbook = RecordingConversion::workbookPathFor(recording);
    {
        QFile file(recording);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        QStringEncoder utf8(QStringConverter::Utf8);
        QRandomGenerator random(7);
        const QDateTime start(QDate(2024, 5, 7), QTime(0, 0));
        for (int n = 1; n <= lines; ++n)
            file.write(utf8.encode(line(n, start.addSecs(n - 1), random) + QStringLiteral("\r\n")));
    }
    const long beforeKb = peakKilobytes();
    out << "recording: " << lines << " lines, " << QFileInfo(recording).size() / 1e6 << " MB\n";

    QElapsedTimer clock;
    clock.start();
    RecordingConversion conversion;
    const QString templatePath =
        QStringLiteral(CELLVANE_SOURCE_DIR "/src/records/templates/Real time data template.xlsx");
    Result<void> converted = conversion.start(recording, templatePath, workbook);
    if (converted)
        converted = conversion.runToEnd();
    if (!converted) {
        out << "failed: " << converted.error().message << '\n';
        return 1;
    }
    const double seconds = clock.elapsed() / 1000.0;
    out << "converted " << conversion.linesWritten() << " lines in " << seconds << " s ("
        << conversion.linesWritten() / seconds << " lines/s)\n";
    out << "workbook: " << QFileInfo(workbook).size() / 1e6 << " MB\n";
    out << "peak memory: " << peakKilobytes() / 1024.0 << " MB (" << beforeKb / 1024.0
        << " MB before converting)\n";
    if (argc > 2)
        QFile::copy(workbook, QString::fromLocal8Bit(argv[2]));
    return 0;
}
