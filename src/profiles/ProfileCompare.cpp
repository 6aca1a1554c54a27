#include "profiles/ProfileCompare.h"

#include "base/Form.h"
#include "profiles/ProfileCodec.h"
#include "profiles/ProfileItems.h"
#include "requests/RequestTable.h"
#include "requests/WriteEncoding.h"

#include <algorithm>

namespace {
bool sameValue(const ProfileItem &item, const QJsonValue &pack, const QJsonValue &file)
{
    if (pack.isDouble() && file.isDouble()) {
        const double scale = item.field ? item.field->scale : 1;
        return WriteEncoding::scaledValue(pack.toDouble(), scale) ==
               WriteEncoding::scaledValue(file.toDouble(), scale);
    }
    return pack == file;
}

QString csvCell(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}
} // namespace

ProfileCompare::Result ProfileCompare::compare(const Form &param, const Form &system,
                                               const QJsonObject &profile)
{
    Result result;
    for (const ProfileItem &item : ProfileItems::all()) {
        const Form &page = item.page == ProfileItem::Page::Param ? param : system;
        const QJsonValue pack = ProfileCodec::formValue(page, item);
        const QJsonValue file = ProfileCodec::value(profile, item);
        Row row{item.key, ProfileCodec::displayText(item, pack),
                ProfileCodec::displayText(item, file), item.unit, !sameValue(item, pack, file)};
        result.differing += row.differs ? 1 : 0;
        result.rows.append(row);
    }
    std::stable_partition(result.rows.begin(), result.rows.end(),
                          [](const Row &r) { return r.differs; });
    return result;
}

QString ProfileCompare::Result::csv() const
{
    // A nested type has no tr() of its own; the texts are the class's.
    QStringList lines{
        QStringList{QCoreApplication::translate("ProfileCompare", "Item"),
                    QCoreApplication::translate("ProfileCompare", "Value in the pack"),
                    QCoreApplication::translate("ProfileCompare", "Value in the file"),
                    QCoreApplication::translate("ProfileCompare", "Unit"),
                    QCoreApplication::translate("ProfileCompare", "Differs")}
            .join(QLatin1Char(','))};
    for (const Row &r : rows)
        lines.append(QStringList{csvCell(r.key), csvCell(r.packValue), csvCell(r.fileValue),
                                 csvCell(r.unit),
                                 r.differs ? QCoreApplication::translate("ProfileCompare", "yes")
                                           : QCoreApplication::translate("ProfileCompare", "no")}
                         .join(QLatin1Char(',')));
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}
