#pragma once

#include "link/Frame.h"
#include "requests/ParamForm.h"
#include "shell/Core.h"
#include "support/FakePort.h"
#include "support/RecordingPrompt.h"

#include <QByteArray>

#include <initializer_list>
#include <memory>

// A core with a recording prompt and a scripted port, and frames as the BMS
// sends them (start byte 0x5D, default address and protocol).
namespace ResponseTestKit {

inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

inline QByteArray readReply(int item, const QByteArray &data)
{
    return Frame::build(Frame::responseStart, 255, 16, 0, quint8(item), data);
}

inline QByteArray ackReply(int item, const QByteArray &data = QByteArray(2, '\0'))
{
    return Frame::build(Frame::responseStart, 255, 16, 1, quint8(item), data);
}

// Data of `length` zero bytes with `values` placed from frame position
// `index` on (the first data byte is frame position 7).
inline QByteArray dataWith(int length, int index, std::initializer_list<int> values)
{
    QByteArray d(length, '\0');
    int i = index - Frame::dataOffset;
    for (int v : values)
        d[i++] = char(v);
    return d;
}

inline void place(QByteArray &data, int index, std::initializer_list<int> values)
{
    int i = index - Frame::dataOffset;
    for (int v : values)
        data[i++] = char(v);
}

// Also notes the request code at the moment each message box opens.
struct ProbePrompt : RecordingPrompt {
    void message(const QString &text, const QString &title, Icon icon) override
    {
        commandAtMessage.append(state ? state->currentCommand : -1);
        RecordingPrompt::message(text, title, icon);
    }
    const AppState *state = nullptr;
    QList<int> commandAtMessage;
};

struct Bench {
    explicit Bench(bool english = true)
    {
        prompt.state = &core.state;
        core.state.setEnglishUi(english);
        core.link.toggleOpen();
        core.state.currentCommand = 16;
        // Row writes refuse empty boxes; give every row something to send.
        for (int i = 0; i < ParamField::texts; ++i)
            core.state.param.setText(ParamField::cs(i), QStringLiteral("1"));
    }
    ~Bench() { core.shutdown(); }

    void dispatch(const QByteArray &frame)
    {
        core.state.rxFrame = frame;
        core.state.rxDataLength = Frame::dataLength(frame);
        core.responses.dispatchResponse();
    }
    quint8 cc() const { return core.state.currentCommand; }
    FakePort &port() { return static_cast<FakePort &>(core.link.port()); }
    // Item bytes of the requests sent so far.
    QList<int> sentItems()
    {
        QList<int> items;
        for (const QByteArray &w : port().writes)
            items.append(quint8(w.at(4)));
        return items;
    }

    ProbePrompt prompt;
    Core core{prompt, std::make_unique<FakePort>()};
};

} // namespace ResponseTestKit
