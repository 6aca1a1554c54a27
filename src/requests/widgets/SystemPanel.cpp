#include "requests/widgets/SystemPanel.h"

#include "requests/SystemForm.h"
#include "shell/Core.h"
#include "shell/widgets/FormBinder.h"

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
};

namespace {
using Field = SystemPanel::FieldSpec;

constexpr int identityBoxWidth = 150;
constexpr int numberBoxWidth = 64;
constexpr int buttonWidth = 44;

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
         SystemField::productionDate, Field::Text, 10},
        {"Label11", QT_TRANSLATE_NOOP("SystemPanel", "Shipping Date"), SystemField::shippingDate,
         Field::Text, 10},
        {"Label12", QT_TRANSLATE_NOOP("SystemPanel", "Batch"), SystemField::batch, Field::Text, 16},
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
// enable box and five values under their own column captions.
constexpr const char *activeGroupLabels[3] = {"Label43", "Label42", "Label44"};
constexpr const char *activeGroupCaptions[3] = {QT_TRANSLATE_NOOP("SystemPanel", "C_Bla_En"),
                                                QT_TRANSLATE_NOOP("SystemPanel", "D_Bla_En"),
                                                QT_TRANSLATE_NOOP("SystemPanel", "Idle_Bla_En")};
constexpr const char *activeColumnLabels[3][5] = {
    {"Label45", "Label47", "Label48", "Label50", "Label51"},
    {"Label54", "Label49", "Label52", "Label53", "Label56"},
    {"Label57", "Label60", "Label55", "Label58", "Label59"}};
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

QGridLayout *groupGrid(QGroupBox *box)
{
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(6, 2, 6, 4);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    return grid;
}
} // namespace

