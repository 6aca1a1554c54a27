#pragma once

#include "charts/ChartStore.h"

#include <QObject>

#include <functional>

class AppState;
class BankController;

// Feeds the charts from the polling that runs anyway: once per cycle, when its
// last live item (the balancing map) has been decoded, the information page's
// values go into the store under the address the link talks to. Values come
// only from a cycle whose live block decoded, cells only from one whose cell
// voltages did, so a failed read never repeats stale values as new ones.
// While the bank page has the line, its packs' live values come in instead,
// each under its address (no cells: the bank does not read them).
class ChartFeed : public QObject {
    Q_OBJECT
public:
    ChartFeed(AppState &state, BankController &bank);

    ChartStore &store() { return m_store; }
    // Where the time stamps come from (tests drive their own clock).
    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

    void liveItemDecoded(quint8 item);
    // The bank page polls several packs itself: each pack's fresh live values
    // go in under its own address.
    void bankPackUpdated(int address);

private:
    AppState &m_state;
    BankController &m_bank;
    ChartStore m_store;
    std::function<qint64()> m_clock;
    bool m_valuesFresh = false;
    bool m_cellsFresh = false;
};
