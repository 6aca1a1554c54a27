#include "ResponseTestKit.h"
#include "requests/ParamForm.h"
#include "requests/SystemForm.h"
#include "responses/InfoForm.h"
#include "upgrade/UpgradeForm.h"

#include <QTest>

using namespace ResponseTestKit;

namespace {
constexpr int Read = 0, Ack = 1;

QByteArray reply(int op, int item, const QByteArray &data = QByteArray(2, '\0'))
{
    return op == Read ? readReply(item, data) : ackReply(item, data);
}

// Long enough for every read layout; zeros are accepted by every control.
const QByteArray zeros(60, '\0');

struct Ending {
    int op;
    int item;
    const char *english;
    const char *chinese;
};

// Every answer that ends an exchange with its message, in routing order.
const Ending endings[] = {
    {Read, 113, "read successfully", "短路保护读取成功"},
    {Ack, 113, "Write succeeded", "写入成功"},
    {Ack, 1, "Write succeeded", "项目编号写入成功"},
    {Ack, 2, "Write succeeded", "BMS型号写入成功"},
    {Ack, 3, "Write succeeded", "序列号写入成功"},
    {Ack, 19, "Write succeeded", "自定义写入成功"},
    {Read, 125, "read successfully", "IP读取成功"},
    {Ack, 125, "Write succeeded", "IP写入成功"},
    {Ack, 10, "Write succeeded", "生产日期写入成功"},
    {Read, 10, "read successfully", "生产日期读取成功"},
    {Ack, 12, "Write succeeded", "均衡参数写入成功"},
    {Read, 12, "read successfully", "读取均衡参数成功"},
    {Ack, 11, "Write succeeded", "设置数量成功"},
    {Read, 11, "read successfully", "读取数量成功"},
    {Ack, 13, "Write succeeded", "设置相关容量成功"},
    {Read, 13, "read successfully", "读取相关容量成功"},
    {Read, 14, "read successfully", "读取零点成功"},
    {Ack, 14, "Write succeeded", "设零点成功"},
    {Read, 15, "read successfully", "读取充电系数成功"},
    {Ack, 15, "Write succeeded", "设置充电校准成功"},
    {Read, 16, "read successfully", "读取放电系数成功"},
    {Ack, 16, "Write succeeded", "设置放电校准成功"},
    {Read, 17, "read successfully", "读取采样电阻成功"},
    {Ack, 17, "Write succeeded", "设置采样电阻成功"},
    {Read, 18, "read successfully", "读取BMS时间成功"},
    {Ack, 18, "Write succeeded", "设置BMS时间成功"},
    {Read, 20, "read successfully", "读取波特率成功"},
    {Ack, 20, "Write succeeded", "设置波特率成功"},
    {Read, 21, "read successfully", "读取充电握手成功"},
    {Ack, 21, "Write succeeded", "设置充电握手成功"},
    {Read, 22, "read successfully", "读取自定义选择成功"},
    {Ack, 22, "Write succeeded", "设置自定义选择成功"},
    {Read, 23, "Read Energy storage module succeeded", "读取储能模块成功"},
    {Ack, 23, "Write Energy storage module succeeded", "设置储能模块成功"},
    {Read, 130, "Read PreDischarge parameters succeeded", "读取预放电参数成功"},
    {Ack, 130, "Write PreDischarge parameters succeeded", "设置预放电参数成功"},
    {Read, 24, "Read Active balancing parameters succeeded", "读取主动均衡参数成功"},
    {Ack, 24, "Write Active balancing parameters succeeded", "设置主动均衡参数成功"},
};
} // namespace

