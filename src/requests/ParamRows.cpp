#include "requests/ParamRows.h"

#include "requests/RequestTable.h"

#include <QCoreApplication>

namespace {
struct RowText {
    const char *caption;
    const char *unit;
    const char *write;
};

// Units are symbols and read the same in both languages.
constexpr RowText rowTexts[ParamRows::count] = {
    {QT_TRANSLATE_NOOP("ParamRows", "Cell_OV"), "V",
     QT_TRANSLATE_NOOP("ParamRows", "Write Cell_OV")},
    {QT_TRANSLATE_NOOP("ParamRows", "Cell_UV"), "V",
     QT_TRANSLATE_NOOP("ParamRows", "Write Cell_UV")},
    {QT_TRANSLATE_NOOP("ParamRows", "Total_OV"), "V",
     QT_TRANSLATE_NOOP("ParamRows", "Write Total_OV")},
    {QT_TRANSLATE_NOOP("ParamRows", "Total_UV"), "V",
     QT_TRANSLATE_NOOP("ParamRows", "Write Total_UV")},
    {QT_TRANSLATE_NOOP("ParamRows", "Discharge_OC1"), "A",
     QT_TRANSLATE_NOOP("ParamRows", "Write Discharge_OC1")},
    {QT_TRANSLATE_NOOP("ParamRows", "Discharge_OC2"), "A",
     QT_TRANSLATE_NOOP("ParamRows", "Write Discharge_OC2")},
    {QT_TRANSLATE_NOOP("ParamRows", "Charge_OC"), "A",
     QT_TRANSLATE_NOOP("ParamRows", "Write Charge_OC")},
    {QT_TRANSLATE_NOOP("ParamRows", "Charge_OT"), "℃",
     QT_TRANSLATE_NOOP("ParamRows", "Write Charge_OT")},
    {QT_TRANSLATE_NOOP("ParamRows", "Discharge_OT"), "℃",
     QT_TRANSLATE_NOOP("ParamRows", "Write Discharge_OT")},
    {QT_TRANSLATE_NOOP("ParamRows", "Charge_UT"), "℃",
     QT_TRANSLATE_NOOP("ParamRows", "Write Charge_UT")},
    {QT_TRANSLATE_NOOP("ParamRows", "Discharge_UT"), "℃",
     QT_TRANSLATE_NOOP("ParamRows", "Write Discharge_UT")},
    {QT_TRANSLATE_NOOP("ParamRows", "MOS_OT"), "℃", QT_TRANSLATE_NOOP("ParamRows", "Write MOS_OT")},
    {QT_TRANSLATE_NOOP("ParamRows", "SOC_UC"), "%", QT_TRANSLATE_NOOP("ParamRows", "Write SOC_UC")},
    {QT_TRANSLATE_NOOP("ParamRows", "Environment_OT"), "℃",
     QT_TRANSLATE_NOOP("ParamRows", "Write Environment_OT")},
    {QT_TRANSLATE_NOOP("ParamRows", "Environment_UT"), "℃",
     QT_TRANSLATE_NOOP("ParamRows", "Write Environment_UT")},
    {QT_TRANSLATE_NOOP("ParamRows", "Cell_DIFT"), "℃",
     QT_TRANSLATE_NOOP("ParamRows", "Write Cell_DIFT")},
    {QT_TRANSLATE_NOOP("ParamRows", "Cell_DIFV"), "V",
     QT_TRANSLATE_NOOP("ParamRows", "Write Cell_DIFV")},
};

const RowText *rowText(int row)
{
    return row >= 0 && row < ParamRows::count ? &rowTexts[row] : nullptr;
}

QString translated(const char *source)
{
    return source ? QCoreApplication::translate("ParamRows", source) : QString();
}
} // namespace

namespace ParamRows {

QString caption(int row)
{
    const RowText *t = rowText(row);
    return translated(t ? t->caption : nullptr);
}

QString unit(int row)
{
    const RowText *t = rowText(row);
    return t ? QString::fromUtf8(t->unit) : QString();
}

QString readStatusText(int row)
{
    // The request builder shows the same text while the read is in progress.
    const RequestSpec *spec = rowText(row) ? RequestTable::find(quint8(17 + row)) : nullptr;
    return spec && spec->status ? QCoreApplication::translate("RequestBuilder", spec->status)
                                : QString();
}

QString writeStatusText(int row)
{
    const RowText *t = rowText(row);
    return translated(t ? t->write : nullptr);
}

} // namespace ParamRows
