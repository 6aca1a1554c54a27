#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QtGlobal>

#include <functional>

class AppState;
class LinkController;
struct RequestSpec;

// Builds and sends the request for AppState::currentCommand from its row in
// RequestTable and the current page contents. Keeps no state between calls,
// which is what lets the send timer repeat a request by calling it again.
class RequestBuilder {
public:
    RequestBuilder(AppState &state, LinkController &link);
    void buildRequest();
    // A page button: store `code` in currentCommand and build its request
    // (the information page's control buttons, 80-87).
    void send(quint8 code);

    // The clock that the BMS-time write sends; the PC's local time unless a
    // test pins it.
    void setClock(std::function<QDateTime()> clock);

    // Lays out and sends the request of a row built by a handler (the
    // upgrade's frames); without one such a code sends nothing.
    void setRequestHandler(quint8 code, std::function<void()> handler);

    static QString pauseText();

private:
    void sendSpec(const RequestSpec &spec);
    void sendFields(const RequestSpec &spec);
    void sendRecordRequest(const RequestSpec &spec);
    void refuse(const QString &message);

    AppState &m_state;
    LinkController &m_link;
    std::function<QDateTime()> m_clock;
    QHash<quint8, std::function<void()>> m_handlers;
};
