#include "support/FakePort.h"
#include "support/RecordingPrompt.h"
#include "link/Frame.h"
#include "shell/Core.h"

#include <QTest>

// Tab switches decide whether the pack is watched live or the line is paused.
class TestTabSwitch : public QObject {
    Q_OBJECT
private slots:
    void commandPerTab_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("command");
        QTest::addColumn<bool>("readAllCleared");
        QTest::newRow("serial setting") << 1 << 0 << true;
        QTest::newRow("information") << 2 << 0 << true;
        QTest::newRow("parameters") << 3 << 16 << false;
        QTest::newRow("system") << 4 << 16 << false;
        QTest::newRow("other settings") << 5 << 0 << false;
        QTest::newRow("store data") << 6 << 16 << false;
        QTest::newRow("upgrade") << 7 << 16 << false;
    }

    void commandPerTab()
    {
        QFETCH(int, tab);
        QFETCH(int, command);
        QFETCH(bool, readAllCleared);
        RecordingPrompt prompt;
        Core core(prompt, std::make_unique<FakePort>());
        core.state.currentCommand = 33;
        core.state.readAllActive = true;
        core.selectTab(tab);
        QCOMPARE(int(core.state.currentCommand), command);
        QCOMPARE(core.state.readAllActive, !readAllCleared);
        QCOMPARE(core.state.selectedTab, tab);
    }

    // A single read ends with the send timer stopped; coming back to the live
    // page must start the polling again.
    void liveReadsResumeAfterAnExchange()
    {
        RecordingPrompt prompt;
        auto port = std::make_unique<FakePort>();
        FakePort *line = port.get();
        Core core(prompt, std::move(port));
        core.link.load();
        core.selectTab(3);
        core.link.toggleOpen();
        QVERIFY(core.link.portOpen());
        core.paramCommands.readShortCircuit();
        core.state.rxFrame = Frame::build(Frame::responseStart, 255, 16, 0, 113, QByteArray("\x03\x05", 2));
        core.state.rxDataLength = 2;
        core.responses.dispatchResponse();
        QCOMPARE(int(core.state.currentCommand), 16);
        QVERIFY(!core.link.sendTimer().isActive());

        core.selectTab(2);
        QVERIFY(core.link.sendTimer().isActive());
        const int before = int(line->writes.size());
        core.link.sendTick();
        QCOMPARE(int(line->writes.size()), before + 1);
        QCOMPARE(int(quint8(line->writes.last().at(4))), 1); // project number, first live read
    }
};

QTEST_GUILESS_MAIN(TestTabSwitch)
#include "tst_tab_switch.moc"
