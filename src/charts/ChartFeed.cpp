#include "charts/ChartFeed.h"

#include "bank/BankController.h"
#include "bank/BankPackDecoder.h"
#include "state/AppState.h"

#include <QDateTime>

namespace {
constexpr quint8 liveDataItem = 6, cellVoltageItem = 8, balancingItem = 9;
} // namespace

ChartFeed::ChartFeed(AppState &state, BankController &bank)
    : m_state(state), m_bank(bank), m_clock([] { return QDateTime::currentMSecsSinceEpoch(); })
{
    connect(&state, &AppState::liveItemDecoded, this, &ChartFeed::liveItemDecoded);
    connect(&bank, &BankController::packUpdated, this, &ChartFeed::bankPackUpdated);
}

void ChartFeed::bankPackUpdated(int address)
{
    const BankPack *pack = m_bank.pack(address);
    if (!pack || !pack->online || !pack->hasLive)
        return;
    ChartSample sample;
    for (int id = 0; id < ChartSeries::Count; ++id) {
        const ChartSeries::Info &series = ChartSeries::info(id);
        for (int v = 0; v < BankPack::valueCount; ++v) {
            const auto value = BankPack::Value(v);
            if (BankPackDecoder::control(value) == series.control)
                sample.values[id] = ChartSample::number(pack->text(value)) * series.factor;
        }
    }
    m_store.addSample(address, m_clock(), sample);
}

void ChartFeed::liveItemDecoded(quint8 item)
{
    if (item == liveDataItem) {
        m_valuesFresh = true;
    } else if (item == cellVoltageItem) {
        m_cellsFresh = true;
    } else if (item == balancingItem) {
        ChartSample sample;
        if (m_valuesFresh)
            sample.values = ChartSample::valuesFrom(m_state.info);
        if (m_cellsFresh)
            sample.cells = ChartSample::cellsFrom(m_state.info);
        m_valuesFresh = m_cellsFresh = false;
        m_store.addSample(m_state.deviceAddress, m_clock(), sample);
    }
}
