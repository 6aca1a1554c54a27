#include "link/CommandCode.h"
#include "requests/RequestTable.h"

#include <QTest>

// The names the builder, the dispatcher, the stored-records and upgrade code
// share must mean the request the catalogue sends under that code: a range end
// one off, or a read named where its write is meant, shows here.
class TestCommandCodes : public QObject {
    Q_OBJECT
private slots:
    void namesMatchTheCatalogue_data();
    void namesMatchTheCatalogue();
};

void TestCommandCodes::namesMatchTheCatalogue_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("operation"); // -1: no request of its own
    QTest::addColumn<int>("item");

    QTest::newRow("firstLiveRead") << int(CommandCode::firstLiveRead) << 0 << 1;
    QTest::newRow("lastLiveRead") << int(CommandCode::lastLiveRead) << 0 << 19;
    QTest::newRow("cycleParked") << int(CommandCode::cycleParked) << -1 << 0;
    QTest::newRow("pause") << int(CommandCode::pause) << -1 << 0;
    QTest::newRow("firstRowRead") << int(CommandCode::firstRowRead) << 0 << 40;
    QTest::newRow("lastRowRead") << int(CommandCode::lastRowRead) << 0 << 56;
    QTest::newRow("rowRead(5)") << int(CommandCode::rowRead(5)) << 0 << 45;
    QTest::newRow("firstRowWrite") << int(CommandCode::firstRowWrite) << 1 << 40;
    QTest::newRow("lastRowWrite") << int(CommandCode::lastRowWrite) << 1 << 56;
    QTest::newRow("rowWrite(5)") << int(CommandCode::rowWrite(5)) << 1 << 45;
    QTest::newRow("firstControl") << int(CommandCode::firstControl) << 1 << 60;
    QTest::newRow("lastControl") << int(CommandCode::lastControl) << 1 << 60;
    QTest::newRow("shortCircuitRead") << int(CommandCode::shortCircuitRead) << 0 << 113;
    QTest::newRow("projectNumberRead") << int(CommandCode::projectNumberRead) << 0 << 1;
    QTest::newRow("modelRead") << int(CommandCode::modelRead) << 0 << 2;
    QTest::newRow("batteryIdRead") << int(CommandCode::batteryIdRead) << 0 << 3;
    QTest::newRow("customTextRead") << int(CommandCode::customTextRead) << 0 << 19;
    QTest::newRow("serialWrite") << int(CommandCode::serialWrite) << 1 << 20;
    QTest::newRow("lastSetting") << int(CommandCode::lastSetting) << 1 << 24;
    QTest::newRow("storedCount") << int(CommandCode::storedCount) << 0 << 71;
    // Their rows say how the request is built (the record index, the upgrade's
    // handler); the upgrade's item is the APP target's.
    QTest::newRow("storedRecord") << int(CommandCode::storedRecord) << 0 << 70;
    QTest::newRow("upgrade") << int(CommandCode::upgrade) << 1 << 250;
}

void TestCommandCodes::namesMatchTheCatalogue()
{
    QFETCH(int, code);
    QFETCH(int, operation);
    QFETCH(int, item);
    const RequestSpec *spec = RequestTable::find(quint8(code));
    if (operation < 0) {
        QVERIFY2(!spec, qPrintable(QStringLiteral("code %1 has a table entry").arg(code)));
        return;
    }
    QVERIFY2(spec, qPrintable(QStringLiteral("code %1 has no table entry").arg(code)));
    QCOMPARE(int(spec->operation), operation);
    QCOMPARE(int(spec->item), item);
}

QTEST_GUILESS_MAIN(TestCommandCodes)
#include "tst_command_codes.moc"
