#pragma once

#include <QString>

class Core;

// The 40 buttons of the "system" page ("Command1" .. "Command40"): each stores
// its code, calls the request builder and then writes its status text.
class SystemCommands {
public:
    explicit SystemCommands(Core &core);

    void press(int button);                // 1..40
    static int code(int button);           // request code of the button, -1 for no button
    static QString statusText(int button); // in the current language

private:
    Core &m_core;
};
