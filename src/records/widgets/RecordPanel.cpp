#include "records/widgets/RecordPanel.h"

#include "base/widgets/FormBinder.h"
#include "i18n/widgets/CaptionFit.h"
#include "records/RecordForm.h"
#include "records/Recorder.h"
#include "state/AppState.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {
QLabel *namedLabel(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    return label;
}
} // namespace

RecordPanel::RecordPanel(AppState &appState, Recorder &recorder, QWidget *parent)
    : Panel(parent), m_state(appState), m_recorder(recorder)
{
    setObjectName(QStringLiteral("RecordPanel"));
    Form &form = m_state.record;

    m_frame = new QGroupBox(this);
    m_frame->setObjectName(QStringLiteral("Frame2"));
    m_recording = new QCheckBox(m_frame);
    FormBinder::bindCheckBox(m_recording, form, RecordField::recording);
    m_hint = namedLabel(QStringLiteral("Label2"), m_frame);
    m_hint->setWordWrap(true);
    m_pathLabel = namedLabel(QStringLiteral("Label1"), m_frame);
    auto *path = new QLineEdit(m_frame);
    FormBinder::bindLineEdit(path, form, RecordField::path);
    m_pathLabel->setBuddy(path);
    m_path = path;

    Recorder *target = &m_recorder;
    auto button = [this, &form, target](const QString &control, void (Recorder::*action)()) {
        auto *b = new QPushButton(m_frame);
        FormBinder::bindEnabled(b, form, control);
        connect(b, &QPushButton::clicked, this, [target, action] { (target->*action)(); });
        return b;
    };
    m_selectFile = button(RecordField::selectFile, &Recorder::selectFile);
    m_latestFile = button(RecordField::latestFile, &Recorder::latestFile);
    m_convert = button(RecordField::convert, &Recorder::convert);
    m_openExport = button(RecordField::openExport, &Recorder::openExport);
    m_openFolder = button(RecordField::openFolder, &Recorder::openFolder);
    m_folderLabel = namedLabel(QStringLiteral("folderLabel"), m_frame);
    auto *folder = new QLineEdit(m_frame);
    folder->setReadOnly(true);
    FormBinder::bindLineEdit(folder, form, RecordField::outputFolder);
    m_folderLabel->setBuddy(folder);
    m_folder = folder;

    m_progressLabel = namedLabel(QStringLiteral("Label4"), m_frame);
    auto *bar = new QProgressBar(m_frame);
    bar->setTextVisible(false);
    FormBinder::bindProgress(bar, form, RecordField::progress);
    m_progress = bar;
    auto *percent = new QLabel(m_frame);
    FormBinder::bindLabel(percent, form, RecordField::progressText);
    percent->setMinimumWidth(48);

    auto *grid = new QGridLayout(m_frame);
    grid->addWidget(m_recording, 0, 0, 1, 3);
    grid->addWidget(m_hint, 1, 0, 1, 3);
    grid->addWidget(m_pathLabel, 2, 0);
    grid->addWidget(path, 2, 1, 1, 2);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {m_selectFile, m_latestFile, m_convert, m_openExport})
        buttons->addWidget(b);
    buttons->addStretch();
    grid->addLayout(buttons, 3, 0, 1, 3);
    grid->addWidget(m_progressLabel, 4, 0);
    grid->addWidget(bar, 4, 1);
    grid->addWidget(percent, 4, 2);
    grid->addWidget(m_folderLabel, 5, 0);
    grid->addWidget(folder, 5, 1);
    grid->addWidget(m_openFolder, 5, 2);
    grid->setColumnStretch(1, 1);

    auto *page = new QVBoxLayout(this);
    page->addWidget(m_frame);
    page->addStretch();

    // Files and folders alike go to the desktop's own program for them.
    m_recorder.setOpener(
        [](const QString &file) { return QDesktopServices::openUrl(QUrl::fromLocalFile(file)); });
    applyCaptions();
}

void RecordPanel::applyCaptions()
{
    m_frame->setTitle(tr("Real time recording"));
    m_recording->setText(tr("Real-time data storage"));
    m_hint->setText(tr("Note: The communication status should jump normally, indicating that it is "
                       "in communication, otherwise it may not be able to record real-time data."));
    m_pathLabel->setText(tr("File Directory:"));
    m_selectFile->setText(tr("Select File"));
    m_latestFile->setText(tr("Latest Files"));
    m_convert->setText(tr("Export to Excel"));
    m_openExport->setText(tr("Open Export File"));
    m_progressLabel->setText(tr("Progress:"));
    m_folderLabel->setText(tr("Output folder:"));
    m_openFolder->setText(tr("Open folder"));
    for (QPushButton *b : {m_selectFile, m_latestFile, m_convert, m_openExport, m_openFolder})
        CaptionFit::padButton(b);
    nameField(m_path, m_pathLabel->text());
    nameField(m_folder, m_folderLabel->text());
    nameField(m_progress, m_progressLabel->text());
    // The percentage beside the bar is read out as the progress too.
    if (auto *percent = m_frame->findChild<QLabel *>(RecordField::progressText))
        nameField(percent, m_progressLabel->text());
    // The stored-data page beside this one has a button of the same caption.
    m_convert->setAccessibleName(tr("Export recording to Excel"));
    m_openFolder->setAccessibleName(tr("Open recordings folder"));
}
