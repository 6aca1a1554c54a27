#include "spreadsheet/XlsWorkbook.h"

#include "spreadsheet/CompoundFile.h"
#include "spreadsheet/PlainNumber.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#ifdef Q_OS_LINUX
#include <unistd.h>
#endif
#include <utility>

namespace {

// Record types of the BIFF8 workbook stream that matter here.
enum : quint16 {
    rBof = 0x0809,
    rEof = 0x000A,
    rBoundSheet = 0x0085,
    rSst = 0x00FC,
    rExtSst = 0x00FF,
    rContinue = 0x003C,
    rIndex = 0x020B,
    rDbCell = 0x00D7,
    rDimensions = 0x0200,
    rRow = 0x0208,
    rColInfo = 0x007D,
    rLabelSst = 0x00FD,
    rLabel = 0x0204,
    rNumber = 0x0203,
    rRk = 0x027E,
    rBlank = 0x0201,
    rMulRk = 0x00BD,
    rMulBlank = 0x00BE,
    rFormula = 0x0006,
    rString = 0x0207,
    rBoolErr = 0x0205,
    rRString = 0x00D6,
    rShrFmla = 0x04BC,
    rArray = 0x0221,
    rTable = 0x0236,
};
constexpr int maxRecordData = 8224;
// Not a record type: a block of records already in their on-disk form, so
// that tens of thousands of new cells cost one buffer, not one each.
constexpr quint16 rawBlock = 0xFFFF;
constexpr int maxRows = 65536;
constexpr int maxColumns = 256;
constexpr quint16 defaultXf = 15;

struct Record {
    quint16 type = 0;
    QByteArray data;
};

quint16 u16(const QByteArray &b, qsizetype at)
{
    return qFromLittleEndian<quint16>(reinterpret_cast<const uchar *>(b.constData()) + at);
}
quint32 u32(const QByteArray &b, qsizetype at)
{
    return qFromLittleEndian<quint32>(reinterpret_cast<const uchar *>(b.constData()) + at);
}
void add16(QByteArray &b, quint16 v)
{
    char c[2];
    qToLittleEndian(v, c);
    b.append(c, 2);
}
void add32(QByteArray &b, quint32 v)
{
    char c[4];
    qToLittleEndian(v, c);
    b.append(c, 4);
}
void put32(QByteArray &b, qsizetype at, quint32 v)
{
    qToLittleEndian<quint32>(v, reinterpret_cast<uchar *>(b.data()) + at);
}

bool isCellRecord(quint16 t)
{
    switch (t) {
    case rLabelSst:
    case rLabel:
    case rNumber:
    case rRk:
    case rBlank:
    case rMulRk:
    case rMulBlank:
    case rFormula:
    case rBoolErr:
    case rRString:
        return true;
    default:
        return false;
    }
}

bool isCellTableRecord(quint16 t)
{
    return isCellRecord(t) || t == rRow || t == rDbCell || t == rString || t == rShrFmla ||
           t == rArray || t == rTable;
}

// One string of the shared string table, kept with its formatting runs and
// phonetic block so that the template's own strings survive unchanged.
struct SharedString {
    QString text;
    bool wide = false;
    QByteArray runs; // 4 bytes per run
    QByteArray ext;  // phonetic block
};

// Reads the shared string table across its continuation records. A string's
// characters may break at a record boundary, where a new option byte says
// whether the rest is 8 or 16 bits per character.
class SstReader {
public:
    explicit SstReader(const QList<QByteArray> &parts) : m_parts(parts) {}

