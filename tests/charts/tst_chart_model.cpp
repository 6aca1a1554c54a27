#include "charts/ChartStore.h"
#include "charts/ChartTimeline.h"
#include "charts/RecordingReader.h"
#include "records/RecordingLine.h"
#include "responses/InfoForm.h"
#include "responses/ResponseTestKit.h"

#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace ResponseTestKit;
using Span = ChartTimeline::Span;

namespace {
constexpr qint64 t0 = 1'700'000'000'000; // a whole second
constexpr qint64 minute = 60'000;

ChartSample valuesSample(double totalVoltage)
{
    ChartSample s;
    s.values[ChartSeries::TotalVoltage] = totalVoltage;
    return s;
}

// Item 6 with 52.5 V, -2 A, SOC 87.5 %, cells 3.412 V (no. 5) and 3.301 V
// (no. 9), difference 0.111 V, temperatures 31.5 and -10 ℃.
QByteArray liveBlock()
{
    QByteArray d = dataWith(56, 7, {0x14, 0x82, 0xFF, 0x38, 0x03, 0x6B});
    place(d, 15, {0x0D, 0x54, 0x00, 0x05, 0x0C, 0xE5, 0x00, 0x09, 0x00, 0x6F});
    place(d, 25, {0x01, 0x3B, 0x00, 0x01, 0xFF, 0x9C});
    return readReply(6, d);
}

QByteArray cellBlock()
{
    QByteArray d = dataWith(66, 7, {0x00, 0x03, 0x0D, 0x54, 0x0C, 0xE5, 0x0D, 0x00});
    return readReply(8, d);
}

QByteArray balancingBlock() // cell 3 balances
{
    return readReply(9, dataWith(6, 9, {0x04, 0x00, 0x00, 0x00}));
}

QString writeRecording(const QDir &dir, const QList<QDateTime> &moments, bool gb18030)
{
    Form info(QStringLiteral("InfoPanel"));
    defineInfoForm(info);
    for (int i = 0; i < InfoField::cellSlots; ++i)
        info.setText(InfoField::cellVoltage(i), QStringLiteral("无"));
    info.setText(InfoField::cellVoltage(0), QStringLiteral("3301"));
    info.setText(InfoField::cellVoltage(1), QStringLiteral("3310"));
    info.setText(InfoField::minCellVoltage, QStringLiteral("3.301"));
    info.setText(InfoField::voltageDifference, QStringLiteral("0.009"));
    info.setText(InfoField::totalCurrent, QStringLiteral("-12.5"));
    info.setText(InfoField::alarmStatus, QStringLiteral("过压\r\n欠压"));
    QByteArray bytes;
    QStringEncoder encoder(gb18030 ? QStringEncoder("GB18030")
                                   : QStringEncoder(QStringConverter::Utf8));
    for (int n = 0; n < moments.size(); ++n) {
        info.setText(InfoField::totalVoltage, QString::number(50 + n));
        bytes += encoder.encode(RecordingLine::compose(info, n + 1, moments[n]) + "\r\n");
        if (n == 0)
            bytes += "garbled line without a time\r\n";
    }
    const QString path = dir.filePath(QStringLiteral("rec.txt"));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}
} // namespace

class TestChartModel : public QObject {
    Q_OBJECT
private slots:
    void sampleFromPolling_data()
    {
        QTest::addColumn<QList<int>>("items");
        QTest::addColumn<bool>("values");
        QTest::addColumn<int>("cells");
        QTest::newRow("whole cycle") << QList<int>{6, 7, 8, 9} << true << 3;
        QTest::newRow("live block failed") << QList<int>{7, 8, 9} << false << 3;
        QTest::newRow("cell voltages failed") << QList<int>{6, 7, 9} << true << 0;
        QTest::newRow("cycle not finished") << QList<int>{6, 7, 8} << false << 0;
    }
    void sampleFromPolling()
    {
        QFETCH(QList<int>, items);
        QFETCH(bool, values);
        QFETCH(int, cells);
        Bench b;
        b.core.charts.setClock([] { return t0; });
        const QHash<int, QByteArray> frames = {{6, liveBlock()},
                                               {7, readReply(7, dataWith(26, 7, {0, 0}))},
                                               {8, cellBlock()},
                                               {9, balancingBlock()}};
        // An earlier cycle leaves its values on the page: they must not come back.
        b.core.state.info.setText(InfoField::totalVoltage, QStringLiteral("40"));
        for (int item : items)
            b.dispatch(frames.value(item));
        const ChartStore &store = b.core.charts.store();
        const PackHistory *h = store.history(255);
        QCOMPARE(h ? h->size() : 0, values ? 1 : 0);
        QCOMPARE(store.cells(255).millivolts.size(), cells);
        if (values) {
            const auto &v = h->at(0).values;
            QCOMPARE(h->at(0).time, t0);
            QCOMPARE(v[ChartSeries::TotalVoltage], 52.5f);
            QCOMPARE(v[ChartSeries::Current], -2.0f);
            QCOMPARE(v[ChartSeries::Soc], 87.5f);
            QCOMPARE(v[ChartSeries::HighestCell], 3.412f);
            QCOMPARE(v[ChartSeries::LowestCell], 3.301f);
            QCOMPARE(v[ChartSeries::CellDifference], 111.0f); // millivolts
            QCOMPARE(v[ChartSeries::HighestTemperature], 31.5f);
            QCOMPARE(v[ChartSeries::LowestTemperature], -10.0f);
        }
        if (cells) {
            const CellSnapshot c = store.cells(255);
            QCOMPARE(c.millivolts, (QList<int>{3412, 3301, 3328}));
            QCOMPARE(c.balancing, (QList<bool>{false, false, true}));
            QCOMPARE(c.highestIndex(), 0);
            QCOMPARE(c.lowestIndex(), 1);
            QCOMPARE(c.differenceMillivolts(), 111);
        }
    }

