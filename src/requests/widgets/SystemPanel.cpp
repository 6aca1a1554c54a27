#include "requests/widgets/SystemPanel.h"

#include "base/widgets/FormBinder.h"
#include "requests/SystemCommands.h"
#include "requests/SystemForm.h"
#include "state/AppState.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

struct SystemPanel::FieldSpec {
    enum Kind { Text, Check, List, Choice };
    const char *labelName;
    const char *caption; // English source text
    QString control;
    Kind kind = Text;
    // Longest text the item carries on the wire; 0 for numbers.
    int maxLength = 0;
    // The caption reads the same in both languages.
    bool fixedCaption = false;
    // A value the box must show whole.
    const char *widest = nullptr;
};

namespace {
using Field = SystemPanel::FieldSpec;

constexpr int identityBoxWidth = 124;
constexpr int numberBoxWidth = 56;
constexpr int listWidth = 84;
// Room either side of a Read or Write caption.
constexpr int buttonPadding = 14;

const QList<Field> &productFields()
{
    static const QList<Field> fields = {
        {"Label1", QT_TRANSLATE_NOOP("SystemPanel", "Project No"), SystemField::projectNumber,
         Field::Text, 24},
        {"Label2", QT_TRANSLATE_NOOP("SystemPanel", "BMS model"), SystemField::model, Field::Text,
         24},
        {"Label3", QT_TRANSLATE_NOOP("SystemPanel", "Battery ID"), SystemField::batteryId,
         Field::Text, 32},
        {"Label4", QT_TRANSLATE_NOOP("SystemPanel", "Custom"), SystemField::customText, Field::Text,
         32},
        {"Label5", QT_TRANSLATE_NOOP("SystemPanel", "IP/Web"), SystemField::ip, Field::Text, 40},
        {"Label6", QT_TRANSLATE_NOOP("SystemPanel", "Port number"), SystemField::ipPort,
         Field::Text, 10},
    };
    return fields;
}

const QList<Field> &dateFields()
{
    // The batch is up to eight bytes written as hexadecimal pairs.
    static const QList<Field> fields = {
        {"Label14", QT_TRANSLATE_NOOP("SystemPanel", "Production Date"),
         SystemField::productionDate, Field::Text, 10, false, "0000-00-00"},
        {"Label11", QT_TRANSLATE_NOOP("SystemPanel", "Shipping Date"), SystemField::shippingDate,
         Field::Text, 10, false, "0000-00-00"},
        {"Label12", QT_TRANSLATE_NOOP("SystemPanel", "Batch"), SystemField::batch, Field::Text, 16,
         false, "0D0D0D0D0D0D0D0D"},
    };
    return fields;
}

const QList<Field> &passiveBalanceFields()
{
    static const QList<Field> fields = {
        {"Label9", QT_TRANSLATE_NOOP("SystemPanel", "Enable"), SystemField::balanceEnable,
         Field::Check},
        {"Label10", QT_TRANSLATE_NOOP("SystemPanel", "open volt(V)"), SystemField::balanceOpen},
        {"Label7", QT_TRANSLATE_NOOP("SystemPanel", "Balanced diff volt(V)"),
         SystemField::balanceDiff},
        {"Label8", QT_TRANSLATE_NOOP("SystemPanel", "Closed volt(V)"), SystemField::balanceClose},
    };
    return fields;
}

const QList<Field> &countFields()
{
    static const QList<Field> fields = {
        {"Label13", QT_TRANSLATE_NOOP("SystemPanel", "Cell number"), SystemField::cellNumber},
        {"Label16", QT_TRANSLATE_NOOP("SystemPanel", "Low Cell number"),
         SystemField::lowCellNumber},
        {"Label15", QT_TRANSLATE_NOOP("SystemPanel", "NTC number"), SystemField::ntcNumber},
    };
    return fields;
}

const QList<Field> &capacityFields()
{
    static const QList<Field> fields = {
        {"Label19", "SOC(%)", SystemField::soc, Field::Text, 0, true},
        {"Label18", QT_TRANSLATE_NOOP("SystemPanel", "Cycles Number"), SystemField::cycles},
        {"Label20", QT_TRANSLATE_NOOP("SystemPanel", "Standard capacity(AH)"),
         SystemField::standardCapacity},
        {"Label21", QT_TRANSLATE_NOOP("SystemPanel", "Full capacity(AH)"),
         SystemField::fullCapacity},
        {"Label22", QT_TRANSLATE_NOOP("SystemPanel", "80% attenuation cycles"),
         SystemField::attenuationCycles},
    };
    return fields;
}

// Each calibration has its own Read and Write.
struct CalibrationItem {
    Field field;
    int read;
    int write;
};

const QList<CalibrationItem> &calibrationItems()
{
    static const QList<CalibrationItem> items = {
        {{"Label26", QT_TRANSLATE_NOOP("SystemPanel", "Zero calibration"),
          SystemField::zeroCalibration},
         21,
         22},
        {{"Label28", QT_TRANSLATE_NOOP("SystemPanel", "Charging calibration"),
          SystemField::chargeCalibration},
         20,
         19},
        {{"Label27", QT_TRANSLATE_NOOP("SystemPanel", "Discharge calibration"),
          SystemField::dischargeCalibration},
         24,
         23},
        {{"Label17", QT_TRANSLATE_NOOP("SystemPanel", "Sampling resistor(mR)"),
          SystemField::samplingResistor},
         27,
         28},
    };
    return items;
}

const QList<Field> &serialFields()
{
    static const QList<Field> fields = {
        {"Label", "USART", SystemField::usart, Field::List, 0, true},
        {"Label23", QT_TRANSLATE_NOOP("SystemPanel", "Baud rate"), SystemField::baud, Field::List},
        {"Label24", QT_TRANSLATE_NOOP("SystemPanel", "Parity bit"), SystemField::parity,
         Field::Choice},
    };
    return fields;
}

const QList<Field> &moduleFields()
{
    static const QList<Field> fields = {
        {"Label35", QT_TRANSLATE_NOOP("SystemPanel", "BMSADD"), SystemField::moduleAddress,
         Field::Text, 3},
        {"Label37", QT_TRANSLATE_NOOP("SystemPanel", "Current limiting mode"),
         SystemField::limitMode, Field::Text, 3},
        {"Label36", QT_TRANSLATE_NOOP("SystemPanel", "Current limiting enable"),
         SystemField::limitEnable, Field::Check},
        {"Label34", QT_TRANSLATE_NOOP("SystemPanel", "Current limiting threshold(A)"),
         SystemField::limitThreshold},
        {"Label38", QT_TRANSLATE_NOOP("SystemPanel", "Current limiting time(S)"),
         SystemField::limitTime},
    };
    return fields;
}

// Active balancing: one row per group (charge, discharge, rest), each with its
// enable box and five values under shared column captions.
constexpr const char *activeGroupLabels[3] = {"Label43", "Label42", "Label44"};
constexpr const char *activeGroupCaptions[3] = {QT_TRANSLATE_NOOP("SystemPanel", "C_Bla_En"),
                                                QT_TRANSLATE_NOOP("SystemPanel", "D_Bla_En"),
                                                QT_TRANSLATE_NOOP("SystemPanel", "Idle_Bla_En")};
constexpr const char *activeColumnLabels[5] = {"Label45", "Label47", "Label48", "Label50",
                                               "Label51"};
constexpr const char *activeColumnCaptions[5] = {
    QT_TRANSLATE_NOOP("SystemPanel", "Open_V"), QT_TRANSLATE_NOOP("SystemPanel", "Close_V"),
    QT_TRANSLATE_NOOP("SystemPanel", "Open_DIV"), QT_TRANSLATE_NOOP("SystemPanel", "Close_DIV"),
    QT_TRANSLATE_NOOP("SystemPanel", "Time(S)")};

// Entries of the parity list, as the link page names them.
constexpr const char *parityCaptions[3] = {QT_TRANSLATE_NOOP("SystemPanel", "None"),
                                           QT_TRANSLATE_NOOP("SystemPanel", "Even"),
                                           QT_TRANSLATE_NOOP("SystemPanel", "Odd")};

QString parityDisplay(const QString &entry)
{
    for (const char *source : parityCaptions)
        if (entry == QLatin1String(source))
            return SystemPanel::tr(source);
    return entry;
}

} // namespace

