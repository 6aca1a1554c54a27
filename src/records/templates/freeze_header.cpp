// Freezes the header row of a workbook template made by LibreOffice, whose
// headless conversion drops the view settings.
#include "spreadsheet/XlsWorkbook.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: xls-freeze-header FILE.xls\n";
        return 2;
    }
    if (const Result<void> frozen = XlsWorkbook::freezeFirstRow(QString::fromLocal8Bit(argv[1]));
        !frozen) {
        QTextStream(stderr) << frozen.error().message << '\n';
        return 1;
    }
    return 0;
}
