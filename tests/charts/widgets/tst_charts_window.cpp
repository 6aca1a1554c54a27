#include "support/WindowRig.h"

#include "charts/widgets/ChartsWindow.h"
#include "charts/widgets/TrendChartView.h"
#include "records/RecordingLine.h"
#include "responses/InfoForm.h"

#include <QAction>
#include <QBarSet>
#include <QCheckBox>
#include <QComboBox>
#include <QImageReader>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {
constexpr qint64 t0 = 1'700'000'000'000;

ChartSample sample(double volts, double soc, const QList<int> &cells = {},
                   const QList<bool> &balancing = {})
{
    ChartSample s;
    s.values[ChartSeries::TotalVoltage] = volts;
    s.values[ChartSeries::Soc] = soc;
    s.values[ChartSeries::Current] = -1;
    s.cells.millivolts = cells;
    s.cells.balancing = balancing;
    return s;
}

struct Rig : WindowRig {
    Rig()
    {
        QAction *entry = window.findChild<QAction *>(QStringLiteral("chartsAction"));
        entry->trigger();
        charts = window.findChild<ChartsWindow *>();
        charts->setClock([this] { return now; });
    }
    ~Rig() { core.shutdown(); }
    // One sample a second for `seconds`, then a redraw.
    void feed(int address, int seconds, double volts = 52)
    {
        for (int i = 0; i < seconds; ++i, now += 1000)
            core.charts.store().addSample(address, now, sample(volts + i * 0.01, 80));
        charts->refresh();
    }
    int shownPoints(int chart = 0) const
    {
        return int(charts->visibleTrends().value(chart)->linePoints(0).size());
    }
    // The first and the last moment the chart's first line shows, in seconds
    // after t0 (the points in between are thinned to the plot's width).
    QPair<qint64, qint64> shownSpan(int chart = 0) const
    {
        const QList<QPointF> p = charts->visibleTrends().value(chart)->linePoints(0);
        if (p.isEmpty())
            return {-1, -1};
        return {(qint64(p.first().x()) - t0) / 1000, (qint64(p.last().x()) - t0) / 1000};
    }
    qint64 now = t0;
    ChartsWindow *charts = nullptr;
};
} // namespace

class TestChartsWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
    }

    void opensBesideTheFixedWindow()
    {
        Rig r;
        QVERIFY(r.charts && r.charts->isVisible() && r.charts->isWindow());
        QCOMPARE(r.window.size(), QSize(MainWindow::fixedWidth, MainWindow::fixedHeight));
        QMenu *view = r.window.viewMenu();
        QCOMPARE(view->title(), QStringLiteral("视图"));
        QCOMPARE(view->actions().first()->text(), QStringLiteral("图表"));
        r.core.state.setEnglishUi(true);
        QCOMPARE(view->title(), QStringLiteral("view"));
        QCOMPARE(view->actions().first()->text(), QStringLiteral("Charts"));
        QCOMPARE(r.charts->pauseButton()->text(), QStringLiteral("&Pause"));
        // Choosing it again brings back the same window.
        view->actions().first()->trigger();
        QCOMPARE(r.window.findChildren<ChartsWindow *>().size(), 1);
    }

    void cellBarsMarkExtremesAndBalancing()
    {
        Rig r;
        r.core.state.setEnglishUi(true);
        r.core.charts.store().addSample(
            255, r.now, sample(52, 80, {3300, 3412, 3290, 3350}, {false, false, false, true}));
        r.charts->refresh();
        const QList<QBarSet *> sets = r.charts->barSets();
        // Plain, plain balancing, highest, highest balancing, lowest, lowest balancing.
        QCOMPARE(sets[0]->at(0), 3.3);
        QCOMPARE(sets[2]->at(1), 3.412);
        QCOMPARE(sets[4]->at(2), 3.29);
        QCOMPARE(sets[1]->at(3), 3.35);
        QCOMPARE(sets[0]->at(1), 0.0);
        const QString summary = r.charts->cellSummary()->text();
        QVERIFY2(
            summary.contains("Highest: cell 2, 3.412 V") && summary.contains("cell 3, 3.290 V") &&
                summary.contains("Difference: 122 mV") && summary.contains("Balancing: cells 4"),
            qPrintable(summary));
    }

    void trendsFollowSpanPauseAndZoom()
    {
        Rig r;
        r.feed(255, 600); // ten minutes
        QCOMPARE(r.charts->visibleTrends().size(), 6);
        QCOMPARE(r.shownSpan(), (QPair<qint64, qint64>(300, 599)));
        r.charts->spanChoice()->setCurrentIndex(1);
        r.charts->spanChoice()->activated(1);
        QCOMPARE(r.shownSpan(), (QPair<qint64, qint64>(0, 599)));

        // Paused, new values are kept but not drawn.
        QTest::mouseClick(r.charts->pauseButton(), Qt::LeftButton);
        r.now += 5000;
        r.feed(255, 30);
        QCOMPARE(r.shownSpan(), (QPair<qint64, qint64>(0, 599)));
        QCOMPARE(r.core.charts.store().history(255)->size(), 630);

        r.charts->zoomTo(t0 + 100'000, t0 + 159'999);
        QCOMPARE(r.shownSpan(), (QPair<qint64, qint64>(100, 159)));
        QCOMPARE(r.shownPoints(), 60);
        QVERIFY(r.charts->pauseButton()->isChecked());
        r.charts->reset();
        QVERIFY(!r.charts->pauseButton()->isChecked());
        QCOMPARE(r.shownSpan(), (QPair<qint64, qint64>(0, 634)));

        // A series switched off leaves its chart out when nothing else is in it.
        r.charts->seriesBox(ChartSeries::Current)->setChecked(false);
        QCOMPARE(r.charts->visibleTrends().size(), 5);
    }

    void severalPacksSideBySide()
    {
        Rig r;
        r.feed(1, 10, 50);
        r.feed(2, 10, 53);
        QComboBox *pack = r.charts->packChoice();
        QCOMPARE(pack->count(), 3);
        pack->setCurrentIndex(pack->findData(ChartsWindow::allPacks));
        pack->activated(pack->currentIndex());
        const QList<TrendChartView *> shown = r.charts->visibleTrends();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0]->lineCount(), 2);
        QCOMPARE(shown[0]->linePoints(1).first().y(), 53.0);
        QCOMPARE(shown[1]->linePoints(0).first().y(), 80.0);
        QVERIFY(!r.charts->cellBars()->isVisibleTo(r.charts));
    }

    void saveAsPng_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("saved");
        QTest::newRow("suffix added") << "picture" << true;
        QTest::newRow("folder cannot be made") << "/proc/none/picture.png" << false;
    }
    void saveAsPng()
    {
        QFETCH(QString, name);
        QFETCH(bool, saved);
        Rig r;
        r.feed(255, 20);
        QTemporaryDir dir;
        r.prompt.nextSaveFile = name.startsWith('/') ? name : dir.filePath(name);
        r.charts->saveAsPng();
        const QString path = dir.filePath("picture.png");
        QCOMPARE(QImageReader(path).format(), saved ? QByteArray("png") : QByteArray());
        QCOMPARE(r.prompt.messages.size(), saved ? 0 : 1);
    }

    void openRecording_data()
    {
        QTest::addColumn<int>("lines");
        QTest::newRow("ten minutes") << 600;
        QTest::newRow("empty file") << 0;
    }
    void openRecording()
    {
        QFETCH(int, lines);
        Rig r;
        r.core.state.setEnglishUi(true);
        QTemporaryDir dir;
        QFile file(dir.filePath("rec.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        Form info(QStringLiteral("InfoPanel"));
        defineInfoForm(info);
        info.setText(InfoField::cellVoltage(0), "3301");
        info.setText(InfoField::cellVoltage(1), "null");
        const QDateTime start(QDate(2024, 5, 7), QTime(9, 0, 0));
        for (int i = 0; i < lines; ++i) {
            info.setText(InfoField::soc, QString::number(90 - i / 60));
            file.write((RecordingLine::compose(info, i + 1, start.addSecs(i)) + "\r\n").toUtf8());
        }
        file.close();
        r.prompt.nextFile = file.fileName();
        r.charts->openRecording();
        QTRY_VERIFY(!r.charts->reader().isRunning());
        QCOMPARE(r.charts->showingRecording(), lines > 0);
        QCOMPARE(r.prompt.messages.size(), lines > 0 ? 0 : 1);
        if (lines == 0)
            return;
        QCOMPARE(r.charts->spanChoice()->currentIndex(), 1); // ten minutes fit in an hour
        QVERIFY(r.charts->timeline().isZoomed());            // on the recording's own ten minutes
        QCOMPARE(r.charts->recording().history(0)->size(), 600);
        // The SOC chart; the other boxes of the recording were empty.
        const qint64 first = start.toMSecsSinceEpoch();
        const QList<QPointF> soc = r.charts->visibleTrends().value(2)->linePoints(0);
        QCOMPARE(qint64(soc.first().x()), first);
        QCOMPARE(qint64(soc.last().x()), first + 599'000);
        QCOMPARE(soc.last().y(), 81.0);
        QCOMPARE(r.shownPoints(0), 0);
        QCOMPARE(r.charts->barSets()[2]->at(0), 3.301);
        QVERIFY(r.charts->statusLabel()->text().contains("600 lines"));
        r.charts->showLive();
        QVERIFY(!r.charts->showingRecording());
    }

    void remembersItsPlace()
    {
        {
            Rig r;
            r.charts->resize(1000, 780);
            r.charts->close();
        }
        Rig r;
        QCOMPARE(r.charts->size(), QSize(1000, 780));
    }

private:
    QTemporaryDir m_config;
};

QTEST_MAIN(TestChartsWindow)
#include "tst_charts_window.moc"
