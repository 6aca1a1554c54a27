#pragma once

class Core;

// Routes the frame in AppState::rxFrame by its operation byte, item byte and
// the request in progress to its decoder, then continues a chain or ends the
// exchange with its result message.
class ResponseDispatcher {
public:
    explicit ResponseDispatcher(Core &core);
    void dispatchResponse();

private:
    Core &m_core;
};
