#include "upgrade/UpgradeController.h"

#include "base/UserPrompt.h"
#include "link/CommandCode.h"
#include "link/Frame.h"
#include "link/LinkController.h"
#include "link/LinkForm.h"
#include "requests/RequestBuilder.h"
#include "state/AppState.h"
#include "upgrade/FirmwareImage.h"
#include "upgrade/UpgradeForm.h"

#include <QCoreApplication>

#include <algorithm>

namespace {
constexpr int startDataLength = 5;
constexpr int blockDataLength = 2 + FirmwareImage::blockSize;

void putWord(QByteArray &frame, int index, quint16 value)
{
    frame[index] = char(value >> 8);
    frame[index + 1] = char(value & 0xFF);
}
} // namespace

UpgradeController::UpgradeController(AppState &state, LinkController &link,
                                     RequestBuilder &requests)
    : m_state(state), m_link(link), m_requests(requests)
{
}

QString UpgradeController::succeededText()
{
    return QCoreApplication::translate("UpgradeController", "Upgrade succeeded");
}

QString UpgradeController::failedText()
{
    return QCoreApplication::translate("UpgradeController", "Upgrade failed");
}

bool UpgradeController::appSelected() const
{
    return m_state.upgrade.choice(UpgradeField::target) == UpgradeField::app;
}

quint8 UpgradeController::targetItem() const
{
    return appSelected() ? appItem : bootItem;
}

quint16 UpgradeController::baudWord() const
{
    const double rate = m_state.upgrade.choiceText(UpgradeField::baud).toDouble();
    return quint16(std::clamp<qint64>(qRound64(rate / 10.0), 0, 0xFFFF));
}

void UpgradeController::start()
{
    AppState &s = m_state;
    Form &form = s.upgrade;
    if (!m_link.portOpen()) {
        s.prompt.message(LinkController::openPortFirstText());
        return;
    }

    // The file is read before anything else happens, so that a missing, empty
    // or oversized file leaves the line and the page exactly as they were.
    const QString path = form.text(UpgradeField::path);
    const bool binPath = path.endsWith(QLatin1String(".bin"), Qt::CaseSensitive);
    QByteArray image;
    if (binPath) {
        const FirmwareImage::Error error = FirmwareImage::load(path, image);
        if (error != FirmwareImage::Error::None) {
            s.prompt.message(FirmwareImage::errorText(error, path), {}, UserPrompt::Icon::Warning);
            return;
        }
    }

    if (binPath && m_startGate && !m_gatePassed) {
        const bool taken = m_startGate([this] {
            m_gatePassed = true;
            start();
            m_gatePassed = false;
        });
        if (taken)
            return;
    }

    const bool app = appSelected();
    if (!app && !s.prompt.question(bootWarningTitle(), bootWarningText()))
        return;
    if (app) {
        // Close and open again: the BMS application restarts into its loader
        // on a fresh line, and a live recording stops with the close.
        m_link.toggleOpen();
        m_link.toggleOpen();
        if (!m_link.portOpen())
            return; // the link has already said why it could not open
    }
    if (!binPath) {
        s.prompt.message(binOnlyText());
        return;
    }

    upgradeImage = image;
    upgradeImageLength = qint32(image.size());
    form.setEnabled(UpgradeField::start, false);
    form.setEnabled(UpgradeField::target, false);
    if (app) {
        s.savedBaudIndex = s.link.choice(LinkField::baud);
        s.savedParityIndex = s.link.choice(LinkField::parity);
    }
    upgradeBlock = 0;
    s.currentCommand = CommandCode::upgrade;
    // The start frame goes out on the next send tick. The answer that ended
    // the previous exchange (an earlier upgrade, a page read) stopped the send
    // timer, and that upgrade's ticks must not count against this one.
    m_link.armFirstSend();
    showProgress(0);
}

