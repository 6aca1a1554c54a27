#include "responses/widgets/InfoPanel.h"

#include "base/widgets/FormBinder.h"
#include "link/CommandCode.h"
#include "requests/RequestBuilder.h"
#include "responses/InfoForm.h"
#include "state/AppState.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int boxHeight = 20;
constexpr int shortBoxWidth = 56;
// Fits 24 upper-case letters and digits in full; longer texts scroll.
constexpr int identityBoxWidth = 210;

QString captionText(const char *source, const char *disambiguation, bool localised, int number)
{
    QString text = localised ? QCoreApplication::translate("InfoPanel", source, disambiguation)
                             : QString::fromUtf8(source);
    if (number > 0)
        text = text.arg(number, 2, 10, QLatin1Char('0'));
    return text;
}

// The wake button says "execute" in Chinese where the others say "switch on".
const struct {
    const char *source;
    const char *comment;
} wakeCaption = QT_TRANSLATE_NOOP3("InfoPanel", "ON", "wake button");

QGridLayout *tightGrid(QWidget *parent)
{
    auto *grid = new QGridLayout(parent);
    grid->setContentsMargins(6, 2, 6, 4);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);
    return grid;
}
} // namespace

InfoPanel::InfoPanel(AppState &appState, RequestBuilder &requests, QWidget *parent)
    : Panel(parent), m_state(appState), m_requests(requests)
{
    setObjectName(QStringLiteral("InfoPanel"));
    using namespace InfoField;

    // Versions and SOF are a few digits; the identity texts take up to 24
    // (project, model) and 32 (battery id, custom) characters, so they get a
    // row each across the width of the group.
    QGroupBox *version = addGroup(QT_TRANSLATE_NOOP("InfoPanel", "Version Information"));
    version->setObjectName(QStringLiteral("版本信息"));
    {
        QGridLayout *grid = tightGrid(version);
        addBox(version, grid, {softwareVersion, QT_TRANSLATE_NOOP("InfoPanel", "Software ver:")}, 0,
               0, shortBoxWidth);
        addBox(version, grid, {hardwareVersion, QT_TRANSLATE_NOOP("InfoPanel", "Hardware ver:")}, 0,
               1, shortBoxWidth);
        const Field identity[] = {
            {projectNumber, QT_TRANSLATE_NOOP("InfoPanel", "Item:")},
            {model, QT_TRANSLATE_NOOP("InfoPanel", "Model:")},
            {batteryId, QT_TRANSLATE_NOOP("InfoPanel", "Battery Id:")},
            {customText, QT_TRANSLATE_NOOP("InfoPanel", "Custom:")},
        };
        int line = 1;
        for (const Field &field : identity) {
            QLineEdit *box = addBox(version, grid, field, line++, 0, identityBoxWidth, 3);
            box->setMaximumWidth(QWIDGETSIZE_MAX);
        }
        addBox(version, grid, {sof, "SOF：", nullptr, false}, line, 0, shortBoxWidth);
        grid->setColumnStretch(3, 1);
    }

    QGroupBox *state = addGroup(QT_TRANSLATE_NOOP("InfoPanel", "System State"));
    state->setObjectName(QStringLiteral("Frame3"));
    QList<Field> stateFields = {
        {dischargeMos, QT_TRANSLATE_NOOP("InfoPanel", "D_mos:")},
        {chargeMos, QT_TRANSLATE_NOOP("InfoPanel", "C_mos:")},
        {preDischargeMos, QT_TRANSLATE_NOOP("InfoPanel", "Pre_mos:")},
        {heating, QT_TRANSLATE_NOOP("InfoPanel", "Heat_mos:")},
        {gps, "GPS:", nullptr, false},
        {charger, QT_TRANSLATE_NOOP("InfoPanel", "Charger:")},
        {load, QT_TRANSLATE_NOOP("InfoPanel", "Load:")},
        {currentLimiting, QT_TRANSLATE_NOOP("InfoPanel", "Cur limiting:")},
        {switch1, QT_TRANSLATE_NOOP("InfoPanel", "SW1:")},
        {switch2, QT_TRANSLATE_NOOP("InfoPanel", " SW2:")},
        {dischargeForcedOff, QT_TRANSLATE_NOOP("InfoPanel", "D_StrongOff:")},
        {chargeForcedOff, QT_TRANSLATE_NOOP("InfoPanel", "C_StrongOff:")},
        {reserved7, QT_TRANSLATE_NOOP("InfoPanel", "Reserved7:")},
        {reserved2, QT_TRANSLATE_NOOP("InfoPanel", "Reserved2:")},
        {activeBalancing, QT_TRANSLATE_NOOP("InfoPanel", "ActiveBalan:")},
        {reserved4, QT_TRANSLATE_NOOP("InfoPanel", "Reserved4:")},
    };
    for (int n = 16; n <= 22; ++n)
        stateFields.append(
            {reserved(n), QT_TRANSLATE_NOOP("InfoPanel", "Reserved%1:"), nullptr, true, n});
    addFields(state, stateFields, 6, 38);

    QGroupBox *basic = addGroup(QT_TRANSLATE_NOOP("InfoPanel", "Basic Information"));
    basic->setObjectName(QStringLiteral("基本信息"));
    addFields(basic,
              {
                  {cellCount, QT_TRANSLATE_NOOP("InfoPanel", "Cell number:")},
                  {totalVoltage, QT_TRANSLATE_NOOP("InfoPanel", "Total Voltage(V):")},
                  {totalCurrent, QT_TRANSLATE_NOOP("InfoPanel", "Total Current(A):")},
                  {soc, "SOC(%):", nullptr, false},
                  {soh, "SOH(%):", nullptr, false},
                  {averageTemperature, QT_TRANSLATE_NOOP("InfoPanel", "T_Average(℃):")},
                  {averageVoltage, QT_TRANSLATE_NOOP("InfoPanel", "V_Average(V):")},
                  {mosTemperature, QT_TRANSLATE_NOOP("InfoPanel", "T_MOS(℃):")},
                  {voltageDifference, QT_TRANSLATE_NOOP("InfoPanel", "V_difference(V):")},
                  {temperatureDifference, QT_TRANSLATE_NOOP("InfoPanel", "T_difference(℃):")},
                  {ambientTemperature, QT_TRANSLATE_NOOP("InfoPanel", "T_Ambien(℃):")},
                  {fullCapacity, QT_TRANSLATE_NOOP("InfoPanel", "Full Capacity(AH):")},
                  {cycleCount, QT_TRANSLATE_NOOP("InfoPanel", "Cycle Count:")},
                  {workingState, QT_TRANSLATE_NOOP("InfoPanel", "Working State:")},
                  {ntcCount, QT_TRANSLATE_NOOP("InfoPanel", "NTC number:")},
                  {minCellVoltage, QT_TRANSLATE_NOOP("InfoPanel", "Min Cell Voltage(V):")},
                  {minCellVoltageNo, QT_TRANSLATE_NOOP("InfoPanel", "NO.of Min Voltage:")},
                  {maxCellVoltage, QT_TRANSLATE_NOOP("InfoPanel", "Max Cell Voltage(V):")},
                  {maxCellVoltageNo, QT_TRANSLATE_NOOP("InfoPanel", "NO.of Max Voltage:")},
                  {minTemperature, QT_TRANSLATE_NOOP("InfoPanel", "Min temperature(℃):")},
                  {minTemperatureNo, QT_TRANSLATE_NOOP("InfoPanel", "NO.of Min temperature:")},
                  {maxTemperature, QT_TRANSLATE_NOOP("InfoPanel", "Max temperature(℃):")},
                  {maxTemperatureNo, QT_TRANSLATE_NOOP("InfoPanel", "NO.of Max temperature:")},
                  {bmsAddress, "BMSADD:", nullptr, false},
              },
              8, 62);
    // "discharge" is the longest working state.
    static_cast<QLineEdit *>(m_controls.value(workingState))->setFixedWidth(80);

    QGroupBox *temperatures = addGroup(QT_TRANSLATE_NOOP("InfoPanel", "Cell Temperature(℃)"));
    temperatures->setObjectName(QStringLiteral("Frame1"));
    QList<Field> temperatureFields;
    for (int i = 0; i < temperatureSlots; ++i)
        temperatureFields.append(
            {cellTemperature(i), QT_TRANSLATE_NOOP("InfoPanel", "T_%1："), nullptr, true, i + 1});
    addFields(temperatures, temperatureFields, 4, 44);

    QGroupBox *cells = addGroup(QT_TRANSLATE_NOOP("InfoPanel", "Cell Voltage(mv)"));
    cells->setObjectName(QStringLiteral("Frame2"));
    QList<Field> cellFields;
    for (int i = 0; i < cellSlots; ++i)
        cellFields.append(
            {cellVoltage(i), QT_TRANSLATE_NOOP("InfoPanel", "cell_%1:"), nullptr, true, i + 1});
    addFields(cells, cellFields, 4, 44);
    auto *note = new QLabel(cells);
    note->setObjectName(QStringLiteral("Label9"));
    static_cast<QGridLayout *>(cells->layout())
        ->addWidget(note, 4, 0, 1, -1, Qt::AlignLeft | Qt::AlignVCenter);
    m_captions.append(
        {note, nullptr,
         QT_TRANSLATE_NOOP("InfoPanel", "Note: The blue background of the cell "
                                        "voltage indicates that it is passive balanced"),
         nullptr, true, 0});
    for (int i = 0; i < cellSlots; ++i) {
        auto *box = static_cast<QLineEdit *>(m_controls.value(cellVoltage(i)));
        showHighlight(box, cellVoltage(i));
        connect(&m_state.info, &Form::changed, box,
                [this, box, name = cellVoltage(i)](const QString &changed) {
                    if (changed == name)
                        showHighlight(box, name);
                });
    }

    // Top: identity and state bits; middle: the pack figures beside the
    // temperatures and the controls; then the cells and the condition lists.
    auto *top = new QHBoxLayout;
    top->addWidget(version, 0);
    top->addWidget(state, 1);
    auto *right = new QVBoxLayout;
    right->addWidget(temperatures);
    right->addWidget(buildControls());
    auto *middle = new QHBoxLayout;
    middle->addWidget(basic, 1);
    middle->addLayout(right, 0);
    auto *page = new QVBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 4);
    page->setSpacing(3);
    page->addLayout(top);
    page->addLayout(middle);
    page->addWidget(cells);
    page->addWidget(buildConditions(), 1);

    applyCaptions();
}

