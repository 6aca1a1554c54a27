#pragma once

#include <QCoreApplication>
#include <QtGlobal>

class Core;

// Routes the frame in AppState::rxFrame by its operation byte, item byte and
// the request in progress to its decoder, then continues a chain or ends the
// exchange with its result message.
//
// The routing rows are tested one after the other for every frame; a row may
// change currentCommand for the rows after it (the custom-text answer parks the
// cycle at 11, which the reset row then turns into 0). A frame that cannot be
// decoded stops at the fault: nothing more is sent, currentCommand keeps its
// value at that moment and the message "7" is shown.
class ResponseDispatcher {
    Q_DECLARE_TR_FUNCTIONS(ResponseDispatcher)
public:
    explicit ResponseDispatcher(Core &core);
    void dispatchResponse();

    static constexpr qint32 linkCountdownStart = 20;
    static constexpr quint8 pauseCommand = 16;

private:
    struct Reply;
    void routeTextItems(const Reply &r);
    void routeLiveItems(const Reply &r);
    void resetParkedCycle();
    void routeParamRead(const Reply &r);
    void routeParamWriteAck(const Reply &r);
    void routeControlAck(const Reply &r);
    void routeEndingItems(const Reply &r);
    void routeUpgradeAck(const Reply &r);
    void routeStoredRecords(const Reply &r);

    // Ends an exchange: the pause code first, so that nothing the message box
    // lets run in the meantime sees the finished request as still pending.
    void finish(const QString &message, quint8 nextCommand = pauseCommand);
    void continueWith(quint8 nextCommand);

    Core &m_core;
};