void UpgradeController::buildRequest()
{
    AppState &s = m_state;
    QByteArray &tx = s.txFrame;
    const int n = upgradeBlock;
    if (n <= 0) {
        tx = Frame::layout(targetItem(), startDataLength);
        putWord(tx, Frame::dataOffset, 0);
        putWord(tx, Frame::dataOffset + 2, baudWord());
    } else {
        tx = Frame::layout(targetItem(), blockDataLength);
        const qint64 first = qint64(n - 1) * FirmwareImage::blockSize;
        const qint64 end = qMin<qint64>(upgradeImageLength, upgradeImage.size());
        if (first < upgradeImageLength) {
            putWord(tx, Frame::dataOffset, quint16(n));
            for (int k = 0; k < FirmwareImage::blockSize; ++k) {
                const qint64 i = first + k;
                tx[Frame::dataOffset + 2 + k] = i < end ? upgradeImage.at(i) : char(0xFF);
            }
        } else {
            putWord(tx, Frame::dataOffset, endBlock);
            for (int k = 0; k < FirmwareImage::blockSize; ++k)
                tx[Frame::dataOffset + 2 + k] = char(0xFF);
        }
    }
    s.setStatusLine(QCoreApplication::translate("UpgradeController", "Send upgrade data") +
                    QString::number(n));
    m_link.sendFrame(1);
}

void UpgradeController::handleReply()
{
    AppState &s = m_state;
    const QByteArray &rx = s.rxFrame;
    // The acknowledged block number is the first data word; a shorter frame
    // would have its CRC read as a block number.
    if (rx.size() < Frame::overhead + 2 || Frame::dataLength(rx) < 2)
        return;
    if (quint8(rx.at(3)) == 0 || quint8(rx.at(4)) != targetItem())
        return;
    // A late or repeated acknowledgement after the upgrade has ended or been
    // given up must not switch the line or report a second result.
    if (s.currentCommand != CommandCode::upgrade)
        return;

    const quint16 acked =
        quint16((quint8(rx.at(Frame::dataOffset)) << 8) | quint8(rx.at(Frame::dataOffset + 1)));
    const bool app = appSelected();
    if (acked == 0 && app) {
        // The BMS has switched to the upgrade rate; follow it at no parity.
        if (!m_link.reopen(s.upgrade.choice(UpgradeField::baud), 0)) {
            abandon();
            return;
        }
    }
    if (acked == endBlock) {
        if (app)
            restoreLine();
        s.currentCommand = CommandCode::pause;
        s.prompt.message(succeededText());
        enableControls();
        upgradeBlock = 0;
        showProgress(100);
        if (m_succeeded)
            m_succeeded();
        return;
    }
    upgradeBlock = acked + 1;
    m_requests.buildRequest();
    const qint64 percent = upgradeImageLength > 0
                               ? qint64(acked) * FirmwareImage::blockSize * 100 / upgradeImageLength
                               : 100;
    showProgress(int(qMin<qint64>(percent, 100)));
}

void UpgradeController::abandon()
{
    AppState &s = m_state;
    s.currentCommand = CommandCode::pause;
    enableControls();
    if (appSelected())
        restoreLine();
    s.prompt.message(failedText());
}

void UpgradeController::enableControls()
{
    Form &form = m_state.upgrade;
    form.setEnabled(UpgradeField::start, true);
    form.setEnabled(UpgradeField::target, true);
}

void UpgradeController::chooseFile()
{
    const QString path = m_state.prompt.openFileName(fileFilter());
    if (!path.isEmpty())
        m_state.upgrade.setText(UpgradeField::path, path);
}

void UpgradeController::selectTarget(int index)
{
    Form &form = m_state.upgrade;
    if (!form.setChoice(UpgradeField::target, index))
        return;
    form.setEnabled(UpgradeField::baud, index != UpgradeField::boot);
}

void UpgradeController::showProgress(int percent)
{
    const int p = qBound(0, percent, 100);
    Form &form = m_state.upgrade;
    form.setText(UpgradeField::progressText, QString::number(p) + QLatin1Char('%'));
    form.setValue(UpgradeField::progress, p);
}

void UpgradeController::restoreLine()
{
    const AppState &s = m_state;
    m_link.reopen(s.savedBaudIndex, s.savedParityIndex);
}