SystemPanel::SystemPanel(Core &core, QWidget *parent) : Panel(core, parent)
{
    setObjectName(QStringLiteral("SystemPanel"));

    auto *page = new QGridLayout(this);
    page->setContentsMargins(4, 2, 4, 2);
    page->setHorizontalSpacing(6);
    page->setVerticalSpacing(2);

    // Column 0: identity.
    QGroupBox *product =
        addGroup(page, 0, 0, 1, "Frame2", QT_TRANSLATE_NOOP("SystemPanel", "Product Settings"));
    {
        QGridLayout *grid = groupGrid(product);
        addFields(grid, 0, productFields());
        for (int i = 0; i < 4; ++i)
            addButtonPair(grid, i, 2, 1, 2 * i + 1, 2 * i + 2,
                          grid->itemAtPosition(i, 0)->widget());
        addButtonPair(grid, 4, 2, 2, 9, 10, grid->itemAtPosition(4, 0)->widget());
    }
    QGroupBox *dates =
        addGroup(page, 1, 0, 1, "Frame4", QT_TRANSLATE_NOOP("SystemPanel", "Manufacturing Date"));
    {
        QGridLayout *grid = groupGrid(dates);
        addFields(grid, 0, dateFields());
        addButtonPair(grid, 0, 2, 3, 14, 13, grid->itemAtPosition(0, 0)->widget());
    }
    QGroupBox *passive = addGroup(page, 2, 0, 1, "Frame3",
                                  QT_TRANSLATE_NOOP("SystemPanel", "Passive Balanced Settings"));
    {
        QGridLayout *grid = groupGrid(passive);
        addFields(grid, 0, passiveBalanceFields());
        addButtonPair(grid, 0, 2, 4, 11, 12, passive);
    }
    QGroupBox *counts =
        addGroup(page, 3, 0, 1, "Frame5", QT_TRANSLATE_NOOP("SystemPanel", "Number"));
    {
        QGridLayout *grid = groupGrid(counts);
        addFields(grid, 0, countFields());
        addButtonPair(grid, 0, 2, 3, 16, 15, counts);
    }

    // Column 1: capacity, calibration, clock and the BMS's own serial line.
    QGroupBox *capacity =
        addGroup(page, 0, 1, 1, "Frame6", QT_TRANSLATE_NOOP("SystemPanel", "Capacity dependent"));
    {
        QGridLayout *grid = groupGrid(capacity);
        addFields(grid, 0, capacityFields());
        addButtonPair(grid, 0, 2, 5, 17, 18, capacity);
    }
    QGroupBox *calibration =
        addGroup(page, 1, 1, 1, "Frame7", QT_TRANSLATE_NOOP("SystemPanel", "Calibration current"));
    {
        QGridLayout *grid = groupGrid(calibration);
        int row = 0;
        for (const CalibrationItem &item : calibrationItems()) {
            addFields(grid, row, {item.field});
            addButtonPair(grid, row, 2, 1, item.read, item.write,
                          grid->itemAtPosition(row, 0)->widget());
            ++row;
        }
    }
    QGroupBox *serial =
        addGroup(page, 2, 1, 1, "Frame9", QT_TRANSLATE_NOOP("SystemPanel", "Baud rate"));
    {
        QGridLayout *grid = groupGrid(serial);
        addFields(grid, 0, serialFields());
        addButtonPair(grid, 0, 2, 3, 29, 30, serial);
    }
    QGroupBox *clock =
        addGroup(page, 3, 1, 1, "Frame8", QT_TRANSLATE_NOOP("SystemPanel", "BMS time"));
    {
        QGridLayout *grid = groupGrid(clock);
        m_timeLabel = new QLabel(clock);
        m_timeLabel->setFrameShape(QFrame::StyledPanel);
        m_timeLabel->setFrameShadow(QFrame::Sunken);
        m_timeLabel->setAlignment(Qt::AlignCenter);
        m_timeLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
        // Room for "yyyy-mm-dd hh:mm:ss".
        m_timeLabel->setMinimumWidth(
            m_timeLabel->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00 00:00:00")) +
            12);
        FormBinder::bindLabel(m_timeLabel, m_core.state.system, SystemField::bmsTime);
        m_namedFields.append({m_timeLabel, clock});
        grid->addWidget(m_timeLabel, 0, 0, 1, 2);
        addButtonPair(grid, 0, 2, 1, 26, 25, clock);
    }

    // Column 2: option groups, module settings and active balancing.
    QGroupBox *handshake =
        addGroup(page, 0, 2, 1, "Frame10", QT_TRANSLATE_NOOP("SystemPanel", "Charging handshake"));
    {
        QGridLayout *grid = groupGrid(handshake);
        addOptions(grid, 0, SystemField::handshake,
                   {QT_TRANSLATE_NOOP("SystemPanel", "Disable(0)"),
                    QT_TRANSLATE_NOOP("SystemPanel", "Enable(1)"), "Val(2)"});
        addButtonPair(grid, 0, 3, 1, 32, 31, handshake);
    }
    QGroupBox *custom =
        addGroup(page, 1, 2, 1, "Frame11", QT_TRANSLATE_NOOP("SystemPanel", "Custom Selection"));
    {
        QGridLayout *grid = groupGrid(custom);
        addOptions(grid, 0, SystemField::customSelection, {"Val(0)", "Val(1)", "Val(2)"});
        addButtonPair(grid, 0, 3, 1, 33, 34, custom);
    }
    QGroupBox *module = addGroup(page, 2, 2, 1, "Frame12",
                                 QT_TRANSLATE_NOOP("SystemPanel", "Energy storage module"));
    {
        QGridLayout *grid = groupGrid(module);
        addFields(grid, 0, moduleFields());
        addButtonPair(grid, 0, 2, 5, 35, 36, module);
    }
    QGroupBox *pre = addGroup(page, 3, 2, 1, "Frame13",
                              QT_TRANSLATE_NOOP("SystemPanel", "PreDischarge Setting"));
    {
        QGridLayout *grid = groupGrid(pre);
        addOptions(grid, 0, SystemField::preDischarge,
                   {QT_TRANSLATE_NOOP("SystemPanel", "No PreDischarge"),
                    QT_TRANSLATE_NOOP("SystemPanel", "PreDischarge method1"), "Val(2)"});
        addFields(
            grid, 1,
            {{"Label46", QT_TRANSLATE_NOOP("SystemPanel", "PreDisMode switch NormalMode time(S)"),
              SystemField::preDischargeTime}});
        addButtonPair(grid, 0, 3, 2, 37, 38, pre);
    }
    QGroupBox *active = addGroup(page, 4, 0, 1, "Frame14",
                                 QT_TRANSLATE_NOOP("SystemPanel", "Active Balanced Settings(V)"));
    page->removeWidget(active);
    page->addWidget(active, 4, 0, 1, 3);
    {
        QGridLayout *grid = groupGrid(active);
        addActiveBalancing(grid);
        addButtonPair(grid, 0, 11, 2, 39, 40, active);
    }
    page->setRowStretch(5, 1);

    applyCaptions();
}

QGroupBox *SystemPanel::addGroup(QGridLayout *page, int row, int column, int rowSpan,
                                 const char *frameName, const char *title)
{
    auto *box = new QGroupBox(this);
    box->setObjectName(QString::fromLatin1(frameName));
    m_captions.append({box, title});
    page->addWidget(box, row, column, rowSpan, 1);
    return box;
}

QLabel *SystemPanel::addLabel(QWidget *parent, const char *objectName, const char *source)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromUtf8(objectName));
    m_captions.append({label, source});
    return label;
}

