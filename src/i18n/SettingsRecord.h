#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

class Form;
class UserPrompt;

// The program's persistent settings: an INI file in the user's configuration
// folder. It holds the language choice and whether the link reconnects by
// itself; port, address and protocol are picked anew on the link page in every
// run.
namespace SettingsRecord {
// $XDG_CONFIG_HOME/cellvane/cellvane.conf (~/.config/cellvane/cellvane.conf).
QString filePath();
// The desktop's preferred languages, first choice first ("zh-CN", ...). The
// system locale reads them once per run, so tests set their own instead.
QStringList preferredLanguages();
void setPreferredLanguages(const QStringList &languages); // {} = the system's

// 1 English, 0 Chinese. Before anything is stored (a first start, or a record
// that cannot be read) the language follows the system's: Chinese for "zh*",
// English otherwise. A stored choice always wins.
quint8 storedLanguage(const QStringList &systemLanguages = preferredLanguages());
// The language of a first start on a system whose preferred languages these are.
quint8 systemLanguage(const QStringList &systemLanguages);
// Writes the language byte and saves the record. False when the file could not
// be written; the record then keeps what it held.
bool storeLanguage(quint8 english);

// What the language dialog's OK did to the record: the record is written only
// when the choice differs from what it holds.
enum class Remembered { Unchanged, Written, Failed };
Remembered rememberLanguage(quint8 english,
                            const QStringList &systemLanguages = preferredLanguages());

// The link page's "Reconnect automatically" box; off when nothing is stored.
bool storedReconnect();
Remembered rememberReconnect(bool on);
// Ticks the link page's box as stored and stores every later change of it. A
// change that cannot be stored is reported through `prompt`; it then applies
// until the program ends.
void followReconnectChoice(Form &link, UserPrompt &prompt);

// The packs a bus scan found and the port they were found on ("COM3"), so the
// next start offers them. Addresses read back are those of the scan range
// (0..16), each once, in ascending order; anything else in the record is left
// out, and no port means nothing is stored.
struct BankChoice {
    QString port;
    QList<int> addresses;
};
BankChoice storedBank();
// False when the file could not be written; the record then keeps what it held.
bool storeBank(const BankChoice &bank);

// Where a window of its own ("charts") was and how big, as QWidget's
// saveGeometry() gives it; empty when nothing is stored.
QByteArray storedWindowGeometry(const QString &window);
bool storeWindowGeometry(const QString &window, const QByteArray &geometry);
} // namespace SettingsRecord
