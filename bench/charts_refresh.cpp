// The charts window over a full day of values (one point a second for every
// series), per span: how long one whole redraw takes (what a click on a
// button costs), and the longest event-loop stall while it follows a new
// sample every second (what the polling can be held up by), in wall and in
// this thread's CPU time.
//
//   charts_refresh [ROUNDS] [SECONDS]   (default 20 and 10; runs offscreen unless told otherwise)
#include "StallProbe.h"
#include "support/RecordingPrompt.h"

#include "charts/widgets/ChartsWindow.h"
#include "shell/PageForms.h"
#include "state/AppState.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? qMax(1, atoi(argv[1])) : 20;
    const int following = argc > 2 ? qMax(1, atoi(argv[2])) : 10;

    RecordingPrompt prompt;
    AppState state(prompt, definePageForms);
    ChartStore store;
    const qint64 end = 1'700'000'000'000;
    const int seconds = 24 * 60 * 60;
    for (int i = 0; i < seconds; ++i) {
        ChartSample s;
        for (int id = 0; id < ChartSeries::Count; ++id)
            s.values[std::size_t(id)] = 50 + id + std::sin(i / (100.0 + id)) + (i % 7) * 0.01;
        if (i == seconds - 1)
            for (int c = 0; c < 16; ++c) {
                s.cells.millivolts.append(3300 + c * 3);
                s.cells.balancing.append(c % 5 == 0);
            }
        store.addSample(1, end - qint64(seconds - 1 - i) * 1000, s);
    }
    ChartsWindow window(store, state);
    qint64 now = end;
    window.setClock([&now] { return now; });
    window.resize(1100, 820);
    window.show();
    QCoreApplication::processEvents();

    const char *names[] = {"5 min", "1 h", "24 h"};
    for (int span = 0; span < ChartTimeline::spanCount; ++span) {
        window.spanChoice()->setCurrentIndex(span);
        window.timeline().setSpan(ChartTimeline::Span(span));
        double longest = 0, total = 0;
        for (int r = 0; r < rounds; ++r) {
            QElapsedTimer t;
            t.start();
            window.refresh();
            const double drawn = t.nsecsElapsed() / 1e6;
            QCoreApplication::processEvents(); // the paint that follows belongs to it
            const double ms = t.nsecsElapsed() / 1e6;
            if (qEnvironmentVariableIsSet("CHARTS_SPLIT"))
                std::printf("  refresh %.1f ms, paint %.1f ms\n", drawn, ms - drawn);
            longest = qMax(longest, ms);
            total += ms;
        }
        std::printf("span %-6s redraw and paint: longest %.1f ms, mean %.1f ms over %d rounds\n",
                    names[span], longest, total / rounds, rounds);
        // Following: a sample a second, as the polling brings them.
        QTimer feed;
        feed.setInterval(1000);
        QObject::connect(&feed, &QTimer::timeout, [&] {
            now += 1000;
            ChartSample s;
            s.values.fill(51);
            store.addSample(1, now, s);
        });
        StallProbe probe;
        probe.start();
        feed.start();
        QEventLoop loop;
        QTimer::singleShot(following * 1000, &loop, &QEventLoop::quit);
        loop.exec();
        std::printf("span %-6s following: longest stall %.1f ms wall, %.1f ms CPU over %d s\n",
                    names[span], probe.longestWallMs(), probe.longestCpuMs(), following);
    }
    return 0;
}