QWidget *SystemPanel::makeField(const FieldSpec &spec, QWidget *parent)
{
    Form &form = m_core.state.system;
    switch (spec.kind) {
    case FieldSpec::Check: {
        auto *box = new QCheckBox(parent);
        FormBinder::bindCheckBox(box, form, spec.control);
        return box;
    }
    case FieldSpec::List: {
        auto *combo = new QComboBox(parent);
        FormBinder::bindEditableCombo(combo, form, spec.control);
        combo->setFixedWidth(numberBoxWidth + 30);
        return combo;
    }
    case FieldSpec::Choice: {
        auto *combo = new QComboBox(parent);
        FormBinder::bindCombo(combo, form, spec.control, parityDisplay);
        combo->setFixedWidth(numberBoxWidth + 30);
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
    edit->setFixedWidth(spec.maxLength > 10 ? identityBoxWidth : numberBoxWidth + 30);
    FormBinder::bindLineEdit(edit, form, spec.control);
    return edit;
}

void SystemPanel::addFields(QGridLayout *grid, int firstRow, const QList<FieldSpec> &fields)
{
    QWidget *box = grid->parentWidget();
    int row = firstRow;
    for (const FieldSpec &spec : fields) {
        QLabel *label = addLabel(box, spec.labelName, spec.fixedCaption ? nullptr : spec.caption);
        label->setText(QString::fromUtf8(spec.caption));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QWidget *field = makeField(spec, box);
        label->setBuddy(field);
        m_namedFields.append({field, label});
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1, Qt::AlignLeft);
        ++row;
    }
}

void SystemPanel::addButtonPair(QGridLayout *grid, int row, int column, int rowSpan, int read,
                                int write, QWidget *what)
{
    auto *pair = new QWidget(grid->parentWidget());
    auto *layout = new QHBoxLayout(pair);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (int n : {read, write}) {
        auto *button = new QPushButton(pair);
        button->setMinimumWidth(buttonWidth);
        FormBinder::bindEnabled(button, m_core.state.system, SystemField::command(n));
        connect(button, &QPushButton::clicked, this, [this, n] { m_core.systemCommands.press(n); });
        layout->addWidget(button);
        m_buttons[n] = button;
        m_buttonItem[n] = what;
    }
    m_captions.append({m_buttons[read], QT_TRANSLATE_NOOP("SystemPanel", "Read")});
    m_captions.append({m_buttons[write], QT_TRANSLATE_NOOP("SystemPanel", "Write")});
    grid->addWidget(pair, row, column, rowSpan, 1, Qt::AlignRight | Qt::AlignVCenter);
}

void SystemPanel::addOptions(QGridLayout *grid, int row, const QString &control,
                             const QList<const char *> &sources)
{
    QWidget *box = grid->parentWidget();
    auto *options = new QWidget(box);
    auto *layout = new QHBoxLayout(options);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    auto *group = new QButtonGroup(options);
    for (int i = 0; i < int(sources.size()); ++i) {
        auto *button = new QRadioButton(QString::fromUtf8(sources[i]), options);
        group->addButton(button, i);
        layout->addWidget(button);
        m_captions.append({button, sources[i]});
    }
    layout->addStretch(1);
    FormBinder::bindOptions(group, m_core.state.system, control);
    grid->addWidget(options, row, 0, 1, 2);
}

void SystemPanel::addActiveBalancing(QGridLayout *grid)
{
    QWidget *box = grid->parentWidget();
    Form &form = m_core.state.system;
    // Columns: 0 group caption, 1 enable box, then caption and value per column.
    for (int g = 0; g < 3; ++g) {
        const int row = g;
        QLabel *groupLabel = addLabel(box, activeGroupLabels[g], activeGroupCaptions[g]);
        groupLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto *enable = new QCheckBox(box);
        FormBinder::bindCheckBox(enable, form, SystemField::activeEnable(g));
        groupLabel->setBuddy(enable);
        m_namedFields.append({enable, groupLabel});
        grid->addWidget(groupLabel, row, 0);
        grid->addWidget(enable, row, 1);
        for (int c = 0; c < 5; ++c) {
            QLabel *caption = addLabel(box, activeColumnLabels[g][c], activeColumnCaptions[c]);
            caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            auto *edit = new QLineEdit(box);
            edit->setFixedWidth(numberBoxWidth - 8);
            FormBinder::bindLineEdit(edit, form, SystemField::activeValue(g, c));
            caption->setBuddy(edit);
            m_namedFields.append({edit, caption});
            grid->addWidget(caption, row, 2 + 2 * c);
            grid->addWidget(edit, row, 3 + 2 * c);
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
    if (auto *parity = qobject_cast<QComboBox *>(m_parity))
        FormBinder::retranslateCombo(parity, m_core.state.system, SystemField::parity);

    auto captionOf = [](QWidget *w) {
        if (auto *box = qobject_cast<QGroupBox *>(w))
            return box->title().trimmed();
        if (auto *label = qobject_cast<QLabel *>(w))
            return label->text().trimmed();
        return QString();
    };
    for (const NamedField &f : std::as_const(m_namedFields))
        f.field->setAccessibleName(captionOf(f.caption));

    for (int n = 1; n <= buttonCount; ++n) {
        QString name = SystemCommands::statusText(n).trimmed();
        if (name.isEmpty())
            name = m_buttons[n]->text() + QLatin1Char(' ') + captionOf(m_buttonItem[n]);
        m_buttons[n]->setAccessibleName(name);
    }
}