    bool read(quint32 *total, QList<SharedString> *out)
    {
        if (!need(8))
            return false;
        *total = take32();
        const quint32 unique = take32();
        out->reserve(int(std::min<quint32>(unique, 1u << 20)));
        for (quint32 i = 0; i < unique; ++i) {
            SharedString s;
            if (!need(3))
                return false;
            const quint16 cch = take16();
            quint8 flags = take8();
            quint16 runCount = 0;
            qint32 extSize = 0;
            if (flags & 0x08) {
                if (!need(2))
                    return false;
                runCount = take16();
            }
            if (flags & 0x04) {
                if (!need(4))
                    return false;
                extSize = qint32(take32());
            }
            if (extSize < 0)
                return false;
            bool wide = flags & 0x01;
            s.wide = wide;
            for (int c = 0; c < cch; ++c) {
                if (atPartEnd()) {
                    if (!nextPart() || !need(1))
                        return false;
                    wide = take8() & 0x01;
                    s.wide = s.wide || wide;
                }
                if (wide) {
                    if (!need(2))
                        return false;
                    s.text.append(QChar(take16()));
                } else {
                    if (!need(1))
                        return false;
                    s.text.append(QChar(take8()));
                }
            }
            if (!takeBytes(qsizetype(runCount) * 4, &s.runs) || !takeBytes(extSize, &s.ext))
                return false;
            out->append(s);
        }
        return true;
    }

private:
    bool atPartEnd() const { return m_pos >= m_parts.at(m_part).size(); }
    bool nextPart()
    {
        if (m_part + 1 >= m_parts.size())
            return false;
        ++m_part;
        m_pos = 0;
        return true;
    }
    // Fixed-size fields never straddle a boundary; skip to the next record
    // when the current one is used up.
    bool need(qsizetype n)
    {
        if (atPartEnd() && !nextPart())
            return false;
        return m_pos + n <= m_parts.at(m_part).size();
    }
    quint8 take8() { return quint8(m_parts.at(m_part).at(m_pos++)); }
    quint16 take16()
    {
        const quint16 v = u16(m_parts.at(m_part), m_pos);
        m_pos += 2;
        return v;
    }
    quint32 take32()
    {
        const quint32 v = u32(m_parts.at(m_part), m_pos);
        m_pos += 4;
        return v;
    }
    bool takeBytes(qsizetype n, QByteArray *out)
    {
        while (n > 0) {
            if (atPartEnd() && !nextPart())
                return false;
            const QByteArray &p = m_parts.at(m_part);
            const qsizetype k = std::min(n, p.size() - m_pos);
            out->append(p.mid(m_pos, k));
            m_pos += k;
            n -= k;
        }
        return true;
    }

    const QList<QByteArray> &m_parts;
    int m_part = 0;
    qsizetype m_pos = 0;
};

// Writes the shared string table as SST + CONTINUE records, breaking strings
// the way readers expect, and notes where every eighth string starts for the
// EXTSST index.
class SstWriter {
public:
    SstWriter(qsizetype streamOffset, int bucket) : m_offset(streamOffset), m_bucket(bucket) {}

    // The table's header; the strings follow one by one, in order.
    void begin(quint32 total, quint32 unique)
    {
        m_records.append(Record{rSst, {}});
        add32(cur(), total);
        add32(cur(), unique);
    }

    void add(int i, const SharedString &s)
    {
        {
            const bool wide = s.wide || std::any_of(s.text.cbegin(), s.text.cend(),
                                                    [](QChar c) { return c.unicode() > 0xFF; });
            int header = 3 + (s.runs.isEmpty() ? 0 : 2) + (s.ext.isEmpty() ? 0 : 4);
            // The header and the first character stay together.
            if (room() < header + (wide ? 2 : 1))
                startContinue();
            if (i % m_bucket == 0) {
                m_index.append({quint32(m_offset + recordStart() + 4 + cur().size()),
                                quint16(4 + cur().size())});
            }
            add16(cur(), quint16(s.text.size()));
            quint8 flags =
                (wide ? 0x01 : 0) | (s.ext.isEmpty() ? 0 : 0x04) | (s.runs.isEmpty() ? 0 : 0x08);
            cur().append(char(flags));
            if (!s.runs.isEmpty())
                add16(cur(), quint16(s.runs.size() / 4));
            if (!s.ext.isEmpty())
                add32(cur(), quint32(s.ext.size()));
            const int charSize = wide ? 2 : 1;
            for (QChar c : s.text) {
                if (room() < charSize) {
                    startContinue();
                    cur().append(char(wide ? 0x01 : 0x00));
                }
                if (wide)
                    add16(cur(), c.unicode());
                else
                    cur().append(char(c.unicode()));
            }
            appendSplit(s.runs, 4);
            appendSplit(s.ext, 1);
        }
    }

