#include "requests/RequestBuilder.h"

#include "base/UserPrompt.h"
#include "link/CommandCode.h"
#include "link/Frame.h"
#include "requests/RequestTable.h"
#include "requests/WriteEncoder.h"
#include "shell/Core.h"

#include <QCoreApplication>

namespace {
constexpr quint8 recordItem = 70;
} // namespace

RequestBuilder::RequestBuilder(Core &core)
    : m_core(core), m_clock([] { return QDateTime::currentDateTime(); })
{
}

void RequestBuilder::setClock(std::function<QDateTime()> clock)
{
    m_clock = std::move(clock);
}

QString RequestBuilder::pauseText()
{
    return QCoreApplication::translate("RequestBuilder", "Communication pause");
}

void RequestBuilder::buildRequest()
{
    AppState &s = m_core.state;
    s.txFrame = QByteArray(Frame::overhead, '\0');
    // The next automatic repeat comes one full period after this request.
    m_core.link.restartSendTimer();

    const quint8 code = s.currentCommand;
    if (code <= CommandCode::lastLiveRead)
        sendSpec(*RequestTable::find(code));
    // Also reached when a live read found the port closed: the sender has set
    // the pause code, and the pause text replaces the read's own.
    if (s.currentCommand == CommandCode::pause) {
        s.setStatusLine(pauseText());
        return;
    }
    if (code <= CommandCode::lastLiveRead)
        return;
    if (code == CommandCode::upgrade) {
        m_core.upgrade.buildRequest();
    } else if (code == CommandCode::storedRecord) {
        sendRecordRequest();
    } else if (const RequestSpec *spec = RequestTable::find(code)) {
        sendSpec(*spec);
    }
    // Any other code (11 between two polling cycles, unused codes) sends
    // nothing; the timer restart above is all it does.
}

void RequestBuilder::send(quint8 code)
{
    m_core.state.currentCommand = code;
    buildRequest();
}

void RequestBuilder::refuse(const QString &message)
{
    m_core.state.currentCommand = CommandCode::pause;
    m_core.state.prompt.message(message);
}

void RequestBuilder::sendSpec(const RequestSpec &spec)
{
    AppState &s = m_core.state;
    Form *page = spec.page ? &(s.*spec.page) : nullptr;
    QByteArray frame = Frame::layout(spec.item, spec.length);
    if (!spec.fields.isEmpty() || !spec.tested.isEmpty()) {
        if (auto refusal = WriteEncoder::encode(spec, *page, frame, m_clock())) {
            refuse(*refusal);
            return;
        }
    }
    // Emptied before the request goes out, so a read that is never answered
    // leaves the boxes empty rather than showing stale values.
    for (const ClearStep &step : spec.clears) {
        switch (step.kind) {
        case ClearStep::Kind::Text:
            page->setText(step.control, QString());
            break;
        case ClearStep::Kind::Check:
            page->setCheck(step.control, 0);
            break;
        case ClearStep::Kind::Choice:
            page->setChoice(step.control, -1);
            break;
        case ClearStep::Kind::TimeMask:
            page->setText(step.control, QStringLiteral("yyyy-mm-dd hh:mm:ss"));
            break;
        }
    }
    s.txFrame = frame;
    m_core.link.sendFrame(spec.operation);
    if (spec.status)
        s.setStatusLine(QCoreApplication::translate("RequestBuilder", spec.status) +
                        QLatin1String(spec.statusSuffix));
}

void RequestBuilder::sendRecordRequest()
{
    AppState &s = m_core.state;
    // A 32-bit start index and a count of 1; the index travels in 16 bits.
    const quint16 index = quint16(quint32(s.recordIndex) & 0xFFFF);
    QByteArray frame = Frame::layout(recordItem, 8);
    frame[9] = char(index >> 8);
    frame[10] = char(index & 0xFF);
    frame[14] = 1;
    s.txFrame = frame;
    m_core.link.sendFrame(0);
}
