#include "profiles/ProfileCodec.h"

#include "base/Form.h"
#include "base/Version.h"
#include "requests/WriteEncoding.h"
#include "responses/FieldDecoding.h"
#include "responses/InfoForm.h"

#include <QJsonArray>

#include <cmath>

namespace {
QStringList pathOf(const ProfileItem &item)
{
    return item.key.split(QLatin1Char('.'));
}

QJsonObject withValue(QJsonObject object, const QStringList &path, int at, const QJsonValue &v)
{
    if (at == path.size() - 1) {
        object.insert(path.at(at), v);
        return object;
    }
    const QJsonObject inner = object.value(path.at(at)).toObject();
    object.insert(path.at(at), withValue(inner, path, at + 1, v));
    return object;
}
} // namespace

ProfileSource ProfileSource::fromInfo(const Form &info)
{
    return {info.text(InfoField::projectNumber), info.text(InfoField::model),
            info.text(InfoField::batteryId), info.text(InfoField::softwareVersion),
            info.text(InfoField::hardwareVersion)};
}

QJsonObject ProfileCodec::toJson(const Form &param, const Form &system, const ProfileSource &source,
                                 const QDateTime &savedAt)
{
    QJsonObject root;
    root.insert(QStringLiteral("schema_version"), ProfileItems::schemaVersion);
    root.insert(QStringLiteral("saved_at"),
                savedAt.toOffsetFromUtc(savedAt.offsetFromUtc()).toString(Qt::ISODate));
    root.insert(QStringLiteral("program"),
                QJsonObject{{QStringLiteral("name"), QStringLiteral("Cellvane")},
                            {QStringLiteral("version"), Version::text()}});
    root.insert(QStringLiteral("source"),
                QJsonObject{{QStringLiteral("project_number"), source.projectNumber},
                            {QStringLiteral("model"), source.model},
                            {QStringLiteral("battery_id"), source.batteryId},
                            {QStringLiteral("software_version"), source.softwareVersion},
                            {QStringLiteral("hardware_version"), source.hardwareVersion}});
    for (const ProfileItem &item : ProfileItems::all()) {
        const Form &page = item.page == ProfileItem::Page::Param ? param : system;
        root = withValue(root, pathOf(item), 0, formValue(page, item));
    }
    return root;
}

QJsonValue ProfileCodec::value(const QJsonObject &profile, const ProfileItem &item)
{
    const QStringList path = pathOf(item);
    QJsonValue v = profile;
    for (const QString &part : path) {
        if (!v.isObject())
            return QJsonValue(QJsonValue::Undefined);
        v = v.toObject().value(part);
    }
    return v;
}

QJsonValue ProfileCodec::formValue(const Form &page, const ProfileItem &item)
{
    using Kind = ProfileItem::Kind;
    switch (item.kind) {
    case Kind::Number: {
        const auto n = WriteEncoding::parseNumber(page.text(item.control));
        return n ? QJsonValue(*n) : QJsonValue();
    }
    case Kind::Flag:
        return page.check(item.control) != 0;
    case Kind::Choice: {
        const int index = page.choice(item.control);
        return index < 0 ? QJsonValue() : QJsonValue(index);
    }
    case Kind::Date: {
        const QString text = page.text(item.control);
        if (const auto d = WriteEncoding::parseDate(text))
            return d->toString(QStringLiteral("yyyy-MM-dd"));
        return text.isEmpty() ? QJsonValue() : QJsonValue(text);
    }
    case Kind::Text:
        return page.text(item.control);
    }
    return {};
}

QString ProfileCodec::displayText(const ProfileItem &item, const QJsonValue &value)
{
    using Kind = ProfileItem::Kind;
    switch (item.kind) {
    case Kind::Number:
        return value.isDouble() ? decimalText(value.toDouble()) : QString();
    case Kind::Flag:
        return value.isBool() ? QString::number(value.toBool() ? 1 : 0) : QString();
    case Kind::Choice:
        return value.isDouble() ? QString::number(value.toInt()) : QString();
    case Kind::Text:
    case Kind::Date:
        return value.toString();
    }
    return {};
}

bool ProfileCodec::setFormValue(Form &page, const ProfileItem &item, const QJsonValue &value)
{
    using Kind = ProfileItem::Kind;
    switch (item.kind) {
    case Kind::Flag:
        return page.setCheck(item.control, value.toBool() ? 1 : 0);
    case Kind::Choice: {
        const double d = value.toDouble(-1);
        if (d < 0 || d != std::floor(d) || d > 1e6)
            return false;
        return page.setChoice(item.control, int(d));
    }
    case Kind::Number:
    case Kind::Text:
    case Kind::Date:
        page.setText(item.control, displayText(item, value));
        return true;
    }
    return false;
}

void ProfileCodec::fillForms(const QJsonObject &profile, Form &param, Form &system)
{
    for (const ProfileItem &item : ProfileItems::all()) {
        Form &page = item.page == ProfileItem::Page::Param ? param : system;
        setFormValue(page, item, value(profile, item));
    }
}
