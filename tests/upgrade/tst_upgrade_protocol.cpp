#include "support/FakePort.h"
#include "support/RecordingPrompt.h"

#include "link/Frame.h"
#include "link/LinkForm.h"
#include "shell/Core.h"
#include "upgrade/FirmwareImage.h"
#include "upgrade/UpgradeController.h"
#include "upgrade/UpgradeForm.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

namespace {

QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int v : values)
        bytes += char(v);
    return bytes;
}

QByteArray pattern(int size)
{
    QByteArray bytes(size, 0);
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + 3) & 0x7F); // never 0xFF, so padding is told apart
    return bytes;
}

// A core on a scripted line, with a temp folder for firmware files.
struct Rig {
    RecordingPrompt prompt;
    FakePort *port = new FakePort;
    Core core{prompt, std::unique_ptr<PortIo>(port)};
    QTemporaryDir dir;

    Rig()
    {
        core.state.setEnglishUi(true);
        // One port in the list, as if the link page had found COM1.
        core.state.link.setEntries(LinkField::port, {QStringLiteral("COM1")}, 0);
        core.link.buildPortSettings();
        core.link.toggleOpen();
        // The technician is on the upgrade page.
        core.state.selectedTab = 7;
    }
    // Closes the line and opens it again at these link-page positions.
    void openAt(int baudIndex, int parityIndex)
    {
        if (core.link.portOpen())
            core.link.toggleOpen();
        core.state.link.setChoice(LinkField::baud, baudIndex);
        core.state.link.setChoice(LinkField::parity, parityIndex);
        core.link.toggleOpen();
        port->openedSettings.clear();
    }
    AppState &state() { return core.state; }
    UpgradeController &upgrade() { return core.upgrade; }
    Form &form() { return core.state.upgrade; }

    QString file(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    // Selects the target and the file, then presses the upgrade button.
    void start(int target, const QString &path)
    {
        core.upgrade.selectTarget(target);
        form().setText(UpgradeField::path, path);
        core.upgrade.start();
    }
    // The BMS acknowledges `block`.
    void ack(quint16 block, quint8 item = UpgradeController::appItem, quint8 operation = 1)
    {
        const QByteArray data = bytesOf({block >> 8, block & 0xFF});
        setReply(Frame::build(Frame::responseStart, 255, 16, operation, item, data));
    }
    void setReply(const QByteArray &frame)
    {
        state().rxFrame = frame;
        state().rxDataLength = Frame::dataLength(frame);
        core.upgrade.handleReply();
    }
    QByteArray lastWrite() const
    {
        return port->writes.isEmpty() ? QByteArray() : port->writes.last();
    }
    // A frame from the BMS through the dispatcher, as the receive step hands
    // it on: unlike ack(), it stops the send timer as every answer does.
    void answer(const QByteArray &frame)
    {
        state().rxFrame = frame;
        state().rxDataLength = Frame::dataLength(frame);
        core.responses.dispatchResponse();
    }
    // Send ticks until a message appears; how many it took.
    int tickUntilMessage(int limit = 100)
    {
        int ticks = 0;
        while (prompt.messages.isEmpty() && ticks < limit) {
            core.link.sendTick();
            ++ticks;
        }
        return ticks;
    }
};

QByteArray request(quint8 item, const QByteArray &data)
{
    return Frame::build(Frame::requestStart, 255, 16, 1, item, data);
}

QByteArray blockData(quint16 block, const QByteArray &payload)
{
    return bytesOf({block >> 8, block & 0xFF}) + payload;
}

} // namespace

class TestUpgradeProtocol : public QObject {
    Q_OBJECT
private slots:
    void padding_data()
    {
        QTest::addColumn<int>("fileSize");
        QTest::addColumn<int>("imageSize");
        QTest::newRow("one byte makes one block") << 1 << 128;
        QTest::newRow("one short of a block") << 127 << 128;
        QTest::newRow("exactly one block") << 128 << 128;
        QTest::newRow("one over a block") << 129 << 256;
        QTest::newRow("two whole blocks unchanged") << 256 << 256;
        QTest::newRow("300 bytes") << 300 << 384;
    }
    void padding()
    {
        QFETCH(int, fileSize);
        QFETCH(int, imageSize);
        Rig rig;
        const QByteArray bytes = pattern(fileSize);
        QByteArray image;
        QCOMPARE(FirmwareImage::load(rig.file("fw.bin", bytes), image), FirmwareImage::Error::None);
        QCOMPARE(image.size(), imageSize);
        QCOMPARE(image.left(fileSize), bytes);
        QCOMPARE(image.mid(fileSize), QByteArray(imageSize - fileSize, char(0xFF)));
    }

