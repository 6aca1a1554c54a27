#pragma once

class Core;

// Builds and sends the request for AppState::currentCommand from the current
// page contents. Keeps no state between calls, which is what lets the send
// timer repeat a request by calling it again.
class RequestBuilder {
public:
    explicit RequestBuilder(Core &core);
    void buildRequest();

private:
    Core &m_core;
};
