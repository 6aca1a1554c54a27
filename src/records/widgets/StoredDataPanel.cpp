#include "records/widgets/StoredDataPanel.h"

#include "base/widgets/FormBinder.h"
#include "i18n/widgets/CaptionFit.h"
#include "records/StoredForm.h"
#include "records/StoredGrid.h"
#include "records/StoredRecords.h"
#include "state/AppState.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

StoredDataPanel::StoredDataPanel(AppState &appState, StoredRecords &stored, QWidget *parent)
    : Panel(parent), m_state(appState), m_stored(stored)
{
    setObjectName(QStringLiteral("StoredDataPanel"));
    Form &form = m_state.stored;

    StoredRecords *target = &m_stored;
    auto button = [&](const QString &control, void (StoredRecords::*action)()) {
        auto *b = new QPushButton(this);
        FormBinder::bindEnabled(b, form, control);
        connect(b, &QPushButton::clicked, this, [target, action] { (target->*action)(); });
        return b;
    };
    m_countButton = button(StoredField::countButton, &StoredRecords::requestCount);
    m_getData = button(StoredField::getData, &StoredRecords::getData);
    m_export = button(StoredField::exportButton, &StoredRecords::exportRows);
    m_openFolder = button(StoredField::openFolder, &StoredRecords::openFolder);
    m_folderLabel = new QLabel(this);
    m_folderLabel->setObjectName(QStringLiteral("folderLabel"));
    auto *folder = new QLineEdit(this);
    folder->setReadOnly(true);
    FormBinder::bindLineEdit(folder, form, StoredField::outputFolder);
    m_folderLabel->setBuddy(folder);
    m_folder = folder;
    m_stored.setOpener(
        [](const QString &path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); });
    m_stop = button(StoredField::stopButton, &StoredRecords::stopReading);

    // The read-out's progress: "i / N", a bar, the time taken and still needed.
    m_readLabel = new QLabel(this);
    m_readLabel->setObjectName(QStringLiteral("readCaption"));
    auto *readCount = new QLabel(this);
    m_readCount = readCount;
    FormBinder::bindLabel(readCount, form, StoredField::readCount);
    readCount->setMinimumWidth(96);
    m_readBar = new QProgressBar(this);
    FormBinder::bindProgress(m_readBar, form, StoredField::readBar);
    m_readBar->setFixedWidth(160);
    auto *readTime = new QLabel(this);
    m_readTime = readTime;
    FormBinder::bindLabel(readTime, form, StoredField::readTime);

    m_countLabel = new QLabel(this);
    m_countLabel->setObjectName(QStringLiteral("Label1"));
    auto *count = new QLabel(this);
    FormBinder::bindLabel(count, form, StoredField::count);
    count->setMinimumWidth(60);
    m_countLabel->setBuddy(count);
    m_progressLabel = new QLabel(this);
    m_progressLabel->setObjectName(QStringLiteral("Label2"));
    auto *progress = new QLabel(this);
    FormBinder::bindLabel(progress, form, StoredField::exportProgress);
    progress->setMinimumWidth(48);
    m_progressLabel->setBuddy(progress);

    m_grid = new QTableWidget(this);
    m_grid->setObjectName(QStringLiteral("MSHFlexGrid1"));
    m_grid->setColumnCount(StoredGrid::columnCount);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setDefaultAlignment(
        Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
    m_grid->setWordWrap(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_countButton);
    buttons->addWidget(m_countLabel);
    buttons->addWidget(count);
    buttons->addSpacing(24);
    buttons->addWidget(m_getData);
    buttons->addWidget(m_export);
    buttons->addWidget(m_progressLabel);
    buttons->addWidget(progress);
    buttons->addStretch();
    auto *reading = new QHBoxLayout;
    reading->addWidget(m_stop);
    reading->addWidget(m_readLabel);
    reading->addWidget(readCount);
    reading->addWidget(m_readBar);
    reading->addWidget(readTime, 1);
    auto *page = new QVBoxLayout(this);
    page->addLayout(buttons);
    page->addLayout(reading);
    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folderLabel);
    folderRow->addWidget(folder, 1);
    folderRow->addWidget(m_openFolder);
    page->addLayout(folderRow);
    page->addWidget(m_grid, 1);

    connect(&m_state, &AppState::storedRowsChanged, this, &StoredDataPanel::showRows);
    applyCaptions();
}

void StoredDataPanel::applyCaptions()
{
    m_countButton->setText(tr("Number of stored data"));
    m_getData->setText(tr("get data"));
    m_export->setText(tr("Export to Excel"));
    m_countLabel->setText(tr("Number:"));
    m_progressLabel->setText(tr("Export progress:"));
    m_folderLabel->setText(tr("Output folder:"));
    m_openFolder->setText(tr("Open folder"));
    // The count and the percentage are read out under their captions.
    nameField(m_countLabel->buddy(), m_countLabel->text());
    nameField(m_progressLabel->buddy(), m_progressLabel->text());
    nameField(m_folder, m_folderLabel->text());
    m_openFolder->setAccessibleName(tr("Open exports folder"));
    m_stop->setText(tr("Stop"));
    m_readLabel->setText(tr("Records read:"));
    for (QPushButton *b : {m_countButton, m_getData, m_export, m_stop, m_openFolder})
        CaptionFit::padButton(b);
    m_stop->setAccessibleName(tr("Stop reading stored data"));
    m_readBar->setAccessibleName(tr("Reading progress"));
    nameField(m_readCount, m_readLabel->text());
    nameField(m_readTime, tr("Reading time"));
    m_grid->setAccessibleName(tr("Stored data"));
    // The recording page beside this one has a button of the same caption.
    m_export->setAccessibleName(tr("Export stored data to Excel"));
    buildHeader();
    m_stored.resetGrid();
}

void StoredDataPanel::buildHeader()
{
    const bool english = m_state.englishUi() != 0;
    const QStringList headers = StoredGrid::headers();
    m_grid->setHorizontalHeaderLabels(headers);
    // The widths in twips suit a small grid font; a column widens
    // where the screen font would cut a word of its header ("SOC(%)").
    const QList<int> widths = StoredGrid::widthsTwips(english);
    for (int c = 0; c < widths.size(); ++c)
        m_grid->setColumnWidth(
            c, std::max(widths.at(c) / StoredGrid::twipsPerPixel,
                        CaptionFit::headerWordWidth(m_grid->horizontalHeader(), headers.value(c))));
    m_grid->horizontalHeader()->setFixedHeight(StoredGrid::headerHeightTwips(english) /
                                               StoredGrid::twipsPerPixel);
}

// The grid shows an empty row under its header, then the rows read since the
// last new header.
void StoredDataPanel::showRows()
{
    const QStringList rows = m_stored.gridRows();
    if (m_stored.gridGeneration() != m_shownGeneration || rows.size() < m_shownRows) {
        m_shownGeneration = m_stored.gridGeneration();
        m_shownRows = 0;
        m_grid->clearContents();
        m_grid->setRowCount(1);
    }
    m_grid->setRowCount(1 + int(rows.size()));
    for (; m_shownRows < rows.size(); ++m_shownRows) {
        const QStringList cells = rows.at(m_shownRows).split(QLatin1Char('\t'));
        for (int c = 0; c < StoredGrid::columnCount && c < cells.size(); ++c)
            m_grid->setItem(m_shownRows + 1, c, new QTableWidgetItem(cells.at(c)));
    }
}
