#include "profiles/ProfileValidator.h"

#include "base/Form.h"
#include "profiles/ProfileCodec.h"
#include "profiles/ProfileItems.h"
#include "requests/ParamForm.h"
#include "requests/RequestTable.h"
#include "requests/SystemForm.h"
#include "requests/WriteEncoder.h"

#include <QJsonDocument>
#include <QJsonParseError>
#include <QSet>

#include <cmath>

namespace {

const QString schemaKey = QStringLiteral("schema_version");

// Keys outside the three item sections, with the type each must have.
struct MetaKey {
    QString key;
    QJsonValue::Type type;
};
const QList<MetaKey> &metaKeys()
{
    static const QList<MetaKey> keys = {
        {QStringLiteral("saved_at"), QJsonValue::String},
        {QStringLiteral("program.name"), QJsonValue::String},
        {QStringLiteral("program.version"), QJsonValue::String},
        {QStringLiteral("source.project_number"), QJsonValue::String},
        {QStringLiteral("source.model"), QJsonValue::String},
        {QStringLiteral("source.battery_id"), QJsonValue::String},
        {QStringLiteral("source.software_version"), QJsonValue::String},
        {QStringLiteral("source.hardware_version"), QJsonValue::String},
    };
    return keys;
}

// Every leaf of the document by its dotted key.
void flatten(const QJsonObject &object, const QString &prefix, QList<QString> &keys)
{
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QString key = prefix.isEmpty() ? it.key() : prefix + QLatin1Char('.') + it.key();
        if (it.value().isObject())
            flatten(it.value().toObject(), key, keys);
        else
            keys.append(key);
    }
}

QJsonValue at(const QJsonObject &root, const QString &key)
{
    QJsonValue v = root;
    for (const QString &part : key.split(QLatin1Char('.'))) {
        if (!v.isObject())
            return QJsonValue(QJsonValue::Undefined);
        v = v.toObject().value(part);
    }
    return v;
}

bool isHexDigit(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

} // namespace

QString ProfileValidator::Result::message() const
{
    if (problems.isEmpty())
        return {};
    QStringList lines{QCoreApplication::translate(
        "ProfileValidator", "The profile cannot be used; nothing was changed:")};
    for (const Problem &p : problems)
        lines.append(p.key.isEmpty() ? p.message : p.key + QStringLiteral(": ") + p.message);
    return lines.join(QLatin1Char('\n'));
}

ProfileValidator::Result ProfileValidator::validate(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        return {{},
                {{QString(), tr("The file is incomplete or not JSON (at character %1: %2)")
                                 .arg(error.offset)
                                 .arg(error.errorString())}}};
    if (!doc.isObject())
        return {{}, {{QString(), tr("The file does not hold a profile")}}};
    return validate(doc.object());
}

ProfileValidator::Result ProfileValidator::validate(const QJsonObject &profile)
{
    Result result;
    auto bad = [&result](const QString &key, const QString &message) {
        result.problems.append({key, message});
    };

    // A profile of another schema version is not read any further: its keys
    // may mean something else.
    const QJsonValue version = profile.value(schemaKey);
    if (!version.isDouble() || version.toDouble() != ProfileItems::schemaVersion) {
        bad(schemaKey, version.isUndefined()
                           ? tr("missing; this is not a profile")
                           : tr("version %1 is not supported; this program reads version %2")
                                 .arg(version.isDouble() ? QString::number(version.toDouble())
                                                         : version.toVariant().toString())
                                 .arg(ProfileItems::schemaVersion));
        return result;
    }

    QSet<QString> known{schemaKey};
    for (const MetaKey &m : metaKeys())
        known.insert(m.key);
    for (const ProfileItem &item : ProfileItems::all())
        known.insert(item.key);
    QList<QString> present;
    flatten(profile, QString(), present);
    for (const QString &key : present)
        if (!known.contains(key))
            bad(key, tr("unknown key"));

    for (const MetaKey &m : metaKeys()) {
        const QJsonValue v = at(profile, m.key);
        if (!v.isUndefined() && v.type() != m.type)
            bad(m.key, tr("must be text"));
    }

    // Each value goes into a scratch copy of its page and through the write
    // encoding of the one field that carries it, so the rules are exactly the
    // Write buttons' rules.
    Form param{QStringLiteral("ParamPanel")};
    Form system{QStringLiteral("SystemPanel")};
    defineParamForm(param);
    defineSystemForm(system);
    using Kind = ProfileItem::Kind;
    for (const ProfileItem &item : ProfileItems::all()) {
        const QJsonValue v = at(profile, item.key);
        if (v.isUndefined()) {
            bad(item.key, tr("missing"));
            continue;
        }
        bool typeOk = false;
        switch (item.kind) {
        case Kind::Number:
            typeOk = v.isDouble();
            if (!typeOk)
                bad(item.key, tr("must be a number"));
            break;
        case Kind::Flag:
            typeOk = v.isBool();
            if (!typeOk)
                bad(item.key, tr("must be true or false"));
            break;
        case Kind::Choice:
            typeOk = v.isDouble() && v.toDouble() == std::floor(v.toDouble());
            if (!typeOk)
                bad(item.key, tr("must be a whole number"));
            break;
        case Kind::Text:
        case Kind::Date:
            typeOk = v.isString();
            if (!typeOk)
                bad(item.key, tr("must be text"));
            break;
        }
        if (!typeOk)
            continue;
        Form &page = item.page == ProfileItem::Page::Param ? param : system;
        if (!ProfileCodec::setFormValue(page, item, v)) {
            bad(item.key, tr("%1 is not one of the choices").arg(v.toDouble()));
            continue;
        }
        if (!item.write || !item.field)
            continue;
        const RequestField &field = *item.field;
        // The encoding cuts texts to their width without a word; a profile
        // that would lose characters on the way is refused instead.
        if (field.kind == RequestField::Kind::Text && v.toString().size() > field.width) {
            bad(item.key, tr("longer than %1 characters").arg(field.width));
            continue;
        }
        if (field.kind == RequestField::Kind::HexPairs) {
            const QString text = v.toString();
            if (text.size() > 2 * field.width ||
                !std::all_of(text.begin(), text.end(), isHexDigit)) {
                bad(item.key, tr("must be at most %1 hexadecimal digits").arg(2 * field.width));
                continue;
            }
        }
        RequestSpec single = *item.write;
        single.fields = {field};
        single.tested =
            item.write->tested.contains(item.control) ? QStringList{item.control} : QStringList{};
        QByteArray frame(9 + single.length, '\0');
        if (::Result<void> encoded =
                WriteEncoder::encode(single, page, frame, QDateTime::currentDateTime());
            !encoded)
            bad(item.key, encoded.error().message);
    }
    if (result.ok())
        result.profile = profile;
    return result;
}