    void unusableFiles_data()
    {
        QTest::addColumn<std::function<QString(Rig &)>>("make");
        QTest::addColumn<FirmwareImage::Error>("error");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << std::function<QString(Rig &)>(
                                        [](Rig &r) { return r.dir.filePath("absent.bin"); })
                                 << FirmwareImage::Error::Missing << "does not exist";
        QTest::newRow("a folder") << std::function<QString(Rig &)>([](Rig &r) {
            QDir(r.dir.path()).mkdir("folder.bin");
            return r.dir.filePath("folder.bin");
        }) << FirmwareImage::Error::Unreadable
                                  << "cannot be read";
        QTest::newRow("empty") << std::function<QString(Rig &)>(
                                      [](Rig &r) { return r.file("empty.bin", {}); })
                               << FirmwareImage::Error::Empty << "is empty";
        QTest::newRow("one byte over 65534 blocks") << std::function<QString(Rig &)>([](Rig &r) {
            const QString path = r.file("huge.bin", "x");
            QFile f(path);
            if (!f.resize(FirmwareImage::maxBytes + 1))
                qFatal("resize");
            return path;
        }) << FirmwareImage::Error::TooLarge << "at most 8388352 bytes (65534 blocks";
    }
    void unusableFiles()
    {
        QFETCH(std::function<QString(Rig &)>, make);
        QFETCH(FirmwareImage::Error, error);
        QFETCH(QString, message);
        Rig rig;
        const QString path = make(rig);
        QByteArray image("previous image");
        QCOMPARE(FirmwareImage::load(path, image), error);
        QCOMPARE(image, QByteArray("previous image"));
        QVERIFY2(FirmwareImage::errorText(error, path).contains(message),
                 qPrintable(FirmwareImage::errorText(error, path)));
    }

    void largestImageAccepted()
    {
        Rig rig;
        const QString path = rig.file("big.bin", "x");
        QFile f(path);
        QVERIFY(f.resize(FirmwareImage::maxBytes));
        QByteArray image;
        QCOMPARE(FirmwareImage::load(path, image), FirmwareImage::Error::None);
        QCOMPARE(image.size() / FirmwareImage::blockSize, 65534);
    }

    void unreadableFile()
    {
        Rig rig;
        const QString path = rig.file("locked.bin", "abc");
        QFile::setPermissions(path, QFileDevice::Permissions{});
        QFile probe(path);
        if (probe.open(QIODevice::ReadOnly))
            QSKIP("running with rights that read any file");
        QByteArray image;
        QCOMPARE(FirmwareImage::load(path, image), FirmwareImage::Error::Unreadable);
    }

