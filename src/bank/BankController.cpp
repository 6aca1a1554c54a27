#include "bank/BankController.h"

#include "bank/BankForm.h"
#include "bank/BankSummary.h"
#include "bank/ScanController.h"
#include "base/UserPrompt.h"
#include "link/CommandCode.h"
#include "link/LinkController.h"
#include "link/LinkForm.h"
#include "link/ModeString.h"
#include "records/OutputFiles.h"
#include "state/AppState.h"

#include <QDir>
#include <QFileInfo>

BankController::BankController(AppState &state, LinkController &link, ScanController &scan)
    : m_state(state), m_link(link), m_scan(scan), m_loan(state, link), m_line(link.port()),
      m_poller(m_line, ModeString::parse(QStringLiteral("9600,n,8,1")), state.protocolCode),
      m_model(m_poller, [this] { return now(); })
{
    m_clock.start();
    m_timer.setInterval(1);
    m_secondTimer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, qOverload<>(&BankController::tick));
    connect(&m_secondTimer, &QTimer::timeout, this, &BankController::secondTick);
    connect(&m_poller, &BankPoller::packUpdated, this, [this](int address) {
        m_model.packChanged(address);
        emit packUpdated(address);
    });
    connect(&m_poller, &BankPoller::sweepFinished, this, &BankController::onSweep);
    connect(&m_poller, &BankPoller::lineFailedChanged, this, [this] {
        releaseLine();
        showTexts();
    });
    connect(&m_link, &LinkController::portOpenChanged, this, [this](bool open) {
        if (open && m_shown)
            takeLine();
        else if (!open)
            releaseLine();
        showTexts();
    });
    connect(&m_link, &LinkController::portLosing, this, &BankController::releaseLine);
    connect(&m_state, &AppState::languageChanged, this, [this] {
        m_model.retranslate();
        showTexts();
    });
    connect(&m_state.bank, &Form::changed, this, &BankController::followForm);
    connect(&m_export, &BankExport::progress, this,
            [this](int percent) { m_state.bank.setValue(BankField::exportProgress, percent); });
    connect(&m_export, &BankExport::finished, this, &BankController::exportDone);
    showTexts();
}

BankController::~BankController() = default;

qint64 BankController::now() const
{
    return m_clockOverride ? m_clockOverride() : m_clock.elapsed();
}

void BankController::enter()
{
    m_shown = true;
    if (m_link.portOpen())
        takeLine();
    m_secondTimer.start();
    showTexts();
}

void BankController::leave()
{
    if (!m_shown)
        return;
    m_shown = false;
    m_secondTimer.stop();
    releaseLine();
    showTexts();
}

void BankController::takeLine()
{
    if (m_loan.held())
        return;
    AppState &s = m_state;
    LinkController &link = m_link;
    m_loan.take();
    s.setStatusLine(tr("Polling the packs on the line"));

    m_poller.setLineFormat(ModeString::parse(link.portSettings()), s.protocolCode);
    const QList<int> addresses = m_scan.addresses();
    if (addresses != m_poller.addresses()) {
        m_model.beginReload();
        m_poller.setAddresses(addresses);
        m_model.endReload();
    }
    m_poller.start(now());
    if (m_loan.held())
        m_timer.start();
}

void BankController::releaseLine()
{
    if (!m_loan.held())
        return;
    m_timer.stop();
    m_poller.stop();
    m_loan.giveBack();
}

void BankController::tick()
{
    tick(now());
}

void BankController::tick(qint64 nowMs)
{
    if (m_loan.held())
        m_poller.tick(nowMs);
}

void BankController::secondTick()
{
    m_model.refreshAges();
    showTexts();
}

bool BankController::choosePack(int address)
{
    Form &link = m_state.link;
    // Entry 0 is 0xff, then 0..16.
    const int index = address + 1;
    if (address < 0 || index >= int(link.entries(LinkField::address).size()))
        return false;
    return link.setChoice(LinkField::address, index);
}

void BankController::onSweep()
{
    m_model.refreshAges();
    showTexts();
    if (!m_recording.isOpen())
        return;
    if (const Result<void> written =
            m_recording.writeSweep(m_poller.packs(), m_poller.sweepStartMs(), OutputFiles::now());
        !written)
        stopRecording(written.error().message);
    else
        showTexts();
}

