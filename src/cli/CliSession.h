#pragma once

#include "cli/CliOptions.h"
#include "cli/ConsolePrompt.h"
#include "shell/Core.h"

#include <QCoreApplication>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

// One run of cellvane-cli: the program's core on the serial line with a
// console in place of the window, the port opened as the link page opens
// it, and the end of the run with its exit code and one line on stderr.
//
// The engine reports every outcome (success, refusal, "Send failed") as a
// message; the running command listens to them and decides. A silence
// watchdog notices a pack that does not answer at all, which the live reads
// would otherwise ask forever.
class CliSession : public QObject {
    Q_OBJECT
public:
    using MessageHandler = std::function<void(const QString &text, UserPrompt::Icon icon)>;

    explicit CliSession(const CliOptions &options, QObject *parent = nullptr);
    ~CliSession() override;

    Core &core() { return *m_core; }
    const CliOptions &options() const { return m_options; }
    ConsolePrompt &prompt() { return m_prompt; }

    // Selects page `tab` (its traffic: live reads or pause), then opens the
    // port with the line settings and the first address of the command
    // line. False, and the run ended, when the port cannot be opened.
    bool open(int tab);
    // "COM3 (/dev/ttyUSB0)": the port as messages name it.
    QString portName() const;

    // Ends the run: stops the traffic, closes the port, prints `error` (one
    // line) on stderr. Only the first call counts.
    void finish(int code, const QString &error = {});
    bool isFinished() const { return m_finished; }
    int exitCode() const { return m_exitCode; }

    void setMessageHandler(MessageHandler handler) { m_onMessage = std::move(handler); }
    // A lost port (adapter unplugged) ends the run with status 1 unless a
    // command that reconnects by itself says otherwise.
    void setEndOnPortLoss(bool end) { m_endOnPortLoss = end; }
    // After `ms` without an accepted frame the handler runs (once per arming).
    void armWatchdog(std::function<void()> onSilence, int ms = -1);
    void stopWatchdog();

    // Results on stdout; remarks on stderr; progress on stderr only when it
    // is a terminal.
    static void out(const QString &text);
    static void err(const QString &text);
    void progress(const QString &text);
    static bool stderrIsTerminal();

    // "The BMS at address 1 did not answer within 5 s."
    QString silenceText() const;

signals:
    void frameAccepted();
    // A whole polling cycle (project number to custom text) was answered.
    void cycleCompleted();

private:
    void onMessage(const QString &text, UserPrompt::Icon icon);
    void dispatch();
    bool selectPort();

    CliOptions m_options;
    ConsolePrompt m_prompt;
    std::unique_ptr<Core> m_core;
    QString m_device; // what --port names, resolved
    int m_portNumber = 0;
    MessageHandler m_onMessage;
    QTimer m_watchdog;
    std::function<void()> m_onSilence;
    QStringList m_openMessages;
    bool m_opening = false;
    bool m_finished = false;
    int m_exitCode = 0;
    bool m_progressShown = false;
    bool m_endOnPortLoss = true;
};
