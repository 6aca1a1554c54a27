#include "link/Frame.h"
#include "link/LinkController.h"
#include "link/LinkHooks.h"
#include "requests/RequestBuilder.h"
#include "responses/FrameError.h"
#include "responses/InfoForm.h"
#include "responses/ResponseDispatcher.h"
#include "shell/PageForms.h"
#include "state/AppState.h"
#include "support/FakePort.h"
#include "support/RecordingPrompt.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <memory>

// The request builder and the response dispatcher on their own: the state, a
// link on a scripted port and the two of them, wired as the session wires
// them, with no other part of the program built.
namespace {

struct Wiring : LinkHooks {
    RequestBuilder *requests = nullptr;
    ResponseDispatcher *responses = nullptr;
    void sendDue() override { requests->buildRequest(); }
    void frameAccepted() override { responses->dispatchResponse(); }
};

struct Parts {
    RecordingPrompt prompt;
    AppState state{prompt, definePageForms};
    LinkController link{state, state.link, state.prompt, std::make_unique<FakePort>()};
    RequestBuilder requests{state, link};
    ResponseDispatcher responses{state, link, requests};
    Wiring wiring;

    Parts()
    {
        wiring.requests = &requests;
        wiring.responses = &responses;
        link.setHooks(&wiring);
        state.setEnglishUi(true);
        link.toggleOpen();
        state.currentCommand = CommandCode::pause;
    }
    ~Parts()
    {
        link.setHooks(nullptr);
        link.shutdown();
    }

    FakePort &port() { return static_cast<FakePort &>(link.port()); }
    // The BMS's answer arrives on the line.
    void answer(int operation, int item, const QByteArray &data)
    {
        port().feed(
            Frame::build(Frame::responseStart, 255, 16, quint8(operation), quint8(item), data));
        link.receiveStep();
    }
    QList<int> sentItems()
    {
        QList<int> items;
        for (const QByteArray &w : port().writes)
            items.append(quint8(w.at(4)));
        return items;
    }
};

} // namespace

