// Ports that exist but cannot be opened: how the real port tells them apart,
// how the port list shows them and what the user is told when opening fails.
// The tests run as root in CI, whom no file permission stops, so the real
// permission check is replaced where a refusal is needed.
#include "link/LinkController.h"
#include "link/LinkForm.h"
#include "link/PortMap.h"
#include "link/SerialPortIo.h"
#include "shell/Core.h"
#include "support/FakePort.h"
#include "support/RecordingPrompt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <memory>

namespace {
// The device side of a fresh pseudo-terminal, kept open on the master side.
struct Pty {
    int master = -1;
    QString device;
    Pty()
    {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0)
            device = QString::fromLocal8Bit(ptsname(master));
    }
    ~Pty()
    {
        if (master >= 0)
            ::close(master);
    }
};

struct Rig {
    RecordingPrompt prompt;
    FakePort *port = new FakePort;
    std::unique_ptr<Core> core;
    explicit Rig(bool english)
    {
        core = std::make_unique<Core>(prompt, std::unique_ptr<PortIo>(port));
        core->state.setEnglishUi(english);
    }
    QStringList captions() const
    {
        QStringList out;
        for (const QString &e : core->state.link.entries(LinkField::port))
            out << core->link.portCaption(e);
        return out;
    }
};

using Access = PortIo::Access;
} // namespace

Q_DECLARE_METATYPE(PortIo::Access)

class TestPortAccess : public QObject {
    Q_OBJECT

