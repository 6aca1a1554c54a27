#pragma once

// Reads exported workbooks back with independent readers (openpyxl,
// LibreOffice), so the tests check files the way users' programs see them.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace WorkbookReaders {

inline const QString python = QStringLiteral("/usr/bin/python3");

// Runs a Python script with `args`; returns its JSON output. `skip` is set
// when the reader is not installed, `error` when it failed on the file.
inline QJsonObject runPython(const char *script, const QStringList &args, QString *skip,
                             QString *error)
{
    if (!QFile::exists(python)) {
        *skip = QStringLiteral("no /usr/bin/python3");
        return {};
    }
    QProcess p;
    p.start(python, QStringList{QStringLiteral("-c"), QString::fromUtf8(script)} + args);
    if (!p.waitForFinished(120000) || p.exitCode() != 0) {
        *error = QString::fromUtf8(p.readAllStandardError());
        return {};
    }
    const QJsonObject o = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    if (o.contains(QStringLiteral("skip")))
        *skip = o.value(QStringLiteral("skip")).toString();
    return o;
}

// The first sheet of an .xlsx: values per row, hidden columns (expanded from
// their ranges), frozen cell, sheet names, and the look of a few cells.
inline QJsonObject readXlsx(const QString &path, QString *skip, QString *error)
{
    static const char *script = R"(
import json, sys
try:
    import openpyxl
except ImportError:
    print(json.dumps({"skip": "python3-openpyxl missing"})); sys.exit(0)
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb.worksheets[0]
rows = [[c.value for c in r] for r in ws.iter_rows(min_row=1, max_row=ws.max_row, max_col=ws.max_column)]
hidden = sorted({c for d in ws.column_dimensions.values() if d.hidden
                 for c in range(d.min or 0, (d.max or 0) + 1)})
def look(r, c):
    cell = ws.cell(r, c)
    return {"bold": bool(cell.font.b), "italic": bool(cell.font.i),
            "fill": str(cell.fill.fgColor.rgb) if cell.fill.fill_type else ""}
looks = {f"{r},{c}": look(r, c) for r in (1, 2, 3) for c in (1, 2, 12, 60)}
print(json.dumps({"rows": rows, "hidden": hidden, "freeze": ws.freeze_panes,
                  "sheets": wb.sheetnames, "looks": looks,
                  "width1": ws.column_dimensions["A"].width}, default=str))
)";
    return runPython(script, {path}, skip, error);
}

// The first sheet of an .xls: values per row, sheet count, and whether the
// header cell's formatting (bold, fill) survived.
inline QJsonObject readXls(const QString &path, QString *skip, QString *error)
{
    static const char *script = R"(
import json, sys
try:
    import xlrd
except ImportError:
    print(json.dumps({"skip": "python3-xlrd missing"})); sys.exit(0)
b = xlrd.open_workbook(sys.argv[1], formatting_info=True)
s = b.sheet_by_index(0)
rows = [[s.cell_value(r, c) for c in range(s.ncols)] for r in range(s.nrows)]
xf = b.xf_list[s.cell_xf_index(0, 0)]
print(json.dumps({"rows": rows, "sheets": b.nsheets, "bold": b.font_list[xf.font_index].weight >= 700,
                  "fill": xf.background.pattern_colour_index}))
)";
    return runPython(script, {path}, skip, error);
}

// LibreOffice's CSV of the first sheet, or "" with `skip` set when LibreOffice
// is not installed.
inline QString libreOfficeCsv(const QString &path, const QString &outDir, QString *skip,
                              QString *error)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) {
        *skip = QStringLiteral("LibreOffice (soffice) is not installed");
        return {};
    }
    QProcess p;
    // Its own profile, so that a LibreOffice the user has open does not
    // swallow the conversion.
    p.start(soffice, {QStringLiteral("-env:UserInstallation=file://") + outDir +
                          QStringLiteral("/lo-profile"),
                      QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                      QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76"),
                      QStringLiteral("--outdir"), outDir, path});
    if (!p.waitForFinished(180000) || p.exitCode() != 0) {
        *error = QString::fromUtf8(p.readAllStandardError());
        return {};
    }
    QFile csv(QDir(outDir).filePath(QFileInfo(path).completeBaseName() + QStringLiteral(".csv")));
    if (!csv.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("no CSV: ") + QString::fromUtf8(p.readAllStandardError());
        return {};
    }
    return QString::fromUtf8(csv.readAll());
}

// Rows of a CSV text with quoted fields (which may hold line breaks).
inline QList<QStringList> parseCsv(const QString &csv)
{
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < csv.size(); ++i) {
        const QChar c = csv.at(i);
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < csv.size() && csv.at(i + 1) == QLatin1Char('"'))
                field += csv.at(++i);
            else if (c == QLatin1Char('"'))
                quoted = false;
            else
                field += c;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            row << field;
            field.clear();
        } else if (c == QLatin1Char('\n')) {
            row << field;
            rows << row;
            row.clear();
            field.clear();
        } else if (c != QLatin1Char('\r')) {
            field += c;
        }
    }
    if (!field.isEmpty() || !row.isEmpty())
        rows << (row << field);
    return rows;
}

} // namespace WorkbookReaders
