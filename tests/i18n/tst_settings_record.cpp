#include "base/Form.h"
#include "i18n/SettingsRecord.h"
#include "link/LinkForm.h"
#include "support/RecordingPrompt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

// Each case runs against its own configuration folder.
class TestSettingsRecord : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_home;
    QByteArray m_savedXdg;

    QString conf() const { return m_home.path() + QStringLiteral("/cellvane/cellvane.conf"); }
    void writeConf(const QByteArray &contents)
    {
        QDir().mkpath(m_home.path() + QStringLiteral("/cellvane"));
        QFile f(conf());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(contents);
        f.flush();
        // QSettings keeps a file it has read while its size and time stamp
        // stay the same; two records of one size written within a
        // millisecond would otherwise read as the first.
        static qint64 written = 0;
        QVERIFY(f.setFileTime(QDateTime::fromSecsSinceEpoch(1'700'000'000 + ++written),
                              QFileDevice::FileModificationTime));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        m_savedXdg = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", m_home.path().toLocal8Bit());
    }
    void cleanupTestCase() { qputenv("XDG_CONFIG_HOME", m_savedXdg); }
    void init() { QDir(m_home.path() + QStringLiteral("/cellvane")).removeRecursively(); }

    void pathFollowsXdgConfigHome() { QCOMPARE(SettingsRecord::filePath(), conf()); }

    void pathDefaultsToDotConfig()
    {
        qunsetenv("XDG_CONFIG_HOME");
        const QString path = SettingsRecord::filePath();
        qputenv("XDG_CONFIG_HOME", m_home.path().toLocal8Bit());
        QCOMPARE(path, QDir::homePath() + QStringLiteral("/.config/cellvane/cellvane.conf"));
    }

    // The system's preferred languages decide only while nothing is stored.
    void storedLanguage_data()
    {
        QTest::addColumn<QByteArray>("contents"); // empty: no file at all
        QTest::addColumn<QStringList>("system");
        QTest::addColumn<int>("language");
        const QStringList zh{QStringLiteral("zh-CN")}, en{QStringLiteral("en-US")};
        QTest::newRow("nothing stored, zh-CN") << QByteArray() << zh << 0;
        QTest::newRow("nothing stored, zh-TW") << QByteArray() << QStringList{"zh-TW"} << 0;
        QTest::newRow("nothing stored, zh-Hans-CN")
            << QByteArray() << QStringList{"zh-Hans-CN", "en"} << 0;
        QTest::newRow("nothing stored, en-US") << QByteArray() << en << 1;
        QTest::newRow("nothing stored, de then zh")
            << QByteArray() << QStringList{"de-DE", "zh-CN"} << 1;
        QTest::newRow("nothing stored, C locale") << QByteArray() << QStringList{"C"} << 1;
        QTest::newRow("nothing stored, none") << QByteArray() << QStringList{} << 1;
        QTest::newRow("english, zh system") << QByteArray("[General]\nlanguage=1\n") << zh << 1;
        QTest::newRow("chinese, en system") << QByteArray("[General]\nlanguage=0\n") << en << 0;
        QTest::newRow("other number") << QByteArray("[General]\nlanguage=7\n") << en << 0;
        QTest::newRow("not a number") << QByteArray("[General]\nlanguage=english\n") << en << 0;
        QTest::newRow("other keys only, zh") << QByteArray("[General]\ncolour=3\n") << zh << 0;
        QTest::newRow("other keys only, en") << QByteArray("[General]\ncolour=3\n") << en << 1;
        QTest::newRow("garbage, zh") << QByteArray("\x01\x02[[[=\n") << zh << 0;
    }
    void storedLanguage()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QStringList, system);
        QFETCH(int, language);
        if (!contents.isEmpty())
            writeConf(contents);
        QCOMPARE(int(SettingsRecord::storedLanguage(system)), language);
    }

    void storeThenRead_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::newRow("english") << 1 << 1;
        QTest::newRow("english then chinese") << 1 << 0;
        QTest::newRow("chinese then english") << 0 << 1;
    }
    void storeThenRead()
    {
        QFETCH(int, first);
        QFETCH(int, second);
        QVERIFY(SettingsRecord::storeLanguage(quint8(first)));
        QCOMPARE(int(SettingsRecord::storedLanguage()), first);
        QVERIFY(SettingsRecord::storeLanguage(quint8(second)));
        QCOMPARE(int(SettingsRecord::storedLanguage()), second);
    }

    // The record keeps what else it holds when the language is written.
    void storeKeepsOtherKeys()
    {
        writeConf("[General]\nlanguage=0\nwindow=left\n");
        QVERIFY(SettingsRecord::storeLanguage(1));
        QFile f(conf());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        QVERIFY2(text.contains("window=left"), text.constData());
        QVERIFY2(text.contains("language=1"), text.constData());
    }

    void remember_data()
    {
        QTest::addColumn<QByteArray>("contents"); // empty: no file
        QTest::addColumn<int>("choice");
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("fileAfter");
        QTest::addColumn<QString>("system");
        using R = SettingsRecord::Remembered;
        QTest::newRow("chinese, nothing stored")
            << QByteArray() << 0 << int(R::Unchanged) << false << QString();
        QTest::newRow("english, nothing stored")
            << QByteArray() << 1 << int(R::Written) << true << QString();
        // On an English system the first start is English already; Chinese is
        // a change and is stored, so it wins over the system from then on.
        QTest::newRow("english, nothing stored, en system")
            << QByteArray() << 1 << int(R::Unchanged) << false << QStringLiteral("en-GB");
        QTest::newRow("chinese, nothing stored, en system")
            << QByteArray() << 0 << int(R::Written) << true << QStringLiteral("en-GB");
        QTest::newRow("english, english stored")
            << QByteArray("[General]\nlanguage=1\n") << 1 << int(R::Unchanged) << true << QString();
        QTest::newRow("chinese, english stored")
            << QByteArray("[General]\nlanguage=1\n") << 0 << int(R::Written) << true << QString();
    }
    void remember()
    {
        QFETCH(QByteArray, contents);
        QFETCH(int, choice);
        QFETCH(int, result);
        QFETCH(bool, fileAfter);
        QFETCH(QString, system);
        const QStringList languages{system.isEmpty() ? QStringLiteral("zh-CN") : system};
        if (!contents.isEmpty())
            writeConf(contents);
        const QDateTime before = QFileInfo(conf()).lastModified();
        const QByteArray oldBytes = [&] {
            QFile f(conf());
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        QCOMPARE(int(SettingsRecord::rememberLanguage(quint8(choice), languages)), result);
        QCOMPARE(QFileInfo::exists(conf()), fileAfter);
        QCOMPARE(int(SettingsRecord::storedLanguage(languages)), choice);
        if (result == int(SettingsRecord::Remembered::Unchanged) && fileAfter) {
            QFile f(conf());
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), oldBytes);
            QCOMPARE(QFileInfo(conf()).lastModified(), before);
        }
    }

    // A configuration folder that cannot be created is reported, not ignored.
    void unwritableRecordFails()
    {
        QFile blocker(m_home.path() + QStringLiteral("/cellvane"));
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder belongs
        blocker.close();
        const QStringList zh{QStringLiteral("zh-CN")};
        QVERIFY(!SettingsRecord::storeLanguage(1));
        QCOMPARE(SettingsRecord::rememberLanguage(1, zh), SettingsRecord::Remembered::Failed);
        QCOMPARE(int(SettingsRecord::storedLanguage(zh)), 0);
        QFile::remove(blocker.fileName());
    }

    // The link page's reconnection box starts as stored and every change of it
    // is stored, beside the language.
    void reconnectChoice_data()
    {
        QTest::addColumn<QByteArray>("contents"); // empty: no file
        QTest::addColumn<int>("ticked");
        QTest::newRow("nothing stored: off") << QByteArray() << 0;
        QTest::newRow("on") << QByteArray("[General]\nlanguage=1\nreconnect=1\n") << 1;
        QTest::newRow("off") << QByteArray("[General]\nlanguage=1\nreconnect=0\n") << 0;
        QTest::newRow("not a number") << QByteArray("[General]\nlanguage=1\nreconnect=yes\n") << 0;
    }
    void reconnectChoice()
    {
        QFETCH(QByteArray, contents);
        QFETCH(int, ticked);
        if (!contents.isEmpty())
            writeConf(contents);
        const int language = SettingsRecord::storedLanguage();
        Form link(QStringLiteral("LinkPanel"));
        defineLinkForm(link);
        RecordingPrompt prompt;
        SettingsRecord::followReconnectChoice(link, prompt);
        QCOMPARE(link.check(LinkField::reconnect), ticked);

        QVERIFY(link.setCheck(LinkField::reconnect, 1 - ticked));
        QCOMPARE(SettingsRecord::storedReconnect(), ticked == 0);
        QVERIFY(link.setCheck(LinkField::reconnect, ticked));
        QCOMPARE(SettingsRecord::storedReconnect(), ticked == 1);
        QCOMPARE(int(SettingsRecord::storedLanguage()), language);
        QVERIFY(prompt.messages.isEmpty());
    }

    void reconnectChoiceNotStoredIsReported()
    {
        QFile blocker(m_home.path() + QStringLiteral("/cellvane"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        Form link(QStringLiteral("LinkPanel"));
        defineLinkForm(link);
        RecordingPrompt prompt;
        SettingsRecord::followReconnectChoice(link, prompt);
        link.setCheck(LinkField::reconnect, 1);
        QCOMPARE(prompt.messages.size(), 1);
        QVERIFY(prompt.messages.first().text.contains(SettingsRecord::filePath()));
        QCOMPARE(link.check(LinkField::reconnect), 1); // still applies in this run
        QFile::remove(blocker.fileName());
    }

    // The packs of the last bus scan, stored with the port and read back as
    // the scan range allows; the other keys stay as they were.
    void bankRoundTrip_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QList<int>>("addresses");
        QTest::newRow("three packs") << "COM3" << QList<int>{1, 2, 5};
        QTest::newRow("one pack") << "COM12" << QList<int>{16};
        QTest::newRow("whole range")
            << "COM1" << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
        QTest::newRow("none") << "COM1" << QList<int>{};
    }
    void bankRoundTrip()
    {
        QFETCH(QString, port);
        QFETCH(QList<int>, addresses);
        writeConf("[General]\nlanguage=1\nreconnect=1\n");
        QVERIFY(SettingsRecord::storeBank({port, addresses}));
        const SettingsRecord::BankChoice back = SettingsRecord::storedBank();
        QCOMPARE(back.port, port);
        QCOMPARE(back.addresses, addresses);
        QCOMPARE(int(SettingsRecord::storedLanguage()), 1);
        QVERIFY(SettingsRecord::storedReconnect());
    }

    // A record edited by hand or by another version offers only what a scan
    // can have found.
    void bankFromRecord_data()
    {
        QTest::addColumn<QByteArray>("contents"); // empty: no file
        QTest::addColumn<QString>("port");
        QTest::addColumn<QList<int>>("addresses");
        QTest::newRow("nothing stored") << QByteArray() << "" << QList<int>{};
        QTest::newRow("unsorted, twice, blanks")
            << QByteArray("[bank]\nport=COM2\naddresses=\"9, 2,,2 ,5\"\n") << "COM2"
            << QList<int>{2, 5, 9};
        QTest::newRow("outside the scan range and not numbers")
            << QByteArray("[bank]\nport=COM2\naddresses=\"-1,17,255,x,3\"\n") << "COM2"
            << QList<int>{3};
        QTest::newRow("addresses without a port")
            << QByteArray("[bank]\naddresses=\"1,2\"\n") << "" << QList<int>{};
    }
    void bankFromRecord()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, port);
        QFETCH(QList<int>, addresses);
        if (!contents.isEmpty())
            writeConf(contents);
        const SettingsRecord::BankChoice back = SettingsRecord::storedBank();
        QCOMPARE(back.port, port);
        QCOMPARE(back.addresses, addresses);
    }

    void bankNotStoredIsReported()
    {
        QFile blocker(m_home.path() + QStringLiteral("/cellvane"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QVERIFY(!SettingsRecord::storeBank({QStringLiteral("COM1"), {1}}));
        QFile::remove(blocker.fileName());
    }
};

QTEST_GUILESS_MAIN(TestSettingsRecord)
#include "tst_settings_record.moc"
