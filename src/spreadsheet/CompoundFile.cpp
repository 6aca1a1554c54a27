#include "spreadsheet/CompoundFile.h"

#include <QCoreApplication>
#include <QtEndian>

#include <algorithm>

namespace {
constexpr quint32 freeSect = 0xFFFFFFFF;
constexpr quint32 endOfChain = 0xFFFFFFFE;
constexpr quint32 fatSect = 0xFFFFFFFD;
constexpr quint32 difSect = 0xFFFFFFFC;
constexpr quint32 noStream = 0xFFFFFFFF;
constexpr int headerSize = 512;
constexpr int sectorSize = 512; // what we write
constexpr int miniSectorSize = 64;
constexpr quint32 miniCutoff = 4096;
const QByteArray signature = QByteArray::fromHex("D0CF11E0A1B11AE1");

quint32 u32(const QByteArray &b, qsizetype at)
{
    return qFromLittleEndian<quint32>(reinterpret_cast<const uchar *>(b.constData()) + at);
}
quint16 u16(const QByteArray &b, qsizetype at)
{
    return qFromLittleEndian<quint16>(reinterpret_cast<const uchar *>(b.constData()) + at);
}
void put32(QByteArray &b, qsizetype at, quint32 v)
{
    qToLittleEndian<quint32>(v, reinterpret_cast<uchar *>(b.data()) + at);
}
void put16(QByteArray &b, qsizetype at, quint16 v)
{
    qToLittleEndian<quint16>(v, reinterpret_cast<uchar *>(b.data()) + at);
}

// Follows a sector chain, refusing loops and sectors outside the table.
bool chain(const QList<quint32> &table, quint32 start, QList<quint32> *out)
{
    out->clear();
    quint32 s = start;
    while (s != endOfChain) {
        if (s >= quint32(table.size()) || out->size() > table.size())
            return false;
        out->append(s);
        s = table.at(s);
    }
    return true;
}
} // namespace

