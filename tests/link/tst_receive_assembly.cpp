#include "link/Frame.h"
#include "link/ReceiveAssembler.h"

#include <QTest>

namespace {
constexpr quint8 address = 0xFF;
constexpr quint8 protocol = 0x10;

QByteArray response(quint8 item, const QByteArray &data = {}, quint8 addr = address,
                    quint8 proto = protocol)
{
    return Frame::build(Frame::responseStart, addr, proto, 0, item, data);
}

QByteArray corrupted(QByteArray frame)
{
    frame[frame.size() - 1] = char(frame.at(frame.size() - 1) ^ 0x01);
    return frame;
}

// A frame header for the current line whose claimed length runs far beyond
// the bytes that follow it.
QByteArray falseHeader(int n)
{
    QByteArray h;
    h.append(char(Frame::responseStart)).append(char(address)).append(char(protocol));
    h.append('\0').append('\x07').append(char(n >> 8)).append(char(n & 0xFF));
    return h;
}

QList<QByteArray> split(const QByteArray &bytes, int size)
{
    QList<QByteArray> reads;
    for (int i = 0; i < bytes.size(); i += size)
        reads << bytes.mid(i, size);
    return reads;
}

QByteArray noise(int size, quint8 seed)
{
    // No 0x5D anywhere, so nothing in it can look like a header.
    QByteArray bytes(size, '\0');
    quint8 v = seed;
    for (char &c : bytes) {
        v = quint8(v * 73 + 41);
        c = char(v == Frame::responseStart ? 0x5E : v);
    }
    return bytes;
}

// Records what the scan throws away.
struct Watch : ReceiveAssembler::Observer {
    QList<QByteArray> rejectedFrames;
    QList<QByteArray> discardedRuns;
    void rejected(QByteArrayView candidate) override { rejectedFrames << candidate.toByteArray(); }
    void discarded(QByteArrayView bytes) override { discardedRuns << bytes.toByteArray(); }
    qsizetype discardedBytes() const
    {
        qsizetype n = 0;
        for (const QByteArray &run : discardedRuns)
            n += run.size();
        return n;
    }
};

struct Result {
    QList<QByteArray> frames;
    QList<int> lengths;
    QList<int> framesAfterRead; // running total after each read
};

Result run(ReceiveAssembler &a, const QList<QByteArray> &reads, quint8 addr = address,
           quint8 proto = protocol)
{
    Result r;
    for (const QByteArray &read : reads) {
        a.step(read, addr, proto, [&](QByteArrayView frame, int n) {
            r.frames << frame.toByteArray();
            r.lengths << n;
        });
        r.framesAfterRead << int(r.frames.size());
    }
    return r;
}
} // namespace

