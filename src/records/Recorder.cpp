#include "records/Recorder.h"

#include "base/UserPrompt.h"
#include "link/CommandCode.h"
#include "link/LinkController.h"
#include "records/DataLocations.h"
#include "records/OutputFiles.h"
#include "records/RecordForm.h"
#include "records/RecordingLine.h"
#include "state/AppState.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}
} // namespace

Recorder::Recorder(AppState &state, LinkController &link)
    : m_state(state), m_link(link), m_encoder(QStringConverter::System)
{
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &Recorder::tick);
    connect(&m_state.record, &Form::changed, this, &Recorder::followCheckBox);
    connect(&m_conversion, &RecordingConversion::progress, this, &Recorder::showProgress);
    connect(&m_conversion, &RecordingConversion::finished, this, &Recorder::conversionDone);
    showOutputFolder();
}

void Recorder::showOutputFolder()
{
    m_state.record.setText(RecordField::outputFolder,
                           native(DataLocations::outputFolder(topFolder())));
}

void Recorder::openFolder()
{
    showOutputFolder();
    if (const Result<void> opened = OutputFiles::openFolder(topFolder(), m_opener); !opened)
        m_state.prompt.message(opened.error().message, {}, UserPrompt::Icon::Warning);
}

QString Recorder::templateName()
{
    return QStringLiteral("Real time data template.xlsx");
}
QString Recorder::fileFilter()
{
    return QStringLiteral("Batch Files (*.txt)");
}
QString Recorder::topFolder()
{
    return QStringLiteral("real-time data");
}

void Recorder::followCheckBox(const QString &control)
{
    if (control != RecordField::recording)
        return;
    const bool ticked = m_state.record.check(RecordField::recording) != 0;
    if (ticked && !m_timer.isActive())
        start();
    else if (!ticked)
        m_timer.stop();
}

void Recorder::stop()
{
    m_timer.stop();
    m_state.record.setCheck(RecordField::recording, 0);
}

void Recorder::start()
{
    AppState &s = m_state;
    s.record.setValue(RecordField::progress, 0);
    showOutputFolder();
    const QDateTime moment = OutputFiles::now();
    const Result<QString> folder = OutputFiles::dayFolder(topFolder(), moment.date());
    if (!folder)
        return failRecording(folder.error().message);
    const QString path =
        OutputFiles::freePath(*folder, OutputFiles::stampName(moment), QStringLiteral(".txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return failRecording(tr("Cannot create the recording file \"%1\": %2")
                                 .arg(native(path), file.errorString()));
    file.close();
    s.recordFilePath = path;
    s.record.setText(RecordField::path, native(path));
    s.convertedLineCount = 0;
    s.recordLineCount = 0;
    m_timer.start();
}

bool Recorder::conditionsHold() const
{
    const AppState &s = m_state;
    return s.record.check(RecordField::recording) != 0 && m_link.portOpen() &&
           s.currentCommand < CommandCode::pause && s.linkCountdown > 0 &&
           !s.recordFilePath.isEmpty();
}

void Recorder::tick()
{
    if (!conditionsHold())
        return;
    AppState &s = m_state;
    const int number = s.recordLineCount + 1;
    const QString line = RecordingLine::compose(s.info, number, OutputFiles::now());
    const QByteArray bytes = m_encoder.encode(line + QStringLiteral("\r\n"));
    // Opened and closed for every line, so each line is on disk once written.
    QFile file(s.recordFilePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append) || file.write(bytes) != bytes.size() ||
        !file.flush()) {
        return failRecording(tr("Cannot write to the recording file \"%1\": %2")
                                 .arg(native(s.recordFilePath), file.errorString()));
    }
    file.close();
    s.recordLineCount = number;
}

// One message, and the recording stops, rather than the same failure every
// second.
void Recorder::failRecording(const QString &message)
{
    stop();
    m_state.prompt.message(message + QLatin1Char('\n') + tr("Recording has stopped."), {},
                           UserPrompt::Icon::Warning);
}

void Recorder::selectFile()
{
    const QString start = DataLocations::outputFolder(topFolder());
    const QString path = m_state.prompt.openFileName(fileFilter(), start);
    if (!path.isEmpty())
        m_state.record.setText(RecordField::path, native(path));
}

void Recorder::latestFile()
{
    m_state.record.setText(RecordField::path, native(m_state.recordFilePath));
}

void Recorder::convert()
{
    if (m_conversion.isRunning())
        return;
    AppState &s = m_state;
    stop();
    auto refuse = [&s](const QString &text) {
        s.prompt.message(text, {}, UserPrompt::Icon::Warning);
    };
    const QString recording =
        QDir::fromNativeSeparators(s.record.text(RecordField::path).trimmed());
    const QString workbook = RecordingConversion::workbookPathFor(recording);
    if (workbook.isEmpty())
        return refuse(
            tr("\"%1\" is not a recording file: choose a file whose name contains \".txt\".")
                .arg(native(recording)));
    const Result<QString> templatePath = DataLocations::findTemplate(templateName());
    if (!templatePath)
        return refuse(templatePath.error().message);
    if (OutputFiles::heldByAnotherProgram(workbook))
        return refuse(
            tr("The workbook \"%1\" is open in another program. Close it there and export again.")
                .arg(native(workbook)));
    if (QFileInfo::exists(workbook)) {
        QFile existing(workbook);
        if (!existing.open(QIODevice::ReadWrite))
            return refuse(tr("The workbook \"%1\" cannot be replaced: %2")
                              .arg(native(workbook), existing.errorString()));
    }
    if (const Result<void> started = m_conversion.start(recording, *templatePath, workbook);
        !started)
        return refuse(started.error().message);
    s.record.setValue(RecordField::progress, 0);
    s.record.setText(RecordField::progressText, QString());
    s.record.setEnabled(RecordField::convert, false);
    m_conversionTarget = workbook;
    m_conversion.runInBackground();
}

void Recorder::showProgress(int percent)
{
    m_state.record.setValue(RecordField::progress, percent);
    m_state.record.setText(RecordField::progressText, QString::number(percent) + QLatin1Char('%'));
}

void Recorder::conversionDone(bool ok)
{
    AppState &s = m_state;
    s.record.setEnabled(RecordField::convert, true);
    if (ok) {
        s.exportXlsxPath = m_conversionTarget;
        s.convertedLineCount = m_conversion.linesWritten();
        showProgress(100);
        s.prompt.message(tr("Export succeeded") + QLatin1Char('\n') + native(m_conversionTarget));
    } else {
        s.prompt.message(tr("The export failed.") + QLatin1Char('\n') + m_conversion.errorString(),
                         {}, UserPrompt::Icon::Warning);
    }
    emit conversionFinished(ok);
}

void Recorder::openExport()
{
    const QString path = m_state.exportXlsxPath;
    if (path.isEmpty())
        return;
    if (!QFileInfo::exists(path)) {
        m_state.prompt.message(tr("The workbook \"%1\" no longer exists.").arg(native(path)), {},
                               UserPrompt::Icon::Warning);
        return;
    }
    if (!m_opener || !m_opener(path))
        m_state.prompt.message(tr("No program could open \"%1\".").arg(native(path)), {},
                               UserPrompt::Icon::Warning);
}
