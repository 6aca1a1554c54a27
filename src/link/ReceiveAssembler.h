#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <array>
#include <functional>

// Turns the unframed byte stream from the BMS into response frames. Reads are
// appended to a fixed accumulation buffer; every complete frame with the
// current address and protocol bytes and a correct CRC is handed over at once,
// in arrival order, and whatever is left waits for the next read.
//
// Noise is only dropped together with a frame that follows it, and a buffer
// that grows beyond the purge limit without yielding a frame is emptied, so a
// line full of garbage can never grow the buffer past its capacity.
//
// The hand-over runs inside the scan. It may show a message box (which spins
// the event loop) or empty the buffer by closing the port; the scan notices
// the latter and ends. A step that is started while another one is still
// running is refused, since both would share the buffer and its count.
class ReceiveAssembler {
public:
    static constexpr int capacity = 10001;
    static constexpr int purgeLimit = 7000;
    static constexpr int maxRead = 255;

    // The whole frame, start byte to second CRC byte, and its data length N.
    using FrameHandler = std::function<void(QByteArrayView frame, int dataLength)>;

    // Told about what the scan throws away, for watching the line. The views
    // are only valid during the call.
    class Observer {
    public:
        virtual ~Observer() = default;
        // A header for this line whose CRC did not match: the header and the
        // bytes its length claims. Each header is reported once, although the
        // scan looks at it again after every read until it leaves the buffer.
        virtual void rejected(QByteArrayView candidate) = 0;
        // Bytes that leave the buffer without belonging to a dispatched frame.
        virtual void discarded(QByteArrayView bytes) = 0;
    };

    // One receive step for what a read returned (at most maxRead bytes).
    // Returns false, without touching anything, when a step is already running.
    bool step(QByteArrayView bytes, quint8 address, quint8 protocol, const FrameHandler &handover);
    // Empties the buffer; also ends a scan that is in progress.
    void clear();
    void setObserver(Observer *observer) { m_observer = observer; }

    bool busy() const { return m_busy; }
    int count() const { return m_count; }
    // The bytes waiting for the next step.
    QByteArrayView pending() const
    {
        return QByteArrayView(reinterpret_cast<const char *>(m_buffer.data()), m_count);
    }

private:
    enum class Scan { Done, Abandoned };
    Scan scan(quint8 address, quint8 protocol, const FrameHandler &handover, int &consumed);
    void shiftOut(int consumed);
    void dropAll();
    void reportDiscarded(int from, int to);

    std::array<quint8, capacity> m_buffer{};
    int m_count = 0;
    // Everything at and beyond this index is zero; keeps the shift from
    // clearing the whole array on every step.
    int m_dirtyEnd = 0;
    quint32 m_generation = 0;
    bool m_busy = false;
    Observer *m_observer = nullptr;
    // Position in the received stream of m_buffer[0], and of the byte after the
    // last rejected header reported, so a header is not reported on every read.
    qint64 m_base = 0;
    qint64 m_rejectedUpTo = 0;
    // Bytes at the front of the buffer that the scan has already accounted
    // for (handed over, or reported as discarded).
    int m_settled = 0;
};
