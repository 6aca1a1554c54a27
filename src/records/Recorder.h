#pragma once

#include "records/RecordingConversion.h"

#include <QObject>
#include <QStringEncoder>
#include <QTimer>

#include <functional>

class AppState;
class LinkController;

// Live recording: one line per second of what the information page shows,
// appended to a dated text file in the output folder (DataLocations). Follows the recording
// check box of the page's form: ticking it starts a new file, clearing it
// stops. Also the page's other actions: picking a recording and converting it
// into a workbook, and opening the last workbook.
class Recorder : public QObject {
    Q_OBJECT
public:
    Recorder(AppState &state, LinkController &link);

    void tick(); // the 1000 ms recording timer
    void stop(); // clears the check box and stops the timer
    QTimer &timer() { return m_timer; }
    bool isRecording() const { return m_timer.isActive(); }

    // Page buttons.
    void selectFile(); // file dialog; the choice goes into the path box
    void latestFile(); // the current (or last) recording into the path box
    void convert();    // the recording in the path box into its workbook
    void openExport(); // the last workbook in the user's spreadsheet program
    void openFolder(); // the recordings' folder in the desktop's file manager
    bool isConverting() const { return m_conversion.isRunning(); }

    // How "Open Export File" reaches the spreadsheet program; the window sets
    // it (the core does not link the GUI). Returns false when nothing opened.
    // "Open folder" goes the same way.
    void setOpener(std::function<bool(const QString &)> opener) { m_opener = std::move(opener); }

    static QString templateName(); // found through DataLocations
    static QString fileFilter();
    static QString topFolder(); // "real-time data"

signals:
    void conversionFinished(bool ok);

private:
    void followCheckBox(const QString &control);
    void start();
    void showOutputFolder();
    bool conditionsHold() const;
    void failRecording(const QString &message);
    void showProgress(int percent);
    void conversionDone(bool ok);

    AppState &m_state;
    LinkController &m_link;
    QTimer m_timer;
    QStringEncoder m_encoder;
    RecordingConversion m_conversion;
    QString m_conversionTarget;
    std::function<bool(const QString &)> m_opener;
};