QWidget *InfoPanel::control(const QString &control) const
{
    return m_controls.value(control);
}

QGroupBox *InfoPanel::addGroup(const char *title)
{
    auto *group = new QGroupBox(this);
    m_captions.append({group, nullptr, title, nullptr, true, 0});
    return group;
}

QLineEdit *InfoPanel::addBox(QGroupBox *group, QGridLayout *grid, const Field &field, int row,
                             int column, int boxWidth, int columnSpan)
{
    auto *label = new QLabel(group);
    auto *box = new QLineEdit(group);
    box->setReadOnly(true);
    box->setFixedSize(boxWidth, boxHeight);
    box->setTextMargins(0, 0, 0, 0);
    label->setBuddy(box);
    FormBinder::bindLineEdit(box, m_state.info, field.control);
    grid->addWidget(label, row, column * 2, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(box, row, column * 2 + 1, 1, columnSpan);
    m_captions.append(
        {label, box, field.caption, field.disambiguation, field.localised, field.number});
    m_controls.insert(field.control, box);
    return box;
}

void InfoPanel::addFields(QGroupBox *group, const QList<Field> &fields, int rows, int boxWidth)
{
    QGridLayout *grid = tightGrid(group);
    for (int i = 0; i < fields.size(); ++i)
        addBox(group, grid, fields.at(i), i % rows, i / rows, boxWidth);
}

QWidget *InfoPanel::buildConditions()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    const struct {
        const QString &control;
        const char *caption;
    } conditions[] = {
        {InfoField::alarmStatus, QT_TRANSLATE_NOOP("InfoPanel", "Alarm status")},
        {InfoField::protectionStatus, QT_TRANSLATE_NOOP("InfoPanel", "Protection status")},
        {InfoField::faultStatus, QT_TRANSLATE_NOOP("InfoPanel", "Fault status")},
    };
    for (const auto &c : conditions) {
        auto *column = new QVBoxLayout;
        column->setSpacing(1);
        auto *label = new QLabel(row);
        auto *box = new QPlainTextEdit(row);
        box->setReadOnly(true);
        box->setLineWrapMode(QPlainTextEdit::NoWrap);
        box->setTabChangesFocus(true);
        box->setMinimumHeight(56);
        label->setBuddy(box);
        FormBinder::bindPlainText(box, m_state.info, c.control);
        column->addWidget(label);
        column->addWidget(box, 1);
        layout->addLayout(column, 1);
        m_captions.append({label, box, c.caption, nullptr, true, 0});
        m_controls.insert(c.control, box);
    }
    return row;
}

