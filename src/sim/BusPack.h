#pragma once

#include "sim/HistoryLog.h"
#include "sim/PackModel.h"
#include "sim/Responder.h"
#include "sim/SimOptions.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>

#include <memory>

// One pack on the simulated line: its battery, stored history and protocol
// handler, whether it is silent at the moment, and what it was asked and
// answered. Several of them share one line, each listening for its own
// address as on a real RS-485 bus.
class BusPack {
public:
    BusPack(const SimOptions::PackSpec &spec, const SimOptions &options, qint64 nowMs,
            const QDateTime &clock);

    int address() const { return m_spec.address; }
    bool hears(quint8 address, quint8 protocol) const
    {
        return address == m_spec.address && protocol == m_protocol;
    }
    // Whether an --offline pack keeps quiet at this moment: always, or in the
    // silent half of its period (the first one from the start).
    bool silentAt(qint64 nowMs) const;

    // Answers a request addressed to it (counted), unless it is silent.
    Responder::Outcome handle(const QByteArray &request, qint64 nowMs);

    PackModel &model() { return *m_model; }
    const PackModel &model() const { return *m_model; }
    const HistoryLog &history() const { return *m_history; }
    Responder &responder() { return *m_responder; }
    const Responder &responder() const { return *m_responder; }

    // The pack's own part of the status file.
    QJsonObject status(qint64 nowMs, bool clashing) const;

    // What a receiver reads when two packs drive the line at once: both
    // start together, so where they disagree a 0 bit wins (a driven space
    // level overrides the idle mark) and the longer answer's tail is read as
    // sent. The header bytes agree, so the result looks like a frame whose
    // CRC fails, unless the two answers happen to be identical.
    static QByteArray collide(const QByteArray &a, const QByteArray &b);

private:
    SimOptions::PackSpec m_spec;
    quint8 m_protocol;
    std::unique_ptr<PackModel> m_model;
    std::unique_ptr<HistoryLog> m_history;
    std::unique_ptr<Responder> m_responder;
    qint64 m_requests = 0;
    qint64 m_answers = 0;
    qint64 m_silenced = 0;
};