void BankController::followForm(const QString &control)
{
    if (control == BankField::record) {
        const bool ticked = m_state.bank.check(BankField::record) != 0;
        if (ticked && !m_recording.isOpen())
            startRecording();
        else if (!ticked && m_recording.isOpen())
            stopRecording();
    }
}

void BankController::startRecording()
{
    if (const Result<void> started = m_recording.start(OutputFiles::now()); !started) {
        m_state.bank.setCheck(BankField::record, 0);
        m_state.prompt.message(started.error().message, {}, UserPrompt::Icon::Warning);
        return;
    }
    m_lastRecording = m_recording.path();
    showTexts();
}

void BankController::stopRecording(const QString &message)
{
    m_recording.stop();
    m_state.bank.setCheck(BankField::record, 0);
    showTexts();
    if (!message.isEmpty())
        m_state.prompt.message(message + QLatin1Char('\n') +
                                   tr("Bank recording has stopped; the lines written so far "
                                      "are kept."),
                               {}, UserPrompt::Icon::Warning);
}

void BankController::exportWorkbook()
{
    if (m_export.isRunning())
        return;
    UserPrompt &prompt = m_state.prompt;
    if (m_lastRecording.isEmpty()) {
        prompt.message(tr("Nothing to export yet: tick \"Record bank\" first."), {},
                       UserPrompt::Icon::Warning);
        return;
    }
    const QString workbook = BankExport::workbookPathFor(m_lastRecording);
    if (OutputFiles::heldByAnotherProgram(workbook)) {
        prompt.message(
            tr("The workbook \"%1\" is open in another program. Close it there and export again.")
                .arg(QDir::toNativeSeparators(workbook)),
            {}, UserPrompt::Icon::Warning);
        return;
    }
    if (const Result<void> started = m_export.start(m_lastRecording, workbook); !started) {
        prompt.message(started.error().message, {}, UserPrompt::Icon::Warning);
        return;
    }
    m_state.bank.setEnabled(BankField::exportButton, false);
    m_state.bank.setValue(BankField::exportProgress, 0);
    m_export.runInBackground();
}

void BankController::exportDone(bool ok)
{
    m_state.bank.setEnabled(BankField::exportButton, true);
    const QString path = QDir::toNativeSeparators(m_export.workbookPath());
    if (ok)
        m_state.prompt.message(tr("Export succeeded") + QLatin1Char('\n') + path);
    else
        m_state.prompt.message(tr("The export failed.") + QLatin1Char('\n') +
                                   m_export.errorString(),
                               {}, UserPrompt::Icon::Warning);
}

void BankController::showTexts()
{
    Form &form = m_state.bank;
    const QList<BankPack> &packs = m_poller.packs();
    int online = 0;
    for (const BankPack &p : packs)
        online += p.online ? 1 : 0;
    QString status;
    if (m_scan.addresses().isEmpty())
        status = tr("No packs known yet: scan the bus on the serial setting page.");
    else if (!m_link.portOpen())
        status = tr("Open the serial port on the serial setting page to poll the packs.");
    else if (m_poller.lineFailed())
        status = tr("Polling stopped: a request could not be sent.");
    else if (!m_loan.held())
        status = tr("Polling pauses while another page is shown.");
    else if (m_poller.lastSweepMs() < 0)
        status = tr("Polling %1 packs...").arg(packs.size());
    else
        status = tr("Sweep %1: %2 of %3 packs online, last sweep %4 s")
                     .arg(m_poller.sweeps())
                     .arg(online)
                     .arg(packs.size())
                     .arg(double(m_poller.lastSweepMs()) / 1000.0, 0, 'f', 2);
    form.setText(BankField::status, status);
    const BankSummary summary = BankSummary::of(packs);
    form.setText(BankField::voltage, summary.voltageLine());
    form.setText(BankField::current, summary.currentLine());
    form.setText(BankField::soc, summary.socLine());
    form.setText(BankField::difference, summary.differenceLine());
    QString recording;
    if (m_recording.isOpen())
        recording = tr("Recording to %1 (%2 lines)")
                        .arg(QDir::toNativeSeparators(m_recording.path()))
                        .arg(m_recording.linesWritten());
    else if (!m_lastRecording.isEmpty())
        recording = tr("Last recording: %1").arg(QDir::toNativeSeparators(m_lastRecording));
    form.setText(BankField::recordPath, recording);
}
