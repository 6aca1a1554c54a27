#include "charts/widgets/ChartsWindow.h"

#include "base/UserPrompt.h"
#include "charts/widgets/TrendChartView.h"
#include "i18n/SettingsRecord.h"
#include "records/DataLocations.h"
#include "records/Recorder.h"
#include "state/AppState.h"

#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QBoxLayout>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLegendMarker>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStackedBarSeries>
#include <QToolTip>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {
const QString geometryKey = QStringLiteral("charts");
constexpr int redrawDelayMs = 200;
constexpr int recordingAddress = 0;

// Bar sets: how a cell is marked, each once plain and once hatched for a
// cell that is being balanced.
enum class Mark { Plain, Highest, Lowest };
constexpr int setCount = 6;
int setIndex(Mark mark, bool balancing)
{
    return int(mark) * 2 + (balancing ? 1 : 0);
}
const QColor markColours[] = {QColor(0x46, 0x82, 0xB4), QColor(0xC9, 0x30, 0x2C),
                              QColor(0xE0, 0x8E, 0x0B)};

QString volts(int millivolts)
{
    return QString::number(millivolts / 1000.0, 'f', 3);
}

QString timeText(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}
} // namespace

ChartsWindow::ChartsWindow(ChartStore &live, AppState &state, QWidget *parent)
    : QWidget(parent, Qt::Window), m_live(live), m_state(state),
      m_clock([] { return QDateTime::currentMSecsSinceEpoch(); })
{
    setObjectName(QStringLiteral("ChartsWindow"));
    setAttribute(Qt::WA_QuitOnClose, false);
    buildControls();
    buildBars();
    arrangeTrends();
    rebuildPackChoice();
    applyCaptions();

    m_tick.setInterval(1000);
    connect(&m_tick, &QTimer::timeout, this, &ChartsWindow::followLive);
    m_redraw.setSingleShot(true);
    m_redraw.setInterval(redrawDelayMs);
    connect(&m_redraw, &QTimer::timeout, this, &ChartsWindow::followLive);
    m_stage.setInterval(0);
    connect(&m_stage, &QTimer::timeout, this, &ChartsWindow::drawStaged);
    connect(&m_live, &ChartStore::sampleAdded, this, &ChartsWindow::onSample);
    connect(&m_live, &ChartStore::packsChanged, this, [this] {
        if (!m_showingRecording)
            rebuildPackChoice();
    });
    connect(&m_state, &AppState::languageChanged, this, &ChartsWindow::applyCaptions);
    connect(&m_reader, &RecordingReader::finished, this, &ChartsWindow::recordingRead);
    connect(&m_reader, &RecordingReader::progress, this, [this](int percent) {
        m_status->setText(tr("Reading the recording: %1 %").arg(percent));
    });

    const QByteArray geometry = SettingsRecord::storedWindowGeometry(geometryKey);
    if (geometry.isEmpty() || !restoreGeometry(geometry)) {
        const QSize room = screen() ? screen()->availableGeometry().size() : QSize(1100, 820);
        resize(room.boundedTo(QSize(1100, 820)));
    }
}

ChartsWindow::~ChartsWindow()
{
    if (isVisible())
        rememberGeometry();
}

QAction *ChartsWindow::addTo(QMenu *menu, ChartStore &live, AppState &state, QWidget *owner)
{
    QAction *action = menu->addAction(QString());
    action->setObjectName(QStringLiteral("chartsAction"));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    const auto caption = [action] { action->setText(tr("Charts")); };
    caption();
    QObject::connect(&state, &AppState::languageChanged, action, caption);
    QObject::connect(action, &QAction::triggered, owner, [&live, &state, owner] {
        auto *window = owner->findChild<ChartsWindow *>(QString(), Qt::FindDirectChildrenOnly);
        if (!window)
            window = new ChartsWindow(live, state, owner);
        window->show();
        window->raise();
        window->activateWindow();
    });
    return action;
}

