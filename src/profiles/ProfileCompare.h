#pragma once

#include <QCoreApplication>
#include <QJsonObject>
#include <QList>
#include <QString>

class Form;

// A pack as read (its two pages) against a profile, item by item.
class ProfileCompare {
    Q_DECLARE_TR_FUNCTIONS(ProfileCompare)
public:
    struct Row {
        QString key;
        QString packValue;
        QString fileValue;
        QString unit;
        bool differs = false;
    };
    struct Result {
        QList<Row> rows; // differing rows first, otherwise in profile order
        int differing = 0;
        // item,pack,file,unit,differs; header in the current language, the
        // values as they are.
        QString csv() const;
    };

    // `profile` must have passed ProfileValidator. Numbers are compared at the
    // resolution the BMS stores them in, so 4.2 and 4.200 are the same value.
    static Result compare(const Form &param, const Form &system, const QJsonObject &profile);
};