    void appendOrder_data()
    {
        QTest::addColumn<QList<qint64>>("offsets"); // ms after t0
        QTest::addColumn<int>("kept");
        QTest::addColumn<double>("lastValue");
        QTest::newRow("one a second") << QList<qint64>{0, 1000, 2000} << 3 << 2.0;
        QTest::newRow("same second: newer wins") << QList<qint64>{0, 300, 900} << 1 << 2.0;
        QTest::newRow("older than the newest is refused") << QList<qint64>{5000, 1000} << 1 << 0.0;
    }
    void appendOrder()
    {
        QFETCH(QList<qint64>, offsets);
        QFETCH(int, kept);
        QFETCH(double, lastValue);
        ChartStore store;
        for (int i = 0; i < offsets.size(); ++i)
            store.addSample(1, t0 + offsets[i], valuesSample(i));
        QCOMPARE(store.history(1)->size(), kept);
        QCOMPARE(double(store.history(1)->at(kept - 1).values[ChartSeries::TotalVoltage]),
                 lastValue);
    }

    void packsApart()
    {
        ChartStore store;
        store.addSample(3, t0, valuesSample(50));
        store.addSample(1, t0, valuesSample(51));
        store.addSample(7, t0, ChartSample{}); // nothing in it: no pack appears
        QCOMPARE(store.addresses(), (QList<int>{1, 3}));
        QCOMPARE(store.history(3)->at(0).values[ChartSeries::TotalVoltage], 50.0f);
    }

