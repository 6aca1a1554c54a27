#pragma once

#include <QObject>
#include <QTimer>

class Core;

// Live recording: one line per second of what the information page shows,
// appended to a dated text file beside the program. Follows the recording
// check box of the page's form.
class Recorder : public QObject {
    Q_OBJECT
public:
    explicit Recorder(Core &core);

    void tick(); // the 1000 ms recording timer
    void stop(); // clears the check box and stops the timer
    QTimer &timer() { return m_timer; }

private:
    Core &m_core;
    QTimer m_timer;
};
