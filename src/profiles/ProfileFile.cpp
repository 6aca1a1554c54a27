#include "profiles/ProfileFile.h"

#include "profiles/ProfileCodec.h"

#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>

Result<void> ProfileFile::save(const QString &path, const QJsonObject &profile)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Error{tr("Cannot write the profile %1: %2").arg(path, file.errorString())};
    file.write(QJsonDocument(profile).toJson(QJsonDocument::Indented));
    if (!file.commit())
        return Error{tr("Cannot write the profile %1: %2").arg(path, file.errorString())};
    return {};
}

ProfileValidator::Result ProfileFile::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{},
                {{QString(), tr("Cannot open the profile %1: %2").arg(path, file.errorString())}}};
    return ProfileValidator::validate(file.readAll());
}

ProfileValidator::Result ProfileFile::open(const QString &path, Form &param, Form &system)
{
    ProfileValidator::Result result = load(path);
    if (result.ok())
        ProfileCodec::fillForms(result.profile, param, system);
    return result;
}
