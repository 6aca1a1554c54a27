#pragma once

#include "bank/BankExport.h"
#include "bank/BankPoller.h"
#include "bank/BankRecording.h"
#include "bank/BankTableModel.h"
#include "bank/LineLoan.h"
#include "bank/PortBankLine.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class AppState;
class LinkController;
class ScanController;
struct BankPack;

// The bank page's core. While the page is shown and the port is open it has
// the line, as the bus scan does: the link's live reads pause and its send and
// receive steps leave the port alone, and the packs the last scan found (or
// those stored from an earlier run) are polled in turn. Leaving the page, a
// closed port or a lost adapter gives the line back; the next page's traffic
// goes on as a tab switch starts it.
//
// Also the page's recording (one CSV line per pack per sweep) and its export
// to a workbook with one sheet per pack.
class BankController : public QObject {
    Q_OBJECT
public:
    BankController(AppState &state, LinkController &link, ScanController &scan);
    ~BankController() override;

    // Tab switches: the page shown, or another one.
    void enter();
    void leave();
    bool hasLine() const { return m_loan.held(); }

    void tick(); // the 1 ms polling timer
    void tick(qint64 nowMs);
    void secondTick(); // ages and the page's lines
    QTimer &timer() { return m_timer; }
    QTimer &secondTimer() { return m_secondTimer; }

    // A row chosen on the page: its address becomes the link page's, so the
    // other pages work on that pack. False for an address the list lacks.
    bool choosePack(int address);

    void exportWorkbook(); // the page's button: the last bank recording
    bool isExporting() const { return m_export.isRunning(); }
    BankExport &exporter() { return m_export; }

    const BankPoller &poller() const { return m_poller; }
    BankPoller &poller() { return m_poller; }
    BankTableModel &model() { return m_model; }
    // The latest snapshot of the pack at `address`; nullptr when not polled.
    const BankPack *pack(int address) const { return m_poller.pack(address); }
    QString recordingPath() const { return m_recording.path(); }
    // Milliseconds on the controller's clock (tests drive tick(nowMs) instead).
    qint64 now() const;
    void setClock(std::function<qint64()> clock) { m_clockOverride = std::move(clock); }

signals:
    void packUpdated(int address);

private:
    void takeLine();
    void releaseLine();
    void onSweep();
    void followForm(const QString &control);
    void startRecording();
    void stopRecording(const QString &message = {});
    void showTexts();
    void exportDone(bool ok);

    AppState &m_state;
    LinkController &m_link;
    ScanController &m_scan;
    LineLoan m_loan;
    PortBankLine m_line;
    BankPoller m_poller;
    BankTableModel m_model;
    BankRecording m_recording;
    BankExport m_export;
    QTimer m_timer;
    QTimer m_secondTimer;
    QElapsedTimer m_clock;
    std::function<qint64()> m_clockOverride;
    bool m_shown = false;
    QString m_lastRecording;
};
