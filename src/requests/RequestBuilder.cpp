#include "requests/RequestBuilder.h"

#include "base/UserPrompt.h"
#include "link/CommandCode.h"
#include "link/Frame.h"
#include "link/LinkController.h"
#include "requests/RequestTable.h"
#include "requests/WriteEncoder.h"
#include "state/AppState.h"

#include <QCoreApplication>

RequestBuilder::RequestBuilder(AppState &state, LinkController &link)
    : m_state(state), m_link(link), m_clock([] { return QDateTime::currentDateTime(); })
{
}

void RequestBuilder::setClock(std::function<QDateTime()> clock)
{
    m_clock = std::move(clock);
}

void RequestBuilder::setRequestHandler(quint8 code, std::function<void()> handler)
{
    if (handler)
        m_handlers.insert(code, std::move(handler));
    else
        m_handlers.remove(code);
}

QString RequestBuilder::pauseText()
{
    return QCoreApplication::translate("RequestBuilder", "Communication pause");
}

void RequestBuilder::buildRequest()
{
    AppState &s = m_state;
    s.txFrame = QByteArray(Frame::overhead, '\0');
    // The next automatic repeat comes one full period after this request.
    m_link.restartSendTimer();

    const quint8 code = s.currentCommand;
    // Codes without a row (11 between two polling cycles, the pause, unused
    // codes) send nothing; the timer restart above is all they do.
    if (const RequestSpec *spec = RequestTable::find(code))
        sendSpec(*spec);
    // Also reached when a live read found the port closed: the sender has set
    // the pause code, and the pause text replaces the read's own.
    if ((code <= CommandCode::lastLiveRead || code == CommandCode::pause) &&
        s.currentCommand == CommandCode::pause)
        s.setStatusLine(pauseText());
}

void RequestBuilder::send(quint8 code)
{
    m_state.currentCommand = code;
    buildRequest();
}

void RequestBuilder::refuse(const QString &message)
{
    m_state.currentCommand = CommandCode::pause;
    m_state.prompt.message(message);
}

void RequestBuilder::sendSpec(const RequestSpec &spec)
{
    switch (spec.build) {
    case RequestSpec::Build::Fields:
        sendFields(spec);
        break;
    case RequestSpec::Build::RecordIndex:
        sendRecordRequest(spec);
        break;
    case RequestSpec::Build::Handler:
        if (const auto handler = m_handlers.constFind(spec.code); handler != m_handlers.cend())
            (*handler)();
        break;
    }
}

void RequestBuilder::sendFields(const RequestSpec &spec)
{
    AppState &s = m_state;
    Form *page = spec.page ? &(s.*spec.page) : nullptr;
    QByteArray frame = Frame::layout(spec.item, spec.length);
    if (!spec.fields.isEmpty() || !spec.tested.isEmpty()) {
        if (Result<void> encoded = WriteEncoder::encode(spec, *page, frame, m_clock()); !encoded) {
            refuse(encoded.error().message);
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
    m_link.sendFrame(spec.operation);
    if (spec.status)
        s.setStatusLine(QCoreApplication::translate("RequestBuilder", spec.status) +
                        QLatin1String(spec.statusSuffix));
}

void RequestBuilder::sendRecordRequest(const RequestSpec &spec)
{
    AppState &s = m_state;
    // A 32-bit start index and a count of 1; the index travels in 16 bits.
    const quint16 index = quint16(quint32(s.recordIndex) & 0xFFFF);
    QByteArray frame = Frame::layout(spec.item, spec.length);
    frame[Frame::dataOffset + 2] = char(index >> 8);
    frame[Frame::dataOffset + 3] = char(index & 0xFF);
    frame[Frame::dataOffset + 7] = 1;
    s.txFrame = frame;
    m_link.sendFrame(spec.operation);
}
