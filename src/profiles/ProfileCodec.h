#pragma once

#include "profiles/ProfileItems.h"

#include <QDateTime>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

class Form;

// The pack a profile was saved from, as the information page shows it.
struct ProfileSource {
    QString projectNumber;
    QString model;
    QString batteryId;
    QString softwareVersion;
    QString hardwareVersion;
    static ProfileSource fromInfo(const Form &info);
};

// Between the parameter and system pages and the profile document. The
// document is language-neutral: English keys, numbers as JSON numbers in the
// units the pages show, flags as booleans, list positions as whole numbers.
class ProfileCodec {
public:
    static QJsonObject toJson(const Form &param, const Form &system, const ProfileSource &source,
                              const QDateTime &savedAt);

    // The value of `item` in a document, null when absent.
    static QJsonValue value(const QJsonObject &profile, const ProfileItem &item);
    // The value of `item` on its page, as the document would hold it; null for
    // an empty box or no selection.
    static QJsonValue formValue(const Form &page, const ProfileItem &item);
    // Puts a value of the document's type into the page control. Returns false
    // when the control refuses it.
    static bool setFormValue(Form &page, const ProfileItem &item, const QJsonValue &value);
    // The value as the page would show it ("4.2", "2021-03-05"; flags and
    // choices as their number).
    static QString displayText(const ProfileItem &item, const QJsonValue &value);

    // Fills both pages from a document that has passed ProfileValidator; sends
    // nothing. Every item is set, so what the pages show is the file.
    static void fillForms(const QJsonObject &profile, Form &param, Form &system);
};
