#include "traffic/widgets/TrafficWindow.h"

#include "base/UserPrompt.h"
#include "i18n/SettingsRecord.h"
#include "state/AppState.h"
#include "traffic/CommandNames.h"
#include "traffic/TrafficFile.h"
#include "traffic/TrafficFilter.h"
#include "traffic/TrafficModel.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTableView>
#include <QVBoxLayout>

#include <utility>

namespace {
const QString geometryKey = QStringLiteral("traffic/geometry");

struct DirectionEntry {
    TrafficFilter::Direction direction;
    const char *text;
};
const DirectionEntry directionEntries[] = {
    {TrafficFilter::Direction::All, QT_TRANSLATE_NOOP("TrafficWindow", "All")},
    {TrafficFilter::Direction::Sent, QT_TRANSLATE_NOOP("TrafficWindow", "Sent")},
    {TrafficFilter::Direction::Received, QT_TRANSLATE_NOOP("TrafficWindow", "Received")},
    {TrafficFilter::Direction::Faults,
     QT_TRANSLATE_NOOP("TrafficWindow", "CRC errors and discarded bytes")},
};

// Widths that fit the texts of either language; fixed, so that thousands of
// rows never have to be measured.
constexpr int columnWidths[TrafficModel::ColumnCount] = {75, 70, 60, 70, 45, 55, 260, 50, 600};
} // namespace

TrafficWindow::TrafficWindow(AppState &state, TrafficModel &model, QWidget *parent)
    : QWidget(parent, Qt::Window), m_state(state), m_model(model)
{
    setObjectName(QStringLiteral("TrafficWindow"));

    m_filter = new TrafficFilter(this);
    m_filter->setSourceModel(&m_model);

    m_directionLabel = new QLabel(this);
    m_direction = new QComboBox(this);
    m_direction->setObjectName(QStringLiteral("direction"));
    m_directionLabel->setBuddy(m_direction);
    m_itemLabel = new QLabel(this);
    m_item = new QComboBox(this);
    m_item->setObjectName(QStringLiteral("item"));
    m_itemLabel->setBuddy(m_item);
    // The longest item names would otherwise set the window's least width.
    m_item->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_item->setMinimumContentsLength(16);
    m_pause = new QPushButton(this);
    m_pause->setObjectName(QStringLiteral("pause"));
    m_pause->setCheckable(true);
    m_clear = new QPushButton(this);
    m_clear->setObjectName(QStringLiteral("clear"));
    m_save = new QPushButton(this);
    m_save->setObjectName(QStringLiteral("save"));
    for (QPushButton *b : {m_pause, m_clear, m_save})
        b->setAutoDefault(false);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("rowCount"));

    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("traffic"));
    m_table->setModel(m_filter);
    m_table->setWordWrap(false);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_table->horizontalHeader()->setStretchLastSection(true);
    for (int c = 0; c < TrafficModel::ColumnCount; ++c)
        m_table->setColumnWidth(c, columnWidths[c]);

    auto *filters = new QHBoxLayout;
    filters->addWidget(m_directionLabel);
    filters->addWidget(m_direction);
    filters->addSpacing(12);
    filters->addWidget(m_itemLabel);
    filters->addWidget(m_item, 1);
    auto *actions = new QHBoxLayout;
    actions->addWidget(m_pause);
    actions->addWidget(m_clear);
    actions->addWidget(m_save);
    actions->addStretch(1);
    actions->addWidget(m_count);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addLayout(actions);
    layout->addWidget(m_table, 1);
    setTabOrder(m_direction, m_item);
    setTabOrder(m_item, m_pause);
    setTabOrder(m_pause, m_clear);
    setTabOrder(m_clear, m_save);
    setTabOrder(m_save, m_table);

    connect(m_direction, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0 && index < int(std::size(directionEntries)))
            m_filter->setDirection(directionEntries[index].direction);
    });
    connect(m_item, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            m_filter->setItem(m_item->itemData(index).toInt());
    });
    connect(m_pause, &QPushButton::toggled, &m_model, &TrafficModel::setPaused);
    connect(&m_model, &TrafficModel::pausedChanged, m_pause, &QPushButton::setChecked);
    connect(m_clear, &QPushButton::clicked, &m_model, &TrafficModel::clear);
    connect(m_save, &QPushButton::clicked, this, &TrafficWindow::save);
    connect(&m_state, &AppState::languageChanged, this, &TrafficWindow::applyCaptions);
    followNewRows();

    resize(1000, 500);
    applyCaptions();
}

