#include "requests/widgets/ParamPanel.h"

#include "base/widgets/FormBinder.h"
#include "requests/ParamCommands.h"
#include "requests/ParamRows.h"
#include "state/AppState.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
enum class CellKind { Caption, Check, Value, ValueUnit, SecondsUnit };

// One grid column: its header, what each row shows in it and, for check
// boxes and texts, which of the row's FX(2r + offset) or CS(5r + offset) it is.
struct Column {
    const char *header;
    const char *headerName;
    CellKind kind;
    int offset;
};

constexpr Column gridColumns[ParamPanel::columnCount] = {
    {QT_TRANSLATE_NOOP("ParamPanel", "Name"), "Label_01", CellKind::Caption, 0},
    {QT_TRANSLATE_NOOP("ParamPanel", "AlarmEnable"), "Label_02", CellKind::Check, 0},
    {QT_TRANSLATE_NOOP("ParamPanel", "AlaVal"), "Label_03", CellKind::Value, 0},
    {QT_TRANSLATE_NOOP("ParamPanel", "Unit"), "Label_04", CellKind::ValueUnit, 0},
    {QT_TRANSLATE_NOOP("ParamPanel", "AlaDelay"), "Label_05", CellKind::Value, 1},
    {QT_TRANSLATE_NOOP("ParamPanel", "Unit"), "Label_06", CellKind::SecondsUnit, 0},
    {QT_TRANSLATE_NOOP("ParamPanel", "ProtEnable"), "Label_07", CellKind::Check, 1},
    {QT_TRANSLATE_NOOP("ParamPanel", "ProtVal"), "Label_08", CellKind::Value, 2},
    {QT_TRANSLATE_NOOP("ParamPanel", "Unit"), "Label_09", CellKind::ValueUnit, 0},
    {QT_TRANSLATE_NOOP("ParamPanel", "ProtRecVal"), "Label_10", CellKind::Value, 3},
    {QT_TRANSLATE_NOOP("ParamPanel", "Unit"), "Label_11", CellKind::ValueUnit, 0},
    {QT_TRANSLATE_NOOP("ParamPanel", "ProtDelay"), "Label_12", CellKind::Value, 4},
    {QT_TRANSLATE_NOOP("ParamPanel", "Unit"), "Label_13", CellKind::SecondsUnit, 0},
};

// Names of the row caption labels, row 0 first.
constexpr const char *rowCaptionNames[ParamField::rows] = {
    "Label14", "Label15", "Label2", "Label3", "Label16", "Label17", "Label18", "Label19", "Label20",
    "Label4",  "Label5",  "Label6", "Label7", "Label8",  "Label9",  "Label10", "Label11"};

// Wide enough for a signed value with three decimals ("-40.000").
constexpr int valueBoxWidth = 58;
} // namespace

ParamPanel::ParamPanel(AppState &appState, ParamCommands &paramCommands, QWidget *parent)
    : Panel(parent), m_state(appState), m_commands(paramCommands)
{
    setObjectName(QStringLiteral("ParamPanel"));
    ParamCommands &commands = m_commands;

    m_alarmFrame = new QGroupBox(this);
    m_alarmFrame->setObjectName(QStringLiteral("告警设置"));
    auto *grid = new QGridLayout(m_alarmFrame);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);

    for (int c = 0; c < columnCount; ++c) {
        QLabel *header = makeLabel(QString::fromLatin1(gridColumns[c].headerName));
        header->setAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
        grid->addWidget(header, 0, c);
        m_headers[c] = header;
    }
    for (int r = 0; r < ParamField::rows; ++r) {
        Row &row = m_rows[r];
        for (int c = 0; c < columnCount; ++c) {
            row.cells[c] = makeCell(r, c);
            const CellKind kind = gridColumns[c].kind;
            grid->addWidget(row.cells[c], r + 1, c,
                            kind == CellKind::Caption ? Qt::AlignLeft | Qt::AlignVCenter
                                                      : Qt::AlignCenter);
        }
        row.read = makeButton(ParamField::readButton(r), [&commands, r] { commands.readRow(r); });
        row.write =
            makeButton(ParamField::writeButton(r), [&commands, r] { commands.writeRow(r); });
        grid->addWidget(row.read, r + 1, columnCount);
        grid->addWidget(row.write, r + 1, columnCount + 1);
    }

    m_shortFrame = new QGroupBox(this);
    m_shortFrame->setObjectName(QStringLiteral("短路保护"));
    auto *shortRow = new QHBoxLayout(m_shortFrame);
    shortRow->setContentsMargins(6, 4, 6, 4);
    shortRow->setSpacing(4);
    m_shortVoltageLabel = makeLabel(QStringLiteral("Label12"));
    m_shortDelayLabel = makeLabel(QStringLiteral("Label13"));
    m_shortVoltage = makeLevelBox(ParamField::shortVoltageLevel, m_shortVoltageLabel);
    m_shortDelay = makeLevelBox(ParamField::shortDelayLevel, m_shortDelayLabel);
    m_shortRead = makeButton(ParamField::shortRead, [&commands] { commands.readShortCircuit(); });
    m_shortWrite =
        makeButton(ParamField::shortWrite, [&commands] { commands.writeShortCircuit(); });
    shortRow->addWidget(m_shortVoltageLabel);
    shortRow->addWidget(m_shortVoltage);
    shortRow->addSpacing(12);
    shortRow->addWidget(m_shortDelayLabel);
    shortRow->addWidget(m_shortDelay);
    shortRow->addSpacing(12);
    shortRow->addWidget(m_shortRead);
    shortRow->addWidget(m_shortWrite);

    m_readAll = makeButton(ParamField::readAll, [&commands] { commands.readAll(); });
    m_writeAll = makeButton(ParamField::writeAll, [&commands] { commands.writeAll(); });
    m_clear = makeButton(ParamField::clear, [&commands] { commands.clear(); });

    auto *bottom = new QHBoxLayout;
    bottom->setSpacing(6);
    bottom->addWidget(m_shortFrame);
    bottom->addStretch(1);
    for (QPushButton *b : {m_readAll, m_writeAll, m_clear}) {
        b->setMinimumWidth(84);
        bottom->addWidget(b, 0, Qt::AlignBottom);
    }

    auto *page = new QVBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 4);
    page->setSpacing(6);
    page->addWidget(m_alarmFrame);
    page->addLayout(bottom);
    page->addStretch(1);

    applyCaptions();
}

