#pragma once

#include "base/Result.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <memory>

class QuaZip;
class QuaZipFile;

// Writes a new workbook of several worksheets without a template: one sheet
// after the other, row by row, so a long recording passes through in constant
// memory. The first row of each sheet is its header (bold, frozen). Numbers
// that a spreadsheet shows back unchanged are written as numbers, everything
// else as text (PlainNumber).
//
// As with XlsxSheetWriter, the workbook is built under a temporary name beside
// the output and replaces it only in finish(): a failure leaves no half
// workbook and no older one destroyed.
class XlsxBookWriter {
    Q_DECLARE_TR_FUNCTIONS(XlsxBookWriter)

public:
    XlsxBookWriter();
    ~XlsxBookWriter(); // abandons an unfinished workbook
    XlsxBookWriter(const XlsxBookWriter &) = delete;
    XlsxBookWriter &operator=(const XlsxBookWriter &) = delete;

    // Every failure abandons the workbook.
    Result<void> begin(const QString &outputPath);
    // Sheet names are cut to 31 characters and lose the characters a sheet
    // name may not hold.
    Result<void> beginSheet(const QString &name);
    Result<void> writeRow(const QStringList &cells);
    Result<void> endSheet();
    Result<void> finish();
    void abandon();

    static QString sheetName(const QString &name);

private:
    Error fail(const QString &reason); // abandons; the failure to return
    bool writeEntry(const QString &name, const QByteArray &bytes);
    bool flush(bool force);

    std::unique_ptr<QuaZip> m_zip;
    std::unique_ptr<QuaZipFile> m_sheet;
    QString m_outputPath;
    QString m_partialPath;
    QStringList m_sheetNames;
    QString m_xml;
    int m_row = 0;
};