QString TrafficWindow::title()
{
    return tr("Traffic");
}

void TrafficWindow::followNewRows()
{
    // New rows scroll into view while the user looks at the newest ones; once
    // scrolled up, the view stays where it is.
    connect(m_filter, &QAbstractItemModel::rowsAboutToBeInserted, this, [this] {
        const QScrollBar *bar = m_table->verticalScrollBar();
        m_atBottom = bar->value() >= bar->maximum();
    });
    connect(m_filter, &QAbstractItemModel::rowsInserted, this, [this] {
        if (m_atBottom)
            m_table->scrollToBottom();
        showRowCount();
    });
    connect(m_filter, &QAbstractItemModel::rowsRemoved, this, &TrafficWindow::showRowCount);
    connect(m_filter, &QAbstractItemModel::modelReset, this, &TrafficWindow::showRowCount);
    connect(m_filter, &QAbstractItemModel::layoutChanged, this, &TrafficWindow::showRowCount);
}

void TrafficWindow::showRowCount()
{
    m_count->setText(tr("%1 of %2 rows").arg(m_filter->rowCount()).arg(m_model.rowCount()));
}

void TrafficWindow::fillLists()
{
    const int direction = qMax(0, m_direction->currentIndex());
    const int item = qMax(0, m_item->currentIndex());
    {
        const QSignalBlocker blockDirection(m_direction);
        const QSignalBlocker blockItem(m_item);
        m_direction->clear();
        for (const DirectionEntry &e : directionEntries)
            m_direction->addItem(tr(e.text));
        m_item->clear();
        m_item->addItem(tr("All items"), TrafficFilter::allItems);
        for (quint8 i : CommandNames::knownItems())
            m_item->addItem(QStringLiteral("%1  %2").arg(i).arg(CommandNames::ofItem(i)), int(i));
    }
    m_direction->setCurrentIndex(direction);
    m_item->setCurrentIndex(item);
}

void TrafficWindow::applyCaptions()
{
    setWindowTitle(title());
    m_directionLabel->setText(tr("&Direction:"));
    m_itemLabel->setText(tr("&Item:"));
    m_pause->setText(tr("&Pause"));
    m_clear->setText(tr("C&lear"));
    m_save->setText(tr("&Save…"));
    // A screen reader gives a list's current entry as its name; the
    // description says which list it is.
    for (auto [list, name] :
         {std::pair{m_direction, tr("Direction")}, std::pair{m_item, tr("Item")}}) {
        list->setAccessibleName(name);
        list->setAccessibleDescription(name);
    }
    m_table->setAccessibleName(title());
    m_pause->setToolTip(tr("Stop recording the traffic; press again to go on"));
    fillLists();
    m_model.retranslate();
    showRowCount();
}

void TrafficWindow::present()
{
    if (!m_placed) {
        m_placed = true;
        const QSettings record(SettingsRecord::filePath(), QSettings::IniFormat);
        restoreGeometry(record.value(geometryKey).toByteArray());
    }
    show();
    raise();
    activateWindow();
}

void TrafficWindow::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    // Where the window was is worth keeping but not worth a message: a record
    // that cannot be written only means the next start uses the default.
    const QString path = SettingsRecord::filePath();
    if (QDir().mkpath(QFileInfo(path).absolutePath())) {
        QSettings record(path, QSettings::IniFormat);
        record.setValue(geometryKey, saveGeometry());
    }
}

void TrafficWindow::save()
{
    const QString suggested = QDir::home().filePath(
        QStringLiteral("traffic %1.txt")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh.mm.ss"))));
    const QString path = m_state.prompt.saveFileName(TrafficFile::fileFilter(), suggested);
    if (path.isEmpty())
        return;
    // What is queued belongs in the file too.
    m_model.flush();
    const QString error = TrafficFile::save(*m_filter, path);
    if (!error.isEmpty())
        m_state.prompt.message(tr("The traffic could not be saved to %1: %2")
                                   .arg(QDir::toNativeSeparators(path), error),
                               QString(), UserPrompt::Icon::Warning);
}
