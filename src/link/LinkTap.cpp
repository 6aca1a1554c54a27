#include "link/LinkTap.h"

void LinkTap::noteOpened(const QString &port, const QString &settings)
{
    m_clock.start();
    if (watched(&LinkTap::portOpened))
        emit portOpened(0, port, settings);
}

void LinkTap::noteSent(const QByteArray &frame)
{
    if (watched(&LinkTap::frameSent))
        emit frameSent(elapsedMs(), frame);
}

void LinkTap::noteAccepted(QByteArrayView frame)
{
    if (watched(&LinkTap::frameAccepted))
        emit frameAccepted(elapsedMs(), frame.toByteArray());
}

void LinkTap::rejected(QByteArrayView candidate)
{
    if (watched(&LinkTap::frameRejected))
        emit frameRejected(elapsedMs(), candidate.toByteArray());
}

void LinkTap::discarded(QByteArrayView bytes)
{
    if (!bytes.isEmpty() && watched(&LinkTap::bytesDiscarded))
        emit bytesDiscarded(elapsedMs(), bytes.toByteArray());
}