    const QList<Record> &records() const { return m_records; }

    Record extSst() const
    {
        Record r{rExtSst, {}};
        add16(r.data, quint16(m_bucket));
        for (const auto &[pos, inRecord] : m_index) {
            add32(r.data, pos);
            add16(r.data, inRecord);
            add16(r.data, 0);
        }
        return r;
    }

private:
    QByteArray &cur() { return m_records.last().data; }
    int room() { return maxRecordData - int(cur().size()); }
    qsizetype recordStart() const
    {
        qsizetype at = 0;
        for (int i = 0; i + 1 < m_records.size(); ++i)
            at += 4 + m_records.at(i).data.size();
        return at;
    }
    void startContinue() { m_records.append(Record{rContinue, {}}); }
    void appendSplit(const QByteArray &bytes, int unit)
    {
        qsizetype at = 0;
        while (at < bytes.size()) {
            int fit = room() / unit * unit;
            if (fit == 0) {
                startContinue();
                continue;
            }
            const qsizetype k = std::min<qsizetype>(fit, bytes.size() - at);
            cur().append(bytes.mid(at, k));
            at += k;
        }
    }

    qsizetype m_offset;
    int m_bucket;
    QList<Record> m_records;
    QList<std::pair<quint32, quint16>> m_index;
};

bool parseRecords(const QByteArray &stream, QList<Record> *out)
{
    qsizetype at = 0;
    while (at + 4 <= stream.size()) {
        const quint16 type = u16(stream, at);
        const quint16 len = u16(stream, at + 2);
        if (at + 4 + len > stream.size())
            return false;
        out->append({type, stream.mid(at + 4, len)});
        at += 4 + len;
    }
    return true;
}

// The records in their on-disk form, as pieces to be joined: blocks already
// in that form are shared rather than copied.
void serializeInto(const QList<Record> &records, QList<QByteArray> *pieces)
{
    QByteArray run;
    for (const Record &r : records) {
        if (r.type == rawBlock) {
            if (!run.isEmpty())
                pieces->append(std::exchange(run, QByteArray()));
            pieces->append(r.data);
            continue;
        }
        add16(run, r.type);
        add16(run, quint16(r.data.size()));
        run.append(r.data);
    }
    if (!run.isEmpty())
        pieces->append(run);
}

qsizetype serializedSize(const QList<Record> &records)
{
    qsizetype size = 0;
    for (const Record &r : records)
        size += (r.type == rawBlock ? 0 : 4) + r.data.size();
    return size;
}

void addRecord(QByteArray &block, quint16 type, const QByteArray &data)
{
    add16(block, type);
    add16(block, quint16(data.size()));
    block.append(data);
}

// Plain numbers (see PlainNumber) are stored as numbers; anything else (dates,
// names, codes with leading zeros) as text.
bool asNumber(const QString &text, double *value)
{
    if (!PlainNumber::matches(text))
        return false;
    bool ok = false;
    *value = QStringView(text).trimmed().toDouble(&ok);
    return ok;
}

int cellRow(const Record &r)
{
    return r.data.size() >= 2 ? u16(r.data, 0) : -1;
}

} // namespace

namespace {

// A workbook loaded for editing: the compound file, the workbook stream split
// into its substreams (globals first, then one per sheet), and which substream
// is the first worksheet.
struct Book {
    struct Substream {
        qsizetype offset = 0; // in the stream as read
        QList<Record> records;
    };
    CompoundFile file;
    CompoundFile::Entry *stream = nullptr;
    QList<Substream> subs;
    int firstSheet = -1;