class TestReceiveAssembly : public QObject {
    Q_OBJECT
private slots:
    void assembly_data()
    {
        QTest::addColumn<QList<QByteArray>>("reads");
        QTest::addColumn<QList<QByteArray>>("frames");
        QTest::addColumn<QList<int>>("framesAfterRead");
        QTest::addColumn<QByteArray>("pending");

        const QByteArray a = response(1, "\x01\x02");
        const QByteArray b = response(2, "abc");
        const QByteArray big = response(3, noise(300, 9));
        const QByteArray before = noise(11, 1);
        const QByteArray after = QByteArray("\x00\x11", 2) + char(Frame::responseStart);

        QTest::newRow("two frames in one read")
            << QList<QByteArray>{a + b} << QList<QByteArray>{a, b} << QList<int>{2} << QByteArray();
        QTest::newRow("frame split over three reads")
            << QList<QByteArray>{big.left(5), big.mid(5, 200), big.mid(205)}
            << QList<QByteArray>{big} << QList<int>{0, 0, 1} << QByteArray();
        QTest::newRow("header split inside the length field")
            << QList<QByteArray>{a.left(6), a.mid(6)} << QList<QByteArray>{a} << QList<int>{0, 1}
            << QByteArray();
        QTest::newRow("noise before goes with the frame, noise after stays")
            << QList<QByteArray>{before + a + after} << QList<QByteArray>{a} << QList<int>{1}
            << after;
        QTest::newRow("corrupt frame then a good one")
            << QList<QByteArray>{corrupted(a) + b} << QList<QByteArray>{b} << QList<int>{1}
            << QByteArray();
        QTest::newRow("corrupt frame alone stays for the next read")
            << QList<QByteArray>{corrupted(a)} << QList<QByteArray>{} << QList<int>{0}
            << corrupted(a);
        const QByteArray header = falseHeader(40);
        const QByteArray filler = noise(40 + 9 - header.size(), 3);
        QTest::newRow("false header holds later frames until its length has arrived")
            << QList<QByteArray>{header + a, b, filler} << QList<QByteArray>{a, b}
            << QList<int>{0, 0, 2}
            << (header + a + b + filler).mid(header.size() + a.size() + b.size());
        QTest::newRow("start byte 0x5C is not a response")
            << QList<QByteArray>{Frame::build(Frame::requestStart, address, protocol, 0, 1, "x")}
            << QList<QByteArray>{} << QList<int>{0}
            << Frame::build(Frame::requestStart, address, protocol, 0, 1, "x");
        QTest::newRow("other address") << QList<QByteArray>{response(1, "x", 0x03) + a}
                                       << QList<QByteArray>{a} << QList<int>{1} << QByteArray();
        QTest::newRow("other protocol") << QList<QByteArray>{response(1, "x", address, 0x11) + a}
                                        << QList<QByteArray>{a} << QList<int>{1} << QByteArray();
        const QByteArray tooLong = response(4, noise(0x0A00, 5));
        QTest::newRow("length high byte 10")
            << split(tooLong + a, 255) << QList<QByteArray>{a}
            << QList<int>(int(split(tooLong + a, 255).size()) - 1, 0) + QList<int>{1}
            << QByteArray();
        const QByteArray longest = response(5, noise(0x09FF, 6));
        QList<int> longestCounts(int(split(longest, 255).size()) - 1, 0);
        longestCounts << 1;
        QTest::newRow("longest frame, N = 2559, over eleven reads")
            << split(longest, 255) << QList<QByteArray>{longest} << longestCounts << QByteArray();
        QTest::newRow("read of zero bytes")
            << QList<QByteArray>{a.left(4), QByteArray(), a.mid(4)} << QList<QByteArray>{a}
            << QList<int>{0, 0, 1} << QByteArray();
        const QByteArray carrier = response(8, response(7, "inner"));
        QTest::newRow("a frame inside another frame's data is not handed over again")
            << QList<QByteArray>{carrier} << QList<QByteArray>{carrier} << QList<int>{1}
            << QByteArray();
        QTest::newRow("frame with no data")
            << QList<QByteArray>{response(9)} << QList<QByteArray>{response(9)} << QList<int>{1}
            << QByteArray();
    }

    void assembly()
    {
        QFETCH(QList<QByteArray>, reads);
        QFETCH(QList<QByteArray>, frames);
        QFETCH(QList<int>, framesAfterRead);
        QFETCH(QByteArray, pending);

        ReceiveAssembler assembler;
        const Result r = run(assembler, reads);
        QCOMPARE(r.frames, frames);
        QCOMPARE(r.framesAfterRead, framesAfterRead);
        QCOMPARE(assembler.pending().toByteArray(), pending);
        for (int i = 0; i < r.frames.size(); ++i)
            QCOMPARE(r.lengths.at(i), r.frames.at(i).size() - Frame::overhead);

        // Watched, the scan finds the same frames, and every byte read is
        // accounted for: handed over, reported as discarded, or still waiting.
        ReceiveAssembler watched;
        Watch watch;
        watched.setObserver(&watch);
        const Result w = run(watched, reads);
        QCOMPARE(w.frames, frames);
        QCOMPARE(w.framesAfterRead, framesAfterRead);
        qsizetype in = 0, handed = 0;
        for (const QByteArray &read : reads)
            in += read.size();
        for (const QByteArray &frame : w.frames)
            handed += frame.size();
        QCOMPARE(handed + watch.discardedBytes() + watched.count(), in);
    }

    void watchedBytes_data()
    {
        QTest::addColumn<QList<QByteArray>>("reads");
        QTest::addColumn<QList<QByteArray>>("rejected");
        QTest::addColumn<QList<QByteArray>>("discarded");

        const QByteArray a = response(1, "\x01\x02");
        const QByteArray b = response(2, "abc");
        const QByteArray n4 = noise(4, 2), n3 = noise(3, 7);
        QTest::newRow("noise and a corrupt frame before a good one")
            << QList<QByteArray>{n4 + corrupted(a) + b} << QList<QByteArray>{corrupted(a)}
            << QList<QByteArray>{n4 + corrupted(a)};
        QTest::newRow("a corrupt frame scanned again on later reads is reported once")
            << QList<QByteArray>{corrupted(a), n3, b.left(4), b.mid(4)}
            << QList<QByteArray>{corrupted(a)} << QList<QByteArray>{corrupted(a) + n3};
        QTest::newRow("noise between two frames of one read")
            << QList<QByteArray>{a + n3 + b} << QList<QByteArray>{} << QList<QByteArray>{n3};
        const QByteArray garbage = noise(7200, 4);
        // The read that takes the buffer past the limit empties it.
        const int purged = (ReceiveAssembler::purgeLimit / 255 + 1) * 255;
        QTest::newRow("a purged buffer") << split(garbage, 255) << QList<QByteArray>{}
                                         << QList<QByteArray>{garbage.left(purged)};
    }

