#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QJsonObject>
#include <QList>
#include <QString>

// Checks a whole profile before any of it is used: the file must be complete
// JSON of the schema version this program writes, hold only known keys, every
// item with a value of its type, and every value one the write requests can
// carry to the BMS as it stands (the same checks the pages' Write buttons
// make). Any problem rejects the whole file, so a half-usable profile is never
// half applied.
class ProfileValidator {
    Q_DECLARE_TR_FUNCTIONS(ProfileValidator)
public:
    struct Problem {
        QString key; // "parameters.cell_ov.protection_value"; "" for the file as a whole
        QString message;
    };
    struct Result {
        QJsonObject profile; // empty unless ok()
        QList<Problem> problems;
        bool ok() const { return problems.isEmpty(); }
        // One message naming every bad field, in the current language.
        QString message() const;
    };

    static Result validate(const QByteArray &json);
    static Result validate(const QJsonObject &profile);
};
