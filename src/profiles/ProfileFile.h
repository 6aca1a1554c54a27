#pragma once

#include "base/Result.h"
#include "profiles/ProfileValidator.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QString>

class Form;

// Profiles on disk (".cvprofile.json"). A file is written whole or not at all,
// so an interrupted save never leaves a truncated profile behind.
class ProfileFile {
    Q_DECLARE_TR_FUNCTIONS(ProfileFile)
public:
    static inline const QString suffix = QStringLiteral(".cvprofile.json");

    // The failure's message is in the current language.
    static Result<void> save(const QString &path, const QJsonObject &profile);
    // Loading gives the validator's report: every problem of the file, one per
    // item, rather than the first only.
    static ProfileValidator::Result load(const QString &path);
    // Open profile: loads and validates the file and, only when all of it is
    // valid, fills both pages with it. Nothing is sent; the technician looks
    // and then uses the pages' own Write buttons.
    static ProfileValidator::Result open(const QString &path, Form &param, Form &system);
};