class TestExchangeParts : public QObject {
    Q_OBJECT
private slots:
    // What the builder and the dispatcher may reach: the layers below them.
    // Stored records, the upgrade and the shell reach them through handlers.
    void includesNothingAbove_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("allowed");
        const QStringList belowRequests{"base", "link", "i18n", "state", "requests"};
        for (const char *name :
             {"RequestBuilder.h", "RequestBuilder.cpp", "RequestTable.h", "RequestTable.cpp"})
            QTest::newRow(name) << QStringLiteral("src/requests/") + QLatin1String(name)
                                << belowRequests;
        const QDir responses(QStringLiteral(CELLVANE_SOURCE_DIR "/src/responses"));
        for (const QString &name : responses.entryList({"*.h", "*.cpp"}, QDir::Files))
            QTest::newRow(qPrintable(name))
                << QStringLiteral("src/responses/") + name
                << (belowRequests + QStringList{QStringLiteral("responses")});
    }
    void includesNothingAbove()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, allowed);
        QFile f(QStringLiteral(CELLVANE_SOURCE_DIR "/") + file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll());
        static const QRegularExpression include(QStringLiteral("#include \"([a-z]+)/"));
        int found = 0;
        for (auto it = include.globalMatch(text); it.hasNext();) {
            const QString folder = it.next().captured(1);
            ++found;
            QVERIFY2(allowed.contains(folder), qPrintable(folder));
        }
        // Every source file includes its own header at least: a pattern that
        // matched nothing would pass any file.
        if (file.endsWith(QLatin1String(".cpp")))
            QVERIFY(found > 0);
    }

    // Over the line and back: each answer of the polling cycle is decoded and
    // the next read goes out at once.
    void pollingGoesRoundOnTheLine()
    {
        Parts p;
        QVERIFY(p.link.portOpen());
        p.state.currentCommand = CommandCode::firstLiveRead;
        p.requests.buildRequest();
        p.answer(0, 1, "P1");
        p.answer(0, 2, "M2");
        QCOMPARE(p.state.info.text(InfoField::projectNumber), QStringLiteral("P1"));
        QCOMPARE(p.state.info.text(InfoField::model), QStringLiteral("M2"));
        QCOMPARE(p.sentItems(), (QList<int>{1, 2, 3}));
        QCOMPARE(int(p.state.currentCommand), 2);
        QVERIFY(p.prompt.messages.isEmpty());
    }

    // The answers that belong to the stored-records page and the upgrade go
    // to whatever handler is installed for them, and only those answers.
    void answersReachTheirHandlers_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("handler"); // empty: none is called
        QTest::newRow("record count") << 0 << 71 << "count";
        QTest::newRow("record") << 0 << 70 << "record";
        QTest::newRow("APP upgrade acknowledged") << 1 << 250 << "upgrade";
        QTest::newRow("BOOT upgrade acknowledged") << 1 << 251 << "upgrade";
        QTest::newRow("upgrade item read") << 0 << 250 << "";
        QTest::newRow("record count acknowledged") << 1 << 71 << "";
        QTest::newRow("record acknowledged") << 1 << 70 << "";
        QTest::newRow("live item") << 0 << 6 << "";
    }
    void answersReachTheirHandlers()
    {
        QFETCH(int, operation);
        QFETCH(int, item);
        QFETCH(QString, handler);
        Parts p;
        QStringList called;
        p.responses.setAnswerHandler(Decoder::storedCount, [&] { called << "count"; });
        p.responses.setAnswerHandler(Decoder::storedRecord, [&] { called << "record"; });
        p.responses.setAnswerHandler(Decoder::upgrade, [&] { called << "upgrade"; });
        p.state.currentCommand = CommandCode::pause;
        p.answer(operation, item, QByteArray(60, '\0'));
        QCOMPARE(called, handler.isEmpty() ? QStringList() : QStringList{handler});
    }

    void withoutHandlersTheirAnswersChangeNothing_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("operation");
        QTest::addColumn<int>("item");
        QTest::newRow("count") << int(CommandCode::storedCount) << 0 << 71;
        QTest::newRow("record") << int(CommandCode::storedRecord) << 0 << 70;
        QTest::newRow("upgrade") << int(CommandCode::upgrade) << 1 << 250;
    }
    void withoutHandlersTheirAnswersChangeNothing()
    {
        QFETCH(int, command);
        QFETCH(int, operation);
        QFETCH(int, item);
        Parts p;
        QVERIFY(!p.responses.takes(RequestTable::find(quint8(command))->answer.decoder));
        p.state.currentCommand = quint8(command);
        p.answer(operation, item, QByteArray(4, '\0'));
        QCOMPARE(int(p.state.currentCommand), command);
        QVERIFY(p.prompt.messages.isEmpty());
        QVERIFY(p.port().writes.isEmpty());
    }

    // A handler that cannot read the frame ends like a decoder that cannot:
    // "7", and the request in progress stays.
    void handlerFaultShowsTheDecodeMessage()
    {
        Parts p;
        p.responses.setAnswerHandler(Decoder::storedCount, [] { throw FrameError(); });
        p.state.currentCommand = CommandCode::storedCount;
        p.answer(0, 71, QByteArray(2, '\0'));
        QCOMPARE(p.prompt.texts(), QStringList{QStringLiteral("7")});
        QCOMPARE(int(p.state.currentCommand), int(CommandCode::storedCount));
    }

    // The upgrade's frames come from its handler; without one the code sends
    // nothing, and a handler can be taken away again.
    void upgradeFramesComeFromTheirHandler()
    {
        Parts p;
        p.state.currentCommand = CommandCode::upgrade;
        p.requests.buildRequest();
        QVERIFY(p.port().writes.isEmpty());
        QVERIFY(p.link.sendTimer().isActive());

        int calls = 0;
        p.requests.setRequestHandler(CommandCode::upgrade, [&] {
            ++calls;
            p.state.txFrame = Frame::layout(250, 4);
            p.link.sendFrame(1);
        });
        p.requests.buildRequest();
        QCOMPARE(calls, 1);
        QCOMPARE(p.sentItems(), QList<int>{250});
        QCOMPARE(int(quint8(p.port().writes.first().at(3))), 1);

        p.requests.setRequestHandler(CommandCode::upgrade, {});
        p.requests.buildRequest();
        QCOMPARE(calls, 1);
        QCOMPARE(p.port().writes.size(), 1);
    }

    // The stored-records request is laid out from the row and the index.
    void recordRequestFromTheIndex()
    {
        Parts p;
        p.state.recordIndex = 0x1234;
        p.requests.send(CommandCode::storedRecord);
        QCOMPARE(p.port().writes.size(), 1);
        QCOMPARE(p.port().writes.first().toHex(' '),
                 Frame::build(Frame::requestStart, 0xFF, 0x10, 0, 70,
                              QByteArray::fromHex("0000123400000001"))
                     .toHex(' '));
    }
};

QTEST_GUILESS_MAIN(TestExchangeParts)
#include "tst_exchange_parts.moc"