void ChartsWindow::buildControls()
{
    auto *top = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    top->addLayout(row);
    const auto labelled = [row](QLabel *&label, QComboBox *&box, const char *name) {
        label = new QLabel;
        box = new QComboBox;
        box->setObjectName(QLatin1String(name));
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        label->setBuddy(box);
        row->addWidget(label);
        row->addWidget(box);
    };
    labelled(m_sourceLabel, m_source, "source");
    labelled(m_packLabel, m_pack, "pack");
    labelled(m_spanLabel, m_span, "span");
    m_source->addItem(QString(), 0);
    m_span->addItems({QString(), QString(), QString()});
    m_pause = new QPushButton;
    m_pause->setCheckable(true);
    m_zoomIn = new QPushButton;
    m_reset = new QPushButton;
    m_save = new QPushButton;
    m_open = new QPushButton;
    for (QPushButton *b : {m_pause, m_zoomIn, m_reset, m_save, m_open})
        row->addWidget(b);
    row->addStretch();

    auto *seriesRow = new QHBoxLayout;
    top->addLayout(seriesRow);
    for (int id = 0; id < ChartSeries::Count; ++id) {
        auto *box = new QCheckBox;
        box->setObjectName(QStringLiteral("series%1").arg(id));
        box->setChecked(true);
        seriesRow->addWidget(box);
        m_seriesBoxes[std::size_t(id)] = box;
        connect(box, &QCheckBox::toggled, this, [this] {
            arrangeTrends();
            refresh();
        });
    }
    seriesRow->addStretch();

    m_splitter = new QSplitter(Qt::Vertical);
    top->addWidget(m_splitter, 1);
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    top->addWidget(m_status);

    connect(m_source, &QComboBox::activated, this, [this](int index) {
        if (m_source->itemData(index).toInt() == 0)
            showLive();
        else if (!m_showingRecording) {
            m_showingRecording = true;
            rebuildPackChoice();
            m_timeline.reset();
            refresh();
        }
    });
    connect(m_pack, &QComboBox::activated, this, [this] {
        arrangeTrends();
        refresh();
    });
    connect(m_span, &QComboBox::activated, this, [this](int index) {
        m_timeline.setSpan(ChartTimeline::Span(index));
        refresh();
    });
    connect(m_pause, &QPushButton::toggled, this, &ChartsWindow::setPaused);
    connect(m_zoomIn, &QPushButton::clicked, this, &ChartsWindow::zoomIn);
    connect(m_reset, &QPushButton::clicked, this, &ChartsWindow::reset);
    connect(m_save, &QPushButton::clicked, this, &ChartsWindow::saveAsPng);
    connect(m_open, &QPushButton::clicked, this, &ChartsWindow::openRecording);

    m_trendPane = new QWidget;
    m_trendGrid = new QGridLayout(m_trendPane);
    m_trendGrid->setContentsMargins(0, 0, 0, 0);
    const auto makeTrend = [this](const char *name) {
        auto *view = new TrendChartView(m_trendPane);
        view->setObjectName(QLatin1String(name));
        connect(view, &TrendChartView::rangeSelected, this, &ChartsWindow::zoomTo);
        return view;
    };
    for (int g = 0; g < int(ChartSeries::Group::Count); ++g)
        m_groupCharts.append(makeTrend("trend"));
    m_bankVoltage = makeTrend("bankVoltage");
    m_bankSoc = makeTrend("bankSoc");
}

void ChartsWindow::buildBars()
{
    m_barsPane = new QWidget;
    auto *layout = new QVBoxLayout(m_barsPane);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *chart = new QChart;
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->legend()->setAlignment(Qt::AlignTop);
    auto *series = new QStackedBarSeries(chart);
    for (int i = 0; i < setCount; ++i) {
        auto *set = new QBarSet(QString(), series);
        const QColor colour = markColours[i / 2];
        if (i % 2) {
            set->setBrush(QBrush(colour, Qt::BDiagPattern));
            set->setPen(QPen(colour, 2));
        } else {
            set->setColor(colour);
            set->setBorderColor(colour.darker(130));
        }
        series->append(set);
        m_sets.append(set);
        connect(set, &QBarSet::hovered, this, [this, set](bool on, int index) {
            if (on && index >= 0 && index < set->count() && set->at(index) > 0)
                QToolTip::showText(
                    QCursor::pos(),
                    tr("Cell %1: %2 V").arg(index + 1).arg(set->at(index), 0, 'f', 3));
            else
                QToolTip::hideText();
        });
    }
    series->setBarWidth(0.8);
    chart->addSeries(series);
    m_cellAxis = new QBarCategoryAxis(chart);
    m_voltAxis = new QValueAxis(chart);
    m_voltAxis->setLabelFormat(QStringLiteral("%.3f"));
    chart->addAxis(m_cellAxis, Qt::AlignBottom);
    chart->addAxis(m_voltAxis, Qt::AlignLeft);
    series->attachAxis(m_cellAxis);
    series->attachAxis(m_voltAxis);
    m_bars = new QChartView(chart);
    m_bars->setObjectName(QStringLiteral("cellBars"));
    m_bars->setRenderHint(QPainter::Antialiasing);
    m_bars->setMinimumHeight(160);
    m_summary = new QLabel;
    m_summary->setObjectName(QStringLiteral("cellSummary"));
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_summary->setFocusPolicy(Qt::StrongFocus); // read out by keyboard users too
    layout->addWidget(m_bars, 1);
    layout->addWidget(m_summary);
    m_splitter->addWidget(m_barsPane);
    m_splitter->addWidget(m_trendPane);
    m_splitter->setStretchFactor(0, 2);
    m_splitter->setStretchFactor(1, 5);
}

