#pragma once

#include "sim/FirmwareSession.h"
#include "sim/HistoryLog.h"
#include "sim/LineSettings.h"
#include "sim/PackModel.h"

#include <QByteArray>
#include <QMap>
#include <QString>

#include <optional>

// The pack's protocol handler: one complete request frame in, at most one
// response frame out (start byte 0x5D, the pack's address and protocol, 0 for
// a read answer, 1 for an acknowledgement). Knows no port and no clock of its
// own, so every exchange can be tested without a line.
//
// As a real pack on a shared bus, it stays silent for frames addressed to
// another pack, for items it does not know, for writes of the wrong length,
// and for live reads while it sleeps or is in storage mode.
class Responder {
public:
    struct Options {
        quint8 address = 255;
        quint8 protocol = 16;
        // The USART the host's line is wired to (-1: none of them). A
        // serial-settings write to it changes the line after the answer.
        int lineUsart = -1;
        LineSettings normalLine;
        int softwareVersion = 215; // hundredths
        int hardwareVersion = 110;
    };
    struct Outcome {
        bool forUs = false; // address and protocol matched
        QByteArray reply;   // empty: no answer
        // The line takes these settings once the reply has gone out.
        std::optional<LineSettings> lineAfter;
        std::optional<FirmwareImage> image;
        QString note; // for the log
    };

    Responder(PackModel &pack, const HistoryLog &history, const Options &options);

    Outcome handle(const QByteArray &request, qint64 nowMs);
    // Runs the pack's timers while no request comes; returns the line settings
    // to return to when an abandoned upgrade times out.
    std::optional<LineSettings> poll(qint64 nowMs);

    const FirmwareSession &firmware() const { return m_firmware; }
    // The settings the pack's line returns to after an upgrade.
    LineSettings normalLine() const { return m_options.normalLine; }

    static QByteArray liveData(const LiveSnapshot &s);
    static QByteArray recordData(const HistoryRecord &r);

private:
    std::optional<QByteArray> read(quint8 item, const QByteArray &data, qint64 nowMs, Outcome &out);
    bool write(quint8 item, const QByteArray &data, qint64 nowMs, Outcome &out);
    QByteArray response(quint8 operation, quint8 item, const QByteArray &data) const;

    PackModel &m_pack;
    const HistoryLog &m_history;
    Options m_options;
    FirmwareSession m_firmware;
    QMap<int, QByteArray> m_usarts; // baud / 10 (word) and parity index, per USART
};
