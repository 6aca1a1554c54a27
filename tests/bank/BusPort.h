#pragma once

#include "SimPacks.h"
#include "support/FakePort.h"

#include "link/Frame.h"

// The fake port with packs on its line: every written request is answered at
// once by the packs that hear it (colliding where two do), and the answer
// arrives as the adapter would deliver it, with readyRead.
class BusPort : public FakePort {
public:
    void setPacks(const QString &arguments) { packs = SimPacks::make(arguments); }
    qint64 write(const QByteArray &bytes) override
    {
        const qint64 n = FakePort::write(bytes);
        if (n != bytes.size() || bytes.size() < Frame::overhead)
            return n;
        const QByteArray reply = SimPacks::collided(SimPacks::answers(packs, bytes, 0));
        if (!reply.isEmpty())
            feed(reply);
        return n;
    }
    SimPacks::Packs packs;
};