QWidget *ParamPanel::makeCell(int row, int column)
{
    Form &form = m_state.param;
    const Column &col = gridColumns[column];
    switch (col.kind) {
    case CellKind::Caption:
        return makeLabel(QString::fromLatin1(rowCaptionNames[row]));
    case CellKind::Check: {
        auto *box = new QCheckBox(m_alarmFrame);
        FormBinder::bindCheckBox(box, form, ParamField::fx(2 * row + col.offset));
        return box;
    }
    case CellKind::Value: {
        auto *edit = new QLineEdit(m_alarmFrame);
        edit->setFixedWidth(valueBoxWidth);
        edit->setAlignment(Qt::AlignCenter);
        FormBinder::bindLineEdit(edit, form, ParamField::cs(5 * row + col.offset));
        return edit;
    }
    case CellKind::ValueUnit:
        return new QLabel(ParamRows::unit(row), m_alarmFrame);
    case CellKind::SecondsUnit:
        break;
    }
    return new QLabel(QStringLiteral("S"), m_alarmFrame);
}

QPushButton *ParamPanel::makeButton(const QString &control, std::function<void()> action)
{
    auto *button = new QPushButton(this);
    FormBinder::bindEnabled(button, m_state.param, control);
    connect(button, &QPushButton::clicked, this, [action = std::move(action)] { action(); });
    return button;
}

QLabel *ParamPanel::makeLabel(const QString &objectName)
{
    auto *label = new QLabel(this);
    label->setObjectName(objectName);
    return label;
}

QLineEdit *ParamPanel::makeLevelBox(const QString &control, QLabel *label)
{
    auto *edit = new QLineEdit(this);
    // A level is one byte on the wire.
    edit->setMaxLength(3);
    edit->setFixedWidth(44);
    edit->setAlignment(Qt::AlignCenter);
    FormBinder::bindLineEdit(edit, m_state.param, control);
    label->setBuddy(edit);
    return edit;
}

void ParamPanel::applyCaptions()
{
    m_alarmFrame->setTitle(tr("Alarm settings"));
    for (int c = 0; c < columnCount; ++c)
        m_headers[c]->setText(tr(gridColumns[c].header));

    for (int r = 0; r < ParamField::rows; ++r) {
        Row &row = m_rows[r];
        const QString caption = ParamRows::caption(r);
        static_cast<QLabel *>(row.cells[0])->setText(caption);
        for (int c = 1; c < columnCount; ++c) {
            const CellKind kind = gridColumns[c].kind;
            if (kind == CellKind::Check || kind == CellKind::Value)
                row.cells[c]->setAccessibleName(caption + QLatin1Char(' ') +
                                                tr(gridColumns[c].header).trimmed());
        }
        row.read->setText(tr("Read"));
        row.write->setText(tr("Write"));
        row.read->setAccessibleName(ParamRows::readStatusText(r).trimmed());
        row.write->setAccessibleName(ParamRows::writeStatusText(r).trimmed());
    }

    m_readAll->setText(tr("Read All"));
    m_writeAll->setText(tr("Write All"));
    m_clear->setText(tr("clear"));

    m_shortFrame->setTitle(tr("Short circuit protection"));
    m_shortVoltageLabel->setText(tr("Short circuit voltage level"));
    m_shortDelayLabel->setText(tr("Short circuit delay level"));
    m_shortVoltage->setAccessibleName(m_shortVoltageLabel->text().trimmed());
    m_shortDelay->setAccessibleName(m_shortDelayLabel->text().trimmed());
    m_shortRead->setText(tr("Read"));
    m_shortWrite->setText(tr("Write"));
    m_shortRead->setAccessibleName(tr("Read short circuit protection"));
    m_shortWrite->setAccessibleName(tr("Write short circuit protection"));
}
