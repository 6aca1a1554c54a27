#pragma once

#include <QDateTime>
#include <QString>
#include <QtGlobal>

#include <functional>

class Core;
struct RequestSpec;

// Builds and sends the request for AppState::currentCommand from the current
// page contents. Keeps no state between calls, which is what lets the send
// timer repeat a request by calling it again.
class RequestBuilder {
public:
    explicit RequestBuilder(Core &core);
    void buildRequest();
    // A page button: store `code` in currentCommand and build its request
    // (the information page's control buttons, 80-87).
    void send(quint8 code);

    // The clock that the BMS-time write sends; the PC's local time unless a
    // test pins it.
    void setClock(std::function<QDateTime()> clock);

    static QString pauseText();

private:
    void sendSpec(const RequestSpec &spec);
    void sendRecordRequest();
    void refuse(const QString &message);

    Core &m_core;
    std::function<QDateTime()> m_clock;
};
