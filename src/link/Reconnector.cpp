#include "link/Reconnector.h"

#include "base/Clock.h"
#include "base/Form.h"
#include "link/CommandCode.h"
#include "link/LinkController.h"
#include "link/LinkForm.h"
#include "link/PortMap.h"

#include <QDir>
#include <QFileInfo>

namespace {
QString clockTime()
{
    return Clock::now().time().toString(QStringLiteral("HH:mm:ss"));
}
QString sameFile(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}
} // namespace

Reconnector::Reconnector(LinkController &link) : m_link(link)
{
    m_timer.setInterval(intervalMs);
    connect(&m_timer, &QTimer::timeout, this, &Reconnector::tick);
    connect(&m_link.form(), &Form::changed, this, &Reconnector::onLinkFormChanged);
}

bool Reconnector::enabled() const
{
    return m_link.form().check(LinkField::reconnect) != 0;
}

QString Reconnector::disconnectedText(int number, const QString &device, const QString &time)
{
    return tr("COM%1 (%2) was disconnected at %3.").arg(number).arg(device, time);
}
QString Reconnector::waitingText()
{
    return tr("It will be opened again as soon as it is back.");
}
QString Reconnector::recordingStoppedText(const QString &file)
{
    return tr("Recording has stopped; its file is \"%1\".").arg(QDir::toNativeSeparators(file));
}
QString Reconnector::reconnectedText(int number, const QString &device, const QString &time)
{
    return tr("COM%1 (%2) was reconnected at %3.").arg(number).arg(device, time);
}
QString Reconnector::recordingRestartedText(const QString &file)
{
    return tr("Recording goes on in a new file, \"%1\".").arg(QDir::toNativeSeparators(file));
}

void Reconnector::watch(const Lost &lost)
{
    m_lost = lost;
    m_waiting = true;
    QString text = disconnectedText(lost.number, lost.device, clockTime());
    if (lost.work.recording)
        text += QLatin1Char(' ') + lost.work.recordingNote;
    m_link.hooks().setStatusLine(text + QLatin1Char(' ') + waitingText());
    m_timer.start();
}

void Reconnector::cancel()
{
    if (!m_waiting)
        return;
    m_waiting = false;
    m_timer.stop();
    // The note about waiting is no longer true; the loss itself still is.
    const QString waiting = QLatin1Char(' ') + waitingText();
    QString status = m_link.hooks().statusLine();
    if (status.endsWith(waiting)) {
        status.chop(waiting.size());
        m_link.hooks().setStatusLine(status);
    }
}

void Reconnector::onLinkFormChanged(const QString &control)
{
    if (control == LinkField::reconnect && !enabled())
        cancel();
}

int Reconnector::returnedNumber() const
{
    const PortMap map;
    // The same COM number, mapped the same way: while a virtual line is down
    // its link is gone, and the number then stands for another device.
    if (map.isLinked(m_lost.number) == m_lost.linked) {
        const QString device = map.deviceOf(m_lost.number);
        if (!device.isEmpty() && m_link.port().examine(device) != PortIo::Access::Absent)
            return m_lost.number;
    }
    // The same adapter under another device name: the COM number that names it.
    if (m_lost.serialNumber.isEmpty())
        return 0;
    const QString device = m_link.port().deviceWithSerialNumber(m_lost.serialNumber);
    if (device.isEmpty())
        return 0;
    const QString wanted = sameFile(device);
    for (int n = PortMap::firstNumber; n <= PortMap::lastNumber; ++n) {
        const QString candidate = map.deviceOf(n);
        if (!candidate.isEmpty() && sameFile(candidate) == wanted)
            return n;
    }
    return 0;
}

void Reconnector::tick()
{
    if (!m_waiting)
        return;
    if (!enabled() || m_link.portOpen()) {
        cancel();
        return;
    }
    const int number = returnedNumber();
    // A device that is back but cannot be opened yet (its permissions are set
    // a moment after it appears) is tried again on the next tick.
    if (number == 0 || !m_link.reopenQuietly(number))
        return;
    m_waiting = false;
    m_timer.stop();

    QString text = reconnectedText(number, m_link.openedDevice(), clockTime());
    const QString note = m_link.hooks().lineBack(m_lost.work, m_lost.command);
    if (!note.isEmpty())
        text += QLatin1Char(' ') + note;
    m_link.hooks().setStatusLine(text);
    emit reconnected();
}