void ChartsWindow::applyCaptions()
{
    setWindowTitle(tr("Charts") + QStringLiteral(" - Cellvane"));
    m_sourceLabel->setText(tr("&Source:"));
    m_packLabel->setText(tr("P&ack:"));
    m_spanLabel->setText(tr("S&pan:"));
    m_source->setItemText(0, tr("Live"));
    if (m_source->count() > 1)
        m_source->setItemText(1, tr("Recording: %1").arg(m_recordingName));
    m_span->setItemText(0, tr("5 minutes"));
    m_span->setItemText(1, tr("1 hour"));
    m_span->setItemText(2, tr("24 hours"));
    m_pause->setText(tr("&Pause"));
    m_zoomIn->setText(tr("&Zoom in"));
    m_zoomIn->setToolTip(tr("Shows the middle half of the time on show; dragging across a "
                            "chart picks a stretch of time."));
    m_reset->setText(tr("&Reset"));
    m_save->setText(tr("Save as P&NG…"));
    m_open->setText(tr("&Open recording…"));
    // Read out without the keyboard markers of the captions.
    m_pause->setAccessibleName(tr("Pause"));
    m_zoomIn->setAccessibleName(tr("Zoom in"));
    m_reset->setAccessibleName(tr("Reset"));
    m_save->setAccessibleName(tr("Save as PNG…"));
    m_open->setAccessibleName(tr("Open recording…"));
    m_source->setAccessibleName(tr("Source"));
    m_pack->setAccessibleName(tr("Pack"));
    m_span->setAccessibleName(tr("Span"));
    for (int id = 0; id < ChartSeries::Count; ++id)
        m_seriesBoxes[std::size_t(id)]->setText(ChartSeries::name(id));
    const char *const setNames[] = {QT_TR_NOOP("Cell"),    QT_TR_NOOP("Cell, balancing"),
                                    QT_TR_NOOP("Highest"), QT_TR_NOOP("Highest, balancing"),
                                    QT_TR_NOOP("Lowest"),  QT_TR_NOOP("Lowest, balancing")};
    for (int i = 0; i < setCount; ++i)
        m_sets[i]->setLabel(tr(setNames[i]));
    m_bars->chart()->setTitle(tr("Cell voltages (V)"));
    m_bars->setAccessibleName(tr("Cell voltages"));
    m_summary->setAccessibleName(tr("Cell voltage summary"));
    for (int g = 0; g < m_groupCharts.size(); ++g)
        m_groupCharts[g]->setTitle(ChartSeries::groupTitle(ChartSeries::Group(g)));
    m_bankVoltage->setTitle(tr("Total voltage of every pack (V)"));
    m_bankSoc->setTitle(tr("SOC of every pack (%)"));
    m_status->setAccessibleName(tr("Chart status"));
    rebuildPackChoice();
}

void ChartsWindow::rebuildPackChoice()
{
    const int chosen = m_pack->count() ? m_pack->currentData().toInt() : 0;
    const QList<int> packs = source().addresses();
    m_pack->clear();
    for (int address : packs)
        m_pack->addItem(m_showingRecording ? tr("Recorded pack") : tr("Pack %1").arg(address),
                        address);
    if (packs.size() > 1)
        m_pack->addItem(tr("All packs: total voltage and SOC"), allPacks);
    const int at = m_pack->findData(chosen);
    m_pack->setCurrentIndex(at >= 0 ? at : 0);
    m_pack->setEnabled(packs.size() > 1);
    arrangeTrends();
}

