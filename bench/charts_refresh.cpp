// How long one redraw of the charts window takes with a full day of values
// (one point a second for every series), per span: the redraw runs on the
// event loop once a second while the window follows the live values, so its
// longest time is what it can hold the polling up by.
//
//   charts_refresh [ROUNDS]     (default 20; runs offscreen unless told otherwise)
#include "support/RecordingPrompt.h"

#include "charts/widgets/ChartsWindow.h"
#include "shell/AppState.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
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

    RecordingPrompt prompt;
    AppState state(prompt);
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
    window.setClock([end] { return end; });
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
        std::printf("span %-6s redraw and paint: longest %.1f ms, mean %.1f ms over %d rounds\n", names[span],
                    longest, total / rounds, rounds);
    }
    return 0;
}
