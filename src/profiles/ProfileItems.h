#pragma once

#include <QList>
#include <QString>

struct RequestField;
struct RequestSpec;

// Every value a settings profile carries, as data: its stable key in the file,
// the page control it comes from and goes back to, and the write request field
// that would carry it to the BMS. The keys are the file format; renaming one
// breaks every profile already saved.
struct ProfileItem {
    enum class Page { Param, System };
    enum class Kind {
        Number, // JSON number, physical units
        Flag,   // JSON true / false, a check box
        Choice, // JSON whole number, position of a list entry or option
        Text,   // JSON string
        Date,   // JSON string yyyy-mm-dd
    };
    QString key; // "parameters.cell_ov.protection_value"
    Page page = Page::Param;
    QString control;
    Kind kind = Kind::Number;
    QString unit; // "V", "A", "S", "" for flags, choices and texts
    // The write request that sends this value and its field there; null for
    // none (not expected: every item is writable).
    const RequestSpec *write = nullptr;
    const RequestField *field = nullptr;
};

namespace ProfileItems {
inline constexpr int schemaVersion = 1;
// The three sections that hold items, in the order the file lists them.
inline const QString identitySection = QStringLiteral("identity");
inline const QString parameterSection = QStringLiteral("parameters");
inline const QString systemSection = QStringLiteral("system");

// Every item in page order: identity, the seventeen rows and the short-circuit
// levels, then the system page group by group.
const QList<ProfileItem> &all();
const ProfileItem *find(const QString &key);
// Row keys in wire order: "cell_ov" .. "cell_difv".
QString rowKey(int row);
} // namespace ProfileItems