SystemPanel::SystemPanel(AppState &appState, SystemCommands &systemCommands, QWidget *parent)
    : Panel(parent), m_state(appState), m_commands(systemCommands)
{
    setObjectName(QStringLiteral("SystemPanel"));

    // Three columns of groups; active balancing spans the foot of the second
    // and third.
    auto *page = new QGridLayout(this);
    page->setContentsMargins(4, 2, 4, 2);
    page->setHorizontalSpacing(6);
    page->setVerticalSpacing(4);
    QVBoxLayout *columns[3];
    for (int c = 0; c < 3; ++c) {
        columns[c] = new QVBoxLayout;
        columns[c]->setSpacing(4);
        page->addLayout(columns[c], 0, c, c == 0 ? 2 : 1, 1);
    }
    page->setColumnStretch(3, 1);
    page->setRowStretch(2, 1);

    {
        QGridLayout *grid =
            addGroup(columns[0], "Frame2", QT_TRANSLATE_NOOP("SystemPanel", "Product Settings"));
        addFields(grid, 0, productFields());
        for (int i = 0; i < 4; ++i)
            addButtonPair(grid, i, 1, 2 * i + 1, 2 * i + 2, Qt::Horizontal);
        addButtonPair(grid, 4, 2, 9, 10, Qt::Vertical);
    }
    {
        QGridLayout *grid =
            addGroup(columns[0], "Frame7", QT_TRANSLATE_NOOP("SystemPanel", "Calibration current"));
        int row = 0;
        for (const CalibrationItem &item : calibrationItems()) {
            addFields(grid, row, {item.field});
            addButtonPair(grid, row, 1, item.read, item.write, Qt::Horizontal);
            ++row;
        }
    }
    {
        QGridLayout *grid =
            addGroup(columns[0], "Frame5", QT_TRANSLATE_NOOP("SystemPanel", "Number"));
        addFields(grid, 0, countFields());
        addButtonPair(grid, 0, 3, 16, 15, Qt::Vertical);
    }
    {
        QGridLayout *grid =
            addGroup(columns[0], "Frame4", QT_TRANSLATE_NOOP("SystemPanel", "Manufacturing Date"));
        addFields(grid, 0, dateFields());
        addButtonPair(grid, 0, 3, 14, 13, Qt::Vertical);
    }

    {
        QGridLayout *grid =
            addGroup(columns[1], "Frame6", QT_TRANSLATE_NOOP("SystemPanel", "Capacity dependent"));
        addFields(grid, 0, capacityFields());
        addButtonPair(grid, 0, 5, 17, 18, Qt::Vertical);
    }
    {
        QGridLayout *grid = addGroup(columns[1], "Frame3",
                                     QT_TRANSLATE_NOOP("SystemPanel", "Passive Balanced Settings"));
        addFields(grid, 0, passiveBalanceFields());
        addButtonPair(grid, 0, 4, 11, 12, Qt::Vertical);
    }
    {
        QGridLayout *grid =
            addGroup(columns[1], "Frame9", QT_TRANSLATE_NOOP("SystemPanel", "Baud rate"));
        addFields(grid, 0, serialFields());
        addButtonPair(grid, 0, 3, 29, 30, Qt::Vertical);
    }
    {
        QGridLayout *grid =
            addGroup(columns[1], "Frame8", QT_TRANSLATE_NOOP("SystemPanel", "BMS time"));
        auto *time = new QLabel(grid->parentWidget());
        time->setFrameShape(QFrame::StyledPanel);
        time->setFrameShadow(QFrame::Sunken);
        time->setAlignment(Qt::AlignCenter);
        time->setTextInteractionFlags(Qt::TextSelectableByMouse);
        // Room for "yyyy-mm-dd hh:mm:ss".
        time->setMinimumWidth(
            time->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00 00:00:00")) + 12);
        FormBinder::bindLabel(time, m_state.system, SystemField::bmsTime);
        m_namedFields.append({time, grid->parentWidget()});
        grid->addWidget(time, 0, 0, 1, 2);
        addButtonPair(grid, 0, 1, 26, 25, Qt::Horizontal);
    }

    {
        QGridLayout *grid = addGroup(columns[2], "Frame12",
                                     QT_TRANSLATE_NOOP("SystemPanel", "Energy storage module"));
        addFields(grid, 0, moduleFields());
        addButtonPair(grid, 0, 5, 35, 36, Qt::Vertical);
    }
    {
        QGridLayout *grid = addGroup(columns[2], "Frame13",
                                     QT_TRANSLATE_NOOP("SystemPanel", "PreDischarge Setting"));
        addOptions(grid, 0, 1, SystemField::preDischarge,
                   {QT_TRANSLATE_NOOP("SystemPanel", "No PreDischarge"),
                    QT_TRANSLATE_NOOP("SystemPanel", "PreDischarge method1"), "Val(2)"});
        // The caption is long: it gets a row of its own above its value.
        const FieldSpec time{
            "Label46", QT_TRANSLATE_NOOP("SystemPanel", "PreDisMode switch NormalMode time(S)"),
            SystemField::preDischargeTime};
        QLabel *label = addLabel(grid->parentWidget(), time.labelName, time.caption);
        QWidget *field = makeField(time, grid->parentWidget());
        label->setBuddy(field);
        m_namedFields.append({field, label});
        grid->addWidget(label, 3, 0, 1, 3);
        grid->addWidget(field, 4, 0, 1, 2, Qt::AlignLeft);
        addButtonPair(grid, 0, 3, 37, 38, Qt::Vertical);
    }
    {
        QGridLayout *grid =
            addGroup(columns[2], "Frame10", QT_TRANSLATE_NOOP("SystemPanel", "Charging handshake"));
        addOptions(grid, 0, 2, SystemField::handshake,
                   {QT_TRANSLATE_NOOP("SystemPanel", "Disable(0)"),
                    QT_TRANSLATE_NOOP("SystemPanel", "Enable(1)"), "Val(2)"});
        addButtonPair(grid, 0, 2, 32, 31, Qt::Vertical);
    }
    {
        QGridLayout *grid =
            addGroup(columns[2], "Frame11", QT_TRANSLATE_NOOP("SystemPanel", "Custom Selection"));
        addOptions(grid, 0, 2, SystemField::customSelection, {"Val(0)", "Val(1)", "Val(2)"});
        addButtonPair(grid, 0, 2, 33, 34, Qt::Vertical);
    }
    for (QVBoxLayout *column : columns)
        column->addStretch(1);

    auto *active = new QVBoxLayout;
    page->addLayout(active, 1, 1, 1, 2);
    {
        QGridLayout *grid = addGroup(
            active, "Frame14", QT_TRANSLATE_NOOP("SystemPanel", "Active Balanced Settings(V)"));
        addActiveBalancing(grid);
        addButtonPair(grid, 1, 3, 39, 40, Qt::Vertical, 8);
    }

    applyCaptions();
}

QGridLayout *SystemPanel::addGroup(QVBoxLayout *column, const char *frameName, const char *title)
{
    auto *box = new QGroupBox(this);
    box->setObjectName(QString::fromLatin1(frameName));
    m_captions.append({box, title});
    column->addWidget(box);
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(6, 2, 6, 4);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    return grid;
}

QLabel *SystemPanel::addLabel(QWidget *parent, const char *objectName, const char *source,
                              bool translate)
{
    auto *label = new QLabel(QString::fromUtf8(source), parent);
    label->setObjectName(QString::fromUtf8(objectName));
    if (translate)
        m_captions.append({label, source});
    return label;
}

QWidget *SystemPanel::makeField(const FieldSpec &spec, QWidget *parent)
{
    Form &form = m_state.system;
    switch (spec.kind) {
    case FieldSpec::Check: {
        auto *box = new QCheckBox(parent);
        FormBinder::bindCheckBox(box, form, spec.control);
        return box;
    }
    case FieldSpec::List: {
        auto *combo = new QComboBox(parent);
        FormBinder::bindEditableCombo(combo, form, spec.control);
        combo->setFixedWidth(listWidth);
        return combo;
    }
    case FieldSpec::Choice: {
        auto *combo = new QComboBox(parent);
        FormBinder::bindCombo(combo, form, spec.control, parityDisplay);
        combo->setFixedWidth(listWidth);
        m_parity = combo;
        return combo;
    }
    case FieldSpec::Text:
        break;
    }
    auto *edit = new QLineEdit(parent);
    if (spec.maxLength > 0) {
        // What does not fit the item on the wire would be cut off unseen.
        edit->setMaxLength(spec.maxLength);
    }
    int width = spec.maxLength > 10 ? identityBoxWidth : numberBoxWidth;
    if (spec.widest) {
        // The box's frame and text margins take about a character more.
        const QFontMetrics fm = edit->fontMetrics();
        width = std::max(width, fm.horizontalAdvance(QLatin1String(spec.widest)) +
                                    fm.horizontalAdvance(QLatin1Char('0')) + 8);
    }
    edit->setFixedWidth(width);
    FormBinder::bindLineEdit(edit, form, spec.control);
    return edit;
}

void SystemPanel::addFields(QGridLayout *grid, int firstRow, const QList<FieldSpec> &fields)
{
    QWidget *box = grid->parentWidget();
    int row = firstRow;
    for (const FieldSpec &spec : fields) {
        QLabel *label = addLabel(box, spec.labelName, spec.caption, !spec.fixedCaption);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QWidget *field = makeField(spec, box);
        label->setBuddy(field);
        m_namedFields.append({field, label});
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1, Qt::AlignLeft);
        ++row;
    }
}