    Result<void> load(const QString &path)
    {
        QFile in(path);
        if (!in.open(QIODevice::ReadOnly))
            return Error{in.errorString()};
        if (Result<void> read = file.read(in.readAll()); !read)
            return read;
        stream = file.stream(QStringLiteral("Workbook"));
        if (!stream)
            return Error{QCoreApplication::translate(
                "XlsWorkbook", "not an Excel 97-2003 workbook (no Workbook stream)")};
        QList<Record> records;
        if (!parseRecords(stream->data, &records) || records.isEmpty() ||
            records.first().type != rBof)
            return Error{QCoreApplication::translate("XlsWorkbook", "damaged workbook stream")};
        qsizetype at = 0;
        int depth = 0;
        for (const Record &r : records) {
            if (r.type == rBof && depth == 0)
                subs.append(Substream{at, {}});
            if (subs.isEmpty())
                return Error{QCoreApplication::translate("XlsWorkbook", "damaged workbook stream")};
            subs.last().records.append(r);
            if (r.type == rBof)
                ++depth;
            else if (r.type == rEof && depth > 0)
                --depth;
            at += 4 + r.data.size();
        }
        // The first sheet record names the first worksheet.
        const QList<Record> &globals = subs.first().records;
        const auto sheetRecord =
            std::find_if(globals.cbegin(), globals.cend(), [](const Record &r) {
                return r.type == rBoundSheet && r.data.size() >= 4;
            });
        if (sheetRecord == globals.cend())
            return Error{
                QCoreApplication::translate("XlsWorkbook", "the workbook has no worksheet")};
        const qsizetype firstOffset = u32(sheetRecord->data, 0);
        for (int s = 1; s < subs.size(); ++s)
            if (subs.at(s).offset == firstOffset)
                firstSheet = s;
        if (firstSheet < 0)
            return Error{QCoreApplication::translate(
                "XlsWorkbook", "damaged workbook stream (first sheet not found)")};
        return {};
    }

    // Points the sheet records at the substreams' new positions; the
    // workbook stream is then the pieces returned, one after the other.
    QList<QByteArray> streamPieces()
    {
        QList<Record> &globals = subs.first().records;
        qsizetype at = serializedSize(globals);
        QHash<qsizetype, qsizetype> moved;
        for (int s = 1; s < subs.size(); ++s) {
            moved.insert(subs.at(s).offset, at);
            at += serializedSize(subs.at(s).records);
        }
        for (Record &r : globals) {
            if (r.type != rBoundSheet || r.data.size() < 4)
                continue;
            const qsizetype old = u32(r.data, 0);
            if (moved.contains(old))
                put32(r.data, 0, quint32(moved.value(old)));
        }
        QList<QByteArray> pieces;
        for (const Substream &s : subs)
            serializeInto(s.records, &pieces);
        return pieces;
    }

    // The file's bytes, as pieces to be written one after the other.
    QList<QByteArray> saveParts()
    {
        QByteArray data;
        for (const QByteArray &piece : streamPieces())
            data.append(piece);
        stream->data = data;
        return file.writeParts();
    }

    // Writes the file in place through a temporary, so a failure leaves the
    // old file.
    Result<void> save(const QString &path)
    {
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly))
            return Error{out.errorString()};
        for (const QByteArray &part : saveParts())
            out.write(part);
        if (!out.commit())
            return Error{out.errorString()};
        return {};
    }
};

} // namespace

Result<void> XlsWorkbook::freezeFirstRow(const QString &path)
{
    Book book;
    if (Result<void> loaded = book.load(path); !loaded)
        return loaded;
    constexpr quint16 rWindow2 = 0x023E;
    constexpr quint16 rPane = 0x0041;
    QList<Record> &sheet = book.subs[book.firstSheet].records;
    sheet.erase(
        std::remove_if(sheet.begin(), sheet.end(), [](const Record &r) { return r.type == rPane; }),
        sheet.end());
    for (int i = 0; i < sheet.size(); ++i) {
        if (sheet.at(i).type != rWindow2 || sheet.at(i).data.size() < 2)
            continue;
        QByteArray &d = sheet[i].data;
        const quint16 flags = u16(d, 0) | 0x0008 | 0x0100; // frozen, no split line
        d[0] = char(flags & 0xFF);
        d[1] = char(flags >> 8);
        Record pane{rPane, {}};
        add16(pane.data, 0);       // no columns frozen
        add16(pane.data, 1);       // one row frozen
        add16(pane.data, 1);       // first row shown below it
        add16(pane.data, 0);       // first column shown
        pane.data.append(char(2)); // the lower pane is active
        pane.data.append(char(0));
        sheet.insert(i + 1, pane);
        return book.save(path);
    }
    return Error{
        QCoreApplication::translate("XlsWorkbook", "the first sheet has no window settings")};
}

