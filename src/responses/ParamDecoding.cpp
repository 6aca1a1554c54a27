#include "responses/ParamDecoding.h"

#include "base/Form.h"
#include "requests/ParamForm.h"
#include "responses/FieldDecoding.h"

namespace {
struct RowScale {
    double scale;
    quint8 signedMode;
};

// Unit of the three threshold values of each row: cell volts, pack volts,
// amps (signed), then temperatures and SOC in tenths (signed).
RowScale rowScale(int row)
{
    if (row <= 1 || row == 16)
        return {0.001, 0};
    if (row <= 3)
        return {0.01, 0};
    if (row <= 6)
        return {0.01, 1};
    return {0.1, 1};
}

enum class Column { Value, Delay, Enable };

struct RowField {
    int index;
    Column column;
    int offset; // CS(5r + offset) or FX(2r + offset)
};

// Wire order of a row, which is also the order of the row write.
const RowField rowFields[] = {
    {7, Column::Value, 2},   // ProtVal
    {9, Column::Value, 3},   // ProtRecVal
    {11, Column::Value, 0},  // AlaVal
    {13, Column::Delay, 4},  // ProtDelay
    {15, Column::Enable, 0}, // AlarmEnable
    {17, Column::Delay, 1},  // AlaDelay
    {19, Column::Enable, 1}, // ProtEnable
};
} // namespace

namespace ParamDecoding {

void decodeRow(const QByteArray &frame, int row, Form &param)
{
    const RowScale rs = rowScale(row);
    for (const RowField &f : rowFields) {
        switch (f.column) {
        case Column::Value:
            param.setText(ParamField::cs(5 * row + f.offset),
                          decodeWord(frame, f.index, rs.scale, 0, rs.signedMode));
            break;
        case Column::Delay:
            param.setText(ParamField::cs(5 * row + f.offset), decodeWord(frame, f.index, 0.01));
            break;
        case Column::Enable:
            param.setCheck(ParamField::fx(2 * row + f.offset),
                           decodeWord(frame, f.index, 1) != QLatin1String("0") ? 1 : 0);
            break;
        }
    }
}

void decodeShortCircuit(const QByteArray &frame, int, Form &param)
{
    param.setText(ParamField::shortVoltageLevel, QString::number(frameByte(frame, 7)));
    param.setText(ParamField::shortDelayLevel, QString::number(frameByte(frame, 8)));
}

} // namespace ParamDecoding