QWidget *InfoPanel::buildControls()
{
    auto *frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame4"));
    // The frame has no title on screen; a screen reader announces this name
    // when the focus enters it.
    m_captions.append(
        {nullptr, frame, QT_TRANSLATE_NOOP("InfoPanel", "Control commands"), nullptr, true, 0});
    QGridLayout *grid = tightGrid(frame);
    grid->setContentsMargins(6, 4, 6, 4);
    struct Button {
        QString control;
        quint8 code;
        const char *caption;
        const char *captionDisambiguation;
        const char *action; // what the button does, for screen readers
    };
    struct Row {
        const char *caption;
        QList<Button> buttons;
    };
    using namespace InfoField;
    const Row rows[] = {
        {QT_TRANSLATE_NOOP("InfoPanel", "CMOS"),
         {{chargeOff, CommandCode::chargeMosOff, QT_TRANSLATE_NOOP("InfoPanel", "OFF"), nullptr,
           QT_TRANSLATE_NOOP("InfoPanel", "Charge MOS off")},
          {chargeOn, CommandCode::chargeMosOn, QT_TRANSLATE_NOOP("InfoPanel", "ON"), nullptr,
           QT_TRANSLATE_NOOP("InfoPanel", "Charge MOS on")}}},
        {QT_TRANSLATE_NOOP("InfoPanel", "DMOS"),
         {{dischargeOff, CommandCode::dischargeMosOff, QT_TRANSLATE_NOOP("InfoPanel", "OFF"),
           nullptr, QT_TRANSLATE_NOOP("InfoPanel", "Discharge MOS off")},
          {dischargeOn, CommandCode::dischargeMosOn, QT_TRANSLATE_NOOP("InfoPanel", "ON"), nullptr,
           QT_TRANSLATE_NOOP("InfoPanel", "Discharge MOS on")}}},
        {QT_TRANSLATE_NOOP("InfoPanel", "sleep"),
         {{sleepButton, CommandCode::sleep, QT_TRANSLATE_NOOP("InfoPanel", "ON"), nullptr,
           QT_TRANSLATE_NOOP("InfoPanel", "Sleep")}}},
        {QT_TRANSLATE_NOOP("InfoPanel", "reset"),
         {{resetButton, CommandCode::reset, QT_TRANSLATE_NOOP("InfoPanel", "ON"), nullptr,
           QT_TRANSLATE_NOOP("InfoPanel", "Reset")}}},
        {QT_TRANSLATE_NOOP("InfoPanel", "storage"),
         {{storageButton, CommandCode::storage, QT_TRANSLATE_NOOP("InfoPanel", "ON"), nullptr,
           QT_TRANSLATE_NOOP("InfoPanel", "Storage mode")}}},
        {QT_TRANSLATE_NOOP("InfoPanel", "wake"),
         {{wakeButton, CommandCode::wake, wakeCaption.source, wakeCaption.comment,
           QT_TRANSLATE_NOOP("InfoPanel", "Wake")}}},
    };
    // Two columns of three rows: charge, discharge, sleep | reset, storage, wake.
    int index = 0;
    for (const Row &r : rows) {
        const int line = index % 3;
        const int column = (index / 3) * 3;
        ++index;
        auto *label = new QLabel(frame);
        grid->addWidget(label, line, column, Qt::AlignRight | Qt::AlignVCenter);
        m_captions.append({label, nullptr, r.caption, nullptr, true, 0});
        int offset = 1;
        for (const Button &b : r.buttons) {
            auto *button = new QPushButton(frame);
            button->setFixedSize(48, 22);
            FormBinder::bindEnabled(button, m_state.info, b.control);
            const quint8 code = b.code;
            connect(button, &QPushButton::clicked, this, [this, code] { m_requests.send(code); });
            grid->addWidget(button, line, column + offset++);
            m_captions.append({button, nullptr, b.caption, b.captionDisambiguation, true, 0});
            m_captions.append({nullptr, button, b.action, nullptr, true, 0});
            m_controls.insert(b.control, button);
        }
    }
    grid->setColumnMinimumWidth(3, 16);
    return frame;
}

