#pragma once

#include "base/Result.h"
#include "requests/RequestTable.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QString>

class Form;

// Turns what the user typed on a page into the data bytes of a request. A
// value that cannot go on the wire as typed (empty where the BMS needs one,
// not a number, too large for its word or byte, not a date, a character
// without a single-byte code) refuses the whole request: nothing is laid out
// half, and the caller gets the message to show instead.
class WriteEncoder {
    Q_DECLARE_TR_FUNCTIONS(WriteEncoder)
public:
    // Fills frame[7 ..] from `page`; `frame` must already be 9 + length bytes.
    // A refusal carries its message in the current language.
    static Result<void> encode(const RequestSpec &spec, const Form &page, QByteArray &frame,
                               const QDateTime &now);

    // The field as the page labels it ("Cell_OV ProtVal", "Production Date").
    static QString fieldName(const RequestField &field);
    static QString emptyMessage();

private:
    static QString outOfRange(const RequestField &field, double low, double high);
    static Result<void> encodeField(const RequestField &field, const Form &page, QByteArray &frame,
                                    const QDateTime &now);
};
