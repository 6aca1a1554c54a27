#include "cli/ControlWords.h"

namespace {
struct ControlWord {
    const char *name;
    const char *state; // nullptr for a command without on/off
    int code;
};

const ControlWord controlWords[] = {
    {"charge-mos", "off", 80},   {"discharge-mos", "off", 81}, {"sleep", nullptr, 82},
    {"reset", nullptr, 83},      {"storage", nullptr, 84},     {"charge-mos", "on", 85},
    {"discharge-mos", "on", 86}, {"wake", nullptr, 87},
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