void InfoPanel::showHighlight(QLineEdit *box, const QString &control)
{
    const bool on = m_state.info.isHighlighted(control);
    if (on) {
        QPalette p = box->palette();
        p.setColor(QPalette::Base, p.color(QPalette::Highlight));
        p.setColor(QPalette::Text, p.color(QPalette::HighlightedText));
        box->setPalette(p);
    } else {
        box->setPalette(QPalette());
    }
    box->setAccessibleDescription(on ? tr("passive balancing") : QString());
    box->setProperty("balancing", on);
}

void InfoPanel::applyCaptions()
{
    for (const Caption &c : m_captions) {
        const QString text = captionText(c.source, c.disambiguation, c.localised, c.number);
        if (auto *label = qobject_cast<QLabel *>(c.target))
            label->setText(text);
        else if (auto *group = qobject_cast<QGroupBox *>(c.target))
            group->setTitle(text);
        else if (auto *button = qobject_cast<QPushButton *>(c.target))
            button->setText(text);
        if (c.named)
            c.named->setAccessibleName(nameFromCaption(text));
    }
    // The description changes language with the captions; the colour does not.
    for (int i = 0; i < InfoField::cellSlots; ++i) {
        const QString name = InfoField::cellVoltage(i);
        if (auto *box = qobject_cast<QLineEdit *>(m_controls.value(name)))
            box->setAccessibleDescription(m_state.info.isHighlighted(name) ? tr("passive balancing")
                                                                           : QString());
    }
}