namespace {
constexpr int rowsPerBlock = 32;
constexpr int stringsPerStep = 256;
constexpr qsizetype bytesPerStep = 1 << 20;
constexpr qsizetype blockBytes = 1 << 20;
} // namespace

// The state of one filling between its steps. The phases run in order: the
// rows become cell records, the string table is rebuilt, the workbook stream
// is joined from its records, the file is laid out, and its bytes are written
// to a temporary that replaces the workbook at the end.
struct XlsWorkbook::Job {
    enum class Phase { Rows, Strings, Join, Layout, Write };
    Phase phase = Phase::Rows;
    QString path;
    int firstRow = 0;
    int rowCount = 0;
    RowSource rowAt;
    Book book;

    quint32 totalRefs = 0;
    QList<SharedString> strings;
    QHash<QString, quint32> stringIndex;
    QHash<int, quint16> columnXf;
    QList<Record> kept; // the first sheet's records, without the rows written over
    int insertAt = -1;
    int dimensionsAt = -1;
    // The new cells in blocks of about a megabyte: one buffer of tens of
    // megabytes would be copied whole each time it grows.
    QList<QByteArray> addedBlocks;
    QByteArray added;
    int maxColumn = 0;
    int rowsDone = 0;

    int sstAt = -1; // where the string table goes in the globals
    std::unique_ptr<SstWriter> sst;
    int stringsDone = 0;

    QList<QByteArray> parts; // being joined, then being written
    int part = 0;
    qsizetype partOffset = 0;
    QByteArray stream;
    std::unique_ptr<QSaveFile> out;

    Result<void> begin();
    Result<void> readStringTable();
    void keepSheetRecords();
    void writeBlock();
    void addRowRecord(int row, int cellCount);
    void addCells(int row, const QStringList &cells);
    quint32 stringNumber(const QString &text);
    void finishSheet();
    void placeNewCells();
    void widenDimensions();
    void removeStringTable();
    void addStrings();
    void joinSome();
    Result<void> layOut();
    Result<void> writeSome(bool *done);
};

Result<void> XlsWorkbook::Job::begin()
{
    if (Result<void> loaded = book.load(path); !loaded)
        return loaded;
    if (Result<void> read = readStringTable(); !read)
        return read;
    keepSheetRecords();
    return {};
}

Result<void> XlsWorkbook::Job::readStringTable()
{
    const QList<Record> &globals = book.subs.first().records;
    QList<QByteArray> sstParts;
    for (int i = 0; i < globals.size(); ++i) {
        if (globals.at(i).type == rSst) {
            sstAt = i;
            sstParts.append(globals.at(i).data);
            for (int k = i + 1; k < globals.size() && globals.at(k).type == rContinue; ++k)
                sstParts.append(globals.at(k).data);
            break;
        }
    }
    if (sstAt >= 0 && !SstReader(sstParts).read(&totalRefs, &strings))
        return Error{QCoreApplication::translate("XlsWorkbook", "damaged shared string table")};
    // Most rows bring a text of their own (the storage time): room for one
    // each spares rehashing a large index in one go.
    strings.reserve(strings.size() + rowCount);
    stringIndex.reserve(strings.size() + rowCount);
    for (int i = 0; i < strings.size(); ++i)
        if (strings.at(i).runs.isEmpty() && strings.at(i).ext.isEmpty())
            stringIndex.insert(strings.at(i).text, quint32(i));
    return {};
}

