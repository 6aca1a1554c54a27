#pragma once

#include "base/Result.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <memory>

class QuaZip;
class QuaZipFile;

// Writes rows into the first worksheet of a copy of an .xlsx template, one row
// at a time, so that a recording of any length passes through in constant
// memory. Everything else of the template is copied as it is: other parts
// (styles, shared strings, other sheets) byte for byte, and the sheet's own
// markup (header rows, frozen panes, column widths and styles, prefixes and
// extensions) token for token. Written cells take the style of the cell, row
// or column they land in, as a spreadsheet program would give them.
//
// The workbook is built under a temporary name beside the output and only
// replaces it in finish(), so a failure never leaves half a workbook behind
// nor destroys an older one.
class XlsxSheetWriter {
    Q_DECLARE_TR_FUNCTIONS(XlsxSheetWriter)

public:
    XlsxSheetWriter();
    ~XlsxSheetWriter(); // abandons an unfinished workbook
    XlsxSheetWriter(const XlsxSheetWriter &) = delete;
    XlsxSheetWriter &operator=(const XlsxSheetWriter &) = delete;

    // `hiddenColumns` are 1-based; `lastRow`/`lastColumn` bound the data
    // (for the sheet's dimension). Copies the template up to the sheet's data.
    Result<void> begin(const QString &templatePath, const QString &outputPath,
                       const QList<int> &hiddenColumns, int lastRow, int lastColumn);
    // Rows in increasing order, each above the template's header rows;
    // cells[0] goes to column 1. Empty texts leave their cells empty; texts
    // that PlainNumber matches become numbers.
    Result<void> writeRow(int row, const QStringList &cells);
    Result<void> finish();
    void abandon();

    static QString columnName(int column); // 1 -> A, 27 -> AA

private:
    struct ColumnRun {
        int first = 0;
        int last = 0;
        QXmlStreamAttributes attributes;
    };

    // Abandons the workbook; the failure to return.
    Error fail(const QString &reason);
    Result<void> copyOtherParts(const QString &sheetPath);
    Result<void> copyHead(const QList<int> &hidden, int lastRow, int lastColumn);
    void writeColumns(const QList<ColumnRun> &runs, const QList<int> &hidden);
    void setPrefix(const QString &prefix);
    void nextTemplateRow();
    void writePendingStart(const QString &rowText);
    void copyTemplateRow();
    void mergeTemplateRow(const QStringList &cells, const QString &rowText);
    void writeCell(int column, const QString &rowText, const QString &text, const QString &style,
                   bool keepEmpty);
    QString columnStyle(int column) const;
    bool flush(bool force);
    Error readerFailed();
    QString writeFailed() const;

    std::unique_ptr<QuaZip> m_template;
    std::unique_ptr<QuaZipFile> m_templateSheet;
    std::unique_ptr<QuaZip> m_output;
    std::unique_ptr<QuaZipFile> m_outputSheet;
    QXmlStreamReader m_reader;
    QString m_xml; // written, not yet handed to the archive
    std::unique_ptr<QXmlStreamWriter> m_writer;
    QString m_templatePath;
    QString m_outputPath;
    QString m_partialPath;
    QStringList m_columnStyles; // index column - 1; "" = none
    QStringList m_columnNames;
    // Element names in the sheet's own prefix for its main namespace.
    QString m_rowName, m_cName, m_vName, m_isName, m_tName, m_prefix;
    // The template row whose start tag was read last and not yet written.
    int m_pendingRow = 0; // 0: none; the sheet data ended when m_dataEnded
    QString m_pendingName;
    QXmlStreamNamespaceDeclarations m_pendingDeclarations;
    QXmlStreamAttributes m_pendingAttributes;
    int m_lastTemplateRow = 0;
    int m_lastDataRow = 0;
    bool m_dataEnded = false;
    bool m_open = false;
};
