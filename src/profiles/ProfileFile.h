#pragma once

#include "profiles/ProfileValidator.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QString>

#include <optional>

class Form;

// Profiles on disk (".cvprofile.json"). A file is written whole or not at all,
// so an interrupted save never leaves a truncated profile behind.
class ProfileFile {
    Q_DECLARE_TR_FUNCTIONS(ProfileFile)
public:
    static inline const QString suffix = QStringLiteral(".cvprofile.json");

    // The error in the current language, or nullopt.
    static std::optional<QString> save(const QString &path, const QJsonObject &profile);
    static ProfileValidator::Result load(const QString &path);
    // Open profile: loads and validates the file and, only when all of it is
    // valid, fills both pages with it. Nothing is sent; the technician looks
    // and then uses the pages' own Write buttons.
    static ProfileValidator::Result open(const QString &path, Form &param, Form &system);
};