int ChartsWindow::currentPack() const
{
    return m_pack->count() ? m_pack->currentData().toInt() : 0;
}

void ChartsWindow::arrangeTrends()
{
    const bool bank = currentPack() == allPacks;
    for (int i = m_trendGrid->count() - 1; i >= 0; --i)
        delete m_trendGrid->takeAt(i); // the item only, not its chart
    QList<TrendChartView *> shown;
    if (bank) {
        shown = {m_bankVoltage, m_bankSoc};
    } else {
        for (int g = 0; g < m_groupCharts.size(); ++g)
            for (int id = 0; id < ChartSeries::Count; ++id)
                if (int(ChartSeries::info(id).group) == g &&
                    m_seriesBoxes[std::size_t(id)]->isChecked()) {
                    shown.append(m_groupCharts[g]);
                    break;
                }
    }
    for (TrendChartView *v : m_groupCharts + QList<TrendChartView *>{m_bankVoltage, m_bankSoc})
        v->setVisible(shown.contains(v));
    // Side by side in two columns; a lone last chart takes the whole row.
    for (int i = 0; i < shown.size(); ++i) {
        const bool alone = i == shown.size() - 1 && i % 2 == 0;
        m_trendGrid->addWidget(shown[i], i / 2, i % 2, 1, alone ? 2 : 1);
    }
    for (QCheckBox *box : m_seriesBoxes)
        box->setEnabled(!bank);
    m_barsPane->setVisible(!bank);
}

QList<TrendChartView *> ChartsWindow::visibleTrends() const
{
    QList<TrendChartView *> list;
    for (int i = 0; i < m_trendGrid->count(); ++i)
        if (auto *v = qobject_cast<TrendChartView *>(m_trendGrid->itemAt(i)->widget()))
            list.append(v);
    return list;
}

qint64 ChartsWindow::latest() const
{
    return m_showingRecording ? m_recording.latestTime() : m_clock();
}

void ChartsWindow::followLive()
{
    if (m_timeline.isPaused() || m_showingRecording || !isVisible())
        return;
    drawBars();
    // The trends are drawn again once their time axis has moved by about a
    // pixel (every second over 5 minutes, every few seconds over an hour,
    // about once a minute over a day), one chart per pass of the event loop:
    // the polling waits for one chart at most, never for all of them.
    const qint64 span = ChartTimeline::spanMilliseconds(m_timeline.span());
    const qint64 pixel = span / std::max(100, m_groupCharts.first()->plotWidth());
    if (m_clock() - m_trendsDrawn < std::max<qint64>(1000, pixel) - redrawDelayMs)
        return;
    m_trendsDrawn = m_clock();
    m_stagedRange = m_timeline.range(latest());
    m_staged = visibleTrends();
    showRange(m_stagedRange);
    m_stage.start();
}

void ChartsWindow::drawStaged()
{
    if (m_staged.isEmpty()) {
        m_stage.stop();
        return;
    }
    drawTrend(m_staged.takeFirst(), m_stagedRange);
}

void ChartsWindow::refresh()
{
    m_redraw.stop();
    m_stage.stop();
    m_staged.clear();
    m_trendsDrawn = m_clock();
    const ChartTimeline::Range range = m_timeline.range(latest());
    for (TrendChartView *view : visibleTrends())
        drawTrend(view, range);
    drawBars();
    m_pause->setChecked(m_timeline.isPaused());
    showRange(range);
}

void ChartsWindow::showRange(const ChartTimeline::Range &range)
{
    if (m_reader.isRunning())
        return;
    if (source().addresses().isEmpty())
        m_status->setText(m_showingRecording ? QString()
                                             : tr("No values yet: they come with the polling of "
                                                  "the information page."));
    else if (!m_showingRecording)
        m_status->setText(tr("Showing %1 to %2").arg(timeText(range.from), timeText(range.to)));
}

