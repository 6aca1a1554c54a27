#pragma once

#include "profiles/ProfileSession.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QStringList>

#include <memory>

class CliSession;
class Form;
class WatchLoop;

// The subcommands of cellvane-cli, each driving the program's core as the
// matching page of the window does: the same buttons pressed in the same
// order, so the same frames go on the wire and the same values are
// refused. Each ends the session with its exit code.
class CliCommands : public QObject {
    Q_OBJECT
public:
    explicit CliCommands(CliSession &session, QObject *parent = nullptr);
    ~CliCommands() override;

    void start();
    // SIGINT/SIGTERM: watch and record end normally, anything else fails.
    void interrupt();

    // The pack's values as text lines, in the language of the run.
    static QString packText(const QJsonObject &pack);

private:
    void ports();
    void scan();
    void info(bool continuous);
    void paramsRead();
    void paramsWrite();
    void control();
    void history();
    void record();
    void upgrade();
    void profile();

    void readNextRow();
    void printRows();
    void exportHistory(bool complete, const QString &failure);
    void startRecording();
    void endRecording();
    void profileFinished(const ProfileSession::Result &result);
    // A "7": the status line says which answer failed.
    QString faultText() const;
    void json(const QJsonValue &value, bool compact = false);

    CliSession &m_session;
    std::unique_ptr<WatchLoop> m_loop;
    std::unique_ptr<ProfileSession> m_profile;
    QList<int> m_rows;
    int m_rowIndex = 0;
    bool m_synchronous = false;
    int m_lastRecordedLine = 0;
};
