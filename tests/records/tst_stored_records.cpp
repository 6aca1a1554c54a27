#include "FakeLink.h"
#include "SampleRows.h"
#include "WorkbookReaders.h"
#include "link/Frame.h"
#include "records/OutputFiles.h"
#include "records/StoredForm.h"
#include "records/StoredRecordText.h"
#include "records/StoredRecords.h"
#include "responses/FrameError.h"
#include "shell/Core.h"
#include "support/FakePort.h"
#include "support/RecordingPrompt.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace {
using Bytes = QList<QPair<int, int>>; // frame position, byte value

const QString xlsTemplate =
    QStringLiteral(CELLVANE_SOURCE_DIR "/src/records/templates/Storage Data Template.xls");

// A record reply: the 50 data bytes of frame positions 7..56, stored at
// 2024-05-07 09:03:00 unless `bytes` says otherwise.
QByteArray recordReply(int number, const Bytes &bytes = {})
{
    QByteArray data(50, '\0');
    auto put = [&data](int at, int value) { data[at - Frame::dataOffset] = char(value); };
    put(9, number >> 8);
    put(10, number & 0xFF);
    const int time[] = {24, 5, 7, 9, 3, 0};
    for (int i = 0; i < 6; ++i)
        put(13 + i, time[i]);
    for (const auto &[at, value] : bytes)
        put(at, value);
    return Frame::build(Frame::responseStart, 0xFF, 0x10, 0, 0x46, data);
}

QByteArray countReply(int count)
{
    return Frame::build(Frame::responseStart, 0xFF, 0x10, 0, 0x47,
                        QByteArray::fromRawData("\0\0", 2) + char(count >> 8) + char(count & 0xFF));
}

Bytes word(int at, int value)
{
    return {{at, value >> 8}, {at + 1, value & 0xFF}};
}
} // namespace

