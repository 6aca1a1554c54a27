#include "charts/ChartFeed.h"

#include "shell/Core.h"

#include <QDateTime>

namespace {
constexpr quint8 liveDataItem = 6, cellVoltageItem = 8, balancingItem = 9;
} // namespace

ChartFeed::ChartFeed(Core &core)
    : m_core(core), m_clock([] { return QDateTime::currentMSecsSinceEpoch(); })
{
    connect(&core.state, &AppState::liveItemDecoded, this, &ChartFeed::liveItemDecoded);
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
