#include "charts/ChartFeed.h"

#include "bank/BankPackDecoder.h"
#include "shell/Core.h"

#include <QDateTime>

namespace {
constexpr quint8 liveDataItem = 6, cellVoltageItem = 8, balancingItem = 9;
} // namespace

ChartFeed::ChartFeed(Core &core)
    : m_core(core), m_clock([] { return QDateTime::currentMSecsSinceEpoch(); })
{
    connect(&core.state, &AppState::liveItemDecoded, this, &ChartFeed::liveItemDecoded);
    connect(&core.bank, &BankController::packUpdated, this, &ChartFeed::bankPackUpdated);
}

void ChartFeed::bankPackUpdated(int address)
{
    const BankPack *pack = m_core.bank.pack(address);
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
            sample.values = ChartSample::valuesFrom(m_core.state.info);
        if (m_cellsFresh)
            sample.cells = ChartSample::cellsFrom(m_core.state.info);
        m_valuesFresh = m_cellsFresh = false;
        m_store.addSample(m_core.state.deviceAddress, m_clock(), sample);
    }
}