    // Refused starts: the message, whether the link was restarted, and that
    // nothing else changed.
    void refusedStart_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("portOpen");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("restarted");
        const QByteArray fw = pattern(300);
        using namespace UpgradeField;
        QTest::newRow("port closed") << app << "fw.bin" << fw << false << true
                                     << "Please open the serial port first" << false;
        QTest::newRow("upper-case .BIN, APP restarts first")
            << app << "fw.BIN" << fw << true << true << "请选择BIN文件" << true;
        QTest::newRow("upper-case .BIN, BOOT")
            << boot << "fw.BIN" << fw << true << true << "请选择BIN文件" << false;
        QTest::newRow("no extension")
            << app << "firmware" << fw << true << true << "请选择BIN文件" << true;
        QTest::newRow("missing file, line untouched")
            << app << "" << QByteArray() << true << true << "does not exist" << false;
        QTest::newRow("empty file, line untouched")
            << app << "empty.bin" << QByteArray() << true << true << "is empty" << false;
        QTest::newRow("BOOT warning answered No")
            << boot << "fw.bin" << fw << true << false << QString() << false;
    }
    void refusedStart()
    {
        QFETCH(int, target);
        QFETCH(QString, fileName);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, portOpen);
        QFETCH(bool, answer);
        QFETCH(QString, message);
        QFETCH(bool, restarted);
        Rig rig;
        if (!portOpen)
            rig.core.link.toggleOpen();
        const QString path =
            fileName.isEmpty() ? rig.dir.filePath("absent.bin") : rig.file(fileName, bytes);
        rig.prompt.answer = answer;
        rig.state().currentCommand = 16;
        rig.upgrade().upgradeImage = "old";
        rig.upgrade().upgradeImageLength = 3;
        const int opensBefore = rig.port->openedSettings.size();

        rig.start(target, path);

        if (message.isEmpty()) {
            QVERIFY(rig.prompt.messages.isEmpty());
        } else {
            QCOMPARE(rig.prompt.messages.size(), 1);
            QVERIFY2(rig.prompt.messages[0].text.contains(message),
                     qPrintable(rig.prompt.messages[0].text));
        }
        QCOMPARE(rig.port->openedSettings.size() > opensBefore, restarted);
        QCOMPARE(rig.core.link.portOpen(), portOpen);
        QCOMPARE(rig.state().currentCommand, quint8(16));
        QVERIFY(rig.form().isEnabled(UpgradeField::start));
        QVERIFY(rig.form().isEnabled(UpgradeField::target));
        QCOMPARE(rig.upgrade().upgradeImage, QByteArray("old"));
        QCOMPARE(rig.upgrade().upgradeImageLength, 3);
        QVERIFY(rig.port->writes.isEmpty());
    }

    void bootWarningText()
    {
        Rig rig;
        rig.prompt.answer = false;
        rig.start(UpgradeField::boot, rig.file("fw.bin", pattern(10)));
        QCOMPARE(rig.prompt.questions.size(), 1);
        QCOMPARE(rig.prompt.questions[0].title, QStringLiteral("升级提示"));
        QCOMPARE(rig.prompt.questions[0].text,
                 QStringLiteral("注意：即将升级BOOT，中途不能重启，如文件错误会导致升级失败将无法"
                                "再次升级,请确认是否继续?"));
    }

    void acceptedStart_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<bool>("restarted");
        QTest::newRow("APP") << UpgradeField::app << true;
        QTest::newRow("BOOT") << UpgradeField::boot << false;
    }
    void acceptedStart()
    {
        QFETCH(int, target);
        QFETCH(bool, restarted);
        Rig rig;
        rig.openAt(3, 2);
        rig.state().savedBaudIndex = 6;
        rig.state().savedParityIndex = 1;
        rig.upgrade().upgradeBlock = 9;
        rig.upgrade().showProgress(57);
        const int opensBefore = rig.port->openedSettings.size();
        const int closesBefore = rig.port->closes;

        rig.start(target, rig.file("fw.bin", pattern(300)));

        QVERIFY(rig.prompt.messages.isEmpty());
        QCOMPARE(rig.prompt.questions.size(), target == UpgradeField::boot ? 1 : 0);
        QCOMPARE(rig.state().currentCommand, quint8(255));
        QCOMPARE(rig.upgrade().upgradeBlock, 0);
        QCOMPARE(rig.upgrade().upgradeImageLength, 384);
        QCOMPARE(rig.upgrade().upgradeImage.left(300), pattern(300));
        QVERIFY(!rig.form().isEnabled(UpgradeField::start));
        QVERIFY(!rig.form().isEnabled(UpgradeField::target));
        QCOMPARE(rig.form().text(UpgradeField::progressText), QStringLiteral("0%"));
        QCOMPARE(rig.form().value(UpgradeField::progress), 0);
        QCOMPARE(rig.port->openedSettings.size() - opensBefore, restarted ? 1 : 0);
        QCOMPARE(rig.port->closes - closesBefore, restarted ? 1 : 0);
        QVERIFY(rig.core.link.portOpen());
        // Only an APP upgrade moves the line, so only it remembers the settings.
        QCOMPARE(rig.state().savedBaudIndex, restarted ? 3 : 6);
        QCOMPARE(rig.state().savedParityIndex, restarted ? 2 : 1);
        // The start frame waits for the send timer.
        QVERIFY(rig.port->writes.isEmpty());
    }

    void startFrame_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<int>("baudIndex");
        QTest::addColumn<quint16>("word");
        using namespace UpgradeField;
        QTest::newRow("APP 9600") << app << 0 << quint16(960);
        QTest::newRow("APP 14400") << app << 1 << quint16(1440);
        QTest::newRow("APP 19200") << app << 2 << quint16(1920);
        QTest::newRow("APP 38400") << app << 3 << quint16(3840);
        QTest::newRow("APP 56000") << app << 4 << quint16(5600);
        QTest::newRow("APP 115200") << app << 5 << quint16(0x2D00);
        QTest::newRow("APP 1200") << app << 6 << quint16(120);
        // The selector is disabled for BOOT, but its rate still goes out.
        QTest::newRow("BOOT 115200") << boot << 5 << quint16(0x2D00);
    }
    void startFrame()
    {
        QFETCH(int, target);
        QFETCH(int, baudIndex);
        QFETCH(quint16, word);
        Rig rig;
        rig.form().setChoice(UpgradeField::baud, baudIndex);
        rig.start(target, rig.file("fw.bin", pattern(300)));
        rig.upgrade().buildRequest();
        const quint8 item = target == UpgradeField::app ? 0xFA : 0xFB;
        const QByteArray expected = request(item, bytesOf({0, 0, word >> 8, word & 0xFF, 0}));
        QCOMPARE(rig.lastWrite().size(), 14);
        QCOMPARE(rig.lastWrite().toHex(' '), expected.toHex(' '));
        QCOMPARE(rig.state().statusLine(), QStringLiteral("Send upgrade data0"));
    }

    // Data and end frames of images of different sizes.
    void blockFrames_data()
    {
        QTest::addColumn<int>("fileSize");
        QTest::addColumn<int>("block");
        QTest::addColumn<quint16>("field");
        QTest::addColumn<int>("from");  // first image byte carried, -1: end frame
        QTest::addColumn<int>("count"); // image bytes carried, the rest 0xFF
        QTest::newRow("first of 300") << 300 << 1 << quint16(1) << 0 << 128;
        QTest::newRow("last of 300 is padded") << 300 << 3 << quint16(3) << 256 << 44;
        QTest::newRow("after 300 comes the end") << 300 << 4 << quint16(0xFFFF) << -1 << 0;
        QTest::newRow("last of 256") << 256 << 2 << quint16(2) << 128 << 128;
        QTest::newRow("after 256 comes the end") << 256 << 3 << quint16(0xFFFF) << -1 << 0;
        QTest::newRow("block 258: high byte 1") << 40000 << 258 << quint16(0x0102) << 32896 << 128;
        QTest::newRow("one byte") << 1 << 1 << quint16(1) << 0 << 1;
    }
    void blockFrames()
    {
        QFETCH(int, fileSize);
        QFETCH(int, block);
        QFETCH(quint16, field);
        QFETCH(int, from);
        QFETCH(int, count);
        Rig rig;
        const QByteArray bytes = pattern(fileSize);
        rig.start(UpgradeField::boot, rig.file("fw.bin", bytes));
        rig.upgrade().upgradeBlock = block;
        rig.upgrade().buildRequest();

        QByteArray payload(128, char(0xFF));
        if (from >= 0)
            payload.replace(0, count, bytes.mid(from, count));
        const QByteArray expected = request(0xFB, blockData(field, payload));
        QCOMPARE(rig.lastWrite().size(), 139);
        QCOMPARE(rig.lastWrite().toHex(' '), expected.toHex(' '));
        // The status shows the block that produced the frame, even the end frame.
        QCOMPARE(rig.state().statusLine(), QStringLiteral("Send upgrade data%1").arg(block));
    }

    void statusLineInChinese()
    {
        Rig rig;
        rig.state().setEnglishUi(false);
        rig.start(UpgradeField::boot, rig.file("fw.bin", pattern(3000)));
        rig.upgrade().upgradeBlock = 12;
        rig.upgrade().buildRequest();
        QCOMPARE(rig.state().statusLine(), QStringLiteral("发送升级数据12"));
        rig.state().setEnglishUi(true);
    }

    void resultTexts_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("succeeded");
        QTest::addColumn<QString>("failed");
        QTest::newRow("English") << true << "Upgrade succeeded"
                                 << "Upgrade failed";
        QTest::newRow("Chinese") << false << "升级成功"
                                 << "升级失败";
    }
    void resultTexts()
    {
        QFETCH(bool, english);
        QFETCH(QString, succeeded);
        QFETCH(QString, failed);
        Rig rig;
        rig.state().setEnglishUi(english);
        QCOMPARE(UpgradeController::succeededText(), succeeded);
        QCOMPARE(UpgradeController::failedText(), failed);
        rig.state().setEnglishUi(true);
    }

    // Acknowledgements of a 384-byte image: next block and progress.
    void acknowledgements_data()
    {
        QTest::addColumn<QList<int>>("acks");
        QTest::addColumn<int>("nextBlock");
        QTest::addColumn<QString>("progress");
        QTest::newRow("start acknowledged") << QList<int>{0} << 1 << "0%";
        QTest::newRow("block 1 of 3") << QList<int>{0, 1} << 2 << "33%";
        QTest::newRow("block 2 of 3") << QList<int>{0, 1, 2} << 3 << "66%";
        QTest::newRow("last block: 100% before the end frame")
            << QList<int>{0, 1, 2, 3} << 4 << "100%";
        QTest::newRow("duplicated ack sends the same next block")
            << QList<int>{0, 1, 1} << 2 << "33%";
        QTest::newRow("ack 0 restarts the transfer") << QList<int>{0, 1, 2, 0} << 1 << "0%";
        QTest::newRow("a number past the image is capped at 100%")
            << QList<int>{0, 40} << 41 << "100%";
    }
    void acknowledgements()
    {
        QFETCH(QList<int>, acks);
        QFETCH(int, nextBlock);
        QFETCH(QString, progress);
        Rig rig;
        rig.start(UpgradeField::boot, rig.file("fw.bin", pattern(300)));
        for (int a : acks)
            rig.ack(quint16(a), UpgradeController::bootItem);
        QCOMPARE(rig.upgrade().upgradeBlock, nextBlock);
        // What went out last is that block, or the end frame past the image.
        const int field = (nextBlock - 1) * 128 < 384 ? nextBlock : 0xFFFF;
        QCOMPARE(rig.lastWrite().size(), 139);
        QCOMPARE((quint8(rig.lastWrite().at(7)) << 8) | quint8(rig.lastWrite().at(8)), field);
        QCOMPARE(rig.form().text(UpgradeField::progressText), progress);
        QCOMPARE(rig.form().value(UpgradeField::progress), progress.chopped(1).toInt());
        QCOMPARE(rig.state().currentCommand, quint8(255));
        QVERIFY(rig.prompt.messages.isEmpty());
    }

    void duplicatedAckRepeatsTheFrame()
    {
        Rig rig;
        rig.start(UpgradeField::boot, rig.file("fw.bin", pattern(1000)));
        rig.ack(0, UpgradeController::bootItem);
        rig.ack(1, UpgradeController::bootItem);
        const QByteArray first = rig.lastWrite();
        const qsizetype sent = rig.port->writes.size();
        // The acknowledgement itself sends the next block, again.
        rig.ack(1, UpgradeController::bootItem);
        QCOMPARE(rig.port->writes.size(), sent + 1);
        QCOMPARE(rig.lastWrite(), first);
        QCOMPARE(quint8(first.at(8)), quint8(2));
        rig.ack(2, UpgradeController::bootItem);
        QCOMPARE(rig.upgrade().upgradeBlock, 3);
    }

    // Frames that are not acknowledgements of the running upgrade change nothing.
    void ignoredReplies_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<quint8>("command");
        const auto reply = [](quint8 op, quint8 item, const QByteArray &data) {
            return Frame::build(Frame::responseStart, 255, 16, op, item, data);
        };
        const QByteArray one = bytesOf({0, 1});
        using namespace UpgradeField;
        QTest::newRow("operation byte 0") << app << reply(0, 0xFA, one) << quint8(255);
        QTest::newRow("BOOT ack while APP selected") << app << reply(1, 0xFB, one) << quint8(255);
        QTest::newRow("APP ack while BOOT selected") << boot << reply(1, 0xFA, one) << quint8(255);
        QTest::newRow("another item") << app << reply(1, 0x47, one) << quint8(255);
        QTest::newRow("no block number") << app << reply(1, 0xFA, {}) << quint8(255);
        QTest::newRow("one data byte") << app << reply(1, 0xFA, QByteArray(1, 1)) << quint8(255);
        QTest::newRow("late ack after the upgrade ended")
            << app << reply(1, 0xFA, one) << quint8(16);
        QTest::newRow("late end ack")
            << boot << reply(1, 0xFB, bytesOf({0xFF, 0xFF})) << quint8(16);
    }
    void ignoredReplies()
    {
        QFETCH(int, target);
        QFETCH(QByteArray, reply);
        QFETCH(quint8, command);
        Rig rig;
        rig.start(target, rig.file("fw.bin", pattern(1000)));
        rig.upgrade().upgradeBlock = 5;
        rig.upgrade().showProgress(40);
        rig.state().currentCommand = command;
        const int opens = rig.port->openedSettings.size();

        rig.setReply(reply);

        QCOMPARE(rig.upgrade().upgradeBlock, 5);
        QCOMPARE(rig.form().text(UpgradeField::progressText), QStringLiteral("40%"));
        QCOMPARE(rig.state().currentCommand, command);
        QCOMPARE(rig.port->openedSettings.size(), opens);
        QVERIFY(rig.prompt.messages.isEmpty());
    }

    void endAcknowledged_data()
    {
        QTest::addColumn<int>("target");
        QTest::newRow("APP") << UpgradeField::app;
        QTest::newRow("BOOT") << UpgradeField::boot;
    }
    void endAcknowledged()
    {
        QFETCH(int, target);
        Rig rig;
        rig.openAt(2, 1);
        rig.start(target, rig.file("fw.bin", pattern(256)));
        const quint8 item = target == UpgradeField::app ? 0xFA : 0xFB;
        for (int a : {0, 1, 2})
            rig.ack(quint16(a), item);
        QCOMPARE(rig.upgrade().upgradeBlock, 3);
        rig.ack(0xFFFF, item);

        QCOMPARE(rig.prompt.texts(), QStringList{"Upgrade succeeded"});
        QCOMPARE(rig.state().currentCommand, quint8(16));
        QCOMPARE(rig.upgrade().upgradeBlock, 0);
        QVERIFY(rig.form().isEnabled(UpgradeField::start));
        QVERIFY(rig.form().isEnabled(UpgradeField::target));
        QCOMPARE(rig.form().text(UpgradeField::progressText), QStringLiteral("100%"));
        QCOMPARE(rig.form().value(UpgradeField::progress), 100);
        QVERIFY(rig.core.link.portOpen());
        // The line ends where it started.
        QCOMPARE(rig.state().link.choice(LinkField::baud), 2);
        QCOMPARE(rig.state().link.choice(LinkField::parity), 1);
        // APP: switched and restored; BOOT: never reopened.
        QCOMPARE(rig.port->openedSettings.size(), target == UpgradeField::app ? 3 : 0);
        if (target == UpgradeField::app) {
            QCOMPARE(rig.port->openedSettings.last().baud, 19200);
            QCOMPARE(rig.port->openedSettings.last().parity, 'E');
        }
        // A repeated end acknowledgement reports nothing more.
        rig.ack(0xFFFF, item);
        QCOMPARE(rig.prompt.messages.size(), 1);
    }

    // The settings the line is opened with over an APP and a BOOT upgrade.
    void lineSettings_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<QList<int>>("bauds");
        QTest::addColumn<QByteArray>("parities");
        // Restart at the link's settings, switch after ack 0, restore after the end.
        QTest::newRow("APP") << UpgradeField::app << QList<int>{9600, 38400, 9600}
                             << QByteArray("ONO");
        QTest::newRow("BOOT leaves the line alone")
            << UpgradeField::boot << QList<int>{} << QByteArray();
    }
    void lineSettings()
    {
        QFETCH(int, target);
        QFETCH(QList<int>, bauds);
        QFETCH(QByteArray, parities);
        Rig rig;
        rig.openAt(0, 2);
        rig.form().setChoice(UpgradeField::baud, 3);
        const quint8 item = target == UpgradeField::app ? 0xFA : 0xFB;
        rig.start(target, rig.file("fw.bin", pattern(128)));
        for (int a : {0, 1, 0xFFFF})
            rig.ack(quint16(a), item);

        QList<int> seenBauds;
        QByteArray seenParities;
        for (const PortIo::Settings &s : rig.port->openedSettings) {
            seenBauds << s.baud;
            seenParities += s.parity;
        }
        QCOMPARE(seenBauds, bauds);
        QCOMPARE(seenParities, parities);
        QCOMPARE(rig.prompt.texts(), QStringList{"Upgrade succeeded"});
    }

    // A line that cannot be switched to the upgrade rate ends the upgrade
    // rather than leaving it waiting on a closed port.
    void switchFailureAbandons()
    {
        Rig rig;
        rig.start(UpgradeField::app, rig.file("fw.bin", pattern(128)));
        rig.port->openResult = PortIo::OpenResult::InvalidPort;
        rig.ack(0);
        QVERIFY(rig.prompt.texts().contains("Upgrade failed"));
        QCOMPARE(rig.state().currentCommand, quint8(16));
        QVERIFY(rig.form().isEnabled(UpgradeField::start));
        QVERIFY(rig.form().isEnabled(UpgradeField::target));
    }

    // The send timer re-sends the current frame; more than 40 re-sends over
    // the whole upgrade, acknowledged or not, give up.
    void resendLimit_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<int>("ackAfter"); // ticks before one ack, -1 none
        QTest::newRow("APP, no answer") << UpgradeField::app << -1;
        QTest::newRow("BOOT, no answer") << UpgradeField::boot << -1;
        QTest::newRow("APP, an ack half way does not reset the count") << UpgradeField::app << 20;
    }
    void resendLimit()
    {
        QFETCH(int, target);
        QFETCH(int, ackAfter);
        Rig rig;
        rig.openAt(1, 2);
        rig.state().currentCommand = 16;
        rig.core.link.sendTick();
        rig.start(target, rig.file("fw.bin", pattern(1000)));
        rig.port->writes.clear();
        const quint8 item = target == UpgradeField::app ? 0xFA : 0xFB;
        int ticks = 0;
        while (rig.prompt.messages.isEmpty() && ticks < 100) {
            if (ticks == ackAfter)
                rig.ack(0, item);
            rig.core.link.sendTick();
            ++ticks;
        }
        QCOMPARE(rig.prompt.texts(), QStringList{"Upgrade failed"});
        // The first send, then 40 re-sends; the failing tick sends nothing.
        QCOMPARE(ticks, 42);
        QCOMPARE(rig.port->writes.size(), 41 + (ackAfter >= 0 ? 1 : 0));
        QCOMPARE(rig.state().currentCommand, quint8(16));
        QVERIFY(rig.form().isEnabled(UpgradeField::start));
        QVERIFY(rig.form().isEnabled(UpgradeField::target));
        QVERIFY(rig.core.link.portOpen());
        QCOMPARE(rig.state().link.choice(LinkField::baud), 1);
        QCOMPARE(rig.state().link.choice(LinkField::parity), 2);
        if (target == UpgradeField::app) {
            QCOMPARE(rig.port->openedSettings.last().baud, 14400);
            QCOMPARE(rig.port->openedSettings.last().parity, 'O');
        } else {
            QVERIFY(rig.port->openedSettings.isEmpty());
        }
        rig.core.link.sendTick();
        QCOMPARE(rig.prompt.messages.size(), 1);
    }

    // Whatever ended the previous exchange, the next upgrade's start frame goes
    // out on the next send tick, and the new upgrade has all its 40 re-sends.
    void upgradeAfterAnother_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("target");
        using namespace UpgradeField;
        QTest::newRow("BOOT then BOOT") << "BOOT done" << boot;
        QTest::newRow("APP then BOOT") << "APP done" << boot;
        QTest::newRow("BOOT then APP") << "BOOT done" << app;
        QTest::newRow("APP then APP") << "APP done" << app;
        QTest::newRow("failed BOOT then BOOT") << "BOOT failed" << boot;
        QTest::newRow("failed APP then BOOT") << "APP failed" << boot;
        QTest::newRow("BOOT after Send failed") << "Send failed" << boot;
        QTest::newRow("BOOT after a page read") << "read answered" << boot;
    }
    void upgradeAfterAnother()
    {
        QFETCH(QString, before);
        QFETCH(int, target);
        Rig rig;
        const auto reply = [](quint8 op, quint8 item, const QByteArray &data) {
            return Frame::build(Frame::responseStart, 255, 16, op, item, data);
        };
        const QString firmware = rig.file("fw.bin", pattern(256));
        if (before.endsWith("done") || before.endsWith("failed")) {
            const bool app = before.startsWith("APP");
            rig.start(app ? UpgradeField::app : UpgradeField::boot, firmware);
            const quint8 item = app ? 0xFA : 0xFB;
            if (before.endsWith("done")) {
                rig.core.link.sendTick();
                // A few unanswered re-sends that the next upgrade must not inherit.
                for (int i = 0; i < 5; ++i)
                    rig.core.link.sendTick();
                for (int a : {0, 1, 2, 0xFFFF})
                    rig.answer(reply(1, item, bytesOf({a >> 8, a & 0xFF})));
                QCOMPARE(rig.prompt.texts(), QStringList{"Upgrade succeeded"});
            } else {
                rig.tickUntilMessage();
                QCOMPARE(rig.prompt.texts(), QStringList{"Upgrade failed"});
            }
        } else {
            rig.state().selectedTab = 4;
            rig.core.requests.send(124); // read the BMS clock
            if (before == "Send failed") {
                rig.tickUntilMessage();
                QCOMPARE(rig.prompt.texts(), QStringList{"Send failed"});
            } else {
                rig.answer(reply(0, 18, bytesOf({24, 3, 9, 7, 5, 0})));
                QCOMPARE(rig.prompt.texts(), QStringList{"read successfully"});
            }
            rig.core.selectTab(7);
        }
        QCOMPARE(rig.state().currentCommand, quint8(16));
        rig.prompt.clear();
        rig.port->writes.clear();

        rig.start(target, firmware);
        QCOMPARE(rig.state().currentCommand, quint8(255));
        QVERIFY(rig.prompt.messages.isEmpty());
        QVERIFY(rig.port->writes.isEmpty());
        // The send timer is what sends the start frame.
        QVERIFY(rig.core.link.sendTimer().isActive());
        rig.core.link.sendTick();
        const quint8 item = target == UpgradeField::app ? 0xFA : 0xFB;
        QCOMPARE(rig.port->writes.size(), 1);
        QCOMPARE(rig.lastWrite().size(), 14);
        QCOMPARE(quint8(rig.lastWrite().at(4)), item);
        QCOMPARE(rig.lastWrite().mid(7, 2), QByteArray(2, '\0'));
        // Unanswered from here on: the first send and 40 re-sends, then it
        // gives up on the tick after.
        QCOMPARE(rig.tickUntilMessage(), 41);
        QCOMPARE(rig.prompt.texts(), QStringList{"Upgrade failed"});
        QCOMPARE(rig.port->writes.size(), 41);
        QVERIFY(rig.form().isEnabled(UpgradeField::start));
    }

    void chooseFile_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("path");
        QTest::newRow("a file is picked") << "/tmp/new.bin"
                                          << "/tmp/new.bin";
        QTest::newRow("cancel keeps the path") << ""
                                               << "/old/fw.bin";
    }
    void chooseFile()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, path);
        Rig rig;
        rig.form().setText(UpgradeField::path, "/old/fw.bin");
        rig.prompt.nextFile = chosen;
        rig.upgrade().chooseFile();
        QCOMPARE(rig.prompt.fileFilters, QStringList{"Batch Files (*.bin)"});
        QCOMPARE(rig.form().text(UpgradeField::path), path);
    }

    void targetDisablesBaud_data()
    {
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<bool>("baudEnabled");
        QTest::newRow("BOOT") << QList<int>{1} << false;
        QTest::newRow("BOOT then APP") << QList<int>{1, 0} << true;
        QTest::newRow("APP") << QList<int>{0} << true;
    }
    void targetDisablesBaud()
    {
        QFETCH(QList<int>, clicks);
        QFETCH(bool, baudEnabled);
        Rig rig;
        for (int i : clicks)
            rig.upgrade().selectTarget(i);
        QCOMPARE(rig.form().choice(UpgradeField::target), clicks.last());
        QCOMPARE(rig.form().isEnabled(UpgradeField::baud), baudEnabled);
    }
};

QTEST_GUILESS_MAIN(TestUpgradeProtocol)
#include "tst_upgrade_protocol.moc"
