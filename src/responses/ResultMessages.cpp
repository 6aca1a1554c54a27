#include "responses/ResultMessages.h"

#include <QCoreApplication>

#include <iterator>

namespace {
struct Text {
    const char *source;
    const char *comment;
};

const char *const context = "ResultMessages";

// In the order of ResultMessage, from readSucceeded on.
const Text texts[] = {
    QT_TRANSLATE_NOOP3("ResultMessages", "Read succeeded", ""),
    QT_TRANSLATE_NOOP3("ResultMessages", "Successfully read all", ""),
    QT_TRANSLATE_NOOP3("ResultMessages", "Write succeeded", "one parameter row"),
    QT_TRANSLATE_NOOP3("ResultMessages", "Successfully set all", ""),
    QT_TRANSLATE_NOOP3("ResultMessages", "Control succeeded", ""),
    QT_TRANSLATE_NOOP3("ResultMessages", "read successfully", "short-circuit levels"),
    QT_TRANSLATE_NOOP3("ResultMessages", "Write succeeded", "short-circuit levels"),
    QT_TRANSLATE_NOOP3("ResultMessages", "Write succeeded", "project number"),
    QT_TRANSLATE_NOOP3("ResultMessages", "Write succeeded", "BMS model"),
    QT_TRANSLATE_NOOP3("ResultMessages", "Write succeeded", "battery ID"),
    QT_TRANSLATE_NOOP3("ResultMessages", "Write succeeded", "custom text"),
    QT_TRANSLATE_NOOP3("ResultMessages", "read successfully", "IP address and port"),
    QT_TRANSLATE_NOOP3("ResultMessages", "Write succeeded", "IP address and port"),
    QT_TRANSLATE_NOOP3("ResultMessages", "Write succeeded", "production date"),
    QT_TRANSLATE_NOOP3("ResultMessages", "read successfully", "production date"),
    QT_TRANSLATE_NOOP3("ResultMessages", "Write succeeded", "passive balancing"),
    QT_TRANSLATE_NOOP3("ResultMessages", "read successfully", "passive balancing"),
    QT_TRANSLATE_NOOP3("ResultMessages", "Write succeeded", "cell and sensor counts"),
    QT_TRANSLATE_NOOP3("ResultMessages", "read successfully", "cell and sensor counts"),
    QT_TRANSLATE_NOOP3("ResultMessages", "Write succeeded", "capacity"),
    QT_TRANSLATE_NOOP3("ResultMessages", "read successfully", "capacity"),
    QT_TRANSLATE_NOOP3("ResultMessages", "read successfully", "zero-current calibration"),
    QT_TRANSLATE_NOOP3("ResultMessages", "Write succeeded", "zero-current calibration"),
    QT_TRANSLATE_NOOP3("ResultMessages", "read successfully", "charge-current calibration"),
    QT_TRANSLATE_NOOP3("ResultMessages", "Write succeeded", "charge-current calibration"),
    QT_TRANSLATE_NOOP3("ResultMessages", "read successfully", "discharge-current calibration"),
    QT_TRANSLATE_NOOP3("ResultMessages", "Write succeeded", "discharge-current calibration"),
    QT_TRANSLATE_NOOP3("ResultMessages", "read successfully", "sampling resistor"),
    QT_TRANSLATE_NOOP3("ResultMessages", "Write succeeded", "sampling resistor"),
    QT_TRANSLATE_NOOP3("ResultMessages", "read successfully", "BMS time"),
    QT_TRANSLATE_NOOP3("ResultMessages", "Write succeeded", "BMS time"),
    QT_TRANSLATE_NOOP3("ResultMessages", "read successfully", "BMS serial settings"),
    QT_TRANSLATE_NOOP3("ResultMessages", "Write succeeded", "BMS serial settings"),
    QT_TRANSLATE_NOOP3("ResultMessages", "read successfully", "charging handshake"),
    QT_TRANSLATE_NOOP3("ResultMessages", "Write succeeded", "charging handshake"),
    QT_TRANSLATE_NOOP3("ResultMessages", "read successfully", "custom selection"),
    QT_TRANSLATE_NOOP3("ResultMessages", "Write succeeded", "custom selection"),
    QT_TRANSLATE_NOOP3("ResultMessages", "Export succeeded", ""),
    QT_TRANSLATE_NOOP3("ResultMessages", "Read Complete", ""),
    QT_TRANSLATE_NOOP3("ResultMessages", "Read Energy storage module succeeded", ""),
    QT_TRANSLATE_NOOP3("ResultMessages", "Write Energy storage module succeeded", ""),
    QT_TRANSLATE_NOOP3("ResultMessages", "Read PreDischarge parameters succeeded", ""),
    QT_TRANSLATE_NOOP3("ResultMessages", "Write PreDischarge parameters succeeded", ""),
    QT_TRANSLATE_NOOP3("ResultMessages", "Read Active balancing parameters succeeded", ""),
    QT_TRANSLATE_NOOP3("ResultMessages", "Write Active balancing parameters succeeded", ""),
};
static_assert(std::size(texts) == resultMessageCount - 1, "one text per ResultMessage");
} // namespace

namespace ResultMessages {

QString text(ResultMessage message)
{
    if (message == ResultMessage::none)
        return {};
    const Text &t = texts[int(message) - 1];
    return QCoreApplication::translate(context, t.source, *t.comment ? t.comment : nullptr);
}

} // namespace ResultMessages
