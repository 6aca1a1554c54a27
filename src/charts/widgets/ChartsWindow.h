#pragma once

#include "charts/ChartStore.h"
#include "charts/ChartTimeline.h"
#include "charts/RecordingReader.h"

#include <QList>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class AppState;
class QAction;
class QBarCategoryAxis;
class QBarSet;
class QChartView;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QMenu;
class QPushButton;
class QSplitter;
class QValueAxis;
class TrendChartView;

// The charts, in a window of their own beside the fixed main window: the cell
// voltages of the last cycle as bars, and the trends of one pack (or, with
// several packs, every pack's total voltage and SOC) over a chosen span. It
// shows the live store, which the polling fills whether the window is open
// or not, or a recording read from a file. Size and place are remembered.
class ChartsWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int allPacks = -1;

    ChartsWindow(ChartStore &live, AppState &state, QWidget *parent = nullptr);
    ~ChartsWindow() override;

    // Adds the "Charts" entry to `menu`; the window is made the first time it
    // is chosen, as a child of `owner`.
    static QAction *addTo(QMenu *menu, ChartStore &live, AppState &state, QWidget *owner);

    void applyCaptions();
    // Redraws from the store and the timeline.
    void refresh();
    // What the clock of the live view reads (tests drive their own).
    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

    // Buttons.
    void setPaused(bool paused);
    void zoomIn();
    void zoomTo(qint64 from, qint64 to);
    void reset();
    void saveAsPng();
    bool saveImage(const QString &path);
    void openRecording();
    // Starts reading; the view switches to the recording once it is read.
    bool loadRecording(const QString &path);
    void showLive();

    bool showingRecording() const { return m_showingRecording; }
    ChartTimeline &timeline() { return m_timeline; }
    RecordingReader &reader() { return m_reader; }
    const ChartStore &recording() const { return m_recording; }
    int currentPack() const;

    QComboBox *sourceChoice() const { return m_source; }
    QComboBox *packChoice() const { return m_pack; }
    QComboBox *spanChoice() const { return m_span; }
    QPushButton *pauseButton() const { return m_pause; }
    QCheckBox *seriesBox(int series) const { return m_seriesBoxes[std::size_t(series)]; }
    QChartView *cellBars() const { return m_bars; }
    QLabel *cellSummary() const { return m_summary; }
    QLabel *statusLabel() const { return m_status; }
    // The trend charts now on show, in their order on the window.
    QList<TrendChartView *> visibleTrends() const;
    QList<QBarSet *> barSets() const { return m_sets; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    ChartStore &source() { return m_showingRecording ? m_recording : m_live; }
    qint64 latest() const;
    void buildControls();
    void buildBars();
    void rebuildPackChoice();
    void arrangeTrends();
    void drawTrend(TrendChartView *view, const ChartTimeline::Range &range);
    void drawStaged();
    void showRange(const ChartTimeline::Range &range);
    void drawBars();
    void onSample(int address);
    void followLive();
    void recordingRead(bool ok);
    void rememberGeometry();

    ChartStore &m_live;
    AppState &m_state;
    ChartStore m_recording;
    ChartStore m_pending; // a recording being read, until it is complete
    RecordingReader m_reader;
    ChartTimeline m_timeline;
    bool m_showingRecording = false;
    std::function<qint64()> m_clock;
    QTimer m_tick;            // the time axis moves on while following live values
    qint64 m_trendsDrawn = 0; // when the trends were last drawn, by m_clock
    QTimer m_redraw;          // gathers the samples of one bank cycle into one redraw
    QTimer m_stage;           // draws the charts of m_staged, one per pass
    QList<TrendChartView *> m_staged;
    ChartTimeline::Range m_stagedRange;

    QLabel *m_sourceLabel = nullptr;
    QComboBox *m_source = nullptr;
    QLabel *m_packLabel = nullptr;
    QComboBox *m_pack = nullptr;
    QLabel *m_spanLabel = nullptr;
    QComboBox *m_span = nullptr;
    QPushButton *m_pause = nullptr;
    QPushButton *m_zoomIn = nullptr;
    QPushButton *m_reset = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_open = nullptr;
    std::array<QCheckBox *, ChartSeries::Count> m_seriesBoxes{};
    QSplitter *m_splitter = nullptr;
    QWidget *m_barsPane = nullptr;
    QChartView *m_bars = nullptr;
    QBarCategoryAxis *m_cellAxis = nullptr;
    QValueAxis *m_voltAxis = nullptr;
    QList<QBarSet *> m_sets;
    QLabel *m_summary = nullptr;
    QWidget *m_trendPane = nullptr;
    QGridLayout *m_trendGrid = nullptr;
    QList<TrendChartView *> m_groupCharts; // one per series group
    TrendChartView *m_bankVoltage = nullptr;
    TrendChartView *m_bankSoc = nullptr;
    QLabel *m_status = nullptr;
    QString m_recordingName;
};