// The sheet without its row index (its offsets would be stale) and without the
// cells of the rows being written; the new rows go after the cell table.
void XlsWorkbook::Job::keepSheetRecords()
{
    const QList<Record> &sheet = book.subs.at(book.firstSheet).records;
    const int lastRow = firstRow + rowCount - 1;
    for (const Record &r : sheet) {
        if (r.type == rIndex || r.type == rDbCell)
            continue;
        if ((isCellRecord(r.type) || r.type == rRow) && cellRow(r) >= firstRow &&
            cellRow(r) <= lastRow && rowCount > 0)
            continue;
        if (r.type == rColInfo && r.data.size() >= 8) {
            for (int c = u16(r.data, 0); c <= u16(r.data, 2) && c < maxColumns; ++c)
                columnXf.insert(c, u16(r.data, 6));
        }
        kept.append(r);
        if (r.type == rDimensions)
            dimensionsAt = int(kept.size()) - 1;
        if (isCellTableRecord(r.type))
            insertAt = int(kept.size());
    }
    if (insertAt < 0)
        insertAt = dimensionsAt >= 0 ? dimensionsAt + 1 : int(kept.size()) - 1;
}

// One block of rows as the format groups them: the rows' ROW records, then
// their cells.
void XlsWorkbook::Job::writeBlock()
{
    const int end = std::min(rowsDone + rowsPerBlock, rowCount);
    QList<QStringList> rows;
    rows.reserve(end - rowsDone);
    for (int i = rowsDone; i < end; ++i)
        rows.append(rowAt(i));
    for (int k = 0; k < rows.size(); ++k)
        addRowRecord(firstRow + rowsDone + k, int(rows.at(k).size()));
    for (int k = 0; k < rows.size(); ++k)
        addCells(firstRow + rowsDone + k, rows.at(k));
    rowsDone = end;
    if (added.size() >= blockBytes)
        addedBlocks.append(std::exchange(added, QByteArray()));
}

void XlsWorkbook::Job::addRowRecord(int row, int cellCount)
{
    QByteArray data;
    add16(data, quint16(row));
    add16(data, 0);
    add16(data, quint16(std::min(cellCount, maxColumns)));
    add16(data, 0x00FF); // default height
    add16(data, 0);
    add16(data, 0);
    add16(data, 0x0100);
    add16(data, defaultXf);
    addRecord(added, rRow, data);
}

// Empty texts leave their cells empty; every other cell takes its column's
// format.
void XlsWorkbook::Job::addCells(int row, const QStringList &cells)
{
    QByteArray data;
    for (int c = 0; c < cells.size() && c < maxColumns; ++c) {
        const QString &text = cells.at(c);
        if (text.isEmpty())
            continue;
        maxColumn = std::max(maxColumn, c + 1);
        data.clear();
        add16(data, quint16(row));
        add16(data, quint16(c));
        add16(data, columnXf.value(c, defaultXf));
        double number = 0;
        if (asNumber(text, &number)) {
            char raw[8];
            quint64 bits;
            std::memcpy(&bits, &number, 8);
            qToLittleEndian(bits, raw);
            data.append(raw, 8);
            addRecord(added, rNumber, data);
        } else {
            add32(data, stringNumber(text));
            addRecord(added, rLabelSst, data);
        }
    }
}

// The index of `text` in the shared string table, added when it is new; each
// call is one more reference to it.
quint32 XlsWorkbook::Job::stringNumber(const QString &text)
{
    ++totalRefs;
    const auto it = stringIndex.constFind(text);
    if (it != stringIndex.cend())
        return *it;
    const quint32 isst = quint32(strings.size());
    strings.append({text.left(32767), false, {}, {}});
    stringIndex.insert(text, isst);
    return isst;
}

// The new cells into the sheet, and the old string table and its index out
// of the globals; the new table is built next.
void XlsWorkbook::Job::finishSheet()
{
    placeNewCells();
    widenDimensions();
    book.subs[book.firstSheet].records = std::move(kept);
    kept.clear();
    // Cheap: the texts stay shared with the string table until it is written.
    stringIndex.clear();
    removeStringTable();
    const QList<Record> &globals = book.subs.first().records;
    const qsizetype sstOffset = serializedSize(globals.mid(0, sstAt));
    const int bucket = std::max<int>(8, int((strings.size() + 127) / 128));
    sst = std::make_unique<SstWriter>(sstOffset, bucket);
    sst->begin(totalRefs, quint32(strings.size()));
    phase = Phase::Strings;
}