    void watchedBytes()
    {
        QFETCH(QList<QByteArray>, reads);
        QFETCH(QList<QByteArray>, rejected);
        QFETCH(QList<QByteArray>, discarded);

        ReceiveAssembler assembler;
        Watch watch;
        assembler.setObserver(&watch);
        run(assembler, reads);
        QCOMPARE(watch.rejectedFrames, rejected);
        QCOMPARE(watch.discardedRuns, discarded);
    }

    // More than 7000 bytes without a frame: the buffer is emptied and a frame
    // arriving afterwards is found as usual.
    void purgeBeyondLimit()
    {
        ReceiveAssembler assembler;
        const QList<QByteArray> reads = split(noise(7200, 4), 255);
        int largest = 0;
        for (const QByteArray &read : reads) {
            run(assembler, {read});
            largest = qMax(largest, assembler.count());
        }
        QVERIFY(largest <= ReceiveAssembler::purgeLimit);
        QVERIFY(assembler.count() < 255);
        const QByteArray a = response(1, "ok");
        QCOMPARE(run(assembler, {a}).frames, QList<QByteArray>{a});
    }

    // The limit also bounds a buffer held back by a false header: once its
    // length has arrived and its CRC failed, the scan moves on and drops it.
    void purgeAfterFalseHeader()
    {
        ReceiveAssembler assembler;
        const QByteArray stream = falseHeader(0x09FF) + noise(7000, 8);
        for (const QByteArray &read : split(stream, 255))
            run(assembler, {read});
        QVERIFY(assembler.count() <= ReceiveAssembler::maxRead);
    }

    void zeroReadLeavesBufferUntouched()
    {
        ReceiveAssembler assembler;
        const QByteArray part = response(1, "abc").left(8);
        run(assembler, {part});
        QVERIFY(assembler.step({}, address, protocol,
                               [](QByteArrayView, int) { QFAIL("nothing to hand over"); }));
        QCOMPARE(assembler.pending().toByteArray(), part);
    }

    // Closing the port while a frame is being dispatched empties the buffer;
    // frames after it in the same read are dropped with it, nothing else runs.
    void clearInsideHandover()
    {
        ReceiveAssembler assembler;
        const QByteArray a = response(1), b = response(2), c = response(3);
        QList<QByteArray> got;
        assembler.step(a + b + c, address, protocol, [&](QByteArrayView f, int) {
            got << f.toByteArray();
            if (got.size() == 2)
                assembler.clear();
        });
        QCOMPARE(got, (QList<QByteArray>{a, b}));
        QCOMPARE(assembler.count(), 0);
        QCOMPARE(run(assembler, {c}).frames, QList<QByteArray>{c});
    }

    void stepInsideStepIsRefused()
    {
        ReceiveAssembler assembler;
        const QByteArray a = response(1), b = response(2);
        int handed = 0;
        bool nested = true;
        assembler.step(a, address, protocol, [&](QByteArrayView, int) {
            ++handed;
            nested = assembler.step(b, address, protocol, [&](QByteArrayView, int) { ++handed; });
        });
        QVERIFY(!nested);
        QCOMPARE(handed, 1);
        QCOMPARE(assembler.count(), 0);
        QVERIFY(!assembler.busy());
    }

    // Address 0 is on the list: bytes beyond the received data are zero and
    // must not complete a header that is cut short.
    void addressZeroHeaderAtTheEnd()
    {
        ReceiveAssembler assembler;
        const QByteArray tail = QByteArray(1, char(Frame::responseStart)) + QByteArray(1, '\0');
        const Result r = run(assembler, {tail}, 0x00, 0x00);
        QVERIFY(r.frames.isEmpty());
        QCOMPARE(assembler.pending().toByteArray(), tail);
        const QByteArray a = response(1, "z", 0x00, 0x00);
        QCOMPARE(run(assembler, {a}, 0x00, 0x00).frames, QList<QByteArray>{a});
        QCOMPARE(assembler.count(), 0);
    }
};

QTEST_GUILESS_MAIN(TestReceiveAssembly)
#include "tst_receive_assembly.moc"
