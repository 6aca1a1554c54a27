#pragma once

#include <QString>

class AppState;
class RequestBuilder;

// The 40 buttons of the "system" page ("Command1" .. "Command40"): each stores
// its code, calls the request builder and then writes its status text.
class SystemCommands {
public:
    SystemCommands(AppState &state, RequestBuilder &requests);

    void press(int button);                // 1..40
    static int code(int button);           // request code of the button, -1 for no button
    static QString statusText(int button); // in the current language

private:
    AppState &m_state;
    RequestBuilder &m_requests;
};
