#include "cli/ControlWords.h"

#include "link/CommandCode.h"

namespace {
struct ControlWord {
    const char *name;
    const char *state; // nullptr for a command without on/off
    int code;
};

const ControlWord controlWords[] = {
    {"charge-mos", "off", CommandCode::chargeMosOff},
    {"discharge-mos", "off", CommandCode::dischargeMosOff},
    {"sleep", nullptr, CommandCode::sleep},
    {"reset", nullptr, CommandCode::reset},
    {"storage", nullptr, CommandCode::storage},
    {"charge-mos", "on", CommandCode::chargeMosOn},
    {"discharge-mos", "on", CommandCode::dischargeMosOn},
    {"wake", nullptr, CommandCode::wake},
};
} // namespace

namespace ControlWords {

int code(const QStringList &words)
{
    for (const ControlWord &c : controlWords) {
        if (words.value(0) != QLatin1String(c.name))
            continue;
        if (c.state ? words.size() == 2 && words[1] == QLatin1String(c.state) : words.size() == 1)
            return c.code;
    }
    return -1;
}

QString synopsis()
{
    return QStringLiteral("charge-mos on|off, discharge-mos on|off, sleep, reset, storage, wake");
}

} // namespace ControlWords