Result<void> CompoundFile::read(const QByteArray &bytes)
{
    // A file read in part is no file: nothing of it stays.
    auto fail = [this](const char *why) {
        m_entries.clear();
        return Error{QCoreApplication::translate("CompoundFile", why)};
    };
    m_entries.clear();
    if (bytes.size() < headerSize || !bytes.startsWith(signature))
        return fail(QT_TRANSLATE_NOOP(
            "CompoundFile", "not an Excel 97-2003 workbook (no compound file signature)"));
    const int shift = u16(bytes, 0x1E);
    const int miniShift = u16(bytes, 0x20);
    if ((shift != 9 && shift != 12) || miniShift != 6)
        return fail(QT_TRANSLATE_NOOP("CompoundFile", "unsupported compound file sector size"));
    const qsizetype ssize = qsizetype(1) << shift;
    const quint32 fatCount = u32(bytes, 0x2C);
    const quint32 firstDir = u32(bytes, 0x30);
    const quint32 cutoff = u32(bytes, 0x38);
    const quint32 firstMiniFat = u32(bytes, 0x3C);
    quint32 difatSector = u32(bytes, 0x44);
    const quint32 difatCount = u32(bytes, 0x48);
    const qsizetype sectorTotal = (bytes.size() - ssize + ssize - 1) / ssize;

    auto sectorData = [&](quint32 s) -> QByteArray {
        const qsizetype at = (qsizetype(s) + 1) * ssize;
        if (qsizetype(s) >= sectorTotal)
            return {};
        QByteArray d = bytes.mid(at, ssize);
        d.resize(ssize, '\0');
        return d;
    };

    // Sector numbers of the allocation table: 109 in the header, the rest in
    // the DIFAT chain.
    QList<quint32> fatSectors;
    for (int i = 0; i < 109 && quint32(fatSectors.size()) < fatCount; ++i)
        fatSectors.append(u32(bytes, 0x4C + 4 * i));
    for (quint32 d = 0; d < difatCount && quint32(fatSectors.size()) < fatCount; ++d) {
        if (qsizetype(difatSector) >= sectorTotal)
            return fail(QT_TRANSLATE_NOOP("CompoundFile",
                                          "damaged compound file (allocation table index)"));
        const QByteArray sec = sectorData(difatSector);
        const int perSector = int(ssize / 4) - 1;
        for (int i = 0; i < perSector && quint32(fatSectors.size()) < fatCount; ++i)
            fatSectors.append(u32(sec, 4 * i));
        difatSector = u32(sec, ssize - 4);
    }
    QList<quint32> fat;
    for (quint32 s : fatSectors) {
        if (qsizetype(s) >= sectorTotal)
            return fail(
                QT_TRANSLATE_NOOP("CompoundFile", "damaged compound file (allocation table)"));
        const QByteArray sec = sectorData(s);
        for (qsizetype i = 0; i < ssize / 4; ++i)
            fat.append(u32(sec, 4 * i));
    }

    auto readChain = [&](quint32 start, QByteArray *out) {
        QList<quint32> sectors;
        if (!chain(fat, start, &sectors))
            return false;
        out->clear();
        out->reserve(sectors.size() * ssize);
        for (quint32 s : sectors) {
            if (qsizetype(s) >= sectorTotal)
                return false;
            out->append(sectorData(s));
        }
        return true;
    };

    QByteArray dir;
    if (!readChain(firstDir, &dir))
        return fail(QT_TRANSLATE_NOOP("CompoundFile", "damaged compound file (directory)"));
    QByteArray miniFatBytes;
    if (firstMiniFat != endOfChain && !readChain(firstMiniFat, &miniFatBytes))
        return fail(
            QT_TRANSLATE_NOOP("CompoundFile", "damaged compound file (mini allocation table)"));
    QList<quint32> miniFat;
    for (qsizetype i = 0; i + 4 <= miniFatBytes.size(); i += 4)
        miniFat.append(u32(miniFatBytes, i));

    QByteArray miniStream;
    for (qsizetype at = 0; at + 128 <= dir.size(); at += 128) {
        Entry e;
        e.raw = dir.mid(at, 128);
        e.type = quint8(e.raw[66]);
        const int nameBytes = std::min<int>(u16(e.raw, 64), 64);
        e.name = QString::fromUtf16(reinterpret_cast<const char16_t *>(e.raw.constData()),
                                    std::max(0, nameBytes / 2 - 1));
        const quint32 start = u32(e.raw, 116);
        const quint64 size = u32(e.raw, 120); // version 3 ignores the high half
        if (e.type == 5) {
            if (start != endOfChain && !readChain(start, &miniStream))
                return fail(
                    QT_TRANSLATE_NOOP("CompoundFile", "damaged compound file (mini stream)"));
            miniStream.truncate(qsizetype(size));
        } else if (e.type == 2) {
            if (size < cutoff) {
                QList<quint32> sectors;
                if (size > 0 && !chain(miniFat, start, &sectors))
                    return fail(
                        QT_TRANSLATE_NOOP("CompoundFile", "damaged compound file (small stream)"));
                for (quint32 s : sectors)
                    e.data.append(miniStream.mid(qsizetype(s) * miniSectorSize, miniSectorSize));
            } else if (!readChain(start, &e.data)) {
                return fail(QT_TRANSLATE_NOOP("CompoundFile", "damaged compound file (stream)"));
            }
            if (quint64(e.data.size()) < size)
                return fail(
                    QT_TRANSLATE_NOOP("CompoundFile", "damaged compound file (short stream)"));
            e.data.truncate(qsizetype(size));
        }
        m_entries.append(e);
    }
    if (m_entries.isEmpty() || m_entries.first().type != 5)
        return fail(QT_TRANSLATE_NOOP("CompoundFile", "damaged compound file (no root entry)"));
    return {};
}

CompoundFile::Entry *CompoundFile::stream(const QString &name)
{
    for (Entry &e : m_entries)
        if (e.type == 2 && e.name.compare(name, Qt::CaseInsensitive) == 0)
            return &e;
    return nullptr;
}

QByteArray CompoundFile::write() const
{
    const QList<QByteArray> parts = writeParts();
    qsizetype size = 0;
    for (const QByteArray &p : parts)
        size += p.size();
    QByteArray out;
    out.reserve(size);
    for (const QByteArray &p : parts)
        out.append(p);
    return out;
}