class TestResponseDispatcher : public QObject {
    Q_OBJECT
private slots:
    void entrySteps_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("status");
        QTest::newRow("en paused") << true << 16 << "Communication pause";
        QTest::newRow("zh paused") << false << 16 << "通迅暂停";
        QTest::newRow("setting read leaves the status") << true << 110 << "Read Balanced Settings";
    }
    void entrySteps()
    {
        QFETCH(bool, english);
        QFETCH(int, command);
        QFETCH(QString, status);
        Bench b(english);
        b.core.state.currentCommand = quint8(command);
        b.core.state.setStatusLine(QStringLiteral("Read Balanced Settings"));
        b.core.state.linkCountdown = -3;
        b.core.link.sendTimer().start();
        // An item nobody answers: only the entry steps happen.
        b.dispatch(reply(Read, 99));
        QCOMPARE(b.core.state.linkCountdown, 20);
        QVERIFY(!b.core.link.sendTimer().isActive());
        QCOMPARE(b.core.state.statusLine(), status);
        QCOMPARE(int(b.cc()), command);
        QVERIFY(b.prompt.messages.isEmpty());
    }

    // Rows that continue or end an exchange without a message box, keyed by
    // the request in progress.
    void routing_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<bool>("readAll");
        QTest::addColumn<bool>("writeAll");
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<int>("nextCommand");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("readAllAfter");
        QTest::addColumn<bool>("writeAllAfter");
        QTest::addColumn<int>("sent"); // item byte of the follow-up request, -1 for none

        // Live codes 1..9 request these items; 11 sends nothing.
        const auto itemOf = [](int next) { return next == 9 ? 19 : next + 1; };
        auto row = [&](const char *name, int cc, const QByteArray &frame, int next,
                       const QString &msg = {}) {
            const bool follows = msg.isEmpty() && next != cc && next >= 1 && next <= 9;
            QTest::newRow(name) << cc << false << false << frame << next << msg << false << false
                                << (follows ? itemOf(next) : -1);
        };
        row("project number while polling", 0, reply(Read, 1, "P1"), 1);
        row("project number for the system page", 98, reply(Read, 1, "P1"), 16, "Read succeeded");
        row("project number at another time", 5, reply(Read, 1, "P1"), 5);
        row("model while polling", 1, reply(Read, 2, "M"), 2);
        row("model for the system page", 100, reply(Read, 2, "M"), 16, "Read succeeded");
        row("model at another time", 0, reply(Read, 2, "M"), 0);
        row("battery id while polling", 2, reply(Read, 3, "B"), 3);
        row("battery id for the system page", 102, reply(Read, 3, "B"), 16, "Read succeeded");
        row("custom text parks then resets the cycle", 9, reply(Read, 19, "C"), 0);
        row("custom text for the system page", 104, reply(Read, 19, "C"), 16, "Read succeeded");
        row("versions", 3, reply(Read, 4, zeros), 4);
        row("versions whatever the request", 16, reply(Read, 4, zeros), 4);
        row("sof", 4, reply(Read, 5, zeros), 5);
        row("live data", 5, reply(Read, 6, zeros), 6);
        row("live data while reading the project number", 98, reply(Read, 6, zeros), 6);
        row("temperatures", 6, reply(Read, 7, zeros), 7);
        row("cell voltages", 7, reply(Read, 8, zeros), 8);
        row("balancing map", 8, reply(Read, 9, zeros), 9);
        row("live item acknowledged is ignored", 5, reply(Ack, 6, zeros), 5);
        row("reset from 10", 10, reply(Read, 99), 0);
        row("reset from 12", 12, reply(Read, 99), 0);
        row("reset from 15", 15, reply(Ack, 99), 0);
        row("no reset from 9", 9, reply(Read, 99), 9);
        row("no reset from 16", 16, reply(Read, 99), 16);
        row("single row read", 17, reply(Read, 40, zeros), 16, "Read succeeded");
        row("row read for another row", 20, reply(Read, 50, zeros), 16, "Read succeeded");
        row("row answer outside a row read", 16, reply(Read, 40, zeros), 16);
        row("item after the last row", 17, reply(Read, 57, zeros), 17);
        row("single row write", 49, reply(Ack, 40), 16, "Write succeeded");
        row("last row write", 65, reply(Ack, 56), 16, "Write succeeded");
        row("write ack for another row", 50, reply(Ack, 42), 50);
        row("write answered with data", 49, reply(Read, 40, zeros), 49);
        row("charge off", 80, reply(Ack, 60), 0, "Control succeeded");
        row("discharge on", 86, reply(Ack, 60), 0, "Control succeeded");
        row("wake", 87, reply(Ack, 60), 0, "Control succeeded");
        row("sleep stays paused", 82, reply(Ack, 60), 16, "Control succeeded");
        row("storage stays paused", 84, reply(Ack, 60), 16, "Control succeeded");
        row("control item while not controlling", 79, reply(Ack, 60), 79);
        row("control item after the controls", 88, reply(Ack, 60), 88);
        row("control item read", 80, reply(Read, 60), 80);

        auto chain = [](const char *name, int cc, bool ra, bool wa, const QByteArray &frame,
                        int next, const QString &msg, bool raAfter, bool waAfter, int sent) {
            QTest::newRow(name) << cc << ra << wa << frame << next << msg << raAfter << waAfter
                                << sent;
        };
        chain("read all goes to the next row", 20, true, false, reply(Read, 43, zeros), 21, {},
              true, false, 44);
        chain("read all follows the answered row", 20, true, false, reply(Read, 45, zeros), 23, {},
              true, false, 46);
        chain("read all ends at 33", 33, true, false, reply(Read, 56, zeros), 16,
              "Successfully read all", false, false, -1);
        // The answer for the last row ends Read All, whichever row was asked.
        chain("read all ends at an answer for the last row", 20, true, false,
              reply(Read, 56, zeros), 16, "Successfully read all", false, false, -1);
        chain("write all goes to the next row", 50, false, true, reply(Ack, 41), 51, {}, false,
              true, 42);
        chain("write all ends at 65", 65, false, true, reply(Ack, 56), 16, "Successfully set all",
              false, false, -1);
        chain("write all ignores another row", 50, false, true, reply(Ack, 40), 50, {}, false, true,
              -1);
    }
    void routing()
    {
        QFETCH(int, command);
        QFETCH(bool, readAll);
        QFETCH(bool, writeAll);
        QFETCH(QByteArray, frame);
        QFETCH(int, nextCommand);
        QFETCH(QString, message);
        QFETCH(bool, readAllAfter);
        QFETCH(bool, writeAllAfter);
        QFETCH(int, sent);
        Bench b;
        b.core.state.currentCommand = quint8(command);
        b.core.state.readAllActive = readAll;
        b.core.state.writeAllActive = writeAll;
        b.dispatch(frame);
        QCOMPARE(int(b.cc()), nextCommand);
        QCOMPARE(b.prompt.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        if (!message.isEmpty())
            QCOMPARE(b.prompt.commandAtMessage, QList<int>{nextCommand});
        QCOMPARE(b.core.state.readAllActive, readAllAfter);
        QCOMPARE(b.core.state.writeAllActive, writeAllAfter);
        QCOMPARE(b.sentItems(), sent < 0 ? QList<int>() : QList<int>{sent});
    }

    void endingMessages_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QString>("message");
        for (bool en : {true, false}) {
            for (const Ending &e : endings) {
                const QString name = QStringLiteral("%1 %2 %3")
                                         .arg(en ? "en" : "zh", e.op == Read ? "read" : "ack")
                                         .arg(e.item);
                QTest::newRow(qPrintable(name)) << en << reply(e.op, e.item, zeros)
                                                << QString::fromUtf8(en ? e.english : e.chinese);
            }
        }
    }
    void endingMessages()
    {
        QFETCH(bool, english);
        QFETCH(QByteArray, frame);
        QFETCH(QString, message);
        // Late answers are shown whatever the request in progress is.
        for (int command : {0, 16, 110}) {
            Bench b(english);
            b.core.state.currentCommand = quint8(command);
            b.dispatch(frame);
            QCOMPARE(b.prompt.texts(), QStringList{message});
            QCOMPARE(b.prompt.commandAtMessage, QList<int>{16});
            QCOMPARE(int(b.cc()), 16);
            QVERIFY(!b.core.link.sendTimer().isActive());
            QVERIFY(b.port().writes.isEmpty());
        }
    }

    void chainMessagesInChinese_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<bool>("readAll");
        QTest::addColumn<bool>("writeAll");
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QString>("message");
        QTest::newRow("row read") << 17 << false << false << reply(Read, 40, zeros) << "读取成功";
        QTest::newRow("read all") << 33 << true << false << reply(Read, 56, zeros)
                                  << "全部读取成功";
        QTest::newRow("row write") << 49 << false << false << reply(Ack, 40) << "写入成功";
        QTest::newRow("write all") << 65 << false << true << reply(Ack, 56) << "全部设置成功";
        QTest::newRow("control") << 83 << false << false << reply(Ack, 60) << "控制成功";
        QTest::newRow("system text read")
            << 104 << false << false << reply(Read, 19, "x") << "读取成功";
    }
    void chainMessagesInChinese()
    {
        QFETCH(int, command);
        QFETCH(bool, readAll);
        QFETCH(bool, writeAll);
        QFETCH(QByteArray, frame);
        QFETCH(QString, message);
        Bench b(false);
        b.core.state.currentCommand = quint8(command);
        b.core.state.readAllActive = readAll;
        b.core.state.writeAllActive = writeAll;
        b.dispatch(frame);
        QCOMPARE(b.prompt.texts(), QStringList{message});
    }

    void textAnswerAtAnotherTimeChangesNothing()
    {
        Bench b;
        b.core.state.info.setText(InfoField::projectNumber, QStringLiteral("OLD"));
        b.core.state.system.setText(SystemField::projectNumber, QStringLiteral("OLD"));
        b.core.state.currentCommand = 5;
        b.dispatch(reply(Read, 1, "NEW"));
        QCOMPARE(b.core.state.info.text(InfoField::projectNumber), QStringLiteral("OLD"));
        QCOMPARE(b.core.state.system.text(SystemField::projectNumber), QStringLiteral("OLD"));
        QCOMPARE(int(b.cc()), 5);
    }

    void textAnswerGoesToThePageThatAsked_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("infoControl");
        QTest::addColumn<QString>("systemControl");
        QTest::addColumn<bool>("toInfo");
        QTest::newRow("project number polled")
            << 1 << 0 << InfoField::projectNumber << SystemField::projectNumber << true;
        QTest::newRow("project number asked")
            << 1 << 98 << InfoField::projectNumber << SystemField::projectNumber << false;
        QTest::newRow("model polled") << 2 << 1 << InfoField::model << SystemField::model << true;
        QTest::newRow("model asked") << 2 << 100 << InfoField::model << SystemField::model << false;
        QTest::newRow("battery id polled")
            << 3 << 2 << InfoField::batteryId << SystemField::batteryId << true;
        QTest::newRow("battery id asked")
            << 3 << 102 << InfoField::batteryId << SystemField::batteryId << false;
        QTest::newRow("custom polled")
            << 19 << 9 << InfoField::customText << SystemField::customText << true;
        QTest::newRow("custom asked")
            << 19 << 104 << InfoField::customText << SystemField::customText << false;
    }
    void textAnswerGoesToThePageThatAsked()
    {
        QFETCH(int, item);
        QFETCH(int, command);
        QFETCH(QString, infoControl);
        QFETCH(QString, systemControl);
        QFETCH(bool, toInfo);
        Bench b;
        b.core.state.info.setText(infoControl, QStringLiteral("old"));
        b.core.state.system.setText(systemControl, QStringLiteral("old"));
        b.core.state.currentCommand = quint8(command);
        b.dispatch(reply(Read, item, QByteArray("AB\0\0", 4)));
        QCOMPARE(b.core.state.info.text(infoControl),
                 toInfo ? QStringLiteral("AB") : QStringLiteral("old"));
        QCOMPARE(b.core.state.system.text(systemControl),
                 toInfo ? QStringLiteral("old") : QStringLiteral("AB"));
    }

    void pollingCycle()
    {
        Bench b;
        b.core.state.currentCommand = 0;
        const QList<QPair<int, int>> answers = {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5},
                                                {6, 6}, {7, 7}, {8, 8}, {9, 9}, {19, 0}};
        for (const auto &[item, next] : answers) {
            b.dispatch(reply(Read, item, zeros));
            QCOMPARE(int(b.cc()), next);
        }
        QVERIFY(b.prompt.messages.isEmpty());
        // One request per answer; after the custom text nothing is sent until
        // the next send-timer tick starts the cycle again.
        QCOMPARE(b.sentItems(), (QList<int>{2, 3, 4, 5, 6, 7, 8, 9, 19}));
        QVERIFY(b.core.link.sendTimer().isActive());
        // The live page is filled after one cycle.
        QCOMPARE(b.core.state.info.text(InfoField::cellCount), QStringLiteral("0"));
        QCOMPARE(b.core.state.info.text(InfoField::cellVoltage(0)), QStringLiteral("null"));
        QCOMPARE(b.core.state.info.text(InfoField::workingState), QStringLiteral("idle"));
    }

    void readAllChain_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("message");
        QTest::newRow("en") << true << "Successfully read all";
        QTest::newRow("zh") << false << "全部读取成功";
    }
    void readAllChain()
    {
        QFETCH(bool, english);
        QFETCH(QString, message);
        Bench b(english);
        b.core.state.readAllActive = true;
        b.core.state.currentCommand = 17;
        for (int row = 0; row < 17; ++row) {
            QByteArray data(14, '\0');
            place(data, 11, {0, row + 1}); // AlaVal
            b.dispatch(reply(Read, 40 + row, data));
            if (row < 16) {
                QCOMPARE(int(b.cc()), 18 + row);
                QVERIFY(b.prompt.messages.isEmpty());
            }
        }
        QCOMPARE(int(b.cc()), 16);
        QCOMPARE(b.prompt.texts(), QStringList{message});
        QVERIFY(!b.core.state.readAllActive);
        QList<int> next;
        for (int item = 41; item <= 56; ++item)
            next << item;
        QCOMPARE(b.sentItems(), next);
        for (const QByteArray &w : b.port().writes)
            QCOMPARE(int(w.at(3)), 0);
        QCOMPARE(b.core.state.param.text(ParamField::cs(0)), QStringLiteral("0.001"));
        QCOMPARE(b.core.state.param.text(ParamField::cs(5 * 16)), QStringLiteral("0.017"));
    }

    void writeAllChain_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("message");
        QTest::newRow("en") << true << "Successfully set all";
        QTest::newRow("zh") << false << "全部设置成功";
    }
    void writeAllChain()
    {
        QFETCH(bool, english);
        QFETCH(QString, message);
        Bench b(english);
        b.core.state.writeAllActive = true;
        b.core.state.currentCommand = 49;
        for (int row = 0; row < 17; ++row) {
            b.dispatch(reply(Ack, 40 + row));
            if (row < 16) {
                QCOMPARE(int(b.cc()), 50 + row);
                QVERIFY(b.prompt.messages.isEmpty());
            }
        }
        QCOMPARE(int(b.cc()), 16);
        QCOMPARE(b.prompt.texts(), QStringList{message});
        QVERIFY(!b.core.state.writeAllActive);
        QList<int> next;
        for (int item = 41; item <= 56; ++item)
            next << item;
        QCOMPARE(b.sentItems(), next);
        for (const QByteArray &w : b.port().writes)
            QVERIFY(w.at(3) != 0);
    }

    // A frame that cannot be decoded stops where the fault is: what was
    // written stays, nothing further happens, and "7" is shown untranslated.
    void abortedFrames_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<int>("command");
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QString>("page"); // "info", "param" or "system"
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("kept");
        using namespace SystemField;
        QTest::newRow("live data too short")
            << true << 5 << reply(Read, 6, QByteArray(40, '\x01')) << "info"
            << InfoField::totalVoltage << InfoField::faultStatus;
        QTest::newRow("zh live data too short")
            << false << 5 << reply(Read, 6, QByteArray(40, '\x01')) << "info"
            << InfoField::totalVoltage << InfoField::workingState;
        QTest::newRow("versions without data")
            << true << 3 << reply(Read, 4, {}) << "info" << InfoField::softwareVersion
            << InfoField::hardwareVersion;
        QTest::newRow("fewer temperatures than counted")
            << true << 6 << reply(Read, 7, bytes({0, 5, 0, 1, 0, 2})) << "info"
            << InfoField::cellTemperature(1) << InfoField::cellTemperature(3);
        QTest::newRow("fewer cells than counted")
            << true << 7 << reply(Read, 8, bytes({0, 16, 0x0C, 0xE4})) << "info"
            << InfoField::cellVoltage(0) << InfoField::cellVoltage(2);
        QTest::newRow("parameter row too short")
            << true << 20 << reply(Read, 43, QByteArray(6, '\x01')) << "param" << ParamField::cs(17)
            << ParamField::cs(16);
        QTest::newRow("dates without batch")
            << true << 108 << reply(Read, 10, bytes({23, 7, 5, 24, 1, 31, 1, 2, 3, 4, 5}))
            << "system" << shippingDate << batch;
        QTest::newRow("address too short")
            << true << 106 << reply(Read, 125, QByteArray(20, 'A')) << "system" << ip << ipPort;
        QTest::newRow("clock too short") << true << 124 << reply(Read, 18, bytes({24, 3, 9}))
                                         << "system" << QString() << bmsTime;
        QTest::newRow("balancing enable 3 refused")
            << true << 110 << reply(Read, 12, bytes({0, 3, 0x0D, 0x48, 0, 0, 0, 0})) << "system"
            << QString() << balanceOpen;
        QTest::newRow("parity beyond the list")
            << true << 126 << reply(Read, 20, bytes({1, 3, 0xC0, 3})) << "system" << baud << parity;
        QTest::newRow("zh parity beyond the list")
            << false << 126 << reply(Read, 20, bytes({1, 3, 0xC0, 3})) << "system" << usart
            << parity;
        QTest::newRow("handshake option 3")
            << true << 128 << reply(Read, 21, bytes({3})) << "system" << QString() << handshake;
        QTest::newRow("custom option 200") << true << 130 << reply(Read, 22, bytes({200}))
                                           << "system" << QString() << customSelection;
        QTest::newRow("limit enable 3")
            << true << 132 << reply(Read, 23, bytes({9, 3, 1, 0, 0, 0, 0})) << "system"
            << moduleAddress << limitMode;
        QTest::newRow("pre-discharge option 3")
            << true << 134 << reply(Read, 130, bytes({3, 0, 100})) << "system" << QString()
            << preDischargeTime;
        QTest::newRow("discharge balancing enable 4")
            << true << 136 << reply(Read, 24, dataWith(33, 18, {4, 0x0D, 0x48})) << "system"
            << activeValue(0, 4) << activeValue(1, 0);
    }
    void abortedFrames()
    {
        QFETCH(bool, english);
        QFETCH(int, command);
        QFETCH(QByteArray, frame);
        QFETCH(QString, page);
        QFETCH(QString, written);
        QFETCH(QString, kept);
        Bench b(english);
        Form &form = page == "info"    ? b.core.state.info
                     : page == "param" ? b.core.state.param
                                       : b.core.state.system;
        const QString sentinel = QStringLiteral("before");
        auto mark = [&](const QString &control) {
            if (form.kind(control) == Form::Kind::Text)
                form.setText(control, sentinel);
            else if (form.kind(control) == Form::Kind::Choice)
                form.setChoice(control, 1);
            else
                form.setCheck(control, 2);
        };
        auto unchanged = [&](const QString &control) {
            switch (form.kind(control)) {
            case Form::Kind::Text:
                return form.text(control) == sentinel;
            case Form::Kind::Choice:
                return form.choice(control) == 1;
            default:
                return form.check(control) == 2;
            }
        };
        if (!written.isEmpty())
            mark(written);
        mark(kept);
        b.core.state.readAllActive = true;
        b.core.state.currentCommand = quint8(command);
        b.core.link.sendTimer().start();
        b.dispatch(frame);
        // A read of the polling cycle is asked again at the next send tick,
        // and its "7" comes once the receive step is over; a page exchange
        // ends in pause, its chain flags cleared.
        const bool cycle = command < 16;
        if (cycle)
            QVERIFY(b.prompt.messages.isEmpty());
        QCoreApplication::sendPostedEvents();
        QCOMPARE(b.prompt.texts(), QStringList{QStringLiteral("7")});
        QCOMPARE(int(b.cc()), cycle ? command : 16);
        QCOMPARE(b.core.state.readAllActive, cycle);
        QCOMPARE(b.core.link.sendTimer().isActive(), cycle);
        QVERIFY(b.port().writes.isEmpty());
        if (!written.isEmpty())
            QVERIFY2(!unchanged(written), qPrintable(written));
        QVERIFY2(unchanged(kept), qPrintable(kept));
    }

    // What a frame too short for its header ends depends on the request in
    // progress: a page's read or write is over, anything else keeps its code.
    void frameShorterThanItsHeader_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("after");
        QTest::newRow("polling read") << 5 << 5;
        QTest::newRow("first row read") << 17 << 16;
        QTest::newRow("last row write") << 65 << 16;
        QTest::newRow("switch: sleep") << 82 << 82;
        QTest::newRow("short-circuit read") << 96 << 16;
        QTest::newRow("network read") << 106 << 16;
        QTest::newRow("active balancing write") << 137 << 16;
        QTest::newRow("stored count") << 160 << 160;
        QTest::newRow("upgrade") << 255 << 255;
    }
    void frameShorterThanItsHeader()
    {
        QFETCH(int, command);
        QFETCH(int, after);
        Bench b;
        b.core.state.currentCommand = quint8(command);
        b.core.state.writeAllActive = true;
        b.dispatch(QByteArray("\x5D\xFF\x10", 3));
        QCoreApplication::sendPostedEvents();
        QCOMPARE(b.prompt.texts(), QStringList{QStringLiteral("7")});
        QCOMPARE(int(b.cc()), after);
        QCOMPARE(b.core.state.writeAllActive, after == command);
    }

    void balancingAbortKeepsLaterHighlights()
    {
        Bench b;
        b.dispatch(reply(Read, 9, bytes({0, 0, 0xFF, 0xFF, 0xFF, 0xFF})));
        QVERIFY(b.core.state.info.isHighlighted(InfoField::cellVoltage(31)));
        b.prompt.clear();
        b.core.state.currentCommand = 8;
        // Two data bytes: cells 1-16 come from the CRC bytes, cell 17 on is missing.
        b.dispatch(reply(Read, 9, bytes({0, 0})));
        QCoreApplication::sendPostedEvents();
        QCOMPARE(b.prompt.texts(), QStringList{QStringLiteral("7")});
        QVERIFY(b.core.state.info.isHighlighted(InfoField::cellVoltage(16)));
        QVERIFY(b.core.state.info.isHighlighted(InfoField::cellVoltage(31)));
        QCOMPARE(int(b.cc()), 8);
    }

    // The send timer repeats live reads until they are answered and starts
    // each new cycle; an answer that leaves a live code without sending must
    // not leave it stopped. Everything else ends with the timer stopped.
    void sendTimerAfterAnswer_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<int>("nextCommand");
        QTest::addColumn<bool>("running");
        QTest::newRow("control acknowledged, cycle resumes") << 81 << reply(Ack, 60) << 0 << true;
        QTest::newRow("sleep acknowledged, stays paused") << 82 << reply(Ack, 60) << 16 << false;
        QTest::newRow("duplicate answer between cycles") << 0 << reply(Read, 19, "C") << 0 << true;
        QTest::newRow("stray frame during the cycle") << 4 << reply(Read, 99) << 4 << true;
        QTest::newRow("stray frame while parked") << 12 << reply(Read, 99) << 0 << true;
        QTest::newRow("stray frame while paused") << 16 << reply(Read, 99) << 16 << false;
        QTest::newRow("stray frame during a setting read")
            << 110 << reply(Read, 99) << 110 << false;
        QTest::newRow("setting read answered") << 110 << reply(Read, 12, zeros) << 16 << false;
    }
    void sendTimerAfterAnswer()
    {
        QFETCH(int, command);
        QFETCH(QByteArray, frame);
        QFETCH(int, nextCommand);
        QFETCH(bool, running);
        Bench b;
        b.core.state.currentCommand = quint8(command);
        b.core.link.sendTimer().start();
        b.dispatch(frame);
        QCOMPARE(int(b.cc()), nextCommand);
        QCOMPARE(b.core.link.sendTimer().isActive(), running);
    }
};

QTEST_GUILESS_MAIN(TestResponseDispatcher)
#include "tst_response_dispatcher.moc"