void SystemPanel::addButtonPair(QGridLayout *grid, int row, int rowSpan, int read, int write,
                                Qt::Orientation orientation, int column)
{
    auto *pair = new QWidget(grid->parentWidget());
    QBoxLayout *layout = orientation == Qt::Horizontal
                             ? static_cast<QBoxLayout *>(new QHBoxLayout(pair))
                             : new QVBoxLayout(pair);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (int n : {read, write}) {
        auto *button = new QPushButton(pair);
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        FormBinder::bindEnabled(button, m_state.system, SystemField::command(n));
        connect(button, &QPushButton::clicked, this, [this, n] { m_commands.press(n); });
        layout->addWidget(button);
        m_buttons[n] = button;
    }
    m_captions.append({m_buttons[read], QT_TRANSLATE_NOOP("SystemPanel", "Read")});
    m_captions.append({m_buttons[write], QT_TRANSLATE_NOOP("SystemPanel", "Write")});
    grid->addWidget(pair, row, column, rowSpan, 1, Qt::AlignRight | Qt::AlignVCenter);
    // Spare width goes between the values and the buttons.
    grid->setColumnStretch(column - 1, 1);
}

void SystemPanel::addOptions(QGridLayout *grid, int row, int perRow, const QString &control,
                             const QList<const char *> &sources)
{
    QWidget *box = grid->parentWidget();
    auto *options = new QWidget(box);
    auto *layout = new QGridLayout(options);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(8);
    layout->setVerticalSpacing(2);
    auto *group = new QButtonGroup(options);
    for (int i = 0; i < int(sources.size()); ++i) {
        auto *button = new QRadioButton(QString::fromUtf8(sources[i]), options);
        group->addButton(button, i);
        layout->addWidget(button, i / perRow, i % perRow);
        m_captions.append({button, sources[i]});
    }
    FormBinder::bindOptions(group, m_state.system, control);
    grid->addWidget(options, row, 0, (int(sources.size()) + perRow - 1) / perRow, 2);
}