class TestStoredRecords : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    RecordingPrompt m_prompt;
    FakePort *m_port = nullptr;
    std::unique_ptr<Core> m_core;

    void openPort()
    {
        QVERIFY(FakeLink::open(*m_core, *m_port));
        m_port->writes.clear();
    }
    // What the BMS answers, as the receive step hands it over.
    void answer(const QByteArray &frame)
    {
        m_core->state.rxFrame = frame;
        m_core->state.rxDataLength = Frame::dataLength(frame);
        m_core->responses.dispatchResponse();
    }
    // Indexes of the record requests written since the last look.
    QList<int> requestedIndexes()
    {
        QList<int> list;
        for (const QByteArray &f : std::as_const(m_port->writes))
            if (f.size() == 17 && quint8(f.at(4)) == 0x46)
                list << quint8(f.at(9)) * 256 + quint8(f.at(10));
        return list;
    }
    int countRequests() const
    {
        int n = 0;
        for (const QByteArray &f : std::as_const(m_port->writes))
            n += f.size() == 9 && quint8(f.at(4)) == 0x47 && f.at(3) == 0;
        return n;
    }

    // What the export-succeeded message names.
    QString exportedFile() const
    {
        return QDir::toNativeSeparators(
            m_dir.filePath(QStringLiteral("Store data/2024-05-07/2024-05-07 09.03.00-FLA.xls")));
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
        OutputFiles::setProgramFolder(m_dir.path());
        OutputFiles::setClock([] { return QDateTime(QDate(2024, 5, 7), QTime(9, 3, 0)); });
        m_prompt.clear();
        auto port = std::make_unique<FakePort>();
        m_port = port.get();
        m_core = std::make_unique<Core>(m_prompt, std::move(port));
        m_core->state.setEnglishUi(true);
    }
    void cleanup()
    {
        m_core.reset();
        OutputFiles::setClock({});
        OutputFiles::setProgramFolder({});
    }

    void wholeRow()
    {
        Bytes b = {{11, 0}, {12, 2}};
        b << word(19, 5280) << word(21, 0xFF9C) << word(23, 1000) << word(25, 99) << word(27, 3456)
          << word(29, 7) << word(31, 3300) << word(33, 12) << word(35, 156) << word(37, 251)
          << word(39, 2) << word(41, 0xFFFB) << word(43, 4);
        b << QPair<int, int>(48, 0x01) << QPair<int, int>(53, 0x01) << QPair<int, int>(56, 0x02);
        const QStringList columns = StoredRecordText::columns(recordReply(3, b));
        QCOMPARE(columns.size(), 20);
        QCOMPARE(
            StoredRecordText::rowText(columns),
            QStringLiteral("3\t2\t2024-05-07 09:03:00\t52.8\t-1\t100\t99\t3.456\t7\t3.3\t12\t"
                           "0.156\t25.1\t2\t-0.5\t4\tCell_OV \t\tReserved8 \tCharging MOS ON  \t"));
    }

    void numbers_data()
    {
        QTest::addColumn<int>("at");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::newRow("record number") << 9 << 0xFFFF << 0 << "65535";
        QTest::newRow("type") << 11 << 0x0102 << 1 << "258";
        QTest::newRow("voltage unsigned") << 19 << 0xFFFF << 3 << "655.35";
        QTest::newRow("current FF9C") << 21 << 0xFF9C << 4 << "-1";
        QTest::newRow("current positive") << 21 << 0x7FFF << 4 << "327.67";
        QTest::newRow("small SOC") << 23 << 5 << 5 << "0.5";
        QTest::newRow("one millivolt") << 27 << 1 << 7 << "0.001";
        QTest::newRow("cell number") << 33 << 16 << 10 << "16";
        QTest::newRow("temperature FFFB") << 37 << 0xFFFB << 12 << "-0.5";
        QTest::newRow("coldest 8000") << 41 << 0x8000 << 14 << "-3276.8";
        QTest::newRow("sensor number unsigned") << 43 << 0xFFFF << 15 << "65535";
    }
    void numbers()
    {
        QFETCH(int, at);
        QFETCH(int, value);
        QFETCH(int, column);
        QFETCH(QString, text);
        const int number = at == 9 ? value : 5;
        QCOMPARE(StoredRecordText::columns(recordReply(number, word(at, value))).at(column), text);
    }

    void storageTime_data()
    {
        QTest::addColumn<QList<int>>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("example") << QList<int>{24, 5, 7, 9, 3, 0} << "2024-05-07 09:03:00";
        QTest::newRow("zeros") << QList<int>{0, 1, 1, 0, 0, 0} << "2000-01-01 00:00:00";
        QTest::newRow("largest year")
            << QList<int>{255, 12, 31, 23, 59, 59} << "2255-12-31 23:59:59";
        QTest::newRow("nonsense month kept whole")
            << QList<int>{1, 100, 0, 0, 0, 0} << "2001-100-00 00:00:00";
    }
    void storageTime()
    {
        QFETCH(QList<int>, bytes);
        QFETCH(QString, text);
        Bytes b;
        for (int i = 0; i < 6; ++i)
            b << QPair<int, int>(13 + i, bytes.at(i));
        QCOMPARE(StoredRecordText::storageTime(recordReply(2, b)), text);
        QCOMPARE(StoredRecordText::columns(recordReply(2, b)).at(2), text);
    }

    void statusNames_data()
    {
        QTest::addColumn<Bytes>("bytes");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("chinese");
        QTest::newRow("reserved alarm") << Bytes{{45, 1}} << 16 << "Reserved alarm "
                                        << "保留告警 ";
        QTest::newRow("reserved protection") << Bytes{{49, 1}} << 17 << "Reserved protection "
                                             << "保留保护 ";
        QTest::newRow("bit order in a byte")
            << Bytes{{47, 0x81}} << 16 << "Discharge_OT  Cell_DIFT "
            << "放电高温 温差过大 ";
        QTest::newRow("byte order")
            << Bytes{{52, 0x40}, {50, 0x01}} << 17 << "Cell_DIFV Charge_OC  "
            << "压差过大 充电过流 ";
        QTest::newRow("all of one byte") << Bytes{{48, 0xFF}} << 16
                                         << "Cell_OV Cell_UV Total_OV  Total_UV Discharge_OC1 "
                                            "Discharge_OC2  Charge_OC  Charge_OT  "
                                         << "单体电压过高 单体电压过低 总电压过高 总电压过低 "
                                            "放电过流1 放电过流2 充电过流 充电高温 ";
        QTest::newRow("fault reserved 8") << Bytes{{53, 1}} << 18 << "Reserved8 "
                                          << "保留8 ";
        QTest::newRow("fault reserved high")
            << Bytes{{53, 0x80}, {54, 0xE0}} << 18 << "Reserved15 Reserved5 Reserved6 Reserved7 "
            << "保留15 保留5 保留6 保留7 ";
        QTest::newRow("fault names")
            << Bytes{{54, 0x1F}} << 18
            << "Discharge MOS failure Charging MOS failure EEPRAOM write failure Low voltage "
               "charging forbid Short circuit protection "
            << "放电MOS失效 充电MOS失效 EEPRAOM写失败 低压禁止充电 短路保护 ";
        QTest::newRow("system reserved 11") << Bytes{{55, 0x08}} << 19 << "Reserved11 "
                                            << "保留11 ";
        QTest::newRow("system trailing spaces")
            << Bytes{{55, 0x02}, {56, 0x02}} << 19 << "Charging state  Charging MOS ON  "
            << "充电状态  s充电MOS开启  ";
        QTest::newRow("system last bits")
            << Bytes{{56, 0xC0}} << 19 << "Load connection  Reserved7 "
            << "负载连接  保留7 ";
        QTest::newRow("switches") << Bytes{{55, 0xF1}} << 19
                                  << "Switch 1 ON current-limiting Strong off discharge  Forced "
                                     "off charging Switch 2 ON "
                                  << "弱电开关1接入 限流 强关放电  强关充电 弱电开关2接入 ";
        QTest::newRow("nothing set") << Bytes{} << 19 << ""
                                     << "";
    }
    void statusNames()
    {
        QFETCH(Bytes, bytes);
        QFETCH(int, column);
        QFETCH(QString, english);
        QFETCH(QString, chinese);
        const QByteArray frame = recordReply(4, bytes);
        QCOMPARE(StoredRecordText::columns(frame).at(column), english);
        m_core->state.setEnglishUi(false);
        QCOMPARE(StoredRecordText::columns(frame).at(column), chinese);
    }

    void readingRuns_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("numbers");
        QTest::addColumn<QList<int>>("indexes");
        QTest::newRow("3 records numbered 3, 2, 1")
            << 3 << QList<int>{3, 2, 1} << QList<int>{2, 1, 0};
        QTest::newRow("number 1 ends it early") << 5 << QList<int>{5, 1} << QList<int>{4, 3};
        QTest::newRow("number 0 ends it") << 4 << QList<int>{0} << QList<int>{3};
        QTest::newRow("index 0 is the last there is") << 2 << QList<int>{9, 8} << QList<int>{1, 0};
        QTest::newRow("no records") << 0 << QList<int>{} << QList<int>{};
        QTest::newRow("one record") << 1 << QList<int>{7} << QList<int>{0};
    }
    void readingRuns()
    {
        QFETCH(int, count);
        QFETCH(QList<int>, numbers);
        QFETCH(QList<int>, indexes);
        openPort();
        m_core->state.storedRows = {QStringLiteral("old\t")};
        m_core->state.stored.setText(StoredField::count, QStringLiteral("99"));
        m_core->stored.getData();
        QVERIFY(m_core->state.storedRows.isEmpty());
        QVERIFY(m_core->state.fetchAllRecords);
        QCOMPARE(m_core->state.stored.text(StoredField::count), QString());
        QCOMPARE(countRequests(), 1);
        answer(countReply(count));
        QCOMPARE(m_core->state.stored.text(StoredField::count), QString::number(count));
        for (int number : numbers) {
            QVERIFY(m_prompt.messages.isEmpty());
            answer(recordReply(number));
        }
        QCOMPARE(requestedIndexes(), indexes);
        QCOMPARE(m_core->state.storedRowCount(), int(numbers.size()));
        QCOMPARE(m_core->stored.gridRows(), m_core->state.storedRows);
        QCOMPARE(m_prompt.texts(), QStringList{QStringLiteral("Read Complete")});
        QCOMPARE(m_core->state.currentCommand, quint8(16));
        QCOMPARE(m_core->state.recordIndex, 0);
        for (int i = 0; i < numbers.size(); ++i)
            QVERIFY(m_core->state.storedRows.at(i).startsWith(QString::number(numbers.at(i)) +
                                                              QLatin1Char('\t')));
    }

    // "i / N", the bar and the time while a read-out runs, at a pack that
    // answers one record every 10 s.
    void readOutShowsProgress()
    {
        qint64 now = 5000;
        m_core->stored.setClock([&now] { return now; });
        Form &f = m_core->state.stored;
        openPort();
        QVERIFY(!f.isEnabled(StoredField::stopButton));
        m_core->stored.getData();
        QVERIFY(f.isEnabled(StoredField::stopButton));
        QVERIFY(m_core->stored.readTimer().isActive());
        answer(countReply(4));
        QCOMPARE(f.text(StoredField::readCount), QStringLiteral("0 / 4"));
        QCOMPARE(f.value(StoredField::readBar), 0);
        const QStringList expected[] = {
            {"1 / 4", "25", "Elapsed 0:00:10, about 0:00:30 left"},
            {"2 / 4", "50", "Elapsed 0:00:20, about 0:00:20 left"},
            {"3 / 4", "75", "Elapsed 0:00:30, about 0:00:10 left"},
        };
        for (int n = 0; n < 3; ++n) {
            now += 10000;
            answer(recordReply(4 - n));
            QCOMPARE(QStringList({f.text(StoredField::readCount),
                                  QString::number(f.value(StoredField::readBar)),
                                  f.text(StoredField::readTime)}),
                     expected[n]);
        }
        // The timer moves the time while the next record is awaited.
        now += 4000;
        m_core->stored.readTick();
        QCOMPARE(f.text(StoredField::readTime),
                 QStringLiteral("Elapsed 0:00:34, about 0:00:11 left"));
        now += 3600 * 1000;
        answer(recordReply(1));
        QCOMPARE(f.text(StoredField::readCount), QStringLiteral("4 / 4"));
        QCOMPARE(f.value(StoredField::readBar), 100);
        QCOMPARE(f.text(StoredField::readTime), QStringLiteral("Read in 1:00:34"));
        QVERIFY(!f.isEnabled(StoredField::stopButton));
        QVERIFY(!m_core->stored.readTimer().isActive());
        QCOMPARE(m_prompt.texts(), QStringList{QStringLiteral("Read Complete")});

        m_core->state.setEnglishUi(false);
        m_core->stored.getData();
        answer(countReply(2));
        now += 65000;
        answer(recordReply(2));
        QCOMPARE(f.text(StoredField::readTime), QStringLiteral("已用时 0:01:05，预计还需 0:01:05"));
    }

    // "Stop" ends the read-out after the record in flight: nothing more is
    // sent or repeated, that record is still taken, the rows stay and export.
    void stopKeepsTheRowsRead_data()
    {
        QTest::addColumn<int>("before"); // records answered before "Stop"
        QTest::addColumn<bool>("lateAnswer");
        QTest::addColumn<QString>("count");
        QTest::newRow("while counting, count comes") << -1 << true << "0 / 30";
        QTest::newRow("while counting, nothing comes") << -1 << false << "";
        QTest::newRow("first record in flight") << 0 << true << "1 / 30";
        QTest::newRow("record in flight comes") << 5 << true << "6 / 30";
        QTest::newRow("record in flight lost") << 5 << false << "5 / 30";
    }
    void stopKeepsTheRowsRead()
    {
        QFETCH(int, before);
        QFETCH(bool, lateAnswer);
        QFETCH(QString, count);
        qint64 now = 0;
        m_core->stored.setClock([&now] { return now; });
        QVERIFY(QFile::copy(xlsTemplate, m_dir.filePath(StoredRecords::templateName())));
        openPort();
        m_core->stored.getData();
        if (before >= 0)
            answer(countReply(30));
        for (int n = 0; n < before; ++n)
            answer(recordReply(30 - n));
        now = 61000;
        m_port->writes.clear();
        m_core->stored.stopReading();
        QCOMPARE(m_core->state.currentCommand, quint8(16));
        QVERIFY(!m_core->state.stored.isEnabled(StoredField::stopButton));
        QVERIFY(!m_core->stored.isReading());
        QCOMPARE(m_core->state.stored.text(StoredField::readTime),
                 QStringLiteral("Stopped after 0:01:01"));
        for (int t = 0; t < 8; ++t)
            m_core->link.sendTick(); // the request in flight is not repeated
        if (lateAnswer)
            answer(before >= 0 ? recordReply(30 - before) : countReply(30));
        QVERIFY(m_port->writes.isEmpty());
        QCOMPARE(m_core->state.currentCommand, quint8(16));
        QVERIFY(m_prompt.messages.isEmpty()); // neither "Read Complete" nor "Send failed"
        const int rows = before + (lateAnswer && before >= 0 ? 1 : 0);
        QCOMPARE(m_core->state.storedRowCount(), qMax(rows, 0));
        QCOMPARE(m_core->stored.gridRows().size(), qMax(rows, 0));
        QCOMPARE(m_core->state.stored.text(StoredField::readCount), count);
        QCOMPARE(m_core->state.stored.text(StoredField::readTime),
                 QStringLiteral("Stopped after 0:01:01"));

        m_core->stored.exportRows();
        QTRY_VERIFY_WITH_TIMEOUT(!m_prompt.messages.isEmpty(), 60000);
        QCOMPARE(m_prompt.texts(),
                 QStringList{QStringLiteral("Export succeeded\n") + exportedFile()});
    }

    // Every record's request gets its own six sends: the repeats the records
    // of a long read-out needed one by one never add up to "Send failed".
    void repeatsCountPerRecord_data()
    {
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("repeats"); // send ticks without an answer before each record
        QTest::newRow("one repeat each") << 12 << 1;
        QTest::newRow("five repeats each") << 4 << 5;
    }
    void repeatsCountPerRecord()
    {
        QFETCH(int, records);
        QFETCH(int, repeats);
        openPort();
        m_core->stored.getData();
        answer(countReply(records));
        for (int n = 0; n < records; ++n) {
            m_port->writes.clear();
            for (int t = 0; t < repeats; ++t)
                m_core->link.sendTick();
            QCOMPARE(m_port->writes.size(), repeats); // the request was sent again each time
            answer(recordReply(records - n));
        }
        QCOMPARE(m_core->state.storedRowCount(), records);
        QCOMPARE(m_prompt.texts(), QStringList{QStringLiteral("Read Complete")});
    }

    // A read-out the link gives up ("Send failed") or loses with the port
    // ends on the next ticks; a tab switch, which only moves the code until
    // the answer in flight comes, does not end it.
    void readOutEndsWhenTheLinkGivesUp_data()
    {
        QTest::addColumn<QString>("event");
        QTest::addColumn<bool>("ends");
        QTest::newRow("send failed") << "send failed" << true;
        QTest::newRow("port closed") << "port closed" << true;
        QTest::newRow("tab switch") << "tab switch" << false;
    }
    void readOutEndsWhenTheLinkGivesUp()
    {
        QFETCH(QString, event);
        QFETCH(bool, ends);
        openPort();
        m_core->stored.getData();
        answer(countReply(10));
        answer(recordReply(10));
        if (event == QLatin1String("send failed")) {
            for (int t = 0; t < 6; ++t)
                m_core->link.sendTick();
            QCOMPARE(m_prompt.texts(), QStringList{QStringLiteral("Send failed")});
        } else if (event == QLatin1String("port closed")) {
            m_core->link.toggleOpen();
            QVERIFY(!m_core->link.portOpen());
        } else {
            m_core->selectTab(2);
            m_core->stored.readTick();
            m_core->selectTab(6);
            answer(recordReply(9));
        }
        m_core->stored.readTick();
        m_core->stored.readTick();
        QCOMPARE(m_core->stored.isReading(), !ends);
        QCOMPARE(m_core->state.stored.isEnabled(StoredField::stopButton), !ends);
        QCOMPARE(m_core->stored.readTimer().isActive(), !ends);
        QCOMPARE(
            m_core->state.stored.text(StoredField::readTime).startsWith(QLatin1String("Ended")),
            ends);
        QVERIFY(m_core->state.storedRowCount() >= 1);
    }

    void countOnly()
    {
        openPort();
        m_core->state.storedRows = {QStringLiteral("kept\t")};
        m_core->stored.requestCount();
        QCOMPARE(countRequests(), 1);
        QVERIFY(!m_core->state.fetchAllRecords);
        answer(countReply(260));
        QCOMPARE(m_core->state.stored.text(StoredField::count), QStringLiteral("260"));
        QCOMPARE(m_prompt.texts(), QStringList{QStringLiteral("读取历史数据数量成功")});
        QCOMPARE(m_core->state.currentCommand, quint8(16));
        QCOMPARE(m_core->state.storedRows, QStringList{QStringLiteral("kept\t")});
        QVERIFY(requestedIndexes().isEmpty());
    }

    void getDataWithThePortClosed()
    {
        m_core->state.storedRows = {QStringLiteral("a\t"), QStringLiteral("b\t")};
        m_core->stored.getData();
        QCOMPARE(m_prompt.texts(),
                 QStringList{QStringLiteral("Please open the serial port first")});
        QVERIFY(m_port->writes.isEmpty());
        QCOMPARE(m_core->state.storedRowCount(), 2); // still exportable
        QVERIFY(m_core->stored.gridRows().isEmpty());
    }

    void newHeaderEmptiesTheGridOnly()
    {
        openPort();
        m_core->stored.getData();
        answer(countReply(2));
        answer(recordReply(2));
        const int generation = m_core->stored.gridGeneration();
        m_core->stored.resetGrid(); // language change
        QVERIFY(m_core->stored.gridRows().isEmpty());
        QCOMPARE(m_core->state.storedRowCount(), 1);
        QVERIFY(m_core->stored.gridGeneration() != generation);
        answer(recordReply(1)); // a reading still running goes on into the new grid
        QCOMPARE(m_core->stored.gridRows().size(), 1);
        QCOMPARE(m_core->state.storedRowCount(), 2);
    }

    void shortRepliesAreAbandoned()
    {
        openPort();
        m_core->stored.getData();
        answer(countReply(3));
        m_port->writes.clear();
        QByteArray cut = recordReply(3);
        cut.truncate(50);
        m_core->state.rxFrame = cut;
        QVERIFY_THROWS_EXCEPTION(FrameError, m_core->stored.handleRecord());
        QVERIFY(m_core->state.storedRows.isEmpty());
        QVERIFY(m_port->writes.isEmpty());
        QCOMPARE(m_core->state.recordIndex, 2);
        m_core->state.rxFrame = countReply(3).left(10);
        QVERIFY_THROWS_EXCEPTION(FrameError, m_core->stored.handleCount());
        // Through the dispatcher: "7", and the reading waits for a good reply.
        answer(cut);
        QCOMPARE(m_prompt.texts(), QStringList{QStringLiteral("7")});
        QVERIFY(m_core->state.storedRows.isEmpty());
        answer(recordReply(3));
        QCOMPARE(requestedIndexes(), QList<int>{1});
    }

    // The export runs in slices on the event loop: the press returns at once,
    // the page stays live, and the workbook is the same, byte for byte, as
    // the one the export has always made of these rows.
    void exportRunsOnTheEventLoop()
    {
        QVERIFY(QFile::copy(xlsTemplate, m_dir.filePath(StoredRecords::templateName())));
        m_core->state.storedRows = SampleRows::lines(400);
        m_core->stored.exportRows();
        QVERIFY(m_core->stored.isExporting());
        QVERIFY(m_prompt.messages.isEmpty());
        QVERIFY(!m_core->state.stored.isEnabled(StoredField::exportButton));
        QCOMPARE(m_core->state.stored.text(StoredField::exportProgress), QStringLiteral("0%"));
        // A new read-out meanwhile changes nothing of what is written.
        m_core->state.storedRows = {QStringLiteral("1\tother\t")};
        m_core->stored.exportRows(); // a second press while it runs
        QTRY_VERIFY_WITH_TIMEOUT(!m_core->stored.isExporting(), 60000);
        QCOMPARE(m_prompt.texts(),
                 QStringList{QStringLiteral("Export succeeded\n") + exportedFile()});
        QVERIFY(m_core->state.stored.isEnabled(StoredField::exportButton));
        QCOMPARE(m_core->state.stored.text(StoredField::exportProgress), QStringLiteral("100%"));
        const QString path =
            m_dir.filePath(QStringLiteral("Store data/2024-05-07/2024-05-07 09.03.00-FLA.xls"));
        QFile made(path), earlier(QStringLiteral(CELLVANE_SOURCE_DIR
                                                 "/tests/records/data/stored-export-400.xls"));
        QVERIFY(made.open(QIODevice::ReadOnly) && earlier.open(QIODevice::ReadOnly));
        QVERIFY(made.readAll() == earlier.readAll());
        QCOMPARE(
            QDir(m_dir.filePath(QStringLiteral("Store data/2024-05-07"))).entryList(QDir::Files),
            QStringList{QStringLiteral("2024-05-07 09.03.00-FLA.xls")});

        m_prompt.clear();
        m_core->stored.exportRows(); // the same second again
        QTRY_VERIFY_WITH_TIMEOUT(!m_prompt.messages.isEmpty(), 60000);
        QVERIFY(QFile::exists(m_dir.filePath(
            QStringLiteral("Store data/2024-05-07/2024-05-07 09.03.00-FLA (2).xls"))));
    }

    // A long export gives the event loop back between slices, with the
    // progress label further on each time.
    void exportProgressMovesBetweenSlices()
    {
        QVERIFY(QFile::copy(xlsTemplate, m_dir.filePath(StoredRecords::templateName())));
        m_core->state.storedRows = SampleRows::lines(12000);
        QList<int> percents;
        int turns = 0;
        QTimer turn;
        turn.setInterval(0);
        connect(&turn, &QTimer::timeout, this, [&] {
            ++turns;
            const QString text = m_core->state.stored.text(StoredField::exportProgress);
            const int percent = text.chopped(1).toInt();
            if (percents.isEmpty() || percents.constLast() != percent)
                percents << percent;
        });
        turn.start();
        m_core->stored.exportRows();
        QTRY_VERIFY_WITH_TIMEOUT(!m_core->stored.isExporting(), 120000);
        turn.stop();
        QCOMPARE(m_prompt.texts(),
                 QStringList{QStringLiteral("Export succeeded\n") + exportedFile()});
        QVERIFY2(percents.size() >= 4, qPrintable(QString::number(percents.size())));
        QVERIFY(std::is_sorted(percents.cbegin(), percents.cend()));
        QCOMPARE(percents.constLast(), 100);
        QVERIFY(turns > percents.size());
    }

    void unfinishedExportLeavesNoWorkbook()
    {
        QVERIFY(QFile::copy(xlsTemplate, m_dir.filePath(StoredRecords::templateName())));
        m_core->state.storedRows = SampleRows::lines(12000);
        m_core->stored.exportRows();
        m_core->stored.exportSlice();
        QVERIFY(m_core->stored.isExporting());
        m_core.reset(); // the program ends meanwhile
        QCOMPARE(
            QDir(m_dir.filePath(QStringLiteral("Store data/2024-05-07"))).entryList(QDir::Files),
            QStringList());
    }

    void exportRefusals_data()
    {
        QTest::addColumn<QString>("problem");
        QTest::addColumn<QString>("inMessage");
        QTest::newRow("missing template") << "template"
                                          << "Storage Data Template.xls";
        QTest::newRow("folder cannot be made") << "folder"
                                               << "Store data";
        QTest::newRow("template is no workbook") << "damaged"
                                                 << "The export failed.";
    }
    void exportRefusals()
    {
        QFETCH(QString, problem);
        QFETCH(QString, inMessage);
        if (problem == QLatin1String("damaged")) {
            QFile bad(m_dir.filePath(StoredRecords::templateName()));
            QVERIFY(bad.open(QIODevice::WriteOnly));
            bad.write("NO.\ttype\n");
        } else if (problem != QLatin1String("template")) {
            QVERIFY(QFile::copy(xlsTemplate, m_dir.filePath(StoredRecords::templateName())));
        }
        if (problem == QLatin1String("folder")) {
            QFile blocker(m_dir.filePath(QStringLiteral("Store data")));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        }
        m_core->state.storedRows = {QStringLiteral("1\t")};
        m_core->stored.exportRows();
        QTRY_VERIFY_WITH_TIMEOUT(!m_core->stored.isExporting(), 60000);
        QCOMPARE(m_prompt.messages.size(), 1);
        QVERIFY2(m_prompt.messages.first().text.contains(inMessage),
                 qPrintable(m_prompt.messages.first().text));
        const QDir day(m_dir.filePath(QStringLiteral("Store data/2024-05-07")));
        QCOMPARE(day.entryList(QDir::Files), QStringList()); // no half-made workbook
    }

    void exportReadBack()
    {
        QVERIFY(QFile::copy(xlsTemplate, m_dir.filePath(StoredRecords::templateName())));
        for (int n : {3, 2, 1})
            m_core->state.storedRows << StoredRecordText::rowText(
                StoredRecordText::columns(recordReply(n, word(21, 0xFF9C) + Bytes{{48, 1}})));
        m_core->stored.exportRows();
        QTRY_VERIFY_WITH_TIMEOUT(!m_prompt.messages.isEmpty(), 60000);
        QCOMPARE(m_prompt.texts(),
                 QStringList{QStringLiteral("Export succeeded\n") + exportedFile()});
        QCOMPARE(m_core->state.stored.text(StoredField::exportProgress), QStringLiteral("100%"));
        const QString path =
            m_dir.filePath(QStringLiteral("Store data/2024-05-07/2024-05-07 09.03.00-FLA.xls"));
        QString skip, error;
        const QJsonObject o = WorkbookReaders::readXls(path, &skip, &error);
        if (!skip.isEmpty())
            QSKIP(qPrintable(skip));
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const QJsonArray rows = o.value(QStringLiteral("rows")).toArray();
        QCOMPARE(rows.size(), 4);
        QVERIFY(o.value(QStringLiteral("bold")).toBool()); // the header's look survived
        for (int r = 1; r <= 3; ++r) {
            const QJsonArray row = rows.at(r).toArray();
            QCOMPARE(row.at(0).toVariant().toString(), QString::number(4 - r));
            QCOMPARE(row.at(2).toString(), QStringLiteral("2024-05-07 09:03:00"));
            QCOMPARE(row.at(4).toVariant().toString(), QStringLiteral("-1"));
            QCOMPARE(row.at(16).toString(), QStringLiteral("Cell_OV "));
        }
        const QString csv = WorkbookReaders::libreOfficeCsv(path, m_dir.path(), &skip, &error);
        if (!skip.isEmpty())
            QSKIP(qPrintable(skip));
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const QList<QStringList> table = WorkbookReaders::parseCsv(csv);
        QCOMPARE(table.size(), 4);
        QCOMPARE(table.at(1).mid(0, 5), QStringList({"3", "0", "2024-05-07 09:03:00", "0", "-1"}));
    }

    void emptyExportStillSucceeds()
    {
        QVERIFY(QFile::copy(xlsTemplate, m_dir.filePath(StoredRecords::templateName())));
        m_core->stored.exportRows();
        QCOMPARE(m_prompt.texts(),
                 QStringList{QStringLiteral("Export succeeded\n") + exportedFile()});
        const QString path =
            m_dir.filePath(QStringLiteral("Store data/2024-05-07/2024-05-07 09.03.00-FLA.xls"));
        QFile a(path), b(xlsTemplate);
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        QCOMPARE(a.readAll(), b.readAll());
    }
};

QTEST_GUILESS_MAIN(TestStoredRecords)
#include "tst_stored_records.moc"