    QTemporaryDir m_config;

private slots:
    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        // No links: every number stands for its fixed device.
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
    }

    void realPortTellsPermissionFromPresence()
    {
        Pty pty;
        QVERIFY2(!pty.device.isEmpty(), "no pseudo-terminal");
        SerialPortIo io;
        QCOMPARE(io.examine(pty.device), Access::Available);
        QVERIFY(io.probe(pty.device));
        QCOMPARE(io.examine(QStringLiteral("/nonexistent/ttyUSB0")), Access::Absent);

        io.setAccessCheck([&pty](const QString &device) { return device != pty.device; });
        QCOMPARE(io.examine(pty.device), Access::NoPermission);
        QVERIFY(!io.probe(pty.device));
        int error = 0;
        QCOMPARE(io.open(pty.device, PortIo::Settings{}, &error), PortIo::OpenResult::NoPermission);
        QCOMPARE(error, EACCES);
        QVERIFY(!io.isOpen());
        // A missing device stays missing, whatever the check says.
        io.setAccessCheck([](const QString &) { return false; });
        QCOMPARE(io.examine(QStringLiteral("/nonexistent/ttyUSB0")), Access::Absent);
        QCOMPARE(io.open(QStringLiteral("/nonexistent/ttyUSB0"), PortIo::Settings{}, &error),
                 PortIo::OpenResult::InvalidPort);

        io.setAccessCheck({}); // back to the real check
        QCOMPARE(io.open(pty.device, PortIo::Settings{}, &error), PortIo::OpenResult::Ok);
        io.close();
    }

    // The real check, on a file closed to everyone; root passes every check.
    void realCheckRefusesAClosedDevice()
    {
        if (geteuid() == 0)
            QSKIP("root may open any file, so there is nothing to refuse");
        const QString path = m_config.filePath(QStringLiteral("closed-tty"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(file.setPermissions(QFileDevice::ReadOwner));
        QVERIFY(!SerialPortIo::userMayOpen(path));
        QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QVERIFY(SerialPortIo::userMayOpen(path));
    }

    // Linux makes ttyS0..31 whether or not there is a UART behind them; a user
    // outside the group would otherwise see 32 ports marked "no permission".
    void phantomUarts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("type"); // empty: no sysfs entry
        QTest::addColumn<bool>("phantom");
        QTest::newRow("UART without hardware") << "ttyS5" << QByteArray("0\n") << true;
        QTest::newRow("16550A") << "ttyS0" << QByteArray("4\n") << false;
        QTest::newRow("no sysfs entry") << "ttyS7" << QByteArray() << false;
        QTest::newRow("USB adapter") << "ttyUSB0" << QByteArray("0\n") << false;
    }
    void phantomUarts()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, type);
        QFETCH(bool, phantom);
        QTemporaryDir sys;
        QVERIFY(sys.isValid());
        if (!type.isEmpty()) {
            QVERIFY(QDir().mkpath(sys.filePath(name)));
            QFile f(sys.filePath(name + QStringLiteral("/type")));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(type);
        }
        QCOMPARE(SerialPortIo::isPhantomUart(QStringLiteral("/dev/") + name, sys.path()), phantom);
    }

    // Which entries the list gets, how they read and which is selected.
    void listing_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QList<int>>("numbers");
        QTest::addColumn<QList<PortIo::Access>>("access");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<int>("selected");
        QTest::newRow("unopenable ones listed, last openable selected")
            << true << QList<int>{1, 33, 34, 35}
            << QList<Access>{Access::Available, Access::Available, Access::NoPermission,
                             Access::Busy}
            << QStringList{"COM1", "COM33", "COM34 (no permission)", "COM35 (in use)"} << 1;
        QTest::newRow("Chinese marks")
            << false << QList<int>{33, 65} << QList<Access>{Access::NoPermission, Access::Busy}
            << QStringList{"COM33（无权限）", "COM65（被占用）"} << 1;
        QTest::newRow("only a closed adapter: it is selected")
            << true << QList<int>{33} << QList<Access>{Access::NoPermission}
            << QStringList{"COM33 (no permission)"} << 0;
        QTest::newRow("absent nodes stay out")
            << true << QList<int>{2, 33} << QList<Access>{Access::Absent, Access::Available}
            << QStringList{"COM33"} << 0;
    }
    void listing()
    {
        QFETCH(bool, english);
        QFETCH(QList<int>, numbers);
        QFETCH(QList<PortIo::Access>, access);
        QFETCH(QStringList, captions);
        QFETCH(int, selected);
        Rig rig(english);
        for (int i = 0; i < numbers.size(); ++i)
            rig.port->access.insert(PortMap::fixedDevice(numbers[i]), access[i]);
        rig.core->link.load();
        QCOMPARE(rig.captions(), captions);
        QCOMPARE(rig.core->state.link.choice(LinkField::port), selected);
        // The entries themselves stay "COM" + number, which the settings read.
        for (const QString &e : rig.core->state.link.entries(LinkField::port))
            QVERIFY(QStringView(e).mid(3).toInt() > 0);
        for (int i = 0; i < numbers.size(); ++i) {
            const bool marked = access[i] == Access::NoPermission || access[i] == Access::Busy;
            QCOMPARE(rig.core->link.accessNote(numbers[i]).isEmpty(), !marked);
        }
        // Access given meanwhile: a refresh drops the marks.
        rig.port->access.clear();
        for (int n : numbers)
            rig.port->presentDevices << PortMap::fixedDevice(n);
        rig.core->link.refresh();
        for (const QString &c : rig.captions())
            QVERIFY2(c.startsWith(QLatin1String("COM")) && QStringView(c).mid(3).toInt() > 0,
                     qPrintable(c));
        QCOMPARE(rig.core->state.link.choice(LinkField::port), int(numbers.size()) - 1);
    }

    // Opening a port this user may not open: the port's two messages as
    // always, then what is wrong and how to mend it.
    void refusedForPermission_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("third");
        QTest::newRow("English")
            << true
            << "Error: Closing Port COM33fail，Please check COM33Is it still being read or "
               "written or corrupted"
            << "You have no permission to open COM33 (/dev/ttyUSB0). On Linux, add your user to "
               "the group \"dialout\" that owns the device:\n    sudo usermod -aG dialout "
               "$USER\nthen log out and log in again, and open the port once more.";
        QTest::newRow("Chinese") << false
                                 << "错误：关闭端口COM33失败，请检查COM33是否还在读写或已损坏"
                                 << "没有打开串口COM33（/dev/ttyUSB0）的权限。在 Linux 上，请把"
                                    "当前用户加入拥有该设备的用户组“dialout”：\n    sudo usermod "
                                    "-aG dialout $USER\n然后注销并重新登录，再打开串口。";
    }
    void refusedForPermission()
    {
        QFETCH(bool, english);
        QFETCH(QString, second);
        QFETCH(QString, third);
        Rig rig(english);
        rig.port->access.insert(PortMap::fixedDevice(33), Access::NoPermission);
        rig.port->openResult = PortIo::OpenResult::NoPermission;
        rig.core->link.load();
        rig.core->link.toggleOpen();
        QVERIFY(!rig.core->link.portOpen());
        QCOMPARE(rig.prompt.texts(),
                 (QStringList{QStringLiteral("端口 33无效. 请设置正确."), second, third}));
        QCOMPARE(rig.prompt.messages[2].icon, UserPrompt::Icon::Warning);
        QCOMPARE(rig.prompt.messages[2].title, english ? QStringLiteral("warn") : "警告");

        // Any other refusal keeps its two messages only.
        rig.prompt.clear();
        rig.port->openResult = PortIo::OpenResult::InvalidPort;
        rig.core->link.toggleOpen();
        QCOMPARE(rig.prompt.messages.size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestPortAccess)
#include "tst_port_access.moc"
