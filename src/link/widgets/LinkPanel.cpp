#include "link/widgets/LinkPanel.h"

#include "bank/ScanController.h"
#include "bank/ScanForm.h"
#include "base/widgets/FormBinder.h"
#include "link/LinkController.h"
#include "link/LinkForm.h"
#include "state/AppState.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

LinkPanel::LinkPanel(AppState &appState, LinkController &link, ScanController &scanner,
                     QWidget *parent)
    : Panel(parent), m_state(appState), m_link(link), m_scanControl(scanner)
{
    setObjectName(QStringLiteral("LinkPanel"));
    Form &form = m_state.link;

    m_group = new QGroupBox(this);
    m_group->setObjectName(QStringLiteral("串口设置"));
    auto *grid = new QGridLayout(m_group);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(10);
    const struct {
        const QString &control;
        const char *labelName;
    } rows[] = {
        {LinkField::port, "com标题"},      {LinkField::baud, "波特率标题"},
        {LinkField::parity, "校验位标题"}, {LinkField::dataBits, "数据位标题"},
        {LinkField::address, "Label2"},    {LinkField::protocol, "Label1"},
    };
    for (const auto &r : rows) {
        Row row;
        row.control = r.control;
        row.label = new QLabel(m_group);
        row.label->setObjectName(QString::fromUtf8(r.labelName));
        row.combo = new QComboBox(m_group);
        row.combo->setMinimumWidth(140);
        row.label->setBuddy(row.combo);
        if (r.control == LinkField::parity)
            FormBinder::bindCombo(row.combo, form, r.control, &LinkController::parityCaption);
        else if (r.control == LinkField::port)
            FormBinder::bindCombo(row.combo, form, r.control, [this](const QString &entry) {
                return m_link.portCaption(entry);
            });
        else
            FormBinder::bindCombo(row.combo, form, r.control);
        const int line = int(m_rows.size());
        grid->addWidget(row.label, line, 0, Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(row.combo, line, 1);
        m_rows.append(row);
    }

    m_openClose = new QPushButton(this);
    FormBinder::bindEnabled(m_openClose, form, LinkField::openClose);
    m_openClose->setMinimumHeight(32);
    connect(m_openClose, &QPushButton::clicked, this, [this] {
        m_link.toggleOpen();
        syncWithLink();
    });
    m_refresh = new QPushButton(this);
    FormBinder::bindEnabled(m_refresh, form, LinkField::refresh);
    m_refresh->setMinimumHeight(32);
    connect(m_refresh, &QPushButton::clicked, this, [this] {
        m_link.refresh();
        syncWithLink();
    });

    m_reconnect = new QCheckBox(this);
    FormBinder::bindCheckBox(m_reconnect, form, LinkField::reconnect);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_openClose);
    buttons->addWidget(m_refresh);
    auto *column = new QVBoxLayout;
    column->addWidget(m_group);
    column->addSpacing(16);
    column->addLayout(buttons);
    column->addSpacing(8);
    column->addWidget(m_reconnect);

    Form &scan = m_state.scan;
    m_scanGroup = new QGroupBox(this);
    m_scanGroup->setObjectName(QStringLiteral("总线扫描"));
    m_scan = new QPushButton(m_scanGroup);
    FormBinder::bindEnabled(m_scan, scan, ScanField::scan);
    m_scan->setMinimumHeight(32);
    connect(m_scan, &QPushButton::clicked, this, [this] { m_scanControl.toggle(); });
    m_scanProgress = new QProgressBar(m_scanGroup);
    FormBinder::bindProgress(m_scanProgress, scan, ScanField::progress);
    m_scanStatus = new QLabel(m_scanGroup);
    m_scanStatus->setWordWrap(true);
    FormBinder::bindLabel(m_scanStatus, scan, ScanField::status);
    m_scanResults = new QPlainTextEdit(m_scanGroup);
    m_scanResults->setReadOnly(true);
    m_scanResults->setTabChangesFocus(true);
    // Every line whole in the box, however long a battery ID is.
    m_scanResults->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    FormBinder::bindPlainText(m_scanResults, scan, ScanField::found);
    auto *scanColumn = new QVBoxLayout(m_scanGroup);
    scanColumn->addWidget(m_scan);
    scanColumn->addWidget(m_scanProgress);
    scanColumn->addWidget(m_scanStatus);
    scanColumn->addWidget(m_scanResults, 1);
    m_scanGroup->setMinimumWidth(520);
    connect(&m_scanControl, &ScanController::runningChanged, this, &LinkPanel::syncScanCaption);

    auto *scanSide = new QVBoxLayout;
    scanSide->setContentsMargins(0, 40, 0, 0);
    scanSide->addWidget(m_scanGroup, 1);
    scanSide->addSpacing(8);

    auto *outer = new QHBoxLayout(this);
    outer->addStretch(1);
    outer->addLayout(column, 0);
    outer->addSpacing(24);
    outer->addLayout(scanSide, 0);
    outer->addStretch(1);
    column->setContentsMargins(0, 40, 0, 0);
    column->addStretch(1);

    // Also when the link closes on its own (the adapter was pulled out), so the
    // caption never lags behind the port.
    connect(&m_link, &LinkController::portOpenChanged, this, &LinkPanel::syncWithLink);
    connect(&form, &Form::changed, this, [this](const QString &control) {
        if (control != LinkField::port)
            return;
        // The same entries can change their marks (a refresh after the user
        // was given access), which the list's own binding does not redraw.
        QComboBox *ports = list(LinkField::port);
        const QStringList entries = m_state.link.entries(LinkField::port);
        for (int i = 0; i < ports->count() && i < entries.size(); ++i) {
            if (ports->itemText(i) != m_link.portCaption(entries[i])) {
                FormBinder::retranslateCombo(ports, m_state.link, LinkField::port);
                break;
            }
        }
        updatePortTips();
    });

    m_link.load();
    applyCaptions();
}

