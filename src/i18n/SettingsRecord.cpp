#include "i18n/SettingsRecord.h"

#include "base/Form.h"
#include "base/UserPrompt.h"
#include "link/LinkForm.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace {
const QString languageKey = QStringLiteral("language");
const QString reconnectKey = QStringLiteral("reconnect");
const QString bankPortKey = QStringLiteral("bank/port");
const QString bankAddressesKey = QStringLiteral("bank/addresses");
// The bus scan's address range.
constexpr int lowestBankAddress = 0;
constexpr int highestBankAddress = 16;

// Writes the given keys together and saves the record. False when the file
// could not be written.
bool storeValues(std::initializer_list<std::pair<QString, QVariant>> values)
{
    const QString path = SettingsRecord::filePath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSettings record(path, QSettings::IniFormat);
    for (const auto &[key, value] : values)
        record.setValue(key, value);
    record.sync();
    return record.status() == QSettings::NoError;
}

QStringList g_preferredLanguages;

QString configHome()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // Honoured even when relative paths or test modes would make
    // QStandardPaths pick another folder.
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty())
        return xdg;
    return QDir::homePath() + QStringLiteral("/.config");
#else
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
#endif
}
} // namespace

namespace SettingsRecord {

QString filePath()
{
    return configHome() + QStringLiteral("/cellvane/cellvane.conf");
}

QStringList preferredLanguages()
{
    return g_preferredLanguages.isEmpty() ? QLocale::system().uiLanguages() : g_preferredLanguages;
}

void setPreferredLanguages(const QStringList &languages)
{
    g_preferredLanguages = languages;
}

quint8 systemLanguage(const QStringList &systemLanguages)
{
    const QString first = systemLanguages.value(0);
    return first.startsWith(QLatin1String("zh"), Qt::CaseInsensitive) ? 0 : 1;
}

quint8 storedLanguage(const QStringList &systemLanguages)
{
    const QSettings record(filePath(), QSettings::IniFormat);
    if (record.status() != QSettings::NoError || !record.contains(languageKey))
        return systemLanguage(systemLanguages);
    bool ok = false;
    const int value = record.value(languageKey).toInt(&ok);
    return ok && value == 1 ? 1 : 0;
}

bool storeLanguage(quint8 english)
{
    return storeValues({{languageKey, english ? 1 : 0}});
}

Remembered rememberLanguage(quint8 english, const QStringList &systemLanguages)
{
    const quint8 choice = english ? 1 : 0;
    if (storedLanguage(systemLanguages) == choice)
        return Remembered::Unchanged;
    return storeLanguage(choice) ? Remembered::Written : Remembered::Failed;
}

bool storedReconnect()
{
    const QSettings record(filePath(), QSettings::IniFormat);
    bool ok = false;
    const int value = record.value(reconnectKey).toInt(&ok);
    return ok && value == 1;
}

Remembered rememberReconnect(bool on)
{
    if (storedReconnect() == on)
        return Remembered::Unchanged;
    return storeValues({{reconnectKey, on ? 1 : 0}}) ? Remembered::Written : Remembered::Failed;
}

void followReconnectChoice(Form &link, UserPrompt &prompt)
{
    link.setCheck(LinkField::reconnect, storedReconnect() ? 1 : 0);
    QObject::connect(&link, &Form::changed, &link, [&link, &prompt](const QString &control) {
        if (control != LinkField::reconnect)
            return;
        if (rememberReconnect(link.check(LinkField::reconnect) != 0) == Remembered::Failed)
            prompt.message(QCoreApplication::translate("SettingsRecord",
                                                       "The choice could not be saved in %1; it "
                                                       "applies until the program ends.")
                               .arg(QDir::toNativeSeparators(filePath())),
                           QString(), UserPrompt::Icon::Warning);
    });
}

BankChoice storedBank()
{
    const QSettings record(filePath(), QSettings::IniFormat);
    BankChoice bank;
    bank.port = record.value(bankPortKey).toString().trimmed();
    if (bank.port.isEmpty())
        return {};
    // Kept as one text, "1,2,5": QSettings would write a list of one entry as
    // a plain value and read it back as such.
    const QStringList parts =
        record.value(bankAddressesKey).toString().split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        bool ok = false;
        const int address = part.trimmed().toInt(&ok);
        if (ok && address >= lowestBankAddress && address <= highestBankAddress &&
            !bank.addresses.contains(address))
            bank.addresses.append(address);
    }
    std::sort(bank.addresses.begin(), bank.addresses.end());
    return bank;
}

bool storeBank(const BankChoice &bank)
{
    QStringList parts;
    for (int address : bank.addresses)
        parts << QString::number(address);
    return storeValues(
        {{bankPortKey, bank.port}, {bankAddressesKey, parts.join(QLatin1Char(','))}});
}

QByteArray storedWindowGeometry(const QString &window)
{
    const QSettings record(filePath(), QSettings::IniFormat);
    return record.value(QStringLiteral("windows/%1").arg(window)).toByteArray();
}

bool storeWindowGeometry(const QString &window, const QByteArray &geometry)
{
    return storeValues({{QStringLiteral("windows/%1").arg(window), geometry}});
}

} // namespace SettingsRecord
