#pragma once

#include "bank/BusScan.h"
#include "bank/LineLoan.h"
#include "bank/PortBankLine.h"
#include "link/CommandCode.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class AppState;
class LinkController;

// The bus scan as the link page runs it. The scan has the line to itself: the
// link's polling is paused the way a page without live reads pauses it, and
// its send and receive steps leave the port alone until the scan is over; then
// the page's live reads go on where the tab left them. Closing the port, an
// unplugged adapter or leaving the page ends the scan, keeping what it found.
//
// The results are texts of the scan form (AppState::scan), rebuilt in the
// other language when it changes. A complete scan that found packs is stored
// in the settings record with the port; at start-up the stored packs are shown
// and offered (addresses()) until a new scan finds others.
class ScanController : public QObject {
    Q_OBJECT
public:
    ScanController(AppState &state, LinkController &link);
    ~ScanController() override;

    bool running() const;
    // The button: starts a scan, or stops the one running.
    void toggle();
    // False (and the user told why) when the port is not open.
    bool start();
    bool start(qint64 nowMs);
    // Ends a running scan; the link's traffic goes on as before it.
    void cancel();
    void tick();
    void tick(qint64 nowMs);
    QTimer &timer() { return m_timer; }

    // The last scan, or nullptr before the first one.
    const BusScan *lastScan() const { return m_scan.get(); }
    // The packs on offer: those of the last complete scan, or those stored.
    QList<int> addresses() const { return m_addresses; }
    QString addressesPort() const { return m_addressesPort; }

    // Reads the stored packs into the form (start-up).
    void loadRemembered();

    static QString scanCaption();
    static QString stopCaption();

signals:
    void runningChanged(bool running);

private:
    enum class Outcome { None, Complete, Cancelled, LineFailed };
    void end(Outcome outcome);
    void onFinished();
    void onProgress(int done, int total);
    void showTexts();
    QString resultLines() const;
    qint64 now() const { return m_clock.elapsed(); }

    AppState &m_state;
    LinkController &m_link;
    LineLoan m_loan;
    QTimer m_timer;
    QElapsedTimer m_clock;
    std::unique_ptr<PortBankLine> m_line;
    std::unique_ptr<BusScan> m_scan;
    Outcome m_outcome = Outcome::None;
    bool m_ending = false;
    // What the link was doing when the scan took the line over.
    quint8 m_savedCommand = CommandCode::pause;
    QList<int> m_addresses;
    QString m_addressesPort;
    bool m_storeFailed = false;
};
