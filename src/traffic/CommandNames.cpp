#include "traffic/CommandNames.h"

#include "link/CommandCode.h"
#include "link/Frame.h"
#include "requests/ParamRows.h"
#include "requests/RequestTable.h"
#include "requests/SystemCommands.h"

#include <QCoreApplication>

#include <array>
#include <map>

namespace {

constexpr const char *context = "CommandNames";
constexpr quint8 controlItem = 60;
constexpr quint8 storedRecordItem = 70;
constexpr quint8 upgradeAppItem = 250;
constexpr quint8 upgradeBootItem = 251;

struct OwnName {
    quint8 code;
    const char *text;
};

// Requests that no page names by a status text of its own.
const OwnName ownNames[] = {
    {CommandCode::chargeMosOff, QT_TRANSLATE_NOOP("CommandNames", "Charge MOS off")},
    {CommandCode::dischargeMosOff, QT_TRANSLATE_NOOP("CommandNames", "Discharge MOS off")},
    {CommandCode::sleep, QT_TRANSLATE_NOOP("CommandNames", "Sleep")},
    {CommandCode::reset, QT_TRANSLATE_NOOP("CommandNames", "Reset")},
    {CommandCode::storage, QT_TRANSLATE_NOOP("CommandNames", "Storage mode")},
    {CommandCode::chargeMosOn, QT_TRANSLATE_NOOP("CommandNames", "Charge MOS on")},
    {CommandCode::dischargeMosOn, QT_TRANSLATE_NOOP("CommandNames", "Discharge MOS on")},
    {CommandCode::wake, QT_TRANSLATE_NOOP("CommandNames", "Wake")},
    {CommandCode::shortCircuitRead,
     QT_TRANSLATE_NOOP("CommandNames", "Read short circuit protection")},
    {CommandCode::shortCircuitWrite,
     QT_TRANSLATE_NOOP("CommandNames", "Write short circuit protection")},
    {CommandCode::storedCount, QT_TRANSLATE_NOOP("CommandNames", "Read stored record count")},
};

QString translated(const char *text)
{
    return QCoreApplication::translate(context, text);
}

// The first code (in code order) of each operation and item: the polling reads
// come before the system page's reads of the same items, which send the same
// frames and carry the same names.
int codeOf(bool write, quint8 item)
{
    static const auto index = [] {
        std::array<int, 512> codes;
        codes.fill(-1);
        for (const RequestSpec &s : RequestTable::all()) {
            int &slot = codes[(s.operation ? 256 : 0) + s.item];
            if (slot < 0)
                slot = s.code;
        }
        return codes;
    }();
    return index[(write ? 256 : 0) + item];
}

// A control request by its five data bytes; -1 when none has them.
int controlCode(QByteArrayView frame)
{
    for (const RequestSpec &s : RequestTable::all()) {
        if (s.operation == 0 || s.item != controlItem || frame.size() < Frame::overhead + s.length)
            continue;
        bool same = true;
        for (const RequestField &f : s.fields)
            same = same && f.kind == RequestField::Kind::Constant &&
                   quint8(frame[f.index]) == f.constant;
        if (same)
            return s.code;
    }
    return -1;
}

QString nameOfCode(int code)
{
    if (code < 0)
        return {};
    if (code >= CommandCode::firstRowWrite && code <= CommandCode::lastRowWrite)
        return ParamRows::writeStatusText(code - CommandCode::firstRowWrite);
    if (code >= CommandCode::firstSystemSetting && code <= CommandCode::lastSetting) {
        for (int button = 1; button <= 40; ++button)
            if (SystemCommands::code(button) == code)
                return SystemCommands::statusText(button);
    }
    for (const OwnName &n : ownNames)
        if (n.code == code)
            return translated(n.text);
    // The live reads and the parameter reads: what the status line says.
    const RequestSpec *spec = RequestTable::find(quint8(code));
    if (spec && spec->status)
        return QCoreApplication::translate("RequestBuilder", spec->status) +
               QLatin1String(spec->statusSuffix);
    return {};
}

QString upgradeName(quint8 item, QByteArrayView frame)
{
    const QString target = item == upgradeAppItem
                               ? translated(QT_TRANSLATE_NOOP("CommandNames", "Upgrade APP"))
                               : translated(QT_TRANSLATE_NOOP("CommandNames", "Upgrade BOOT"));
    if (frame.size() < Frame::dataOffset + 2)
        return target;
    const int block = quint8(frame[7]) << 8 | quint8(frame[8]);
    if (block == 0)
        return translated(QT_TRANSLATE_NOOP("CommandNames", "%1: start")).arg(target);
    if (block == 0xFFFF)
        return translated(QT_TRANSLATE_NOOP("CommandNames", "%1: end")).arg(target);
    return translated(QT_TRANSLATE_NOOP("CommandNames", "%1: block %2")).arg(target).arg(block);
}

} // namespace

namespace CommandNames {

QString ofFrame(QByteArrayView frame)
{
    if (frame.size() < Frame::dataOffset)
        return {};
    const bool request = quint8(frame[0]) == Frame::requestStart;
    const bool write = frame[3] != 0;
    const quint8 item = quint8(frame[4]);
    if (item == upgradeAppItem || item == upgradeBootItem)
        return upgradeName(item, frame);
    if (item == storedRecordItem && !write)
        return translated(QT_TRANSLATE_NOOP("CommandNames", "Read stored record"));
    if (item == controlItem && write) {
        // An acknowledgement does not say which switch it was.
        const int code = request ? controlCode(frame) : -1;
        return code >= 0 ? nameOfCode(code)
                         : translated(QT_TRANSLATE_NOOP("CommandNames", "Control command"));
    }
    return nameOfCode(codeOf(write, item)).trimmed();
}

const QList<quint8> &knownItems()
{
    static const QList<quint8> items = [] {
        std::map<quint8, bool> seen;
        for (const RequestSpec &s : RequestTable::all())
            seen[s.item] = true;
        for (quint8 extra : {storedRecordItem, upgradeAppItem, upgradeBootItem})
            seen[extra] = true;
        QList<quint8> list;
        for (const auto &entry : seen)
            list.append(entry.first);
        return list;
    }();
    return items;
}

QString ofItem(quint8 item)
{
    if (item == upgradeAppItem)
        return translated(QT_TRANSLATE_NOOP("CommandNames", "Upgrade APP"));
    if (item == upgradeBootItem)
        return translated(QT_TRANSLATE_NOOP("CommandNames", "Upgrade BOOT"));
    if (item == storedRecordItem)
        return translated(QT_TRANSLATE_NOOP("CommandNames", "Read stored record"));
    if (item == controlItem)
        return translated(QT_TRANSLATE_NOOP("CommandNames", "Control command"));
    const int read = codeOf(false, item);
    return nameOfCode(read >= 0 ? read : codeOf(true, item)).trimmed();
}

} // namespace CommandNames
