#pragma once

#include "sim/BusPack.h"
#include "sim/SimOptions.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QStringList>

#include <memory>
#include <vector>

// The simulator's packs without its process or line, for the fake lines of
// the bank tests: built from command-line options as `cellvane-sim` builds
// them, answering a request as they would on a shared wire.
namespace SimPacks {
using Packs = std::vector<std::unique_ptr<BusPack>>;

// The options `cellvane-sim` would read from `arguments` (e.g. "--packs 1,2
// --clash 3"), with the current held at 0 so the values stay put.
inline SimOptions options(const QString &arguments)
{
    QString message;
    bool exitOk = false;
    const auto o =
        SimOptions::parse(QStringList{QStringLiteral("cellvane-sim"), QStringLiteral("--link"),
                                      QStringLiteral("/tmp/unused"), QStringLiteral("--current"),
                                      QStringLiteral("0")} +
                              arguments.split(QLatin1Char(' '), Qt::SkipEmptyParts),
                          &message, &exitOk);
    if (!o)
        qFatal("%s", qPrintable(message));
    return *o;
}

inline Packs make(const QString &arguments)
{
    const SimOptions o = options(arguments);
    Packs packs;
    for (const SimOptions::PackSpec &spec : o.packs)
        packs.push_back(std::make_unique<BusPack>(spec, o, 0, QDateTime::currentDateTime()));
    return packs;
}

// Each answer to `request` from the packs that hear it, in the packs' order.
inline QList<QByteArray> answers(const Packs &packs, const QByteArray &request, qint64 nowMs)
{
    QList<QByteArray> replies;
    if (request.size() < 3)
        return replies;
    for (const auto &p : packs) {
        if (!p->hears(quint8(request[1]), quint8(request[2])))
            continue;
        const QByteArray r = p->handle(request, nowMs).reply;
        if (!r.isEmpty())
            replies.append(r);
    }
    return replies;
}

// What the wire carries when all of them answer at once.
inline QByteArray collided(const QList<QByteArray> &replies)
{
    QByteArray line;
    for (const QByteArray &r : replies)
        line = line.isEmpty() ? r : BusPack::collide(line, r);
    return line;
}
} // namespace SimPacks
