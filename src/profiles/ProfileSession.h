#pragma once

#include "profiles/ProfileCompare.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class AppState;
class Core;
class LinkController;
class ParamCommands;
class PromptRelay;
class RequestBuilder;
class UserPrompt;
struct RequestSpec;

// Saving, comparing and applying a settings profile over the link: a series of
// the pages' own read and write exchanges, one after the other, each sent by
// the request builder and ended by the dispatcher as the page buttons are.
// While it runs it takes the messages that end each exchange and reports the
// series once, through finished(). Nothing waits: every step starts from the
// end of the one before.
//
// Usable without a window: the paths and choices are parameters, the outcome
// a plain result. The only question asked (apply's confirmation) goes to the
// prompt given.
class ProfileSession : public QObject {
    Q_OBJECT
public:
    enum class Action { None, Save, Compare, Apply };

    struct ApplyOptions {
        bool identity = false;   // also project number, battery ID, dates, batch
        bool everything = false; // every item, not only those that differ
    };

    struct ItemOutcome {
        enum class State {
            Verified,    // written and read back equal
            Mismatch,    // written, the pack returned another value
            NotReadBack, // written, the read back failed
            Unconfirmed, // sent, the pack did not acknowledge it
            NotWritten,  // the apply stopped before it
        };
        QString key;
        State state = State::NotWritten;
        QString fileValue;
        QString packValue; // as read back
        QString unit;
        // "verified", the value returned, or what became of it; current language.
        QString text() const;
    };

    struct Result {
        Action action = Action::None;
        bool ok = false;
        bool cancelled = false; // apply declined at its confirmation
        QString path;
        QString error;                     // why it failed, in the current language
        QString failedStep;                // the read or write that failed, "" for none
        ProfileCompare::Result comparison; // compare, and apply before writing
        QList<ItemOutcome> items;          // apply: every item sent or due
        int writesDone = 0;                // apply: write requests acknowledged
        int writesPlanned = 0;
        int verified() const;
        // What a technician reads at the end, one line per item for an apply.
        QString report() const;
    };

    // What a session drives: the pages' forms, the line, the requests, the
    // parameter page's Read All, the relay whose messages it takes while it
    // runs, and the tab switch that gives the pages back afterwards.
    struct Parts {
        AppState &state;
        LinkController &link;
        RequestBuilder &requests;
        ParamCommands &paramCommands;
        PromptRelay &prompts;
        std::function<void(int tab)> selectTab;
    };
    // The parts as the program's core holds them.
    static Parts partsOf(Core &core);

    ProfileSession(Parts parts, UserPrompt &prompt, QObject *parent = nullptr);
    ~ProfileSession() override;

    bool busy() const { return m_action != Action::None; }

    // Each returns false (and emits nothing) while another run is busy;
    // otherwise finished() follows, also for a failure found at once.
    bool startSave(const QString &path);
    // Saves into `folder` (made when missing) under suggestedName() for the
    // battery ID just read: a backup that needs no dialog.
    bool startSaveInFolder(const QString &folder);
    bool startCompare(const QString &path);
    bool startApply(const QString &path, ApplyOptions options);

    // The longest a single exchange may take before the run gives up on it;
    // the link itself reports a silent pack sooner.
    void setStepTimeout(int ms) { m_stepTimer.setInterval(ms); }
    // How long the live polling is left to settle before the first request.
    void setSettleTime(int ms) { m_settleMs = ms; }
    // The save's time stamp; the PC's clock unless a test pins it.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // The default file name for a pack: battery ID (or "pack") and time stamp.
    static QString suggestedName(const QString &batteryId, const QDateTime &at);

signals:
    void progress(int done, int total, const QString &step);
    void finished(const ProfileSession::Result &result);

private:
    struct Step {
        enum class Kind { Read, Write, ReadBack };
        Kind kind = Kind::Read;
        quint8 code = 0;
        bool readAll = false;
        QString name;
        int group = -1; // apply: index into m_groups
    };
    struct Group {
        const RequestSpec *write = nullptr;
        quint8 readCode = 0;
        QList<int> items; // indexes into ProfileItems::all()
    };

    bool begin(Action action, const QString &path);
    void settle(int attempts);
    void runNext();
    void onMessage(const QString &text);
    void stepEnded(const QString &text, bool timedOut);
    void readsDone();
    void planApply();
    void groupReadBack(int group);
    void fail(const QString &error);
    void end();
    QList<Step> readSteps() const;
    static QString readName(quint8 code);

    AppState &m_state;
    LinkController &m_link;
    RequestBuilder &m_requests;
    ParamCommands &m_paramCommands;
    PromptRelay &m_prompts;
    std::function<void(int tab)> m_selectTab;
    UserPrompt &m_prompt;
    Action m_action = Action::None;
    ApplyOptions m_options;
    QString m_saveFolder;
    QJsonObject m_profile;
    QList<Step> m_steps;
    int m_next = 0;
    bool m_stepOpen = false;
    bool m_sending = false;
    QString m_caught; // a message that came while the request was being sent
    bool m_caughtWhileSending = false;
    QList<Group> m_groups;
    Result m_result;
    QTimer m_stepTimer;
    int m_settleMs = 700;
    std::function<QDateTime()> m_clock;
};