void ChartsWindow::drawTrend(TrendChartView *view, const ChartTimeline::Range &range)
{
    ChartStore &store = source();
    QList<TrendChartView::Line> lines;
    if (view == m_bankVoltage || view == m_bankSoc) {
        const int series = view == m_bankVoltage ? ChartSeries::TotalVoltage : ChartSeries::Soc;
        for (int address : store.addresses())
            lines.append(
                {tr("Pack %1").arg(address),
                 store.history(address)->thinned(series, range.from, range.to, view->plotWidth())});
    } else {
        const int g = int(m_groupCharts.indexOf(view));
        const PackHistory *history = store.history(currentPack());
        for (int id = 0; id < ChartSeries::Count; ++id) {
            if (int(ChartSeries::info(id).group) != g ||
                !m_seriesBoxes[std::size_t(id)]->isChecked())
                continue;
            lines.append({ChartSeries::name(id),
                          history ? history->thinned(id, range.from, range.to, view->plotWidth())
                                  : QList<QPointF>{}});
        }
    }
    view->setLines(lines, range.from, range.to);
}

void ChartsWindow::drawBars()
{
    if (currentPack() == allPacks)
        return;
    const CellSnapshot cells = source().cells(currentPack());
    const int n = int(cells.millivolts.size());
    const int high = cells.highestIndex();
    const int low = cells.lowestIndex();
    QStringList categories;
    QList<QList<qreal>> values(setCount, QList<qreal>(n, 0.0));
    for (int i = 0; i < n; ++i) {
        categories << QString::number(i + 1);
        // With every cell equal the first is both; it is shown as the highest.
        const Mark mark = i == high ? Mark::Highest : i == low ? Mark::Lowest : Mark::Plain;
        values[setIndex(mark, cells.balancing.value(i))][i] = cells.millivolts[i] / 1000.0;
    }
    for (int s = 0; s < setCount; ++s) {
        m_sets[s]->remove(0, m_sets[s]->count());
        m_sets[s]->append(values[s]);
    }
    m_cellAxis->setCategories(categories);
    if (n > 0) {
        const double top = cells.millivolts[high] / 1000.0;
        const double bottom = cells.millivolts[low] / 1000.0;
        const double pad = std::max(0.02, (top - bottom) * 0.25);
        m_voltAxis->setRange(std::max(0.0, bottom - pad), top + pad);
        m_voltAxis->applyNiceNumbers();
    } else {
        m_voltAxis->setRange(0, 1);
    }
    const QList<QLegendMarker *> markers = m_bars->chart()->legend()->markers();
    for (int s = 0; s < setCount && s < markers.size(); ++s)
        markers[s]->setVisible(
            std::any_of(values[s].cbegin(), values[s].cend(), [](qreal v) { return v > 0; }));

    if (n == 0) {
        m_summary->setText(tr("No cell voltages yet."));
        return;
    }
    QStringList balancing;
    for (int i = 0; i < n; ++i)
        if (cells.balancing.value(i))
            balancing << QString::number(i + 1);
    QString text = tr("Highest: cell %1, %2 V   Lowest: cell %3, %4 V   Difference: %5 mV")
                       .arg(high + 1)
                       .arg(volts(cells.millivolts[high]))
                       .arg(low + 1)
                       .arg(volts(cells.millivolts[low]))
                       .arg(cells.differenceMillivolts());
    text += QStringLiteral("   ");
    if (m_showingRecording)
        text += tr("Balancing is not recorded.");
    else if (balancing.isEmpty())
        text += tr("No cell is balancing.");
    else
        text += tr("Balancing: cells %1").arg(balancing.join(QStringLiteral(", ")));
    text += QStringLiteral("   (%1)").arg(timeText(source().cellsTime(currentPack())));
    m_summary->setText(text);
    m_bars->setAccessibleDescription(text);
}

void ChartsWindow::onSample(int address)
{
    if (m_showingRecording || m_timeline.isPaused() || !isVisible())
        return;
    if (address == currentPack() || currentPack() == allPacks) {
        if (!m_redraw.isActive())
            m_redraw.start();
    }
}

void ChartsWindow::setPaused(bool paused)
{
    if (paused == m_timeline.isPaused())
        return;
    m_timeline.setPaused(paused, latest());
    refresh();
}

void ChartsWindow::zoomIn()
{
    m_timeline.zoomIn(latest());
    refresh();
}