void SystemPanel::addActiveBalancing(QGridLayout *grid)
{
    QWidget *box = grid->parentWidget();
    Form &form = m_state.system;
    QLabel *columnCaptions[5];
    for (int c = 0; c < 5; ++c) {
        columnCaptions[c] = addLabel(box, activeColumnLabels[c], activeColumnCaptions[c]);
        columnCaptions[c]->setAlignment(Qt::AlignCenter);
        grid->addWidget(columnCaptions[c], 0, 2 + c);
    }
    for (int g = 0; g < 3; ++g) {
        const int row = g + 1;
        QLabel *groupLabel = addLabel(box, activeGroupLabels[g], activeGroupCaptions[g]);
        groupLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto *enable = new QCheckBox(box);
        FormBinder::bindCheckBox(enable, form, SystemField::activeEnable(g));
        groupLabel->setBuddy(enable);
        m_namedFields.append({enable, groupLabel});
        grid->addWidget(groupLabel, row, 0);
        grid->addWidget(enable, row, 1);
        for (int c = 0; c < 5; ++c) {
            auto *edit = new QLineEdit(box);
            edit->setFixedWidth(numberBoxWidth);
            FormBinder::bindLineEdit(edit, form, SystemField::activeValue(g, c));
            m_namedFields.append({edit, groupLabel, columnCaptions[c]});
            grid->addWidget(edit, row, 2 + c);
        }
    }
}