    void thinning_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("expected");
        QTest::newRow("fewer points than columns") << 50 << 100 << 50;
        QTest::newRow("a day into 1000 columns") << 86400 << 1000 << 2002; // the spikes' column: 4
        QTest::newRow("one column") << 600 << 1 << 4;
    }
    void thinning()
    {
        QFETCH(int, points);
        QFETCH(int, columns);
        QFETCH(int, expected);
        PackHistory h;
        ChartSample s;
        for (int i = 0; i < points; ++i) {
            // A slow ramp with one spike up and one down in the middle.
            s.values[ChartSeries::Current] = i == points / 2 + 5   ? 100
                                             : i == points / 2 + 6 ? -100
                                                                   : i * 0.001;
            h.append(t0 + i * 1000LL, s.values);
        }
        const qint64 to = t0 + (points - 1) * 1000LL;
        const QList<QPointF> out = h.thinned(ChartSeries::Current, t0, to, columns);
        QCOMPARE(out.size(), expected);
        double high = -1e9, low = 1e9;
        for (int i = 0; i < out.size(); ++i) {
            if (i > 0)
                QVERIFY(out[i].x() > out[i - 1].x());
            high = qMax(high, out[i].y());
            low = qMin(low, out[i].y());
        }
        QCOMPARE(high, 100.0);
        QCOMPARE(low, -100.0);
        // Only what lies in the range.
        const QList<QPointF> part = h.thinned(ChartSeries::Current, t0 + 10'000, t0 + 19'999, 1000);
        QCOMPARE(part.size(), qMin(10, points - 10));
        QCOMPARE(part.first().x(), double(t0 + 10'000));
    }

    void boundedOverADay_data()
    {
        QTest::addColumn<int>("perSecond");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("kept");
        QTest::newRow("a day") << 1 << 86400 << 86400;
        QTest::newRow("a day and an hour") << 1 << 90000 << 86400;
        QTest::newRow("two a second for a day") << 2 << 86400 << 86400;
        QTest::newRow("one every 10 s for two days") << 0 << 17280 << 8640;
    }
    void boundedOverADay()
    {
        QFETCH(int, perSecond);
        QFETCH(int, seconds);
        QFETCH(int, kept);
        ChartStore store;
        qint64 last = 0;
        const int count = perSecond > 0 ? seconds * perSecond : seconds;
        for (int i = 0; i < count; ++i) {
            last = perSecond > 0 ? t0 + qint64(i) * 1000 / perSecond : t0 + qint64(i) * 10'000;
            store.addSample(2, last, valuesSample(i));
        }
        const PackHistory &h = *store.history(2);
        QCOMPARE(h.size(), kept);
        QVERIFY(h.size() <= PackHistory::capacity);
        QVERIFY(last - h.firstTime() < PackHistory::keptMilliseconds);
        QCOMPARE(h.lastTime(), last);
    }

    void timeline_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<qint64>("from"); // minutes after t0, latest at t0 + 100 min
        QTest::addColumn<qint64>("to");
        QTest::addColumn<bool>("paused");
        QTest::newRow("follows the newest") << "" << qint64(95) << qint64(100) << false;
        QTest::newRow("one hour") << "h" << qint64(40) << qint64(100) << false;
        QTest::newRow("paused earlier stays") << "p" << qint64(45) << qint64(50) << true;
        QTest::newRow("span changed while paused") << "ph" << qint64(-10) << qint64(50) << true;
        QTest::newRow("zoom") << "z" << qint64(20) << qint64(30) << true;
        QTest::newRow("zoom in") << "hi" << qint64(55) << qint64(85) << true;
        QTest::newRow("reset after zoom") << "zr" << qint64(95) << qint64(100) << false;
        QTest::newRow("span leaves zoom") << "zd" << qint64(30 - 1440) << qint64(30) << true;
        QTest::newRow("running again after zoom") << "zu" << qint64(95) << qint64(100) << false;
    }
    void timeline()
    {
        QFETCH(QString, steps);
        QFETCH(qint64, from);
        QFETCH(qint64, to);
        QFETCH(bool, paused);
        ChartTimeline line;
        const qint64 latest = t0 + 100 * minute;
        for (QChar c : steps) {
            switch (c.toLatin1()) {
            case 'h':
                line.setSpan(Span::OneHour);
                break;
            case 'd':
                line.setSpan(Span::Day);
                break;
            case 'p':
                line.setPaused(true, t0 + 50 * minute);
                break;
            case 'u':
                line.setPaused(false, latest);
                break;
            case 'z':
                line.zoomTo(t0 + 30 * minute, t0 + 20 * minute);
                break;
            case 'i':
                line.zoomIn(latest);
                break;
            case 'r':
                line.reset();
                break;
            }
        }
        QCOMPARE(line.range(latest), (ChartTimeline::Range{t0 + from * minute, t0 + to * minute}));
        QCOMPARE(line.isPaused(), paused);
    }

    void zoomHasAFloor()
    {
        ChartTimeline line;
        line.zoomTo(t0, t0 + 2000);
        QCOMPARE(line.range(0).to - line.range(0).from, ChartTimeline::minimumZoom);
        QCOMPARE(line.range(0).from + ChartTimeline::minimumZoom / 2, t0 + 1000);
    }

    void readRecording_data()
    {
        QTest::addColumn<bool>("gb18030");
        QTest::newRow("UTF-8") << false;
        QTest::newRow("GB18030") << true;
    }
    void readRecording()
    {
        QFETCH(bool, gb18030);
        QTemporaryDir dir;
        const QDateTime start(QDate(2024, 5, 7), QTime(9, 3, 0));
        const QList<QDateTime> moments = {start, start.addSecs(1), start.addSecs(2),
                                          start.addSecs(2), start.addSecs(-60)};
        const QString path = writeRecording(QDir(dir.path()), moments, gb18030);
        ChartStore store;
        RecordingReader reader;
        QVERIFY(reader.start(path, store, 0).ok());
        QVERIFY(reader.runToEnd());
        QCOMPARE(reader.linesRead(), 6);
        QCOMPARE(reader.samplesRead(), 4);
        QCOMPARE(reader.linesSkipped(), 2); // no time, and a time before the last
        const PackHistory &h = *store.history(0);
        QCOMPARE(h.size(), 3); // two lines in the same second are one point
        QCOMPARE(h.firstTime(), start.toMSecsSinceEpoch());
        QCOMPARE(h.at(2).values[ChartSeries::TotalVoltage], 53.0f);
        QCOMPARE(h.at(0).values[ChartSeries::Current], -12.5f);
        QCOMPARE(h.at(0).values[ChartSeries::CellDifference], 9.0f);
        QVERIFY(std::isnan(h.at(0).values[ChartSeries::Soc])); // an empty box
        QCOMPARE(store.cells(0).millivolts, (QList<int>{3301, 3310}));
    }

    void unreadableRecording()
    {
        ChartStore store;
        RecordingReader reader;
        const Result<void> started = reader.start(QStringLiteral("/nonexistent/rec.txt"), store, 0);
        QVERIFY(!started);
        QVERIFY(started.error().message.contains(QStringLiteral("rec.txt")));
        QVERIFY(store.addresses().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestChartModel)
#include "tst_chart_model.moc"