QList<QByteArray> CompoundFile::writeParts() const
{
    QList<Entry> entries = m_entries;
    // Directory entries are 128 bytes, four to a sector.
    while (entries.size() % (sectorSize / 128) != 0) {
        Entry empty;
        empty.raw = QByteArray(128, '\0');
        put32(empty.raw, 68, noStream);
        put32(empty.raw, 72, noStream);
        put32(empty.raw, 76, noStream);
        entries.append(empty);
    }

    // Small streams go into the mini stream, in 64-byte mini sectors.
    QByteArray miniStream;
    QList<quint32> miniFat;
    QList<quint32> start(entries.size(), endOfChain);
    for (int i = 0; i < entries.size(); ++i) {
        const Entry &e = entries.at(i);
        if (e.type != 2 || quint32(e.data.size()) >= miniCutoff || e.data.isEmpty())
            continue;
        const int count = int((e.data.size() + miniSectorSize - 1) / miniSectorSize);
        start[i] = quint32(miniFat.size());
        for (int k = 0; k < count; ++k)
            miniFat.append(k + 1 < count ? quint32(miniFat.size() + 1) : endOfChain);
        QByteArray padded = e.data;
        padded.resize(qsizetype(count) * miniSectorSize, '\0');
        miniStream.append(padded);
    }

    // Regular sectors: big streams, the mini stream, the mini table, the
    // directory, then the allocation table and its index.
    QList<QByteArray> blobs; // contents laid out in sector order
    QList<quint32> fat;
    auto place = [&](const QByteArray &data) -> quint32 {
        if (data.isEmpty())
            return endOfChain;
        const int count = int((data.size() + sectorSize - 1) / sectorSize);
        const quint32 first = quint32(fat.size());
        for (int k = 0; k < count; ++k)
            fat.append(k + 1 < count ? quint32(fat.size() + 1) : endOfChain);
        // The contents are shared, not copied: a big stream is megabytes.
        blobs.append(data);
        if (const qsizetype pad = qsizetype(count) * sectorSize - data.size(); pad > 0)
            blobs.append(QByteArray(pad, '\0'));
        return first;
    };
    for (int i = 0; i < entries.size(); ++i) {
        const Entry &e = entries.at(i);
        if (e.type == 2 && quint32(e.data.size()) >= miniCutoff)
            start[i] = place(e.data);
    }
    const quint32 miniStreamStart = place(miniStream);
    QByteArray miniFatBytes(miniFat.size() * 4, '\0');
    for (int i = 0; i < miniFat.size(); ++i)
        put32(miniFatBytes, 4 * i, miniFat.at(i));
    const quint32 miniFatStart = place(miniFatBytes);
    const quint32 miniFatSectors = quint32((miniFatBytes.size() + sectorSize - 1) / sectorSize);

    QByteArray dir;
    for (int i = 0; i < entries.size(); ++i) {
        QByteArray raw = entries.at(i).raw;
        raw.resize(128, '\0');
        const Entry &e = entries.at(i);
        if (e.type == 5) {
            put32(raw, 116, miniStreamStart);
            put32(raw, 120, quint32(miniStream.size()));
        } else if (e.type == 2) {
            put32(raw, 116, start.at(i));
            put32(raw, 120, quint32(e.data.size()));
        }
        put32(raw, 124, 0);
        dir.append(raw);
    }
    const quint32 dirStart = place(dir);

    // The allocation table covers every sector, its own and its index's too.
    const int perFat = sectorSize / 4;
    const int perDifat = perFat - 1;
    const quint32 used = quint32(fat.size());
    quint32 fatCount = 0;
    quint32 difatCount = 0;
    for (;;) {
        const quint32 needDifat =
            fatCount > 109 ? quint32((fatCount - 109 + perDifat - 1) / perDifat) : 0;
        const quint32 needFat = (used + fatCount + needDifat + perFat - 1) / perFat;
        if (needFat == fatCount && needDifat == difatCount)
            break;
        fatCount = std::max(fatCount, needFat);
        difatCount = needDifat;
    }
    const quint32 firstFat = used;
    const quint32 firstDifat = used + fatCount;
    for (quint32 k = 0; k < fatCount; ++k)
        fat.append(fatSect);
    for (quint32 k = 0; k < difatCount; ++k)
        fat.append(difSect);
    while (fat.size() % perFat != 0)
        fat.append(freeSect);

    QByteArray header(headerSize, '\0');
    header.replace(0, signature.size(), signature);
    put16(header, 0x18, 0x003E);
    put16(header, 0x1A, 0x0003);
    put16(header, 0x1C, 0xFFFE);
    put16(header, 0x1E, 9);
    put16(header, 0x20, 6);
    put32(header, 0x2C, fatCount);
    put32(header, 0x30, dirStart);
    put32(header, 0x38, miniCutoff);
    put32(header, 0x3C, miniFatStart);
    put32(header, 0x40, miniFatSectors);
    put32(header, 0x44, difatCount ? firstDifat : endOfChain);
    put32(header, 0x48, difatCount);
    for (int i = 0; i < 109; ++i)
        put32(header, 0x4C + 4 * i, quint32(i) < fatCount ? firstFat + i : freeSect);

    QList<QByteArray> out{header};
    out.append(blobs);
    QByteArray fatBytes(fat.size() * 4, '\0');
    for (int i = 0; i < fat.size(); ++i)
        put32(fatBytes, 4 * i, fat.at(i));
    fatBytes.resize(qsizetype(fatCount) * sectorSize, '\0');
    out.append(fatBytes);
    for (quint32 d = 0; d < difatCount; ++d) {
        QByteArray sec(sectorSize, '\0');
        for (int i = 0; i < perDifat; ++i) {
            const quint32 index = 109 + d * perDifat + i;
            put32(sec, 4 * i, index < fatCount ? firstFat + index : freeSect);
        }
        put32(sec, sectorSize - 4, d + 1 < difatCount ? firstDifat + d + 1 : endOfChain);
        out.append(sec);
    }
    return out;
}
