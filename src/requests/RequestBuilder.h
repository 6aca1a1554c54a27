#pragma once

#include <QtGlobal>

class Core;

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

private:
    Core &m_core;
};