QComboBox *LinkPanel::list(const QString &control) const
{
    for (const Row &row : m_rows)
        if (row.control == control)
            return row.combo;
    return nullptr;
}

void LinkPanel::syncWithLink()
{
    const QString caption =
        m_link.portOpen() ? LinkController::closeCaption() : LinkController::openCaption();
    if (m_openClose->text() != caption) {
        m_openClose->setText(caption);
        m_openClose->setAccessibleName(caption);
    }
}

void LinkPanel::syncScanCaption()
{
    const QString caption =
        m_scanControl.running() ? ScanController::stopCaption() : ScanController::scanCaption();
    m_scan->setText(caption);
    m_scan->setAccessibleName(caption);
}

void LinkPanel::updatePortTips()
{
    // Which device a COM number stands for is not obvious on Linux.
    QComboBox *ports = list(LinkField::port);
    const QStringList entries = m_state.link.entries(LinkField::port);
    for (int i = 0; i < ports->count() && i < entries.size(); ++i) {
        // The entry, not the shown text, which may carry a mark.
        const int number = QStringView(entries[i]).mid(3).toInt();
        const QString device = number > 0 ? LinkController::deviceOf(number) : QString();
        QString tip = QDir::toNativeSeparators(device);
        const QString note = m_link.accessNote(number);
        if (!note.isEmpty())
            tip += QLatin1Char('\n') + note;
        ports->setItemData(i, tip, Qt::ToolTipRole);
    }
    ports->setToolTip(ports->currentIndex() >= 0
                          ? ports->itemData(ports->currentIndex(), Qt::ToolTipRole).toString()
                          : QString());
}

void LinkPanel::mousePressEvent(QMouseEvent *event)
{
    m_openClose->setFocus(Qt::MouseFocusReason);
    Panel::mousePressEvent(event);
}

void LinkPanel::applyCaptions()
{
    m_group->setTitle(tr("COM settings"));
    const QString captions[] = {
        tr("COM selection"), tr("   Baud rate"),          tr("  Parity bit"),
        tr("    Data bits"), tr("Communication address"), tr("Communication protocol"),
    };
    for (int i = 0; i < m_rows.size(); ++i) {
        m_rows[i].label->setText(captions[i]);
        nameField(m_rows[i].combo, captions[i]);
    }
    FormBinder::retranslateCombo(list(LinkField::parity), m_state.link, LinkField::parity);
    FormBinder::retranslateCombo(list(LinkField::port), m_state.link, LinkField::port);
    updatePortTips();
    m_reconnect->setText(tr("Reconnect automatically"));
    m_reconnect->setAccessibleName(m_reconnect->text());
    m_reconnect->setToolTip(tr("When the port is lost (adapter unplugged) and the same device "
                               "comes back, open it again without a message and go on."));
    m_refresh->setText(tr("Refresh serial port"));
    m_refresh->setAccessibleName(m_refresh->text());
    m_scanGroup->setTitle(tr("Bus scan"));
    m_scan->setToolTip(tr("Ask every communication address from 0 to 16 which pack answers. "
                          "The live reads pause meanwhile."));
    syncScanCaption();
    nameField(m_scanProgress, tr("Scan progress"));
    nameField(m_scanStatus, tr("Scan state"));
    nameField(m_scanResults, tr("Packs found"));
    m_openClose->setText(QString()); // re-captioned in the new language below
    syncWithLink();
}