void SystemPanel::applyCaptions()
{
    for (const Caption &c : std::as_const(m_captions)) {
        if (!c.source)
            continue;
        const QString text = tr(c.source);
        if (auto *box = qobject_cast<QGroupBox *>(c.widget))
            box->setTitle(text);
        else if (auto *label = qobject_cast<QLabel *>(c.widget))
            label->setText(text);
        else if (auto *button = qobject_cast<QAbstractButton *>(c.widget))
            button->setText(text);
    }
    if (m_parity)
        FormBinder::retranslateCombo(m_parity, m_state.system, SystemField::parity);

    auto captionOf = [](const QWidget *w) {
        if (auto *box = qobject_cast<const QGroupBox *>(w))
            return box->title().trimmed();
        if (auto *label = qobject_cast<const QLabel *>(w))
            return label->text().trimmed();
        return QString();
    };
    for (const NamedField &f : std::as_const(m_namedFields)) {
        QString name = captionOf(f.caption);
        if (f.column)
            name += QLatin1Char(' ') + captionOf(f.column);
        nameField(f.field, name);
    }

    const QFontMetrics fm = fontMetrics();
    const int buttonWidth =
        std::max(fm.horizontalAdvance(tr("Read")), fm.horizontalAdvance(tr("Write"))) +
        buttonPadding;
    for (int n = 1; n <= buttonCount; ++n) {
        m_buttons[n]->setFixedWidth(buttonWidth);
        m_buttons[n]->setAccessibleName(SystemCommands::statusText(n).trimmed());
    }
}
