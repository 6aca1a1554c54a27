#include "bank/ScanController.h"

#include "bank/ScanForm.h"
#include "base/UserPrompt.h"
#include "i18n/SettingsRecord.h"
#include "link/CommandCode.h"
#include "link/LinkController.h"
#include "link/ModeString.h"
#include "state/AppState.h"

#include <QDir>

ScanController::ScanController(AppState &state, LinkController &link)
    : m_state(state), m_link(link), m_loan(state, link)
{
    m_clock.start();
    m_timer.setInterval(1);
    connect(&m_timer, &QTimer::timeout, this, qOverload<>(&ScanController::tick));
    connect(&m_link, &LinkController::portOpenChanged, this, [this](bool open) {
        m_state.scan.setEnabled(ScanField::scan, open);
        if (!open)
            cancel();
    });
    // Before the link decides what to resume after a lost adapter, so that it
    // sees the live reads rather than the scan's pause.
    connect(&m_link, &LinkController::portLosing, this, &ScanController::cancel);
    connect(&m_state, &AppState::languageChanged, this, &ScanController::showTexts);
}

ScanController::~ScanController() = default;

QString ScanController::scanCaption()
{
    return tr("Scan bus");
}

QString ScanController::stopCaption()
{
    return tr("Stop scan");
}

bool ScanController::running() const
{
    return m_scan && m_scan->running();
}

void ScanController::toggle()
{
    if (running())
        cancel();
    else
        start();
}

bool ScanController::start()
{
    return start(now());
}

bool ScanController::start(qint64 nowMs)
{
    if (running())
        return true;
    AppState &s = m_state;
    LinkController &link = m_link;
    if (!link.portOpen()) {
        s.prompt.message(LinkController::openPortFirstText());
        return false;
    }
    m_savedCommand = s.currentCommand;
    m_loan.take();

    m_outcome = Outcome::None;
    m_line = std::make_unique<PortBankLine>(link.port());
    m_scan =
        std::make_unique<BusScan>(*m_line, ModeString::parse(link.portSettings()), s.protocolCode);
    connect(m_scan.get(), &BusScan::progressChanged, this, &ScanController::onProgress);
    connect(m_scan.get(), &BusScan::finished, this, &ScanController::onFinished);
    s.scan.setText(ScanField::found, QString());
    m_timer.start();
    m_scan->start(nowMs);
    // A line that refuses the first request has ended the scan already.
    if (running()) {
        emit runningChanged(true);
        showTexts();
    }
    return true;
}

void ScanController::cancel()
{
    if (running())
        m_scan->cancel(now());
}

void ScanController::tick()
{
    tick(now());
}

void ScanController::tick(qint64 nowMs)
{
    if (running())
        m_scan->tick(nowMs);
}

void ScanController::onProgress(int done, int total)
{
    m_state.scan.setValue(ScanField::progress, total > 0 ? done * 100 / total : 0);
    if (running())
        showTexts();
}

void ScanController::onFinished()
{
    if (m_scan->complete())
        end(Outcome::Complete);
    else if (m_scan->lineFailed())
        end(Outcome::LineFailed);
    else
        end(Outcome::Cancelled);
}

void ScanController::end(Outcome outcome)
{
    AppState &s = m_state;
    LinkController &link = m_link;
    m_timer.stop();
    m_outcome = outcome;
    // The live reads start again from the first one; a one-off exchange that
    // the scan's start cut short is not sent again (it may have been a write).
    s.currentCommand =
        m_savedCommand < CommandCode::pause ? CommandCode::firstLiveRead : CommandCode::pause;
    m_loan.giveBack(s.currentCommand == CommandCode::firstLiveRead);

    QList<int> packs;
    for (const BusScan::Entry &e : m_scan->found())
        if (e.found == BusScan::Found::Pack)
            packs.append(e.address);
    m_storeFailed = false;
    // A scan that found nothing more likely met a loose cable than an empty
    // bus: what an earlier scan found stays on offer.
    if (outcome == Outcome::Complete && !packs.isEmpty()) {
        m_addresses = packs;
        m_addressesPort = QStringLiteral("COM%1").arg(link.portNumber());
        if (!SettingsRecord::storeBank({m_addressesPort, m_addresses})) {
            m_storeFailed = true;
            s.prompt.message(tr("The packs found could not be saved in %1; they are offered "
                                "until the program ends.")
                                 .arg(QDir::toNativeSeparators(SettingsRecord::filePath())),
                             QString(), UserPrompt::Icon::Warning);
        }
    }
    emit runningChanged(false);
    showTexts();
}

void ScanController::loadRemembered()
{
    const SettingsRecord::BankChoice bank = SettingsRecord::storedBank();
    m_addresses = bank.addresses;
    m_addressesPort = m_addresses.isEmpty() ? QString() : bank.port;
    showTexts();
}

namespace {
QString addressList(const QList<int> &addresses)
{
    QStringList parts;
    for (int a : addresses)
        parts << QString::number(a);
    return parts.join(QStringLiteral(", "));
}
} // namespace

QString ScanController::resultLines() const
{
    if (!m_scan)
        return {};
    QStringList lines;
    for (const BusScan::Entry &e : m_scan->found()) {
        switch (e.clash) {
        case BusScan::ClashSign::None:
            lines << tr("Address %1: project %2, battery ID %3")
                         .arg(e.address)
                         .arg(e.projectNumber, e.batteryId);
            break;
        case BusScan::ClashSign::CrcNeverPassed:
            lines << tr("Address %1: probable address clash (answers fail the CRC)").arg(e.address);
            break;
        case BusScan::ClashSign::TwoIdentities:
            lines << tr("Address %1: probable address clash (two different battery IDs answer)")
                         .arg(e.address);
            break;
        }
    }
    if (lines.isEmpty() && m_outcome == Outcome::Complete)
        lines << tr("No pack answered at addresses %1 to %2.")
                     .arg(BusScan::firstAddress)
                     .arg(BusScan::lastAddress);
    return lines.join(QLatin1Char('\n'));
}

void ScanController::showTexts()
{
    Form &form = m_state.scan;
    QString status;
    const qint64 nowMs = now();
    if (running()) {
        status =
            tr("Scanning address %1 of %2").arg(m_scan->currentAddress()).arg(BusScan::lastAddress);
    } else {
        switch (m_outcome) {
        case Outcome::Complete: {
            int packs = 0;
            for (const BusScan::Entry &e : m_scan->found())
                packs += e.found == BusScan::Found::Pack ? 1 : 0;
            status = tr("Scan complete in %1 s; packs: %2, probable address clashes: %3")
                         .arg(double(m_scan->elapsedMs(nowMs)) / 1000.0, 0, 'f', 1)
                         .arg(packs)
                         .arg(int(m_scan->found().size()) - packs);
        } break;
        case Outcome::Cancelled:
            status = tr("Scan stopped at address %1; what was found so far is listed.")
                         .arg(BusScan::firstAddress + m_scan->addressesDone());
            break;
        case Outcome::LineFailed:
            status = tr("Scan stopped: the request to address %1 could not be sent.")
                         .arg(BusScan::firstAddress + m_scan->addressesDone());
            break;
        case Outcome::None:
            if (!m_addresses.isEmpty())
                status = tr("Last scan on %1 found addresses %2.")
                             .arg(m_addressesPort, addressList(m_addresses));
            break;
        }
    }
    form.setText(ScanField::status, status);
    form.setText(ScanField::found, resultLines());
    if (!running() && m_outcome == Outcome::None)
        form.setValue(ScanField::progress, 0);
}
