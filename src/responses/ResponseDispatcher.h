#pragma once

#include "link/CommandCode.h"
#include "requests/RequestTable.h"

#include <QCoreApplication>
#include <QtGlobal>

#include <array>
#include <bitset>
#include <functional>

class AppState;
class LinkController;
class RequestBuilder;

// Takes the frame in AppState::rxFrame to the catalogue row that answers it
// (RequestTable::takenBy: its operation byte, its item byte and the request in
// progress), runs that row's decoder, then does what the row says: continue
// with the next request, end the exchange with its result message, carry a
// Read All or Write All on, or leave it to the decoder's handler.
//
// Between the polling cycle's answers and the rest, a cycle parked between
// two cycles is turned back to its first read (the custom-text answer parks
// it at 11, and the same dispatch restarts it). A frame that cannot be
// decoded stops at the fault; values written before it stay and the message
// "7" is shown. What happens next depends on the request in progress:
// - a read of the polling cycle is asked again at the next send tick; if its
//   answer fails again the cycle moves on past it. The "7" waits until the
//   receive step is over, so the polling (and a recording that follows it)
//   goes on while it is shown, and it comes once per item until that item
//   decodes again;
// - a page exchange (parameter or system read, Read All) ends: pause code,
//   chains cleared, the page's buttons work as before;
// - anything else keeps the request as it was.
// The status line names the read whose answer failed.
class ResponseDispatcher {
    Q_DECLARE_TR_FUNCTIONS(ResponseDispatcher)
public:
    ResponseDispatcher(AppState &state, LinkController &link, RequestBuilder &requests);
    void dispatchResponse();

    // What the stored-records and upgrade answers do lives above this part;
    // the session installs it here. A handler reads AppState::rxFrame and may
    // throw FrameError like any decoder.
    void setAnswerHandler(Decoder decoder, std::function<void()> handler);
    // Whether an answer named `decoder` in the catalogue is decoded here or by
    // an installed handler (the acknowledgement needs no decoding at all).
    bool takes(Decoder decoder) const;
    // Decoded by a function of this folder, without a handler.
    static bool decodesItself(Decoder decoder);

    static constexpr qint32 linkCountdownStart = 20;

private:
    struct Reply;
    void take(const RequestSpec &row, const Reply &r);
    void then(const RequestSpec &row);
    void chain(const AnswerSpec &answer);
    void resetParkedCycle();

    // Ends an exchange: the pause code first, so that nothing the message box
    // lets run in the meantime sees the finished request as still pending.
    void finish(const QString &message, quint8 nextCommand = CommandCode::pause);
    void continueWith(quint8 nextCommand);

    void decodedCycleItem(quint8 item);
    void handleFault(const Reply &r, bool itemKnown);
    void cycleFault(const Reply &r, bool itemKnown);
    static QString faultStatus(quint8 item, bool itemKnown);

    AppState &m_state;
    LinkController &m_link;
    RequestBuilder &m_requests;
    std::array<std::function<void()>, decoderCount> m_handlers;
    // Cycle items whose "7" has been shown and that have not decoded since.
    std::bitset<256> m_reportedItems;
    // The cycle read that is being asked again after its answer failed; -1 none.
    int m_repeatedCommand = -1;
    // A cycle "7" is queued or open; no second box is stacked on it.
    bool m_cycleMessageUp = false;
};