void XlsWorkbook::Job::placeNewCells()
{
    if (!added.isEmpty())
        addedBlocks.append(std::exchange(added, QByteArray()));
    for (int k = 0; k < addedBlocks.size(); ++k)
        kept.insert(insertAt + k, Record{rawBlock, addedBlocks.at(k)});
    addedBlocks.clear();
}

// The sheet's used range grows to take in the rows written.
void XlsWorkbook::Job::widenDimensions()
{
    if (dimensionsAt < 0 || kept.at(dimensionsAt).data.size() < 14 || rowCount <= 0)
        return;
    QByteArray &d = kept[dimensionsAt].data;
    const int lastRow = firstRow + rowCount - 1;
    const bool empty = u32(d, 4) == 0;
    const quint32 rwMic = empty ? quint32(firstRow) : std::min(u32(d, 0), quint32(firstRow));
    const quint32 rwMac = std::max(u32(d, 4), quint32(lastRow + 1));
    put32(d, 0, rwMic);
    put32(d, 4, rwMac);
    const quint16 colMac = std::max<quint16>(u16(d, 10), quint16(maxColumn));
    d[10] = char(colMac & 0xFF);
    d[11] = char(colMac >> 8);
}

// Takes the old string table and its index out of the globals; sstAt is left
// where the new table goes.
void XlsWorkbook::Job::removeStringTable()
{
    QList<Record> &globals = book.subs.first().records;
    if (sstAt < 0) {
        // No table yet: it goes just before the end of the globals.
        sstAt = int(globals.size()) - 1;
    } else {
        int end = sstAt + 1;
        while (end < globals.size() && globals.at(end).type == rContinue)
            ++end;
        globals.erase(globals.begin() + sstAt, globals.begin() + end);
    }
    for (int i = 0; i < globals.size(); ++i) {
        if (globals.at(i).type == rExtSst) {
            globals.removeAt(i);
            if (i < sstAt)
                --sstAt;
            break;
        }
    }
}

void XlsWorkbook::Job::addStrings()
{
    // Tens of thousands of strings are released a share at a time too:
    // freeing them all at once would be a stall of its own.
    const int end = std::min<int>(stringsDone + stringsPerStep, int(strings.size()));
    for (; stringsDone < end; ++stringsDone) {
        sst->add(stringsDone, strings.at(stringsDone));
        strings[stringsDone] = SharedString();
    }
    if (stringsDone < strings.size())
        return;
    QList<Record> &globals = book.subs.first().records;
    const QList<Record> &table = sst->records();
    for (int i = 0; i < table.size(); ++i)
        globals.insert(sstAt + i, table.at(i));
    globals.insert(sstAt + int(table.size()), sst->extSst());
    sst.reset();
    strings.clear();
    parts = book.streamPieces();
    qsizetype size = 0;
    for (const QByteArray &p : std::as_const(parts))
        size += p.size();
    stream.reserve(size);
    part = 0;
    partOffset = 0;
    phase = Phase::Join;
}

void XlsWorkbook::Job::joinSome()
{
    qsizetype budget = 4 * bytesPerStep;
    while (budget > 0 && part < parts.size()) {
        const QByteArray &p = parts.at(part);
        const qsizetype n = std::min(budget, p.size() - partOffset);
        stream.append(p.constData() + partOffset, n);
        partOffset += n;
        budget -= n;
        if (partOffset == p.size()) {
            ++part;
            partOffset = 0;
        }
    }
    if (part == parts.size())
        phase = Phase::Layout;
}

Result<void> XlsWorkbook::Job::layOut()
{
    book.stream->data = std::exchange(stream, QByteArray());
    parts = book.file.writeParts();
    part = 0;
    partOffset = 0;
    // From here on the parts hold the only copy of the big stream, and each
    // is let go once written, not all at the end.
    book.stream->data = QByteArray();
    book.subs.clear();
    out = std::make_unique<QSaveFile>(path);
    if (!out->open(QIODevice::WriteOnly))
        return Error{out->errorString()};
    phase = Phase::Write;
    return {};
}

