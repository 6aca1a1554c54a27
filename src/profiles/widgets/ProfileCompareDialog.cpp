#include "profiles/widgets/ProfileCompareDialog.h"

#include "base/UserPrompt.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
constexpr int columns = 5;
} // namespace

ProfileCompareDialog::ProfileCompareDialog(UserPrompt &prompt, QWidget *parent)
    : QDialog(parent), m_prompt(prompt), m_count(new QLabel(this)),
      m_table(new QTableWidget(0, columns, this)), m_export(new QPushButton(this)),
      m_close(new QPushButton(this))
{
    setObjectName(QStringLiteral("ProfileCompareDialog"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setAlternatingRowColors(false);
    m_table->verticalHeader()->setVisible(false);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_count->setBuddy(m_table);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_export);
    buttons->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_count);
    layout->addWidget(m_table);
    layout->addLayout(buttons);
    resize(720, 520);

    connect(m_export, &QPushButton::clicked, this, [this] { exportCsv(); });
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);
    m_close->setDefault(true);
    applyCaptions();
}

void ProfileCompareDialog::showResult(const ProfileCompare::Result &result,
                                      const QString &profilePath)
{
    m_result = result;
    m_path = profilePath;
    fill();
    applyCaptions();
    show();
    raise();
    activateWindow();
    m_table->setFocus();
}

void ProfileCompareDialog::fill()
{
    m_table->setRowCount(int(m_result.rows.size()));
    const QColor highlight(255, 226, 160);
    for (int r = 0; r < m_result.rows.size(); ++r) {
        const ProfileCompare::Row &row = m_result.rows.at(r);
        const QStringList cells{row.key, row.packValue, row.fileValue, row.unit,
                                row.differs ? tr("yes") : tr("no")};
        for (int c = 0; c < columns; ++c) {
            auto *item = new QTableWidgetItem(cells.at(c));
            if (row.differs) {
                item->setBackground(highlight);
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            m_table->setItem(r, c, item);
        }
    }
    m_table->resizeColumnsToContents();
    if (m_table->rowCount() > 0)
        m_table->setCurrentCell(0, 0);
}

bool ProfileCompareDialog::exportCsv()
{
    QString start = m_path;
    if (start.endsWith(QLatin1String(".cvprofile.json")))
        start.chop(int(qstrlen(".cvprofile.json")));
    start += QStringLiteral("-compare.csv");
    QString path = m_prompt.saveFileName(tr("CSV files (*.csv)"), start);
    if (path.isEmpty())
        return false;
    if (!path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        path += QStringLiteral(".csv");
    QSaveFile file(path);
    // A BOM, so that spreadsheet programs read the Chinese header as UTF-8.
    const QByteArray bytes = QByteArray("\xEF\xBB\xBF") + m_result.csv().toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        m_prompt.message(tr("Cannot write %1: %2").arg(path, file.errorString()), {},
                         UserPrompt::Icon::Warning);
        return false;
    }
    m_prompt.message(tr("The comparison was saved to %1").arg(path), {},
                     UserPrompt::Icon::Information);
    return true;
}

void ProfileCompareDialog::applyCaptions()
{
    setWindowTitle(m_path.isEmpty()
                       ? tr("Compare with pack")
                       : tr("Compare with pack: %1").arg(QFileInfo(m_path).fileName()));
    m_count->setText(
        tr("Items that differ between the pack and the profile: %1").arg(m_result.differing));
    m_table->setHorizontalHeaderLabels(
        {tr("Item"), tr("Value in the pack"), tr("Value in the file"), tr("Unit"), tr("Differs")});
    m_table->setAccessibleName(tr("Comparison"));
    m_table->setAccessibleDescription(m_count->text());
    m_export->setText(tr("Export CSV..."));
    m_export->setAccessibleName(tr("Export CSV"));
    m_close->setText(tr("Close"));
    for (int r = 0; r < m_table->rowCount(); ++r)
        if (QTableWidgetItem *item = m_table->item(r, columns - 1))
            item->setText(m_result.rows.at(r).differs ? tr("yes") : tr("no"));
}