void ChartsWindow::zoomTo(qint64 from, qint64 to)
{
    m_timeline.zoomTo(from, to);
    refresh();
}

void ChartsWindow::reset()
{
    m_timeline.reset();
    refresh();
}

void ChartsWindow::saveAsPng()
{
    const QString suggested =
        QDir(DataLocations::outputFolder(QStringLiteral("charts")))
            .filePath(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh.mm.ss")) +
                      QStringLiteral(".png"));
    QString path = m_state.prompt.saveFileName(tr("PNG images (*.png)"), suggested);
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        path += QStringLiteral(".png");
    if (!saveImage(path))
        m_state.prompt.message(
            tr("Cannot save the picture \"%1\".").arg(QDir::toNativeSeparators(path)), QString(),
            UserPrompt::Icon::Warning);
    else
        m_status->setText(tr("Saved %1").arg(QDir::toNativeSeparators(path)));
}

bool ChartsWindow::saveImage(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    return m_splitter->grab().save(path, "PNG");
}

void ChartsWindow::openRecording()
{
    const QString path = m_state.prompt.openFileName(
        Recorder::fileFilter(), DataLocations::outputFolder(Recorder::topFolder()));
    if (!path.isEmpty())
        loadRecording(path);
}

bool ChartsWindow::loadRecording(const QString &path)
{
    m_pending.clear();
    if (Result<void> started = m_reader.start(path, m_pending, recordingAddress); !started) {
        m_state.prompt.message(started.error().message, QString(), UserPrompt::Icon::Warning);
        return false;
    }
    m_open->setEnabled(false);
    m_reader.runInBackground();
    return true;
}

void ChartsWindow::recordingRead(bool ok)
{
    m_open->setEnabled(true);
    const QString name = QFileInfo(m_reader.path()).fileName();
    if (!ok || m_pending.addresses().isEmpty()) {
        // What was on show stays.
        m_pending.clear();
        m_status->clear();
        m_state.prompt.message(ok ? tr("\"%1\" holds no recorded values.").arg(name)
                                  : m_reader.errorString(),
                               QString(), UserPrompt::Icon::Warning);
        refresh();
        return;
    }
    m_recording.takeFrom(m_pending);
    m_recordingName = name;
    if (m_source->count() < 2)
        m_source->addItem(QString(), 1);
    m_source->setCurrentIndex(1);
    m_showingRecording = true;
    applyCaptions();

    // The shortest span that holds the whole recording.
    const qint64 length = m_recording.latestTime() - m_recording.earliestTime();
    int span = 0;
    while (span < ChartTimeline::spanCount - 1 &&
           ChartTimeline::spanMilliseconds(ChartTimeline::Span(span)) < length)
        ++span;
    m_span->setCurrentIndex(span);
    m_timeline.setSpan(ChartTimeline::Span(span));
    m_timeline.reset();
    // The whole recording fills the width; Reset shows the span up to its end.
    m_timeline.zoomTo(m_recording.earliestTime(), m_recording.latestTime());
    refresh();

    QString text = tr("%1: %2 lines from %3 to %4")
                       .arg(name)
                       .arg(m_reader.samplesRead())
                       .arg(timeText(m_reader.firstTime()), timeText(m_reader.lastTime()));
    if (m_reader.linesSkipped() > 0)
        text += QStringLiteral("; ") + tr("lines left out (no readable time, or out of order): %1")
                                           .arg(m_reader.linesSkipped());
    if (m_recording.earliestTime() > m_reader.firstTime())
        text += QStringLiteral("; ") + tr("only its last 24 hours are shown");
    m_status->setText(text);
}

void ChartsWindow::showLive()
{
    m_showingRecording = false;
    m_source->setCurrentIndex(0);
    rebuildPackChoice();
    m_timeline.reset();
    m_span->setCurrentIndex(int(m_timeline.span()));
    refresh();
}

void ChartsWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_tick.start();
    refresh();
}

void ChartsWindow::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_tick.stop();
    m_redraw.stop();
    m_stage.stop();
    m_staged.clear();
    rememberGeometry();
}

void ChartsWindow::rememberGeometry()
{
    // A size that cannot be stored is not worth a message: the window opens at
    // its default size next time.
    SettingsRecord::storeWindowGeometry(geometryKey, saveGeometry());
}
