#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

#include <optional>

// A firmware image that a completed upgrade delivered.
struct FirmwareImage {
    QString target; // "APP" or "BOOT"
    QByteArray bytes;
    int blocks = 0;
};

// The pack's side of a firmware transfer: a start frame (block 0, with the
// upgrade baud rate), numbered 128-byte data blocks and an end frame (block
// 0xFFFF), each acknowledged with its block number. Blocks may arrive twice or
// out of order (re-sends); the image is accepted at the end frame only when no
// block is missing, otherwise the end frame goes unanswered and the host
// re-sends until it gives up.
class FirmwareSession {
public:
    static constexpr int blockSize = 128;
    static constexpr quint16 endBlock = 0xFFFF;
    // Without a frame for this long, the pack gives an upgrade up (and, for
    // the application, returns to its normal line settings).
    static constexpr qint64 timeoutMs = 10000;

    struct Outcome {
        bool answer = false;
        quint16 block = 0;             // acknowledged block number
        std::optional<int> switchBaud; // the line changes to this rate after the answer
        bool restoreLine = false;      // the line returns to normal after the answer
        std::optional<FirmwareImage> image;
        QString note; // for the log
    };

    // `item` 250 is the application, 251 the boot loader; `data` is the
    // frame's data.
    Outcome handle(quint8 item, const QByteArray &data, qint64 nowMs);
    // Gives an abandoned upgrade up; true when the line must be restored.
    bool expire(qint64 nowMs);

    bool active() const { return m_active; }
    bool lineSwitched() const { return m_lineSwitched; }
    QString target() const;
    int baud() const { return m_baud; }
    int blocksReceived() const { return int(m_blocks.size()); }

private:
    bool m_active = false;
    quint8 m_item = 0;
    int m_baud = 0;
    bool m_lineSwitched = false;
    qint64 m_lastMs = 0;
    QMap<int, QByteArray> m_blocks;
};