Result<void> XlsWorkbook::Job::writeSome(bool *done)
{
    qsizetype budget = bytesPerStep;
    while (budget > 0 && part < parts.size()) {
        const QByteArray &p = parts.at(part);
        const qsizetype n = std::min(budget, p.size() - partOffset);
        if (out->write(p.constData() + partOffset, n) != n)
            return Error{out->errorString()};
        partOffset += n;
        budget -= n;
        if (partOffset == p.size()) {
            parts[part++] = QByteArray();
            partOffset = 0;
        }
    }
#ifdef Q_OS_LINUX
    // The commit waits until the file is on the disk; handing it there a
    // share at a time keeps that wait short.
    if (out->flush())
        ::fdatasync(out->handle());
#endif
    *done = part == parts.size();
    if (*done && !out->commit())
        return Error{out->errorString()};
    return {};
}

XlsWorkbook::XlsWorkbook() = default;
XlsWorkbook::~XlsWorkbook() = default;

Result<void> XlsWorkbook::begin(const QString &path, int firstRow, int rowCount, RowSource rows)
{
    abandon();
    m_ok = false;
    m_error.clear();
    m_rowCount = rowCount;
    m_rowsDone = 0;
    auto fail = [this](const QString &reason) {
        m_error = reason;
        return Error{reason};
    };
    if (firstRow < 0 || rowCount < 0 || firstRow + rowCount > maxRows)
        return fail(QCoreApplication::translate(
                        "XlsWorkbook", "too many rows for an Excel 97-2003 worksheet (at most %1)")
                        .arg(maxRows));
    auto job = std::make_unique<Job>();
    job->path = path;
    job->firstRow = firstRow;
    job->rowCount = rowCount;
    job->rowAt = std::move(rows);
    if (const Result<void> begun = job->begin(); !begun)
        return fail(begun.error().message);
    m_job = std::move(job);
    return {};
}

bool XlsWorkbook::step()
{
    if (!m_job)
        return false;
    Job &j = *m_job;
    Result<void> outcome;
    bool done = false;
    switch (j.phase) {
    case Job::Phase::Rows:
        if (j.rowsDone < j.rowCount)
            j.writeBlock();
        m_rowsDone = j.rowsDone;
        if (j.rowsDone == j.rowCount)
            j.finishSheet();
        break;
    case Job::Phase::Strings:
        j.addStrings();
        break;
    case Job::Phase::Join:
        j.joinSome();
        break;
    case Job::Phase::Layout:
        outcome = j.layOut();
        break;
    case Job::Phase::Write:
        outcome = j.writeSome(&done);
        break;
    }
    if (outcome && !done)
        return true;
    m_ok = outcome.ok();
    m_error = outcome ? QString() : outcome.error().message;
    m_job.reset();
    return false;
}

void XlsWorkbook::abandon()
{
    m_job.reset();
}

bool XlsWorkbook::isRunning() const
{
    return m_job != nullptr;
}
int XlsWorkbook::rowCount() const
{
    return m_rowCount;
}
int XlsWorkbook::rowsDone() const
{
    return m_rowsDone;
}
bool XlsWorkbook::succeeded() const
{
    return m_ok;
}
QString XlsWorkbook::errorString() const
{
    return m_error;
}

Result<void> XlsWorkbook::writeRows(const QString &path, int firstRow,
                                    const QList<QStringList> &rows,
                                    const std::function<void(int)> &progress)
{
    XlsWorkbook book;
    if (Result<void> begun =
            book.begin(path, firstRow, int(rows.size()), [&rows](int i) { return rows.at(i); });
        !begun)
        return begun;
    int reported = 0;
    while (book.step()) {
        if (progress && book.rowsDone() != reported)
            progress(reported = book.rowsDone());
    }
    if (progress && book.rowsDone() != reported)
        progress(book.rowsDone());
    if (!book.succeeded())
        return Error{book.errorString()};
    return {};
}
