#pragma once

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

    bool begin(const QString &outputPath, QString *error);
    // Sheet names are cut to 31 characters and lose the characters a sheet
    // name may not hold.
    bool beginSheet(const QString &name, QString *error);
    bool writeRow(const QStringList &cells, QString *error);
    bool endSheet(QString *error);
    bool finish(QString *error);
    void abandon();

    static QString sheetName(const QString &name);

private:
    bool fail(const QString &reason, QString *error);
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
