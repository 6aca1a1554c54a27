#include "bank/widgets/BankPanel.h"

#include "bank/BankController.h"
#include "bank/BankForm.h"
#include "bank/BankTableModel.h"
#include "base/widgets/FormBinder.h"
#include "i18n/widgets/CaptionFit.h"
#include "state/AppState.h"

#include <QCheckBox>
#include <QColor>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace {
// Sorts by the model's numbers and colours the cells by how serious the
// pack's conditions are for them.
class BankSortModel : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::BackgroundRole && role != Qt::ForegroundRole)
            return QSortFilterProxyModel::data(index, role);
        const int severity =
            QSortFilterProxyModel::data(index, BankTableModel::SeverityRole).toInt();
        if (role == Qt::BackgroundRole) {
            switch (severity) {
            case BankTableModel::Alarm:
                return QColor(255, 225, 140); // amber
            case BankTableModel::Protection:
                return QColor(240, 120, 110); // red
            default:
                return {};
            }
        }
        if (severity == BankTableModel::Stale)
            return QColor(150, 150, 150);
        if (severity == BankTableModel::Protection)
            return QColor(Qt::black);
        return {};
    }
};
} // namespace

BankPanel::BankPanel(AppState &appState, BankController &bank, QWidget *parent)
    : Panel(parent), m_state(appState), m_bankControl(bank)
{
    setObjectName(QStringLiteral("BankPanel"));
    Form &form = m_state.bank;

    m_bankBox = new QGroupBox(this);
    m_bankBox->setObjectName(QStringLiteral("bankBox"));
    auto *lines = new QGridLayout(m_bankBox);
    const QString lineControls[] = {BankField::voltage, BankField::current, BankField::soc,
                                    BankField::difference};
    for (int i = 0; i < 4; ++i) {
        auto *label = new QLabel(m_bankBox);
        FormBinder::bindLabel(label, form, lineControls[i]);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_lines << label;
        lines->addWidget(label, i / 2, i % 2);
    }
    m_status = new QLabel(m_bankBox);
    FormBinder::bindLabel(m_status, form, BankField::status);
    lines->addWidget(m_status, 2, 0, 1, 2);
    lines->setColumnStretch(0, 1);
    lines->setColumnStretch(1, 1);

    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("bankTable"));
    m_sort = new BankSortModel(this);
    m_sort->setSourceModel(&m_bankControl.model());
    m_sort->setSortRole(BankTableModel::SortRole);
    m_table->setModel(m_sort);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(BankTableModel::Address, Qt::AscendingOrder);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setTabKeyNavigation(false);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(22);
    m_table->horizontalHeader()->setStretchLastSection(false);
    m_table->horizontalHeader()->setHighlightSections(false);
    // Double click and Enter both activate the row.
    connect(m_table, &QTableView::activated, this, &BankPanel::choose);

    m_hint = new QLabel(this);
    m_hint->setObjectName(QStringLiteral("bankHint"));
    m_hint->setWordWrap(true);

    m_record = new QCheckBox(this);
    FormBinder::bindCheckBox(m_record, form, BankField::record);
    m_recordPath = new QLabel(this);
    FormBinder::bindLabel(m_recordPath, form, BankField::recordPath);
    m_recordPath->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_export = new QPushButton(this);
    FormBinder::bindEnabled(m_export, form, BankField::exportButton);
    connect(m_export, &QPushButton::clicked, this, [this] { m_bankControl.exportWorkbook(); });
    m_progress = new QProgressBar(this);
    m_progress->setMaximumWidth(120);
    m_progress->setTextVisible(false);
    FormBinder::bindProgress(m_progress, form, BankField::exportProgress);
    // Shown while an export runs (its button is disabled meanwhile).
    m_progress->hide();
    connect(&form, &Form::changed, m_progress, [this, &form](const QString &control) {
        if (control == BankField::exportButton)
            m_progress->setVisible(!form.isEnabled(BankField::exportButton));
    });

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_record);
    bottom->addWidget(m_recordPath, 1);
    bottom->addWidget(m_export);
    bottom->addWidget(m_progress);

    auto *page = new QVBoxLayout(this);
    page->addWidget(m_bankBox);
    page->addWidget(m_table, 1);
    page->addWidget(m_hint);
    page->addLayout(bottom);

    connect(&m_bankControl.model(), &QAbstractItemModel::modelReset, this, &BankPanel::fitColumns);
    applyCaptions();
}

void BankPanel::choose(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    const int address = index.data(BankTableModel::AddressRole).toInt();
    if (m_bankControl.choosePack(address))
        emit packChosen(address);
}

void BankPanel::fitColumns()
{
    // Wide enough for typical values, and for every line of the caption (the
    // header does not wrap) with the sort arrow beside it.
    static const int valueWidths[BankTableModel::ColumnCount] = {36, 50, 110, 50, 50, 40,  40, 84,
                                                                 84, 44, 44,  44, 72, 200, 40};
    constexpr int sortArrow = 16;
    QHeaderView *header = m_table->horizontalHeader();
    const QFontMetrics fm = header->fontMetrics();
    const int margins =
        2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header) + 2;
    for (int c = 0; c < BankTableModel::ColumnCount; ++c) {
        int widest = 0;
        for (const QString &line : BankTableModel::columnTitle(c).split(QLatin1Char('\n')))
            widest = std::max(widest, fm.horizontalAdvance(line));
        m_table->setColumnWidth(c, std::max(valueWidths[c], widest + margins + sortArrow));
    }
}

void BankPanel::applyCaptions()
{
    m_bankBox->setTitle(tr("Bank"));
    const QString names[] = {tr("Bank voltage"), tr("Summed current"), tr("SOC spread"),
                             tr("Largest cell difference")};
    for (int i = 0; i < m_lines.size(); ++i)
        m_lines[i]->setAccessibleName(names[i]);
    m_status->setAccessibleName(tr("Polling"));
    m_table->setAccessibleName(tr("Packs on the line"));
    m_table->setAccessibleDescription(
        tr("One row per pack; Enter opens the pack's information page."));
    m_hint->setText(tr("Double-click a row or press Enter to open that pack on the information "
                       "page; the other pages then work on that address. Amber cells are in "
                       "alarm, red ones in protection or fault."));
    m_record->setText(tr("Record bank"));
    m_recordPath->setAccessibleName(tr("Bank recording file"));
    m_export->setText(tr("Export to Excel"));
    // Two other pages have a button of that caption.
    m_export->setAccessibleName(tr("Export the bank recording to Excel"));
    CaptionFit::padButton(m_export);
    m_progress->setAccessibleName(tr("Export progress"));
    fitColumns();
}
